// The rules engine played against small hand-written rooms.
#include <Ostrevan/Engine.hpp>

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace ostrevan;

namespace {

// Events as text, so a failing comparison reads like the room notation.
std::string show(const std::vector<Event>& events) {
    std::string text;
    for (const Event& e : events) {
        if (!text.empty()) text += ' ';
        if (const auto* say = std::get_if<event::Say>(&e)) text += "say(" + say->text + ")";
        if (const auto* gave = std::get_if<event::Gave>(&e)) text += "gave(" + gave->item + ")";
        if (const auto* panel = std::get_if<event::Panel>(&e)) text += "panel(" + panel->id + ")";
        if (const auto* sound = std::get_if<event::Sound>(&e)) text += "sfx(" + std::string(name(sound->sfx)) + ")";
        if (std::holds_alternative<event::Enter>(e)) text += "enter";
    }
    return text;
}

Prop makeProp(std::string id, std::vector<Rule> rules, std::optional<std::string> look = std::nullopt) {
    Prop prop;
    prop.id = std::move(id);
    prop.rect = {100, 100, 50, 50};
    prop.rules = std::move(rules);
    prop.look = std::move(look);
    return prop;
}

Rule onTap(std::vector<Effect> effects, std::vector<std::string> needs = {},
           std::vector<std::string> without = {}) {
    return {Trigger::tap(), std::move(needs), std::move(without), std::move(effects)};
}

Rule onUse(std::string item, std::vector<Effect> effects, std::vector<std::string> needs = {},
           std::vector<std::string> without = {}) {
    return {Trigger::use(std::move(item)), std::move(needs), std::move(without), std::move(effects)};
}

// A small room: a lamp whose rules depend on flags, a silent and a talking vase, a chest that
// takes the key, a prop that only shows once "shown" is set, and the door.
Level testRoom() {
    Level level;
    level.id = 3;
    level.name = "Test";
    level.requires_ = {"unlocked"};
    level.startFlags = {"start"};

    Prop lamp = makeProp("lamp", {onTap({say("lit")}, {"f"}), onTap({say("plain")})}, "A lamp.");
    Prop gated = makeProp("gated", {onTap({say("no g")}, {}, {"g"})}, "Nothing more.");
    Prop vase = makeProp("vase", {}, "A vase.");
    Prop silent = makeProp("silent", {});
    Prop chest = makeProp("chest", {onUse("key", {take("key"), give("coin"), set("chest_open")}),
                                    onTap({say("Shut.")})});
    chest.noUse = "The chest ignores it.";
    Prop ghost = makeProp("ghost", {onUse("key", {say("boo")})}, "A ghost.");
    ghost.showWhen = {"shown"};
    Prop door = makeProp("door", {onUse("key", {sfx(Sfx::unlock), set("unlocked"), say("Click.")},
                                        {}, {"unlocked"})},
                         "It's locked.");
    door.noUse = "That doesn't open the door.";
    level.props = {lamp, gated, vase, silent, chest, ghost, door};

    level.items = {{"key", {"key", "Key", ItemKind::key, std::nullopt}},
                   {"coin", {"coin", "Coin", ItemKind::coin, std::nullopt}},
                   {"torch", {"torch", "Torch", ItemKind::torch, std::nullopt}},
                   {"battery", {"battery", "Battery", ItemKind::battery, std::nullopt}}};
    level.combos = {{"torch", "battery", "lit_torch", "The torch works."},
                    {"battery", "torch", "other", "Never chosen."}};
    return level;
}

GameState atLevel(std::int64_t id, bool finished = false) {
    GameState state;
    state.level = id;
    state.finished = finished;
    return state;
}

GameState holding(const Level& level, std::vector<std::string> inventory,
                  std::optional<std::string> selected = std::nullopt) {
    GameState state = Engine::begin(level);
    state.inventory = std::move(inventory);
    state.selected = std::move(selected);
    return state;
}

}  // namespace

