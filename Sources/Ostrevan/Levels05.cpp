// Rooms 41 to 50, and the wall light switch of the rooms that start lit.
//
// [SECTION] Shared flags and helpers
// [SECTION] Light switch
// [SECTION] Room 41 "Glow in the Dark"   keypad 397, digits that glow once the light is off
// [SECTION] Room 42 "Colour Cipher"      keypad 3142, stripes read through a colour key
// [SECTION] Room 43 "Odd Clock Out"      odd clock -> chest -> trapdoor -> door key
// [SECTION] Room 44 "Chain Reaction"     vase -> red chest -> green chest -> blue chest -> door key
// [SECTION] Room 45 "Remote Control"     battery + remote -> TV colours -> colour lock
// [SECTION] Room 46 "Day and Night"      keypad 4815, two signs by day and two by night
// [SECTION] Room 47 "The Vault"          safe 9842 -> cabinet -> UV torch -> keypad 5710
// [SECTION] Room 48 "Orb Alley"          paint mixes give the socket order; one decoy orb
// [SECTION] Room 49 "The Long Dark"      fuse for the light; ESCAPE on the letters lock
// [SECTION] Room 50 "The Last Door"      three locks: orbs, keypad 5050, golden key
#include <Ostrevan/Levels.hpp>

#include <Ostrevan/Builder.hpp>
#include <Ostrevan/Themes.hpp>

