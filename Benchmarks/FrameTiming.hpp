// Timing single frames inside a benchmark: each frame's milliseconds, reported as median and worst.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace tallowmere::bench {

inline double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline void reportFrames(benchmark::State& state, std::vector<double> frames) {
    if (frames.empty()) return;
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["worst_ms"] = frames.back();
}

}  // namespace tallowmere::bench
