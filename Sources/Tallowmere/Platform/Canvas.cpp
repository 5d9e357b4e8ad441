// [SECTION] Rectangles and paths
// [SECTION] Paints
// [SECTION] Text
// [SECTION] Blur
// [SECTION] Painting off the GUI thread
// [SECTION] Canvas
#include <Tallowmere/Platform/Canvas.hpp>

#include <Tallowmere/Platform/Runtime.hpp>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>
#include <QRadialGradient>
#include <QSemaphore>
#include <QStringList>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

namespace tallowmere {

// ---------------------------------------------------------------------------------------------
// [SECTION] Rectangles and paths

QRectF toQRectF(const Rect& r) {
    return QRectF(r.x, r.y, r.w, r.h);
}

Rect insetBy(const Rect& r, double dx, double dy) {
    return Rect{r.x + dx, r.y + dy, r.w - 2 * dx, r.h - 2 * dy};
}

Rect offsetBy(const Rect& r, double dx, double dy) {
    return Rect{r.x + dx, r.y + dy, r.w, r.h};
}

namespace {

QPainterPath windingPath() {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    return path;
}

}  // namespace

namespace shape {

QPainterPath rect(const Rect& r) {
    QPainterPath path = windingPath();
    path.addRect(toQRectF(r));
    return path;
}

QPainterPath roundedRect(const Rect& r, double radius) {
    QPainterPath path = windingPath();
    const double w = std::abs(r.w);
    const double h = std::abs(r.h);
    if (radius <= 0 || w <= 0 || h <= 0) {
        path.addRect(toQRectF(r));
        return path;
    }
    const double half = std::min(w, h) / 2;
    if (radius * kSmoothCornerExtent > half) {
        // Too tight for the smooth curve: circular corners, as large as the side allows.
        const double rr = std::min(radius, half);
        path.addRoundedRect(toQRectF(r), rr, rr);
        return path;
    }
    // One corner at (cx, cy); (ux, uy) points along the edge we leave, (vx, vy) along the edge we
    // reach. Points are given as (a, b): a radii back along u from the corner, b along v; the
    // curve is symmetric about the corner's diagonal.
    const double x0 = std::min(r.x, r.x + r.w);
    const double y0 = std::min(r.y, r.y + r.h);
    const double x1 = x0 + w;
    const double y1 = y0 + h;
    auto corner = [&](double cx, double cy, double ux, double uy, double vx, double vy) {
        auto p = [&](double a, double b) {
            return QPointF(cx - ux * a * radius + vx * b * radius, cy - uy * a * radius + vy * b * radius);
        };
        path.lineTo(p(kSmoothCornerExtent, 0));
        path.cubicTo(p(1.08849296, 0), p(0.86840694, 0), p(0.66993427, 0.06549600));
        path.lineTo(p(0.63149399, 0.07491100));
        path.cubicTo(p(0.37282392, 0.16905899), p(0.16906013, 0.37282401), p(0.07491100, 0.63149399));
        path.lineTo(p(0.06549600, 0.66993427));
        path.cubicTo(p(0, 0.86840694), p(0, 1.08849296), p(0, kSmoothCornerExtent));
    };
    path.moveTo(x0 + kSmoothCornerExtent * radius, y0);
    corner(x1, y0, 1, 0, 0, 1);    // top right
    corner(x1, y1, 0, 1, -1, 0);   // bottom right
    corner(x0, y1, -1, 0, 0, -1);  // bottom left
    corner(x0, y0, 0, -1, 1, 0);   // top left
    path.closeSubpath();
    return path;
}

QPainterPath ellipse(const Rect& r) {
    QPainterPath path = windingPath();
    path.addEllipse(toQRectF(r));
    return path;
}

QPainterPath circle(QPointF center, double radius) {
    return ellipse(Rect{center.x() - radius, center.y() - radius, 2 * radius, 2 * radius});
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path = windingPath();
    bool first = true;
    for (const QPointF& p : points) {
        if (first) path.moveTo(p); else path.lineTo(p);
        first = false;
    }
    if (!first) path.closeSubpath();
    return path;
}

QPainterPath line(QPointF from, QPointF to) {
    QPainterPath path = windingPath();
    path.moveTo(from);
    path.lineTo(to);
    return path;
}

}  // namespace shape

void addArc(QPainterPath& path, QPointF center, double radius, double startDegrees, double endDegrees) {
    const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    const double start = startDegrees * M_PI / 180;
    const QPointF startPoint(center.x() + radius * std::cos(start), center.y() + radius * std::sin(start));
    if (path.elementCount() == 0) path.moveTo(startPoint); else path.lineTo(startPoint);
    // Qt measures angles counter-clockwise on screen (y up); ours grow clockwise (y down).
    path.arcTo(box, -startDegrees, -(endDegrees - startDegrees));
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Paints

GradientStops evenStops(std::initializer_list<QColor> colors) {
    GradientStops stops;
    const std::size_t n = colors.size();
    std::size_t i = 0;
    for (const QColor& c : colors) {
        stops.push_back({n > 1 ? double(i) / double(n - 1) : 0.0, c});
        ++i;
    }
    return stops;
}

LinearGradient linear(QPointF start, QPointF end, std::initializer_list<QColor> colors) {
    return LinearGradient{start, end, evenStops(colors)};
}

LinearGradient vertical(const Rect& box, std::initializer_list<QColor> colors) {
    return linear({box.midX(), box.minY()}, {box.midX(), box.maxY()}, colors);
}

LinearGradient horizontal(const Rect& box, std::initializer_list<QColor> colors) {
    return linear({box.minX(), box.midY()}, {box.maxX(), box.midY()}, colors);
}

RadialGradient radial(QPointF center, double startRadius, double endRadius, std::initializer_list<QColor> colors) {
    return RadialGradient{center, startRadius, endRadius, evenStops(colors)};
}

RadialGradient sphere(const Rect& box, const QColor& light, const QColor& base, const QColor& dark) {
    return radial({box.minX() + 0.35 * box.w, box.minY() + 0.3 * box.h}, 0, 0.85 * box.w, {light, base, dark});
}

namespace {

QGradientStops toQStops(const GradientStops& stops, double from = 0, double to = 1) {
    QGradientStops out;
    out.reserve(int(stops.size()));
    for (const GradientStop& s : stops) {
        const double location = std::clamp(from + s.location * (to - from), 0.0, 1.0);
        if (!out.isEmpty() && location < out.back().first) continue;  // Qt wants them ascending
        out.append({location, s.color});
    }
    return out;
}

QBrush brushFor(const Paint& paint) {
    if (const QColor* color = std::get_if<QColor>(&paint)) return QBrush(*color);
    if (const LinearGradient* g = std::get_if<LinearGradient>(&paint)) {
        if (g->stops.empty()) return QBrush(Qt::NoBrush);
        if (g->start == g->end) return QBrush(g->stops.back().color);
        QLinearGradient q(g->start, g->end);
        q.setStops(toQStops(g->stops));
        q.setSpread(QGradient::PadSpread);
        return QBrush(q);
    }
    const RadialGradient& g = std::get<RadialGradient>(paint);
    if (g.stops.empty()) return QBrush(Qt::NoBrush);
    if (g.endRadius <= 0 || g.endRadius <= g.startRadius) return QBrush(g.stops.back().color);
    // Qt's radial gradient starts at the centre; a start radius becomes a shift of the stops,
    // with the first colour holding inside it.
    QRadialGradient q(g.center, g.endRadius);
    const double from = std::max(g.startRadius, 0.0) / g.endRadius;
    QGradientStops stops = toQStops(g.stops, from, 1);
    if (from > 0) stops.prepend({0.0, g.stops.front().color});
    q.setStops(stops);
    q.setSpread(QGradient::PadSpread);
    return QBrush(q);
}

Qt::PenCapStyle toQt(LineCap cap) {
    switch (cap) {
        case LineCap::butt: return Qt::FlatCap;
        case LineCap::round: return Qt::RoundCap;
        case LineCap::square: return Qt::SquareCap;
    }
    return Qt::FlatCap;
}

Qt::PenJoinStyle toQt(LineJoin join) {
    switch (join) {
        case LineJoin::miter: return Qt::MiterJoin;
        case LineJoin::round: return Qt::RoundJoin;
        case LineJoin::bevel: return Qt::BevelJoin;
    }
    return Qt::MiterJoin;
}

QPen penFor(const Paint& paint, const StrokeStyle& style) {
    QPen pen(brushFor(paint), style.width, Qt::SolidLine, toQt(style.cap), toQt(style.join));
    // Qt measures the miter from the join point in pen widths; the usual limit is the ratio of
    // the whole miter to the line width, twice as long.
    pen.setMiterLimit(style.miterLimit / 2);
    if (!style.dash.empty()) {
        // Qt's dash lengths are in pen widths.
        QList<qreal> pattern;
        for (double d : style.dash) pattern.append(std::max(d, 0.0) / style.width);
        if (pattern.size() % 2 == 1) pattern.append(pattern);
        pen.setDashPattern(pattern);
        pen.setDashOffset(style.dashPhase / style.width);
    }
    return pen;
}

QPainterPath withRule(const QPainterPath& path, FillRule rule) {
    const Qt::FillRule wanted = rule == FillRule::nonZero ? Qt::WindingFill : Qt::OddEvenFill;
    if (path.fillRule() == wanted) return path;
    QPainterPath copy = path;
    copy.setFillRule(wanted);
    return copy;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Text

namespace {

// Text is laid out at this pixel size and scaled, so any fractional size renders exactly.
constexpr double kTextLayoutPx = 100;

bool hasFamily(const QString& family) {
    static std::once_flag once;
    static QStringList families;
    std::call_once(once, [] { families = QFontDatabase::families(); });
    return families.contains(family, Qt::CaseInsensitive);
}

// CSS weights of the installed faces.
constexpr int kLight = 300;
constexpr int kRegular = 400;
constexpr int kBold = 700;
// The serif's condensed cut, as fontconfig files it: a stretch of the family, not a family.
constexpr int kCondensedStretch = 87;

// How far to grow a face's outlines on every side (in ems) for the weights the family lacks.
// The stroke of "8" at 40 px, measured on the installed faces, sets the targets: semibold halfway
// between the next lighter face and bold, heavy a quarter and black a half heavier than bold,
// light a quarter lighter than the book face. A stroke grows by twice the amount.
struct Growth {
    double semibold;  // on the next lighter face
    double heavy;     // on bold
    double black;     // on bold
    double light = 0; // on the book face, negative: thinned (a family without a light face)
};
// Quicksand: medium 0.097, bold 0.121 em.
constexpr Growth kRoundedGrowth{0.006, 0.015, 0.030};
// DejaVu Serif: book 0.099, bold 0.189 em; the condensed cut: book 0.090, bold 0.170 em.
constexpr Growth kSerifGrowth{0.0225, 0.0236, 0.0473, -0.0124};
constexpr Growth kSerifCondensedGrowth{0.018, 0.0213, 0.0425, -0.0113};
// DejaVu Sans Mono: book 0.099, bold 0.130 em.
constexpr Growth kMonoGrowth{0.0078, 0.0163, 0.0325};
// DejaVu Sans: book 0.099, bold 0.180 em.
constexpr Growth kSansGrowth{0.0203, 0.0225, 0.045};

// A family whose faces run from light (or regular) to bold: medium takes the regular face, the
// other weights between and beyond are grown, and without a light face the lighter weights are
// thinned from the regular one. A grown weight also advances by its growth after each character,
// so it runs wider, though its glyphs stand a little closer than the face's own; a thinned one
// keeps the regular face's advances.
FontFace grownFace(const QStringList& families, FontWeight weight, const Growth& growth, bool hasLight) {
    FontFace face{families, kRegular, 100, 0, 0};
    switch (weight) {
        case FontWeight::ultraLight:
        case FontWeight::thin:
        case FontWeight::light:
            if (hasLight) face.weight = kLight;
            else face.emboldenEm = growth.light;
            break;
        case FontWeight::regular:
        case FontWeight::medium: break;
        case FontWeight::semibold: face.emboldenEm = growth.semibold; break;
        case FontWeight::bold: face.weight = kBold; break;
        case FontWeight::heavy: face.weight = kBold; face.emboldenEm = growth.heavy; break;
        case FontWeight::black: face.weight = kBold; face.emboldenEm = growth.black; break;
    }
    face.spacingEm = std::max(face.emboldenEm, 0.0);
    return face;
}

// The rounded design is Quicksand, whose lighter weights come as separate families; it has no
// arrows or other symbols, which Comfortaa (the same geometric, rounded look) supplies rather
// than a wide system face. Comfortaa alone stands in where Quicksand is missing.
FontFace roundedFace(FontWeight weight) {
    const QString fallback = QStringLiteral("Comfortaa");
    if (!hasFamily(QStringLiteral("Quicksand"))) return grownFace({fallback}, weight, kRoundedGrowth, true);
    const auto family = [&](const char* name) {
        return hasFamily(QLatin1String(name)) ? QString::fromLatin1(name) : QStringLiteral("Quicksand");
    };
    FontFace face = grownFace({QStringLiteral("Quicksand"), fallback}, weight, kRoundedGrowth, false);
    switch (weight) {
        case FontWeight::ultraLight:
        case FontWeight::thin:
        case FontWeight::light: face.families.front() = family("Quicksand Light"); break;
        case FontWeight::medium:
        case FontWeight::semibold: face.families.front() = family("Quicksand Medium"); break;
        default: break;
    }
    return face;
}

}  // namespace

FontFace fontFace(const Font& font) {
    switch (font.design) {
        case FontDesign::rounded: return roundedFace(font.weight);
        case FontDesign::serif: {
            FontFace face = grownFace({QStringLiteral("DejaVu Serif")}, font.weight,
                                      font.condensed ? kSerifCondensedGrowth : kSerifGrowth, false);
            if (font.condensed) face.stretch = kCondensedStretch;
            return face;
        }
        case FontDesign::monospaced: return grownFace({QStringLiteral("DejaVu Sans Mono")}, font.weight, kMonoGrowth, false);
        case FontDesign::standard: break;
    }
    return grownFace({QStringLiteral("DejaVu Sans")}, font.weight, kSansGrowth, true);
}

namespace {

QFont layoutFont(const Font& font) {
    const FontFace face = fontFace(font);
    QFont q;
    q.setFamilies(face.families);
    q.setPixelSize(int(kTextLayoutPx));
    q.setWeight(QFont::Weight(face.weight));
    q.setStretch(face.stretch);
    q.setLetterSpacing(QFont::AbsoluteSpacing, face.spacingEm * kTextLayoutPx);
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setKerning(true);
    q.setStyleStrategy(QFont::PreferOutline);
    return q;
}

// A line's width at the layout size: the spacing after its last character is not part of it.
double layoutWidth(const QFontMetricsF& metrics, const QFont& q, const QString& line) {
    if (line.isEmpty()) return 0;
    return metrics.horizontalAdvance(line) - q.letterSpacing();
}

// The text's outlines at the layout size, each line's box centred on the origin.
QPainterPath layoutPath(const QString& text, const Font& font) {
    QPainterPath path = windingPath();
    const QFont q = layoutFont(font);
    const QFontMetricsF metrics(q);
    const QStringList lines = text.split('\n');
    const double lineBox = metrics.ascent() + metrics.descent();
    const double pitch = metrics.lineSpacing();
    const double blockHeight = lineBox + pitch * double(lines.size() - 1);
    double top = -blockHeight / 2;
    for (const QString& line : lines) {
        const double width = layoutWidth(metrics, q, line);
        path.addText(QPointF(-width / 2, top + metrics.ascent()), q, line);
        top += pitch;
    }
    path.setFillRule(Qt::WindingFill);
    const double grow = fontFace(font).emboldenEm * kTextLayoutPx;
    if (grow != 0 && !path.isEmpty()) {
        QPainterPathStroker outline;
        outline.setWidth(2 * std::abs(grow));
        outline.setJoinStyle(Qt::RoundJoin);
        const QPainterPath band = outline.createStroke(path);
        path = grow > 0 ? path.united(band) : path.subtracted(band);
        path.setFillRule(Qt::WindingFill);
    }
    return path;
}

// What was worked out for a text in a face, kept by text and face so that it is worked out once,
// not every frame: `make` runs for a text and face not kept, under the lock, as does every touch of
// a kept value. The least recently used go past `kept` of them.
template <class Value, std::size_t kept, class Make>
Value keptForFace(const QString& text, const Font& font, Make make) {
    struct Entry {
        QString text;
        FontWeight weight;
        FontDesign design;
        bool condensed;
        Value value;
    };
    static std::mutex mutex;
    static std::vector<Entry> entries;  // most recently used last
    const std::lock_guard lock(mutex);
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
        return e.weight == font.weight && e.design == font.design && e.condensed == font.condensed && e.text == text;
    });
    if (found != entries.end()) {
        std::rotate(found, found + 1, entries.end());
    } else {
        if (entries.size() >= kept) entries.erase(entries.begin());
        entries.push_back(Entry{text, font.weight, font.design, font.condensed, make()});
    }
    return entries.back().value;
}

// The text's outlines at the layout size mapped through `place`.
QPainterPath placedLayoutPath(const QString& text, const Font& font, const QTransform& place) {
    return place.map(keptForFace<QPainterPath, 128>(text, font, [&] { return layoutPath(text, font); }));
}

// The text as outlines in canvas units, each line's box centred on `center`.
QPainterPath textPath(const QString& text, QPointF center, const Font& font) {
    if (font.size <= 0 || text.isEmpty()) return windingPath();
    const double k = font.size / kTextLayoutPx;
    return placedLayoutPath(text, font, QTransform(k, 0, 0, k, center.x(), center.y()));
}

}  // namespace

QSizeF measureText(const QString& text, const Font& font) {
    if (font.size <= 0) return {};
    // Lines are measured again on every paint of the cards round the stage: the measures at the
    // layout size are kept, as the outlines are.
    const QSizeF layoutSize = keptForFace<QSizeF, 256>(text, font, [&] {
        const QFont q = layoutFont(font);
        const QFontMetricsF metrics(q);
        return QSizeF(layoutWidth(metrics, q, text), metrics.ascent() + metrics.descent());
    });
    const double k = font.size / kTextLayoutPx;
    return QSizeF(layoutSize.width() * k, layoutSize.height() * k);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Blur

namespace {

// Three box radii whose passes add up to the variance of a Gaussian of `sigma` (pixels). Odd box
// widths keep the result centred, so a blurred shape stays where it was.
std::array<int, 3> boxRadii(double sigma) {
    const double variance = sigma * sigma;
    const double ideal = std::sqrt(4 * variance + 1);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0) --lower;
    lower = std::max(lower, 1);
    const int upper = lower + 2;
    const double mIdeal = (12 * variance - 3.0 * lower * lower - 12.0 * lower - 9) / (-4.0 * lower - 4);
    const int m = std::clamp(int(std::lround(mIdeal)), 0, 3);
    std::array<int, 3> radii{};
    for (int i = 0; i < 3; ++i) radii[std::size_t(i)] = (i < m ? lower - 1 : upper - 1) / 2;
    return radii;
}

// One box pass along each row; zero beyond the ends, so nothing is gained or lost while the
// shape stays clear of the edges.
void boxPassRows(const float* in, float* out, int w, int h, int radius) {
    const float scale = 1.0f / float(2 * radius + 1);
    for (int y = 0; y < h; ++y) {
        const float* src = in + std::size_t(y) * std::size_t(w);
        float* dst = out + std::size_t(y) * std::size_t(w);
        float sum = 0;
        for (int x = 0; x <= radius && x < w; ++x) sum += src[x];
        for (int x = 0; x < w; ++x) {
            dst[x] = sum * scale;
            if (x + radius + 1 < w) sum += src[x + radius + 1];
            if (x - radius >= 0) sum -= src[x - radius];
        }
    }
}

// The same down each column, walking whole rows so memory is read in order.
void boxPassColumns(const float* in, float* out, int w, int h, int radius, std::vector<float>& sums) {
    const float scale = 1.0f / float(2 * radius + 1);
    sums.assign(std::size_t(w), 0.0f);
    auto row = [&](int y) { return in + std::size_t(y) * std::size_t(w); };
    for (int y = 0; y <= radius && y < h; ++y) {
        const float* src = row(y);
        for (int x = 0; x < w; ++x) sums[std::size_t(x)] += src[x];
    }
    for (int y = 0; y < h; ++y) {
        float* dst = out + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) dst[x] = sums[std::size_t(x)] * scale;
        if (y + radius + 1 < h) {
            const float* add = row(y + radius + 1);
            for (int x = 0; x < w; ++x) sums[std::size_t(x)] += add[x];
        }
        if (y - radius >= 0) {
            const float* drop = row(y - radius);
            for (int x = 0; x < w; ++x) sums[std::size_t(x)] -= drop[x];
        }
    }
}

// The Gaussian of `sigma` as three box passes each way over the plane `a` (w x h), left in `a`;
// `b` and `sums` are scratch.
void gaussianPasses(std::vector<float>& a, std::vector<float>& b, int w, int h, double sigma, std::vector<float>& sums) {
    for (int radius : boxRadii(sigma)) {
        if (radius <= 0) continue;
        boxPassRows(a.data(), b.data(), w, h, radius);
        boxPassColumns(b.data(), a.data(), w, h, radius, sums);
    }
}

// A blurred sample back to a byte: rounded once, at the end.
uchar roundedByte(float v) {
    return uchar(std::clamp(v + 0.5f, 0.0f, 255.0f));
}

// Linear interpolation weights to scale a line of `count` samples up by `factor`, sample
// centres kept aligned; samples beyond the ends count as zero.
struct Tap {
    int index;  // the left sample, -1 before the first
    float weight;  // of the right sample
};

Tap upscaleTap(int i, int factor) {
    const double source = (double(i) + 0.5) / factor - 0.5;
    const double left = std::floor(source);
    return {int(left), float(source - left)};
}

std::vector<Tap> upscaleTaps(int count, int factor) {
    std::vector<Tap> taps(std::size_t(count) * std::size_t(factor));
    for (std::size_t i = 0; i < taps.size(); ++i) taps[i] = upscaleTap(int(i), factor);
    return taps;
}

// Blurs a coverage mask made at 1 / `factor` of the final resolution and returns the result at
// the final resolution. The blur and the scaling work in floating point and round once, so faint
// wide shadows keep their strength.
QImage blurredCoverage(const QImage& mask, double sigmaPx, int factor) {
    const int w = mask.width();
    const int h = mask.height();
    QImage out(w * factor, h * factor, QImage::Format_Alpha8);
    if (w == 0 || h == 0) return out;
    std::vector<float> a(std::size_t(w) * std::size_t(h));
    std::vector<float> b(a.size());
    std::vector<float> sums;
    for (int y = 0; y < h; ++y) {
        const uchar* line = mask.constScanLine(y);
        float* dst = &a[std::size_t(y) * std::size_t(w)];
        for (int x = 0; x < w; ++x) dst[x] = line[x];
    }
    gaussianPasses(a, b, w, h, sigmaPx, sums);
    auto at = [&](const std::vector<float>& v, int stride, int x, int y) {
        return x < 0 || y < 0 || x >= stride || y >= h ? 0.0f : v[std::size_t(y) * std::size_t(stride) + std::size_t(x)];
    };
    auto store = [](uchar* line, int x, float v) { line[x] = roundedByte(v); };
    if (factor == 1) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) store(out.scanLine(y), x, a[std::size_t(y) * std::size_t(w) + std::size_t(x)]);
        }
        return out;
    }
    // Across, then down.
    const int wide = w * factor;
    const std::vector<Tap> across = upscaleTaps(w, factor);
    const std::vector<Tap> down = upscaleTaps(h, factor);
    b.assign(std::size_t(wide) * std::size_t(h), 0.0f);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < wide; ++x) {
            const Tap t = across[std::size_t(x)];
            b[std::size_t(y) * std::size_t(wide) + std::size_t(x)] =
                (1 - t.weight) * at(a, w, t.index, y) + t.weight * at(a, w, t.index + 1, y);
        }
    }
    for (int y = 0; y < h * factor; ++y) {
        const Tap t = down[std::size_t(y)];
        uchar* line = out.scanLine(y);
        for (int x = 0; x < wide; ++x) store(line, x, (1 - t.weight) * at(b, wide, x, t.index) + t.weight * at(b, wide, x, t.index + 1));
    }
    return out;
}

