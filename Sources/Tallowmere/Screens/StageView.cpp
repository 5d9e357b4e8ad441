#include <Tallowmere/Screens/StageView.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Platform/Canvas.hpp>
#include <Tallowmere/Widgets/ItemIcon.hpp>

#include <Ostrevan/Engine.hpp>

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsEffect>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

namespace tallowmere {

using ostrevan::Level;
using ostrevan::Prop;

namespace {

// How many rooms the stage renders a second, once a second while it renders: off unless
// QT_LOGGING_RULES turns on "tallowmere.frames.info" (scripts/cpu-check does).
Q_LOGGING_CATEGORY(lcFrames, "tallowmere.frames", QtWarningMsg)

constexpr double kStageW = ostrevan::Stage::width;
constexpr double kStageH = ostrevan::Stage::height;

constexpr int kFrameIntervalMs = 42;  // at most 24 frames a second
constexpr double kMaxPointerHz = 60;  // pointer frames a second at most, and when the screen does not say
// The art's clock (see artTime): where it starts and how far it runs before it starts again.
constexpr double kArtClockWrap = 20000;
constexpr double kReferenceDate = 978307200;  // 2001-01-01 00:00 UTC in Unix seconds

// Hit testing: small props get a wider margin so they can be hit at all.
constexpr double kSmallPropWidth = 60;
constexpr double kSmallPropHeight = 40;
constexpr double kSmallPropMargin = 8;
constexpr double kPropMargin = 2;

// The frame round the stage.
constexpr double kFrameCorner = 14;
constexpr double kFrameRimOpacity = 0.1;
constexpr double kShadowOpacity = 0.6;
constexpr double kShadowSigma = 12;  // a 24-point shadow radius
constexpr double kShadowDrop = 12;

// The held item, carried beside the pointer.
constexpr double kHeldSide = 50;
constexpr double kHeldOffset = 24;
constexpr double kHeldShadowOpacity = 0.5;
constexpr double kHeldShadowBlur = 8;
constexpr double kHeldShadowDrop = 3;
constexpr int kHeldShadowReach = 12;  // how far the blurred, dropped shadow may reach past the item

QImage transparentImage(QSizeF logical, double dpr) {
    QImage image(QSize(std::max(1, int(std::ceil(logical.width() * dpr))), std::max(1, int(std::ceil(logical.height() * dpr)))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

// The whole widget pixels that cover `devicePixels`, and one more round: however the window maps
// them back to its own pixels, they cover the area.
QRect coveringWidgetPixels(const QRectF& devicePixels, double dpr) {
    const QPoint topLeft(int(std::floor(devicePixels.left() / dpr)), int(std::floor(devicePixels.top() / dpr)));
    const QPoint bottomRight(int(std::ceil(devicePixels.right() / dpr)) - 1, int(std::ceil(devicePixels.bottom() / dpr)) - 1);
    return QRect(topLeft, bottomRight).adjusted(-1, -1, 1, 1);
}

}  // namespace

// Keeps of what its widget paints only the part inside `shape` (in the widget's coordinates),
// with antialiased edges, so the held item is cut by the stage's rounded frame as the room is.
class FrameCut final : public QGraphicsEffect {
public:
    using QGraphicsEffect::QGraphicsEffect;

    void setShape(const QPainterPath& shape) {
        if (shape == m_shape) return;
        m_shape = shape;
        update();
    }

protected:
    void draw(QPainter* painter) override {
        QPoint offset;
        const QPixmap source = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
        if (source.isNull()) return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        // A texture brush repeats: only the source's own rectangle is filled.
        painter->setClipRect(QRectF(offset, source.deviceIndependentSize()), Qt::IntersectClip);
        // The texture starts at the painter's origin; a brush transform would be scaled along
        // with a high-density texture.
        painter->translate(offset);
        painter->fillPath(m_shape.translated(-QPointF(offset)), QBrush(source));
        painter->restore();
    }

private:
    QPainterPath m_shape;
};

double stageScale(QSizeF space) {
    return std::max(0.0, std::min(space.width() / kStageW, space.height() / kStageH));
}

double doorProgress(std::optional<double> start, double now) {
    if (!start) return 0;
    const double elapsed = now - *start;
    const double c = elapsed > 0 ? std::min(elapsed, 1.0) : 0.0;  // a NaN lands on 0
    return c * c * (3 - 2 * c);
}

double artTime(double secondsSinceUnixEpoch) {
    double t = std::fmod(secondsSinceUnixEpoch - kReferenceDate, kArtClockWrap);
    if (t < 0) t += kArtClockWrap;
    return t < kArtClockWrap ? t : 0;
}

double pointerFrameIntervalMs(double screenHz) {
    // A faster screen does not make the light follow any better to the eye, only dearer.
    const double hz = screenHz > 1 ? std::min(screenHz, kMaxPointerHz) : kMaxPointerHz;
    return 1000.0 / hz;
}

double artTimeNow() {
    return artTime(double(QDateTime::currentMSecsSinceEpoch()) / 1000.0);
}

const Prop* propAt(const Level& level, const ostrevan::FlagSet& flags, QPointF point) {
    std::vector<std::size_t> order(level.props.size());
    std::iota(order.begin(), order.end(), 0);
    // Nearest first: higher z, then later in the list. The reverse of the drawing order.
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::int64_t za = level.props[a].z;
        const std::int64_t zb = level.props[b].z;
        return za != zb ? za > zb : a > b;
    });
    for (const std::size_t index : order) {
        const Prop& prop = level.props[index];
        if (!prop.isVisible(flags) || !prop.isInteractive()) continue;
        const Rect& r = prop.rect;
        const bool small = r.w < kSmallPropWidth || r.h < kSmallPropHeight;
        const Rect grown = insetBy(r, -(small ? kSmallPropMargin : kPropMargin), -(small ? kSmallPropMargin : kPropMargin));
        if (point.x() >= grown.minX() && point.x() < grown.maxX() && point.y() >= grown.minY() && point.y() < grown.maxY())
            return &prop;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// StageView

StageView::StageView(GameModel& model, QMarginsF padding, QWidget* parent)
    : QWidget(parent), m_model(model), m_padding(padding), m_artClock(artTimeNow) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setCursor(Qt::ArrowCursor);
    m_frameTime = m_artClock();

    m_heldCarrier = new QWidget(this);
    m_heldCarrier->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_heldCarrier->resize(int(kHeldSide) + 2 * kHeldShadowReach, int(kHeldSide) + 2 * kHeldShadowReach);
    m_heldCut = new FrameCut(m_heldCarrier);
    m_heldCarrier->setGraphicsEffect(m_heldCut);
    m_heldCarrier->hide();
    m_held = new ItemIcon(m_heldCarrier);
    m_held->setGeometry(kHeldShadowReach, kHeldShadowReach, int(kHeldSide), int(kHeldSide));
    auto* shadow = new QGraphicsDropShadowEffect(m_held);
    shadow->setColor(black(kHeldShadowOpacity));
    shadow->setBlurRadius(kHeldShadowBlur);
    shadow->setOffset(0, kHeldShadowDrop);
    m_held->setGraphicsEffect(shadow);
    m_held->hide();

    m_frameTimer.setInterval(kFrameIntervalMs);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, &StageView::tick);
    m_pointerTimer.setSingleShot(true);
    m_pointerTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_pointerTimer, &QTimer::timeout, this, [this] { showFrame(true); });

