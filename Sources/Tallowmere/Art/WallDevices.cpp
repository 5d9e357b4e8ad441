// [SECTION] Panel face: housing and the six layouts
// [SECTION] Fuse box and vent
// [SECTION] Shelf and bookshelf
// [SECTION] Glow, stamp and lamps
// [SECTION] Switch plate, sockets, gear slot and arrows
#include <Tallowmere/Art/WallArtParts.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ItemArt.hpp>
#include <Tallowmere/Art/Palette.hpp>

#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <variant>

namespace tallowmere::wall {

namespace pal = palette;
namespace face = ostrevan::face;
using ostrevan::Tone;

namespace {

Rect squareAround(QPointF centre, double side) {
    return Rect{centre.x() - side / 2, centre.y() - side / 2, side, side};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Panel face: housing and the six layouts

namespace {

// Counts beyond this would only draw slivers; it also keeps bad room data from stalling a frame.
constexpr int kMaxFaceCount = 64;

int faceCount(int count) {
    return std::clamp(count, 0, kMaxFaceCount);
}

void paintButtons(const Canvas& canvas, const Rect& f, const std::vector<Tone>& tones) {
    constexpr std::size_t kOneRowMax = 5;
    const std::size_t n = tones.size();
    if (n == 0) return;
    const std::size_t rows = n <= kOneRowMax ? 1 : 2;
    const std::size_t columns = rows == 1 ? n : (n + 1) / 2;
    const double cellW = f.w / double(columns);
    const double cellH = f.h / double(rows);
    const double diameter = 0.7 * std::min(cellW, cellH);
    for (std::size_t k = 0; k < n; ++k) {
        const double row = double(k / columns);
        const double column = double(k % columns);
        const QPointF centre(f.minX() + cellW * (column + 0.5), f.minY() + cellH * (row + 0.5));
        const std::uint32_t c = hexOf(tones[k]);
        fillGlow(canvas, centre, 0.9 * diameter, H(c, 0, 0.35));
        fillBall(canvas, squareAround(centre, diameter), H(c, 0.5), H(c), H(c, -0.35));
    }
}

void paintSwitches(const Canvas& canvas, const Rect& f, int count) {
    const int n = faceCount(count);
    if (n == 0) return;
    const double columnW = f.w / n;
    for (int i = 0; i < n; ++i) {
        const Rect slot{f.minX() + columnW * i + 0.2 * columnW, f.minY() + 0.18 * f.h, 0.6 * columnW, 0.64 * f.h};
        const bool up = i % 2 == 0;
        const Rect lever{slot.minX() + 1, up ? slot.minY() + 2 : slot.midY(), slot.w - 2, slot.h / 2 - 2};
        canvas.fill(shape::roundedRect(slot, 3), H(pal::kPanelSlot));
        canvas.fill(shape::roundedRect(lever, 2), vertical(lever, {H(pal::kPanelSteelLit), H(pal::kPanelLeverShade)}));
    }
}

void paintDials(const Canvas& canvas, const Rect& f, int count) {
    constexpr double kTurnPerDial = 1.7;  // radians, so neighbouring dials never look alike
    const int n = faceCount(count);
    if (n == 0) return;
    const double columnW = f.w / n;
    const double diameter = std::min(0.8 * columnW, 0.8 * f.h);
    StrokeStyle pointer;
    pointer.width = 2.5;
    pointer.cap = LineCap::round;
    for (int i = 0; i < n; ++i) {
        const QPointF centre(f.minX() + columnW * (i + 0.5), f.midY());
        const double angle = kTurnPerDial * i;
        const QPointF tip(centre.x() + 0.3 * diameter * std::sin(angle), centre.y() - 0.3 * diameter * std::cos(angle));
        fillBall(canvas, squareAround(centre, diameter), H(pal::kPanelDialLight), H(pal::kPanelDialMid),
                 H(pal::kPanelDialDark));
        canvas.stroke(shape::line(centre, tip), H(pal::kPanelPointer), pointer);
    }
}

void paintLetters(const Canvas& canvas, const Rect& f, int count) {
    const int n = faceCount(count);
    if (n == 0) return;
    const double columnW = f.w / n;
    for (int i = 0; i < n; ++i) {
        const Rect tile{f.minX() + columnW * i + 3, f.midY() - 0.3 * f.h, columnW - 6, 0.6 * f.h};
        const Font font{std::min(0.9 * tile.w, 0.7 * tile.h), FontWeight::bold, FontDesign::serif};
        canvas.fill(shape::roundedRect(tile, 3), H(pal::kPanelTile));
        canvas.drawText("?", {tile.midX(), tile.midY()}, font, H(pal::kClockInk));
    }
}

void paintScreen(const Canvas& canvas, const Rect& f, const std::optional<std::string>& text, double time) {
    const Rect s = insetBy(f, 4, 4);
    if (text) {
        const QString shown = QString::fromStdString(*text);
        const double size = std::min(1.1 * s.w / std::max(characterCount(shown), 2), 0.4 * s.h);
        canvas.fill(shape::roundedRect(s, 3), H(pal::kPanelScreen));
        canvas.drawText(shown, {s.midX(), s.midY()}, Font{size, FontWeight::bold, FontDesign::monospaced},
                        H(pal::kPanelScreenText));
        return;
    }
    // No text: a card reader, its red lamp pulsing while it waits.
    const Rect slot{s.minX() + 8, s.midY() - 3, s.w - 16, 6};
    const Rect lamp{s.midX() - 3, s.minY() + 7, 6, 6};
    canvas.fill(shape::roundedRect(s, 3), H(pal::kPanelFaceBottom));
    canvas.fill(shape::roundedRect(slot, 2), H(pal::kPanelCardSlot));
    canvas.fill(shape::ellipse(lamp), H(pal::kLampRed, 0, 0.6 + 0.4 * std::sin(3 * time)));
}

void paintKeypad(const Canvas& canvas, const Rect& f) {
    constexpr int kRows = 4;
    constexpr int kColumns = 3;
    constexpr const char* kLabels[kRows][kColumns] = {{"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}, {"", "0", ""}};
    const Rect display{f.minX() + 6, f.minY() + 6, f.w - 12, 0.16 * f.h};
    const Rect keys{f.minX() + 6, display.maxY() + 6, f.w - 12, f.maxY() - display.maxY() - 12};
    const double keyW = keys.w / kColumns - 4;
    const double keyH = keys.h / kRows - 4;
    const Font labelFont{std::min(0.62 * keyH, 14.0), FontWeight::bold, FontDesign::rounded};

    canvas.fill(shape::roundedRect(display, 3), H(pal::kPanelScreen));
    // The face never shows an entry: the placeholder stands whatever the code's length.
    canvas.drawText("- - - -", {display.midX(), display.midY()},
                    Font{0.6 * display.h, FontWeight::bold, FontDesign::monospaced}, H(pal::kKeypadDigits, 0, 0.8));
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const Rect key{keys.minX() + c * keys.w / kColumns + 2, keys.minY() + r * keys.h / kRows + 2, keyW, keyH};
            canvas.fill(shape::roundedRect(key, 3), vertical(key, {H(pal::kKeypadKeyTop), H(pal::kKeypadKeyBottom)}));
            canvas.drawText(kLabels[r][c], {key.midX(), key.midY()}, labelFont, white(0.85));
        }
    }
}

}  // namespace

void drawPanel(Canvas canvas, const art::Panel& panel, const Rect& rect, double time) {
    const Rect f = insetBy(rect, 0.09 * rect.w, 0.08 * rect.h);
    wallShadow(canvas, rect, 7, 0.32);
    canvas.fill(shape::roundedRect(rect, 7), vertical(rect, {H(pal::kPanelBodyTop), H(pal::kPanelBodyBottom)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 1.5, 1.5), 6), white(0.5), 1);
    canvas.fill(shape::roundedRect(f, 5), vertical(f, {H(pal::kPanelFaceTop), H(pal::kPanelFaceBottom)}));
    std::visit(
        [&](const auto& layout) {
            using T = std::decay_t<decltype(layout)>;
            if constexpr (std::is_same_v<T, face::Buttons>) paintButtons(canvas, f, layout.tones);
            else if constexpr (std::is_same_v<T, face::Switches>) paintSwitches(canvas, f, layout.count);
            else if constexpr (std::is_same_v<T, face::Dials>) paintDials(canvas, f, layout.count);
            else if constexpr (std::is_same_v<T, face::Letters>) paintLetters(canvas, f, layout.count);
            else if constexpr (std::is_same_v<T, face::Screen>) paintScreen(canvas, f, layout.text, time);
            else paintKeypad(canvas, f);
        },
        panel.face);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Fuse box and vent

void drawFuseBox(Canvas canvas, const art::FuseBox& box, const Rect& rect) {
    constexpr int kSlots = 2;
    constexpr Tone kFuseTones[kSlots] = {Tone::red, Tone::blue};
    constexpr double kSignHalfBase = 6;
    const Rect recess = insetBy(rect, 0.14 * rect.w, 0.18 * rect.h);
    const double slotPitch = 0.5 * (recess.w - 8);

    wallShadow(canvas, rect, 4, 0.32);
    canvas.fill(shape::roundedRect(rect, 4), vertical(rect, {H(pal::kFuseBoxTop), H(pal::kFuseBoxBottom)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 2, 2), 3), white(0.3), 1);
    canvas.fill(shape::roundedRect(recess, 3), H(pal::kFuseRecess));
    for (int k = 0; k < kSlots; ++k) {
        const Rect slot{recess.minX() + 4 + slotPitch * k + 3, recess.minY() + 8, slotPitch - 6, recess.h - 16};
        canvas.fill(shape::roundedRect(slot, 3), H(pal::kFuseSlot));
        if (k < box.fuses) {
            const Rect fuse = insetBy(slot, 3, 3);
            const std::uint32_t c = hexOf(kFuseTones[k]);
            canvas.fill(shape::roundedRect(fuse, 3), vertical(fuse, {H(c, 0.1), H(c, -0.3)}));
        }
    }
    canvas.fill(shape::polygon({{rect.midX(), rect.maxY() - 0.15 * rect.h},
                                {rect.midX() + kSignHalfBase, rect.maxY() - 4},
                                {rect.midX() - kSignHalfBase, rect.maxY() - 4}}),
                H(hexOf(Tone::yellow)));
}

void drawVent(Canvas canvas, const art::Vent& vent, const Rect& rect) {
    constexpr int kSlats = 7;
    constexpr double kScrewInset = 5;
    constexpr double kScrewSize = 6;
    constexpr double kGlintRadius = 16;
    const Rect duct = insetBy(rect, 8, 8);

    wallShadow(canvas, rect, 3, 0.32);
    canvas.fill(shape::roundedRect(rect, 3), vertical(rect, {H(pal::kVentFrameTop), H(pal::kVentFrameBottom)}));
    canvas.fill(shape::roundedRect(duct, 2), H(pal::kVentDuct));
    if (vent.open) {
        // The cover is off: a key glints in the duct and the cover hangs at the left edge.
        const Rect keyBow{duct.midX() - 8, duct.maxY() - 0.2 * duct.h, 12, 12};
        const Rect keyShank{duct.midX() - 2, duct.maxY() - 0.14 * duct.h, 3, 14};
        fillGlow(canvas, {duct.midX(), duct.maxY() - 0.12 * duct.h}, 0.4 * duct.w, H(pal::kVentGlow, 0, 0.7));
        canvas.fill(shape::ellipse(keyBow), H(pal::kVentKey));
        canvas.fill(shape::rect(keyShank), H(pal::kVentKey));
        canvas.stroke(shape::rect(duct), black(0.5), 2);
        canvas.fill(shape::polygon({{rect.minX() + 2, rect.minY() + 2},
                                    {rect.minX() + 18, rect.minY() + 2},
                                    {rect.minX() + 4, rect.maxY() - 6}}),
                    H(pal::kVentCover));
        return;
    }
    const double slatPitch = duct.h / kSlats;
    for (int k = 0; k < kSlats; ++k) {
        const Rect slat{duct.minX(), duct.minY() + k * slatPitch + 2, duct.w, slatPitch - 4};
        canvas.fill(shape::roundedRect(slat, 1), vertical(slat, {H(pal::kVentSlatTop), H(pal::kVentSlatBottom)}));
    }
    fillGlow(canvas, {duct.midX(), duct.maxY() - 12}, kGlintRadius, H(pal::kVentGlow, 0, 0.5));
    for (const QPointF screw : {QPointF(rect.minX() + kScrewInset, rect.minY() + kScrewInset),
                                QPointF(rect.maxX() - kScrewInset, rect.minY() + kScrewInset),
                                QPointF(rect.minX() + kScrewInset, rect.maxY() - kScrewInset),
                                QPointF(rect.maxX() - kScrewInset, rect.maxY() - kScrewInset)}) {
        fillBall(canvas, squareAround(screw, kScrewSize), white(), H(pal::kScrewMid), H(pal::kScrewDark));
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Shelf and bookshelf

void drawShelf(Canvas canvas, const art::Shelf& shelf, const Rect& rect) {
    constexpr double kBoardH = 14;
    constexpr double kItemSide = 36;
    constexpr double kMargin = 20;
    const Rect board{rect.minX(), rect.midY() - kBoardH / 2, rect.w, kBoardH};

    wallShadow(canvas, board, 2, 0.32);
    canvas.fill(shape::roundedRect(board, 2), vertical(board, {H(pal::kShelfBoardTop), H(pal::kShelfBoardBottom)}));
    // Both brackets hang the same way round: right angle at the top left, under the board.
    for (const double x : {board.minX() + 14, board.maxX() - 14}) {
        canvas.fill(shape::polygon({{x, board.maxY()}, {x, board.maxY() + 18}, {x + 12, board.maxY()}}),
                    H(pal::kShelfBracket));
    }
    if (shelf.items.empty()) return;
    const double step = (board.w - 2 * kMargin) / double(shelf.items.size());
    for (std::size_t i = 0; i < shelf.items.size(); ++i) {
        const Rect spot{board.minX() + kMargin + double(i) * step, board.minY() - kItemSide + 2, kItemSide, kItemSide};
        drawItem(canvas, shelf.items[i], std::nullopt, spot);
    }
}

void drawBookshelf(Canvas canvas, const art::Bookshelf& bookshelf, const Rect& rect) {
    constexpr int kShelves = 3;
    constexpr double kPlankH = 8;
    const Rect back = insetBy(rect, 10, 10);
    const std::size_t n = bookshelf.tones.size();
    const std::size_t perShelf = (n + kShelves - 1) / kShelves;
    const double shelfH = back.h / kShelves;

    floorShadow(canvas, rect, 0.42);
    canvas.fill(shape::roundedRect(rect, 4), vertical(rect, {H(pal::kBookcaseTop), H(pal::kBookcaseBottom)}));
    canvas.fill(shape::roundedRect(back, 2), H(pal::kBookcaseBack));
    std::size_t b = 0;
    for (int s = 0; s < kShelves; ++s) {
        const double baseY = back.minY() + shelfH * (s + 1) - 4;
        double x = back.minX() + 5;
        for (std::size_t onShelf = 0; onShelf < perShelf && b < n; ++onShelf, ++b) {
            // Sizes hang on the book's place in the list only, so the case looks the same every frame.
            const std::uint64_t seed = scatterSeed(std::int64_t(b));
            const double bookW = 12 + 5 * unitHash(seed, 5);
            const double bookH = shelfH * (0.6 + 0.25 * unitHash(seed, 6));
            const Rect book{x, baseY - bookH, bookW, bookH};
            const std::uint32_t c = hexOf(bookshelf.tones[b]);
            canvas.fill(shape::roundedRect(book, 1.5), horizontal(book, {H(c, 0.18), H(c, -0.22)}));
            canvas.fill(shape::rect(Rect{book.minX() + 2, book.minY() + 6, bookW - 4, 2}), white(0.5));
            canvas.fill(shape::rect(Rect{book.minX() + 2, book.maxY() - 9, bookW - 4, 2}), white(0.35));
            x += bookW + 2.5;
        }
        const Rect plank{back.minX() - 4, baseY, back.w + 8, kPlankH};
        canvas.fill(shape::roundedRect(plank, 1), vertical(plank, {H(pal::kShelfBoardTop), H(pal::kShelfBoardBottom)}));
    }
    canvas.stroke(shape::roundedRect(insetBy(rect, 1, 1), 4), white(0.18), 1);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Glow, stamp and lamps

void drawGlow(Canvas canvas, const art::Glow& glow, const Rect& rect, double time) {
    const QString text = QString::fromStdString(glow.text);
    const double pulse = 0.85 + 0.15 * std::sin(2.2 * time);
    const double size = std::min(1.5 * rect.w / std::max(characterCount(text), 1), 0.8 * rect.h);
    const Font font{size, FontWeight::heavy, FontDesign::rounded};
    const QPointF centre(rect.midX(), rect.midY());

    canvas.fill(shape::roundedRect(rect, 8), black(0.28));
    Canvas outerHalo = canvas;
    outerHalo.addBlur(10);
    outerHalo.drawText(text, centre, font, H(pal::kGlowHalo, 0, 0.95 * pulse));
    Canvas innerHalo = canvas;
    innerHalo.addBlur(3);
    innerHalo.drawText(text, centre, font, H(pal::kGlowInnerHalo, 0, 0.9));
    canvas.drawText(text, centre, font, H(pal::kGlowCore));
}

void drawStamp(Canvas canvas, const art::Stamp& stamp, const Rect& rect) {
    constexpr int kPrintRows = 7;
    constexpr int kPrintColumns = 28;
    constexpr double kDot = 1.4;

    wallShadow(canvas, rect, 2, 0.32);
    canvas.fill(shape::roundedRect(rect, 2), vertical(rect, {H(pal::kStampCardTop), H(pal::kStampCardBottom)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 4, 4), 2), H(pal::kStampFrame, 0, 0.8), 1.5);
    if (stamp.text) {
        const QString text = QString::fromStdString(*stamp.text);
        const double size = std::min(1.5 * rect.w / std::max(characterCount(text), 2), 0.55 * rect.h);
        canvas.drawText(text, {rect.midX(), rect.midY()}, Font{size, FontWeight::heavy, FontDesign::monospaced},
                        H(pal::kStampInk));
        return;
    }
    // No word: rows of faint dotted print, their inking fixed by the dot's place.
    const double columnPitch = (rect.w - 20) / kPrintColumns;
    const double rowPitch = (rect.h - 24) / kPrintRows;
    for (int r = 0; r < kPrintRows; ++r) {
        for (int c = 0; c < kPrintColumns; ++c) {
            const Rect dot{rect.minX() + 10 + columnPitch * c, rect.minY() + 12 + rowPitch * r, kDot, kDot};
            canvas.fill(shape::ellipse(dot), H(pal::kStampPrint, 0, 0.55 + 0.4 * unitHash(scatterSeed(r), c)));
        }
    }
}

void drawLamps(Canvas canvas, const art::Lamps& lamps, const Rect& rect) {
    constexpr double kHaloReach = 1.7;  // in lamp diameters
    const double corner = std::min(0.5 * rect.h, 10.0);

    wallShadow(canvas, rect, 0.5 * rect.h, 0.32);
    canvas.fill(shape::roundedRect(rect, corner), vertical(rect, {H(pal::kLampBarTop), H(pal::kLampBarBottom)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 1, 1), corner), white(0.18), 1);
    if (lamps.lit.empty()) return;
    const double n = double(lamps.lit.size());
    const double cellW = rect.w / n;
    const double diameter = std::min(0.7 * cellW, 0.62 * rect.h);
    for (std::size_t i = 0; i < lamps.lit.size(); ++i) {
        const QPointF centre(rect.minX() + (double(i) + 0.5) * cellW, rect.midY());
        const Rect bulb = squareAround(centre, diameter);
        if (lamps.lit[i]) {
            fillGlow(canvas, centre, kHaloReach * diameter, H(pal::kLampHalo, 0, 0.6));
            fillBall(canvas, bulb, H(pal::kLampLitLight), H(pal::kLampLitMid), H(pal::kLampLitDark));
        } else {
            fillBall(canvas, bulb, H(pal::kLampUnlitLight), H(pal::kLampUnlitMid), H(pal::kLampUnlitDark));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Switch plate, sockets, gear slot and arrows

void drawSwitchPlate(Canvas canvas, const art::SwitchPlate& plate, const Rect& rect) {
    constexpr double kGlowRadius = 26;
    const Rect rocker{rect.minX() + 0.22 * rect.w, rect.minY() + (plate.on ? 0.12 : 0.5) * rect.h, 0.56 * rect.w,
                      0.38 * rect.h};
    const QPainterPath rockerShape = shape::roundedRect(rocker, 3);

    wallShadow(canvas, rect, 5, 0.32);
    canvas.fill(shape::roundedRect(rect, 5), vertical(rect, {H(pal::kSwitchPlateTop), H(pal::kSwitchPlateBottom)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 1.5, 1.5), 4), black(0.18), 1);
    canvas.fill(rockerShape, plate.on ? vertical(rocker, {H(pal::kRockerOnTop), H(pal::kRockerOnBottom)})
                                      : vertical(rocker, {H(pal::kRockerOffTop), H(pal::kRockerOffBottom)}));
    canvas.stroke(rockerShape, black(0.25), 1);
    if (plate.on) fillGlow(canvas, {rect.midX(), rect.minY() + 0.3 * rect.h}, kGlowRadius, H(pal::kSwitchGlow, 0, 0.45));
}

void drawSockets(Canvas canvas, const art::Sockets& sockets, const Rect& rect, double time) {
    if (sockets.tones.empty()) return;
    const double glowOpacity = 0.55 + 0.1 * std::sin(2.5 * time);  // every socket pulses together
    const double cellW = rect.w / double(sockets.tones.size());
    const double diameter = 0.86 * std::min(cellW, rect.h);
    for (std::size_t i = 0; i < sockets.tones.size(); ++i) {
        const QPointF centre(rect.minX() + (double(i) + 0.5) * cellW, rect.midY());
        const Rect disc = squareAround(centre, diameter);
        const Rect hole = insetBy(disc, 0.2 * diameter, 0.2 * diameter);
        wallShadow(canvas, disc, diameter / 2, 0.35);
        fillBall(canvas, disc, H(pal::kSocketLight), H(pal::kSocketMid), H(pal::kSocketDark));
        canvas.fill(shape::ellipse(hole), H(pal::kSocketHole));
        if (const std::optional<Tone>& tone = sockets.tones[i]) {
            const std::uint32_t c = hexOf(*tone);
            fillGlow(canvas, centre, 0.85 * diameter, H(c, 0, glowOpacity));
            fillBall(canvas, insetBy(hole, -1, -1), H(c, 0.6), H(c), H(c, -0.35));
        }
    }
}

void drawGearSlot(Canvas canvas, const art::GearSlot& slot, const Rect& rect, double time) {
    constexpr int kSteps = 20;  // ten teeth and the ten gaps between them
    constexpr double kTurnRate = 0.8;  // radians a second, clockwise
    const QPointF centre(rect.midX(), rect.midY());
    const double recessRadius = 0.36 * std::min(rect.w, rect.h);
    const double outer = 0.92 * recessRadius;
    const double inner = 0.8 * outer;
    const double phase = slot.filled ? kTurnRate * time : 0;

    QPainterPath gear;
    gear.setFillRule(Qt::WindingFill);
    bool first = true;
    for (int k = 0; k < kSteps; ++k) {
        const double radius = k % 2 == 0 ? outer : inner;
        const double a = phase + k * M_PI / 10;
        for (const double angle : {a, a + M_PI / 20}) {
            const QPointF p(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
            if (first) gear.moveTo(p); else gear.lineTo(p);
            first = false;
        }
    }
    gear.closeSubpath();

    wallShadow(canvas, rect, 6, 0.32);
    canvas.fill(shape::roundedRect(rect, 6), vertical(rect, {H(pal::kGearPlateTop), H(pal::kGearPlateBottom)}));
    canvas.stroke(shape::roundedRect(insetBy(rect, 3, 3), 4), white(0.2), 1.5);
    canvas.fill(shape::circle(centre, recessRadius), H(pal::kGearRecess));
    canvas.fill(gear, H(slot.filled ? pal::kGearBrass : pal::kGearGhost));
    canvas.fill(shape::circle(centre, 0.28 * outer), black(0.45));
    canvas.stroke(gear, white(0.25), 1);
}

void drawArrows(Canvas canvas, const art::Arrows& arrows, const Rect& rect) {
    // Sized by the height alone: a long text runs past the rect rather than shrinking.
    canvas.drawText(QString::fromStdString(arrows.text), {rect.midX(), rect.midY()},
                    Font{0.6 * rect.h, FontWeight::bold, FontDesign::rounded}, H(pal::kArrowsInk));
}

}  // namespace tallowmere::wall
