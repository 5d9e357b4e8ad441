// The play area: the current room on the 1000 x 640 stage, fitted and centred in the widget,
// framed with rounded corners, a rim and a drop shadow. It renders the room on its frame clock,
// up to 24 times a second and only while its window is exposed; other repaints (overlays,
// toasts, the held item moving) reuse the last rendered room. It follows the pointer (dark-room
// light, hover ring, hand cursor, the held item) between ticks too: a move that changes the light
// or the ring shows at the next refresh of the screen, without the room's animation moving on.
// It turns a click into GameModel::tapProp() or GameModel::clearSelection(). It decides nothing
// itself.
#pragma once

#include <Ostrevan/Model.hpp>

#include <Tallowmere/Model/Scene.hpp>
#include <Tallowmere/Widgets/OutsideConnections.hpp>
#include <Tallowmere/Widgets/Sight.hpp>

#include <QElapsedTimer>
#include <QImage>
#include <QMarginsF>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QTimer>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tallowmere {

class FrameCut;
class GameModel;
class ItemIcon;

// Factor by which the stage fits a space: min(width / 1000, height / 640), never below 0.
double stageScale(QSizeF space);

// How far the door has swung open `now` for a door that began opening at `start` (seconds on
// one clock): the smoothstep of the elapsed second, 0 without a start.
double doorProgress(std::optional<double> start, double now);

// The clock handed to the art: seconds since 1 January 2001 00:00 UTC, wrapped below 20,000.
// The art's moving parts (pulses, drifting dust, turning gears) are phases of this one clock, and
// every window, every machine and every test that asks for an instant sees the same picture for
// it. The origin is the one the pictures' phases were first set against, kept so that a moment
// still looks as it did. The wrap keeps the seconds small, so a sine of them stays exact however
// long the game runs; the moving parts jump once at a wrap, every five and a half hours.
double artTime(double secondsSinceUnixEpoch);
double artTimeNow();

// The least time between two frames that show the pointer, in milliseconds, on a screen that
// refreshes `screenHz` times a second (0 or less when it does not say): a refresh, and never
// more than 60 frames a second.
double pointerFrameIntervalMs(double screenHz);

// The topmost prop that takes a click at `point` (stage units): visible, interactive, and
// with `point` inside its rectangle grown by 8 units (props under 60 wide or 40 high) or by 2,
// right and bottom edges excluded. Higher z first; on equal z the later prop in the list.
const ostrevan::Prop* propAt(const ostrevan::Level& level, const ostrevan::FlagSet& flags, QPointF point);

class StageView final : public QWidget {
    Q_OBJECT
public:
    // `padding` is the space kept free round the offered area; the shadow may fall into it.
    explicit StageView(GameModel& model, QMarginsF padding = {}, QWidget* parent = nullptr);
    ~StageView() override;

    // The framed stage in widget coordinates, and its scale.
    QRectF stageFrame() const;
    double scale() const;
    // A widget point in stage units.
    QPointF toStage(QPointF widgetPoint) const;
    // A stage point in widget coordinates.
    QPointF toWidget(QPointF stagePoint) const;

    const std::optional<std::string>& hover() const { return m_hover; }
    QPointF mouse() const { return m_mouse; }
    bool hasMouse() const { return m_hasMouse; }
    // The picture of the held item, shown 24 points right of and below the pointer while the
    // pointer is over the stage.
    const ItemIcon* heldItem() const { return m_held; }
    // The scene the next frame would draw.
    RoomScene currentScene() const;
    // Where the art's time comes from: artTimeNow() unless a test sets its own.
    void setArtClock(std::function<double()> clock);
    // How many milliseconds apart the clock ticks while the stage is shown: a 24th of a second
    // unless a test holds the ticks off.
    void setTickInterval(int ms);

    // Pointer moves that a layer over the stage (the pause menu, the help card, a panel, the
    // toast) takes for itself: a point in this widget's coordinates, tracked as a move over the
    // stage, with nothing beneath hovered unless `mayHover`; and the pointer gone from the screen
    // altogether.
    void followPointer(QPointF widgetPoint, bool mayHover = true);
    void losePointer();
    // Takes the pointer where it really is, for when no move said so: the stage resized or came
    // back into sight under a pointer at rest, or the pointer jumped off a layer over it. Only
    // the stage itself, uncovered, hovers what lies under it.
    void followRealPointer();

