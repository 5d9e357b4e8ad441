// Painting into small offscreen images and probing what landed there.
//
// The expected colours are worked out here from the pictures' own numbers (hex colours, shades,
// opacities, gradient ends), independently of the drawing code: a colour is a premultiplied RGBA
// in 0 ... 1, a shading is a fill's colour as a function of the point, and layers are composited with
// source-over as the canvas does.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace tallowmere::testing {

inline QImage paintImage(int w, int h, const std::function<void(Canvas&)>& draw, QColor background = Qt::transparent) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    {
        Canvas canvas(painter);
        draw(canvas);
    }
    painter.end();
    return image;
}

inline int alphaAt(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y));
}

inline bool isBlank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return false;
    return true;
}

// ## Expected colours

// Premultiplied RGBA, each in 0 ... 1.
struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB with a shade (below 0 towards black, above 0 towards white) and an opacity.
inline Rgba hex(std::uint32_t rgb, double shade = 0, double opacity = 1) {
    double c[3] = {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
    for (double& v : c) v = shade < 0 ? v * (1 + shade) : v + shade * (1 - v);
    return {c[0] * opacity, c[1] * opacity, c[2] * opacity, opacity};
}
inline Rgba rgb255(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0, 1};
}
inline Rgba blackAt(double opacity) {
    return {0, 0, 0, opacity};
}
inline Rgba whiteAt(double opacity) {
    return {opacity, opacity, opacity, opacity};
}

inline Rgba mix(const Rgba& a, const Rgba& b, double f) {
    return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f, a.a + (b.a - a.a) * f};
}
// `top` laid over `below`.
inline Rgba over(const Rgba& top, const Rgba& below) {
    const double k = 1 - top.a;
    return {top.r + below.r * k, top.g + below.g * k, top.b + below.b * k, top.a + below.a * k};
}

// The colour at `f` of evenly spaced stops, held at both ends.
inline Rgba along(const std::vector<Rgba>& stops, double f) {
    if (stops.size() == 1) return stops.front();
    const double t = std::clamp(f, 0.0, 1.0) * double(stops.size() - 1);
    const std::size_t i = std::min(std::size_t(t), stops.size() - 2);
    return mix(stops[i], stops[i + 1], t - double(i));
}

// A shading: the colour a fill puts at a point.
using Shading = std::function<Rgba(QPointF)>;

inline Shading flat(const Rgba& colour) {
    return [colour](QPointF) { return colour; };
}
// Linear gradient from `from` to `to`, measured along the line between them.
inline Shading linearShading(QPointF from, QPointF to, std::vector<Rgba> stops) {
    return [=](QPointF p) {
        const QPointF d = to - from;
        const double f = QPointF::dotProduct(p - from, d) / QPointF::dotProduct(d, d);
        return along(stops, f);
    };
}
// Over a box (x, y, w, h): top to bottom, left to right.
inline Shading verticalShading(double x, double y, double w, double h, std::vector<Rgba> stops) {
    return linearShading({x + w / 2, y}, {x + w / 2, y + h}, std::move(stops));
}
inline Shading horizontalShading(double x, double y, double w, double h, std::vector<Rgba> stops) {
    return linearShading({x, y + h / 2}, {x + w, y + h / 2}, std::move(stops));
}
// Radial from `centre` (radius 0) out to `radius`.
inline Shading radialShading(QPointF centre, double radius, std::vector<Rgba> stops) {
    return [=](QPointF p) {
        const QPointF d = p - centre;
        return along(stops, std::hypot(d.x(), d.y()) / radius);
    };
}
// A ball's shading over its box: centred at 35 % across and 30 % down, out to 85 % of the width.
inline Shading sphereShading(double x, double y, double w, double h, std::vector<Rgba> stops) {
    return radialShading({x + 0.35 * w, y + 0.3 * h}, 0.85 * w, std::move(stops));
}
inline Shading over(Shading top, Shading below) {
    return [top = std::move(top), below = std::move(below)](QPointF p) { return over(top(p), below(p)); };
}
inline Shading over(const Rgba& top, Shading below) {
    return over(flat(top), std::move(below));
}

// ## Probes

// The centre of the pixel that holds `p`.
inline QPointF pixelCentre(QPointF p) {
    return {std::floor(p.x()) + 0.5, std::floor(p.y()) + 0.5};
}

inline std::string describe(QRgb pixel) {
    std::ostringstream out;
    out << "rgba(" << qRed(pixel) << ", " << qGreen(pixel) << ", " << qBlue(pixel) << ", " << qAlpha(pixel) << ")";
    return out.str();
}
inline std::string describe(const Rgba& c) {
    std::ostringstream out;
    out << "rgba(" << std::lround(c.r * 255) << ", " << std::lround(c.g * 255) << ", " << std::lround(c.b * 255)
        << ", " << std::lround(c.a * 255) << ")";
    return out.str();
}

// Each premultiplied channel of the pixel within `tolerance` (out of 255) of the expected colour.
inline bool isNear(QRgb pixel, const Rgba& want, int tolerance) {
    const double got[4] = {double(qRed(pixel)), double(qGreen(pixel)), double(qBlue(pixel)), double(qAlpha(pixel))};
    const double expected[4] = {want.r * 255, want.g * 255, want.b * 255, want.a * 255};
    for (int i = 0; i < 4; ++i)
        if (std::abs(got[i] - expected[i]) > tolerance) return false;
    return true;
}

// The pixel at `p` has the colour `shading` gives at that pixel's centre.
inline ::testing::AssertionResult colourAt(const QImage& image, QPointF p, const Shading& shading, int tolerance) {
    const QPointF c = pixelCentre(p);
    const int x = int(c.x()), y = int(c.y());
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return ::testing::AssertionFailure() << "probe (" << x << ", " << y << ") is off the image";
    const QRgb pixel = image.pixel(x, y);
    const Rgba want = shading(c);
    if (isNear(pixel, want, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "at (" << x << ", " << y << ") got " << describe(pixel) << ", want "
                                         << describe(want) << " within " << tolerance;
}

// Whether some pixel within `radius` pixels (a square) of `p` is within `tolerance` of `want`.
inline bool colourNearby(const QImage& image, QPointF p, double radius, const Rgba& want, int tolerance) {
    const int x0 = std::max(0, int(std::floor(p.x() - radius))), x1 = std::min(image.width() - 1, int(p.x() + radius));
    const int y0 = std::max(0, int(std::floor(p.y() - radius))), y1 = std::min(image.height() - 1, int(p.y() + radius));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (isNear(image.pixel(x, y), want, tolerance)) return true;
    return false;
}

// ## Comparing pictures

// The largest difference between two pixels in any one channel, alpha included.
inline int pixelDifference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)),
                     std::abs(qAlpha(a) - qAlpha(b))});
}

// The largest pixelDifference between two pictures, read as QImage::pixel reads them (not
// premultiplied); 256 when their sizes differ.
inline int largestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 256;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) worst = std::max(worst, pixelDifference(p[col], q[col]));
    }
    return worst;
}

// How many pixels of `area` (the whole pictures when it is empty) differ by more than `tolerance`
// in some channel, read as QImage::pixel reads them; -1 when the pictures' sizes differ or the
// area reaches past them.
inline int differingPixels(const QImage& a, const QImage& b, QRect area = {}, int tolerance = 0) {
    if (a.size() != b.size()) return -1;
    if (area.isEmpty()) area = a.rect();
    if (!a.rect().contains(area)) return -1;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += pixelDifference(a.pixel(x, y), b.pixel(x, y)) > tolerance;
    return count;
}

}  // namespace tallowmere::testing
