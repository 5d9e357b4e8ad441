// The room builder, slots and factories, played through the real engine.
#include <Ostrevan/Builder.hpp>
#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Themes.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace ostrevan;

namespace {

using Events = std::vector<Event>;

const Item kKey{"key", "brass key", ItemKind::key, std::nullopt};
const Item kSmall{"small", "small silver key", ItemKind::key, Tone::white};
const Item kCoin{"coin", "old coin", ItemKind::coin, std::nullopt};

Level buildRoom(const LB& lb, std::vector<std::string> requires_ = {"unlocked"}) {
    return lb.build(7, "Test", Themes::cream, DoorStyle::wood, std::move(requires_), "intro");
}

Level roomWith(const Prop& prop) {
    LB lb;
    lb.add(prop);
    return buildRoom(lb);
}

// Uses a held item on a prop, as the player does: select it, then tap the prop.
Events use(const std::string& itemID, const std::string& propID, const Level& level, GameState& state) {
    if (std::find(state.inventory.begin(), state.inventory.end(), itemID) == state.inventory.end()) {
        state.inventory.push_back(itemID);
    }
    state.selected = itemID;
    return Engine::tap(propID, level, state);
}

bool holds(const GameState& state, const std::string& itemID) {
    return std::find(state.inventory.begin(), state.inventory.end(), itemID) != state.inventory.end();
}

}  // namespace

// ## Slots

