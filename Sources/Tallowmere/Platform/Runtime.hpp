// What every process of the game runs with. The game, its offline modes, the tests and the
// benchmarks all set it first thing, so what they try is what the player runs.
#pragma once

#include <QString>

#include <functional>

namespace tallowmere {

// Opens /dev/null on each of descriptors 0, 1 and 2 that the game was started without
// (`tallowmere 2>&-`). Called before anything else opens a file: the next file or connection
// opened would otherwise take the free number, and every line meant for stderr would land in the
// X connection or in a save.
void openClosedStandardStreams();

// One thread in Qt's global thread pool. Qt's raster engine splits a fill of many rows, made
// outside the pool, over the pool's threads: for the strips a tick repaints, waking them costs
// more than the fill itself. One thread serves those fills and the room's frames, which are
// painted on the pool (see runOnPool), where Qt splits nothing.
//
// With an application, memory freed as the game's windows are resized or closed goes back to the
// system soon after (see releaseFreedMemory). Tooltips, menus and alerts come and go too often,
// and free too little, to start a release.
void configureRuntime();

// From now on, what the caches added with addMemoryRelease() are asked for is what the windows
// show: the next release keeps it and lets the rest go.
void markMemoryInUse();

// Lets what the caches keep and nothing used since the last markMemoryInUse() go, and hands the
// pages the C library's allocator keeps free back to the system. A resized window frees its
// frame-sized pictures, a closed one all of its own; the allocator keeps what lies between
// pictures still in use for later, and for a window's large pictures it stops mapping them apart
// once one has been freed, so without this the process stays as large as its largest moment.
void releaseFreedMemory();

// Adds a cache to what markMemoryInUse() and releaseFreedMemory() reach: `mark` notes where its
// use stands, `forget` lets go of what was not used since. Safe from any thread.
void addMemoryRelease(std::function<void()> mark, std::function<void()> forget);

// Runs the release a window's change has started now instead of when its delay is up, as the
// timer would; false when none was pending. Lets tests follow a release without waiting for one.
bool runPendingMemoryRelease();

// The XDG base folder that `variable` names (XDG_CONFIG_HOME, XDG_DATA_HOME), or its default
// `underHome` in the home folder (".config", ".local/share") when the variable is unset, empty or
// relative: the XDG rules count a relative path there as invalid, never as one from the working
// folder.
QString xdgBaseFolder(const char* variable, const char* underHome);

}  // namespace tallowmere
