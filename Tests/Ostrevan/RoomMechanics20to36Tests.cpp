// Mechanics of rooms 20 to 36 that a walkthrough alone does not pin down.
#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace ostrevan;

const Level& room(int n) { return Levels::all().at(static_cast<std::size_t>(n - 1)); }

const Prop& propOf(const Level& level, const std::string& id) {
    const Prop* prop = level.prop(id);
    if (!prop) throw std::runtime_error("room " + std::to_string(level.id) + " has no prop " + id);
    return *prop;
}

const Panel& panelOf(const Level& level, const std::string& id) {
    const Panel* panel = level.panel(id);
    if (!panel) throw std::runtime_error("room " + std::to_string(level.id) + " has no panel " + id);
    return *panel;
}

// The art a prop shows once `flags` are set.
template <typename T>
const T& artOf(const Level& level, const std::string& id, const FlagSet& flags = {}) {
    return std::get<T>(propOf(level, id).currentArt(flags));
}

// Where each tone sits on the colour panel, as the panel's answer encodes a press.
std::vector<int> presses(const Panel& panel, const std::vector<Tone>& tones) {
    const auto& palette = std::get<entry::Colors>(panel.kind).palette;
    std::vector<int> out;
    for (Tone t : tones) out.push_back(static_cast<int>(std::find(palette.begin(), palette.end(), t) - palette.begin()));
    return out;
}

std::vector<int> digitsOf(const std::string& text) {
    std::vector<int> out;
    for (char c : text) out.push_back(c - '0');
    return out;
}

std::vector<Event> useItem(const std::string& item, const std::string& prop, const Level& level, GameState& state) {
    Engine::tapItem(item, level, state);
    return Engine::tap(prop, level, state);
}

bool holdsItem(const GameState& state, const std::string& item) {
    return std::find(state.inventory.begin(), state.inventory.end(), item) != state.inventory.end();
}

}  // namespace

