// Rooms 21 to 30.
//
// [SECTION] 21 Fishing, Again   screwdriver opens a vent, magnet on a string fishes out the key
// [SECTION] 22 Black Light      battery + torch = UV torch, which shows the keypad code
// [SECTION] 23 Safe Sums        four sums give the safe code; the safe's keycard opens the reader
// [SECTION] 24 Bulb Moment      dark room: a bulb for the fitting, then three signs give the code
// [SECTION] 25 Low to High      numbered balls give the colour order
// [SECTION] 26 Two Chests       colour-coded keys and chests, two gear halves for the wall machine
// [SECTION] 27 Waterworks       carry water from the barrel to the fountain, take the floating key
// [SECTION] 28 Three Clues      lamps, clock and sign give the three dials
// [SECTION] 29 Simon Says       repeat the TV's colour flashes
// [SECTION] 30 Two Locks        a keyhole (key from the dice-coded chest) and a striped light panel
#include <Ostrevan/Levels.hpp>

#include <Ostrevan/Builder.hpp>
#include <Ostrevan/Themes.hpp>

#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace ostrevan::Levels {

namespace {

// The door's usual requirement, set by the room's last lock, key or receiver.
constexpr char kUnlocked[] = "unlocked";
constexpr char kKeyTurns[] = "The lock turns. Click!";

// The flag a factory sets once it has handed the item over.
std::string took(const Item& item) { return "took_" + item.id; }

}  // namespace

// [SECTION] 21 Fishing, Again ------------------------------------------------------------------

Level room21() {
    constexpr char kVentOpen[] = "vent_open";

    LB lb;
    const Item magnet{"magnet", "magnet", ItemKind::magnet, std::nullopt};
    const Item twine{"string", "ball of string", ItemKind::string, std::nullopt};
    const Item line{"line", "magnet on a string", ItemKind::magnet, Tone::red};
    lb.combo(magnet, twine, line, "You tie the magnet to the string. A magnetic fishing line!");
    const Item screwdriver = lb.item({"screwdriver", "screwdriver", ItemKind::screwdriver, std::nullopt});
    const Item key = lb.item({"key", "key", ItemKind::key, std::nullopt});
    const std::string tookKey = took(key);

    lb.add({
        Prop{.id = "vent",
             .rect = at(Slot::wC, 130, 130),
             .art = art::Vent{false},
             .rules = {Rule{.trigger = Trigger::use(screwdriver.id),
                            .without = {kVentOpen},
                            .effects = {take(screwdriver.id), set(kVentOpen), sfx(Sfx::unlock),
                                        say("You unscrew the grille. Something glints deep inside.")}},
                       Rule{.trigger = Trigger::use(line.id),
                            .needs = {kVentOpen},
                            .without = {tookKey},
                            .effects = {give(key.id), set(tookKey), sfx(Sfx::pickup),
                                        say("Something clinks onto the magnet: a key!")}},
                       Rule{.trigger = Trigger::use(line.id),
                            .without = {kVentOpen},
                            .effects = {sfx(Sfx::wrong), say("The grille is in the way.")}},
                       Rule{.trigger = Trigger::tap(),
                            .without = {kVentOpen},
                            .effects = {say("A screwed-on grille. Something glints behind it.")}},
                       Rule{.trigger = Trigger::tap(),
                            .needs = {kVentOpen},
                            .without = {tookKey},
                            .effects = {say("A dark shaft. The key is too far to reach.")}}},
             .states = {PropState{{kVentOpen}, art::Vent{true}}},
             .look = "A vent."},
        Prop{.id = "table", .rect = at(Slot::fB, 170, 95), .art = art::Table{}, .look = "A sturdy table."},
        pickup(screwdriver, at(Slot::fB, 64, 26, 476), {.msg = "A screwdriver."}),
        container("chest", at(Slot::fA, 150, 110), art::Chest{false, Tone::brown}, art::Chest{true, Tone::brown},
                  "chest_open", "The chest creaks open.", {.gives = magnet, .look = "A wooden chest."}),
        holder("boxes", at(Slot::fD, 150, 130), art::Boxes{}, twine,
               {.look = "Cardboard boxes.", .msg = "Rummaging in the boxes, you find some string."}),
        Prop{.id = "art", .rect = at(Slot::wB, 150, 110), .art = art::Painting{PaintStyle::mountains},
             .look = "Mountains."},
    });

    lb.doorKey(key, kUnlocked, kKeyTurns);
    lb.step(kVentOpen, {"That vent has something shiny inside.", "The grille is held on with screws. Find a tool.",
                        "A screwdriver is on the table."});
    lb.step(took(magnet), {"The key is out of reach. Something magnetic would help.", "Search the chest."});
    lb.step(took(twine), {"A magnet alone can't reach. It needs something long.", "The boxes."});
    lb.step(tookKey, {"Combine the magnet with the string, then use it on the vent."});
    lb.step(kUnlocked, {"Use the key on the door."});
    return lb.build(21, "Fishing, Again", Themes::slate, DoorStyle::steel, {kUnlocked}, "Tools combine.");
}

