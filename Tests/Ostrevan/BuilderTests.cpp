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
    struct Case {
        const char* what;
        Rect got;
        Rect want;
    };
    const Case cases[] = {
        {"fC default bottom 548", at(Slot::fC, 84, 132), {640, 416, 84, 132}},
        {"wB default centre 235", at(Slot::wB, 150, 110), {225, 180, 150, 110}},
        {"rug default centre 548", at(Slot::rug, 300, 110), {350, 493, 300, 110}},
        {"above with y and dx", at(Slot::above, 120, 40, 60, -10), {430, 60, 120, 40}},
        {"wall y is the top edge", at(Slot::wA, 100, 100, 40), {68, 40, 100, 100}},
        {"floor y is the bottom edge", at(Slot::fA, 100, 50, 600), {80, 550, 100, 50}},
        {"rug y is the centre", at(Slot::rug, 200, 80, 500), {400, 460, 200, 80}},
        {"above default top 52", at(Slot::above, 80, 30), {460, 52, 80, 30}},
        {"fD default bottom 592", at(Slot::fD, 60, 90), {840, 502, 60, 90}},
        {"fB default bottom 548", at(Slot::fB, 40, 40), {298, 508, 40, 40}},
        {"wD dx shifts x only", at(Slot::wD, 50, 70, std::nullopt, 12), {869, 200, 50, 70}},
        {"negative size passes through", at(Slot::wC, -20, -10), {710, 240, -20, -10}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;

    const Slot slots[] = {Slot::wA, Slot::wB, Slot::wC, Slot::wD, Slot::above,
                          Slot::fA, Slot::fB, Slot::fC, Slot::fD, Slot::rug};
    const double centres[] = {118, 300, 700, 882, 500, 130, 318, 682, 870, 500};
    for (std::size_t i = 0; i < std::size(slots); ++i) EXPECT_EQ(centerXPublic(slots[i]), centres[i]) << i;
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
    const Level level = buildRoom(lb, {"unlocked", "lockA"});
    EXPECT_EQ(level.props.back().rules.back().effects, (std::vector<Effect>{sfx(Sfx::wrong), say("Two locks.")}));

    // Played: locked text, a stranger item refused, the first key alone does not open, the second does.
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("door", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("Two locks.")}));
    EXPECT_EQ(use("small", "door", level, state),
              (Events{ev::sfx(Sfx::wrong), ev::say("That doesn't open the door.")}));
    EXPECT_EQ(use("key", "door", level, state), (Events{ev::sfx(Sfx::unlock), ev::say("Click.")}));
    EXPECT_FALSE(holds(state, "key"));
    EXPECT_EQ(use("coin", "door", level, state),
              (Events{ev::sfx(Sfx::unlock), ev::say("Clunk."), ev::sfx(Sfx::open), ev::enter()}));
}

TEST(BuilderDoor, BuildsOnCopies) {
    LB lb;
    lb.add({pickup(kKey, {1, 2, 3, 4}), pickup(kCoin, {5, 6, 7, 8})});
    lb.add({});
    lb.startFlags = {"lights_on"};
    const Level first = buildRoom(lb, {});
    const Level second = buildRoom(lb, {});
    EXPECT_EQ(first, second);
    ASSERT_EQ(lb.props.size(), 2u);
    EXPECT_EQ(lb.props[0].id, "pick_key");
    EXPECT_EQ(lb.props[1].id, "pick_coin");

    ASSERT_EQ(first.props.size(), 3u);
    const Prop& door = first.props.back();
    EXPECT_EQ(door.id, "door");
    EXPECT_EQ(door.rect, Stage::doorRect);
    EXPECT_EQ(door.art, Art{art::None{}});
    EXPECT_EQ(door.z, -5);
    EXPECT_TRUE(door.states.empty() && door.showWhen.empty() && door.hideWhen.empty());
    EXPECT_FALSE(door.look.has_value());
    EXPECT_EQ(door.noUse, "That doesn't open the door.");
    EXPECT_EQ(first.startFlags, lb.startFlags);
    EXPECT_EQ(first.id, 7);

    // Nothing required: the first tap opens.
    GameState state = Engine::begin(first);
    EXPECT_EQ(Engine::tap("door", first, state), (Events{ev::sfx(Sfx::open), ev::enter()}));
}