// A kept picture's share of memory: its pixels, its record and the allocator's headers. A picture
// a painter has painted on also keeps that painter's engine (some 19 KiB) for as long as it
// lives, so the caches keep only pictures no painter has touched, or copies of them.
constexpr std::size_t kAllocationBytes = 16;
constexpr std::size_t kImageRecordBytes = 160;
constexpr std::size_t kStringBytes = 32;  // a string's header beside its characters

std::size_t keptBytes(const QImage& image) {
    return image.isNull() ? 0 : std::size_t(image.sizeInBytes()) + kImageRecordBytes + kAllocationBytes;
}

// Drops the entries last used at or before `mark` (their `used` stamps), with the room they took
// in the list, and takes what `bytesOf` counts for each off `bytes`. The rest keep their order.
template <class Entry, class BytesOf>
void forgetUsedBefore(std::vector<Entry>& entries, std::uint64_t mark, std::size_t& bytes, BytesOf bytesOf) {
    const auto stale = std::stable_partition(entries.begin(), entries.end(), [&](const Entry& e) { return e.used > mark; });
    for (auto it = stale; it != entries.end(); ++it) bytes -= bytesOf(*it);
    entries.erase(stale, entries.end());
    entries.shrink_to_fit();
}

// Blurred masks made earlier, kept by everything that decides their pixels: the shape and pen,
// the transform into the mask, the blur and the mask's size. A picture drawn again (a room's next
// frame) lays the same masks on without blurring them again. Shared by every canvas on every
// thread; the least recently used go once the masks outgrow the budget.
class MaskMemo {
public:
    MaskMemo() { addMemoryRelease([this] { markUsed(); }, [this] { forgetUnused(); }); }

