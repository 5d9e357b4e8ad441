// The room catalogue as the engine relies on it: the list and its order, every id a rule names
// and every flag a room waits for.
#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace ostrevan;

// Calls `visit` with every effect a room can apply: its props' rules and its panels' solves.
template <class Visit>
void forEachEffect(const Level& level, Visit visit) {
    for (const Prop& prop : level.props)
        for (const Rule& rule : prop.rules)
            for (const Effect& effect : rule.effects) visit(effect);
    for (const auto& [id, panel] : level.panels)
        for (const Effect& effect : panel.onSolve) visit(effect);
}

// Every flag that can enter the room's flag set.
std::set<std::string> settableFlags(const Level& level) {
    std::set<std::string> flags(level.startFlags.begin(), level.startFlags.end());
    forEachEffect(level, [&](const Effect& effect) {
        if (const auto* s = std::get_if<effect::Set>(&effect)) flags.insert(s->flag);
    });
    for (const auto& [id, panel] : level.panels) flags.insert("solved_" + id);
    return flags;
}

}  // namespace

TEST(Catalogue, HoldsFiftyRoomsInOrderEachEndingWithTheDoor) {
    const char* const names[] = {
        "Welcome", "Three Digits", "Underfoot", "Rainbow Lock", "Dead Battery",
        "Clockwork", "Bookworm", "Lights Out", "Half and Half", "Looking Glass",
        "Three Orbs", "Moon, Drop, Star", "Gone Fishing", "Lamp Code", "Blown Fuse",
        "Long Live", "Ancient Math", "Roll Call", "Primary Colours", "Trapdoor",
        "Fishing, Again", "Black Light", "Safe Sums", "Bulb Moment", "Low to High",
        "Two Chests", "Waterworks", "Three Clues", "Simon Says", "Two Locks",
        "Through the Glass", "Secret Code", "Cold Storage", "Binary Lamps", "Grand Piano",
        "Fine Print", "Census", "Blackout", "Music Box", "Three Locks",
        "Glow in the Dark", "Colour Cipher", "Odd Clock Out", "Chain Reaction", "Remote Control",
        "Day and Night", "The Vault", "Orb Alley", "The Long Dark", "The Last Door",
    };
    const std::vector<Level>& levels = Levels::all();
    ASSERT_EQ(levels.size(), std::size(names));
    for (std::size_t i = 0; i < levels.size(); ++i) {
        SCOPED_TRACE("index " + std::to_string(i));
        EXPECT_EQ(levels[i].id, static_cast<std::int64_t>(i) + 1);
        EXPECT_EQ(levels[i].name, names[i]);
        ASSERT_FALSE(levels[i].props.empty());
        EXPECT_EQ(levels[i].props.back().id, "door");
    }
}

TEST(Catalogue, EveryItemAndPanelARoomNamesIsRegistered) {
    for (const Level& level : Levels::all()) {
        SCOPED_TRACE("room " + std::to_string(level.id));
        auto expectItem = [&](const std::string& id, const std::string& where) {
            EXPECT_NE(level.item(id), nullptr) << "unregistered item " << id << " in " << where;
        };
        for (const Prop& prop : level.props)
            for (const Rule& rule : prop.rules)
                if (rule.trigger.item) expectItem(*rule.trigger.item, "a use rule of " + prop.id);
        forEachEffect(level, [&](const Effect& effect) {
            if (const auto* g = std::get_if<effect::Give>(&effect)) expectItem(g->item, "give");
            if (const auto* t = std::get_if<effect::Take>(&effect)) expectItem(t->item, "take");
            if (const auto* p = std::get_if<effect::Panel>(&effect)) {
                EXPECT_NE(level.panel(p->id), nullptr) << "unregistered panel " << p->id;
            }
        });
        for (const Combo& combo : level.combos)
            for (const std::string& id : {combo.a, combo.b, combo.result}) expectItem(id, "a combination");
    }
}

TEST(Catalogue, EveryFlagARoomWaitsForCanBeSet) {
    for (const Level& level : Levels::all()) {
        SCOPED_TRACE("room " + std::to_string(level.id));
        const std::set<std::string> settable = settableFlags(level);
        for (const std::string& flag : level.requires_) {
            EXPECT_TRUE(settable.count(flag)) << "the door waits for " << flag;
        }
        for (const Step& step : level.steps) {
            EXPECT_TRUE(settable.count(step.done)) << "a hint step waits for " << step.done;
            EXPECT_FALSE(step.hints.empty()) << "a hint step without hints: " << step.done;
        }
        // Blackout (38) is dark by design: its light flag is one nothing sets.
        if (level.darkUntil) {
            EXPECT_EQ(settable.count(*level.darkUntil) == 0, level.id == 38) << *level.darkUntil;
        }
    }
}
