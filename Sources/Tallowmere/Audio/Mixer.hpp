// Our own software mixer: voices summed into a buffer the caller hands it, testable without any
// device. AudioOutput feeds it to the sound card.
#pragma once

#include <pthread.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace tallowmere {

// A mutex whose holder inherits the priority of a thread waiting for it. The audio threads run
// ahead of ordinary work; behind a plain mutex they would wait for a preempted GUI thread
// that holds it, and the stream would break up exactly as if it were pulled on that thread.
class PriorityInheritingMutex {
public:
    PriorityInheritingMutex();
    ~PriorityInheritingMutex();
    PriorityInheritingMutex(const PriorityInheritingMutex&) = delete;
    PriorityInheritingMutex& operator=(const PriorityInheritingMutex&) = delete;

    void lock();
    void unlock();

private:
    pthread_mutex_t m_mutex;
};

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
    // Stops every voice that does not loop; the loops go on where they are.
    void stopOneShots();
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

    mutable PriorityInheritingMutex m_mutex;
    std::vector<Voice> m_voices;
    VoiceId m_nextId = 1;
};

}  // namespace tallowmere