// Every lock of the block agrees with the clue the room shows for it.
TEST(RoomMechanics20to36, CluesMatchTheirLocks) {
    // 22 and 36: the revealed text is the keypad code.
    EXPECT_EQ(digitsOf(artOf<art::Glow>(room(22), "wall", {"uv_seen"}).text), panelOf(room(22), "pad").answer);
    EXPECT_EQ(digitsOf(*artOf<art::Stamp>(room(36), "stamp", {"magnified"}).text), panelOf(room(36), "pad").answer);

    // 23: the four sums, read in rows.
    {
        std::istringstream sums(artOf<art::Poster>(room(23), "maths").text);
        std::vector<int> results;
        int a = 0, b = 0;
        char op = 0;
        while (sums >> a >> op >> b) {
            switch (op) {
            case '+': results.push_back(a + b); break;
            case '-': results.push_back(a - b); break;
            case 'x': results.push_back(a * b); break;
            case '/': results.push_back(a / b); break;
            default: ADD_FAILURE() << "unknown operator " << op;
            }
        }
        EXPECT_EQ(results, panelOf(room(23), "safe").answer);
    }

    // 24: the signs, left to right.
    {
        std::vector<std::pair<double, int>> signs;
        for (const char* id : {"s1", "s2", "s3"})
            signs.emplace_back(propOf(room(24), id).rect.x, std::stoi(artOf<art::Digit>(room(24), id).text));
        std::sort(signs.begin(), signs.end());
        std::vector<int> code;
        for (const auto& s : signs) code.push_back(s.second);
        EXPECT_EQ(code, panelOf(room(24), "pad").answer);
    }

    // 25: the balls' colours in the order of their plaques.
    {
        std::vector<std::pair<int, Tone>> balls;
        for (int i = 0; i < 4; ++i) {
            const std::string n = std::to_string(i);
            balls.emplace_back(std::stoi(artOf<art::Plaque>(room(25), "num" + n).text),
                               artOf<art::Ball>(room(25), "ball" + n).tone);
        }
        std::sort(balls.begin(), balls.end());
        std::vector<Tone> order;
        for (const auto& b : balls) order.push_back(b.second);
        const Panel& panel = panelOf(room(25), "buttons");
        EXPECT_EQ(presses(panel, order), panel.answer);
    }

    // 28: lit lamps, the hour, the sign.
    {
        const auto& lit = artOf<art::Lamps>(room(28), "lamps").lit;
        const std::vector<int> clues{static_cast<int>(std::count(lit.begin(), lit.end(), true)),
                                     artOf<art::Clock>(room(28), "clock").h,
                                     std::stoi(artOf<art::Digit>(room(28), "sign").text)};
        EXPECT_EQ(clues, panelOf(room(28), "dials").answer);
    }

    // 29, 35 and 30's light panel: a row of colours on the wall is the colour sequence.
    EXPECT_EQ(presses(panelOf(room(29), "buttons"), artOf<art::TvFlash>(room(29), "tv").tones),
              panelOf(room(29), "buttons").answer);
    EXPECT_EQ(presses(panelOf(room(35), "piano"), artOf<art::Dots>(room(35), "sheet").tones),
              panelOf(room(35), "piano").answer);
    EXPECT_EQ(presses(panelOf(room(30), "panel"), artOf<art::Stripes>(room(30), "stripes").tones),
              panelOf(room(30), "panel").answer);

    // 30: the dice are the chest code.
    EXPECT_EQ(artOf<art::Dice>(room(30), "dice").values, panelOf(room(30), "chest").answer);

    // 31: the mirror's arrows, stored in answer order; up is on.
    {
        const std::string up = "\xE2\x86\x91";
        const std::string down = "\xE2\x86\x93";
        const std::string arrows = *artOf<art::Mirror>(room(31), "mirror").text;
        std::vector<int> levers;
        for (std::size_t i = 0; i + 3 <= arrows.size(); i += 3) {
            const std::string arrow = arrows.substr(i, 3);
            ASSERT_TRUE(arrow == up || arrow == down) << "not an arrow at byte " << i;
            levers.push_back(arrow == up ? 1 : 0);
        }
        EXPECT_EQ(arrows.size(), 15u);
        EXPECT_EQ(levers, panelOf(room(31), "levers").answer);
    }

    // 32: numbers from A = 1; the panel counts from A = 0.
    {
        std::istringstream nums(artOf<art::Poster>(room(32), "nums").text);
        std::vector<int> letters;
        for (int n = 0; nums >> n;) letters.push_back(n - 1);
        EXPECT_EQ(letters, panelOf(room(32), "word").answer);
    }

    // 34: each lamp row is a four-bit number, lit = 1.
    {
        std::vector<int> code;
        for (const char* id : {"r1", "r2", "r3"}) {
            int value = 0;
            for (bool bit : artOf<art::Lamps>(room(34), id).lit) value = value * 2 + (bit ? 1 : 0);
            code.push_back(value);
        }
        EXPECT_EQ(code, panelOf(room(34), "pad").answer);
    }
}

// Props that hide under something are out of reach until it is moved or filled.
TEST(RoomMechanics20to36, HiddenPropsAppearWithTheirFlag) {
    struct Case {
        int room;
        const char* prop;
        const char* flag;
    };
    for (const Case& c : {Case{20, "trap", "rug_moved"}, Case{26, "pick_key_b", "rug_moved"},
                          Case{27, "pick_key", "filled"}}) {
        SCOPED_TRACE(c.prop);
        const Prop& prop = propOf(room(c.room), c.prop);
        EXPECT_FALSE(prop.isVisible(Engine::begin(room(c.room)).flags));
        EXPECT_TRUE(prop.isVisible({c.flag}));
    }
}

