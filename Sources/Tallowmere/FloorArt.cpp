// The floor art's single entry point: each floor case goes to its own drawer.
#include <Tallowmere/FloorArt.hpp>

#include <Tallowmere/Draw.hpp>
#include <Tallowmere/ItemArt.hpp>

#include <variant>

namespace tallowmere {

namespace {

namespace art = ostrevan::art;

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// TODO(art): the pictures of the floor cases arrive with the furniture, container, rug, tank,
// lamp, fountain and plant drawers. Once they draw, this dispatcher lays the shared contact
// shadow (floorShadow of the whole rect at 0.42, for the cases ostrevan::standsOnFloor names)
// before handing over, draws the ball itself, and gives a loose item its own blurred shadow
// before drawItem. Until then every floor case is accepted and draws nothing, so no shadow
// floats where no furniture stands.
struct FloorDrawers {
    Canvas canvas;
    Rect rect;
    double time;

    void operator()(const art::Plant&) const {}
    void operator()(const art::Vase&) const {}
    void operator()(const art::Sofa&) const {}
    void operator()(const art::Chest&) const {}
    void operator()(const art::Cabinet&) const {}
    void operator()(const art::Safe&) const {}
    void operator()(const art::Fridge&) const {}
    void operator()(const art::Barrel&) const {}
    void operator()(const art::Rug&) const {}
    void operator()(const art::RugRolled&) const {}
    void operator()(const art::Dice&) const {}
    void operator()(const art::Bucket&) const {}
    void operator()(const art::FishTank&) const {}
    void operator()(const art::FloorLamp&) const {}
    void operator()(const art::Ball&) const {}
    void operator()(const art::Trapdoor&) const {}
    void operator()(const art::Radio&) const {}
    void operator()(const art::Fountain&) const {}
    void operator()(const art::Ice&) const {}
    void operator()(const art::Item&) const {}
    void operator()(const art::Table&) const {}
    void operator()(const art::Globe&) const {}
    void operator()(const art::Pedestal&) const {}
    void operator()(const art::Boxes&) const {}
    void operator()(const art::Piano&) const {}
};

template <class T>
constexpr bool kIsFloorCase = std::is_invocable_v<FloorDrawers, const T&>;

}  // namespace

bool drawFloorArt(Canvas canvas, const ostrevan::Art& art, const Rect& rect, double time) {
    const FloorDrawers drawers{canvas, rect, time};
    return std::visit(
        [&](const auto& piece) {
            using T = std::decay_t<decltype(piece)>;
            if constexpr (kIsFloorCase<T>) {
                drawers(piece);
                return true;
            } else {
                return false;
            }
        },
        art);
}

}  // namespace tallowmere
