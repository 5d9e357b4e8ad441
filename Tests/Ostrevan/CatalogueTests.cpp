// The room catalogue as the engine relies on it: the list and its order, every id a rule names,
// every flag a room waits for, and the rooms with unusual light or several locks.
#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace ostrevan;

const Level& room(int n) { return Levels::all().at(static_cast<std::size_t>(n - 1)); }

// Calls `visit` with every effect a room can apply: its props' rules and its panels' solves.
template <class Visit>
void forEachEffect(const Level& level, Visit visit) {
    for (const Prop& prop : level.props)
        for (const Rule& rule : prop.rules)
            for (const Effect& effect : rule.effects) visit(effect);
    for (const auto& [id, panel] : level.panels)
        for (const Effect& effect : panel.onSolve) visit(effect);
}

// Every flag that can enter the room's flag set.
std::set<std::string> settableFlags(const Level& level) {
    std::set<std::string> flags(level.startFlags.begin(), level.startFlags.end());
    forEachEffect(level, [&](const Effect& effect) {
        if (const auto* s = std::get_if<effect::Set>(&effect)) flags.insert(s->flag);
    });
    for (const auto& [id, panel] : level.panels) flags.insert("solved_" + id);
    return flags;
}

std::vector<Event> useItem(const std::string& item, const std::string& prop, const Level& level, GameState& state) {
    Engine::tapItem(item, level, state);
    return Engine::tap(prop, level, state);
}

bool has(const FlagSet& flags, const std::string& flag) { return flags.count(flag) > 0; }

}  // namespace

TEST(Catalogue, HoldsFiftyRoomsInOrderEachEndingWithTheDoor) {
    const std::vector<Level>& levels = Levels::all();
    ASSERT_EQ(levels.size(), 50u);
    EXPECT_EQ(levels.front().name, "Welcome");
    EXPECT_EQ(levels.back().name, "The Last Door");
    for (std::size_t i = 0; i < levels.size(); ++i) {
        SCOPED_TRACE("index " + std::to_string(i));
        EXPECT_EQ(levels[i].id, static_cast<std::int64_t>(i) + 1);
        ASSERT_FALSE(levels[i].props.empty());
        EXPECT_EQ(levels[i].props.back().id, "door");
    }
}

TEST(Catalogue, EveryItemAndPanelARoomNamesIsRegistered) {
    for (const Level& level : Levels::all()) {
        SCOPED_TRACE("room " + std::to_string(level.id));
        auto expectItem = [&](const std::string& id, const std::string& where) {
            EXPECT_NE(level.item(id), nullptr) << "unregistered item " << id << " in " << where;
        };
        for (const Prop& prop : level.props)
            for (const Rule& rule : prop.rules)
                if (rule.trigger.item) expectItem(*rule.trigger.item, "a use rule of " + prop.id);
        forEachEffect(level, [&](const Effect& effect) {
            if (const auto* g = std::get_if<effect::Give>(&effect)) expectItem(g->item, "give");
            if (const auto* t = std::get_if<effect::Take>(&effect)) expectItem(t->item, "take");
            if (const auto* p = std::get_if<effect::Panel>(&effect)) {
                EXPECT_NE(level.panel(p->id), nullptr) << "unregistered panel " << p->id;
            }
        });
        for (const Combo& combo : level.combos) {
            expectItem(combo.a, "a combination");
            expectItem(combo.b, "a combination");
            expectItem(combo.result, "a combination");
        }
    }
}

TEST(Catalogue, EveryFlagARoomWaitsForCanBeSet) {
    for (const Level& level : Levels::all()) {
        SCOPED_TRACE("room " + std::to_string(level.id));
        const std::set<std::string> settable = settableFlags(level);
        for (const std::string& flag : level.requires_)
            EXPECT_TRUE(settable.count(flag)) << "the door waits for " << flag;
        for (const Step& step : level.steps) {
            EXPECT_TRUE(settable.count(step.done)) << "a hint step waits for " << step.done;
            EXPECT_FALSE(step.hints.empty()) << "a hint step without hints: " << step.done;
        }
        if (level.darkUntil && level.id != 38) {
            EXPECT_TRUE(settable.count(*level.darkUntil)) << "the light waits for " << *level.darkUntil;
        }
    }
    // Blackout is dark by design: its light flag is one nothing sets.
    ASSERT_TRUE(room(38).darkUntil.has_value());
    EXPECT_FALSE(settableFlags(room(38)).count(*room(38).darkUntil));
}

TEST(Catalogue, BlackoutStaysDarkToTheDoor) {
    const Level& level = room(38);
    GameState state = Engine::begin(level);
    EXPECT_TRUE(Engine::isDark(level, state));
    EXPECT_EQ(Engine::tap("pad", level, state), (std::vector<Event>{ev::sfx(Sfx::tap), ev::panel("pad")}));
    Engine::solve("pad", level, state);
    EXPECT_TRUE(has(state.flags, "unlocked"));
    EXPECT_TRUE(Engine::isDark(level, state));
    EXPECT_EQ(Engine::tap("door", level, state), (std::vector<Event>{ev::sfx(Sfx::open), ev::enter()}));
    EXPECT_TRUE(Engine::isDark(level, state));
}

