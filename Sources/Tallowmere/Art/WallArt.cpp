// The wall art's single entry point: each wall case goes to its own drawer, which draws its own
// shadow; the dispatcher adds nothing around them.
#include <Tallowmere/Art/WallArt.hpp>

#include <Tallowmere/Art/WallArtParts.hpp>

#include <cmath>
#include <type_traits>
#include <variant>

namespace tallowmere {

namespace {

namespace art = ostrevan::art;

struct WallDrawers {
    Canvas canvas;
    Rect rect;
    double time;

    void operator()(const art::Window& a) const { wall::drawWindow(canvas, a, rect); }
    void operator()(const art::Painting& a) const { wall::drawPainting(canvas, a, rect); }
    void operator()(const art::Stripes& a) const { wall::drawStripes(canvas, a, rect); }
    void operator()(const art::Dots& a) const { wall::drawDots(canvas, a, rect); }
    void operator()(const art::Mixes& a) const { wall::drawMixes(canvas, a, rect); }
    void operator()(const art::Clock& a) const { wall::drawClock(canvas, a, rect); }
    void operator()(const art::Poster& a) const { wall::drawPoster(canvas, a, rect); }
    void operator()(const art::Note& a) const { wall::drawNote(canvas, a, rect); }
    void operator()(const art::Plaque& a) const { wall::drawPlaque(canvas, a, rect); }
    void operator()(const art::Digit& a) const { wall::drawDigit(canvas, a, rect); }
    void operator()(const art::Mirror& a) const { wall::drawMirror(canvas, a, rect); }
    void operator()(const art::Tv& a) const { wall::drawTv(canvas, a, rect, time); }
    void operator()(const art::TvFlash& a) const { wall::drawTvFlash(canvas, a, rect, time); }
    void operator()(const art::Lamps& a) const { wall::drawLamps(canvas, a, rect); }
    void operator()(const art::Symbols& a) const { wall::drawSymbols(canvas, a, rect); }
    void operator()(const art::Panel& a) const { wall::drawPanel(canvas, a, rect, time); }
    void operator()(const art::FuseBox& a) const { wall::drawFuseBox(canvas, a, rect); }
    void operator()(const art::Vent& a) const { wall::drawVent(canvas, a, rect); }
    void operator()(const art::Shelf& a) const { wall::drawShelf(canvas, a, rect); }
    void operator()(const art::Bookshelf& a) const { wall::drawBookshelf(canvas, a, rect); }
    void operator()(const art::SwitchPlate& a) const { wall::drawSwitchPlate(canvas, a, rect); }
    void operator()(const art::Sockets& a) const { wall::drawSockets(canvas, a, rect, time); }
    void operator()(const art::Glow& a) const { wall::drawGlow(canvas, a, rect, time); }
    void operator()(const art::Stamp& a) const { wall::drawStamp(canvas, a, rect); }
    void operator()(const art::GearSlot& a) const { wall::drawGearSlot(canvas, a, rect, time); }
    void operator()(const art::Arrows& a) const { wall::drawArrows(canvas, a, rect); }
};

template <class T>
constexpr bool kIsWallCase = std::is_invocable_v<WallDrawers, const T&>;

// A rect no picture can be laid out in: nothing is drawn, and no drawer divides by its size.
bool isDrawable(const Rect& rect) {
    return std::isfinite(rect.x) && std::isfinite(rect.y) && std::isfinite(rect.w) && std::isfinite(rect.h) &&
           rect.w > 0 && rect.h > 0;
}

}  // namespace

bool drawWallArt(Canvas canvas, const ostrevan::Art& art, const Rect& rect, double time) {
    const WallDrawers drawers{canvas, rect, std::isfinite(time) ? time : 0};
    return std::visit(
        [&](const auto& piece) {
            using T = std::decay_t<decltype(piece)>;
            if constexpr (kIsWallCase<T>) {
                if (isDrawable(rect)) drawers(piece);
                return true;
            } else {
                return false;
            }
        },
        art);
}

}  // namespace tallowmere
