// Room values: everything a room is made of, as plain data.
//
// Enumerations with payloads are std::variant of small structs, grouped by namespace:
//   art::     the look of a prop (Art)
//   face::    the face painted on a wall lock (PanelFace)
//   entry::   how a panel is entered, and so what its answer holds (PanelKind)
//   effect::  one consequence of a rule or a solved panel (Effect); built with give(), set(), ...
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ostrevan {

// ---------------------------------------------------------------------------------------------
// Geometry

// A rectangle in stage units: x grows to the right, y grows downward, origin top left.
struct Rect {
    double x = 0;
    double y = 0;
    double w = 0;
    double h = 0;

    double minX() const { return x; }
    double minY() const { return y; }
    double maxX() const { return x + w; }
    double maxY() const { return y + h; }
    double midX() const { return x + w / 2; }
    double midY() const { return y + h / 2; }
    bool operator==(const Rect&) const = default;
};

// The fixed stage every room is laid out on.
namespace Stage {
inline constexpr double width = 1000;
inline constexpr double height = 640;
inline constexpr double horizon = 400;  // where the back wall meets the floor
inline constexpr Rect doorRect{415, 118, 170, 282};
}  // namespace Stage

// ---------------------------------------------------------------------------------------------
// Simple enumerations

enum class Sfx { tap, pickup, unlock, wrong, open, power, success, combine, splash };

enum class ItemKind {
    key, keyTop, keyBlade, coin, battery, screwdriver, magnifier, torch, match, crank, fuse, card,
    orb, net, magnet, string, wrench, scissors, paper, gear, bulb, bucket, gem, remote
};

enum class Tone { red, orange, yellow, green, blue, purple, pink, cyan, white, black, brown };

enum class DoorStyle { wood, orange, steel, red, green, blue, glass, white, black, gold };

enum class PaintStyle : int { sunrise = 0, mountains = 1, abstract = 2, ocean = 3, portrait = 4, forest = 5 };

enum class FloorStyle { checker, planks, tiles, carpet };
enum class WallPattern { plain, stripes, panel, brick, dots };
enum class CeilingStyle { beams, plain };

inline constexpr std::size_t kSfxCount = 9;
inline constexpr std::size_t kItemKindCount = 24;
inline constexpr std::size_t kToneCount = 11;
inline constexpr std::size_t kDoorStyleCount = 10;

// Every tone, in declaration order.
const std::vector<Tone>& allTones();

// Case names, exactly as declared. The parse functions match case-sensitively and give
// nullopt for anything else.
std::string_view name(Sfx sfx);
std::string_view name(ItemKind kind);
std::string_view name(Tone tone);
std::string_view name(DoorStyle style);
std::optional<Sfx> parseSfx(std::string_view text);
std::optional<ItemKind> parseItemKind(std::string_view text);
std::optional<Tone> parseTone(std::string_view text);
std::optional<DoorStyle> parseDoorStyle(std::string_view text);
std::optional<PaintStyle> paintStyleFromRaw(std::int64_t raw);

// ---------------------------------------------------------------------------------------------
// Panels

namespace face {
struct Buttons { std::vector<Tone> tones; bool operator==(const Buttons&) const = default; };
struct Switches { int count = 0; bool operator==(const Switches&) const = default; };
struct Dials { int count = 0; bool operator==(const Dials&) const = default; };
struct Letters { int count = 0; bool operator==(const Letters&) const = default; };
struct Screen { std::optional<std::string> text; bool operator==(const Screen&) const = default; };
struct Keypad { bool operator==(const Keypad&) const = default; };
}  // namespace face

// The face painted on a lock prop on the wall.
using PanelFace = std::variant<face::Buttons, face::Switches, face::Dials, face::Letters, face::Screen,
                               face::Keypad>;

namespace entry {
struct Keypad { int length = 0; bool operator==(const Keypad&) const = default; };
struct Letters { int count = 0; bool operator==(const Letters&) const = default; };
struct Dials { std::vector<std::vector<std::string>> faces; bool operator==(const Dials&) const = default; };
struct Switches { std::vector<std::string> labels; bool operator==(const Switches&) const = default; };
struct Colors { std::vector<Tone> palette; bool operator==(const Colors&) const = default; };
}  // namespace entry

// How a panel is entered. The answer holds: keypad digits 0-9; letters 0 (A) to 25 (Z); for each
// dial the index of its face; for each switch 1 (on) or 0 (off); palette indices in press order.
using PanelKind = std::variant<entry::Keypad, entry::Letters, entry::Dials, entry::Switches, entry::Colors>;

// ---------------------------------------------------------------------------------------------
// Prop art

namespace art {
// Nothing is drawn (the door prop: its leaf is drawn from the room's DoorStyle).
struct None { bool operator==(const None&) const = default; };
// Wall pieces.
struct Window { bool night = false; bool operator==(const Window&) const = default; };
struct Painting { PaintStyle style{}; bool operator==(const Painting&) const = default; };
struct Stripes { std::vector<Tone> tones; bool operator==(const Stripes&) const = default; };
struct Dots { std::vector<Tone> tones; bool operator==(const Dots&) const = default; };
struct Mixes { std::vector<std::vector<Tone>> mixes; bool operator==(const Mixes&) const = default; };
struct Clock { int h = 0; int m = 0; bool operator==(const Clock&) const = default; };
struct Poster { std::string text; Tone tone{}; bool operator==(const Poster&) const = default; };
struct Note { std::string text; bool operator==(const Note&) const = default; };
struct Plaque { std::string text; bool operator==(const Plaque&) const = default; };
struct Digit { std::string text; Tone tone{}; bool operator==(const Digit&) const = default; };
struct Mirror { std::optional<std::string> text; bool operator==(const Mirror&) const = default; };
struct Tv { std::optional<std::string> text; bool on = false; bool operator==(const Tv&) const = default; };
struct TvFlash { std::vector<Tone> tones; bool operator==(const TvFlash&) const = default; };
struct Lamps { std::vector<bool> lit; bool operator==(const Lamps&) const = default; };
struct Symbols { std::vector<std::string> names; bool operator==(const Symbols&) const = default; };
struct Panel { PanelFace face; bool operator==(const Panel&) const = default; };
struct FuseBox { int fuses = 0; bool operator==(const FuseBox&) const = default; };
struct Vent { bool open = false; bool operator==(const Vent&) const = default; };
struct Shelf { std::vector<ItemKind> items; bool operator==(const Shelf&) const = default; };
struct Bookshelf { std::vector<Tone> tones; bool operator==(const Bookshelf&) const = default; };
struct SwitchPlate { bool on = false; bool operator==(const SwitchPlate&) const = default; };
struct Sockets { std::vector<std::optional<Tone>> tones; bool operator==(const Sockets&) const = default; };
struct Glow { std::string text; bool operator==(const Glow&) const = default; };
struct Stamp { std::optional<std::string> text; bool operator==(const Stamp&) const = default; };
struct GearSlot { bool filled = false; bool operator==(const GearSlot&) const = default; };
struct Arrows { std::string text; bool operator==(const Arrows&) const = default; };
// Floor pieces.
struct Plant { Tone tone{}; bool operator==(const Plant&) const = default; };
struct Vase { Tone tone{}; bool operator==(const Vase&) const = default; };
struct Sofa { Tone tone{}; bool operator==(const Sofa&) const = default; };
struct Chest { bool open = false; Tone tone{}; bool operator==(const Chest&) const = default; };
struct Cabinet { bool open = false; bool operator==(const Cabinet&) const = default; };
struct Safe { bool open = false; bool operator==(const Safe&) const = default; };
struct Fridge { bool open = false; bool operator==(const Fridge&) const = default; };
struct Barrel { bool tap = false; bool operator==(const Barrel&) const = default; };
struct Rug { std::string text; Tone tone{}; bool operator==(const Rug&) const = default; };
struct RugRolled { Tone tone{}; bool operator==(const RugRolled&) const = default; };
struct Dice { std::vector<int> values; bool operator==(const Dice&) const = default; };
struct Bucket { bool full = false; bool operator==(const Bucket&) const = default; };
struct FishTank { bool key = false; bool operator==(const FishTank&) const = default; };
struct FloorLamp { bool on = false; bool operator==(const FloorLamp&) const = default; };
struct Ball { Tone tone{}; bool operator==(const Ball&) const = default; };
struct Trapdoor { bool open = false; bool operator==(const Trapdoor&) const = default; };
struct Radio { bool on = false; std::optional<std::string> text; bool operator==(const Radio&) const = default; };
struct Fountain { bool water = false; bool operator==(const Fountain&) const = default; };
struct Ice { bool key = false; bool operator==(const Ice&) const = default; };
struct Item { ItemKind kind{}; std::optional<Tone> tone; bool operator==(const Item&) const = default; };
struct Table { bool operator==(const Table&) const = default; };
struct Globe { bool operator==(const Globe&) const = default; };
struct Pedestal { bool operator==(const Pedestal&) const = default; };
struct Boxes { bool operator==(const Boxes&) const = default; };
struct Piano { bool operator==(const Piano&) const = default; };
}  // namespace art

// What a prop looks like. A default-constructed Art is art::None.
using Art = std::variant<
    art::None,
    art::Window, art::Painting, art::Stripes, art::Dots, art::Mixes, art::Clock, art::Poster, art::Note,
    art::Plaque, art::Digit, art::Mirror, art::Tv, art::TvFlash, art::Lamps, art::Symbols, art::Panel,
    art::FuseBox, art::Vent, art::Shelf, art::Bookshelf, art::SwitchPlate, art::Sockets, art::Glow,
    art::Stamp, art::GearSlot, art::Arrows,
    art::Plant, art::Vase, art::Sofa, art::Chest, art::Cabinet, art::Safe, art::Fridge, art::Barrel,
    art::Rug, art::RugRolled, art::Dice, art::Bucket, art::FishTank, art::FloorLamp, art::Ball,
    art::Trapdoor, art::Radio, art::Fountain, art::Ice, art::Item,
    art::Table, art::Globe, art::Pedestal, art::Boxes, art::Piano>;

inline constexpr std::size_t kArtCaseCount = std::variant_size_v<Art>;  // 52

bool standsOnFloor(const Art& art);
bool isFlat(const Art& art);
bool isWallPiece(const Art& art);  // window ... arrows

// ---------------------------------------------------------------------------------------------
// Rules

// A flag set with heterogeneous lookup (find by string_view without a temporary string).
using FlagSet = std::set<std::string, std::less<>>;

// What fires a rule: a tap with nothing selected, or the use of one item.
struct Trigger {
    std::optional<std::string> item;  // nullopt: tap

    static Trigger tap() { return {}; }
    static Trigger use(std::string itemID) { return {std::move(itemID)}; }
    bool isTap() const { return !item.has_value(); }
    bool operator==(const Trigger&) const = default;
};

namespace effect {
struct Give { std::string item; bool operator==(const Give&) const = default; };
struct Take { std::string item; bool operator==(const Take&) const = default; };
struct Set { std::string flag; bool operator==(const Set&) const = default; };
struct Clear { std::string flag; bool operator==(const Clear&) const = default; };
struct Say { std::string text; bool operator==(const Say&) const = default; };
struct Panel { std::string id; bool operator==(const Panel&) const = default; };
struct Sound { Sfx sfx{}; bool operator==(const Sound&) const = default; };
struct Enter { bool operator==(const Enter&) const = default; };
}  // namespace effect

using Effect = std::variant<effect::Give, effect::Take, effect::Set, effect::Clear, effect::Say,
                            effect::Panel, effect::Sound, effect::Enter>;

// Effect constructors, so rules read like the room notation: {give("key"), set("took_key")}.
inline Effect give(std::string item) { return effect::Give{std::move(item)}; }
inline Effect take(std::string item) { return effect::Take{std::move(item)}; }
inline Effect set(std::string flag) { return effect::Set{std::move(flag)}; }
inline Effect clear(std::string flag) { return effect::Clear{std::move(flag)}; }
inline Effect say(std::string text) { return effect::Say{std::move(text)}; }
inline Effect panel(std::string id) { return effect::Panel{std::move(id)}; }
inline Effect sfx(Sfx sound) { return effect::Sound{sound}; }
inline Effect enter() { return effect::Enter{}; }

struct Rule {
    Trigger trigger;
    std::vector<std::string> needs;    // all must be set
    std::vector<std::string> without;  // all must be absent
    std::vector<Effect> effects;       // applied in order
    bool operator==(const Rule&) const = default;
};

// A look that replaces the base art while all of its flags are set.
struct PropState {
    std::vector<std::string> flags;
    Art art;
    bool operator==(const PropState&) const = default;
};

// ---------------------------------------------------------------------------------------------
// Props, items, panels

struct Prop {
    std::string id;
    Rect rect;
    Art art;
    int z = 0;  // greater z is drawn over, and hit before, smaller z
    std::vector<Rule> rules;
    std::vector<PropState> states;
    std::vector<std::string> showWhen;  // all must be set to be visible
    std::vector<std::string> hideWhen;  // any one hides it
    std::optional<std::string> look;
    std::optional<std::string> noUse;  // nullopt: "That doesn't work here."

    bool isVisible(const FlagSet& flags) const;
    const Art& currentArt(const FlagSet& flags) const;
    bool isInteractive() const { return !rules.empty() || look.has_value(); }
    bool operator==(const Prop&) const = default;
};

struct Item {
    std::string id;
    std::string name;  // used inside the game's messages
    ItemKind kind{};
    std::optional<Tone> tone;  // nullopt: the picture's own colours
    bool operator==(const Item&) const = default;
};

struct Panel {
    std::string id;
    std::string title;
    PanelKind kind;
    std::vector<int> answer;
    std::vector<Effect> onSolve;

    bool isCorrect(const std::vector<int>& entry) const { return entry == answer; }
    bool operator==(const Panel&) const = default;
};

struct Combo {
    std::string a;  // the order of a and b does not matter
    std::string b;
    std::string result;
    std::string message;
    bool operator==(const Combo&) const = default;
};

// One stage of the hint script; hints go from gentle to direct and are never empty.
struct Step {
    std::string done;
    std::vector<std::string> hints;
    bool operator==(const Step&) const = default;
};

// ---------------------------------------------------------------------------------------------
// Theme and room

// Colours are 0xRRGGBB.
struct Theme {
    std::uint32_t wall = 0;
    std::uint32_t wall2 = 0;
    std::uint32_t floor1 = 0;
    std::uint32_t floor2 = 0;
    FloorStyle floorStyle{};
    WallPattern pattern{};
    CeilingStyle ceiling{};
    std::uint32_t trim = 0;
    std::uint32_t light = 0;
    bool operator==(const Theme&) const = default;
};

// A theme whose second wall colour defaults to the wall colour.
Theme makeTheme(std::uint32_t wall, std::optional<std::uint32_t> wall2, std::uint32_t floor1,
                std::uint32_t floor2, FloorStyle floorStyle, WallPattern pattern, CeilingStyle ceiling,
                std::uint32_t trim, std::uint32_t light);

struct Level {
    std::int64_t id = 0;  // 1 to 50, its catalogue position plus one
    std::string name;
    Theme theme;
    DoorStyle door{};
    std::vector<std::string> requires_;  // flags that must all be set before the door opens
    std::vector<Prop> props;             // the door prop "door" is last
    std::map<std::string, Item, std::less<>> items;
    std::map<std::string, Panel, std::less<>> panels;
    std::vector<Combo> combos;
    std::vector<Step> steps;
    std::optional<std::string> darkUntil;  // dark while this flag is unset
    std::vector<std::string> startFlags;
    std::string intro;

    // The first prop with this id, or nullptr.
    const Prop* prop(std::string_view id) const;
    const Item* item(std::string_view id) const;
    const Panel* panel(std::string_view id) const;
    bool hasAnimatedProps() const;
    bool operator==(const Level&) const = default;
};

}  // namespace ostrevan
