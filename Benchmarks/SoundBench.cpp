// Sound at start-up: every clip is synthesised before the first window shows, so its cost is
// start-up latency. The mixer's cost is paid on every pull of the audio output. And what a
// save costs the GUI thread, which must keep the frame and used to feed the sound.
#include <Tallowmere/Audio/Mixer.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Model/SaveWriter.hpp>

#include <Ostrevan/Levels.hpp>

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <vector>

namespace {

using ostrevan::Sfx;
using namespace tallowmere;

constexpr Sfx kAllSfx[] = {Sfx::tap,   Sfx::pickup,  Sfx::unlock,  Sfx::wrong, Sfx::open,
                           Sfx::power, Sfx::success, Sfx::combine, Sfx::splash};

// All ten clips, synthesised and encoded as WAV files, as the player does when it is created.
void BM_SynthesiseAllClips(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const Sfx sfx : kAllSfx) {
            auto wav = synth::wavFor(sfx);
            bytes += wav.size();
            benchmark::DoNotOptimize(wav.data());
        }
        auto ambient = synth::ambientWav();
        bytes += ambient.size();
        benchmark::DoNotOptimize(ambient.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_SynthesiseAllClips)->Unit(benchmark::kMillisecond);

// The ambient loop alone: 352,800 of the 574,182 samples.
void BM_SynthesiseAmbient(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(synth::ambientSamples().data());
}
BENCHMARK(BM_SynthesiseAmbient)->Unit(benchmark::kMillisecond);

// One 20 ms pull with the loop and three effects sounding.
void BM_MixOnePull(benchmark::State& state) {
    auto clip = [](std::vector<float> samples) {
        return std::make_shared<const std::vector<std::int16_t>>(synth::pcm(samples));
    };
    Mixer mixer;
    mixer.add(clip(synth::ambientSamples()), 0.16f, true);
    const auto open = clip(synth::effectSamples(Sfx::open));
    std::vector<std::int16_t> out(882);
    for (auto _ : state) {
        // Cheap next to a pull, and rarely needed: the door clip lasts 55 pulls.
        while (mixer.voiceCount() < 4) mixer.add(open, 0.7f, false);
        mixer.render(out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MixOnePull)->Unit(benchmark::kMicrosecond);

// The durable write itself (two fsync calls), as the GUI thread once made it after each click.
void BM_SaveWrittenInline(benchmark::State& state) {
    const QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("save.json").toStdString();
    const ostrevan::SaveFile file{ostrevan::Engine::begin(ostrevan::Levels::all().front()), 1};
    for (auto _ : state) ostrevan::SaveStore::write(file, path);
}
BENCHMARK(BM_SaveWrittenInline)->Unit(benchmark::kMicrosecond);

// What the GUI thread pays now: handing the state to the save writer.
void BM_SaveHandedToTheWriter(benchmark::State& state) {
    const QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("save.json").toStdString();
    const ostrevan::SaveFile file{ostrevan::Engine::begin(ostrevan::Levels::all().front()), 1};
    SaveWriter writer;
    for (auto _ : state) writer.write(file, path);
    writer.flush();  // after the loop: not timed
}
BENCHMARK(BM_SaveHandedToTheWriter)->Unit(benchmark::kMicrosecond);

}  // namespace
