// Mechanics that a room introduces and the plain walkthroughs don't pin down: the first dark
// room, the first row of sockets and the fuse box.
#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace ostrevan;

namespace {

const Level& room(int number) { return Levels::all().at(static_cast<std::size_t>(number - 1)); }

bool holdsItem(const GameState& state, const std::string& item) {
    return std::find(state.inventory.begin(), state.inventory.end(), item) != state.inventory.end();
}

std::vector<Event> useOn(const std::string& item, const std::string& prop, const Level& level, GameState& state) {
    Engine::tapItem(item, level, state);
    return Engine::tap(prop, level, state);
}

// Plays taps that must all be answered.
void tapAll(const std::vector<std::string>& props, const Level& level, GameState& state) {
    for (const std::string& prop : props) EXPECT_FALSE(Engine::tap(prop, level, state).empty()) << prop;
}

}  // namespace

TEST(RoomMechanics, LightsOutStaysDarkUntilTheSwitch) {
    const Level& level = room(8);
    GameState state = Engine::begin(level);
    EXPECT_TRUE(Engine::isDark(level, state));

    // Darkness is for the eye only: the rules answer in the dark as in the light.
    EXPECT_EQ(Engine::tap("art", level, state), std::vector<Event>{ev::say("Someone stares back.")});
    EXPECT_TRUE(Engine::isDark(level, state));

    EXPECT_EQ(Engine::tap("switch", level, state),
              (std::vector<Event>{ev::sfx(Sfx::power), ev::say("Click! The lights come on.")}));
    EXPECT_FALSE(Engine::isDark(level, state));
    EXPECT_EQ(level.prop("switch")->currentArt(state.flags), (Art{art::SwitchPlate{true}}));

    // There is no turning it off again.
    EXPECT_EQ(Engine::tap("switch", level, state), std::vector<Event>{ev::say("A light switch.")});
    EXPECT_FALSE(Engine::isDark(level, state));
}

TEST(RoomMechanics, ThreeOrbsSocketsTakeOnlyTheirOwnOrb) {
    const Level& level = room(11);
    GameState state = Engine::begin(level);
    tapAll({"vase", "sofa", "pick_orb_green", "cab", "cab"}, level, state);
    ASSERT_EQ(state.inventory, (std::vector<std::string>{"orb_red", "orb_green", "orb_blue"}));

    const std::vector<std::string> rightOrb = {"orb_green", "orb_blue", "orb_red"};
    const std::vector<Tone> tones = {Tone::green, Tone::blue, Tone::red};
    for (std::size_t i = 0; i < rightOrb.size(); ++i) {
        const std::string socket = "s_" + std::to_string(i);
        const std::string flag = "sock_s_" + std::to_string(i);
        SCOPED_TRACE(socket);

        for (const std::string& orb : state.inventory) {
            if (orb == rightOrb[i]) continue;
            GameState probe = state;
            EXPECT_EQ(useOn(orb, socket, level, probe),
                      (std::vector<Event>{ev::sfx(Sfx::wrong), ev::say("It doesn't fit this socket.")}));
            EXPECT_TRUE(holdsItem(probe, orb)) << "a wrong orb is kept";
            EXPECT_FALSE(probe.flags.count(flag));
            EXPECT_FALSE(probe.selected.has_value());
        }

        EXPECT_EQ(Engine::tap("door", level, state),
                  (std::vector<Event>{ev::sfx(Sfx::wrong), ev::say("It's locked.")}));
        EXPECT_EQ(useOn(rightOrb[i], socket, level, state),
                  (std::vector<Event>{ev::sfx(Sfx::unlock), ev::say("The orb settles into place.")}));
        EXPECT_FALSE(holdsItem(state, rightOrb[i])) << "the right orb is used up";
        EXPECT_TRUE(state.flags.count(flag));
        EXPECT_EQ(level.prop(socket)->currentArt(state.flags), (Art{art::Sockets{{tones[i]}}}));

        // A filled socket takes nothing more.
        if (!state.inventory.empty()) {
            const std::string other = state.inventory.front();
            EXPECT_EQ(useOn(other, socket, level, state),
                      (std::vector<Event>{ev::sfx(Sfx::wrong), ev::say("That doesn't work here.")}));
            EXPECT_TRUE(holdsItem(state, other));
        }
    }
    EXPECT_EQ(Engine::tap("door", level, state), (std::vector<Event>{ev::sfx(Sfx::open), ev::enter()}));
}

TEST(RoomMechanics, BlownFuseBoxFillsInEitherOrder) {
    const Level& level = room(15);
    const Prop& box = *level.prop("box1");
    const Prop& tv = *level.prop("tv");
    const std::vector<Event> boxText = {ev::say("The fuse box has two empty slots, one red, one blue.")};

    struct Case {
        std::string first, second, firstFlag, firstSays;
    };
    const std::vector<Case> orders = {
        {"fuse_a", "fuse_b", "f1", "The red fuse slots in."},
        {"fuse_b", "fuse_a", "f2", "The blue fuse slots in."},
    };
    for (const Case& order : orders) {
        SCOPED_TRACE(order.first + " first");
        GameState state = Engine::begin(level);
        tapAll({"cab", "cab", "sofa", "pick_fuse_b"}, level, state);
        EXPECT_EQ(box.currentArt(state.flags), (Art{art::FuseBox{0}}));
        EXPECT_EQ(Engine::tap("box1", level, state), boxText);

        // The TV takes no fuse; the fuse stays in hand.
        EXPECT_EQ(useOn(order.first, "tv", level, state),
                  (std::vector<Event>{ev::sfx(Sfx::wrong), ev::say("That doesn't work here.")}));
        EXPECT_TRUE(holdsItem(state, order.first));

        EXPECT_EQ(useOn(order.first, "box1", level, state),
                  (std::vector<Event>{ev::sfx(Sfx::unlock), ev::say(order.firstSays)}));
        EXPECT_TRUE(state.flags.count(order.firstFlag));
        EXPECT_FALSE(holdsItem(state, order.first));
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