    // Paints what lies under the stage, in the coordinates of the parent whose whole rectangle
    // is `parentRect`. With a backdrop the stage paints its own background (kept as an image with
    // the drop shadow until the geometry changes) and is opaque, so its frames leave the parent
    // alone.
    using Backdrop = std::function<void(QPainter& painter, const QRectF& parentRect)>;
    void setBackdrop(Backdrop backdrop);

    // Whether the frame clock runs: while the stage is shown in an exposed, unminimised window.
    bool ticking() const { return m_frameTimer.isActive(); }
    // How many times the room has been rendered so far.
    std::uint64_t framesRendered() const { return m_framesRendered; }
    // What the frame clock does on each tick: asks for the room to be rendered and shown anew.
    void tick();
    // Whether a pointer move waits to be shown before the next tick.
    bool pointerFramePending() const { return m_pointerTimer.isActive(); }
    // The part of the widget the last rendered frame changed: where it differs from the frame
    // before it (the whole stage frame when that is not known).
    QRegion lastFrameChanges() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void pointerAt(QPointF widgetPoint, bool mayHover = true);
    void pointerLeft();
    // The pause menu, the help card or a panel lies over the stage.
    bool overlaid() const;
    void overlayClosed();
    void sightChanged();
    void updateHeldItem();
    void renderShadow();
    void renderChrome();
    void paintRoom(QPainter& painter, const QRectF& frame);
    QRegion roomCovers(const QPainter& painter, const QRectF& frame) const;
    QRegion changedPoints(const QRectF& frame, double dpr) const;
    // Renders the room; `pointerOnly` keeps the last frame's time, so only what follows the
    // pointer changes.
    void renderFrame(QSizeF size, double dpr, bool pointerOnly = false);
    // Renders and shows what changed since the last frame.
    void showFrame(bool pointerOnly);
    // Asks for the light or the hover ring to be shown where the pointer now is.
    void askPointerFrame();
    void logFrameRate();

    // The frame clock follows the window: it runs only while the stage can be seen.
    void followExposure();

    GameModel& m_model;
    QMarginsF m_padding;
    std::function<double()> m_artClock;
    std::optional<std::string> m_hover;
    QPointF m_mouse{500, 300};
    bool m_hasMouse = false;
    bool m_pressed = false;

    QTimer m_frameTimer;
    QTimer m_pointerTimer;  // shows a pointer move at the next refresh of the screen
    QElapsedTimer m_sinceFrame;
    double m_frameTime = 0;  // the art time and door swing of the last tick
    double m_frameDoor = 0;
    SceneRenderer m_renderer;
    QImage m_frame;           // the last rendered room
    QSizeF m_frameSize;       // the stage frame's size it was rendered for
    bool m_keptFrame = false; // it is the renderer's kept frame, which knows what changed
    bool m_frameDue = true;   // a tick (or a change of the room) asks for a new one
    bool m_dueForPointer = false;  // ... or only a move, which keeps the last tick's time
    std::uint64_t m_framesRendered = 0;
    QImage m_shadow;  // the frame's drop shadow, kept until the frame changes
    QRectF m_shadowFrame;
    QPointF m_shadowOrigin;
    Backdrop m_backdrop;
    QImage m_chrome;  // with a backdrop: the backdrop and the shadow over the whole widget
    QRect m_chromeGeometry;
    QRectF m_chromeParentRect;
    SightWatch m_sight{*this, [this] { sightChanged(); }};
    QWidget* m_heldCarrier = nullptr;  // the held item with room for its shadow, cut by the frame
    FrameCut* m_heldCut = nullptr;
    ItemIcon* m_held = nullptr;
    QElapsedTimer m_sinceRateLog;
    std::uint64_t m_framesAtRateLog = 0;
    OutsideConnections m_outside;
};

}  // namespace tallowmere
