// [SECTION] Room shell: wall, wall patterns, ceiling, floor
// [SECTION] Door: casing, doorway, swing, lamp
// [SECTION] Door leaf: fittings and the ten styles
// [SECTION] Door layers: the door without its lamp as the frame and the leaf
#include <Tallowmere/Art/RoomArt.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Palette.hpp>

#include <QString>

#include <algorithm>
#include <cmath>

namespace tallowmere {

using ostrevan::Theme;
namespace pal = palette;

// ---------------------------------------------------------------------------------------------
// [SECTION] Room shell: wall, wall patterns, ceiling, floor

namespace {

constexpr double kStageW = ostrevan::Stage::width;
constexpr double kStageH = ostrevan::Stage::height;
constexpr double kHorizon = ostrevan::Stage::horizon;
constexpr double kFloorDepth = kStageH - kHorizon;  // 240
constexpr double kCentreX = kStageW / 2;
constexpr double kFrontSpread = 1.2;  // floor widens to 2.2x at the front edge
constexpr int kFloorRows = 9;
constexpr double kRowPower = 1.75;

constexpr Rect kWall{0, 0, kStageW, kHorizon};
constexpr Rect kFloorBand{0, kHorizon, kStageW, kFloorDepth};

// Floor plan to screen: x spreads away from the centre line towards the viewer.
QPointF floorPoint(double x, double y) {
    const double spread = 1 + kFrontSpread * (y - kHorizon) / kFloorDepth;
    return {kCentreX + (x - kCentreX) * spread, y};
}

// Top of floor row r (0 ... 9), rows squeezed towards the horizon.
double floorRowY(int r) {
    return kHorizon + kFloorDepth * std::pow(double(r) / kFloorRows, kRowPower);
}

void drawPlainBlotches(const Canvas& canvas, const Theme& theme) {
    constexpr int kBlotches = 7;
    for (int i = 0; i < kBlotches; ++i) {
        const std::uint64_t seed = scatterSeed(i);
        const QPointF centre(kStageW * unitHash(seed, 1), kHorizon * unitHash(seed, 2));
        const double radius = 160 + 120 * unitHash(seed, 3);
        canvas.fill(shape::circle(centre, radius),
                    radial(centre, 0, radius, {H(theme.wall2, -0.1, 0.16), H(theme.wall2, -0.1, 0)}));
    }
}

void drawStripes(const Canvas& canvas, const Theme& theme) {
    constexpr double kStripeW = 46;
    constexpr int kSlots = 22;
    const QColor stripe = H(theme.wall2, -0.08, 0.5);
    for (int i = 0; i < kSlots; i += 2) canvas.fill(shape::rect(Rect{kStripeW * i, 0, kStripeW, kHorizon}), stripe);
}

void drawWainscot(const Canvas& canvas, const Theme& theme) {
    constexpr double kRailY = 248;
    constexpr double kPanelTop = 276;
    constexpr double kPanelW = 112;
    constexpr double kPanelH = 96;
    constexpr double kPanelPitch = 128;
    constexpr int kPanels = 8;
    canvas.fill(shape::rect(Rect{0, 252, kStageW, 148}), H(theme.wall2, -0.1, 0.55));
    canvas.fill(shape::rect(Rect{0, kRailY, kStageW, 10}), H(theme.trim, 0, 0.9));
    canvas.fill(shape::rect(Rect{0, kRailY + 10, kStageW, 4}), black(0.2));
    for (int k = 0; k < kPanels; ++k) {
        const double x = 20 + kPanelPitch * k;
        canvas.stroke(shape::roundedRect(Rect{x, kPanelTop, kPanelW, kPanelH}, 3), black(0.18), 2);
        canvas.stroke(shape::roundedRect(Rect{x + 3, kPanelTop + 3, kPanelW - 4, kPanelH - 4}, 2), white(0.18), 1.5);
    }
}

void drawBricks(const Canvas& canvas, const Theme& theme) {
    constexpr int kRows = 19;
    constexpr double kRowH = 22;
    constexpr std::int64_t kBrickPitch = 68;
    constexpr std::int64_t kOddRowShift = -34;
    for (int r = 0; r < kRows; ++r) {
        const double y = kRowH * r;
        for (std::int64_t x = r % 2 == 0 ? 0 : kOddRowShift; x < std::int64_t(kStageW); x += kBrickPitch) {
            const double tint = (unitHash(scatterSeed(x), r) - 0.5) * 0.22;
            canvas.fill(shape::roundedRect(Rect{double(x) + 1.5, y + 1.5, 65, 19}, 2), H(theme.wall, tint, 0.55));
        }
    }
}

void drawDots(const Canvas& canvas) {
    constexpr int kRows = 10;
    constexpr double kDotPitch = 60;
    const QColor dot = white(0.09);
    for (int r = 0; r < kRows; ++r) {
        const double y = 18 + 38 * r;
        for (double x = r % 2 == 0 ? 20 : 50; x < kStageW; x += kDotPitch) {
            canvas.fill(shape::ellipse(Rect{x - 3, y - 3, 6, 6}), dot);
        }
    }
}

void drawWallPattern(const Canvas& canvas, const Theme& theme) {
    switch (theme.pattern) {
        case ostrevan::WallPattern::plain: drawPlainBlotches(canvas, theme); break;
        case ostrevan::WallPattern::stripes: drawStripes(canvas, theme); break;
        case ostrevan::WallPattern::panel: drawWainscot(canvas, theme); break;
        case ostrevan::WallPattern::brick: drawBricks(canvas, theme); break;
        case ostrevan::WallPattern::dots: drawDots(canvas); break;
    }
}

void drawBeamCeiling(const Canvas& canvas) {
    constexpr double kCeilingH = 62;
    constexpr double kJoistPitch = 135;
    constexpr double kCrossBeamH = 14;
    const Rect boards{0, 0, kStageW, kCeilingH};
    canvas.fill(shape::rect(boards), vertical(boards, {H(pal::kCeilingBoardsTop), H(pal::kCeilingBoardsBottom)}));
    for (int i = -4; i <= 4; ++i) {
        const double centre = kCentreX + kJoistPitch * i;
        const double width = 20 + 2 * std::abs(i);
        const Rect joist{centre - width / 2, 0, width, kCeilingH};
        canvas.fill(shape::rect(joist), horizontal(joist, {H(pal::kJoistLit), H(pal::kJoistShaded)}));
    }
    for (double y : {8.0, 40.0}) {
        const Rect beam{0, y, kStageW, kCrossBeamH};
        canvas.fill(shape::rect(beam), vertical(beam, {H(pal::kCrossBeamTop), H(pal::kCrossBeamBottom)}));
        canvas.fill(shape::rect(Rect{0, y, kStageW, 1.5}), white(0.16));
    }
    const Rect shadow{0, kCeilingH, kStageW, 60};
    canvas.fill(shape::rect(shadow), vertical(shadow, {black(0.5), clear()}));
}

void drawPlainCeiling(const Canvas& canvas, const Theme& theme) {
    const Rect band{0, 0, kStageW, 40};
    canvas.fill(shape::rect(band), vertical(band, {H(theme.trim, -0.35), H(theme.trim, -0.1)}));
    canvas.fill(shape::rect(Rect{0, 38, kStageW, 4}), H(theme.trim, 0.1, 0.9));
    const Rect shadow{0, 42, kStageW, 70};
    canvas.fill(shape::rect(shadow), vertical(shadow, {black(0.42), clear()}));
}

void drawCeiling(const Canvas& canvas, const Theme& theme) {
    switch (theme.ceiling) {
        case ostrevan::CeilingStyle::beams: drawBeamCeiling(canvas); break;
        case ostrevan::CeilingStyle::plain: drawPlainCeiling(canvas, theme); break;
    }
}

// Checker and tiles: 9 rows of 20 cells, cells 100 wide on the floor plan from x -500.
void drawCells(const Canvas& canvas, const Theme& theme, bool tiled) {
    constexpr int kFirstColumn = -5;
    constexpr int kLastColumn = 14;
    constexpr double kCellW = 100;
    for (int r = 0; r < kFloorRows; ++r) {
        const double y0 = floorRowY(r);
        const double y1 = floorRowY(r + 1);
        for (int c = kFirstColumn; c <= kLastColumn; ++c) {
            const double x0 = kCellW * c;
            const QPainterPath cell = floorQuad(x0, x0 + kCellW, y0, y1);
            const std::uint32_t colour = (r + c) % 2 == 0 ? theme.floor1 : theme.floor2;
            if (!tiled) {
                canvas.fill(cell, H(colour));
                continue;
            }
            const double tint = (unitHash(scatterSeed(r), c) - 0.5) * 0.12;
            canvas.fill(cell, H(colour, tint));
            canvas.stroke(cell, black(0.4), 1.5);
        }
    }
}

void drawPlanks(const Canvas& canvas, const Theme& theme) {
    constexpr int kFirstBoard = -6;
    constexpr int kLastBoard = 15;
    constexpr double kBoardW = 90;
    constexpr double kSeamW = 1.2;
    for (int c = kFirstBoard; c <= kLastBoard; ++c) {
        const std::uint64_t seed = scatterSeed(c);
        const double x0 = kBoardW * c;
        const double x1 = x0 + kBoardW;
        const std::uint32_t colour = unitHash(seed, 3) > 0.5 ? theme.floor1 : theme.floor2;
        const double tint = (unitHash(seed, 7) - 0.5) * 0.3;
        const QPainterPath board = floorQuad(x0, x1, kHorizon, kStageH);
        canvas.fill(board, H(colour, tint));
        canvas.stroke(board, black(0.35), kSeamW);
        for (int j = 0; j < kFloorRows; ++j) {
            if (unitHash(seed, 20 + j) <= 0.7) continue;
            const double y = floorRowY(j);
            canvas.stroke(shape::line(floorPoint(x0, y), floorPoint(x1, y)), black(0.4), kSeamW);
        }
    }
}

void drawCarpet(const Canvas& canvas, const Theme& theme) {
    constexpr int kPileLines = 60;
    canvas.fill(shape::rect(kFloorBand), vertical(kFloorBand, {H(theme.floor1, -0.1), H(theme.floor2)}));
    for (int i = 0; i < kPileLines; ++i) {
        const std::uint64_t seed = scatterSeed(i);
        const double y = kHorizon + kFloorDepth * unitHash(seed, 4);
        canvas.fill(shape::rect(Rect{0, y, kStageW, 1.2}), white(0.03 + 0.03 * unitHash(seed, 5)));
    }
}

void drawFloor(Canvas canvas, const Theme& theme) {
    canvas.clip(kFloorBand);
    canvas.fill(shape::rect(kFloorBand), H(theme.floor1));
    switch (theme.floorStyle) {
        case ostrevan::FloorStyle::checker: drawCells(canvas, theme, false); break;
        case ostrevan::FloorStyle::tiles: drawCells(canvas, theme, true); break;
        case ostrevan::FloorStyle::planks: drawPlanks(canvas, theme); break;
        case ostrevan::FloorStyle::carpet: drawCarpet(canvas, theme); break;
    }
    canvas.fill(shape::rect(kFloorBand), vertical(kFloorBand, {black(0.5), black(0), black(0.18)}));
    const QPointF spot(kCentreX, 460);
    canvas.fill(shape::ellipse(Rect{170, 130, 660, 660}), radial(spot, 0, 330, {H(theme.light, 0, 0.26), H(theme.light, 0, 0)}));
    canvas.fill(shape::polygon({{330, kHorizon}, {670, kHorizon}, {880, kStageH}, {120, kStageH}}),
                linear({0, kHorizon}, {0, kStageH}, {white(0.09), clear()}));
}

}  // namespace

QPainterPath floorQuad(double x0, double x1, double y0, double y1) {
    return shape::polygon({floorPoint(x0, y0), floorPoint(x1, y0), floorPoint(x1, y1), floorPoint(x0, y1)});
}

void drawRoomShell(Canvas canvas, const Theme& theme) {
    canvas.fill(shape::rect(kWall), linear({0, 0}, {0, kHorizon},
                                           {H(theme.wall, -0.12), H(theme.wall, 0.04), H(theme.wall2, -0.06)}));
    drawWallPattern(canvas, theme);
    canvas.fill(shape::ellipse(Rect{-20, -370, 1040, 1040}),
                radial({kCentreX, 150}, 0, 520, {H(theme.light, 0, 0.3), H(theme.light, 0, 0)}));
    canvas.fill(shape::rect(kWall), radial({kCentreX, 190}, 300, 760, {clear(), black(0.42)}));
    drawCeiling(canvas, theme);

    const Rect baseboard{0, 374, kStageW, 26};
    canvas.fill(shape::rect(baseboard), vertical(baseboard, {H(theme.trim, 0.05), H(theme.trim, -0.18)}));
    canvas.fill(shape::rect(Rect{0, 374, kStageW, 2}), white(0.5));
    canvas.fill(shape::rect(Rect{0, 398, kStageW, 2}), black(0.25));

    drawFloor(canvas, theme);

    canvas.fill(shape::rect(Rect{0, kHorizon, kStageW, 40}), linear({0, kHorizon}, {0, kHorizon + 40}, {black(0.45), clear()}));
    constexpr double kSideShadeW = 70;
    canvas.fill(shape::rect(Rect{0, 0, kSideShadeW, kStageH}), linear({0, 0}, {kSideShadeW, 0}, {black(0.35), clear()}));
    canvas.fill(shape::rect(Rect{kStageW - kSideShadeW, 0, kSideShadeW, kStageH}),
                linear({kStageW - kSideShadeW, 0}, {kStageW, 0}, {clear(), black(0.35)}));
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Door: casing, doorway, swing, lamp

namespace {

constexpr double kDoorwayGlowRadius = 170;
constexpr double kSwingRate = 1.2;     // radians of turn per unit of `open`
constexpr double kNarrowestLeaf = 0.18;
constexpr double kEdgeShade = 0.35;    // darkening of the free edge at open = 1

void drawLeaf(Canvas canvas, ostrevan::DoorStyle style, const Rect& leaf, std::int64_t number);

}  // namespace

void drawDoorLamp(Canvas canvas, bool unlocked, double time) {
    using namespace DoorLayout;
    canvas.fill(shape::roundedRect(lampHousing, 5), vertical(lampHousing, {H(pal::kLampHousingTop), H(pal::kLampHousingBottom)}));
    const std::uint32_t colour = unlocked ? pal::kLampGreen : pal::kLampRed;
    const double intensity = unlocked ? 1.0 : 0.75 + 0.25 * std::sin(3 * time);
    const QPointF centre(lampHousing.midX(), lampHousing.midY());
    canvas.fill(shape::circle(centre, lampGlowRadius),
                radial(centre, 0, lampGlowRadius, {H(colour, 0, 0.5 * intensity), H(colour, 0, 0)}));
    canvas.fill(shape::roundedRect(bulb, 4), H(colour, 0, 0.7 + 0.3 * intensity));
}

void drawDoor(Canvas canvas, ostrevan::DoorStyle style, std::int64_t number, bool unlocked, double open, double time,
              bool showLamp) {
    drawDoorFrame(canvas, open > 0);
    drawDoorLeaf(canvas, style, number, open);

    if (showLamp) drawDoorLamp(canvas, unlocked, time);
}
// ---------------------------------------------------------------------------------------------
// [SECTION] Door leaf: fittings and the ten styles

namespace {

constexpr double kKnobSide = 14;
constexpr double kBarW = 7;

// Two recessed panels across the leaf, `inset` in from each side; darker above, lighter below.
void panelPair(const Canvas& canvas, const Rect& leaf, std::uint32_t colour, double inset) {
    const Rect upper{leaf.minX() + inset, leaf.minY() + 56, leaf.w - 2 * inset, 78};
    const Rect lower{leaf.minX() + inset, leaf.minY() + 148, leaf.w - 2 * inset, 108};
    for (const Rect& panel : {upper, lower}) {
        canvas.fill(shape::roundedRect(panel, 3), vertical(panel, {H(colour, -0.18), H(colour, 0.08)}));
        canvas.stroke(shape::roundedRect(panel, 3), black(0.35), 1.5);
        canvas.stroke(shape::roundedRect(insetBy(panel, 1.5, 1.5), 2), white(0.16), 1);
    }
}

void knob(const Canvas& canvas, double x, double y, bool brass) {
    const Rect k{x - kKnobSide / 2, y - kKnobSide / 2, kKnobSide, kKnobSide};
    Canvas shadow = canvas;
    shadow.addBlur(2.5);
    shadow.fill(shape::ellipse(offsetBy(k, 1.5, 3)), black(0.5));
    const RadialGradient metal = brass ? sphere(k, H(pal::kBrassLight), H(pal::kBrassMid), H(pal::kBrassDark))
                                       : sphere(k, H(pal::kSilverLight), H(pal::kSilverMid), H(pal::kSilverDark));
    canvas.fill(shape::ellipse(k), metal);
}

void bar(const Canvas& canvas, double x, double top, double length) {
    const Rect b{x - kBarW / 2, top, kBarW, length};
    Canvas shadow = canvas;
    shadow.addBlur(2);
    shadow.fill(shape::roundedRect(offsetBy(b, 2, 3), 3), black(0.45));
    canvas.fill(shape::roundedRect(b, 3), horizontal(b, {H(pal::kBarLit), H(pal::kBarShaded)}));
}

void drawWoodLeaf(const Canvas& canvas, const Rect& leaf) {
    constexpr int kSeams = 5;
    constexpr int kGrainStreaks = 14;
    for (int k = 1; k <= kSeams; ++k) {
        canvas.fill(shape::rect(Rect{leaf.minX() + k * leaf.w / 6, leaf.minY(), 1.5, leaf.h}), black(0.35));
    }
    for (int i = 0; i < kGrainStreaks; ++i) {
        const std::uint64_t seed = scatterSeed(i);
        canvas.fill(shape::rect(Rect{leaf.minX() + leaf.w * unitHash(seed, 9), leaf.minY() + leaf.h * unitHash(seed, 10), 1, 30}),
                    white(0.05));
    }
    panelPair(canvas, leaf, pal::kWoodPanel, 16);
    knob(canvas, leaf.maxX() - 20, leaf.midY() + 30, true);
}

void drawSteelLeaf(const Canvas& canvas, const Rect& leaf) {
    constexpr int kSeams = 9;
    constexpr int kLouvres = 9;
    for (int k = 0; k < kSeams; ++k) {
        canvas.fill(shape::rect(Rect{leaf.minX(), leaf.minY() + 40 + 28 * k, leaf.w, 1.5}), black(0.14));
    }
    const Rect vent{leaf.minX() + 30, leaf.maxY() - 96, leaf.w - 60, 52};
    canvas.fill(shape::roundedRect(vent, 3), H(pal::kVentPlate));
    for (int k = 0; k < kLouvres; ++k) {
        const Rect louvre{vent.minX() + 8 + k * (vent.w - 16) / kLouvres, vent.minY() + 7, 6, vent.h - 14};
        canvas.fill(shape::roundedRect(louvre, 1), H(pal::kLouvre));
    }
    bar(canvas, leaf.maxX() - 18, leaf.midY() - 40, 40);
}

void drawRedLeaf(const Canvas& canvas, const Rect& leaf) {
    const Rect window{leaf.minX() + 22, leaf.minY() + 56, leaf.w - 44, 118};
    const QColor glazing = H(pal::kRedGlazing);
    canvas.fill(shape::roundedRect(window, 2), H(pal::kRedWindow, -0.05));
    for (int k = 1; k <= 3; ++k) {
        canvas.fill(shape::rect(Rect{window.minX() + k * window.w / 4 - 1, window.minY(), 2.5, window.h}), glazing);
    }
    for (int k = 1; k <= 5; ++k) {
        canvas.fill(shape::rect(Rect{window.minX(), window.minY() + k * window.h / 6 - 1, window.w, 2.5}), glazing);
    }
    canvas.stroke(shape::roundedRect(window, 2), glazing, 4);
    canvas.fill(shape::roundedRect(Rect{leaf.minX() + 22, leaf.minY() + 190, leaf.w - 44, 66}, 3), H(pal::kRedLowerPanel));
    knob(canvas, leaf.maxX() - 18, leaf.midY() + 28, true);
}

void drawGreenLeaf(const Canvas& canvas, const Rect& leaf) {
    canvas.stroke(shape::roundedRect(Rect{leaf.minX() + 14, leaf.minY() + 50, leaf.w - 28, leaf.h - 66}, 3), black(0.25), 2);
    canvas.fill(shape::roundedRect(Rect{leaf.maxX() - 36, leaf.midY() - 70, 4, 70}, 1), white(0.7));
    knob(canvas, leaf.maxX() - 22, leaf.midY() + 24, false);
}

void drawBlueLeaf(const Canvas& canvas, const Rect& leaf) {
    panelPair(canvas, leaf, pal::kBluePanel, 16);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 2; ++c) {
            canvas.fill(shape::ellipse(Rect{leaf.minX() + 24 + c * (leaf.w - 56), leaf.minY() + 70 + 62 * r, 8, 8}), white(0.35));
        }
    }
    bar(canvas, leaf.maxX() - 20, leaf.midY() - 5, 46);
}

void drawGlassLeaf(const Canvas& canvas, const Rect& leaf) {
    const Rect pane{leaf.minX() + 22, leaf.minY() + 48, leaf.w - 44, leaf.h - 96};
    canvas.fill(shape::roundedRect(pane, 3), vertical(pane, {H(pal::kGlassPaneTop), H(pal::kGlassPaneBottom)}));
    gloss(canvas, pane, 3, 0.22);
    canvas.stroke(shape::roundedRect(pane, 3), H(pal::kGlassPaneEdge), 3);
    bar(canvas, leaf.maxX() - 12, leaf.midY() - 36, 72);
}

void drawBlackLeaf(const Canvas& canvas, const Rect& leaf) {
    const double x0 = leaf.minX();
    canvas.fill(shape::polygon({{x0 + 20, leaf.maxY()}, {x0 + 80, leaf.maxY()}, {x0 + 150, leaf.minY()}, {x0 + 90, leaf.minY()}}),
                white(0.05));
    bar(canvas, leaf.maxX() - 20, leaf.midY() - 50, 100);
}

void drawGoldLeaf(const Canvas& canvas, const Rect& leaf) {
    const QColor frame = H(pal::kGoldFrame);
    canvas.stroke(shape::roundedRect(insetBy(leaf, 14, 46), 3), frame, 2.5);
    canvas.stroke(shape::roundedRect(insetBy(leaf, 22, 54), 3), white(0.35), 1.5);
    const double cx = leaf.midX();
    const double cy = leaf.midY();
    canvas.stroke(shape::polygon({{cx, cy - 16}, {cx + 28, cy + 20}, {cx, cy + 56}, {cx - 28, cy + 20}}), frame, 2.5);
    knob(canvas, leaf.maxX() - 20, leaf.midY() + 20, true);
}

struct LeafBody {
    std::uint32_t top;
    std::uint32_t bottom;
};

LeafBody bodyOf(ostrevan::DoorStyle style) {
    using ostrevan::DoorStyle;
    switch (style) {
        case DoorStyle::wood: return {pal::kWoodTop, pal::kWoodBottom};
        case DoorStyle::orange: return {pal::kOrangeTop, pal::kOrangeBottom};
        case DoorStyle::steel: return {pal::kSteelTop, pal::kSteelBottom};
        case DoorStyle::red: return {pal::kRedTop, pal::kRedBottom};
        case DoorStyle::green: return {pal::kGreenTop, pal::kGreenBottom};
        case DoorStyle::blue: return {pal::kBlueTop, pal::kBlueBottom};
        case DoorStyle::glass: return {pal::kGlassFrameTop, pal::kGlassFrameBottom};
        case DoorStyle::white: return {pal::kWhiteTop, pal::kWhiteBottom};
        case DoorStyle::black: return {pal::kBlackTop, pal::kBlackBottom};
        case DoorStyle::gold: return {pal::kGoldTop, pal::kGoldBottom};
    }
    return {pal::kWoodTop, pal::kWoodBottom};
}

void drawNumberPlate(const Canvas& canvas, const Rect& leaf, std::int64_t number) {
    const Rect plate{leaf.midX() - 27, leaf.minY() + 14, 54, 30};
    Canvas shadow = canvas;
    shadow.addBlur(2);
    shadow.fill(shape::roundedRect(offsetBy(plate, 1, 2.5), 5), black(0.4));
    canvas.fill(shape::roundedRect(plate, 5), vertical(plate, {H(pal::kPlateTop), H(pal::kPlateBottom)}));
    canvas.stroke(shape::roundedRect(plate, 5), white(0.35), 1);
    canvas.drawText(QString::number(number), {plate.midX(), plate.midY() + 0.5},
                    Font{21, FontWeight::heavy, FontDesign::rounded}, white());
    canvas.fill(shape::rect(Rect{leaf.minX(), leaf.minY(), 3, leaf.h}), white(0.18));
    canvas.fill(shape::rect(Rect{leaf.maxX() - 3, leaf.minY(), 3, leaf.h}), black(0.25));
}

void drawLeaf(Canvas canvas, ostrevan::DoorStyle style, const Rect& leaf, std::int64_t number) {
    using ostrevan::DoorStyle;
    const LeafBody body = bodyOf(style);
    canvas.fill(shape::rect(leaf), vertical(leaf, {H(body.top), H(body.bottom)}));
    switch (style) {
        case DoorStyle::wood: drawWoodLeaf(canvas, leaf); break;
        case DoorStyle::orange:
            panelPair(canvas, leaf, pal::kOrangePanel, 18);
            bar(canvas, leaf.maxX() - 20, leaf.midY() - 10, 52);
            break;
        case DoorStyle::steel: drawSteelLeaf(canvas, leaf); break;
        case DoorStyle::red: drawRedLeaf(canvas, leaf); break;
        case DoorStyle::green: drawGreenLeaf(canvas, leaf); break;
        case DoorStyle::blue: drawBlueLeaf(canvas, leaf); break;
        case DoorStyle::glass: drawGlassLeaf(canvas, leaf); break;
        case DoorStyle::white:
            panelPair(canvas, leaf, pal::kWhitePanel, 16);
            knob(canvas, leaf.maxX() - 20, leaf.midY() + 28, true);
            break;
        case DoorStyle::black: drawBlackLeaf(canvas, leaf); break;
        case DoorStyle::gold: drawGoldLeaf(canvas, leaf); break;
    }
    drawNumberPlate(canvas, leaf, number);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Door layers

void drawDoorFrame(Canvas canvas, bool lit) {
    using namespace DoorLayout;
    Canvas shadow = canvas;
    shadow.addBlur(9);
    shadow.fill(shape::roundedRect(offsetBy(casing, 4, 8), 4), black(0.4));
    canvas.fill(shape::roundedRect(casing, 4), vertical(casing, {H(pal::kCasingTop, 0.12), H(pal::kCasingBottom)}));
    canvas.stroke(shape::roundedRect(insetBy(casing, 1, 1), 4), white(0.12), 1);

    canvas.clip(opening);
    canvas.fill(shape::rect(opening), H(pal::kDoorwayDark));
    if (lit) {
        const QPointF middle(opening.midX(), opening.midY());
        canvas.fill(shape::rect(opening), linear({opening.minX(), opening.minY()}, {opening.maxX(), opening.maxY()},
                                                 {H(pal::kDoorwayWarm), H(pal::kDoorwayWhite)}));
        canvas.fill(shape::circle(middle, kDoorwayGlowRadius), radial(middle, 0, kDoorwayGlowRadius, {white(0.9), white(0)}));
    }
}

void drawDoorLeaf(Canvas canvas, ostrevan::DoorStyle style, std::int64_t number, double open) {
    using namespace DoorLayout;
    canvas.clip(leafClip);
    if (!(open > 0)) {
        drawLeaf(canvas, style, opening, number);
        return;
    }
    const double squeeze = std::isfinite(open) ? std::max(std::cos(kSwingRate * open), kNarrowestLeaf) : kNarrowestLeaf;
    canvas.translate(opening.minX(), 0);
    canvas.scale(squeeze, 1);
    canvas.translate(-opening.minX(), 0);
    drawLeaf(canvas, style, opening, number);
    canvas.fill(shape::rect(opening), linear({opening.minX(), 0}, {opening.maxX(), 0}, {black(0), black(kEdgeShade * open)}));
}

}  // namespace tallowmere