    struct Masks {
        QImage mask;    // Alpha8 coverage
        QRgb solid = 0;
        QImage colour;  // `solid` laid through the mask, when made
    };

    std::optional<Masks> find(const std::vector<double>& key, std::size_t hash) {
        const std::lock_guard lock(m_mutex);
        Entry* entry = lookup(key, hash);
        if (!entry) return std::nullopt;
        entry->used = ++m_clock;
        return entry->masks;
    }

    void keep(const std::vector<double>& key, std::size_t hash, const Masks& masks) {
        const std::lock_guard lock(m_mutex);
        Entry* entry = lookup(key, hash);
        if (entry) {
            m_bytes -= bytesOf(*entry);
            entry->masks = masks;
            entry->used = ++m_clock;
        } else {
            entry = &m_entries.emplace_back(Entry{key, hash, masks, ++m_clock});
        }
        m_bytes += bytesOf(*entry);
        trim();
    }

    // The mask kept under `key` laid through `solid`. A glow that pulses asks for a new alpha
    // every frame: the kept colour is then worked out again in its own pixels when nothing else
    // holds them, as a fresh image every frame costs more than the colouring, and each coverage's
    // pixel is worked out once and looked up.
    QImage colour(const std::vector<double>& key, std::size_t hash, const QImage& mask, QRgb solid) {
        const std::lock_guard lock(m_mutex);
        Entry* entry = lookup(key, hash);
        QImage fresh;
        QImage& colour = entry ? entry->masks.colour : fresh;
        if (entry && !colour.isNull() && entry->masks.solid == solid) return colour;
        if (colour.size() != mask.size()) {
            if (entry) m_bytes -= bytesOf(*entry);
            colour = QImage(mask.size(), QImage::Format_ARGB32_Premultiplied);
            if (entry) m_bytes += bytesOf(*entry);
        }
        std::array<QRgb, 256> pixelOf{};
        for (int coverage = 0; coverage < 256; ++coverage)
            pixelOf[std::size_t(coverage)] =
                qPremultiply(qRgba(qRed(solid), qGreen(solid), qBlue(solid), (qAlpha(solid) * coverage + 127) / 255));
        const int width = colour.width();
        for (int y = 0; y < colour.height(); ++y) {
            const uchar* coverage = mask.constScanLine(y);
            auto* line = reinterpret_cast<QRgb*>(colour.scanLine(y));
            for (int x = 0; x < width; ++x) line[x] = pixelOf[coverage[x]];
        }
        if (!entry) return fresh;
        entry->masks.solid = solid;
        const QImage made = colour;
        trim();
        return made;
    }

