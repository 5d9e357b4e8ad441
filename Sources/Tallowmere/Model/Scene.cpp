#include <Tallowmere/Model/Scene.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/FloorArt.hpp>
#include <Tallowmere/Art/Palette.hpp>
#include <Tallowmere/Art/RoomArt.hpp>
#include <Tallowmere/Art/WallArt.hpp>

#include <QPaintDevice>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace tallowmere {

using ostrevan::FlagSet;
using ostrevan::Level;
using ostrevan::Prop;

namespace {

constexpr double kStageW = ostrevan::Stage::width;
constexpr double kStageH = ostrevan::Stage::height;
constexpr Rect kStage{0, 0, kStageW, kStageH};
constexpr const char* kDoorID = "door";

// Light pool on the floor in front of an unlocked door.
constexpr Rect kLightPoolBox{260, 190, 480, 480};
constexpr QPointF kLightPoolCentre{500, 430};
constexpr double kLightPoolRadius = 240;

// Dust motes drift right and down and wrap round inside this area.
constexpr int kMotes = 22;
constexpr double kMoteAreaW = 1000;
constexpr double kMoteAreaH = 560;

// Darkness: clear within half the radius, black at 0.9 from the radius on.
constexpr double kLightRadius = 175;
constexpr double kDarkness = 0.9;

constexpr double kHoverGrow = 4;
constexpr double kHoverCorner = 8;
constexpr double kHoverHaloBlur = 6;
constexpr double kHoverHaloWidth = 5;
// How far the ring's blurred halo reaches past the prop's rect: the growth, half the halo's
// width and three standard deviations of its blur.
constexpr double kHoverReach = kHoverGrow + kHoverHaloWidth / 2 + 3 * kHoverHaloBlur;
// How far inside the prop's rect the halo may reach: half its width and its blur inside the ring,
// and where the corners curve in, as far again as a continuous corner's curve starts out.
constexpr double kHoverInnerReach =
    kHoverHaloWidth / 2 + 3 * kHoverHaloBlur + shape::kSmoothCornerExtent * kHoverCorner - kHoverGrow;

constexpr QPointF kVignetteCentre{500, 330};
constexpr double kVignetteInner = 380;
constexpr double kVignetteOuter = 780;

bool unlockedDoor(const Level& level, const FlagSet& flags) {
    return std::all_of(level.requires_.begin(), level.requires_.end(),
                       [&](const std::string& flag) { return flags.contains(flag); });
}

void drawArt(const Canvas& canvas, const ostrevan::Art& art, const Rect& rect, double time) {
    if (std::holds_alternative<ostrevan::art::None>(art)) return;
    if (!drawWallArt(canvas, art, rect, time)) drawFloorArt(canvas, art, rect, time);
}

struct Mote {
    Rect box;
    double opacity = 0;
};

Mote moteAt(int i, double time) {
    const std::uint64_t seed = scatterSeed(i);
    const double speed = 6 + 10 * unitHash(seed, 1);
    // fmod keeps the dividend's sign: the wobble may lift a mote a little above the top.
    const double x = std::fmod(kMoteAreaW * unitHash(seed, 2) + 0.6 * time * speed, kMoteAreaW);
    const double y = std::fmod(kMoteAreaH * unitHash(seed, 3) + 0.35 * time * speed + 8 * std::sin(0.7 * time + i),
                               kMoteAreaH);
    const double size = 1.2 + 1.8 * unitHash(seed, 4);
    return {Rect{x, y, size, size}, 0.16 + 0.12 * std::sin(time + i)};
}

// The motes `wanted` lets through (all by default).
template <class Wanted>
void drawDustMotes(const Canvas& canvas, double time, bool dark, Wanted wanted) {
    if (dark) return;  // motes have no opacity in the dark
    for (int i = 0; i < kMotes; ++i) {
        const Mote mote = moteAt(i, time);
        if (wanted(mote.box)) canvas.fill(shape::ellipse(mote.box), white(mote.opacity));
    }
}

// The darkness over `part` of the stage.
void drawDarknessFill(const Canvas& canvas, QPointF mouse, const Rect& part = kStage) {
    canvas.fill(shape::rect(part), RadialGradient{mouse, 0, kLightRadius,
                                                    {{0, black(0)}, {0.5, black(0)}, {1, black(kDarkness)}}});
}

// Glowing writing shows through the dark, in list order; `canvasFor` gives the canvas to draw the
// prop of an index with, or none to leave it out.
template <class CanvasFor>
void drawGlowsOverDark(const Level& level, const FlagSet& flags, double time, CanvasFor canvasFor) {
    for (std::size_t i = 0; i < level.props.size(); ++i) {
        const Prop& prop = level.props[i];
        const ostrevan::Art& art = prop.currentArt(flags);
        if (!prop.isVisible(flags) || !std::holds_alternative<ostrevan::art::Glow>(art)) continue;
        if (const std::optional<Canvas> canvas = canvasFor(i)) drawArt(*canvas, art, prop.rect, time);
    }
}

constexpr auto kEvery = [](const auto&) { return true; };

// The prop the hover ring goes round, when there is one to ring.
const Prop* hoveredProp(const Level& level, const FlagSet& flags, const std::optional<std::string>& hover) {
    if (!hover) return nullptr;
    const Prop* prop = level.prop(*hover);
    return prop && prop->isVisible(flags) ? prop : nullptr;
}

void drawHoverRing(const Canvas& canvas, const Level& level, const FlagSet& flags, double time,
                   const std::optional<std::string>& hover) {
    const Prop* prop = hoveredProp(level, flags, hover);
    if (!prop) return;
    const QPainterPath ring = shape::roundedRect(insetBy(prop->rect, -kHoverGrow, -kHoverGrow), kHoverCorner);
    // The halo pulses: its picture is kept and laid on at the pulse's opacity.
    const double pulse = 0.55 + 0.25 * std::sin(5 * time);
    Canvas halo = canvas;
    halo.addBlur(kHoverHaloBlur);
    halo.setOpacity(pulse);
    halo.stroke(ring, H(palette::kWarmGlow), kHoverHaloWidth);
    canvas.stroke(ring, H(palette::kHoverLine, 0, 0.9), 2);
}

// Device pixels of `rect` in the painter's logical coordinates, snapped so cached images land
// on whole pixels.
QRectF snapToPixels(const QRectF& rect, double dpr) {
    const QRect px = QRectF(rect.x() * dpr, rect.y() * dpr, rect.width() * dpr, rect.height() * dpr).toRect();
    return QRectF(px.x() / dpr, px.y() / dpr, px.width() / dpr, px.height() / dpr);
}

QImage blankImage(QSize pixels, double dpr) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

// The painter's transform into stage units over an image of `pixels` device pixels.
QTransform stageTransform(QSize pixels, double dpr) {
    return QTransform::fromScale(pixels.width() / dpr / kStageW, pixels.height() / dpr / kStageH);
}

// A canvas in stage units over an image of the stage's size.
template <class Draw>
QImage renderStageImage(QSize pixels, double dpr, Draw draw) {
    QImage image = blankImage(pixels, dpr);
    QPainter painter(&image);
    painter.setWorldTransform(stageTransform(pixels, dpr));
    draw(Canvas(painter));
    return image;
}

}  // namespace

