// The drawing functions all art shares: the colour function, shadows and highlights, the fixed
// scatter hash and the symbol pictures.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QColor>
#include <QPointF>

#include <array>
#include <cstdint>
#include <string_view>

namespace tallowmere {

// Colour from 0xRRGGBB (the top byte is ignored). A shade below 0 darkens towards black
// (c * (1 + shade)), above 0 lightens towards white (c + shade * (1 - c)); it is not clamped
// beyond what a colour channel can hold.
QColor H(std::uint32_t hex, double shade = 0, double opacity = 1);

// Plain black and white at an opacity.
QColor black(double opacity = 1);
QColor white(double opacity = 1);
QColor clear();

// The fixed colour of each tone, in the declaration order of ostrevan::Tone.
inline constexpr std::array<std::uint32_t, ostrevan::kToneCount> toneHex = {
    0xDE3F3F,  // red
    0xF08A2C,  // orange
    0xF5C82E,  // yellow
    0x35A558,  // green
    0x3B78DE,  // blue
    0x8652D4,  // purple
    0xEC76A6,  // pink
    0x39C0D0,  // cyan
    0xF1EFE8,  // white
    0x2A2A30,  // black
    0x8A5A38,  // brown
};
std::uint32_t hexOf(ostrevan::Tone tone);

// The art's fixed scatter: a fraction in [0, 1) with four decimal places, the same for the same
// seed and channel in every frame and every run. All arithmetic wraps in 64 bits.
double unitHash(std::uint64_t seed, std::int64_t channel);
// The seed of the i-th scattered thing: i * 73856093 in 64-bit two's complement (i may be < 0).
std::uint64_t scatterSeed(std::int64_t index);

// Soft shadow behind a wall piece: the rounded rect moved by (3, 6), blurred by 5.
void wallShadow(const Canvas& canvas, const Rect& rect, double radius, double opacity);
// Contact shadow under a floor piece: a flat ellipse at the rect's foot, blurred by 6.
void floorShadow(const Canvas& canvas, const Rect& rect, double opacity);
// White diagonal band across the upper-left of a rounded rect, clipped to it.
void gloss(const Canvas& canvas, const Rect& rect, double radius, double strength);

// The twelve names drawSymbol draws as pictures, in the order they are tried.
inline constexpr std::array<std::string_view, 12> kSymbolNames = {
    "star", "moon", "sun", "heart", "bolt", "drop", "leaf", "cross", "diamond", "triangle", "square", "circle",
};

// One of the twelve named pictures filling a square of side `size` centred on `center`; any other
// name is drawn as bold rounded text of size size / 2, centred there.
void drawSymbol(Canvas canvas, std::string_view name, QPointF center, double size, const QColor& color);

}  // namespace tallowmere
