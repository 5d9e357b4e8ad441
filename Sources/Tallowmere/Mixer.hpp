// Our own software mixer, and the one place that knows about the audio device.
//
// Mixer is pure: voices summed into a buffer the caller hands it, testable without any device.
// MixerOutput pulls a Mixer from the default audio output (Qt, pull mode, 44.1 kHz mono
// 16-bit); when the machine has no audio output there is simply no MixerOutput.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

class QAudioSink;

namespace tallowmere {

// Voices of 16-bit samples, each with its own position, gain and loop flag. render() sums them
// in floating point, saturates to 16 bits and advances every voice; a voice that reaches its
// end is removed, a looping voice goes on from its first sample with no gap. Thread-safe, so it
// does not matter on which thread an audio back end pulls.
class Mixer {
public:
    using Samples = std::shared_ptr<const std::vector<std::int16_t>>;
    using VoiceId = std::uint64_t;

    // Starts a voice at its first sample; nullopt for an empty clip, which could never sound.
    std::optional<VoiceId> add(Samples samples, float gain, bool loop);
    // False when the voice has finished or was never there.
    bool setGain(VoiceId id, float gain);
    bool stop(VoiceId id);
    bool contains(VoiceId id) const;
    std::size_t voiceCount() const;

    // Fills the whole of out; silence where no voice sounds.
    void render(std::span<std::int16_t> out);

private:
    struct Voice {
        VoiceId id = 0;
        Samples samples;
        std::size_t position = 0;
        float gain = 1;
        bool loop = false;
    };

    Voice* find(VoiceId id);

    mutable std::mutex m_mutex;
    std::vector<Voice> m_voices;
    VoiceId m_nextId = 1;
};

// Feeds a Mixer to the default audio output for as long as it lives.
class MixerOutput {
public:
    inline static constexpr int kSampleRate = 44100;
    // Deviation: 60 ms of 16-bit mono asked for, not 50: with 50 ms PulseAudio granted too
    // little for two 20 ms pulls and the stream never started. It grants about 45 ms of the 60,
    // short enough that a click is heard with it.
    inline static constexpr int kBufferBytes = kSampleRate * 60 / 1000 * 2;
    // What the sink reads at a time: 20 ms.
    inline static constexpr int kPullBytes = kSampleRate / 50 * 2;

    // Null when there is no usable audio output (no sound server, no device); never blocks
    // for long and prints nothing of its own.
    static std::unique_ptr<MixerOutput> open(Mixer& mixer);
    ~MixerOutput();
    MixerOutput(const MixerOutput&) = delete;
    MixerOutput& operator=(const MixerOutput&) = delete;

    // Restarts pulling if the output stopped (say, the sound server came back).
    void wake();

private:
    class Stream;
    MixerOutput(std::unique_ptr<Stream> stream, std::unique_ptr<QAudioSink> sink);

    std::unique_ptr<Stream> m_stream;
    std::unique_ptr<QAudioSink> m_sink;
};

}  // namespace tallowmere
