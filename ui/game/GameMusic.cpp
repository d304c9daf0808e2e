// The map's music, the battle music, and the map music's return after a fight.
#include "engine/sound/DSFramework.h"
#include "engine/sound/SoundStartup.h"
#include "game/world/data/GlobalData.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/sound/SettingsDefaults.h"
#include "game/world/sound/SoundTracks.h"
#include "platform/win32/Clock.h"
#include "ui/game/Game.h"

namespace Main {

namespace {

// A fight's music keeps playing when the next fight starts this soon after it.
constexpr uint32_t MusicResumeDelayMs = 5000;

} // namespace

// The scenario names its map music; without one the global data's map music plays.
void TGame::PlayMapMusic(int32_t position) {
    if (!Scenario)
        return;
    uint32_t id = Scenario->MapMusicID;
    if (id == 0 && Data2::GlobalData)
        id = uint32_t(Data2::GlobalData->MusicIDs[1]);
    GameData::PlayMusic(id, GameData::VolumeOptions().Music, true, position);
}

void TGame::PlayBattleMusic() {
    DSFrame::TDSFramework* sounds = DSFramework.get();
    if (!sounds || !Scenario)
        return;
    MusicPosition = sounds->IsTrackPlaying(GameData::MusicTrack)
                        ? uint32_t(sounds->GetTrackPosition(GameData::MusicTrack))
                        : 0;
    if (!MusicResumePending) {
        // Which of the two tracks plays is this machine's variety, never the game's.
        const bool second = Scenario->SecondMapMusicID != 0 && (Scenario->EffectRandom.Next() & 1);
        const uint32_t id = second ? Scenario->SecondMapMusicID : Scenario->ControllerMusicID;
        GameData::PlayMusic(id, GameData::VolumeOptions().Music, true, 0);
    }
    MusicResumePending = false;
}

void TGame::ScheduleMusicResume() {
    MusicResumeTime = Win32::timeGetTime();
    MusicResumePending = true;
}

void TGame::ResumeMapMusicWhenDue() {
    if (!Scenario || !MusicResumePending ||
        Win32::timeGetTime() - MusicResumeTime <= MusicResumeDelayMs)
        return;
    PlayMapMusic(int32_t(MusicPosition));
    MusicResumePending = false;
}

} // namespace Main
