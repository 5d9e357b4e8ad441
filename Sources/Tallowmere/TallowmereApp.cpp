#include <Tallowmere/TallowmereApp.hpp>

#include <cstdio>

namespace tallowmere {

int runApplication(int, char**) {
    // TODO(app): the window, menu and game model replace this once the application shell exists.
    std::puts("Tallowmere: the game window is not built yet.");
    return 0;
}

}  // namespace tallowmere
