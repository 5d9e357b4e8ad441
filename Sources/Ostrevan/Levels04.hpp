// Rooms 31 to 40; each builds its room afresh (only Levels::all() calls them).
#pragma once

#include <Ostrevan/Model.hpp>

namespace ostrevan::Levels {

Level room31();
Level room32();
Level room33();
Level room34();
Level room35();
Level room36();
Level room37();
Level room38();
Level room39();
Level room40();

}  // namespace ostrevan::Levels
