// Rooms 41 to 50; each builds its room afresh (only Levels::all() calls them).
#pragma once

#include <Ostrevan/Model.hpp>

namespace ostrevan::Levels {

Level room41();
Level room42();
Level room43();
Level room44();
Level room45();
Level room46();
Level room47();
Level room48();
Level room49();
Level room50();

}  // namespace ostrevan::Levels
