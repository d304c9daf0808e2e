#include "game/world/scenario/GameSettings.h"

#include "game/world/orders/MovementSpeed.h"

#include <algorithm>
#include <initializer_list>

namespace GameData {

TGameSettings GameSettings;

void TGameSettings::Clamp() {
    for (int32_t* volume : {&MusicVolume, &SFXVolume, &SpeechVolume})
        *volume = std::clamp<int32_t>(*volume, 0, MaxVolume);
    MovementSpeed = std::clamp<int32_t>(MovementSpeed, 0, MovementSpeedCount - 1);
    Difficulty = std::clamp<int32_t>(Difficulty, 0, MaxDifficulty);
}

} // namespace GameData