    CacheUse use() {
        const std::lock_guard lock(m_mutex);
        return {held(), kBudget, m_entries.size()};
    }

    void markUsed() {
        const std::lock_guard lock(m_mutex);
        m_mark = m_clock;
    }

    void forgetUnused() {
        const std::lock_guard lock(m_mutex);
        forgetUsedBefore(m_entries, m_mark, m_bytes, bytesOf);
    }

private:
    static constexpr std::size_t kBudget = std::size_t(32) << 20;

    struct Entry {
        std::vector<double> key;
        std::size_t hash = 0;
        Masks masks;
        std::uint64_t used = 0;
    };

    // What an entry keeps alive beside its place in the list: its pictures and its key (every
    // point of the shape).
    static std::size_t bytesOf(const Entry& entry) {
        return kAllocationBytes + entry.key.capacity() * sizeof(double) + keptBytes(entry.masks.mask) +
               keptBytes(entry.masks.colour);
    }

    std::size_t held() const {
        return m_bytes + m_entries.capacity() * sizeof(Entry);
    }

    // The least recently used go once the masks outgrow the budget.
    void trim() {
        while (held() > kBudget && m_entries.size() > 1) {
            const auto oldest = std::min_element(m_entries.begin(), m_entries.end(),
                                                 [](const Entry& a, const Entry& b) { return a.used < b.used; });
            m_bytes -= bytesOf(*oldest);
            m_entries.erase(oldest);
        }
    }

    Entry* lookup(const std::vector<double>& key, std::size_t hash) {
        for (Entry& entry : m_entries)
            if (entry.hash == hash && entry.key == key) return &entry;
        return nullptr;
    }

    std::mutex m_mutex;
    std::vector<Entry> m_entries;
    std::size_t m_bytes = 0;
    std::uint64_t m_clock = 0;
    std::uint64_t m_mark = 0;  // the clock at the last markUsed()
};

MaskMemo& maskMemo() {
    static MaskMemo memo;
    return memo;
}

std::size_t hashOf(const std::vector<double>& key) {
    std::uint64_t h = 1469598103934665603ULL;
    for (const double v : key) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        h = (h ^ bits) * 1099511628211ULL;
    }
    return std::size_t(h);
}

void describePath(std::vector<double>& key, const QPainterPath& path) {
    key.reserve(key.size() + 2 + 3 * std::size_t(path.elementCount()));
    key.push_back(path.fillRule() == Qt::WindingFill ? 1 : 0);
    key.push_back(path.elementCount());
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        key.insert(key.end(), {double(e.type), e.x, e.y});
    }
}

