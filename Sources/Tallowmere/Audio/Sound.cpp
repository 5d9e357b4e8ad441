#include <Tallowmere/Audio/Sound.hpp>

#include <Tallowmere/Platform/BackgroundWriter.hpp>
#include <Tallowmere/Platform/Runtime.hpp>

#include <QSettings>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tallowmere {

namespace synth {

namespace {

using ostrevan::Sfx;

constexpr double kPi = std::numbers::pi;
constexpr double kFadeSeconds = 0.005;

// Shorthands that keep the formulas below readable; the operand order is part of the result,
// since every clip must come out the same to the last bit.
double sine(double hz, double t) { return std::sin(2 * kPi * hz * t); }
double decay(double rate, double t) { return std::exp(-rate * t); }

// Samples of a clip of the given length from its formula x(t): faded, clamped, stored as float.
template <typename Formula>
std::vector<float> render(double seconds, Formula formula) {
    std::vector<float> samples(sampleCount(seconds), 0.0f);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double s = edgeEnvelope(t, seconds) * formula(t);
        if (s < -1) s = -1;
        if (s >= 1) s = 1;
        samples[i] = static_cast<float>(s);
    }
    return samples;
}

double tap(double t) {
    return 0.5 * sine(640, t) * decay(55, t) + 0.3 * hashNoise(t) * decay(400, t);
}

double pickup(double t) {
    double x = sine(660, t) * decay(7, t);
    if (t > 0.09) {
        const double u = t - 0.09;
        x += sine(990, u) * decay(7, u);
    }
    return 0.4 * x;
}

double unlock(double t) {
    double x = 0.8 * hashNoise(t) * decay(220, t);
    const double u = t - 0.13;
    if (t > 0.13) x += 0.9 * hashNoise(u + 3) * decay(160, u);
    x += 0.5 * sine(150, t) * decay(14, t);
    if (t > 0.13) x += 0.18 * sine(1320, u) * decay(9, u);
    return x;
}

double wrong(double t) {
    // A square wave gliding down from 160 Hz; exactly zero counts as the low half.
    const double q = std::sin(2 * kPi * t * (160 - 60 * t)) > 0 ? 1.0 : -1.0;
    return 0.22 * q * decay(6, t);
}

double open(double t) {
    const double creak = 0.2 * std::sin(3 * sine(7, t) + 2 * kPi * t * (95 + 55 * t))
                         * std::min(6 * t, 1.0) * std::exp(-6 * std::max(t - 0.7, 0.0));
    const double hiss = 0.12 * hashNoise(t * 3) * std::sin(kPi * std::min(t / 0.9, 1.0));
    double chime = 0;
    if (t > 0.55) {
        const double u = t - 0.55;
        chime = (0.28 * sine(880, u) + 0.16 * sine(1318, u)) * decay(5, u);
    }
    return creak + hiss + chime;
}

double power(double t) {
    return 0.22 * std::sin(2 * kPi * t * (180 + 900 * t)) * std::min(20 * t, 1.0)
               * std::exp(-18 * std::max(t - 0.3, 0.0))
           + 0.6 * hashNoise(t) * decay(250, t);
}

double success(double t) {
    constexpr double kNotesHz[] = {523.25, 659.25, 783.99, 1046.5};
    constexpr double kNoteGapSeconds = 0.09;
    double x = 0;
    for (int j = 0; j < 4; ++j) {
        const double start = kNoteGapSeconds * j;
        if (t > start) {
            const double u = t - start;
            x += 0.2 * sine(kNotesHz[j], u) * decay(5, u);
        }
    }
    return x;
}

double combine(double t) {
    double x = sine(880, t) * decay(12, t);
    if (t > 0.1) {
        const double u = t - 0.1;
        x += sine(1320, u) * decay(10, u);
    }
    return 0.35 * x + 0.3 * hashNoise(t) * decay(300, t);
}

double splash(double t) {
    return 0.2 * std::sin(2 * kPi * t * (400 - 300 * t)) * decay(14, t)
           + 0.28 * hashNoise(t * 7) * decay(6, t) * std::min(40 * t, 1.0);
}

// Five partials, each under a slow swell; every one of them, swells included, completes a
// whole number of cycles in eight seconds, so the waveform meets itself at the loop point.
double ambient(double t) {
    constexpr double kPartialHz[] = {110, 164.875, 220, 277.125, 330};
    constexpr double kWeight[] = {0.5, 0.35, 0.3, 0.15, 0.1};
    double sum = 0;
    for (int k = 0; k < 5; ++k) {
        const double swell = 0.35 * std::sin(2 * kPi * (k + 1) * t / 8 + k) + 0.65;
        sum += kWeight[k] * sine(kPartialHz[k], t) * swell;
    }
    return 0.22 * sum;
}

void putU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

double edgeEnvelope(double t, double d) {
    return std::max(0.0, std::min({1.0, t / kFadeSeconds, (d - t) / kFadeSeconds}));
}

double hashNoise(double x) {
    const double v = std::sin(x * 12345.6789) * 43758.5453;
    return (v - std::floor(v)) * 2 - 1;
}

double duration(Sfx sfx) {
    switch (sfx) {
    case Sfx::tap: return 0.07;
    case Sfx::pickup: return 0.5;
    case Sfx::unlock: return 0.55;
    case Sfx::wrong: return 0.3;
    case Sfx::open: return 1.1;
    case Sfx::power: return 0.5;
    case Sfx::success: return 0.9;
    case Sfx::combine: return 0.5;
    case Sfx::splash: return 0.6;
    }
    return 0;
}

std::size_t sampleCount(double seconds) {
    const double n = seconds * kSampleRate;
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::vector<float> effectSamples(Sfx sfx) {
    const double d = duration(sfx);
    switch (sfx) {
    case Sfx::tap: return render(d, tap);
    case Sfx::pickup: return render(d, pickup);
    case Sfx::unlock: return render(d, unlock);
    case Sfx::wrong: return render(d, wrong);
    case Sfx::open: return render(d, open);
    case Sfx::power: return render(d, power);
    case Sfx::success: return render(d, success);
    case Sfx::combine: return render(d, combine);
    case Sfx::splash: return render(d, splash);
    }
    return {};
}

std::vector<float> ambientSamples() { return render(kAmbientSeconds, ambient); }

std::int16_t pcmSample(float sample) {
    if (std::isnan(sample)) return 0;
    // The product is taken in float, as the stored sample is, and truncated toward zero.
    const float scaled = std::clamp(sample, -1.0f, 1.0f) * kFullScale;
    return static_cast<std::int16_t>(scaled);
}

std::vector<std::int16_t> pcm(const std::vector<float>& samples) {
    std::vector<std::int16_t> out(samples.size());
    std::transform(samples.begin(), samples.end(), out.begin(), pcmSample);
    return out;
}

std::vector<std::uint8_t> wav(const std::vector<float>& samples) {
    constexpr std::uint16_t kChannels = 1;
    constexpr std::uint16_t kBytesPerSample = 2;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);

    std::vector<std::uint8_t> out;
    out.reserve(kWavHeaderBytes + dataBytes);
    putTag(out, "RIFF");
    putU32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putU32(out, 16);
    putU16(out, 1);  // integer PCM
    putU16(out, kChannels);
    putU32(out, kSampleRate);
    putU32(out, kSampleRate * kChannels * kBytesPerSample);
    putU16(out, kChannels * kBytesPerSample);
    putU16(out, 16);
    putTag(out, "data");
    putU32(out, dataBytes);
    for (const float sample : samples) putU16(out, static_cast<std::uint16_t>(pcmSample(sample)));
    return out;
}

std::vector<std::uint8_t> wavFor(Sfx sfx) { return wav(effectSamples(sfx)); }

std::vector<std::uint8_t> ambientWav() { return wav(ambientSamples()); }

}  // namespace synth

