// [SECTION] Fridge, barrel and bucket
// [SECTION] Rugs and dice
// [SECTION] Globe and fish tank
#include <Tallowmere/Art/FloorArtParts.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ItemArt.hpp>
#include <Tallowmere/Art/Palette.hpp>

#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::floorart {

namespace pal = palette;

// ---------------------------------------------------------------------------------------------
// [SECTION] Fridge, barrel and bucket

void drawFridge(Canvas canvas, const art::Fridge& fridge, const Rect& r) {
    const Rect b = insetBy(r, 4, 0);
    canvas.fill(shape::roundedRect(b, 8), vertical(b, {H(pal::kFridgeBodyLight), H(pal::kFridgeBodyShade)}));
    if (fridge.open) {
        constexpr double kDoorSwing = 26;
        const Rect inside = insetBy(b, 8, 10);
        // The light's radius is the inside's width, so it spills past the body on the left; the
        // door, drawn after it, covers the spill on the right.
        const double lightRadius = inside.w;
        canvas.fill(shape::roundedRect(inside, 4), H(pal::kFridgeInside));
        fillGlow(canvas, {inside.midX(), inside.midY()}, lightRadius, white(0.9), H(pal::kFridgeLightEdge, 0, 0.4));
        for (int k = 1; k <= 3; ++k) {
            canvas.fill(shape::rect(Rect{inside.x, inside.y + k * inside.h / 4, inside.w, 3}), H(pal::kFridgeShelf));
        }
        canvas.fill(shape::polygon({{b.maxX(), b.minY() + 4},
                                    {b.maxX() + kDoorSwing, b.minY() + 16},
                                    {b.maxX() + kDoorSwing, b.maxY() - 8},
                                    {b.maxX(), b.maxY() - 4}}),
                    H(pal::kFridgeDoor));
        return;
    }
    // Handle lengths are fixed: a short fridge's lower handle may reach below its body.
    const Rect seam{b.x + 4, b.y + 0.36 * b.h, b.w - 8, 2};
    const Rect handles[] = {{b.maxX() - 20, b.y + 22, 5, 52}, {b.maxX() - 20, b.y + 0.42 * b.h, 5, 72}};
    const Rect plate{b.x + 14, b.y + 18, 30, 8};

    canvas.fill(shape::rect(seam), black(0.22));
    for (const Rect& handle : handles) {
        canvas.fill(shape::roundedRect(handle, 2), horizontal(handle, {H(pal::kFridgeHandleLit), H(pal::kFridgeHandleShaded)}));
    }
    gloss(canvas, b, 8, 0.4);
    canvas.fill(shape::roundedRect(plate, 2), H(pal::kFridgePlate));
}

void drawBarrel(Canvas canvas, const art::Barrel& barrel, const Rect& r) {
    const Rect b{r.x + 0.05 * r.w, r.y + 0.08 * r.h, 0.9 * r.w, 0.92 * r.h};
    const double bulge = 0.08 * b.w;
    constexpr double kLidH = 16;

    QPainterPath body;
    body.moveTo(b.minX() + bulge, b.minY());
    body.quadTo(b.minX() - bulge, b.midY(), b.minX() + bulge, b.maxY());
    body.lineTo(b.maxX() - bulge, b.maxY());
    body.quadTo(b.maxX() + bulge, b.midY(), b.maxX() - bulge, b.minY());
    body.closeSubpath();
    canvas.fill(body, horizontal(b, {H(pal::kBarrelStaveDark), H(pal::kBarrelStaveLit), H(pal::kBarrelOak),
                                     H(pal::kBarrelStaveShade)}));
    for (int i = 1; i <= 5; ++i) canvas.fill(shape::rect(Rect{b.x + b.w * i / 6, b.y, 1, b.h}), black(0.25));
    for (double f : {0.18, 0.78}) {
        const Rect hoop{b.x - 2, b.y + f * b.h - 4, b.w + 4, 8};
        canvas.fill(shape::roundedRect(hoop, 3), vertical(hoop, {H(pal::kHoopLit), H(pal::kHoopShaded)}));
    }
    // The lid sits on the prop's top edge, above the body.
    canvas.fill(shape::ellipse(Rect{b.x + 3, r.y, b.w - 6, kLidH}), H(pal::kBarrelOak));
    canvas.fill(shape::ellipse(Rect{b.x + 9, r.y + 3, b.w - 18, kLidH - 6}), H(pal::kDarkOak));
    if (!barrel.tap) return;
    canvas.fill(shape::roundedRect(Rect{b.maxX() - 4, b.midY() + 8, 16, 8}, 2), H(pal::kBrassMid));
    canvas.fill(shape::roundedRect(Rect{b.maxX() + 8, b.midY() + 8, 6, 20}, 2), H(pal::kTapNozzle));
    canvas.fill(shape::roundedRect(Rect{b.maxX() + 2, b.midY(), 5, 10}, 2), H(pal::kTapHandle));
}

