// Routes through rooms 20 to 36, written from each room's own clues.
#include "Walkthrough.hpp"

#include <string_view>

namespace walkthrough {

namespace {

// A code typed on a keypad, digit by digit.
Action typeCode(std::string panelID, std::string_view code) {
    std::vector<int> entry;
    for (char c : code) entry.push_back(c - '0');
    return solve(std::move(panelID), std::move(entry));
}

// A word spelled on a letters panel (A is the first letter).
Action spell(std::string panelID, std::string_view word) {
    std::vector<int> entry;
    for (char c : word) entry.push_back(c - 'A');
    return solve(std::move(panelID), std::move(entry));
}

// Colour buttons pressed in order: each press is the button of that colour on the panel shown.
Action press(int room, std::string panelID, const std::vector<Tone>& presses) {
    std::vector<int> entry;
    const Panel* panel = Levels::all().at(static_cast<std::size_t>(room - 1)).panel(panelID);
    const auto* colours = panel ? std::get_if<entry::Colors>(&panel->kind) : nullptr;
    for (Tone tone : presses) {
        if (!colours) break;
        const auto it = std::find(colours->palette.begin(), colours->palette.end(), tone);
        entry.push_back(static_cast<int>(it - colours->palette.begin()));
    }
    return solve(std::move(panelID), std::move(entry));
}

RoomRoute trapdoor() {
    Route r{tap("rug"), tap("barrel"), tap("barrel")};
    use(r, "crank", "trap");
    r.push_back(tap("trap"));
    use(r, "key", "door");
    return {20, r};
}

RoomRoute fishingAgain() {
    Route r{tap("pick_screwdriver")};
    use(r, "screwdriver", "vent");
    r.insert(r.end(), {tap("chest"), tap("chest"), tap("boxes")});
    combine(r, "magnet", "string");
    use(r, "line", "vent");
    use(r, "key", "door");
    return {21, r};
}

RoomRoute blackLight() {
    Route r{tap("fridge"), tap("fridge"), tap("pick_torch")};
    combine(r, "battery", "torch");
    use(r, "uv", "wall");
    // The poster glows "2931".
    r.insert(r.end(), {tap("pad"), typeCode("pad", "2931"), tap("door")});
    return {22, r};
}

RoomRoute safeSums() {
    // 3+4, 2x3, 9-2, 8/2 read in rows.
    Route r{tap("safe"), typeCode("safe", "7674")};
    use(r, "card", "reader");
    r.push_back(tap("door"));
    return {23, r};
}

RoomRoute bulbMoment() {
    Route r{tap("boxes")};
    use(r, "bulb", "socket");
    // The signs read 6, 1, 8 from left to right.
    r.insert(r.end(), {tap("pad"), typeCode("pad", "618"), tap("door")});
    return {24, r};
}

RoomRoute lowToHigh() {
    // Plaques: blue 1, yellow 2, red 3, green 4.
    Route r{tap("buttons"), press(25, "buttons", {Tone::blue, Tone::yellow, Tone::red, Tone::green}),
            tap("door")};
    return {25, r};
}

RoomRoute twoChests() {
    Route r{tap("vase"), tap("rug"), tap("pick_key_b")};
    use(r, "key_r", "chest_r");
    r.push_back(tap("chest_r"));
    use(r, "key_b", "chest_b");
    r.push_back(tap("chest_b"));
    combine(r, "gear_l", "gear_r");
    use(r, "gear", "slot");
    r.push_back(tap("door"));
    return {26, r};
}

RoomRoute waterworks() {
    Route r{tap("pick_bucket")};
    use(r, "bucket", "barrel");
    use(r, "full", "fountain");
    r.push_back(tap("pick_key"));
    use(r, "key", "door");
    return {27, r};
}

RoomRoute threeClues() {
    // Three lamps lit, seven o'clock, the sign 5.
    return {28, {tap("dials"), solve("dials", {3, 7, 5}), tap("door")}};
}

RoomRoute simonSays() {
    return {29,
            {tap("buttons"),
             press(29, "buttons", {Tone::green, Tone::red, Tone::blue, Tone::yellow, Tone::red}),
             tap("door")}};
}

RoomRoute twoLocks() {
    // The dice show 3, 6, 2; the stripes run yellow, green, red.
    Route r{tap("chest"), typeCode("chest", "362")};
    use(r, "key", "door");
    r.insert(r.end(), {tap("panel"), press(30, "panel", {Tone::yellow, Tone::green, Tone::red}), tap("door")});
    return {30, r};
}

RoomRoute throughTheGlass() {
    // The mirror, read from the right: up, down, down, up, up; up means on.
    return {31, {tap("levers"), solve("levers", {1, 0, 0, 1, 1}), tap("door")}};
}

RoomRoute secretCode() {
    // 8 5 12 12 15 with A=1.
    return {32, {tap("word"), spell("word", "HELLO"), tap("door")}};
}

RoomRoute coldStorage() {
    Route r{tap("vase")};
    use(r, "small", "cab");
    r.push_back(tap("cab"));
    use(r, "match", "ice");
    use(r, "key", "door");
    return {33, r};
}

RoomRoute binaryLamps() {
    // 0101, 0111, 1001.
    return {34, {tap("pad"), typeCode("pad", "579"), tap("door")}};
}

RoomRoute grandPiano() {
    return {35,
            {tap("piano"),
             press(35, "piano", {Tone::yellow, Tone::blue, Tone::red, Tone::purple, Tone::green}),
             tap("door")}};
}

RoomRoute finePrint() {
    Route r{tap("cab"), tap("cab")};
    use(r, "lens", "stamp");
    // The magnified stamp reads 6402.
    r.insert(r.end(), {tap("pad"), typeCode("pad", "6402"), tap("door")});
    return {36, r};
}

}  // namespace

const std::vector<RoomRoute>& routesRooms20to36() {
    static const std::vector<RoomRoute> routes = [] {
        return std::vector<RoomRoute>{
            trapdoor(),   fishingAgain(),    blackLight(), safeSums(),    bulbMoment(),  lowToHigh(),
            twoChests(),  waterworks(),      threeClues(), simonSays(),   twoLocks(),    throughTheGlass(),
            secretCode(), coldStorage(),     binaryLamps(), grandPiano(), finePrint(),
        };
    }();
    return routes;
}

}  // namespace walkthrough

TEST(Walkthrough, Rooms20to36) {
    // One route for every room of the block, in order.
    int expected = 20;
    for (const auto& [room, route] : walkthrough::routesRooms20to36()) EXPECT_EQ(room, expected++);
    EXPECT_EQ(expected, 37);

    for (const auto& [room, route] : walkthrough::routesRooms20to36()) {
        SCOPED_TRACE("room " + std::to_string(room));
        walkthrough::playRoom(ostrevan::Levels::all().at(static_cast<std::size_t>(room - 1)), route);
    }
}
