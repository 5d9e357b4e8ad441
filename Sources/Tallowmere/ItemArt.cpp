// The item pictures: one fixed picture per kind, centred in a square of the rect's smaller side.
#include <Tallowmere/ItemArt.hpp>

#include <Tallowmere/Draw.hpp>

#include <algorithm>

namespace tallowmere {

using ostrevan::ItemKind;

void drawItem(Canvas canvas, ItemKind kind, std::optional<ostrevan::Tone> tone, const Rect& rect) {
    const double side = std::min(rect.w, rect.h);
    if (!(side > 0)) return;
    // TODO(art): the 24 pictures, their metal colours and tints, and the turned kinds arrive with
    // the item art; until then each kind draws nothing.
    (void)canvas;
    (void)tone;
    switch (kind) {
        case ItemKind::key: case ItemKind::keyTop: case ItemKind::keyBlade: case ItemKind::coin:
        case ItemKind::battery: case ItemKind::screwdriver: case ItemKind::magnifier: case ItemKind::torch:
        case ItemKind::match: case ItemKind::crank: case ItemKind::fuse: case ItemKind::card:
        case ItemKind::orb: case ItemKind::net: case ItemKind::magnet: case ItemKind::string:
        case ItemKind::wrench: case ItemKind::scissors: case ItemKind::paper: case ItemKind::gear:
        case ItemKind::bulb: case ItemKind::bucket: case ItemKind::gem: case ItemKind::remote:
            break;
    }
}

}  // namespace tallowmere
