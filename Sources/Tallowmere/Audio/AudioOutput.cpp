#include <Tallowmere/Audio/AudioOutput.hpp>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QIODevice>
#include <QThread>
#include <QTimer>
#include <QtDebug>

#include <pthread.h>
#include <pulse/simple.h>
#include <sched.h>

#include <algorithm>
#include <optional>
#include <thread>
#include <vector>

namespace tallowmere {

namespace {

// What one write hands the sound server: 10 ms.
constexpr int kChunkFrames = AudioOutput::kSampleRate / 100;
// What the server keeps queued ahead of the speaker: 40 ms. With a chunk being mixed on top,
// an effect is heard about 50 ms after play(), and a stall of the writer shorter than that
// is never heard.
constexpr std::uint32_t kQueuedBytes = AudioOutput::kSampleRate * 60 / 1000 * 2;

// The pull-mode source a sink reads: every read is mixed on demand, so it never runs dry. One
// sink at a time reads it, from one thread at a time.
class MixerStream final : public QIODevice {
public:
    MixerStream(Mixer& mixer, StreamClock clock) : m_mixer(mixer), m_clock(std::move(clock)) {}

    bool isSequential() const override { return true; }
    bool atEnd() const override { return false; }
    qint64 bytesAvailable() const override { return kChunkFrames * 2 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const auto frames = static_cast<std::size_t>(std::max<qint64>(maxSize, 0)) / 2;
        // After a break the effects go (a new stream that replaces a lost one counts as a pull
        // long after the last); the ambient loop simply goes on.
        const auto now = m_clock();
        if (m_lastRead && now - *m_lastRead > AudioOutput::kStreamBreak) m_mixer.stopOneShots();
        m_lastRead = now;
        // The samples are native-endian, so the buffer can be written in place.
        m_mixer.render({reinterpret_cast<std::int16_t*>(data), frames});
        return static_cast<qint64>(frames * 2);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    Mixer& m_mixer;
    StreamClock m_clock;
    std::optional<std::chrono::steady_clock::time_point> m_lastRead;
};

// The sound server's default output, through PulseAudio's simple API (PipeWire serves it too).
// Our own connection rather than Qt's audio sink: Qt connects to the server once per
// process, so a game started before the server stayed silent for good, and a server restart
// silenced it too; a connection of our own can simply be made again. Writes block, so they
// run on a thread of the sink's own; the audio thread only watches it.
class PulseSink final : public AudioSink {
public:
    ~PulseSink() override {
        m_ending = true;
        if (m_writer.joinable()) m_writer.join();
        if (m_stream) pa_simple_free(m_stream);
    }

    bool start(QIODevice& source) override {
        const pa_sample_spec format{PA_SAMPLE_S16NE, AudioOutput::kSampleRate, 1};
        pa_buffer_attr buffer{};
        buffer.maxlength = static_cast<std::uint32_t>(-1);
        buffer.tlength = kQueuedBytes;
        buffer.prebuf = static_cast<std::uint32_t>(-1);
        buffer.minreq = static_cast<std::uint32_t>(-1);
        buffer.fragsize = static_cast<std::uint32_t>(-1);
        // Ahead of ordinary work where the system allows it (an RLIMIT_RTPRIO grant, or root),
        // as the sound server itself runs: on a loaded machine the queue is otherwise starved.
        // The audio thread is all but idle; what matters is that the stream's own I/O thread
        // and our writer, both started from here, inherit it.
        const sched_param realtime{sched_get_priority_min(SCHED_RR)};
        pthread_setschedparam(pthread_self(), SCHED_RR, &realtime);
        int error = 0;
        m_stream = pa_simple_new(nullptr, "Tallowmere", PA_STREAM_PLAYBACK, nullptr, "Game sound",
                                 &format, nullptr, &buffer, &error);
        if (!m_stream) return false;
        m_writer = std::thread([this, &source] { write(source); });
        return true;
    }

    bool failed() const override { return m_failed; }

private:
    void write(QIODevice& source) {
        std::vector<char> chunk(kChunkFrames * 2);
        while (!m_ending) {
            const qint64 got = source.read(chunk.data(), static_cast<qint64>(chunk.size()));
            int error = 0;
            if (got <= 0 || pa_simple_write(m_stream, chunk.data(), static_cast<std::size_t>(got), &error) < 0) {
                m_failed = true;
                return;
            }
        }
    }

