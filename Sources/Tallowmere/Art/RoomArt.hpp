// The empty room and its exit door: the pieces every room, the menu backdrop, the ending screen
// and the application icon share.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QPainterPath>

#include <cstdint>

namespace tallowmere {

// The empty room of a theme over the whole stage: wall with its pattern and light, ceiling,
// baseboard, floor in perspective and the side shading. `canvas` is already in stage units.
void drawRoomShell(Canvas canvas, const ostrevan::Theme& theme);

// The exit door at Stage::doorRect in the canvas's current transform: casing, doorway (lit while
// `open` > 0), the leaf of `style` with `number` on its plate, hinged on the left and narrowed as
// it swings, and, when `showLamp`, the lamp above it (steady green when unlocked, else red and
// pulsing with `time`). `open` runs from 0 (shut) to 1 (open); values <= 0 mean shut.
void drawDoor(Canvas canvas, ostrevan::DoorStyle style, std::int64_t number, bool unlocked, double open,
              double time, bool showLamp);
// The lamp above the door on its own, as drawDoor draws it last when `showLamp`: the door drawn
// without its lamp and then the lamp is the door drawn with it.
void drawDoorLamp(Canvas canvas, bool unlocked, double time);

// A floor-plan rectangle seen in perspective: floor x spreads away from the centre line x 500
// by 1 at the horizon (y 400) up to 2.2 at the front edge (y 640).
QPainterPath floorQuad(double x0, double x1, double y0, double y1);

// Where the door's pieces stand, in stage units.
namespace DoorLayout {
// The casing is (401, 102, 198, 298) and ends on the horizon: grown from the opening by the
// usual inset it would reach 12 units below the horizon into the floor.
inline constexpr Rect casing{401, 102, 198, 298};
inline constexpr Rect opening{417, 118, 166, 282};  // also the leaf
inline constexpr Rect leafClip{377, 118, 246, 282};
inline constexpr Rect lampHousing{478, 104, 44, 11};
inline constexpr Rect bulb{492, 106, 16, 7};
inline constexpr double lampGlowRadius = 30;
}  // namespace DoorLayout

// The door without its lamp in two layers, as drawDoor draws them: first the casing with its
// shadow and the doorway (lit when `lit`, as while the door stands open), then the leaf swung
// to `open`, which alone changes as the door swings.
void drawDoorFrame(Canvas canvas, bool lit);
void drawDoorLeaf(Canvas canvas, ostrevan::DoorStyle style, std::int64_t number, double open);

}  // namespace tallowmere
