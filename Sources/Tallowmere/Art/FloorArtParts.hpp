// The floor art's drawers, one per floor case, and the few helpers they share. Only the floor
// art dispatcher (FloorArt.cpp) calls the drawers; each draws its piece into the prop rect in
// stage units, back to front, over the contact shadow the dispatcher may already have laid.
#pragma once

#include <Tallowmere/Platform/Canvas.hpp>

#include <Ostrevan/Model.hpp>

#include <QColor>
#include <QPointF>

#include <string_view>

namespace tallowmere::floorart {

namespace art = ostrevan::art;

// ---------------------------------------------------------------------------------------------
// Shared helpers (FloorArt.cpp)

// The point at fractions (fx, fy) of `r`, measured from its top-left corner.
inline QPointF pointIn(const Rect& r, double fx, double fy) {
    return {r.x + fx * r.w, r.y + fy * r.h};
}

// A disc of `radius` round `centre` filled with a radial gradient from `inner` at the centre to
// `outer` at the rim; nothing for a radius that is not positive.
void fillGlow(const Canvas& canvas, QPointF centre, double radius, const QColor& inner, const QColor& outer);

// Whether `word` is one of the twelve names drawSymbol draws as a picture (exact, case-sensitive).
bool isKnownSymbol(std::string_view word);

// ---------------------------------------------------------------------------------------------
// Furniture and containers (FloorFurniture.cpp)

void drawVase(Canvas canvas, const art::Vase& vase, const Rect& r);
void drawSofa(Canvas canvas, const art::Sofa& sofa, const Rect& r);
void drawTable(Canvas canvas, const Rect& r);
void drawChest(Canvas canvas, const art::Chest& chest, const Rect& r);
void drawCabinet(Canvas canvas, const art::Cabinet& cabinet, const Rect& r);
void drawSafe(Canvas canvas, const art::Safe& safe, const Rect& r);

// ---------------------------------------------------------------------------------------------
// Standing things and flat things (FloorThings.cpp)

void drawFridge(Canvas canvas, const art::Fridge& fridge, const Rect& r);
void drawBarrel(Canvas canvas, const art::Barrel& barrel, const Rect& r);
void drawBucket(Canvas canvas, const art::Bucket& bucket, const Rect& r);
void drawRug(Canvas canvas, const art::Rug& rug, const Rect& r);
void drawRugRolled(Canvas canvas, const art::RugRolled& rug, const Rect& r);
void drawDice(Canvas canvas, const art::Dice& dice, const Rect& r);
void drawGlobe(Canvas canvas, const Rect& r);
void drawFishTank(Canvas canvas, const art::FishTank& tank, const Rect& r, double time);

// ---------------------------------------------------------------------------------------------
// Fixtures (FloorFixtures.cpp)

void drawFloorLamp(Canvas canvas, const art::FloorLamp& lamp, const Rect& r);
void drawRadio(Canvas canvas, const art::Radio& radio, const Rect& r);
void drawTrapdoor(Canvas canvas, const art::Trapdoor& trapdoor, const Rect& r);
void drawFountain(Canvas canvas, const art::Fountain& fountain, const Rect& r, double time);
void drawIce(Canvas canvas, const art::Ice& ice, const Rect& r);
void drawPedestal(Canvas canvas, const Rect& r);
void drawBoxes(Canvas canvas, const Rect& r);
void drawPlant(Canvas canvas, const Rect& r);  // every plant looks alike whatever its tone
void drawPiano(Canvas canvas, const Rect& r);

}  // namespace tallowmere::floorart