// [SECTION] 22 Black Light ---------------------------------------------------------------------

Level room22() {
    constexpr char kUvSeen[] = "uv_seen";
    constexpr char kCode[] = "2931";  // glows on the poster, opens the keypad

    LB lb;
    const Item battery{"battery", "battery", ItemKind::battery, std::nullopt};
    const Item torch{"torch", "torch", ItemKind::torch, std::nullopt};
    const Item uv{"uv", "UV torch", ItemKind::torch, Tone::purple};
    lb.combo(battery, torch, uv, "The torch glows violet. It's an ultraviolet light!");

    lb.add({
        container("fridge", at(Slot::fA, 130, 230), art::Fridge{false}, art::Fridge{true}, "fridge_open",
                  "The fridge door swings open.", {.gives = battery, .look = "A fridge.", .emptyMsg = "Empty."}),
        // The coin is only painted on the shelf; the torch lying on it is a pickup of its own.
        Prop{.id = "shelf", .rect = at(Slot::wB, 150, 14, 232), .art = art::Shelf{{ItemKind::coin}},
             .look = "A shelf."},
        pickup(torch, at(Slot::wB, 40, 40, 188), {.msg = "A torch, without batteries."}),
        Prop{.id = "wall",
             .rect = at(Slot::wD, 150, 130),
             .art = art::Poster{"NOTHING\nTO SEE\nHERE", Tone::white},
             .rules = {Rule{.trigger = Trigger::use(uv.id),
                            .without = {kUvSeen},
                            .effects = {set(kUvSeen), sfx(Sfx::power), say("Glowing numbers appear on the wall!")}}},
             .states = {PropState{{kUvSeen}, art::Glow{kCode}}},
             .look = "A poster. It seems to say nothing.",
             .noUse = "Nothing happens."},
        Prop{.id = "plant", .rect = at(Slot::fD, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), kCode);

    lb.step(took(battery), {"The torch has no batteries.", "Where would a battery be?", "The fridge."});
    lb.step(took(torch), {"A torch would show writing the eye can't see.", "Check the shelf."});
    lb.step(kUvSeen, {"Join the battery and the torch. Shine it on the poster."});
    lb.step(kUnlocked, {"Type the glowing number into the keypad."});
    return lb.build(22, "Black Light", Themes::charcoal, DoorStyle::black, {kUnlocked}, "Some writing hides.");
}

// [SECTION] 23 Safe Sums -----------------------------------------------------------------------

Level room23() {
    LB lb;
    const Item card = lb.item({"card", "keycard", ItemKind::card, std::nullopt});

    lb.add({
        Prop{.id = "maths", .rect = at(Slot::wB, 150, 130), .art = art::Poster{"3+4   2x3\n9-2   8/2", Tone::blue},
             .look = "Four sums. Read them in rows."},
        Prop{.id = "note", .rect = at(Slot::wA, 130, 90), .art = art::Note{"Solve them.\nThat's the code."},
             .look = "A note."},
        receiver("reader", at(Slot::wC, 100, 140), art::Panel{face::Screen{std::nullopt}}, card, kUnlocked,
                 "The reader beeps. The door unlocks.",
                 {.done = art::Panel{face::Screen{"OPEN"}}, .look = "A card reader.", .noUse = "That's not a card.",
                  .consume = true, .sfx = Sfx::unlock}),
    });
    keypad(lb, "safe", at(Slot::fC, 140, 150), "7674",
           {.solve = {give(card.id), set("safe_open"), sfx(Sfx::unlock), say("The safe opens. A keycard!")},
            .title = "Safe code",
            .art = art::Safe{false},
            .doneArt = art::Safe{true}});

    lb.step("solved_safe", {"A safe, and some sums.", "Solve the sums, in order.", "7, 6, 7, 4."});
    lb.step(kUnlocked, {"Use the keycard on the reader."});
    return lb.build(23, "Safe Sums", Themes::ivory, DoorStyle::steel, {kUnlocked}, "Do the math.");
}

// [SECTION] 24 Bulb Moment ---------------------------------------------------------------------

Level room24() {
    constexpr char kLightsOn[] = "lights_on";

    LB lb;
    const Item bulb = lb.item({"bulb", "light bulb", ItemKind::bulb, std::nullopt});

    lb.add({
        receiver("socket", at(Slot::above, 60, 48), art::Lamps{{false}}, bulb, kLightsOn,
                 "The bulb lights up the whole room!",
                 {.done = art::Lamps{{true}}, .look = "A bare light fitting.", .noUse = "Nothing happens.",
                  .consume = true, .sfx = Sfx::power}),
        holder("boxes", at(Slot::fB, 150, 130), art::Boxes{}, bulb,
               {.look = "Boxes.", .msg = "A light bulb! Wrapped in newspaper."}),
        Prop{.id = "s1", .rect = at(Slot::wA, 84, 100), .art = art::Digit{"6", Tone::orange}, .look = "A sign: 6."},
        Prop{.id = "s2", .rect = at(Slot::wB, 84, 100), .art = art::Digit{"1", Tone::blue}, .look = "A sign: 1."},
        Prop{.id = "s3", .rect = at(Slot::wD, 84, 100), .art = art::Digit{"8", Tone::green}, .look = "A sign: 8."},
        Prop{.id = "sofa", .rect = at(Slot::fD, 200, 120), .art = art::Sofa{Tone::brown}, .look = "A sofa."},
    });
    keypad(lb, "pad", at(Slot::wC, 92, 140), "618");

    lb.step(took(bulb), {"Too dark to see. Move your mouse to feel around.", "Something here could give you light.",
                         "Search the boxes."});
    lb.step(kLightsOn, {"Look up. There's a fitting with no bulb."});
    lb.step(kUnlocked, {"Read the signs, left to right.", "6, 1, 8."});
    return lb.build(24, "Bulb Moment", Themes::navy, DoorStyle::blue, {kUnlocked}, "Mind the dark.", kLightsOn);
}

// [SECTION] 25 Low to High ---------------------------------------------------------------------

Level room25() {
    // One ball per floor slot, each with its number plaque just below it.
    struct BallRow {
        Slot slot;
        Tone tone;
        const char* label;
    };
    const BallRow balls[] = {
        {Slot::fA, Tone::red, "3"},
        {Slot::fB, Tone::blue, "1"},
        {Slot::fC, Tone::green, "4"},
        {Slot::fD, Tone::yellow, "2"},
    };
    constexpr double kBallSize = 56;
    constexpr double kPlaqueW = 36;
    constexpr double kPlaqueH = 24;
    constexpr double kPlaqueGap = 6;

    LB lb;
    for (std::size_t i = 0; i < std::size(balls); ++i) {
        const BallRow& row = balls[i];
        const std::string index = std::to_string(i);
        const Rect ball = at(row.slot, kBallSize, kBallSize);
        const Rect plaque{ball.midX() - kPlaqueW / 2, ball.maxY() + kPlaqueGap, kPlaqueW, kPlaqueH};
        lb.add({
            Prop{.id = "ball" + index, .rect = ball, .art = art::Ball{row.tone},
                 .look = "A " + std::string(name(row.tone)) + " ball."},
            Prop{.id = "num" + index, .rect = plaque, .art = art::Plaque{row.label},
                 .look = "The number " + std::string(row.label) + "."},
        });
    }
    lb.add({
        Prop{.id = "note", .rect = at(Slot::wB, 140, 90), .art = art::Note{"Low to high."},
             .look = "Low to high, it says."},
        Prop{.id = "art", .rect = at(Slot::wA, 130, 100), .art = art::Painting{PaintStyle::abstract},
             .look = "Colour blobs."},
    });
    colorLock(lb, "buttons", at(Slot::wC, 150, 80), {Tone::red, Tone::yellow, Tone::green, Tone::blue},
              {Tone::blue, Tone::yellow, Tone::red, Tone::green});

    lb.step(kUnlocked, {"The balls have numbers.", "Press the colours from number 1 up to 4.",
                        "Blue, yellow, red, green."});
    return lb.build(25, "Low to High", Themes::mustard, DoorStyle::green, {kUnlocked}, "Put things in order.");
}

// [SECTION] 26 Two Chests ----------------------------------------------------------------------

Level room26() {
    constexpr char kRugMoved[] = "rug_moved";

    LB lb;
    const Item gearL{"gear_l", "left gear half", ItemKind::gear, Tone::orange};
    const Item gearR{"gear_r", "right gear half", ItemKind::gear, Tone::cyan};
    const Item gear{"gear", "whole gear", ItemKind::gear, Tone::yellow};
    lb.combo(gearL, gearR, gear, "The halves lock together into a whole gear.");
    const Item keyR = lb.item({"key_r", "red key", ItemKind::key, Tone::red});
    const Item keyB = lb.item({"key_b", "blue key", ItemKind::key, Tone::blue});

    lb.add({
        container("chest_r", at(Slot::fA, 150, 110), art::Chest{false, Tone::red}, art::Chest{true, Tone::red},
                  "r_open", "The red key turns.",
                  {.opener = keyR, .gives = gearL, .lockedMsg = "The red chest is locked.", .look = "A red chest."}),
        container("chest_b", at(Slot::fD, 150, 110), art::Chest{false, Tone::blue}, art::Chest{true, Tone::blue},
                  "b_open", "The blue key turns.",
                  {.opener = keyB, .gives = gearR, .lockedMsg = "The blue chest is locked.", .look = "A blue chest."}),
        holder("vase", at(Slot::fB, 84, 132), art::Vase{Tone::red}, keyR,
               {.look = "A red vase.", .msg = "A red key in the vase!"}),
        mover("rug", at(Slot::rug, 260, 90), art::Rug{"", Tone::blue}, kRugMoved, art::RugRolled{Tone::blue},
              "A blue key was under the rug!", {.look = "A blue rug.", .z = -1, .sfx = Sfx::open}),
        pickup(keyB, at(Slot::rug, 46, 28), {.showWhen = {kRugMoved}, .msg = "A blue key."}),
        receiver("slot", at(Slot::wC, 120, 120), art::GearSlot{false}, gear, kUnlocked,
                 "The gear meshes. Something deep inside the wall begins to turn.",
                 {.done = art::GearSlot{true}, .look = "A machine with a gear-shaped gap.", .noUse = "Doesn't fit.",
                  .consume = true, .sfx = Sfx::unlock}),
        Prop{.id = "art", .rect = at(Slot::wB, 140, 100), .art = art::Painting{PaintStyle::abstract},
             .look = "Gears and cogs, in paint."},
    });

    lb.step(took(keyR), {"Two chests, two colours.", "A red key is in a vase."});
    lb.step(took(keyB), {"The blue one is under the rug."});
    lb.step(took(gearL), {"Open the red chest with the red key."});
    lb.step(took(gearR), {"Open the blue chest with the blue key."});
    lb.step(kUnlocked, {"Join both halves, then use the gear on the machine."});
    return lb.build(26, "Two Chests", Themes::wine, DoorStyle::gold, {kUnlocked}, "Colour-coded.");
}

// [SECTION] 27 Waterworks ----------------------------------------------------------------------

Level room27() {
    constexpr char kFilled[] = "filled";

    LB lb;
    const Item bucket = lb.item({"bucket", "empty bucket", ItemKind::bucket, std::nullopt});
    const Item full = lb.item({"full", "bucket of water", ItemKind::bucket, Tone::cyan});
    const Item key = lb.item({"key", "key", ItemKind::key, std::nullopt});

    lb.add({
        // The tap never runs dry, so filling has no condition.
        Prop{.id = "barrel",
             .rect = at(Slot::fA, 120, 150),
             .art = art::Barrel{true},
             .rules = {Rule{.trigger = Trigger::use(bucket.id),
                            .effects = {take(bucket.id), give(full.id), sfx(Sfx::splash),
                                        say("You fill the bucket from the tap.")}},
                       Rule{.trigger = Trigger::tap(), .effects = {say("A rain barrel with a tap.")}}},
             .look = "A rain barrel."},
        pickup(bucket, at(Slot::fD, 60, 60), {.msg = "An empty bucket."}),
        Prop{.id = "fountain",
             .rect = at(Slot::fC, 160, 150),
             .art = art::Fountain{false},
             .rules = {Rule{.trigger = Trigger::use(full.id),
                            .without = {kFilled},
                            .effects = {take(full.id), set(kFilled), sfx(Sfx::splash),
                                        say("The fountain fills, and something rises to the top!")}},
                       Rule{.trigger = Trigger::tap(),
                            .without = {kFilled},
                            .effects = {say("A dry stone fountain. Something sits at the bottom.")}}},
             .states = {PropState{{kFilled}, art::Fountain{true}}},
             .look = "A fountain.",
             .noUse = "No effect."},
        pickup(key, at(Slot::fC, 40, 40, 470), {.showWhen = {kFilled}, .msg = "A key, floating on the water."}),
        Prop{.id = "art", .rect = at(Slot::wB, 150, 110), .art = art::Painting{PaintStyle::ocean}, .look = "Waves."},
        Prop{.id = "win", .rect = at(Slot::wD, 150, 170), .art = art::Window{false}, .look = "Clear skies."},
    });

    lb.doorKey(key, kUnlocked, kKeyTurns);
    lb.step(took(bucket), {"The fountain is dry.", "You need something to carry water."});
    lb.step(kFilled, {"Fill the bucket from the barrel, then pour it into the fountain."});
    lb.step(took(key), {"Take what floats up."});
    lb.step(kUnlocked, {"Use the key on the door."});
    return lb.build(27, "Waterworks", Themes::ocean, DoorStyle::glass, {kUnlocked}, "Carry it carefully.");
}

// [SECTION] 28 Three Clues ---------------------------------------------------------------------

Level room28() {
    LB lb;
    lb.add({
        Prop{.id = "lamps", .rect = at(Slot::above, 120, 44), .art = art::Lamps{{true, true, false, true}},
             .look = "Four lamps. Three are lit."},
        Prop{.id = "clock", .rect = at(Slot::wB, 120, 120), .art = art::Clock{7, 0},
             .look = "The clock says seven o'clock."},
        Prop{.id = "sign", .rect = at(Slot::wD, 84, 100), .art = art::Digit{"5", Tone::purple}, .look = "A sign: 5."},
        Prop{.id = "note", .rect = at(Slot::wA, 140, 100), .art = art::Note{"Lit lamps.\nThe hour.\nThe sign."},
             .look = "A note with three lines."},
        Prop{.id = "plant", .rect = at(Slot::fD, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });

    std::vector<std::string> digits;
    for (int d = 0; d <= 9; ++d) digits.push_back(std::to_string(d));
    dialLock(lb, "dials", at(Slot::wC, 150, 90), {digits, digits, digits}, {3, 7, 5});

    lb.step(kUnlocked, {"Three dials, three clues.", "The note lists three things.",
                        "Three lit lamps, hour 7, sign 5: 375."});
    return lb.build(28, "Three Clues", Themes::sage, DoorStyle::wood, {kUnlocked}, "Gather before you guess.");
}

// [SECTION] 29 Simon Says ----------------------------------------------------------------------

Level room29() {
    // What the TV flashes is what the panel wants.
    const std::vector<Tone> flashes{Tone::green, Tone::red, Tone::blue, Tone::yellow, Tone::red};

    LB lb;
    lb.add({
        Prop{.id = "tv", .rect = at(Slot::wB, 170, 120), .art = art::TvFlash{flashes},
             .look = "The TV flashes colours, over and over."},
        Prop{.id = "note", .rect = at(Slot::wA, 130, 80), .art = art::Note{"Watch.\nRepeat."}, .look = "A note."},
        Prop{.id = "sofa", .rect = at(Slot::fA, 210, 120), .art = art::Sofa{Tone::purple},
             .look = "A sofa facing the TV."},
        Prop{.id = "lamp", .rect = at(Slot::fD, 70, 200), .art = art::FloorLamp{true}, .look = "A lamp."},
    });
    colorLock(lb, "buttons", at(Slot::wC, 150, 80), {Tone::red, Tone::yellow, Tone::green, Tone::blue}, flashes);

    lb.step(kUnlocked, {"The TV flashes colours.", "Watch the order they appear.", "Green, red, blue, yellow, red."});
    return lb.build(29, "Simon Says", Themes::charcoal, DoorStyle::red, {kUnlocked}, "Remember.");
}

// [SECTION] 30 Two Locks -----------------------------------------------------------------------

Level room30() {
    constexpr char kLockA[] = "lockA";  // the keyhole
    constexpr char kLockB[] = "lockB";  // the light panel
    constexpr char kDiceCode[] = "362";
    const std::vector<Tone> stripes{Tone::yellow, Tone::green, Tone::red};

    LB lb;
    const Item key = lb.item({"key", "iron key", ItemKind::key, std::nullopt});

    lb.add({
        Prop{.id = "table", .rect = at(Slot::fB, 170, 95), .art = art::Table{}, .look = "A table."},
        Prop{.id = "dice", .rect = at(Slot::fB, 120, 36, 466), .art = art::Dice{{3, 6, 2}}, .z = 3,
             .look = "Dice showing 3, 6, 2."},
        Prop{.id = "stripes", .rect = at(Slot::wB, 150, 110), .art = art::Stripes{stripes},
             .look = "Yellow, green, red."},
        Prop{.id = "note", .rect = at(Slot::wA, 130, 100), .art = art::Note{"Two locks.\nOne key.\nOne light panel."},
             .look = "A note."},
        Prop{.id = "plant", .rect = at(Slot::fD, 110, 180), .art = art::Plant{Tone::green}, .look = "A fern."},
    });
    keypad(lb, "chest", at(Slot::fC, 150, 110), kDiceCode,
           {.solve = {give(key.id), set("chest_open"), say("Inside the chest: an iron key.")},
            .title = "Chest lock",
            .art = art::Chest{false, Tone::brown},
            .doneArt = art::Chest{true, Tone::brown}});
    colorLock(lb, "panel", at(Slot::wC, 150, 80), {Tone::red, Tone::blue, Tone::green, Tone::yellow}, stripes,
              {.solve = {set(kLockB), sfx(Sfx::unlock)}, .title = "Light panel"});
    lb.doorKey(key, kLockA, kKeyTurns);
    lb.doorLook = "Two locks: a keyhole and a light panel.";

    lb.step("solved_chest", {"The chest wants a code.", "Look at the dice.", "3, 6, 2."});
    lb.step(kLockA, {"Use the key on the door."});
    lb.step(kLockB, {"The light panel needs a colour order.", "The stripes show it.", "Yellow, green, red."});
    return lb.build(30, "Two Locks", Themes::brick, DoorStyle::steel, {kLockA, kLockB}, "Thirty. Two locks.");
}

}  // namespace ostrevan::Levels
