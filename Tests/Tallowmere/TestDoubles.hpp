// Stand-ins shared by the application tests.
#pragma once

#include <Tallowmere/Model/GameModel.hpp>

#include <Ostrevan/Levels.hpp>

#include <cstdint>
#include <vector>

namespace tallowmere::testing {

// Remembers every sound the model plays instead of playing it.
class RecordingSound final : public SoundOutput {
public:
    void play(ostrevan::Sfx sfx) override { played.push_back(sfx); }
    void startAmbient() override { ++ambientStarts; }
    bool muted() const override { return mutedNow; }
    void setMuted(bool muted) override { mutedNow = muted; }

    std::vector<ostrevan::Sfx> played;
    int ambientStarts = 0;
    bool mutedNow = false;
};

inline const ostrevan::Level& room(std::int64_t number) {
    return ostrevan::Levels::all().at(static_cast<std::size_t>(number - 1));
}

}  // namespace tallowmere::testing
