// The drawing surface every picture is painted through: a small value over a QPainter.
//
// A Canvas is passed by value. A copy keeps its own transform, clip, blur and blend mode while
// drawing onto the same painter, so nothing a drawer sets on its copy reaches its caller. Every
// painter default the art depends on is set here and nowhere else: non-zero fill rule with
// anti-aliasing, butt caps and miter joins, arcs measured clockwise on screen, radial gradients
// with a start radius, continuous corners and Gaussian blur.
//
// Units: whatever the copy's transform maps to the painter's logical coordinates; the room art
// works in stage units (1000 x 640) after the caller has scaled once.
#pragma once

#include <Ostrevan/Model.hpp>

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class QPainter;

namespace tallowmere {

using ostrevan::Rect;

// ---------------------------------------------------------------------------------------------
// Rectangles

QRectF toQRectF(const Rect& r);
// Grown (negative) or shrunk (positive) by dx on the left and right and dy on the top and bottom.
Rect insetBy(const Rect& r, double dx, double dy);
Rect offsetBy(const Rect& r, double dx, double dy);

// ---------------------------------------------------------------------------------------------
// Paths

namespace shape {
// How many radii from its corner a continuous corner's curve leaves each edge.
inline constexpr double kSmoothCornerExtent = 1.52866483;

QPainterPath rect(const Rect& r);
// Continuous ("squircle") corners; falls back to circular corners where the rect is
// too small for the smooth curve.
QPainterPath roundedRect(const Rect& r, double radius);
QPainterPath ellipse(const Rect& r);
QPainterPath circle(QPointF center, double radius);
QPainterPath polygon(std::initializer_list<QPointF> points);  // closed
QPainterPath line(QPointF from, QPointF to);
}  // namespace shape

// Adds an arc round `center` from startDegrees to endDegrees. Angles are measured on screen from
// +x towards +y (0 right, 90 down); the arc sweeps from start to end, so a growing angle turns
// clockwise on screen. Joins the current point with a line, or starts a new subpath when the
// path is empty.
void addArc(QPainterPath& path, QPointF center, double radius, double startDegrees, double endDegrees);

// ---------------------------------------------------------------------------------------------
// Paints

struct GradientStop {
    double location = 0;  // 0 ... 1
    QColor color;
};
using GradientStops = std::vector<GradientStop>;

// The colours spread evenly from 0 to 1.
GradientStops evenStops(std::initializer_list<QColor> colors);

struct LinearGradient {
    QPointF start;
    QPointF end;
    GradientStops stops;
};

// Concentric: the first stop sits at startRadius, the last at endRadius. Inside startRadius the
// first colour holds and past endRadius the last colour holds.
struct RadialGradient {
    QPointF center;
    double startRadius = 0;
    double endRadius = 0;
    GradientStops stops;
};

using Paint = std::variant<QColor, LinearGradient, RadialGradient>;

LinearGradient linear(QPointF start, QPointF end, std::initializer_list<QColor> colors);
// From the box's top centre to its bottom centre, first colour at the top.
LinearGradient vertical(const Rect& box, std::initializer_list<QColor> colors);
// From the box's left middle to its right middle, first colour on the left.
LinearGradient horizontal(const Rect& box, std::initializer_list<QColor> colors);
RadialGradient radial(QPointF center, double startRadius, double endRadius,
                      std::initializer_list<QColor> colors);
// The usual paint of a ball: centred at 35 % of the box's width and 30 % of its height from its
// top-left corner, radius 0 to 85 % of its width, stops light, base, dark.
RadialGradient sphere(const Rect& box, const QColor& light, const QColor& base, const QColor& dark);

// ---------------------------------------------------------------------------------------------
// Strokes and text

enum class LineCap { butt, round, square };
enum class LineJoin { miter, round, bevel };
enum class FillRule { nonZero, evenOdd };

struct StrokeStyle {
    double width = 1;
    LineCap cap = LineCap::butt;
    LineJoin join = LineJoin::miter;
    double miterLimit = 10;
    std::vector<double> dash;  // lengths in the canvas's units; empty: solid
    double dashPhase = 0;
};

enum class FontDesign { standard, rounded, serif, monospaced };
enum class FontWeight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };

struct Font {
    double size = 17;  // in the canvas's units
    FontWeight weight = FontWeight::regular;
    FontDesign design = FontDesign::standard;
    // The narrower cut of the design, where it has one (the serif has); texts fitted to a box
    // ask for it when the usual cut would have to shrink.
    bool condensed = false;
};

// Which installed face draws a font: the family (with a fallback for glyphs it lacks), the
// face's weight and stretch, and how far its outlines are grown (or thinned) where the family has
// no face of the weight asked for. Lengths are fractions of the font size.
struct FontFace {
    QStringList families;
    int weight = 400;        // CSS scale, as the face is picked
    int stretch = 100;       // percent of the normal width
    double emboldenEm = 0;   // outlines grown by this much on every side (negative: thinned)
    double spacingEm = 0;    // added after every character: a heavier weight also runs wider
};
FontFace fontFace(const Font& font);

// Width of one line of text and the height of its line box, in the font's units.
QSizeF measureText(const QString& text, const Font& font);

enum class BlendMode { normal, destinationOut };

// `image` blurred by a Gaussian of `sigmaPx` pixels (at most kMaxImageBlurPx). Beyond its edges
// counts as transparent, so a picture meant to be blurred right up to an edge needs three sigmas
// of room past it.
constexpr double kMaxImageBlurPx = 200;
QImage blurredImage(const QImage& image, double sigmaPx);

// A picture kept blurred as blurredImage() blurs it. When part of the picture changes, only as far
// round it as the blur carries a change is worked out again, and the result is the same to the
// last bit as the whole picture blurred afresh: every sample is worked out in whole numbers, the
// same way wherever the work starts.
class KeptBlur {
public:
    // Blurs the whole of `image`.
    void blurWhole(const QImage& image, double sigmaPx);
    // `image` changed only within `changed` (its pixels) since it was last blurred here: blurs
    // again what that reaches, and answers the pixels of the result worked out again. A picture
    // of another size or ratio is blurred whole.
    QRegion blurChanged(const QImage& image, const QRegion& changed);
    // Forgets the picture.
    void clear();
    // The blurred picture; null before the first blur.
    const QImage& result() const { return m_result; }
    // How many pixels the blur's passes have worked over so far, in the reduced copy a wide blur
    // works on: the measure of its work.
    std::uint64_t pixelsBlurred() const { return m_pixelsBlurred; }

private:
    void reduce(const QImage& source, const QRect& part);
    void blurPart(const QRect& part);
    void enlarge(const QRect& part);

    double m_sigmaPx = 0;
    int m_factor = 1;           // the reduced copy is this many times smaller each way
    std::array<int, 3> m_radii{};
    int m_reach = 0;            // how far the passes carry a change, in reduced pixels
    std::int64_t m_divisor = 1; // what the passes' sums are over the mean
    QSize m_reducedSize;
    std::vector<std::int64_t> m_reduced;  // sums of each block of pixels, four bytes a pixel
    std::vector<std::int64_t> m_blurred;  // the reduced copy blurred, as sums
    QImage m_result;
    std::uint64_t m_pixelsBlurred = 0;
};

// Paints an image of `pixelSize` device pixels on a thread of the global thread pool while the
// caller waits, and returns it (transparent where nothing was drawn). From any other thread
// Qt 6.4's raster engine hands large fills to that pool and waits for each of them, which makes
// a picture of many small fills markedly slower to paint on the GUI thread. Called from a pool
// thread, it paints right there.
QImage paintOnPool(QSize pixelSize, double devicePixelRatio, const std::function<void(QPainter&)>& draw);
// Runs `work` the same way: on a pool thread while the caller waits, or right here on one.
void runOnPool(const std::function<void()>& work);

// What a cache of pictures kept between frames holds: its bytes (pixels, keys and bookkeeping,
// all it keeps alive), the most it may hold, and how many pictures.
struct CacheUse {
    std::size_t bytes = 0;
    std::size_t budget = 0;
    std::size_t entries = 0;
};
// The kept pictures of solid text (see Canvas::drawText) and of blurred shapes' coverage.
CacheUse keptTextUse();
CacheUse blurredMaskUse();
// Lets the kept pictures not drawn since the last call (or the runtime's last markMemoryInUse())
// go: those of the sizes a window no longer has, or of windows closed since. The runtime's
// releases do the same as the game's windows change (addMemoryRelease).
void forgetUnusedPictures();