// Transform entries rounded to 2^-20 of a pixel, so the same shape moved by whole mask
// pixels (a repainted part of a frame) finds its mask again.
double steady(double v) {
    return std::round(v * 1048576.0) / 1048576.0;
}

}  // namespace

namespace {

// Box passes over a plane of pixels of four bytes, each byte on its own, in whole numbers: each
// sample is the sum over the box rather than its mean, so it comes out the same whichever part of
// the plane is worked on. Zero beyond the ends.
void boxSumRows(const std::int64_t* in, std::int64_t* out, int w, int h, int radius) {
    for (int y = 0; y < h; ++y) {
        const std::int64_t* src = in + std::size_t(y) * std::size_t(w) * 4;
        std::int64_t* dst = out + std::size_t(y) * std::size_t(w) * 4;
        std::array<std::int64_t, 4> sum{};
        for (int x = 0; x <= radius && x < w; ++x)
            for (std::size_t c = 0; c < 4; ++c) sum[c] += src[4 * std::size_t(x) + c];
        for (int x = 0; x < w; ++x) {
            for (std::size_t c = 0; c < 4; ++c) dst[4 * std::size_t(x) + c] = sum[c];
            if (x + radius + 1 < w)
                for (std::size_t c = 0; c < 4; ++c) sum[c] += src[4 * std::size_t(x + radius + 1) + c];
            if (x - radius >= 0)
                for (std::size_t c = 0; c < 4; ++c) sum[c] -= src[4 * std::size_t(x - radius) + c];
        }
    }
}

// The same down each column, walking whole rows so memory is read in order.
void boxSumColumns(const std::int64_t* in, std::int64_t* out, int w, int h, int radius, std::vector<std::int64_t>& sums) {
    const std::size_t stride = std::size_t(w) * 4;
    sums.assign(stride, 0);
    auto row = [&](int y) { return in + std::size_t(y) * stride; };
    for (int y = 0; y <= radius && y < h; ++y) {
        const std::int64_t* src = row(y);
        for (std::size_t i = 0; i < stride; ++i) sums[i] += src[i];
    }
    for (int y = 0; y < h; ++y) {
        std::copy(sums.begin(), sums.end(), out + std::size_t(y) * stride);
        if (y + radius + 1 < h) {
            const std::int64_t* add = row(y + radius + 1);
            for (std::size_t i = 0; i < stride; ++i) sums[i] += add[i];
        }
        if (y - radius >= 0) {
            const std::int64_t* drop = row(y - radius);
            for (std::size_t i = 0; i < stride; ++i) sums[i] -= drop[i];
        }
    }
}

}  // namespace

QImage blurredImage(const QImage& image, double sigmaPx) {
    KeptBlur blur;
    blur.blurWhole(image, sigmaPx);
    return blur.result();
}

void KeptBlur::clear() {
    m_reducedSize = QSize();
    m_reduced.clear();
    m_blurred.clear();
    m_result = QImage();
}

void KeptBlur::blurWhole(const QImage& image, double sigmaPx) {
    clear();
    m_sigmaPx = sigmaPx;
    if (image.isNull() || !(sigmaPx >= 0.5)) {
        m_result = image;
        return;
    }
    // A wide blur leaves no detail finer than a few pixels: blur a smaller copy, then enlarge it.
    const double sigma = std::min(sigmaPx, kMaxImageBlurPx);
    m_factor = std::clamp(int(sigma / 3), 1, 4);
    m_radii = boxRadii(sigma / m_factor);
    m_reach = 0;
    m_divisor = std::int64_t(m_factor) * m_factor;
    for (const int radius : m_radii) {
        if (radius <= 0) continue;
        m_reach += radius;
        m_divisor *= std::int64_t(2 * radius + 1) * (2 * radius + 1);
    }
    m_reducedSize = QSize((image.width() + m_factor - 1) / m_factor, (image.height() + m_factor - 1) / m_factor);
    const std::size_t samples = std::size_t(m_reducedSize.width()) * std::size_t(m_reducedSize.height()) * 4;
    m_reduced.assign(samples, 0);
    m_blurred.assign(samples, 0);
    m_result = QImage(image.size(), QImage::Format_ARGB32_Premultiplied);
    m_result.setDevicePixelRatio(image.devicePixelRatio());
    const QRect reduced(QPoint(0, 0), m_reducedSize);
    reduce(image.convertToFormat(QImage::Format_ARGB32_Premultiplied), reduced);
    blurPart(reduced);
    enlarge(m_result.rect());
}

QRegion KeptBlur::blurChanged(const QImage& image, const QRegion& changed) {
    if (m_reduced.empty() || image.size() != m_result.size() || image.devicePixelRatio() != m_result.devicePixelRatio()) {
        blurWhole(image, m_sigmaPx);
        return QRegion(m_result.rect());
    }
    const int f = m_factor;
    const QRect reducedRect(QPoint(0, 0), m_reducedSize);
    // The blocks that hold a changed pixel, then as far round them as the passes carry a change,
    // then the pixels that enlarging takes from those.
    QRegion blocks;
    for (const QRect& r : changed & image.rect())
        blocks += QRect(QPoint(r.left() / f, r.top() / f), QPoint(r.right() / f, r.bottom() / f));
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (const QRect& r : blocks) reduce(source, r);
    QRegion reached;
    for (const QRect& r : blocks) reached += r.adjusted(-m_reach, -m_reach, m_reach, m_reach) & reducedRect;
    QRegion enlarged;
    for (const QRect& r : reached) {
        blurPart(r);
        enlarged += QRect(r.x() * f - f, r.y() * f - f, (r.width() + 2) * f, (r.height() + 2) * f) & m_result.rect();
    }
    for (const QRect& r : enlarged) enlarge(r);
    return enlarged;
}

// Sums each block of factor x factor pixels of `source` over `part` of the reduced copy; pixels
// beyond the picture count as transparent.
void KeptBlur::reduce(const QImage& source, const QRect& part) {
    const int f = m_factor;
    const std::size_t reducedW = std::size_t(m_reducedSize.width());
    for (int ry = part.top(); ry <= part.bottom(); ++ry) {
        std::int64_t* row = &m_reduced[(std::size_t(ry) * reducedW + std::size_t(part.left())) * 4];
        std::fill(row, row + std::size_t(part.width()) * 4, 0);
        for (int y = ry * f; y < std::min(ry * f + f, source.height()); ++y) {
            const uchar* line = source.constScanLine(y);
            for (int rx = part.left(); rx <= part.right(); ++rx) {
                std::int64_t* sum = row + std::size_t(rx - part.left()) * 4;
                for (int x = rx * f; x < std::min(rx * f + f, source.width()); ++x)
                    for (std::size_t c = 0; c < 4; ++c) sum[c] += line[4 * std::size_t(x) + c];
            }
        }
    }
}

// Blurs `part` of the reduced copy afresh, from what lies as far round it as the passes reach:
// a sample worked out near the edge of what was read is off, but no further in than that reach.
void KeptBlur::blurPart(const QRect& part) {
    const QRect read = part.adjusted(-m_reach, -m_reach, m_reach, m_reach) & QRect(QPoint(0, 0), m_reducedSize);
    const int w = read.width();
    const int h = read.height();
    const std::size_t reducedW = std::size_t(m_reducedSize.width());
    std::vector<std::int64_t> a(std::size_t(w) * std::size_t(h) * 4);
    std::vector<std::int64_t> b(a.size());
    std::vector<std::int64_t> sums;
    for (int y = 0; y < h; ++y) {
        const auto from = m_reduced.begin() + std::ptrdiff_t((std::size_t(read.top() + y) * reducedW + std::size_t(read.left())) * 4);
        std::copy(from, from + std::ptrdiff_t(w) * 4, a.begin() + std::ptrdiff_t(y) * w * 4);
    }
    for (const int radius : m_radii) {
        if (radius <= 0) continue;
        boxSumRows(a.data(), b.data(), w, h, radius);
        boxSumColumns(b.data(), a.data(), w, h, radius, sums);
    }
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const auto from = a.begin() + std::ptrdiff_t((std::size_t(y - read.top()) * std::size_t(w) + std::size_t(part.left() - read.left())) * 4);
        std::copy(from, from + std::ptrdiff_t(part.width()) * 4,
                  m_blurred.begin() + std::ptrdiff_t((std::size_t(y) * reducedW + std::size_t(part.left())) * 4));
    }
    m_pixelsBlurred += std::uint64_t(w) * std::uint64_t(h);
}