// ---------------------------------------------------------------------------------------------
// Player

namespace {

constexpr const char* kAmbientClip = "ambient";

constexpr ostrevan::Sfx kAllSfx[] = {
    ostrevan::Sfx::tap,     ostrevan::Sfx::pickup,  ostrevan::Sfx::unlock,
    ostrevan::Sfx::wrong,   ostrevan::Sfx::open,    ostrevan::Sfx::power,
    ostrevan::Sfx::success, ostrevan::Sfx::combine, ostrevan::Sfx::splash,
};

// The settings file: where Qt keeps an application's settings under XDG, found by the XDG rules
// (Qt would take a relative XDG_CONFIG_HOME from the working folder).
QString settingsFile() {
    return xdgBaseFolder("XDG_CONFIG_HOME", ".config") + QStringLiteral("/Tallowmere/Tallowmere.conf");
}

void writeMuted(const QString& file, bool muted) {
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(Sound::kMutedKey, muted);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qWarning("Tallowmere: could not save the mute setting: %s: cannot be written", qUtf8Printable(file));
}

// The mixer plays exactly the 16-bit samples the clip's WAV file carries.
Mixer::Samples clipOf(const std::vector<float>& samples) {
    return std::make_shared<const std::vector<std::int16_t>>(synth::pcm(samples));
}

}  // namespace

