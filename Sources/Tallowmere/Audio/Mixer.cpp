#include <Tallowmere/Audio/Mixer.hpp>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace tallowmere {

// ---------------------------------------------------------------------------------------------
// PriorityInheritingMutex

PriorityInheritingMutex::PriorityInheritingMutex() {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT);
    pthread_mutex_init(&m_mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

PriorityInheritingMutex::~PriorityInheritingMutex() { pthread_mutex_destroy(&m_mutex); }

void PriorityInheritingMutex::lock() { pthread_mutex_lock(&m_mutex); }

void PriorityInheritingMutex::unlock() { pthread_mutex_unlock(&m_mutex); }

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

void Mixer::stopOneShots() {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_voices, [](const Voice& voice) { return !voice.loop; });
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

}  // namespace tallowmere
