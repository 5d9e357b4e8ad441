// [SECTION] Vase, sofa and table
// [SECTION] Chest, cabinet and safe
#include <Tallowmere/Art/FloorArtParts.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Palette.hpp>

#include <QPainterPath>

#include <cmath>
#include <utility>

namespace tallowmere::floorart {

namespace pal = palette;
using ostrevan::Tone;

// ---------------------------------------------------------------------------------------------
// [SECTION] Vase, sofa and table

void drawVase(Canvas canvas, const art::Vase& vase, const Rect& r) {
    const std::uint32_t c = hexOf(vase.tone);
    const Rect highlight{r.x + 0.28 * r.w, r.y + 0.58 * r.h, 0.07 * r.w, 0.3 * r.h};
    // The mouth straddles the top edge, as an opening seen from slightly above.
    const Rect mouth{r.x + 0.33 * r.w, r.y - 0.03 * r.h, 0.34 * r.w, 0.06 * r.h};
    auto p = [&](double fx, double fy) { return pointIn(r, fx, fy); };

    // Symmetric about the middle: neck, shoulder and belly, foot, then back up the left side.
    QPainterPath body;
    body.moveTo(p(0.34, 0));
    body.lineTo(p(0.66, 0));
    body.cubicTo(p(0.64, 0.12), p(0.56, 0.20), p(0.58, 0.28));
    body.cubicTo(p(0.80, 0.34), p(0.90, 0.50), p(0.86, 0.66));
    body.cubicTo(p(0.84, 0.84), p(0.80, 0.96), p(0.70, 1.0));
    body.lineTo(p(0.30, 1.0));
    body.cubicTo(p(0.20, 0.96), p(0.16, 0.84), p(0.14, 0.66));
    body.cubicTo(p(0.10, 0.50), p(0.20, 0.34), p(0.42, 0.28));
    body.cubicTo(p(0.44, 0.20), p(0.36, 0.12), p(0.34, 0));
    body.closeSubpath();

    canvas.fill(body, linear(p(0, 0.5), p(1, 0.5), {H(c, -0.35), H(c, 0.1), H(c, 0.3), H(c, -0.3)}));
    canvas.fill(shape::roundedRect(highlight, 3), white(0.35));
    canvas.fill(shape::ellipse(mouth), H(pal::kVaseMouth));
}

void drawSofa(Canvas canvas, const art::Sofa& sofa, const Rect& r) {
    const std::uint32_t c = hexOf(sofa.tone);
    constexpr double kFootW = 9;
    const Rect back{r.x + 0.06 * r.w, r.y, 0.88 * r.w, 0.62 * r.h};
    const Rect cushions[] = {{r.x + 0.14 * r.w, r.y + 0.08 * r.h, 0.36 * r.w, 0.42 * r.h},
                             {r.x + 0.52 * r.w, r.y + 0.08 * r.h, 0.36 * r.w, 0.42 * r.h}};
    const Rect arms[] = {{r.x, r.y + 0.24 * r.h, 0.12 * r.w, 0.66 * r.h},
                         {r.x + 0.88 * r.w, r.y + 0.24 * r.h, 0.12 * r.w, 0.66 * r.h}};
    const Rect seat{r.x + 0.1 * r.w, r.y + 0.48 * r.h, 0.8 * r.w, 0.34 * r.h};
    const Rect seam{r.x + 0.5 * r.w - 0.75, seat.y + 3, 1.5, seat.h - 6};
    const Rect feet[] = {{r.x + 0.1 * r.w, r.y + 0.86 * r.h, kFootW, 0.14 * r.h},
                         {r.x + 0.86 * r.w, r.y + 0.86 * r.h, kFootW, 0.14 * r.h}};

    canvas.fill(shape::roundedRect(back, 18), vertical(back, {H(c, 0.1), H(c, -0.22)}));
    for (const Rect& cushion : cushions) {
        const QPainterPath path = shape::roundedRect(cushion, 12);
        canvas.fill(path, vertical(cushion, {H(c, 0.22), H(c, -0.05)}));
        canvas.stroke(path, black(0.18), 1.2);
    }
    for (const Rect& arm : arms) {
        const QPainterPath path = shape::roundedRect(arm, 14);
        canvas.fill(path, horizontal(arm, {H(c, 0.18), H(c, -0.3)}));
        canvas.stroke(path, black(0.2), 1.2);
    }
    const QPainterPath seatPath = shape::roundedRect(seat, 10);
    canvas.fill(seatPath, vertical(seat, {H(c, 0.26), H(c, -0.12)}));
    canvas.fill(shape::rect(seam), black(0.22));
    canvas.stroke(seatPath, black(0.2), 1.2);
    for (const Rect& foot : feet) canvas.fill(shape::roundedRect(foot, 2), H(pal::kFurnitureFoot));
}

void drawTable(Canvas canvas, const Rect& r) {
    constexpr double kLegW = 10;
    const double topH = 0.2 * r.h;
    // The legs start just under the top and are drawn first, so the top covers their ends.
    const Rect legs[] = {{r.x + 0.07 * r.w, r.y + topH - 4, kLegW, 0.82 * r.h},
                         {r.x + 0.93 * r.w - kLegW, r.y + topH - 4, kLegW, 0.82 * r.h}};
    const Rect top{r.x, r.y, r.w, topH};
    const Rect highlight{r.x + 2, r.y + 1.5, r.w - 4, 1.5};
    const Rect underShadow{r.x, r.y + topH - 3, r.w, 3};

    for (const Rect& leg : legs) {
        canvas.fill(shape::roundedRect(leg, 2), horizontal(leg, {H(pal::kStandWoodLight), H(pal::kStandWoodDark)}));
    }
    canvas.fill(shape::roundedRect(top, 4), vertical(top, {H(pal::kOakBoard), H(pal::kTableTopShade)}));
    canvas.fill(shape::rect(highlight), white(0.35));
    canvas.fill(shape::rect(underShadow), black(0.3));
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Chest, cabinet and safe

namespace {

struct StrapColours {
    QColor light;
    QColor dark;
};

// A brown chest would hide brown straps, so it gets dark iron ones.
StrapColours strapColours(Tone tone) {
    if (tone == Tone::brown) return {H(pal::kStrapIron), H(pal::kBlackIron)};
    const std::uint32_t c = hexOf(tone);
    return {H(c, -0.05), H(c, -0.35)};
}

void fillStrap(const Canvas& canvas, const Rect& strap, const StrapColours& colours) {
    canvas.fill(shape::roundedRect(strap, 2), horizontal(strap, {colours.light, colours.dark}));
}

void drawOpenChestTop(const Canvas& canvas, const Rect& r, const StrapColours& straps) {
    const double rimY = r.y + 0.42 * r.h;
    const Rect interior{r.x + 6, rimY - 4, r.w - 12, 14};
    const Rect lid{r.x + 0.04 * r.w, r.y, 0.92 * r.w, 0.3 * r.h};
    const Rect lidStraps[] = {{lid.x + 12, r.y, 12, lid.h}, {r.x + 0.96 * r.w - 24, r.y, 12, lid.h}};

    canvas.fill(shape::roundedRect(interior, 3), H(pal::kChestInterior));
    fillGlow(canvas, {r.midX(), rimY + 4}, 0.45 * r.w, H(pal::kInteriorGlow, 0, 0.5), H(pal::kInteriorGlow, 0, 0));
    canvas.fill(shape::roundedRect(lid, 6), vertical(lid, {H(pal::kLidWood), H(pal::kChestLidShade)}));
    for (const Rect& strap : lidStraps) fillStrap(canvas, strap, straps);
}

void drawClosedChestTop(const Canvas& canvas, const Rect& r, const StrapColours& straps) {
    const double domeTop = r.y + 0.1 * r.h;
    const double domeFoot = r.y + 0.44 * r.h;
    const double rimY = r.y + 0.42 * r.h;
    const Rect lockPlate{r.midX() - 8, rimY - 4, 16, 18};
    const Rect keyhole{r.midX() - 2.5, rimY + 3, 5, 5};

    // The control point lies half the lid box's height above its top, which makes the dome.
    QPainterPath dome;
    dome.moveTo(r.x, domeFoot);
    dome.quadTo(r.midX(), r.y - 0.07 * r.h, r.maxX(), domeFoot);
    dome.closeSubpath();

    canvas.fill(dome, linear({r.midX(), domeTop}, {r.midX(), domeFoot}, {H(pal::kChestDomeLight), H(pal::kChestDomeShade)}));
    // The strap rectangles run the full height; the clip keeps only what lies over the dome,
    // lined up with the body straps below.
    Canvas onDome = canvas;
    onDome.clip(dome);
    for (double left : {r.x + 8, r.maxX() - 22}) fillStrap(onDome, Rect{left, r.y - 12, 14, r.h + 14}, straps);
    canvas.fill(shape::roundedRect(lockPlate, 3), H(pal::kFittingGold));
    canvas.fill(shape::ellipse(keyhole), H(pal::kChestKeyhole));
    canvas.stroke(dome, white(0.18), 1);
}

}  // namespace

void drawChest(Canvas canvas, const art::Chest& chest, const Rect& r) {
    const StrapColours straps = strapColours(chest.tone);
    const Rect body{r.x, r.y + 0.42 * r.h, r.w, 0.58 * r.h};
    const Rect bodyStraps[] = {{r.x + 8, body.y, 14, body.h}, {r.maxX() - 22, body.y, 14, body.h}};

    canvas.fill(shape::roundedRect(body, 6), vertical(body, {H(pal::kChestBodyLight), H(pal::kWalnutDark)}));
    for (double quarter : {0.25, 0.5, 0.75}) {
        canvas.fill(shape::rect(Rect{r.x + 2, body.y + quarter * body.h, r.w - 4, 1}), black(0.22));
    }
    for (const Rect& strap : bodyStraps) fillStrap(canvas, strap, straps);
    if (chest.open) drawOpenChestTop(canvas, r, straps);
    else drawClosedChestTop(canvas, r, straps);
}

namespace {

void drawCabinetDoor(const Canvas& canvas, const Rect& door, bool knobOnRight) {
    constexpr double kKnob = 8;
    const Rect knob{knobOnRight ? door.maxX() - 12 : door.x + 4, door.midY() - kKnob / 2, kKnob, kKnob};
    canvas.fill(shape::roundedRect(door, 2), vertical(door, {H(pal::kCabinetDoorLight), H(pal::kCabinetDoorShade)}));
    canvas.stroke(shape::roundedRect(insetBy(door, 6, 6), 2), black(0.25), 1.5);
    canvas.fill(shape::ellipse(knob), sphere(knob, H(pal::kKnobBrassLight), H(pal::kFittingGold), H(pal::kFittingGoldDark)));
}

}  // namespace

void drawCabinet(Canvas canvas, const art::Cabinet& cabinet, const Rect& r) {
    constexpr double kDoorSwing = 14;
    const Rect carcass{r.x, r.y + 0.03 * r.h, r.w, 0.95 * r.h};
    const Rect topBoard{r.x - 0.03 * r.w, r.y, 1.06 * r.w, 0.06 * r.h};
    const Rect inner = insetBy(carcass, 9, 14);
    const Rect feet[] = {{r.x + 8, r.maxY() - 8, 8, 8}, {r.maxX() - 16, r.maxY() - 8, 8, 8}};

    canvas.fill(shape::roundedRect(carcass, 4), vertical(carcass, {H(pal::kWalnutLight), H(pal::kWalnutDark)}));
    canvas.fill(shape::roundedRect(topBoard, 3), H(pal::kOakBoard));
    if (cabinet.open) {
        const Rect shelf{inner.x, inner.midY(), inner.w, 5};
        canvas.fill(shape::roundedRect(inner, 2), H(pal::kCabinetInterior));
        canvas.fill(shape::rect(shelf), H(pal::kCabinetShelf));
        fillGlow(canvas, {inner.midX(), inner.midY()}, 0.7 * inner.w, H(pal::kInteriorGlow, 0, 0.3),
                 H(pal::kInteriorGlow, 0, 0));
        // Swung wide, each door shows as a thin slanted leaf beside its hinge.
        for (const auto& [hinge, outer] : {std::pair{inner.minX(), inner.minX() - kDoorSwing},
                                          std::pair{inner.maxX(), inner.maxX() + kDoorSwing}}) {
            canvas.fill(shape::polygon({{hinge, inner.minY()},
                                        {outer, inner.minY() + 6},
                                        {outer, inner.maxY() - 6},
                                        {hinge, inner.maxY()}}),
                        H(pal::kLidWood));
        }
    } else {
        const double doorW = inner.w / 2 - 1;
        drawCabinetDoor(canvas, Rect{inner.x, inner.y, doorW, inner.h}, true);
        drawCabinetDoor(canvas, Rect{inner.midX() + 1, inner.y, doorW, inner.h}, false);
    }
    for (const Rect& foot : feet) canvas.fill(shape::roundedRect(foot, 1), H(pal::kFurnitureFoot));
}

void drawSafe(Canvas canvas, const art::Safe& safe, const Rect& r) {
    constexpr double kDoorSwing = 24;
    const Rect body{r.x, r.y, r.w, 0.96 * r.h};
    const Rect door = insetBy(body, 10, 10);
    const Rect feet[] = {{r.x + 10, r.maxY() - 6, 14, 6}, {r.maxX() - 24, r.maxY() - 6, 14, 6}};

    canvas.fill(shape::roundedRect(body, 8), vertical(body, {H(pal::kSafeBodyLight), H(pal::kSafeBodyShade)}));
    if (safe.open) {
        canvas.fill(shape::roundedRect(door, 4), H(pal::kSafeInterior));
        fillGlow(canvas, {door.midX(), door.midY()}, 0.6 * door.w, H(pal::kInteriorGlow, 0, 0.35),
                 H(pal::kInteriorGlow, 0, 0));
        canvas.fill(shape::polygon({{door.minX(), door.minY()},
                                    {door.minX() - kDoorSwing, door.minY() + 10},
                                    {door.minX() - kDoorSwing, door.maxY() - 10},
                                    {door.minX(), door.maxY()}}),
                    H(pal::kSafeDoorLight));
    } else {
        const double dialD = 0.4 * door.w;
        const QPointF dialCentre(door.x + 0.38 * door.w, door.midY());
        const Rect dial{dialCentre.x() - dialD / 2, dialCentre.y() - dialD / 2, dialD, dialD};
        const Rect handle{r.maxX() - 34, r.y + 0.48 * r.h - 22, 10, 44};
        const Rect keySlot{r.maxX() - 34, r.y + 20, 10, 16};

        canvas.fill(shape::roundedRect(door, 5), vertical(door, {H(pal::kSafeDoorLight), H(pal::kSafeDoorShade)}));
        canvas.fill(shape::ellipse(dial), sphere(dial, H(pal::kSafeDialFace), H(pal::kSilverMid), H(pal::kGunmetal)));
        for (int i = 0; i < 12; ++i) {
            const double a = i * M_PI / 6;
            const QPointF dir(std::cos(a), std::sin(a));
            canvas.stroke(shape::line(dialCentre + 0.36 * dialD * dir, dialCentre + 0.46 * dialD * dir), black(0.6), 1.4);
        }
        canvas.fill(shape::roundedRect(handle, 4), H(pal::kSafeHandle));
        canvas.fill(shape::roundedRect(keySlot, 2), H(pal::kSafeKeySlot));
    }
    for (const Rect& foot : feet) canvas.fill(shape::roundedRect(foot, 1), H(pal::kSafeFoot));
}

}  // namespace tallowmere::floorart
