// The wall art: dispatch over every case, the shared frame and text fitting, and pixel probes of
// the looks that room state switches.
#include <Tallowmere/Draw.hpp>
#include <Tallowmere/WallArt.hpp>
#include <Tallowmere/WallArtParts.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>
#include <variant>
#include <vector>

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
}

// ## Looks switched by room state

TEST(WallArtLooks, FlagsAndCountsSwitchThePicture) {
    // Switch plate: the rocker sits low when off.
    const Rect plate{20, 20, 50, 80};
    EXPECT_GT(qRed(paintArt(art::SwitchPlate{true}, plate).pixel(45, 80)),
              qRed(paintArt(art::SwitchPlate{false}, plate).pixel(45, 80)) + 20);

    // Vent: the slats cover the duct until it is opened.
    const Rect vent{20, 20, 130, 100};
    EXPECT_GT(brightness(paintArt(art::Vent{false}, vent).pixel(85, 45)), 150);
    EXPECT_LT(brightness(paintArt(art::Vent{true}, vent).pixel(85, 45)), 30);

    // Fuse box: a red fuse from one, a blue one beside it from two.
    const Rect box{20, 20, 110, 140};
    const QPoint left(57, 90);
    const QPoint right(93, 90);
    const QImage none = paintArt(art::FuseBox{0}, box);
    const QImage one = paintArt(art::FuseBox{1}, box);
    const QImage two = paintArt(art::FuseBox{2}, box);
    EXPECT_LT(brightness(none.pixel(left)), 20);
    EXPECT_LT(brightness(one.pixel(right)), 20);
    EXPECT_GT(qRed(one.pixel(left)), 150);
    EXPECT_GT(qBlue(two.pixel(right)), 150);
    EXPECT_LT(qRed(two.pixel(right)), 100);

    // Gear slot: a brass gear when filled, a dark ghost when not.
    const QRgb brass = paintArt(art::GearSlot{true}, Rect{0, 0, 120, 120}).pixel(85, 60);
    EXPECT_GT(qRed(brass), 180);
    EXPECT_LT(qBlue(brass), 100);
    EXPECT_LT(brightness(paintArt(art::GearSlot{false}, Rect{0, 0, 120, 120}).pixel(85, 60)), 60);

    // Lamps: lit bulbs glow, unlit ones stay dark.
    const QImage lamps = paintArt(art::Lamps{{true, false}}, Rect{0, 0, 200, 60});
    EXPECT_GT(brightness(lamps.pixel(50, 30)), brightness(lamps.pixel(150, 30)) + 100);

    // Sockets: an empty cup shows its dark hole, a set orb its tone.
    const QImage sockets = paintArt(art::Sockets{{std::nullopt, Tone::blue}}, Rect{0, 0, 200, 100});
    EXPECT_LT(brightness(sockets.pixel(50, 50)), 30);
    EXPECT_GT(qBlue(sockets.pixel(150, 50)), qRed(sockets.pixel(150, 50)) + 80);
}

TEST(WallArtLooks, TonesReachTheirPictures) {
    const QImage stripes = paintArt(art::Stripes{{Tone::red, Tone::blue}}, Rect{0, 0, 120, 80});
    EXPECT_GT(qRed(stripes.pixel(38, 40)), qBlue(stripes.pixel(38, 40)) + 80);
    EXPECT_GT(qBlue(stripes.pixel(82, 40)), qRed(stripes.pixel(82, 40)) + 80);

    // The poster's band takes the tone; its pins stay red.
    const QImage poster = paintArt(art::Poster{"", Tone::green}, Rect{0, 0, 100, 200});
    EXPECT_GT(qGreen(poster.pixel(50, 9)), qRed(poster.pixel(50, 9)) + 60);
    EXPECT_GT(qRed(poster.pixel(7, 8)), qGreen(poster.pixel(7, 8)) + 60);

    // Seven books stand 3, 3 and 1 on the shelves; nine stand 3, 3 and 3.
    const std::vector<Tone> seven(7, Tone::yellow);
    const std::vector<Tone> nine(9, Tone::yellow);
    const Rect bookcase{0, 0, 170, 220};
    EXPECT_LT(brightness(paintArt(art::Bookshelf{seven}, bookcase).pixel(38, 195)), 50);
    EXPECT_GT(brightness(paintArt(art::Bookshelf{nine}, bookcase).pixel(38, 195)), 120);

    // The two gilt-framed paintings differ only inside the frame: the ocean's low waves are cut
    // off at the canvas edge.
    const Rect low{0, 0, 150, 40};
    const QImage ocean = paintArt(art::Painting{ostrevan::PaintStyle::ocean}, low);
    const QImage sunrise = paintArt(art::Painting{ostrevan::PaintStyle::sunrise}, low);
    for (int x = 10; x < 140; x += 10) EXPECT_EQ(ocean.pixel(x, 35), sunrise.pixel(x, 35)) << x;
}

TEST(WallArtLooks, ClockHandsFollowTheStoredTime) {
    const Rect face{0, 0, 200, 200};
    const QImage six = paintArt(art::Clock{6, 0}, face);
    const QImage three = paintArt(art::Clock{3, 0}, face);
    EXPECT_LT(brightness(six.pixel(100, 135)), 80);     // hour hand straight down
    EXPECT_GT(brightness(six.pixel(135, 100)), 200);
    EXPECT_LT(brightness(three.pixel(135, 100)), 80);   // hour hand to the right
    EXPECT_GT(brightness(three.pixel(100, 135)), 200);
    EXPECT_EQ(paintArt(art::Clock{15, 0}, face), three);
    EXPECT_EQ(paintArt(art::Clock{12, 0}, face), paintArt(art::Clock{0, 0}, face));
}

TEST(WallArtLooks, TelevisionPlaysItsColourLoopAndShowsItsPower) {
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

    // The power light: green while on and for every colour loop, red while off.
    const QPoint light(170, 125);
    EXPECT_GT(qGreen(paintArt(art::Tv{"HI", true}, set).pixel(light)), 150);
    EXPECT_GT(qRed(paintArt(art::Tv{"HI", false}, set).pixel(light)), 150);
    EXPECT_LT(qGreen(paintArt(art::Tv{"HI", false}, set).pixel(light)), 120);
    EXPECT_GT(qGreen(paintArt(art::TvFlash{}, set).pixel(light)), 150);
}

}  // namespace
}  // namespace tallowmere
