// Routes through rooms 01 to 19, written from each room's own clues.
#include "Walkthrough.hpp"

namespace walkthrough {

const std::vector<RoomRoute>& routesRooms01to19() {
    static const std::vector<RoomRoute> routes = {
        // Something rattles in the vase.
        {1, route({tap("vase"), use("key", "door")})},
        // Three signs read left to right: 4, 8, 2.
        {2, route({open("pad", digits("482")), tap("door")})},
        // The rug hides the little key; the little key opens the cabinet; the cabinet holds the door key.
        {3, route({tap("rug"), tap("pick_small"), use("small", "cab"), tap("cab"), use("key", "door")})},
        // Stripes blue, red, yellow, green, pressed on the row red, yellow, green, blue, purple.
        {4, route({open("buttons", {3, 0, 1, 2}), tap("door")})},
        // The fridge's battery powers the radio, which then shows 719.
        {5, route({tap("fridge"), tap("fridge"), use("battery", "radio"), open("pad", digits("719")), tap("door")})},
        // The working clock says 4:20; the note asks for HHMM.
        {6, route({open("pad", digits("0420")), tap("door")})},
        // Books by the legend's colours: 4 red, 2 blue, 3 green.
        {7, route({open("pad", digits("423")), tap("door")})},
        // Find the switch on the right wall, then search the vase.
        {8, route({tap("switch"), tap("vase"), use("key", "door")})},
        // The blade in the cabinet and the head on the shelf make one key; the hints ask for the
        // blade first.
        {9, route({tap("cab"), tap("cab"), tap("pick_top"), combine("top", "blade"), use("key", "door")})},
        // The mirror's digits, read back the right way round.
        {10, route({open("pad", digits("1583")), tap("door")})},
        // Orbs from the vase, under the cushion and in the cabinet; the dots say green, blue, red.
        {11, route({tap("vase"), tap("sofa"), tap("pick_orb_green"), tap("cab"), tap("cab"), use("orb_green", "s_0"),
                    use("orb_blue", "s_1"), use("orb_red", "s_2"), tap("door")})},
        // The rug from the left: moon, drop, star, on dials of star, moon, sun, heart, bolt, drop.
        {12, route({open("dials", {1, 5, 0}), tap("door")})},
        // The barrel's net fishes the key out of the tank.
        {13, route({tap("barrel"), tap("barrel"), use("net", "tank"), use("key", "door")})},
        // The lamps above the door: on, off, on, on, off.
        {14, route({open("sw", {1, 0, 1, 1, 0}), tap("door")})},
        // Both fuses in the box light the TV, which shows 5193.
        {15, route({tap("cab"), tap("cab"), tap("sofa"), tap("pick_fuse_b"), use("fuse_a", "box1"),
                    use("fuse_b", "box1"), open("pad", digits("5193")), tap("door")})},
        // Letters by their plaques: K 1, I 2, N 3, G 4.
        {16, route({open("word", letters("KING")), tap("door")})},
        // IV, IX, II, VII.
        {17, route({open("pad", digits("4927")), tap("door")})},
        // Dice 5, 2, 6, then two windows.
        {18, route({open("pad", digits("5262")), tap("door")})},
        // Blue + yellow, red + blue, yellow + red make green, purple, orange, pressed on the row
        // red, yellow, blue, green, orange, purple.
        {19, route({open("buttons", {3, 5, 4}), tap("door")})},
    };
    return routes;
}

}  // namespace walkthrough

TEST(Walkthrough, Rooms01to19) { walkthrough::playRooms(walkthrough::routesRooms01to19()); }
