// Tools rooms are built with: placement slots, the room builder, and the prop and lock factories.
//
// Optional factory arguments are option structs meant for designated initialisers, listed in
// the order the fields are declared (every field has an initialiser, so leaving fields out does
// not trip -Wmissing-field-initializers):
//   lb.add(holder("vase", at(Slot::fC, 84, 132), art::Vase{Tone::blue}, key,
//                 {.look = "A blue vase.", .msg = "Something rattles in the vase... a key!"}));
//
// Room data that would crash or strand a player (a colour missing from a lock's palette, an orb
// with no socket colour, a hint step without hints, ...) throws RoomError while the room is built,
// so a broken room fails at start-up rather than in the middle of play.
#pragma once

#include <Ostrevan/Model.hpp>

#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ostrevan {

// Bad room data, found while the room is built. The message names the part and the prop or panel.
class RoomError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// ---------------------------------------------------------------------------------------------
// Placement slots

// Four wall spots, one above the door, four floor spots and the rug in front of the door.
enum class Slot { wA, wB, wC, wD, above, fA, fB, fC, fD, rug };

// The slot's base x column (the spot's horizontal centre on the stage), for callers outside the
// core; the core itself places props through at().
double centerXPublic(Slot slot);

// The rectangle of a w x h prop at a slot. `y` is the top edge for wall slots and `above`, the
// bottom edge for floor slots and the vertical centre for `rug`; nullopt takes the slot's line.
Rect at(Slot slot, double w, double h, std::optional<double> y = std::nullopt, double dx = 0);

// ---------------------------------------------------------------------------------------------
// Room builder

class LB {
public:
    std::vector<Prop> props;
    std::map<std::string, Item, std::less<>> items;
    std::map<std::string, Panel, std::less<>> panels;
    std::vector<Combo> combos;
    std::vector<Step> steps;
    std::vector<std::string> startFlags;
    std::vector<Rule> doorRules;  // placed between the door's open rule and its locked rule
    std::optional<std::string> doorLook;  // nullopt: "It's locked."

    LB& add(std::initializer_list<Prop> newProps);
    LB& add(Prop prop);
    // Registers the item (a later registration with the same id wins) and hands it back.
    Item item(Item item);
    void panel(Panel panel);
    void combo(const Item& a, const Item& b, const Item& result, std::string msg);
    void step(std::string done, std::initializer_list<std::string> hints);
    void doorKey(const Item& item, std::string flag, std::string msg);

    // Assembles the room on copies: the builder is unchanged and never holds the door.
    Level build(std::int64_t id, std::string name, const Theme& theme, DoorStyle door,
                std::vector<std::string> requires_, std::string intro,
                std::optional<std::string> darkUntil = std::nullopt) const;
};

// ---------------------------------------------------------------------------------------------
// Prop factories

struct PickupOptions {
    std::optional<Art> art{};  // nullopt: the item's own picture
    std::vector<std::string> showWhen{};
    int z = 5;
    std::optional<std::string> msg{};  // nullopt: "Got the <name>."
};
// A loose item, id "pick_" + item id, gone once taken.
Prop pickup(const Item& item, Rect rect, PickupOptions options = {});

struct HolderOptions {
    std::vector<std::string> needs{};
    std::vector<PropState> states{};
    std::optional<std::string> look{};
    std::optional<std::string> msg{};  // nullopt: "Found a <name>."
    int z = 0;
    std::optional<std::string> locked{};  // said while the needs are missing
};
// A thing that hands over an item when tapped.
Prop holder(std::string id, Rect rect, Art art, const Item& gives, HolderOptions options = {});

struct ContainerOptions {
    std::optional<Item> opener{};  // nullopt: a tap opens it
    std::optional<Item> gives{};
    std::string lockedMsg{};
    std::optional<std::string> look{};
    std::optional<std::string> emptyMsg{};
    std::vector<std::string> showWhen{};
    int z = 0;
};
// A thing that opens (by a tap or an item) and may then hold an item.
Prop container(std::string id, Rect rect, Art art, Art open, std::string openFlag, std::string openMsg,
               ContainerOptions options = {});

