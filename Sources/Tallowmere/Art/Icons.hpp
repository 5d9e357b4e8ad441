// Small vector icons for the controls, cards and alerts around the stage, drawn here so they
// stay sharp at every pixel density. Each picture has one name, and the screens keep that name
// as data (a toast's kind, a button's symbol) rather than the picture itself. A name is dotted:
// the thing, then its variant, then "fill" for the solid form ("speaker.wave.2.fill"), so the
// forms of one thing read and sort together. The names are keys into this table and nothing
// more: no icon theme is asked for them.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <QColor>
#include <QPixmap>

#include <array>
#include <string_view>

namespace tallowmere {

// Every name drawIcon draws.
inline constexpr std::array<std::string_view, 21> kIconNames = {
    "line.3.horizontal",
    "speaker.wave.2.fill",
    "speaker.slash.fill",
    "lightbulb.fill",
    "sparkle",
    "xmark",
    "xmark.circle.fill",
    "hand.tap.fill",
    "square.grid.2x2.fill",
    "link",
    "lock.open.fill",
    "moon.fill",
    "door.left.hand.open",
    "play.fill",
    "arrow.counterclockwise",
    "arrow.triangle.2.circlepath",
    "questionmark.circle",
    "house.fill",
    "chevron.up",
    "chevron.down",
    "exclamationmark.triangle.fill",
};

bool hasIcon(std::string_view name);

// The named icon in `color`, fitted into the square of side min(rect.w, rect.h) centred in
// `rect`. An unknown name, an empty rect or a clear colour draws nothing.
void drawIcon(Canvas canvas, std::string_view name, const Rect& rect, const QColor& color);

// Width of the icon's box for a label whose text is `fontSize` high: icons sit a little larger
// than the letters beside them.
double iconSizeFor(double fontSize);

// The icon on a transparent pixmap of `side` logical pixels at the given device pixel ratio.
QPixmap iconPixmap(std::string_view name, int side, const QColor& color, double devicePixelRatio = 1);

}  // namespace tallowmere
