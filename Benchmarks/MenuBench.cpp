// Frame cost of the main menu's backdrop: the cream room and its seven doors, at 20 frames a
// second, with the menu's darkening over it.
//
// BM_MenuBackdropFrame brings the menu's kept picture forward as the menu does, frame after frame
// 50 ms apart over a whole period of the doors' wave, so most frames have every door still and
// some have one or two doors swinging. BM_MenuBackdropUncached draws every frame afresh, as the
// menu once did, for comparison. Counters: CPU per frame of the whole process (all threads) next
// to the median and worst wall time of a frame, and the share of frames that changed anything.
#include <Tallowmere/Art/MenuArt.hpp>

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <vector>

#include "FrameTiming.hpp"

using tallowmere::bench::millisecondsSince;
using tallowmere::bench::reportFrames;

namespace {

using tallowmere::Canvas;
using tallowmere::bench::processCpuSeconds;

constexpr double kFrameSeconds = 0.05;

void reportCpu(benchmark::State& state, double cpuSeconds) {
    state.counters["cpu_ms_per_frame"] = cpuSeconds * 1000 / double(std::max<std::int64_t>(1, state.iterations()));
}

// Args: width and height in pixels.
void BM_MenuBackdropFrame(benchmark::State& state) {
    const QSizeF size(double(state.range(0)), double(state.range(1)));
    tallowmere::MenuBackdropRenderer renderer;
    // The first frame of a size draws what is kept; the menu pays it once.
    renderer.advance(size, 1, 0);
    std::vector<double> frames;
    int frame = 0;
    int changed = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double cpuStart = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        if (!renderer.advance(size, 1, ++frame * kFrameSeconds).isEmpty()) ++changed;
        frames.push_back(millisecondsSince(start));
        cpu += processCpuSeconds() - cpuStart;
    }
    reportCpu(state, cpu);
    state.counters["frames_changed"] = double(changed) / double(std::max(1, frame));
    reportFrames(state, std::move(frames));
}

void BM_MenuBackdropUncached(benchmark::State& state) {
    const QSize size(int(state.range(0)), int(state.range(1)));
    QImage target(size, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> frames;
    int frame = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double cpuStart = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&target);
        const Canvas screen(painter);
        tallowmere::drawMenuBackdrop(tallowmere::coveringStage(screen, QSizeF(size)), ++frame * kFrameSeconds);
        tallowmere::drawMenuShade(screen, tallowmere::Rect{0, 0, double(size.width()), double(size.height())});
        painter.end();
        frames.push_back(millisecondsSince(start));
        cpu += processCpuSeconds() - cpuStart;
    }
    reportCpu(state, cpu);
    reportFrames(state, std::move(frames));
}

void menuSizes(benchmark::internal::Benchmark* b) {
    b->Args({1200, 820})->Args({2400, 1640});  // the last: two pixels per point
    b->ArgNames({"w", "h"})->Unit(benchmark::kMillisecond)->UseRealTime();
}
// A whole wave period is 359 frames.
BENCHMARK(BM_MenuBackdropFrame)->Apply(menuSizes)->Iterations(720);
BENCHMARK(BM_MenuBackdropUncached)->Apply(menuSizes)->MinTime(0.5);

}  // namespace
