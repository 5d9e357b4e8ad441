// The floor art: which cases it answers for, that no room data can crash it, and pixel probes on
// the looks that a state or a tone switches.
#include <Tallowmere/Draw.hpp>
#include <Tallowmere/FloorArt.hpp>
#include <Tallowmere/FloorArtParts.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <climits>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "PaintProbe.hpp"

namespace tallowmere {
namespace {

using namespace tallowmere::testing;

namespace art = ostrevan::art;
using ostrevan::Art;
using ostrevan::Tone;

constexpr int kImageW = 400;
constexpr int kImageH = 300;
// Room for what reaches outside the prop: lids, swung doors, glows, antennas.
constexpr Rect kProp{120, 110, 160, 120};

QImage paintArt(const Art& art, const Rect& rect = kProp, double time = 0) {
    QImage image(kImageW, kImageH, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawFloorArt(Canvas(painter), art, rect, time);
    painter.end();
    return image;
}

// Equal up to the anti-aliasing noise of two renderings that should match.
bool looksAlike(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 2 || std::abs(qGreen(p) - qGreen(q)) > 2 ||
                std::abs(qBlue(p) - qBlue(q)) > 2 || std::abs(qAlpha(p) - qAlpha(q)) > 2) {
                return false;
            }
        }
    }
    return true;
}

QColor at(const QImage& image, double x, double y) {
    return image.pixelColor(int(x), int(y));
}

template <std::size_t... I>
std::vector<Art> everyDefaultCase(std::index_sequence<I...>) {
    return {Art(std::in_place_index<I>)...};
}

// ## Dispatch

