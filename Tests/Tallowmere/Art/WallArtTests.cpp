// The wall art: dispatch over every case, the shared frame and text fitting, and pixel probes of
// the looks that room state switches.
#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/WallArt.hpp>
#include <Tallowmere/Art/WallArtParts.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <climits>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "Art/ReferencePictures.hpp"
#include "ColourProbe.hpp"
#include "PaintProbe.hpp"

namespace tallowmere {
namespace {

using namespace tallowmere::testing;

namespace art = ostrevan::art;
namespace face = ostrevan::face;
using ostrevan::Art;
using ostrevan::Tone;

QImage paintArt(const Art& piece, const Rect& rect, double time = 0, int w = 240, int h = 240) {
    return paintImage(w, h, [&](Canvas& c) { drawWallArt(c, piece, rect, time); });
}

int brightness(QRgb p) {
    return (qRed(p) + qGreen(p) + qBlue(p)) / 3;
}

template <std::size_t... I>
std::vector<Art> everyCase(std::index_sequence<I...>) {
    return {Art(std::in_place_index<I>)...};
}

// ## Dispatch

TEST(WallArtDispatch, AnswersTrueExactlyForTheWallCases) {
    int wallCases = 0;
    const QImage floorOnly = paintImage(120, 120, [&](Canvas& c) {
        for (const Art& piece : everyCase(std::make_index_sequence<ostrevan::kArtCaseCount>())) {
            if (ostrevan::isWallPiece(piece)) continue;
            EXPECT_FALSE(drawWallArt(c, piece, Rect{10, 10, 100, 100}, 0)) << piece.index();
        }
    });
    EXPECT_TRUE(isBlank(floorOnly));
    for (const Art& piece : everyCase(std::make_index_sequence<ostrevan::kArtCaseCount>())) {
        if (!ostrevan::isWallPiece(piece)) continue;
        ++wallCases;
        // Without sockets or text these two have nothing to show: neither has a plate.
        const bool bare = std::holds_alternative<art::Sockets>(piece) || std::holds_alternative<art::Arrows>(piece);
        EXPECT_EQ(isBlank(paintArt(piece, Rect{40, 40, 160, 120})), bare) << piece.index();
    }
    EXPECT_EQ(wallCases, 26);
}

TEST(WallArtDispatch, DegeneratePayloadsRectsAndTimesNeverFail) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Art> pieces = {
        art::Stripes{}, art::Dots{}, art::Mixes{}, art::Mixes{{{}, {Tone::red}, {Tone::red, Tone::blue, Tone::green}}},
        art::Clock{99, -7}, art::Clock{INT_MIN, INT_MAX}, art::Poster{"", Tone::red}, art::Poster{"\n\n", Tone::white},
        art::Note{"\xF0\x9F\x91\x8D\n"}, art::Plaque{""}, art::Digit{"", Tone::black}, art::Mirror{""},
        art::Tv{"", true}, art::Tv{std::nullopt, true}, art::TvFlash{}, art::TvFlash{{Tone::red}}, art::Lamps{},
        art::Symbols{{"", "Star"}}, art::Panel{face::Buttons{}}, art::Panel{face::Switches{-3}},
        art::Panel{face::Dials{INT_MAX}}, art::Panel{face::Letters{0}}, art::Panel{face::Screen{""}},
        art::Panel{face::Screen{}}, art::Panel{face::Keypad{}}, art::FuseBox{INT_MIN}, art::FuseBox{INT_MAX},
        art::Vent{true}, art::Shelf{}, art::Bookshelf{}, art::SwitchPlate{true}, art::Sockets{},
        art::Sockets{{std::nullopt, Tone::cyan}}, art::Glow{""}, art::Stamp{""}, art::Stamp{}, art::GearSlot{true},
        art::Arrows{""}, art::Window{true}, art::Painting{ostrevan::PaintStyle::ocean},
    };
    const std::vector<Rect> rects = {{0, 0, 0, 0}, {60, 60, -40, 30}, {50, 50, 2, 2}, {-40, -30, 240, 180},
                                     {kNaN, 0, 50, 50}, {0, 0, kNaN, 50}, {20, 20, 100, 60}};
    const double times[] = {0, -5, kNaN, 1e300, -1e300};
    paintImage(160, 120, [&](Canvas& c) {
        for (const Art& piece : pieces) {
            for (const Rect& r : rects) EXPECT_TRUE(drawWallArt(c, piece, r, 0)) << piece.index();
            for (double t : times) EXPECT_TRUE(drawWallArt(c, piece, rects.back(), t)) << piece.index();
        }
    });
    // A rect with no area is not drawn at all, not even its shadow.
    EXPECT_TRUE(isBlank(paintArt(art::Window{}, Rect{50, 50, 0, 40})));
    EXPECT_TRUE(isBlank(paintArt(art::Clock{3, 0}, Rect{50, 50, 40, -1})));
}

// ## Frames and fitted text

TEST(WallArtText, FrameAndFontFittingGiveTheirFixedSizes) {
    paintImage(10, 10, [](Canvas& c) {
        const Rect inner = wall::framed(c, Rect{10, 20, 100, 80}, 0x3C3430, 6);
        EXPECT_EQ(inner, (Rect{16, 26, 88, 68}));
    });
    const Rect box{0, 0, 100, 50};
    EXPECT_NEAR(wall::autoFont({"ab", "abcd"}, box, 20), 50 * 0.92 / 2 / 1.2, 1e-9);
    EXPECT_NEAR(wall::autoFont({"ab", "abcd"}, box, 26), 50 * 0.92 / 2 / 1.2, 1e-9);
    EXPECT_NEAR(wall::autoFont({""}, box, 100), 50 * 0.92 / 1.2, 1e-9);
    EXPECT_NEAR(wall::autoFont({}, box, 100), 50 * 0.92 / 1.2, 1e-9);
    EXPECT_NEAR(wall::autoFont({"abcdefghij"}, box, 100), 17.2, 1e-9);
    EXPECT_EQ(wall::autoFont({"a"}, box, 12), 12);

    // Characters are what a reader sees: a skin-toned thumb or an accented letter counts once.
    EXPECT_EQ(wall::characterCount(""), 0);
    EXPECT_EQ(wall::characterCount("OK"), 2);
    EXPECT_EQ(wall::characterCount(QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD")), 1);
    EXPECT_EQ(wall::characterCount(QString::fromUtf8("e\xCC\x81t\xC3\xA9")), 3);
    EXPECT_EQ(wall::splitLines("").size(), 1);
    EXPECT_EQ(wall::splitLines("a\n\nb\n"), (QStringList{"a", "", "b", ""}));

    // A long line never runs past its text area, whatever the serif's real width.
    const QStringList lines = {"LEFT TO RIGHT"};
    const Rect area{0, 0, 134, 24};
    const Font fitted = wall::fitLines(lines, area, 20, FontWeight::heavy, FontDesign::serif);
    EXPECT_LE(fitted.size, wall::autoFont(lines, area, 20));
    EXPECT_LE(measureText(lines[0], fitted).width(), area.w + 1e-6);
    // Where the usual serif runs past the area and its condensed cut does not, the condensed
    // cut keeps the fitted size.
    const QStringList poster = {"I=1  V=5", "X=10"};
    const Rect posterArea{0, 0, 130, 80};
    const double posterSize = wall::autoFont(poster, posterArea, 26);
    ASSERT_GT(measureText(poster[0], Font{posterSize, FontWeight::heavy, FontDesign::serif}).width(), posterArea.w);
    const Font condensed = wall::fitLines(poster, posterArea, 26, FontWeight::heavy, FontDesign::serif);
    EXPECT_TRUE(condensed.condensed);
    EXPECT_EQ(condensed.size, posterSize);
}

// ## Looks switched by room state

TEST(WallArtLooks, BooksFillTheShelvesInTurn) {
    // Back (10, 10, 150, 200), shelves 66.7 high; the first book stands at x 15 on y 72.7, its
    // size fixed by the hash of its place.
    const QImage three = paintArt(art::Bookshelf{{Tone::red, Tone::green, Tone::blue}}, Rect{0, 0, 170, 220});
    const double bookW = 12 + 5 * unitHash(scatterSeed(0), 5);
    const double bookH = 200.0 / 3 * (0.6 + 0.25 * unitHash(scatterSeed(0), 6));
    const double bookTop = 10 + 200.0 / 3 - 4 - bookH;
    const double gapX = std::floor(15 + bookW + 2) + 0.5;
    EXPECT_TRUE(matchesReference("wall/three books", three));
    expectProbe(three, {"back", {12.5, 40.5}, hexColour(0x2A1C10)});
    expectProbe(three, {"first book's left edge", {15.5, bookTop + bookH / 2},
                        rampColour({hexColour(0xDE3F3F, 0.18), hexColour(0xDE3F3F, -0.22)}, 0.5 / bookW)});
    expectProbe(three, {"back beside the book's band", {gapX, std::floor(bookTop + 6) + 0.5}, hexColour(0x2A1C10)});

    // Seven books stand 3, 3 and 1 on the shelves; nine stand 3, 3 and 3.
    const std::vector<Tone> seven(7, Tone::yellow);
    const std::vector<Tone> nine(9, Tone::yellow);
    const Rect bookcase{0, 0, 170, 220};
    EXPECT_LT(brightness(paintArt(art::Bookshelf{seven}, bookcase).pixel(38, 195)), 50);
    EXPECT_GT(brightness(paintArt(art::Bookshelf{nine}, bookcase).pixel(38, 195)), 120);
}

TEST(WallArtLooks, ClockHandsFollowTheStoredTime) {
    const Rect face{0, 0, 200, 200};
    const QImage six = paintArt(art::Clock{6, 0}, face);
    const QImage three = paintArt(art::Clock{3, 0}, face);
    EXPECT_LT(brightness(six.pixel(100, 135)), 80);     // hour hand straight down
    EXPECT_GT(brightness(six.pixel(135, 100)), 200);
    EXPECT_LT(brightness(three.pixel(135, 100)), 80);   // hour hand to the right
    EXPECT_GT(brightness(three.pixel(100, 135)), 200);
    EXPECT_TRUE(matchesReference("wall/clock at six", six));
    EXPECT_TRUE(matchesReference("wall/clock at three", three));
    EXPECT_EQ(paintArt(art::Clock{15, 0}, face), three);
    EXPECT_EQ(paintArt(art::Clock{12, 0}, face), paintArt(art::Clock{0, 0}, face));
}

TEST(WallArtLooks, TelevisionPlaysItsColourLoop) {
    const Rect set{0, 0, 180, 130};
    const art::TvFlash flash{{Tone::red, Tone::green}};
    const QPoint probe(90, 100);
    const QRgb red = paintArt(flash, set, 0.5).pixel(probe);
    const QRgb wait = paintArt(flash, set, 0.9).pixel(probe);
    const QRgb green = paintArt(flash, set, 1.3).pixel(probe);
    const QRgb rest = paintArt(flash, set, 3.0).pixel(probe);
    const QRgb again = paintArt(flash, set, 4.5 + 0.5).pixel(probe);  // the loop lasts 1.25 * 2 + 2 s
    EXPECT_GT(qRed(red), qGreen(red) + 60);
    EXPECT_LT(brightness(wait), 30);
    EXPECT_GT(qGreen(green), qRed(green) + 60);
    EXPECT_LT(brightness(rest), 30);
    EXPECT_EQ(again, red);
}

// ## Probe tables
//
// Each row draws one piece and compares pixels with the colours its drawing rules give at those
// points: the hex values, shades, gradients and layouts worked out by hand, not read back from a
// render. Rows of the same piece in two states probe the same points, so a look that stops
// switching fails there.

Colour toneColour(Tone tone, double shade = 0, double opacity = 1) {
    static constexpr std::uint32_t kTones[] = {0xDE3F3F, 0xF08A2C, 0xF5C82E, 0x35A558, 0x3B78DE, 0x8652D4,
                                               0xEC76A6, 0x39C0D0, 0xF1EFE8, 0x2A2A30, 0x8A5A38};
    return hexColour(kTones[int(tone)], shade, opacity);
}
// A vertical two-colour gradient over [y0, y1], read at y.
Colour vert(double y0, double y1, double y, std::uint32_t top, std::uint32_t bottom) {
    return verticalAt(y0, y1, y, {hx(top), hx(bottom)});
}
// The varnish over a painting's canvas (8, 8, 184, 144): clear at the top to black 0.18.
Colour varnished(const Colour& under, double y) {
    return over(blackA(0.18 * (y - 8) / 144), under);
}

struct ArtCase {
    std::string what;
    Art piece;
    Rect rect;
    double time = 0;
    std::vector<Probe> probes;
};

void runTable(const std::vector<ArtCase>& table) {
    for (const ArtCase& row : table) {
        SCOPED_TRACE(row.what);
        const QImage image = paintArt(row.piece, row.rect, row.time, 320, 240);
        for (const Probe& probe : row.probes) expectProbe(image, probe);
        EXPECT_TRUE(matchesReference("wall/" + row.what, image));
    }
}

// The darkest and the brightest pixel within `radius` of `centre`: where text or a thin mark
// must have landed without knowing its exact glyph pixels.
QRgb darkestNear(const QImage& image, QPoint centre, int radius) {
    QRgb best = qRgba(255, 255, 255, 255);
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
        for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
            if (image.valid(x, y) && qAlpha(image.pixel(x, y)) == 255 && brightness(image.pixel(x, y)) < brightness(best))
                best = image.pixel(x, y);
    return best;
}
QRgb brightestNear(const QImage& image, QPoint centre, int radius) {
    QRgb best = qRgba(0, 0, 0, 0);
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
        for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
            if (image.valid(x, y) && brightness(image.pixel(x, y)) > brightness(best)) best = image.pixel(x, y);
    return best;
}
void expectColour(QRgb got, const Colour& want, int tolerance, const std::string& what) {
    EXPECT_NEAR(qRed(got), channel(want.r), tolerance) << what;
    EXPECT_NEAR(qGreen(got), channel(want.g), tolerance) << what;
    EXPECT_NEAR(qBlue(got), channel(want.b), tolerance) << what;
}

TEST(WallArtProbes, FramedPicturesAndLettering) {
    const Colour paper = hx(0xF2EEE4);
    const auto frameAt = [](double y, double h) { return verticalAt(0, h, y, {hx(0x3C3430, 0.25), hx(0x3C3430, -0.25)}); };
    const auto stripe = [](Tone t, double y) { return verticalAt(16, 64, y, {toneColour(t, 0.12), toneColour(t, -0.12)}); };
    const auto dot = [](double x, double y, double d, QPointF at, Tone t) {
        return ballAt(x, y, d, at, {toneColour(t, 0.45), toneColour(t), toneColour(t, -0.3)});
    };
    const std::vector<ArtCase> table = {
        // Frame 8, paper, then the stripes in an area 8 further in: (16, 16, 88, 48), 44 each.
        {"two stripes", art::Stripes{{Tone::red, Tone::blue}}, {0, 0, 120, 80}, 0,
         {{"frame", {4.5, 40.5}, frameAt(40.5, 80)},
          {"paper margin", {12.5, 12.5}, paper},
          {"first stripe", {30.5, 40.5}, stripe(Tone::red, 40.5)},
          {"second stripe", {90.5, 40.5}, stripe(Tone::blue, 40.5)},
          {"paper past the last stripe", {107.5, 40.5}, paper}}},
        {"no stripes", art::Stripes{}, {0, 0, 120, 80}, 0, {{"paper", {60.5, 40.5}, paper}}},
        // Four stripes in an area 100 wide start at 16, 41, 66 and 91.
        {"four stripes", art::Stripes{{Tone::red, Tone::green, Tone::blue, Tone::yellow}}, {0, 0, 132, 80}, 0,
         {{"first stripe's last column", {40.5, 40.5}, stripe(Tone::red, 40.5)},
          {"second stripe's first column", {41.5, 40.5}, stripe(Tone::green, 40.5)},
          {"fourth stripe", {110.5, 40.5}, stripe(Tone::yellow, 40.5)}}},
        // Inner (6, 6, 188, 88): cells 94 wide, d = min(75.2, 52.8).
        {"two dots", art::Dots{{Tone::red, Tone::green}}, {0, 0, 200, 100}, 0,
         {{"first dot's highlight", {44.5, 38.5}, dot(26.6, 23.6, 52.8, {44.5, 38.5}, Tone::red)},
          {"first dot's lower right", {62.5, 62.5}, dot(26.6, 23.6, 52.8, {62.5, 62.5}, Tone::red)},
          {"second dot", {140.5, 50.5}, dot(120.6, 23.6, 52.8, {140.5, 50.5}, Tone::green)},
          {"paper between", {100.5, 50.5}, paper},
          {"paper above", {53.5, 12.5}, paper}}},
        // One row in (6, 6, 228, 108): balls 30 across at 0.16 and 0.42 of the width, the box at 0.82.
        {"a sum of two", art::Mixes{{{Tone::red, Tone::blue}}}, {0, 0, 240, 120}, 0,
         {{"first ball", {40.5, 56.5}, dot(27.48, 45, 30, {40.5, 56.5}, Tone::red)},
          {"second ball", {100.5, 60.5}, dot(86.76, 45, 30, {100.5, 60.5}, Tone::blue)},
          {"answer box's left side", {177.5, 60.5}, hx(0x333333), 12},
          {"inside the box", {181.5, 48.5}, paper}}},
        {"a sum of one", art::Mixes{{{Tone::green}}}, {0, 0, 240, 120}, 0,
         {{"first ball", {40.5, 56.5}, dot(27.48, 45, 30, {40.5, 56.5}, Tone::green)},
          {"no second ball", {100.5, 60.5}, paper}}},
        {"plaque", art::Plaque{""}, {20, 20, 160, 60}, 0,
         {{"brass", {26.5, 50.5}, vert(20, 80, 50.5, 0xE2BE6A, 0xA27E2E)},
          {"brass low", {100.5, 75.5}, vert(20, 80, 75.5, 0xE2BE6A, 0xA27E2E)}}},
        {"digit tile", art::Digit{"", Tone::blue}, {0, 0, 100, 100}, 0,
         {{"tile", {90.5, 50.5}, verticalAt(0, 100, 50.5, {toneColour(Tone::blue, 0.2), toneColour(Tone::blue, -0.22)})},
          {"tile with the gloss", {20.5, 50.5},
           over(whiteA(0.18), verticalAt(0, 100, 50.5, {toneColour(Tone::blue, 0.2), toneColour(Tone::blue, -0.22)}))}}},
        // Symbols 49.6 across at x 50 and 150: a square there, the unknown name only as small text.
        {"symbols", art::Symbols{{"square", "Star"}}, {0, 0, 200, 80}, 0,
         {{"square", {33.5, 23.5}, hx(0x4A3508)},
          {"square's middle", {50.5, 40.5}, hx(0x4A3508)},
          {"no square for a text name", {133.5, 23.5}, vert(0, 80, 23.5, 0xDDB961, 0x9C7A2E)}}},
        // Canvas (8, 8, 184, 144) in a frame of the style's colour; varnish darkens it downwards.
        {"sunrise", art::Painting{ostrevan::PaintStyle::sunrise}, {0, 0, 200, 160}, 0,
         {{"frame", {4.5, 80.5}, verticalAt(0, 160, 80.5, {hx(0xB8893A, 0.25), hx(0xB8893A, -0.25)})},
          {"sky", {12.5, 12.5}, varnished(vert(8, 152, 12.5, 0xF7A25A, 0xFFE6A6), 12.5), 5},
          {"sun", {100.5, 90.5}, varnished(hx(0xFFFBE0), 90.5), 6}}},
        {"mountains", art::Painting{ostrevan::PaintStyle::mountains}, {0, 0, 200, 160}, 0,
         {{"frame", {4.5, 80.5}, verticalAt(0, 160, 80.5, {hx(0x4A3422, 0.25), hx(0x4A3422, -0.25)})},
          {"sky", {12.5, 12.5}, varnished(vert(8, 152, 12.5, 0x8DB5E0, 0xE8F1FA), 12.5), 5},
          {"first mountain", {63.5, 123.5}, varnished(hx(0x5C6C7E), 123.5), 6},
          {"second mountain over it", {136.5, 108.5}, varnished(hx(0x46566A), 108.5), 6},
          {"snow cap", {136.5, 45.5}, varnished(hx(0xFFFFFF), 45.5), 6}}},
        {"ocean", art::Painting{ostrevan::PaintStyle::ocean}, {0, 0, 200, 160}, 0,
         {{"sky", {12.5, 12.5}, varnished(verticalAt(8, 80, 12.5, {hx(0xF8D9A0), hx(0xFFF3DC)}), 12.5), 5},
          {"sail", {111.5, 72.5}, varnished(hx(0xFFFFFF), 72.5), 6},
          {"sea between waves, under the gloss", {20.5, 93.5},
           over(whiteA(0.12), varnished(vert(80, 152, 93.5, 0x3F8FB8, 0x1B5A80), 93.5)), 6},
          {"hull", {100.5, 85.5}, varnished(hx(0x5A3A22), 85.5), 6}}},
        {"portrait", art::Painting{ostrevan::PaintStyle::portrait}, {0, 0, 200, 160}, 0,
         {{"frame", {4.5, 80.5}, verticalAt(0, 160, 80.5, {hx(0x6A4A2C, 0.25), hx(0x6A4A2C, -0.25)})},
          {"background", {12.5, 12.5}, varnished(vert(8, 152, 12.5, 0x6E7F6A, 0x3E4A3C), 12.5), 5},
          {"face", {100.5, 80.5}, varnished(hx(0xE9C9A6), 80.5), 6},
          {"shoulders", {100.5, 140.5}, varnished(hx(0x2C2733), 140.5), 6}}},
        {"forest", art::Painting{ostrevan::PaintStyle::forest}, {0, 0, 200, 160}, 0,
         {{"frame", {4.5, 80.5}, verticalAt(0, 160, 80.5, {hx(0x3A2A1C, 0.25), hx(0x3A2A1C, -0.25)})},
          {"sky", {12.5, 12.5}, varnished(vert(8, 152, 12.5, 0xF4C46A, 0xFBE7B0), 12.5), 5},
          {"second tree", {50.5, 145.5}, varnished(hx(0x7A8F2B, -0.25 * unitHash(scatterSeed(1), 8)), 145.5), 6}}},
        {"abstract", art::Painting{ostrevan::PaintStyle::abstract}, {0, 0, 200, 160}, 0,
         {{"frame", {4.5, 80.5}, verticalAt(0, 160, 80.5, {hx(0x1F1F24, 0.25), hx(0x1F1F24, -0.25)})}}},
        // Band min(0.16 h, 18) in the tone; red pins 7 in and 8 down whatever the tone.
        {"tall poster", art::Poster{"", Tone::green}, {0, 0, 100, 200}, 0,
         {{"band", {50.5, 9.5}, toneColour(Tone::green)},
          {"band's lower edge", {50.5, 16.5}, toneColour(Tone::green)},
          {"paper", {50.5, 150.5}, vert(0, 200, 150.5, 0xFBF8F0, 0xEAE4D4)},
          {"left pin", {7.5, 8.5},
           radialAt({5.95, 6.6}, 5.95, {7.5, 8.5}, {whiteA(1), hx(0xDE3F3F), hx(0xDE3F3F, -0.5)}), 6},
          {"right pin", {93.5, 8.5},
           radialAt({91.95, 6.6}, 5.95, {93.5, 8.5}, {whiteA(1), hx(0xDE3F3F), hx(0xDE3F3F, -0.5)}), 6}}},
        {"short poster", art::Poster{"", Tone::blue}, {0, 0, 100, 80}, 0,
         {{"band", {50.5, 9.5}, toneColour(Tone::blue)},
          {"paper under a band of 12.8", {50.5, 16.5}, vert(0, 80, 16.5, 0xFBF8F0, 0xEAE4D4)}}},
        // Tilted 2 degrees counter-clockwise about (80, 80): its top right corner rises to y 17.9.
        {"note", art::Note{""}, {20, 20, 120, 120}, 0,
         {{"paper", {80.5, 100.5}, vert(20, 140, 100.5, 0xFFEF9A, 0xF3D860)},
          {"tape", {80.5, 22.5}, over(whiteA(0.55), vert(20, 140, 22.5, 0xFFEF9A, 0xF3D860)), 5},
          {"paper lifted above the rect's top", {135.5, 19.5}, vert(20, 140, 21.5, 0xFFEF9A, 0xF3D860), 6}}},
    };
    runTable(table);
}

TEST(WallArtProbes, LetteringIsDrawnWhereItsRulesPutIt) {
    // Plaque lines 1.2 sizes apart round the middle: size 19.93, so 11.96 above and below.
    const QImage plaque = paintArt(art::Plaque{"1\n2"}, Rect{20, 20, 160, 60});
    expectColour(darkestNear(plaque, {100, 38}, 6), hx(0x3E2C08), 24, "first plaque line");
    expectColour(darkestNear(plaque, {100, 62}, 6), hx(0x3E2C08), 24, "second plaque line");
    EXPECT_GT(brightness(darkestNear(plaque, {100, 50}, 1)), 120) << "nothing between the lines";

    const QImage digit = paintArt(art::Digit{"8", Tone::red}, Rect{0, 0, 100, 100});
    expectColour(brightestNear(digit, {50, 50}, 20), hx(0xFFFFFF), 6, "white label");

    const QImage poster = paintArt(art::Poster{"8", Tone::green}, Rect{0, 0, 100, 200});
    expectColour(darkestNear(poster, {50, 108}, 12), hx(0x2C2824), 20, "poster text");

    const QImage sum = paintArt(art::Mixes{{{Tone::red, Tone::blue}}}, Rect{0, 0, 240, 120});
    for (int x : {72, 131, 193})  // "+", "=" and "?" at 0.29, 0.55 and 0.82 of the width
        expectColour(darkestNear(sum, {x, 60}, 6), hx(0x333333), 30, "sign at " + std::to_string(x));

    const QImage abstract = paintArt(art::Painting{ostrevan::PaintStyle::abstract}, Rect{0, 0, 200, 160});
    EXPECT_LT(brightness(abstract.pixel(100, 112)), 80) << "the dark bar at 0.7 down";
    EXPECT_TRUE(matchesReference("wall/plaque in two lines", plaque));
    EXPECT_TRUE(matchesReference("wall/digit tile with its label", digit));
    EXPECT_TRUE(matchesReference("wall/poster with its text", poster));
}

TEST(WallArtProbes, FixturesWindowMirrorClockAndTelevision) {
    // Window: pane (10, 10, 180, 140); sun haze about (136, 49.2) of radius 90.
    const Colour daySky = vert(10, 150, 65.5, 0x6FB6F0, 0xD9EEFB);
    const auto hazeAt = [](QPointF p) { return radialAt({136, 49.2}, 90, p, {hx(0xFFF6C8, 0, 0.8), hx(0xFFF6C8, 0, 0)}); };
    const Colour haze = hazeAt({65.5, 44.5});
    const Colour cloud = over(whiteA(0.16), over(whiteA(0.85), over(haze, daySky)));
    // Mirror: glass (7, 7, 86, 126), its gradient along the diagonal.
    const auto glassAt = [](QPointF p) {
        const double t = ((p.x() - 7) * 86 + (p.y() - 7) * 126) / (86.0 * 86 + 126.0 * 126);
        return rampColour({hx(0xDCEBF6), hx(0xA9C0D4), hx(0xE9F3FA)}, t);
    };
    // Television: screen (7, 7, 166, 116); scanlines on rows 7, 10, ... 61, 64 ...
    const Colour onScreen = vert(7, 123, 62.5, 0x0B2B22, 0x04120E);
    const Colour sheen = radialAt({90, 65}, 116.2, {160.5, 62.5}, {whiteA(0.35), whiteA(0)});
    const std::vector<ArtCase> table = {
        {"day window", art::Window{false}, {0, 0, 200, 160}, 0,
         {{"frame", {5.5, 80.5}, vert(0, 160, 80.5, 0xF5F2EA, 0xCFC9BB)},
          {"sky", {20.5, 20.5}, vert(10, 150, 20.5, 0x6FB6F0, 0xD9EEFB)},
          {"cloud under the reflection", {65.5, 44.5}, cloud, 5},
          {"hill", {30.5, 145.5}, hx(0x5AA34B)},
          {"glazing bar", {100.5, 30.5}, hx(0xE9E4D8)},
          {"sill", {100.5, 163.5}, vert(158, 166, 163.5, 0xFFFFFF, 0xCFC9BB), 5},
          {"sill's overhang, 5 past the frame", {203.5, 163.5}, vert(158, 166, 163.5, 0xFFFFFF, 0xCFC9BB), 5},
          {"shade line beside the bar", {103.5, 30.5},
           over(blackA(0.18), over(whiteA(0.16), over(hazeAt({103.5, 30.5}), vert(10, 150, 30.5, 0x6FB6F0, 0xD9EEFB))))},
          {"sky in the sun haze", {136.5, 90.5}, over(hazeAt({136.5, 90.5}), vert(10, 150, 90.5, 0x6FB6F0, 0xD9EEFB))},
          {"sky just above the hill", {122.5, 127.5},
           over(hazeAt({122.5, 127.5}), vert(10, 150, 127.5, 0x6FB6F0, 0xD9EEFB))},
          // Moved by (3, 6) and blurred by 5: half a unit inside the shadow's right edge.
          {"wall shadow", {202.5, 80.5}, blackA(0.4 * 0.5 * std::erfc(-0.5 / (5 * std::sqrt(2.0)))), 3}}},
        {"night window", art::Window{true}, {0, 0, 200, 160}, 0,
         {{"ground", {30.5, 145.5}, hx(0x070B1C)},
          {"moon, 22 across at 75 % and 28 %", {145.5, 49.5}, hx(0xFFF6D6)},
          {"glazing bar", {100.5, 30.5}, hx(0xE9E4D8)}}},
        {"mirror", art::Mirror{std::nullopt}, {0, 0, 100, 140}, 0,
         {{"frame", {3.5, 70.5}, vert(0, 140, 70.5, 0xD8DCE4, 0x7C828E)},
          {"wall shadow", {102.5, 70.5}, blackA(0.4 * 0.5 * std::erfc(-0.5 / (5 * std::sqrt(2.0)))), 3},
          // The glass edge, 1.5 wide on x 7, covers three quarters of this pixel.
          {"glass edge", {6.5, 70.5}, over(blackA(0.3 * 0.75), vert(0, 140, 70.5, 0xD8DCE4, 0x7C828E)), 6},
          {"glass", {85.5, 20.5}, glassAt({85.5, 20.5})},
          {"upright band", {70.5, 60.5}, over(blackA(0.06), glassAt({70.5, 60.5}))},
          {"bottom band", {85.5, 130.5}, over(blackA(0.07), glassAt({85.5, 130.5}))},
          {"bright streak", {38.5, 40.5}, over(whiteA(0.35), glassAt({38.5, 40.5}))},
          {"glass below the streak", {30.5, 90.5}, glassAt({30.5, 90.5})}}},
        // Face 200: dial (14, 14, 172, 172), minute hand 68.8 long, hour hand 46.4.
        {"quarter past twelve", art::Clock{0, 15}, {0, 0, 200, 200}, 0,
         {{"minute hand at three", {150.5, 100.5}, hx(0x1F1A10), 8},
          {"centre cap, 8 across", {100.5, 100.5},
           radialAt({98.8, 98.4}, 6.8, {100.5, 100.5}, {hx(0xFFE9A8), hx(0xC9A24A), hx(0x6B4E14)}), 6},
          {"no hand at nine, under the gloss", {60.5, 100.5},
           over(whiteA(0.13), radialAt({100, 96}, 103.2, {60.5, 100.5}, {hx(0xFFFDF5), hx(0xE9E2D0)}))},
          {"brass rim", {100.5, 4.5}, radialAt({70, 60}, 170, {100.5, 4.5}, {hx(0xFFE9A8), hx(0xC9A24A), hx(0x6B4E14)}), 5}}},
        {"quarter to one", art::Clock{0, 45}, {0, 0, 200, 200}, 0,
         {{"no hand at three", {150.5, 100.5}, radialAt({100, 96}, 103.2, {150.5, 100.5}, {hx(0xFFFDF5), hx(0xE9E2D0)})},
          {"long tick at three, 67 to 81 out", {174.5, 100.5}, hx(0x2A2418), 8},
          {"dial outside the tick", {183.5, 100.5}, radialAt({100, 96}, 103.2, {183.5, 100.5}, {hx(0xFFFDF5), hx(0xE9E2D0)}), 6},
          {"minute hand at nine, under the gloss", {60.5, 100.5}, over(whiteA(0.13), hx(0x1F1A10)), 8}}},
        {"half past three", art::Clock{3, 30}, {0, 0, 200, 200}, 0,
         {{"hour hand at 105 degrees", {128.5, 107.5}, hx(0x1F1A10), 8},
          {"minute hand at six", {100.5, 140.5}, hx(0x1F1A10), 8}}},
        {"set on", art::Tv{"HI", true}, {0, 0, 180, 130}, 0,
         {{"cabinet", {3.5, 65.5}, vert(0, 130, 65.5, 0x303036, 0x0E0E11)},
          {"screen", {160.5, 62.5}, onScreen},
          {"scanline", {160.5, 61.5}, over(blackA(0.18), vert(7, 123, 61.5, 0x0B2B22, 0x04120E))},
          {"screen under the gloss", {20.5, 62.5}, over(whiteA(0.14), vert(7, 123, 62.5, 0x0B2B22, 0x04120E))},
          {"green light", {169.5, 125.5}, hx(0x4FE08A), 6}}},
        {"set off", art::Tv{"HI", false}, {0, 0, 180, 130}, 0,
         {{"screen", {160.5, 62.5}, vert(7, 123, 62.5, 0x1B1D22, 0x0A0B0D)},
          {"no scanline", {160.5, 61.5}, vert(7, 123, 61.5, 0x1B1D22, 0x0A0B0D)},
          {"red light", {169.5, 125.5}, hx(0xE5474B), 6}}},
        {"colour loop, first tone", art::TvFlash{{Tone::red, Tone::green}}, {0, 0, 180, 130}, 0.5,
         {{"screen", {160.5, 62.5}, over(sheen, toneColour(Tone::red))}, {"green light", {169.5, 125.5}, hx(0x4FE08A), 6}}},
        {"colour loop, second tone", art::TvFlash{{Tone::red, Tone::green}}, {0, 0, 180, 130}, 1.3,
         {{"screen", {160.5, 62.5}, over(sheen, toneColour(Tone::green))}}},
        {"colour loop, wait", art::TvFlash{{Tone::red, Tone::green}}, {0, 0, 180, 130}, 1.0,
         {{"screen", {160.5, 62.5}, hx(0x07080B)}}},
    };
    runTable(table);
}

TEST(WallArtProbes, TextOnGlassAndScreens) {
    // Mirror writing: an L's upright stands on the right of the glyph, its foot points left.
    const QImage mirror = paintArt(art::Mirror{"L"}, Rect{0, 0, 100, 140});
    int left = 0, right = 0;
    for (int y = 50; y <= 66; ++y) {
        for (int x = 30; x < 50; ++x) left += brightness(mirror.pixel(x, y)) < 120;
        for (int x = 50; x < 70; ++x) right += brightness(mirror.pixel(x, y)) < 120;
    }
    EXPECT_GT(right, 40);
    EXPECT_EQ(left, 0);

    // The arrows of room 31's mirror (glass 146 by 116) stand at the fitted size, 1.3 x 146 / 5,
    // as tall as the same text drawn at that size, and stay on the glass.
    const QString arrows = QString::fromUtf8("\u2191\u2193\u2193\u2191\u2191");
    const auto inkBox = [](const QImage& image, const QRect& within, const std::function<bool(QRgb)>& isInk) {
        QRect box;
        for (int y = within.top(); y <= within.bottom(); ++y)
            for (int x = within.left(); x <= within.right(); ++x)
                if (isInk(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect glass(29, 29, 142, 112);  // inside the glass's dark edge
    const QRect onGlass = inkBox(paintArt(art::Mirror{arrows.toStdString()}, Rect{20, 20, 160, 130}), glass,
                                 [](QRgb p) { return brightness(p) < 110; });
    const QRect alone = inkBox(paintImage(240, 240, [&](Canvas& c) {
        c.drawText(arrows, {100, 85}, Font{1.3 * 146 / 5, FontWeight::heavy, FontDesign::rounded}, black());
    }), QRect(0, 0, 240, 240), [](QRgb p) { return qAlpha(p) > 110; });
    EXPECT_NEAR(onGlass.height(), alone.height(), 2);
    EXPECT_TRUE(glass.adjusted(2, 2, -2, -2).contains(onGlass)) << "no arrow cut by the frame";

    // The text of a set that is on shows pale over its glow; off, no text at all.
    const QImage on = paintArt(art::Tv{"HI", true}, Rect{0, 0, 180, 130});
    const QImage off = paintArt(art::Tv{"HI", false}, Rect{0, 0, 180, 130});
    expectColour(brightestNear(on, {90, 65}, 30), hx(0xB6FFDD), 12, "screen text");
    EXPECT_LT(brightness(brightestNear(off, {90, 65}, 30)), 60);
    // The wait screen says WATCH in faint green.
    const QImage wait = paintArt(art::TvFlash{{Tone::red}}, Rect{0, 0, 180, 130}, 2.0);
    EXPECT_GT(qGreen(brightestNear(wait, {90, 65}, 12)), 70);
    EXPECT_LT(qGreen(wait.pixel(160, 62)), 20);
    EXPECT_TRUE(matchesReference("wall/mirror writing", mirror));
    EXPECT_TRUE(matchesReference("wall/colour loop, watch", wait));
    EXPECT_TRUE(matchesReference("wall/set on with static", paintArt(art::Tv{std::nullopt, true}, Rect{0, 0, 180, 130}, 0.0)));
    // Static noise changes twelve times a second.
    EXPECT_NE(paintArt(art::Tv{std::nullopt, true}, Rect{0, 0, 180, 130}, 0.0),
              paintArt(art::Tv{std::nullopt, true}, Rect{0, 0, 180, 130}, 0.1));
}

TEST(WallArtProbes, DevicesPanelsBoxesAndFittings) {
    // Panel housing 200 x 150: face F = (18, 12, 164, 126).
    const auto face = [](double y) { return vert(12, 138, y, 0x23262B, 0x15171A); };
    const auto button = [](double cx, double cy, double d, QPointF at, Tone t) {
        return ballAt(cx - d / 2, cy - d / 2, d, at, {toneColour(t, 0.5), toneColour(t), toneColour(t, -0.35)});
    };
    const auto dial = [](double cx, double cy, QPointF at) {
        const double d = 0.8 * 164.0 / 3;
        return ballAt(cx - d / 2, cy - d / 2, d, at, {hx(0xF2F4F8), hx(0x9CA2AC), hx(0x4A4F58)});
    };
    const std::vector<Tone> seven = {Tone::red,  Tone::orange, Tone::yellow, Tone::green,
                                     Tone::blue, Tone::purple, Tone::pink};
    const Rect vent{20, 20, 130, 100};  // duct (28, 28, 114, 84), slats 12 apart
    const Rect box{20, 20, 110, 140};   // recess (35.4, 45.2, 79.2, 89.6)
    const auto fuse = [](std::uint32_t c, double y) { return verticalAt(56.2, 123.8, y, {hx(c, 0.1), hx(c, -0.3)}); };
    const Rect lampsBar{0, 0, 200, 60};  // lamps 37.2 across at x 50 and 150
    const Rect plate{20, 20, 50, 80};
    const Rect cups{0, 0, 300, 100};  // cups 86 across at x 50, 150, 250; holes 51.6, orbs 53.6
    const auto cup = [](double x, QPointF at) { return ballAt(x, 7, 86, at, {hx(0xE8ECF2), hx(0x8E949E), hx(0x4C515A)}); };
    const auto orbGlow = [](double a, QPointF at) {
        return radialAt({150, 50}, 73.1, at, {toneColour(Tone::blue, 0, a), toneColour(Tone::blue, 0, 0)});
    };
    const Rect gear{0, 0, 120, 120};  // recess radius 43.2, gear 39.74, teeth every 36 degrees
    const QPointF tooth(95.5, 62.5);  // 4 degrees round, 35.6 out: the first tooth at phase 0
    const QPointF gap(93.5, 73.5);    // 22 degrees round: the gap after it
    const std::vector<ArtCase> table = {
        {"panel buttons, seven in rows of four and three", art::Panel{face::Buttons{seven}}, {0, 0, 200, 150}, 0,
         {{"housing", {9.5, 75.5}, vert(0, 150, 75.5, 0xC3C8D0, 0x7E848E)},
          {"housing's rim", {1.5, 75.5}, over(whiteA(0.5), vert(0, 150, 75.5, 0xC3C8D0, 0x7E848E))},
          {"cut corner, only shadow", {1.5, 1.5}, blackA(0.02), 6},
          {"fifth button starts the second row", {35.5, 100.5}, button(38.5, 106.5, 28.7, {35.5, 100.5}, Tone::blue)},
          {"seventh button", {115.5, 100.5}, button(120.5, 106.5, 28.7, {115.5, 100.5}, Tone::pink)},
          {"no eighth button", {161.5, 106.5}, face(106.5)}}},
        {"panel buttons, five in one row", art::Panel{face::Buttons{std::vector<Tone>(5, Tone::green)}},
         {0, 0, 200, 150}, 0,
         {{"fifth button", {162.5, 72.5}, button(165.6, 75, 22.96, {162.5, 72.5}, Tone::green)}}},
        {"panel switches", art::Panel{face::Switches{4}}, {0, 0, 200, 150}, 0,
         {{"first lever up", {30.5, 50.5}, vert(36.68, 75, 50.5, 0xE8ECF2, 0x8A909C)},
          {"second slot empty above", {71.5, 50.5}, hx(0x0B0C0E)},
          {"second lever down", {71.5, 100.5}, vert(75, 113.32, 100.5, 0xE8ECF2, 0x8A909C)},
          {"third lever up", {120.5, 50.5}, vert(36.68, 75, 50.5, 0xE8ECF2, 0x8A909C)}}},
        // One of a kind fills the face's width: lever and slot across the middle.
        {"panel, one switch", art::Panel{face::Switches{1}}, {0, 0, 200, 150}, 0,
         {{"lever up", {100.5, 50.5}, vert(36.68, 75, 50.5, 0xE8ECF2, 0x8A909C)}}},
        {"panel, one dial", art::Panel{face::Dials{1}}, {0, 0, 200, 150}, 0, {}},
        {"panel, one letter", art::Panel{face::Letters{1}}, {0, 0, 200, 150}, 0, {}},
        {"panel, one button", art::Panel{face::Buttons{{Tone::red}}}, {0, 0, 200, 150}, 0, {}},
        {"panel dials", art::Panel{face::Dials{3}}, {0, 0, 200, 150}, 0,
         {{"first pointer up", {45.5, 66.5}, hx(0x20242A), 8},
          {"first dial beside it", {55.5, 75.5}, dial(45.33, 75, {55.5, 75.5})},
          {"second pointer at 1.7 rad", {108.5, 75.5}, hx(0x20242A), 10},
          {"third dial not up", {154.5, 66.5}, dial(154.67, 75, {154.5, 66.5})}}},
        {"panel letters", art::Panel{face::Letters{2}}, {0, 0, 200, 150}, 0,
         {{"first tile", {24.5, 45.5}, hx(0xEFE9D8)}, {"between tiles", {100.5, 45.5}, face(45.5)}}},
        {"panel screen", art::Panel{face::Screen{"OK"}}, {0, 0, 200, 150}, 0,
         {{"screen", {26.5, 20.5}, hx(0x06241A)}}},
        {"card reader at rest", art::Panel{face::Screen{}}, {0, 0, 200, 150}, 0,
         {{"lamp at 0.6", {99.5, 25.5}, over(hx(0xE5474B, 0, 0.6), hx(0x15171A)), 5},
          {"card slot", {100.5, 75.5}, hx(0x040405)},
          {"reader", {26.5, 40.5}, hx(0x15171A)}}},
        {"card reader at its brightest", art::Panel{face::Screen{}}, {0, 0, 200, 150}, M_PI / 6,
         {{"lamp at 1", {99.5, 25.5}, hx(0xE5474B), 5}}},
        // Display (24, 18, 152, 20.16), keys 46.67 x 17.96 from (26, 46.16), 50.67 and 21.96 apart.
        {"panel keypad", art::Panel{face::Keypad{}}, {0, 0, 200, 150}, 0,
         {{"display", {30.5, 22.5}, hx(0x06241A)},
          {"first key", {28.5, 55.5}, vert(46.16, 64.12, 55.5, 0x6C727C, 0x3A3E45)},
          {"gap between keys", {74.5, 55.5}, face(55.5)},
          {"blank bottom-left key", {49.5, 121.5}, vert(112.04, 130, 121.5, 0x6C727C, 0x3A3E45)}}},
        {"fuse box, none", art::FuseBox{0}, box, 0,
         {{"box", {25.5, 100.5}, vert(20, 160, 100.5, 0x8D939C, 0x555A63)},
          {"recess", {38.5, 100.5}, hx(0x1A1C20)},
          {"box right of the recess", {120.5, 100.5}, vert(20, 160, 100.5, 0x8D939C, 0x555A63)},
          {"left slot", {57.5, 90.5}, hx(0x050607)},
          {"right slot", {93.5, 90.5}, hx(0x050607)},
          {"warning triangle", {75.5, 152.5}, hx(0xF5C82E)}}},
        {"fuse box, one", art::FuseBox{1}, box, 0,
         {{"red fuse", {57.5, 90.5}, fuse(0xDE3F3F, 90.5)}, {"right slot", {93.5, 90.5}, hx(0x050607)}}},
        {"fuse box, two", art::FuseBox{2}, box, 0,
         {{"red fuse", {57.5, 90.5}, fuse(0xDE3F3F, 90.5)}, {"blue fuse", {93.5, 90.5}, fuse(0x3B78DE, 90.5)}}},
        {"vent shut", art::Vent{false}, vent, 0,
         {{"frame", {26.5, 40.5}, vert(20, 120, 40.5, 0xB5BAC2, 0x7A808A)},
          {"first slat", {60.5, 34.5}, vert(30, 38, 34.5, 0xCDD2D9, 0x8A9099)},
          {"duct between slats under the glint", {83.5, 100.5},
           over(radialAt({85, 100}, 16, {83.5, 100.5}, {hx(0xFFE08A, 0, 0.5), hx(0xFFE08A, 0, 0)}), hx(0x070809)), 5}}},
        {"vent open", art::Vent{true}, vent, 0,
         {{"cover sliver", {26.5, 40.5}, hx(0x9AA0A8)},
          {"dark duct", {60.5, 34.5}, hx(0x070809)},
          {"key", {83.5, 101.5}, hx(0xE6BE55)}}},
        // Board (0, 53, 300, 14) with brackets under both ends hanging the same way round.
        {"shelf", art::Shelf{}, {0, 0, 300, 120}, 0,
         {{"board", {150.5, 60.5}, vert(53, 67, 60.5, 0xA67C4F, 0x6B4A2A)},
          {"left bracket", {16.5, 69.5}, hx(0x3C2A18)},
          {"right bracket", {288.5, 69.5}, hx(0x3C2A18)}}},
        {"lamps", art::Lamps{{true, false}}, lampsBar, 0,
         {{"lit lamp", {45.5, 25.5},
           ballAt(31.4, 11.4, 37.2, {45.5, 25.5}, {hx(0xFFF2B8), hx(0xFFC845), hx(0xD18A12)}), 5},
          {"dark lamp", {145.5, 25.5},
           ballAt(131.4, 11.4, 37.2, {145.5, 25.5}, {hx(0x6A5D44), hx(0x3A3226), hx(0x1A150E)}), 5},
          {"bar in the lit lamp's glow", {100.5, 30.5},
           over(radialAt({50, 30}, 63.24, {100.5, 30.5}, {hx(0xFFD36A, 0, 0.6), hx(0xFFD36A, 0, 0)}),
                vert(0, 60, 30.5, 0x3C3C44, 0x18181C)),
           5}}},
        {"switch on", art::SwitchPlate{true}, plate, 0,
         {{"plate below the rocker", {45.5, 75.5}, vert(20, 100, 75.5, 0xF5F3EE, 0xD4D0C6)},
          {"rocker up in its glow", {45.5, 40.5},
           over(radialAt({45, 44}, 26, {45.5, 40.5}, {hx(0xFFE9A0, 0, 0.45), hx(0xFFE9A0, 0, 0)}),
                vert(29.6, 60, 40.5, 0xFFFFFF, 0xD9D5CA)),
           5}}},
        {"switch off", art::SwitchPlate{false}, plate, 0,
         {{"rocker down", {45.5, 75.5}, vert(60, 90.4, 75.5, 0xCFCBC0, 0xA9A599)},
          {"plate above it, no glow", {45.5, 40.5}, vert(20, 100, 40.5, 0xF5F3EE, 0xD4D0C6)}}},
        {"sockets at rest", art::Sockets{{std::nullopt, Tone::blue, std::nullopt}}, cups, 0,
         {{"empty hole", {50.5, 50.5}, hx(0x0E0F12)},
          {"empty cup", {50.5, 12.5}, cup(7, {50.5, 12.5}), 5},
          {"orb", {150.5, 50.5},
           ballAt(123.2, 23.2, 53.6, {150.5, 50.5},
                  {toneColour(Tone::blue, 0.6), toneColour(Tone::blue), toneColour(Tone::blue, -0.35)}),
           5},
          {"cup in the orb's glow at 0.55", {150.5, 12.5}, over(orbGlow(0.55, {150.5, 12.5}), cup(107, {150.5, 12.5})), 5},
          {"last hole", {250.5, 50.5}, hx(0x0E0F12)}}},
        {"sockets at the glow's peak", art::Sockets{{std::nullopt, Tone::blue, std::nullopt}}, cups, M_PI / 5,
         {{"cup in the orb's glow at 0.65", {150.5, 12.5}, over(orbGlow(0.65, {150.5, 12.5}), cup(107, {150.5, 12.5})), 5}}},
        {"gear slot filled", art::GearSlot{true}, gear, 0,
         {{"plate", {8.5, 60.5}, vert(0, 120, 60.5, 0x6F747C, 0x3E4249)},
          {"brass tooth", tooth, hx(0xD9A93A)},
          {"recess between teeth", gap, hx(0x16181B)},
          {"hub", {60.5, 60.5}, over(blackA(0.45), hx(0xD9A93A))}}},
        {"gear slot empty", art::GearSlot{false}, gear, 0,
         {{"dark tooth", tooth, hx(0x2A2D33)}, {"recess between teeth", gap, hx(0x16181B)}}},
        // 0.8 rad a second: after (pi / 10) / 0.8 s the gear has turned 18 degrees, half a tooth pitch.
        {"gear slot turned", art::GearSlot{true}, gear, M_PI / 10 / 0.8,
         {{"recess where the tooth was", tooth, hx(0x16181B)}, {"tooth where the gap was", gap, hx(0xD9A93A)}}},
        {"glow backing", art::Glow{"8"}, {0, 0, 160, 100}, 0, {{"backing", {10.5, 90.5}, blackA(0.28), 3}}},
        {"stamp card", art::Stamp{"OK"}, {0, 0, 120, 80}, 0,
         {{"card", {8.5, 40.5}, vert(0, 80, 40.5, 0xFBF7EA, 0xE9E1CB)},
          {"card where the print would be", {10.5, 12.5}, vert(0, 80, 12.5, 0xFBF7EA, 0xE9E1CB)}}},
        {"arrows", art::Arrows{"XX"}, {0, 0, 200, 60}, 0, {{"no plate", {2.5, 2.5}, Colour{0, 0, 0, 0}, 0}}},
    };
    runTable(table);
}

TEST(WallArtProbes, DeviceMarkingsAndPulses) {
    const Rect panelRect{0, 0, 200, 150};
    const QImage letters = paintArt(art::Panel{face::Letters{2}}, panelRect);
    expectColour(darkestNear(letters, {59, 75}, 10), hx(0x2A2418), 30, "question mark on a tile");
    const QImage screen = paintArt(art::Panel{face::Screen{"OK"}}, panelRect);
    expectColour(brightestNear(screen, {100, 75}, 20), hx(0x4FFFA8), 12, "screen text");
    const QImage keypad = paintArt(art::Panel{face::Keypad{}}, panelRect);
    EXPECT_GT(brightness(brightestNear(keypad, {100, 121}, 5)), 200) << "0 on the bottom middle key";
    EXPECT_GT(brightness(brightestNear(keypad, {100, 28}, 6)), 100) << "placeholder on the display";

    const QImage stamp = paintArt(art::Stamp{"OK"}, Rect{0, 0, 120, 80});
    expectColour(darkestNear(stamp, {60, 40}, 16), hx(0x5A3C8A), 16, "stamp word");
    const QImage print = paintArt(art::Stamp{}, Rect{0, 0, 120, 80});
    EXPECT_LT(brightness(print.pixel(10, 12)), brightness(stamp.pixel(10, 12)) - 20) << "first dot of print";
    EXPECT_GT(brightness(print.pixel(60, 40)), 200) << "no word without a text";

    const QImage arrows = paintArt(art::Arrows{"XX"}, Rect{0, 0, 200, 60});
    expectColour(darkestNear(arrows, {100, 30}, 20), hx(0x222222), 12, "arrows text");

    // Items stand in 36-unit squares from x 20, (300 - 40) / n apart.
    const auto coverage = [](const QImage& image, int x0, int y0) {
        int covered = 0;  // above the reach of the board's shadow
        for (int y = y0; y < y0 + 24; ++y)
            for (int x = x0; x < x0 + 30; ++x) covered += qAlpha(image.pixel(x, y)) > 128;
        return covered;
    };
    const Rect shelfRect{0, 0, 300, 120};
    const QImage one = paintArt(art::Shelf{{ostrevan::ItemKind::key}}, shelfRect);
    const QImage two = paintArt(art::Shelf{{ostrevan::ItemKind::key, ostrevan::ItemKind::key}}, shelfRect);
    EXPECT_GT(coverage(one, 23, 20), 60);
    EXPECT_EQ(coverage(one, 153, 20), 0);
    EXPECT_GT(coverage(two, 153, 20), 60);
    EXPECT_TRUE(matchesReference("wall/shelf with two keys", two));

    // The glow: a pale core over its halos; only the outer halo pulses.
    const Rect glowRect{0, 0, 160, 100};
    const QImage dim = paintArt(art::Glow{"8"}, glowRect, 0);
    const QImage bright = paintArt(art::Glow{"8"}, glowRect, M_PI / 4.4);
    expectColour(brightestNear(dim, {80, 50}, 30), hx(0xE8FFF1), 8, "glow core");
    EXPECT_NE(dim, bright);
    int brighter = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 160; ++x) brighter += qAlpha(bright.pixel(x, y)) > qAlpha(dim.pixel(x, y)) + 4;
    EXPECT_GT(brighter, 200);
    EXPECT_TRUE(matchesReference("wall/stamp print", print));
    EXPECT_TRUE(matchesReference("wall/glow at its brightest", bright));
}

}  // namespace
}  // namespace tallowmere
