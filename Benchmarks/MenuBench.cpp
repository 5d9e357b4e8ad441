// Frame cost of the main menu's backdrop: the cream room and its seven doors (each with three
// blurred shadows: the casing's and two of the leaf's), at up to 20 frames a second, then the
// menu's darkening over it. BM_MenuBackdropFrame draws as the menu does, through the renderer
// that keeps the room and the shut doors; BM_MenuBackdropUncached draws everything afresh, for
// comparison. Counters give the median and the worst frame in milliseconds; a frame must stay
// well inside the 50 ms between two frames.
#include <Tallowmere/MenuArt.hpp>

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

constexpr double kFrameStepSeconds = 0.37;

// The frame-th frame: frames step by 0.37 s, so a run samples doors shut, opening and open
// across the whole wave period instead of the first few seconds of it.
double frameTime(int frame) { return frame * kFrameStepSeconds; }

void drawShade(QPainter& painter, QSize size) {
    tallowmere::drawMenuShade(Canvas(painter), tallowmere::Rect{0, 0, double(size.width()), double(size.height())});
}

// Args: width and height in pixels.
void BM_MenuBackdropFrame(benchmark::State& state) {
    const QSize size(int(state.range(0)), int(state.range(1)));
    QImage target(size, QImage::Format_ARGB32_Premultiplied);
    tallowmere::MenuBackdropRenderer renderer;
    {
        // The first frame of a size draws what is kept; the menu pays it once.
        QPainter painter(&target);
        renderer.draw(painter, QSizeF(size), 0);
    }
    std::vector<double> frames;
    int frame = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&target);
        renderer.draw(painter, QSizeF(size), frameTime(frame++));
        drawShade(painter, size);
        painter.end();
        frames.push_back(millisecondsSince(start));
    }
    reportFrames(state, std::move(frames));
}

void BM_MenuBackdropUncached(benchmark::State& state) {
    const QSize size(int(state.range(0)), int(state.range(1)));
    QImage target(size, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> frames;
    int frame = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&target);
        tallowmere::drawMenuBackdrop(tallowmere::coveringStage(Canvas(painter), QSizeF(size)), frameTime(frame++));
        painter.end();
        painter.begin(&target);
        drawShade(painter, size);
        painter.end();
        frames.push_back(millisecondsSince(start));
    }
    reportFrames(state, std::move(frames));
}

void menuSizes(benchmark::internal::Benchmark* b) {
    b->Args({1000, 640})->Args({1200, 820})->Args({2400, 1640});  // the last: two pixels per point
    b->ArgNames({"w", "h"})->Unit(benchmark::kMillisecond)->MinTime(0.5);
}
BENCHMARK(BM_MenuBackdropFrame)->Apply(menuSizes);
BENCHMARK(BM_MenuBackdropUncached)->Apply(menuSizes);

}  // namespace
