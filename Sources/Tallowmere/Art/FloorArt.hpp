// The floor-standing art: furniture, containers, rugs, the ball and loose items.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

namespace tallowmere {

// Draws a floor case of `art` into `rect` (stage units) and returns true; returns false without
// drawing for `none` and every wall case. Only the fish tank and the fountain animate with `time`.
bool drawFloorArt(Canvas canvas, const ostrevan::Art& art, const Rect& rect, double time);

}  // namespace tallowmere