    m_outside.connect(&m_model, &GameModel::changed, this, [this](GameModel::What what, Transition) {
        switch (what) {
            case GameModel::What::state:
                updateHeldItem();
                [[fallthrough]];
            case GameModel::What::doorOpenStart:
                // The room or its flags changed: the last frame no longer shows them.
                m_frameDue = true;
                m_dueForPointer = false;
                update(stageFrame().toAlignedRect());
                break;
            case GameModel::What::paused:
            case GameModel::What::panelID:
            case GameModel::What::showHelp:
                if (!overlaid()) overlayClosed();
                break;
            default: break;
        }
    });
}

StageView::~StageView() = default;

QRectF StageView::stageFrame() const {
    const QRectF fitted = fitStage(QRectF(rect()).marginsRemoved(m_padding));
    const double dpr = devicePixelRatioF();
    if (fitted.isEmpty() || !(dpr > 0)) return fitted;
    // The frame lies on whole pixels of the window, so the room is copied into it pixel for
    // pixel, whatever the scale: the widget's own place, whole points, may fall inside a pixel.
    // Its size is the largest whole one that fits and that the stage's proportions fill, as a
    // width of a multiple of 25 pixels always does.
    const double maxH = std::floor(fitted.height() * dpr);
    const double maxW = std::min(std::floor(fitted.width() * dpr), std::floor(maxH * kStageW / kStageH));
    double w = 0;
    double h = 0;
    for (double tryW = maxW; tryW >= 1 && w == 0; --tryW) {
        for (const double tryH : {std::ceil(tryW * kStageH / kStageW), std::floor(tryW * kStageH / kStageW)}) {
            if (tryH >= 1 && tryH <= maxH && SceneRenderer::fills(QSize(int(tryW), int(tryH)), dpr)) {
                w = tryW;
                h = tryH;
                break;
            }
        }
    }
    if (w < 1 || h < 1) return fitted;
    const QPointF offset = QPointF(mapTo(window(), QPoint(0, 0))) * dpr;
    const QPointF centre = offset + fitted.center() * dpr;
    const QPointF corner(std::round(centre.x() - w / 2), std::round(centre.y() - h / 2));
    return QRectF((corner - offset) / dpr, QSizeF(w, h) / dpr);
}

double StageView::scale() const {
    // The frame's scale, not stageScale() of the offered size: the frame is set on whole pixels
    // of the window and so is up to a pixel smaller, and pointers and the held item follow what
    // is shown.
    return stageFrame().width() / kStageW;
}

QPointF StageView::toStage(QPointF widgetPoint) const {
    const double s = scale();
    if (!(s > 0)) return m_mouse;
    return (widgetPoint - stageFrame().topLeft()) / s;
}

QPointF StageView::toWidget(QPointF stagePoint) const {
    return stageFrame().topLeft() + stagePoint * scale();
}

RoomScene StageView::currentScene() const {
    const Level& level = m_model.level();
    const ostrevan::GameState& state = m_model.state();
    return RoomScene{level,
                     state.flags,
                     artTimeNow(),
                     doorProgress(m_model.doorOpenStart(), m_model.scheduler().now()),
                     m_hover,
                     m_mouse,
                     ostrevan::Engine::isDark(level, state)};
}

void StageView::setArtClock(std::function<double()> clock) {
    m_artClock = clock ? std::move(clock) : std::function<double()>(artTimeNow);
}

void StageView::setTickInterval(int ms) {
    m_frameTimer.setInterval(std::max(ms, 1));
}

// ---------------------------------------------------------------------------------------------
// Drawing

void StageView::setBackdrop(Backdrop backdrop) {
    m_backdrop = std::move(backdrop);
    setAttribute(Qt::WA_OpaquePaintEvent, bool(m_backdrop));
    m_chrome = QImage();
    update();
}

void StageView::renderShadow() {
    const QRectF frame = stageFrame();
    m_shadowFrame = frame;
    if (frame.isEmpty()) {
        m_shadow = QImage();
        return;
    }
    const double reach = 3 * kShadowSigma;
    const QRectF area = frame.adjusted(-reach, -reach, reach, reach + kShadowDrop);
    m_shadowOrigin = area.topLeft();
    m_shadow = transparentImage(area.size(), devicePixelRatioF());
    QPainter painter(&m_shadow);
    Canvas canvas(painter);
    canvas.addBlur(kShadowSigma);
    const Rect body{reach, reach + kShadowDrop, frame.width(), frame.height()};
    canvas.fill(shape::roundedRect(body, kFrameCorner), black(kShadowOpacity));
}

// The backdrop as the parent paints it, with the shadow over it: everything of the widget but
// the stage itself, which changes every frame.
void StageView::renderChrome() {
    const double dpr = devicePixelRatioF();
    const QWidget* parent = parentWidget();
    m_chromeGeometry = geometry();
    m_chromeParentRect = parent ? QRectF(parent->rect()) : QRectF(rect());
    // The whole backdrop, then the part under this widget: painted in place, a gradient could
    // round a step differently from the parent's own.
    QImage backdrop(QSize(std::max(1, int(std::ceil(m_chromeParentRect.width() * dpr))),
                          std::max(1, int(std::ceil(m_chromeParentRect.height() * dpr)))),
                    QImage::Format_RGB32);
    backdrop.setDevicePixelRatio(dpr);
    backdrop.fill(Qt::black);
    {
        QPainter painter(&backdrop);
        m_backdrop(painter, m_chromeParentRect);
    }
    const QPoint origin = parent ? pos() : QPoint();
    m_chrome = backdrop.copy(QRect(QPointF(origin * dpr).toPoint(), QSize(int(std::ceil(width() * dpr)), int(std::ceil(height() * dpr)))));
    m_chrome.setDevicePixelRatio(dpr);
    QPainter painter(&m_chrome);
    if (m_shadow.isNull() || m_shadow.devicePixelRatio() != dpr || m_shadowFrame != stageFrame()) renderShadow();
    if (!m_shadow.isNull()) painter.drawImage(m_shadowOrigin, m_shadow);
}

void StageView::renderFrame(QSizeF size, double dpr, bool pointerOnly) {
    if (!pointerOnly) {
        m_frameTime = m_artClock();
        m_frameDoor = doorProgress(m_model.doorOpenStart(), m_model.scheduler().now());
    }
    RoomScene scene = currentScene();
    scene.time = m_frameTime;
    scene.doorOpen = m_frameDoor;
    // The renderer keeps its last frame and repaints only what moved; the frame lies on whole
    // pixels, so that kept frame is shown as it is. The old one is let go first, so repainting it
    // copies nothing. Painted on a thread of Qt's global pool while this thread waits (see
    // runOnPool): there the raster engine paints each fill itself, where from the GUI thread it
    // would hand large ones to the pool one by one, which makes a frame markedly dearer.
    const QSize pixels = QSizeF(size * dpr).toSize();
    m_frame = QImage();
    m_keptFrame = SceneRenderer::fills(pixels, dpr);
    if (m_keptFrame) {
        m_frame = m_renderer.render(scene, pixels, dpr);
    } else if (!pixels.isEmpty()) {
        // A size the stage's proportions cannot fill exactly: drawn whole, as it is fitted.
        m_frame = paintOnPool(pixels, dpr, [&](QPainter& painter) {
            m_renderer.draw(painter, QRectF(QPointF(0, 0), size), scene);
        });
    }
    m_frameDue = false;
    m_dueForPointer = false;
    ++m_framesRendered;
    m_sinceFrame.start();
    logFrameRate();
}

void StageView::logFrameRate() {
    if (!lcFrames().isInfoEnabled()) return;
    if (!m_sinceRateLog.isValid()) {
        m_sinceRateLog.start();
        m_framesAtRateLog = m_framesRendered;
        return;
    }
    const qint64 ms = m_sinceRateLog.elapsed();
    if (ms < 1000) return;
    qCInfo(lcFrames, "%.1f rooms rendered a second", double(m_framesRendered - m_framesAtRateLog) * 1000.0 / double(ms));
    m_sinceRateLog.start();
    m_framesAtRateLog = m_framesRendered;
}

namespace {

// The widget points the frame's rim may paint: a band along its edges, wider at the corners
// where it curves.
QRegion rimBand(const QRectF& frame) {
    constexpr double kReach = 2;  // the line and its antialiased edges
    const double corner = kFrameCorner * shape::kSmoothCornerExtent + kReach;
    const auto inward = [](const QRectF& r) {
        return QRect(QPoint(int(std::ceil(r.left())), int(std::ceil(r.top()))),
                     QPoint(int(std::floor(r.right())) - 1, int(std::floor(r.bottom())) - 1));
    };
    QRegion band(frame.adjusted(-kReach, -kReach, kReach, kReach).toAlignedRect());
    band -= inward(frame.adjusted(kReach, corner, -kReach, -corner));
    band -= inward(frame.adjusted(corner, kReach, -corner, -kReach));
    return band;
}

}  // namespace

void StageView::paintEvent(QPaintEvent* event) {
    const QRectF frame = stageFrame();
    const double dpr = devicePixelRatioF();
    QPainter painter(this);
    if (!frame.isEmpty() &&
        (m_frameDue || m_frameSize != frame.size() || m_frame.devicePixelRatio() != dpr || m_frame.isNull())) {
        const bool sameSize = m_frameSize == frame.size();
        m_frameSize = frame.size();
        renderFrame(frame.size(), dpr, m_dueForPointer && sameSize);
        // Later ticks repaint only what changes from this frame on: all of it must be shown.
        if (!event->region().contains(frame.toAlignedRect())) update(frame.toAlignedRect());
    }
    // What lies round the room, but not under the part of it that covers its pixels whole.
    painter.save();
    painter.setClipRegion(event->region() - roomCovers(painter, frame));
    if (m_backdrop) {
        const QWidget* parent = parentWidget();
        const QRectF parentRect = parent ? QRectF(parent->rect()) : QRectF(rect());
        if (m_chrome.isNull() || m_chrome.devicePixelRatio() != dpr || m_chromeGeometry != geometry() ||
            m_chromeParentRect != parentRect || m_shadowFrame != frame)
            renderChrome();
        painter.drawImage(QPointF(0, 0), m_chrome);
    } else {
        if (m_shadow.isNull() || m_shadow.devicePixelRatio() != dpr || m_shadowFrame != frame) renderShadow();
        if (!m_shadow.isNull()) painter.drawImage(m_shadowOrigin, m_shadow);
    }
    painter.restore();
    if (frame.isEmpty() || m_frame.isNull()) return;

    paintRoom(painter, frame);
    if (event->region().intersects(rimBand(frame))) {
        const Rect frameRect{frame.x(), frame.y(), frame.width(), frame.height()};
        Canvas(painter).stroke(shape::roundedRect(insetBy(frameRect, 0.5, 0.5), kFrameCorner - 0.5), white(kFrameRimOpacity), 1);
    }
}

namespace {

// The room's pixels that its frame covers whole, in the painter's device pixels: the frame's
// inside, less the corners where it curves.
struct RoomPixels {
    QRect image;                // where the room's image lies
    QRectF frame;               // the frame
    std::array<QRect, 3> whole; // what the frame covers whole: across the middle, and above and below it
};

RoomPixels roomPixels(const QTransform& device, const QRectF& frame, QSize imageSize) {
    RoomPixels room;
    room.frame = device.mapRect(frame);
    room.image = QRect(QPoint(int(std::round(room.frame.x())), int(std::round(room.frame.y()))), imageSize);
    const QRect inside = QRect(QPoint(int(std::ceil(room.frame.left())), int(std::ceil(room.frame.top()))),
                               QPoint(int(std::floor(room.frame.right())) - 1, int(std::floor(room.frame.bottom())) - 1)) &
                         room.image;
    const int curve = int(std::ceil(kFrameCorner * shape::kSmoothCornerExtent * device.m11())) + 1;
    const QRect across = inside.adjusted(0, curve, 0, -curve);
    const QRect down = inside.adjusted(curve, 0, -curve, 0);
    if (across.isValid() && down.isValid())
        room.whole = {across, QRect(down.left(), down.top(), down.width(), curve),
                      QRect(down.left(), across.bottom() + 1, down.width(), down.bottom() - across.bottom())};
    return room;
}

}  // namespace

// The widget points the room covers whole, in a region: nothing else need be painted there.
QRegion StageView::roomCovers(const QPainter& painter, const QRectF& frame) const {
    // Widget points to the window's pixels: the painter's world transform is still the identity.
    const QTransform device = painter.deviceTransform();
    if (frame.isEmpty() || m_frame.isNull() || !device.isInvertible() || device.type() > QTransform::TxScale) return {};
    const QTransform toWidget = device.inverted();
    QRegion covered;
    for (const QRect& part : roomPixels(device, frame, m_frame.size()).whole) {
        if (part.isEmpty()) continue;
        // Points wholly inside the part: the region is made of whole points.
        const QRectF points = toWidget.mapRect(QRectF(part));
        const QRect inner(QPoint(int(std::ceil(points.left())), int(std::ceil(points.top()))),
                          QPoint(int(std::floor(points.right())) - 1, int(std::floor(points.bottom())) - 1));
        if (inner.isValid()) covered += inner.adjusted(1, 1, -1, -1);
    }
    return covered;
}

// The room is composed in device pixels, at whatever density: the frame lies on whole pixels of
// the window, so any part of it repainted comes out as a whole repaint paints it. Cutting the whole
// room to the rounded shape costs a good part of a frame, though only the rim's pixels are cut:
// the inside, where the shape covers every pixel, is copied as it is, and only the rest goes
// through the shape.
void StageView::paintRoom(QPainter& painter, const QRectF& frame) {
    // Widget points to the window's pixels: the painter's world transform is the identity here.
    const QTransform device = painter.deviceTransform();
    if (!device.isInvertible() || device.type() > QTransform::TxScale) return;
    // The kept frame's pixels one to one, whatever density the image declares.
    const QImage pixels(m_frame.constBits(), m_frame.width(), m_frame.height(), int(m_frame.bytesPerLine()), m_frame.format());
    const RoomPixels room = roomPixels(device, frame, pixels.size());
    const QPoint origin = room.image.topLeft();
    painter.save();
    painter.setWorldTransform(device.inverted());  // draws in the window's own pixels
    QRegion rim(room.frame.toAlignedRect() & room.image);
    // The room is opaque: its pixels replace what lies beneath. They are copied a rectangle of
    // the repainted region at a time: through a clip of many rectangles Qt copies row by row,
    // handing the rows to its thread pool.
    const QPaintEngine* engine = painter.paintEngine();
    const QRegion repainted = engine ? engine->systemClip() : QRegion();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& part : room.whole) {
        if (part.isEmpty()) continue;
        for (const QRect& piece : repainted.isEmpty() ? QRegion(part) : repainted & part) {
            painter.setClipRect(piece);
            painter.drawImage(QRectF(piece), pixels, QRectF(piece.translated(-origin)));
        }
        rim -= part;
    }
    painter.setClipping(false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // The rim is filled through the shape rather than clipped to it: an antialiased clip path
    // meeting a partial repaint's region cuts its edge pixels otherwise than a whole repaint
    // does, and the flecks would stay until the next whole one. A filled shape's edge does not
    // depend on what else is repainted. The clip keeps the repeating brush to the image, which
    // starts at the painter's origin.
    if (repainted.isEmpty() || repainted.intersects(rim)) {
        painter.setClipRegion(rim, Qt::IntersectClip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(origin);
        const Rect framePx{room.frame.x(), room.frame.y(), room.frame.width(), room.frame.height()};
        painter.fillPath(shape::roundedRect(framePx, kFrameCorner * device.m11()).translated(-QPointF(origin)), QBrush(pixels));
    }
    painter.restore();
}

void StageView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    renderShadow();
    m_chrome = QImage();
    // The room moved under the pointer: the stage point it rests on is another.
    followRealPointer();
}

void StageView::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The frame keeps to the window's pixels, and the backdrop under the stage is another part of
    // the parent's.
    update();
}