TEST(BuilderRegistry, LaterRegistrationWinsAndCombosRegisterAll) {
    LB lb;
    lb.item(kKey);
    const Item renamed{"key", "iron key", ItemKind::key, Tone::black};
    EXPECT_EQ(lb.item(renamed), renamed);
    EXPECT_EQ(lb.items.at("key"), renamed);

    const Item torch{"torch", "torch", ItemKind::torch, std::nullopt};
    const Item battery{"battery", "battery", ItemKind::battery, std::nullopt};
    const Item lit{"lit", "lit torch", ItemKind::torch, Tone::yellow};
    lb.combo(torch, battery, lit, "It works.");
    EXPECT_EQ(lb.items.size(), 4u);
    EXPECT_EQ(lb.combos, (std::vector<Combo>{{"torch", "battery", "lit", "It works."}}));

    lb.step("a", {"one", "two"});
    lb.step("b", {"three"});
    EXPECT_EQ(lb.steps, (std::vector<Step>{{"a", {"one", "two"}}, {"b", {"three"}}}));
}

// ## Prop factories

TEST(BuilderFactories, PickupHidesOnceTaken) {
    const Prop prop = pickup(kSmall, {10, 20, 30, 40});
    EXPECT_EQ(prop.id, "pick_small");
    EXPECT_EQ(prop.art, Art{(art::Item{ItemKind::key, Tone::white})});
    EXPECT_EQ(prop.z, 5);
    const Level level = roomWith(prop);
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("pick_small", level, state),
              (Events{ev::gave("small"), ev::sfx(Sfx::pickup), ev::say("Got the small silver key.")}));
    EXPECT_TRUE(state.flags.contains("took_small"));
    EXPECT_FALSE(level.props[0].isVisible(state.flags));
    EXPECT_TRUE(Engine::tap("pick_small", level, state).empty());

    const Prop custom = pickup(kSmall, {}, {.art = Art{art::Ball{Tone::red}}, .showWhen = {"f"}, .z = 2, .msg = "Hm."});
    EXPECT_EQ(custom.art, Art{art::Ball{Tone::red}});
    EXPECT_EQ(custom.showWhen, std::vector<std::string>{"f"});
    EXPECT_EQ(custom.rules[0].effects.back(), say("Hm."));
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

TEST(BuilderFactories, ContainerWithOpener) {
    const Level level = roomWith(container("safe", {}, art::Safe{false}, art::Safe{true}, "safe_open", "It swings open.",
                                           {.opener = kSmall, .gives = kCoin, .lockedMsg = "Locked tight."}));
    const Prop& safe = level.props[0];
    EXPECT_EQ(safe.states, (std::vector<PropState>{{{"safe_open"}, art::Safe{true}}}));
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("safe", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("Locked tight.")}));
    EXPECT_EQ(use("key", "safe", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("That doesn't work here.")}));
    EXPECT_EQ(use("small", "safe", level, state), (Events{ev::sfx(Sfx::unlock), ev::say("It swings open.")}));
    EXPECT_FALSE(holds(state, "small"));
    EXPECT_EQ(Engine::tap("safe", level, state),
              (Events{ev::gave("coin"), ev::sfx(Sfx::pickup), ev::say("Inside: the old coin.")}));
    EXPECT_TRUE(Engine::tap("safe", level, state).empty());
}

TEST(BuilderFactories, ContainerOpenedByTapWithEmptyMessage) {
    const Level level =
        roomWith(container("box", {}, art::Cabinet{false}, art::Cabinet{true}, "cab_open", "Opened.", {.emptyMsg = "Empty."}));
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("box", level, state), (Events{ev::sfx(Sfx::open), ev::say("Opened.")}));
    EXPECT_EQ(Engine::tap("box", level, state), (Events{ev::say("Empty.")}));
    EXPECT_EQ(level.props[0].currentArt(state.flags), Art{art::Cabinet{true}});
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
    EXPECT_EQ(use("coin", "slot", gives, paid),
              (Events{ev::sfx(Sfx::unlock), ev::say("Clink."), ev::gave("key")}));
    EXPECT_EQ(paid.inventory, std::vector<std::string>{"key"});
    EXPECT_TRUE(gives.props[0].states.empty());
    EXPECT_EQ(use("coin", "slot", gives, paid), (Events{ev::sfx(Sfx::wrong), ev::say("Coins only.")}));
}

