// The item pictures: every kind and tone, their frame, their tints and the key's halves.
#include <Tallowmere/Draw.hpp>
#include <Tallowmere/ItemArt.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <vector>

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

// Pixel at a point given in fractions of the picture's side from its centre.
QRgb probe(const QImage& image, double cx, double cy, double s, double x, double y) {
    return image.pixel(int(std::floor(cx + x * s)), int(std::floor(cy + y * s)));
}

bool isColour(QRgb pixel, std::uint32_t hex) {
    const QColor want = H(hex);
    return std::abs(qRed(pixel) - want.red()) <= 1 && std::abs(qGreen(pixel) - want.green()) <= 1 &&
           std::abs(qBlue(pixel) - want.blue()) <= 1;
}

// ## Test

TEST(ItemArt, EveryKindDrawsForEveryToneAndNothingInDegenerateRects) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::vector<Rect> degenerate = {
        {10, 10, 0, 0}, {10, 10, 0, 30}, {10, 10, 30, -5}, {kNaN, 10, 30, 30}, {10, 10, kNaN, 30}, {10, 10, kInf, kInf},
    };
    for (ItemKind kind : allKinds()) {
        for (const std::optional<Tone>& tone : noneAndAllTones()) {
            ASSERT_FALSE(isBlank(paintItem(kind, tone, Rect{4, 4, 40, 40}, {48, 48}))) << int(kind);
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
        for (Tone tone : ostrevan::allTones()) {
            const bool differs = paintItem(kind, tone, rect, {48, 48}) != plain;
            EXPECT_EQ(differs, changesLook(kind, tone)) << int(kind) << " tone " << int(tone);
        }
    }
}

TEST(ItemArt, ToneColoursReachTheirShapes) {
    constexpr double kS = 100;
    const Rect square{0, 0, kS, kS};
    const QColor ground = Qt::black;
    const auto at = [&](ItemKind kind, std::optional<Tone> tone, double x, double y) {
        return probe(paintItem(kind, tone, square, {100, 100}, ground), 50, 50, kS, x, y);
    };
    // Turned kinds: their probe point turned about the centre like the picture.
    const auto turned = [](double x, double y, double degrees) {
        const double a = degrees * std::numbers::pi / 180;
        return QPointF(x * std::cos(a) - y * std::sin(a), x * std::sin(a) + y * std::cos(a));
    };

    struct Case {
        ItemKind kind;
        std::optional<Tone> tone;
        QPointF point;
        std::uint32_t hex;
    };
    const QPointF torchLens = turned(0.35, 0, -35);
    const QPointF remoteLamp = turned(0, -0.28, -20);
    const std::vector<Case> cases = {
        {ItemKind::magnet, std::nullopt, {-0.2, 0.1}, 0xDE3F3F},
        {ItemKind::magnet, Tone::green, {-0.2, 0.1}, 0x35A558},
        {ItemKind::gear, std::nullopt, {0.2, 0}, 0xC9CED6},
        {ItemKind::gear, Tone::green, {0.2, 0}, 0x35A558},
        {ItemKind::torch, std::nullopt, torchLens, 0xFFF2B8},
        {ItemKind::torch, Tone::green, torchLens, 0x35A558},
        {ItemKind::remote, std::nullopt, remoteLamp, 0xE5474B},
        {ItemKind::remote, Tone::green, remoteLamp, 0x35A558},
        {ItemKind::bucket, Tone::cyan, {0, -0.18}, 0x4AA8E0},
        {ItemKind::bucket, Tone::blue, {0, -0.18}, 0x2A2D33},
        {ItemKind::bucket, std::nullopt, {0, -0.18}, 0x2A2D33},
    };
    for (const Case& c : cases) {
        const QRgb pixel = at(c.kind, c.tone, c.point.x(), c.point.y());
        EXPECT_TRUE(isColour(pixel, c.hex)) << int(c.kind) << " got " << std::hex << pixel << " want " << c.hex;
    }

    // A flat key's first tooth shows the mid metal colour: brass, silver or the tone.
    const Rect wide{0, 0, 160, 80};
    const std::vector<std::pair<std::optional<Tone>, std::uint32_t>> metals = {
        {std::nullopt, 0xD9B04A}, {Tone::white, 0xC9CED6}, {Tone::red, 0xDE3F3F}};
    for (const auto& [tone, hex] : metals) {
        const QRgb tooth = probe(paintItem(ItemKind::key, tone, wide, {160, 80}, ground), 80, 40, 80, 0.2325, 0.115);
        EXPECT_TRUE(isColour(tooth, hex)) << std::hex << tooth << " want " << hex;
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

TEST(ItemArt, KeyLiesFlatOnlyInARectAtLeastOnePointSixTimesAsWide) {
    const QImage flat = paintItem(ItemKind::key, std::nullopt, Rect{0, 0, 160, 100}, {160, 100});
    EXPECT_NE(qAlpha(probe(flat, 80, 50, 100, 0.4, 0)), 0);

    const QImage turned = paintItem(ItemKind::key, std::nullopt, Rect{0, 0, 150, 100}, {150, 100});
    const double a = -38 * std::numbers::pi / 180;
    EXPECT_EQ(qAlpha(probe(turned, 75, 50, 100, 0.4, 0)), 0);
    EXPECT_NE(qAlpha(probe(turned, 75, 50, 100, 0.4 * std::cos(a), 0.4 * std::sin(a))), 0);
}

TEST(ItemArt, KeyHalvesShowOnlyTheirOwnBowOrTeeth) {
    struct Case {
        ItemKind kind;
        bool bow;
        bool teeth;
    };
    const Rect wide{0, 0, 200, 100};
    for (const Case& c : {Case{ItemKind::key, true, true}, Case{ItemKind::keyTop, true, false},
                          Case{ItemKind::keyBlade, false, true}}) {
        const QImage image = paintItem(c.kind, std::nullopt, wide, {200, 100});
        EXPECT_EQ(qAlpha(probe(image, 100, 50, 100, -0.26, -0.16)) != 0, c.bow) << int(c.kind);
        EXPECT_EQ(qAlpha(probe(image, 100, 50, 100, 0.2325, 0.115)) != 0, c.teeth) << int(c.kind);
        // keyTop's shaft stops short of the teeth; the others run on to 0.46.
        EXPECT_EQ(qAlpha(probe(image, 100, 50, 100, 0.3, 0)) != 0, c.teeth) << int(c.kind);
    }
}

}  // namespace
}  // namespace tallowmere
