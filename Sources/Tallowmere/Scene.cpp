#include <Tallowmere/Scene.hpp>

#include <Tallowmere/Draw.hpp>
#include <Tallowmere/FloorArt.hpp>
#include <Tallowmere/Palette.hpp>
#include <Tallowmere/RoomArt.hpp>
#include <Tallowmere/WallArt.hpp>

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>
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

void drawDustMotes(const Canvas& canvas, double time, bool dark) {
    if (dark) return;  // motes have no opacity in the dark
    for (int i = 0; i < kMotes; ++i) {
        const std::uint64_t seed = scatterSeed(i);
        const double speed = 6 + 10 * unitHash(seed, 1);
        // fmod keeps the dividend's sign: the wobble may lift a mote a little above the top.
        const double x = std::fmod(kMoteAreaW * unitHash(seed, 2) + 0.6 * time * speed, kMoteAreaW);
        const double y = std::fmod(kMoteAreaH * unitHash(seed, 3) + 0.35 * time * speed + 8 * std::sin(0.7 * time + i),
                                   kMoteAreaH);
        const double opacity = 0.16 + 0.12 * std::sin(time + i);
        const double size = 1.2 + 1.8 * unitHash(seed, 4);
        canvas.fill(shape::ellipse(Rect{x, y, size, size}), white(opacity));
    }
}

void drawDarkness(const Canvas& canvas, const Level& level, const FlagSet& flags, double time, QPointF mouse) {
    canvas.fill(shape::rect(kStage), RadialGradient{mouse, 0, kLightRadius,
                                                    {{0, black(0)}, {0.5, black(0)}, {1, black(kDarkness)}}});
    // Glowing writing shows through the dark, in list order.
    for (const Prop& prop : level.props) {
        if (!prop.isVisible(flags)) continue;
        const ostrevan::Art& art = prop.currentArt(flags);
        if (std::holds_alternative<ostrevan::art::Glow>(art)) drawArt(canvas, art, prop.rect, time);
    }
}