// ## Lock factories

TEST(BuilderLocks, AnswerEncodings) {
    LB lb;
    keypad(lb, "pad", {654, 165, 92, 140}, "0420");
    colorLock(lb, "buttons", {}, {Tone::red, Tone::yellow, Tone::green, Tone::blue, Tone::red},
              {Tone::blue, Tone::red, Tone::yellow, Tone::green});
    lettersLock(lb, "word", {}, "king");
    switchLock(lb, "sw", {}, {"a", "b", "c", "d", "e"}, {true, false, true, true, false});
    dialLock(lb, "dials", {}, {{"sun", "moon"}, {"x", "y", "z"}}, {1, 2});

    const Panel& pad = lb.panels.at("pad");
    EXPECT_EQ(pad.kind, PanelKind{entry::Keypad{4}});
    EXPECT_EQ(pad.answer, (std::vector<int>{0, 4, 2, 0}));
    EXPECT_EQ(pad.title, "Enter the code");
    EXPECT_EQ(pad.onSolve, (std::vector<Effect>{sfx(Sfx::success), set("unlocked"), sfx(Sfx::unlock)}));
    EXPECT_EQ(lb.panels.at("buttons").answer, (std::vector<int>{3, 0, 1, 2}));
    EXPECT_EQ(lb.panels.at("word").answer, (std::vector<int>{10, 8, 13, 6}));
    EXPECT_EQ(lb.panels.at("word").kind, PanelKind{entry::Letters{4}});
    EXPECT_EQ(lb.panels.at("sw").answer, (std::vector<int>{1, 0, 1, 1, 0}));
    EXPECT_EQ(lb.panels.at("dials").answer, (std::vector<int>{1, 2}));

    ASSERT_EQ(lb.props.size(), 5u);
    const Art arts[] = {art::Panel{face::Keypad{}},
                        art::Panel{face::Buttons{{Tone::red, Tone::yellow, Tone::green, Tone::blue, Tone::red}}},
                        art::Panel{face::Letters{4}}, art::Panel{face::Switches{5}}, art::Panel{face::Dials{2}}};
    for (std::size_t i = 0; i < lb.props.size(); ++i) {
        EXPECT_EQ(lb.props[i].art, arts[i]) << lb.props[i].id;
        EXPECT_EQ(lb.props[i].z, 1) << lb.props[i].id;
        EXPECT_EQ(lb.props[i].states.at(0).art, Art{art::Panel{face::Screen{"OK"}}}) << lb.props[i].id;
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

    const Level level = buildRoom(lb, flags);
    GameState state = Engine::begin(level);
    EXPECT_EQ(Engine::tap("s_0", level, state), (Events{ev::say("An empty socket.")}));
    const Events refused{ev::sfx(Sfx::wrong), ev::say("It doesn't fit this socket.")};
    EXPECT_EQ(use("p", "s_0", level, state), refused);
    EXPECT_EQ(use("b", "s_0", level, state), refused);
    EXPECT_TRUE(holds(state, "p") && holds(state, "b"));
    EXPECT_EQ(use("g", "s_0", level, state), (Events{ev::sfx(Sfx::unlock), ev::say("The orb settles into place.")}));
    EXPECT_FALSE(holds(state, "g"));
    EXPECT_EQ(use("r", "s_0", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("That doesn't work here.")}));
    EXPECT_EQ(use("b", "s_1", level, state), (Events{ev::sfx(Sfx::unlock), ev::say("The orb settles into place.")}));
    EXPECT_EQ(Engine::tap("door", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("It's locked.")}));
    EXPECT_EQ(use("r", "s_2", level, state), (Events{ev::sfx(Sfx::unlock), ev::say("The orb settles into place.")}));
    EXPECT_EQ(Engine::tap("door", level, state), (Events{ev::sfx(Sfx::open), ev::enter()}));

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

    // The lenient edges stay accepted: upper and lower case letters, repeated palette tones.
    LB lb;
    EXPECT_NO_THROW(lettersLock(lb, "word", {}, "AzZa"));
    EXPECT_NO_THROW(colorLock(lb, "buttons", {}, {Tone::red, Tone::red}, {Tone::red}));
    EXPECT_EQ(lb.panels.at("word").answer, (std::vector<int>{0, 25, 25, 0}));
}
