// Mechanics that a room brings of its own and a walkthrough alone does not pin down: darkness,
// sockets, the fuse box, the light switch and the doors with several locks.
#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace ostrevan;

namespace {

using Events = std::vector<Event>;

const Level& room(int n) { return Levels::all().at(static_cast<std::size_t>(n - 1)); }

bool holds(const GameState& state, const std::string& item) {
    return std::find(state.inventory.begin(), state.inventory.end(), item) != state.inventory.end();
}

bool has(const Events& events, const Event& wanted) {
    return std::find(events.begin(), events.end(), wanted) != events.end();
}

Events useOn(const std::string& item, const std::string& prop, const Level& level, GameState& state) {
    Engine::tapItem(item, level, state);
    return Engine::tap(prop, level, state);
}

const Events kNoUse = {ev::sfx(Sfx::wrong), ev::say("That doesn't work here.")};
const Events kWrongOrb = {ev::sfx(Sfx::wrong), ev::say("It doesn't fit this socket.")};

}  // namespace

TEST(RoomMechanics, DarkRoomsAnswerTapsAndLightOnlyTheirOwnWay) {
    // Room 8: the switch lights it for good; darkness blocks no tap.
    const Level& lightsOut = room(8);
    GameState state = Engine::begin(lightsOut);
    EXPECT_TRUE(Engine::isDark(lightsOut, state));
    EXPECT_EQ(Engine::tap("art", lightsOut, state), Events{ev::say("Someone stares back.")});
    EXPECT_EQ(Engine::tap("switch", lightsOut, state),
              (Events{ev::sfx(Sfx::power), ev::say("Click! The lights come on.")}));
    EXPECT_EQ(Engine::tap("switch", lightsOut, state), Events{ev::say("A light switch.")});
    EXPECT_FALSE(Engine::isDark(lightsOut, state));
    EXPECT_EQ(lightsOut.prop("switch")->currentArt(state.flags), Art{art::SwitchPlate{true}});

    // Room 24: the bulb from the boxes, used up in the socket.
    const Level& bulb = room(24);
    state = Engine::begin(bulb);
    EXPECT_TRUE(Engine::isDark(bulb, state));
    Engine::tap("boxes", bulb, state);
    useOn("bulb", "socket", bulb, state);
    EXPECT_FALSE(Engine::isDark(bulb, state));
    EXPECT_FALSE(holds(state, "bulb"));

    // Room 38: nothing lights it; the keypad and the door work in the dark.
    const Level& blackout = room(38);
    state = Engine::begin(blackout);
    EXPECT_EQ(Engine::tap("pad", blackout, state), (Events{ev::sfx(Sfx::tap), ev::panel("pad")}));
    Engine::solve("pad", blackout, state);
    EXPECT_EQ(Engine::tap("door", blackout, state), (Events{ev::sfx(Sfx::open), ev::enter()}));
    EXPECT_TRUE(Engine::isDark(blackout, state));
}

TEST(RoomMechanics, LightSwitchTurnsTheLightOffAndOnAgain) {
    const Events off = {ev::sfx(Sfx::power), ev::say("Click. Darkness.")};
    const Events on = {ev::sfx(Sfx::power), ev::say("Click. Light.")};
    for (int n : {41, 46}) {
        SCOPED_TRACE("room " + std::to_string(n));
        const Level& level = room(n);
        const Prop* glow = level.prop("g1");
        ASSERT_TRUE(level.prop("switch") && glow);

        GameState state = Engine::begin(level);
        EXPECT_FALSE(Engine::isDark(level, state)) << "starts lit";
        EXPECT_TRUE(Engine::tap("g1", level, state).empty()) << "the hidden glow answers nothing";

        EXPECT_EQ(Engine::tap("switch", level, state), off);
        EXPECT_TRUE(Engine::isDark(level, state));
        EXPECT_TRUE(glow->isVisible(state.flags));

        EXPECT_EQ(Engine::tap("switch", level, state), on);
        EXPECT_FALSE(Engine::isDark(level, state));
        EXPECT_TRUE(state.flags.count("saw_dark")) << "the record of the dark stays";
        EXPECT_FALSE(glow->isVisible(state.flags));
        EXPECT_EQ(Engine::tap("switch", level, state), off) << "and off again";
    }
}

TEST(RoomMechanics, ThreeOrbsSocketsTakeOnlyTheirOwnOrb) {
    const Level& level = room(11);
    GameState state = Engine::begin(level);
    for (const char* id : {"vase", "sofa", "pick_orb_green", "cab", "cab"}) Engine::tap(id, level, state);
    ASSERT_EQ(state.inventory, (std::vector<std::string>{"orb_red", "orb_green", "orb_blue"}));

    const std::string rightOrb[] = {"orb_green", "orb_blue", "orb_red"};
    const Tone tones[] = {Tone::green, Tone::blue, Tone::red};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string socket = "s_" + std::to_string(i);
        SCOPED_TRACE(socket);
        for (const std::string& orb : state.inventory) {
            if (orb == rightOrb[i]) continue;
            GameState probe = state;
            EXPECT_EQ(useOn(orb, socket, level, probe), kWrongOrb);
            EXPECT_TRUE(holds(probe, orb)) << "a wrong orb is kept";
        }
        EXPECT_EQ(Engine::tap("door", level, state), (Events{ev::sfx(Sfx::wrong), ev::say("It's locked.")}));
        EXPECT_EQ(useOn(rightOrb[i], socket, level, state),
                  (Events{ev::sfx(Sfx::unlock), ev::say("The orb settles into place.")}));
        EXPECT_FALSE(holds(state, rightOrb[i])) << "the right orb is used up";
        EXPECT_EQ(level.prop(socket)->currentArt(state.flags), (Art{art::Sockets{{tones[i]}}}));
        if (!state.inventory.empty()) {
            EXPECT_EQ(useOn(state.inventory.front(), socket, level, state), kNoUse) << "a filled socket takes nothing";
        }
    }
    EXPECT_EQ(Engine::tap("door", level, state), (Events{ev::sfx(Sfx::open), ev::enter()}));
}

