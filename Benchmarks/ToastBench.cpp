// The hint's capsule over the drifting dust of room 1, as the game screen shows it at 1200 x 820
// on the offscreen platform: one tick of the stage's frame clock with the capsule up.
//
// BM_ToastOverDust steps the art's clock a 24th of a second a tick through a stretch in which
// motes drift through the capsule's glass the whole time (Args: 1), or holds it still (0). Its
// counters give the glass's blur work per tick (pixels worked over in the blur's reduced copy),
// beside the work of one whole blur of the glass, which every tick whose frame changed anything
// beneath once cost; the share of ticks whose frame changed the glass; the capsule's paints per
// tick; and the process's CPU time per tick (all threads).
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Platform/Scheduler.hpp>
#include <Tallowmere/Screens/Cards.hpp>
#include <Tallowmere/Screens/GameView.hpp>
#include <Tallowmere/Screens/StageView.hpp>
#include <Tallowmere/Widgets/Animation.hpp>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <string>

#include "FrameTiming.hpp"

namespace {

using tallowmere::bench::processCpuSeconds;
using tallowmere::bench::SilentSound;

constexpr double kTickSeconds = 1.0 / 24;
// On the art's clock, 12 s in which one mote or another drifts through the glass of room 1's
// first hint, just above the capsule, all the time.
constexpr double kDustStart = 18265;
constexpr int kDustTicks = 12 * 24;

// Counts the paints its watched widget gets.
struct PaintCounter : QObject {
    std::int64_t count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

void BM_ToastOverDust(benchmark::State& state) {
    const bool drifting = state.range(0) != 0;
    QTemporaryDir dir;
    SilentSound sound;
    tallowmere::TimerScheduler clock;
    tallowmere::GameModel model(
        tallowmere::Environment{dir.filePath("save.json").toStdString(), "1", std::nullopt, dir.filePath("data").toStdString()},
        sound, clock);
    tallowmere::GameView view(model);
    view.resize(1200, 820);
    view.show();
    tallowmere::StageView& stage = *view.stage();
    double time = kDustStart;
    stage.setArtClock([&time] { return time; });
    QElapsedTimer waiting;
    waiting.start();
    while (!stage.ticking() && waiting.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    model.hint();
    QApplication::processEvents();
    tallowmere::ToastView* toast = view.toastView();
    if (!stage.ticking() || !toast) {
        state.SkipWithError("no stage or no capsule on screen");
        return;
    }
    toast->enter(tallowmere::Motion::instant());
    stage.tick();
    QApplication::processEvents();
    // One whole blur of the glass, as a new capsule makes it.
    const std::uint64_t beforeWhole = toast->glassPixelsBlurred();
    toast->showOver(&stage);
    toast->repaint();
    const double wholeBlur = double(toast->glassPixelsBlurred() - beforeWhole);

    PaintCounter paints;
    toast->installEventFilter(&paints);
    const std::uint64_t blurredBefore = toast->glassPixelsBlurred();
    std::int64_t ticks = 0;
    std::int64_t glassChanged = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double cpuStart = processCpuSeconds();
        if (drifting) time = kDustStart + double(ticks % kDustTicks) * kTickSeconds;
        const std::uint64_t blurred = toast->glassPixelsBlurred();
        stage.tick();
        QApplication::processEvents();
        glassChanged += toast->glassPixelsBlurred() != blurred;
        ++ticks;
        cpu += processCpuSeconds() - cpuStart;
    }
    const double n = double(std::max<std::int64_t>(1, ticks));
    state.counters["pixels_blurred_per_tick"] = double(toast->glassPixelsBlurred() - blurredBefore) / n;
    state.counters["whole_blur_pixels"] = wholeBlur;
    state.counters["ticks_glass_changed"] = double(glassChanged) / n;
    state.counters["capsule_paints_per_tick"] = double(paints.count) / n;
    state.counters["cpu_ms_per_tick"] = cpu * 1000 / n;
}
BENCHMARK(BM_ToastOverDust)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(480);

}  // namespace
