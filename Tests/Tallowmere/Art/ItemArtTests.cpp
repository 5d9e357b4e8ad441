// The item pictures: every kind and tone, their frame, which kinds take a tone, and a table of
// pixel probes over every kind with the colours worked out from its shapes.
#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ItemArt.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "Art/ReferencePictures.hpp"
#include "PaintProbe.hpp"

namespace tallowmere {
namespace {

using namespace tallowmere::testing;

using ostrevan::ItemKind;
using ostrevan::Tone;

std::vector<ItemKind> allKinds() {
    std::vector<ItemKind> kinds;
    for (std::size_t i = 0; i < ostrevan::kItemKindCount; ++i) kinds.push_back(ItemKind(i));
    return kinds;
}

std::vector<std::optional<Tone>> noneAndAllTones() {
    std::vector<std::optional<Tone>> tones{std::nullopt};
    for (Tone tone : ostrevan::allTones()) tones.emplace_back(tone);
    return tones;
}

QImage paintItem(ItemKind kind, std::optional<Tone> tone, const Rect& rect, QSize size,
                 QColor background = Qt::transparent) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    drawItem(Canvas(painter), kind, tone, rect);
    painter.end();
    return image;
}

// ## Frame and tones

TEST(ItemArt, EveryKindDrawsForEveryToneAndNothingInDegenerateRects) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::vector<Rect> degenerate = {
        {10, 10, 0, 0}, {10, 10, 0, 30}, {10, 10, 30, -5}, {kNaN, 10, 30, 30}, {10, 10, kNaN, 30}, {10, 10, kInf, kInf},
    };
    for (ItemKind kind : allKinds()) {
        for (const std::optional<Tone>& tone : noneAndAllTones()) {
            paintItem(kind, tone, Rect{4, 4, 40, 40}, {48, 48});
        }
        for (const Rect& rect : degenerate) {
            EXPECT_TRUE(isBlank(paintItem(kind, Tone::red, rect, {48, 48}))) << int(kind);
        }
        // Tiny and huge pictures only have to survive.
        paintItem(kind, std::nullopt, Rect{20, 20, 0.01, 0.01}, {48, 48});
        paintItem(kind, Tone::blue, Rect{-5e4, -5e4, 1e5, 1e5}, {48, 48});
    }
}

TEST(ItemArt, ToneChangesOnlyTheKindsThatTakeOne) {
    const auto changesLook = [](ItemKind kind, Tone tone) {
        switch (kind) {
            case ItemKind::battery: case ItemKind::screwdriver: case ItemKind::match: case ItemKind::card:
            case ItemKind::net: case ItemKind::string: case ItemKind::wrench: case ItemKind::scissors:
            case ItemKind::paper: case ItemKind::bulb: return false;
            case ItemKind::bucket: return tone == Tone::cyan;
            case ItemKind::orb: case ItemKind::gem: return tone != Tone::cyan;  // no tone is cyan
            case ItemKind::magnet: return tone != Tone::red;                    // no tone is red
            default: return true;
        }
    };
    const Rect rect{4, 4, 40, 40};
    for (ItemKind kind : allKinds()) {
        const QImage plain = paintItem(kind, std::nullopt, rect, {48, 48});
        std::vector<QImage> inEveryTone{plain};
        for (Tone tone : ostrevan::allTones()) {
            inEveryTone.push_back(paintItem(kind, tone, rect, {48, 48}));
            const bool differs = inEveryTone.back() != plain;
            EXPECT_EQ(differs, changesLook(kind, tone)) << int(kind) << " tone " << int(tone);
        }
        EXPECT_TRUE(matchesReference("items/" + std::string(ostrevan::name(kind)) + " in every tone", sideBySide(inEveryTone)));
    }
}

TEST(ItemArt, PictureSitsInTheSquareOfTheShorterSideUnstretched) {
    struct Case {
        Rect rect;
        Rect square;
        ItemKind stretched;  // its shading spans the caller's whole rect along the long side
    };
    const QSize size{150, 150};
    for (const Case& c : {Case{{0, 25, 150, 100}, {25, 25, 100, 100}, ItemKind::bucket},
                          Case{{25, 0, 100, 150}, {25, 25, 100, 100}, ItemKind::gem}}) {
        for (ItemKind kind : allKinds()) {
            const QImage inRect = paintItem(kind, Tone::orange, c.rect, size);
            const QImage inSquare = paintItem(kind, Tone::orange, c.square, size);
            EXPECT_EQ(inRect != inSquare, kind == c.stretched) << int(kind);
        }
    }
}