// ---------------------------------------------------------------------------------------------
// Frame clock

void StageView::followExposure() {
    if (!canBeSeen(*this)) {
        m_frameTimer.stop();
        m_pointerTimer.stop();
        return;
    }
    if (m_frameTimer.isActive()) return;
    m_frameTimer.start();
    m_frameDue = true;
    m_dueForPointer = false;
    update(stageFrame().toAlignedRect());
}

void StageView::tick() {
    m_pointerTimer.stop();  // this frame shows the pointer too
    showFrame(false);
}

void StageView::showFrame(bool pointerOnly) {
    if (!canBeSeen(*this)) {
        m_frameTimer.stop();
        return;
    }
    const QRectF frame = stageFrame();
    const double dpr = devicePixelRatioF();
    if (frame.isEmpty() || m_frameSize != frame.size() || m_frame.isNull() || m_frame.devicePixelRatio() != dpr ||
        !m_keptFrame) {
        // A move keeps the last tick's time even so, unless a whole new frame is already due.
        m_dueForPointer = pointerOnly && (!m_frameDue || m_dueForPointer);
        m_frameDue = true;
        update(frame.toAlignedRect());
        return;
    }
    // Rendered now, so that only what changed since the last frame is shown anew.
    renderFrame(frame.size(), dpr, pointerOnly);
    if (!m_keptFrame) {
        update(frame.toAlignedRect());
        return;
    }
    update(changedPoints(frame, dpr));
}

