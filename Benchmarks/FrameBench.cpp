// Frame cost of the stage as the game screen paints it, of the room scene alone, room by room,
// and of a whole `--shot` process.
//
// BM_StageFrame shows the game screen at 1200 x 820 on the offscreen platform and times what one
// tick of the stage's frame clock costs: the room rendered, framed and composited over the
// screen's background into the window; or what a pointer move costs that the stage shows between
// ticks. Its counters give the process's CPU time per rendered frame (all threads: the raster
// engine hands fills to its thread pool) next to the wall time.
//
// BM_RoomFrame draws each room as the stage draws it in a 1200 x 820 window, frame after frame
// with the clock, the pointer and the hover moving, dark only where the room starts dark. The
// shell is cached after the first frame, as in play. Counters give the median and the worst
// frame of the run in milliseconds.
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Model/Scene.hpp>
#include <Tallowmere/Platform/Scheduler.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/StageView.hpp>

#include <Ostrevan/Engine.hpp>
#include <Ostrevan/Levels.hpp>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "FrameTiming.hpp"

using tallowmere::bench::millisecondsSince;
using tallowmere::bench::processCpuSeconds;
using tallowmere::bench::reportFrames;
using tallowmere::bench::SilentSound;

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

// Whether a room is dark when it starts, as the player first sees it.
bool startsDark(const ostrevan::Level& level) {
    return ostrevan::Engine::isDark(level, ostrevan::Engine::begin(level));
}

// Args: room number, pointer (0: away from the stage; 1: sweeping across it, two moves a frame,
// as a mouse reporting every 20 ms does; 2: no tick, only a repaint of the whole stage, as an
// overlay's animation asks for, which reuses the rendered room; 3: one move across the stage
// and the wait until it is shown, by its own frame at the next screen refresh or by the tick when
// that comes first; the wall time is then how long the light trails the pointer; 4: resting on
// the door, its hover ring pulsing).
void BM_StageFrame(benchmark::State& state) {
    QTemporaryDir dir;
    SilentSound sound;
    tallowmere::TimerScheduler clock;
    tallowmere::GameModel model(tallowmere::Environment{dir.filePath("save.json").toStdString(),
                                                        std::to_string(state.range(0)), std::nullopt,
                                                        dir.filePath("data").toStdString()},
                                sound, clock);
    tallowmere::GameView view(model);
    view.resize(1200, 820);
    view.show();
    tallowmere::StageView& stage = *view.stage();
    QElapsedTimer waiting;
    waiting.start();
    while (!stage.ticking() && waiting.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!stage.ticking()) {
        state.SkipWithError("the stage never came on screen");
        return;
    }
    QApplication::processEvents();
    state.SetLabel(ostrevan::Engine::isDark(model.level(), model.state()) ? "dark" : "lit");

    const bool sweeping = state.range(1) == 1;
    const bool repaintOnly = state.range(1) == 2;
    const bool moveOnly = state.range(1) == 3;
    const QRectF frame = stage.stageFrame();
    if (state.range(1) == 4) {
        const QPointF door = stage.toWidget({ostrevan::Stage::doorRect.midX(), ostrevan::Stage::doorRect.midY()});
        QMouseEvent event(QEvent::MouseMove, door, stage.mapToGlobal(door), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&stage, &event);
        stage.tick();
        QApplication::processEvents();
    }
    int move = 0;
    std::vector<double> frames;
    double cpu = 0;
    const std::uint64_t renderedBefore = stage.framesRendered();
    for (auto _ : state) {
        const double cpuStart = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; (sweeping || moveOnly) && i < (moveOnly ? 1 : 2); ++i, ++move) {
            const double along = 0.5 + 0.45 * std::sin(move * 0.05);
            const QPointF at(frame.left() + along * frame.width(), frame.center().y() + 0.3 * frame.height() * std::cos(move * 0.03));
            QMouseEvent event(QEvent::MouseMove, at, stage.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&stage, &event);
        }
        if (moveOnly) {
            const std::uint64_t shown = stage.framesRendered();
            while (stage.framesRendered() == shown) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        } else if (repaintOnly) {
            stage.update();
        } else {
            stage.tick();
        }
        QApplication::processEvents();
        frames.push_back(millisecondsSince(start));
        cpu += processCpuSeconds() - cpuStart;
    }
    const double rendered = double(stage.framesRendered() - renderedBefore);
    state.counters["cpu_ms_per_frame"] = cpu * 1000 / double(std::max<std::int64_t>(1, state.iterations()));
    state.counters["rooms_rendered_per_frame"] = rendered / double(std::max<std::int64_t>(1, state.iterations()));
    reportFrames(state, std::move(frames));
}
BENCHMARK(BM_StageFrame)
    ->Args({1, 0})
    ->Args({38, 0})
    ->Args({38, 1})
    ->Args({1, 2})
    ->Args({38, 3})
    ->Args({1, 4})
    ->Args({38, 4})
    ->ArgNames({"room", "sweep"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1);

// Args: room number.
void BM_RoomFrame(benchmark::State& state) {
    const ostrevan::Level& level = room(state.range(0));
    const bool dark = startsDark(level);
    state.SetLabel(dark ? "dark" : "lit");
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
    ->DenseRange(1, 50, 1)
    ->ArgName("room")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.2);

// One frame of every room, dark where it starts dark, as whole images (each renderer keeps its
// room's last frame, as the stage's does).
void BM_EveryRoomFrame(benchmark::State& state) {
    const auto& rooms = ostrevan::Levels::all();
    std::vector<SceneRenderer> renderers(rooms.size());
    const QSize pixels = tallowmere::fitStage(kStageArea).size().toSize();
    int frame = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < rooms.size(); ++i) {
            const ostrevan::FlagSet flags(rooms[i].startFlags.begin(), rooms[i].startFlags.end());
            const RoomScene scene = frameOf(rooms[i], flags, frame, startsDark(rooms[i]));
            benchmark::DoNotOptimize(renderers[i].render(scene, pixels));
        }
        ++frame;
    }
    state.counters["frames"] = benchmark::Counter(double(state.iterations() * rooms.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EveryRoomFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

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
