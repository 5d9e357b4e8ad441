// The whole game in one run: every room's route, played on one running state from the first room
// to the finished game, moving on the way the game does after each door.
#include "Walkthrough.hpp"

#include <map>

namespace {

// Every route of the three route files, by room; a room listed twice is a fault of the lists.
std::map<int, const walkthrough::Route*> routesByRoom() {
    std::map<int, const walkthrough::Route*> byRoom;
    for (const auto* list : {&walkthrough::routesRooms01to19(), &walkthrough::routesRooms20to36(),
                             &walkthrough::routesRooms37to50()})
        for (const auto& [room, route] : *list) {
            EXPECT_TRUE(byRoom.emplace(room, &route).second) << "two routes for room " << room;
        }
    return byRoom;
}

}  // namespace

TEST(WholeGame, PlaysEveryRoomToTheEnd) {
    using namespace ostrevan;
    const std::vector<Level>& levels = Levels::all();
    ASSERT_EQ(levels.size(), static_cast<std::size_t>(Engine::lastLevel));
    const auto routes = routesByRoom();

    GameState state = Engine::begin(levels.front());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const Level& level = levels[i];
        const int room = static_cast<int>(i) + 1;
        SCOPED_TRACE("room " + std::to_string(room));
        ASSERT_EQ(state.level, room);
        const auto found = routes.find(room);
        ASSERT_NE(found, routes.end()) << "no route for room " << room;

        walkthrough::playRoute(level, *found->second, state);
        ASSERT_FALSE(testing::Test::HasFatalFailure());
        if (testing::Test::HasNonfatalFailure()) FAIL() << "stopped in room " << room;

        Engine::nextLevel(state, levels);
        if (i + 1 < levels.size()) {
            EXPECT_EQ(state, Engine::begin(levels[i + 1])) << "room " << room + 1 << " does not start afresh";
            EXPECT_FALSE(state.finished);
        }
    }
    EXPECT_TRUE(state.finished);
    EXPECT_EQ(state.level, Engine::lastLevel);
}