// A move shows at the next refresh of the screen after the last frame, together with any other
// moves until then; when the clock ticks about then anyway, its frame shows the move. The
// room's own animation waits for the tick.
void StageView::askPointerFrame() {
    if (m_pointerTimer.isActive() || !m_frameTimer.isActive() || m_frameDue) return;
    const QScreen* shownOn = screen();
    const double refreshMs = pointerFrameIntervalMs(shownOn ? shownOn->refreshRate() : 0);
    const double waitMs = m_sinceFrame.isValid() ? std::max(0.0, refreshMs - double(m_sinceFrame.elapsed())) : 0.0;
    const int tickInMs = m_frameTimer.remainingTime();
    if (tickInMs >= 0 && tickInMs <= waitMs + refreshMs / 2) return;
    m_pointerTimer.start(int(std::ceil(waitMs)));
}

void StageView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_sight.watch();
    followExposure();
}

void StageView::hideEvent(QHideEvent* event) {
    m_frameTimer.stop();
    m_pointerTimer.stop();
    QWidget::hideEvent(event);
}

// ---------------------------------------------------------------------------------------------
// The held item

void StageView::updateHeldItem() {
    const ostrevan::GameState& state = m_model.state();
    const ostrevan::Item* item = state.selected ? m_model.level().item(*state.selected) : nullptr;
    if (!item || !m_hasMouse) {
        m_held->hide();
        m_heldCarrier->hide();
        return;
    }
    m_held->setItem(*item);
    const QRectF frame = stageFrame();
    // Centred 24 points right of and below the pointer, whatever the scale.
    const QPointF centre = frame.topLeft() + m_mouse * scale() + QPointF(kHeldOffset, kHeldOffset);
    const QPoint carrier = QPointF(centre.x() - kHeldSide / 2 - kHeldShadowReach, centre.y() - kHeldSide / 2 - kHeldShadowReach).toPoint();
    // The item is cut by the stage's rounded corners, as the room is.
    const Rect cut{frame.x() - carrier.x(), frame.y() - carrier.y(), frame.width(), frame.height()};
    m_heldCut->setShape(shape::roundedRect(cut, kFrameCorner));
    m_heldCarrier->move(carrier);
    m_held->show();
    m_heldCarrier->show();
}

