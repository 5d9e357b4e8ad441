// Rooms 1 to 10; each builds its room afresh (only Levels::all() calls them).
#pragma once

#include <Ostrevan/Model.hpp>

namespace ostrevan::Levels {

Level room1();
Level room2();
Level room3();
Level room4();
Level room5();
Level room6();
Level room7();
Level room8();
Level room9();
Level room10();

}  // namespace ostrevan::Levels
