// The floor art's single entry point: the shared contact shadow, then each floor case goes to its
// own drawer; the ball and the loose item are simple enough to draw here.
#include <Tallowmere/Art/FloorArt.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/FloorArtParts.hpp>
#include <Tallowmere/Art/ItemArt.hpp>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <type_traits>
#include <variant>

namespace tallowmere {

namespace floorart {

void fillGlow(const Canvas& canvas, QPointF centre, double radius, const QColor& inner, const QColor& outer) {
    if (!(radius > 0)) return;
    canvas.fill(shape::circle(centre, radius), radial(centre, 0, radius, {inner, outer}));
}

bool isKnownSymbol(std::string_view word) {
    // Built once; the rug asks for every word of its label in every frame.
    static const std::set<std::string, std::less<>> knownSymbols(kSymbolNames.begin(), kSymbolNames.end());
    return knownSymbols.contains(word);
}

}  // namespace floorart

namespace {

namespace art = ostrevan::art;
using namespace floorart;

constexpr double kContactShadow = 0.42;
constexpr double kBallShadow = 0.5;
constexpr double kItemShadow = 0.5;
constexpr double kItemShadowBlur = 3;

void drawBall(const Canvas& canvas, const art::Ball& ball, const Rect& r) {
    const std::uint32_t c = hexOf(ball.tone);
    const Rect highlight{r.x + 0.22 * r.w, r.y + 0.14 * r.h, 0.26 * r.w, 0.18 * r.h};
    // Stacked on the shared shadow: a ball sits heavier on the floor than furniture.
    floorShadow(canvas, r, kBallShadow);
    canvas.fill(shape::ellipse(r), sphere(r, H(c, 0.55), H(c), H(c, -0.4)));
    canvas.fill(shape::ellipse(highlight), white(0.55));
}

// A loose item lies flat, so it gets a tighter shadow than the standing pieces.
void drawLooseItem(const Canvas& canvas, const art::Item& item, const Rect& r) {
    const Rect shadow{r.x, r.y + 0.82 * r.h, r.w, 0.22 * r.h};
    Canvas blurred = canvas;
    blurred.addBlur(kItemShadowBlur);
    blurred.fill(shape::ellipse(shadow), black(kItemShadow));
    drawItem(canvas, item.kind, item.tone, r);
}

struct FloorDrawers {
    Canvas canvas;
    Rect rect;
    double time;

    void operator()(const art::Plant&) const { drawPlant(canvas, rect); }
    void operator()(const art::Vase& vase) const { drawVase(canvas, vase, rect); }
    void operator()(const art::Sofa& sofa) const { drawSofa(canvas, sofa, rect); }
    void operator()(const art::Chest& chest) const { drawChest(canvas, chest, rect); }
    void operator()(const art::Cabinet& cabinet) const { drawCabinet(canvas, cabinet, rect); }
    void operator()(const art::Safe& safe) const { drawSafe(canvas, safe, rect); }
    void operator()(const art::Fridge& fridge) const { drawFridge(canvas, fridge, rect); }
    void operator()(const art::Barrel& barrel) const { drawBarrel(canvas, barrel, rect); }
    void operator()(const art::Rug& rug) const { drawRug(canvas, rug, rect); }
    void operator()(const art::RugRolled& rug) const { drawRugRolled(canvas, rug, rect); }
    void operator()(const art::Dice& dice) const { drawDice(canvas, dice, rect); }
    void operator()(const art::Bucket& bucket) const { drawBucket(canvas, bucket, rect); }
    void operator()(const art::FishTank& tank) const { drawFishTank(canvas, tank, rect, time); }
    void operator()(const art::FloorLamp& lamp) const { drawFloorLamp(canvas, lamp, rect); }
    void operator()(const art::Ball& ball) const { drawBall(canvas, ball, rect); }
    void operator()(const art::Trapdoor& trapdoor) const { drawTrapdoor(canvas, trapdoor, rect); }
    void operator()(const art::Radio& radio) const { drawRadio(canvas, radio, rect); }
    void operator()(const art::Fountain& fountain) const { drawFountain(canvas, fountain, rect, time); }
    void operator()(const art::Ice& ice) const { drawIce(canvas, ice, rect); }
    void operator()(const art::Item& item) const { drawLooseItem(canvas, item, rect); }
    void operator()(const art::Table&) const { drawTable(canvas, rect); }
    void operator()(const art::Globe&) const { drawGlobe(canvas, rect); }
    void operator()(const art::Pedestal&) const { drawPedestal(canvas, rect); }
    void operator()(const art::Boxes&) const { drawBoxes(canvas, rect); }
    void operator()(const art::Piano&) const { drawPiano(canvas, rect); }
};

template <class T>
constexpr bool kIsFloorCase = std::is_invocable_v<FloorDrawers, const T&>;

// Room data with an empty, inverted or non-finite rect draws nothing rather than odd shapes.
bool isDrawable(const Rect& r) {
    return r.w > 0 && r.h > 0 && std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.w) && std::isfinite(r.h);
}

}  // namespace

bool drawFloorArt(Canvas canvas, const ostrevan::Art& art, const Rect& rect, double time) {
    const bool isFloorCase = std::visit([](const auto& piece) { return kIsFloorCase<std::decay_t<decltype(piece)>>; }, art);
    if (!isFloorCase) return false;
    if (!isDrawable(rect)) return true;
    // Flat things (rugs, dice, trapdoor) and the loose item go without the shared shadow.
    if (ostrevan::standsOnFloor(art)) floorShadow(canvas, rect, kContactShadow);
    const FloorDrawers drawers{canvas, rect, std::isfinite(time) ? time : 0.0};
    std::visit(
        [&](const auto& piece) {
            if constexpr (kIsFloorCase<std::decay_t<decltype(piece)>>) drawers(piece);
        },
        art);
    return true;
}

}  // namespace tallowmere
