// Rooms 1 to 10: the opening rooms, each teaching one mechanism the later rooms combine.
//
// [SECTION] Shared flags and texts
// [SECTION] Room 1  "Welcome"        search, then use an item on the door
// [SECTION] Room 2  "Three Digits"   first keypad
// [SECTION] Room 3  "Underfoot"      hidden item, locked container
// [SECTION] Room 4  "Rainbow Lock"   first colour lock
// [SECTION] Room 5  "Dead Battery"   first receiver
// [SECTION] Room 6  "Clockwork"      the time is the code
// [SECTION] Room 7  "Bookworm"       a code in a count
// [SECTION] Room 8  "Lights Out"     first dark room
// [SECTION] Room 9  "Half and Half"  first combination
// [SECTION] Room 10 "Looking Glass"  a mirrored code
#include <Ostrevan/Levels.hpp>

#include <Ostrevan/Builder.hpp>
#include <Ostrevan/Themes.hpp>

#include <string>
#include <vector>

namespace ostrevan::Levels {

// ---------------------------------------------------------------------------------------------
// [SECTION] Shared flags and texts

namespace {

constexpr const char* kUnlocked = "unlocked";
constexpr const char* kLightsOn = "lights_on";
constexpr const char* kCabOpen = "cab_open";

constexpr const char* kKeyTurns = "The lock turns. Click!";

// The flag a factory sets once it has handed `item` over.
std::string took(const Item& item) { return "took_" + item.id; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 1 "Welcome"

Level room1() {
    LB lb;
    const Item key = lb.item({.id = "key", .name = "brass key", .kind = ItemKind::key});

    lb.add({
        Prop{.id = "win", .rect = at(Slot::wA, 150, 170), .art = art::Window{false},
             .look = "A sunny day outside."},
        Prop{.id = "art", .rect = at(Slot::wC, 150, 110), .art = art::Painting{PaintStyle::sunrise},
             .look = "A pretty painting of a sunrise."},
        Prop{.id = "plant", .rect = at(Slot::fA, 120, 190), .art = art::Plant{Tone::green},
             .look = "A leafy fern."},
        holder("vase", at(Slot::fC, 84, 132), art::Vase{Tone::blue}, key,
               {.look = "A blue vase.", .msg = "Something rattles in the vase... a key!"}),
    });

    lb.doorKey(key, kUnlocked, kKeyTurns);
    lb.step(took(key), {"Tap things around the room to look closely at them.",
                        "Something might be hiding in the vase."});
    lb.step(kUnlocked, {"Tap the key in the bar below to select it, then tap the door."});
    return lb.build(1, "Welcome", Themes::cream, DoorStyle::wood, {kUnlocked},
                    "Tap things to search. Select an item below, then tap where to use it.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 2 "Three Digits"

Level room2() {
    LB lb;
    lb.add({
        Prop{.id = "s1", .rect = at(Slot::wA, 84, 100), .art = art::Digit{"4", Tone::red},
             .look = "A sign with a big 4."},
        Prop{.id = "s2", .rect = at(Slot::wB, 84, 100), .art = art::Digit{"8", Tone::blue},
             .look = "A sign with a big 8."},
        Prop{.id = "s3", .rect = at(Slot::wD, 84, 100), .art = art::Digit{"2", Tone::green},
             .look = "A sign with a big 2."},
        Prop{.id = "hint", .rect = at(Slot::above, 150, 44), .art = art::Plaque{"LEFT TO RIGHT"},
             .look = "Read the signs left to right."},
        Prop{.id = "plant", .rect = at(Slot::fD, 110, 180), .art = art::Plant{Tone::green},
             .look = "Just a plant."},
        Prop{.id = "sofa", .rect = at(Slot::fA, 200, 120), .art = art::Sofa{Tone::orange},
             .look = "A comfy sofa."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "482");

    lb.step(kUnlocked, {"The keypad needs a 3 digit code.", "Look for big numbers on the walls.",
                        "Read them left to right: 4, 8, 2."});
    return lb.build(2, "Three Digits", Themes::sage, DoorStyle::orange, {kUnlocked},
                    "Some doors want a code.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 3 "Underfoot"

Level room3() {
    constexpr const char* kRugMoved = "rug_moved";

    LB lb;
    const Item small = lb.item({.id = "small", .name = "small silver key", .kind = ItemKind::key,
                                .tone = Tone::white});
    const Item key = lb.item({.id = "key", .name = "door key", .kind = ItemKind::key});

    lb.add({
        mover("rug", at(Slot::rug, 300, 110), art::Rug{"", Tone::red}, kRugMoved,
              art::RugRolled{Tone::red}, "You roll back the rug. A key was hiding under it!",
              {.look = "A thick red rug.", .z = -1, .sfx = Sfx::open}),
        pickup(small, at(Slot::rug, 46, 28), {.showWhen = {kRugMoved}, .msg = "A small silver key."}),
        container("cab", at(Slot::fC, 140, 190), art::Cabinet{false}, art::Cabinet{true}, kCabOpen,
                  "The little key fits! The cabinet swings open.",
                  {.opener = small, .gives = key, .lockedMsg = "The cabinet is locked.",
                   .look = "A wooden cabinet."}),
        Prop{.id = "art", .rect = at(Slot::wB, 150, 110), .art = art::Painting{PaintStyle::mountains},
             .look = "Snowy mountains."},
        Prop{.id = "win", .rect = at(Slot::wD, 150, 170), .art = art::Window{true},
             .look = "It's dark and starry outside."},
        Prop{.id = "plant", .rect = at(Slot::fA, 110, 180), .art = art::Plant{Tone::green},
             .look = "A fern."},
    });

    lb.doorKey(key, kUnlocked, kKeyTurns);
    lb.step(took(small), {"Floors can hide things. Try the rug.", "Tap the rug to move it."});
    lb.step(kCabOpen, {"The little key opens something small.", "Use the silver key on the cabinet."});
    lb.step(kUnlocked, {"Take what's in the cabinet, then use it on the door."});
    return lb.build(3, "Underfoot", Themes::terracotta, DoorStyle::steel, {kUnlocked},
                    "Not everything is out in the open.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 4 "Rainbow Lock"

Level room4() {
    // The framed stripes are the answer, read left to right.
    const std::vector<Tone> order = {Tone::blue, Tone::red, Tone::yellow, Tone::green};

    LB lb;
    lb.add({
        Prop{.id = "stripes", .rect = at(Slot::wB, 150, 120), .art = art::Stripes{order},
             .look = "Four coloured stripes in a frame."},
        Prop{.id = "art", .rect = at(Slot::wA, 130, 100), .art = art::Painting{PaintStyle::abstract},
             .look = "Modern art. Probably."},
        Prop{.id = "lamp", .rect = at(Slot::fD, 70, 200), .art = art::FloorLamp{true}, .look = "A warm lamp."},
        Prop{.id = "sofa", .rect = at(Slot::fA, 210, 120), .art = art::Sofa{Tone::purple},
             .look = "A purple sofa."},
    });
    colorLock(lb, "buttons", at(Slot::wC, 150, 80),
              {Tone::red, Tone::yellow, Tone::green, Tone::blue, Tone::purple}, order);

    lb.step(kUnlocked, {"Colours, in order.", "The framed stripes show the order, left to right.",
                        "Blue, red, yellow, green."});
    return lb.build(4, "Rainbow Lock", Themes::teal, DoorStyle::red, {kUnlocked},
                    "A pattern is worth remembering.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 5 "Dead Battery"

Level room5() {
    constexpr const char* kFridgeOpen = "fridge_open";
    constexpr const char* kRadioOn = "radio_on";
    constexpr const char* kCode = "719";  // shown by the powered radio

    LB lb;
    const Item battery = lb.item({.id = "battery", .name = "battery", .kind = ItemKind::battery});

    lb.add({
        container("fridge", at(Slot::fA, 130, 230), art::Fridge{false}, art::Fridge{true}, kFridgeOpen,
                  "You open the fridge.",
                  {.gives = battery, .look = "A humming fridge.", .emptyMsg = "Just leftovers."}),
        receiver("radio", at(Slot::fC, 120, 110), art::Radio{false, std::nullopt}, battery, kRadioOn,
                 "The radio crackles to life and shows a number.",
                 {.done = art::Radio{true, kCode}, .look = "A radio. It has no power.",
                  .noUse = "Nothing happens.", .consume = true, .sfx = Sfx::unlock}),
        Prop{.id = "win", .rect = at(Slot::wB, 150, 170), .art = art::Window{false}, .look = "Fine weather."},
        Prop{.id = "art", .rect = at(Slot::wD, 140, 110), .art = art::Painting{PaintStyle::ocean},
             .look = "A calm sea."},
    });
    keypad(lb, "pad", at(Slot::wC, 90, 140), kCode);

    lb.step(took(battery), {"The radio isn't working. Something's missing.", "Check the fridge."});
    lb.step(kRadioOn, {"Put the battery into the radio."});
    lb.step(kUnlocked, {"The radio shows a number. Try it on the keypad."});
    return lb.build(5, "Dead Battery", Themes::mustard, DoorStyle::green, {kUnlocked},
                    "Power first, answers second.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 6 "Clockwork"

Level room6() {
    LB lb;
    lb.add({
        Prop{.id = "clock", .rect = at(Slot::wB, 130, 130), .art = art::Clock{4, 20},
             .look = "The clock says 4:20."},
        Prop{.id = "note", .rect = at(Slot::wD, 130, 110),
             .art = art::Note{"The code is the time.\nFour digits: HHMM."}, .look = "A note taped to the wall."},
        Prop{.id = "clock2", .rect = at(Slot::wA, 100, 100), .art = art::Clock{9, 45},
             .look = "This clock is broken. It's stuck."},
        Prop{.id = "plant", .rect = at(Slot::fB, 100, 170), .art = art::Plant{Tone::green},
             .look = "Plastic. Sadly."},
        Prop{.id = "sofa", .rect = at(Slot::fD, 200, 120), .art = art::Sofa{Tone::blue}, .look = "A blue sofa."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "0420");

    lb.step(kUnlocked, {"What does the note say?", "One clock works. One is stuck.",
                        "The working clock shows 4:20, so type 0420."});
    return lb.build(6, "Clockwork", Themes::slate, DoorStyle::glass, {kUnlocked}, "Time is a code too.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 7 "Bookworm"

Level room7() {
    // 4 red, 2 blue, 3 green; yellow, purple and orange are decoys.
    const std::vector<Tone> books = {Tone::red,    Tone::blue,  Tone::green,  Tone::red,   Tone::yellow,
                                     Tone::blue,   Tone::red,   Tone::purple, Tone::green, Tone::red,
                                     Tone::orange, Tone::green, Tone::yellow, Tone::purple};

    LB lb;
    lb.add({
        Prop{.id = "shelf", .rect = at(Slot::fB, 170, 215), .art = art::Bookshelf{books},
             .look = "A full bookshelf."},
        Prop{.id = "legend", .rect = at(Slot::wB, 130, 60, 125),
             .art = art::Dots{{Tone::red, Tone::blue, Tone::green}}, .look = "Red, blue, green. How many of each?"},
        Prop{.id = "art", .rect = at(Slot::wA, 130, 100), .art = art::Painting{PaintStyle::forest},
             .look = "A forest in autumn."},
        Prop{.id = "lamp", .rect = at(Slot::fD, 70, 200), .art = art::FloorLamp{true},
             .look = "A reading lamp."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "423");

    lb.step(kUnlocked, {"Where's the code? Maybe it isn't written down.",
                        "Count the books by colour: red, blue, green.", "4 red, 2 blue, 3 green: 423."});
    return lb.build(7, "Bookworm", Themes::sage, DoorStyle::wood, {kUnlocked}, "Counting counts.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 8 "Lights Out"

Level room8() {
    LB lb;
    const Item key = lb.item({.id = "key", .name = "key", .kind = ItemKind::key});

    lb.add({
        // The one way to light the room; there is no turning it off again.
        mover("switch", at(Slot::wD, 46, 70, 250), art::SwitchPlate{false}, kLightsOn,
              art::SwitchPlate{true}, "Click! The lights come on.",
              {.look = "A light switch.", .sfx = Sfx::power}),
        holder("vase", at(Slot::fB, 84, 132), art::Vase{Tone::purple}, key, {.look = "A dusty vase."}),
        Prop{.id = "art", .rect = at(Slot::wB, 150, 110), .art = art::Painting{PaintStyle::portrait},
             .look = "Someone stares back."},
        Prop{.id = "plant", .rect = at(Slot::fA, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });

    lb.doorKey(key, kUnlocked, kKeyTurns);
    lb.step(kLightsOn, {"It's too dark. Move the mouse around to look.",
                        "There must be a light switch on a wall. Try the right side."});
    lb.step(took(key), {"Now you can see. Search the room.", "The vase."});
    lb.step(kUnlocked, {"Use the key on the door."});
    return lb.build(8, "Lights Out", Themes::plum, DoorStyle::black, {kUnlocked},
                    "Move the mouse to shine a light. Find the switch.", kLightsOn);
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 9 "Half and Half"

Level room9() {
    LB lb;
    const Item top = lb.item({.id = "top", .name = "key head", .kind = ItemKind::keyTop});
    const Item blade = lb.item({.id = "blade", .name = "key blade", .kind = ItemKind::keyBlade});
    const Item key = lb.item({.id = "key", .name = "whole key", .kind = ItemKind::key});
    lb.combo(top, blade, key, "The two halves click together into a whole key.");

    lb.add({
        Prop{.id = "shelf", .rect = at(Slot::wB, 150, 14, 232), .art = art::Shelf{{ItemKind::coin}},
             .look = "A little shelf with bits and bobs."},
        // Stands on the shelf: its bottom is the shelf's top edge.
        pickup(top, at(Slot::wB, 40, 40, 188), {.msg = "A key... but only the head of it."}),
        container("cab", at(Slot::fC, 140, 190), art::Cabinet{false}, art::Cabinet{true}, kCabOpen,
                  "The cabinet opens.", {.gives = blade, .look = "A cabinet."}),
        Prop{.id = "win", .rect = at(Slot::wA, 150, 170), .art = art::Window{false}, .look = "Sunshine."},
        Prop{.id = "plant", .rect = at(Slot::fA, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });

    lb.doorKey(key, kUnlocked, kKeyTurns);
    // The blade step comes first, even for a player who already holds the head.
    lb.step(took(blade), {"A key in pieces?", "Look on the shelf and in the cabinet."});
    lb.step(took(top), {"You need both parts."});
    lb.step(kUnlocked,
            {"Tap one half, then tap the other half in the bar to join them. Then use the key."});
    return lb.build(9, "Half and Half", Themes::rose, DoorStyle::steel, {kUnlocked},
                    "Items can be combined: select one, then tap another.");
}

// ---------------------------------------------------------------------------------------------
// [SECTION] Room 10 "Looking Glass"

Level room10() {
    constexpr const char* kCode = "1583";  // what the mirror holds, in reading order

    LB lb;
    lb.add({
        // Only the drawing is mirrored.
        Prop{.id = "mirror", .rect = at(Slot::wB, 150, 130), .art = art::Mirror{kCode},
             .look = "The mirror shows a number. It's backwards."},
        Prop{.id = "poster", .rect = at(Slot::wD, 130, 110),
             .art = art::Poster{"Everything in\nthe glass is\nbackwards", Tone::purple},
             .look = "A poster about mirrors."},
        Prop{.id = "plant", .rect = at(Slot::fD, 110, 180), .art = art::Plant{Tone::green}, .look = "Greenery."},
        Prop{.id = "table", .rect = at(Slot::fA, 150, 100), .art = art::Table{}, .look = "A small table."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), kCode);

    lb.step(kUnlocked, {"The mirror says something.",
                        "A mirror flips left and right, and the order of the digits.",
                        "Read the mirror from right to left: 1583."});
    return lb.build(10, "Looking Glass", Themes::navy, DoorStyle::gold, {kUnlocked},
                    "Ten down. It gets trickier.");
}

}  // namespace ostrevan::Levels