// Off the GUI thread: a click must not wait for the disk. Never destroyed, so that the last
// setting asked for lands before the process ends (BackgroundWriter).
BackgroundWriter& Sound::settingsWriter() {
    static BackgroundWriter* const writer = new BackgroundWriter("the sound setting");
    return *writer;
}

Sound& Sound::shared() {
    // Deliberately never destroyed: the process ends soon after the application object goes.
    // The application stops its output first (stopOutput), while everything it plays through
    // still stands: the output thread is joined and the sound server's stream closed then,
    // unless the server holds them.
    static Sound* const instance = new Sound(Output::device);
    return *instance;
}

Sound::Sound(Output output) : m_outputKind(output) {
    settingsWriter().flush();  // what was set before is what is read
    const QSettings settings(settingsFile(), QSettings::IniFormat);
    m_muted = settings.value(kMutedKey, false).toBool();

    for (const ostrevan::Sfx sfx : kAllSfx)
        m_clips[std::string(ostrevan::name(sfx))] = clipOf(synth::effectSamples(sfx));
    m_clips[kAmbientClip] = clipOf(synth::ambientSamples());

    if (output == Output::device) m_output = std::make_unique<AudioOutput>(m_mixer, makeSystemSink);
}

Sound::Sound(AudioSinkFactory factory, std::chrono::milliseconds retryInterval, StreamClock clock)
    : Sound(Output::none) {
    m_outputKind = Output::device;
    m_output = std::make_unique<AudioOutput>(m_mixer, std::move(factory), retryInterval, std::move(clock));
}

Sound::~Sound() { settingsWriter().flush(); }

bool Sound::audible() const { return m_output && m_output->playing(); }

void Sound::stopOutput() {
    if (m_output) m_output->stop();
}

const Mixer::Samples* Sound::clip(const std::string& name) const {
    const auto it = m_clips.find(name);
    return it == m_clips.end() ? nullptr : &it->second;
}

void Sound::play(ostrevan::Sfx sfx) {
    if (m_muted) return;
    if (m_outputKind != Output::manual && !audible()) {
        // With nothing pulling the mixer the effect would come late, or never finish.
        if (m_output) m_output->wake();
        return;
    }
    const Mixer::Samples* samples = clip(std::string(ostrevan::name(sfx)));
    if (!samples) return;
    std::erase_if(m_active, [this](Mixer::VoiceId id) { return !m_mixer->contains(id); });
    if (const auto id = m_mixer->add(*samples, kEffectGain, false)) m_active.push_back(*id);
}

void Sound::startAmbient() {
    if (m_outputKind == Output::none || (m_output && m_output->stopped())) return;
    if (m_ambient && !m_mixer->contains(*m_ambient)) m_ambient.reset();
    if (!m_ambient) {
        if (const Mixer::Samples* samples = clip(kAmbientClip))
            m_ambient = m_mixer->add(*samples, ambientGain(), true);
        if (!m_ambient) return;
    }
    m_mixer->setGain(*m_ambient, ambientGain());
    if (m_output) m_output->wake();
}

void Sound::setMuted(bool muted) {
    m_muted = muted;
    settingsWriter().write([file = settingsFile(), muted] { writeMuted(file, muted); });
    if (m_ambient) m_mixer->setGain(*m_ambient, ambientGain());
    if (muted) {
        for (const Mixer::VoiceId id : m_active) m_mixer->stop(id);
        m_active.clear();
    }
}

}  // namespace tallowmere