// ## Probe table

// The opaque ground the probed pictures lie on.
constexpr std::uint32_t kGroundHex = 0x707070;

// The turn of each kind's picture, in degrees (negative turns counter-clockwise on screen); the
// keys turn only in a rect less than 1.6 times as wide as high.
double turnOf(ItemKind kind, const Rect& rect) {
    switch (kind) {
        case ItemKind::key: case ItemKind::keyTop: case ItemKind::keyBlade:
            return rect.w / std::max(rect.h, 1.0) < 1.6 ? -38 : 0;
        case ItemKind::battery: case ItemKind::fuse: case ItemKind::scissors: return -30;
        case ItemKind::screwdriver: case ItemKind::wrench: return -40;
        case ItemKind::torch: case ItemKind::net: return -35;
        case ItemKind::match: return -45;
        case ItemKind::card: return -12;
        case ItemKind::paper: return -8;
        case ItemKind::remote: return -20;
        default: return 0;
    }
}

struct ItemProbe {
    std::string what;  // kind, tone and what is probed
    ItemKind kind;
    std::optional<Tone> tone;
    QPointF at;        // in the picture's own units: fractions of its side from its centre, unturned
    Shading want;      // in the same units
    int tolerance = 8;
    bool absent = false;  // the colour must not be there (thin strokes that only darken a pixel)
    Rect rect{0, 0, 160, 100};  // exactly 1.6 times as wide as high: the keys lie flat
};