void drawHoverRing(const Canvas& canvas, const Level& level, const FlagSet& flags, double time,
                   const std::optional<std::string>& hover) {
    if (!hover) return;
    const Prop* prop = level.prop(*hover);
    if (!prop || !prop->isVisible(flags)) return;
    const QPainterPath ring = shape::roundedRect(insetBy(prop->rect, -kHoverGrow, -kHoverGrow), kHoverCorner);
    const double pulse = 0.55 + 0.25 * std::sin(5 * time);
    Canvas halo = canvas;
    halo.addBlur(6);
    halo.stroke(ring, H(palette::kWarmGlow, 0, pulse), 5);
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

// A canvas in stage units over an image of the stage's size.
template <class Draw>
QImage renderStageImage(QSize pixels, double dpr, Draw draw) {
    QImage image = blankImage(pixels, dpr);
    QPainter painter(&image);
    const QSizeF logical(pixels.width() / dpr, pixels.height() / dpr);
    painter.setWorldTransform(QTransform::fromScale(logical.width() / kStageW, logical.height() / kStageH));
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

bool drawnAfresh(const Prop& prop, const FlagSet& flags) {
    return prop.id == kDoorID || artAnimates(prop.currentArt(flags));
}

void drawLightPool(const Canvas& canvas) {
    canvas.fill(shape::ellipse(kLightPoolBox), radial(kLightPoolCentre, 0, kLightPoolRadius,
                                                      {H(palette::kLightPool, 0, 0.3), H(palette::kLightPool, 0, 0)}));
}

void drawProp(const Canvas& canvas, const Level& level, const Prop& prop, const FlagSet& flags, double time,
              double doorOpen) {
    if (prop.id == kDoorID) {
        drawDoor(canvas, level.door, level.id, unlockedDoor(level, flags), doorOpen, time, true);
        return;
    }
    drawArt(canvas, prop.currentArt(flags), prop.rect, time);
}

}  // namespace

void drawPropsLayer(Canvas canvas, const Level& level, const FlagSet& flags, double time, double doorOpen) {
    if (unlockedDoor(level, flags)) drawLightPool(canvas);
    for (const Prop* prop : drawingOrder(level, flags)) drawProp(canvas, level, *prop, flags, time, doorOpen);
}

void drawOverlayLayer(Canvas canvas, const Level& level, const FlagSet& flags, double time,
                      const std::optional<std::string>& hover, QPointF mouse, bool dark) {
    drawDustMotes(canvas, time, dark);
    if (dark) drawDarkness(canvas, level, flags, time, mouse);
    drawHoverRing(canvas, level, flags, time, hover);
}

void drawVignette(Canvas canvas) {
    canvas.fill(shape::rect(kStage), radial(kVignetteCentre, kVignetteInner, kVignetteOuter, {clear(), black(0.38)}));
}

// ---------------------------------------------------------------------------------------------
// SceneRenderer

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

void SceneRenderer::drawProps(const Canvas& canvas, const RoomScene& scene, QSize pixelSize, double devicePixelRatio) {
    const Level& level = scene.level;
    const FlagSet& flags = scene.flags;
    const std::vector<const Prop*> order = drawingOrder(level, flags);
    const bool fresh = m_propsRoom != level.id || m_propsFlags != flags || m_propsSize != pixelSize ||
                       m_propsDpr != devicePixelRatio;
    if (fresh) {
        m_propRuns.clear();
        m_propsRoom = level.id;
        m_propsFlags = flags;
        m_propsSize = pixelSize;
        m_propsDpr = devicePixelRatio;
    }
    // The light pool lies under every prop, so it opens the first run.
    std::size_t run = 0;
    std::size_t i = 0;
    bool first = true;
    while (i < order.size() || first) {
        std::size_t end = i;
        while (end < order.size() && !drawnAfresh(*order[end], flags)) ++end;
        if (end > i || (first && unlockedDoor(level, flags))) {
            if (run == m_propRuns.size()) {
                m_propRuns.push_back(renderStageImage(pixelSize, devicePixelRatio, [&](const Canvas& still) {
                    if (first && unlockedDoor(level, flags)) drawLightPool(still);
                    for (std::size_t k = i; k < end; ++k) drawProp(still, level, *order[k], flags, 0, 0);
                }));
            }
            canvas.drawImage(kStage, m_propRuns[run]);
            ++run;
        }
        first = false;
        if (end < order.size()) drawProp(canvas, level, *order[end], flags, scene.time, scene.doorOpen);
        i = end + 1;
    }
}

void SceneRenderer::draw(QPainter& painter, const QRectF& target, const RoomScene& scene) {
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QRectF stage = snapToPixels(fitStage(target), dpr);
    const QSize pixels = (stage.size() * dpr).toSize();
    if (pixels.isEmpty()) return;

    painter.save();
    painter.drawImage(stage.topLeft(), shellImage(scene.level, pixels, dpr));
    const QTransform base = painter.worldTransform();
    painter.setWorldTransform(QTransform::fromScale(stage.width() / kStageW, stage.height() / kStageH) *
                              QTransform::fromTranslate(stage.x(), stage.y()) * base);
    {
        // The canvas hands the painter back as it found it (stage-scaled) when it goes, so it
        // must be gone before the base transform is restored.
        const Canvas canvas(painter);
        drawProps(canvas, scene, pixels, dpr);
        drawOverlayLayer(canvas, scene.level, scene.flags, scene.time, scene.hover, scene.mouse, scene.dark);
    }
    painter.setWorldTransform(base);
    painter.setClipping(false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(stage.topLeft(), vignetteImage(pixels, dpr));
    painter.restore();
}

QImage SceneRenderer::render(const RoomScene& scene, QSize pixelSize, double devicePixelRatio) {
    if (pixelSize.isEmpty() || !(devicePixelRatio > 0)) return {};
    QImage image = blankImage(pixelSize, devicePixelRatio);
    QPainter painter(&image);
    draw(painter, QRectF(0, 0, pixelSize.width() / devicePixelRatio, pixelSize.height() / devicePixelRatio), scene);
    painter.end();
    return image;
}

QImage SceneRenderer::renderOnPool(const RoomScene& scene, QSize pixelSize, double devicePixelRatio) {
    return paintOnPool(pixelSize, devicePixelRatio, [&](QPainter& painter) {
        draw(painter, QRectF(0, 0, pixelSize.width() / devicePixelRatio, pixelSize.height() / devicePixelRatio), scene);
    });
}

}  // namespace tallowmere