TEST(Engine, BeginDarknessAndDoor) {
    Level level = testRoom();
    const GameState state = Engine::begin(level);
    EXPECT_EQ(state.level, 3);
    EXPECT_EQ(state.flags, (FlagSet{"start"}));
    EXPECT_TRUE(state.inventory.empty());
    EXPECT_FALSE(state.selected || state.hintStep || state.finished);

    EXPECT_FALSE(Engine::isDark(level, state));
    level.darkUntil = "lights_on";
    GameState lit = state;
    EXPECT_TRUE(Engine::isDark(level, state));
    lit.flags.insert("lights_on");
    EXPECT_FALSE(Engine::isDark(level, lit));

    EXPECT_FALSE(Engine::doorUnlocked(level, state));
    GameState unlocked;
    unlocked.flags = {"unlocked"};
    EXPECT_TRUE(Engine::doorUnlocked(level, unlocked));
    level.requires_.clear();
    EXPECT_TRUE(Engine::doorUnlocked(level, state));
}

TEST(Engine, TapAppliesFirstFittingRule) {
    const Level level = testRoom();
    GameState state = Engine::begin(level);
    EXPECT_EQ(show(Engine::tap("lamp", level, state)), "say(plain)");
    state.flags.insert("f");
    EXPECT_EQ(show(Engine::tap("lamp", level, state)), "say(lit)");

    // A `without` flag turns its rule off, and with no rule left the look text is said.
    EXPECT_EQ(show(Engine::tap("gated", level, state)), "say(no g)");
    state.flags.insert("g");
    EXPECT_EQ(show(Engine::tap("gated", level, state)), "say(Nothing more.)");
}

TEST(Engine, TapWithoutRuleSaysLookOrNothing) {
    const Level level = testRoom();
    GameState state = Engine::begin(level);
    const GameState before = state;
    EXPECT_EQ(show(Engine::tap("vase", level, state)), "say(A vase.)");
    EXPECT_TRUE(Engine::tap("silent", level, state).empty());
    EXPECT_TRUE(Engine::tap("nowhere", level, state).empty());
    EXPECT_TRUE(Engine::tap("ghost", level, state).empty());  // hidden
    EXPECT_EQ(state, before);
    // A use rule never fires without a selection.
    EXPECT_EQ(show(Engine::tap("door", level, state)), "say(It's locked.)");
}

TEST(Engine, SelectedItemIsSpentOnAnyVisibleProp) {
    const Level level = testRoom();

    // No use rule: the default text, or the prop's own; tap rules are not consulted.
    GameState state = holding(level, {"coin"}, "coin");
    EXPECT_EQ(show(Engine::tap("lamp", level, state)), "sfx(wrong) say(That doesn't work here.)");
    EXPECT_FALSE(state.selected);
    state.selected = "coin";
    EXPECT_EQ(show(Engine::tap("chest", level, state)), "sfx(wrong) say(The chest ignores it.)");
    EXPECT_FALSE(state.selected);

    // An unknown id or a hidden prop keeps the selection.
    state.selected = "coin";
    EXPECT_TRUE(Engine::tap("nowhere", level, state).empty());
    EXPECT_TRUE(Engine::tap("ghost", level, state).empty());
    EXPECT_EQ(state.selected, "coin");

    // Once shown, the ghost takes the key.
    state = holding(level, {"key"}, "key");
    state.flags.insert("shown");
    EXPECT_EQ(show(Engine::tap("ghost", level, state)), "say(boo)");
    EXPECT_FALSE(state.selected);
}

TEST(Engine, DoorOpensWhenItsUseRuleCompletesTheRequiredFlags) {
    Level level = testRoom();
    GameState state = holding(level, {"key"}, "key");
    EXPECT_EQ(show(Engine::tap("door", level, state)), "sfx(unlock) say(Click.) sfx(open) enter");

    // Another required flag is still missing: the rule applies, the door stays shut.
    level.requires_ = {"unlocked", "power"};
    state = holding(level, {"key"}, "key");
    EXPECT_EQ(show(Engine::tap("door", level, state)), "sfx(unlock) say(Click.)");
    EXPECT_TRUE(state.flags.contains("unlocked"));

    // An item on the unlocked door that no door rule takes is refused, even with every flag set.
    level.requires_ = {"unlocked"};
    state = holding(level, {"coin", "key"}, "coin");
    state.flags.insert("unlocked");
    EXPECT_EQ(show(Engine::tap("door", level, state)), "sfx(wrong) say(That doesn't open the door.)");
    state.selected = "key";  // its rule needs the door still locked
    EXPECT_EQ(show(Engine::tap("door", level, state)), "sfx(wrong) say(That doesn't open the door.)");

    // A rule that enters by itself gets no second enter.
    level.props.back().rules = {onUse("key", {set("unlocked"), enter()})};
    state = holding(level, {"key"}, "key");
    EXPECT_EQ(show(Engine::tap("door", level, state)), "enter");
}