TEST(Catalogue, LightSwitchTurnsTheLightOffAndOnAgain) {
    const std::vector<Event> off = {ev::sfx(Sfx::power), ev::say("Click. Darkness.")};
    const std::vector<Event> on = {ev::sfx(Sfx::power), ev::say("Click. Light.")};
    for (int n : {41, 46}) {
        SCOPED_TRACE("room " + std::to_string(n));
        const Level& level = room(n);
        const Prop* lightSwitch = level.prop("switch");
        ASSERT_NE(lightSwitch, nullptr);
        EXPECT_EQ(*lightSwitch, Levels::lightSwitch(lightSwitch->rect, "saw_dark"));
        const Prop* glow = level.prop("g1");
        ASSERT_NE(glow, nullptr);

        GameState state = Engine::begin(level);
        EXPECT_FALSE(Engine::isDark(level, state)) << "starts lit";
        EXPECT_FALSE(glow->isVisible(state.flags));
        EXPECT_TRUE(Engine::tap("g1", level, state).empty()) << "hidden glow answers nothing";

        EXPECT_EQ(Engine::tap("switch", level, state), off);
        EXPECT_TRUE(Engine::isDark(level, state));
        EXPECT_TRUE(has(state.flags, "saw_dark"));
        EXPECT_TRUE(glow->isVisible(state.flags));
        EXPECT_EQ(Engine::tap("g1", level, state), std::vector<Event>{ev::say(*glow->look)});
        // Having seen the dark finishes the first hint step.
        EXPECT_EQ(Engine::hint(level, state), level.steps.at(1).hints.front());

        EXPECT_EQ(Engine::tap("switch", level, state), on);
        EXPECT_FALSE(Engine::isDark(level, state));
        EXPECT_TRUE(has(state.flags, "saw_dark")) << "the record of the dark stays";
        EXPECT_FALSE(glow->isVisible(state.flags));
        EXPECT_EQ(Engine::tap("switch", level, state), off) << "and off again";
    }
}

TEST(Catalogue, ThreeLockDoorsOpenOnlyWithEveryLock) {
    struct Case {
        int room;
        std::string doorLook;
        std::vector<std::string> fetchKey;  // taps that hand over the key
        std::string key;
        std::string keyMsg;
    };
    const std::vector<Case> cases = {
        {40, "Three locks: a keyhole, a keypad and a ring of orbs.", {"fridge", "fridge"}, "key",
         "The lock turns. Click!"},
        {50, "Three locks. A keyhole, a keypad and a ring of orbs.", {"boxes"}, "dkey",
         "The golden key turns. One lock left."},
    };
    const std::vector<std::string> locks = {"sock_s_0", "sock_s_1", "sock_s_2", "unlocked", "lockKey"};
    for (const Case& c : cases) {
        SCOPED_TRACE("room " + std::to_string(c.room));
        const Level& level = room(c.room);
        EXPECT_EQ(level.requires_, locks);
        const std::vector<Event> refused = {ev::sfx(Sfx::wrong), ev::say(c.doorLook)};

        for (const std::string& missing : locks) {
            GameState state = Engine::begin(level);
            for (const std::string& flag : locks)
                if (flag != missing) state.flags.insert(flag);
            EXPECT_EQ(Engine::tap("door", level, state), refused) << "without " << missing;
        }

        // The key goes in first: the keyhole takes it, and the door still waits for the rest.
        GameState state = Engine::begin(level);
        for (const std::string& prop : c.fetchKey) Engine::tap(prop, level, state);
        ASSERT_EQ(state.inventory, std::vector<std::string>{c.key});
        const std::vector<Event> keyFirst = useItem(c.key, "door", level, state);
        EXPECT_TRUE(std::find(keyFirst.begin(), keyFirst.end(), ev::say(c.keyMsg)) != keyFirst.end());
        EXPECT_TRUE(std::find(keyFirst.begin(), keyFirst.end(), ev::enter()) == keyFirst.end());
        EXPECT_TRUE(has(state.flags, "lockKey"));
        EXPECT_TRUE(state.inventory.empty());
        EXPECT_EQ(Engine::tap("door", level, state), refused);
        for (const std::string& flag : locks) state.flags.insert(flag);
        EXPECT_EQ(Engine::tap("door", level, state), (std::vector<Event>{ev::sfx(Sfx::open), ev::enter()}));

        // The key goes in last: the same action opens the door.
        state = Engine::begin(level);
        for (const std::string& prop : c.fetchKey) Engine::tap(prop, level, state);
        for (const std::string& flag : locks)
            if (flag != "lockKey") state.flags.insert(flag);
        const std::vector<Event> keyLast = useItem(c.key, "door", level, state);
        ASSERT_GE(keyLast.size(), 2u);
        EXPECT_EQ(keyLast[keyLast.size() - 2], ev::sfx(Sfx::open));
        EXPECT_EQ(keyLast.back(), ev::enter());
    }
}
