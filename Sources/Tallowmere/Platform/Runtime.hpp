// What every process of the game runs with. The game, its offline modes, the tests and the
// benchmarks all set it first thing, so what they try is what the player runs.
#pragma once

#include <functional>

namespace tallowmere {

// One thread in Qt's global thread pool. Qt's raster engine splits a fill of many rows, made
// outside the pool, over the pool's threads: for the strips a tick repaints, waking them costs
// more than the fill itself. One thread serves those fills and the room's frames, which are
// painted on the pool (see runOnPool), where Qt splits nothing.
//
// With an application, memory freed as windows are resized or closed goes back to the system
// soon after (see releaseFreedMemory).
void configureRuntime();

// Lets what the caches added with addMemoryRelease() keep for no window go, and hands the pages
// the C library's allocator keeps free back to the system. A resized window
// frees its frame-sized pictures, a closed one all of its own; the allocator keeps what lies
// between pictures still in use for later, and for a window's large pictures it stops mapping
// them apart once one has been freed, so without this the process stays as large as its largest
// moment.
void releaseFreedMemory();

// Adds a cache's `forget` to what releaseFreedMemory() runs first, and to what runs when a window
// starts to change: it lets go of what was not used since its last run. Safe from any thread.
void addMemoryRelease(std::function<void()> forget);

}  // namespace tallowmere