TEST(Engine, GiveAndTakeKeepInventoryAndSelectionConsistent) {
    const Level level = testRoom();
    GameState state = holding(level, {"key", "coin"}, "key");

    auto events = Engine::apply({give("coin"), give("torch")}, level, state);
    EXPECT_EQ(show(events), "gave(coin) gave(torch)");
    EXPECT_EQ(state.inventory, (std::vector<std::string>{"key", "coin", "torch"}));

    // Taking an item not held changes nothing and says nothing.
    events = Engine::apply({take("battery")}, level, state);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(state.selected, "key");

    // Taking the selected item also drops the selection; every copy goes.
    state.inventory.push_back("key");
    events = Engine::apply({take("key"), set("a"), clear("start"), clear("absent")}, level, state);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(state.inventory, (std::vector<std::string>{"coin", "torch"}));
    EXPECT_FALSE(state.selected);
    EXPECT_EQ(state.flags, (FlagSet{"a"}));

    // Each effect sees the ones before it, events keep their order.
    events = Engine::apply({set("b"), say("x"), panel("p"), sfx(Sfx::power), clear("b"), enter()}, level, state);
    EXPECT_EQ(show(events), "say(x) panel(p) sfx(power) enter");
    EXPECT_FALSE(state.flags.contains("b"));

    // Through a rule: the chest takes the key and gives a coin.
    state = holding(level, {"key"}, "key");
    EXPECT_EQ(show(Engine::tap("chest", level, state)), "gave(coin)");
    EXPECT_EQ(state.inventory, std::vector<std::string>{"coin"});
}

TEST(Engine, TapItemSelectsDeselectsAndCombines) {
    const Level level = testRoom();
    GameState state = holding(level, {"key", "torch", "battery"});

    EXPECT_TRUE(Engine::tapItem("gem", level, state).empty());
    EXPECT_EQ(show(Engine::tapItem("key", level, state)), "sfx(tap)");
    EXPECT_EQ(state.selected, "key");
    EXPECT_TRUE(Engine::tapItem("gem", level, state).empty());
    EXPECT_EQ(state.selected, "key");
    EXPECT_TRUE(Engine::tapItem("key", level, state).empty());
    EXPECT_FALSE(state.selected);

    // No combination: the second item becomes the selected one.
    state.selected = "key";
    EXPECT_EQ(show(Engine::tapItem("torch", level, state)), "sfx(wrong) say(Those don't go together.)");
    EXPECT_EQ(state.selected, "torch");

    // Either order finds the first matching combination; the result goes last.
    for (const auto& [first, second] : {std::pair{"torch", "battery"}, std::pair{"battery", "torch"}}) {
        SCOPED_TRACE(std::string(first) + " then " + second);
        state = holding(level, {"torch", "key", "battery"}, first);
        EXPECT_EQ(show(Engine::tapItem(second, level, state)),
                  "sfx(combine) gave(lit_torch) say(The torch works.)");
        EXPECT_EQ(state.inventory, (std::vector<std::string>{"key", "lit_torch"}));
        EXPECT_FALSE(state.selected);
    }
}

TEST(Engine, SolveSetsItsFlagBeforeApplyingOnSolve) {
    Level level = testRoom();
    level.panels["pad"] = Panel{"pad", "Keypad", entry::Keypad{3}, {1, 2, 3},
                                {clear("solved_pad"), set("open"), say("Open.")}};
    GameState state = Engine::begin(level);
    const GameState before = state;
    EXPECT_TRUE(Engine::solve("nothing", level, state).empty());
    EXPECT_EQ(state, before);

    EXPECT_EQ(show(Engine::solve("pad", level, state)), "say(Open.)");
    EXPECT_FALSE(state.flags.contains("solved_pad"));
    EXPECT_TRUE(state.flags.contains("open"));

    level.panels["pad"].onSolve = {};
    EXPECT_TRUE(Engine::solve("pad", level, state).empty());
    EXPECT_TRUE(state.flags.contains("solved_pad"));
}

