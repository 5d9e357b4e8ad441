// Routes through rooms 37 to 50, written from each room's own clues.
#include "Walkthrough.hpp"

namespace walkthrough {

const std::vector<RoomRoute>& routesRooms37to50() {
    using T = Tone;
    static const std::vector<RoomRoute> routes = {
        // The plaque lists plants, clocks, paintings, lamps; the room holds 3, 1, 2 and 1.
        {37, route({tap("census"), tap("pl1"), tap("pl2"), tap("pl3"), tap("clock"), tap("p1"), tap("p2"), tap("lamp"),
                    open("pad", {3, 1, 2, 1}), tap("door")})},
        // Three glowing signs, read left to right: 7, 2, 9.
        {38, route({tap("g1"), tap("g2"), tap("g3"), open("pad", {7, 2, 9}), tap("door")})},
        // The sofa hides a small key for the chest; the chest's gear and the barrel's crank make the
        // music box play, and its drawer holds the door key.
        {39, route({tap("mbox"), tap("sofa"), tap("pick_key"), use("key", "chest"), tap("chest"), use("gear", "mbox"),
                    tap("barrel"), tap("barrel"), use("crank", "mbox"), tap("mbox"), use("dkey", "door")})},
        // Orbs from the vase, under the rug and in the chest go in as the dots show (blue, red,
        // green); the clock at half past twelve as HHMM is 1230; the fridge holds the iron key.
        {40, route({tap("vase"), tap("rug"), tap("pick_orb_blue"), tap("chest"), tap("chest"), tap("order"),
                    use("orb_blue", "s_0"), use("orb_red", "s_1"), use("orb_green", "s_2"), tap("clock"),
                    open("pad", {1, 2, 3, 0}), tap("fridge"), tap("fridge"), use("key", "door")})},
        // The note speaks of glowing paint; with the light off, 3, 9 and 7 glow.
        {41, route({tap("note"), tap("switch"), tap("g1"), tap("g2"), tap("g3"), open("pad", {3, 9, 7}), tap("door")})},
        // Stripes green, red, yellow, blue through the key RED 1, BLUE 2, GREEN 3, YELLOW 4.
        {42, route({tap("stripes"), tap("legend"), open("pad", {3, 1, 4, 2}), tap("door")})},
        // The clock showing 6:51 is the odd one; its key opens the chest, whose crank opens the
        // trapdoor under the rug.
        {43, route({tap("c1"), tap("c2"), tap("c3"), use("key", "chest"), tap("chest"), tap("rug"),
                    use("crank", "trap"), tap("trap"), use("dkey", "door")})},
        // Each chest hides the next key; the vase holds the red one.
        {44, route({tap("note"), tap("vase"), use("kr", "c1"), tap("c1"), use("kg", "c2"), tap("c2"), use("kb", "c3"),
                    tap("c3"), use("dkey", "door")})},
        // The fridge's battery in the table's remote wakes the TV; repeat its six colours.
        {45, route({tap("tv"), tap("fridge"), tap("fridge"), tap("pick_remote"), combine("battery", "remote"),
                    use("remote2", "tv"),
                    open("buttons", press(45, "buttons", {T::purple, T::red, T::blue, T::orange, T::red, T::green})),
                    tap("door")})},
        // 4 and 8 on the walls by day; with the light off, 1 on the floor and 5 on the right.
        {46, route({tap("d1"), tap("d2"), tap("switch"), tap("g1"), tap("g2"), tap("switch"), open("pad", {4, 8, 1, 5}),
                    tap("door")})},
        // The sums 6+3, 4x2, 9-5, 1+1 open the safe; the vault key opens the cabinet; its torch with
        // the fridge's battery lights the blank poster in UV: 5710.
        {47, route({tap("maths"), tap("safe"), solve("safe", {9, 8, 4, 2}), use("vk", "cab"), tap("cab"), tap("fridge"),
                    tap("fridge"), combine("torch", "battery"), use("uv", "wall"), open("pad", {5, 7, 1, 0}),
                    tap("door")})},
        // Blue and yellow make green, red and blue purple, yellow and red orange; the red orb on the
        // pedestal fits nowhere.
        {48, route({tap("mix"), tap("note"), tap("vase"), tap("chest"), tap("chest"), tap("boxes"),
                    use("orb_green", "s_0"), use("orb_purple", "s_1"), use("orb_orange", "s_2"), tap("door")})},
        // The cabinet's fuse lights the room; 5 19 3 1 16 5 with A=1 spells ESCAPE.
        {49, route({tap("cab"), tap("cab"), use("fuse", "box"), tap("nums"), tap("abc"),
                    open("word", letters("ESCAPE")), tap("door")})},
        // Orbs from the vase, under the rug and in the chest (the sofa's silver key opens it) go in as
        // the dots show: red, green, blue; L and L with L = 50 make 5050; the boxes hold the golden key.
        {50, route({tap("vase"), tap("rug"), tap("pick_orb_green"), tap("sofa"), tap("pick_sk"), use("sk", "chest"),
                    tap("chest"), tap("order"), use("orb_red", "s_0"), use("orb_green", "s_1"), use("orb_blue", "s_2"),
                    tap("roman"), tap("rule"), open("pad", {5, 0, 5, 0}), tap("boxes"), use("dkey", "door")})},
    };
    return routes;
}

}  // namespace walkthrough

TEST(Walkthrough, Rooms37to50) { walkthrough::playRooms(walkthrough::routesRooms37to50()); }