QRectF fitStage(const QRectF& bounds) {
    const double scale = std::max(0.0, std::min(bounds.width() / kStageW, bounds.height() / kStageH));
    const QSizeF size(kStageW * scale, kStageH * scale);
    return QRectF(bounds.center().x() - size.width() / 2, bounds.center().y() - size.height() / 2, size.width(),
                  size.height());
}

bool artAnimates(const ostrevan::Art& art) {
    namespace a = ostrevan::art;
    // Keep in step with the drawers that read the time; a test draws every case at two times.
    if (const auto* panel = std::get_if<a::Panel>(&art)) return std::holds_alternative<ostrevan::face::Screen>(panel->face);
    return std::holds_alternative<a::Tv>(art) || std::holds_alternative<a::TvFlash>(art) ||
           std::holds_alternative<a::Sockets>(art) || std::holds_alternative<a::Glow>(art) ||
           std::holds_alternative<a::GearSlot>(art) || std::holds_alternative<a::FishTank>(art) ||
           std::holds_alternative<a::Fountain>(art);
}

namespace {

// The visible props in drawing order: depth, equal depths in list order.
std::vector<const Prop*> drawingOrder(const Level& level, const FlagSet& flags) {
    std::vector<const Prop*> order;
    order.reserve(level.props.size());
    for (const Prop& prop : level.props)
        if (prop.isVisible(flags)) order.push_back(&prop);
    std::stable_sort(order.begin(), order.end(), [](const Prop* a, const Prop* b) { return a->z < b->z; });
    return order;
}

void drawLightPool(const Canvas& canvas) {
    canvas.fill(shape::ellipse(kLightPoolBox), radial(kLightPoolCentre, 0, kLightPoolRadius,
                                                      {H(palette::kLightPool, 0, 0.3), H(palette::kLightPool, 0, 0)}));
}

}  // namespace

