// What the benchmarks share: single frames timed, each frame's milliseconds reported as median and
// worst; the process's CPU time; a sound that plays nothing.
#pragma once

#include <Tallowmere/Model/GameModel.hpp>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

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

// CPU seconds of the whole process so far, all threads.
inline double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class SilentSound final : public SoundOutput {
public:
    void play(ostrevan::Sfx) override {}
    void startAmbient() override {}
    bool muted() const override { return true; }
    void setMuted(bool) override {}
};

}  // namespace tallowmere::bench
