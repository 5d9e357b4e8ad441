// The fixed colours of the screens, bars, cards and buttons round the stage (the room art
// keeps its own), and the one conversion of a shadow's radius into a blur.
#pragma once

#include <QColor>

#include <cstdint>

namespace tallowmere {

// The eight fixed colours of the screens, bars, cards and buttons (the room art keeps its own).

namespace UI {

inline constexpr std::uint32_t kBg = 0x0E0C0B;         // window background behind the screens
inline constexpr std::uint32_t kPanel = 0x1B1815;      // lower stop of plain buttons
inline constexpr std::uint32_t kPanelHi = 0x2A251F;    // upper stop of plain buttons
inline constexpr std::uint32_t kText = 0xF3ECE0;       // main text, plain button labels
inline constexpr std::uint32_t kDim = 0xB9AE9C;        // secondary text, captions
inline constexpr std::uint32_t kAmber = 0xF2B544;      // accent; upper stop of prominent buttons
inline constexpr std::uint32_t kAmberDeep = 0xC98A1E;  // lower stop of prominent buttons
inline constexpr std::uint32_t kGood = 0x4FE08A;       // success glow, the unlocked lamp's green

QColor bg();
QColor panel();
QColor panelHi();
QColor text();
QColor dim();
QColor amber();
QColor amberDeep();
QColor good();

}  // namespace UI

// The red in which an alert writes the title of its destructive button, bright enough to read
// on the dark panel.
inline constexpr std::uint32_t kDestructiveRed = 0xFF453A;
QColor destructiveRed();
// The yellow in which an alert draws its warning sign.
inline constexpr std::uint32_t kWarningYellow = 0xFFD60A;
QColor warningYellow();

// The blur (Canvas::addBlur's standard deviation) of a shadow given by its radius round a card,
// a frame, a tile or a title: half the radius. The blur filters inside the room art take their
// radius as the deviation itself.
constexpr double shadowBlur(double radius) { return radius / 2; }

}  // namespace tallowmere
