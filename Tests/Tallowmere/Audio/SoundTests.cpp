// Sound: the synthesised clips and their WAV files, the mixer, the audio output on its own
// thread, and the player's mute setting.
#include <Tallowmere/Audio/AudioOutput.hpp>
#include <Tallowmere/Audio/Mixer.hpp>
#include <Tallowmere/Audio/Sound.hpp>
#include <Tallowmere/Platform/BackgroundWriter.hpp>

#include <gtest/gtest.h>

#include "QtWarnings.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QIODevice>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtGlobal>

#include <pulse/simple.h>
#include <sys/prctl.h>

#include <csignal>

#include <atomic>
#include <chrono>
#include <cmath>
#include <future>
#include <limits>
#include <random>
#include <string>
#include <thread>

using namespace tallowmere;
using ostrevan::Sfx;
using tallowmere::testing::ExpectQtWarning;

namespace {

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

std::int16_t wavSample(const std::vector<std::uint8_t>& bytes, std::size_t i) {
    const std::size_t at = synth::kWavHeaderBytes + 2 * i;
    return static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8);
}

Mixer::Samples clipOf(std::vector<std::int16_t> samples) {
    return std::make_shared<const std::vector<std::int16_t>>(std::move(samples));
}

std::vector<std::int16_t> render(Mixer& mixer, std::size_t n) {
    std::vector<std::int16_t> out(n, 12345);  // garbage, so untouched samples would show
    mixer.render(out);
    return out;
}

bool silent(const std::vector<std::int16_t>& samples) {
    return std::all_of(samples.begin(), samples.end(), [](std::int16_t s) { return s == 0; });
}

void clearMuteSetting() { QSettings("Tallowmere", "Tallowmere").remove(Sound::kMutedKey); }

// A sound card stand-in: pulls the source in real time from a timer on the thread that started
// it, and reports what it got. `available`, `lost` and `stalled` (a frozen server, or one gone
// before the output noticed) play the part of the sound server.
struct FakeCard {
    std::atomic<bool> available = true;
    std::atomic<bool> lost = false;
    std::atomic<bool> stalled = false;
    std::atomic<int> stalledPulls = 0;
    std::atomic<long long> pulledBytes = 0;
    std::atomic<long long> loudSamples = 0;  // pulled samples that were not silence
    std::atomic<long long> longestGapMs = 0;
    std::atomic<int> starts = 0;  // sinks started on it
    // Set before the first sink starts: the card then keeps time by what it plays, pulling 10 ms
    // at each tick and moving `clockNs` on by as much, however late the tick. Only a test that
    // moves the clock itself makes a break in the stream.
    bool ownClock = false;
    std::atomic<long long> clockNs = 0;
};

class FakeSink final : public AudioSink {
public:
    explicit FakeSink(std::shared_ptr<FakeCard> card) : m_card(std::move(card)) {}

    bool start(QIODevice& source) override {
        if (!m_card->available) return false;
        ++m_card->starts;
        m_source = &source;
        m_clock.start();
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { pull(); });
        m_timer.start(5);
        return true;
    }
    bool failed() const override { return m_card->lost; }

private:
    void pull() {
        if (m_card->stalled) {
            ++m_card->stalledPulls;
            return;
        }
        const qint64 now = m_clock.elapsed();
        m_card->longestGapMs = std::max<long long>(m_card->longestGapMs, now - m_lastPullMs);
        m_lastPullMs = now;
        constexpr qint64 kTickBytes = AudioOutput::kSampleRate / 100 * 2;
        const qint64 dueBytes = m_card->ownClock ? kTickBytes : now * AudioOutput::kSampleRate / 1000 * 2 - m_pulled;
        std::vector<std::int16_t> buffer(static_cast<std::size_t>(std::max<qint64>(dueBytes, 0) / 2));
        const qint64 got = m_source->read(reinterpret_cast<char*>(buffer.data()),
                                          static_cast<qint64>(buffer.size() * 2));
        m_pulled += std::max<qint64>(got, 0);
        m_card->pulledBytes += std::max<qint64>(got, 0);
        m_card->loudSamples += std::count_if(buffer.begin(), buffer.end(), [](std::int16_t v) { return v != 0; });
        if (m_card->ownClock) m_card->clockNs += std::chrono::nanoseconds(std::chrono::milliseconds(10)).count();
    }

    std::shared_ptr<FakeCard> m_card;
    QIODevice* m_source = nullptr;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastPullMs = 0;
    qint64 m_pulled = 0;
};

AudioSinkFactory fakeCardFactory(const std::shared_ptr<FakeCard>& card) {
    return [card]() -> std::unique_ptr<AudioSink> { return std::make_unique<FakeSink>(card); };
}

