// The game's sounds: nine effects and an ambient loop, all computed at start-up, and the one
// player that mixes them to the audio output.
//
// [SECTION] Synthesis: pure functions from a clip to its samples and its WAV file.
// [SECTION] Player: Sound::shared(), the clips, the mute setting.
#pragma once

#include <Tallowmere/Audio/AudioOutput.hpp>
#include <Tallowmere/Audio/Mixer.hpp>

#include <Ostrevan/Model.hpp>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallowmere {

class BackgroundWriter;

// ---------------------------------------------------------------------------------------------
// [SECTION] Synthesis
//
// Every clip is 44,100 Hz mono. A clip's samples are floats in [-1, 1]: its formula of time,
// shaped by a 5 ms fade at both ends and clamped. All arithmetic is in double; only the
// stored sample is a float.

namespace synth {

inline constexpr int kSampleRate = 44100;
inline constexpr std::size_t kWavHeaderBytes = 44;
// Full scale of a 16-bit sample; deliberately a little short of 32767.
inline constexpr float kFullScale = 32000.0f;
inline constexpr double kAmbientSeconds = 8.0;

// Gain at time t in a clip of d seconds: linear fade-in and fade-out of 5 ms, 1 in between.
double edgeEnvelope(double t, double d);
// Deterministic white noise in [-1, 1); noise(0) is -1.
double hashNoise(double x);

// Duration in seconds of an effect's clip.
double duration(ostrevan::Sfx sfx);
// Samples of a clip of d seconds: floor(d * 44100).
std::size_t sampleCount(double seconds);

std::vector<float> effectSamples(ostrevan::Sfx sfx);
std::vector<float> ambientSamples();

// One stored sample as 16-bit PCM: the float product with 32000, truncated toward zero.
// Out-of-range input clips to +/-32000 and NaN gives 0, so any float list encodes safely.
std::int16_t pcmSample(float sample);
std::vector<std::int16_t> pcm(const std::vector<float>& samples);

// A complete 16-bit mono 44.1 kHz PCM WAV file: 44-byte header, then the samples.
std::vector<std::uint8_t> wav(const std::vector<float>& samples);
std::vector<std::uint8_t> wavFor(ostrevan::Sfx sfx);
std::vector<std::uint8_t> ambientWav();

}  // namespace synth

// ---------------------------------------------------------------------------------------------
// [SECTION] Player
//
// Holds every clip, plays effects over one another at 0.7, runs the ambient loop at 0.16 and
// keeps the mute setting under "tm.muted". Called from the main thread only; the output itself
// runs on an audio thread of its own.

class Sound {
public:
    enum class Output {
        device,  // the default audio output; silent while there is none, retried meanwhile
        none,    // never any output: play() and startAmbient() do nothing
        manual,  // no output; the mixer advances only when the caller renders it (tests)
    };

    inline static constexpr float kEffectGain = 0.7f;
    inline static constexpr float kAmbientGain = 0.16f;
    inline static constexpr const char* kMutedKey = "tm.muted";

    // The one app-wide player, created on first use and never destroyed.
    static Sound& shared();

    // Reads the mute setting and synthesises every clip; opens the output last. Going, it waits
    // for the mute setting's pending write.
    explicit Sound(Output output = Output::device);
    // Plays through the sinks `factory` makes on the audio thread, retried every `retryInterval`,
    // its stream's breaks measured on `clock` (AudioOutput).
    Sound(AudioSinkFactory factory, std::chrono::milliseconds retryInterval, StreamClock clock = {});
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // An effect is dropped while nothing is heard, so that it cannot sound late.
    void play(ostrevan::Sfx sfx);
    // Starts the loop once, even while the output is down: it sounds as soon as the output
    // comes (back). Later calls only reapply its volume and ask a down output to retry.
    void startAmbient();
    bool muted() const { return m_muted; }
    // Every assignment writes the setting, even an unchanged one, on a thread of its own: the
    // caller never waits for the disk, the latest value is the one that lands, and a player made
    // later reads it. A write that fails is said in one warning line, and the game goes on.
    // Muting stops the effects and silences the loop, which keeps its place; unmuting restarts
    // nothing.
    void setMuted(bool muted);

    // The thread the mute setting is written on, one for the process.
    static BackgroundWriter& settingsWriter();

    // Whether sound is heard right now (false while there is no audio output).
    bool audible() const;
    // Stops the output and joins its thread, closing the sound server's stream, while the
    // application still stands; a sound server that holds the thread is not waited for
    // (AudioOutput::stop). The player goes on, silent.
    void stopOutput();
    Mixer& mixer() { return *m_mixer; }

private:
    const Mixer::Samples* clip(const std::string& name) const;
    float ambientGain() const { return m_muted ? 0.0f : kAmbientGain; }

    std::map<std::string, Mixer::Samples> m_clips;
    std::vector<Mixer::VoiceId> m_active;  // effect voices, pruned on the next play
    std::optional<Mixer::VoiceId> m_ambient;
    bool m_muted = false;
    Output m_outputKind;
    std::shared_ptr<Mixer> m_mixer = std::make_shared<Mixer>();  // shared with the audio thread
    std::unique_ptr<AudioOutput> m_output;  // null for Output::none and Output::manual
};

}  // namespace tallowmere
