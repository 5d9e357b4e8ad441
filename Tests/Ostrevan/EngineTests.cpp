// The rules engine played against a small hand-written room.
#include <Ostrevan/Engine.hpp>

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace ostrevan;

namespace {

constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
constexpr auto kMin = std::numeric_limits<std::int64_t>::min();

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
    prop.rules = std::move(rules);
    prop.look = std::move(look);
    return prop;
}

Rule onTap(std::vector<Effect> effects, std::vector<std::string> needs = {}, std::vector<std::string> without = {}) {
    return {Trigger::tap(), std::move(needs), std::move(without), std::move(effects)};
}

Rule onUse(std::string item, std::vector<Effect> effects, std::vector<std::string> without = {}) {
    return {Trigger::use(std::move(item)), {}, std::move(without), std::move(effects)};
}

// A lamp whose rules depend on flags, a gated prop, a silent and a talking vase, a chest that takes
// the key, a ghost that only shows once "shown" is set, and a door the key unlocks.
Level testRoom() {
    Level level;
    level.id = 3;
    level.requires_ = {"unlocked"};
    level.startFlags = {"start"};
    Prop chest = makeProp("chest", {onUse("key", {take("key"), give("coin")}), onTap({say("Shut.")})});
    chest.noUse = "The chest ignores it.";
    Prop ghost = makeProp("ghost", {onUse("key", {say("boo")})}, "A ghost.");
    ghost.showWhen = {"shown"};
    Prop door = makeProp("door", {onUse("key", {sfx(Sfx::unlock), set("unlocked"), say("Click.")}, {"unlocked"})},
                         "It's locked.");
    door.noUse = "That doesn't open the door.";
    level.props = {makeProp("lamp", {onTap({say("lit")}, {"f"}), onTap({say("plain")})}, "A lamp."),
                   makeProp("gated", {onTap({say("no g")}, {}, {"g"})}, "Nothing more."),
                   makeProp("vase", {}, "A vase."), makeProp("silent", {}), chest, ghost, door};
    level.combos = {{"torch", "battery", "lit_torch", "The torch works."}, {"battery", "torch", "other", "Never."}};
    return level;
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
    GameState state = Engine::begin(level);
    EXPECT_EQ(state, (GameState{3, {"start"}, {}, std::nullopt, std::nullopt, 0, false}));
    EXPECT_FALSE(Engine::isDark(level, state));
    level.darkUntil = "lights_on";
    EXPECT_TRUE(Engine::isDark(level, state));
    EXPECT_FALSE(Engine::doorUnlocked(level, state));
    state.flags.insert({"lights_on", "unlocked"});
    EXPECT_FALSE(Engine::isDark(level, state));
    EXPECT_TRUE(Engine::doorUnlocked(level, state));
}

