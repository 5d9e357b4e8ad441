// Rooms 21 to 30; each builds its room afresh (only Levels::all() calls them).
#pragma once

#include <Ostrevan/Model.hpp>

namespace ostrevan::Levels {

Level room21();
Level room22();
Level room23();
Level room24();
Level room25();
Level room26();
Level room27();
Level room28();
Level room29();
Level room30();

}  // namespace ostrevan::Levels