// Room 30: the keyhole and the light panel each set one flag; only both open the door.
TEST(RoomMechanics20to36, TwoLocksNeedBothFlags) {
    const Level& level = room(30);
    const Event locked = ev::say("Two locks: a keyhole and a light panel.");

    // The key alone.
    GameState keyOnly = Engine::begin(level);
    Engine::solve("chest", level, keyOnly);
    ASSERT_TRUE(holdsItem(keyOnly, "key"));
    auto events = useItem("key", "door", level, keyOnly);
    EXPECT_TRUE(keyOnly.flags.count("lockA"));
    EXPECT_FALSE(holdsItem(keyOnly, "key")) << "the key stays in the lock";
    EXPECT_FALSE(std::count(events.begin(), events.end(), ev::enter()));
    events = Engine::tap("door", level, keyOnly);
    EXPECT_EQ(events, (std::vector<Event>{ev::sfx(Sfx::wrong), locked}));

    // The light panel alone.
    GameState panelOnly = Engine::begin(level);
    Engine::solve("panel", level, panelOnly);
    EXPECT_TRUE(panelOnly.flags.count("lockB"));
    EXPECT_EQ(Engine::tap("door", level, panelOnly), (std::vector<Event>{ev::sfx(Sfx::wrong), locked}));

    // Panel first: turning the key then opens the door in the same action.
    Engine::solve("chest", level, panelOnly);
    events = useItem("key", "door", level, panelOnly);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), ev::enter());

    // The hints keep their order (chest, key, panel) even when the panel was solved first.
    GameState hints = Engine::begin(level);
    Engine::solve("panel", level, hints);
    EXPECT_EQ(Engine::hint(level, hints), "The chest wants a code.");
    Engine::solve("chest", level, hints);
    EXPECT_EQ(Engine::hint(level, hints), "Use the key on the door.");
}

// Room 24 is dark until the bulb is in, but darkness blocks no tap.
TEST(RoomMechanics20to36, BulbLightsTheDarkRoom) {
    const Level& level = room(24);
    GameState state = Engine::begin(level);
    EXPECT_TRUE(Engine::isDark(level, state));
    const auto opened = Engine::tap("pad", level, state);
    EXPECT_EQ(std::count(opened.begin(), opened.end(), ev::panel("pad")), 1);

    Engine::tap("boxes", level, state);
    useItem("bulb", "socket", level, state);
    EXPECT_FALSE(Engine::isDark(level, state));
    EXPECT_FALSE(holdsItem(state, "bulb"));
    EXPECT_EQ(propOf(level, "socket").currentArt(state.flags), Art{art::Lamps{{true}}});
}

// Room 21: the grille must come off before the line can fish; the line survives the fishing.
TEST(RoomMechanics20to36, VentOpensBeforeFishing) {
    const Level& level = room(21);
    GameState state = Engine::begin(level);
    for (const char* id : {"pick_screwdriver", "chest", "chest", "boxes"}) Engine::tap(id, level, state);

    EXPECT_EQ(useItem("magnet", "vent", level, state),
              (std::vector<Event>{ev::sfx(Sfx::wrong), ev::say("That doesn't work here.")}));
    Engine::tapItem("magnet", level, state);
    Engine::tapItem("string", level, state);
    ASSERT_TRUE(holdsItem(state, "line"));
    EXPECT_EQ(useItem("line", "vent", level, state),
              (std::vector<Event>{ev::sfx(Sfx::wrong), ev::say("The grille is in the way.")}));

    useItem("screwdriver", "vent", level, state);
    EXPECT_EQ(Engine::tap("vent", level, state),
              (std::vector<Event>{ev::say("A dark shaft. The key is too far to reach.")}));
    useItem("line", "vent", level, state);
    EXPECT_TRUE(holdsItem(state, "key"));
    EXPECT_TRUE(holdsItem(state, "line"));
    EXPECT_EQ(Engine::tap("vent", level, state), (std::vector<Event>{ev::say("A vent.")}));
}

// Room 25's balls and plaques come from a loop; they land where the room's layout puts them.
TEST(RoomMechanics20to36, BallsStandOverTheirPlaques) {
    const std::vector<std::pair<std::string, Rect>> golden{
        {"ball0", {102, 536, 56, 56}}, {"num0", {112, 598, 36, 24}}, {"ball1", {290, 492, 56, 56}},
        {"num1", {300, 554, 36, 24}},  {"ball2", {654, 492, 56, 56}}, {"num2", {664, 554, 36, 24}},
        {"ball3", {842, 536, 56, 56}}, {"num3", {852, 598, 36, 24}},
    };
    const Level& level = room(25);
    ASSERT_GE(level.props.size(), golden.size());
    for (std::size_t i = 0; i < golden.size(); ++i) {
        EXPECT_EQ(level.props[i].id, golden[i].first);
        EXPECT_EQ(level.props[i].rect, golden[i].second) << golden[i].first;
    }
    EXPECT_EQ(propOf(level, "ball2").look, "A green ball.");
    EXPECT_EQ(propOf(level, "num3").look, "The number 2.");
}