// ---------------------------------------------------------------------------------------------
// Pointer

void StageView::pointerAt(QPointF widgetPoint, bool mayHover) {
    const QPointF mouse = toStage(widgetPoint);
    std::optional<std::string> hover;
    if (mayHover && !m_model.panelID() && !m_model.paused()) {
        if (const Prop* prop = propAt(m_model.level(), m_model.state().flags, mouse)) hover = prop->id;
    }
    const bool ringMoved = hover != m_hover;
    const bool lightMoved = mouse != m_mouse && ostrevan::Engine::isDark(m_model.level(), m_model.state());
    m_mouse = mouse;
    m_hasMouse = true;
    if (ringMoved) m_hover = std::move(hover);
    setCursor(m_hover ? Qt::PointingHandCursor : Qt::ArrowCursor);
    updateHeldItem();
    if (ringMoved || lightMoved) askPointerFrame();
}

void StageView::pointerLeft() {
    const bool ringMoved = m_hover.has_value();
    m_hover.reset();
    m_hasMouse = false;
    setCursor(Qt::ArrowCursor);
    updateHeldItem();
    if (ringMoved) askPointerFrame();
}

void StageView::followPointer(QPointF widgetPoint, bool mayHover) {
    if (stageFrame().contains(widgetPoint)) pointerAt(widgetPoint, mayHover);
    else if (m_hasMouse) pointerLeft();
}