TEST(BuilderSlots, PlacesEveryFamily) {
    struct Case { const char* what; Rect got, want; };
    const Case cases[] = {
        {"fC default bottom 548", at(Slot::fC, 84, 132), {640, 416, 84, 132}},
        {"wB default centre 235", at(Slot::wB, 150, 110), {225, 180, 150, 110}},
        {"rug default centre 548", at(Slot::rug, 300, 110), {350, 493, 300, 110}},
        {"above with y and dx", at(Slot::above, 120, 40, 60, -10), {430, 60, 120, 40}},
        {"above default top 52", at(Slot::above, 80, 30), {460, 52, 80, 30}},
        {"wall y is the top edge", at(Slot::wA, 100, 100, 40), {68, 40, 100, 100}},
        {"floor y is the bottom edge", at(Slot::fA, 100, 50, 600), {80, 550, 100, 50}},
        {"rug y is the centre", at(Slot::rug, 200, 80, 500), {400, 460, 200, 80}},
        {"fD default bottom 592", at(Slot::fD, 60, 90), {840, 502, 60, 90}},
        {"wD dx shifts x only", at(Slot::wD, 50, 70, std::nullopt, 12), {869, 200, 50, 70}},
        {"negative size passes through", at(Slot::wC, -20, -10), {710, 240, -20, -10}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(BuilderSlots, CenterXIsTheBaseColumn) {
    const Slot slots[] = {Slot::wA, Slot::wB, Slot::wC, Slot::wD, Slot::above,
                          Slot::fA, Slot::fB, Slot::fC, Slot::fD, Slot::rug};
    const double columns[] = {118, 300, 700, 882, 500, 130, 318, 682, 870, 500};
    for (std::size_t i = 0; i < std::size(slots); ++i) EXPECT_EQ(centerXPublic(slots[i]), columns[i]) << i;
}

// ## Room builder and door

TEST(BuilderDoor, RuleOrderWithZeroOneAndTwoKeys) {
    const Rule open{Trigger::tap(), {"unlocked"}, {}, {sfx(Sfx::open), enter()}};
    const Rule locked{Trigger::tap(), {}, {}, {sfx(Sfx::wrong), say("It's locked.")}};
    const Rule keyRule{Trigger::use("key"), {}, {"unlocked"},
                       {take("key"), set("unlocked"), sfx(Sfx::unlock), say("Click.")}};
    const Rule coinRule{Trigger::use("coin"), {}, {"lockA"},
                        {take("coin"), set("lockA"), sfx(Sfx::unlock), say("Clunk.")}};

    LB lb;
    EXPECT_EQ(buildRoom(lb).props.back().rules, (std::vector<Rule>{open, locked}));
    lb.doorKey(kKey, "unlocked", "Click.");
    EXPECT_EQ(buildRoom(lb).props.back().rules, (std::vector<Rule>{open, keyRule, locked}));
    lb.doorKey(kCoin, "lockA", "Clunk.");
    EXPECT_EQ(buildRoom(lb).props.back().rules, (std::vector<Rule>{open, keyRule, coinRule, locked}));
    EXPECT_EQ(lb.items.at("coin"), kCoin);

    lb.doorLook = "Two locks.";
    const Rule looked{Trigger::tap(), {}, {}, {sfx(Sfx::wrong), say("Two locks.")}};
    EXPECT_EQ(buildRoom(lb).props.back().rules, (std::vector<Rule>{open, keyRule, coinRule, looked}));
}

TEST(BuilderDoor, BuildsOnCopiesWithTheDoorLast) {
    LB lb;
    lb.add({pickup(kKey, {1, 2, 3, 4}), pickup(kCoin, {5, 6, 7, 8})}).add({});
    const Level first = buildRoom(lb, {});
    EXPECT_EQ(first, buildRoom(lb, {}));
    EXPECT_EQ(lb.props.size(), 2u) << "the builder never holds the door";
    ASSERT_EQ(first.props.size(), 3u);
    EXPECT_EQ(first.props[1].id, "pick_coin");
    const Prop door{"door", Stage::doorRect, art::None{}, -5, first.props[2].rules, {}, {}, {}, std::nullopt,
                    "That doesn't open the door."};
    EXPECT_EQ(first.props[2], door);
    GameState state = Engine::begin(first);
    EXPECT_EQ(Engine::tap("door", first, state), (Events{ev::sfx(Sfx::open), ev::enter()})) << "nothing required";
}

// ## Prop factories

TEST(BuilderFactories, PickupHidesOnceTaken) {
    const Prop prop = pickup(kSmall, {10, 20, 30, 40});
    EXPECT_EQ(prop.art, Art{(art::Item{ItemKind::key, Tone::white})});
    EXPECT_EQ(prop.z, 5);
    const Level level = roomWith(prop);
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("pick_small", level, state),
              (Events{ev::gave("small"), ev::sfx(Sfx::pickup), ev::say("Got the small silver key.")}));
    EXPECT_FALSE(level.props[0].isVisible(state.flags));
    EXPECT_TRUE(Engine::tap("pick_small", level, state).empty());
}

TEST(BuilderFactories, HolderWithNeedsAndLocked) {
    const Level level = roomWith(holder("vase", {}, art::Vase{Tone::blue}, kKey,
                                        {.needs = {"lights_on"}, .look = "A vase.", .locked = "Too dark."}));
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("vase", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("Too dark.")}));
    state.flags.insert("lights_on");
    EXPECT_EQ(Engine::tap("vase", level, state),
              (Events{ev::gave("key"), ev::sfx(Sfx::pickup), ev::say("Found a brass key.")}));
    EXPECT_EQ(Engine::tap("vase", level, state), (Events{ev::say("A vase.")}));

    // Without a locked text, unmet needs fall through to the look text.
    const Level plain = roomWith(holder("vase", {}, art::Vase{Tone::blue}, kKey, {.needs = {"f"}, .look = "Hm."}));
    GameState fresh = Engine::begin(plain);
    EXPECT_EQ(Engine::tap("vase", plain, fresh), (Events{ev::say("Hm.")}));
}