TEST(FloorArtDispatch, AnswersForExactlyTheFloorCasesAndDrawsThem) {
    const std::vector<Art> cases = everyDefaultCase(std::make_index_sequence<ostrevan::kArtCaseCount>());
    int floorCases = 0;
    for (const Art& art : cases) {
        QImage image(kImageW, kImageH, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        const bool drew = drawFloorArt(Canvas(painter), art, kProp, 0);
        painter.end();
        const bool isFloor = !ostrevan::isWallPiece(art) && !std::holds_alternative<art::None>(art);
        EXPECT_EQ(drew, isFloor) << "case " << art.index();
        // Only dice without values have nothing to show.
        const bool expectsPicture = isFloor && !std::holds_alternative<art::Dice>(art);
        EXPECT_EQ(!isBlank(image), expectsPicture) << "case " << art.index();
        floorCases += isFloor;
    }
    EXPECT_EQ(floorCases, 25);
}

TEST(FloorArtDispatch, KnownSymbolsAreExactAndCaseSensitive) {
    EXPECT_TRUE(floorart::isKnownSymbol("circle"));
    EXPECT_TRUE(floorart::isKnownSymbol("drop"));
    EXPECT_FALSE(floorart::isKnownSymbol("Circle"));
    EXPECT_FALSE(floorart::isKnownSymbol("ring"));
    EXPECT_FALSE(floorart::isKnownSymbol(""));
}

TEST(FloorArtDispatch, DegenerateRoomDataDrawsWithoutCrashing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Art> payloads = {
        art::Dice{{0, 7, -3, INT_MIN, INT_MAX}}, art::Dice{std::vector<int>(60, 6)},
        art::Rug{" ", Tone::red}, art::Rug{"star Star", Tone::blue},
        art::Rug{std::string(60, 'W'), Tone::pink}, art::Radio{true, ""}, art::Radio{true, std::string(30, '8')},
        art::Chest{true, Tone::brown}, art::Cabinet{true}, art::Safe{true}, art::Fridge{true}, art::Barrel{true},
        art::FishTank{true}, art::Fountain{true}, art::Ice{true}, art::Trapdoor{true}, art::FloorLamp{true},
        art::Item{ostrevan::ItemKind::remote, Tone::cyan}, art::Ball{Tone::black}, art::Piano{}, art::Plant{},
    };
    const Rect empties[] = {{0, 0, 0, 0}, {50, 50, 0, 40}, {50, 50, 40, -10}, {50, 50, nan, 20}};
    const Rect odd[] = {{50, 50, 1, 1}, {50, 50, 3, 200}, {-300, -300, 1000, 900}};
    for (const Art& art : payloads) {
        // Nothing at all for a rect with no area.
        for (const Rect& empty : empties) EXPECT_TRUE(isBlank(paintArt(art, empty))) << "case " << art.index();
        for (const Rect& rect : odd) {
            for (double time : {-5.0, 19999.9, nan}) paintArt(art, rect, time);
        }
        EXPECT_FALSE(isBlank(paintArt(art, odd[1]))) << "case " << art.index();
    }
}

// ## Shadows

TEST(FloorArtShadow, StandingPiecesShareTheContactShadowFlatOnesGoWithout) {
    const double footY = kProp.maxY() + 4;
    const double belowY = kProp.maxY() + 10;
    const QImage pedestal = paintArt(art::Pedestal{});
    const QImage ball = paintArt(art::Ball{Tone::red});
    const QImage trapdoor = paintArt(art::Trapdoor{false});
    const QImage item = paintArt(art::Item{ostrevan::ItemKind::coin, std::nullopt});

    EXPECT_GT(at(pedestal, kProp.midX(), footY).alpha(), 40);
    EXPECT_EQ(at(trapdoor, kProp.midX(), footY).alpha(), 0);
    // The ball's second shadow sits on the shared one.
    EXPECT_GT(at(ball, kProp.midX(), footY).alpha(), at(pedestal, kProp.midX(), footY).alpha() + 20);
    // The loose item's own shadow is tighter than the shared one.
    EXPECT_GT(at(item, kProp.midX(), footY).alpha(), 0);
    EXPECT_GT(at(pedestal, kProp.midX(), belowY).alpha(), at(item, kProp.midX(), belowY).alpha() + 10);
}

// ## States and tones

TEST(FloorArtLooks, OpeningOrSwitchingOnShowsWhatWasNotThere) {
    const Rect& r = kProp;
    struct Case {
        Art before;
        Art after;
        QPointF probe;
    };
    const Case cases[] = {
        {art::Safe{false}, art::Safe{true}, {r.x - 12, r.midY()}},                  // swung door
        {art::Cabinet{false}, art::Cabinet{true}, {r.x - 7, r.midY()}},             // swung doors
        {art::Fridge{false}, art::Fridge{true}, {r.maxX() + 9, r.midY()}},          // swung door
        {art::Chest{false, Tone::red}, art::Chest{true, Tone::red}, {r.midX(), r.y + 0.05 * r.h}},  // raised lid
        {art::Trapdoor{false}, art::Trapdoor{true}, {r.midX(), r.y - 0.3 * r.h}},   // raised lid
        {art::FloorLamp{false}, art::FloorLamp{true}, {r.midX(), r.y - 0.2 * r.h}}, // glow
        {art::Ice{false}, art::Ice{true}, {r.x + 0.05 * r.w, r.y + 0.2 * r.h}},      // cold glow
    };
    for (const Case& c : cases) {
        EXPECT_EQ(at(paintArt(c.before), c.probe.x(), c.probe.y()).alpha(), 0) << "case " << c.before.index();
        EXPECT_GT(at(paintArt(c.after), c.probe.x(), c.probe.y()).alpha(), 5) << "case " << c.after.index();
    }
}

TEST(FloorArtLooks, StateFlagsSwitchColours) {
    const Rect& r = kProp;
    const QColor fullMouth = at(paintArt(art::Bucket{true}), r.midX(), r.y + 0.15 * r.h);
    const QColor emptyMouth = at(paintArt(art::Bucket{false}), r.midX(), r.y + 0.15 * r.h);
    EXPECT_GT(fullMouth.blue(), fullMouth.red() + 80);
    EXPECT_LT(emptyMouth.blue(), 70);

    // The display's corner, clear of its text.
    const Rect body{r.x, r.y + 0.12 * r.h, r.w, 0.76 * r.h};
    const QPointF corner(body.x + 0.54 * body.w + 3, body.y + 0.14 * body.h + 3);
    const QColor on = at(paintArt(art::Radio{true, "719"}), corner.x(), corner.y());
    const QColor off = at(paintArt(art::Radio{false, "719"}), corner.x(), corner.y());
    EXPECT_GT(on.green(), on.red() + 20);
    EXPECT_LT(std::abs(off.green() - off.red()), 6);
    EXPECT_FALSE(looksAlike(paintArt(art::Radio{true, "719"}), paintArt(art::Radio{true, std::nullopt})));
    // An empty text is a text: no "--".
    EXPECT_FALSE(looksAlike(paintArt(art::Radio{true, ""}), paintArt(art::Radio{true, std::nullopt})));
    EXPECT_TRUE(looksAlike(paintArt(art::Radio{false, "719"}), paintArt(art::Radio{false, std::nullopt})));

    // The pool's left edge, outside the rings and the light.
    const Rect pool = insetBy(Rect{r.x, r.y + 0.36 * r.h, r.w, 0.34 * r.h}, 10, 5);
    const QColor water = at(paintArt(art::Fountain{true}), pool.x + 3, pool.midY());
    const QColor dry = at(paintArt(art::Fountain{false}), pool.x + 3, pool.midY());
    EXPECT_GT(water.blue(), water.red() + 80);
    EXPECT_LT(dry.blue(), 90);
}

TEST(FloorArtLooks, TonesReachThePicture) {
    const Rect& r = kProp;
    const QColor red = at(paintArt(art::Vase{Tone::red}), r.midX(), r.y + 0.6 * r.h);
    const QColor blue = at(paintArt(art::Vase{Tone::blue}), r.midX(), r.y + 0.6 * r.h);
    EXPECT_GT(red.red(), red.blue() + 60);
    EXPECT_GT(blue.blue(), blue.red() + 60);

    // A brown chest gets dark iron straps; any other tone colours them.
    const QPointF strap(r.x + 15, r.y + 0.7 * r.h);
    const QColor iron = at(paintArt(art::Chest{false, Tone::brown}), strap.x(), strap.y());
    const QColor redStrap = at(paintArt(art::Chest{false, Tone::red}), strap.x(), strap.y());
    EXPECT_LT(iron.red(), 70);
    EXPECT_LT(std::abs(iron.red() - iron.blue()), 10);
    EXPECT_GT(redStrap.red(), redStrap.green() + 60);

    // The plant ignores its tone.
    EXPECT_TRUE(looksAlike(paintArt(art::Plant{Tone::red}), paintArt(art::Plant{Tone::blue})));

    // Piano strips run red, orange, yellow, green, cyan, blue, purple: key 4 cyan, key 5 blue.
    const Rect keybed{r.x + 0.06 * r.w, r.y + 0.34 * r.h, 0.88 * r.w, 0.5 * r.h};
    const double pitch = keybed.w / 14;
    const QImage piano = paintArt(art::Piano{});
    const QColor key4 = at(piano, keybed.x + 4.5 * pitch, keybed.maxY() - 4);
    const QColor key5 = at(piano, keybed.x + 5.5 * pitch, keybed.maxY() - 4);
    const QColor key11 = at(piano, keybed.x + 11.5 * pitch, keybed.maxY() - 4);
    EXPECT_GT(key4.green(), 150);
    EXPECT_LT(key4.red(), 110);
    EXPECT_GT(key5.blue(), key5.green() + 60);
    EXPECT_EQ(key11.rgb(), key4.rgb());
}

// ## Labels and dice

TEST(FloorArtRug, LabelIsPicturesDiamondsOrText) {
    const Rect field = insetBy(kProp, 0.07 * kProp.w, 0.17 * kProp.h);
    auto rug = [](const char* label) { return paintArt(art::Rug{label, Tone::purple}); };

    EXPECT_TRUE(looksAlike(rug("  star   sun  "), rug("star sun")));
    // One word that is not a picture turns the whole label into text; the test is case-sensitive.
    EXPECT_FALSE(looksAlike(rug("Star moon"), rug("star moon")));
    // A single picture sits in the middle; two leave the middle bare.
    EXPECT_GT(at(rug("star"), field.midX(), field.midY()).red(), 200);
    EXPECT_LT(at(rug("star moon"), field.midX(), field.midY()).red(), 160);
    // An empty label shows the diamonds; one blank is a text that shows nothing.
    EXPECT_FALSE(looksAlike(rug(""), rug(" ")));
    EXPECT_TRUE(looksAlike(rug(" "), rug("   ")));
}

TEST(FloorArtDice, PipsFollowTheValues) {
    // One die: size min(0.86w, h) = h, centred, standing on the bottom edge.
    const double s = kProp.h;
    const double left = kProp.x + (kProp.w - s) / 2;
    const double top = kProp.maxY() - s;
    const QColor one = at(paintArt(art::Dice{{1}}), left + 0.5 * s, top + 0.5 * s);
    EXPECT_GT(one.red(), 170);
    EXPECT_LT(one.green(), 90);
    const QImage six = paintArt(art::Dice{{6}});
    EXPECT_LT(at(six, left + 0.3 * s, top + 0.5 * s).red(), 60);
    EXPECT_GT(at(six, left + 0.5 * s, top + 0.5 * s).red(), 200);
    // Values off the die show a blank face.
    EXPECT_TRUE(looksAlike(paintArt(art::Dice{{0}}), paintArt(art::Dice{{7}})));
    EXPECT_GT(at(paintArt(art::Dice{{0}}), left + 0.3 * s, top + 0.5 * s).red(), 200);
}

// ## Motion

TEST(FloorArtMotion, OnlyTheTankAndTheWetFountainMove) {
    EXPECT_TRUE(looksAlike(paintArt(art::Globe{}, kProp, 0), paintArt(art::Globe{}, kProp, 5)));
    EXPECT_TRUE(looksAlike(paintArt(art::Fountain{false}, kProp, 0), paintArt(art::Fountain{false}, kProp, 1)));
    EXPECT_FALSE(looksAlike(paintArt(art::Fountain{true}, kProp, 0), paintArt(art::Fountain{true}, kProp, 1)));
    EXPECT_TRUE(looksAlike(paintArt(art::Fountain{true}, kProp, 0), paintArt(art::Fountain{true}, kProp, M_PI)));

    // The fish swims between x + 0.3w and x + 0.65w at a fixed height.
    const double fishMidY = kProp.y + 0.32 * 0.84 * kProp.h + 5.5;
    for (const auto& [time, fraction] : {std::pair{M_PI / 1.6, 0.65}, std::pair{3 * M_PI / 1.6, 0.3}}) {
        const QImage tank = paintArt(art::FishTank{false}, kProp, time);
        const QColor fish = at(tank, kProp.x + fraction * kProp.w + 11, fishMidY);
        EXPECT_GT(fish.red(), 200) << time;
        EXPECT_LT(fish.blue(), 120) << time;
        const QColor water = at(tank, kProp.x + (0.95 - fraction) * kProp.w + 11, fishMidY);
        EXPECT_LT(water.red(), 200) << time;
    }
}

}  // namespace
}  // namespace tallowmere
