// [SECTION] Shared helpers: frame, fitted text, balls and glows
// [SECTION] Tone pictures: stripes, dots, mixes
// [SECTION] Lettering: plaque, digit, symbols
// [SECTION] Painting: the six compositions
// [SECTION] Poster and note
#include <Tallowmere/Art/WallArtParts.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Palette.hpp>

#include <QPainterPath>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>
#include <cmath>

namespace tallowmere::wall {

namespace pal = palette;
using ostrevan::PaintStyle;
using ostrevan::Tone;

// ---------------------------------------------------------------------------------------------
// [SECTION] Shared helpers: frame, fitted text, balls and glows

Rect framed(const Canvas& canvas, const Rect& rect, std::uint32_t frame, double width) {
    const Rect inner = insetBy(rect, width, width);
    const Rect rebate = insetBy(inner, -1.5, -1.5);
    wallShadow(canvas, rect, 4, 0.32);
    canvas.fill(shape::roundedRect(rect, 3), vertical(rect, {H(frame, 0.25), H(frame, -0.25)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 1, 1), 3), white(0.35), 1);
    canvas.fill(shape::roundedRect(rebate, 1), black(0.35));
    return inner;
}

double autoFont(const QStringList& lines, const Rect& rect, double maxSize) {
    constexpr double kLinePitch = 1.2;
    constexpr double kHeightUsed = 0.92;
    constexpr double kCharsPerSize = 1.72;  // 1 / 0.58: the width of one character in sizes
    int longest = 1;
    for (const QString& line : lines) longest = std::max(longest, characterCount(line));
    const double lineCount = std::max<double>(double(lines.size()), 1);
    const double byHeight = rect.h * kHeightUsed / lineCount / kLinePitch;
    const double byWidth = rect.w * kCharsPerSize / longest;
    return std::min({byHeight, byWidth, maxSize});
}

namespace {

double widestLine(const QStringList& lines, const Font& font) {
    double widest = 0;
    for (const QString& line : lines) widest = std::max(widest, measureText(line, font).width());
    return widest;
}

}  // namespace

Font shrinkToWidth(const QStringList& lines, Font font, double width) {
    const double widest = widestLine(lines, font);
    if (widest > width && width > 0) font.size *= width / widest;
    return font;
}

Font fitLines(const QStringList& lines, const Rect& area, double maxSize, FontWeight weight, FontDesign design) {
    // autoFont takes a character for 0.58 sizes, about what a narrow serif needs; the installed
    // serif's capitals run wider. A line that would run past its area takes the condensed cut
    // instead, and only one still too wide for that is made smaller, so it never spills off its
    // paper.
    Font font{autoFont(lines, area, maxSize), weight, design};
    if (widestLine(lines, font) > area.w) font.condensed = true;
    return shrinkToWidth(lines, font, area.w);
}

int characterCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() != -1) ++count;
    return count;
}

QStringList splitLines(const std::string& text) {
    return QString::fromStdString(text).split(QLatin1Char('\n'));
}

void fillBall(const Canvas& canvas, const Rect& box, const QColor& light, const QColor& base, const QColor& dark) {
    canvas.fill(shape::ellipse(box), sphere(box, light, base, dark));
}

