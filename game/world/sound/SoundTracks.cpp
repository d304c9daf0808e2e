#include "game/world/sound/SoundTracks.h"

#include "engine/sound/SoundStartup.h"
#include "game/world/data/GlobalData.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/sound/SoundEffects.h"

namespace GameData {

namespace {

// The framework when sound and the global data's lists are there, else null.
DSFrame::TDSFramework* Framework() {
    return Data2::GlobalData ? Main::DSFramework.get() : nullptr;
}

} // namespace

void PlayMusic(uint32_t id, int volume, bool loop, int startPosition) {
    if (DSFrame::TDSFramework* sound = Framework(); sound && volume != 0)
        sound->FadeToListStream(MusicTrack, &Data2::GlobalData->MusicList, int(id), volume,
                                startPosition, false, loop);
}

void StopMusic() {
    if (DSFrame::TDSFramework* sound = Framework(); sound && GameSettings.MusicVolume != 0)
        sound->FadeOutTrack(MusicTrack);
}

void PlayEffectByID(Audio::TAudioList* list, uint32_t id, int volume) {
    if (!Main::DSFramework || !list)
        return;
    Audio::TAudioStreamPtr stream = list->FindStream(id);
    if (!stream)
        return;
    if (!stream.get_deleter().Owns) {
        PlayEffect(stream.get(), volume);
        return;
    }
    // A list that does not preload makes a new stream: the track takes it over.
    if (volume != 0)
        Main::DSFramework->Play(std::move(stream), 0, volume, false, false);
}

void PlaySpeech(uint32_t id) {
    const int volume = GameSettings.SpeechVolume;
    if (DSFrame::TDSFramework* sound = Framework(); sound && volume != 0)
        sound->PlayListStream(SpeechTrack, &Data2::GlobalData->SpeechList, int(id), volume, 0,
                              false, false);
}

void StopSpeech() {
    if (DSFrame::TDSFramework* sound = Framework())
        sound->FadeOutTrack(SpeechTrack);
}

void PlayInterfaceSound(uint32_t id, int volume, bool immediate) {
    DSFrame::TDSFramework* sound = Framework();
    if (!sound || GameSettings.SFXVolume == 0)
        return;
    Audio::TAudioList* list = &Data2::GlobalData->EffectSounds;
    if (immediate)
        sound->FadeToListStream(InterfaceTrack, list, int(id), volume, 0, false, false);
    else
        sound->PlayListStream(InterfaceTrack, list, int(id), volume, 0, false, false);
}

void StopInterfaceSound(bool fade) {
    DSFrame::TDSFramework* sound = Main::DSFramework.get();
    if (!sound)
        return;
    if (fade)
        sound->FadeOutTrack(InterfaceTrack);
    else
        sound->StopTrack(InterfaceTrack);
}

bool IsInterfaceSoundPlaying() {
    return Main::DSFramework && Main::DSFramework->IsTrackPlaying(InterfaceTrack);
}

} // namespace GameData