TEST(BuilderFactories, ContainerOpensByItemOrTap) {
    const Level level = roomWith(container("safe", {}, art::Safe{false}, art::Safe{true}, "safe_open", "Open.",
                                           {.opener = kSmall, .gives = kCoin, .lockedMsg = "Locked tight."}));
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("safe", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("Locked tight.")}));
    EXPECT_EQ(use("key", "safe", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("That doesn't work here.")}));
    EXPECT_EQ(use("small", "safe", level, state), (Events{ev::sfx(Sfx::unlock), ev::say("Open.")}));
    EXPECT_FALSE(holds(state, "small"));
    EXPECT_EQ(level.props[0].currentArt(state.flags), Art{art::Safe{true}});
    EXPECT_EQ(Engine::tap("safe", level, state),
              (Events{ev::gave("coin"), ev::sfx(Sfx::pickup), ev::say("Inside: the old coin.")}));
    EXPECT_TRUE(Engine::tap("safe", level, state).empty());

    const Level box = roomWith(
        container("box", {}, art::Cabinet{false}, art::Cabinet{true}, "cab_open", "Opened.", {.emptyMsg = "Empty."}));
    state = Engine::begin(box);
    EXPECT_EQ(Engine::tap("box", box, state), (Events{ev::sfx(Sfx::open), ev::say("Opened.")}));
    EXPECT_EQ(Engine::tap("box", box, state), (Events{ev::say("Empty.")}));
}

TEST(BuilderFactories, MoverMovesOnce) {
    const Level level = roomWith(mover("rug", {}, art::Rug{"", Tone::red}, "rug_moved", art::RugRolled{Tone::red},
                                       "You roll it aside.", {.look = "A rug.", .sfx = Sfx::tap}));
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("rug", level, state), (Events{ev::sfx(Sfx::tap), ev::say("You roll it aside.")}));
    EXPECT_EQ(Engine::tap("rug", level, state), (Events{ev::say("A rug.")}));
    EXPECT_EQ(level.props[0].currentArt(state.flags), Art{art::RugRolled{Tone::red}});
}

TEST(BuilderFactories, ReceiverKeepsItemOrGivesExtra) {
    const Level keeps = roomWith(receiver("lamp", {}, art::FloorLamp{false}, kCoin, "lit", "It glows.",
                                          {.done = Art{art::FloorLamp{true}}, .consume = false, .sfx = Sfx::power}));
    GameState state = Engine::begin(keeps);
    EXPECT_EQ(use("coin", "lamp", keeps, state), (Events{ev::sfx(Sfx::power), ev::say("It glows.")}));
    EXPECT_TRUE(holds(state, "coin"));
    EXPECT_EQ(keeps.props[0].currentArt(state.flags), Art{art::FloorLamp{true}});
    EXPECT_EQ(use("coin", "lamp", keeps, state), (Events{ev::sfx(Sfx::wrong), ev::say("That doesn't work here.")}));

    const Level gives = roomWith(receiver("slot", {}, art::Table{}, kCoin, "paid", "Clink.",
                                          {.noUse = "Coins only.", .extra = {give("key")}}));
    GameState paid = Engine::begin(gives);
    EXPECT_EQ(use("coin", "slot", gives, paid), (Events{ev::sfx(Sfx::unlock), ev::say("Clink."), ev::gave("key")}));
    EXPECT_EQ(paid.inventory, std::vector<std::string>{"key"});
    EXPECT_EQ(use("coin", "slot", gives, paid), (Events{ev::sfx(Sfx::wrong), ev::say("Coins only.")}));
}

// ## Lock factories

