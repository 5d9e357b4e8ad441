// The fifty rooms, in play order.
#pragma once

#include <Ostrevan/Model.hpp>

#include <string>
#include <vector>

#include <Ostrevan/Levels01.hpp>
#include <Ostrevan/Levels02.hpp>
#include <Ostrevan/Levels03.hpp>
#include <Ostrevan/Levels04.hpp>
#include <Ostrevan/Levels05.hpp>

namespace ostrevan::Levels {

// Every room, built once on first use; room n sits at index n - 1 and has id n.
const std::vector<Level>& all();

// The wall light switch of the rooms that start lit: toggles "lights_on" and leaves offFlag
// behind once the light has been turned off.
Prop lightSwitch(Rect rect, std::string offFlag);

}  // namespace ostrevan::Levels