void drawBucket(Canvas canvas, const art::Bucket& bucket, const Rect& r) {
    const double rimY = r.y + 0.15 * r.h;
    const Rect mouth{r.x + 0.08 * r.w, r.y + 0.08 * r.h, 0.84 * r.w, 0.14 * r.h};
    const QPointF handleCentre(r.midX(), rimY);
    const double handleRadius = 0.42 * r.w;

    canvas.fill(shape::polygon({{r.x + 0.08 * r.w, rimY}, {r.x + 0.92 * r.w, rimY}, {r.x + 0.8 * r.w, r.maxY()},
                                {r.x + 0.2 * r.w, r.maxY()}}),
                horizontal(r, {H(pal::kBucketLit), H(pal::kBucketShaded)}));
    canvas.fill(shape::ellipse(mouth), H(bucket.full ? pal::kBucketWater : pal::kBucketInside));
    // The upper half circle, from the left over the top to the right.
    QPainterPath handle;
    addArc(handle, handleCentre, handleRadius, 180, 360);
    canvas.stroke(handle, H(pal::kGunmetal), 2);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Rugs and dice

namespace {

std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start) words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

void drawRugLabel(const Canvas& canvas, const std::string& label, const Rect& field) {
    const std::vector<std::string_view> words = wordsOf(label);
    const bool allPictures = !words.empty() && std::all_of(words.begin(), words.end(), isKnownSymbol);
    if (allPictures) {
        const double n = double(words.size());
        const double size = std::min(0.7 * field.w / n, 0.8 * field.h);
        for (std::size_t i = 0; i < words.size(); ++i) {
            const QPointF centre(field.x + field.w * (double(i) + 0.5) / n, field.midY());
            drawSymbol(canvas, words[i], centre, size, H(pal::kRugLabel));
        }
    } else if (label.empty()) {
        constexpr int kDiamonds = 5;
        for (int i = 0; i < kDiamonds; ++i) {
            const QPointF centre(field.x + field.w * (i + 0.5) / kDiamonds, field.midY());
            drawSymbol(canvas, "diamond", centre, 0.5 * field.h, H(pal::kRugThread, 0, 0.45));
        }
    } else {
        // Neither wrapped nor shrunk: the label's size follows the rug's height alone.
        const Font font{0.8 * field.h, FontWeight::heavy, FontDesign::serif};
        canvas.drawText(QString::fromStdString(label), {field.midX(), field.midY()}, font, H(pal::kRugLabel));
    }
}

}  // namespace

void drawRug(Canvas canvas, const art::Rug& rug, const Rect& r) {
    const std::uint32_t c = hexOf(rug.tone);
    constexpr int kFringeStrands = 20;
    // Narrower at the back: the rug lies in perspective.
    const QPainterPath outline = shape::polygon({{r.x + 0.08 * r.w, r.y}, {r.maxX() - 0.08 * r.w, r.y},
                                                 {r.maxX(), r.maxY()}, {r.x, r.maxY()}});
    const Rect field = insetBy(r, 0.07 * r.w, 0.17 * r.h);
    const QPainterPath border = shape::polygon({{field.x + 0.06 * field.w, field.y}, {field.maxX() - 0.06 * field.w, field.y},
                                                {field.maxX(), field.maxY()}, {field.x, field.maxY()}});

    Canvas blurred = canvas;
    blurred.addBlur(4);
    blurred.fill(outline.translated(0, 4), black(0.3));
    canvas.fill(outline, vertical(r, {H(c, 0.05), H(c, -0.18)}));
    canvas.stroke(border, H(pal::kRugThread, 0, 0.8), 2);
    canvas.fill(border, black(0.1));
    for (int i = 0; i < kFringeStrands; ++i) {
        canvas.fill(shape::rect(Rect{r.x + 4 + (r.w - 8) * i / kFringeStrands, r.maxY() - 3, 2, 5}),
                    H(pal::kRugThread, 0, 0.6));
    }
    drawRugLabel(canvas, rug.text, field);
}

