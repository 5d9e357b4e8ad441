// Text helpers over Canvas::drawText for the texts of cards and bars: widths, wrapping and
// tracked lines.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <QPointF>
#include <QString>

#include <vector>

namespace tallowmere {

// Width of one line with `tracking` extra units after every character but the last.
double textWidth(const QString& text, const Font& font, double tracking = 0);
// Line height of the font (its line box).
double lineHeight(const Font& font);
// The text broken at spaces (and at "\n") into lines no wider than maxWidth; a single word
// wider than that stands on a line of its own.
std::vector<QString> wrapText(const QString& text, const Font& font, double maxWidth);
// One line whose box starts at `left` and is vertically centred on `centerY`; tracking spreads
// the characters apart.
void drawTextLine(const Canvas& canvas, const QString& text, double left, double centerY, const Font& font,
                  const Paint& paint, double tracking = 0);
// The same line centred on `center`.
void drawTextCentered(const Canvas& canvas, const QString& text, QPointF center, const Font& font,
                      const Paint& paint, double tracking = 0);

}  // namespace tallowmere
