#include <Tallowmere/Art/Icons.hpp>

#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <map>

namespace tallowmere {

namespace {

// Every icon is laid out on a 24 x 24 grid; drawIcon scales the grid into the caller's square.
constexpr double kGrid = 24;
constexpr double kLine = 2.2;      // stroke width of outline icons
constexpr double kBoldLine = 2.6;  // marks that must read at small sizes (x, chevrons)

StrokeStyle roundStroke(double width) {
    return StrokeStyle{width, LineCap::round, LineJoin::round};
}

// The outline a round-capped stroke of `path` covers, as a fillable shape.
QPainterPath strokeShape(const QPainterPath& path, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    // The stroker's outline overlaps itself; united with an empty path it becomes one clean
    // outline that set operations handle.
    return QPainterPath().united(stroker.createStroke(path));
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& p : points) {
        if (first) path.moveTo(p); else path.lineTo(p);
        first = false;
    }
    return path;
}

QPainterPath arc(QPointF center, double radius, double startDegrees, double endDegrees) {
    QPainterPath path;
    addArc(path, center, radius, startDegrees, endDegrees);
    return path;
}

// An arrowhead with its tip at `tip`, pointing along `degrees` (screen angles, 0 right, 90 down).
QPainterPath arrowHead(QPointF tip, double degrees, double length, double halfWidth) {
    const double a = degrees * M_PI / 180;
    const QPointF dir(std::cos(a), std::sin(a));
    const QPointF normal(-dir.y(), dir.x());
    const QPointF base = tip - dir * length;
    return shape::polygon({tip, base + normal * halfWidth, base - normal * halfWidth});
}

using Drawer = void (*)(const Canvas&, const QColor&);

// Paths made by set operations keep their holes only under the even-odd rule.
void fillCut(const Canvas& c, const QPainterPath& path, const QColor& color) {
    c.fill(path, color, FillRule::evenOdd);
}

void lines3(const Canvas& c, const QColor& color) {
    for (double y : {6.0, 12.0, 18.0}) c.stroke(shape::line({3.5, y}, {20.5, y}), color, roundStroke(kLine));
}

QPainterPath speakerBody(double dx) {
    QPainterPath body = shape::polygon({{2.5 + dx, 9}, {6.5 + dx, 9}, {11.5 + dx, 4.5}, {11.5 + dx, 19.5},
                                        {6.5 + dx, 15}, {2.5 + dx, 15}});
    return strokeShape(body, 1).united(body);
}

void speakerWave(const Canvas& c, const QColor& color) {
    c.fill(speakerBody(0), color);
    c.stroke(arc({12, 12}, 4.2, -42, 42), color, roundStroke(2));
    c.stroke(arc({12, 12}, 8, -45, 45), color, roundStroke(2));
}

void speakerSlash(const Canvas& c, const QColor& color) {
    const QPainterPath slash = shape::line({4, 3.5}, {20.5, 20.5});
    // The slash cuts a gap through the speaker so it reads over the filled body.
    fillCut(c, speakerBody(3).subtracted(strokeShape(slash, 4.2)), color);
    c.stroke(slash, color, roundStroke(2));
}

QPainterPath bulbGlass() {
    QPainterPath glass;
    glass.setFillRule(Qt::WindingFill);
    glass.moveTo(9, 17);
    glass.cubicTo(9, 14.5, 5.5, 13, 5.5, 9);
    glass.cubicTo(5.5, 5.3, 8.4, 2.5, 12, 2.5);
    glass.cubicTo(15.6, 2.5, 18.5, 5.3, 18.5, 9);
    glass.cubicTo(18.5, 13, 15, 14.5, 15, 17);
    glass.closeSubpath();
    return glass;
}

void bulbBase(const Canvas& c, const QColor& color) {
    c.fill(shape::roundedRect(Rect{8.8, 18, 6.4, 1.8}, 0.9), color);
    c.fill(shape::roundedRect(Rect{9.6, 20.4, 4.8, 1.8}, 0.9), color);
}

void lightbulbFill(const Canvas& c, const QColor& color) {
    c.fill(bulbGlass(), color);
    bulbBase(c, color);
}

void sparkle(const Canvas& c, const QColor& color) {
    QPainterPath star;
    star.setFillRule(Qt::WindingFill);
    const QPointF m(12, 12);
    star.moveTo(12, 1.5);
    star.quadTo(m + QPointF(1.2, -1.2), {22.5, 12});
    star.quadTo(m + QPointF(1.2, 1.2), {12, 22.5});
    star.quadTo(m + QPointF(-1.2, 1.2), {1.5, 12});
    star.quadTo(m + QPointF(-1.2, -1.2), {12, 1.5});
    star.closeSubpath();
    c.fill(star, color);
}

QPainterPath cross(double from, double to) {
    QPainterPath x;
    x.moveTo(from, from);
    x.lineTo(to, to);
    x.moveTo(to, from);
    x.lineTo(from, to);
    return x;
}

void xmark(const Canvas& c, const QColor& color) {
    c.stroke(cross(5, 19), color, roundStroke(kBoldLine));
}

void xmarkCircleFill(const Canvas& c, const QColor& color) {
    fillCut(c, shape::circle({12, 12}, 10.5).subtracted(strokeShape(cross(8.3, 15.7), 2.4)), color);
}

void handTapFill(const Canvas& c, const QColor& color) {
    // An index finger raised over a fist, with two strokes of the tap round its tip.
    QPainterPath hand = shape::roundedRect(Rect{9.2, 6.5, 4.2, 10}, 2.1);
    hand = hand.united(shape::roundedRect(Rect{7, 12.5, 12.5, 10}, 3.6));
    hand = hand.united(shape::roundedRect(Rect{5.2, 13.5, 3.6, 6}, 1.8));
    c.fill(hand, color);
    c.stroke(arc({11.3, 6.5}, 5, 200, 245), color, roundStroke(1.6));
    c.stroke(arc({11.3, 6.5}, 5, 295, 340), color, roundStroke(1.6));
}

void gridFill(const Canvas& c, const QColor& color) {
    for (double x : {3.0, 12.8}) {
        for (double y : {3.0, 12.8}) c.fill(shape::roundedRect(Rect{x, y, 8.2, 8.2}, 2.2), color);
    }
}

void link(const Canvas& c, const QColor& color) {
    Canvas turned = c;
    turned.translate(12, 12);
    turned.rotateDegrees(-45);
    turned.stroke(shape::roundedRect(Rect{-10, -3.6, 11.5, 7.2}, 3.6), color, roundStroke(2));
    turned.stroke(shape::roundedRect(Rect{-1.5, -3.6, 11.5, 7.2}, 3.6), color, roundStroke(2));
}

void lockOpenFill(const Canvas& c, const QColor& color) {
    QPainterPath shackle;
    shackle.moveTo(13.5, 11);
    shackle.lineTo(13.5, 7);
    addArc(shackle, {17.25, 7}, 3.75, 180, 360);
    shackle.lineTo(21, 9);
    c.stroke(shackle, color, roundStroke(2.2));
    QPainterPath body = shape::roundedRect(Rect{2.5, 11, 14, 11}, 2.4);
    QPainterPath keyhole = shape::circle({9.5, 15.5}, 1.6).united(shape::roundedRect(Rect{8.8, 15.5, 1.4, 3.5}, 0.7));
    fillCut(c, body.subtracted(keyhole), color);
}

void moonFill(const Canvas& c, const QColor& color) {
    fillCut(c, shape::circle({11, 13}, 9).subtracted(shape::circle({16.5, 8}, 7.5)), color);
}

void doorOpen(const Canvas& c, const QColor& color) {
    // The frame with the floor line, and the leaf swung towards the viewer on its left hinge.
    c.stroke(polyline({{7, 21.5}, {7, 2.5}, {19.5, 2.5}, {19.5, 21.5}}), color, roundStroke(1.8));
    c.stroke(shape::line({3, 21.5}, {21.5, 21.5}), color, roundStroke(1.8));
    QPainterPath leaf = shape::polygon({{7, 2.5}, {13.5, 4.5}, {13.5, 23}, {7, 21.5}});
    fillCut(c, leaf.subtracted(shape::circle({11.8, 13}, 0.9)), color);
}

void playFill(const Canvas& c, const QColor& color) {
    const QPainterPath triangle = shape::polygon({{7, 4.5}, {19.5, 12}, {7, 19.5}});
    c.fill(strokeShape(triangle, 2).united(triangle), color);
}

void arrowCounterclockwise(const Canvas& c, const QColor& color) {
    c.stroke(arc({12, 13}, 8, -90, 195), color, roundStroke(kLine));
    c.fill(arrowHead({7.4, 5}, 180, 5, 3.6), color);
}

void arrowCirclePath(const Canvas& c, const QColor& color) {
    c.stroke(arc({12, 12}, 8, 200, 330), color, roundStroke(kLine));
    c.fill(arrowHead({20.4, 9.6}, 75, 4.8, 3.4), color);
    c.stroke(arc({12, 12}, 8, 20, 150), color, roundStroke(kLine));
    c.fill(arrowHead({3.6, 14.4}, 255, 4.8, 3.4), color);
}

void questionmarkCircle(const Canvas& c, const QColor& color) {
    c.stroke(shape::circle({12, 12}, 9.8), color, 1.8);
    QPainterPath mark;
    addArc(mark, {12, 9.6}, 3.1, 190, 390);
    mark.quadTo(12, 12.6, 12, 14);
    c.stroke(mark, color, roundStroke(2));
    c.fill(shape::circle({12, 17.4}, 1.3), color);
}

void houseFill(const Canvas& c, const QColor& color) {
    c.stroke(polyline({{2.5, 12}, {12, 3.3}, {21.5, 12}}), color, roundStroke(kLine));
    QPainterPath body = shape::polygon({{5.5, 11}, {12, 5.2}, {18.5, 11}, {18.5, 21.5}, {5.5, 21.5}});
    fillCut(c, body.subtracted(shape::roundedRect(Rect{10, 15, 4, 7}, 1)), color);
}

void exclamationTriangleFill(const Canvas& c, const QColor& color) {
    // Corners rounded as the play triangle's; the mark is cut through so it reads on any ground.
    const QPainterPath triangle = shape::polygon({{12, 3.2}, {21.9, 20.4}, {2.1, 20.4}});
    const QPainterPath body = strokeShape(triangle, 2.4).united(triangle);
    const QPainterPath mark = strokeShape(shape::line({12, 8.8}, {12, 13.4}), 2.4).united(shape::circle({12, 16.9}, 1.4));
    fillCut(c, body.subtracted(mark), color);
}

void chevronUp(const Canvas& c, const QColor& color) {
    c.stroke(polyline({{5, 15.5}, {12, 8.5}, {19, 15.5}}), color, roundStroke(kBoldLine));
}

void chevronDown(const Canvas& c, const QColor& color) {
    c.stroke(polyline({{5, 8.5}, {12, 15.5}, {19, 8.5}}), color, roundStroke(kBoldLine));
}

const std::map<std::string_view, Drawer>& drawers() {
    static const std::map<std::string_view, Drawer> table = {
        {"line.3.horizontal", lines3},
        {"speaker.wave.2.fill", speakerWave},
        {"speaker.slash.fill", speakerSlash},
        {"lightbulb.fill", lightbulbFill},
        {"sparkle", sparkle},
        {"xmark", xmark},
        {"xmark.circle.fill", xmarkCircleFill},
        {"hand.tap.fill", handTapFill},
        {"square.grid.2x2.fill", gridFill},
        {"link", link},
        {"lock.open.fill", lockOpenFill},
        {"moon.fill", moonFill},
        {"door.left.hand.open", doorOpen},
        {"play.fill", playFill},
        {"arrow.counterclockwise", arrowCounterclockwise},
        {"arrow.triangle.2.circlepath", arrowCirclePath},
        {"questionmark.circle", questionmarkCircle},
        {"house.fill", houseFill},
        {"chevron.up", chevronUp},
        {"chevron.down", chevronDown},
        {"exclamationmark.triangle.fill", exclamationTriangleFill},
    };
    return table;
}

}  // namespace

bool hasIcon(std::string_view name) {
    return drawers().contains(name);
}

void drawIcon(Canvas canvas, std::string_view name, const Rect& rect, const QColor& color) {
    const auto found = drawers().find(name);
    const double side = std::min(rect.w, rect.h);
    if (found == drawers().end() || !(side > 0) || color.alpha() == 0) return;
    canvas.translate(rect.midX() - side / 2, rect.midY() - side / 2);
    canvas.scale(side / kGrid, side / kGrid);
    found->second(canvas, color);
}

double iconSizeFor(double fontSize) {
    return fontSize * 1.15;
}

QPixmap iconPixmap(std::string_view name, int side, const QColor& color, double devicePixelRatio) {
    const double dpr = devicePixelRatio > 0 ? devicePixelRatio : 1;
    const int px = std::max(1, int(std::ceil(side * dpr)));
    QPixmap pixmap(px, px);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawIcon(Canvas(painter), name, Rect{0, 0, double(side), double(side)}, color);
    return pixmap;
}

}  // namespace tallowmere
