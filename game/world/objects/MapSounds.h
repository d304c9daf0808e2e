// What map objects need of the sound side. A scenario plays them on the sound
// framework (TFrameworkSounds); tests put their own in its place.
#pragma once

#include <cstdint>

namespace GameData {

class TMapSounds {
public:
    virtual ~TMapSounds() = default;
    // The effect volume option, percent.
    virtual int EffectVolume() const = 0;
    // Plays the effect sound once on a free track; the track, or -1 when the sound is
    // unknown or no track is free.
    virtual int PlayEffectByID(uint32_t soundID, int volume) = 0;
    virtual bool IsTrackPlaying(int track) const = 0;
    virtual void SetTrackVolume(int track, int volume) = 0;
    virtual void FadeOutTrack(int track) = 0;
    // Starts the effect sound on the interface track at once (what the track played
    // stops), looping when asked.
    virtual void PlayInterfaceSound(uint32_t soundID, int volume, bool loop) = 0;
};

} // namespace GameData
