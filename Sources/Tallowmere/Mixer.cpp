#include <Tallowmere/Mixer.hpp>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>

namespace tallowmere {

// ---------------------------------------------------------------------------------------------
// Mixer

std::optional<Mixer::VoiceId> Mixer::add(Samples samples, float gain, bool loop) {
    if (!samples || samples->empty()) return std::nullopt;
    std::lock_guard lock(m_mutex);
    const VoiceId id = m_nextId++;
    m_voices.push_back(Voice{id, std::move(samples), 0, std::isfinite(gain) ? gain : 0.0f, loop});
    return id;
}

Mixer::Voice* Mixer::find(VoiceId id) {
    const auto it = std::find_if(m_voices.begin(), m_voices.end(),
                                 [id](const Voice& voice) { return voice.id == id; });
    return it == m_voices.end() ? nullptr : &*it;
}

bool Mixer::setGain(VoiceId id, float gain) {
    std::lock_guard lock(m_mutex);
    Voice* voice = find(id);
    if (!voice) return false;
    voice->gain = std::isfinite(gain) ? gain : 0.0f;
    return true;
}

bool Mixer::stop(VoiceId id) {
    std::lock_guard lock(m_mutex);
    return std::erase_if(m_voices, [id](const Voice& voice) { return voice.id == id; }) > 0;
}

bool Mixer::contains(VoiceId id) const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_voices.begin(), m_voices.end(),
                       [id](const Voice& voice) { return voice.id == id; });
}

std::size_t Mixer::voiceCount() const {
    std::lock_guard lock(m_mutex);
    return m_voices.size();
}

void Mixer::render(std::span<std::int16_t> out) {
    constexpr float kMin = -32768.0f;
    constexpr float kMax = 32767.0f;
    std::lock_guard lock(m_mutex);
    for (std::int16_t& sample : out) {
        float sum = 0;
        for (Voice& voice : m_voices) {
            const std::vector<std::int16_t>& data = *voice.samples;
            if (voice.position >= data.size()) continue;  // finished, removed below
            sum += voice.gain * static_cast<float>(data[voice.position]);
            ++voice.position;
            if (voice.loop && voice.position == data.size()) voice.position = 0;
        }
        // Saturate rather than wrap: several loud effects at once must clip, never crackle.
        sample = static_cast<std::int16_t>(std::lround(std::clamp(sum, kMin, kMax)));
    }
    std::erase_if(m_voices, [](const Voice& voice) {
        return !voice.loop && voice.position >= voice.samples->size();
    });
}

// ---------------------------------------------------------------------------------------------
// MixerOutput

// The pull-mode source the audio sink reads: every read is mixed on demand. It never runs
// dry; a sequential device with nothing buffered would otherwise count as ended, and the
// sink would drain and idle at the first hiccup.
class MixerOutput::Stream : public QIODevice {
public:
    explicit Stream(Mixer& mixer) : m_mixer(mixer) {}

    bool isSequential() const override { return true; }
    bool atEnd() const override { return false; }
    qint64 bytesAvailable() const override { return kBufferBytes + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const auto frames = static_cast<std::size_t>(std::max<qint64>(maxSize, 0)) / 2;
        // QAudioFormat::Int16 is native-endian, so the buffer can be written in place.
        m_mixer.render({reinterpret_cast<std::int16_t*>(data), frames});
        return static_cast<qint64>(frames * 2);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    Mixer& m_mixer;
};

MixerOutput::MixerOutput(std::unique_ptr<Stream> stream, std::unique_ptr<QAudioSink> sink)
    : m_stream(std::move(stream)), m_sink(std::move(sink)) {}

MixerOutput::~MixerOutput() {
    if (m_sink) m_sink->stop();
}

std::unique_ptr<MixerOutput> MixerOutput::open(Mixer& mixer) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return nullptr;

    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) return nullptr;

    auto stream = std::make_unique<Stream>(mixer);
    if (!stream->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return nullptr;
    auto sink = std::make_unique<QAudioSink>(device, format);
    // Qt's PulseAudio sink pulls 20 ms at a time and, before playback starts, only while a
    // whole pull still fits; if the server grants less than two pulls, the stream never
    // reaches its start threshold and stays silent for good. Ask once more with room to spare.
    sink->setBufferSize(kBufferBytes);
    sink->start(stream.get());
    if (sink->state() != QAudio::StoppedState && sink->bufferSize() < 2 * kPullBytes) {
        sink->stop();
        sink->setBufferSize(2 * kBufferBytes);
        sink->start(stream.get());
    }
    if (sink->state() == QAudio::StoppedState) return nullptr;
    return std::unique_ptr<MixerOutput>(new MixerOutput(std::move(stream), std::move(sink)));
}

void MixerOutput::wake() {
    if (m_sink->state() == QAudio::StoppedState) m_sink->start(m_stream.get());
}

}  // namespace tallowmere
