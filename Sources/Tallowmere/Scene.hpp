// The picture of one room in one frame: the shell, the props in depth order with the door, and
// the overlay of dust, darkness, hover ring and vignette.
#pragma once

#include <Tallowmere/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <cstdint>
#include <optional>
#include <string>
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

// Draws scenes, keeping what does not change between frames: the shell of the current room at
// the current size and the vignette at that size. One renderer serves one view; it may live on
// any thread but is not to be used from two threads at once.
class SceneRenderer {
public:
    // Draws the scene fitted into `target` (the painter's logical coordinates), leaving the rest
    // of the painter's device untouched.
    void draw(QPainter& painter, const QRectF& target, const RoomScene& scene);

    // The whole frame as an image of `pixelSize` device pixels, transparent where the room draws
    // nothing.
    QImage render(const RoomScene& scene, QSize pixelSize, double devicePixelRatio = 1);

    // As render, but painted on a thread of the global thread pool while the caller waits (see
    // paintOnPool): a frame is markedly cheaper there than on the GUI thread.
    QImage renderOnPool(const RoomScene& scene, QSize pixelSize, double devicePixelRatio = 1);

private:
    const QImage& shellImage(const ostrevan::Level& level, QSize pixelSize, double devicePixelRatio);
    const QImage& vignetteImage(QSize pixelSize, double devicePixelRatio);
    // The props layer: runs of still props come from images made once per room, flag set and
    // size; the door and animated props between them are drawn afresh.
    void drawProps(const Canvas& canvas, const RoomScene& scene, QSize pixelSize, double devicePixelRatio);

    // The shell is keyed by room number only: a room's theme never changes during play.
    std::int64_t m_shellRoom = 0;
    QImage m_shell;
    QImage m_vignette;

    // Still props, one image per run, valid for this room, flag set and size.
    std::int64_t m_propsRoom = 0;
    ostrevan::FlagSet m_propsFlags;
    QSize m_propsSize;
    double m_propsDpr = 0;
    std::vector<QImage> m_propRuns;
};

}  // namespace tallowmere
