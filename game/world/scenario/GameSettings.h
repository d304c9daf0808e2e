// The player's options as the world, the sound functions and the fights read them:
// volumes, the walking speed of groups, the difficulty, whether the end of a turn is
// confirmed and whether automatic fights may cast spells. One instance serves the
// process; the game controller reads it from its settings file and writes it back.
// They are this machine's options only: nothing of them enters the stored game, and a
// networked game plays its difficulty unscaled whatever they say.
#pragma once

#include <cstdint>

namespace GameData {

struct TGameSettings {
    static constexpr int32_t MaxVolume = 100;
    static constexpr int32_t DefaultMovementSpeed = 2;
    static constexpr int32_t MaxDifficulty = 2;

    int32_t MusicVolume = MaxVolume; // percent; 0 plays no music at all
    int32_t SFXVolume = MaxVolume;
    int32_t SpeechVolume = MaxVolume;
    // Index into the group speed table, 0 slowest.
    int32_t MovementSpeed = DefaultMovementSpeed;
    // Index into the difficulty table of the global data: 0 easy, 1 normal, 2 hard.
    int32_t Difficulty = 1;
    bool ConfirmEndTurn = true;
    bool CastInAutoCombat = true;

    // Brings every number into its range: volumes 0..100, the speed into the speed
    // table, the difficulty 0..2.
    void Clamp();

    friend bool operator==(const TGameSettings&, const TGameSettings&) = default;
};

// The settings in force. Changed on the main thread only, while no fight decision runs.
extern TGameSettings GameSettings;

} // namespace GameData
