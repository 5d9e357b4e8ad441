// The pictures behind the main menu and the ending screen, and the slabs the menu's bars and
// cards are drawn on. Pure drawing: every picture comes from its arguments alone.
//
// [SECTION] Clock and cover: the animation clock and the stage fitted to cover a screen.
// [SECTION] Backdrop: the cream room with its row of seven doors opening in turn.
// [SECTION] Ending: the ivory room with the gold door wide open.
// [SECTION] Slabs: the menu bar and the card behind the pause menu and the help card.
#pragma once

#include <Tallowmere/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QSizeF>
#include <QTransform>

#include <array>
#include <cstdint>

namespace tallowmere {

// ---------------------------------------------------------------------------------------------
// [SECTION] Clock and cover

// Seconds since 1 January 2001 (UTC), wrapped below 20,000, for milliseconds since the Unix
// epoch: the time every animated picture is drawn at.
double wrappedClockSeconds(std::int64_t unixMilliseconds);
// The same for the current time.
double wrappedClockNow();

// Stage units to a screen of `size`: the 1000 x 640 stage scaled by the larger of the two
// ratios, so it covers the whole screen, and centred; the overflow is cut off.
QTransform coverStage(QSizeF size);

// ---------------------------------------------------------------------------------------------
// [SECTION] Backdrop

namespace MenuDoors {
inline constexpr int kCount = 7;
inline constexpr std::array<ostrevan::DoorStyle, kCount> kStyles = {
    ostrevan::DoorStyle::wood,  ostrevan::DoorStyle::orange, ostrevan::DoorStyle::steel, ostrevan::DoorStyle::red,
    ostrevan::DoorStyle::glass, ostrevan::DoorStyle::green,  ostrevan::DoorStyle::blue,
};
inline constexpr double kScale = 0.62;      // of the game's door
inline constexpr double kGapStage = 26;
inline constexpr double kBottomStage = 392;  // a little above the horizon
inline constexpr double kWaveSpeed = 0.35;   // radians per second
inline constexpr double kPhaseStep = 1.9;    // radians from one door to the next
inline constexpr double kThreshold = 0.82;   // the sine a door starts to open above
inline constexpr double kLargestOpen = 0.9;

// The number on door i's plate: 4, 11, ... 46.
std::int64_t number(int index);
// Left edge of door i in stage units: 53.1, 184.5, ... 841.5.
double leftStage(int index);
// How far door i stands open at `time`: 0 while its sine is at or below the threshold, rising to
// kLargestOpen at the crest.
double opening(int index, double time);
}  // namespace MenuDoors

// The cream room and its door row at `time`; `canvas` is in stage units.
void drawMenuBackdrop(Canvas canvas, double time);
// The menu's darkening over the backdrop: darkest at the top behind the title, clear at 0.42 of
// the height, darker again towards the bottom behind the menu column.
void drawMenuShade(Canvas canvas, const Rect& screen);

// ---------------------------------------------------------------------------------------------
// [SECTION] Ending

// The empty ivory room and its gold door 50, fully open; `canvas` is in stage units.
void drawEndingPicture(Canvas canvas);
// Black from clear at the top to 0.7 at the bottom.
void drawEndingShade(Canvas canvas, const Rect& screen);

// ---------------------------------------------------------------------------------------------
// [SECTION] Slabs

// Corner radius of a menu bar and the blur of its glow.
inline constexpr double kMenuBarRadius = 14;
inline constexpr double kMenuBarGlowRadius = 14;

// A menu bar's slab in `rect`: the dark gradient (lighter under the pointer) and its rim (white,
// turning amber under the pointer). `hover` runs from 0 (away) to 1 (under the pointer).
void drawMenuBar(Canvas canvas, const Rect& rect, double hover);
// The amber glow round a hovered bar, drawn beneath it.
void drawMenuBarGlow(Canvas canvas, const Rect& rect, double hover);

// The card of the pause menu and the help card: its shadow, the panel fill and the faint rim.
inline constexpr double kCardRadius = 22;
inline constexpr double kCardShadowRadius = 40;
void drawCardShadow(Canvas canvas, const Rect& card);
void drawCard(Canvas canvas, const Rect& card);

}  // namespace tallowmere
