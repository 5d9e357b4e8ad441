// The wall art's drawers, one per wall case, and the few helpers they share. Only the
// dispatcher in WallArt.cpp calls the drawers; everything here stays inside the wall art.
//
// Every drawer takes the canvas by value, the case's payload, the prop rect in stage units and,
// when it animates, the scene time. The dispatcher hands over only rects with a positive, finite
// size and a finite time.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QColor>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>

namespace tallowmere::wall {

namespace art = ostrevan::art;

// ---------------------------------------------------------------------------------------------
// Shared helpers (WallPictures.cpp)

// A picture frame of colour `frame` filling `rect`, with its wall shadow; returns the opening,
// `rect` inset by `width`.
Rect framed(const Canvas& canvas, const Rect& rect, std::uint32_t frame, double width);
// The point size at which `lines`, stacked 1.2 sizes apart, fit `rect`, never above `maxSize`.
// A line of L characters is taken to need 0.58 * size * L of width.
double autoFont(const QStringList& lines, const Rect& rect, double maxSize);
// `font`, shrunk where the widest of `lines`, as measured, would run past `width`.
Font shrinkToWidth(const QStringList& lines, Font font, double width);
// The font of `weight` and `design` at autoFont's size; where the widest line, as measured, would
// run past `area`, the design's condensed cut, and shrunk only if that is still too wide.
Font fitLines(const QStringList& lines, const Rect& area, double maxSize, FontWeight weight, FontDesign design);
// Characters as a reader counts them (grapheme clusters), not bytes or UTF-16 units.
int characterCount(const QString& text);
// The text's lines between line feeds; an empty text is one empty line.
QStringList splitLines(const std::string& text);

// A ball: the circle in `box`, lit from the upper left.
void fillBall(const Canvas& canvas, const Rect& box, const QColor& light, const QColor& base, const QColor& dark);
// A soft round glow fading from `inner` at the centre to nothing at `radius`.
void fillGlow(const Canvas& canvas, QPointF centre, double radius, const QColor& inner);

// ---------------------------------------------------------------------------------------------
// Framed pictures, lettering, painting, poster and note (WallPictures.cpp)

void drawStripes(Canvas canvas, const art::Stripes& stripes, const Rect& rect);
void drawDots(Canvas canvas, const art::Dots& dots, const Rect& rect);
void drawMixes(Canvas canvas, const art::Mixes& mixes, const Rect& rect);
void drawPlaque(Canvas canvas, const art::Plaque& plaque, const Rect& rect);
void drawDigit(Canvas canvas, const art::Digit& digit, const Rect& rect);
void drawSymbols(Canvas canvas, const art::Symbols& symbols, const Rect& rect);
void drawPainting(Canvas canvas, const art::Painting& painting, const Rect& rect);
void drawPoster(Canvas canvas, const art::Poster& poster, const Rect& rect);
void drawNote(Canvas canvas, const art::Note& note, const Rect& rect);

// ---------------------------------------------------------------------------------------------
// Window, mirror, clock and television (WallFixtures.cpp)

void drawWindow(Canvas canvas, const art::Window& window, const Rect& rect);
void drawMirror(Canvas canvas, const art::Mirror& mirror, const Rect& rect);
void drawClock(Canvas canvas, const art::Clock& clock, const Rect& rect);
void drawTv(Canvas canvas, const art::Tv& tv, const Rect& rect, double time);
void drawTvFlash(Canvas canvas, const art::TvFlash& flash, const Rect& rect, double time);

// ---------------------------------------------------------------------------------------------
// Panel face, fuse box, vent, shelves, glow, stamp, lamps and small fittings (WallDevices.cpp)

void drawPanel(Canvas canvas, const art::Panel& panel, const Rect& rect, double time);
void drawFuseBox(Canvas canvas, const art::FuseBox& box, const Rect& rect);
void drawVent(Canvas canvas, const art::Vent& vent, const Rect& rect);
void drawShelf(Canvas canvas, const art::Shelf& shelf, const Rect& rect);
void drawBookshelf(Canvas canvas, const art::Bookshelf& bookshelf, const Rect& rect);
void drawGlow(Canvas canvas, const art::Glow& glow, const Rect& rect, double time);
void drawStamp(Canvas canvas, const art::Stamp& stamp, const Rect& rect);
void drawLamps(Canvas canvas, const art::Lamps& lamps, const Rect& rect);
void drawSwitchPlate(Canvas canvas, const art::SwitchPlate& plate, const Rect& rect);
void drawSockets(Canvas canvas, const art::Sockets& sockets, const Rect& rect, double time);
void drawGearSlot(Canvas canvas, const art::GearSlot& slot, const Rect& rect, double time);
void drawArrows(Canvas canvas, const art::Arrows& arrows, const Rect& rect);

}  // namespace tallowmere::wall