void drawRugRolled(Canvas canvas, const art::RugRolled& rug, const Rect& r) {
    const std::uint32_t c = hexOf(rug.tone);
    const Rect roll{r.x, r.y + 2, 0.2 * r.w, r.h - 4};
    const double rollRadius = 0.1 * r.w;
    const QPainterPath rollPath = shape::roundedRect(roll, rollRadius);

    // Where the rug lay, the floor is darker.
    canvas.fill(shape::polygon({{r.x + 0.2 * r.w, r.y + 4}, {r.maxX() - 0.1 * r.w, r.y + 4}, {r.maxX(), r.maxY() - 4},
                                {r.x + 0.12 * r.w, r.maxY() - 4}}),
                black(0.22));
    for (int i = 0; i < 5; ++i) {
        canvas.fill(shape::rect(Rect{r.x + 0.2 * r.w + 0.16 * r.w * i, r.y + 4, 1.5, r.h - 8}), black(0.25));
    }
    Canvas blurred = canvas;
    blurred.addBlur(3);
    blurred.fill(shape::roundedRect(offsetBy(roll, 3, 3), rollRadius), black(0.4));
    canvas.fill(rollPath, horizontal(roll, {H(c, 0.2), H(c, -0.3)}));
    for (double f : {0.15, 0.35, 0.55, 0.75}) {
        canvas.fill(shape::rect(Rect{r.x + 2, roll.y + f * roll.h, 0.2 * r.w - 4, 1.5}), black(0.18));
    }
}

namespace {

struct Pip {
    double x;
    double y;
};

// Pip centres as fractions of the face, for the values 1 to 6; any other value shows none.
std::span<const Pip> pipsFor(int value) {
    static constexpr Pip kOne[] = {{0.5, 0.5}};
    static constexpr Pip kTwo[] = {{0.28, 0.28}, {0.72, 0.72}};
    static constexpr Pip kThree[] = {{0.26, 0.26}, {0.5, 0.5}, {0.74, 0.74}};
    static constexpr Pip kFour[] = {{0.28, 0.28}, {0.72, 0.28}, {0.28, 0.72}, {0.72, 0.72}};
    static constexpr Pip kFive[] = {{0.28, 0.28}, {0.72, 0.28}, {0.5, 0.5}, {0.28, 0.72}, {0.72, 0.72}};
    static constexpr Pip kSix[] = {{0.3, 0.24}, {0.7, 0.24}, {0.3, 0.5}, {0.7, 0.5}, {0.3, 0.76}, {0.7, 0.76}};
    switch (value) {
        case 1: return kOne;
        case 2: return kTwo;
        case 3: return kThree;
        case 4: return kFour;
        case 5: return kFive;
        case 6: return kSix;
        default: return {};
    }
}

void drawDie(const Canvas& canvas, int value, double left, double top, double s, double floorY) {
    // The top and right faces lean up and to the right.
    const double lean = 0.22 * s;
    const double rise = 0.2 * s;
    const Rect face{left, top, s, s};
    const QPainterPath facePath = shape::roundedRect(face, 0.12 * s);
    const bool isOne = value == 1;
    const double pipD = (isOne ? 0.26 : 0.17) * s;
    const QColor pipColour = isOne ? H(pal::kDieRedPip) : H(pal::kDiePip);

    Canvas blurred = canvas;
    blurred.addBlur(3);
    blurred.fill(shape::ellipse(Rect{left - 2, floorY - 6, s + 8, 10}), black(0.4));
    canvas.fill(shape::polygon({{left, top}, {left + lean, top - rise}, {left + s + lean, top - rise}, {left + s, top}}),
                white());
    canvas.fill(shape::polygon({{left + s, top}, {left + s + lean, top - rise}, {left + s + lean, top + s - rise},
                                {left + s, top + s}}),
                H(pal::kDieSide));
    canvas.fill(facePath, vertical(face, {white(), H(pal::kDieFaceShade)}));
    canvas.stroke(facePath, black(0.2), 1);
    for (const Pip& pip : pipsFor(value)) {
        canvas.fill(shape::circle({left + pip.x * s, top + pip.y * s}, pipD / 2), pipColour);
    }
}

}  // namespace

