// Rooms 11 to 20.
#include <Ostrevan/Levels.hpp>

#include <Ostrevan/Builder.hpp>
#include <Ostrevan/Themes.hpp>

namespace ostrevan::Levels {

namespace {

// Names shared by rooms 11 to 19, always qualified so that the other rooms of this file keep
// names of their own.
namespace early {

constexpr const char* kUnlocked = "unlocked";
constexpr const char* kCabOpen = "cab_open";
constexpr const char* kCushion = "cushion";  // a sofa cushion lifted

constexpr const char* kKeyTurns = "The lock turns. Click!";

// The flag a factory sets once it has handed `item` over.
std::string took(const Item& item) { return "took_" + item.id; }

}  // namespace early

}  // namespace

// ---------------------------------------------------------------------------------------------
// Room 11 "Three Orbs": the first row of sockets; the door opens once every socket is filled.

Level room11() {
    LB lb;
    const Item orbRed = lb.item({.id = "orb_red", .name = "red orb", .kind = ItemKind::orb, .tone = Tone::red});
    const Item orbGreen =
        lb.item({.id = "orb_green", .name = "green orb", .kind = ItemKind::orb, .tone = Tone::green});
    const Item orbBlue = lb.item({.id = "orb_blue", .name = "blue orb", .kind = ItemKind::orb, .tone = Tone::blue});

    // The framed dots on the wall show this order, left to right.
    const std::vector<Tone> order = {Tone::green, Tone::blue, Tone::red};
    const std::vector<std::string> filled =
        sockets(lb, "s", at(Slot::wC, 150, 60, 200), order, {orbRed, orbGreen, orbBlue});

    lb.add({
        holder("vase", at(Slot::fC, 84, 132), art::Vase{Tone::red}, orbRed,
               {.look = "A red vase.", .msg = "A red orb is inside the vase!"}),
        mover("sofa", at(Slot::fA, 210, 120), art::Sofa{Tone::orange}, early::kCushion,
              art::Sofa{Tone::orange}, "You lift the cushion. A green orb rolls out!",
              {.look = "A big orange sofa."}),
        pickup(orbGreen, at(Slot::fA, 34, 34, 520), {.showWhen = {early::kCushion}, .msg = "A green orb."}),
        container("cab", at(Slot::fD, 130, 190), art::Cabinet{false}, art::Cabinet{true}, early::kCabOpen,
                  "The cabinet opens.", {.gives = orbBlue, .look = "A cabinet."}),
        Prop{.id = "order", .rect = at(Slot::wB, 150, 56, 190), .art = art::Dots{order},
             .look = "Green, blue, red."},
        Prop{.id = "art", .rect = at(Slot::wA, 140, 100), .art = art::Painting{PaintStyle::abstract},
             .look = "Swirls."},
    });

    lb.step(early::took(orbRed), {"Three sockets, three orbs.", "Look in the vase."});
    lb.step(early::took(orbGreen), {"Furniture can hide things.", "Lift the cushion on the sofa."});
    lb.step(early::took(orbBlue), {"One more orb.", "The cabinet."});
    lb.step(filled.back(), {"Which orb goes where?", "The coloured dots show the order, left to right.",
                            "Green, blue, red."});
    return lb.build(11, "Three Orbs", Themes::ocean, DoorStyle::blue, filled, "Order matters.");
}

// ---------------------------------------------------------------------------------------------
// Room 12 "Moon, Drop, Star": dials of pictures, read off the rug.

Level room12() {
    const std::vector<std::string> symbols = {"star", "moon", "sun", "heart", "bolt", "drop"};

    LB lb;
    lb.add({
        Prop{.id = "rug", .rect = at(Slot::rug, 320, 110), .art = art::Rug{"moon drop star", Tone::purple},
             .z = -1, .look = "Three symbols are woven into the rug."},
        Prop{.id = "note", .rect = at(Slot::wB, 130, 100), .art = art::Note{"Read the rug\nfrom the left."},
             .look = "A note."},
        Prop{.id = "sofa", .rect = at(Slot::fA, 210, 120), .art = art::Sofa{Tone::blue}, .look = "A blue sofa."},
        Prop{.id = "plant", .rect = at(Slot::fD, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });
    // Moon, drop, star.
    dialLock(lb, "dials", at(Slot::wC, 150, 90, 190), {symbols, symbols, symbols}, {1, 5, 0});

    lb.step(early::kUnlocked, {"Dials with pictures instead of numbers.", "Look at the floor.",
                               "Moon, drop, star."});
    return lb.build(12, "Moon, Drop, Star", Themes::plum, DoorStyle::white, {early::kUnlocked},
                    "Not all codes are numbers.");
}

// ---------------------------------------------------------------------------------------------
// Room 13 "Gone Fishing": one item fetches another.

Level room13() {
    constexpr const char* kBarrelOpen = "barrel_open";
    constexpr const char* kFished = "fished";

    LB lb;
    const Item net = lb.item({.id = "net", .name = "fishing net", .kind = ItemKind::net});
    const Item key = lb.item({.id = "key", .name = "key", .kind = ItemKind::key});

    lb.add({
        // The lid comes off without changing the barrel's look.
        container("barrel", at(Slot::fA, 120, 150), art::Barrel{false}, art::Barrel{false}, kBarrelOpen,
                  "You pop the lid off.", {.gives = net, .look = "A wooden barrel."}),
        // The net is a tool, not a key: it stays in the bar.
        receiver("tank", at(Slot::fC, 170, 150), art::FishTank{true}, net, kFished,
                 "You fish the key out of the tank!",
                 {.done = art::FishTank{false},
                  .look = "A key glints at the bottom of the tank. Too deep to reach.",
                  .noUse = "That won't help.", .consume = false, .sfx = Sfx::splash, .extra = {give(key.id)}}),
        Prop{.id = "art", .rect = at(Slot::wB, 150, 110), .art = art::Painting{PaintStyle::ocean},
             .look = "Fishing boats."},
        Prop{.id = "win", .rect = at(Slot::wD, 150, 170), .art = art::Window{false},
             .look = "Gulls wheel outside."},
    });

    lb.doorKey(key, early::kUnlocked, early::kKeyTurns);
    lb.step(early::took(net), {"That key in the tank is out of reach.", "Something here could help you fish.",
                               "Check the barrel."});
    lb.step(kFished, {"Use the net on the fish tank."});
    lb.step(early::kUnlocked, {"Use the key on the door."});
    return lb.build(13, "Gone Fishing", Themes::teal, DoorStyle::wood, {early::kUnlocked},
                    "The right tool for the job.");
}

// ---------------------------------------------------------------------------------------------
// Room 14 "Lamp Code": the switches copy the lamps above the door.

Level room14() {
    const std::vector<bool> pattern = {true, false, true, true, false};

    LB lb;
    lb.add({
        Prop{.id = "lamps", .rect = at(Slot::above, 170, 44), .art = art::Lamps{pattern},
             .look = "Five lamps: on, off, on, on, off."},
        Prop{.id = "art", .rect = at(Slot::wA, 140, 100), .art = art::Painting{PaintStyle::mountains},
             .look = "Peaks."},
        Prop{.id = "plant", .rect = at(Slot::fA, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
        Prop{.id = "sofa", .rect = at(Slot::fD, 200, 120), .art = art::Sofa{Tone::red}, .look = "A red sofa."},
    });
    switchLock(lb, "sw", at(Slot::wC, 150, 80, 195), {"1", "2", "3", "4", "5"}, pattern);

    lb.step(early::kUnlocked, {"Look above the door.", "Match the switches to the lamps.",
                               "On, off, on, on, off."});
    return lb.build(14, "Lamp Code", Themes::charcoal, DoorStyle::steel, {early::kUnlocked},
                    "Copy what you see.");
}

// ---------------------------------------------------------------------------------------------
// Room 15 "Blown Fuse": the TV shows the code once both fuses are in the box.

Level room15() {
    constexpr const char* kRedIn = "f1";
    constexpr const char* kBlueIn = "f2";
    constexpr const char* kCode = "5193";  // shown by the TV once powered
    const std::vector<std::string> powered = {kRedIn, kBlueIn};

    LB lb;
    const Item fuseRed = lb.item({.id = "fuse_a", .name = "red fuse", .kind = ItemKind::fuse, .tone = Tone::red});
    const Item fuseBlue =
        lb.item({.id = "fuse_b", .name = "blue fuse", .kind = ItemKind::fuse, .tone = Tone::blue});

    lb.add({
        Prop{.id = "box1",
             .rect = at(Slot::wA, 70, 110, 160),
             .art = art::FuseBox{0},
             .rules = {{.trigger = Trigger::use(fuseRed.id),
                        .without = {kRedIn},
                        .effects = {take(fuseRed.id), set(kRedIn), sfx(Sfx::unlock), say("The red fuse slots in.")}},
                       {.trigger = Trigger::use(fuseBlue.id),
                        .without = {kBlueIn},
                        .effects = {take(fuseBlue.id), set(kBlueIn), sfx(Sfx::unlock),
                                    say("The blue fuse slots in.")}},
                       // Deliberately the same words once the fuses are in.
                       {.trigger = Trigger::tap(),
                        .effects = {say("The fuse box has two empty slots, one red, one blue.")}}},
             .states = {{.flags = powered, .art = art::FuseBox{2}},
                        {.flags = {kRedIn}, .art = art::FuseBox{1}},
                        {.flags = {kBlueIn}, .art = art::FuseBox{1}}},
             .look = "A fuse box."},
        Prop{.id = "tv",
             .rect = at(Slot::wB, 150, 110),
             .art = art::Tv{std::nullopt, false},
             .states = {{.flags = powered, .art = art::Tv{kCode, true}}},
             .look = "The TV is dead."},
        container("cab", at(Slot::fC, 140, 190), art::Cabinet{false}, art::Cabinet{true}, early::kCabOpen,
                  "The cabinet opens.", {.gives = fuseRed, .look = "A cabinet."}),
        mover("sofa", at(Slot::fA, 210, 120), art::Sofa{Tone::green}, early::kCushion, art::Sofa{Tone::green},
              "You lift the cushion and find something small.", {.look = "A green sofa."}),
        pickup(fuseBlue, at(Slot::fA, 34, 34, 520), {.showWhen = {early::kCushion}, .msg = "A blue fuse."}),
    });
    // Only the code guards the keypad: the fuses merely reveal it.
    keypad(lb, "pad", at(Slot::wC, 92, 140, 165), kCode);

    lb.step(early::took(fuseRed), {"The power is out. Check the fuse box.", "Two fuses are missing. Find them.",
                                   "One is in the cabinet."});
    lb.step(early::took(fuseBlue), {"The other one is hiding in the sofa."});
    lb.step(kRedIn, {"Put the red fuse in the box."});
    lb.step(kBlueIn, {"Put the blue fuse in the box."});
    lb.step(early::kUnlocked, {"The TV shows a number.", "Type it on the keypad."});
    return lb.build(15, "Blown Fuse", Themes::navy, DoorStyle::glass, {early::kUnlocked}, "Restore the power.");
}

// ---------------------------------------------------------------------------------------------
// Room 16 "Long Live": letters about the room, put in the order of their number plaques.

Level room16() {
    LB lb;
    lb.add({
        Prop{.id = "n", .rect = at(Slot::wA, 84, 96), .art = art::Digit{"N", Tone::orange},
             .look = "A big letter N."},
        Prop{.id = "n3", .rect = at(Slot::wA, 40, 24, 290), .art = art::Plaque{"3"}, .look = "The number 3."},
        Prop{.id = "g", .rect = at(Slot::wB, 84, 96), .art = art::Digit{"G", Tone::blue}, .look = "A big letter G."},
        Prop{.id = "g4", .rect = at(Slot::wB, 40, 24, 290), .art = art::Plaque{"4"}, .look = "The number 4."},
        Prop{.id = "k", .rect = at(Slot::wD, 84, 96), .art = art::Digit{"K", Tone::red}, .look = "A big letter K."},
        Prop{.id = "k1", .rect = at(Slot::wD, 40, 24, 290), .art = art::Plaque{"1"}, .look = "The number 1."},
        Prop{.id = "rug", .rect = at(Slot::rug, 250, 100), .art = art::Rug{"I", Tone::green}, .z = -1,
             .look = "A rug with a letter I."},
        // On the floor, left of the rug.
        Prop{.id = "i2", .rect = at(Slot::fB, 40, 24, 575), .art = art::Plaque{"2"}, .look = "The number 2."},
    });
    lettersLock(lb, "word", at(Slot::wC, 150, 80, 195), "KING");

    lb.step(early::kUnlocked, {"Four letters, each with a number.", "Put the letters in number order.",
                               "K, I, N, G."});
    return lb.build(16, "Long Live", Themes::wine, DoorStyle::gold, {early::kUnlocked}, "Spell it out.");
}

// ---------------------------------------------------------------------------------------------
// Room 17 "Ancient Math": Roman numerals, read left to right, top to bottom.

Level room17() {
    LB lb;
    lb.add({
        Prop{.id = "poster", .rect = at(Slot::wB, 150, 130), .art = art::Poster{"IV   IX\nII   VII", Tone::brown},
             .look = "Roman numerals, read left to right, top to bottom."},
        // A cheat sheet, not an item: it gives nothing.
        Prop{.id = "key", .rect = at(Slot::wD, 140, 110), .art = art::Poster{"I=1  V=5\nX=10", Tone::blue},
             .look = "A cheat sheet: I=1, V=5, X=10."},
        Prop{.id = "plant", .rect = at(Slot::fA, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
        Prop{.id = "sofa", .rect = at(Slot::fD, 200, 120), .art = art::Sofa{Tone::brown}, .look = "A leather sofa."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140, 165), "4927");

    lb.step(early::kUnlocked, {"Those letters are numbers.", "IV is 4, IX is 9.", "4, 9, 2, 7."});
    return lb.build(17, "Ancient Math", Themes::sand, DoorStyle::wood, {early::kUnlocked}, "Veni, vidi, vici.");
}

// ---------------------------------------------------------------------------------------------
// Room 18 "Roll Call": three dice, then the number of windows.

Level room18() {
    LB lb;
    lb.add({
        Prop{.id = "table", .rect = at(Slot::fC, 190, 110), .art = art::Table{}, .look = "A table."},
        // Lying on the table top, drawn above it.
        Prop{.id = "dice", .rect = at(Slot::fC, 120, 36, 460), .art = art::Dice{{5, 2, 6}}, .z = 3,
             .look = "Three dice: 5, 2 and 6."},
        Prop{.id = "w1", .rect = at(Slot::wA, 130, 160), .art = art::Window{false}, .look = "A window."},
        Prop{.id = "w2", .rect = at(Slot::wD, 130, 160), .art = art::Window{false}, .look = "Another window."},
        Prop{.id = "poster", .rect = at(Slot::wB, 140, 110), .art = art::Poster{"Dice, then\nthe windows", Tone::red},
             .look = "Dice first, then the number of windows."},
        Prop{.id = "plant", .rect = at(Slot::fA, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140, 165), "5262");

    lb.step(early::kUnlocked, {"Read the poster.", "Dice give three digits. Windows give the last.",
                               "5, 2, 6 and two windows: 5262."});
    return lb.build(18, "Roll Call", Themes::mustard, DoorStyle::red, {early::kUnlocked}, "Count everything.");
}

// ---------------------------------------------------------------------------------------------
// Room 19 "Primary Colours": press what each pair of paints mixes to.

Level room19() {
    LB lb;
    lb.add({
        Prop{.id = "mix",
             .rect = at(Slot::wB, 150, 150),
             .art = art::Mixes{{{Tone::blue, Tone::yellow}, {Tone::red, Tone::blue}, {Tone::yellow, Tone::red}}},
             .look = "Pairs of paint to mix. Top to bottom."},
        Prop{.id = "note", .rect = at(Slot::wD, 130, 90),
             .art = art::Note{"Mix each pair.\nPress the results\ntop to bottom."}, .look = "A note."},
        Prop{.id = "art", .rect = at(Slot::wA, 130, 100), .art = art::Painting{PaintStyle::abstract},
             .look = "Paint splatters."},
        Prop{.id = "plant", .rect = at(Slot::fD, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });
    // The mixes of the pairs above, top to bottom.
    colorLock(lb, "buttons", at(Slot::wC, 150, 90, 190),
              {Tone::red, Tone::yellow, Tone::blue, Tone::green, Tone::orange, Tone::purple},
              {Tone::green, Tone::purple, Tone::orange});

    lb.step(early::kUnlocked, {"Mix the paints.", "Blue + yellow, red + blue, yellow + red.",
                               "Green, purple, orange."});
    return lb.build(19, "Primary Colours", Themes::rose, DoorStyle::orange, {early::kUnlocked}, "Art class.");
}

// ---------------------------------------------------------------------------------------------
// Room 20 "Trapdoor": the key is hidden twice; the rug hides a trapdoor, and the trapdoor needs
// the barrel's crank.

Level room20() {
    constexpr char kRugMoved[] = "rug_moved";
    constexpr char kTrapOpen[] = "td_open";
    constexpr char kUnlocked[] = "unlocked";

    LB lb;
    const Item crank = lb.item({"crank", "crank handle", ItemKind::crank, std::nullopt});
    const Item key = lb.item({"key", "iron key", ItemKind::key, std::nullopt});

    lb.add({
        mover("rug", at(Slot::rug, 280, 110), art::Rug{"", Tone::brown}, kRugMoved, art::RugRolled{Tone::brown},
              "You roll the rug aside. There's a trapdoor!", {.look = "A heavy rug.", .z = -1, .sfx = Sfx::open}),
        container("trap", at(Slot::rug, 130, 70, 540), art::Trapdoor{false}, art::Trapdoor{true}, kTrapOpen,
                  "The crank winds the trapdoor open.",
                  {.opener = crank,
                   .gives = key,
                   .lockedMsg = "The trapdoor won't budge. It has a socket for a handle.",
                   .look = "A trapdoor.",
                   .showWhen = {kRugMoved},
                   .z = 1}),
        // The barrel looks the same open or shut.
        container("barrel", at(Slot::fA, 120, 150), art::Barrel{false}, art::Barrel{false}, "barrel_open",
                  "You open the barrel.", {.gives = crank, .look = "A barrel."}),
        Prop{.id = "art", .rect = at(Slot::wB, 150, 110), .art = art::Painting{PaintStyle::forest}, .look = "Trees."},
        Prop{.id = "art2", .rect = at(Slot::wD, 140, 100), .art = art::Painting{PaintStyle::sunrise},
             .look = "A sunrise."},
    });

    lb.doorKey(key, kUnlocked, "The lock turns. Click!");
    lb.step(kRugMoved, {"The floor has secrets.", "Move the rug."});
    lb.step("took_" + crank.id, {"The trapdoor needs a handle.", "Try the barrel."});
    lb.step(kTrapOpen, {"Use the crank on the trapdoor."});
    lb.step(kUnlocked, {"Take the key, then use it on the door."});
    return lb.build(20, "Trapdoor", Themes::brick, DoorStyle::black, {kUnlocked}, "Halfway to twenty-five.");
}

}  // namespace ostrevan::Levels
