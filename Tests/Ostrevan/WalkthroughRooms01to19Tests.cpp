// Routes through rooms 01 to 19, written from each room's own clues.
#include "Walkthrough.hpp"

namespace walkthrough {

namespace {

// A keypad entry as typed: "0420" -> 0, 4, 2, 0.
std::vector<int> typed(const std::string& digits) {
    std::vector<int> entry;
    for (char c : digits) entry.push_back(c - '0');
    return entry;
}

// A letters entry as spelled, A being 0.
std::vector<int> spelled(const std::string& word) {
    std::vector<int> entry;
    for (char c : word) entry.push_back(c - 'A');
    return entry;
}

// Tap the lock, then enter what the clues give, then tap the door.
Route openLockThenDoor(const std::string& lock, std::vector<int> entry) {
    return {tap(lock), solve(lock, std::move(entry)), tap("door")};
}

}  // namespace

const std::vector<RoomRoute>& routesRooms01to19() {
    static const std::vector<RoomRoute> routes = [] {
        std::vector<RoomRoute> all;

        // Something rattles in the vase.
        Route r1 = {tap("vase")};
        use(r1, "key", "door");
        all.push_back({1, r1});

        // Three signs read left to right: 4, 8, 2.
        all.push_back({2, openLockThenDoor("pad", typed("482"))});

        // The rug hides the little key; the little key opens the cabinet; the cabinet holds the door key.
        Route r3 = {tap("rug"), tap("pick_small")};
        use(r3, "small", "cab");
        r3.push_back(tap("cab"));
        use(r3, "key", "door");
        all.push_back({3, r3});

        // Stripes blue, red, yellow, green, pressed on the row red, yellow, green, blue, purple.
        all.push_back({4, openLockThenDoor("buttons", {3, 0, 1, 2})});

        // The fridge's battery powers the radio, which then shows 719.
        Route r5 = {tap("fridge"), tap("fridge")};
        use(r5, "battery", "radio");
        r5.push_back(tap("pad"));
        r5.push_back(solve("pad", typed("719")));
        r5.push_back(tap("door"));
        all.push_back({5, r5});

        // The working clock says 4:20; the note asks for HHMM.
        all.push_back({6, openLockThenDoor("pad", typed("0420"))});

        // Books by the legend's colours: 4 red, 2 blue, 3 green.
        all.push_back({7, openLockThenDoor("pad", typed("423"))});

        // Find the switch on the right wall, then search the vase.
        Route r8 = {tap("switch"), tap("vase")};
        use(r8, "key", "door");
        all.push_back({8, r8});

        // The head on the shelf and the blade in the cabinet make one key.
        Route r9 = {tap("pick_top"), tap("cab"), tap("cab")};
        combine(r9, "top", "blade");
        use(r9, "key", "door");
        all.push_back({9, r9});

        // The mirror's digits, read back the right way round.
        all.push_back({10, openLockThenDoor("pad", typed("1583"))});

        // Orbs from the vase, under the cushion and in the cabinet; the dots say green, blue, red.
        Route r11 = {tap("vase"), tap("sofa"), tap("pick_orb_green"), tap("cab"), tap("cab")};
        use(r11, "orb_green", "s_0");
        use(r11, "orb_blue", "s_1");
        use(r11, "orb_red", "s_2");
        r11.push_back(tap("door"));
        all.push_back({11, r11});

        // The rug from the left: moon, drop, star, on dials of star, moon, sun, heart, bolt, drop.
        all.push_back({12, openLockThenDoor("dials", {1, 5, 0})});

        // The barrel's net fishes the key out of the tank.
        Route r13 = {tap("barrel"), tap("barrel")};
        use(r13, "net", "tank");
        use(r13, "key", "door");
        all.push_back({13, r13});

        // The lamps above the door: on, off, on, on, off.
        all.push_back({14, openLockThenDoor("sw", {1, 0, 1, 1, 0})});

        // Both fuses in the box light the TV, which shows 5193.
        Route r15 = {tap("cab"), tap("cab"), tap("sofa"), tap("pick_fuse_b")};
        use(r15, "fuse_a", "box1");
        use(r15, "fuse_b", "box1");
        r15.push_back(tap("pad"));
        r15.push_back(solve("pad", typed("5193")));
        r15.push_back(tap("door"));
        all.push_back({15, r15});

        // Letters by their plaques: K 1, I 2, N 3, G 4.
        all.push_back({16, openLockThenDoor("word", spelled("KING"))});

        // IV, IX, II, VII.
        all.push_back({17, openLockThenDoor("pad", typed("4927"))});

        // Dice 5, 2, 6, then two windows.
        all.push_back({18, openLockThenDoor("pad", typed("5262"))});

        // Blue + yellow, red + blue, yellow + red make green, purple, orange, pressed on the row
        // red, yellow, blue, green, orange, purple.
        all.push_back({19, openLockThenDoor("buttons", {3, 5, 4})});

        return all;
    }();
    return routes;
}

}  // namespace walkthrough

TEST(Walkthrough, Rooms01to19) {
    for (const auto& [room, route] : walkthrough::routesRooms01to19()) {
        SCOPED_TRACE("room " + std::to_string(room));
        walkthrough::playRoom(ostrevan::Levels::all().at(static_cast<std::size_t>(room - 1)), route);
    }
}