// ---------------------------------------------------------------------------------------------
// Canvas

class Canvas {
public:
    // Draws onto `painter`, which must be active and outlive every copy. The painter's current
    // world transform is the canvas's starting transform; the canvas owns the painter's state
    // while any copy lives and restores it when the last copy is destroyed.
    explicit Canvas(QPainter& painter);

    void fill(const QPainterPath& path, const Paint& paint, FillRule rule = FillRule::nonZero) const;
    void stroke(const QPainterPath& path, const Paint& paint, double lineWidth) const;
    void stroke(const QPainterPath& path, const Paint& paint, const StrokeStyle& style) const;
    // One line of text with the centre of its line box at `center`; "\n" starts a new line and
    // the block of lines is centred as a whole.
    void drawText(const QString& text, QPointF center, const Font& font, const Paint& paint) const;

    // Lays `image` over `target` (this canvas's units) through this copy's clip and blend mode.
    // Meant for pictures made earlier at the device's resolution: with an unrotated transform
    // that maps `target` onto whole pixels, the image is copied, not resampled. Never blurred.
    void drawImage(const Rect& target, const QImage& image) const;

    // Draws `body` into a layer of its own that is composited onto this canvas afterwards, so a
    // destination-out blend inside the layer erases only what the layer drew. The layer covers
    // `bounds` (in this canvas's units); whatever is drawn outside them is lost. The layer is
    // composited through this copy's clip and blend mode, never blurred.
    void drawLayer(const Rect& bounds, const std::function<void(Canvas&)>& body) const;

    // State of this copy only.
    void clip(const QPainterPath& path);
    void clip(const Rect& rect);
    // Cuts everything this copy draws at `devicePixels`, a rectangle of the device's own pixels.
    // What lies wholly inside it is drawn as without it: the copy's clips are worked out as they
    // would be without it (a clip path is not merged with it into another path), and blurs and
    // layers are made as large. A second call cuts within the first.
    void bound(const QRect& devicePixels);
    void translate(double dx, double dy);
    void scale(double sx, double sy);
    void rotateDegrees(double degrees);  // positive turns clockwise on screen
    // Gaussian blur of the given radius (standard deviation, in this canvas's units at the time
    // of the call) on everything this copy draws; each draw is blurred on its own. A second call
    // adds to the first.
    void addBlur(double radius);
    void setBlendMode(BlendMode mode);
    // Everything this copy draws is laid on at this opacity (0 ... 1), over any the painter had.
    // A blurred shape that only fades in and out keeps its colour's picture this way.
    void setOpacity(double opacity);

    QTransform transform() const { return m_transform; }

private:
    struct Surface;
    struct ClipState {
        int id = 0;              // identifies the clip the painter last received
        bool isRect = false;     // device-space rectangle: the painter's fast path
        QRectF rect;             // when isRect
        QPainterPath path;       // device space, when not isRect
    };

    Canvas(std::shared_ptr<Surface> surface, QTransform transform);

    bool drawKeptText(const QString& text, QPointF center, const Font& font, const Paint& paint) const;
    // Runs `draw` with the brush to use: straight onto the painter, or into a blurred mask.
    // `describe` adds to a key what `draw` covers (shape and pen), so a blurred mask can be
    // found again.
    void paint(const QRectF& localBounds, const QBrush& brush,
               const std::function<void(QPainter&, const QBrush&)>& draw,
               const std::function<void(std::vector<double>&)>& describe) const;
    void applyClip(QPainter& painter) const;
    double deviceScale() const;

    std::shared_ptr<Surface> m_surface;
    QTransform m_transform;          // canvas units to the painter's logical coordinates
    std::optional<ClipState> m_clip;
    std::optional<QRect> m_bound;    // device pixels
    double m_blurPx = 0;             // standard deviation in logical pixels
    BlendMode m_blend = BlendMode::normal;
    double m_opacity = 1;
};

}  // namespace tallowmere
