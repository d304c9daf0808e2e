// Map objects' sounds on the program's sound framework: effects of the global data's
// effect list at the effect volume option. Silent without a framework or global data.
#pragma once

#include "game/world/objects/MapSounds.h"

namespace GameData {

class TFrameworkSounds : public TMapSounds {
public:
    int EffectVolume() const override;
    int PlayEffectByID(uint32_t soundID, int volume) override;
    bool IsTrackPlaying(int track) const override;
    void SetTrackVolume(int track, int volume) override;
    void FadeOutTrack(int track) override;
    void PlayInterfaceSound(uint32_t soundID, int volume, bool loop) override;
};

} // namespace GameData
