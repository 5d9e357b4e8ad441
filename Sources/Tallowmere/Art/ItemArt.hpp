// The one picture of an inventory item, wherever it is shown.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <optional>

namespace tallowmere {

// The item of `kind`, tinted by `tone` where the kind takes one, drawn in the square of side
// min(rect.w, rect.h) centred in `rect`; a few kinds reach slightly past it.
void drawItem(Canvas canvas, ostrevan::ItemKind kind, std::optional<ostrevan::Tone> tone, const Rect& rect);

}  // namespace tallowmere