void drawProp(const Canvas& canvas, const Level& level, const Prop& prop, const FlagSet& flags, double time,
              double doorOpen) {
    if (prop.id == kDoorID) {
        drawDoor(canvas, level.door, level.id, unlockedDoor(level, flags), doorOpen, time, true);
        return;
    }
    drawArt(canvas, prop.currentArt(flags), prop.rect, time);
}

void drawPropsLayer(Canvas canvas, const Level& level, const FlagSet& flags, double time, double doorOpen) {
    if (unlockedDoor(level, flags)) drawLightPool(canvas);
    for (const Prop* prop : drawingOrder(level, flags)) drawProp(canvas, level, *prop, flags, time, doorOpen);
}

void drawOverlayLayer(Canvas canvas, const Level& level, const FlagSet& flags, double time,
                      const std::optional<std::string>& hover, QPointF mouse, bool dark) {
    drawDustMotes(canvas, time, dark, kEvery);
    if (dark) {
        drawDarknessFill(canvas, mouse);
        drawGlowsOverDark(level, flags, time, [&](std::size_t) { return std::optional(canvas); });
    }
    drawHoverRing(canvas, level, flags, time, hover);
}

void drawVignette(Canvas canvas) {
    canvas.fill(shape::rect(kStage), radial(kVignetteCentre, kVignetteInner, kVignetteOuter, {clear(), black(0.38)}));
}


// ---------------------------------------------------------------------------------------------
// SceneRenderer

namespace {

// Repainted areas start and end on this grid of device pixels, so a blur, which works on a grid
// of up to four pixels, lines up with the whole frame's.
constexpr int kGrid = 4;
// Antialiased edges reach into the next pixel; blurs fade out a little past their reach.
constexpr double kEdgeMargin = 2;
// Drawn-afresh art is measured at these times (seconds) for the area it may touch.
constexpr std::array<double, 5> kMeasureTimes = {0, 0.7, 1.9, 3.1, 4.6};
// Stage units round a prop searched for its art's pixels; art reaching past them makes the
// whole frame the prop's area.
constexpr double kMeasureReach = 80;
// Past this share of the frame, repainting the whole is as cheap as repainting the parts.
constexpr double kWholeShare = 0.6;

QRect alignedToGrid(const QRect& r) {
    const auto down = [](int v) { return v >= 0 ? v / kGrid * kGrid : -((-v + kGrid - 1) / kGrid * kGrid); };
    const int x0 = down(r.left());
    const int y0 = down(r.top());
    const int x1 = down(r.right()) + kGrid - 1;
    const int y1 = down(r.bottom()) + kGrid - 1;
    return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

// The rects on the grid inside `whole` as areas that do not overlap: a layer laid over each area
// in turn is then laid once on every pixel.
std::vector<QRect> disjointAreas(const std::vector<QRect>& rects, const QRect& whole) {
    QRegion region;
    for (const QRect& r : rects) region += alignedToGrid(r) & whole;
    return std::vector<QRect>(region.begin(), region.end());
}

double shareOf(const std::vector<QRect>& areas, const QRect& whole) {
    double pixels = 0;
    for (const QRect& area : areas) pixels += double(area.width()) * area.height();
    return pixels / (double(whole.width()) * whole.height());
}

// The rows of `area` copied from `from` into `to`, two images of one size and 32-bit format.
void copyArea(QImage& to, const QImage& from, const QRect& area) {
    if (area.isEmpty()) return;
    const std::size_t rowBytes = std::size_t(area.width()) * sizeof(QRgb);
    const std::size_t rowStart = std::size_t(area.x()) * sizeof(QRgb);
    // Rows found once: asking the image for each row checks every time whether it is shared.
    uchar* const toBits = to.bits();
    const uchar* const fromBits = from.constBits();
    const auto toStride = std::size_t(to.bytesPerLine());
    const auto fromStride = std::size_t(from.bytesPerLine());
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(toBits + std::size_t(y) * toStride + rowStart, fromBits + std::size_t(y) * fromStride + rowStart, rowBytes);
}

// The smallest rect holding every pixel of `image` that is not fully transparent, or an empty one.
QRect paintedBounds(const QImage& image) {
    int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 0) continue;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
        }
    }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

// `image`, of the frame's size, laid over each of `areas` pixel for pixel. Whatever state a canvas
// left on the painter (its last transform, clip, opacity, blend) is set aside meanwhile and handed
// back after, so neither the image nor a canvas still drawing sees the other's.
void layAreas(QPainter& painter, const QImage& image, const std::vector<QRect>& areas, double dpr) {
    painter.save();
    painter.setWorldTransform(QTransform());
    painter.setClipping(false);
    painter.setOpacity(1);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (const QRect& area : areas) painter.drawImage(QPointF(area.x() / dpr, area.y() / dpr), image, QRectF(area));
    painter.restore();
}

