// The picture of one room in one frame: the shell, the props in depth order with the door, and
// the overlay of dust, darkness, hover ring and vignette.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QSize>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QPainter;

namespace tallowmere {

// Everything one frame shows. Built anew for every frame.
struct RoomScene {
    const ostrevan::Level& level;
    ostrevan::FlagSet flags;
    double time = 0;      // seconds, already wrapped below 20000 by the caller
    double doorOpen = 0;  // 0 shut ... 1 open
    std::optional<std::string> hover;  // prop under the pointer
    QPointF mouse{500, 300};           // pointer, stage units
    bool dark = false;                 // lit only round `mouse`
};

// The largest rectangle of the stage's proportions (1000 : 640) inside `bounds`, centred.
QRectF fitStage(const QRectF& bounds);

// Whether the picture of `art` changes with the time (a television, a glow, a turning gear, ...).
// Props whose art does not are drawn once per flag set and kept.
bool artAnimates(const ostrevan::Art& art);

// The layers on their own, each drawn on a canvas already scaled to stage units.
// Light pool of an unlocked door, then every visible prop in depth order, the door included.
void drawPropsLayer(Canvas canvas, const ostrevan::Level& level, const ostrevan::FlagSet& flags, double time,
                    double doorOpen);
// Dust motes, the darkness with glowing writing redrawn over it, and the hover ring.
void drawOverlayLayer(Canvas canvas, const ostrevan::Level& level, const ostrevan::FlagSet& flags, double time,
                      const std::optional<std::string>& hover, QPointF mouse, bool dark);
// The darkened edges over everything.
void drawVignette(Canvas canvas);
// One prop as the room shows it, the door with its lamp.
void drawProp(const Canvas& canvas, const ostrevan::Level& level, const ostrevan::Prop& prop,
              const ostrevan::FlagSet& flags, double time, double doorOpen);

// The device pixels of a frame of `pixels` that a moving prop may touch, as the renderer measures
// them: what drawProp() paints of it at a few instants, with a margin for antialiased edges, on
// the renderer's grid; the whole frame when it reaches far past its rect. The renderer cuts the
// prop's drawing there.
QRect movingPropBounds(const ostrevan::Level& level, const ostrevan::Prop& prop, const ostrevan::FlagSet& flags,
                       QSize pixels, double devicePixelRatio = 1);

// Draws one prop in drawProp()'s place.
using PropDrawer = std::function<void(const Canvas&, const ostrevan::Level&, const ostrevan::Prop&,
                                      const ostrevan::FlagSet&, double time, double doorOpen)>;

// Draws scenes, keeping what does not change between frames. The still layers (the shell, the
// light pool, still props and a shut door without its lamp) are composed once per room, flag
// set, size and door state; the last frame is kept, and a later frame repaints only the
// rectangles where something moved since: animated props, the locked door's lamp, dust motes,
// the light circle of the dark round the pointer and the hover ring's band, each where it was and
// where it is now, with the layers above it. What lies under the things that only pulse (the
// ring, the writing that glows through the dark) is kept too, so a pulse lays them afresh on it
// rather than composing the room beneath again; the darkness is kept as well and worked out again
// only where the light moves. A new room, flag set, size, darkness or an opening door repaints
// the whole frame. The painting itself runs on a thread of the global thread pool while the
// caller waits (see runOnPool): from the GUI thread, Qt hands large fills to that pool one by
// one, which costs more than the fills. One renderer serves one view; it may live on any thread
// but is not to be used from two threads at once.
class SceneRenderer {
public:
    SceneRenderer() = default;
    // Draws the props with `drawProp` rather than with drawProp(): a frame is the same however it
    // was composed, whatever a drawing leaves on the painter and wherever it strays. Props whose
    // art does not animate must still draw the same at every time.
    explicit SceneRenderer(PropDrawer drawProp) : m_drawProp(std::move(drawProp)) {}

    // Draws the scene fitted into `target` (the painter's logical coordinates), leaving the rest
    // of the painter's device untouched.
    void draw(QPainter& painter, const QRectF& target, const RoomScene& scene);

    // Whether the stage fills an image of `pixelSize` device pixels exactly; render() then hands
    // back the kept frame itself.
    static bool fills(QSize pixelSize, double devicePixelRatio);

    // The whole frame as an image of `pixelSize` device pixels, transparent where the room draws
    // nothing.
    QImage render(const RoomScene& scene, QSize pixelSize, double devicePixelRatio = 1);

