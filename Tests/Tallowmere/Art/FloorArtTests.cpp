// The floor art: which cases it answers for, that no room data can crash it, and a table of pixel
// probes over every prop in every state, with the colours worked out from the props' layouts.
#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/FloorArt.hpp>
#include <Tallowmere/Art/FloorArtParts.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <typeinfo>
#include <utility>
#include <variant>
#include <vector>

#include <cxxabi.h>

#include "Art/ReferencePictures.hpp"
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
// The opaque floor the probed props stand on.
constexpr std::uint32_t kGroundHex = 0x707070;
const Rgba kGround = hex(kGroundHex);
const QColor kGroundColour = QColor::fromRgb(kGroundHex);

QImage paintArt(const Art& art, const Rect& rect = kProp, double time = 0, QColor background = Qt::transparent) {
    QImage image(kImageW, kImageH, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    drawFloorArt(Canvas(painter), art, rect, time);
    painter.end();
    return image;
}

// Equal up to the anti-aliasing noise of two renderings that should match.
bool looksAlike(const QImage& a, const QImage& b) {
    return largestDifference(a, b) <= 2;
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
        if (!isFloor) {
            EXPECT_TRUE(isBlank(image)) << "case " << art.index();
        }
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

// ## Probe table

// The scatter hash the plant's leaves are laid out with, worked out here on its own.
double scatter(std::uint64_t seed, std::uint64_t channel) {
    std::uint64_t v = seed ^ (channel * 19349663u);
    v *= 0x9E3779B97F4A7C15u;
    v ^= v >> 29;
    v *= 0xBF58476D1CE4E5B9u;
    v ^= v >> 32;
    return double(v % 10000) / 10000;
}

struct FloorProbe {
    std::string what;  // kind, state and what is probed
    Art art;
    double time;
    QPointF at;        // stage units, the same as the image's pixels
    Shading want;
    int tolerance = 6;
    double within = 0;   // > 0: some pixel within this many pixels of `at` has the colour
    bool absent = false; // no such pixel (or not this colour at `at`)
};

// Every floor prop in its states, probed at points and with colours taken from the prop's own
// layout: fractions of the prop rect, stage-unit sizes, hex colours, shades and gradient ends.
std::vector<FloorProbe> floorProbes() {
    const Rect r = kProp;  // x 120, y 110, w 160, h 120
    auto at = [&](double fx, double fy) { return QPointF(r.x + fx * r.w, r.y + fy * r.h); };
    const Shading ground = flat(kGround);
    const std::uint32_t red = 0xDE3F3F, blue = 0x3B78DE, purple = 0x8652D4, green = 0x35A558;
    std::vector<FloorProbe> rows;
    auto add = [&](std::string what, const Art& art, QPointF p, Shading want, int tolerance = 6, double time = 0) {
        rows.push_back({std::move(what), art, time, p, std::move(want), tolerance});
    };
    auto somewhere = [&](std::string what, const Art& art, QPointF p, double within, const Rgba& colour,
                         bool absent, int tolerance) {
        rows.push_back({std::move(what), art, 0, p, flat(colour), tolerance, within, absent});
    };

    // Vase: four-stop body across the rect, highlight, dark mouth over the top edge.
    {
        const Shading body = horizontalShading(r.x, r.y, r.w, r.h, {hex(red, -0.35), hex(red, 0.1), hex(red, 0.3), hex(red, -0.3)});
        const Art vase = art::Vase{Tone::red};
        add("vase body, left", vase, at(0.2, 0.66), body);
        add("vase body, right", vase, at(0.75, 0.7), body);
        add("vase body, lower left", vase, at(0.24, 0.88), body);
        add("vase highlight", vase, at(0.315, 0.73), over(whiteAt(0.35), body));
        add("vase mouth", vase, at(0.5, 0), flat(hex(0x1A1410)));
        add("vase, beside the neck", vase, at(0.3, 0.2), ground);
        add("vase, left of the mouth", vase, at(0.25, 0.02), ground);
        add("blue vase body", art::Vase{Tone::blue}, at(0.75, 0.7),
            horizontalShading(r.x, r.y, r.w, r.h, {hex(blue, -0.35), hex(blue, 0.1), hex(blue, 0.3), hex(blue, -0.3)}));
    }
    // Sofa in its tone.
    {
        const Art sofa = art::Sofa{Tone::blue};
        const Shading seat = verticalShading(r.x + 0.1 * r.w, r.y + 0.48 * r.h, 0.8 * r.w, 0.34 * r.h, {hex(blue, 0.26), hex(blue, -0.12)});
        const Shading back = verticalShading(r.x + 0.06 * r.w, r.y, 0.88 * r.w, 0.62 * r.h, {hex(blue, 0.1), hex(blue, -0.22)});
        add("sofa back", sofa, at(0.1, 0.18), back);
        add("sofa back above the cushions", sofa, at(0.5, 0.04), back);
        add("sofa back between arm and cushion", sofa, at(0.13, 0.45), back);
        add("sofa left cushion", sofa, at(0.32, 0.29),
            verticalShading(r.x + 0.14 * r.w, r.y + 0.08 * r.h, 0.36 * r.w, 0.42 * r.h, {hex(blue, 0.22), hex(blue, -0.05)}));
        add("sofa right cushion", sofa, at(0.7, 0.2),
            verticalShading(r.x + 0.52 * r.w, r.y + 0.08 * r.h, 0.36 * r.w, 0.42 * r.h, {hex(blue, 0.22), hex(blue, -0.05)}));
        add("sofa left arm", sofa, at(0.06, 0.45),
            horizontalShading(r.x, r.y + 0.24 * r.h, 0.12 * r.w, 0.66 * r.h, {hex(blue, 0.18), hex(blue, -0.3)}));
        add("sofa right arm", sofa, at(0.92, 0.45),
            horizontalShading(r.x + 0.88 * r.w, r.y + 0.24 * r.h, 0.12 * r.w, 0.66 * r.h, {hex(blue, 0.18), hex(blue, -0.3)}));
        add("sofa seat", sofa, at(0.3, 0.65), seat);
        // The 1.5-wide seam is centred on a pixel edge: it covers three quarters of each pixel beside it.
        add("sofa seat seam", sofa, at(0.5, 0.65), over(blackAt(0.22 * 0.75), seat));
        add("sofa left foot", sofa, at(0.1, 0.93) + QPointF(4.5, 0), flat(rgb255(43, 29, 18)));
        add("sofa right foot", sofa, at(0.86, 0.93) + QPointF(4.5, 0), flat(rgb255(43, 29, 18)));
    }
    // Table: legs, top with its highlight and the shadow under it.
    {
        const Art table = art::Table{};
        const Shading top = verticalShading(r.x, r.y, r.w, 0.2 * r.h, {hex(0xB68858), hex(0x7C5834)});
        add("table left leg", table, QPointF(r.x + 0.07 * r.w + 5, at(0, 0.6).y()),
            horizontalShading(r.x + 0.07 * r.w, r.y + 0.2 * r.h - 4, 10, 0.82 * r.h, {hex(0x7A5636), hex(0x4A3320)}));
        add("table right leg", table, QPointF(r.x + 0.93 * r.w - 5, at(0, 0.6).y()),
            horizontalShading(r.x + 0.93 * r.w - 10, r.y + 0.2 * r.h - 4, 10, 0.82 * r.h, {hex(0x7A5636), hex(0x4A3320)}));
        add("table top", table, at(0.5, 0.1), top);
        add("table top highlight", table, at(0.3, 0) + QPointF(0, 2), over(whiteAt(0.35), top));
        add("table shadow under the top", table, at(0.3, 0.2) - QPointF(0, 1.5), over(blackAt(0.3), top));
        add("table, between the legs", table, at(0.5, 0.6), ground);
    }
    // Chest: closed with dome, lock and straps; open with a lit inside and a raised lid.
    {
        const std::vector<Rgba> redStrap = {hex(red, -0.05), hex(red, -0.35)};
        const Shading body = verticalShading(r.x, r.y + 0.42 * r.h, r.w, 0.58 * r.h, {hex(0x9A6B3F), hex(0x5C3C20)});
        const double rim = r.y + 0.42 * r.h;
        const Shading glow = radialShading({r.midX(), rim + 4}, 0.45 * r.w, {hex(0xFFE3A0, 0, 0.5), hex(0xFFE3A0, 0, 0)});
        const Art shut = art::Chest{false, Tone::red};
        const Art open = art::Chest{true, Tone::red};
        add("shut chest body", shut, at(0.5, 0.64), body);
        add("shut chest left strap", shut, {r.x + 15, at(0, 0.7).y()}, horizontalShading(r.x + 8, rim, 14, 0.58 * r.h, redStrap));
        add("shut chest right strap", shut, {r.maxX() - 15, at(0, 0.7).y()},
            horizontalShading(r.maxX() - 22, rim, 14, 0.58 * r.h, redStrap));
        add("shut chest dome", shut, at(0.5, 0.3),
            linearShading({r.midX(), r.y + 0.1 * r.h}, {r.midX(), r.y + 0.44 * r.h}, {hex(0xAA7A4A), hex(0x6A4426)}));
        add("shut chest left strap over the dome", shut, {r.x + 15, at(0, 0.4).y()}, horizontalShading(r.x + 8, r.y - 12, 14, r.h + 14, redStrap));
        add("shut chest right strap over the dome", shut, {r.maxX() - 15, at(0, 0.4).y()},
            horizontalShading(r.maxX() - 22, r.y - 12, 14, r.h + 14, redStrap));
        add("shut chest, above the dome", shut, at(0.5, 0.12), ground);
        add("shut chest lock plate", shut, {r.midX() + 5, rim + 12}, flat(hex(0xD9B04A)));
        add("shut chest keyhole", shut, {r.midX(), rim + 5.5}, flat(hex(0x4A3508)));
        add("open chest inside", open, {r.x + 30, rim + 2}, over(glow, flat(hex(0x120C07))));
        add("open chest lid", open, at(0.5, 0.12),
            verticalShading(r.x + 0.04 * r.w, r.y, 0.92 * r.w, 0.3 * r.h, {hex(0x7A5232), hex(0x4A2F18)}));
        add("open chest left lid strap", open, {r.x + 0.04 * r.w + 18, at(0, 0.15).y()},
            horizontalShading(r.x + 0.04 * r.w + 12, r.y, 12, 0.3 * r.h, redStrap));
        add("open chest right lid strap", open, {r.x + 0.96 * r.w - 18, at(0, 0.15).y()},
            horizontalShading(r.x + 0.96 * r.w - 24, r.y, 12, 0.3 * r.h, redStrap));
        add("open chest, no lock plate", open, {r.midX() + 5, rim + 12}, over(glow, body));
        add("brown chest iron strap", art::Chest{false, Tone::brown}, {r.x + 15, at(0, 0.7).y()},
            horizontalShading(r.x + 8, rim, 14, 0.58 * r.h, {hex(0x3A3A40), hex(0x1A1A1E)}));
    }
    // Cabinet: two doors with panels and knobs, or the lit inside with a shelf and swung doors.
    {
        const Rect in{r.x + 9, r.y + 0.03 * r.h + 14, r.w - 18, 0.95 * r.h - 28};
        const double doorW = in.w / 2 - 1;
        const Shading carcass = verticalShading(r.x, r.y + 0.03 * r.h, r.w, 0.95 * r.h, {hex(0x9C6F42), hex(0x5C3C20)});
        const Shading glow = radialShading({in.midX(), in.midY()}, 0.7 * in.w, {hex(0xFFE3A0, 0, 0.3), hex(0xFFE3A0, 0, 0)});
        const std::vector<Rgba> knob = {hex(0xFFEFB0), hex(0xD9B04A), hex(0x7A5C14)};
        const Art shut = art::Cabinet{false};
        const Art open = art::Cabinet{true};
        for (const Art& cabinet : {shut, open}) {
            add("cabinet side", cabinet, {r.x + 4, at(0, 0.5).y()}, carcass);
            add("cabinet left foot", cabinet, {r.x + 12, r.maxY() - 4}, flat(rgb255(43, 29, 18)));
            add("cabinet right foot", cabinet, {r.maxX() - 12, r.maxY() - 4}, flat(rgb255(43, 29, 18)));
        }
        add("shut cabinet top board", shut, {r.midX(), r.y + 0.03 * r.h}, flat(hex(0xB68858)));
        add("open cabinet top board under the glow", open, {r.midX(), r.y + 0.03 * r.h}, over(glow, flat(hex(0xB68858))));
        add("shut cabinet left door", shut, {in.x + 12, in.midY()}, verticalShading(in.x, in.y, doorW, in.h, {hex(0xAD7E4E), hex(0x77502C)}));
        add("shut cabinet right door", shut, {in.maxX() - 12, in.midY()},
            verticalShading(in.midX() + 1, in.y, doorW, in.h, {hex(0xAD7E4E), hex(0x77502C)}));
        add("shut cabinet gap between the doors", shut, {in.midX(), at(0, 0.6).y()}, carcass);
        add("shut cabinet left knob", shut, {in.x + doorW - 8, in.midY()}, radialShading({in.x + doorW - 12 + 2.8, in.midY() - 4 + 2.4}, 6.8, knob), 10);
        add("shut cabinet right knob", shut, {in.midX() + 1 + 8, in.midY()},
            radialShading({in.midX() + 1 + 4 + 2.8, in.midY() - 4 + 2.4}, 6.8, knob), 10);
        add("shut cabinet, left of the carcass", shut, {r.x - 3, in.midY()}, ground);
        add("shut cabinet, right of the carcass", shut, {r.maxX() + 3, in.midY()}, ground);
        add("open cabinet inside", open, {in.x + 20, in.y + 20}, over(glow, flat(hex(0x140D08))));
        add("open cabinet shelf", open, {in.x + 20, in.midY() + 2.5}, over(glow, flat(hex(0x8A5E36))));
        add("open cabinet left door", open, {r.x - 3, in.midY()}, flat(hex(0x7A5232)));
        add("open cabinet right door", open, {r.maxX() + 3, in.midY()}, flat(hex(0x7A5232)));
    }
    // Safe: door with dial, handle and key slot, or the lit inside and the door swung left.
    {
        const Rect door{r.x + 10, r.y + 10, r.w - 20, 0.96 * r.h - 20};
        const double d = 0.4 * door.w;
        const QPointF dial(door.x + 0.38 * door.w, door.midY());
        const Shading glow = radialShading({r.midX(), r.y + 0.48 * r.h}, 0.6 * door.w, {hex(0xFFE3A0, 0, 0.35), hex(0xFFE3A0, 0, 0)});
        const Art shut = art::Safe{false};
        const Art open = art::Safe{true};
        for (const Art& safe : {shut, open}) {
            add("safe body", safe, {r.x + 5, r.y + 0.9 * r.h}, verticalShading(r.x, r.y, r.w, 0.96 * r.h, {hex(0x6D737C), hex(0x30343A)}));
            add("safe left foot", safe, {r.x + 17, r.maxY() - 3}, flat(rgb255(26, 28, 32)));
            add("safe right foot", safe, {r.maxX() - 17, r.maxY() - 3}, flat(rgb255(26, 28, 32)));
        }
        add("shut safe door", shut, {240, 200}, verticalShading(door.x, door.y, door.w, door.h, {hex(0x8E949E), hex(0x4C515A)}));
        add("shut safe dial", shut, dial,
            radialShading(dial - QPointF(d / 2, d / 2) + QPointF(0.35 * d, 0.3 * d), 0.85 * d, {hex(0xF4F6FA), hex(0xB9BEC6), hex(0x4A4F58)}), 8);
        add("shut safe handle", shut, {r.maxX() - 29, r.y + 0.48 * r.h}, flat(hex(0xD9DDE3)));
        add("shut safe key slot", shut, {r.maxX() - 29, r.y + 28}, flat(hex(0x2A2D32)));
        add("shut safe, left of the body", shut, {door.x - 15, door.midY()}, ground);
        add("open safe inside", open, {240, 200}, over(glow, flat(hex(0x0F1012))));
        add("open safe, no dial", open, dial, over(glow, flat(hex(0x0F1012))));
        add("open safe swung door", open, {door.x - 15, door.midY()}, flat(hex(0x8E949E)));
    }
    // Fridge: shut with seam, handles, gloss and plate; open with lit inside, shelves and door.
    {
        const Rect b{r.x + 4, r.y, r.w - 8, r.h};
        const Rect in{b.x + 8, b.y + 10, b.w - 16, b.h - 20};
        const Shading body = verticalShading(b.x, b.y, b.w, b.h, {hex(0xF4F6F8), hex(0xC7CCD3)});
        const Shading light = radialShading({in.midX(), in.midY()}, in.w, {hex(0xFFFFFF, 0, 0.9), hex(0xBFE1FF, 0, 0.4)});
        const Art shut = art::Fridge{false};
        const Art open = art::Fridge{true};
        add("shut fridge body", shut, {150, 140}, body);
        add("shut fridge freezer seam", shut, {240, b.y + 0.36 * b.h + 1}, over(blackAt(0.22), body));
        add("shut fridge upper handle", shut, {b.maxX() - 17.5, 150}, horizontalShading(b.maxX() - 20, b.y + 22, 5, 52, {hex(0xB8BEC8), hex(0x6E7480)}));
        add("shut fridge lower handle", shut, {b.maxX() - 17.5, 200},
            horizontalShading(b.maxX() - 20, b.y + 0.42 * b.h, 5, 72, {hex(0xB8BEC8), hex(0x6E7480)}));
        add("shut fridge gloss", shut, {b.x + 0.3 * b.w, b.y + 0.4 * b.h}, over(whiteAt(0.4), body));
        add("shut fridge name plate", shut, {b.x + 29, b.y + 22}, flat(hex(0xDDE2E8)));
        add("shut fridge, right of the body", shut, {b.maxX() + 14, 170}, ground);
        add("open fridge inside", open, {150, 140}, over(light, flat(hex(0xEAF4FF))), 8);
        add("open fridge first shelf", open, {150, in.y + in.h / 4 + 1}, flat(rgb255(156, 176, 194)));
        add("open fridge, below the last shelf", open, {150, in.maxY() + 1.5}, over(light, body), 8);
        add("open fridge door", open, {b.maxX() + 14, 170}, flat(hex(0xD9DEE4)));
        add("open fridge, above the door's far corner", open, {b.maxX() + 22, b.y}, over(light, ground), 8);
    }
    // Barrel: staves, hoops, lid; the tap only when it has one.
    {
        const Rect b{r.x + 0.05 * r.w, r.y + 0.08 * r.h, 0.9 * r.w, 0.92 * r.h};
        const Shading body = horizontalShading(b.x, b.y, b.w, b.h, {hex(0x6B4526), hex(0xB07E4A), hex(0x8A5C32), hex(0x4E3018)});
        const Art tapped = art::Barrel{true};
        const Art plain = art::Barrel{false};
        add("barrel body, left", plain, {b.x + 0.25 * b.w, b.midY()}, body);
        add("barrel body, right", plain, {b.x + 0.75 * b.w, b.midY()}, body);
        add("barrel stave joint", plain, {b.x + b.w / 6 + 0.5, b.midY()}, over(blackAt(0.25), body));
        add("barrel upper hoop", plain, {190, b.y + 0.18 * b.h},
            verticalShading(b.x - 2, b.y + 0.18 * b.h - 4, b.w + 4, 8, {hex(0x6A7078), hex(0x2C2F33)}));
        add("barrel lower hoop", plain, {190, b.y + 0.78 * b.h},
            verticalShading(b.x - 2, b.y + 0.78 * b.h - 4, b.w + 4, 8, {hex(0x6A7078), hex(0x2C2F33)}));
        add("barrel lid", plain, {r.midX(), r.y + 1.5}, flat(hex(0x8A5C32)));
        add("barrel lid rim, right of the recess", plain, {b.maxX() - 5.5, r.y + 8}, flat(hex(0x8A5C32)), 8);
        add("barrel lid recess", plain, {r.midX(), r.y + 8}, flat(hex(0x5A3C20)));
        add("barrel without a tap", plain, {b.maxX() + 11, b.midY() + 24}, ground);
        add("barrel tap spout", tapped, {b.maxX() + 7, b.midY() + 12}, flat(hex(0xC9A24A)));
        add("barrel tap nozzle", tapped, {b.maxX() + 11, b.midY() + 24}, flat(hex(0xA67F2C)));
        add("barrel tap handle", tapped, {b.maxX() + 4, b.midY() + 3}, flat(hex(0xE5474B)));
    }
    // Bucket: the pail's gradient spans the whole rect; the mouth is water only when full.
    {
        const Shading pail = horizontalShading(r.x, r.y, r.w, r.h, {hex(0xB7BDC6), hex(0x6E7580)});
        for (const Art& bucket : {Art(art::Bucket{true}), Art(art::Bucket{false})}) {
            add("bucket pail, left", bucket, at(0.3, 0.6), pail);
            add("bucket pail, right", bucket, at(0.7, 0.6), pail);
            add("bucket handle top", bucket, {r.midX(), r.y + 0.15 * r.h - 0.42 * r.w}, flat(hex(0x4A4F58)), 8);
            add("bucket, beside the pail", bucket, at(0.1, 0.5), ground);
        }
        add("full bucket mouth", art::Bucket{true}, at(0.5, 0.15), flat(hex(0x4AA8E0)));
        add("empty bucket mouth", art::Bucket{false}, at(0.5, 0.15), flat(hex(0x2A2D33)));
    }
    // Rug: field, fringe, and a label of pictures, dim diamonds or text.
    {
        const Rect r1 = insetBy(r, 0.07 * r.w, 0.17 * r.h);
        const Shading rug = linearShading({r.midX(), r.y}, {r.midX(), r.maxY()}, {hex(purple, 0.05), hex(purple, -0.18)});
        const Shading field = over(blackAt(0.1), rug);
        const Rgba cream = hex(0xF6E9C8);
        const Art diamonds = art::Rug{"", Tone::purple};
        add("rug, outside the border", diamonds, {r.midX(), r.y + 0.9 * r.h}, rug);
        add("rug field between diamonds", diamonds, {r1.x + r1.w / 5, r1.midY() - 15}, field);
        add("rug first diamond", diamonds, {r1.x + r1.w * 0.5 / 5, r1.midY()}, over(hex(0xF2E4C2, 0, 0.45), field));
        add("rug middle diamond", diamonds, {r1.midX(), r1.midY()}, over(hex(0xF2E4C2, 0, 0.45), field));
        add("rug second fringe strand", diamonds, {r.x + 4 + (r.w - 8) / 20 + 1, r.maxY() - 1}, over(hex(0xF2E4C2, 0, 0.6), rug));
        add("rug, right of the border's far corner", diamonds, {r1.maxX() - 0.06 * r1.w + 5, r1.y}, rug);
        // The 2-wide border line reaches 1 below the field: six tenths of the pixel row under it.
        add("rug border, front edge", diamonds, {r.midX(), r1.maxY() + 0.5}, over(hex(0xF2E4C2, 0, 0.8 * 0.6), rug), 8);
        add("rug, between two strands", diamonds, {r.x + 8.5, r.maxY() - 1}, rug);
        add("rug star", art::Rug{"star", Tone::purple}, {r1.midX(), r1.midY()}, flat(cream));
        const double pair = std::min(0.35 * r1.w, 0.8 * r1.h);
        const Art starMoon = art::Rug{"star moon", Tone::purple};
        add("rug star of two", starMoon, {r1.x + r1.w / 4, r1.midY()}, flat(cream));
        add("rug moon's crescent", starMoon, {r1.x + 0.75 * r1.w - 0.35 * pair, r1.midY()}, flat(cream));
        add("rug moon's cut-away", starMoon, {r1.x + 0.75 * r1.w, r1.midY()}, field);
        add("rug between star and moon", starMoon, {r1.midX(), r1.midY()}, field);
        add("rug one blank is an empty text", art::Rug{" ", Tone::purple}, {r1.midX(), r1.midY()}, field);
        somewhere("rug text label", art::Rug{"719", Tone::purple}, {r1.midX(), r1.midY()}, 0.4 * r1.h, cream, false, 6);
    }
    // Rolled rug: the roll in its tone with bands, a dark patch with seams, no fringe.
    {
        const Shading roll = horizontalShading(r.x, r.y + 2, 0.2 * r.w, r.h - 4, {hex(green, 0.2), hex(green, -0.3)});
        const Art rolled = art::RugRolled{Tone::green};
        add("rolled rug roll", rolled, {r.x + 16, 150}, roll);
        add("rolled rug band", rolled, {r.x + 16, r.y + 2 + 0.35 * (r.h - 4) + 0.75}, over(blackAt(0.18), roll));
        add("rolled rug last band", rolled, {r.x + 16, r.y + 2 + 0.75 * (r.h - 4) + 0.5}, over(blackAt(0.18), roll));
        add("rolled rug patch", rolled, {220, 170}, over(blackAt(0.22), ground));
        add("rolled rug seam", rolled, {r.x + 0.2 * r.w + 0.48 * r.w + 0.75, 170}, over(blackAt(0.25), over(blackAt(0.22), ground)));
        add("rolled rug, no fringe", rolled, {r.midX() + 1.5, r.maxY() - 1}, ground);
    }
    // Dice: every face with every pip, blank where a face has no pip, and a row of two.
    {
        const std::vector<std::vector<QPointF>> faces = {
            {},
            {{0.5, 0.5}},
            {{0.28, 0.28}, {0.72, 0.72}},
            {{0.26, 0.26}, {0.5, 0.5}, {0.74, 0.74}},
            {{0.28, 0.28}, {0.72, 0.28}, {0.28, 0.72}, {0.72, 0.72}},
            {{0.28, 0.28}, {0.72, 0.28}, {0.5, 0.5}, {0.28, 0.72}, {0.72, 0.72}},
            {{0.3, 0.24}, {0.7, 0.24}, {0.3, 0.5}, {0.7, 0.5}, {0.3, 0.76}, {0.7, 0.76}},
        };
        const std::vector<QPointF> spots = {{0.5, 0.5}, {0.28, 0.28}, {0.72, 0.72}, {0.72, 0.28}, {0.28, 0.72},
                                            {0.3, 0.5}, {0.7, 0.5}, {0.5, 0.24}, {0.5, 0.76}};
        // One die fills the rect's height: side h, centred, standing on the bottom edge.
        const double s = r.h;
        const QPointF face(r.x + (r.w - s) / 2, r.maxY() - s);
        const Shading front = verticalShading(face.x(), face.y(), s, s, {hex(0xFFFFFF), hex(0xE2DED2)});
        for (int v = 0; v <= 7; ++v) {
            const Art die = art::Dice{{v}};
            const std::vector<QPointF>& pips = faces[std::size_t(v % 7)];
            const double radius = (v == 1 ? 0.26 : 0.17) * s / 2;
            for (const QPointF& pip : pips) {
                add("die " + std::to_string(v) + " pip (" + std::to_string(pip.x()) + ", " + std::to_string(pip.y()) + ")", die,
                    face + pip * s, flat(v == 1 ? rgb255(211, 58, 58) : hex(0x1C1C20)));
            }
            for (const QPointF& spot : spots) {
                bool clear = true;
                for (const QPointF& pip : pips) clear = clear && std::hypot(spot.x() - pip.x(), spot.y() - pip.y()) * s > radius + 2;
                if (clear) add("die " + std::to_string(v) + " blank at (" + std::to_string(spot.x()) + ", " + std::to_string(spot.y()) + ")", die, face + spot * s, front);
            }
        }
        const Art five = art::Dice{{5}};
        add("die top face", five, face + QPointF(0.5 * s, -0.1 * s), flat(hex(0xFFFFFF)));
        add("die right face", five, face + QPointF(1.11 * s, 0.5 * s), flat(hex(0xC9C5BA)));
        add("no dice", art::Dice{{}}, at(0.5, 0.5), ground);
        rows.push_back({"die shadow below the front face", five, 0, {r.midX(), r.maxY() + 1.5}, ground, 6, 0, true});
        // Two dice: side min(0.86w / 2, h), three equal gaps.
        const double s2 = std::min(0.86 * r.w / 2, r.h);
        const double gap = (r.w - 2 * s2) / 3;
        const QPointF first(r.x + gap, r.maxY() - s2);
        const QPointF second = first + QPointF(s2 + gap, 0);
        const Art pair = art::Dice{{2, 6}};
        add("dice 2 6: first die's pip", pair, first + QPointF(0.28, 0.28) * s2, flat(hex(0x1C1C20)));
        add("dice 2 6: first die's blank corner", pair, first + QPointF(0.72, 0.28) * s2,
            verticalShading(first.x(), first.y(), s2, s2, {hex(0xFFFFFF), hex(0xE2DED2)}));
        add("dice 2 6: second die's middle pip", pair, second + QPointF(0.3, 0.5) * s2, flat(hex(0x1C1C20)));
        add("dice 2 6: second die's blank middle", pair, second + QPointF(0.5, 0.5) * s2,
            verticalShading(second.x(), second.y(), s2, s2, {hex(0xFFFFFF), hex(0xE2DED2)}));
    }
    // Globe on its stand; it does not move.
    {
        const Rect sphere{r.x + 0.1 * r.w, r.y, 0.8 * r.w, 0.72 * r.h};
        const Shading globe = sphereShading(sphere.x, sphere.y, sphere.w, sphere.h, {hex(0x9DD0F8), hex(0x3C7EC4), hex(0x16356A)});
        add("globe sphere", art::Globe{}, {200, 153}, globe);
        add("globe sphere, upper left", art::Globe{}, {160, 130}, globe);
        add("globe sphere later", art::Globe{}, {200, 153}, globe, 6, 5);
        add("globe foot", art::Globe{}, {180, 220}, verticalShading(r.x + 0.3 * r.w, r.y + 0.84 * r.h, 0.4 * r.w, 0.16 * r.h, {hex(0xC9CED6), hex(0x6C727C)}));
        add("globe stem", art::Globe{}, {200, 200}, flat(hex(0x8A909A)));
        add("globe, beside the stem", art::Globe{}, {175, 203}, ground);
    }
    // Fish tank: water, sand, the fish swimming to and fro, and the key lying in a pulsing glow.
    {
        const Rect g{r.x, r.y, r.w, 0.84 * r.h};
        const Shading water = over(verticalShading(g.x, g.y, g.w, g.h, {hex(0x8DD8F0, 0, 0.75), hex(0x2E86B4, 0, 0.9)}), ground);
        const QPointF keyAt(r.midX() - 14, g.maxY() - 0.22 * g.h);
        auto glow = [&](double t) {
            return radialShading(keyAt + QPointF(15, 7), 26, {hex(0xFFE08A, 0, 0.55 + 0.2 * std::sin(3 * t)), hex(0xFFE08A, 0, 0)});
        };
        const double fishY = g.y + 0.32 * g.h + 5.5;
        const Art tank = art::FishTank{false};
        const Art keyed = art::FishTank{true};
        const Rgba fish = hex(0xF08A2C);
        add("tank stand", tank, {200, 222}, verticalShading(r.x + 0.04 * r.w, r.y + 0.82 * r.h, 0.92 * r.w, 0.18 * r.h, {hex(0x7A5636), hex(0x4A3320)}));
        add("tank water", tank, {250, 150}, water);
        add("tank glass edge", tank, {r.x + 0.5, 150}, over(whiteAt(0.55), water));
        add("tank water line", tank, {250, g.y + 2}, over(whiteAt(0.3), water));
        add("tank sand", tank, {150, 202}, flat(hex(0xD6C08A)));
        // The third weed half-way up its curve, from (p, 0.86 G.h) to (p + 4, 0.45 G.h) bent by (p - 8, 0.65 G.h).
        add("tank third weed", tank, {r.x + 0.75 * r.w - 3, g.maxY() - 0.3475 * g.h}, flat(hex(0x2E9A4C)), 8);
        add("tank fish in the middle at 0 s", tank, {r.x + 0.475 * r.w + 11, fishY}, flat(fish));
        add("tank fish's tail at 0 s", tank, {r.x + 0.475 * r.w - 6.5, fishY + 3.75}, flat(fish));
        add("tank fish at the right end", tank, {r.x + 0.65 * r.w + 11, fishY}, flat(fish), 6, M_PI / 1.6);
        add("tank fish at the left end, under the gloss", tank, {r.x + 0.3 * r.w + 11, fishY}, over(whiteAt(0.2), flat(fish)), 6, 3 * M_PI / 1.6);
        add("tank, right end empty at 0 s", tank, {r.x + 0.65 * r.w + 11, fishY}, water);
        add("tank, no glow without the key", tank, {205, 185}, water);
        add("tank, sand where the key would lie", tank, {203, 195}, flat(hex(0xD6C08A)));
        add("tank key glow at 0 s", keyed, {205, 185}, over(glow(0), water));
        add("tank key glow at its brightest", keyed, {205, 185}, over(glow(M_PI / 6), water), 6, M_PI / 6);
        // The key lies flat in its 30 x 14 rect: its shaft is 0.11 x 14 high at the rect's middle.
        add("tank key shaft", keyed, {203, 195},
            verticalShading(keyAt.x() + 15 - 0.12 * 14, keyAt.y() + 7 - 0.055 * 14, 0.58 * 14, 0.11 * 14, {hex(0xFFE9A8), hex(0x7A5C14)}), 14);
        add("tank key glow stays in the glass", keyed, {201, 214},
            verticalShading(r.x + 0.04 * r.w, r.y + 0.82 * r.h, 0.92 * r.w, 0.18 * r.h, {hex(0x7A5636), hex(0x4A3320)}));
    }
    // Floor lamp: the shade's colours and the glow switch with it.
    {
        const Rect pole{r.midX() - 2.5, r.y + 0.3 * r.h, 5, 0.66 * r.h};
        const QPointF glowAt(r.midX(), r.y + 0.2 * r.h);
        for (bool on : {true, false}) {
            const Art lamp = art::FloorLamp{on};
            const std::string state = on ? "lit lamp " : "dark lamp ";
            const Shading shade = linearShading({r.x, r.y + 0.15 * r.h}, {r.maxX(), r.y + 0.15 * r.h},
                                                on ? std::vector{hex(0xFFE9B0), hex(0xF2C265)} : std::vector{hex(0xD8CFBA), hex(0xA89E86)});
            const Shading glow = on ? over(radialShading(glowAt, 0.7 * r.h, {hex(0xFFD98A, 0, 0.4), hex(0xFFD98A, 0, 0)}), ground) : ground;
            add(state + "shade, left", lamp, {168, 134}, shade);
            add(state + "shade, right", lamp, {250, 140}, shade);
            add(state + "glow beside the pole", lamp, {230, 180}, glow);
            add(state + "glow above the shade", lamp, {200, 100}, glow);
            add(state + "beside the shade's lower corner", lamp, at(0.975, 0.28), glow);
            add(state + "pole", lamp, {200, 190}, horizontalShading(pole.x, pole.y, pole.w, pole.h, {hex(0x8A8E96), hex(0x3C4048)}), 8);
            add(state + "base", lamp, {200, 226}, verticalShading(r.x + 0.22 * r.w, r.y + 0.94 * r.h, 0.56 * r.w, 0.06 * r.h, {hex(0x8A8E96), hex(0x2E3136)}), 8);
        }
    }
    // Radio: speaker, display, knobs, antenna; the display's text only when on.
    {
        const Rect b{r.x, r.y + 0.12 * r.h, r.w, 0.76 * r.h};
        const Rect speaker{b.x + 0.06 * b.w, b.y + 0.12 * b.h, 0.42 * b.w, 0.76 * b.h};
        const Rect d{b.x + 0.54 * b.w, b.y + 0.14 * b.h, 0.4 * b.w, 0.34 * b.h};
        const double knob = 0.26 * b.h;
        const std::vector<Rgba> brass = {hex(0xFFE9A8), hex(0xC9A24A), hex(0x6B4E14)};
        const Art on = art::Radio{true, "719"};
        const Art off = art::Radio{false, "719"};
        const Art blank = art::Radio{true, std::nullopt};
        add("radio body", on, {126, 180}, verticalShading(b.x, b.y, b.w, b.h, {hex(0x9C6F42), hex(0x5C3C20)}));
        add("radio speaker", on, {140, speaker.y + 11}, flat(hex(0x2A1C10)));
        add("radio first grille bar", on, {140, speaker.y + 7}, flat(rgb255(176, 138, 90)));
        add("radio fourth grille bar", on, {160, speaker.y + 6 + (speaker.h - 12) / 2 + 1}, flat(rgb255(176, 138, 90)));
        add("radio left knob", on, {b.x + 0.58 * b.w + knob / 2, b.y + 0.6 * b.h + knob / 2},
            radialShading({b.x + 0.58 * b.w + 0.35 * knob, b.y + 0.6 * b.h + 0.3 * knob}, 0.85 * knob, brass), 10);
        add("radio right knob", on, {b.x + 0.78 * b.w + knob / 2, b.y + 0.6 * b.h + knob / 2},
            radialShading({b.x + 0.78 * b.w + 0.35 * knob, b.y + 0.6 * b.h + 0.3 * knob}, 0.85 * knob, brass), 10);
        add("radio left foot", on, {r.x + 13, r.maxY() - 6}, flat(rgb255(43, 29, 18)));
        add("radio right foot", on, {r.maxX() - 12.5, r.maxY() - 6}, flat(rgb255(43, 29, 18)));
        somewhere("radio antenna", on, {r.x + 0.87 * r.w, r.y + 0.06 * r.h}, 2, hex(0xB9BEC6), false, 24);
        add("radio on: display", on, {d.x + 3, d.y + 3}, flat(hex(0x06241A)));
        add("radio off: display", off, {d.x + 3, d.y + 3}, flat(hex(0x1A1C1A)));
        add("radio off: no text", off, {d.midX(), d.midY()}, flat(hex(0x1A1C1A)));
        add("radio on, no text: display", blank, {d.x + 3, d.y + 3}, flat(hex(0x06241A)));
        somewhere("radio on: pale core of the text", on, {d.midX(), d.midY()}, 0.4 * d.h, hex(0xCFFFE6), false, 10);
        rows.push_back({"radio on: green halo above the text", on, 0, {d.midX(), d.y + 3.5}, flat(hex(0x06241A)), 3, 0, true});
        somewhere("radio on, no text: dim dashes", blank, {d.midX(), d.midY()}, 0.4 * d.h, over(hex(0x4FFFA8, 0, 0.6), hex(0x06241A)), false, 10);
        somewhere("radio on, no text: no pale core", blank, {d.midX(), d.midY()}, 0.45 * d.h, hex(0xCFFFE6), true, 24);
    }
    // Trapdoor: planks, ring and hinges when shut; opening, light and raised lid when open.
    {
        const Shading hatch = linearShading({r.midX(), r.y}, {r.midX(), r.maxY()}, {hex(0x8A6038), hex(0x5A3C20)});
        const Shading light = over(radialShading({r.midX(), r.midY()}, 0.5 * r.w, {hex(0xFFE08A, 0, 0.5), hex(0xFFE08A, 0, 0)}), flat(hex(0x050403)));
        const Art shut = art::Trapdoor{false};
        const Art open = art::Trapdoor{true};
        add("shut trapdoor hatch", shut, {175, 190}, hatch);
        add("shut trapdoor plank seam", shut, {r.x + r.w / 4 + 0.5, 190}, over(blackAt(0.3), hatch));
        add("shut trapdoor ring", shut, {r.x + 0.42 * r.w, r.midY()}, flat(hex(0xD9B04A)), 8);
        add("shut trapdoor left hinge", shut, {r.x + 0.14 * r.w, r.y + 0.21 * r.h}, flat(hex(0x2A2A2E)));
        add("shut trapdoor, below the left hinge", shut, at(0.14, 0.6), hatch);
        add("shut trapdoor right hinge", shut, {r.x + 0.86 * r.w, r.y + 0.21 * r.h}, flat(hex(0x2A2A2E)));
        add("shut trapdoor, nothing above", shut, {r.midX(), r.y - 0.25 * r.h}, ground);
        add("open trapdoor opening", open, {175, 190}, light);
        add("open trapdoor, no plank seam", open, {r.x + r.w / 4 + 0.5, 190}, light);
        add("open trapdoor raised lid", open, {r.midX(), r.y - 0.25 * r.h}, flat(hex(0x6A4A2A)));
    }
    // Fountain: stone foot, basin, column and bowl; a blue pool with moving rings and a white light, or a dry pool
    // with a golden glint.
    {
        const Rect pool = insetBy(Rect{r.x, r.y + 0.36 * r.h, r.w, 0.34 * r.h}, 10, 5);
        const QPointF light(r.midX(), pool.midY());
        const Shading wet = flat(hex(0x4AA8E0));
        const Shading dry = flat(hex(0x4B4739));
        const Art water = art::Fountain{true};
        const Art empty = art::Fountain{false};
        // The outer ring's left edge sits at pool.x + 8 + 2 sin(2t): on a pixel centre at
        // sin(2t) = 0.25, two pixels further left at sin(2t) = -0.75.
        const double ringOn = 0.5 * std::asin(0.25);
        const double ringOff = 0.5 * (M_PI + std::asin(0.75));
        for (const Art& fountain : {water, empty}) {
            add("fountain foot", fountain, {140, 215}, verticalShading(r.x + 0.1 * r.w, r.y + 0.62 * r.h, 0.8 * r.w, 0.38 * r.h, {hex(0xB9B3A6), hex(0x7A7568)}));
            add("fountain basin rim", fountain, {124, 173}, verticalShading(r.x, r.y + 0.36 * r.h, r.w, 0.34 * r.h, {hex(0xD3CEC1), hex(0x9A9588)}));
            add("fountain column", fountain, {195, 140}, horizontalShading(r.x + 0.42 * r.w, r.y + 0.06 * r.h, 0.16 * r.w, 0.34 * r.h, {hex(0xD3CEC1), hex(0x8A8578)}));
            add("fountain top bowl", fountain, {200, 118},
                sphereShading(r.x + 0.38 * r.w, r.y, 0.24 * r.w, 0.14 * r.h, {hex(0xF2EFE6), hex(0xC9C4B7), hex(0x6F6A5C)}), 8);
        }
        add("full fountain pool", water, {pool.x + 3, 173}, wet);
        add("full fountain outer ring", water, {pool.x + 8.5, 173}, over(whiteAt(0.4), wet), 6, ringOn);
        add("full fountain outer ring a period later", water, {pool.x + 8.5, 173}, over(whiteAt(0.4), wet), 6, ringOn + M_PI);
        add("full fountain outer ring moved on", water, {pool.x + 8.5, 173}, wet, 6, ringOff);
        add("full fountain light", water, {215, 173}, over(radialShading(light, 46, {whiteAt(0.4), whiteAt(0)}), wet));
        add("full fountain light, far side", water, {235, 173}, over(radialShading(light, 46, {whiteAt(0.4), whiteAt(0)}), wet));
        const Shading glint = over(radialShading(light, 26, {hex(0xFFE08A, 0, 0.4), hex(0xFFE08A, 0, 0)}), dry);
        add("dry fountain pool", empty, {pool.x + 3, 173}, dry);
        add("dry fountain, no ring", empty, {pool.x + 8.5, 173}, dry, 6, ringOn);
        add("dry fountain glint", empty, {215, 173}, glint);
        add("dry fountain, past the glint", empty, {235, 173}, dry);
    }
    // Ice block: translucent block with facet; the frozen key and the cold glow only with a key.
    {
        const Shading block = linearShading({r.x, r.y}, {r.maxX(), r.maxY()}, {hex(0xE2F6FF, 0, 0.92), hex(0x8FCDEB, 0, 0.9), hex(0xC9ECFA, 0, 0.9)});
        const Shading glow = radialShading({r.midX(), r.midY()}, 0.6 * r.w, {hex(0xBFEFFF, 0, 0.4), hex(0xBFEFFF, 0, 0)});
        const Shading bare = over(block, ground);
        const Shading lit = over(block, over(glow, ground));
        // The key lies flat in (x + 0.2w, y + 0.3h, 0.6w, 0.36h): side 0.36h round the rect's middle.
        const double k = 0.36 * r.h;
        const QPointF key(r.midX(), r.y + 0.48 * r.h);
        const Art frozen = art::Ice{true};
        const Art clear = art::Ice{false};
        add("ice block", clear, {210, 167}, bare);
        // The block's gradient runs corner to corner: its far top corner is already mid-way.
        add("ice block, far top corner", clear, {250, 116}, bare);
        add("ice block, far top corner over the glow", frozen, {250, 116}, lit);
        add("ice facet", clear, at(0.3, 0.18), over(whiteAt(0.55), bare));
        add("ice, no glow", clear, {r.midX(), r.y + 2}, ground);
        add("ice frozen key's shaft", frozen, {210, 167},
            verticalShading(key.x() - 0.12 * k, key.y() - 0.055 * k, 0.58 * k, 0.11 * k, {hex(0xFFE9A8), hex(0x7A5C14)}), 10);
        add("ice frozen key's bow", frozen, key + QPointF(-0.415 * k, 0),
            linearShading(key + QPointF(-0.46 * k, -0.2 * k), key + QPointF(-0.06 * k, 0.2 * k), {hex(0xFFE9A8), hex(0xD9B04A), hex(0x7A5C14)}), 10);
        add("ice, through the key's bow", frozen, key + QPointF(-0.26 * k, 0), lit);
        add("ice facet over the glow", frozen, at(0.3, 0.18), over(whiteAt(0.55), lit));
        add("ice cold glow", frozen, {r.midX(), r.y + 2}, over(glow, ground));
    }
    // Pedestal: capstone, column, plinth.
    {
        const Art pedestal = art::Pedestal{};
        add("pedestal capstone", pedestal, {200, 118}, verticalShading(r.x + 0.1 * r.w, r.y, 0.8 * r.w, 0.14 * r.h, {hex(0xE6E2D8), hex(0xB4AFA2)}));
        add("pedestal column", pedestal, {170, 170}, horizontalShading(r.x + 0.2 * r.w, r.y + 0.14 * r.h, 0.6 * r.w, 0.72 * r.h, {hex(0xD5D0C4), hex(0x9A9588)}));
        add("pedestal plinth", pedestal, {200, 221}, verticalShading(r.x + 0.06 * r.w, r.y + 0.86 * r.h, 0.88 * r.w, 0.14 * r.h, {hex(0xE6E2D8), hex(0xA29D90)}));
        add("pedestal, beside the column", pedestal, {140, 170}, ground);
    }
    // Boxes: three cartons in their shades, each with tape and the large one's label.
    {
        auto carton = [](const Rect& b, double shade) {
            return verticalShading(b.x, b.y, b.w, b.h, {hex(0xC9A06A, shade), hex(0x9A7444, shade)});
        };
        const Rect large{r.x, r.y + 0.42 * r.h, 0.6 * r.w, 0.58 * r.h};
        const Rect front{r.x + 0.52 * r.w, r.y + 0.52 * r.h, 0.48 * r.w, 0.48 * r.h};
        const Rect top{r.x + 0.12 * r.w, r.y, 0.42 * r.w, 0.44 * r.h};
        const Art boxes = art::Boxes{};
        add("large box", boxes, {135, 190}, carton(large, 0));
        add("large box tape", boxes, {large.midX(), 190}, over(hex(0xD9C089, 0, 0.7), carton(large, 0)));
        add("large box label", boxes, {large.x + 15, large.maxY() - 11}, over(whiteAt(0.75), carton(large, 0)));
        add("front box", boxes, {260, 200}, carton(front, -0.05));
        add("front box tape", boxes, {front.midX(), 200}, over(hex(0xD9C089, -0.05, 0.7), carton(front, -0.05)));
        add("top box", boxes, {150, 130}, carton(top, 0.06));
        add("top box tape", boxes, {top.midX(), 130}, over(hex(0xD9C089, 0.06, 0.7), carton(top, 0.06)));
        add("boxes, right of the top box", boxes, {270, 150}, ground);
    }
    // Plant: the last leaf (drawn over the others), the pot and its rim; the tone changes nothing.
    {
        const Rect pot{r.x + 0.2 * r.w, r.y + 0.62 * r.h, 0.6 * r.w, 0.38 * r.h};
        const std::uint64_t seed = 10 * 73856093ull;
        const double a = 1.2 - M_PI / 2;
        const double len = r.h * (0.38 + 0.2 * scatter(seed, 3));
        const QPointF base(r.midX(), pot.y + 6);
        const QPointF tip(r.midX() + 0.95 * len * std::cos(a), base.y() + len * std::sin(a));
        const QPointF bulge = (base + tip) / 2 + 10 * QPointF(std::cos(a + M_PI / 2), std::sin(a + M_PI / 2));
        // Three quarters of the way out, between the leaf's two edges.
        const QPointF leaf = 0.0625 * base + 0.375 * bulge + 0.5625 * tip;
        const Shading green10 = flat(hex(0x2E8F4C, (scatter(seed, 4) - 0.5) * 0.45));
        add("plant last leaf", art::Plant{Tone::red}, leaf, green10, 8);
        add("plant last leaf, other tone", art::Plant{Tone::blue}, leaf, green10, 8);
        add("plant pot", art::Plant{Tone::red}, {170, 210}, horizontalShading(pot.x, pot.y, pot.w, pot.h, {hex(0xC0714A), hex(0x7A3F25)}));
        add("plant pot rim", art::Plant{Tone::red}, {160, pot.y + 1.5}, flat(hex(0xD6845A)));
        add("plant pot rim, right end", art::Plant{Tone::red}, {pot.maxX() + 1.5, pot.y + 1.5}, flat(hex(0xD6845A)));
    }
    // Piano: case, gloss, top board, fourteen striped white keys and ten black keys in groups
    // of two and three.
    {
        const Rect keybed{r.x + 0.06 * r.w, r.y + 0.34 * r.h, 0.88 * r.w, 0.5 * r.h};
        const double kw = keybed.w / 14;
        const Shading body = verticalShading(r.x, r.y, r.w, 0.78 * r.h, {hex(0x2E2E34), hex(0x0E0E11)});
        auto whiteKey = [&](int i) {
            return verticalShading(keybed.x + i * kw + 1, keybed.y + 3, kw - 2, keybed.h - 3, {hex(0xFFFFFF), hex(0xDAD6CA)});
        };
        const std::uint32_t strips[7] = {0xDE3F3F, 0xF08A2C, 0xF5C82E, 0x35A558, 0x39C0D0, 0x3B78DE, 0x8652D4};
        const Art piano = art::Piano{};
        add("piano case", piano, {124, 150}, body);
        add("piano gloss", piano, {r.x + 0.3 * r.w, r.y + 0.4 * 0.78 * r.h}, over(whiteAt(0.18), body));
        add("piano top board, lower edge", piano, {250, r.y + 0.2 * r.h}, verticalShading(r.x + 0.04 * r.w, r.y + 0.02 * r.h, 0.92 * r.w, 0.2 * r.h, {hex(0x3A3A42), hex(0x1A1A1E)}));
        add("piano top board", piano, {250, 125}, verticalShading(r.x + 0.04 * r.w, r.y + 0.02 * r.h, 0.92 * r.w, 0.2 * r.h, {hex(0x3A3A42), hex(0x1A1A1E)}));
        add("piano leg", piano, {r.x + 19, r.maxY() - 10}, flat(rgb255(26, 26, 30)));
        add("piano, below its leg", piano, {r.x + 19, r.maxY() + 25}, ground);
        add("piano pedal box", piano, {r.midX(), r.y + 0.89 * r.h}, flat(hex(0x1A1A1E)));
        for (int i = 0; i < 14; ++i) {
            // Beside the legs, which cover the outer keys' lower ends.
            const double x = i == 0 ? keybed.x + 2.5 : i == 12 ? keybed.x + 12 * kw + 2.5 : i == 13 ? keybed.maxX() - 2.5 : keybed.x + (i + 0.5) * kw;
            add("piano key " + std::to_string(i) + " strip", piano, {x, keybed.maxY() - 4}, over(hex(strips[i % 7], 0, 0.9), whiteKey(i)));
            add("piano key " + std::to_string(i), piano, {keybed.x + (i + 0.5) * kw, keybed.y + 20}, whiteKey(i));
        }
        for (int j = 0; j < 13; ++j) {
            const bool black = j % 7 != 2 && j % 7 != 6;
            // A black key reaches 0.28 kw past the boundary, the next white key starts 1 past it.
            add("piano after key " + std::to_string(j) + (black ? ": black key" : ": no black key"), piano,
                {keybed.x + (j + 1) * kw + (black ? 1.3 : 2.5), keybed.y + 20}, black ? flat(rgb255(21, 21, 24)) : whiteKey(j + 1));
        }
    }
    // Ball: a shaded sphere in its tone with a highlight.
    {
        const Shading ball = sphereShading(r.x, r.y, r.w, r.h, {hex(red, 0.55), hex(red), hex(red, -0.4)});
        add("red ball", art::Ball{Tone::red}, {240, 190}, ball);
        add("red ball highlight", art::Ball{Tone::red}, {r.x + 0.35 * r.w, r.y + 0.23 * r.h}, over(whiteAt(0.55), ball));
        add("blue ball", art::Ball{Tone::blue}, {240, 190}, sphereShading(r.x, r.y, r.w, r.h, {hex(blue, 0.55), hex(blue), hex(blue, -0.4)}));
    }
    // A loose item: its picture in the whole rect over a shadow of its own.
    {
        const double s = r.h;
        const Art coin = art::Item{ostrevan::ItemKind::coin, std::nullopt};
        add("loose coin", coin, {r.midX() - 0.33 * s, r.midY()},
            sphereShading(r.midX() - 0.4 * s, r.midY() - 0.4 * s, 0.8 * s, 0.8 * s, {hex(0xFFE9A8), hex(0xD9B04A), hex(0x7A5C14)}), 8);
        add("loose coin's shadow", coin, {r.midX(), r.maxY() - 4}, over(blackAt(0.5), ground), 12);
    }
    return rows;
}

// The piece's kind as the room data spells it: "Chest" for art::Chest.
std::string kindOf(const Art& art) {
    return std::visit(
        [](const auto& piece) {
            int status = 0;
            char* full = abi::__cxa_demangle(typeid(piece).name(), nullptr, nullptr, &status);
            const std::string name = full != nullptr ? full : "";
            std::free(full);
            return name.substr(name.rfind(':') + 1);
        },
        art);
}

TEST(FloorArtLooks, EveryPropInEveryStateMatchesItsProbes) {
    const std::vector<FloorProbe> rows = floorProbes();
    QImage image;
    const FloorProbe* drawn = nullptr;
    std::vector<const FloorProbe*> pictures;  // the first row of each, to hold it to its reference once
    for (const FloorProbe& row : rows) {
        if (!drawn || !(drawn->art == row.art) || drawn->time != row.time) {
            image = paintArt(row.art, kProp, row.time, kGroundColour);
            drawn = &row;
            const auto same = [&](const FloorProbe* p) { return p->art == row.art && p->time == row.time; };
            if (std::none_of(pictures.begin(), pictures.end(), same)) {
                // Named by its kind and its place among that kind's pictures in the table.
                const auto kin = std::count_if(pictures.begin(), pictures.end(),
                                               [&](const FloorProbe* p) { return p->art.index() == row.art.index(); });
                pictures.push_back(&row);
                EXPECT_TRUE(matchesReference("floor/" + kindOf(row.art) + "-" + std::to_string(kin + 1), image)) << row.what;
            }
        }
        if (row.within > 0) {
            const Rgba want = row.want(row.at);
            EXPECT_NE(colourNearby(image, row.at, row.within, want, row.tolerance), row.absent)
                << row.what << ": " << (row.absent ? "unexpected " : "no ") << describe(want) << " within " << row.within
                << " of (" << row.at.x() << ", " << row.at.y() << ")";
        } else if (row.absent) {
            EXPECT_FALSE(colourAt(image, row.at, row.want, row.tolerance)) << row.what << ": unexpected colour";
        } else {
            EXPECT_TRUE(colourAt(image, row.at, row.want, row.tolerance)) << row.what;
        }
    }
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

}  // namespace
}  // namespace tallowmere
