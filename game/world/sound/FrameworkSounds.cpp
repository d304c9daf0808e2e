#include "game/world/sound/FrameworkSounds.h"

#include "engine/sound/SoundStartup.h"
#include "game/world/data/GlobalData.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/sound/SoundTracks.h"

namespace GameData {

int TFrameworkSounds::EffectVolume() const {
    return Main::DSFramework ? GameSettings.SFXVolume : 0;
}

int TFrameworkSounds::PlayEffectByID(uint32_t soundID, int volume) {
    if (!Main::DSFramework || !Data2::GlobalData)
        return -1;
    Audio::TAudioStreamPtr stream = Data2::GlobalData->EffectSounds.FindStream(soundID);
    if (!stream)
        return -1;
    return Main::DSFramework->Play(std::move(stream), 0, volume, false, false);
}

bool TFrameworkSounds::IsTrackPlaying(int track) const {
    return Main::DSFramework && Main::DSFramework->IsTrackPlaying(track);
}

void TFrameworkSounds::SetTrackVolume(int track, int volume) {
    if (Main::DSFramework)
        Main::DSFramework->SetVolume(track, volume);
}

void TFrameworkSounds::FadeOutTrack(int track) {
    if (Main::DSFramework)
        Main::DSFramework->FadeOutTrack(track);
}

void TFrameworkSounds::PlayInterfaceSound(uint32_t soundID, int volume, bool loop) {
    if (Main::DSFramework && Data2::GlobalData)
        Main::DSFramework->PlayListStream(InterfaceTrack, &Data2::GlobalData->EffectSounds,
                                          int(soundID), volume, 0, false, loop);
}

} // namespace GameData
