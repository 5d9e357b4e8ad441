// [SECTION] Floor lamp and radio
// [SECTION] Trapdoor, fountain and ice block
// [SECTION] Pedestal, boxes, plant and piano
#include <Tallowmere/Art/FloorArtParts.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ItemArt.hpp>
#include <Tallowmere/Art/Palette.hpp>

#include <QPainterPath>
#include <QString>

#include <array>
#include <cmath>

namespace tallowmere::floorart {

namespace pal = palette;
using ostrevan::Tone;

// ---------------------------------------------------------------------------------------------
// [SECTION] Floor lamp and radio

void drawFloorLamp(Canvas canvas, const art::FloorLamp& lamp, const Rect& r) {
    const QPointF glowCentre(r.midX(), r.y + 0.2 * r.h);
    const Rect pole{r.midX() - 2.5, r.y + 0.3 * r.h, 5, 0.66 * r.h};
    const Rect base{r.x + 0.22 * r.w, r.y + 0.94 * r.h, 0.56 * r.w, 0.06 * r.h};
    const QPainterPath shade = shape::polygon({{r.x + 0.25 * r.w, r.y}, {r.x + 0.75 * r.w, r.y},
                                               {r.x + 0.96 * r.w, r.y + 0.3 * r.h}, {r.x + 0.04 * r.w, r.y + 0.3 * r.h}});
    const std::uint32_t shadeLeft = lamp.on ? pal::kFloorLampLitLeft : pal::kFloorLampOffLeft;
    const std::uint32_t shadeRight = lamp.on ? pal::kFloorLampLitRight : pal::kFloorLampOffRight;

    // First, so the pole and shade lie over it; it reaches well outside the prop.
    if (lamp.on) fillGlow(canvas, glowCentre, 0.7 * r.h, H(pal::kWarmGlow, 0, 0.4), H(pal::kWarmGlow, 0, 0));
    canvas.fill(shape::roundedRect(pole, 2), horizontal(pole, {H(pal::kFloorLampPole), H(pal::kFloorLampPoleShade)}));
    canvas.fill(shape::roundedRect(base, 3), vertical(base, {H(pal::kFloorLampPole), H(pal::kFloorLampBaseShade)}));
    // Across the whole rect, although the shade is narrower at the top.
    canvas.fill(shade, linear(pointIn(r, 0, 0.15), pointIn(r, 1, 0.15), {H(shadeLeft), H(shadeRight)}));
    canvas.stroke(shade, black(0.18), 1);
}

namespace {

// Neither clipped to the display nor scaled to fit: a long text runs past its edges.
void drawRadioText(const Canvas& canvas, const std::optional<std::string>& text, const Rect& display) {
    const QPointF centre(display.midX(), display.midY());
    if (!text) {
        const Font font{0.6 * display.h, FontWeight::bold, FontDesign::monospaced};
        canvas.drawText(QStringLiteral("--"), centre, font, H(pal::kRadioHalo, 0, 0.6));
        return;
    }
    const QString line = QString::fromStdString(*text);
    const Font font{0.7 * display.h, FontWeight::bold, FontDesign::monospaced};
    Canvas halo = canvas;
    halo.addBlur(4);
    halo.drawText(line, centre, font, H(pal::kRadioHalo));
    canvas.drawText(line, centre, font, H(pal::kRadioText));
}

}  // namespace

void drawRadio(Canvas canvas, const art::Radio& radio, const Rect& r) {
    const Rect body{r.x, r.y + 0.12 * r.h, r.w, 0.76 * r.h};
    const Rect speaker{body.x + 0.06 * body.w, body.y + 0.12 * body.h, 0.42 * body.w, 0.76 * body.h};
    const Rect display{body.x + 0.54 * body.w, body.y + 0.14 * body.h, 0.4 * body.w, 0.34 * body.h};
    const double knobD = 0.26 * body.h;
    const double footH = r.maxY() - body.maxY();
    const Rect feet[] = {{r.x + 10, body.maxY(), 7, footH}, {r.maxX() - 16, body.maxY(), 7, footH}};

    canvas.fill(shape::roundedRect(body, 8), vertical(body, {H(pal::kWalnutLight), H(pal::kWalnutDark)}));
    canvas.stroke(shape::roundedRect(insetBy(body, 2, 2), 7), white(0.18), 1);
    canvas.fill(shape::roundedRect(speaker, 5), H(pal::kRadioSpeaker));
    for (int k = 0; k < 6; ++k) {
        const Rect bar{speaker.x + 4, speaker.y + 6 + (speaker.h - 12) * k / 6, speaker.w - 8, 2};
        canvas.fill(shape::rect(bar), H(pal::kRadioGrille));
    }
    canvas.fill(shape::roundedRect(display, 3), H(radio.on ? pal::kRadioDisplayOn : pal::kRadioDisplayOff));
    if (radio.on) drawRadioText(canvas, radio.text, display);
    for (double f : {0.58, 0.78}) {
        const Rect knob{body.x + f * body.w, body.y + 0.6 * body.h, knobD, knobD};
        canvas.fill(shape::ellipse(knob), sphere(knob, H(pal::kBrassLight), H(pal::kBrassMid), H(pal::kRadioKnobDark)));
    }
    canvas.stroke(shape::line(pointIn(r, 0.8, 0.14), pointIn(r, 0.94, -0.02)), H(pal::kSilverMid), 2);
    for (const Rect& foot : feet) canvas.fill(shape::roundedRect(foot, 1), H(pal::kFurnitureFoot));
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Trapdoor, fountain and ice block

void drawTrapdoor(Canvas canvas, const art::Trapdoor& trapdoor, const Rect& r) {
    // Narrower at the far edge: the hatch lies flat in the floor.
    const QPainterPath hatch = shape::polygon({{r.x + 0.06 * r.w, r.y}, {r.maxX() - 0.06 * r.w, r.y},
                                               {r.maxX(), r.maxY()}, {r.x, r.maxY()}});
    if (trapdoor.open) {
        // Raised on the far hinge line, up to 0.55h above the prop.
        const QPainterPath lid = shape::polygon({{r.x + 0.06 * r.w, r.y}, {r.maxX() - 0.06 * r.w, r.y},
                                                 {r.maxX() - 0.12 * r.w, r.y - 0.55 * r.h},
                                                 {r.x + 0.12 * r.w, r.y - 0.55 * r.h}});
        canvas.fill(hatch, H(pal::kTrapdoorPit));
        fillGlow(canvas, {r.midX(), r.midY()}, 0.5 * r.w, H(pal::kAmberGlow, 0, 0.5), H(pal::kAmberGlow, 0, 0));
        canvas.fill(lid, H(pal::kTrapdoorLid));
        canvas.stroke(lid, black(0.4), 1.5);
        return;
    }
    const Rect ring{r.x + 0.42 * r.w, r.y + 0.22 * r.h, 0.16 * r.w, 0.56 * r.h};
    const Rect hinges[] = {{r.x + 0.1 * r.w, r.y + 0.14 * r.h, 0.08 * r.w, 0.14 * r.h},
                           {r.x + 0.82 * r.w, r.y + 0.14 * r.h, 0.08 * r.w, 0.14 * r.h}};

    canvas.fill(hatch, vertical(r, {H(pal::kTrapdoorHatch), H(pal::kDarkOak)}));
    for (int k = 1; k <= 3; ++k) canvas.fill(shape::rect(Rect{r.x + k * r.w / 4, r.y, 1.5, r.h}), black(0.3));
    canvas.stroke(hatch, black(0.5), 2);
    canvas.stroke(shape::ellipse(ring), H(pal::kFittingGold), 3);
    for (const Rect& hinge : hinges) canvas.fill(shape::roundedRect(hinge, 1), H(pal::kTrapdoorHinge));
}

void drawFountain(Canvas canvas, const art::Fountain& fountain, const Rect& r, double time) {
    // The pool light's radii and the ring insets are fixed lengths, whatever the fountain's size.
    constexpr double kWaterLightRadius = 46;
    constexpr double kDryGlintRadius = 26;
    const Rect foot{r.x + 0.1 * r.w, r.y + 0.62 * r.h, 0.8 * r.w, 0.38 * r.h};
    const Rect basin{r.x, r.y + 0.36 * r.h, r.w, 0.34 * r.h};
    const Rect pool = insetBy(basin, 10, 5);
    const QPointF poolCentre(r.midX(), pool.midY());
    const Rect column{r.x + 0.42 * r.w, r.y + 0.06 * r.h, 0.16 * r.w, 0.34 * r.h};
    const Rect bowl{r.x + 0.38 * r.w, r.y, 0.24 * r.w, 0.14 * r.h};

    canvas.fill(shape::roundedRect(foot, 6), vertical(foot, {H(pal::kFountainFootLit), H(pal::kFountainFootShade)}));
    canvas.fill(shape::roundedRect(basin, 10), vertical(basin, {H(pal::kStoneLight), H(pal::kStoneShade)}));
    canvas.fill(shape::roundedRect(pool, 8), H(fountain.water ? pal::kPoolWater : pal::kFountainDryPool));
    if (fountain.water) {
        // Nested rings, outermost first, each breathing sideways a radian behind the last.
        for (int k = 0; k < 3; ++k) {
            const double dx = 8 + 10 * k + 2 * std::sin(2 * time + k);
            canvas.stroke(shape::roundedRect(insetBy(pool, dx, 3 + k), 6), white(0.4), 1);
        }
        fillGlow(canvas, poolCentre, kWaterLightRadius, white(0.4), white(0));
    } else {
        // Something golden glints at the bottom of the dry pool.
        fillGlow(canvas, poolCentre, kDryGlintRadius, H(pal::kAmberGlow, 0, 0.4), H(pal::kAmberGlow, 0, 0));
    }
    canvas.fill(shape::roundedRect(column, 3), horizontal(column, {H(pal::kStoneLight), H(pal::kFountainColumnShade)}));
    canvas.fill(shape::ellipse(bowl),
                sphere(bowl, H(pal::kFountainBowlLight), H(pal::kFountainBowlMid), H(pal::kFountainBowlDark)));
}

void drawIce(Canvas canvas, const art::Ice& ice, const Rect& r) {
    const QPainterPath block = shape::polygon({pointIn(r, 0.1, 0.12), pointIn(r, 0.84, 0), pointIn(r, 1, 0.3),
                                               pointIn(r, 0.94, 0.94), pointIn(r, 0.1, 1), pointIn(r, 0, 0.5)});
    const QPainterPath facet = shape::polygon({pointIn(r, 0.14, 0.2), pointIn(r, 0.5, 0.06), pointIn(r, 0.56, 0.14),
                                               pointIn(r, 0.16, 0.34)});
    const Rect keyBox{r.x + 0.2 * r.w, r.y + 0.3 * r.h, 0.6 * r.w, 0.36 * r.h};

    if (ice.key) fillGlow(canvas, {r.midX(), r.midY()}, 0.6 * r.w, H(pal::kIceGlow, 0, 0.4), H(pal::kIceGlow, 0, 0));
    canvas.fill(block, linear(pointIn(r, 0, 0), pointIn(r, 1, 1),
                              {H(pal::kIceLight, 0, 0.92), H(pal::kIceMid, 0, 0.9), H(pal::kIcePale, 0, 0.9)}));
    // Over the translucent block and under the highlight, so the key reads as inside the ice.
    if (ice.key) drawItem(canvas, ostrevan::ItemKind::key, std::nullopt, keyBox);
    canvas.fill(facet, white(0.55));
    canvas.stroke(block, white(0.7), 1.5);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Pedestal, boxes, plant and piano

void drawPedestal(Canvas canvas, const Rect& r) {
    const Rect capstone{r.x + 0.1 * r.w, r.y, 0.8 * r.w, 0.14 * r.h};
    const Rect column{r.x + 0.2 * r.w, r.y + 0.14 * r.h, 0.6 * r.w, 0.72 * r.h};
    const Rect plinth{r.x + 0.06 * r.w, r.y + 0.86 * r.h, 0.88 * r.w, 0.14 * r.h};

    canvas.fill(shape::roundedRect(capstone, 3), vertical(capstone, {H(pal::kMarble), H(pal::kPedestalCapShade)}));
    canvas.fill(shape::roundedRect(column, 2), horizontal(column, {H(pal::kPedestalColumnLit), H(pal::kStoneShade)}));
    canvas.fill(shape::roundedRect(plinth, 3), vertical(plinth, {H(pal::kMarble), H(pal::kPedestalPlinthShade)}));
}

namespace {

// One carton; the tape and label keep their size whatever the box's.
void drawBox(const Canvas& canvas, const Rect& b, double shade) {
    const QPainterPath carton = shape::roundedRect(b, 2);
    const Rect tape{b.midX() - 7, b.y, 14, b.h};
    const Rect label{b.x + 6, b.maxY() - 16, 18, 10};

    canvas.fill(carton, vertical(b, {H(pal::kCartonLit, shade), H(pal::kCartonShaded, shade)}));
    canvas.fill(shape::rect(tape), H(pal::kCartonTape, shade, 0.7));
    canvas.stroke(carton, black(0.28), 1.2);
    canvas.fill(shape::roundedRect(label, 1), white(0.75));
}

}  // namespace

void drawBoxes(Canvas canvas, const Rect& r) {
    // Later boxes cover earlier ones: the large one, one in front of it, one on top of it.
    drawBox(canvas, Rect{r.x, r.y + 0.42 * r.h, 0.6 * r.w, 0.58 * r.h}, 0);
    drawBox(canvas, Rect{r.x + 0.52 * r.w, r.y + 0.52 * r.h, 0.48 * r.w, 0.48 * r.h}, -0.05);
    drawBox(canvas, Rect{r.x + 0.12 * r.w, r.y, 0.42 * r.w, 0.44 * r.h}, 0.06);
}

void drawPlant(Canvas canvas, const Rect& r) {
    constexpr int kLeaves = 11;
    constexpr double kFanRadians = 2.4;
    constexpr double kLeafBulge = 10;
    constexpr double kLeafSpread = 7;
    const Rect pot{r.x + 0.2 * r.w, r.y + 0.62 * r.h, 0.6 * r.w, 0.38 * r.h};
    const Rect rim{pot.x - 3, pot.y - 3, pot.w + 6, 10};
    // The leaves start under the pot's top edge, so the pot and rim hide their bases.
    const QPointF leafBase(r.midX(), pot.y + 6);

    // Seeds depend on the leaf index alone: every plant in every room has the same leaves.
    for (int i = 0; i < kLeaves; ++i) {
        const std::uint64_t seed = scatterSeed(i);
        const double a = (double(i) / (kLeaves - 1) - 0.5) * kFanRadians - M_PI / 2;
        const double length = r.h * (0.38 + 0.2 * unitHash(seed, 3));
        const QPointF tip(r.midX() + 0.95 * length * std::cos(a), leafBase.y() + length * std::sin(a));
        const QPointF bulge = (leafBase + tip) / 2 + kLeafBulge * QPointF(std::cos(a + M_PI / 2), std::sin(a + M_PI / 2));
        QPainterPath leaf;
        leaf.moveTo(leafBase);
        leaf.quadTo(bulge.x() + kLeafSpread, bulge.y(), tip.x(), tip.y());
        leaf.quadTo(bulge.x() - kLeafSpread, bulge.y(), leafBase.x(), leafBase.y());
        canvas.fill(leaf, H(pal::kPlantLeaf, (unitHash(seed, 4) - 0.5) * 0.45));
        canvas.stroke(leaf, black(0.18), 0.8);
    }
    canvas.fill(shape::polygon({{pot.minX(), pot.minY()}, {pot.maxX(), pot.minY()},
                                {pot.maxX() - 0.12 * pot.w, pot.maxY()}, {pot.minX() + 0.12 * pot.w, pot.maxY()}}),
                horizontal(pot, {H(pal::kPlantPotLit), H(pal::kPlantPotShade)}));
    canvas.fill(shape::roundedRect(rim, 3), H(pal::kPlantRim));
}

namespace {

// The strip order the piano's colour puzzle reads: cyan comes before blue here.
constexpr std::array<Tone, 7> kKeyStrips = {Tone::red, Tone::orange, Tone::yellow, Tone::green,
                                            Tone::cyan, Tone::blue, Tone::purple};
constexpr int kWhiteKeys = 14;

}  // namespace

void drawPiano(Canvas canvas, const Rect& r) {
    const Rect pianoCase{r.x, r.y, r.w, 0.78 * r.h};
    const Rect topBoard{r.x + 0.04 * r.w, r.y + 0.02 * r.h, 0.92 * r.w, 0.2 * r.h};
    const Rect keybed{r.x + 0.06 * r.w, r.y + 0.34 * r.h, 0.88 * r.w, 0.5 * r.h};
    const double pitch = keybed.w / kWhiteKeys;
    const double legH = r.maxY() - pianoCase.maxY();
    const Rect legs[] = {{r.x + 14, pianoCase.maxY(), 10, legH}, {r.maxX() - 24, pianoCase.maxY(), 10, legH}};
    const Rect pedalBox{r.x + 0.38 * r.w, r.y + 0.84 * r.h, 0.24 * r.w, 0.1 * r.h};

    canvas.fill(shape::roundedRect(pianoCase, 8), vertical(pianoCase, {H(pal::kPianoCaseTop), H(pal::kPianoCaseBottom)}));
    gloss(canvas, pianoCase, 8, 0.18);
    canvas.fill(shape::roundedRect(topBoard, 4), vertical(topBoard, {H(pal::kPianoBoardTop), H(pal::kBlackIron)}));
    canvas.fill(shape::roundedRect(keybed, 3), H(pal::kPianoKeybed));
    for (int i = 0; i < kWhiteKeys; ++i) {
        const Rect key{keybed.x + i * pitch + 1, keybed.y + 3, pitch - 2, keybed.h - 3};
        const Rect strip{key.x, key.maxY() - 8, key.w, 8};
        canvas.fill(shape::roundedRect(key, 2), vertical(key, {white(), H(pal::kPianoKeyShade)}));
        canvas.fill(shape::roundedRect(strip, 2), H(hexOf(kKeyStrips[i % kKeyStrips.size()]), 0, 0.9));
    }
    // No black key after white keys 2 and 6 of each octave: groups of two and three.
    for (int j = 0; j < kWhiteKeys - 1; ++j) {
        if (j % 7 == 2 || j % 7 == 6) continue;
        const Rect key{keybed.x + (j + 1) * pitch - 0.28 * pitch, keybed.y + 3, 0.56 * pitch, 0.58 * keybed.h};
        canvas.fill(shape::roundedRect(key, 1.5), H(pal::kPianoBlackKey));
    }
    for (const Rect& leg : legs) canvas.fill(shape::roundedRect(leg, 2), H(pal::kBlackIron));
    canvas.fill(shape::roundedRect(pedalBox, 2), H(pal::kBlackIron));
}

}  // namespace tallowmere::floorart