void StageView::losePointer() {
    if (m_hasMouse) pointerLeft();
}

bool StageView::overlaid() const {
    return m_model.paused() || m_model.panelID() || m_model.showHelp();
}

void StageView::overlayClosed() {
    // The pointer left the stage under the overlay only if it is elsewhere now.
    if (m_hasMouse && !stageFrame().contains(mapFromGlobal(QCursor::pos()))) pointerLeft();
}

void StageView::followRealPointer() {
    const QPoint global = QCursor::pos();
    // Whatever takes the pointer there, if this window is the one under it at all.
    const QWidget* under = QApplication::widgetAt(global);
    const QPointF point = mapFromGlobal(QPointF(global));
    if (under && under->window() == window() && stageFrame().contains(point)) pointerAt(point, under == this);
    else if (m_hasMouse) pointerLeft();
}

void StageView::sightChanged() {
    const bool wasInSight = ticking();
    followExposure();
    // Shown or mapped again under a pointer at rest, the stage is told of no move: the window's
    // leaving took the held item and the ring away.
    if (!wasInSight && ticking()) followRealPointer();
}

void StageView::mouseMoveEvent(QMouseEvent* event) {
    followPointer(event->position());
}

void StageView::leaveEvent(QEvent* event) {
    // An overlay opening over the stage takes the pointer without it moving: the held item
    // and the hover ring stay where they were. The game screen reports the pointer's moves over
    // the overlay, and its leaving.
    if (m_hasMouse && !overlaid()) pointerLeft();
    QWidget::leaveEvent(event);
}