    pa_simple* m_stream = nullptr;
    std::thread m_writer;
    std::atomic<bool> m_ending = false;
    std::atomic<bool> m_failed = false;
};

}  // namespace

std::unique_ptr<AudioSink> makeSystemSink() { return std::make_unique<PulseSink>(); }

// Everything that touches the sink, on the audio thread.
class AudioOutput::Worker final : public QObject {
public:
    Worker(std::shared_ptr<Mixer> mixer, AudioSinkFactory factory, std::chrono::milliseconds retryInterval,
           StreamClock clock, std::shared_ptr<State> state)
        : m_mixer(std::move(mixer)), m_factory(std::move(factory)), m_retryInterval(retryInterval),
          m_clock(std::move(clock)), m_state(std::move(state)) {}

    // One stream for every sink: a sink that replaces a lost one takes up the stream where the
    // last pull left it, so its first pull counts as one long after the last.
    void begin() {
        m_stream = std::make_unique<MixerStream>(*m_mixer, m_clock);
        m_stream->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        m_timer = new QTimer(this);
        m_timer->setInterval(m_retryInterval);
        connect(m_timer, &QTimer::timeout, this, [this] { check(); });
        m_timer->start();
        check();
    }

    // Drops a failed sink and, while there is none, tries to open one. Once a stop is asked
    // nothing is opened: a connection to a server that never answers takes half a minute.
    void check() {
        if (!m_stream || m_state->stopping) return;
        if (m_sink && m_sink->failed()) {
            m_sink.reset();
            m_state->playing = false;
            // One line per outage; the retries themselves stay quiet.
            if (!m_reported) qWarning("Tallowmere: the audio output stopped; trying to reopen it");
            m_reported = true;
        }
        if (m_sink) return;
        if (auto sink = m_factory ? m_factory() : nullptr; sink && sink->start(*m_stream)) {
            if (m_state->stopping) return;  // opened as the stop came: closed unused
            m_sink = std::move(sink);
            m_state->playing = true;
            m_reported = false;
        }
    }

    // A wake tries at once, but at most once per retry interval on top of the timer's: an
    // effect played on every click while there is no sound server must not turn the retries
    // into a busy loop.
    void wakeCheck() {
        if (m_sinceWake.isValid() && m_sinceWake.elapsed() < m_retryInterval.count()) return;
        m_sinceWake.start();
        check();
    }

    void end() {
        if (m_timer) m_timer->stop();
        m_state->playing = false;
        m_sink.reset();
        m_stream.reset();
        thread()->quit();
    }

private:
    // Shared: a thread that stop() gave up waiting for still renders it when it wakes.
    std::shared_ptr<Mixer> m_mixer;
    AudioSinkFactory m_factory;
    std::chrono::milliseconds m_retryInterval;
    StreamClock m_clock;
    std::shared_ptr<State> m_state;
    std::unique_ptr<MixerStream> m_stream;
    std::unique_ptr<AudioSink> m_sink;
    QTimer* m_timer = nullptr;
    QElapsedTimer m_sinceWake;
    bool m_reported = false;
};

AudioOutput::AudioOutput(std::shared_ptr<Mixer> mixer, AudioSinkFactory factory,
                         std::chrono::milliseconds retryInterval, StreamClock clock)
    : m_thread(std::make_unique<QThread>()),
      m_worker(new Worker(std::move(mixer), std::move(factory), retryInterval,
                          clock ? std::move(clock) : StreamClock(std::chrono::steady_clock::now), m_state)) {
    m_thread->setObjectName(QStringLiteral("audio"));
    m_worker->moveToThread(m_thread.get());
    QObject::connect(m_thread.get(), &QThread::finished, m_worker, &QObject::deleteLater);
    // Queued before the thread runs, so the sink is made there, never here.
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->begin(); }, Qt::QueuedConnection);
    m_thread->start();
}

AudioOutput::~AudioOutput() { stop(); }

void AudioOutput::wake() {
    if (!m_thread || playing()) return;
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->wakeCheck(); }, Qt::QueuedConnection);
}

void AudioOutput::stop() {
    if (!m_thread) return;
    m_state->stopping = true;
    m_state->playing = false;
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->end(); }, Qt::QueuedConnection);
    if (!m_thread->wait(QDeadlineTimer(kStopWait))) {
        // The thread is left running on purpose: it is held inside the sound server's library
        // (a connection the server never completes, a write it never takes), which nothing can
        // interrupt, and quitting must not wait for that. The worker owns its shares of the mixer
        // and the state, ends once the server lets go, and then the thread object goes too.
        // Should the process end first, the operating system takes the thread with it.
        QThread* const thread = m_thread.release();
        QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
        if (thread->isFinished()) thread->deleteLater();  // it finished before the connection
    }
    m_thread.reset();
    m_worker = nullptr;
}

}  // namespace tallowmere