void drawDice(Canvas canvas, const art::Dice& dice, const Rect& r) {
    if (dice.values.empty()) return;
    const double n = double(dice.values.size());
    const double s = std::min(0.86 * r.w / n, r.h);
    // Equal gaps between the dice and at both ends.
    const double gap = (r.w - n * s) / (n + 1);
    const double top = r.maxY() - s;
    // Left to right, each die whole before the next, so a die covers its left neighbour's side.
    for (std::size_t i = 0; i < dice.values.size(); ++i) {
        drawDie(canvas, dice.values[i], r.x + gap + double(i) * (s + gap), top, s, r.maxY());
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Globe and fish tank

void drawGlobe(Canvas canvas, const Rect& r) {
    const Rect sphereBox{r.x + 0.1 * r.w, r.y, 0.8 * r.w, 0.72 * r.h};
    const Rect foot{r.x + 0.3 * r.w, r.y + 0.84 * r.h, 0.4 * r.w, 0.16 * r.h};
    const Rect stem{r.x + 0.44 * r.w, r.y + 0.68 * r.h, 0.12 * r.w, 0.18 * r.h};

    canvas.fill(shape::ellipse(sphereBox), sphere(sphereBox, H(pal::kGlobeLight), H(pal::kGlobeBase), H(pal::kGlobeDark)));
    canvas.fill(shape::roundedRect(foot, 3), vertical(foot, {H(pal::kGlobeFootLit), H(pal::kSilverDark)}));
    // Last, over the sphere's foot and the stand's top.
    canvas.fill(shape::roundedRect(stem, 2), H(pal::kPewter));
}

namespace {

constexpr double kTankCorner = 6;

void drawTankKey(const Canvas& inTank, const Rect& r, const Rect& glass, double time) {
    constexpr double kKeyW = 30;
    constexpr double kKeyH = 14;
    constexpr double kGlowRadius = 26;
    const double kx = r.midX() - 14;
    const double ky = glass.maxY() - 0.22 * glass.h;
    const QPointF glowCentre(kx + 15, ky + 7);
    const double pulse = 0.55 + 0.2 * std::sin(3 * time);

    fillGlow(inTank, glowCentre, kGlowRadius, H(pal::kAmberGlow, 0, pulse), H(pal::kAmberGlow, 0, 0));
    drawItem(inTank, ostrevan::ItemKind::key, std::nullopt, Rect{kx, ky, kKeyW, kKeyH});
}

}  // namespace

void drawFishTank(Canvas canvas, const art::FishTank& tank, const Rect& r, double time) {
    const Rect glass{r.x, r.y, r.w, 0.84 * r.h};
    const Rect stand{r.x + 0.04 * r.w, r.y + 0.82 * r.h, 0.92 * r.w, 0.18 * r.h};
    const Rect sand{r.x, glass.maxY() - 0.16 * glass.h, r.w, 0.16 * glass.h};
    // The fish swims to and fro at a fixed height, always facing right.
    const double fishX = r.x + (0.3 + 0.35 * (0.5 + 0.5 * std::sin(0.8 * time))) * r.w;
    const double fishY = glass.y + 0.32 * glass.h;
    const QPainterPath glassPath = shape::roundedRect(glass, kTankCorner);

    canvas.fill(shape::roundedRect(stand, 3), vertical(stand, {H(pal::kStandWoodLight), H(pal::kStandWoodDark)}));

    Canvas inTank = canvas;
    inTank.clip(glassPath);
    inTank.fill(shape::rect(glass), vertical(glass, {H(pal::kTankWaterTop, 0, 0.75), H(pal::kTankWaterBottom, 0, 0.9)}));
    inTank.fill(shape::rect(sand), H(pal::kTankSand));
    for (int i = 0; i < 3; ++i) {
        const double p = r.x + (0.15 + 0.3 * i) * r.w;
        QPainterPath weed;
        weed.moveTo(p, glass.maxY() - 0.14 * glass.h);
        weed.quadTo(p - 8, glass.maxY() - 0.35 * glass.h, p + 4, glass.maxY() - 0.55 * glass.h);
        inTank.stroke(weed, H(pal::kTankWeed), 3);
    }
    QPainterPath fish = shape::ellipse(Rect{fishX, fishY, 22, 11});
    fish.addPath(shape::polygon({{fishX, fishY + 5}, {fishX - 8, fishY}, {fishX - 8, fishY + 11}}));
    inTank.fill(fish, H(hexOf(ostrevan::Tone::orange)));
    if (tank.key) drawTankKey(inTank, r, glass, time);
    inTank.fill(shape::rect(Rect{r.x, r.y, r.w, 4}), white(0.3));

    gloss(canvas, glass, kTankCorner, 0.2);
    canvas.stroke(glassPath, white(0.55), 2.5);
    canvas.stroke(shape::roundedRect(insetBy(glass, -2.5, -2.5), kTankCorner + 1), black(0.4), 1);
}

}  // namespace tallowmere::floorart
