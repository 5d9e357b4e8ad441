// Sound: the synthesised clips and their WAV files, the mixer, and the player's mute setting.
#include <Tallowmere/Mixer.hpp>
#include <Tallowmere/Sound.hpp>

#include <gtest/gtest.h>

#include <QSettings>
#include <QtGlobal>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

using namespace tallowmere;
using ostrevan::Sfx;

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

}  // namespace

// ## Synthesis and WAV encoding

TEST(SoundSynth, ClipLengthsHeadersAndFirstSamples) {
    const struct { Sfx sfx; std::size_t samples; } table[] = {
        {Sfx::tap, 3087},      {Sfx::pickup, 22050},  {Sfx::unlock, 24255},
        {Sfx::wrong, 13230},   {Sfx::open, 48510},    {Sfx::power, 22050},
        {Sfx::success, 39690}, {Sfx::combine, 22050}, {Sfx::splash, 26460},
    };
    const std::uint8_t tapHeader[44] = {
        'R', 'I', 'F', 'F', 0x42, 0x18, 0, 0,  'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
        16,  0,   0,   0,   1,    0,    1, 0,  0x44, 0xAC, 0, 0,   0x88, 0x58, 0x01, 0,
        2,   0,   16,  0,   'd',  'a',  't', 'a', 0x1E, 0x18, 0, 0,
    };
    for (const auto& row : table) {
        SCOPED_TRACE(std::string(ostrevan::name(row.sfx)));
        const auto samples = synth::effectSamples(row.sfx);
        const auto bytes = synth::wavFor(row.sfx);
        ASSERT_EQ(samples.size(), row.samples);
        ASSERT_EQ(bytes.size(), 44 + 2 * row.samples);
        EXPECT_EQ(u32At(bytes, 4), 36 + 2 * row.samples);
        EXPECT_EQ(u32At(bytes, 40), 2 * row.samples);
        EXPECT_TRUE(std::equal(bytes.begin() + 8, bytes.begin() + 40, tapHeader + 8));
        EXPECT_EQ(samples.front(), 0.0f);  // the fade-in starts at gain 0
        EXPECT_GT(*std::max_element(samples.begin(), samples.end()), 0.01f);
    }
    const auto tap = synth::wavFor(Sfx::tap);
    EXPECT_TRUE(std::equal(tapHeader, tapHeader + 44, tap.begin()));  // size 6210, data 6174
    EXPECT_EQ(tap.size(), 6218u);
    const auto ambient = synth::ambientWav();
    EXPECT_EQ(ambient.size(), 705644u);
    EXPECT_EQ(u32At(ambient, 40), 705600u);
    EXPECT_EQ(wavSample(ambient, 0), 0);
}

TEST(SoundSynth, SignalFunctions) {
    EXPECT_EQ(synth::hashNoise(0), -1.0);
    EXPECT_DOUBLE_EQ(synth::edgeEnvelope(0.0025, 0.07), 0.5);
    EXPECT_EQ(synth::edgeEnvelope(4, 8), 1.0);
    EXPECT_NEAR(synth::edgeEnvelope(8 - 0.0025, 8), 0.5, 1e-9);
    EXPECT_EQ(synth::edgeEnvelope(9, 8), 0.0);  // past the end: never negative
}

TEST(SoundSynth, GoldenSamples) {
    const struct {
        Sfx sfx;
        std::vector<float> tail;
        std::vector<std::int16_t> encoded;
    } table[] = {
        {Sfx::tap, {-1.4518e-4f, -9.591e-5f, -4.712e-5f}, {-4, -3, -1}},
        {Sfx::wrong, {-3.2994e-4f, -1.6495e-4f}, {-10, -5}},
        {Sfx::power, {-1.6529e-5f, -4.180e-6f}, {0, 0}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(std::string(ostrevan::name(row.sfx)));
        const auto samples = synth::effectSamples(row.sfx);
        const auto bytes = synth::wavFor(row.sfx);
        const std::size_t first = samples.size() - row.tail.size();
        for (std::size_t k = 0; k < row.tail.size(); ++k) {
            EXPECT_NEAR(samples[first + k], row.tail[k], std::abs(row.tail[k]) * 1e-3);
            EXPECT_EQ(wavSample(bytes, first + k), row.encoded[k]);
        }
    }

    // At t = 0.09 only the first success note sounds; the second joins one sample later.
    const auto success = synth::effectSamples(Sfx::success);
    auto firstNoteOnly = [](std::size_t i) {
        const double t = static_cast<double>(i) / synth::kSampleRate;
        const double note = std::sin(2 * std::numbers::pi * 523.25 * t) * std::exp(-5 * t);
        return static_cast<float>(0.2 * note);
    };
    EXPECT_EQ(success[3969], firstNoteOnly(3969));
    EXPECT_NE(success[3970], firstNoteOnly(3970));
}

TEST(SoundSynth, AmbientWaveMeetsItselfAtTheLoopPoint) {
    const auto samples = synth::ambientSamples();
    const std::size_t n = samples.size();
    EXPECT_LT(std::abs(samples[n - 1]), 1e-3f);
    // Undo the fade on either side of the seam: the bare wave runs on without a jump.
    auto bare = [&](std::size_t i) {
        const double t = static_cast<double>(i) / synth::kSampleRate;
        return samples[i] / synth::edgeEnvelope(t, synth::kAmbientSeconds);
    };
    const double steepestStep = 2 * std::numbers::pi * 330 / synth::kSampleRate;
    EXPECT_LT(std::abs(bare(1) - bare(n - 1)), 2 * steepestStep);
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
    {
        const QSettings settings("Tallowmere", "Tallowmere");
        EXPECT_EQ(settings.value(Sound::kMutedKey), QVariant(false));
        EXPECT_TRUE(settings.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    }
    first.setMuted(true);
    EXPECT_TRUE(Sound(Sound::Output::none).muted());
    Sound(Sound::Output::none).setMuted(false);
    EXPECT_FALSE(Sound(Sound::Output::manual).muted());
}

TEST(SoundPlayer, WithoutAnAudioDeviceNothingPlays) {
    clearMuteSetting();
    // The real device path too: on a machine without a sound server it stays silent and quiet.
    static int messages = 0;
    const auto previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { ++messages; });
    for (const Sound::Output output : {Sound::Output::none, Sound::Output::device}) {
        Sound sound(output);
        sound.startAmbient();
        sound.play(Sfx::tap);
        if (!sound.audible()) {
            EXPECT_EQ(sound.mixer().voiceCount(), 0u);
        }
    }
    qInstallMessageHandler(previous);
    EXPECT_LE(messages, 1);
}
