// [SECTION] Frame: the square, the metal colours, the tints and the turned kinds
// [SECTION] Key to card
// [SECTION] Orb to remote
// [SECTION] Dispatch
#include <Tallowmere/Art/ItemArt.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Palette.hpp>

#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tallowmere {

namespace {

using ostrevan::ItemKind;
using ostrevan::Tone;
namespace pal = palette;

// ---------------------------------------------------------------------------------------------
// [SECTION] Frame: the square, the metal colours, the tints and the turned kinds

// Every picture is laid out in fractions of the side `s` of a square centred on the caller's
// rect, y down; corner radii and line widths given as plain numbers stay absolute.
struct ItemFrame {
    double cx = 0;
    double cy = 0;
    double s = 0;

    QPointF at(double x, double y) const { return {cx + x * s, cy + y * s}; }
    Rect box(double x, double y, double w, double h) const { return Rect{cx + x * s, cy + y * s, w * s, h * s}; }
};

struct Metal {
    QColor light;
    QColor mid;
    QColor dark;
};

Metal metal(std::optional<Tone> tone) {
    if (!tone) return {H(pal::kItemBrassLight), H(pal::kItemBrassMid), H(pal::kItemBrassDark)};
    if (*tone == Tone::white) return {H(pal::kItemSilverLight), H(pal::kItemSilverMid), H(pal::kItemSilverDark)};
    const std::uint32_t hex = hexOf(*tone);
    return {H(hex, 0.5), H(hex), H(hex, -0.4)};
}

std::uint32_t tint(std::optional<Tone> tone, std::uint32_t fallback) {
    return tone ? hexOf(*tone) : fallback;
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

Font glyphFont(double size) {
    return Font{size, FontWeight::bold, FontDesign::rounded};
}

StrokeStyle roundStroke(double width) {
    StrokeStyle style;
    style.width = width;
    style.cap = LineCap::round;
    return style;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    for (const QPointF& p : points) {
        if (path.elementCount() == 0) path.moveTo(p); else path.lineTo(p);
    }
    return path;
}

// A key lies flat in a rect at least this many times as wide as high, and turns otherwise.
constexpr double kKeyFlatRatio = 1.6;

// Clockwise on screen is positive; every turned kind leans up to the right.
double turnDegrees(ItemKind kind, const Rect& rect) {
    switch (kind) {
        case ItemKind::key:
        case ItemKind::keyTop:
        case ItemKind::keyBlade: return rect.w / std::max(rect.h, 1.0) < kKeyFlatRatio ? -38 : 0;
        case ItemKind::battery:
        case ItemKind::fuse:
        case ItemKind::scissors: return -30;
        case ItemKind::screwdriver:
        case ItemKind::wrench: return -40;
        case ItemKind::torch:
        case ItemKind::net: return -35;
        case ItemKind::match: return -45;
        case ItemKind::card: return -12;
        case ItemKind::paper: return -8;
        case ItemKind::remote: return -20;
        case ItemKind::coin: case ItemKind::magnifier: case ItemKind::crank: case ItemKind::orb:
        case ItemKind::magnet: case ItemKind::string: case ItemKind::gear: case ItemKind::bulb:
        case ItemKind::bucket: case ItemKind::gem: return 0;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Key to card

// The whole key, its bow with a stub of shaft, or its blade without the bow.
enum class KeyPart { whole, top, blade };

void drawKey(Canvas canvas, const ItemFrame& f, const Metal& m, KeyPart part) {
    const bool hasBow = part != KeyPart::blade;
    const bool hasTeeth = part != KeyPart::top;
    const double shaftStart = part == KeyPart::blade ? -0.46 : -0.12;
    const double shaftEnd = part == KeyPart::top ? 0.12 : 0.46;
    constexpr double kShaftTop = -0.055;
    constexpr double kShaftH = 0.11;
    constexpr double kBreakStep = 0.04;

    if (hasBow) {
        QPainterPath bow = shape::ellipse(f.box(-0.46, -0.2, 0.4, 0.4));
        bow.addPath(shape::ellipse(f.box(-0.37, -0.11, 0.22, 0.22)));
        canvas.fill(bow, linear(f.at(-0.46, -0.2), f.at(-0.06, 0.2), {m.light, m.mid, m.dark}), FillRule::evenOdd);
    }
    const Rect shaft = f.box(shaftStart, kShaftTop, shaftEnd - shaftStart, kShaftH);
    canvas.fill(shape::roundedRect(shaft, 1), vertical(shaft, {m.light, m.dark}));
    if (hasTeeth) {
        for (const Rect& tooth : {f.box(0.2, 0.05, 0.065, 0.13), f.box(0.3, 0.05, 0.065, 0.1),
                                  f.box(0.4, 0.05, 0.065, 0.13)}) {
            canvas.fill(shape::roundedRect(tooth, 1), m.mid);
        }
    }
    if (part != KeyPart::whole) {
        // The zig-zag points away from the key, towards where the missing half was.
        const double x0 = part == KeyPart::top ? shaftEnd : shaftStart;
        const double d = part == KeyPart::top ? -kBreakStep : kBreakStep;
        canvas.stroke(polyline({f.at(x0, -0.07), f.at(x0 + d, -0.02), f.at(x0, 0.03), f.at(x0 + d, 0.07)}),
                      black(0.5), 1.2);
    }
}

void drawCoin(Canvas canvas, const ItemFrame& f, const Metal& m) {
    const Rect disc = f.box(-0.4, -0.4, 0.8, 0.8);
    const Rect ring = f.box(-0.28, -0.28, 0.56, 0.56);
    canvas.fill(shape::ellipse(disc), sphere(disc, m.light, m.mid, m.dark));
    canvas.stroke(shape::ellipse(ring), withOpacity(m.dark, 0.7), 1.5);
    canvas.drawText(QStringLiteral("$"), f.at(0, 0), glyphFont(0.34 * f.s), m.dark);
}

void drawBattery(Canvas canvas, const ItemFrame& f) {
    const Rect body = f.box(-0.38, -0.17, 0.76, 0.34);
    const Rect charge = f.box(-0.38, -0.17, 0.5, 0.34);
    const Rect terminal = f.box(0.38, -0.07, 0.07, 0.14);
    canvas.fill(shape::roundedRect(body, 3), vertical(body, {H(pal::kBatteryTop), H(pal::kDarkPlastic)}));
    canvas.fill(shape::roundedRect(charge, 3), vertical(charge, {H(pal::kChargeTop), H(pal::kChargeBottom)}));
    canvas.fill(shape::roundedRect(terminal, 1), H(pal::kItemSilverMid));
    canvas.drawText(QStringLiteral("+"), f.at(0.22, 0), glyphFont(0.22 * f.s), white());
}

void drawScrewdriver(Canvas canvas, const ItemFrame& f) {
    const Rect handle = f.box(-0.46, -0.11, 0.34, 0.22);
    const Rect shaft = f.box(-0.14, -0.04, 0.58, 0.08);
    canvas.fill(shape::roundedRect(handle, 5), vertical(handle, {H(pal::kGripRed), H(pal::kGripRedDark)}));
    canvas.fill(shape::roundedRect(shaft, 1), vertical(shaft, {H(pal::kSteelLit), H(pal::kSteelShaded)}));
}

void drawMagnifier(Canvas canvas, const ItemFrame& f, const Metal& m) {
    canvas.stroke(shape::ellipse(f.box(-0.38, -0.38, 0.54, 0.54)), m.mid, 0.08 * f.s);
    canvas.fill(shape::ellipse(f.box(-0.35, -0.35, 0.48, 0.48)), H(pal::kLensGlass, 0, 0.45));
    canvas.stroke(shape::line(f.at(0.1, 0.1), f.at(0.4, 0.4)), H(pal::kHandleWood), roundStroke(0.12 * f.s));
}

void drawTorch(Canvas canvas, const ItemFrame& f, std::uint32_t t) {
    const Rect body = f.box(-0.4, -0.12, 0.5, 0.24);
    const QPointF beamCentre = f.at(0.36, 0);
    const double beamRadius = 0.36 * f.s;
    canvas.fill(shape::roundedRect(body, 3), vertical(body, {H(pal::kGunmetal), H(pal::kTorchBottom)}));
    canvas.fill(shape::polygon({f.at(0.1, -0.12), f.at(0.34, -0.2), f.at(0.34, 0.2), f.at(0.1, 0.12)}),
                H(pal::kPewter));
    canvas.fill(shape::circle(beamCentre, beamRadius), radial(beamCentre, 0, beamRadius, {H(t, 0, 0.7), H(t, 0, 0)}));
    canvas.fill(shape::ellipse(f.box(0.3, -0.16, 0.1, 0.32)), H(t));
}

void drawMatch(Canvas canvas, const ItemFrame& f) {
    const Rect stick = f.box(-0.42, -0.04, 0.8, 0.08);
    const Rect head = f.box(0.3, -0.1, 0.18, 0.2);
    canvas.fill(shape::roundedRect(stick, 1), vertical(stick, {H(pal::kMatchStickTop), H(pal::kMatchStickBottom)}));
    canvas.fill(shape::ellipse(head), sphere(head, H(pal::kMatchHeadLight), H(pal::kGripRed), H(pal::kMatchHeadDark)));
}

void drawCrank(Canvas canvas, const ItemFrame& f, const Metal& m) {
    const Rect arm = f.box(-0.34, 0.2, 0.5, 0.12);
    const Rect shaft = f.box(-0.34, -0.3, 0.12, 0.6);
    const Rect grip = f.box(0.1, 0.1, 0.34, 0.3);
    canvas.fill(shape::roundedRect(arm, 3), vertical(arm, {m.light, H(pal::kSteelShaded)}));
    canvas.fill(shape::roundedRect(shaft, 3), horizontal(shaft, {H(pal::kSteelLit), H(pal::kSteelShaded)}));
    canvas.fill(shape::roundedRect(grip, 5), vertical(grip, {H(pal::kGripRed), H(pal::kGripRedDark)}));
}

void drawFuse(Canvas canvas, const ItemFrame& f, std::uint32_t t) {
    const Rect glass = f.box(-0.34, -0.15, 0.68, 0.3);
    canvas.fill(shape::roundedRect(glass, 4),
                vertical(glass, {H(pal::kFuseGlassTop, 0, 0.9), H(pal::kSteelPale, 0, 0.9)}));
    canvas.fill(shape::roundedRect(f.box(-0.34, -0.15, 0.16, 0.3), 3), H(pal::kFuseCap));
    canvas.fill(shape::roundedRect(f.box(0.18, -0.15, 0.16, 0.3), 3), H(pal::kFuseCap));
    canvas.fill(shape::rect(f.box(-0.17, -0.015, 0.34, 0.03)), H(t));
    canvas.fill(shape::roundedRect(f.box(-0.12, -0.12, 0.24, 0.24), 2), H(t, 0, 0.35));
}

void drawCard(Canvas canvas, const ItemFrame& f) {
    constexpr double kCardRadius = 5;
    const Rect card = f.box(-0.44, -0.28, 0.88, 0.56);
    const Rect chip = f.box(-0.34, 0.06, 0.2, 0.15);
    canvas.fill(shape::roundedRect(card, kCardRadius), vertical(card, {H(pal::kCardTop), H(pal::kCardBottom)}));
    canvas.fill(shape::rect(f.box(-0.44, -0.12, 0.88, 0.12)), H(pal::kCardStripe));
    canvas.fill(shape::roundedRect(chip, 2), vertical(chip, {H(pal::kChipTop), H(pal::kChipBottom)}));
    gloss(canvas, card, kCardRadius, 0.2);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Orb to remote

void drawOrb(Canvas canvas, const ItemFrame& f, std::uint32_t t) {
    const QPointF centre = f.at(0, 0);
    const double haloRadius = 0.52 * f.s;
    const Rect ball = f.box(-0.34, -0.34, 0.68, 0.68);
    canvas.fill(shape::circle(centre, haloRadius), radial(centre, 0, haloRadius, {H(t, 0, 0.55), H(t, 0, 0)}));
    canvas.fill(shape::ellipse(ball), sphere(ball, H(t, 0.7), H(t), H(t, -0.45)));
    canvas.fill(shape::ellipse(f.box(-0.18, -0.24, 0.2, 0.12)), white(0.7));
}

void drawNet(Canvas canvas, const ItemFrame& f) {
    constexpr int kMeshLines = 3;
    const Rect handle = f.box(-0.46, -0.03, 0.5, 0.06);
    canvas.fill(shape::roundedRect(handle, 2), vertical(handle, {H(pal::kNetHandleTop), H(pal::kHandleWood)}));
    canvas.stroke(shape::ellipse(f.box(0, -0.25, 0.46, 0.5)), H(pal::kItemSilverMid), 2.5);
    // The mesh quarters the hoop's box and runs past the hoop's curve; the hoop hides little of it.
    for (int k = 1; k <= kMeshLines; ++k) {
        const double x = 0.115 * k;
        const double y = -0.25 + 0.125 * k;
        canvas.stroke(shape::line(f.at(x, -0.22), f.at(x, 0.22)), white(0.6), 1);
        canvas.stroke(shape::line(f.at(0.02, y), f.at(0.44, y)), white(0.6), 1);
    }
}

void drawMagnet(Canvas canvas, const ItemFrame& f, std::uint32_t t) {
    const QPointF archCentre = f.at(0, -0.02);
    const double outer = 0.27 * f.s;
    const double inner = 0.13 * f.s;
    QPainterPath horseshoe;
    addArc(horseshoe, archCentre, outer, 180, 360);
    horseshoe.lineTo(f.at(0.27, 0.3));
    horseshoe.lineTo(f.at(0.13, 0.3));
    horseshoe.lineTo(f.at(0.13, -0.02));
    addArc(horseshoe, archCentre, inner, 0, -180);
    horseshoe.lineTo(f.at(-0.13, 0.3));
    horseshoe.lineTo(f.at(-0.27, 0.3));
    horseshoe.closeSubpath();
    canvas.fill(horseshoe, H(t));
    canvas.fill(shape::rect(f.box(-0.27, 0.2, 0.14, 0.1)), H(pal::kSteelLit));
    canvas.fill(shape::rect(f.box(0.13, 0.2, 0.14, 0.1)), H(pal::kSteelLit));
    canvas.stroke(horseshoe, black(0.3), 1);
}

void drawString(Canvas canvas, const ItemFrame& f) {
    constexpr int kWindings = 5;
    constexpr double kSweepDegrees = 220;
    const Rect ball = f.box(-0.34, -0.34, 0.68, 0.68);
    canvas.fill(shape::ellipse(ball), sphere(ball, H(pal::kStringLight), H(pal::kStringMid), H(pal::kStringDark)));
    for (int i = 0; i < kWindings; ++i) {
        const double start = 40.0 * i;
        QPainterPath winding;
        addArc(winding, f.at(0, 0), (0.12 + 0.045 * i) * f.s, start, start + kSweepDegrees);
        canvas.stroke(winding, H(pal::kStringDark, 0, 0.7), 1);
    }
}

void drawWrench(Canvas canvas, const ItemFrame& f) {
    const Rect shaft = f.box(-0.4, -0.06, 0.7, 0.12);
    canvas.fill(shape::roundedRect(shaft, 3), vertical(shaft, {H(pal::kSteelLit), H(pal::kSteelShaded)}));
    canvas.stroke(shape::ellipse(f.box(0.18, -0.19, 0.3, 0.38)), H(pal::kSteelPale), 0.09 * f.s);
}

void drawScissors(Canvas canvas, const ItemFrame& f) {
    const double ringWidth = 0.06 * f.s;
    for (const double y : {-0.1, 0.04}) {
        const Rect blade = f.box(-0.08, y, 0.5, 0.06);
        // The upper ring hangs above its blade, the lower one below.
        const double ringY = y < 0 ? -0.24 : 0.04;
        canvas.fill(shape::roundedRect(blade, 1), vertical(blade, {H(pal::kSteelLit), H(pal::kSteelShaded)}));
        canvas.stroke(shape::ellipse(f.box(-0.44, ringY, 0.24, 0.2)), H(pal::kGripRed), ringWidth);
    }
}

void drawPaper(Canvas canvas, const ItemFrame& f) {
    constexpr int kLines = 5;
    constexpr double kLineH = 1.5;
    const Rect sheet = f.box(-0.3, -0.38, 0.6, 0.76);
    canvas.fill(shape::roundedRect(sheet, 2), vertical(sheet, {white(), H(pal::kPaperBottom)}));
    for (int k = 0; k < kLines; ++k) {
        const QPointF origin = f.at(-0.2, -0.26 + 0.13 * k);
        canvas.fill(shape::rect(Rect{origin.x(), origin.y(), 0.4 * f.s, kLineH}), black(0.3));
    }
}

void drawGear(Canvas canvas, const ItemFrame& f, std::uint32_t t) {
    constexpr int kSteps = 20;  // a tooth face and a gap floor for each of the ten teeth
    constexpr double kFirstAngle = 0.2;
    constexpr double kGapRatio = 0.8;
    constexpr double kHubRatio = 0.28;
    const double outer = 0.42 * f.s;
    const QPointF centre = f.at(0, 0);
    const auto pointAt = [&](double radius, double angle) {
        return QPointF(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
    };
    QPainterPath outline;
    for (int k = 0; k < kSteps; ++k) {
        const double a = kFirstAngle + k * std::numbers::pi / 10;
        const double r = k % 2 == 0 ? outer : kGapRatio * outer;
        if (k == 0) outline.moveTo(pointAt(r, a)); else outline.lineTo(pointAt(r, a));
        outline.lineTo(pointAt(r, a + std::numbers::pi / 20));
    }
    outline.closeSubpath();
    canvas.fill(outline, H(t));
    canvas.fill(shape::circle(centre, kHubRatio * outer), black(0.45));
    canvas.stroke(outline, white(0.25), 1);
}

void drawBulb(Canvas canvas, const ItemFrame& f) {
    constexpr int kThreads = 3;
    constexpr double kThreadH = 1.2;
    const QPointF glowCentre = f.at(0, -0.08);
    const double glowRadius = 0.5 * f.s;
    const Rect glass = f.box(-0.26, -0.42, 0.52, 0.52);
    const Rect base = f.box(-0.12, 0.08, 0.24, 0.26);
    canvas.fill(shape::circle(glowCentre, glowRadius),
                radial(glowCentre, 0, glowRadius, {H(pal::kBulbGlow, 0, 0.4), H(pal::kBulbGlow, 0, 0)}));
    canvas.fill(shape::ellipse(glass), sphere(glass, white(), H(pal::kBulbGlass), H(pal::kBulbAmber)));
    canvas.fill(shape::roundedRect(base, 2), vertical(base, {H(pal::kSteelPale), H(pal::kItemSilverDark)}));
    for (int k = 0; k < kThreads; ++k) {
        const QPointF origin = f.at(-0.12, 0.13 + 0.06 * k);
        canvas.fill(shape::rect(Rect{origin.x(), origin.y(), 0.24 * f.s, kThreadH}), black(0.4));
    }
}

// The body's shading spans the caller's whole rect, so a wide rect shows only its middle.
void drawBucket(Canvas canvas, const ItemFrame& f, std::optional<Tone> tone, const Rect& rect) {
    const bool hasWater = tone == Tone::cyan;
    canvas.fill(shape::polygon({f.at(-0.32, -0.18), f.at(0.32, -0.18), f.at(0.24, 0.36), f.at(-0.24, 0.36)}),
                horizontal(rect, {H(pal::kBucketLit), H(pal::kBucketShaded)}));
    canvas.fill(shape::ellipse(f.box(-0.32, -0.25, 0.64, 0.14)),
                H(hasWater ? pal::kBucketWater : pal::kBucketInside));
    QPainterPath handle;
    addArc(handle, f.at(0, -0.18), 0.3 * f.s, 180, 360);
    canvas.stroke(handle, H(pal::kGunmetal), 2);
}

// Like the bucket, the stone's shading spans the caller's whole rect.
void drawGem(Canvas canvas, const ItemFrame& f, std::uint32_t t, const Rect& rect) {
    const QPainterPath stone =
        shape::polygon({f.at(-0.3, -0.1), f.at(-0.15, -0.3), f.at(0.15, -0.3), f.at(0.3, -0.1), f.at(0, 0.34)});
    canvas.fill(stone, vertical(rect, {H(t, 0.5), H(t, -0.3)}));
    canvas.stroke(stone, white(0.5), 1);
}

void drawRemote(Canvas canvas, const ItemFrame& f, std::uint32_t t) {
    constexpr double kButtonW = 0.08;
    constexpr double kButtonH = 0.1;
    const Rect body = f.box(-0.16, -0.4, 0.32, 0.8);
    canvas.fill(shape::roundedRect(body, 6), vertical(body, {H(pal::kRemoteTop), H(pal::kDarkPlastic)}));
    canvas.fill(shape::ellipse(f.box(-0.05, -0.33, 0.1, 0.1)), H(t));
    for (const double y : {-0.14, 0.03, 0.2}) {
        for (const double x : {-0.1, 0.02}) {
            canvas.fill(shape::roundedRect(f.box(x, y, kButtonW, kButtonH), 2), H(pal::kPewter));
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Dispatch

void drawItem(Canvas canvas, ItemKind kind, std::optional<Tone> tone, const Rect& rect) {
    const double side = std::min(rect.w, rect.h);
    if (!(side > 0) || !std::isfinite(side) || !std::isfinite(rect.x) || !std::isfinite(rect.y)) return;
    const ItemFrame f{rect.x + rect.w / 2, rect.y + rect.h / 2, side};
    const Metal m = metal(tone);

    if (const double turn = turnDegrees(kind, rect); turn != 0) {
        canvas.translate(f.cx, f.cy);
        canvas.rotateDegrees(turn);
        canvas.translate(-f.cx, -f.cy);
    }

    switch (kind) {
        case ItemKind::key: drawKey(canvas, f, m, KeyPart::whole); break;
        case ItemKind::keyTop: drawKey(canvas, f, m, KeyPart::top); break;
        case ItemKind::keyBlade: drawKey(canvas, f, m, KeyPart::blade); break;
        case ItemKind::coin: drawCoin(canvas, f, m); break;
        case ItemKind::battery: drawBattery(canvas, f); break;
        case ItemKind::screwdriver: drawScrewdriver(canvas, f); break;
        case ItemKind::magnifier: drawMagnifier(canvas, f, m); break;
        case ItemKind::torch: drawTorch(canvas, f, tint(tone, pal::kTorchBeam)); break;
        case ItemKind::match: drawMatch(canvas, f); break;
        case ItemKind::crank: drawCrank(canvas, f, m); break;
        case ItemKind::fuse: drawFuse(canvas, f, tint(tone, pal::kFuseWire)); break;
        case ItemKind::card: drawCard(canvas, f); break;
        case ItemKind::orb: drawOrb(canvas, f, tint(tone, hexOf(Tone::cyan))); break;
        case ItemKind::net: drawNet(canvas, f); break;
        case ItemKind::magnet: drawMagnet(canvas, f, tint(tone, hexOf(Tone::red))); break;
        case ItemKind::string: drawString(canvas, f); break;
        case ItemKind::wrench: drawWrench(canvas, f); break;
        case ItemKind::scissors: drawScissors(canvas, f); break;
        case ItemKind::paper: drawPaper(canvas, f); break;
        case ItemKind::gear: drawGear(canvas, f, tint(tone, pal::kItemSilverMid)); break;
        case ItemKind::bulb: drawBulb(canvas, f); break;
        case ItemKind::bucket: drawBucket(canvas, f, tone, rect); break;
        case ItemKind::gem: drawGem(canvas, f, tint(tone, hexOf(Tone::cyan)), rect); break;
        case ItemKind::remote: drawRemote(canvas, f, tint(tone, pal::kGripRed)); break;
    }
}

}  // namespace tallowmere
