// The whole game in one run: every room's route, played on one running state from the first room
// to the finished game, moving on the way the game does after each door.
#include "Walkthrough.hpp"

#include <map>

TEST(WholeGame, PlaysEveryRoomToTheEnd) {
    using namespace ostrevan;
    // Every route of the three route files, by room; a room listed twice is a fault of the lists.
    std::map<int, const walkthrough::Route*> routes;
    for (const auto* list : {&walkthrough::routesRooms01to19(), &walkthrough::routesRooms20to36(),
                             &walkthrough::routesRooms37to50()})
        for (const auto& [room, route] : *list) {
            EXPECT_TRUE(routes.emplace(room, &route).second) << "two routes for room " << room;
        }

    const std::vector<Level>& levels = Levels::all();
    ASSERT_EQ(levels.size(), static_cast<std::size_t>(Engine::lastLevel));
    GameState state = Engine::begin(levels.front());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const int room = static_cast<int>(i) + 1;
        SCOPED_TRACE("room " + std::to_string(room));
        ASSERT_EQ(state.level, room);
        ASSERT_TRUE(routes.count(room)) << "no route for room " << room;
        walkthrough::playRoute(levels[i], *routes[room], state);
        if (testing::Test::HasFailure()) FAIL() << "stopped in room " << room;

        Engine::nextLevel(state, levels);
        if (i + 1 < levels.size()) {
            EXPECT_EQ(state, Engine::begin(levels[i + 1])) << "the next room starts afresh";
        }
    }
    EXPECT_TRUE(state.finished);
    EXPECT_EQ(state.level, Engine::lastLevel);
}
