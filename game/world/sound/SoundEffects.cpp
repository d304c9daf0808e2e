#include "game/world/sound/SoundEffects.h"

#include "engine/sound/SoundStartup.h"
#include "game/world/data/GlobalData.h"
#include "game/world/scenario/GameSettings.h"

namespace GameData {

void PlayEffect(Audio::TAudioStream* stream, int volume) {
    using Main::DSFramework;
    if (!DSFramework || stream == nullptr || volume == 0)
        return;
    // Lent, not handed over: the track must not delete the library's stream.
    DSFramework->Play(Audio::TAudioStreamPtr(stream, {false}), 0, volume, false, false);
}

int GetEffectVolume() {
    using Data2::GlobalData;
    if (!GlobalData)
        return 0;
    return GlobalData->GameConstants[Data2::gcInterfaceVolume] * GameSettings.SFXVolume / 100;
}

} // namespace GameData