TEST(Engine, HintWalksTheStepsAndRepeatsTheLastHint) {
    Level level = testRoom();
    level.steps = {{"one", {"h1", "h2", "h3"}}, {"two", {"t1", "t2"}}};
    GameState state = Engine::begin(level);

    for (const char* expected : {"h1", "h2", "h3", "h3"}) EXPECT_EQ(Engine::hint(level, state), expected);
    EXPECT_EQ(state.hintStep, "one");
    EXPECT_EQ(state.hintCount, 4);

    state.flags.insert("one");
    EXPECT_EQ(Engine::hint(level, state), "t1");
    EXPECT_EQ(state.hintCount, 1);

    // Clearing an earlier step's flag makes it current again, from its first hint...
    state.flags.erase("one");
    EXPECT_EQ(Engine::hint(level, state), "h1");
    // ...unless it was the step hinted last, which goes on where it was.
    EXPECT_EQ(Engine::hint(level, state), "h2");
    state.flags.insert("one");
    EXPECT_EQ(Engine::hint(level, state), "t1");

    state.flags.insert({"one", "two"});
    const GameState before = state;
    EXPECT_EQ(Engine::hint(level, state), "Everything is done. Try the door.");
    EXPECT_EQ(state, before);
    level.steps.clear();
    EXPECT_EQ(Engine::hint(level, state), "Everything is done. Try the door.");
}

TEST(Engine, HintSurvivesEditedCountsAndEmptySteps) {
    Level level = testRoom();
    level.steps = {{"one", {"h1", "h2"}}};
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();

    struct Case { std::int64_t count; const char* hint; std::int64_t after; };
    for (const Case& c : {Case{-1, "h1", 1}, Case{kMin, "h1", 1}, Case{kMax - 1, "h2", kMax},
                          Case{kMax, "h2", kMax}}) {
        SCOPED_TRACE(c.count);
        GameState state = Engine::begin(level);
        state.hintStep = "one";
        state.hintCount = c.count;
        EXPECT_EQ(Engine::hint(level, state), c.hint);
        EXPECT_EQ(state.hintCount, c.after);
    }

    // A step without hints answers as if all were done and leaves the progress alone.
    level.steps = {{"one", {}}, {"two", {"t1"}}};
    GameState state = Engine::begin(level);
    state.hintStep = "zero";
    state.hintCount = 2;
    const GameState before = state;
    EXPECT_EQ(Engine::hint(level, state), "Everything is done. Try the door.");
    EXPECT_EQ(state, before);
}

TEST(Engine, NextLevelMovesOnOrFinishes) {
    std::vector<Level> levels;
    for (int id = 1; id <= 50; ++id) {
        Level level;
        level.id = id;
        level.startFlags = {"start_" + std::to_string(id)};
        levels.push_back(level);
    }
    GameState state = Engine::begin(levels[6]);
    state.inventory = {"key"};
    state.selected = "key";
    state.hintStep = "x";
    state.hintCount = 3;
    Engine::nextLevel(state, levels);
    EXPECT_EQ(state, Engine::begin(levels[7]));
    EXPECT_EQ(state.flags, (FlagSet{"start_8"}));

    state = Engine::begin(levels[49]);
    state.inventory = {"key"};
    GameState expected = state;
    expected.finished = true;
    Engine::nextLevel(state, levels);
    EXPECT_EQ(state, expected);

    // Ids outside the list (from an edited save file) never read outside it.
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    for (const std::int64_t id : {std::int64_t{51}, kMax}) {
        state = atLevel(id);
        Engine::nextLevel(state, levels);
        EXPECT_TRUE(state.finished);
        EXPECT_EQ(state.level, id);
    }
    for (const std::int64_t id : {std::int64_t{0}, std::int64_t{-4}, kMin}) {
        state = atLevel(id, true);
        Engine::nextLevel(state, levels);
        EXPECT_EQ(state, Engine::begin(levels[0])) << id;
    }
    state = atLevel(-4);
    Engine::nextLevel(state, {});
    EXPECT_TRUE(state.finished);
}
