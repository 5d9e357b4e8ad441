// Routes through rooms 20 to 36, written from each room's own clues.
#include "Walkthrough.hpp"

namespace walkthrough {

const std::vector<RoomRoute>& routesRooms20to36() {
    using T = Tone;
    static const std::vector<RoomRoute> routes = {
        // The rug hides the trapdoor; the barrel's crank opens it; the key lies below.
        {20, route({tap("rug"), tap("barrel"), tap("barrel"), use("crank", "trap"), tap("trap"), use("key", "door")})},
        // The screwdriver takes the grille off; the chest's magnet on the boxes' string fishes the key.
        {21, route({tap("pick_screwdriver"), use("screwdriver", "vent"), tap("chest"), tap("chest"), tap("boxes"),
                    combine("magnet", "string"), use("line", "vent"), use("key", "door")})},
        // The fridge's battery in the torch makes UV light; the poster glows "2931".
        {22, route({tap("fridge"), tap("fridge"), tap("pick_torch"), combine("battery", "torch"), use("uv", "wall"),
                    open("pad", digits("2931")), tap("door")})},
        // 3+4, 2x3, 9-2, 8/2 read in rows.
        {23, route({open("safe", digits("7674")), use("card", "reader"), tap("door")})},
        // The bulb from the boxes lights the room; the signs read 6, 1, 8 from left to right.
        {24, route({tap("boxes"), use("bulb", "socket"), open("pad", digits("618")), tap("door")})},
        // Plaques: blue 1, yellow 2, red 3, green 4.
        {25, route({open("buttons", press(25, "buttons", {T::blue, T::yellow, T::red, T::green})), tap("door")})},
        // Each coloured key opens its chest; the two gear halves make the gear for the slot.
        {26, route({tap("vase"), tap("rug"), tap("pick_key_b"), use("key_r", "chest_r"), tap("chest_r"),
                    use("key_b", "chest_b"), tap("chest_b"), combine("gear_l", "gear_r"), use("gear", "slot"),
                    tap("door")})},
        // The bucket, filled at the barrel, fills the fountain and floats the key up.
        {27, route({tap("pick_bucket"), use("bucket", "barrel"), use("full", "fountain"), tap("pick_key"),
                    use("key", "door")})},
        // Three lamps lit, seven o'clock, the sign 5.
        {28, route({open("dials", {3, 7, 5}), tap("door")})},
        // The TV flashes green, red, blue, yellow, red.
        {29, route({open("buttons", press(29, "buttons", {T::green, T::red, T::blue, T::yellow, T::red})),
                    tap("door")})},
        // The dice show 3, 6, 2; the stripes run yellow, green, red.
        {30, route({open("chest", digits("362")), use("key", "door"),
                    open("panel", press(30, "panel", {T::yellow, T::green, T::red})), tap("door")})},
        // The mirror, read from the right: up, down, down, up, up; up means on.
        {31, route({open("levers", {1, 0, 0, 1, 1}), tap("door")})},
        // 8 5 12 12 15 with A=1.
        {32, route({open("word", letters("HELLO")), tap("door")})},
        // The vase's small key opens the cabinet; its match melts the ice round the key.
        {33, route({tap("vase"), use("small", "cab"), tap("cab"), use("match", "ice"), use("key", "door")})},
        // 0101, 0111, 1001.
        {34, route({open("pad", digits("579")), tap("door")})},
        // The sheet music's dots: yellow, blue, red, purple, green.
        {35, route({open("piano", press(35, "piano", {T::yellow, T::blue, T::red, T::purple, T::green})),
                    tap("door")})},
        // The cabinet's lens on the stamp; the magnified stamp reads 6402.
        {36, route({tap("cab"), tap("cab"), use("lens", "stamp"), open("pad", digits("6402")), tap("door")})},
    };
    return routes;
}

}  // namespace walkthrough

TEST(Walkthrough, Rooms20to36) { walkthrough::playRooms(walkthrough::routesRooms20to36()); }
