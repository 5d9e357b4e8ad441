// What every process of the game runs with. The game, its offline modes, the tests and the
// benchmarks all set it first thing, so what they try is what the player runs.
#pragma once

namespace tallowmere {

// One thread in Qt's global thread pool. Qt's raster engine splits a fill of many rows, made
// outside the pool, over the pool's threads: for the strips a tick repaints, waking them costs
// more than the fill itself. One thread serves those fills and the room's frames, which are
// painted on the pool (see runOnPool), where Qt splits nothing.
void configureRuntime();

}  // namespace tallowmere
