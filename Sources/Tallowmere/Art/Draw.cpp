#include <Tallowmere/Art/Draw.hpp>

#include <QString>

#include <algorithm>
#include <cmath>

namespace tallowmere {

// ---------------------------------------------------------------------------------------------
// Colours

QColor H(std::uint32_t hex, double shade, double opacity) {
    auto channel = [shade](std::uint32_t byte) {
        double c = double(byte & 0xFF) / 255.0;
        if (shade < 0) c *= 1 + shade;
        else if (shade > 0) c += shade * (1 - c);
        return std::clamp(c, 0.0, 1.0);
    };
    return QColor::fromRgbF(float(channel(hex >> 16)), float(channel(hex >> 8)), float(channel(hex)),
                            float(std::clamp(opacity, 0.0, 1.0)));
}

QColor black(double opacity) {
    return H(0x000000, 0, opacity);
}

QColor white(double opacity) {
    return H(0xFFFFFF, 0, opacity);
}

QColor clear() {
    return black(0);
}

std::uint32_t hexOf(ostrevan::Tone tone) {
    const auto index = static_cast<std::size_t>(tone);
    return index < toneHex.size() ? toneHex[index] : toneHex.front();
}

// ---------------------------------------------------------------------------------------------
// Scatter

double unitHash(std::uint64_t seed, std::int64_t channel) {
    std::uint64_t x = seed ^ (static_cast<std::uint64_t>(channel) * 19349663ULL);
    x *= 0x9E3779B97F4A7C15ULL;
    x ^= x >> 29;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 32;
    return double(x % 10000) / 10000.0;
}

std::uint64_t scatterSeed(std::int64_t index) {
    return static_cast<std::uint64_t>(index) * 73856093ULL;
}

// ---------------------------------------------------------------------------------------------
// Shadows and highlights

namespace {
constexpr double kWallShadowBlur = 5;
constexpr double kWallShadowDx = 3;
constexpr double kWallShadowDy = 6;
constexpr double kFloorShadowBlur = 6;
constexpr double kFloorShadowMinHeight = 10;
}  // namespace

void wallShadow(const Canvas& canvas, const Rect& rect, double radius, double opacity) {
    if (opacity <= 0) return;
    Canvas blurred = canvas;
    blurred.addBlur(kWallShadowBlur);
    blurred.fill(shape::roundedRect(offsetBy(rect, kWallShadowDx, kWallShadowDy), radius), black(opacity));
}

void floorShadow(const Canvas& canvas, const Rect& rect, double opacity) {
    if (opacity <= 0) return;
    const Rect foot{rect.minX() - 0.04 * rect.w, rect.maxY() - 0.07 * rect.h, 1.08 * rect.w,
                    std::max(0.13 * rect.h, kFloorShadowMinHeight)};
    Canvas blurred = canvas;
    blurred.addBlur(kFloorShadowBlur);
    blurred.fill(shape::ellipse(foot), black(opacity));
}

void gloss(const Canvas& canvas, const Rect& rect, double radius, double strength) {
    if (strength <= 0) return;
    const double x = rect.minX();
    const double y = rect.minY();
    Canvas clipped = canvas;
    clipped.clip(shape::roundedRect(rect, radius));
    clipped.fill(shape::polygon({{x, y + 0.55 * rect.h},
                                 {x + 0.55 * rect.w, y},
                                 {x + 0.8 * rect.w, y},
                                 {x, y + 0.85 * rect.h}}),
                 white(strength));
}

// ---------------------------------------------------------------------------------------------
// Symbols

namespace {

Rect squareAround(QPointF c, double side) {
    return Rect{c.x() - side / 2, c.y() - side / 2, side, side};
}

void drawStar(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (int i = 0; i < 10; ++i) {
        const double angle = (-90 + 36 * i) * M_PI / 180;
        const double radius = i % 2 == 0 ? 0.5 * s : 0.2 * s;
        const QPointF p(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        if (i == 0) path.moveTo(p); else path.lineTo(p);
    }
    path.closeSubpath();
    canvas.fill(path, color);
}

void drawMoon(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    const Rect square = squareAround(c, s);
    // The erasing disc reaches right of and above the square; the layer covers both.
    const Rect layerBounds = insetBy(Rect{square.x, square.y - 0.1 * s, 1.3 * s, 1.1 * s}, -1, -1);
    canvas.drawLayer(layerBounds, [&](Canvas& layer) {
        layer.fill(shape::ellipse(insetBy(square, 0.05 * s, 0.05 * s)), color);
        layer.setBlendMode(BlendMode::destinationOut);
        layer.fill(shape::ellipse(insetBy(offsetBy(square, 0.3 * s, -0.1 * s), 0.07 * s, 0.07 * s)), black());
    });
}

void drawSun(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    canvas.fill(shape::ellipse(insetBy(squareAround(c, s), 0.24 * s, 0.24 * s)), color);
    StrokeStyle ray;
    ray.width = 0.09 * s;
    ray.cap = LineCap::round;
    ray.join = LineJoin::miter;
    ray.miterLimit = 10;
    for (int i = 0; i < 8; ++i) {
        const double angle = 45 * i * M_PI / 180;
        const QPointF dir(std::cos(angle), std::sin(angle));
        canvas.stroke(shape::line(c + 0.34 * s * dir, c + 0.5 * s * dir), color, ray);
    }
}

void drawHeart(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    auto p = [&](double a, double b) { return QPointF(c.x() + a * s, c.y() + b * s); };
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.moveTo(p(0, 0.42));
    path.cubicTo(p(-0.2, 0.3), p(-0.5, 0.12), p(-0.5, -0.1));
    path.cubicTo(p(-0.5, -0.42), p(-0.08, -0.4), p(0, -0.15));
    path.cubicTo(p(0.08, -0.4), p(0.5, -0.42), p(0.5, -0.1));
    path.cubicTo(p(0.5, 0.12), p(0.2, 0.3), p(0, 0.42));
    path.closeSubpath();
    canvas.fill(path, color);
}

void drawBolt(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    auto p = [&](double a, double b) { return QPointF(c.x() + a * s, c.y() + b * s); };
    canvas.fill(shape::polygon({p(0.1, -0.5), p(-0.28, 0.06), p(-0.02, 0.06), p(-0.12, 0.5), p(0.3, -0.1),
                                p(0.04, -0.1)}),
                color);
}

void drawDrop(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    auto p = [&](double a, double b) { return QPointF(c.x() + a * s, c.y() + b * s); };
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.moveTo(p(0, -0.5));
    path.cubicTo(p(0.1, -0.2), p(0.42, 0.12), p(0, 0.45));
    path.cubicTo(p(-0.42, 0.12), p(-0.1, -0.2), p(0, -0.5));
    path.closeSubpath();
    canvas.fill(path, color);
}

void drawLeafSymbol(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    auto p = [&](double a, double b) { return QPointF(c.x() + a * s, c.y() + b * s); };
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.moveTo(p(-0.4, 0.4));
    path.quadTo(p(-0.45, -0.4), p(0.42, -0.42));
    path.quadTo(p(0.45, 0.4), p(-0.4, 0.4));
    path.closeSubpath();
    canvas.fill(path, color);
}

void drawCross(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    const double corner = 0.05 * s;
    canvas.fill(shape::roundedRect(Rect{c.x() - 0.14 * s, c.y() - 0.5 * s, 0.28 * s, s}, corner), color);
    canvas.fill(shape::roundedRect(Rect{c.x() - 0.5 * s, c.y() - 0.14 * s, s, 0.28 * s}, corner), color);
}

void drawDiamond(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    auto p = [&](double a, double b) { return QPointF(c.x() + a * s, c.y() + b * s); };
    canvas.fill(shape::polygon({p(0, -0.5), p(0.38, 0), p(0, 0.5), p(-0.38, 0)}), color);
}

void drawTriangle(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    auto p = [&](double a, double b) { return QPointF(c.x() + a * s, c.y() + b * s); };
    canvas.fill(shape::polygon({p(0, -0.46), p(0.5, 0.4), p(-0.5, 0.4)}), color);
}

void drawSquare(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    canvas.fill(shape::roundedRect(Rect{c.x() - 0.4 * s, c.y() - 0.4 * s, 0.8 * s, 0.8 * s}, 0.06 * s), color);
}

void drawCircle(const Canvas& canvas, QPointF c, double s, const QColor& color) {
    canvas.fill(shape::ellipse(insetBy(squareAround(c, s), 0.06 * s, 0.06 * s)), color);
}

using SymbolDrawer = void (*)(const Canvas&, QPointF, double, const QColor&);

// In the order of kSymbolNames.
constexpr std::array<SymbolDrawer, kSymbolNames.size()> kSymbolDrawers = {
    drawStar, drawMoon, drawSun, drawHeart, drawBolt, drawDrop,
    drawLeafSymbol, drawCross, drawDiamond, drawTriangle, drawSquare, drawCircle,
};

}  // namespace

void drawSymbol(Canvas canvas, std::string_view name, QPointF center, double size, const QColor& color) {
    if (!(size > 0) || color.alphaF() <= 0) return;
    for (std::size_t i = 0; i < kSymbolNames.size(); ++i) {
        if (kSymbolNames[i] == name) {
            kSymbolDrawers[i](canvas, center, size, color);
            return;
        }
    }
    const Font label{0.5 * size, FontWeight::bold, FontDesign::rounded};
    canvas.drawText(QString::fromUtf8(name.data(), qsizetype(name.size())), center, label, color);
}

}  // namespace tallowmere