// Every kind, probed at points and with colours taken from its shape table.
std::vector<ItemProbe> itemProbes() {
    const Shading ground = flat(hex(kGroundHex));
    const std::uint32_t red = 0xDE3F3F, green = 0x35A558, cyan = 0x39C0D0;
    const std::vector<Rgba> brass = {hex(0xFFE9A8), hex(0xD9B04A), hex(0x7A5C14)};
    const std::vector<Rgba> silver = {hex(0xFFFFFF), hex(0xC9CED6), hex(0x6C727C)};
    const std::vector<Rgba> redMetal = {hex(red, 0.5), hex(red), hex(red, -0.4)};
    const std::vector<Rgba> steel = {hex(0xE8ECF2), hex(0x7B828E)};
    const std::optional<Tone> none;
    std::vector<ItemProbe> rows;
    auto add = [&](std::string what, ItemKind kind, std::optional<Tone> tone, QPointF p, Shading want, int tolerance = 8) {
        rows.push_back({std::move(what), kind, tone, p, std::move(want), tolerance});
    };
    // A thin stroke darkens or tints the pixels it crosses: the plain colour is not there.
    auto crossed = [&](std::string what, ItemKind kind, QPointF p, Shading plain) {
        rows.push_back({std::move(what), kind, none, p, std::move(plain), 6, true});
    };

    // Keys: bow (a ring), shaft and three teeth in the metal colours.
    auto bow = [&](const std::vector<Rgba>& metal) { return linearShading({-0.46, -0.2}, {-0.06, 0.2}, metal); };
    auto shaft = [&](double from, double to, const std::vector<Rgba>& metal) {
        return verticalShading(from, -0.055, to - from, 0.11, {metal.front(), metal.back()});
    };
    add("key bow", ItemKind::key, none, {-0.415, 0}, bow(brass));
    add("key bow, upper left", ItemKind::key, none, {-0.3, -0.15}, bow(brass));
    add("key bow's hole", ItemKind::key, none, {-0.26, 0}, ground, 6);
    add("key shaft", ItemKind::key, none, {0.1, 0}, shaft(-0.12, 0.46, brass));
    add("key shaft near its tip", ItemKind::key, none, {0.44, 0}, shaft(-0.12, 0.46, brass));
    add("key, past its tip", ItemKind::key, none, {0.49, 0}, ground, 6);
    add("key first tooth", ItemKind::key, none, {0.2325, 0.165}, flat(brass[1]));
    add("key second tooth", ItemKind::key, none, {0.3325, 0.13}, flat(brass[1]));
    add("key, below the shorter second tooth", ItemKind::key, none, {0.3325, 0.165}, ground, 6);
    add("key third tooth", ItemKind::key, none, {0.4325, 0.165}, flat(brass[1]));
    add("key, between the teeth", ItemKind::key, none, {0.2825, 0.12}, ground, 6);
    add("key, right of the teeth", ItemKind::key, none, {0.5, 0.1}, ground, 6);
    add("white key tooth", ItemKind::key, Tone::white, {0.2325, 0.115}, flat(silver[1]));
    add("white key shaft", ItemKind::key, Tone::white, {0.1, 0}, shaft(-0.12, 0.46, silver));
    add("red key bow", ItemKind::key, Tone::red, {-0.415, 0}, bow(redMetal));
    add("red key tooth", ItemKind::key, Tone::red, {0.2325, 0.115}, flat(redMetal[1]));
    add("key top bow", ItemKind::keyTop, none, {-0.415, 0}, bow(brass));
    add("key top shaft stub", ItemKind::keyTop, none, {0.04, 0}, shaft(-0.12, 0.12, brass));
    add("key top, no shaft past its cut", ItemKind::keyTop, none, {0.2, 0}, ground, 6);
    add("key top, no teeth", ItemKind::keyTop, none, {0.2325, 0.115}, ground, 6);
    add("key blade shaft where the bow was", ItemKind::keyBlade, none, {-0.415, 0}, shaft(-0.46, 0.46, brass));
    add("key blade, no bow", ItemKind::keyBlade, none, {-0.3, -0.15}, ground, 6);
    // The cut ends show a zig-zag break mark across the shaft; a whole key has none.
    crossed("key top break mark", ItemKind::keyTop, {0.1, 0.005}, shaft(-0.12, 0.12, brass));
    crossed("key blade break mark", ItemKind::keyBlade, {-0.44, 0.005}, shaft(-0.46, 0.46, brass));
    add("key, no break mark", ItemKind::key, none, {0.1, 0.005}, shaft(-0.12, 0.46, brass));
    add("key blade tooth", ItemKind::keyBlade, none, {0.2325, 0.115}, flat(brass[1]));
    rows.push_back({"turned key shaft", ItemKind::key, none, {0.3, 0}, shaft(-0.12, 0.46, brass), 8, false, Rect{0, 0, 150, 100}});
    rows.push_back({"turned key tooth", ItemKind::key, none, {0.2325, 0.115}, flat(brass[1]), 8, false, Rect{0, 0, 150, 100}});

    // Coin: a shaded disc with a ring and a dark "$".
    const Shading coin = sphereShading(-0.4, -0.4, 0.8, 0.8, brass);
    add("coin, left", ItemKind::coin, none, {-0.33, 0}, coin);
    add("coin, right", ItemKind::coin, none, {0.33, 0.1}, coin);
    add("coin, off the disc", ItemKind::coin, none, {0.45, 0}, ground, 6);
    add("white coin", ItemKind::coin, Tone::white, {-0.33, 0}, sphereShading(-0.4, -0.4, 0.8, 0.8, silver));
    crossed("coin ring", ItemKind::coin, {0.28, 0.005}, coin);

    // Battery, turned: dark body, green charge, terminal.
    add("battery body", ItemKind::battery, none, {0.3, 0.1}, verticalShading(-0.38, -0.17, 0.76, 0.34, {hex(0x3A3F46), hex(0x15171B)}));
    add("battery charge", ItemKind::battery, none, {-0.2, 0.05}, verticalShading(-0.38, -0.17, 0.5, 0.34, {hex(0x5CD16A), hex(0x2B8A3A)}));
    crossed("battery plus", ItemKind::battery, {0.22, 0}, verticalShading(-0.38, -0.17, 0.76, 0.34, {hex(0x3A3F46), hex(0x15171B)}));
    add("battery terminal", ItemKind::battery, none, {0.415, 0}, flat(hex(0xC9CED6)));

    // Screwdriver, turned: red handle, steel shaft.
    add("screwdriver handle", ItemKind::screwdriver, none, {-0.3, 0}, verticalShading(-0.46, -0.11, 0.34, 0.22, {hex(0xE5474B), hex(0x9A1F24)}));
    add("screwdriver shaft", ItemKind::screwdriver, none, {0.2, 0}, verticalShading(-0.14, -0.04, 0.58, 0.08, steel));
    add("screwdriver, past its tip", ItemKind::screwdriver, none, {0.47, 0}, ground, 6);

    // Magnifier: metal rim, pale lens, wooden handle.
    add("magnifier rim", ItemKind::magnifier, none, {-0.395, -0.11}, flat(brass[1]));
    add("red magnifier rim", ItemKind::magnifier, Tone::red, {-0.395, -0.11}, flat(redMetal[1]));
    add("magnifier lens", ItemKind::magnifier, none, {-0.11, -0.11}, over(hex(0xBFE6FF, 0, 0.45), ground));
    add("magnifier handle", ItemKind::magnifier, none, {0.25, 0.25}, flat(hex(0x5A3C20)));

    // Torch, turned: body, head under the beam, lens in the tint.
    auto beam = [](std::uint32_t t) { return radialShading({0.36, 0}, 0.36, {hex(t, 0, 0.7), hex(t, 0, 0)}); };
    add("torch body", ItemKind::torch, none, {-0.2, 0}, verticalShading(-0.4, -0.12, 0.5, 0.24, {hex(0x4A4F58), hex(0x1C1E22)}));
    add("torch head under the beam", ItemKind::torch, none, {0.2, 0}, over(beam(0xFFF2B8), flat(hex(0x8A909A))));
    add("torch, above the head", ItemKind::torch, none, {0.15, -0.3}, ground, 6);
    add("torch lens", ItemKind::torch, none, {0.35, 0}, flat(hex(0xFFF2B8)));
    add("torch beam", ItemKind::torch, none, {0.5, 0}, over(beam(0xFFF2B8), ground));
    add("green torch lens", ItemKind::torch, Tone::green, {0.35, 0}, flat(hex(green)));
    add("green torch beam", ItemKind::torch, Tone::green, {0.5, 0}, over(beam(green), ground));

    // Match, turned: wooden stick, red head.
    add("match stick", ItemKind::match, none, {-0.1, 0}, verticalShading(-0.42, -0.04, 0.8, 0.08, {hex(0xE0B070), hex(0xA97A3C)}));
    add("match head", ItemKind::match, none, {0.39, 0}, sphereShading(0.3, -0.1, 0.18, 0.2, {hex(0xFFA0A0), hex(0xE5474B), hex(0x7A1418)}), 10);

    // Crank: metal arm, steel shaft, red grip.
    add("crank arm", ItemKind::crank, none, {-0.1, 0.26}, verticalShading(-0.34, 0.2, 0.5, 0.12, {brass[0], hex(0x7B828E)}));
    add("red crank arm", ItemKind::crank, Tone::red, {-0.1, 0.26}, verticalShading(-0.34, 0.2, 0.5, 0.12, {redMetal[0], hex(0x7B828E)}));
    add("crank shaft", ItemKind::crank, none, {-0.28, -0.1}, horizontalShading(-0.34, -0.3, 0.12, 0.6, steel));
    add("crank grip", ItemKind::crank, none, {0.3, 0.25}, verticalShading(0.1, 0.1, 0.34, 0.3, {hex(0xE5474B), hex(0x9A1F24)}));

    // Fuse, turned: glass, brass caps, wire and band in the tint.
    const Shading glass = over(verticalShading(-0.34, -0.15, 0.68, 0.3, {hex(0xF2F4F8, 0, 0.9), hex(0xB9BEC6, 0, 0.9)}), ground);
    add("fuse glass", ItemKind::fuse, none, {0.15, -0.1}, glass);
    add("fuse, beyond the glass", ItemKind::fuse, none, {0, 0.2}, ground, 6);
    add("fuse left cap", ItemKind::fuse, none, {-0.26, 0}, flat(hex(0xC9A24A)));
    add("fuse right cap", ItemKind::fuse, none, {0.26, 0}, flat(hex(0xC9A24A)));
    add("fuse wire", ItemKind::fuse, none, {0.15, 0}, flat(hex(0xDDE2E8)));
    add("fuse band", ItemKind::fuse, none, {0, -0.08}, over(hex(0xDDE2E8, 0, 0.35), glass));
    add("green fuse wire", ItemKind::fuse, Tone::green, {0.15, 0}, flat(hex(green)));

    // Card, turned: blue card, dark stripe, gold chip, gloss.
    add("card", ItemKind::card, none, {0.2, 0.15}, verticalShading(-0.44, -0.28, 0.88, 0.56, {hex(0x3C78D8), hex(0x1D3F8A)}));
    add("card stripe", ItemKind::card, none, {0.2, -0.06}, flat(hex(0x0C1224)));
    add("card stripe under the gloss", ItemKind::card, none, {-0.176, -0.056}, over(whiteAt(0.2), flat(hex(0x0C1224))));
    add("card, outside its rounded corner", ItemKind::card, none, {-0.437, -0.277}, ground, 16);
    add("card chip", ItemKind::card, none, {-0.24, 0.13}, verticalShading(-0.34, 0.06, 0.2, 0.15, {hex(0xE6C45E), hex(0xA07A1E)}));

    // Orb: halo, shaded ball and highlight in the tint; no tone counts as cyan.
    auto orb = [](std::uint32_t t) { return sphereShading(-0.34, -0.34, 0.68, 0.68, {hex(t, 0.7), hex(t), hex(t, -0.45)}); };
    add("orb halo", ItemKind::orb, none, {0.43, 0}, over(radialShading({0, 0}, 0.52, {hex(cyan, 0, 0.55), hex(cyan, 0, 0)}), ground));
    add("orb ball", ItemKind::orb, none, {0.1, 0.1}, orb(cyan));
    add("orb ball, shaded side", ItemKind::orb, none, {0.2, 0.22}, orb(cyan));
    add("orb ball, below the highlight", ItemKind::orb, none, {-0.08, -0.05}, orb(cyan));
    add("orb highlight", ItemKind::orb, none, {-0.08, -0.18}, over(whiteAt(0.7), orb(cyan)));
    add("red orb ball", ItemKind::orb, Tone::red, {0.1, 0.1}, orb(red));

    // Net, turned: wooden handle, steel hoop.
    add("net handle", ItemKind::net, none, {-0.3, 0}, verticalShading(-0.46, -0.03, 0.5, 0.06, {hex(0x8A5E36), hex(0x5A3C20)}));
    add("net, inside the hoop between the strings", ItemKind::net, none, {0.17, 0.06}, ground, 6);
    crossed("net hoop", ItemKind::net, {0.46, 0}, ground);
    crossed("net mesh, lower half", ItemKind::net, {0.23, 0.17}, ground);
    crossed("net mesh, upper half", ItemKind::net, {0.23, -0.17}, ground);

    // Magnet: horseshoe in the tint, light poles.
    add("magnet arch", ItemKind::magnet, none, {0, -0.22}, flat(hex(red)));
    add("magnet arch, top", ItemKind::magnet, none, {0, -0.265}, flat(hex(red)), 10);
    add("magnet left leg", ItemKind::magnet, none, {-0.2, 0.1}, flat(hex(red)));
    add("magnet right leg", ItemKind::magnet, none, {0.2, 0.1}, flat(hex(red)));
    add("magnet left pole", ItemKind::magnet, none, {-0.2, 0.25}, flat(hex(0xE8ECF2)));
    add("magnet right pole", ItemKind::magnet, none, {0.2, 0.25}, flat(hex(0xE8ECF2)));
    add("magnet, below the left pole", ItemKind::magnet, none, {-0.2, 0.35}, ground, 6);
    add("magnet, between the legs", ItemKind::magnet, none, {0, 0.15}, ground, 6);
    add("magnet, between the poles", ItemKind::magnet, none, {0.05, 0.25}, ground, 6);
    add("magnet, inside the arch by the right leg", ItemKind::magnet, none, {0.09, 0.05}, ground, 6);
    add("green magnet arch", ItemKind::magnet, Tone::green, {0, -0.22}, flat(hex(green)));

    // String: a shaded ball with windings.
    const Shading ball = sphereShading(-0.34, -0.34, 0.68, 0.68, {hex(0xFFF6D8), hex(0xE8D8A8), hex(0x9A8858)});
    add("string ball", ItemKind::string, none, {0.06, 0}, ball);
    crossed("string first winding", ItemKind::string, {0, 0.12}, ball);
    crossed("string last winding", ItemKind::string, {-0.3, 0}, ball);

    // Wrench, turned: steel shaft, open ring head.
    add("wrench shaft", ItemKind::wrench, none, {-0.2, 0}, verticalShading(-0.4, -0.06, 0.7, 0.12, steel));
    add("wrench head, far side", ItemKind::wrench, none, {0.48, 0}, flat(hex(0xB9BEC6)));
    add("wrench head, top", ItemKind::wrench, none, {0.33, -0.19}, flat(hex(0xB9BEC6)));
    add("wrench, inside the head", ItemKind::wrench, none, {0.38, 0}, ground, 6);

    // Scissors, turned: two blades, two red rings.
    add("scissors upper blade", ItemKind::scissors, none, {0.2, -0.07}, verticalShading(-0.08, -0.1, 0.5, 0.06, steel));
    add("scissors lower blade", ItemKind::scissors, none, {0.2, 0.07}, verticalShading(-0.08, 0.04, 0.5, 0.06, steel));
    add("scissors, between the blades", ItemKind::scissors, none, {0.2, 0}, ground, 6);
    add("scissors upper ring", ItemKind::scissors, none, {-0.44, -0.14}, flat(hex(0xE5474B)));
    add("scissors lower ring", ItemKind::scissors, none, {-0.44, 0.14}, flat(hex(0xE5474B)));
    add("scissors, inside a ring", ItemKind::scissors, none, {-0.32, -0.14}, ground, 6);

    // Paper, turned: sheet with five lines of writing.
    const Shading sheet = verticalShading(-0.3, -0.38, 0.6, 0.76, {hex(0xFFFFFF), hex(0xE6E0CE)});
    add("paper sheet", ItemKind::paper, none, {0.2, 0.2}, sheet);
    add("paper, between two lines", ItemKind::paper, none, {0, -0.19}, sheet);
    add("paper, beside the sheet", ItemKind::paper, none, {0.36, 0}, ground, 6);
    crossed("paper first line", ItemKind::paper, {0, -0.2525}, sheet);
    crossed("paper last line", ItemKind::paper, {0, 0.2675}, sheet);

    // Gear: ten teeth starting at 0.2 rad, a dark hub.
    auto polar = [](double radius, double angle) { return QPointF(radius * std::cos(angle), radius * std::sin(angle)); };
    add("gear first tooth", ItemKind::gear, none, polar(0.39, 0.2 + M_PI / 40), flat(hex(0xC9CED6)));
    add("gear, gap after the first tooth", ItemKind::gear, none, polar(0.39, 0.2 + M_PI / 10 + M_PI / 40), ground, 6);
    add("gear second tooth", ItemKind::gear, none, polar(0.39, 0.2 + M_PI / 5 + M_PI / 40), flat(hex(0xC9CED6)));
    add("gear fifth tooth", ItemKind::gear, none, polar(0.39, 0.2 + 4 * M_PI / 5 + M_PI / 40), flat(hex(0xC9CED6)));
    add("gear body", ItemKind::gear, none, {0.2, 0}, flat(hex(0xC9CED6)));
    add("gear hub", ItemKind::gear, none, {0, 0}, over(blackAt(0.45), flat(hex(0xC9CED6))));
    add("green gear body", ItemKind::gear, Tone::green, {0.2, 0}, flat(hex(green)));

    // Bulb: glow, glass, base.
    const Shading glow = over(radialShading({0, -0.08}, 0.5, {hex(0xFFE9A0, 0, 0.4), hex(0xFFE9A0, 0, 0)}), ground);
    add("bulb glass", ItemKind::bulb, none, {0.1, -0.1}, sphereShading(-0.26, -0.42, 0.52, 0.52, {hex(0xFFFFFF), hex(0xFFF0B8), hex(0xE6C45E)}));
    add("bulb base", ItemKind::bulb, none, {0.08, 0.1}, verticalShading(-0.12, 0.08, 0.24, 0.26, {hex(0xB9BEC6), hex(0x6C727C)}));
    add("bulb base, below the three threads", ItemKind::bulb, none, {0, 0.315},
        verticalShading(-0.12, 0.08, 0.24, 0.26, {hex(0xB9BEC6), hex(0x6C727C)}));
    add("bulb glow", ItemKind::bulb, none, {0.3, -0.3}, glow, 4);
    add("bulb base between the first two threads", ItemKind::bulb, none, {0.06, 0.155},
        verticalShading(-0.12, 0.08, 0.24, 0.26, {hex(0xB9BEC6), hex(0x6C727C)}));
    crossed("bulb thread", ItemKind::bulb, {0.06, 0.196}, verticalShading(-0.12, 0.08, 0.24, 0.26, {hex(0xB9BEC6), hex(0x6C727C)}));

    // Bucket: its body's gradient spans the whole drawing rect; water only for cyan.
    const Shading pail = horizontalShading(-0.8, -0.5, 1.6, 1, {hex(0xB7BDC6), hex(0x6E7580)});
    add("bucket body, left", ItemKind::bucket, none, {-0.2, 0.1}, pail);
    add("bucket body, right", ItemKind::bucket, none, {0.2, 0.1}, pail);
    add("bucket body, top right under the rim", ItemKind::bucket, none, {0.28, -0.12}, pail);
    add("bucket opening", ItemKind::bucket, none, {0, -0.18}, flat(hex(0x2A2D33)));
    add("blue bucket opening", ItemKind::bucket, Tone::blue, {0, -0.18}, flat(hex(0x2A2D33)));
    add("cyan bucket water", ItemKind::bucket, Tone::cyan, {0, -0.18}, flat(hex(0x4AA8E0)));
    add("bucket handle top", ItemKind::bucket, none, {0, -0.475}, flat(hex(0x4A4F58)));

    // Gem: its gradient spans the whole drawing rect's height.
    add("gem", ItemKind::gem, none, {0, 0}, verticalShading(-0.8, -0.5, 1.6, 1, {hex(cyan, 0.5), hex(cyan, -0.3)}));
    add("gem, upper half", ItemKind::gem, none, {0.1, -0.2}, verticalShading(-0.8, -0.5, 1.6, 1, {hex(cyan, 0.5), hex(cyan, -0.3)}));
    add("gem, upper left", ItemKind::gem, none, {-0.1, -0.25}, verticalShading(-0.8, -0.5, 1.6, 1, {hex(cyan, 0.5), hex(cyan, -0.3)}));
    add("red gem", ItemKind::gem, Tone::red, {0, 0}, verticalShading(-0.8, -0.5, 1.6, 1, {hex(red, 0.5), hex(red, -0.3)}));
    add("gem, beside the point", ItemKind::gem, none, {0.15, 0.25}, ground, 6);

    // Remote, turned: dark handset, lamp in the tint, grey buttons.
    add("remote body", ItemKind::remote, none, {0, -0.05}, verticalShading(-0.16, -0.4, 0.32, 0.8, {hex(0x3A3E46), hex(0x15171B)}));
    add("remote lamp", ItemKind::remote, none, {0, -0.28}, flat(hex(0xE5474B)));
    add("green remote lamp", ItemKind::remote, Tone::green, {0, -0.28}, flat(hex(green)));
    add("remote first button", ItemKind::remote, none, {-0.06, -0.09}, flat(hex(0x8A909A)));
    add("remote last button", ItemKind::remote, none, {0.06, 0.25}, flat(hex(0x8A909A)));
    return rows;
}

