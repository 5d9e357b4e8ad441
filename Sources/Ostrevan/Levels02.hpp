// Rooms 11 to 20; each builds its room afresh (only Levels::all() calls them).
#pragma once

#include <Ostrevan/Model.hpp>

namespace ostrevan::Levels {

Level room11();
Level room12();
Level room13();
Level room14();
Level room15();
Level room16();
Level room17();
Level room18();
Level room19();
Level room20();

}  // namespace ostrevan::Levels
