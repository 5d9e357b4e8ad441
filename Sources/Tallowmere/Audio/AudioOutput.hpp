// The one place that knows about the audio device: a Mixer fed to the sound card from a thread
// of its own, so a busy GUI thread never starves the stream, and retried while there is no
// output (no sound server yet, or the server went away).
#pragma once

#include <Tallowmere/Audio/Mixer.hpp>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class QIODevice;
class QThread;

namespace tallowmere {

// The device end of the output: pulls 44.1 kHz mono 16-bit samples from a source for as long
// as it lives. Made, used and destroyed on the audio thread only.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Starts pulling; false when there is no usable output right now.
    virtual bool start(QIODevice& source) = 0;
    // True once a started sink has stopped for good (device gone, server lost).
    virtual bool failed() const = 0;
};

using AudioSinkFactory = std::function<std::unique_ptr<AudioSink>()>;

// The time a stream's pulls are measured on, to tell a break: the steady clock, or for tests one
// that moves with the sound pulled.
using StreamClock = std::function<std::chrono::steady_clock::time_point()>;

// The system's default output, with a short buffer.
std::unique_ptr<AudioSink> makeSystemSink();

// Owns the audio thread. The sink and the source it pulls are made on that thread; opening
// is retried there every `retryInterval` while there is no output; wake() adds a retry at
// most once per interval.
// Nothing here ever waits for the audio thread except stop(), and that only briefly: a sound
// server that stops answering can hold the thread for good, so the thread owns a share of
// everything it touches and may outlive this object.
class AudioOutput {
public:
    inline static constexpr int kSampleRate = 44100;
    inline static constexpr std::chrono::milliseconds kRetryInterval{2000};
    // A pull this long after the one before means the stream broke (the server went away or
    // froze): the effects asked for before then are dropped rather than heard late.
    inline static constexpr std::chrono::milliseconds kStreamBreak{200};
    // How long stop() waits for the audio thread before it leaves the thread to end by itself.
    inline static constexpr std::chrono::milliseconds kStopWait{250};

    // Left empty, `clock` is the steady clock.
    AudioOutput(std::shared_ptr<Mixer> mixer, AudioSinkFactory factory,
                std::chrono::milliseconds retryInterval = kRetryInterval, StreamClock clock = {});
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Whether a sink is pulling the mixer right now.
    bool playing() const { return m_state->playing; }
    // Tries to open the output at once if it is down (at most once per retry interval on top
    // of the regular retries); returns without waiting.
    void wake();
    // Stops the sink and joins the audio thread, waiting at most kStopWait; a thread still
    // held by the sound server then is left to end when the server lets go of it. Either way
    // nothing plays and no output is opened afterwards. Safe to repeat.
    void stop();
    bool stopped() const { return m_thread == nullptr; }

private:
    class Worker;
    struct State {
        std::atomic<bool> playing = false;
        std::atomic<bool> stopping = false;
    };

    std::shared_ptr<State> m_state = std::make_shared<State>();
    std::unique_ptr<QThread> m_thread;
    Worker* m_worker = nullptr;  // lives on m_thread, deleted there when it finishes
};

}  // namespace tallowmere