void fillGlow(const Canvas& canvas, QPointF centre, double radius, const QColor& inner) {
    if (!(radius > 0)) return;
    QColor outer = inner;
    outer.setAlphaF(0);
    canvas.fill(shape::circle(centre, radius), radial(centre, 0, radius, {inner, outer}));
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Tone pictures: stripes, dots, mixes

namespace {

constexpr double kStripesFrameW = 8;
constexpr double kDotsFrameW = 6;

bool hasArea(const Rect& r) {
    return r.w > 0 && r.h > 0;
}

// The paper the three tone pictures are painted on.
void fillPaper(const Canvas& canvas, const Rect& inner) {
    canvas.fill(shape::roundedRect(inner, 1), H(pal::kPicturePaper));
}

void fillToneBall(const Canvas& canvas, const Rect& box, Tone tone) {
    const std::uint32_t c = hexOf(tone);
    fillBall(canvas, box, H(c, 0.45), H(c), H(c, -0.3));
}

Rect squareAround(QPointF centre, double side) {
    return Rect{centre.x() - side / 2, centre.y() - side / 2, side, side};
}

}  // namespace

void drawStripes(Canvas canvas, const art::Stripes& stripes, const Rect& rect) {
    const Rect inner = framed(canvas, rect, pal::kPictureFrame, kStripesFrameW);
    if (!hasArea(inner)) return;
    fillPaper(canvas, inner);
    const Rect area = insetBy(inner, 8, 8);
    if (stripes.tones.empty() || !hasArea(area)) return;
    const double stripeW = area.w / double(stripes.tones.size());
    for (std::size_t i = 0; i < stripes.tones.size(); ++i) {
        // Half a unit of overlap hides the seams between neighbours.
        const Rect stripe{area.minX() + stripeW * double(i), area.minY(), stripeW + 0.5, area.h};
        const std::uint32_t c = hexOf(stripes.tones[i]);
        canvas.fill(shape::rect(stripe), vertical(stripe, {H(c, 0.12), H(c, -0.12)}));
    }
}

void drawDots(Canvas canvas, const art::Dots& dots, const Rect& rect) {
    const Rect inner = framed(canvas, rect, pal::kPictureFrame, kDotsFrameW);
    if (!hasArea(inner)) return;
    fillPaper(canvas, inner);
    if (dots.tones.empty()) return;
    const double cell = inner.w / double(dots.tones.size());
    const double diameter = std::min(0.8 * cell, 0.6 * inner.h);
    for (std::size_t i = 0; i < dots.tones.size(); ++i) {
        const QPointF centre(inner.minX() + cell * (double(i) + 0.5), inner.midY());
        fillToneBall(canvas, squareAround(centre, diameter), dots.tones[i]);
    }
}

void drawMixes(Canvas canvas, const art::Mixes& mixes, const Rect& rect) {
    constexpr std::array<double, 2> kBallAt = {0.16, 0.42};
    constexpr double kPlusAt = 0.29;
    constexpr double kEqualsAt = 0.55;
    constexpr double kBoxAt = 0.82;
    constexpr double kMaxBall = 30;
    const Rect inner = framed(canvas, rect, pal::kPictureFrame, kDotsFrameW);
    if (!hasArea(inner)) return;
    fillPaper(canvas, inner);
    if (mixes.mixes.empty()) return;
    const double pitch = inner.h / double(mixes.mixes.size());
    const double diameter = std::min(0.62 * pitch, kMaxBall);
    const double radius = diameter / 2;
    const QColor ink = H(pal::kSumInk);
    const Font signFont{0.8 * diameter, FontWeight::bold, FontDesign::rounded};
    const Font questionFont{0.7 * diameter, FontWeight::bold, FontDesign::rounded};
    auto xAt = [&](double f) { return inner.minX() + f * inner.w; };

    for (std::size_t i = 0; i < mixes.mixes.size(); ++i) {
        const std::vector<Tone>& row = mixes.mixes[i];
        const double cy = inner.minY() + pitch * (double(i) + 0.5);
        for (std::size_t k = 0; k < std::min(row.size(), kBallAt.size()); ++k) {
            fillToneBall(canvas, squareAround({xAt(kBallAt[k]), cy}, diameter), row[k]);
        }
        canvas.drawText("+", {xAt(kPlusAt), cy}, signFont, ink);
        canvas.drawText("=", {xAt(kEqualsAt), cy}, signFont, ink);
        const Rect answer{xAt(kBoxAt) - radius, cy - radius, diameter, diameter};
        canvas.stroke(shape::roundedRect(answer, 4), ink, 2);
        canvas.drawText("?", {answer.midX(), answer.midY()}, questionFont, ink);
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Lettering: plaque, digit, symbols

void drawPlaque(Canvas canvas, const art::Plaque& plaque, const Rect& rect) {
    constexpr double kMaxSize = 20;
    constexpr double kPitch = 1.2;
    const Rect textArea = insetBy(rect, 8, 4);
    const QStringList lines = splitLines(plaque.text);
    const Font font = fitLines(lines, textArea, kMaxSize, FontWeight::heavy, FontDesign::serif);
    const double middleLine = double(lines.size() - 1) / 2;

    wallShadow(canvas, rect, 3, 0.32);
    canvas.fill(shape::roundedRect(rect, 3), vertical(rect, {H(pal::kPlaqueTop), H(pal::kPlaqueBottom)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 2.5, 2.5), 2), H(pal::kPlaqueEdge, 0, 0.6), 1);
    for (int i = 0; i < lines.size(); ++i) {
        const QPointF at(rect.midX(), rect.midY() + font.size * (double(i) - middleLine) * kPitch);
        canvas.drawText(lines[i], at, font, H(pal::kPlaqueInk));
    }
}

void drawDigit(Canvas canvas, const art::Digit& digit, const Rect& rect) {
    constexpr double kCorner = 10;
    const QString label = QString::fromStdString(digit.text);
    const double size = std::min(0.7 * rect.h, 0.72 * rect.w);
    const std::uint32_t c = hexOf(digit.tone);
    const Font font{size, FontWeight::heavy, FontDesign::rounded};

    wallShadow(canvas, rect, kCorner, 0.32);
    canvas.fill(shape::roundedRect(rect, kCorner), vertical(rect, {H(c, 0.2), H(c, -0.22)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 3, 3), 8), white(0.3), 1.5);
    gloss(canvas, rect, kCorner, 0.18);
    canvas.drawText(label, {rect.midX() + 1, rect.midY() + 3}, font, black(0.28));
    canvas.drawText(label, {rect.midX(), rect.midY()}, font, white());
}

void drawSymbols(Canvas canvas, const art::Symbols& symbols, const Rect& rect) {
    wallShadow(canvas, rect, 6, 0.32);
    canvas.fill(shape::roundedRect(rect, 6), vertical(rect, {H(pal::kSymbolStripTop), H(pal::kSymbolStripBottom)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 3, 3), 4), H(pal::kSymbolStripEdge, 0, 0.7), 1.5);
    if (symbols.names.empty()) return;
    const double n = double(symbols.names.size());
    const double size = std::min(0.7 * rect.w / n, 0.62 * rect.h);
    for (std::size_t i = 0; i < symbols.names.size(); ++i) {
        const QPointF centre(rect.minX() + (double(i) + 0.5) * rect.w / n, rect.midY());
        drawSymbol(canvas, symbols.names[i], centre, size, H(pal::kSymbolStripInk));
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Painting: the six compositions

namespace {

constexpr double kPaintingFrameW = 8;

// Places a composition, laid out in fractions of the canvas, onto the canvas rect.
struct CanvasFrame {
    Rect c;

    QPointF at(double fx, double fy) const { return {c.minX() + fx * c.w, c.minY() + fy * c.h}; }
    Rect box(double fx, double fy, double fw, double fh) const {
        return Rect{c.minX() + fx * c.w, c.minY() + fy * c.h, fw * c.w, fh * c.h};
    }
    QPainterPath polygon(std::initializer_list<QPointF> fractions) const {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        bool first = true;
        for (const QPointF& f : fractions) {
            const QPointF p = at(f.x(), f.y());
            if (first) path.moveTo(p); else path.lineTo(p);
            first = false;
        }
        path.closeSubpath();
        return path;
    }
};

std::uint32_t paintingFrame(PaintStyle style) {
    switch (style) {
        case PaintStyle::sunrise: return pal::kFrameGilt;
        case PaintStyle::mountains: return pal::kFrameWalnut;
        case PaintStyle::abstract: return pal::kFrameEbony;
        case PaintStyle::ocean: return pal::kFrameGilt;
        case PaintStyle::portrait: return pal::kFrameTeak;
        case PaintStyle::forest: return pal::kFrameOak;
    }
    return pal::kFrameGilt;
}

void paintSunrise(const Canvas& canvas, const CanvasFrame& f) {
    canvas.fill(shape::rect(f.c), vertical(f.c, {H(pal::kSunriseSkyTop), H(pal::kSunriseSkyBottom)}));
    fillGlow(canvas, f.at(0.5, 0.62), 0.5 * f.c.w, H(pal::kSunriseGlow, 0, 0.9));
    canvas.fill(shape::ellipse(f.box(0.4, 0.42, 0.2, 0.3)), H(pal::kSunriseSun));
    QPainterPath hill;
    hill.moveTo(f.at(0, 1));
    hill.lineTo(f.at(0, 0.72));
    hill.quadTo(f.at(0.5, 0.5), f.at(1, 0.7));
    hill.lineTo(f.at(1, 1));
    hill.closeSubpath();
    canvas.fill(hill, H(pal::kSunriseHill));
}

void paintMountains(const Canvas& canvas, const CanvasFrame& f) {
    struct Mountain { double cx, w, h; std::uint32_t colour; };
    constexpr std::array<Mountain, 2> kRange = {{{0.3, 0.7, 0.7, pal::kMountainFar},
                                                 {0.7, 0.8, 0.82, pal::kMountainNear}}};
    canvas.fill(shape::rect(f.c), vertical(f.c, {H(pal::kMountainSkyTop), H(pal::kMountainSkyBottom)}));
    for (const Mountain& m : kRange) {
        canvas.fill(f.polygon({{m.cx - m.w / 2, 1}, {m.cx, 1 - m.h}, {m.cx + m.w / 2, 1}}), H(m.colour));
        canvas.fill(f.polygon({{m.cx - 0.11 * m.w, 1 - 0.78 * m.h},
                               {m.cx, 1 - m.h},
                               {m.cx + 0.11 * m.w, 1 - 0.78 * m.h},
                               {m.cx + 0.03 * m.w, 1 - 0.84 * m.h},
                               {m.cx - 0.04 * m.w, 1 - 0.8 * m.h}}),
                    white());
    }
}

void paintAbstract(const Canvas& canvas, const CanvasFrame& f) {
    constexpr std::array<std::uint32_t, 5> kBlobs = {pal::kAbstractRed, pal::kAbstractBlue, pal::kAbstractYellow,
                                                     pal::kAbstractGreen, pal::kAbstractViolet};
    canvas.fill(shape::rect(f.c), H(pal::kAbstractGround));
    for (std::size_t i = 0; i < kBlobs.size(); ++i) {
        const std::uint64_t seed = scatterSeed(std::int64_t(i));
        const Rect blob = f.box(0.6 * unitHash(seed, 1), 0.55 * unitHash(seed, 2), 0.3 + 0.25 * unitHash(seed, 3),
                                0.3 + 0.25 * unitHash(seed, 4));
        canvas.fill(shape::ellipse(blob), H(kBlobs[i], 0, 0.85));
    }
    canvas.fill(shape::roundedRect(f.box(0.12, 0.7, 0.76, 0.06), 2), H(pal::kAbstractBar, 0, 0.8));
}

void paintOcean(const Canvas& canvas, const CanvasFrame& f) {
    constexpr int kWaves = 5;
    constexpr int kArches = 8;
    constexpr double kWaveDrop = 6;
    constexpr double kArchLift = 5;
    constexpr double kHullH = 5;
    const Rect& c = f.c;
    canvas.fill(shape::rect(c), linear({c.midX(), c.minY()}, {c.midX(), c.midY()},
                                       {H(pal::kOceanSkyTop), H(pal::kOceanSkyBottom)}));
    canvas.fill(shape::rect(f.box(0, 0.5, 1, 0.5)), linear({c.midX(), c.midY()}, {c.midX(), c.maxY()},
                                                           {H(pal::kOceanSeaTop), H(pal::kOceanSeaBottom)}));
    for (int i = 0; i < kWaves; ++i) {
        const double y = c.midY() + 0.1 * i * c.h + kWaveDrop;
        QPainterPath wave;
        wave.moveTo(c.minX(), y);
        for (int k = 1; k <= kArches; ++k) {
            wave.quadTo(c.minX() + (k - 0.5) / kArches * c.w, y - kArchLift, c.minX() + double(k) / kArches * c.w, y);
        }
        canvas.stroke(wave, white(0.35), 1.5);
    }
    canvas.fill(f.polygon({{0.52, 0.2}, {0.52, 0.52}, {0.74, 0.52}}), white());
    const QPointF hullAt = f.at(0.4, 0.52);
    canvas.fill(shape::rect(Rect{hullAt.x(), hullAt.y(), 0.4 * c.w, kHullH}), H(pal::kOceanHull));
}

void paintPortrait(const Canvas& canvas, const CanvasFrame& f) {
    canvas.fill(shape::rect(f.c), vertical(f.c, {H(pal::kPortraitTop), H(pal::kPortraitBottom)}));
    canvas.fill(shape::ellipse(f.box(0.12, 0.62, 0.76, 0.7)), H(pal::kPortraitCoat));
    canvas.fill(shape::ellipse(f.box(0.34, 0.2, 0.32, 0.4)), H(pal::kPortraitSkin));
    canvas.fill(shape::roundedRect(f.box(0.42, 0.55, 0.16, 0.14), 3), H(pal::kPortraitSkin));
    canvas.fill(shape::ellipse(f.box(0.32, 0.14, 0.36, 0.26)), H(pal::kPortraitHair));
}

void paintForest(const Canvas& canvas, const CanvasFrame& f) {
    constexpr std::array<std::uint32_t, 3> kFoliage = {pal::kForestRust, pal::kForestMoss, pal::kForestOchre};
    constexpr int kTrees = 6;
    canvas.fill(shape::rect(f.c), vertical(f.c, {H(pal::kForestSkyTop), H(pal::kForestSkyBottom)}));
    for (int i = 0; i < kTrees; ++i) {
        const std::uint64_t seed = scatterSeed(i);
        const double cx = 0.05 + 0.9 * i / (kTrees - 1);
        const double height = 0.45 + 0.3 * unitHash(seed, 7);
        const QColor colour = H(kFoliage[std::size_t(i) % kFoliage.size()], -0.25 * unitHash(seed, 8), 1);
        canvas.fill(f.polygon({{cx - 0.11, 1}, {cx, 1 - height}, {cx + 0.11, 1}}), colour);
    }
}

}  // namespace

void drawPainting(Canvas canvas, const art::Painting& painting, const Rect& rect) {
    const CanvasFrame f{framed(canvas, rect, paintingFrame(painting.style), kPaintingFrameW)};
    if (!hasArea(f.c)) return;
    Canvas picture = canvas;
    picture.clip(f.c);
    switch (painting.style) {
        case PaintStyle::sunrise: paintSunrise(picture, f); break;
        case PaintStyle::mountains: paintMountains(picture, f); break;
        case PaintStyle::abstract: paintAbstract(picture, f); break;
        case PaintStyle::ocean: paintOcean(picture, f); break;
        case PaintStyle::portrait: paintPortrait(picture, f); break;
        case PaintStyle::forest: paintForest(picture, f); break;
    }
    picture.fill(shape::rect(f.c), vertical(f.c, {white(0), black(0.18)}));  // varnish
    gloss(canvas, f.c, 1, 0.12);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Poster and note

void drawPoster(Canvas canvas, const art::Poster& poster, const Rect& rect) {
    constexpr double kMaxSize = 26;
    constexpr double kPitch = 1.22;
    constexpr double kPinDiameter = 7;
    const double bandH = std::min(0.16 * rect.h, 18.0);
    const Rect band{rect.minX(), rect.minY(), rect.w, bandH};
    const Rect textArea{rect.minX() + 8, rect.minY() + bandH + 4, rect.w - 16, rect.h - bandH - 10};
    const QStringList lines = splitLines(poster.text);
    const Font font = fitLines(lines, textArea, kMaxSize, FontWeight::heavy, FontDesign::serif);
    const double middleLine = double(lines.size() - 1) / 2;
    const QPainterPath paper = shape::roundedRect(rect, 2);

    wallShadow(canvas, rect, 2, 0.32);
    canvas.fill(paper, vertical(rect, {H(pal::kPosterPaperTop), H(pal::kPosterPaperBottom)}));
    Canvas onPaper = canvas;
    onPaper.clip(paper);
    onPaper.fill(shape::rect(band), H(hexOf(poster.tone)));

    for (int i = 0; i < lines.size(); ++i) {
        const QPointF at(textArea.midX(), textArea.midY() + (double(i) - middleLine) * font.size * kPitch);
        canvas.drawText(lines[i], at, font, H(pal::kPosterInk));
    }
    // The pins stay red whatever the band's tone.
    const std::uint32_t pinRed = hexOf(Tone::red);
    for (const QPointF pin : {QPointF(rect.minX() + 7, rect.minY() + 8), QPointF(rect.maxX() - 7, rect.minY() + 8)}) {
        fillBall(canvas, squareAround(pin, kPinDiameter), white(), H(pinRed), H(pinRed, -0.5));
    }
}

void drawNote(Canvas canvas, const art::Note& note, const Rect& rect) {
    constexpr double kTiltDegrees = -2;
    constexpr double kMaxSize = 19;
    constexpr double kPitch = 1.25;
    const Rect curl{rect.maxX() - 14, rect.maxY() - 3, 14, 3};
    const Rect tape{rect.midX() - 22, rect.minY() - 5, 44, 12};
    const Rect textArea = insetBy(rect, 8, 10);
    const QStringList lines = splitLines(note.text);
    const Font font = fitLines(lines, textArea, kMaxSize, FontWeight::semibold, FontDesign::serif);
    const double middleLine = double(lines.size() - 1) / 2;

    Canvas tilted = canvas;
    tilted.translate(rect.midX(), rect.midY());
    tilted.rotateDegrees(kTiltDegrees);
    tilted.translate(-rect.midX(), -rect.midY());
    wallShadow(tilted, rect, 1, 0.3);
    tilted.fill(shape::roundedRect(rect, 1), vertical(rect, {H(pal::kNotePaperTop), H(pal::kNotePaperBottom)}));
    tilted.fill(shape::rect(curl), black(0.1));
    tilted.fill(shape::roundedRect(tape, 1), white(0.55));
    for (int i = 0; i < lines.size(); ++i) {
        const QPointF at(textArea.midX(), textArea.midY() + (double(i) - middleLine) * font.size * kPitch);
        tilted.drawText(lines[i], at, font, H(pal::kNoteInk));
    }
}

}  // namespace tallowmere::wall