    // The device-pixel rectangles of the kept frame that the last frame repainted: where it
    // differs from the one before. The whole frame after a full repaint.
    const std::vector<QRect>& repaintedAreas() const { return m_repainted; }
    // The device-pixel rectangles the last frame composed from the bottom up (background, props,
    // motes, darkness): a part of repaintedAreas(), the rest only laid the pulsing layers afresh.
    const std::vector<QRect>& recomposedAreas() const { return m_recomposed; }

private:
    // A layer above the background, in drawing order: a run of still props as an image, or one
    // thing drawn afresh every time its area is repainted.
    struct Layer {
        QImage still;            // a run of still props over the whole stage; null when drawn afresh
        std::size_t prop = 0;    // drawn afresh: index into the room's props
        bool lampOnly = false;   // drawn afresh: only the lamp of the shut door
        QRect bounds;            // device pixels it may touch; drawn afresh, it is cut there
        QRegion moving;          // a still run: where something drawn afresh lies beneath it;
                                 // elsewhere it is part of the background

        // A prop drawn afresh, not a still run nor the door's lamp.
        bool drawsProp() const { return still.isNull() && !lampOnly; }
    };

    // The stage of `pixels` brought up to date with `scene`; the stage fills the image.
    const QImage& frame(const RoomScene& scene, QSize pixels, double devicePixelRatio);
    // Rebuilds the background and the layers when the room, flags, size or door state changed;
    // answers whether it did.
    bool prepareLayers(const RoomScene& scene, QSize pixels, double devicePixelRatio);
    // Composes `areas` (device pixels, on the 4-pixel grid) of what lies under the pulsing
    // layers: the background, the layers, the motes and the darkness.
    // `direct`: straight onto the kept image, as nothing drawn reaches past the areas.
    void composeUnder(const std::vector<QRect>& areas, const RoomScene& scene, bool direct);
    // Lays the pulsing layers and the vignette over what lies under them in `areas`: the frame.
    void composeOver(const std::vector<QRect>& areas, const RoomScene& scene, bool direct);
    // Whether something drawn whole where it reaches `region` reaches past it: underGrows() asks
    // of the layers drawn afresh and the motes, overGrows() of the glowing writing and the ring.
    bool underGrows(const QRegion& region, const RoomScene& scene) const;
    bool overGrows(const QRegion& region, const RoomScene& scene) const;
    // `areas` of `start` copied into `image`, which is made the frame's size if it is not.
    void startAreas(QImage& image, const QImage& start, const std::vector<QRect>& areas);
    // Device pixels the hover ring round `prop` may touch.
    QRect ringReach(const ostrevan::Prop& prop) const;
    // Works out the darkness round `mouse` in `areas`.
    void composeDarkness(const std::vector<QRect>& areas, QPointF mouse);
    // The scratch image with `areas` copied from `start` (of the frame's size), ready to paint on.
    QImage& scratch(const std::vector<QRect>& areas, const QImage& start);
    // The scratch's `areas` kept in `target`; the whole frame trades places with it instead.
    void keep(QImage& target, const QRect& whole, const std::vector<QRect>& areas);
    // Add the device-pixel rects of what moves: the motes at `time`, the band of the ring round
    // `hover` and the light circle round `mouse`.
    void addMotes(std::vector<QRect>& rects, double time) const;
    void addHoverRing(std::vector<QRect>& rects, const RoomScene& scene, const std::optional<std::string>& hover) const;
    void addLightCircle(std::vector<QRect>& rects, QPointF mouse) const;
    QRect toDevice(const Rect& stageRect, double margin) const;

    const QImage& shellImage(const ostrevan::Level& level, QSize pixelSize, double devicePixelRatio);
    const QImage& vignetteImage(QSize pixelSize, double devicePixelRatio);

    PropDrawer m_drawProp = drawProp;

    // The shell is keyed by room number only: a room's theme never changes during play.
    std::int64_t m_shellRoom = 0;
    QImage m_shell;
    QImage m_vignette;

    // Still layers, valid for this room, flag set, size and door state.
    std::int64_t m_layersRoom = 0;
    ostrevan::FlagSet m_layersFlags;
    QSize m_layersSize;
    double m_layersDpr = 0;
    bool m_layersDoorShut = true;
    QImage m_background;         // shell with every still run where nothing moves beneath it
    std::vector<Layer> m_layers;
    QImage m_under;              // the last frame without its pulsing layers and vignette
    QImage m_darkness;           // the darkness round the last frame's pointer, in a dark room
    QImage m_scratch;            // where areas are painted before they are kept

    // The last frame and what it showed.
    QImage m_frame;
    bool m_frameValid = false;
    double m_lastTime = 0;
    QPointF m_lastMouse;
    std::optional<std::string> m_lastHover;
    bool m_lastDark = false;
    std::vector<QRect> m_repainted;
    std::vector<QRect> m_recomposed;
};

}  // namespace tallowmere