// A card that keeps its own time, and the clock the stream reads it on.
std::shared_ptr<FakeCard> cardWithItsOwnClock() {
    auto card = std::make_shared<FakeCard>();
    card->ownClock = true;
    return card;
}

StreamClock clockOf(const std::shared_ptr<FakeCard>& card) {
    return [card] { return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(card->clockNs.load())); };
}

// Only a thread that stopped, or a fault, takes this long: a busy machine is given its time.
constexpr std::chrono::seconds kPatience{60};

template <typename Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds timeout = kPatience) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeout.count()) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A call into a sound server or a disk that does not answer: it returns once the test opens the
// gate, or after 10 s by itself, so that a caller that waits for it fails the test rather than
// hangs.
struct Gate {
    std::promise<void> open;
    std::shared_future<void> opened = open.get_future().share();
    std::atomic<int> held = 0;    // calls waiting at the gate now
    std::atomic<int> passed = 0;  // calls that went through
    void pass() {
        ++held;
        opened.wait_for(std::chrono::seconds(10));
        --held;
        ++passed;
    }
};

std::atomic<int> g_warnings = 0;

}  // namespace

// ## Synthesis and WAV encoding

TEST(SoundSynth, WavHeaders) {
    // The samples themselves are pinned by the formula hashes below; these are the headers.
    const std::uint8_t tapHeader[44] = {
        'R', 'I', 'F', 'F', 0x42, 0x18, 0, 0,  'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
        16,  0,   0,   0,   1,    0,    1, 0,  0x44, 0xAC, 0, 0,   0x88, 0x58, 0x01, 0,
        2,   0,   16,  0,   'd',  'a',  't', 'a', 0x1E, 0x18, 0, 0,
    };
    const auto tap = synth::wavFor(Sfx::tap);
    EXPECT_TRUE(std::equal(tapHeader, tapHeader + 44, tap.begin()));  // size 6210, data 6174
    EXPECT_EQ(tap.size(), 6218u);
    const auto open = synth::wavFor(Sfx::open);
    EXPECT_EQ(u32At(open, 4), 36 + 2 * 48510u);
    EXPECT_EQ(u32At(open, 40), 2 * 48510u);
    const auto ambient = synth::ambientWav();
    EXPECT_EQ(ambient.size(), 705644u);
    EXPECT_EQ(u32At(ambient, 40), 705600u);
}

TEST(SoundSynth, SignalFunctions) {
    EXPECT_EQ(synth::hashNoise(0), -1.0);
    EXPECT_DOUBLE_EQ(synth::edgeEnvelope(0.0025, 0.07), 0.5);
    EXPECT_EQ(synth::edgeEnvelope(4, 8), 1.0);
    EXPECT_NEAR(synth::edgeEnvelope(8 - 0.0025, 8), 0.5, 1e-9);
    EXPECT_EQ(synth::edgeEnvelope(9, 8), 0.0);  // past the end: never negative
}

TEST(SoundSynth, EveryClipMatchesItsFormula) {
    // Computed once from the written formulas by a separate Python transcription (float32
    // storage and scaling emulated), not by this code: FNV-1a of the clip's 16-bit samples
    // (little-endian) and a few samples spread over it.
    const struct {
        const char* name;
        std::uint32_t fnv;
        std::vector<std::pair<std::size_t, std::int16_t>> samples;
    } table[] = {
        {"tap", 0x44a99f4f, {{422, 6526}, {845, 5562}, {1268, 1903}, {1691, -489}, {2114, -1034}, {2960, -61}}},
        {"pickup", 0x124298c0, {{2793, -7814}, {5586, 6317}, {8379, 1989}, {11173, -1898}, {19552, -1348}}},
        {"unlock", 0xa7a197ea, {{3068, 2386}, {6137, -1769}, {9206, -18}, {12275, -1715}, {21482, 144}}},
        {"wrong", 0xdb13de4a, {{1690, 5593}, {3381, -4444}, {5072, -3530}, {6763, 2805}, {11835, -1406}}},
        {"open", 0x7e336daf, {{6100, 4412}, {12201, 6163}, {18302, -2687}, {24403, 3670}, {30503, -9112}, {42705, 2046}}},
        {"power", 0xf4994d99, {{2793, 442}, {5586, 7026}, {8379, -6545}, {11173, 4996}, {19552, -518}}},
        {"success", 0x484ba4e2, {{4998, 7274}, {9996, -2000}, {14994, 3241}, {19993, 171}, {34987, -751}}},
        {"combine", 0xbf366abe, {{2793, -5209}, {5586, 8667}, {8379, -3241}, {11173, 874}, {19552, 403}}},
        {"splash", 0x6955610c, {{3344, 384}, {6689, -1600}, {10033, -1715}, {13378, 1250}, {23411, -337}}},
        {"ambient", 0x67e73f48, {{44137, 3716}, {88274, 3788}, {132411, 2754}, {220685, -265}, {308959, 396}}},
    };
    constexpr Sfx kEffects[] = {Sfx::tap,   Sfx::pickup,  Sfx::unlock,  Sfx::wrong, Sfx::open,
                                Sfx::power, Sfx::success, Sfx::combine, Sfx::splash};
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        const Sfx* effect = std::find_if(std::begin(kEffects), std::end(kEffects),
                                         [&](Sfx sfx) { return ostrevan::name(sfx) == row.name; });
        const auto bytes = effect == std::end(kEffects) ? synth::ambientWav() : synth::wavFor(*effect);
        std::uint32_t fnv = 0x811c9dc5;
        for (std::size_t i = synth::kWavHeaderBytes; i < bytes.size(); ++i) fnv = (fnv ^ bytes[i]) * 0x01000193;
        EXPECT_EQ(fnv, row.fnv);
        for (const auto& [index, value] : row.samples) EXPECT_EQ(wavSample(bytes, index), value) << index;
    }
}

