// Expected colours worked out from the drawing rules themselves (colour shades, gradients,
// ball shading, translucent paint over a known colour), and a table row that compares one
// rendered pixel with such a colour.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace tallowmere::testing {

// A colour as four channels from 0 to 1, not premultiplied.
struct Colour {
    double r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with a shade (below 0 towards black, above 0 towards white) and an opacity.
inline Colour hexColour(std::uint32_t hex, double shade = 0, double opacity = 1) {
    double c[3] = {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0};
    for (double& v : c) v = shade < 0 ? v * (1 + shade) : v + shade * (1 - v);
    return {c[0], c[1], c[2], opacity};
}

// Short names for the tables' rows.
inline Colour hx(std::uint32_t hex, double shade = 0, double opacity = 1) {
    return hexColour(hex, shade, opacity);
}
inline Colour blackA(double opacity) {
    return {0, 0, 0, opacity};
}
inline Colour whiteA(double opacity) {
    return {1, 1, 1, opacity};
}

inline Colour mixColour(const Colour& from, const Colour& to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

// Colours spread evenly from 0 to 1, read at t.
inline Colour rampColour(std::initializer_list<Colour> stops, double t) {
    const std::vector<Colour> s(stops);
    if (s.size() == 1) return s[0];
    t = std::clamp(t, 0.0, 1.0) * double(s.size() - 1);
    const std::size_t i = std::min(std::size_t(t), s.size() - 2);
    return mixColour(s[i], s[i + 1], t - double(i));
}

// `top` painted over `under` (source over).
inline Colour over(const Colour& top, const Colour& under) {
    const double a = top.a + under.a * (1 - top.a);
    if (a <= 0) return {0, 0, 0, 0};
    auto ch = [&](double t, double u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
    return {ch(top.r, under.r), ch(top.g, under.g), ch(top.b, under.b), a};
}

// A gradient from the top edge (y0) to the bottom edge (y1), read at y.
inline Colour verticalAt(double y0, double y1, double y, std::initializer_list<Colour> stops) {
    return rampColour(stops, (y - y0) / (y1 - y0));
}

// Ball shading of the circle in the square (x, y, d, d): a radial ramp from the point 0.35 d
// across and 0.3 d down, out to 0.85 d.
inline Colour ballAt(double x, double y, double d, QPointF at, std::initializer_list<Colour> stops) {
    const double dist = std::hypot(at.x() - (x + 0.35 * d), at.y() - (y + 0.3 * d));
    return rampColour(stops, dist / (0.85 * d));
}

// A radial ramp about `centre` from radius 0 to `radius`, read at `at`.
inline Colour radialAt(QPointF centre, double radius, QPointF at, std::initializer_list<Colour> stops) {
    return rampColour(stops, std::hypot(at.x() - centre.x(), at.y() - centre.y()) / radius);
}

// One probe: the pixel whose centre is `at` against the colour the rules give there.
struct Probe {
    std::string what;
    QPointF at;  // a pixel centre: whole numbers plus one half
    Colour colour;
    int tolerance = 4;  // per channel, out of 255
};

inline int channel(double v) {
    return int(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

inline void expectProbe(const QImage& image, const Probe& probe) {
    const QColor got = QColor::fromRgba(image.pixel(int(std::floor(probe.at.x())), int(std::floor(probe.at.y()))));
    const Colour& want = probe.colour;
    const std::string where = probe.what + " at " + std::to_string(probe.at.x()) + "," + std::to_string(probe.at.y());
    EXPECT_NEAR(got.alpha(), channel(want.a), probe.tolerance) << where;
    if (want.a < 0.05) return;  // no colour to speak of
    EXPECT_NEAR(got.red(), channel(want.r), probe.tolerance) << where;
    EXPECT_NEAR(got.green(), channel(want.g), probe.tolerance) << where;
    EXPECT_NEAR(got.blue(), channel(want.b), probe.tolerance) << where;
}

}  // namespace tallowmere::testing
