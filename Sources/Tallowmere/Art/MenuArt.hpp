// The pictures behind the main menu and the ending screen, and the slabs the menu's bars and
// cards are drawn on. Pure drawing: every picture comes from its arguments alone.
//
// [SECTION] Cover: the stage fitted to cover a screen.
// [SECTION] Backdrop: the cream room with its row of seven doors opening in turn, and the
//           renderer that draws it frame after frame.
// [SECTION] Ending: the ivory room with the gold door wide open.
// [SECTION] Title: the game's name and tagline over the backdrop.
// [SECTION] Slabs: the menu bar and the card behind the pause menu and the help card.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSizeF>
#include <QTransform>

#include <array>
#include <cstdint>

namespace tallowmere {

// ---------------------------------------------------------------------------------------------
// [SECTION] Cover

// Stage units to a screen of `size`: the 1000 x 640 stage scaled by the larger of the two
// ratios, so it covers the whole screen, and centred; the overflow is cut off.
QTransform coverStage(QSizeF size);
// A copy of `canvas`, whose units are those of a screen of `size`, in stage units covering it.
Canvas coveringStage(Canvas canvas, QSizeF size);

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

// How far each door stands open, left to right.
using Openings = std::array<double, kCount>;

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
// The menu's picture behind its title and column, covering a screen: the backdrop with the
// menu's darkening (drawMenuShade) over it, kept as one image and brought forward frame after
// frame. Only a moving door changes it, and only inside its doorway. So a door that moved has
// its doorway repainted from what is kept for it: the doorway lit, as it stands open, without
// its leaf, then the leaf swung to the new opening and the darkening; or, shut, the doorway as it
// looks shut. The first frame of a size draws everything. Every frame matches drawMenuBackdrop
// and drawMenuShade drawn at the same time. One renderer serves one view.
class MenuBackdropRenderer {
public:
    // Brings the picture to `time` on a screen of `size` (logical pixels) at `devicePixelRatio`.
    // Returns the logical rectangles that changed: the whole screen for a new size or ratio,
    // nothing while every door stands still.
    QRegion advance(QSizeF size, double devicePixelRatio, double time);
    // Whether the picture is for a screen of `size` at `devicePixelRatio`.
    bool fits(QSizeF size, double devicePixelRatio) const;
    // The picture as of the last advance, at its device pixel ratio.
    const QImage& picture() const { return m_picture; }

private:
    struct Doorway {
        QRect pixels;      // in the picture, device pixels
        QImage shut;       // finished, with the door shut
        QImage openFrame;  // the doorway lit, before the leaf and the darkening
    };
    void prepare(double time);
    void drawAll(double time);
    QRegion repaintDoorways(const MenuDoors::Openings& openings);

    QSizeF m_size;
    double m_devicePixelRatio = 0;
    QImage m_picture;
    MenuDoors::Openings m_shown{};
    std::array<Doorway, MenuDoors::kCount> m_doorways;
    // False on a screen so small that the next door's shadow reaches a doorway; then every change
    // draws everything.
    bool m_doorwaysKept = false;
};

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
// [SECTION] Title

// Point size of the title on a screen `screenWidth` wide: 0.052 of it, at most 62.
double menuTitleSize(double screenWidth);
// Height of the title block (title, gap, tagline capsule) on a screen `screenWidth` wide.
double menuTitleBlockHeight(double screenWidth);
// "TALLOWMERE" with its shadow over the tagline on its capsule, the block centred on `center`.
void drawMenuTitle(Canvas canvas, QPointF center, double screenWidth);
// How far the title's shadow reaches beyond the block, below it (the most) and on every side.
double menuTitleShadowReach();

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
