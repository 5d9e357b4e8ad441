#include <Tallowmere/MenuArt.hpp>

#include <Tallowmere/Draw.hpp>
#include <Tallowmere/RoomArt.hpp>
#include <Tallowmere/UI.hpp>

#include <Ostrevan/Themes.hpp>

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tallowmere {

using ostrevan::Stage::doorRect;

namespace {

// Door row geometry in stage units.
constexpr double kDoorWidthStage = doorRect.w * MenuDoors::kScale;  // 105.4
constexpr double kRowWidthStage = MenuDoors::kCount * kDoorWidthStage + (MenuDoors::kCount - 1) * MenuDoors::kGapStage;
constexpr double kRowLeftStage = (ostrevan::Stage::width - kRowWidthStage) / 2;
constexpr double kDoorPitchStage = kDoorWidthStage + MenuDoors::kGapStage;

// Everything drawDoor may touch without its lamp, in the game door's own units: the casing
// (401, 102, 198, 298) with the reach of its blurred shadow, which falls 4 right and 8 down.
constexpr Rect kDoorPictureBounds{370, 70, 270, 375};

constexpr std::int64_t kEndingDoorNumber = 50;

// Menu bar: the slab's gradient, top over bottom, away from and under the pointer.
constexpr double kBarTopAway = 0.68, kBarBottomAway = 0.5;
constexpr double kBarTopHover = 0.55, kBarBottomHover = 0.35;
constexpr double kBarRimWidth = 1.2;
constexpr double kBarRimAway = 0.14;   // white
constexpr double kBarRimHover = 0.9;   // amber
constexpr double kBarGlowOpacity = 0.3;

// Title block.
constexpr double kTitleWidthFraction = 0.052;
constexpr double kTitleMaxSize = 62;
constexpr double kTitleTracking = 16;
constexpr double kTitleShadowOpacity = 0.7;
constexpr double kTitleShadowRadius = 16;
constexpr double kTitleShadowDrop = 6;
constexpr double kTitleGap = 10;
constexpr Font kTaglineFont{14, FontWeight::medium, FontDesign::rounded};
constexpr double kTaglineTracking = 4;
constexpr double kTaglinePadX = 16;
constexpr double kTaglinePadY = 6;
constexpr double kTaglineCapsuleOpacity = 0.6;

Font titleFont(double screenWidth) { return Font{menuTitleSize(screenWidth), FontWeight::light, FontDesign::serif}; }
QString taglineText() { return QStringLiteral("Veziz rooms. One way out of each.").toUpper(); }
double taglineHeight() { return lineHeight(kTaglineFont) + 2 * kTaglinePadY; }

constexpr double kCardShadowOpacity = 0.7;
constexpr double kCardRimOpacity = 0.14;

double mix(double a, double b, double t) { return a + (b - a) * t; }

QColor mixColor(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(float(mix(a.redF(), b.redF(), t)), float(mix(a.greenF(), b.greenF(), t)),
                            float(mix(a.blueF(), b.blueF(), t)), float(mix(a.alphaF(), b.alphaF(), t)));
}

QColor amber(double opacity) {
    QColor c = UI::amber();
    c.setAlphaF(float(opacity));
    return c;
}

// A shape stroked along the inside of its edge.
QPainterPath insideRim(const Rect& rect, double radius, double width) {
    const double half = width / 2;
    return shape::roundedRect(insetBy(rect, half, half), std::max(0.0, radius - half));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Cover

QTransform coverStage(QSizeF size) {
    const double w = std::max(0.0, size.width());
    const double h = std::max(0.0, size.height());
    const double s = std::max(w / ostrevan::Stage::width, h / ostrevan::Stage::height);
    return QTransform(s, 0, 0, s, (w - ostrevan::Stage::width * s) / 2, (h - ostrevan::Stage::height * s) / 2);
}

Canvas coveringStage(Canvas canvas, QSizeF size) {
    const QTransform cover = coverStage(size);
    canvas.translate(cover.dx(), cover.dy());
    canvas.scale(cover.m11(), cover.m22());
    return canvas;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Backdrop

namespace MenuDoors {

std::int64_t number(int index) { return 4 + 7 * std::int64_t(index); }

double leftStage(int index) { return kRowLeftStage + index * kDoorPitchStage; }

double opening(int index, double time) {
    const double wave = std::sin(kWaveSpeed * time + kPhaseStep * index);
    return std::max(0.0, (wave - kThreshold) / (1 - kThreshold)) * kLargestOpen;
}

}  // namespace MenuDoors

namespace {

// The game's door is drawn at doorRect; this moves and shrinks it so that rectangle lands with
// its left edge on door i's slot and its foot on the row's baseline.
QTransform menuDoorPlacement(int index) {
    return QTransform(MenuDoors::kScale, 0, 0, MenuDoors::kScale,
                      MenuDoors::leftStage(index) - doorRect.minX() * MenuDoors::kScale,
                      MenuDoors::kBottomStage - doorRect.maxY() * MenuDoors::kScale);
}

void drawMenuDoor(Canvas stage, int index, double open, double time) {
    const QTransform place = menuDoorPlacement(index);
    stage.translate(place.dx(), place.dy());
    stage.scale(place.m11(), place.m22());
    drawDoor(stage, MenuDoors::kStyles[std::size_t(index)], MenuDoors::number(index), false, open, time, false);
}

QImage transparentImage(QSize pixels, double devicePixelRatio) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    return image;
}

}  // namespace

void drawMenuBackdrop(Canvas canvas, double time) {
    drawRoomShell(canvas, ostrevan::Themes::cream);
    for (int i = 0; i < MenuDoors::kCount; ++i) drawMenuDoor(canvas, i, MenuDoors::opening(i, time), time);
}

void MenuBackdropRenderer::prepare(QSizeF size, double devicePixelRatio) {
    m_size = size;
    m_devicePixelRatio = devicePixelRatio;
    const QSize pixels = (size * devicePixelRatio).toSize();

    m_shell = KeptImage{transparentImage(pixels, devicePixelRatio), QPointF(0, 0)};
    {
        QPainter painter(&m_shell.image);
        drawRoomShell(coveringStage(Canvas(painter), size), ostrevan::Themes::cream);
    }

    // Each door on an image of its own whose corner sits on a whole device pixel, so laying it
    // down again gives the very pixels drawing it would.
    const QTransform cover = coverStage(size);
    for (int i = 0; i < MenuDoors::kCount; ++i) {
        const QRectF onScreen = (menuDoorPlacement(i) * cover).mapRect(toQRectF(kDoorPictureBounds));
        const QRect devicePixels = QRectF(onScreen.topLeft() * devicePixelRatio, onScreen.size() * devicePixelRatio)
                                       .toAlignedRect()
                                       .intersected(QRect(QPoint(0, 0), pixels));
        KeptImage& door = m_shutDoors[std::size_t(i)];
        door.origin = QPointF(devicePixels.topLeft()) / devicePixelRatio;
        door.image = transparentImage(devicePixels.size(), devicePixelRatio);
        if (devicePixels.isEmpty()) continue;
        QPainter painter(&door.image);
        painter.translate(-door.origin);
        // Shut, the door's picture does not depend on the time: that only pulses the lamp.
        drawMenuDoor(coveringStage(Canvas(painter), size), i, 0, 0);
    }
}

void MenuBackdropRenderer::draw(QPainter& painter, QSizeF size, double time) {
    if (!(size.width() > 0) || !(size.height() > 0)) return;
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (size != m_size || dpr != m_devicePixelRatio) prepare(size, dpr);

    painter.drawImage(m_shell.origin, m_shell.image);
    for (int i = 0; i < MenuDoors::kCount; ++i) {
        const double open = MenuDoors::opening(i, time);
        if (open <= 0) {
            const KeptImage& door = m_shutDoors[std::size_t(i)];
            painter.drawImage(door.origin, door.image);
            continue;
        }
        // The canvas leaves its clips on the painter; the next image must not meet them.
        painter.save();
        drawMenuDoor(coveringStage(Canvas(painter), size), i, open, time);
        painter.restore();
    }
}

void drawMenuShade(Canvas canvas, const Rect& screen) {
    if (screen.w <= 0 || screen.h <= 0) return;
    const QPointF top(screen.midX(), screen.minY());
    const QPointF bottom(screen.midX(), screen.maxY());
    canvas.fill(shape::rect(screen),
                LinearGradient{top, bottom, {{0, black(0.7)}, {0.28, black(0.3)}, {0.42, black(0)}, {1, black(0.5)}}});
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Ending

void drawEndingPicture(Canvas canvas) {
    drawRoomShell(canvas, ostrevan::Themes::ivory);
    // A still picture: the time only pulses the lamp, which is not shown.
    drawDoor(canvas, ostrevan::DoorStyle::gold, kEndingDoorNumber, true, 1.0, 0, false);
}

void drawEndingShade(Canvas canvas, const Rect& screen) {
    if (screen.w <= 0 || screen.h <= 0) return;
    canvas.fill(shape::rect(screen), vertical(screen, {black(0), black(0.7)}));
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Title

double menuTitleSize(double screenWidth) {
    return std::min(kTitleWidthFraction * std::max(0.0, screenWidth), kTitleMaxSize);
}

double menuTitleBlockHeight(double screenWidth) {
    return lineHeight(titleFont(screenWidth)) + kTitleGap + taglineHeight();
}

double menuTitleShadowReach() { return 3 * shadowBlur(kTitleShadowRadius) + kTitleShadowDrop; }

void drawMenuTitle(Canvas canvas, QPointF center, double screenWidth) {
    const Font font = titleFont(screenWidth);
    if (font.size <= 0) return;
    const double top = center.y() - menuTitleBlockHeight(screenWidth) / 2;
    const QPointF titleCenter(center.x(), top + lineHeight(font) / 2);
    const QString title = QStringLiteral("TALLOWMERE");

    Canvas shadow = canvas;
    shadow.addBlur(shadowBlur(kTitleShadowRadius));
    shadow.translate(0, kTitleShadowDrop);
    drawTextCentered(shadow, title, titleCenter, font, black(kTitleShadowOpacity), kTitleTracking);
    drawTextCentered(canvas, title, titleCenter, font, white(), kTitleTracking);

    const QString tagline = taglineText();
    const double capsuleW = textWidth(tagline, kTaglineFont, kTaglineTracking) + 2 * kTaglinePadX;
    const double capsuleH = taglineHeight();
    const Rect capsule{center.x() - capsuleW / 2, top + lineHeight(font) + kTitleGap, capsuleW, capsuleH};
    canvas.fill(shape::roundedRect(capsule, capsuleH / 2), black(kTaglineCapsuleOpacity));
    drawTextCentered(canvas, tagline, QPointF(capsule.midX(), capsule.midY()), kTaglineFont, UI::amber(),
                     kTaglineTracking);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Slabs

void drawMenuBar(Canvas canvas, const Rect& rect, double hover) {
    if (rect.w <= 0 || rect.h <= 0) return;
    const double t = std::clamp(hover, 0.0, 1.0);
    canvas.fill(shape::roundedRect(rect, kMenuBarRadius),
                vertical(rect, {black(mix(kBarTopAway, kBarTopHover, t)), black(mix(kBarBottomAway, kBarBottomHover, t))}));
    const QColor rim = mixColor(white(kBarRimAway), amber(kBarRimHover), t);
    canvas.stroke(insideRim(rect, kMenuBarRadius, kBarRimWidth), rim, kBarRimWidth);
}

void drawMenuBarGlow(Canvas canvas, const Rect& rect, double hover) {
    const double t = std::clamp(hover, 0.0, 1.0);
    if (rect.w <= 0 || rect.h <= 0 || t <= 0) return;
    // The glow is the bar's own shadow, tinted: it is as strong as the hovered bar is opaque.
    const double coverage = (kBarTopHover + kBarBottomHover) / 2;
    canvas.addBlur(kMenuBarGlowRadius);
    canvas.fill(shape::roundedRect(rect, kMenuBarRadius), amber(kBarGlowOpacity * coverage * t));
}

void drawCardShadow(Canvas canvas, const Rect& card) {
    if (card.w <= 0 || card.h <= 0) return;
    canvas.addBlur(shadowBlur(kCardShadowRadius));
    canvas.fill(shape::roundedRect(card, kCardRadius), black(kCardShadowOpacity));
}

void drawCard(Canvas canvas, const Rect& card) {
    if (card.w <= 0 || card.h <= 0) return;
    canvas.fill(shape::roundedRect(card, kCardRadius), UI::panel());
    canvas.stroke(insideRim(card, kCardRadius, 1), white(kCardRimOpacity), 1);
}

}  // namespace tallowmere