TEST(SoundSynth, PcmScalingTruncatesTowardZeroAndClips) {
    const struct { float in; std::int16_t out; } table[] = {
        {1.0f, 32000},     {-1.0f, -32000},     {0.5f, 16000},
        {1.5f / 32000, 1}, {-1.5f / 32000, -1}, {-0.99f / 32000, 0},
        {2.0f, 32000},     {-3.0f, -32000},     {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    std::vector<float> samples;
    for (const auto& row : table) samples.push_back(row.in);
    const auto bytes = synth::wav(samples);
    for (std::size_t i = 0; i < samples.size(); ++i) EXPECT_EQ(wavSample(bytes, i), table[i].out) << table[i].in;
}

// ## Mixer

TEST(Mixer, GainAndOverlapSumThenRoundAndFinishedVoicesGo) {
    Mixer mixer;
    const auto longVoice = mixer.add(clipOf({1000, 2000, 3000, -4000, 8}), 0.5f, false);
    const auto shortVoice = mixer.add(clipOf({100, 100}), 1.0f, false);
    mixer.add(clipOf({3, -3}), 0.7f, false);  // 2.1 and -2.1 go to the nearest sample
    ASSERT_TRUE(shortVoice && longVoice);
    EXPECT_EQ(render(mixer, 2), (std::vector<std::int16_t>{602, 1098}));
    EXPECT_FALSE(mixer.contains(*shortVoice));
    EXPECT_FALSE(mixer.setGain(*shortVoice, 0.5f));
    EXPECT_EQ(render(mixer, 2), (std::vector<std::int16_t>{1500, -2000}));
    EXPECT_TRUE(mixer.setGain(*longVoice, 0.0f));
    EXPECT_EQ(render(mixer, 3), (std::vector<std::int16_t>{0, 0, 0}));  // silence past every end
    EXPECT_EQ(mixer.voiceCount(), 0u);
    EXPECT_FALSE(mixer.stop(*longVoice));
    EXPECT_FALSE(mixer.add(clipOf({}), 1.0f, true));  // an empty loop would never end
}

TEST(Mixer, SaturatesInsteadOfWrapping) {
    Mixer mixer;
    for (int i = 0; i < 2; ++i) mixer.add(clipOf({30000, -30000, 20000}), 1.0f, false);
    mixer.add(clipOf({0, 0, 20000}), 1.0f, false);
    mixer.add(clipOf({0, 0, 0, -32768}), 2.0f, false);
    EXPECT_EQ(render(mixer, 4), (std::vector<std::int16_t>{32767, -32768, 32767, -32768}));
}

TEST(Mixer, LoopIsContinuousAtTheSeam) {
    Mixer mixer;
    const auto id = mixer.add(clipOf({1, 2, 3}), 1.0f, true);
    ASSERT_TRUE(id);
    EXPECT_EQ(render(mixer, 2), (std::vector<std::int16_t>{1, 2}));  // across pulls, too
    EXPECT_EQ(render(mixer, 6), (std::vector<std::int16_t>{3, 1, 2, 3, 1, 2}));
    EXPECT_TRUE(mixer.stop(*id));
}

TEST(Mixer, AudioThreadRendersWhileTheGuiThreadPlaysStopsAndMutes) {
    // "It crashes now and then during play": the sanitized build runs this too.
    clearMuteSetting();
    Sound sound(Sound::Output::manual);
    std::atomic<bool> done = false;
    std::atomic<long long> renders = 0;
    std::atomic<bool> lastLoud = false;
    std::thread audio([&] {
        std::vector<std::int16_t> chunk(AudioOutput::kSampleRate / 100);
        while (!done) {
            sound.mixer().render(chunk);
            lastLoud = !silent(chunk);
            ++renders;
        }
    });
    const auto joinAudio = qScopeGuard([&] {
        done = true;
        audio.join();
    });
    // Until the renders after `from` are known to have begun after the GUI thread's change.
    const auto twoMoreRenders = [&] {
        const long long from = renders;
        return waitUntil([&] { return renders >= from + 2; });
    };

    constexpr Sfx kEffects[] = {Sfx::tap, Sfx::pickup, Sfx::open, Sfx::wrong, Sfx::splash};
    std::mt19937 random(7);
    std::vector<Mixer::VoiceId> voices;
    const long long rendersBefore = renders;
    // Counted, not timed: as many steps and renders however slowly either thread runs.
    constexpr int kSteps = 10000;
    constexpr long long kRenders = 100;
    QElapsedTimer clock;
    clock.start();
    for (int step = 0; step < kSteps || renders - rendersBefore <= kRenders; ++step) {
        ASSERT_LT(clock.elapsed(), std::chrono::milliseconds(kPatience).count()) << "the audio thread stopped";
        switch (random() % 6) {
        case 0: sound.play(kEffects[random() % std::size(kEffects)]); break;
        case 1: sound.startAmbient(); break;
        case 2:
            if (const auto id = sound.mixer().add(clipOf(std::vector<std::int16_t>(random() % 900 + 1, 900)), 0.5f,
                                                  random() % 4 == 0))
                voices.push_back(*id);
            break;
        case 3:
            if (!voices.empty()) sound.mixer().stop(voices[random() % voices.size()]);
            break;
        case 4:
            if (!voices.empty()) sound.mixer().setGain(voices[random() % voices.size()], 0.25f);
            break;
        case 5:
            if (step % 50 != 5) break;
            // Muting silences at once, whatever the audio thread is in the middle of.
            for (const Mixer::VoiceId id : voices) sound.mixer().stop(id);
            voices.clear();
            sound.setMuted(true);
            ASSERT_TRUE(twoMoreRenders());
            EXPECT_FALSE(lastLoud) << step;
            sound.setMuted(false);
            break;
        }
    }
}

// ## Player

TEST(SoundPlayer, EffectsOverlapAndMuteStopsThemAndSilencesTheLoopInPlace) {
    clearMuteSetting();
    Sound sound(Sound::Output::manual);
    const auto tap = synth::pcm(synth::effectSamples(Sfx::tap));
    sound.play(Sfx::tap);
    sound.play(Sfx::tap);
    const auto taps = render(sound.mixer(), tap.size());
    for (std::size_t i = 0; i < tap.size(); i += 97)
        EXPECT_EQ(taps[i], std::lround(2 * Sound::kEffectGain * tap[i])) << i;
    EXPECT_EQ(sound.mixer().voiceCount(), 0u);

    const auto ambient = synth::pcm(synth::ambientSamples());
    sound.startAmbient();
    sound.startAmbient();  // the loop is made once
    sound.play(Sfx::open);
    sound.play(Sfx::success);
    EXPECT_EQ(sound.mixer().voiceCount(), 3u);
    render(sound.mixer(), 100);

    sound.setMuted(true);
    sound.play(Sfx::tap);
    EXPECT_EQ(sound.mixer().voiceCount(), 1u);  // only the loop, at volume 0
    EXPECT_TRUE(silent(render(sound.mixer(), 2000)));

    sound.setMuted(false);  // the loop is heard again where it now is; no effect comes back
    EXPECT_EQ(sound.mixer().voiceCount(), 1u);
    const auto out = render(sound.mixer(), 50);
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_EQ(out[i], std::lround(Sound::kAmbientGain * ambient[2100 + i])) << i;

    sound.setMuted(true);
    Sound startedMuted(Sound::Output::manual);  // reads the setting: muted
    startedMuted.startAmbient();
    EXPECT_EQ(startedMuted.mixer().voiceCount(), 1u);
    EXPECT_TRUE(silent(render(startedMuted.mixer(), 500)));
}

TEST(SoundPlayer, MuteSettingIsStoredAndReadBack) {
    clearMuteSetting();
    Sound first(Sound::Output::manual);
    EXPECT_FALSE(first.muted());  // a first run starts unmuted
    first.setMuted(false);        // every assignment writes, even an unchanged value
    BackgroundWriter::flushAll();
    {
        const QSettings settings("Tallowmere", "Tallowmere");
        EXPECT_EQ(settings.value(Sound::kMutedKey), QVariant(false));
        EXPECT_TRUE(settings.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    }
    first.setMuted(true);
    EXPECT_TRUE(Sound(Sound::Output::none).muted());

    // A settings file that can be read but not written (a link to one of the kernel's files,
    // which stops root too): one line, and the game goes on with the new value.
    const QString file = QSettings("Tallowmere", "Tallowmere").fileName();
    ASSERT_TRUE(QFile::remove(file) && QFile::link("/proc/version", file));
    {
        const ExpectQtWarning unsaved(QStringLiteral("^Tallowmere: could not save the mute setting: .*Tallowmere.conf"));
        first.setMuted(false);
        EXPECT_FALSE(first.muted());
        BackgroundWriter::flushAll();
        EXPECT_EQ(unsaved.seen(), 1);
    }
    ASSERT_TRUE(QFile::remove(file));

    Sound(Sound::Output::none).setMuted(false);
    EXPECT_FALSE(Sound(Sound::Output::manual).muted());
}

TEST(SoundPlayer, AMuteClickNeverWaitsForTheDiskAndItsLatestValueLands) {
    // "The mute click stops the window on a slow disk."
    clearMuteSetting();
    Sound sound(Sound::Output::none);
    Gate disk;
    Sound::settingsWriter().write([&disk] { disk.pass(); });  // the disk holds what came before
    ASSERT_TRUE(waitUntil([&] { return disk.held == 1; }));
    sound.setMuted(true);
    sound.setMuted(false);
    sound.setMuted(true);
    EXPECT_FALSE(QSettings("Tallowmere", "Tallowmere").contains(Sound::kMutedKey)) << "written by the click";
    disk.open.set_value();
    EXPECT_TRUE(Sound(Sound::Output::none).muted());

    // A relative XDG_CONFIG_HOME is no folder at all by the XDG rules: ~/.config, never the
    // working folder. Qt fixes its own settings folder at its first use in a process, so the
    // file it found then says the opposite of what is written here.
    Sound(Sound::Output::none).setMuted(false);
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString workingFolder = QDir::currentPath();
    const QByteArray homeWas = qgetenv("HOME"), configWas = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        QDir::setCurrent(workingFolder);
        qputenv("HOME", homeWas);
        qputenv("XDG_CONFIG_HOME", configWas);
    });
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", "relative");
    Sound(Sound::Output::none).setMuted(true);
    EXPECT_TRUE(QFile::exists(home.filePath(".config/Tallowmere/Tallowmere.conf")));
    EXPECT_FALSE(QFile::exists(home.filePath("relative")));
    EXPECT_TRUE(Sound(Sound::Output::none).muted()) << "read where it was written";
}

TEST(SoundPlayer, WithoutAnAudioDeviceNothingPlays) {
    clearMuteSetting();
    // The real device path too: with no sound server where it looks for one, it stays silent
    // and quiet, and does not claim to be heard.
    const QByteArray server = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:/nonexistent/native");
    static int messages = 0;
    const auto previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { ++messages; });
    for (const Sound::Output output : {Sound::Output::none, Sound::Output::device}) {
        Sound sound(output);
        sound.startAmbient();
        sound.play(Sfx::tap);
        // No effect waits to sound late; the device's loop waits for an output to appear.
        // Given the time to try, it never claims to be heard.
        EXPECT_FALSE(waitUntil([&] { return sound.audible(); }, std::chrono::milliseconds(300)));
        EXPECT_EQ(sound.mixer().voiceCount(), output == Sound::Output::none ? 0u : 1u);
    }
    qInstallMessageHandler(previous);
    EXPECT_LE(messages, 1);
    if (server.isNull()) qunsetenv("PULSE_SERVER");
    else qputenv("PULSE_SERVER", server);
}

