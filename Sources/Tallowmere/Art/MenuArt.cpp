#include <Tallowmere/Art/MenuArt.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/RoomArt.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>

#include <Ostrevan/Themes.hpp>

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace tallowmere {

using ostrevan::Stage::doorRect;

namespace {

// Door row geometry in stage units.
constexpr double kDoorWidthStage = doorRect.w * MenuDoors::kScale;  // 105.4
constexpr double kRowWidthStage = MenuDoors::kCount * kDoorWidthStage + (MenuDoors::kCount - 1) * MenuDoors::kGapStage;
constexpr double kRowLeftStage = (ostrevan::Stage::width - kRowWidthStage) / 2;
constexpr double kDoorPitchStage = kDoorWidthStage + MenuDoors::kGapStage;

// Where the door's blurred casing shadow starts, from the casing's left edge in the game door's
// own units: the shadow falls 4 right of the casing and its blur of 9 reaches three blurs out.
constexpr double kCasingShadowLeft = 4 - 3 * 9;

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

// Door i's canvas, from the stage's.
Canvas menuDoorCanvas(Canvas stage, int index) {
    const QTransform place = menuDoorPlacement(index);
    stage.translate(place.dx(), place.dy());
    stage.scale(place.m11(), place.m22());
    return stage;
}

void drawMenuDoor(const Canvas& stage, int index, double open, double time) {
    drawDoor(menuDoorCanvas(stage, index), MenuDoors::kStyles[std::size_t(index)], MenuDoors::number(index), false,
             open, time, false);
}

using MenuDoors::Openings;

// The room with its doors standing as `openings` say and the menu's darkening over it, on
// `screen` in logical pixels of a screen of `size`.
void drawShadedBackdrop(const Canvas& screen, QSizeF size, const Openings& openings, double time) {
    const Canvas stage = coveringStage(screen, size);
    drawRoomShell(stage, ostrevan::Themes::cream);
    for (int i = 0; i < MenuDoors::kCount; ++i) drawMenuDoor(stage, i, openings[std::size_t(i)], time);
    drawMenuShade(screen, Rect{0, 0, size.width(), size.height()});
}

Openings openingsAt(double time) {
    Openings openings{};
    for (int i = 0; i < MenuDoors::kCount; ++i) openings[std::size_t(i)] = MenuDoors::opening(i, time);
    return openings;
}

// Copies `from` into `into` with its corner at `at`, in device pixels; both premultiplied ARGB.
void copyPixels(QImage& into, const QImage& from, QPoint at) {
    const QRect target = QRect(at, from.size()).intersected(into.rect());
    if (target.isEmpty() || into.format() != from.format() || into.depth() != 32) return;
    const auto rowBytes = std::size_t(target.width()) * 4;
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const uchar* source = from.constScanLine(y - at.y()) + std::size_t(target.left() - at.x()) * 4;
        std::memcpy(into.scanLine(y) + std::size_t(target.left()) * 4, source, rowBytes);
    }
}

}  // namespace

void drawMenuBackdrop(Canvas canvas, double time) {
    drawRoomShell(canvas, ostrevan::Themes::cream);
    for (int i = 0; i < MenuDoors::kCount; ++i) drawMenuDoor(canvas, i, MenuDoors::opening(i, time), time);
}

bool MenuBackdropRenderer::fits(QSizeF size, double devicePixelRatio) const {
    return !m_picture.isNull() && size == m_size && devicePixelRatio == m_devicePixelRatio;
}

QRegion MenuBackdropRenderer::advance(QSizeF size, double devicePixelRatio, double time) {
    if (!(size.width() > 0) || !(size.height() > 0) || !(devicePixelRatio > 0)) return {};
    const QRect screen(QPoint(0, 0), size.toSize());
    if (!fits(size, devicePixelRatio)) {
        m_size = size;
        m_devicePixelRatio = devicePixelRatio;
        prepare(time);
        return screen;
    }
    const Openings openings = openingsAt(time);
    if (openings == m_shown) return {};
    if (!m_doorwaysKept) {
        drawAll(time);
        return screen;
    }
    const QRegion changed = repaintDoorways(openings);
    m_shown = openings;
    return changed;
}

