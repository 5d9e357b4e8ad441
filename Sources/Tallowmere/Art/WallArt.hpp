// The wall-mounted art: windows, pictures, notes, panels, switches, sockets and the rest.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

namespace tallowmere {

// Draws a wall case of `art` into `rect` (stage units) and returns true, also when its list is
// empty and little is drawn; returns false without drawing for floor cases and `none`.
bool drawWallArt(Canvas canvas, const ostrevan::Art& art, const Rect& rect, double time);

}  // namespace tallowmere