// Works out `part` of the result from the blurred copy: enlarged by straight interpolation
// between the nearest samples, centres aligned, the edge samples held past the edges; each
// byte rounded once, at the end.
void KeptBlur::enlarge(const QRect& part) {
    const int f = m_factor;
    const int reducedW = m_reducedSize.width();
    const int reducedH = m_reducedSize.height();
    const auto at = [&](int x, int y) {
        return &m_blurred[(std::size_t(std::clamp(y, 0, reducedH - 1)) * std::size_t(reducedW) + std::size_t(std::clamp(x, 0, reducedW - 1))) * 4];
    };
    const std::int64_t divisor = m_divisor;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        uchar* line = m_result.scanLine(y);
        if (f == 1) {
            for (int x = part.left(); x <= part.right(); ++x) {
                const std::int64_t* sum = at(x, y);
                for (std::size_t c = 0; c < 4; ++c) line[4 * std::size_t(x) + c] = uchar((2 * sum[c] + divisor) / (2 * divisor));
            }
            continue;
        }
        const Tap down = upscaleTap(y, f);
        const double wy = down.weight;
        for (int x = part.left(); x <= part.right(); ++x) {
            const Tap across = upscaleTap(x, f);
            const double wx = across.weight;
            const std::int64_t* p00 = at(across.index, down.index);
            const std::int64_t* p01 = at(across.index + 1, down.index);
            const std::int64_t* p10 = at(across.index, down.index + 1);
            const std::int64_t* p11 = at(across.index + 1, down.index + 1);
            for (std::size_t c = 0; c < 4; ++c) {
                const double top = (1 - wx) * double(p00[c]) + wx * double(p01[c]);
                const double bottom = (1 - wx) * double(p10[c]) + wx * double(p11[c]);
                const double v = ((1 - wy) * top + wy * bottom) / double(divisor);
                line[4 * std::size_t(x) + c] = uchar(std::clamp(v + 0.5, 0.0, 255.0));
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Painting off the GUI thread

void runOnPool(const std::function<void()>& work) {
    QThreadPool* pool = QThreadPool::globalInstance();
    // Waiting on the pool from inside it could wait for ever.
    if (pool->contains(QThread::currentThread())) {
        work();
        return;
    }
    QSemaphore done;
    pool->start([&] {
        work();
        done.release();
    });
    done.acquire();
}

QImage paintOnPool(QSize pixelSize, double devicePixelRatio, const std::function<void(QPainter&)>& draw) {
    if (pixelSize.isEmpty() || !(devicePixelRatio > 0)) return {};
    QImage image;
    runOnPool([&] {
        image = QImage(pixelSize, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(devicePixelRatio);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        draw(painter);
    });
    return image;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Canvas

struct Canvas::Surface {
    QPainter* painter = nullptr;
    double devicePixelRatio = 1;
    int nextClipID = 1;
    int appliedClipID = -1;  // -1: unknown, 0: none
    std::optional<QRect> appliedBound;

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    // The canvas changes the painter's transform, clip and blend as it likes; once the last copy
    // is gone the painter is handed back as the caller gave it. (Not save()/restore(): callers
    // may end the painter while a canvas still exists.)
    explicit Surface(QPainter& p)
        : painter(&p),
          givenTransform(p.worldTransform()),
          givenClipping(p.hasClipping()),
          givenClip(p.hasClipping() ? p.clipPath() : QPainterPath()),
          givenMode(p.compositionMode()),
          givenOpacity(p.opacity()) {}
    ~Surface() {
        if (!painter->isActive()) return;
        painter->setWorldTransform(givenTransform);
        if (givenClipping) painter->setClipPath(givenClip);
        else painter->setClipping(false);
        painter->setCompositionMode(givenMode);
        painter->setOpacity(givenOpacity);
    }

    QTransform givenTransform;
    bool givenClipping = false;
    QPainterPath givenClip;  // in the given transform's coordinates
    QPainter::CompositionMode givenMode = QPainter::CompositionMode_SourceOver;
    double givenOpacity = 1;  // every draw is laid on at this times the copy's own opacity
};

Canvas::Canvas(QPainter& painter)
    : m_surface(std::make_shared<Surface>(painter)), m_transform(painter.worldTransform()) {
    m_surface->devicePixelRatio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // A clip the caller set stays the outermost clip of every copy.
    if (painter.hasClipping()) {
        ClipState outer;
        outer.id = m_surface->nextClipID++;
        outer.path = painter.worldTransform().map(painter.clipPath());
        m_clip = outer;
    }
}

Canvas::Canvas(std::shared_ptr<Surface> surface, QTransform transform)
    : m_surface(std::move(surface)), m_transform(transform) {}

void Canvas::translate(double dx, double dy) {
    m_transform = QTransform::fromTranslate(dx, dy) * m_transform;
}

void Canvas::scale(double sx, double sy) {
    m_transform = QTransform::fromScale(sx, sy) * m_transform;
}

void Canvas::rotateDegrees(double degrees) {
    // With y down, Qt's positive rotation already turns clockwise on screen.
    QTransform turn;
    turn.rotate(degrees);
    m_transform = turn * m_transform;
}

void Canvas::setOpacity(double opacity) {
    m_opacity = std::isfinite(opacity) ? std::clamp(opacity, 0.0, 1.0) : 1.0;
}

void Canvas::addBlur(double radius) {
    if (radius <= 0) return;
    const double px = radius * deviceScale();
    // Gaussian variances add up.
    m_blurPx = std::sqrt(m_blurPx * m_blurPx + px * px);
}

void Canvas::setBlendMode(BlendMode mode) {
    m_blend = mode;
}

double Canvas::deviceScale() const {
    return std::sqrt(std::abs(m_transform.determinant()));
}

void Canvas::clip(const Rect& rect) {
    const bool axisAligned = m_transform.m12() == 0 && m_transform.m21() == 0;
    if (!axisAligned || (m_clip && !m_clip->isRect)) {
        clip(shape::rect(rect));
        return;
    }
    const QRectF device = m_transform.mapRect(toQRectF(rect).normalized());
    ClipState next;
    next.id = m_surface->nextClipID++;
    next.isRect = true;
    next.rect = m_clip ? m_clip->rect.intersected(device) : device;
    m_clip = next;
}

void Canvas::clip(const QPainterPath& path) {
    QPainterPath device = m_transform.map(withRule(path, FillRule::nonZero));
    if (m_clip) {
        QPainterPath current = windingPath();
        if (m_clip->isRect) current.addRect(m_clip->rect); else current = m_clip->path;
        device = current.intersected(device);
    }
    ClipState next;
    next.id = m_surface->nextClipID++;
    next.isRect = false;
    next.path = device;
    m_clip = next;
}

void Canvas::bound(const QRect& devicePixels) {
    m_bound = m_bound ? *m_bound & devicePixels : devicePixels;
}

void Canvas::applyClip(QPainter& painter) const {
    const int wanted = m_clip ? m_clip->id : 0;
    if (m_surface->appliedClipID == wanted && m_surface->appliedBound == m_bound && m_surface->painter == &painter) return;
    painter.setWorldTransform(QTransform());
    const double dpr = m_surface->devicePixelRatio;
    const std::optional<QRectF> bound =
        m_bound ? std::optional(QRectF(m_bound->x() / dpr, m_bound->y() / dpr, m_bound->width() / dpr, m_bound->height() / dpr))
                : std::nullopt;
    if (!m_clip) {
        if (bound) painter.setClipRect(*bound);
        else painter.setClipping(false);
    } else if (m_clip->isRect) {
        painter.setClipRect(bound ? m_clip->rect.intersected(*bound) : m_clip->rect);
    } else {
        painter.setClipPath(m_clip->path);
        // The painter cuts the path's clip at the bound itself, pixel by pixel.
        if (bound && !bound->contains(m_clip->path.boundingRect())) painter.setClipRect(*bound, Qt::IntersectClip);
    }
    m_surface->appliedClipID = wanted;
    m_surface->appliedBound = m_bound;
}

void Canvas::paint(const QRectF& localBounds, const QBrush& brush,
                   const std::function<void(QPainter&, const QBrush&)>& draw,
                   const std::function<void(std::vector<double>&)>& describe) const {
    QPainter& painter = *m_surface->painter;
    if (m_clip && m_clip->isRect && m_clip->rect.isEmpty()) return;
    const auto mode = m_blend == BlendMode::destinationOut ? QPainter::CompositionMode_DestinationOut
                                                            : QPainter::CompositionMode_SourceOver;
    if (m_blurPx < 0.1) {
        applyClip(painter);
        painter.setWorldTransform(m_transform);
        painter.setCompositionMode(mode);
        painter.setOpacity(m_surface->givenOpacity * m_opacity);
        draw(painter, brush);
        return;
    }

    // Blurred: the shape's coverage goes into a small mask with room for the blur to spread,
    // the mask is blurred, and the paint is laid through it onto the canvas under the clip.
    // A wide blur hides detail finer than a few pixels, so its mask is made and blurred at a
    // lower resolution and scaled back up before it is laid on.
    const double deviceSigma = m_blurPx * m_surface->devicePixelRatio;
    const int reduction = deviceSigma >= 12 ? 4 : deviceSigma >= 6 ? 2 : 1;
    const double dpr = m_surface->devicePixelRatio / reduction;
    const double padLogical = 3 * m_blurPx + 2 / dpr;
    QRectF area = m_transform.mapRect(localBounds).adjusted(-padLogical, -padLogical, padLogical, padLogical);
    if (m_clip) {
        const QRectF clipBounds = m_clip->isRect ? m_clip->rect : m_clip->path.boundingRect();
        area = area.intersected(clipBounds.adjusted(-padLogical, -padLogical, padLogical, padLogical));
    }
    if (area.isEmpty()) return;
    const QRect pixels = QRectF(area.x() * dpr, area.y() * dpr, area.width() * dpr, area.height() * dpr).toAlignedRect();
    const QPointF origin(pixels.x() / dpr, pixels.y() / dpr);
    const QRectF target(origin, QSizeF(pixels.width() / dpr, pixels.height() / dpr));

    const QTransform intoMask = m_transform * QTransform::fromTranslate(-origin.x(), -origin.y());
    std::vector<double> key;
    describe(key);
    key.insert(key.end(), {steady(intoMask.m11()), steady(intoMask.m12()), steady(intoMask.m21()),
                           steady(intoMask.m22()), steady(intoMask.dx()), steady(intoMask.dy()), m_blurPx,
                           m_surface->devicePixelRatio, double(reduction), double(pixels.width()),
                           double(pixels.height())});
    const std::size_t hash = hashOf(key);
    MaskMemo::Masks masks = maskMemo().find(key, hash).value_or(MaskMemo::Masks{});
    if (masks.mask.isNull()) {
        // The images work in their own pixels (no device pixel ratio of their own).
        QImage lowMask(pixels.size(), QImage::Format_Alpha8);
        lowMask.fill(0);
        {
            QPainter maskPainter(&lowMask);
            maskPainter.setRenderHint(QPainter::Antialiasing, true);
            maskPainter.setWorldTransform(intoMask * QTransform::fromScale(dpr, dpr));
            draw(maskPainter, QBrush(Qt::black));
        }
        masks.mask = blurredCoverage(lowMask, m_blurPx * dpr, reduction);
        maskMemo().keep(key, hash, masks);
    }
    // Only the memo holds the colour now, so it can be worked out again where it lies.
    masks.colour = QImage();
    const QImage& mask = masks.mask;
    const double fullDpr = m_surface->devicePixelRatio;
    const QTransform toMask = intoMask * QTransform::fromScale(fullDpr, fullDpr);

    // The paint itself, unblurred, masked by the blurred coverage.
    QImage colour;
    if (brush.style() == Qt::SolidPattern) {
        colour = maskMemo().colour(key, hash, mask, brush.color().rgba());
    } else {
        // Gradients keep their place: paint the whole area, then keep what the mask covers.
        bool invertible = false;
        const QTransform fromMask = toMask.inverted(&invertible);
        if (!invertible) return;
        colour = QImage(mask.size(), QImage::Format_ARGB32_Premultiplied);
        colour.fill(Qt::transparent);
        QPainter colourPainter(&colour);
        colourPainter.setWorldTransform(toMask);
        colourPainter.fillRect(fromMask.mapRect(QRectF(QPointF(0, 0), QSizeF(mask.size()))), brush);
        colourPainter.setWorldTransform(QTransform());
        colourPainter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        colourPainter.drawImage(QPointF(0, 0), mask);
    }
    applyClip(painter);
    painter.setWorldTransform(QTransform());
    painter.setCompositionMode(mode);
    painter.setOpacity(m_surface->givenOpacity * m_opacity);
    painter.drawImage(target, colour);
}

void Canvas::drawImage(const Rect& target, const QImage& image) const {
    if (image.isNull() || target.w <= 0 || target.h <= 0) return;
    QPainter& painter = *m_surface->painter;
    if (m_clip && m_clip->isRect && m_clip->rect.isEmpty()) return;
    applyClip(painter);
    painter.setWorldTransform(QTransform());
    painter.setCompositionMode(m_blend == BlendMode::destinationOut ? QPainter::CompositionMode_DestinationOut
                                                                    : QPainter::CompositionMode_SourceOver);
    painter.setOpacity(m_surface->givenOpacity * m_opacity);
    painter.drawImage(m_transform.mapRect(toQRectF(target)), image);
}

void Canvas::fill(const QPainterPath& path, const Paint& paint, FillRule rule) const {
    if (path.isEmpty()) return;
    const QPainterPath shape = withRule(path, rule);
    this->paint(
        shape.boundingRect(), brushFor(paint),
        [&](QPainter& p, const QBrush& brush) {
            p.setPen(Qt::NoPen);
            p.setBrush(brush);
            p.drawPath(shape);
        },
        [&](std::vector<double>& key) {
            key.push_back(0);  // a fill
            describePath(key, shape);
        });
}

void Canvas::stroke(const QPainterPath& path, const Paint& paint, double lineWidth) const {
    StrokeStyle style;
    style.width = lineWidth;
    stroke(path, paint, style);
}

void Canvas::stroke(const QPainterPath& path, const Paint& paint, const StrokeStyle& style) const {
    // Qt would draw a zero width as a one-pixel hairline.
    if (path.isEmpty() || !(style.width > 0)) return;
    const QBrush brush = brushFor(paint);
    // Miters may reach past half the width; the bounds only size the blur mask.
    const double reach = style.width * std::max(1.0, style.miterLimit) / 2 + 1;
    const QRectF bounds = path.boundingRect().adjusted(-reach, -reach, reach, reach);
    this->paint(
        bounds, brush,
        [&](QPainter& p, const QBrush& b) {
            QPen pen = penFor(paint, style);
            pen.setBrush(b);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        },
        [&](std::vector<double>& key) {
            key.insert(key.end(), {1, style.width, double(style.cap), double(style.join), style.miterLimit,
                                   style.dashPhase, double(style.dash.size())});  // a stroke
            key.insert(key.end(), style.dash.begin(), style.dash.end());
            describePath(key, path);
        });
}

namespace {

// Pictures of text in one colour as a painter's device would show them, kept by everything that
// decides their pixels: the text, the font, where it stands and the colour. Text is drawn again
// and again with nothing changed (a card's lines under a room that moves, a glowing number on
// every frame), and filling its outlines costs far more than laying the picture on. Shared by
// every canvas on every thread; the least recently used go once the pictures outgrow the budget.
class TextMemo {
public:
    TextMemo() { addMemoryRelease([this] { markUsed(); }, [this] { forgetUnused(); }); }

    struct Picture {
        QImage image;  // premultiplied, in device pixels
        QPoint origin;  // its place in device pixels
    };

    std::optional<Picture> find(const QString& text, const std::vector<double>& key) {
        const std::lock_guard lock(m_mutex);
        const auto found = std::find_if(m_kept.begin(), m_kept.end(), [&](const Kept& k) { return k.key == key && k.text == text; });
        if (found == m_kept.end()) return std::nullopt;
        found->used = ++m_clock;
        std::rotate(found, found + 1, m_kept.end());
        return m_kept.back().picture;
    }

    void keep(const QString& text, std::vector<double> key, Picture picture) {
        const std::lock_guard lock(m_mutex);
        m_kept.push_back(Kept{text, std::move(key), std::move(picture), ++m_clock});
        m_bytes += bytesOf(m_kept.back());
        while (held() > kBudget && m_kept.size() > 1) {
            m_bytes -= bytesOf(m_kept.front());
            m_kept.erase(m_kept.begin());
        }
    }

    CacheUse use() {
        const std::lock_guard lock(m_mutex);
        return {held(), kBudget, m_kept.size()};
    }

    void markUsed() {
        const std::lock_guard lock(m_mutex);
        m_mark = m_clock;
    }

    void forgetUnused() {
        const std::lock_guard lock(m_mutex);
        forgetUsedBefore(m_kept, m_mark, m_bytes, bytesOf);
    }

private:
    static constexpr std::size_t kBudget = std::size_t(8) << 20;

    struct Kept {
        QString text;
        std::vector<double> key;
        Picture picture;
        std::uint64_t used = 0;
    };

    // What a picture keeps alive beside its place in the list: its pixels, its text and its key.
    static std::size_t bytesOf(const Kept& kept) {
        return keptBytes(kept.picture.image) + kAllocationBytes + kept.key.capacity() * sizeof(double) + kStringBytes +
               std::size_t(kept.text.capacity() + 1) * sizeof(QChar);
    }

    std::size_t held() const {
        return m_bytes + m_kept.capacity() * sizeof(Kept);
    }

    std::mutex m_mutex;
    std::vector<Kept> m_kept;  // most recently used last
    std::size_t m_bytes = 0;
    std::uint64_t m_clock = 0;
    std::uint64_t m_mark = 0;  // the clock at the last markUsed()
};

TextMemo& textMemo() {
    static TextMemo memo;
    return memo;
}

}  // namespace

CacheUse keptTextUse() {
    return textMemo().use();
}

CacheUse blurredMaskUse() {
    return maskMemo().use();
}

void forgetUnusedPictures() {
    textMemo().forgetUnused();
    textMemo().markUsed();
    maskMemo().forgetUnused();
    maskMemo().markUsed();
}

void Canvas::drawText(const QString& text, QPointF center, const Font& font, const Paint& paint) const {
    if (!drawKeptText(text, center, font, paint)) fill(textPath(text, center, font), paint);
}

// Solid text laid on straight, unblurred and in the normal blend, as almost all is, comes from a
// kept picture. Its pixels are the fill's: the outlines are filled in the same place of the same
// device pixels, on a clear picture, and one layer of coverage laid over the canvas blends as the
// fill itself does.
bool Canvas::drawKeptText(const QString& text, QPointF center, const Font& font, const Paint& paint) const {
    const QColor* colour = std::get_if<QColor>(&paint);
    QPainter& painter = *m_surface->painter;
    if (!colour || m_blurPx >= 0.1 || m_blend != BlendMode::normal || m_surface->givenOpacity * m_opacity != 1 || font.size <= 0 ||
        text.isEmpty())
        return false;
    // Only the raster engine is known to blend a picture as it fills; a picture being made for an
    // effect (a pixmap) may place what it is given otherwise.
    const QPaintEngine* engine = painter.paintEngine();
    if (m_clip || !engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
        return false;
    // A device drawn on at a scale of its own (a widget rendered into a scaled picture) is left
    // to the fill. The painter's device transform holds its world transform too, so that is
    // cleared first (every drawing sets its own).
    painter.setWorldTransform(QTransform());
    const QTransform device = painter.deviceTransform();
    const double ratio = engine->paintDevice()->devicePixelRatioF();
    if (device.type() > QTransform::TxScale || device.m11() != ratio || device.m22() != ratio) return false;
    const QTransform full = m_transform * device;
    if (full.type() > QTransform::TxScale) return false;

    std::vector<double> key = {font.size, double(font.weight), double(font.design), double(font.condensed), center.x(),
                               center.y(), full.m11(), full.m22(), full.dx(), full.dy(), double(colour->rgba())};
    std::optional<TextMemo::Picture> picture = textMemo().find(text, key);
    if (!picture) {
        const QPainterPath shape = withRule(textPath(text, center, font), FillRule::nonZero);
        const QRect pixels = full.map(shape).boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
        if (pixels.isEmpty() || double(pixels.width()) * pixels.height() > 4e6) return false;
        QImage painted(pixels.size(), QImage::Format_ARGB32_Premultiplied);
        painted.fill(Qt::transparent);
        {
            QPainter picturePainter(&painted);
            picturePainter.setRenderHint(QPainter::Antialiasing, true);
            picturePainter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            picturePainter.setWorldTransform(full * QTransform::fromTranslate(-pixels.x(), -pixels.y()));
            picturePainter.setPen(Qt::NoPen);
            picturePainter.setBrush(QBrush(*colour));
            picturePainter.drawPath(shape);
        }
        // The painted image keeps its painter's engine, several times its pixels: the memo keeps
        // a copy, which has none.
        picture = TextMemo::Picture{painted.copy(), pixels.topLeft()};
        textMemo().keep(text, key, *picture);
    }
    applyClip(painter);
    painter.setWorldTransform(device.inverted());  // the picture's own pixels
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1);
    painter.drawImage(picture->origin, picture->image);
    return true;
}

void Canvas::drawLayer(const Rect& bounds, const std::function<void(Canvas&)>& body) const {
    if (!(bounds.w > 0) || !(bounds.h > 0)) return;
    const double dpr = m_surface->devicePixelRatio;
    QRectF area = m_transform.mapRect(toQRectF(bounds));
    if (m_clip) area = area.intersected(m_clip->isRect ? m_clip->rect : m_clip->path.boundingRect());
    if (area.isEmpty()) return;
    const QRect pixels = QRectF(area.x() * dpr, area.y() * dpr, area.width() * dpr, area.height() * dpr).toAlignedRect();
    const QPointF origin(pixels.x() / dpr, pixels.y() / dpr);

    QImage layer(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(dpr);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.setWorldTransform(m_transform * QTransform::fromTranslate(-origin.x(), -origin.y()));
        Canvas inner(layerPainter);
        body(inner);
    }
    // The finished layer is laid on through this copy's clip and blend; nothing blurs a layer.
    assert(m_blurPx < 0.1);
    QPainter& painter = *m_surface->painter;
    applyClip(painter);
    painter.setWorldTransform(QTransform());
    painter.setCompositionMode(m_blend == BlendMode::destinationOut ? QPainter::CompositionMode_DestinationOut
                                                                    : QPainter::CompositionMode_SourceOver);
    painter.setOpacity(m_surface->givenOpacity * m_opacity);
    painter.drawImage(origin, layer);
}

}  // namespace tallowmere
