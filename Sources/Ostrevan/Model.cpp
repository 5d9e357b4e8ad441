// Conversions between the simple enumerations and their names, and the queries on room values.
#include <Ostrevan/Model.hpp>

#include <algorithm>
#include <array>

namespace ostrevan {

namespace {

// Names in declaration order, so an enumerator's value is its index.
constexpr std::array<std::string_view, kSfxCount> kSfxNames{
    "tap", "pickup", "unlock", "wrong", "open", "power", "success", "combine", "splash"};

constexpr std::array<std::string_view, kItemKindCount> kItemKindNames{
    "key",    "keyTop", "keyBlade", "coin",   "battery",  "screwdriver", "magnifier", "torch",
    "match",  "crank",  "fuse",     "card",   "orb",      "net",         "magnet",    "string",
    "wrench", "scissors", "paper",  "gear",   "bulb",     "bucket",      "gem",       "remote"};

constexpr std::array<std::string_view, kToneCount> kToneNames{
    "red", "orange", "yellow", "green", "blue", "purple", "pink", "cyan", "white", "black", "brown"};

constexpr std::array<std::string_view, kDoorStyleCount> kDoorStyleNames{
    "wood", "orange", "steel", "red", "green", "blue", "glass", "white", "black", "gold"};

// An enumerator outside the table (only reachable through a bad cast) has no name.
template <typename Enum, std::size_t N>
std::string_view nameIn(const std::array<std::string_view, N>& names, Enum value) {
    const auto index = static_cast<std::size_t>(value);
    return index < N ? names[index] : std::string_view{};
}

template <typename Enum, std::size_t N>
std::optional<Enum> parseIn(const std::array<std::string_view, N>& names, std::string_view text) {
    const auto it = std::find(names.begin(), names.end(), text);
    if (it == names.end()) return std::nullopt;
    return static_cast<Enum>(it - names.begin());
}

template <typename... Cases>
bool isOneOf(const Art& art) {
    return (std::holds_alternative<Cases>(art) || ...);
}

bool allIn(const std::vector<std::string>& wanted, const FlagSet& flags) {
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const std::string& flag) { return flags.contains(flag); });
}

}  // namespace

const std::vector<Tone>& allTones() {
    static const std::vector<Tone> tones{Tone::red,   Tone::orange, Tone::yellow, Tone::green,
                                         Tone::blue,  Tone::purple, Tone::pink,   Tone::cyan,
                                         Tone::white, Tone::black,  Tone::brown};
    return tones;
}

std::string_view name(Sfx sfx) { return nameIn(kSfxNames, sfx); }
std::string_view name(ItemKind kind) { return nameIn(kItemKindNames, kind); }
std::string_view name(Tone tone) { return nameIn(kToneNames, tone); }
std::string_view name(DoorStyle style) { return nameIn(kDoorStyleNames, style); }

std::optional<Sfx> parseSfx(std::string_view text) { return parseIn<Sfx>(kSfxNames, text); }
std::optional<ItemKind> parseItemKind(std::string_view text) {
    return parseIn<ItemKind>(kItemKindNames, text);
}
std::optional<Tone> parseTone(std::string_view text) { return parseIn<Tone>(kToneNames, text); }
std::optional<DoorStyle> parseDoorStyle(std::string_view text) {
    return parseIn<DoorStyle>(kDoorStyleNames, text);
}

std::optional<PaintStyle> paintStyleFromRaw(std::int64_t raw) {
    if (raw < static_cast<int>(PaintStyle::sunrise) || raw > static_cast<int>(PaintStyle::forest)) {
        return std::nullopt;
    }
    return static_cast<PaintStyle>(raw);
}

bool standsOnFloor(const Art& art) {
    using namespace art;
    return isOneOf<Plant, Vase, Sofa, Chest, Cabinet, Safe, Fridge, Barrel, Bucket, FishTank, FloorLamp,
                   Ball, Radio, Fountain, Ice, Table, Globe, Pedestal, Boxes, Piano>(art);
}

bool isFlat(const Art& art) {
    using namespace art;
    return isOneOf<Rug, RugRolled, Dice, Trapdoor>(art);
}

bool isWallPiece(const Art& art) {
    using namespace art;
    return isOneOf<Window, Painting, Stripes, Dots, Mixes, Clock, Poster, Note, Plaque, Digit, Mirror, Tv,
                   TvFlash, Lamps, Symbols, art::Panel, FuseBox, Vent, Shelf, Bookshelf, SwitchPlate,
                   Sockets, Glow, Stamp, GearSlot, Arrows>(art);
}

bool Prop::isVisible(const FlagSet& flags) const {
    if (!allIn(showWhen, flags)) return false;
    return std::none_of(hideWhen.begin(), hideWhen.end(),
                        [&](const std::string& flag) { return flags.contains(flag); });
}

const Art& Prop::currentArt(const FlagSet& flags) const {
    for (const PropState& state : states) {
        if (allIn(state.flags, flags)) return state.art;
    }
    return art;
}

Theme makeTheme(std::uint32_t wall, std::optional<std::uint32_t> wall2, std::uint32_t floor1,
                std::uint32_t floor2, FloorStyle floorStyle, WallPattern pattern, CeilingStyle ceiling,
                std::uint32_t trim, std::uint32_t light) {
    return Theme{wall, wall2.value_or(wall), floor1, floor2, floorStyle, pattern, ceiling, trim, light};
}

const Prop* Level::prop(std::string_view id) const {
    const auto it = std::find_if(props.begin(), props.end(), [&](const Prop& p) { return p.id == id; });
    return it == props.end() ? nullptr : &*it;
}

const Item* Level::item(std::string_view id) const {
    const auto it = items.find(id);
    return it == items.end() ? nullptr : &it->second;
}

const Panel* Level::panel(std::string_view id) const {
    const auto it = panels.find(id);
    return it == panels.end() ? nullptr : &it->second;
}

bool Level::hasAnimatedProps() const {
    const auto animated = [](const Art& art) { return std::holds_alternative<art::TvFlash>(art); };
    return std::any_of(props.begin(), props.end(), [&](const Prop& p) {
        return animated(p.art) || std::any_of(p.states.begin(), p.states.end(),
                                              [&](const PropState& s) { return animated(s.art); });
    });
}

}  // namespace ostrevan
