// Frame cost of the room scene, room by room, and the cost of a whole `--shot` process.
//
// Each room is drawn as the stage draws it in a 1200 x 820 window, frame after frame with the
// clock, the pointer and the hover moving, lit and dark. The shell is cached after the first
// frame, as in play. Counters give the median and the worst frame of the run in milliseconds.
#include <Tallowmere/Scene.hpp>

#include <Ostrevan/Levels.hpp>

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "FrameTiming.hpp"

using tallowmere::bench::millisecondsSince;
using tallowmere::bench::reportFrames;

namespace {

using tallowmere::RoomScene;
using tallowmere::SceneRenderer;

// The window less the top bar (about 60), the inventory bar (about 108) and the stage's
// padding (18 each side, 6 above and below).
const QRectF kStageArea(0, 0, 1200 - 36, 820 - 60 - 108 - 12);
constexpr double kFrameSeconds = 1.0 / 24;

const ostrevan::Level& room(std::int64_t number) {
    const auto& rooms = ostrevan::Levels::all();
    return rooms[static_cast<std::size_t>(std::clamp<std::int64_t>(number, 1, std::int64_t(rooms.size())) - 1)];
}

// The frame-th frame of a room: time runs on, the pointer circles the stage, and the hover
// moves from prop to prop.
RoomScene frameOf(const ostrevan::Level& level, const ostrevan::FlagSet& flags, int frame, bool dark) {
    const double time = 100 + frame * kFrameSeconds;
    const QPointF mouse(500 + 300 * std::cos(time), 300 + 180 * std::sin(time));
    std::optional<std::string> hover;
    if (!level.props.empty()) hover = level.props[std::size_t(frame / 12) % level.props.size()].id;
    return RoomScene{level, flags, time, 0, hover, mouse, dark};
}

// Args: room number, dark (0 or 1).
void BM_RoomFrame(benchmark::State& state) {
    const ostrevan::Level& level = room(state.range(0));
    const bool dark = state.range(1) != 0;
    const ostrevan::FlagSet flags(level.startFlags.begin(), level.startFlags.end());
    const QRectF stage = tallowmere::fitStage(kStageArea);
    QImage target(stage.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    SceneRenderer renderer;
    std::vector<double> frames;
    int frame = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        target.fill(Qt::transparent);
        QPainter painter(&target);
        renderer.draw(painter, QRectF(QPointF(0, 0), stage.size()), frameOf(level, flags, frame++, dark));
        painter.end();
        frames.push_back(millisecondsSince(start));
    }
    reportFrames(state, std::move(frames));
}
BENCHMARK(BM_RoomFrame)
    ->ArgsProduct({benchmark::CreateDenseRange(1, 50, 1), {0, 1}})
    ->ArgNames({"room", "dark"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.2);

// One frame of every room, lit and dark, as whole images: painted on the calling (GUI) thread,
// or handed to a pool thread frame by frame. Painting many small fills has been measured slower
// on the GUI thread.
template <bool onPool>
void BM_EveryRoomFrame(benchmark::State& state) {
    const auto& rooms = ostrevan::Levels::all();
    std::vector<SceneRenderer> renderers(rooms.size());
    const QSize pixels = tallowmere::fitStage(kStageArea).size().toSize();
    int frame = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < rooms.size(); ++i) {
            const ostrevan::FlagSet flags(rooms[i].startFlags.begin(), rooms[i].startFlags.end());
            for (bool dark : {false, true}) {
                const RoomScene scene = frameOf(rooms[i], flags, frame, dark);
                benchmark::DoNotOptimize(onPool ? renderers[i].renderOnPool(scene, pixels) : renderers[i].render(scene, pixels));
            }
        }
        ++frame;
    }
    state.counters["frames"] = benchmark::Counter(double(state.iterations() * rooms.size() * 2), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EveryRoomFrame<false>)->Name("BM_EveryRoomOnGuiThread")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_EveryRoomFrame<true>)->Name("BM_EveryRoomOnPoolThread")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// The whole process: start, build the rooms, render room 7 and write the PNG.
void BM_ShotProcess(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("shot.png");
    for (auto _ : state) {
        QProcess process;
        process.start(TM_BINARY, {"--shot", "7", path});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            state.SkipWithError("the shot process failed");
            break;
        }
    }
}
BENCHMARK(BM_ShotProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
