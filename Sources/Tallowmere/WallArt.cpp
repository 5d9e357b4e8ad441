// The wall art's single entry point: each wall case goes to its own drawer.
#include <Tallowmere/WallArt.hpp>

#include <Tallowmere/Draw.hpp>

#include <type_traits>
#include <variant>

namespace tallowmere {

namespace {

namespace art = ostrevan::art;

// TODO(art): the pictures of the 26 wall cases arrive with the framed pictures, fixtures,
// window, mirror, painting, clock, poster and note, television, panel face, fuse box, vent,
// shelves, glow and stamp, and lamps. Each drawer draws its own shadow; the dispatcher adds
// nothing around them. Until then every wall case is accepted and draws nothing.
struct WallDrawers {
    Canvas canvas;
    Rect rect;
    double time;

    void operator()(const art::Window&) const {}
    void operator()(const art::Painting&) const {}
    void operator()(const art::Stripes&) const {}
    void operator()(const art::Dots&) const {}
    void operator()(const art::Mixes&) const {}
    void operator()(const art::Clock&) const {}
    void operator()(const art::Poster&) const {}
    void operator()(const art::Note&) const {}
    void operator()(const art::Plaque&) const {}
    void operator()(const art::Digit&) const {}
    void operator()(const art::Mirror&) const {}
    void operator()(const art::Tv&) const {}
    void operator()(const art::TvFlash&) const {}
    void operator()(const art::Lamps&) const {}
    void operator()(const art::Symbols&) const {}
    void operator()(const art::Panel&) const {}
    void operator()(const art::FuseBox&) const {}
    void operator()(const art::Vent&) const {}
    void operator()(const art::Shelf&) const {}
    void operator()(const art::Bookshelf&) const {}
    void operator()(const art::SwitchPlate&) const {}
    void operator()(const art::Sockets&) const {}
    void operator()(const art::Glow&) const {}
    void operator()(const art::Stamp&) const {}
    void operator()(const art::GearSlot&) const {}
    void operator()(const art::Arrows&) const {}
};

template <class T>
constexpr bool kIsWallCase = std::is_invocable_v<WallDrawers, const T&>;

}  // namespace

bool drawWallArt(Canvas canvas, const ostrevan::Art& art, const Rect& rect, double time) {
    const WallDrawers drawers{canvas, rect, time};
    return std::visit(
        [&](const auto& piece) {
            using T = std::decay_t<decltype(piece)>;
            if constexpr (kIsWallCase<T>) {
                drawers(piece);
                return true;
            } else {
                return false;
            }
        },
        art);
}

}  // namespace tallowmere