struct MoverOptions {
    std::optional<std::string> look{};
    int z = 0;
    Sfx sfx = Sfx::open;
};
// A thing that changes once when tapped.
Prop mover(std::string id, Rect rect, Art art, std::string flag, Art moved, std::string say,
           MoverOptions options = {});

struct ReceiverOptions {
    std::optional<Art> done{};  // nullopt: keeps its look
    std::optional<std::string> look{};
    std::optional<std::string> noUse{};
    bool consume = true;
    int z = 0;
    Sfx sfx = Sfx::unlock;
    std::vector<Effect> extra{};  // applied after the standard effects
};
// A thing that accepts one item.
Prop receiver(std::string id, Rect rect, Art art, const Item& item, std::string flag, std::string say,
              ReceiverOptions options = {});

// ---------------------------------------------------------------------------------------------
// Lock factories: each registers its panel on the builder and appends the lock prop (z 1).

// set unlocked, sfx unlock
std::vector<Effect> defaultSolve();

struct LockOptions {
    std::vector<Effect> solve = defaultSolve();
    std::vector<std::string> needs{};
    std::string needsMsg{};
    std::optional<Art> art{};      // nullopt: panel(face)
    std::optional<Art> doneArt{};  // nullopt: panel(screen("OK"))
    int z = 1;
};
void lock(LB& lb, std::string id, Rect rect, PanelFace face, std::string title, PanelKind kind,
          std::vector<int> answer, LockOptions options = {});

struct KeypadOptions {
    std::vector<Effect> solve = defaultSolve();
    std::string title = "Enter the code";
    std::vector<std::string> needs{};
    std::string needsMsg{};
    std::optional<Art> art{};
    std::optional<Art> doneArt{};
};
// `code` is a string of digits; leading zeros count.
void keypad(LB& lb, std::string id, Rect rect, std::string code, KeypadOptions options = {});

struct ColorLockOptions {
    std::vector<Effect> solve = defaultSolve();
    std::string title = "Press the colours in order";
    std::vector<std::string> needs{};
    std::optional<Art> art{};
    std::optional<Art> doneArt{};
};
void colorLock(LB& lb, std::string id, Rect rect, std::vector<Tone> palette, std::vector<Tone> sequence,
               ColorLockOptions options = {});

struct LettersLockOptions {
    std::vector<Effect> solve = defaultSolve();
    std::string title = "Spell the word";
    std::vector<std::string> needs{};
    std::optional<Art> art{};
};
// `word` is letters A-Z (any case).
void lettersLock(LB& lb, std::string id, Rect rect, std::string word, LettersLockOptions options = {});

struct DialLockOptions {
    std::vector<Effect> solve = defaultSolve();
    std::string title = "Turn the dials";
    std::vector<std::string> needs{};
    std::optional<Art> art{};
    std::optional<Art> doneArt{};
};
void dialLock(LB& lb, std::string id, Rect rect, std::vector<std::vector<std::string>> faces,
              std::vector<int> answer, DialLockOptions options = {});

struct SwitchLockOptions {
    std::vector<Effect> solve = defaultSolve();
    std::string title = "Set the switches";
    std::vector<std::string> needs{};
    std::optional<Art> art{};
};
void switchLock(LB& lb, std::string id, Rect rect, std::vector<std::string> labels, std::vector<bool> pattern,
                SwitchLockOptions options = {});

// A row of orb sockets across `rect`, one per tone of `order`; returns their flags in order
// ("sock_" + id + "_" + index). `orbs` may hold decoys.
std::vector<std::string> sockets(LB& lb, std::string id, Rect rect, std::vector<Tone> order,
                                 std::vector<Item> orbs);

}  // namespace ostrevan
