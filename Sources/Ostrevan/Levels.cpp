#include <Ostrevan/Levels.hpp>

namespace ostrevan::Levels {

const std::vector<Level>& all() {
    static const std::vector<Level> rooms = {
        room1(), room2(), room3(), room4(), room5(),
        room6(), room7(), room8(), room9(), room10(),
        room11(), room12(), room13(), room14(), room15(),
        room16(), room17(), room18(), room19(), room20(),
        room21(), room22(), room23(), room24(), room25(),
        room26(), room27(), room28(), room29(), room30(),
        room31(), room32(), room33(), room34(), room35(),
        room36(), room37(), room38(), room39(), room40(),
        room41(), room42(), room43(), room44(), room45(),
        room46(), room47(), room48(), room49(), room50(),
    };
    return rooms;
}

}  // namespace ostrevan::Levels