// What is drawn afresh is cut at the bounds it was measured to keep to. Drawn straight onto a kept
// image, a stroke straying past them at an instant the measuring missed would stay there for good,
// outside every area repainted; cut, it shows the same whichever way the frame is composed.
Canvas boundedTo(const Canvas& canvas, const QRect& bounds) {
    Canvas bounded = canvas;
    bounded.bound(bounds);
    return bounded;
}

QRegion regionOf(const std::vector<QRect>& areas) {
    QRegion region;
    for (const QRect& area : areas) region += area;
    return region;
}

// Whether a thing drawn whole over `reach`, where it meets `region`, reaches past the region.
bool grows(const QRegion& region, const QRect& reach) {
    return region.intersects(reach) && !(QRegion(reach) - region).isEmpty();
}

bool reaches(const QRect& bounds, const std::vector<QRect>& areas) {
    return std::any_of(areas.begin(), areas.end(), [&](const QRect& area) { return bounds.intersects(area); });
}

// The device pixels of a frame of `pixels` that `stageRect` grown by `margin` pixels covers, just
// past the frame at most.
QRect toDevice(const Rect& stageRect, double margin, QSize pixels) {
    const QRect whole(QPoint(0, 0), pixels);
    const double kx = pixels.width() / kStageW;
    const double ky = pixels.height() / kStageH;
    const double x0 = stageRect.minX() * kx - margin;
    const double y0 = stageRect.minY() * ky - margin;
    const double x1 = stageRect.maxX() * kx + margin;
    const double y1 = stageRect.maxY() * ky + margin;
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return whole;
    // Clamped to just past the frame before turning into whole pixels.
    const auto px = [](double v, int size) { return int(std::clamp(v, -double(kGrid), double(size + kGrid))); };
    return QRect(QPoint(px(std::floor(x0), whole.width()), px(std::floor(y0), whole.height())),
                 QPoint(px(std::ceil(x1), whole.width()) - 1, px(std::ceil(y1), whole.height()) - 1));
}

// The area a drawn-afresh layer may touch in a frame of `pixels`: what `draw` paints at a few
// times round `near`.
QRect measuredBounds(const Rect& near, QSize pixels, double devicePixelRatio,
                     const std::function<void(const Canvas&, double)>& draw) {
    const QRect whole(QPoint(0, 0), pixels);
    const QRect window = alignedToGrid(toDevice(insetBy(near, -kMeasureReach, -kMeasureReach), 0, pixels)) & whole;
    if (window.isEmpty()) return QRect();
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    const QTransform stageScale = stageTransform(pixels, devicePixelRatio);
    QRect painted;
    for (const double time : kMeasureTimes) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setWorldTransform(stageScale * QTransform::fromTranslate(-window.x() / devicePixelRatio,
                                                                         -window.y() / devicePixelRatio));
        draw(Canvas(painter), time);
        painter.end();
        painted |= paintedBounds(image);
    }
    if (painted.isEmpty()) return QRect();
    const QRect inFrame = painted.translated(window.topLeft());
    const bool reachesOut = (painted.left() == 0 && window.left() > 0) || (painted.top() == 0 && window.top() > 0) ||
                            (painted.right() == window.width() - 1 && window.right() < whole.right()) ||
                            (painted.bottom() == window.height() - 1 && window.bottom() < whole.bottom());
    if (reachesOut) return whole;
    const int margin = int(std::ceil(kEdgeMargin));
    return alignedToGrid(inFrame.adjusted(-margin, -margin, margin, margin)) & whole;
}

}  // namespace

QRect movingPropBounds(const Level& level, const Prop& prop, const FlagSet& flags, QSize pixels, double devicePixelRatio) {
    return measuredBounds(prop.rect, pixels, devicePixelRatio, [&](const Canvas& canvas, double time) {
        drawProp(canvas, level, prop, flags, time, 0);
    });
}

const QImage& SceneRenderer::shellImage(const Level& level, QSize pixelSize, double devicePixelRatio) {
    if (m_shell.isNull() || m_shellRoom != level.id || m_shell.size() != pixelSize ||
        m_shell.devicePixelRatio() != devicePixelRatio) {
        // The shell covers the stage: opaque pixels are copied rather than blended.
        m_shell = renderStageImage(pixelSize, devicePixelRatio, [&](Canvas canvas) { drawRoomShell(canvas, level.theme); })
                      .convertToFormat(QImage::Format_RGB32);
        m_shellRoom = level.id;
    }
    return m_shell;
}