TEST(BuilderLocks, AnswersFacesAndDefaults) {
    const std::vector<Tone> palette = {Tone::red, Tone::yellow, Tone::green, Tone::blue, Tone::red};
    LB lb;
    keypad(lb, "pad", {654, 165, 92, 140}, "0420");
    colorLock(lb, "buttons", {}, palette, {Tone::blue, Tone::red, Tone::yellow, Tone::green});
    lettersLock(lb, "word", {}, "kiNG");
    switchLock(lb, "sw", {}, {"a", "b", "c", "d", "e"}, {true, false, true, true, false});
    dialLock(lb, "dials", {}, {{"sun", "moon"}, {"x", "y", "z"}}, {1, 2});
    const Panel& pad = lb.panels.at("pad");
    EXPECT_EQ(pad, (Panel{"pad", "Enter the code", entry::Keypad{4}, {0, 4, 2, 0},
                          {sfx(Sfx::success), set("unlocked"), sfx(Sfx::unlock)}}));
    EXPECT_EQ(lb.panels.at("buttons").answer, (std::vector<int>{3, 0, 1, 2})) << "a repeated tone is its first place";
    EXPECT_EQ(lb.panels.at("word").answer, (std::vector<int>{10, 8, 13, 6}));
    EXPECT_EQ(lb.panels.at("sw").answer, (std::vector<int>{1, 0, 1, 1, 0}));

    const Art faces[] = {art::Panel{face::Keypad{}}, art::Panel{face::Buttons{palette}}, art::Panel{face::Letters{4}},
                         art::Panel{face::Switches{5}}, art::Panel{face::Dials{2}}};
    ASSERT_EQ(lb.props.size(), std::size(faces));
    for (std::size_t i = 0; i < std::size(faces); ++i) {
        const Prop& prop = lb.props[i];
        EXPECT_EQ(prop.art, faces[i]) << prop.id;
        EXPECT_EQ(prop.z, 1) << prop.id;
        EXPECT_EQ(prop.states, (std::vector<PropState>{{{"solved_" + prop.id}, art::Panel{face::Screen{"OK"}}}}));
    }
}

TEST(BuilderLocks, PlayedWithNeedsThenSolved) {
    LB lb;
    keypad(lb, "pad", {}, "482", {.needs = {"radio_on"}, .needsMsg = "No power."});
    colorLock(lb, "buttons", {}, {Tone::red}, {Tone::red},
              {.solve = {set("lockB")}, .needs = {"f"}, .doneArt = Art{art::Glow{"!"}}});
    const Level level = buildRoom(lb);
    GameState state = Engine::begin(level);

    EXPECT_EQ(Engine::tap("pad", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("No power.")}));
    EXPECT_EQ(Engine::tap("buttons", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("It won't respond.")}));
    state.flags.insert({"radio_on", "f"});
    EXPECT_EQ(Engine::tap("pad", level, state), (Events{ev::sfx(Sfx::tap), ev::panel("pad")}));
    EXPECT_EQ(Engine::solve("pad", level, state), (Events{ev::sfx(Sfx::success), ev::sfx(Sfx::unlock)}));
    EXPECT_TRUE(state.flags.contains("solved_pad") && state.flags.contains("unlocked"));
    EXPECT_EQ(Engine::tap("pad", level, state), (Events{ev::say("Already done.")}));

    EXPECT_EQ(Engine::solve("buttons", level, state), (Events{ev::sfx(Sfx::success)}));
    EXPECT_TRUE(state.flags.contains("lockB"));
    EXPECT_EQ(level.props[1].currentArt(state.flags), Art{art::Glow{"!"}});
}

// ## Sockets

TEST(BuilderSockets, GeometryAndOrbRefusals) {
    const Item green{"g", "green orb", ItemKind::orb, Tone::green};
    const Item blue{"b", "blue orb", ItemKind::orb, Tone::blue};
    const Item red{"r", "red orb", ItemKind::orb, Tone::red};
    const Item decoy{"p", "pink orb", ItemKind::orb, Tone::pink};
    LB lb;
    const auto flags = sockets(lb, "s", {625, 200, 150, 60}, {Tone::green, Tone::blue, Tone::red},
                               {red, decoy, blue, green});
    EXPECT_EQ(flags, (std::vector<std::string>{"sock_s_0", "sock_s_1", "sock_s_2"}));
    ASSERT_EQ(lb.props.size(), 3u);
    const double xs[] = {625, 675, 725};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lb.props[i].id, "s_" + std::to_string(i));
        EXPECT_EQ(lb.props[i].rect, (Rect{xs[i], 200, 50, 60}));
        EXPECT_EQ(lb.props[i].rules.size(), 4u);  // its orb, then the three others
    }
    EXPECT_EQ(lb.props[1].states, (std::vector<PropState>{{{"sock_s_1"}, art::Sockets{{Tone::blue}}}}));
    EXPECT_TRUE(lb.items.empty() && lb.panels.empty());

    // The decoy has no socket but is refused by every one and kept (the room's sockets play the rest).
    const Level level = buildRoom(lb, flags);
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("s_0", level, state), (Events{ev::say("An empty socket.")}));
    for (const char* socket : {"s_0", "s_1", "s_2"}) {
        EXPECT_EQ(use("p", socket, level, state), (Events{ev::sfx(Sfx::wrong), ev::say("It doesn't fit this socket.")}))
            << socket;
    }
    EXPECT_TRUE(holds(state, "p"));

    LB empty;
    EXPECT_TRUE(sockets(empty, "e", {0, 0, 100, 50}, {}, {}).empty());
    EXPECT_TRUE(empty.props.empty());
}

