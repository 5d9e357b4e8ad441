// Shared drawing functions, the room shell and the door.
#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/RoomArt.hpp>

#include <Ostrevan/Themes.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <functional>
#include <string_view>
#include <vector>

#include "Art/ReferencePictures.hpp"
#include "PaintProbe.hpp"

namespace tallowmere {
namespace {

using namespace tallowmere::testing;

// ## Colours and scatter

TEST(DrawColour, ShadesDarkenAndLightenEachChannel) {
    EXPECT_EQ(H(0x3B78DE).rgba(), qRgba(0x3B, 0x78, 0xDE, 255));
    EXPECT_EQ(H(0xFF3B78DE).rgba(), H(0x3B78DE).rgba());  // the top byte is ignored
    EXPECT_EQ(H(0x3B78DE, -1).rgba(), qRgba(0, 0, 0, 255));
    EXPECT_EQ(H(0x3B78DE, 1).rgba(), qRgba(255, 255, 255, 255));
    const QColor half = H(0x80FF00, -0.5);
    EXPECT_NEAR(half.redF(), 0x80 / 255.0 / 2, 1e-4);
    EXPECT_NEAR(half.greenF(), 0.5, 1e-4);
    const QColor light = H(0x000080, 0.5, 0.25);
    EXPECT_NEAR(light.redF(), 0.5, 1e-4);
    EXPECT_NEAR(light.blueF(), 0x80 / 255.0 + 0.5 * (1 - 0x80 / 255.0), 1e-4);
    EXPECT_NEAR(light.alphaF(), 0.25, 1e-4);
}

TEST(DrawScatter, UnitHashGivesTheFixedValues) {
    struct Case { std::uint64_t seed; std::int64_t channel; double value; };
    const Case cases[] = {{0, 1, 0.3596}, {0, 2, 0.7193}, {0, 3, 0.4168}, {0, 4, 0.7328}, {73856093, 1, 0.2403}};
    for (const Case& c : cases) EXPECT_NEAR(unitHash(c.seed, c.channel), c.value, 1e-12) << c.seed << "/" << c.channel;
    // Negative numbers wrap in two's complement instead of overflowing.
    EXPECT_EQ(scatterSeed(-34), std::uint64_t(0) - std::uint64_t(34) * 73856093);
}

// ## Shadows and highlights

TEST(DrawShadows, FloorShadowSitsAtTheFootAndNeverThinnerThanTen) {
    const QImage image = paintImage(140, 80, [](Canvas& c) {
        c.translate(20, 0.3);  // puts the ellipse's middle on the middle of pixel row 42
        floorShadow(c, Rect{0, 0, 100, 40}, 1);  // ellipse (-4, 37.2, 108, 10)
    });
    int darkestRow = 0;
    for (int y = 0; y < 80; ++y)
        if (qAlpha(image.pixel(70, y)) > qAlpha(image.pixel(70, darkestRow))) darkestRow = y;
    EXPECT_EQ(darkestRow, 42);
    EXPECT_NEAR(qAlpha(image.pixel(70, 32)), qAlpha(image.pixel(70, 52)), 1);
    EXPECT_EQ(qAlpha(image.pixel(70, 10)), 0);
    EXPECT_LT(qAlpha(image.pixel(136, 42)), 8);  // 12 past the ellipse's right end at 124
    EXPECT_TRUE(matchesReference("shadows/floor shadow", image));
}

TEST(DrawShadows, WallShadowIsMovedByThreeAndSixAndBlurredByFive) {
    const QImage full = paintImage(100, 100, [](Canvas& c) { wallShadow(c, Rect{20, 20, 40, 40}, 0, 1); });
    const QImage faint = paintImage(100, 100, [](Canvas& c) { wallShadow(c, Rect{20, 20, 40, 40}, 0, 0.4); });
    // Edges at x 23 and 63, y 26 and 66: half a unit outside each, 0.5 erfc(0.5 / (5 sqrt 2)).
    const double edge = 255 * 0.5 * std::erfc(0.5 / (5 * std::sqrt(2.0)));
    EXPECT_NEAR(qAlpha(full.pixel(22, 46)), edge, 4);
    EXPECT_NEAR(qAlpha(full.pixel(63, 46)), edge, 4);
    EXPECT_NEAR(qAlpha(full.pixel(43, 25)), edge, 4);
    EXPECT_NEAR(qAlpha(full.pixel(43, 66)), edge, 4);
    EXPECT_NEAR(qAlpha(full.pixel(43, 46)), 255, 2);
    EXPECT_NEAR(qAlpha(faint.pixel(43, 46)), 0.4 * 255, 2);
    EXPECT_EQ(qRed(full.pixel(43, 46)) + qGreen(full.pixel(43, 46)) + qBlue(full.pixel(43, 46)), 0);
    EXPECT_TRUE(matchesReference("shadows/wall shadow", full));
}

TEST(DrawShadows, GlossStaysInsideItsRoundedRectAndLeavesNoClip) {
    const Rect box{20, 20, 60, 60};
    const QImage image = paintImage(100, 100, [&](Canvas& c) {
        gloss(c, box, 8, 1);
        c.fill(shape::rect(Rect{0, 90, 10, 10}), black());
    });
    EXPECT_EQ(qAlpha(image.pixel(15, 40)), 0);    // left of the box, on the band's line
    EXPECT_EQ(qAlpha(image.pixel(21, 21)), 0);    // the cut corner
    EXPECT_EQ(qAlpha(image.pixel(25, 60)), 255);  // inside the band
    EXPECT_EQ(qAlpha(image.pixel(5, 95)), 255);   // the caller's canvas is unclipped
    EXPECT_TRUE(matchesReference("shadows/gloss", image));
}

// ## Symbols

TEST(DrawSymbol, EveryPictureStaysInItsSquareAndOtherNamesAreText) {
    std::vector<QImage> pictures;
    for (std::string_view name : kSymbolNames) {
        const QImage image = paintImage(100, 100, [&](Canvas& c) { drawSymbol(c, name, {50, 50}, 60, black()); });
        pictures.push_back(image);
        EXPECT_GT(qAlpha(image.pixel(50, 50)) + qAlpha(image.pixel(30, 50)), 0) << name;
        for (int i = 0; i < 100; ++i)
            for (int edge : {0, 99}) ASSERT_EQ(qAlpha(image.pixel(i, edge)) + qAlpha(image.pixel(edge, i)), 0) << name;
    }
    const QImage star = paintImage(100, 100, [](Canvas& c) { drawSymbol(c, "star", {50, 50}, 60, black()); });
    const QImage word = paintImage(100, 100, [](Canvas& c) { drawSymbol(c, "Star", {50, 50}, 60, black()); });
    EXPECT_EQ(qAlpha(star.pixel(50, 25)), 255);  // the top point
    EXPECT_EQ(qAlpha(word.pixel(50, 25)), 0);    // half-size text does not reach it
    EXPECT_FALSE(isBlank(word));
    EXPECT_TRUE(isBlank(paintImage(100, 100, [](Canvas& c) { drawSymbol(c, "", {50, 50}, 60, black()); })));
    pictures.push_back(word);
    EXPECT_TRUE(matchesReference("symbols/every picture and a word", sideBySide(pictures)));
}

TEST(DrawSymbol, PicturesCoverTheirOutlines) {
    // Size 60 at (50, 50): points well inside (covered) and just past an edge (clear).
    struct Point {
        std::string_view name;
        QPoint at;
        bool covered;
    };
    const Point points[] = {
        {"triangle", {50, 72}, true},   {"triangle", {50, 75}, false},  {"triangle", {50, 27}, true},
        {"triangle", {56, 30}, false},  {"diamond", {70, 50}, true},    {"diamond", {74, 50}, false},
        {"diamond", {50, 22}, true},    {"cross", {50, 22}, true},      {"cross", {22, 50}, true},
        {"cross", {30, 30}, false},     {"cross", {30, 40}, false},     {"circle", {50, 25}, true},
        {"circle", {50, 22}, false},    {"square", {27, 50}, true},     {"square", {24, 50}, false},
        {"square", {70, 70}, true},     {"sun", {50, 36}, true},        
        {"sun", {75, 50}, true},        {"sun", {73, 59}, false},       {"sun", {67, 67}, true},
        {"star", {50, 40}, true},       {"star", {61, 33}, false},      {"star", {70, 42}, true},
        {"heart", {50, 55}, true},      {"heart", {33, 33}, true},      {"heart", {67, 33}, true},      {"heart", {50, 30}, false},     {"bolt", {50, 50}, true},       {"bolt", {53, 26}, true},       {"bolt", {44, 26}, false},      {"bolt", {30, 56}, false},
        {"drop", {50, 60}, true},       {"drop", {35, 30}, false},
    };
    for (const Point& p : points) {
        const QImage image = paintImage(100, 100, [&](Canvas& c) { drawSymbol(c, p.name, {50, 50}, 60, black()); });
        EXPECT_EQ(qAlpha(image.pixel(p.at)), p.covered ? 255 : 0) << p.name << " " << p.at.x() << "," << p.at.y();
    }
}

TEST(DrawSymbol, MoonCutsAwayOnlyItsOwnDisc) {
    const QImage image = paintImage(100, 100, [](Canvas& c) { drawSymbol(c, "moon", {50, 50}, 80, H(0xFFFFFF)); },
                                    QColor(255, 0, 0));
    EXPECT_EQ(image.pixel(16, 50), qRgb(255, 255, 255));  // the crescent on the left
    EXPECT_EQ(image.pixel(70, 50), qRgb(255, 0, 0));      // background inside the bite
    EXPECT_EQ(image.pixel(97, 10), qRgb(255, 0, 0));      // and beyond the disc
}

// ## Room shell

TEST(DrawShell, FloorQuadSpreadsTowardsTheViewer) {
    const QPainterPath quad = floorQuad(450, 550, 400, 640);
    ASSERT_GE(quad.elementCount(), 4);
    const QPointF expected[] = {{450, 400}, {550, 400}, {610, 640}, {390, 640}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(quad.elementAt(i).x, expected[i].x(), 1e-9);
        EXPECT_NEAR(quad.elementAt(i).y, expected[i].y(), 1e-9);
    }
}

TEST(DrawShell, EveryThemeCoversTheStage) {
    for (const ostrevan::Theme& theme : ostrevan::Themes::cycle()) {
        const QImage first = paintImage(250, 160, [&](Canvas& c) {
            c.scale(0.25, 0.25);
            drawRoomShell(c, theme);
        });
        for (int y = 0; y < 160; y += 7)
            for (int x = 0; x < 250; x += 7) ASSERT_EQ(qAlpha(first.pixel(x, y)), 255) << x << "," << y;
    }
}

}  // namespace
}  // namespace tallowmere
