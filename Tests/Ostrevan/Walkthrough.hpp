// Playing rooms like a player: a route is the list of what the player does, and playRoute runs it
// through the engine alone, checking what every room must satisfy.
#pragma once

#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace walkthrough {

using namespace ostrevan;

struct Action {
    enum class Kind { tapProp, tapItem, solve };
    Kind kind = Kind::tapProp;
    std::string id;
    std::vector<int> entry;  // for solve: what the player enters on the panel
};

// Tap a prop on the stage (with whatever is selected).
inline Action tap(std::string propID) { return {Action::Kind::tapProp, std::move(propID), {}}; }
// Tap an item in the inventory bar (select, deselect, switch or combine).
inline Action tapItem(std::string itemID) { return {Action::Kind::tapItem, std::move(itemID), {}}; }
// Enter `entry` on a panel the room has opened; the panel must accept it.
inline Action solve(std::string panelID, std::vector<int> entry) {
    return {Action::Kind::solve, std::move(panelID), std::move(entry)};
}

using Route = std::vector<Action>;

// Select an item and tap a prop with it.
inline void use(Route& route, const std::string& itemID, const std::string& propID) {
    route.push_back(tapItem(itemID));
    route.push_back(tap(propID));
}
// Select one item and tap another to combine them.
inline void combine(Route& route, const std::string& a, const std::string& b) {
    route.push_back(tapItem(a));
    route.push_back(tapItem(b));
}

struct RoomRoute {
    int room = 0;  // 1 to 50
    Route route;
};

// Each file of routes contributes its rooms' routes; the whole game plays them in order.
const std::vector<RoomRoute>& routesRooms01to19();
const std::vector<RoomRoute>& routesRooms20to36();
const std::vector<RoomRoute>& routesRooms37to50();

inline constexpr std::size_t kInventoryTiles = 6;

inline bool holds(const std::vector<Event>& events, const Event& wanted) {
    return std::find(events.begin(), events.end(), wanted) != events.end();
}

// Plays `route` from `begin` of the room in `state` (which must already be that room's begin
// state), checking as it goes:
// - every tapped prop exists and is visible; every tapped item is held;
// - a panel is solved only after the room opened it, and only with an entry it accepts;
// - no enter before the last action, and the last action enters;
// - every hint step's done flag is set at some point;
// - the inventory never holds more than six items.
// Returns the events of the last action.
inline std::vector<Event> playRoute(const Level& level, const Route& route, GameState& state) {
    std::vector<std::string> opened;
    FlagSet everSet = state.flags;
    std::vector<Event> events;
    for (std::size_t i = 0; i < route.size(); ++i) {
        const Action& action = route[i];
        SCOPED_TRACE("room " + std::to_string(level.id) + ", action " + std::to_string(i + 1) + " (" +
                     action.id + ")");
        switch (action.kind) {
        case Action::Kind::tapProp: {
            const Prop* prop = level.prop(action.id);
            EXPECT_TRUE(prop != nullptr) << "no prop " << action.id;
            if (prop) {
                EXPECT_TRUE(prop->isVisible(state.flags)) << "prop hidden: " << action.id;
            }
            events = Engine::tap(action.id, level, state);
            break;
        }
        case Action::Kind::tapItem:
            EXPECT_NE(std::find(state.inventory.begin(), state.inventory.end(), action.id), state.inventory.end())
                << "item not held: " << action.id;
            events = Engine::tapItem(action.id, level, state);
            break;
        case Action::Kind::solve: {
            const Panel* panel = level.panel(action.id);
            EXPECT_TRUE(panel != nullptr) << "no panel " << action.id;
            EXPECT_NE(std::find(opened.begin(), opened.end(), action.id), opened.end())
                << "panel never opened: " << action.id;
            if (panel) {
                EXPECT_TRUE(panel->isCorrect(action.entry)) << "panel refuses the entry: " << action.id;
            }
            events = Engine::solve(action.id, level, state);
            break;
        }
        }
        for (const Event& e : events)
            if (const auto* p = std::get_if<event::Panel>(&e)) opened.push_back(p->id);
        everSet.insert(state.flags.begin(), state.flags.end());
        EXPECT_LE(state.inventory.size(), kInventoryTiles) << "inventory overflows the bar";
        const bool entered = holds(events, ev::enter());
        if (i + 1 < route.size()) EXPECT_FALSE(entered) << "door opened before the route ended";
        else EXPECT_TRUE(entered) << "the last action does not open the door";
    }
    for (const Step& step : level.steps)
        EXPECT_TRUE(everSet.count(step.done)) << "hint step never done: " << step.done;
    return events;
}

// Checks a whole room from its begin state: the route and the room's first hint.
inline void playRoom(const Level& level, const Route& route) {
    GameState fresh = Engine::begin(level);
    if (!level.steps.empty() && !level.steps.front().hints.empty()) {
        GameState probe = fresh;
        EXPECT_EQ(Engine::hint(level, probe), level.steps.front().hints.front());
    }
    GameState state = fresh;
    playRoute(level, route, state);
}

}  // namespace walkthrough
