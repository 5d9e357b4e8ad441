// Placement slots, the room builder, and the prop and lock factories.
//
// [SECTION] Placement slots
// [SECTION] Room builder
// [SECTION] Prop factories
// [SECTION] Lock factories
// [SECTION] Sockets
#include <Ostrevan/Builder.hpp>

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

namespace ostrevan {

namespace {

const std::string kTookPrefix = "took_";
const std::string kSolvedPrefix = "solved_";

std::string tookFlag(const std::string& itemID) { return kTookPrefix + itemID; }
std::string solvedFlag(const std::string& panelID) { return kSolvedPrefix + panelID; }

Rule tapRule(std::vector<std::string> needs, std::vector<std::string> without, std::vector<Effect> effects) {
    return Rule{Trigger::tap(), std::move(needs), std::move(without), std::move(effects)};
}

Rule useRule(std::string itemID, std::vector<std::string> without, std::vector<Effect> effects) {
    return Rule{Trigger::use(std::move(itemID)), {}, std::move(without), std::move(effects)};
}

// "<part> '<id>': <problem>", so a failing room points straight at the offending prop or panel.
[[noreturn]] void fail(std::string_view part, const std::string& id, const std::string& problem) {
    throw RoomError(std::string(part) + " '" + id + "': " + problem);
}

std::string toneName(Tone tone) { return std::string(name(tone)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Placement slots

namespace {

// Which edge of the prop a vertical line fixes: its top, its bottom (the line a floor prop stands
// on) or its middle.
enum class Anchor { top, bottom, centre };

struct SlotSpot {
    double centerX;
    Anchor givenY;         // how a given y is read
    double defaultLine;    // the line used when no y is given
    Anchor defaultAnchor;  // and how that line is read
};

constexpr double kWallLineY = 235;  // wall pieces are centred on it
constexpr double kAboveTopY = 52;
constexpr double kNearFloorY = 592;  // fA and fD, nearer the viewer
constexpr double kBackFloorY = 548;  // fB and fC, further back; also the rug's centre

SlotSpot spot(Slot slot) {
    switch (slot) {
    case Slot::wA: return {118, Anchor::top, kWallLineY, Anchor::centre};
    case Slot::wB: return {300, Anchor::top, kWallLineY, Anchor::centre};
    case Slot::wC: return {700, Anchor::top, kWallLineY, Anchor::centre};
    case Slot::wD: return {882, Anchor::top, kWallLineY, Anchor::centre};
    case Slot::above: return {500, Anchor::top, kAboveTopY, Anchor::top};
    case Slot::fA: return {130, Anchor::bottom, kNearFloorY, Anchor::bottom};
    case Slot::fB: return {318, Anchor::bottom, kBackFloorY, Anchor::bottom};
    case Slot::fC: return {682, Anchor::bottom, kBackFloorY, Anchor::bottom};
    case Slot::fD: return {870, Anchor::bottom, kNearFloorY, Anchor::bottom};
    case Slot::rug: return {500, Anchor::centre, kBackFloorY, Anchor::centre};
    }
    return {Stage::width / 2, Anchor::top, 0, Anchor::top};  // only reached through a bad cast
}

double topFor(double line, Anchor anchor, double h) {
    switch (anchor) {
    case Anchor::top: return line;
    case Anchor::bottom: return line - h;
    case Anchor::centre: return line - h / 2;
    }
    return line;
}

}  // namespace

double centerXPublic(Slot slot) { return spot(slot).centerX; }

Rect at(Slot slot, double w, double h, std::optional<double> y, double dx) {
    const SlotSpot s = spot(slot);
    const double top = y ? topFor(*y, s.givenY, h) : topFor(s.defaultLine, s.defaultAnchor, h);
    return Rect{s.centerX + dx - w / 2, top, w, h};
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room builder

LB& LB::add(std::initializer_list<Prop> newProps) {
    props.insert(props.end(), newProps.begin(), newProps.end());
    return *this;
}

LB& LB::add(Prop prop) {
    props.push_back(std::move(prop));
    return *this;
}

Item LB::item(Item item) {
    items.insert_or_assign(item.id, item);
    return item;
}

void LB::panel(Panel panel) {
    std::string id = panel.id;
    panels.insert_or_assign(std::move(id), std::move(panel));
}

void LB::combo(const Item& a, const Item& b, const Item& result, std::string msg) {
    item(a);
    item(b);
    item(result);
    combos.push_back(Combo{a.id, b.id, result.id, std::move(msg)});
}

void LB::step(std::string done, std::initializer_list<std::string> hints) {
    // The hint request reads the step's hints by index; an empty list would leave it nothing to say.
    if (hints.size() == 0) fail("step", done, "no hints");
    steps.push_back(Step{std::move(done), std::vector<std::string>(hints)});
}

void LB::doorKey(const Item& key, std::string flag, std::string msg) {
    item(key);
    doorRules.push_back(useRule(key.id, {flag}, {take(key.id), set(flag), sfx(Sfx::unlock), say(std::move(msg))}));
}

Level LB::build(std::int64_t id, std::string name, const Theme& theme, DoorStyle door,
                std::vector<std::string> requires_, std::string intro,
                std::optional<std::string> darkUntil) const {
    Prop doorProp;
    doorProp.id = "door";
    doorProp.rect = Stage::doorRect;
    doorProp.art = art::None{};
    doorProp.z = -5;
    doorProp.rules.push_back(tapRule(requires_, {}, {sfx(Sfx::open), enter()}));
    doorProp.rules.insert(doorProp.rules.end(), doorRules.begin(), doorRules.end());
    doorProp.rules.push_back(tapRule({}, {}, {sfx(Sfx::wrong), say(doorLook.value_or("It's locked."))}));
    doorProp.noUse = "That doesn't open the door.";

    Level level;
    level.id = id;
    level.name = std::move(name);
    level.theme = theme;
    level.door = door;
    level.requires_ = std::move(requires_);
    level.props = props;
    level.props.push_back(std::move(doorProp));
    level.items = items;
    level.panels = panels;
    level.combos = combos;
    level.steps = steps;
    level.darkUntil = std::move(darkUntil);
    level.startFlags = startFlags;
    level.intro = std::move(intro);
    return level;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Prop factories

Prop pickup(const Item& item, Rect rect, PickupOptions options) {
    const std::string took = tookFlag(item.id);
    Prop prop;
    prop.id = "pick_" + item.id;
    prop.rect = rect;
    prop.art = options.art.value_or(art::Item{item.kind, item.tone});
    prop.z = options.z;
    prop.showWhen = std::move(options.showWhen);
    prop.hideWhen = {took};
    prop.rules = {tapRule({}, {took},
                          {give(item.id), set(took), sfx(Sfx::pickup),
                           say(options.msg.value_or("Got the " + item.name + "."))})};
    return prop;
}

Prop holder(std::string id, Rect rect, Art art, const Item& gives, HolderOptions options) {
    const std::string took = tookFlag(gives.id);
    Prop prop;
    prop.id = std::move(id);
    prop.rect = rect;
    prop.art = std::move(art);
    prop.z = options.z;
    prop.states = std::move(options.states);
    prop.look = std::move(options.look);
    prop.rules.push_back(tapRule(std::move(options.needs), {took},
                                 {give(gives.id), set(took), sfx(Sfx::pickup),
                                  say(options.msg.value_or("Found a " + gives.name + "."))}));
    if (options.locked) prop.rules.push_back(tapRule({}, {took}, {sfx(Sfx::wrong), say(*options.locked)}));
    return prop;
}

Prop container(std::string id, Rect rect, Art art, Art open, std::string openFlag, std::string openMsg,
               ContainerOptions options) {
    Prop prop;
    prop.id = std::move(id);
    prop.rect = rect;
    prop.art = std::move(art);
    prop.z = options.z;
    prop.look = std::move(options.look);
    prop.showWhen = std::move(options.showWhen);
    prop.states = {PropState{{openFlag}, std::move(open)}};
    prop.noUse = "That doesn't work here.";
    if (options.opener) {
        const std::string& opener = options.opener->id;
        prop.rules.push_back(useRule(opener, {openFlag}, {take(opener), set(openFlag), sfx(Sfx::unlock), say(openMsg)}));
        prop.rules.push_back(tapRule({}, {openFlag}, {sfx(Sfx::wrong), say(options.lockedMsg)}));
    } else {
        prop.rules.push_back(tapRule({}, {openFlag}, {set(openFlag), sfx(Sfx::open), say(openMsg)}));
    }
    if (options.gives) {
        const Item& inside = *options.gives;
        const std::string took = tookFlag(inside.id);
        prop.rules.push_back(tapRule({openFlag}, {took},
                                     {give(inside.id), set(took), sfx(Sfx::pickup),
                                      say("Inside: the " + inside.name + ".")}));
    }
    if (options.emptyMsg) prop.rules.push_back(tapRule({openFlag}, {}, {say(*options.emptyMsg)}));
    return prop;
}

Prop mover(std::string id, Rect rect, Art art, std::string flag, Art moved, std::string sayText,
           MoverOptions options) {
    Prop prop;
    prop.id = std::move(id);
    prop.rect = rect;
    prop.art = std::move(art);
    prop.z = options.z;
    prop.look = std::move(options.look);
    prop.states = {PropState{{flag}, std::move(moved)}};
    prop.rules = {tapRule({}, {flag}, {set(flag), sfx(options.sfx), say(std::move(sayText))})};
    return prop;
}

Prop receiver(std::string id, Rect rect, Art art, const Item& item, std::string flag, std::string sayText,
              ReceiverOptions options) {
    Prop prop;
    prop.id = std::move(id);
    prop.rect = rect;
    prop.art = std::move(art);
    prop.z = options.z;
    prop.look = std::move(options.look);
    prop.noUse = std::move(options.noUse);
    if (options.done) prop.states = {PropState{{flag}, std::move(*options.done)}};
    std::vector<Effect> effects;
    if (options.consume) effects.push_back(take(item.id));
    effects.push_back(set(flag));
    effects.push_back(sfx(options.sfx));
    effects.push_back(say(std::move(sayText)));
    effects.insert(effects.end(), options.extra.begin(), options.extra.end());
    prop.rules = {useRule(item.id, {flag}, std::move(effects))};
    return prop;
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Lock factories

std::vector<Effect> defaultSolve() { return {set("unlocked"), sfx(Sfx::unlock)}; }

namespace {

const std::string kWontRespond = "It won't respond.";

Art screenOK() { return art::Panel{face::Screen{"OK"}}; }

}  // namespace

void lock(LB& lb, std::string id, Rect rect, PanelFace face, std::string title, PanelKind kind,
          std::vector<int> answer, LockOptions options) {
    const std::string solved = solvedFlag(id);
    Prop prop;
    prop.id = id;
    prop.rect = rect;
    prop.art = options.art ? std::move(*options.art) : Art{art::Panel{std::move(face)}};
    prop.z = options.z;
    prop.states = {PropState{{solved}, options.doneArt ? std::move(*options.doneArt) : screenOK()}};
    const bool hasNeeds = !options.needs.empty();
    prop.rules.push_back(tapRule(std::move(options.needs), {solved}, {sfx(Sfx::tap), panel(id)}));
    if (hasNeeds) prop.rules.push_back(tapRule({}, {solved}, {sfx(Sfx::wrong), say(std::move(options.needsMsg))}));
    prop.rules.push_back(tapRule({solved}, {}, {say("Already done.")}));

    std::vector<Effect> onSolve{sfx(Sfx::success)};
    onSolve.insert(onSolve.end(), options.solve.begin(), options.solve.end());
    lb.panel(Panel{id, std::move(title), std::move(kind), std::move(answer), std::move(onSolve)});
    lb.add(std::move(prop));
}

void keypad(LB& lb, std::string id, Rect rect, std::string code, KeypadOptions options) {
    // A non-digit would leave the keypad longer than its answer, so no entry could
    // ever open it; such a code is refused instead of skipped.
    std::vector<int> answer;
    answer.reserve(code.size());
    for (const char c : code) {
        if (c < '0' || c > '9') fail("keypad", id, "code \"" + code + "\" holds a non-digit");
        answer.push_back(c - '0');
    }
    const int length = static_cast<int>(code.size());
    lock(lb, std::move(id), rect, face::Keypad{}, std::move(options.title), entry::Keypad{length},
         std::move(answer),
         {std::move(options.solve), std::move(options.needs), std::move(options.needsMsg), std::move(options.art),
          std::move(options.doneArt), 1});
}

void colorLock(LB& lb, std::string id, Rect rect, std::vector<Tone> palette, std::vector<Tone> sequence,
               ColorLockOptions options) {
    std::vector<int> answer;
    answer.reserve(sequence.size());
    for (const Tone tone : sequence) {
        const auto found = std::find(palette.begin(), palette.end(), tone);  // first occurrence wins
        if (found == palette.end()) fail("colorLock", id, "tone " + toneName(tone) + " is not in the palette");
        answer.push_back(static_cast<int>(found - palette.begin()));
    }
    Art art = options.art ? std::move(*options.art) : Art{art::Panel{face::Buttons{palette}}};
    lock(lb, std::move(id), rect, face::Buttons{palette}, std::move(options.title), entry::Colors{palette},
         std::move(answer),
         {std::move(options.solve), std::move(options.needs), kWontRespond, std::move(art),
          std::move(options.doneArt), 1});
}

void lettersLock(LB& lb, std::string id, Rect rect, std::string word, LettersLockOptions options) {
    // Only A-Z can be entered on the letter wheels; anything else (a space, a digit, any
    // byte of a multi-byte character) would make the word impossible to spell, so it is refused
    // rather than encoded as its code minus 'A'.
    std::vector<int> answer;
    answer.reserve(word.size());
    for (const char c : word) {
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper < 'A' || upper > 'Z') fail("lettersLock", id, "word \"" + word + "\" holds a character outside A-Z");
        answer.push_back(upper - 'A');
    }
    const int count = static_cast<int>(word.size());
    Art art = options.art ? std::move(*options.art) : Art{art::Panel{face::Letters{count}}};
    lock(lb, std::move(id), rect, face::Letters{count}, std::move(options.title), entry::Letters{count},
         std::move(answer),
         {std::move(options.solve), std::move(options.needs), kWontRespond, std::move(art), std::nullopt, 1});
}

void dialLock(LB& lb, std::string id, Rect rect, std::vector<std::vector<std::string>> faces,
              std::vector<int> answer, DialLockOptions options) {
    if (answer.size() != faces.size()) {
        fail("dialLock", id,
             "answer length " + std::to_string(answer.size()) + " does not match " + std::to_string(faces.size()) +
                 " dials");
    }
    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (answer[i] < 0 || static_cast<std::size_t>(answer[i]) >= faces[i].size()) {
            fail("dialLock", id,
                 "answer " + std::to_string(answer[i]) + " is out of range for dial " + std::to_string(i) + " (" +
                     std::to_string(faces[i].size()) + " faces)");
        }
    }
    const int count = static_cast<int>(faces.size());
    Art art = options.art ? std::move(*options.art) : Art{art::Panel{face::Dials{count}}};
    lock(lb, std::move(id), rect, face::Dials{count}, std::move(options.title), entry::Dials{std::move(faces)},
         std::move(answer),
         {std::move(options.solve), std::move(options.needs), kWontRespond, std::move(art),
          std::move(options.doneArt), 1});
}

void switchLock(LB& lb, std::string id, Rect rect, std::vector<std::string> labels, std::vector<bool> pattern,
                SwitchLockOptions options) {
    if (pattern.size() != labels.size()) {
        fail("switchLock", id,
             "pattern length " + std::to_string(pattern.size()) + " does not match " +
                 std::to_string(labels.size()) + " labels");
    }
    std::vector<int> answer;
    answer.reserve(pattern.size());
    for (const bool on : pattern) answer.push_back(on ? 1 : 0);
    const int count = static_cast<int>(labels.size());
    Art art = options.art ? std::move(*options.art) : Art{art::Panel{face::Switches{count}}};
    lock(lb, std::move(id), rect, face::Switches{count}, std::move(options.title), entry::Switches{std::move(labels)},
         std::move(answer),
         {std::move(options.solve), std::move(options.needs), kWontRespond, std::move(art), std::nullopt, 1});
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Sockets

std::vector<std::string> sockets(LB& lb, std::string id, Rect rect, std::vector<Tone> order,
                                 std::vector<Item> orbs) {
    // Every socket must have its own orb: a socket with none, or two sockets wanting the one orb,
    // could never all be filled and would keep the door shut for good. Checked before any socket
    // is added so a refused row leaves the builder as it was.
    std::vector<const Item*> wanted;
    wanted.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Tone tone = order[i];
        for (std::size_t j = 0; j < i; ++j) {
            if (order[j] == tone) {
                fail("sockets", id,
                     "tone " + toneName(tone) + " is repeated (sockets " + std::to_string(j) + " and " +
                         std::to_string(i) + ")");
            }
        }
        const auto orb = std::find_if(orbs.begin(), orbs.end(), [tone](const Item& o) { return o.tone == tone; });
        if (orb == orbs.end()) {
            fail("sockets", id, "no orb of tone " + toneName(tone) + " for socket " + std::to_string(i));
        }
        wanted.push_back(&*orb);
    }

    std::vector<std::string> flags;
    if (order.empty()) return flags;
    const double width = rect.w / static_cast<double>(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Item& orb = *wanted[i];
        const std::string index = std::to_string(i);
        const std::string flag = "sock_" + id + "_" + index;
        Prop prop;
        prop.id = id + "_" + index;
        prop.rect = Rect{rect.minX() + static_cast<double>(i) * width, rect.minY(), width, rect.h};
        prop.art = art::Sockets{{std::nullopt}};
        prop.z = 1;
        prop.states = {PropState{{flag}, art::Sockets{{order[i]}}}};
        prop.look = "An empty socket.";
        prop.rules.push_back(
            useRule(orb.id, {flag}, {take(orb.id), set(flag), sfx(Sfx::unlock), say("The orb settles into place.")}));
        for (const Item& other : orbs) {
            if (other.id == orb.id) continue;
            prop.rules.push_back(useRule(other.id, {flag}, {sfx(Sfx::wrong), say("It doesn't fit this socket.")}));
        }
        lb.add(std::move(prop));
        flags.push_back(flag);
    }
    return flags;
}

}  // namespace ostrevan