const QImage& SceneRenderer::vignetteImage(QSize pixelSize, double devicePixelRatio) {
    if (m_vignette.isNull() || m_vignette.size() != pixelSize || m_vignette.devicePixelRatio() != devicePixelRatio) {
        m_vignette = renderStageImage(pixelSize, devicePixelRatio, [](Canvas canvas) { drawVignette(canvas); });
    }
    return m_vignette;
}

QRect SceneRenderer::toDevice(const Rect& stageRect, double margin) const {
    return tallowmere::toDevice(stageRect, margin, m_layersSize);
}

void SceneRenderer::addMotes(std::vector<QRect>& rects, double time) const {
    for (int i = 0; i < kMotes; ++i) rects.push_back(toDevice(moteAt(i, time).box, kEdgeMargin));
}

void SceneRenderer::addHoverRing(std::vector<QRect>& rects, const RoomScene& scene,
                                 const std::optional<std::string>& hover) const {
    const Prop* prop = hoveredProp(scene.level, scene.flags, hover);
    if (!prop) return;
    // Only the band round the ring changes as it pulses: the four sides of its reach, unless the
    // prop is too small to leave anything inside untouched.
    const QRect outer = toDevice(insetBy(prop->rect, -kHoverReach, -kHoverReach), kEdgeMargin);
    const QRect inner = toDevice(insetBy(prop->rect, kHoverInnerReach, kHoverInnerReach), 0)
                            .adjusted(kGrid, kGrid, -kGrid, -kGrid);
    if (inner.width() < 2 * kGrid || inner.height() < 2 * kGrid || !outer.contains(inner)) {
        rects.push_back(outer);
        return;
    }
    rects.push_back(QRect(QPoint(outer.left(), outer.top()), QPoint(outer.right(), inner.top() - 1)));
    rects.push_back(QRect(QPoint(outer.left(), inner.bottom() + 1), QPoint(outer.right(), outer.bottom())));
    rects.push_back(QRect(QPoint(outer.left(), inner.top()), QPoint(inner.left() - 1, inner.bottom())));
    rects.push_back(QRect(QPoint(inner.right() + 1, inner.top()), QPoint(outer.right(), inner.bottom())));
}

void SceneRenderer::addLightCircle(std::vector<QRect>& rects, QPointF mouse) const {
    const Rect circle{mouse.x() - kLightRadius, mouse.y() - kLightRadius, 2 * kLightRadius, 2 * kLightRadius};
    rects.push_back(toDevice(circle, kEdgeMargin));
}

bool SceneRenderer::prepareLayers(const RoomScene& scene, QSize pixels, double devicePixelRatio) {
    const Level& level = scene.level;
    const FlagSet& flags = scene.flags;
    const bool doorShut = !(scene.doorOpen > 0);
    if (!m_background.isNull() && m_layersRoom == level.id && m_layersFlags == flags && m_layersSize == pixels &&
        m_layersDpr == devicePixelRatio && m_layersDoorShut == doorShut)
        return false;
    m_layersRoom = level.id;
    m_layersFlags = flags;
    m_layersSize = pixels;
    m_layersDpr = devicePixelRatio;
    m_layersDoorShut = doorShut;
    m_layers.clear();
    m_background = shellImage(level, pixels, devicePixelRatio).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_background.setDevicePixelRatio(devicePixelRatio);
    const QRect whole(QPoint(0, 0), pixels);
    const auto measure = [&](const Rect& near, const std::function<void(const Canvas&, double)>& draw) {
        return measuredBounds(near, pixels, devicePixelRatio, draw);
    };

    // Still things gather into runs; the first run lies on the background itself.
    std::vector<std::function<void(const Canvas&)>> run;
    const auto endRun = [&] {
        if (run.empty()) return;
        QImage image = renderStageImage(pixels, devicePixelRatio, [&](const Canvas& canvas) {
            for (const auto& still : run) still(canvas);
        });
        if (m_layers.empty()) {
            QPainter painter(&m_background);
            painter.drawImage(QPointF(0, 0), image);
        } else {
            m_layers.push_back(Layer{std::move(image), 0, false, whole});
        }
        run.clear();
    };
    const auto afresh = [&](std::size_t prop, bool lampOnly, QRect bounds) {
        endRun();
        m_layers.push_back(Layer{QImage(), prop, lampOnly, bounds});
    };

    const bool unlocked = unlockedDoor(level, flags);
    if (unlocked) run.emplace_back([](const Canvas& canvas) { drawLightPool(canvas); });
    for (const Prop* prop : drawingOrder(level, flags)) {
        const std::size_t index = std::size_t(prop - level.props.data());
        if (prop->id == kDoorID) {
            if (!doorShut) {
                afresh(index, false, whole);
                continue;
            }
            // A shut door changes only through its lamp, and an unlocked door's lamp is steady.
            run.emplace_back([&level, unlocked](const Canvas& canvas) {
                drawDoor(canvas, level.door, level.id, unlocked, 0, 0, unlocked);
            });
            if (!unlocked) {
                afresh(index, true, measure(DoorLayout::lampHousing, [](const Canvas& canvas, double time) {
                           drawDoorLamp(canvas, false, time);
                       }));
            }
            continue;
        }
        if (!artAnimates(prop->currentArt(flags))) {
            run.emplace_back(
                [this, &level, prop, &flags](const Canvas& canvas) { m_drawProp(canvas, level, *prop, flags, 0, 0); });
            continue;
        }
        afresh(index, false, measure(prop->rect, [&](const Canvas& canvas, double time) {
                   m_drawProp(canvas, level, *prop, flags, time, 0);
               }));
    }
    endRun();

    // A still run's pixels where nothing drawn afresh lies beneath never change: they join the
    // background, and a repaint lays the run only where something beneath it may have moved.
    QRegion afreshBelow;
    QPainter painter(&m_background);
    for (Layer& layer : m_layers) {
        if (layer.still.isNull()) {
            afreshBelow += layer.bounds;
            continue;
        }
        layer.moving = afreshBelow;
        const QRegion fixed = QRegion(whole) - afreshBelow;
        layAreas(painter, layer.still, std::vector<QRect>(fixed.begin(), fixed.end()), devicePixelRatio);
    }
    std::erase_if(m_layers, [](const Layer& layer) { return !layer.still.isNull() && layer.moving.isEmpty(); });
    return true;
}