TEST(RoomMechanics, BlownFuseBoxFillsInEitherOrder) {
    const Level& level = room(15);
    const Prop& box = *level.prop("box1");
    const Prop& tv = *level.prop("tv");
    const Events boxText = {ev::say("The fuse box has two empty slots, one red, one blue.")};
    struct Order { std::string first, second, firstFlag, firstSays; };
    for (const Order& order : {Order{"fuse_a", "fuse_b", "f1", "The red fuse slots in."},
                               Order{"fuse_b", "fuse_a", "f2", "The blue fuse slots in."}}) {
        SCOPED_TRACE(order.first + " first");
        GameState state = Engine::begin(level);
        for (const char* id : {"cab", "cab", "sofa", "pick_fuse_b"}) Engine::tap(id, level, state);
        EXPECT_EQ(Engine::tap("box1", level, state), boxText);
        EXPECT_EQ(useOn(order.first, "tv", level, state), kNoUse);
        EXPECT_TRUE(holds(state, order.first));

        EXPECT_EQ(useOn(order.first, "box1", level, state), (Events{ev::sfx(Sfx::unlock), ev::say(order.firstSays)}));
        EXPECT_TRUE(state.flags.count(order.firstFlag));
        EXPECT_EQ(box.currentArt(state.flags), (Art{art::FuseBox{1}}));
        EXPECT_EQ(tv.currentArt(state.flags), (Art{art::Tv{std::nullopt, false}})) << "one fuse is not enough";

        EXPECT_FALSE(useOn(order.second, "box1", level, state).empty());
        EXPECT_TRUE(state.inventory.empty());
        EXPECT_EQ(box.currentArt(state.flags), (Art{art::FuseBox{2}}));
        EXPECT_EQ(tv.currentArt(state.flags), (Art{art::Tv{"5193", true}}));
        EXPECT_EQ(Engine::tap("box1", level, state), boxText) << "the same words once both are in";
        EXPECT_FALSE(state.flags.count("unlocked")) << "the fuses only reveal the code";
    }
}

TEST(RoomMechanics, DoorsWithSeveralLocksOpenOnlyWithEveryLock) {
    struct Case { int room; std::vector<std::string> locks; std::string doorLook, key, keyFlag; };
    const std::vector<std::string> three = {"sock_s_0", "sock_s_1", "sock_s_2", "unlocked", "lockKey"};
    const Case cases[] = {
        {30, {"lockA", "lockB"}, "Two locks: a keyhole and a light panel.", "key", "lockA"},
        {40, three, "Three locks: a keyhole, a keypad and a ring of orbs.", "key", "lockKey"},
        {50, three, "Three locks. A keyhole, a keypad and a ring of orbs.", "dkey", "lockKey"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("room " + std::to_string(c.room));
        const Level& level = room(c.room);
        EXPECT_EQ(level.requires_, c.locks);
        const Events refused = {ev::sfx(Sfx::wrong), ev::say(c.doorLook)};
        const auto withLocks = [&](const std::string& missing) {
            GameState state = Engine::begin(level);
            state.inventory = {c.key};
            for (const std::string& flag : c.locks)
                if (flag != missing) state.flags.insert(flag);
            return state;
        };
        for (const std::string& missing : c.locks) {
            GameState state = withLocks(missing);
            EXPECT_EQ(Engine::tap("door", level, state), refused) << "without " << missing;
        }

        // The key goes in first: the keyhole keeps it, and the door still waits for the rest.
        GameState state = Engine::begin(level);
        state.inventory = {c.key};
        EXPECT_FALSE(has(useOn(c.key, "door", level, state), ev::enter()));
        EXPECT_TRUE(state.flags.count(c.keyFlag) && state.inventory.empty());
        EXPECT_EQ(Engine::tap("door", level, state), refused);
        state.flags.insert(c.locks.begin(), c.locks.end());
        EXPECT_EQ(Engine::tap("door", level, state), (Events{ev::sfx(Sfx::open), ev::enter()}));

        // The key goes in last: the same action opens the door.
        state = withLocks(c.keyFlag);
        const Events keyLast = useOn(c.key, "door", level, state);
        ASSERT_GE(keyLast.size(), 2u);
        EXPECT_EQ(Events(keyLast.end() - 2, keyLast.end()), (Events{ev::sfx(Sfx::open), ev::enter()}));
    }
}