namespace ostrevan::Levels {

// ---------------------------------------------------------------------------------------------
// [SECTION] Shared flags and helpers

namespace {

constexpr const char* kUnlocked = "unlocked";
constexpr const char* kLockKey = "lockKey";  // the keyhole of a door with three locks
constexpr const char* kLightsOn = "lights_on";
constexpr const char* kSawDark = "saw_dark";  // the light has been switched off at least once

// The flag a factory sets once it has handed the item over.
std::string tookFlag(const Item& item) { return "took_" + item.id; }

// Something that only answers a tap with what the player sees.
Prop sightOnly(std::string id, Rect rect, Art art, std::string look) {
    return Prop{.id = std::move(id), .rect = rect, .art = std::move(art), .look = std::move(look)};
}

// Glowing paint: hidden while the light is on, so it shows only in the dark.
Prop glowInDark(std::string id, Rect rect, std::string text, std::string look) {
    return Prop{.id = std::move(id),
                .rect = rect,
                .art = art::Glow{std::move(text)},
                .hideWhen = {kLightsOn},
                .look = std::move(look)};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Light switch

Prop lightSwitch(Rect rect, std::string offFlag) {
    return Prop{
        .id = "switch",
        .rect = rect,
        .art = art::SwitchPlate{false},
        .z = 0,
        .rules =
            {
                Rule{Trigger::tap(), {kLightsOn}, {},
                     {clear(kLightsOn), set(std::move(offFlag)), sfx(Sfx::power), say("Click. Darkness.")}},
                Rule{Trigger::tap(), {}, {kLightsOn}, {set(kLightsOn), sfx(Sfx::power), say("Click. Light.")}},
            },
        .states = {PropState{{kLightsOn}, art::SwitchPlate{true}}},
        .look = "A light switch.",
    };
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 41 "Glow in the Dark"

Level room41() {
    LB lb;
    lb.startFlags = {kLightsOn};
    lb.add({
        lightSwitch(Rect{859, 250, 46, 70}, kSawDark),
        glowInDark("g1", at(Slot::wA, 80, 100), "3", "A glowing 3."),
        glowInDark("g2", at(Slot::wB, 80, 100), "9", "A glowing 9."),
        glowInDark("g3", at(Slot::rug, 90, 90), "7", "A glowing 7, painted on the floor."),
        sightOnly("note", at(Slot::wA, 130, 70, 300), art::Note{"Paint that\nglows."}, "A note."),
        sightOnly("sofa", at(Slot::fA, 190, 110), art::Sofa{Tone::cyan}, "A sofa."),
        sightOnly("plant", at(Slot::fD, 110, 180), art::Plant{Tone::green}, "A fern."),
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "397");

    lb.step(kSawDark, {"This room looks ordinary. Is that all there is?", "Try the light switch."});
    lb.step(kUnlocked, {"Some numbers glow in the dark. Read them left to right.", "3, 9, 7."});
    return lb.build(41, "Glow in the Dark", Themes::plum, DoorStyle::black, {kUnlocked},
                    "The light switch works both ways.", kLightsOn);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 42 "Colour Cipher"

Level room42() {
    LB lb;
    lb.add({
        sightOnly("stripes", at(Slot::wB, 150, 120),
                  art::Stripes{{Tone::green, Tone::red, Tone::yellow, Tone::blue}}, "Green, red, yellow, blue."),
        sightOnly("legend", at(Slot::wD, 150, 110),
                  art::Poster{"RED 1   BLUE 2\nGREEN 3  YELLOW 4", Tone::black}, "A colour key."),
        sightOnly("note", at(Slot::wA, 130, 90), art::Note{"Colours\nare numbers."}, "A note."),
        sightOnly("sofa", at(Slot::fA, 200, 120), art::Sofa{Tone::orange}, "A sofa."),
        sightOnly("plant", at(Slot::fD, 110, 180), art::Plant{Tone::green}, "A fern."),
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "3142");

    lb.step(kUnlocked, {"The stripes and the poster go together.", "Turn each stripe into its number.",
                        "Green 3, red 1, yellow 4, blue 2: 3142."});
    return lb.build(42, "Colour Cipher", Themes::teal, DoorStyle::white, {kUnlocked}, "Colours, but as numbers.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 43 "Odd Clock Out"

Level room43() {
    constexpr const char* kRugMoved = "rug_moved";
    constexpr const char* kTrapdoorOpen = "td_open";

    LB lb;
    const Item key = lb.item({"key", "brass key", ItemKind::key, std::nullopt});
    const Item crank = lb.item({"crank", "crank", ItemKind::crank, std::nullopt});
    const Item doorKey = lb.item({"dkey", "door key", ItemKind::key, std::nullopt});

    lb.add({
        sightOnly("c1", at(Slot::wA, 110, 110), art::Clock{6, 15}, "6:15."),
        sightOnly("c2", at(Slot::wB, 110, 110), art::Clock{6, 15}, "6:15."),
        holder("c3", at(Slot::wD, 110, 110), art::Clock{6, 51}, key,
               {.look = "6:51.", .msg = "The back of this clock pops off. A key falls out!"}),
        sightOnly("note", at(Slot::above, 170, 44), art::Plaque{"ONE OF THESE IS WRONG"},
                  "One of the clocks is different."),
        container("chest", at(Slot::fA, 150, 110), art::Chest{false, Tone::brown}, art::Chest{true, Tone::brown},
                  "chest_open", "The chest opens.",
                  {.opener = key, .gives = crank, .lockedMsg = "Locked.", .look = "A locked chest."}),
        mover("rug", at(Slot::rug, 280, 110), art::Rug{"", Tone::green}, kRugMoved, art::RugRolled{Tone::green},
              "Under the rug: a trapdoor with a crank socket.", {.look = "A green rug.", .z = -1, .sfx = Sfx::open}),
        container("trap", at(Slot::rug, 130, 70, 540), art::Trapdoor{false}, art::Trapdoor{true}, kTrapdoorOpen,
                  "The crank turns. The trapdoor opens.",
                  {.opener = crank,
                   .gives = doorKey,
                   .lockedMsg = "It has a socket for a handle.",
                   .look = "A trapdoor.",
                   .showWhen = {kRugMoved},
                   .z = 1}),
        sightOnly("plant", at(Slot::fD, 110, 180), art::Plant{Tone::green}, "A fern."),
    });
    lb.doorKey(doorKey, kUnlocked, "The lock turns. Click!");

    lb.step(tookFlag(key), {"Look at the clocks.", "Two of them agree. One doesn't.", "Tap the clock showing 6:51."});
    lb.step(tookFlag(crank), {"The brass key opens the chest."});
    lb.step(kTrapdoorOpen, {"The floor hides something. Use what you found on it.",
                            "Roll the rug, then use the crank on the trapdoor."});
    lb.step(kUnlocked, {"Take the key from the trapdoor, then use it on the door."});
    return lb.build(43, "Odd Clock Out", Themes::cream, DoorStyle::wood, {kUnlocked},
                    "One of these things is not like the others.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 44 "Chain Reaction"

Level room44() {
    LB lb;
    const Item redKey = lb.item({"kr", "red key", ItemKind::key, Tone::red});
    const Item greenKey = lb.item({"kg", "green key", ItemKind::key, Tone::green});
    const Item blueKey = lb.item({"kb", "blue key", ItemKind::key, Tone::blue});
    const Item doorKey{"dkey", "door key", ItemKind::key, Tone::yellow};

    lb.add({
        holder("vase", at(Slot::fB, 84, 132), art::Vase{Tone::red}, redKey, {.look = "A red vase.", .msg = "A red key!"}),
        container("c1", at(Slot::fA, 150, 110), art::Chest{false, Tone::red}, art::Chest{true, Tone::red}, "r_open",
                  "The red key fits.",
                  {.opener = redKey, .gives = greenKey, .lockedMsg = "A red lock.", .look = "A red chest."}),
        container("c2", at(Slot::fC, 150, 110), art::Chest{false, Tone::green}, art::Chest{true, Tone::green},
                  "g_open", "The green key fits.",
                  {.opener = greenKey, .gives = blueKey, .lockedMsg = "A green lock.", .look = "A green chest."}),
        container("c3", at(Slot::fD, 150, 110), art::Chest{false, Tone::blue}, art::Chest{true, Tone::blue},
                  "b_open", "The blue key fits.",
                  {.opener = blueKey, .gives = doorKey, .lockedMsg = "A blue lock.", .look = "A blue chest."}),
        sightOnly("note", at(Slot::wB, 140, 100), art::Note{"Each chest\nhides the next\nkey."}, "A note."),
        sightOnly("art", at(Slot::wA, 130, 100), art::Painting{PaintStyle::abstract}, "A painting."),
        sightOnly("win", at(Slot::wD, 140, 160), art::Window{false}, "A window."),
    });
    lb.doorKey(doorKey, kUnlocked, "The lock turns. Click!");

    lb.step(tookFlag(redKey), {"Three chests: red, green, blue.", "The vase holds the first key."});
    lb.step(tookFlag(greenKey), {"Match the key colour to the chest colour. Red first."});
    lb.step(tookFlag(blueKey), {"The green key opens the green chest."});
    lb.step(tookFlag(doorKey), {"The blue key opens the blue chest."});
    lb.step(kUnlocked, {"Use the door key on the door."});
    return lb.build(44, "Chain Reaction", Themes::sage, DoorStyle::gold, {kUnlocked}, "One thing leads to another.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 45 "Remote Control"

Level room45() {
    constexpr const char* kTvOn = "tv_on";
    // The TV flashes the very sequence the colour lock wants.
    const std::vector<Tone> flashes = {Tone::purple, Tone::red, Tone::blue, Tone::orange, Tone::red, Tone::green};
    const std::vector<Tone> palette = {Tone::red, Tone::orange, Tone::green, Tone::blue, Tone::purple, Tone::yellow};

    LB lb;
    const Item battery{"battery", "battery", ItemKind::battery, std::nullopt};
    const Item remote{"remote", "remote", ItemKind::remote, std::nullopt};
    const Item workingRemote{"remote2", "working remote", ItemKind::remote, Tone::green};
    lb.combo(battery, remote, workingRemote, "You slot the battery into the remote. It blinks.");

    lb.add({
        Prop{.id = "tv",
             .rect = at(Slot::wB, 170, 120),
             .art = art::Tv{std::nullopt, false},
             .rules =
                 {
                     Rule{Trigger::use(workingRemote.id), {}, {kTvOn},
                          {set(kTvOn), sfx(Sfx::power), say("The TV flickers on and starts flashing colours.")}},
                     Rule{Trigger::tap(), {}, {kTvOn}, {say("The TV is off.")}},
                 },
             .states = {PropState{{kTvOn}, art::TvFlash{flashes}}},
             .look = "A TV.",
             .noUse = "Nothing."},
        container("fridge", at(Slot::fA, 130, 230), art::Fridge{false}, art::Fridge{true}, "fridge_open",
                  "The fridge door opens.", {.gives = battery, .look = "A fridge.", .emptyMsg = "Empty."}),
        sightOnly("table", at(Slot::fC, 170, 95), art::Table{}, "A table."),
        pickup(remote, at(Slot::fC, 64, 24, 476), {.msg = "A TV remote."}),
        sightOnly("note", at(Slot::wA, 130, 90), art::Note{"Watch.\nThen repeat."}, "A note."),
        sightOnly("plant", at(Slot::fD, 110, 180), art::Plant{Tone::green}, "A fern."),
    });
    colorLock(lb, "buttons", at(Slot::wC, 160, 90), palette, flashes);

    lb.step(tookFlag(battery), {"The TV is off.", "A remote and a battery will fix that. Start with the fridge."});
    lb.step(tookFlag(remote), {"The remote's on the table."});
    lb.step(kTvOn, {"Combine the battery and the remote, then use it on the TV."});
    lb.step(kUnlocked, {"Repeat the colours you see.", "Purple, red, blue, orange, red, green."});
    return lb.build(45, "Remote Control", Themes::navy, DoorStyle::blue, {kUnlocked}, "Press play.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 46 "Day and Night"

Level room46() {
    LB lb;
    lb.startFlags = {kLightsOn};
    lb.add({
        lightSwitch(at(Slot::above, 44, 50), kSawDark),
        sightOnly("d1", at(Slot::wA, 84, 100), art::Digit{"4", Tone::orange}, "A sign: 4."),
        sightOnly("d2", at(Slot::wB, 84, 100), art::Digit{"8", Tone::blue}, "A sign: 8."),
        glowInDark("g1", at(Slot::rug, 90, 90), "1", "A glowing 1."),
        glowInDark("g2", at(Slot::wD, 84, 100), "5", "A glowing 5."),
        sightOnly("sofa", at(Slot::fA, 190, 110), art::Sofa{Tone::brown}, "A sofa."),
        sightOnly("plant", at(Slot::fD, 110, 180), art::Plant{Tone::green}, "A fern."),
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "4815");

    lb.step(kSawDark, {"Two numbers are on the walls. The code is longer than that.", "Turn off the light."});
    lb.step(kUnlocked, {"Four numbers, left to right: two by day, two by night.",
                        "4, 8, then the glowing 1 and 5: 4815."});
    return lb.build(46, "Day and Night", Themes::navy, DoorStyle::glass, {kUnlocked}, "Some answers need both.",
                    kLightsOn);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 47 "The Vault"

Level room47() {
    constexpr const char* kUvSeen = "uv_seen";

    LB lb;
    const Item vaultKey = lb.item({"vk", "vault key", ItemKind::key, Tone::yellow});
    const Item battery{"battery", "battery", ItemKind::battery, std::nullopt};
    const Item torch{"torch", "torch", ItemKind::torch, std::nullopt};
    const Item uvTorch{"uv", "UV torch", ItemKind::torch, Tone::purple};
    lb.combo(battery, torch, uvTorch, "The torch glows violet. An ultraviolet light!");

    lb.add({
        sightOnly("maths", at(Slot::wA, 150, 120), art::Poster{"6+3  4x2\n9-5  1+1", Tone::blue},
                  "Four sums, in rows."),
        receiver("wall", at(Slot::wB, 150, 130), art::Poster{"NOTHING\nTO SEE\nHERE", Tone::white}, uvTorch,
                 kUvSeen, "Glowing numbers!",
                 {.done = art::Glow{"5710"},
                  .look = "A blank poster.",
                  .noUse = "Nothing.",
                  .consume = false,
                  .sfx = Sfx::power}),
        container("fridge", at(Slot::fA, 130, 230), art::Fridge{false}, art::Fridge{true}, "fridge_open",
                  "The fridge opens.", {.gives = battery, .look = "A fridge.", .emptyMsg = "Empty."}),
        container("cab", at(Slot::fB, 140, 190), art::Cabinet{false}, art::Cabinet{true}, "cab_open",
                  "The vault key turns.",
                  {.opener = vaultKey, .gives = torch, .lockedMsg = "A heavy lock.",
                   .look = "A cabinet with a heavy lock."}),
        sightOnly("plant", at(Slot::fD, 110, 180), art::Plant{Tone::green}, "A fern."),
    });
    keypad(lb, "safe", at(Slot::fC, 140, 150), "9842",
           {.solve = {give(vaultKey.id), set("safe_open"), sfx(Sfx::unlock), say("The safe opens. A heavy vault key.")},
            .title = "Safe code",
            .art = art::Safe{false},
            .doneArt = art::Safe{true}});
    keypad(lb, "pad", at(Slot::wC, 92, 140), "5710");

    lb.step("solved_safe", {"A safe, and four sums.", "Solve the sums, in rows.", "9, 8, 4, 2."});
    lb.step(tookFlag(torch), {"The vault key opens the cabinet."});
    lb.step(tookFlag(battery), {"The torch is dead. The fridge has a battery."});
    lb.step(kUvSeen, {"Join the battery and the torch, then shine it on the blank poster."});
    lb.step(kUnlocked, {"Type the glowing number."});
    return lb.build(47, "The Vault", Themes::slate, DoorStyle::steel, {kUnlocked}, "Everything is connected.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 48 "Orb Alley"

Level room48() {
    LB lb;
    const Item green = lb.item({"orb_green", "green orb", ItemKind::orb, Tone::green});
    const Item purple = lb.item({"orb_purple", "purple orb", ItemKind::orb, Tone::purple});
    const Item orange = lb.item({"orb_orange", "orange orb", ItemKind::orb, Tone::orange});
    const Item red = lb.item({"orb_red", "red orb", ItemKind::orb, Tone::red});  // fits no socket

    const std::vector<std::string> socketFlags =
        sockets(lb, "s", Rect{625, 200, 150, 60}, {Tone::green, Tone::purple, Tone::orange}, {green, purple, orange, red});
    lb.add({
        sightOnly("mix", at(Slot::wB, 150, 150),
                  art::Mixes{{{Tone::blue, Tone::yellow}, {Tone::red, Tone::blue}, {Tone::yellow, Tone::red}}},
                  "Three paint mixes."),
        sightOnly("note", at(Slot::wA, 140, 110), art::Note{"Mix them.\nThe results\nare the order."}, "A note."),
        holder("vase", at(Slot::fB, 84, 132), art::Vase{Tone::green}, green, {.look = "A green vase.", .msg = "A green orb!"}),
        container("chest", at(Slot::fA, 150, 110), art::Chest{false, Tone::brown}, art::Chest{true, Tone::brown},
                  "chest_open", "The chest opens.", {.gives = purple, .look = "A chest."}),
        holder("boxes", at(Slot::fD, 150, 130), art::Boxes{}, orange,
               {.look = "Boxes.", .msg = "An orange orb, in the boxes."}),
        sightOnly("pedestal", at(Slot::fC, 70, 90), art::Pedestal{}, "A pedestal."),
        pickup(red, Rect{665, 434, 34, 34}, {.msg = "A red orb. It looks important."}),
    });

    lb.step(tookFlag(green), {"Three orbs, three sockets.", "The vase has one."});
    lb.step(tookFlag(purple), {"The chest has another."});
    lb.step(tookFlag(orange), {"Check the boxes."});
    lb.step(socketFlags.back(), {"The paint mixes give the colours, top to bottom.", "Green, purple, orange. Not red."});
    return lb.build(48, "Orb Alley", Themes::rose, DoorStyle::orange, socketFlags, "Not every orb is useful.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 49 "The Long Dark"

Level room49() {
    LB lb;
    const Item fuse = lb.item({"fuse", "fuse", ItemKind::fuse, std::nullopt});

    lb.add({
        receiver("box", at(Slot::wA, 80, 120, 150), art::FuseBox{0}, fuse, kLightsOn,
                 "The fuse snaps in. The lights hum on.",
                 {.done = art::FuseBox{2},
                  .look = "A fuse box with a missing fuse.",
                  .noUse = "Nothing.",
                  .consume = true,
                  .sfx = Sfx::power}),
        container("cab", at(Slot::fB, 140, 190), art::Cabinet{false}, art::Cabinet{true}, "cab_open",
                  "The cabinet opens.", {.gives = fuse, .look = "A cabinet."}),
        sightOnly("nums", at(Slot::wB, 160, 110), art::Poster{"5 19 3\n1 16 5", Tone::red}, "Six numbers."),
        sightOnly("abc", at(Slot::wD, 150, 130), art::Poster{"A=1  B=2  C=3\nD=4 ... Z=26", Tone::blue},
                  "A=1, B=2, C=3... Z=26."),
        sightOnly("sofa", at(Slot::fD, 200, 120), art::Sofa{Tone::brown}, "A sofa."),
    });
    lettersLock(lb, "word", at(Slot::wC, 190, 80), "ESCAPE");

    lb.step(tookFlag(fuse), {"It's dark. Move the mouse to look around.", "A fuse box is on the left wall. It needs a fuse.",
                          "Try the cabinet."});
    lb.step(kLightsOn, {"Put the fuse in the box."});
    lb.step(kUnlocked, {"Six numbers, and a poster to decode them.", "5=E, 19=S, 3=C, 1=A, 16=P, 5=E."});
    return lb.build(49, "The Long Dark", Themes::charcoal, DoorStyle::black, {kUnlocked}, "Almost there. Light first.",
                    kLightsOn);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 50 "The Last Door"

Level room50() {
    constexpr const char* kRugMoved = "rug_moved";
    constexpr const char* kCushion = "cushion";

    LB lb;
    const Item red = lb.item({"orb_red", "red orb", ItemKind::orb, Tone::red});
    const Item green = lb.item({"orb_green", "green orb", ItemKind::orb, Tone::green});
    const Item blue = lb.item({"orb_blue", "blue orb", ItemKind::orb, Tone::blue});
    const Item silverKey = lb.item({"sk", "silver key", ItemKind::key, Tone::white});
    const Item goldenKey = lb.item({"dkey", "golden key", ItemKind::key, Tone::yellow});

    // The dots on the wall show the very order the sockets want.
    const std::vector<Tone> order = {Tone::red, Tone::green, Tone::blue};
    const std::vector<std::string> socketFlags = sockets(lb, "s", Rect{625, 200, 150, 60}, order, {red, green, blue});
    lb.add({
        sightOnly("order", at(Slot::wB, 150, 56, 190), art::Dots{order}, "Red, green, blue."),
        sightOnly("roman", at(Slot::wA, 120, 70, 190), art::Poster{"L    L", Tone::brown}, "Two Roman numerals."),
        sightOnly("rule", at(Slot::above, 170, 44), art::Plaque{"L = 50"}, "L is fifty."),
        holder("vase", at(Slot::fB, 84, 132), art::Vase{Tone::red}, red, {.look = "A red vase.", .msg = "A red orb!"}),
        mover("rug", at(Slot::rug, 260, 90), art::Rug{"", Tone::purple}, kRugMoved, art::RugRolled{Tone::purple},
              "Something green glints under the rug.", {.look = "A purple rug.", .z = -1, .sfx = Sfx::open}),
        pickup(green, Rect{483, 531, 34, 34}, {.showWhen = {kRugMoved}, .msg = "A green orb."}),
        mover("sofa", at(Slot::fA, 210, 120), art::Sofa{Tone::pink}, kCushion, art::Sofa{Tone::pink},
              "Something silver is wedged in the sofa.", {.look = "A sofa.", .sfx = Sfx::open}),
        pickup(silverKey, Rect{110, 490, 40, 30}, {.showWhen = {kCushion}, .msg = "A silver key."}),
        container("chest", at(Slot::fC, 150, 110), art::Chest{false, Tone::brown}, art::Chest{true, Tone::brown},
                  "chest_open", "The silver key fits.",
                  {.opener = silverKey, .gives = blue, .lockedMsg = "Locked.", .look = "A chest."}),
        holder("boxes", at(Slot::fD, 150, 130), art::Boxes{}, goldenKey,
               {.look = "Boxes.", .msg = "A golden key, at the bottom of the boxes."}),
    });
    keypad(lb, "pad", at(Slot::wD, 92, 140), "5050");
    lb.doorKey(goldenKey, kLockKey, "The golden key turns. One lock left.");
    lb.doorLook = "Three locks. A keyhole, a keypad and a ring of orbs.";

    lb.step(tookFlag(red), {"The last door. Three locks.", "The vase holds an orb."});
    lb.step(tookFlag(green), {"Look under the rug."});
    lb.step(tookFlag(silverKey), {"There's something soft that hides things.", "The sofa."});
    lb.step(tookFlag(blue), {"The silver key opens the chest."});
    lb.step(socketFlags.back(), {"Put the orbs in the sockets, in the order of the dots.", "Red, green, blue."});
    lb.step(kUnlocked, {"Roman numerals on the left. The plaque tells you what L is.", "L is 50, twice: 5050."});
    lb.step(tookFlag(goldenKey), {"The boxes hold something golden."});
    lb.step(kLockKey, {"Use the golden key on the door."});

    std::vector<std::string> requires_ = socketFlags;
    requires_.push_back(kUnlocked);
    requires_.push_back(kLockKey);
    return lb.build(50, "The Last Door", Themes::wine, DoorStyle::gold, requires_, "Veziz. Everything you've learned.");
}

}  // namespace ostrevan::Levels
