// Routes through rooms 37 to 50, written from each room's own clues.
#include "Walkthrough.hpp"

namespace walkthrough {

namespace {

// What the player enters on a letters lock: A is 0, Z is 25.
std::vector<int> spell(const std::string& word) {
    std::vector<int> entry;
    for (char c : word) entry.push_back(c - 'A');
    return entry;
}

// What the player presses on a colour panel: the place of each colour among its buttons.
std::vector<int> press(const std::vector<Tone>& buttons, const std::vector<Tone>& colours) {
    std::vector<int> entry;
    for (Tone colour : colours)
        entry.push_back(static_cast<int>(std::find(buttons.begin(), buttons.end(), colour) - buttons.begin()));
    return entry;
}

// Room 37: the plaque lists plants, clocks, paintings, lamps; the room holds 3, 1, 2 and 1.
Route census() {
    return {tap("census"), tap("pl1"), tap("pl2"), tap("pl3"), tap("clock"), tap("p1"), tap("p2"), tap("lamp"),
            tap("pad"), solve("pad", {3, 1, 2, 1}), tap("door")};
}

// Room 38: three glowing signs, read left to right: 7, 2, 9.
Route blackout() {
    return {tap("g1"), tap("g2"), tap("g3"), tap("pad"), solve("pad", {7, 2, 9}), tap("door")};
}

// Room 39: the sofa hides a small key for the chest; the chest's gear and the barrel's crank
// make the music box play, and its drawer holds the door key.
Route musicBox() {
    Route r = {tap("mbox"), tap("sofa"), tap("pick_key")};
    use(r, "key", "chest");
    r.push_back(tap("chest"));
    use(r, "gear", "mbox");
    r.push_back(tap("barrel"));
    r.push_back(tap("barrel"));
    use(r, "crank", "mbox");
    r.push_back(tap("mbox"));
    use(r, "dkey", "door");
    return r;
}

// Room 40: orbs from the vase, under the rug and in the chest go in as the dots show (blue,
// red, green); the clock at half past twelve as HHMM is 1230; the fridge holds the iron key.
Route threeLocks() {
    Route r = {tap("vase"), tap("rug"), tap("pick_orb_blue"), tap("chest"), tap("chest"), tap("order")};
    use(r, "orb_blue", "s_0");
    use(r, "orb_red", "s_1");
    use(r, "orb_green", "s_2");
    r.push_back(tap("clock"));
    r.push_back(tap("pad"));
    r.push_back(solve("pad", {1, 2, 3, 0}));
    r.push_back(tap("fridge"));
    r.push_back(tap("fridge"));
    use(r, "key", "door");
    return r;
}

// Room 41: the note speaks of glowing paint; with the light off, 3, 9 and 7 glow.
Route glowInTheDark() {
    return {tap("note"), tap("switch"), tap("g1"), tap("g2"), tap("g3"), tap("pad"), solve("pad", {3, 9, 7}),
            tap("door")};
}

// Room 42: stripes green, red, yellow, blue through the key RED 1, BLUE 2, GREEN 3, YELLOW 4.
Route colourCipher() {
    return {tap("stripes"), tap("legend"), tap("pad"), solve("pad", {3, 1, 4, 2}), tap("door")};
}

// Room 43: the clock showing 6:51 is the odd one; its key opens the chest, whose crank opens
// the trapdoor under the rug.
Route oddClockOut() {
    Route r = {tap("c1"), tap("c2"), tap("c3")};
    use(r, "key", "chest");
    r.push_back(tap("chest"));
    r.push_back(tap("rug"));
    use(r, "crank", "trap");
    r.push_back(tap("trap"));
    use(r, "dkey", "door");
    return r;
}

// Room 44: each chest hides the next key; the vase holds the red one.
Route chainReaction() {
    Route r = {tap("note"), tap("vase")};
    use(r, "kr", "c1");
    r.push_back(tap("c1"));
    use(r, "kg", "c2");
    r.push_back(tap("c2"));
    use(r, "kb", "c3");
    r.push_back(tap("c3"));
    use(r, "dkey", "door");
    return r;
}

// Room 45: the fridge's battery in the table's remote wakes the TV; repeat its six colours on
// the buttons (red, orange, green, blue, purple, yellow).
Route remoteControl() {
    const std::vector<Tone> buttons = {Tone::red, Tone::orange, Tone::green, Tone::blue, Tone::purple, Tone::yellow};
    const std::vector<Tone> flashed = {Tone::purple, Tone::red, Tone::blue, Tone::orange, Tone::red, Tone::green};
    Route r = {tap("tv"), tap("fridge"), tap("fridge"), tap("pick_remote")};
    combine(r, "battery", "remote");
    use(r, "remote2", "tv");
    r.push_back(tap("buttons"));
    r.push_back(solve("buttons", press(buttons, flashed)));
    r.push_back(tap("door"));
    return r;
}

// Room 46: 4 and 8 on the walls by day; with the light off, 1 on the floor and 5 on the right.
Route dayAndNight() {
    return {tap("d1"), tap("d2"), tap("switch"), tap("g1"), tap("g2"), tap("switch"), tap("pad"),
            solve("pad", {4, 8, 1, 5}), tap("door")};
}

// Room 47: the sums 6+3, 4x2, 9-5, 1+1 open the safe; the vault key opens the cabinet; its
// torch with the fridge's battery lights the blank poster in UV: 5710.
Route theVault() {
    Route r = {tap("maths"), tap("safe"), solve("safe", {9, 8, 4, 2})};
    use(r, "vk", "cab");
    r.push_back(tap("cab"));
    r.push_back(tap("fridge"));
    r.push_back(tap("fridge"));
    combine(r, "torch", "battery");
    use(r, "uv", "wall");
    r.push_back(tap("pad"));
    r.push_back(solve("pad", {5, 7, 1, 0}));
    r.push_back(tap("door"));
    return r;
}

// Room 48: blue and yellow make green, red and blue purple, yellow and red orange; the red orb
// on the pedestal fits nowhere.
Route orbAlley() {
    Route r = {tap("mix"), tap("note"), tap("vase"), tap("chest"), tap("chest"), tap("boxes")};
    use(r, "orb_green", "s_0");
    use(r, "orb_purple", "s_1");
    use(r, "orb_orange", "s_2");
    r.push_back(tap("door"));
    return r;
}

// Room 49: the cabinet's fuse lights the room; 5 19 3 1 16 5 with A=1 spells ESCAPE.
Route theLongDark() {
    Route r = {tap("cab"), tap("cab")};
    use(r, "fuse", "box");
    r.push_back(tap("nums"));
    r.push_back(tap("abc"));
    r.push_back(tap("word"));
    r.push_back(solve("word", spell("ESCAPE")));
    r.push_back(tap("door"));
    return r;
}

// Room 50: orbs from the vase, under the rug and in the chest (the sofa's silver key opens it)
// go in as the dots show: red, green, blue; L and L with L = 50 make 5050; the boxes hold the
// golden key.
Route theLastDoor() {
    Route r = {tap("vase"), tap("rug"), tap("pick_orb_green"), tap("sofa"), tap("pick_sk")};
    use(r, "sk", "chest");
    r.push_back(tap("chest"));
    r.push_back(tap("order"));
    use(r, "orb_red", "s_0");
    use(r, "orb_green", "s_1");
    use(r, "orb_blue", "s_2");
    r.push_back(tap("roman"));
    r.push_back(tap("rule"));
    r.push_back(tap("pad"));
    r.push_back(solve("pad", {5, 0, 5, 0}));
    r.push_back(tap("boxes"));
    use(r, "dkey", "door");
    return r;
}

}  // namespace

const std::vector<RoomRoute>& routesRooms37to50() {
    static const std::vector<RoomRoute> routes = {
        {37, census()},        {38, blackout()},      {39, musicBox()},      {40, threeLocks()},
        {41, glowInTheDark()}, {42, colourCipher()},  {43, oddClockOut()},   {44, chainReaction()},
        {45, remoteControl()}, {46, dayAndNight()},   {47, theVault()},      {48, orbAlley()},
        {49, theLongDark()},   {50, theLastDoor()},
    };
    return routes;
}

}  // namespace walkthrough

TEST(Walkthrough, Rooms37to50) {
    for (const auto& [room, route] : walkthrough::routesRooms37to50()) {
        SCOPED_TRACE("room " + std::to_string(room));
        walkthrough::playRoom(ostrevan::Levels::all().at(static_cast<std::size_t>(room - 1)), route);
    }
}