TEST(ItemArt, EveryKindMatchesItsProbes) {
    std::vector<std::string> referenced;
    for (const ItemProbe& row : itemProbes()) {
        const QSize size(int(row.rect.maxX()), int(row.rect.maxY()));
        const QImage image = paintItem(row.kind, row.tone, row.rect, size, QColor::fromRgb(kGroundHex));
        const std::string name = "items/" + std::string(ostrevan::name(row.kind)) + " " +
                                 std::string(row.tone ? ostrevan::name(*row.tone) : "plain") + " " +
                                 std::to_string(int(row.rect.w)) + "x" + std::to_string(int(row.rect.h));
        if (std::find(referenced.begin(), referenced.end(), name) == referenced.end()) {
            referenced.push_back(name);
            EXPECT_TRUE(matchesReference(name, image));
        }
        const double s = std::min(row.rect.w, row.rect.h);
        const QTransform toImage = QTransform()
                                       .translate(row.rect.midX(), row.rect.midY())
                                       .rotate(turnOf(row.kind, row.rect))
                                       .scale(s, s);
        const QPointF pixel = pixelCentre(toImage.map(row.at));
        const QPointF local = toImage.inverted().map(pixel);
        const Shading atPixel = [&](QPointF) { return row.want(local); };
        if (row.absent) {
            EXPECT_FALSE(colourAt(image, pixel, atPixel, row.tolerance)) << row.what << ": the plain colour is still there";
        } else {
            EXPECT_TRUE(colourAt(image, pixel, atPixel, row.tolerance)) << row.what;
        }
    }
}

}  // namespace
}  // namespace tallowmere