void MenuBackdropRenderer::drawAll(double time) {
    const QSizeF size = m_size;
    m_shown = openingsAt(time);
    m_picture = paintOnPool((size * m_devicePixelRatio).toSize(), m_devicePixelRatio,
                            [&](QPainter& painter) { drawShadedBackdrop(Canvas(painter), size, m_shown, time); });
}

void MenuBackdropRenderer::prepare(double time) {
    using DoorLayout::casing;
    using DoorLayout::opening;
    const double dpr = m_devicePixelRatio;
    const QSizeF size = m_size;
    const QSize pixelSize = (size * dpr).toSize();
    const QRect picture(QPoint(0, 0), pixelSize);
    const QTransform cover = coverStage(size) * QTransform::fromScale(dpr, dpr);

    // Each doorway, in whole device pixels. Nothing drawn after its door may reach it: only the
    // next door's shadow could.
    m_doorwaysKept = !picture.isEmpty();
    for (int i = 0; i < MenuDoors::kCount && m_doorwaysKept; ++i) {
        const QRect pixels =
            (menuDoorPlacement(i) * cover).mapRect(toQRectF(opening)).toAlignedRect();
        if (i + 1 < MenuDoors::kCount) {
            const QPointF nextShadow(casing.minX() + kCasingShadowLeft, 0);
            m_doorwaysKept = pixels.right() + 1 < (menuDoorPlacement(i + 1) * cover).map(nextShadow).x() - 1;
        }
        m_doorways[std::size_t(i)].pixels = pixels.intersected(picture);
    }
    if (!m_doorwaysKept) {
        m_doorways = {};
        drawAll(time);
        return;
    }

    // Every doorway shut as it is finished; and open before its leaf and the darkening, which is
    // the room and the frames of the doors that reach the doorway (their leaves never do).
    const QImage shut = paintOnPool(pixelSize, dpr, [&](QPainter& painter) {
        drawShadedBackdrop(Canvas(painter), size, Openings{}, 0);
    });
    const QImage framesLit = paintOnPool(pixelSize, dpr, [&](QPainter& painter) {
        const Canvas stage = coveringStage(Canvas(painter), size);
        drawRoomShell(stage, ostrevan::Themes::cream);
        for (int i = 0; i < MenuDoors::kCount; ++i) drawDoorFrame(menuDoorCanvas(stage, i), true);
    });
    for (Doorway& doorway : m_doorways) {
        doorway.shut = shut.copy(doorway.pixels);
        doorway.openFrame = framesLit.copy(doorway.pixels);
    }
    m_picture = shut;
    m_shown = Openings{};
    repaintDoorways(openingsAt(time));
    m_shown = openingsAt(time);
}

// Doorways are repainted in place, so every pixel is worked out where the whole picture works it
// out: painting the same at another place may round differently.
QRegion MenuBackdropRenderer::repaintDoorways(const Openings& openings) {
    const double dpr = m_devicePixelRatio;
    const QSizeF size = m_size;
    QRegion changed;
    runOnPool([&] {
        QPainter painter(&m_picture);
        const Canvas screen(painter);
        const Canvas stage = coveringStage(screen, size);
        for (int i = 0; i < MenuDoors::kCount; ++i) {
            const double open = openings[std::size_t(i)];
            const Doorway& doorway = m_doorways[std::size_t(i)];
            if (open == m_shown[std::size_t(i)] || doorway.pixels.isEmpty()) continue;
            const QRectF logical(QPointF(doorway.pixels.topLeft()) / dpr, QSizeF(doorway.pixels.size()) / dpr);
            changed += logical.toAlignedRect();
            if (!(open > 0)) {
                copyPixels(m_picture, doorway.shut, doorway.pixels.topLeft());
                continue;
            }
            copyPixels(m_picture, doorway.openFrame, doorway.pixels.topLeft());
            drawDoorLeaf(menuDoorCanvas(stage, i), MenuDoors::kStyles[std::size_t(i)], MenuDoors::number(i), open);
            Canvas shade = screen;
            shade.clip(Rect{logical.x(), logical.y(), logical.width(), logical.height()});
            drawMenuShade(shade, Rect{0, 0, size.width(), size.height()});
        }
    });
    return changed;
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