// ## Bad room data

TEST(BuilderBadData, ThrowsRoomErrorNamingThePart) {
    const Item red{"r", "red orb", ItemKind::orb, Tone::red};
    const Item green{"g", "green orb", ItemKind::orb, Tone::green};
    const Item plainOrb{"o", "dull orb", ItemKind::orb, std::nullopt};
    struct Case {
        const char* message;
        std::function<void(LB&)> build;
    };
    const Case cases[] = {
        {"colorLock 'buttons': tone blue is not in the palette",
         [](LB& lb) { colorLock(lb, "buttons", {}, {Tone::red}, {Tone::red, Tone::blue}); }},
        {"sockets 's': no orb of tone blue for socket 1",
         [&](LB& lb) { sockets(lb, "s", {}, {Tone::red, Tone::blue}, {red, plainOrb}); }},
        {"sockets 's': no orb of tone red for socket 0", [](LB& lb) { sockets(lb, "s", {}, {Tone::red}, {}); }},
        {"sockets 's': tone red is repeated (sockets 0 and 2)",
         [&](LB& lb) { sockets(lb, "s", {}, {Tone::red, Tone::green, Tone::red}, {red, green}); }},
        {"keypad 'pad': code \"04a0\" holds a non-digit", [](LB& lb) { keypad(lb, "pad", {}, "04a0"); }},
        {"keypad 'pad': code \"4 2\" holds a non-digit", [](LB& lb) { keypad(lb, "pad", {}, "4 2"); }},
        {"lettersLock 'word': word \"no way\" holds a character outside A-Z",
         [](LB& lb) { lettersLock(lb, "word", {}, "no way"); }},
        {"lettersLock 'word': word \"k\xc3\xafng\" holds a character outside A-Z",
         [](LB& lb) { lettersLock(lb, "word", {}, "k\xc3\xafng"); }},
        {"switchLock 'sw': pattern length 2 does not match 3 labels",
         [](LB& lb) { switchLock(lb, "sw", {}, {"a", "b", "c"}, {true, false}); }},
        {"dialLock 'dials': answer length 1 does not match 2 dials",
         [](LB& lb) { dialLock(lb, "dials", {}, {{"a"}, {"b"}}, {0}); }},
        {"dialLock 'dials': answer 2 is out of range for dial 1 (2 faces)",
         [](LB& lb) { dialLock(lb, "dials", {}, {{"a"}, {"b", "c"}}, {0, 2}); }},
        {"dialLock 'dials': answer -1 is out of range for dial 0 (1 faces)",
         [](LB& lb) { dialLock(lb, "dials", {}, {{"a"}}, {-1}); }},
        {"step 'f': no hints", [](LB& lb) { lb.step("f", {}); }},
    };
    for (const Case& c : cases) {
        LB lb;
        try {
            c.build(lb);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const RoomError& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
        EXPECT_TRUE(lb.props.empty() && lb.panels.empty() && lb.steps.empty()) << c.message;
    }
}