// ## Audio output

TEST(AudioOutput, StreamKeepsPaceWhileTheGuiThreadIsBusy) {
    clearMuteSetting();
    const auto card = std::make_shared<FakeCard>();
    Sound sound(fakeCardFactory(card), std::chrono::milliseconds(20));
    sound.startAmbient();
    ASSERT_TRUE(waitUntil([&] { return card->loudSamples > 0; }));

    card->longestGapMs = 0;
    const long long before = card->pulledBytes;
    QElapsedTimer busy;
    busy.start();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a long frame, a slow save
    const long long pulled = card->pulledBytes - before;
    const double dueBytes = busy.elapsed() / 1000.0 * AudioOutput::kSampleRate * 2;
    EXPECT_GT(static_cast<double>(pulled), 0.7 * dueBytes);
    EXPECT_LT(card->longestGapMs, 200);  // a pull stuck behind the GUI thread would wait 300 ms
    EXPECT_TRUE(sound.audible());
}

TEST(AudioOutput, OutputThatComesLaterPlaysTheLoopAndALostOneIsReopened) {
    clearMuteSetting();
    g_warnings = 0;
    const auto previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { ++g_warnings; });
    const auto card = std::make_shared<FakeCard>();
    card->available = false;  // no sound server at start
    Sound sound(fakeCardFactory(card), std::chrono::milliseconds(20));
    sound.startAmbient();
    sound.play(Sfx::tap);  // dropped: it would sound late
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(sound.audible());
    EXPECT_EQ(sound.mixer().voiceCount(), 1u);

    // The server appears: the loop starts with no further call into the player.
    card->available = true;
    ASSERT_TRUE(waitUntil([&] { return card->loudSamples > 0; }));
    EXPECT_TRUE(sound.audible());
    EXPECT_EQ(g_warnings, 0);

    // The server goes away for a while, several retries long: one line, then the loop resumes.
    card->available = false;
    card->lost = true;
    ASSERT_TRUE(waitUntil([&] { return !sound.audible(); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(g_warnings, 1);
    card->lost = false;
    const long long loudBefore = card->loudSamples;
    card->available = true;
    ASSERT_TRUE(waitUntil([&] { return card->loudSamples > loudBefore; }));
    EXPECT_EQ(g_warnings, 1);

    // At quit the output stops for good; the player stays usable and silent.
    sound.stopOutput();
    EXPECT_FALSE(sound.audible());
    const long long pulledAtStop = card->pulledBytes;
    sound.play(Sfx::tap);
    sound.startAmbient();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(card->pulledBytes, pulledAtStop);
    qInstallMessageHandler(previous);
}

namespace {

// What the output does with its sinks: how often it asks for one, whether a failed one is
// closed before the next is made, and when each step happened.
struct SinkLog {
    using Clock = std::chrono::steady_clock;
    // Where a sink waits at the gate: connecting, or closing (which waits for its writer, stuck
    // in a write the server never takes).
    enum class Hold { nowhere, start, close };
    std::atomic<bool> opens = false;    // whether start() finds an output
    std::atomic<bool> failing = false;  // the started sinks' writes fail from now on
    std::atomic<Hold> hold = Hold::nowhere;
    Gate gate;
    std::atomic<int> made = 0;
    std::atomic<int> alive = 0;
    std::atomic<int> aliveAtLastMake = 0;
    std::atomic<Clock::time_point> failureSeen{};  // the check that found a sink failed
    std::atomic<Clock::time_point> lastMade{};
};

class CountingSink final : public AudioSink {
public:
    explicit CountingSink(std::shared_ptr<SinkLog> log) : m_log(std::move(log)) {
        m_log->aliveAtLastMake = m_log->alive.load();
        m_log->lastMade = SinkLog::Clock::now();
        ++m_log->made;
        ++m_log->alive;
    }
    ~CountingSink() override {
        if (m_log->hold == SinkLog::Hold::close) m_log->gate.pass();
        --m_log->alive;
    }
    bool start(QIODevice&) override {
        if (m_log->hold == SinkLog::Hold::start) m_log->gate.pass();
        return m_log->opens;
    }
    bool failed() const override {
        if (m_log->failing) m_log->failureSeen = SinkLog::Clock::now();
        return m_log->failing;
    }

private:
    std::shared_ptr<SinkLog> m_log;
};

AudioSinkFactory countingFactory(const std::shared_ptr<SinkLog>& log) {
    return [log]() -> std::unique_ptr<AudioSink> { return std::make_unique<CountingSink>(log); };
}

}  // namespace

TEST(AudioOutput, WithNoOutputItRetriesAboutOncePerIntervalHoweverOftenItIsWoken) {
    // "The game uses CPU while there is no sound server": a player clicking away wakes the
    // output with every effect.
    const auto mixer = std::make_shared<Mixer>();
    const auto log = std::make_shared<SinkLog>();
    constexpr std::chrono::milliseconds kInterval{40};
    QElapsedTimer clock;
    clock.start();
    {
        AudioOutput output(mixer, countingFactory(log), kInterval);
        ASSERT_TRUE(waitUntil([&] { return log->made >= 3; }));  // it does go on trying
        while (clock.elapsed() < 400) {
            output.wake();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_FALSE(output.playing());
    }
    // The timer's tries plus at most one woken try per interval, and the one at start.
    EXPECT_LE(log->made, 2 * clock.elapsed() / kInterval.count() + 2);
    EXPECT_EQ(log->alive, 0);
}

TEST(AudioOutput, SinkWhoseWritesFailIsClosedAndReopenedInTheSameCheck) {
    const auto mixer = std::make_shared<Mixer>();
    const auto log = std::make_shared<SinkLog>();
    log->opens = true;
    constexpr std::chrono::milliseconds kInterval{500};
    AudioOutput output(mixer, countingFactory(log), kInterval);
    ASSERT_TRUE(waitUntil([&] { return output.playing(); }));
    ASSERT_EQ(log->made, 1);

    const ExpectQtWarning stopped(QStringLiteral("the audio output stopped"));
    log->failing = true;  // the server went away; the same call opens the next sink
    ASSERT_TRUE(waitUntil([&] { return log->made == 2; }));
    log->failing = false;
    EXPECT_EQ(log->aliveAtLastMake, 0);  // never two streams at once
    // Found at the next check, reopened in that check rather than an interval later.
    EXPECT_LT(log->lastMade.load() - log->failureSeen.load(), kInterval / 2);
    EXPECT_TRUE(waitUntil([&] { return output.playing(); }));
}

TEST(AudioOutput, StopDoesNotWaitForASoundServerThatHoldsTheSinkNorOpensAnother) {
    // "Quitting leaves the process behind while the sound server is frozen or never answers."
    for (const SinkLog::Hold hold : {SinkLog::Hold::start, SinkLog::Hold::close}) {
        SCOPED_TRACE(hold == SinkLog::Hold::start ? "held connecting" : "held closing");
        auto mixer = std::make_shared<Mixer>();
        const std::weak_ptr<Mixer> mixerInUse = mixer;
        const auto log = std::make_shared<SinkLog>();
        log->opens = hold == SinkLog::Hold::close;  // the held connection fails in the end
        log->hold = hold;
        {
            AudioOutput output(std::move(mixer), countingFactory(log), std::chrono::milliseconds(5));
            ASSERT_TRUE(waitUntil([&] { return log->gate.held == 1 || output.playing(); }));
            output.wake();  // an effect played meanwhile: a retry waits behind the held call
            output.stop();
            EXPECT_EQ(log->gate.passed, 0) << "stop waited for the sound server";
            EXPECT_FALSE(output.playing());
        }
        // Let go at last, the left thread closes the sink and ends, and only then lets go of
        // the mixer, which it rendered until then.
        log->gate.open.set_value();
        EXPECT_TRUE(waitUntil([&] { return mixerInUse.expired(); }));
        EXPECT_EQ(log->alive, 0);
        EXPECT_EQ(log->made, 1);  // nothing opened after the stop
    }
}

TEST(AudioOutput, AnEffectPlayedLongIntoPlayIsHeard) {
    // "Every effect is silent after the first moments of play."
    clearMuteSetting();
    const auto card = cardWithItsOwnClock();
    Sound sound(fakeCardFactory(card), std::chrono::milliseconds(20), clockOf(card));
    ASSERT_TRUE(waitUntil([&] { return card->clockNs >= std::chrono::nanoseconds(std::chrono::seconds(2)).count(); },
                          std::chrono::seconds(30)));
    sound.play(Sfx::tap);
    EXPECT_TRUE(waitUntil([&] { return card->loudSamples > 0; }));
}

TEST(AudioOutput, EffectsAskedForWhileNothingPullsTheStreamAreNeverHeardLate) {
    // "Effects clicked while the sound server is gone play when it returns": a frozen server
    // never fails, and a lost one still counts as playing until the next check, after which a
    // new stream takes over.
    clearMuteSetting();
    const auto card = cardWithItsOwnClock();
    Sound sound(fakeCardFactory(card), std::chrono::milliseconds(20), clockOf(card));
    ASSERT_TRUE(waitUntil([&] { return card->pulledBytes > 0; }));
    for (const bool lost : {false, true}) {
        SCOPED_TRACE(lost ? "the server lost" : "the server frozen");
        card->stalled = true;
        const int stalledPulls = card->stalledPulls;
        ASSERT_TRUE(waitUntil([&] { return card->stalledPulls > stalledPulls; }));  // no pull under way now
        sound.play(Sfx::tap);
        sound.play(Sfx::open);
        EXPECT_TRUE(sound.audible());
        card->clockNs += std::chrono::nanoseconds(3 * AudioOutput::kStreamBreak).count();
        if (lost) {
            const ExpectQtWarning stopped(QStringLiteral("the audio output stopped"));
            const int starts = card->starts;
            card->lost = true;
            ASSERT_TRUE(waitUntil([&] { return card->starts > starts; }));
            card->lost = false;
        }
        const long long pulledBefore = card->pulledBytes;
        card->stalled = false;
        // Longer than the tap and most of the door.
        ASSERT_TRUE(waitUntil([&] { return card->pulledBytes > pulledBefore + AudioOutput::kSampleRate; }));
        EXPECT_EQ(card->loudSamples, 0);
        EXPECT_EQ(sound.mixer().voiceCount(), 0u);
    }
}

// ## The real PulseAudio sink

namespace {

// A PulseAudio server of the test's own, with a null sink whose monitor we record: nothing
// reaches or hears the machine's real sound server.
class PrivatePulseServer {
public:
    explicit PrivatePulseServer(QString program) : m_program(std::move(program)) {
        QDir(m_dir.path()).mkpath("pulse");
        QDir(m_dir.path()).mkpath("home");
    }
    ~PrivatePulseServer() { kill(); }

    QByteArray address() const { return "unix:" + socket().toUtf8(); }

    // Starts it and waits until it takes a stream.
    bool start() {
        QFile::remove(socket());  // left behind by a killed server
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_RUNTIME_PATH", m_dir.filePath("pulse"));
        env.insert("PULSE_STATE_PATH", m_dir.filePath("pulse"));
        env.insert("HOME", m_dir.filePath("home"));
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        m_process.setProcessEnvironment(env);
        // Never outlives the test, even one killed for hanging.
        m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(m_dir.filePath("server.log"), QIODevice::Append);
        m_process.start(m_program, {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                                    "--use-pid-file=no", "-L", "module-null-sink sink_name=check rate=44100 channels=1",
                                    "-L", "module-native-protocol-unix socket=" + socket() + " auth-anonymous=1"});
        if (!m_process.waitForStarted()) return false;
        return waitUntil([&] {
            pa_simple* monitor = openMonitor();
            if (monitor) pa_simple_free(monitor);
            return monitor != nullptr;
        });
    }

    void kill() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.kill();
        m_process.waitForFinished();
    }

    // Whether anything but silence reaches the null sink within `timeout`.
    bool hearsSound(std::chrono::milliseconds timeout) {
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<pa_simple, void (*)(pa_simple*)> monitor(nullptr, pa_simple_free);
        while (!monitor && clock.elapsed() < timeout.count()) monitor.reset(openMonitor());
        std::vector<std::int16_t> chunk(AudioOutput::kSampleRate / 100);
        int error = 0;
        while (monitor && clock.elapsed() < timeout.count()) {
            if (pa_simple_read(monitor.get(), chunk.data(), chunk.size() * 2, &error) < 0) return false;
            if (!silent(chunk)) return true;
        }
        return false;
    }

    QString log() const {
        QFile file(m_dir.filePath("server.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QString socket() const { return m_dir.filePath("pulse/native"); }

    pa_simple* openMonitor() const {
        const pa_sample_spec format{PA_SAMPLE_S16NE, AudioOutput::kSampleRate, 1};
        pa_buffer_attr buffer{};
        buffer.maxlength = static_cast<std::uint32_t>(-1);
        buffer.fragsize = AudioOutput::kSampleRate / 100 * 2;
        int error = 0;
        return pa_simple_new(address().constData(), "Tallowmere test", PA_STREAM_RECORD, "check.monitor",
                             "monitor", &format, nullptr, &buffer, &error);
    }

    QString m_program;
    QTemporaryDir m_dir;
    QProcess m_process;
};

}  // namespace

TEST(PulseSink, TheLoopIsHeardAgainWithin3sOfTheSoundServerRestarting) {
    const QString program = QStandardPaths::findExecutable("pulseaudio");
    if (program.isEmpty()) GTEST_SKIP() << "no pulseaudio program to run a private sound server";
    clearMuteSetting();
    PrivatePulseServer server(program);
    ASSERT_TRUE(server.start()) << server.log().toStdString();
    const QByteArray previous = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", server.address());
    const auto restore = qScopeGuard([&] {
        if (previous.isNull()) qunsetenv("PULSE_SERVER");
        else qputenv("PULSE_SERVER", previous);
    });
    {
        Sound sound(Sound::Output::device);  // the system sink, retried as in the game
        sound.startAmbient();
        EXPECT_TRUE(server.hearsSound(std::chrono::seconds(5)));

        // Back just after the game found it gone, so that the whole retry interval lies ahead.
        g_warnings = 0;
        const auto handler = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { ++g_warnings; });
        server.kill();
        ASSERT_TRUE(waitUntil([&] { return !sound.audible(); }));
        ASSERT_TRUE(server.start()) << server.log().toStdString();
        EXPECT_TRUE(server.hearsSound(std::chrono::seconds(3))) << server.log().toStdString();

        // And the new stream stays: a retry interval later it has not been dropped again.
        std::this_thread::sleep_for(AudioOutput::kRetryInterval + std::chrono::milliseconds(200));
        EXPECT_TRUE(sound.audible());
        EXPECT_EQ(g_warnings, 1);  // the one outage
        qInstallMessageHandler(handler);
    }
}
