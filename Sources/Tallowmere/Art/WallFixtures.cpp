// [SECTION] Window: day and night
// [SECTION] Mirror
// [SECTION] Clock
// [SECTION] Television: screen text, static and the colour loop
#include <Tallowmere/Art/WallArtParts.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/Palette.hpp>

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace tallowmere::wall {

namespace pal = palette;
using ostrevan::Tone;

// ---------------------------------------------------------------------------------------------
// [SECTION] Window: day and night

namespace {

void paintDay(const Canvas& pane, const Rect& glass) {
    constexpr double kPuffW = 26;
    constexpr double kPuffH = 14;
    const double w = glass.w;
    const double h = glass.h;
    pane.fill(shape::rect(glass), vertical(glass, {H(pal::kDaySkyTop), H(pal::kDaySkyBottom)}));
    fillGlow(pane, {glass.minX() + 0.7 * w, glass.minY() + 0.28 * h}, 0.5 * w, H(pal::kSunHaze, 0, 0.8));
    for (const QPointF base : {QPointF(glass.minX() + 0.2 * w, glass.minY() + 0.25 * h),
                               QPointF(glass.minX() + 0.55 * w, glass.minY() + 0.45 * h)}) {
        for (int k = 0; k < 3; ++k) {
            const double lift = k == 1 ? 5 : 0;
            pane.fill(shape::ellipse(Rect{base.x() + 12 * k - 6, base.y() - lift, kPuffW, kPuffH}), white(0.85));
        }
    }
    QPainterPath hill;
    hill.moveTo(glass.minX(), glass.maxY());
    hill.lineTo(glass.minX(), glass.maxY() - 0.22 * h);
    hill.quadTo(glass.minX() + 0.25 * w, glass.maxY() - 0.4 * h, glass.midX(), glass.maxY() - 0.18 * h);
    hill.quadTo(glass.maxX() - 0.25 * w, glass.maxY() - 0.05 * h, glass.maxX(), glass.maxY() - 0.24 * h);
    hill.lineTo(glass.maxX(), glass.maxY());
    hill.closeSubpath();
    pane.fill(hill, H(pal::kDayHill));
}

void paintNight(const Canvas& pane, const Rect& glass) {
    constexpr int kStars = 26;
    constexpr double kMoonDiameter = 22;
    const double w = glass.w;
    const double h = glass.h;
    pane.fill(shape::rect(glass), vertical(glass, {H(pal::kNightSkyTop), H(pal::kNightSkyBottom)}));
    for (int i = 0; i < kStars; ++i) {
        const std::uint64_t seed = scatterSeed(i);
        const double size = 1.8 + 1.6 * unitHash(seed, 3);
        const Rect star{glass.minX() + w * unitHash(seed, 1), glass.minY() + h * unitHash(seed, 2) * 0.8, size, size};
        pane.fill(shape::ellipse(star), white(0.5 + 0.5 * unitHash(seed, 4)));
    }
    const QPointF moon(glass.maxX() - 0.25 * w, glass.minY() + 0.28 * h);
    fillGlow(pane, moon, 0.3 * w, white(0.35));
    pane.fill(shape::circle(moon, kMoonDiameter / 2), H(pal::kMoon));
    pane.fill(shape::rect(Rect{glass.minX(), glass.maxY() - 0.2 * h, w, 0.2 * h}), H(pal::kNightGround));
}

}  // namespace

void drawWindow(Canvas canvas, const art::Window& window, const Rect& rect) {
    constexpr double kFrameW = 10;
    constexpr double kBarW = 6;
    const Rect glass = insetBy(rect, kFrameW, kFrameW);
    const Rect sill{rect.minX() - 5, rect.maxY() - 2, rect.w + 10, 8};
    const double w = glass.w;
    const double h = glass.h;

    wallShadow(canvas, rect, 4, 0.4);
    canvas.fill(shape::roundedRect(rect, 4), vertical(rect, {H(pal::kWindowFrameTop), H(pal::kWindowFrameBottom)}));
    if (glass.w > 0 && glass.h > 0) {
        Canvas pane = canvas;
        pane.clip(glass);
        if (window.night) paintNight(pane, glass); else paintDay(pane, glass);
        pane.fill(shape::polygon({{glass.minX(), glass.minY() + 0.5 * h},
                                  {glass.minX() + 0.5 * w, glass.minY()},
                                  {glass.minX() + 0.72 * w, glass.minY()},
                                  {glass.minX(), glass.minY() + 0.8 * h}}),
                  white(0.16));
        canvas.fill(shape::rect(Rect{glass.midX() - kBarW / 2, glass.minY(), kBarW, h}), H(pal::kGlazingBar));
        canvas.fill(shape::rect(Rect{glass.minX(), glass.midY() - kBarW / 2, w, kBarW}), H(pal::kGlazingBar));
        canvas.fill(shape::rect(Rect{glass.midX() + kBarW / 2, glass.minY(), 1.5, h}), black(0.18));
        canvas.stroke(shape::roundedRect(glass, 1), black(0.3), 1.5);
    }
    Canvas sillShadow = canvas;
    sillShadow.addBlur(3);
    sillShadow.fill(shape::rect(offsetBy(sill, 0, 4)), black(0.3));
    canvas.fill(shape::roundedRect(sill, 2), vertical(sill, {H(pal::kSillTop), H(pal::kWindowFrameBottom)}));
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Mirror

void drawMirror(Canvas canvas, const art::Mirror& mirror, const Rect& rect) {
    constexpr double kFrameW = 7;
    const Rect glass = insetBy(rect, kFrameW, kFrameW);
    const double w = glass.w;
    const double h = glass.h;
    const QPainterPath glassShape = shape::roundedRect(glass, 4);

    wallShadow(canvas, rect, 8, 0.4);
    canvas.fill(shape::roundedRect(rect, 8), vertical(rect, {H(pal::kMirrorFrameTop), H(pal::kMirrorFrameBottom)}));
    if (!(w > 0 && h > 0)) return;

    Canvas pane = canvas;
    pane.clip(glassShape);
    pane.fill(shape::rect(glass), linear({glass.minX(), glass.minY()}, {glass.maxX(), glass.maxY()},
                                         {H(pal::kMirrorGlassPale), H(pal::kMirrorGlassMid), H(pal::kMirrorGlassBright)}));
    pane.fill(shape::roundedRect(Rect{glass.minX() + 0.66 * w, glass.minY() + 0.2 * h, 0.2 * w, 0.8 * h}, 2), black(0.06));
    pane.fill(shape::rect(Rect{glass.minX(), glass.minY() + 0.84 * h, w, 0.16 * h}), black(0.07));
    if (mirror.text) {
        const QString text = QString::fromStdString(*mirror.text);
        const double size = std::min(1.3 * w / std::max(characterCount(text), 2), 0.5 * h);
        // A text wider than the glass (symbols from a wide fallback face) is made smaller rather
        // than lose its outer characters under the frame.
        const Font font = shrinkToWidth({text}, Font{size, FontWeight::heavy, FontDesign::rounded}, w - 8);
        Canvas mirrored = pane;
        mirrored.translate(glass.midX(), glass.midY());
        mirrored.scale(-1, 1);
        mirrored.translate(-glass.midX(), -glass.midY());
        mirrored.drawText(text, {glass.midX(), glass.midY()}, font, H(pal::kMirrorInk));
    }
    pane.fill(shape::polygon({{glass.minX(), glass.minY() + 0.7 * h},
                              {glass.minX() + 0.45 * w, glass.minY()},
                              {glass.minX() + 0.62 * w, glass.minY()},
                              {glass.minX(), glass.minY() + 0.95 * h}}),
              white(0.35));
    canvas.stroke(glassShape, black(0.3), 1.5);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Clock

namespace {

constexpr int kClockHours = 12;

// The point at `angle` (radians clockwise from twelve o'clock) and `distance` from `centre`.
QPointF onDial(QPointF centre, double angle, double distance) {
    return {centre.x() + distance * std::sin(angle), centre.y() - distance * std::cos(angle)};
}

void strokeHand(const Canvas& canvas, QPointF centre, double angle, double length, double width) {
    constexpr double kTail = 0.14;
    StrokeStyle style;
    style.width = width;
    style.cap = LineCap::round;
    canvas.stroke(shape::line(onDial(centre, angle + M_PI, kTail * length), onDial(centre, angle, length)),
                  H(pal::kClockHands), style);
}

}  // namespace

void drawClock(Canvas canvas, const art::Clock& clock, const Rect& rect) {
    constexpr double kCapDiameter = 8;
    constexpr double kDialLightLift = 4;
    const double side = std::min(rect.w, rect.h);
    const QPointF centre(rect.midX(), rect.midY());
    const Rect face{centre.x() - side / 2, centre.y() - side / 2, side, side};
    const Rect dial = insetBy(face, 0.07 * side, 0.07 * side);
    const double dialRadius = dial.w / 2;
    // Hours wrap by the truncating remainder, so a negative hour turns back from twelve.
    const double hours = double(clock.h % kClockHours) + double(clock.m) / 60;
    const double hourAngle = hours * M_PI / 6;
    const double minuteAngle = double(clock.m) * M_PI / 30;
    const QColor brassLight = H(pal::kBrassLight);
    const QColor brassMid = H(pal::kBrassMid);
    const QColor brassDark = H(pal::kClockBrassDark);

    Canvas shadow = canvas;
    shadow.addBlur(5);
    shadow.fill(shape::ellipse(offsetBy(face, 3, 6)), black(0.38));
    fillBall(canvas, face, brassLight, brassMid, brassDark);
    canvas.fill(shape::ellipse(dial), radial({centre.x(), centre.y() - kDialLightLift}, 0, 0.6 * dial.w,
                                             {H(pal::kClockDialCentre), H(pal::kClockDialEdge)}));
    canvas.stroke(shape::ellipse(dial), black(0.25), 1);

    StrokeStyle tick;
    tick.cap = LineCap::round;
    for (int i = 0; i < kClockHours; ++i) {
        const bool quarter = i % 3 == 0;
        const double angle = i * M_PI / 6;
        tick.width = quarter ? 2.6 : 1.4;
        const double inner = (quarter ? 0.78 : 0.86) * dialRadius;
        canvas.stroke(shape::line(onDial(centre, angle, inner), onDial(centre, angle, 0.94 * dialRadius)),
                      H(pal::kClockInk), tick);
    }
    const Font numeralFont{0.13 * side, FontWeight::bold, FontDesign::serif};
    const char* const numerals[] = {"12", "3", "6", "9"};
    for (int i = 0; i < 4; ++i) {
        canvas.drawText(numerals[i], onDial(centre, i * M_PI / 2, 0.33 * dial.w), numeralFont, H(pal::kClockInk));
    }
    // The hands cast no shadow: a shadow filled along an open line would cover no area anyway.
    strokeHand(canvas, centre, hourAngle, 0.27 * dial.w, 0.045 * side);
    strokeHand(canvas, centre, minuteAngle, 0.4 * dial.w, 0.03 * side);
    const Rect cap{centre.x() - kCapDiameter / 2, centre.y() - kCapDiameter / 2, kCapDiameter, kCapDiameter};
    fillBall(canvas, cap, brassLight, brassMid, brassDark);
    gloss(canvas, dial, dialRadius, 0.13);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Television: screen text, static and the colour loop

namespace {

constexpr double kToneSlot = 1.25;   // seconds each tone of the loop owns
constexpr double kToneLit = 0.9;     // of which it is shown
constexpr double kLoopRest = 2.0;    // extra wait after the last tone
constexpr double kNoiseFps = 12;
constexpr int kNoiseSpecks = 60;
constexpr double kScanlinePitch = 3;

// The colour loop: one tone at a time, each followed by the wait screen.
void paintFlash(const Canvas& screen, const Rect& s, const std::vector<Tone>& tones, double time) {
    const std::size_t n = tones.size();
    const double period = kToneSlot * double(n) + kLoopRest;
    double t = std::fmod(time, period);
    if (t < 0) t += period;
    if (t < kToneSlot * double(n)) {
        const std::size_t i = std::min(std::size_t(t / kToneSlot), n - 1);
        const double phase = t - kToneSlot * double(i);
        if (phase < kToneLit) {
            screen.fill(shape::rect(s), H(hexOf(tones[i])));
            fillGlow(screen, {s.midX(), s.midY()}, 0.7 * s.w, white(0.35));
            return;
        }
    }
    screen.fill(shape::rect(s), H(pal::kTvWaitScreen));
    screen.drawText("WATCH", {s.midX(), s.midY()}, Font{13, FontWeight::semibold, FontDesign::monospaced},
                    H(pal::kTvWaitText, 0, 0.35));
}

void paintStatic(const Canvas& screen, const Rect& s, double time) {
    // Truncated like the frame counter it is; the clamp only keeps absurd clocks representable.
    const auto frame = std::int64_t(std::clamp(std::trunc(kNoiseFps * time), -1e15, 1e15));
    for (int i = 0; i < kNoiseSpecks; ++i) {
        const std::uint64_t seed = scatterSeed(i);
        const double x = s.minX() + s.w * unitHash(seed, frame);
        const double y = s.minY() + s.h * unitHash(seed, frame + 5);
        screen.fill(shape::rect(Rect{x, y, 8, 2}), white(0.4));
    }
}

void paintScreenText(const Canvas& screen, const Rect& s, const QString& text) {
    const double size = std::min(1.25 * s.w / std::max(characterCount(text), 2), 0.6 * s.h);
    const Font font{size, FontWeight::bold, FontDesign::monospaced};
    const QPointF centre(s.midX(), s.midY());
    Canvas halo = screen;
    halo.addBlur(5);
    halo.drawText(text, centre, font, H(pal::kTvTextGlow, 0, 0.9));
    screen.drawText(text, centre, font, H(pal::kTvText));
}

void paintScanlines(const Canvas& screen, const Rect& s) {
    for (int j = 0; s.minY() + kScanlinePitch * j < s.maxY(); ++j) {
        screen.fill(shape::rect(Rect{s.minX(), s.minY() + kScanlinePitch * j, s.w, 1}), black(0.18));
    }
}

// One set for both cases: `flash` present plays the colour loop and ignores text and on.
void drawTelevision(const Canvas& canvas, const Rect& rect, const std::optional<std::string>& text, bool on,
                    const std::vector<Tone>* flash, double time) {
    constexpr double kBezel = 7;
    const Rect s = insetBy(rect, kBezel, kBezel);
    const Rect powerLight{rect.maxX() - 12, rect.maxY() - 6, 4, 3};

    wallShadow(canvas, rect, 6, 0.4);
    canvas.fill(shape::roundedRect(rect, 6), vertical(rect, {H(pal::kTvCabinetTop), H(pal::kTvCabinetBottom)}));
    if (s.w > 0 && s.h > 0) {
        Canvas screen = canvas;
        screen.clip(shape::roundedRect(s, 3));
        if (flash) {
            paintFlash(screen, s, *flash, time);
        } else if (on) {
            screen.fill(shape::rect(s), vertical(s, {H(pal::kTvScreenOnTop), H(pal::kTvScreenOnBottom)}));
            if (text) paintScreenText(screen, s, QString::fromStdString(*text));
            else paintStatic(screen, s, time);
            paintScanlines(screen, s);
        } else {
            screen.fill(shape::rect(s), vertical(s, {H(pal::kTvScreenOffTop), H(pal::kTvScreenOffBottom)}));
        }
        gloss(canvas, s, 3, 0.14);
    }
    canvas.fill(shape::ellipse(powerLight), H(on || flash ? pal::kLampGreen : pal::kLampRed));
}

}  // namespace

void drawTv(Canvas canvas, const art::Tv& tv, const Rect& rect, double time) {
    drawTelevision(canvas, rect, tv.text, tv.on, nullptr, time);
}

void drawTvFlash(Canvas canvas, const art::TvFlash& flash, const Rect& rect, double time) {
    drawTelevision(canvas, rect, std::nullopt, true, &flash.tones, time);
}

}  // namespace tallowmere::wall