void StageView::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton && stageFrame().contains(event->position());
    event->accept();
}

void StageView::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton && stageFrame().contains(event->position());
    m_pressed = false;
    event->accept();
    if (!click) return;
    const QPointF q = toStage(event->position());
    if (const Prop* prop = propAt(m_model.level(), m_model.state().flags, q)) {
        const std::string id = prop->id;  // the tap may change the room under the pointer
        m_model.tapProp(id);
    } else {
        m_model.clearSelection();
    }
}

QRegion StageView::lastFrameChanges() const {
    const QRectF frame = stageFrame();
    const double dpr = devicePixelRatioF();
    if (!m_keptFrame || m_frameSize != frame.size() || m_frame.devicePixelRatio() != dpr) return QRegion(frame.toAlignedRect());
    return changedPoints(frame, dpr);
}

// The widget points that cover what the last frame changed. The frame's corner in the widget's
// device pixels may lie inside a pixel of the widget's own: the window's pixels are what the
// frame is set on.
QRegion StageView::changedPoints(const QRectF& frame, double dpr) const {
    const QPointF origin = frame.topLeft() * dpr;
    QRegion changed;
    for (const QRect& area : m_renderer.repaintedAreas())
        changed += coveringWidgetPixels(QRectF(area).translated(origin), dpr);
    return changed;
}

}  // namespace tallowmere
