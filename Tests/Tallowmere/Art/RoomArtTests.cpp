// The room shell and the door at hand-computed points, and the glowing writing that must show
// through a dark room.
#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/RoomArt.hpp>
#include <Tallowmere/Model/Scene.hpp>

#include <Ostrevan/Levels.hpp>
#include <Ostrevan/Themes.hpp>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "Art/ReferencePictures.hpp"
#include "ColourProbe.hpp"
#include "PaintProbe.hpp"

namespace tallowmere {
namespace {

using namespace tallowmere::testing;

using ostrevan::DoorStyle;

// ## Shell

TEST(RoomShellProbes, FirstRoomsWallsCeilingAndFloor) {
    // The cream theme: wall EFE6D6 and D9CDB8, floor 2A2420 and 6E6358 in checks, wainscot
    // panels, beams, trim E8E2D6, light FFE9C4.
    const ostrevan::Theme& theme = ostrevan::Levels::all().front().theme;
    const QImage shell = paintImage(1000, 640, [&](Canvas& c) { drawRoomShell(c, theme); });

    const auto wall = [](double y) {
        return verticalAt(0, 400, y, {hx(0xEFE6D6, -0.12), hx(0xEFE6D6, 0.04), hx(0xD9CDB8, -0.06)});
    };
    const auto ceilingLight = [](QPointF p) {
        return radialAt({500, 150}, 520, p, {hx(0xFFE9C4, 0, 0.3), hx(0xFFE9C4, 0, 0)});
    };
    const auto corners = [](QPointF p) {
        const double t = (std::hypot(p.x() - 500, p.y() - 190) - 300) / 460;
        return blackA(0.42 * std::clamp(t, 0.0, 1.0));
    };
    // Floor: depth shading (black 0.5, 0, 0.18 down the band), the light spot, the sheen.
    const auto floorAt = [](QPointF p, std::uint32_t tile) {
        const double t = (p.y() - 400) / 240;
        const Colour depth = blackA(t < 0.5 ? 0.5 * (1 - 2 * t) : 0.18 * (2 * t - 1));
        const Colour spot = radialAt({500, 460}, 330, p, {hx(0xFFE9C4, 0, 0.26), hx(0xFFE9C4, 0, 0)});
        const Colour sheen = whiteA(0.09 * (1 - t));
        return over(sheen, over(spot, over(depth, hx(tile))));
    };
    // Row 8 of the checks spans y 595.3 to 640; at y 600.5 the floor spreads by 2.0025, so
    // screen x 500.5 is floor x 500.25 (column 5, odd: floor2) and 498.5 is column 4. At y 420.5
    // (row 2) x 500.5 is again in column 5.
    const std::vector<Probe> probes = {
        {"wall under the ceiling light", {500.5, 200.5}, over(ceilingLight({500.5, 200.5}), wall(200.5))},
        {"wainscot", {500.5, 320.5},
         over(ceilingLight({500.5, 320.5}), over(hx(0xD9CDB8, -0.1, 0.55), wall(320.5)))},
        {"raised panel's outline", {403.5, 320.5},
         over(ceilingLight({403.5, 320.5}), over(blackA(0.18), over(hx(0xD9CDB8, -0.1, 0.55), wall(320.5))))},
        {"chair rail", {500.5, 252.5},
         over(ceilingLight({500.5, 252.5}), over(hx(0xE8E2D6, 0, 0.9), over(hx(0xD9CDB8, -0.1, 0.55), wall(252.5))))},
        {"dark wall corner and side shade", {20.5, 200.5},
         over(blackA(0.35 * (1 - 20.5 / 70)),
              over(corners({20.5, 200.5}), over(ceilingLight({20.5, 200.5}), wall(200.5))))},
        {"middle joist", {500.5, 30.5},
         mixColour(Colour{92 / 255.0, 65 / 255.0, 43 / 255.0, 1}, Colour{58 / 255.0, 40 / 255.0, 25 / 255.0, 1}, 0.525)},
        {"ceiling between joists", {560.5, 30.5}, verticalAt(0, 62, 30.5, {hx(0x2B1E15), hx(0x4A3322)})},
        {"cross beam", {560.5, 15.5}, verticalAt(8, 22, 15.5, {hx(0x7A5A3C), hx(0x4C351F)})},
        {"shadow under the beams", {560.5, 80.5},
         over(blackA(0.5 * (1 - 18.5 / 60)), over(ceilingLight({560.5, 80.5}), wall(80.5)))},
        {"baseboard", {500.5, 387.5}, verticalAt(374, 400, 387.5, {hx(0xE8E2D6, 0.05), hx(0xE8E2D6, -0.18)})},
        {"dark check", {500.5, 600.5}, floorAt({500.5, 600.5}, 0x6E6358), 5},
        {"light check", {498.5, 600.5}, floorAt({498.5, 600.5}, 0x2A2420), 5},
        {"floor under the contact shadow", {500.5, 420.5},
         over(blackA(0.45 * (1 - 20.5 / 40)), floorAt({500.5, 420.5}, 0x6E6358)), 5},
    };
    for (const Probe& probe : probes) expectProbe(shell, probe);
}

TEST(RoomShellProbes, PatternsCeilingsAndTrimOfOtherThemes) {
    struct Row {
        const ostrevan::Theme* theme;
        std::vector<Probe> probes;
    };
    const auto wall = [](const ostrevan::Theme& t, double y) {
        return verticalAt(0, 400, y, {hx(t.wall, -0.12), hx(t.wall, 0.04), hx(t.wall2, -0.06)});
    };
    const auto lit = [&](const ostrevan::Theme& t, QPointF p, const Colour& under) {
        return over(radialAt({500, 150}, 520, p, {hx(t.light, 0, 0.3), hx(t.light, 0, 0)}), under);
    };
    const auto baseboard = [](const ostrevan::Theme& t, double y) {
        return verticalAt(374, 400, y, {hx(t.trim, 0.05), hx(t.trim, -0.18)});
    };
    const auto plainCeiling = [](const ostrevan::Theme& t, double y) {
        return verticalAt(0, 40, y, {hx(t.trim, -0.35), hx(t.trim, -0.1)});
    };
    using namespace ostrevan::Themes;
    const std::vector<Row> table = {
        // Stripes 46 wide every 92 from x 0: the eleventh covers 460 to 506, none from 506 to 552.
        {&sage,
         {{"stripe", {480.5, 200.5}, lit(sage, {480.5, 200.5}, over(hx(sage.wall2, -0.08, 0.5), wall(sage, 200.5)))},
          {"between stripes", {530.5, 200.5}, lit(sage, {530.5, 200.5}, wall(sage, 200.5))}}},
        // Dots every 60 on rows 38 apart; row 4 (y 170) starts at x 20.
        {&navy,
         {{"dot", {500.5, 170.5}, lit(navy, {500.5, 170.5}, over(whiteA(0.09), wall(navy, 170.5)))},
          {"dot's upper half", {500.5, 168.5}, lit(navy, {500.5, 168.5}, over(whiteA(0.09), wall(navy, 168.5)))},
          {"between dots", {530.5, 170.5}, lit(navy, {530.5, 170.5}, wall(navy, 170.5))},
          {"odd row starts at 50", {530.5, 208.5}, lit(navy, {530.5, 208.5}, over(whiteA(0.09), wall(navy, 208.5)))}}},
        // Bricks 68 apart on rows 22 apart; row 5 (y 110) starts at -34, so a brick from 511.5 and
        // mortar from 576.5 to 579.5. Each brick's tint comes from the hash of its x and row.
        {&brick,
         {{"brick", {540.5, 120.5},
           lit(brick, {540.5, 120.5},
               over(hx(brick.wall, (unitHash(scatterSeed(510), 5) - 0.5) * 0.22, 0.55), wall(brick, 120.5))),
           5},
          {"mortar", {578.5, 120.5}, lit(brick, {578.5, 120.5}, wall(brick, 120.5))}}},
        {&slate,
         {{"plain ceiling", {560.5, 20.5}, plainCeiling(slate, 20.5)},
          {"moulding", {560.5, 38.5}, over(hx(slate.trim, 0.1, 0.9), plainCeiling(slate, 38.5))}}},
        {&cream,
         {{"baseboard's light top line", {500.5, 374.5}, over(whiteA(0.5), baseboard(cream, 374.5))},
          {"baseboard's dark bottom line", {500.5, 398.5}, over(blackA(0.25), baseboard(cream, 398.5))},
          {"right side shade", {979.5, 200.5},
           over(blackA(0.35 * 49.5 / 70),
                over(blackA(0.42 * (std::hypot(479.5, 10.5) - 300) / 460), lit(cream, {979.5, 200.5}, wall(cream, 200.5))))}}},
    };
    for (const Row& row : table) {
        const QImage shell = paintImage(1000, 640, [&](Canvas& c) { drawRoomShell(c, *row.theme); });
        for (const Probe& probe : row.probes) expectProbe(shell, probe);
    }
}

// ## Door

QImage doorImage(DoorStyle style, bool unlocked, double open, double time, bool lamp) {
    return paintImage(1000, 640, [=](Canvas& c) { drawDoor(c, style, 12, unlocked, open, time, lamp); });
}

TEST(DoorProbes, CasingLeafDoorwayAndLamp) {
    // The orange leaf (417, 118, 166, 282): panels inset 18, a bar at x 563 from 249 to 301.
    const auto body = [](double y) { return verticalAt(118, 400, y, {hx(0xF08A2C), hx(0xC85F12)}); };
    const auto panel = [](double y0, double h, double y) {
        return verticalAt(y0, y0 + h, y, {hx(0xE8761E, -0.18), hx(0xE8761E, 0.08)});
    };
    const auto housing = verticalAt(104, 115, 109.5, {hx(0x3A3A40), hx(0x1C1C20)});
    const auto lampAt = [&](std::uint32_t colour, double i, QPointF p, bool onBulb, const Colour& under) {
        const Colour glow = radialAt({500, 109.5}, 30, p, {hx(colour, 0, 0.5 * i), hx(colour, 0, 0)});
        const Colour lit = over(glow, under);
        return onBulb ? over(hx(colour, 0, 0.7 + 0.3 * i), lit) : lit;
    };
    // The lit doorway: a diagonal cream-to-white ramp under a white glow about (500, 259).
    const auto doorway = [](QPointF p) {
        const double t = ((p.x() - 417) * 166 + (p.y() - 118) * 282) / (166.0 * 166 + 282.0 * 282);
        return over(radialAt({500, 259}, 170, p, {whiteA(0.9), whiteA(0)}),
                    rampColour({hx(0xFFF3D2), hx(0xFFFFFF)}, t));
    };
    struct DoorCase {
        std::string what;
        bool unlocked;
        double open;
        double time;
        bool lamp;
        std::vector<Probe> probes;
    };
    const std::vector<DoorCase> table = {
        {"shut, locked", false, 0, 0, true,
         {{"casing", {405.5, 250.5}, verticalAt(102, 400, 250.5, {hx(0x2E2520, 0.12), hx(0x1B1512)})},
          {"leaf body", {426.5, 300.5}, body(300.5)},
          {"upper panel", {500.5, 200.5}, panel(174, 78, 200.5)},
          {"lower panel", {540.5, 300.5}, panel(266, 108, 300.5)},
          // The panel's dark edge, 1.5 wide on x 435, covers three quarters of this pixel.
          {"lower panel's edge", {434.5, 300.5}, over(blackA(0.35 * 0.75), body(300.5)), 6},
          {"bar", {562.5, 275.5}, rampColour({hx(0xE8ECF2), hx(0x7B828E)}, 3.0 / 7), 5},
          {"plate", {478.5, 155.5}, verticalAt(132, 162, 155.5, {hx(0x2C2C32), hx(0x15151A)})},
          // The plate's shadow, moved by (1, 2.5) and blurred by 2, shows 1 unit above its own foot.
          {"plate's shadow", {500.5, 163.5}, over(blackA(0.4 * 0.5 * std::erfc(-0.5 / std::sqrt(2.0))), body(163.5)), 5},
          {"hinge strip", {418.5, 300.5}, over(whiteA(0.18), body(300.5))},
          {"free-edge strip", {581.5, 300.5}, over(blackA(0.25), body(300.5))},
          {"red bulb at 0.75", {500.5, 109.5}, lampAt(0xE5474B, 0.75, {500.5, 109.5}, true, housing), 5},
          {"red glow on the leaf", {500.5, 125.5}, lampAt(0xE5474B, 0.75, {500.5, 125.5}, false, body(125.5)), 5}}},
        {"shut, locked, dimmest", false, 0, M_PI / 2, true,
         {{"red bulb at 0.5", {500.5, 109.5}, lampAt(0xE5474B, 0.5, {500.5, 109.5}, true, housing), 5},
          {"red glow on the leaf", {500.5, 125.5}, lampAt(0xE5474B, 0.5, {500.5, 125.5}, false, body(125.5)), 5}}},
        {"shut, unlocked", true, 0, M_PI / 2, true,
         {{"green bulb", {500.5, 109.5}, hx(0x4FE08A), 5},
          {"green glow on the leaf", {500.5, 125.5}, lampAt(0x4FE08A, 1, {500.5, 125.5}, false, body(125.5)), 5}}},
        {"shut, no lamp", false, 0, 0, false,
         {{"casing where the lamp would be", {500.5, 109.5},
           verticalAt(102, 400, 109.5, {hx(0x2E2520, 0.12), hx(0x1B1512)})},
          {"leaf top", {500.5, 125.5}, body(125.5)}}},
        // Fully open the leaf is cos(1.2) * 166 = 60.2 wide, hinged at 417.
        {"open", true, 1, 0, false,
         {{"narrowed leaf", {419.5, 300.5}, over(blackA(0.35 * 0.042), body(300.5)), 5},
          {"lit doorway past the leaf", {480.5, 300.5}, doorway({480.5, 300.5}), 5},
          {"lit doorway where the bar was", {562.5, 275.5}, doorway({562.5, 275.5}), 5}}},
        {"barely open", true, 0.01, 0, false,
         {{"leaf still across the doorway", {540.5, 300.5}, panel(266, 108, 300.5), 5}}},
    };
    for (const DoorCase& row : table) {
        SCOPED_TRACE(row.what);
        const QImage image = doorImage(DoorStyle::orange, row.unlocked, row.open, row.time, row.lamp);
        for (const Probe& probe : row.probes) expectProbe(image, probe);
        EXPECT_TRUE(matchesReference("doors/orange, " + row.what, image));
    }
    // The plate's number, white and centred at (500, 147.5).
    const QImage shut = doorImage(DoorStyle::orange, false, 0, 0, false);
    QRgb brightest = 0;
    for (int y = 138; y <= 157; ++y)
        for (int x = 488; x <= 512; ++x)
            if (qRed(shut.pixel(x, y)) + qBlue(shut.pixel(x, y)) > qRed(brightest) + qBlue(brightest))
                brightest = shut.pixel(x, y);
    EXPECT_GT(qBlue(brightest), 235);
}

TEST(DoorProbes, EveryLeafStyleHasItsBodyFeaturesAndFitting) {
    // The leaf (417, 118, 166, 282); (426.5, 140.5) is clear of every style's features.
    const auto brass = [](double x, double y, QPointF p) {
        return radialAt({x - 2.1, y - 2.8}, 11.9, p, {hx(0xFFE9A8), hx(0xC9A24A), hx(0x7A5C1E)});
    };
    const auto barAt = [](double x, QPointF p) {
        return rampColour({hx(0xE8ECF2), hx(0x7B828E)}, (p.x() - (x - 3.5)) / 7);
    };
    const auto panelAt = [](std::uint32_t c, double y) {
        const bool upper = y < 260;
        return verticalAt(upper ? 174 : 266, upper ? 252 : 374, y, {hx(c, -0.18), hx(c, 0.08)});
    };
    struct StyleCase {
        DoorStyle style;
        std::uint32_t top, bottom;
        std::vector<Probe> probes;
    };
    const auto body = [](const StyleCase& s, double y) { return verticalAt(118, 400, y, {hx(s.top), hx(s.bottom)}); };
    std::vector<StyleCase> table = {
        {DoorStyle::wood, 0x5E3A27, 0x3A2217,
         {{"panel", {500.5, 200.5}, panelAt(0x5A3623, 200.5)},
          {"brass knob", {563.5, 289.5}, brass(563, 289, {563.5, 289.5}), 5}}},
        {DoorStyle::steel, 0xB5BAC0, 0x848A92,
         {{"vent plate", {463.5, 330.5}, hx(0x2A2D32)},
          {"louvre", {457.5, 330.5}, hx(0x0C0D0F)},
          {"last louvre", {537.5, 330.5}, hx(0x0C0D0F)},
          {"bar", {565.5, 240.5}, barAt(565, {565.5, 240.5}), 5}}},
        {DoorStyle::red, 0xB8302B, 0x82201E,
         {{"window pane", {455.5, 183.5}, hx(0xF0E6D2, -0.05)},
          {"glazing bar", {500.5, 183.5}, hx(0x6E1B18)},
          {"cross bar", {455.5, 193.5}, hx(0x6E1B18)},
          {"lower panel", {500.5, 340.5}, hx(0x9C2724)},
          {"brass knob", {565.5, 287.5}, brass(565, 287, {565.5, 287.5}), 5}}},
        {DoorStyle::green, 0x93A332, 0x66761F,
         {{"light strip", {548.5, 220.5}, Colour{}},
          {"silver knob", {561.5, 283.5}, radialAt({558.9, 280.2}, 11.9, {561.5, 283.5}, {whiteA(1), hx(0xB9BEC6), hx(0x6C727C)}), 5}}},
        {DoorStyle::blue, 0x3F6FBA, 0x254C86,
         {{"panel", {500.5, 200.5}, panelAt(0x3869B4, 200.5)},
          {"stud", {445.5, 192.5}, over(whiteA(0.35), panelAt(0x3869B4, 192.5))},
          {"stud on the right", {555.5, 316.5}, over(whiteA(0.35), panelAt(0x3869B4, 316.5))},
          {"bar", {563.5, 277.5}, barAt(563, {563.5, 277.5}), 5}}},
        {DoorStyle::glass, 0xD5AE55, 0x9C7A2C,
         {{"pane", {550.5, 300.5}, verticalAt(166, 352, 300.5, {hx(0x1E2630), hx(0x0B0E12)})},
          {"pane under the gloss", {450.5, 280.5}, over(whiteA(0.22), verticalAt(166, 352, 280.5, {hx(0x1E2630), hx(0x0B0E12)}))},
          {"bar", {571.5, 260.5}, barAt(571, {571.5, 260.5}), 5}}},
        {DoorStyle::white, 0xF4F2EC, 0xCFCBC0,
         {{"panel", {500.5, 320.5}, panelAt(0xEFEDE6, 320.5)},
          {"brass knob", {563.5, 287.5}, brass(563, 287, {563.5, 287.5}), 5}}},
        {DoorStyle::black, 0x2A2A30, 0x121216,
         {{"bar", {563.5, 300.5}, barAt(563, {563.5, 300.5}), 5}}},
        {DoorStyle::gold, 0xE6C45E, 0xB48A28,
         {{"outer frame", {430.5, 250.5}, hx(0x7A5A12), 6},
          {"diamond", {514.5, 261.5}, hx(0x7A5A12), 10},
          {"diamond's lower left edge", {485.5, 296.5}, hx(0x7A5A12), 10},
          {"brass knob", {563.5, 279.5}, brass(563, 279, {563.5, 279.5}), 5}}},
    };
    // Paints laid over each style's own body.
    for (StyleCase& s : table) {
        s.probes.push_back({"body", {426.5, 140.5}, body(s, 140.5)});
        s.probes.push_back({"number plate", {478.5, 155.5}, verticalAt(132, 162, 155.5, {hx(0x2C2C32), hx(0x15151A)})});
        if (s.style == DoorStyle::wood) s.probes.push_back({"plank seam", {445.5, 140.5}, over(blackA(0.35), body(s, 140.5))});
        if (s.style == DoorStyle::steel) s.probes.push_back({"seam", {426.5, 158.5}, over(blackA(0.14), body(s, 158.5))});
        if (s.style == DoorStyle::green) {
            s.probes[0].colour = over(whiteA(0.7), body(s, 220.5));
            s.probes.push_back({"outline", {430.5, 250.5}, over(blackA(0.25), body(s, 250.5))});
        }
        if (s.style == DoorStyle::black) s.probes.push_back({"sheen", {490.5, 300.5}, over(whiteA(0.05), body(s, 300.5))});
    }
    for (const StyleCase& s : table) {
        SCOPED_TRACE(int(s.style));
        const QImage image = doorImage(s.style, true, 0, 0, false);
        for (const Probe& probe : s.probes) expectProbe(image, probe);
        EXPECT_TRUE(matchesReference("doors/" + std::string(ostrevan::name(s.style)), image));
    }
    // The knob's soft shadow, moved by (1.5, 3), darkens the panel just below the knob.
    const QImage wood = doorImage(DoorStyle::wood, true, 0, 0, false);
    EXPECT_LT(qRed(wood.pixel(564, 297)), 0.8 * qRed(wood.pixel(540, 297)));
}

// ## Light in the dark

// The overlay of a dark room with the pointer far from `rect`, over a mid-grey scene.
QImage darkOverlay(const ostrevan::Level& level, const ostrevan::FlagSet& flags, const ostrevan::Rect& rect) {
    const QPointF mouse(rect.x + rect.w / 2 < 500 ? 980 : 20, 620);
    return paintImage(
        1000, 640, [&](Canvas& c) { drawOverlayLayer(c, level, flags, 0, std::nullopt, mouse, true); },
        QColor(128, 128, 128));
}

TEST(DarkRoomProbes, GlowingDigitsShowThroughTheDarkness) {
    struct Room {
        std::int64_t id;
        std::vector<std::string> glowing;  // prop ids
        std::vector<std::string> unlit;    // wall props that stay dark
    };
    const std::vector<Room> rooms = {{38, {"g1", "g2", "g3"}, {"pad"}},
                                     {41, {"g1", "g2", "g3"}, {"note", "pad"}},
                                     {46, {"g1", "g2"}, {"d1", "d2"}}};
    for (const Room& room : rooms) {
        const ostrevan::Level& level = ostrevan::Levels::all().at(std::size_t(room.id - 1));
        for (const std::string& id : room.glowing) {
            const ostrevan::Prop* prop = level.prop(id);
            ASSERT_NE(prop, nullptr) << room.id << " " << id;
            const QImage image = darkOverlay(level, {}, prop->rect);
            const QPoint centre(int(prop->rect.x + prop->rect.w / 2), int(prop->rect.y + prop->rect.h / 2));
            QRgb core = 0;
            for (int y = centre.y() - 30; y <= centre.y() + 30; ++y)
                for (int x = centre.x() - 30; x <= centre.x() + 30; ++x)
                    if (qRed(image.pixel(x, y)) > qRed(core)) core = image.pixel(x, y);
            // The pale core E8FFF1 on top, not only its green halo.
            EXPECT_NEAR(qRed(core), 0xE8, 8) << room.id << " " << id;
            EXPECT_NEAR(qGreen(core), 0xFF, 8) << room.id << " " << id;
            EXPECT_NEAR(qBlue(core), 0xF1, 8) << room.id << " " << id;
        }
        for (const std::string& id : room.unlit) {
            const ostrevan::Prop* prop = level.prop(id);
            ASSERT_NE(prop, nullptr) << room.id << " " << id;
            const QImage image = darkOverlay(level, {}, prop->rect);
            const QRgb middle = image.pixel(int(prop->rect.x + prop->rect.w / 2), int(prop->rect.y + prop->rect.h / 2));
            EXPECT_LT(qRed(middle) + qGreen(middle) + qBlue(middle), 3 * 30) << room.id << " " << id;
        }
    }
}

TEST(DarkRoomProbes, PoweredRadioShowsItsCodeWithAPaleCore) {
    const ostrevan::Level& room5 = ostrevan::Levels::all().at(4);
    const ostrevan::Prop* radio = room5.prop("radio");
    ASSERT_NE(radio, nullptr);
    const QImage image = paintImage(1000, 640, [&](Canvas& c) { drawPropsLayer(c, room5, {"radio_on"}, 0, 0); });
    // The display: (0.54, 0.14, 0.4, 0.34) of the body, which is (0, 0.12, 1, 0.76) of the rect.
    const Rect r = radio->rect;
    const Rect body{r.x, r.y + 0.12 * r.h, r.w, 0.76 * r.h};
    const Rect display{body.x + 0.54 * body.w, body.y + 0.14 * body.h, 0.4 * body.w, 0.34 * body.h};
    QRgb core = 0;
    for (int y = int(display.y); y < int(display.y + display.h); ++y)
        for (int x = int(display.x); x < int(display.x + display.w); ++x)
            if (qRed(image.pixel(x, y)) > qRed(core)) core = image.pixel(x, y);
    // The crisp text CFFFE6 over the blurred 4FFFA8 halo.
    EXPECT_NEAR(qRed(core), 0xCF, 10);
    EXPECT_NEAR(qGreen(core), 0xFF, 10);
    EXPECT_NEAR(qBlue(core), 0xE6, 10);
}

}  // namespace
}  // namespace tallowmere
