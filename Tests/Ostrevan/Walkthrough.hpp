// Playing rooms like a player: a route is the list of what the player does, and playRoute runs it
// through the engine alone, checking what every room must satisfy.
#pragma once

#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace walkthrough {

using namespace ostrevan;

struct Action {
    enum class Kind { tapProp, tapItem, solve };
    Kind kind = Kind::tapProp;
    std::string id;
    std::vector<int> entry;  // for solve: what the player enters on the panel
};
using Route = std::vector<Action>;

// Tap a prop on the stage (with whatever is selected); tap an item in the inventory bar (select,
// deselect, switch or combine); enter `entry` on a panel the room has opened.
inline Action tap(std::string propID) { return {Action::Kind::tapProp, std::move(propID), {}}; }
inline Action tapItem(std::string itemID) { return {Action::Kind::tapItem, std::move(itemID), {}}; }
inline Action solve(std::string panelID, std::vector<int> entry) {
    return {Action::Kind::solve, std::move(panelID), std::move(entry)};
}
// Use an item on a prop; combine two items; tap a lock and enter what the clues give.
inline Route use(const std::string& itemID, const std::string& propID) { return {tapItem(itemID), tap(propID)}; }
inline Route combine(const std::string& a, const std::string& b) { return {tapItem(a), tapItem(b)}; }
inline Route open(const std::string& lock, std::vector<int> entry) {
    return {tap(lock), solve(lock, std::move(entry))};
}

// Entries as the player makes them: a code typed digit by digit, a word spelled with A as 0, and
// colours pressed on the buttons of room `room`'s colour panel.
inline std::vector<int> digits(std::string_view code) {
    std::vector<int> entry;
    for (const char c : code) entry.push_back(c - '0');
    return entry;
}
inline std::vector<int> letters(std::string_view word) {
    std::vector<int> entry;
    for (const char c : word) entry.push_back(c - 'A');
    return entry;
}
inline std::vector<int> press(int room, const std::string& panelID, const std::vector<Tone>& colours) {
    const Panel* panel = Levels::all().at(static_cast<std::size_t>(room - 1)).panel(panelID);
    const auto* buttons = panel ? std::get_if<entry::Colors>(&panel->kind) : nullptr;
    std::vector<int> entry;
    for (const Tone tone : colours) {
        if (!buttons) break;
        const auto& palette = buttons->palette;
        entry.push_back(static_cast<int>(std::find(palette.begin(), palette.end(), tone) - palette.begin()));
    }
    return entry;
}

// A route written as its actions and pieces, in order.
struct Piece {
    Route actions;
    Piece(Action action) : actions{std::move(action)} {}
    Piece(Route route) : actions(std::move(route)) {}
};
inline Route route(std::initializer_list<Piece> pieces) {
    Route all;
    for (const Piece& piece : pieces) all.insert(all.end(), piece.actions.begin(), piece.actions.end());
    return all;
}

struct RoomRoute {
    int room = 0;  // 1 to 50
    Route route;
};

// Each file of routes contributes its rooms' routes; the whole game plays them in order.
const std::vector<RoomRoute>& routesRooms01to19();
const std::vector<RoomRoute>& routesRooms20to36();
const std::vector<RoomRoute>& routesRooms37to50();

inline constexpr std::size_t kInventoryTiles = 6;  // the inventory bar's size

// Plays `route` from the room's begin state in `state`, checking as it goes:
// - every tapped prop exists and is visible; every tapped item is held;
// - a panel is solved only after the room opened it, and only with an entry it accepts;
// - no enter before the last action, and the last action enters;
// - the hint steps are done in the order the hints walk them: a step's flag is first set no
//   earlier than the flag of the step before it (one action may do several);
// - the inventory never holds more than six items.
inline void playRoute(const Level& level, const Route& route, GameState& state) {
    std::vector<std::string> opened;
    std::map<std::string, std::size_t, std::less<>> firstSet;  // flag -> actions played before it was set
    for (const std::string& flag : state.flags) firstSet.emplace(flag, 0);
    for (std::size_t i = 0; i < route.size(); ++i) {
        const Action& action = route[i];
        SCOPED_TRACE("room " + std::to_string(level.id) + ", action " + std::to_string(i + 1) + " (" + action.id + ")");
        std::vector<Event> events;
        switch (action.kind) {
        case Action::Kind::tapProp: {
            const Prop* prop = level.prop(action.id);
            EXPECT_TRUE(prop && prop->isVisible(state.flags)) << "no visible prop " << action.id;
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
            EXPECT_NE(std::find(opened.begin(), opened.end(), action.id), opened.end())
                << "panel never opened: " << action.id;
            EXPECT_TRUE(panel && panel->isCorrect(action.entry)) << "panel refuses the entry: " << action.id;
            events = Engine::solve(action.id, level, state);
            break;
        }
        }
        for (const Event& e : events)
            if (const auto* p = std::get_if<event::Panel>(&e)) opened.push_back(p->id);
        for (const std::string& flag : state.flags) firstSet.emplace(flag, i + 1);
        EXPECT_LE(state.inventory.size(), kInventoryTiles) << "inventory overflows the bar";
        const bool entered = std::find(events.begin(), events.end(), ev::enter()) != events.end();
        EXPECT_EQ(entered, i + 1 == route.size()) << "the door must open on the last action and only then";
    }
    std::size_t previous = 0;
    for (std::size_t k = 0; k < level.steps.size(); ++k) {
        const std::string& done = level.steps[k].done;
        const auto when = firstSet.find(done);
        if (when == firstSet.end()) {
            ADD_FAILURE() << "room " << level.id << ": hint step never done: " << done;
            continue;
        }
        EXPECT_GE(when->second, previous) << "room " << level.id << ": hint step " << k + 1 << " (" << done
                                          << ") is done before the step the hints ask for first";
        previous = when->second;
    }
}

// Plays each room from its begin state.
inline void playRooms(const std::vector<RoomRoute>& routes) {
    for (const auto& [room, route] : routes) {
        const Level& level = Levels::all().at(static_cast<std::size_t>(room - 1));
        GameState state = Engine::begin(level);
        playRoute(level, route, state);
    }
}

}  // namespace walkthrough
