// Rooms 31 to 40.
#include <Ostrevan/Levels.hpp>

#include <Ostrevan/Builder.hpp>
#include <Ostrevan/Themes.hpp>

namespace ostrevan::Levels {

// ---------------------------------------------------------------------------------------------
// Room 31 "Through the Glass": the lever pattern is written on a mirror, so it reads from the right.

Level room31() {
    constexpr char kUnlocked[] = "unlocked";
    // Stored in answer order; the mirror art flips it, so the player reads it from the right.
    constexpr char kArrows[] = "\xE2\x86\x91"   // up
                               "\xE2\x86\x93"   // down
                               "\xE2\x86\x93"   // down
                               "\xE2\x86\x91"   // up
                               "\xE2\x86\x91";  // up

    LB lb;
    lb.add({
        Prop{.id = "mirror", .rect = at(Slot::wB, 160, 130), .art = art::Mirror{std::string(kArrows)},
             .look = "A mirror with arrows on it. Left and right are swapped."},
        Prop{.id = "legend", .rect = at(Slot::wD, 130, 90), .art = art::Poster{"UP = ON\nDOWN = OFF", Tone::blue},
             .look = "Up means on."},
        Prop{.id = "note", .rect = at(Slot::wA, 130, 90),
             .art = art::Note{"Trust the glass,\nbut read it\nthe right way round."}, .look = "A note."},
        Prop{.id = "sofa", .rect = at(Slot::fA, 200, 120), .art = art::Sofa{Tone::green}, .look = "A sofa."},
        Prop{.id = "plant", .rect = at(Slot::fD, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });
    switchLock(lb, "levers", at(Slot::wC, 160, 90), {"1", "2", "3", "4", "5"}, {true, false, false, true, true},
               {.title = "Set the levers"});

    lb.step(kUnlocked, {"Five levers, and a mirror.", "A mirror reverses the order, left for right.",
                        "Reading the mirror from the right: up, down, down, up, up."});
    return lb.build(31, "Through the Glass", Themes::ivory, DoorStyle::glass, {kUnlocked}, "Think backwards.");
}

// ---------------------------------------------------------------------------------------------
// Room 32 "Secret Code": five numbers and the key A=1 ... Z=26 spell the word.

Level room32() {
    constexpr char kUnlocked[] = "unlocked";

    LB lb;
    lb.add({
        Prop{.id = "nums", .rect = at(Slot::wB, 150, 110), .art = art::Poster{"8  5  12  12  15", Tone::red},
             .look = "Five numbers."},
        Prop{.id = "abc", .rect = at(Slot::wD, 150, 130), .art = art::Poster{"A=1  B=2  C=3\nD=4 ... Z=26", Tone::blue},
             .look = "A=1, B=2, C=3... and so on up to Z=26."},
        Prop{.id = "note", .rect = at(Slot::wA, 130, 90), .art = art::Note{"Numbers are\nletters in\ndisguise."},
             .look = "A note."},
        Prop{.id = "plant", .rect = at(Slot::fA, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
        Prop{.id = "sofa", .rect = at(Slot::fD, 200, 120), .art = art::Sofa{Tone::orange}, .look = "A sofa."},
    });
    lettersLock(lb, "word", at(Slot::wC, 150, 80), "HELLO");

    lb.step(kUnlocked, {"Numbers on one wall, a key on another.", "A=1, so what's 8?",
                        "8=H, 5=E, 12=L, 12=L, 15=O: HELLO."});
    return lb.build(32, "Secret Code", Themes::forest, DoorStyle::wood, {kUnlocked}, "A=1.");
}

// ---------------------------------------------------------------------------------------------
// Room 33 "Cold Storage": vase -> small key -> cabinet -> match -> ice -> door key.

Level room33() {
    constexpr char kUnlocked[] = "unlocked";
    constexpr char kMelted[] = "melted";

    LB lb;
    const Item small = lb.item({"small", "small key", ItemKind::key, Tone::white});
    const Item match = lb.item({"match", "match", ItemKind::match, std::nullopt});
    const Item key = lb.item({"key", "key", ItemKind::key, std::nullopt});

    lb.add({
        holder("vase", at(Slot::fB, 84, 132), art::Vase{Tone::cyan}, small,
               {.look = "A glass vase.", .msg = "A small key was in the vase."}),
        container("cab", at(Slot::fD, 140, 190), art::Cabinet{false}, art::Cabinet{true}, "cab_open",
                  "The cabinet opens.",
                  {.opener = small, .gives = match, .lockedMsg = "Locked. It needs a small key.",
                   .look = "A locked cabinet."}),
        receiver("ice", at(Slot::fC, 140, 150), art::Ice{true}, match, kMelted, "The ice melts away. The key drops free!",
                 {.done = art::Ice{false}, .look = "A key is frozen inside a block of ice.",
                  .noUse = "That won't melt it.", .consume = true, .sfx = Sfx::power, .extra = {give(key.id)}}),
        Prop{.id = "win", .rect = at(Slot::wB, 140, 150), .art = art::Window{true}, .look = "Snow is falling."},
        Prop{.id = "art", .rect = at(Slot::wD, 140, 100), .art = art::Painting{PaintStyle::mountains},
             .look = "Ice peaks."},
        Prop{.id = "plant", .rect = at(Slot::fA, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });
    lb.doorKey(key, kUnlocked, "The lock turns. Click!");

    lb.step("took_" + small.id, {"A key is stuck in ice. You'd need heat.", "First, search the room for a small key.",
                                 "The vase."});
    lb.step("took_" + match.id, {"The small key opens the cabinet."});
    lb.step(kMelted, {"Use the match on the ice."});
    lb.step(kUnlocked, {"Use the key on the door."});
    return lb.build(33, "Cold Storage", Themes::ocean, DoorStyle::blue, {kUnlocked}, "Brrr.");
}

// ---------------------------------------------------------------------------------------------
// Room 34 "Binary Lamps": each row of four lamps is one digit in binary.

Level room34() {
    constexpr char kUnlocked[] = "unlocked";
    constexpr double kRowTop = 210;

    LB lb;
    lb.add({
        Prop{.id = "r1", .rect = at(Slot::wA, 120, 36, kRowTop), .art = art::Lamps{{false, true, false, true}},
             .look = "Off, on, off, on."},
        Prop{.id = "r2", .rect = at(Slot::wB, 120, 36, kRowTop), .art = art::Lamps{{false, true, true, true}},
             .look = "Off, on, on, on."},
        Prop{.id = "r3", .rect = at(Slot::wD, 120, 36, kRowTop), .art = art::Lamps{{true, false, false, true}},
             .look = "On, off, off, on."},
        Prop{.id = "legend", .rect = at(Slot::above, 170, 44), .art = art::Plaque{"LIT = 1  DARK = 0"},
             .look = "Lit lamps are ones, dark ones are zeros."},
        Prop{.id = "sofa", .rect = at(Slot::fA, 200, 120), .art = art::Sofa{Tone::purple}, .look = "A sofa."},
        Prop{.id = "plant", .rect = at(Slot::fD, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "579");

    lb.step(kUnlocked, {"Each row of lamps is a number.", "Lit means 1, dark means 0. Read each row as a binary number.",
                        "0101=5, 0111=7, 1001=9: 579."});
    return lb.build(34, "Binary Lamps", Themes::charcoal, DoorStyle::steel, {kUnlocked},
                    "There are 10 kinds of people.");
}

// ---------------------------------------------------------------------------------------------
// Room 35 "Grand Piano": the coloured sheet music is played on the piano's colour keys.

Level room35() {
    constexpr char kUnlocked[] = "unlocked";
    // The sheet music shows the melody the piano wants.
    const std::vector<Tone> melody{Tone::yellow, Tone::blue, Tone::red, Tone::purple, Tone::green};

    LB lb;
    lb.add({
        Prop{.id = "sheet", .rect = at(Slot::wB, 150, 70, 170), .art = art::Dots{melody},
             .look = "Sheet music, in colours."},
        Prop{.id = "note", .rect = at(Slot::wB, 150, 24, 250), .art = art::Plaque{"PLAY ME"}, .look = "Play the melody."},
        Prop{.id = "art", .rect = at(Slot::wA, 130, 100), .art = art::Painting{PaintStyle::portrait},
             .look = "A stern composer."},
        Prop{.id = "art2", .rect = at(Slot::wD, 130, 100), .art = art::Painting{PaintStyle::abstract},
             .look = "A swirl of notes."},
    });
    colorLock(lb, "piano", at(Slot::fC, 270, 120),
              {Tone::red, Tone::orange, Tone::yellow, Tone::green, Tone::cyan, Tone::blue, Tone::purple}, melody,
              {.title = "Play the melody", .art = art::Piano{}});

    lb.step(kUnlocked, {"The sheet music is in colours.", "Play the colours in order on the piano.",
                        "Yellow, blue, red, purple, green."});
    return lb.build(35, "Grand Piano", Themes::wine, DoorStyle::black, {kUnlocked}, "Play it by eye.");
}

// ---------------------------------------------------------------------------------------------
// Room 36 "Fine Print": the magnifying glass from the cabinet reads the stamp's code.

Level room36() {
    constexpr char kUnlocked[] = "unlocked";
    constexpr char kMagnified[] = "magnified";
    constexpr char kCode[] = "6402";  // the stamp's tiny print, and the keypad's code

    LB lb;
    const Item lens = lb.item({"lens", "magnifying glass", ItemKind::magnifier, std::nullopt});

    lb.add({
        container("cab", at(Slot::fC, 140, 190), art::Cabinet{false}, art::Cabinet{true}, "cab_open",
                  "The cabinet opens.", {.gives = lens, .look = "A cabinet."}),
        receiver("stamp", at(Slot::wB, 120, 80), art::Stamp{std::nullopt}, lens, kMagnified,
                 "The tiny print is a number!",
                 {.done = art::Stamp{kCode}, .look = "A stamp covered in tiny dots. Too small to read.",
                  .noUse = "Nothing.", .consume = false, .sfx = Sfx::power}),
        Prop{.id = "note", .rect = at(Slot::wA, 130, 90), .art = art::Note{"Look closer."}, .look = "A note."},
        Prop{.id = "art", .rect = at(Slot::wD, 140, 100), .art = art::Painting{PaintStyle::forest},
             .look = "A forest."},
        Prop{.id = "plant", .rect = at(Slot::fA, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), kCode);

    lb.step("took_" + lens.id, {"The tiny print needs a closer look.", "Check the cabinet."});
    lb.step(kMagnified, {"Use the magnifying glass on the stamp."});
    lb.step(kUnlocked, {"Type the number you found."});
    return lb.build(36, "Fine Print", Themes::sand, DoorStyle::gold, {kUnlocked}, "Read the small print.");
}

// ---------------------------------------------------------------------------------------------
// Rooms 37 to 40: shared helpers (named apart from the other rooms of this file)

namespace {

// Something that only answers a tap with what the player sees.
Prop sightOnly(std::string id, Rect rect, Art art, std::string look) {
    return Prop{.id = std::move(id), .rect = rect, .art = std::move(art), .look = std::move(look)};
}

// The flag a factory sets once it has handed the item over.
std::string tookFlag(const Item& item) { return "took_" + item.id; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Room 37 "Census": the plaque names four things; their counts in its order are the code.

Level room37() {
    constexpr const char* kUnlocked = "unlocked";

    LB lb;
    lb.add({
        sightOnly("census", at(Slot::above, 170, 44), art::Plaque{"PLANTS  CLOCKS\nPAINTINGS  LAMPS"},
                  "How many plants, clocks, paintings and lamps?"),
        sightOnly("clock", at(Slot::wA, 110, 110), art::Clock{2, 10}, "A clock."),
        sightOnly("p1", at(Slot::wB, 140, 100), art::Painting{PaintStyle::sunrise}, "A painting."),
        sightOnly("p2", at(Slot::wD, 140, 100), art::Painting{PaintStyle::ocean}, "Another painting."),
        sightOnly("pl1", at(Slot::fA, 110, 180), art::Plant{Tone::green}, "A plant."),
        sightOnly("pl2", at(Slot::fB, 90, 150), art::Plant{Tone::orange}, "Another plant."),
        sightOnly("pl3", at(Slot::fD, 110, 180), art::Plant{Tone::green}, "A third plant."),
        sightOnly("lamp", at(Slot::fC, 70, 200), art::FloorLamp{true}, "A lamp."),
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "3121");

    lb.step(kUnlocked, {"The plaque above the door lists four things.", "Count each, in that order.",
                        "3 plants, 1 clock, 2 paintings, 1 lamp: 3121."});
    return lb.build(37, "Census", Themes::mustard, DoorStyle::orange, {kUnlocked}, "Count carefully.");
}

// ---------------------------------------------------------------------------------------------
// Room 38 "Blackout": dark for the whole visit; three glowing digits are the code.

Level room38() {
    constexpr const char* kUnlocked = "unlocked";
    constexpr const char* kNever = "never";  // nothing sets it, so the room never lights up

    LB lb;
    lb.add({
        sightOnly("g1", at(Slot::wA, 80, 100), art::Glow{"7"}, "A glowing 7."),
        sightOnly("g2", at(Slot::wB, 80, 100), art::Glow{"2"}, "A glowing 2."),
        sightOnly("g3", at(Slot::wD, 80, 100), art::Glow{"9"}, "A glowing 9."),
        sightOnly("sofa", at(Slot::fA, 200, 120), art::Sofa{Tone::brown}, "A sofa."),
        sightOnly("plant", at(Slot::fD, 110, 180), art::Plant{Tone::green}, "A fern."),
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "729");

    lb.step(kUnlocked, {"The room is pitch black, but some things glow.",
                        "Three glowing numbers. Read them left to right.", "7, 2, 9."});
    return lb.build(38, "Blackout", Themes::charcoal, DoorStyle::black, {kUnlocked},
                    "No lights tonight. Some things glow.", kNever);
}

// ---------------------------------------------------------------------------------------------
// Room 39 "Music Box": sofa -> small key -> chest -> gear; barrel -> crank; the playing box
// gives the door key.

Level room39() {
    constexpr const char* kUnlocked = "unlocked";
    constexpr const char* kCushion = "cushion";
    constexpr const char* kGearIn = "mb_gear";
    constexpr const char* kPlaying = "mb_play";

    LB lb;
    const Item smallKey = lb.item({"key", "small key", ItemKind::key, Tone::white});
    const Item gear = lb.item({"gear", "gear", ItemKind::gear, std::nullopt});
    const Item crank = lb.item({"crank", "crank", ItemKind::crank, std::nullopt});
    const Item doorKey = lb.item({"dkey", "door key", ItemKind::key, std::nullopt});

    const Prop musicBox{
        .id = "mbox",
        .rect = at(Slot::fC, 120, 100),
        .art = art::Chest{false, Tone::purple},
        .rules =
            {
                Rule{Trigger::use(gear.id), {}, {kGearIn},
                     {take(gear.id), set(kGearIn), sfx(Sfx::unlock), say("The gear drops into the music box.")}},
                Rule{Trigger::use(crank.id), {kGearIn}, {kPlaying},
                     {take(crank.id), set(kPlaying), sfx(Sfx::success),
                      say("The music box plays a tune, and a hidden drawer slides out.")}},
                Rule{Trigger::use(crank.id), {}, {kGearIn},
                     {sfx(Sfx::wrong), say("The crank turns, but nothing's connected inside.")}},
                Rule{Trigger::tap(), {kPlaying}, {tookFlag(doorKey)},
                     {give(doorKey.id), set(tookFlag(doorKey)), sfx(Sfx::pickup), say("In the drawer: the door key.")}},
                Rule{Trigger::tap(), {}, {kPlaying}, {say("A music box with a gear missing, and a socket for a crank.")}},
            },
        .states = {PropState{{kPlaying}, art::Chest{true, Tone::purple}}},
        .look = "A music box.",
    };

    lb.add({
        mover("sofa", at(Slot::fA, 210, 120), art::Sofa{Tone::pink}, kCushion, art::Sofa{Tone::pink},
              "You lift a cushion. Something small and silver is wedged inside.",
              {.look = "A rose-coloured sofa.", .sfx = Sfx::open}),
        pickup(smallKey, at(Slot::fA, 40, 30, 520), {.showWhen = {kCushion}, .msg = "A small silver key."}),
        container("chest", at(Slot::fB, 130, 100), art::Chest{false, Tone::brown}, art::Chest{true, Tone::brown},
                  "chest_open", "The key turns.",
                  {.opener = smallKey, .gives = gear, .lockedMsg = "Locked.", .look = "A small chest."}),
        container("barrel", at(Slot::fD, 120, 150), art::Barrel{false}, art::Barrel{false}, "barrel_open",
                  "You pry the lid off.", {.gives = crank, .look = "A barrel."}),
        musicBox,
        sightOnly("art", at(Slot::wB, 150, 100), art::Painting{PaintStyle::portrait}, "A grand lady."),
        sightOnly("win", at(Slot::wD, 150, 170), art::Window{true}, "Moonlight."),
    });
    lb.doorKey(doorKey, kUnlocked, "The lock turns. Click!");

    lb.step(tookFlag(smallKey), {"A music box that doesn't play.", "A small key is somewhere soft.", "Look in the sofa."});
    lb.step(tookFlag(gear), {"The small key opens the chest."});
    lb.step(kGearIn, {"Put the gear in the music box."});
    lb.step(tookFlag(crank), {"It needs winding up. Find a crank.", "The barrel."});
    lb.step(kPlaying, {"Use the crank on the music box."});
    lb.step(kUnlocked, {"Take the key from the drawer and use it on the door."});
    return lb.build(39, "Music Box", Themes::plum, DoorStyle::gold, {kUnlocked}, "Wind it up.");
}

// ---------------------------------------------------------------------------------------------
// Room 40 "Three Locks": a ring of orbs in the order of the dots, a keypad that reads the clock
// as HHMM, and a keyhole for the iron key from the fridge.

Level room40() {
    constexpr const char* kUnlocked = "unlocked";
    constexpr const char* kLockKey = "lockKey";
    constexpr const char* kRugMoved = "rug_moved";

    LB lb;
    const std::vector<Item> orbs = {
        {"orb_red", "red orb", ItemKind::orb, Tone::red},
        {"orb_green", "green orb", ItemKind::orb, Tone::green},
        {"orb_blue", "blue orb", ItemKind::orb, Tone::blue},
    };
    for (const Item& orb : orbs) lb.item(orb);
    const Item& red = orbs[0];
    const Item& green = orbs[1];
    const Item& blue = orbs[2];
    const Item ironKey = lb.item({"key", "iron key", ItemKind::key, std::nullopt});

    // The dots on the wall show the very order the sockets want.
    const std::vector<Tone> order = {Tone::blue, Tone::red, Tone::green};
    const std::vector<std::string> socketFlags = sockets(lb, "s", at(Slot::wC, 150, 60, 200), order, orbs);
    lb.add({
        sightOnly("order", at(Slot::wB, 150, 56, 190), art::Dots{order}, "Blue, red, green."),
        sightOnly("clock", at(Slot::wA, 120, 120), art::Clock{12, 30}, "Half past twelve."),
        sightOnly("note", at(Slot::above, 170, 44), art::Plaque{"HHMM"}, "Hours then minutes."),
        holder("vase", at(Slot::fB, 84, 132), art::Vase{Tone::red}, red, {.look = "A red vase.", .msg = "A red orb!"}),
        mover("rug", at(Slot::rug, 260, 90), art::Rug{"", Tone::blue}, kRugMoved, art::RugRolled{Tone::blue},
              "A blue glimmer under the rug.", {.look = "A blue rug.", .z = -1, .sfx = Sfx::open}),
        pickup(blue, at(Slot::rug, 34, 34), {.showWhen = {kRugMoved}, .msg = "A blue orb."}),
        container("chest", at(Slot::fC, 150, 110), art::Chest{false, Tone::brown}, art::Chest{true, Tone::brown},
                  "chest_open", "The chest opens.", {.gives = green, .look = "A chest."}),
        container("fridge", at(Slot::fA, 130, 230), art::Fridge{false}, art::Fridge{true}, "fridge_open",
                  "The fridge opens.", {.gives = ironKey, .look = "A fridge."}),
        sightOnly("plant", at(Slot::fD, 110, 180), art::Plant{Tone::green}, "A fern."),
    });
    keypad(lb, "pad", at(Slot::wD, 92, 140), "1230");
    lb.doorKey(ironKey, kLockKey, "The lock turns. Click!");
    lb.doorLook = "Three locks: a keyhole, a keypad and a ring of orbs.";

    lb.step(tookFlag(red), {"This door has three locks.", "Orb sockets need orbs. A vase holds one."});
    lb.step(tookFlag(blue), {"Another orb is under the rug."});
    lb.step(tookFlag(green), {"The third is in the chest."});
    lb.step(socketFlags.back(), {"Put the orbs in the sockets, in the order shown by the dots.", "Blue, red, green."});
    lb.step(kUnlocked, {"The clock gives the keypad code.", "12:30 as HHMM: 1230."});
    lb.step(kLockKey, {"Something cold has a key. Use it on the door."});

    std::vector<std::string> requires_ = socketFlags;
    requires_.push_back(kUnlocked);
    requires_.push_back(kLockKey);
    return lb.build(40, "Three Locks", Themes::brick, DoorStyle::steel, requires_, "Forty. Three locks.");
}

}  // namespace ostrevan::Levels
