// The game as a whole: the routes cover every room once, and the last room, reached through
// nextLevel the way the game moves on after a door, ends the game.
#include "Walkthrough.hpp"

#include <map>
#include <set>

TEST(WholeGame, RoutesCoverEveryRoomAndTheLastDoorEndsTheGame) {
    using namespace ostrevan;
    constexpr int kLast = static_cast<int>(Engine::lastLevel);
    std::map<int, const walkthrough::Route*> routes;
    for (const auto* list : {&walkthrough::routesRooms01to19(), &walkthrough::routesRooms20to36(),
                             &walkthrough::routesRooms37to50()})
        for (const auto& [room, route] : *list) {
            EXPECT_TRUE(routes.emplace(room, &route).second) << "two routes for room " << room;
        }
    const std::vector<Level>& levels = Levels::all();
    ASSERT_EQ(levels.size(), static_cast<std::size_t>(Engine::lastLevel));
    std::set<int> covered, every;
    for (const auto& [room, route] : routes) covered.insert(room);
    for (int room = 1; room <= kLast; ++room) every.insert(room);
    EXPECT_EQ(covered, every);

    GameState state = Engine::begin(levels[levels.size() - 2]);
    Engine::nextLevel(state, levels);
    ASSERT_EQ(state, Engine::begin(levels.back())) << "the last room starts afresh";
    ASSERT_TRUE(routes.count(kLast));
    walkthrough::playRoute(levels.back(), *routes[kLast], state);
    Engine::nextLevel(state, levels);
    EXPECT_TRUE(state.finished);
    EXPECT_EQ(state.level, Engine::lastLevel);
}