TEST(Engine, TapAppliesFirstFittingRuleElseSaysTheLook) {
    const Level level = testRoom();
    GameState state = Engine::begin(level);
    EXPECT_EQ(show(Engine::tap("lamp", level, state)), "say(plain)");
    EXPECT_EQ(show(Engine::tap("gated", level, state)), "say(no g)");
    state.flags.insert({"f", "g"});
    EXPECT_EQ(show(Engine::tap("lamp", level, state)), "say(lit)");
    EXPECT_EQ(show(Engine::tap("gated", level, state)), "say(Nothing more.)");

    const GameState before = state;
    EXPECT_EQ(show(Engine::tap("vase", level, state)), "say(A vase.)");
    EXPECT_TRUE(Engine::tap("silent", level, state).empty());
    EXPECT_TRUE(Engine::tap("nowhere", level, state).empty());
    EXPECT_TRUE(Engine::tap("ghost", level, state).empty());  // hidden
    EXPECT_EQ(show(Engine::tap("door", level, state)), "say(It's locked.)") << "a use rule needs a selection";
    EXPECT_EQ(state, before);
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

    // An item that no door rule takes is refused, even with every flag set.
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

TEST(Engine, EffectsApplyInOrderAndKeepInventoryAndSelectionConsistent) {
    const Level level = testRoom();
    GameState state = holding(level, {"key", "coin"}, "key");
    EXPECT_EQ(show(Engine::apply({give("coin"), give("torch")}, level, state)), "gave(coin) gave(torch)");
    EXPECT_EQ(state.inventory, (std::vector<std::string>{"key", "coin", "torch"}));

    EXPECT_TRUE(Engine::apply({take("battery")}, level, state).empty());
    EXPECT_EQ(state.selected, "key") << "taking an item not held changes nothing";

    // Taking the selected item also drops the selection; every copy goes.
    state.inventory.push_back("key");
    EXPECT_TRUE(Engine::apply({take("key"), set("a"), clear("start"), clear("absent")}, level, state).empty());
    EXPECT_EQ(state.inventory, (std::vector<std::string>{"coin", "torch"}));
    EXPECT_FALSE(state.selected);
    EXPECT_EQ(state.flags, (FlagSet{"a"}));

    const std::vector<Effect> mixed = {set("b"), say("x"), panel("p"), sfx(Sfx::power), clear("b"), enter()};
    EXPECT_EQ(show(Engine::apply(mixed, level, state)), "say(x) panel(p) sfx(power) enter");
    EXPECT_FALSE(state.flags.contains("b"));
}

TEST(Engine, TapItemSelectsDeselectsAndCombines) {
    const Level level = testRoom();
    GameState state = holding(level, {"key", "torch", "battery"});
    EXPECT_TRUE(Engine::tapItem("gem", level, state).empty());
    EXPECT_EQ(show(Engine::tapItem("key", level, state)), "sfx(tap)");
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
        state = holding(level, {"torch", "key", "battery"}, first);
        EXPECT_EQ(show(Engine::tapItem(second, level, state)), "sfx(combine) gave(lit_torch) say(The torch works.)");
        EXPECT_EQ(state.inventory, (std::vector<std::string>{"key", "lit_torch"}));
        EXPECT_FALSE(state.selected);
    }
}

TEST(Engine, SolveSetsItsFlagBeforeApplyingOnSolve) {
    Level level = testRoom();
    level.panels["pad"] = Panel{"pad", "Keypad", entry::Keypad{3}, {1, 2, 3}, {clear("solved_pad"), say("Open.")}};
    GameState state = Engine::begin(level);
    const GameState before = state;
    EXPECT_TRUE(Engine::solve("nothing", level, state).empty());
    EXPECT_EQ(state, before);
    EXPECT_EQ(show(Engine::solve("pad", level, state)), "say(Open.)");
    EXPECT_FALSE(state.flags.contains("solved_pad"));
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

    // Clearing an earlier step's flag makes it current again, from its first hint, unless it was
    // the step hinted last, which goes on where it was.
    state.flags.erase("one");
    EXPECT_EQ(Engine::hint(level, state), "h1");
    EXPECT_EQ(Engine::hint(level, state), "h2");

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
    struct Case { std::int64_t count; const char* hint; std::int64_t after; };
    for (const Case& c : {Case{-1, "h1", 1}, Case{kMin, "h1", 1}, Case{kMax - 1, "h2", kMax}, Case{kMax, "h2", kMax}}) {
        GameState state = Engine::begin(level);
        state.hintStep = "one";
        state.hintCount = c.count;
        EXPECT_EQ(Engine::hint(level, state), c.hint) << c.count;
        EXPECT_EQ(state.hintCount, c.after) << c.count;
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
    std::vector<Level> levels(50);
    for (int i = 0; i < 50; ++i) levels[i] = Level{.id = i + 1, .startFlags = {"start_" + std::to_string(i + 1)}};
    GameState state = holding(levels[6], {"key"}, "key");
    state.hintStep = "x";
    state.hintCount = 3;
    Engine::nextLevel(state, levels);
    EXPECT_EQ(state, (GameState{8, {"start_8"}}));

    state = holding(levels[49], {"key"});
    GameState expected = state;
    expected.finished = true;
    Engine::nextLevel(state, levels);
    EXPECT_EQ(state, expected);

    // Ids outside the list (from an edited save file) never read outside it.
    for (const std::int64_t id : {std::int64_t{51}, kMax, std::int64_t{0}, std::int64_t{-4}, kMin}) {
        state = GameState{id};
        Engine::nextLevel(state, levels);
        EXPECT_EQ(state, (id > 50 ? GameState{id, {}, {}, {}, {}, 0, true} : Engine::begin(levels[0]))) << id;
    }
    state.level = -4;
    Engine::nextLevel(state, {});
    EXPECT_TRUE(state.finished);
}