// The areas are painted on a frame-sized scratch image in the frame's own coordinates, so every
// shape lands on the very pixels and rounds exactly as in a whole repaint; only what reaches an
// area is drawn, and only the areas are kept.
QImage& SceneRenderer::scratch(const std::vector<QRect>& areas, const QImage& start) {
    startAreas(m_scratch, start, areas);
    return m_scratch;
}

// The scratch's areas become `target`'s: the whole image trades places with it.
void SceneRenderer::keep(QImage& target, const QRect& whole, const std::vector<QRect>& areas) {
    if (areas.size() == 1 && areas.front() == whole) {
        std::swap(target, m_scratch);
        return;
    }
    for (const QRect& area : areas) copyArea(target, m_scratch, area);
}

// `areas` of `start` copied into `image`, made the frame's size first if it is not.
void SceneRenderer::startAreas(QImage& image, const QImage& start, const std::vector<QRect>& areas) {
    if (image.size() != m_layersSize || image.devicePixelRatio() != m_layersDpr) {
        image = QImage(m_layersSize, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(m_layersDpr);
    }
    for (const QRect& area : areas) copyArea(image, start, area);
}

void SceneRenderer::composeDarkness(const std::vector<QRect>& areas, QPointF mouse) {
    const QRect whole(QPoint(0, 0), m_layersSize);
    const double dpr = m_layersDpr;
    const double kx = m_layersSize.width() / kStageW;
    const double ky = m_layersSize.height() / kStageH;
    if (m_darkness.size() != m_layersSize || m_darkness.devicePixelRatio() != dpr) {
        m_darkness = QImage(m_layersSize, QImage::Format_ARGB32_Premultiplied);
        m_darkness.setDevicePixelRatio(dpr);
    }
    for (const QRect& area : areas) {
        // Filled a little past the area, whose pixels are then all wholly inside the fill, as
        // they are when the whole stage is filled.
        const QRect reach = area == whole ? whole : area.adjusted(-kGrid, -kGrid, kGrid, kGrid) & whole;
        QImage& image = scratch({}, m_darkness);
        for (int y = reach.top(); y <= reach.bottom(); ++y)
            std::memset(image.scanLine(y) + std::size_t(reach.x()) * sizeof(QRgb), 0, std::size_t(reach.width()) * sizeof(QRgb));
        {
            QPainter painter(&image);
            painter.setWorldTransform(stageTransform(m_layersSize, dpr));
            drawDarknessFill(Canvas(painter), mouse,
                             area == whole ? kStage : Rect{reach.x() / kx, reach.y() / ky, reach.width() / kx, reach.height() / ky});
        }
        keep(m_darkness, whole, {area});
    }
}

void SceneRenderer::composeUnder(const std::vector<QRect>& areas, const RoomScene& scene, bool direct) {
    const Level& level = scene.level;
    const FlagSet& flags = scene.flags;
    const double dpr = m_layersDpr;
    const QRect whole(QPoint(0, 0), m_layersSize);
    if (direct) startAreas(m_under, m_background, areas);
    QImage& image = direct ? m_under : scratch(areas, m_background);
    const QRegion region = regionOf(areas);
    QPainter painter(&image);
    painter.setWorldTransform(stageTransform(m_layersSize, dpr));
    const Canvas canvas(painter);
    for (const Layer& layer : m_layers) {
        if (!layer.still.isNull()) {
            const QRegion lay = region & layer.moving;
            if (!lay.isEmpty()) layAreas(painter, layer.still, std::vector<QRect>(lay.begin(), lay.end()), dpr);
        } else if (!reaches(layer.bounds, areas)) {
            continue;
        } else if (layer.lampOnly) {
            drawDoorLamp(boundedTo(canvas, layer.bounds), unlockedDoor(level, flags), scene.time);
        } else if (layer.prop < level.props.size()) {
            m_drawProp(boundedTo(canvas, layer.bounds), level, level.props[layer.prop], flags, scene.time, scene.doorOpen);
        }
    }
    drawDustMotes(canvas, scene.time, scene.dark, [&](const Rect& box) { return reaches(toDevice(box, kEdgeMargin), areas); });
    // The darkness's pixels depend only on where they are: laid as worked out.
    if (scene.dark) layAreas(painter, m_darkness, areas, dpr);
    painter.end();
    if (!direct) keep(m_under, whole, areas);
}

void SceneRenderer::composeOver(const std::vector<QRect>& areas, const RoomScene& scene, bool direct) {
    const Level& level = scene.level;
    const FlagSet& flags = scene.flags;
    const double dpr = m_layersDpr;
    const QRect whole(QPoint(0, 0), m_layersSize);
    if (direct) startAreas(m_frame, m_under, areas);
    QImage& image = direct ? m_frame : scratch(areas, m_under);
    QPainter painter(&image);
    painter.setWorldTransform(stageTransform(m_layersSize, dpr));
    {
        const Canvas canvas(painter);
        if (scene.dark) {
            drawGlowsOverDark(level, flags, scene.time, [&](std::size_t prop) -> std::optional<Canvas> {
                const auto layer = std::find_if(m_layers.begin(), m_layers.end(), [&](const Layer& layer) {
                    return layer.drawsProp() && layer.prop == prop && reaches(layer.bounds, areas);
                });
                if (layer == m_layers.end()) return std::nullopt;
                return boundedTo(canvas, layer->bounds);
            });
        }
        if (const Prop* prop = hoveredProp(level, flags, scene.hover); prop && reaches(ringReach(*prop), areas))
            drawHoverRing(canvas, level, flags, scene.time, scene.hover);
    }
    layAreas(painter, vignetteImage(m_layersSize, dpr), areas, dpr);
    painter.end();
    if (!direct) keep(m_frame, whole, areas);
}

// When nothing drawn where it reaches `region` reaches past it, the areas are drawn straight onto
// the kept images, as nothing outside them is drawn over; otherwise they are drawn on the scratch
// image, and only they are kept.
bool SceneRenderer::underGrows(const QRegion& region, const RoomScene& scene) const {
    if (std::any_of(m_layers.begin(), m_layers.end(),
                    [&](const Layer& layer) { return layer.still.isNull() && grows(region, layer.bounds); }))
        return true;
    if (scene.dark) return false;
    const QRect whole(QPoint(0, 0), m_layersSize);
    for (int i = 0; i < kMotes; ++i)
        if (grows(region, toDevice(moteAt(i, scene.time).box, kEdgeMargin) & whole)) return true;
    return false;
}

bool SceneRenderer::overGrows(const QRegion& region, const RoomScene& scene) const {
    if (scene.dark && std::any_of(m_layers.begin(), m_layers.end(),
                                  [&](const Layer& layer) { return layer.drawsProp() && grows(region, layer.bounds); }))
        return true;
    const Prop* prop = hoveredProp(scene.level, scene.flags, scene.hover);
    if (!prop || !region.intersects(ringReach(*prop))) return false;
    const QRect whole(QPoint(0, 0), m_layersSize);
    std::vector<QRect> band;
    addHoverRing(band, scene, scene.hover);
    return std::any_of(band.begin(), band.end(), [&](const QRect& part) { return !(QRegion(part & whole) - region).isEmpty(); });
}

QRect SceneRenderer::ringReach(const Prop& prop) const {
    return toDevice(insetBy(prop.rect, -kHoverReach, -kHoverReach), kEdgeMargin);
}

const QImage& SceneRenderer::frame(const RoomScene& scene, QSize pixels, double devicePixelRatio) {
    const bool rebuilt = prepareLayers(scene, pixels, devicePixelRatio);
    if (m_background.isNull()) {
        m_frameValid = false;
        m_frame = QImage();
        m_repainted.clear();
        m_recomposed.clear();
        return m_frame;
    }
    const QRect whole(QPoint(0, 0), pixels);
    bool repaintAll = rebuilt || !m_frameValid || m_frame.size() != pixels ||
                      m_frame.devicePixelRatio() != devicePixelRatio || scene.dark != m_lastDark ||
                      scene.doorOpen > 0 || !std::isfinite(scene.time) || !std::isfinite(m_lastTime);
    std::vector<QRect> under;  // what lies under the pulsing layers changed here
    std::vector<QRect> over;   // ... and here only the pulsing layers
    std::vector<QRect> light;  // the darkness moved here
    bool underDirect = true;   // all drawn under and over them lies inside the areas
    bool overDirect = true;
    if (!repaintAll) {
        const bool timed = scene.time != m_lastTime;
        if (timed) {
            for (const Layer& layer : m_layers)
                if (layer.still.isNull()) under.push_back(layer.bounds);
            if (!scene.dark) {
                addMotes(under, m_lastTime);
                addMotes(under, scene.time);
            }
        }
        if (scene.dark && scene.mouse != m_lastMouse) {
            addLightCircle(light, m_lastMouse);
            addLightCircle(light, scene.mouse);
            under.insert(under.end(), light.begin(), light.end());
        }
        over = under;
        if (timed || scene.hover != m_lastHover) {
            addHoverRing(over, scene, m_lastHover);
            addHoverRing(over, scene, scene.hover);
        }
        light = disjointAreas(light, whole);
        under = disjointAreas(under, whole);
        over = disjointAreas(over, whole);
        underDirect = !underGrows(regionOf(under), scene);
        overDirect = !overGrows(regionOf(over), scene);
        repaintAll = shareOf(over, whole) > kWholeShare;
    }
    if (repaintAll) {
        light = under = over = {whole};
        underDirect = overDirect = true;
    }
    if (scene.dark && !light.empty()) composeDarkness(light, scene.mouse);
    if (!under.empty()) composeUnder(under, scene, underDirect);
    if (!over.empty()) composeOver(over, scene, overDirect);
    m_repainted = std::move(over);
    m_recomposed = std::move(under);
    m_frameValid = true;
    m_lastTime = scene.time;
    m_lastMouse = scene.mouse;
    m_lastHover = scene.hover;
    m_lastDark = scene.dark;
    return m_frame;
}

void SceneRenderer::draw(QPainter& painter, const QRectF& target, const RoomScene& scene) {
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QRectF stage = snapToPixels(fitStage(target), dpr);
    const QSize pixels = (stage.size() * dpr).toSize();
    if (pixels.isEmpty()) return;
    QImage image;
    runOnPool([&] { image = frame(scene, pixels, dpr); });
    if (!image.isNull()) painter.drawImage(stage.topLeft(), image);
}

bool SceneRenderer::fills(QSize pixelSize, double devicePixelRatio) {
    if (pixelSize.isEmpty() || !(devicePixelRatio > 0)) return false;
    const QRectF target(0, 0, pixelSize.width() / devicePixelRatio, pixelSize.height() / devicePixelRatio);
    const QRectF stage = snapToPixels(fitStage(target), devicePixelRatio);
    return stage.topLeft() == QPointF(0, 0) && (stage.size() * devicePixelRatio).toSize() == pixelSize;
}

QImage SceneRenderer::render(const RoomScene& scene, QSize pixelSize, double devicePixelRatio) {
    if (pixelSize.isEmpty() || !(devicePixelRatio > 0)) return {};
    const QRectF target(0, 0, pixelSize.width() / devicePixelRatio, pixelSize.height() / devicePixelRatio);
    // The usual case: the stage fills the image, which is then the kept frame itself.
    if (fills(pixelSize, devicePixelRatio)) {
        QImage image;
        runOnPool([&] { image = frame(scene, pixelSize, devicePixelRatio); });
        return image;
    }
    QImage image = blankImage(pixelSize, devicePixelRatio);
    QPainter painter(&image);
    draw(painter, target, scene);
    painter.end();
    return image;
}

}  // namespace tallowmere
