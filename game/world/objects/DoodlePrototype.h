// The scenery prototype record a scenario reads from its prototype list.
#pragma once

#include <cstdint>

namespace GameData {

enum TDoodleAnimation : uint16_t { daStill = 0, daLoop = 1, daRandomStart = 2 };
enum TDoodlePatch : uint16_t { dpOwnCell = 1, dpUnderSprite = 2 };

#pragma pack(push, 1)
struct TDoodlePrototype {
    uint32_t ID;
    uint32_t SpriteID;
    uint16_t StartChance;
    uint16_t AnimationMode;
    int16_t AnimationPeriod; // ticks
    uint16_t PatchMode;
    int16_t HeightDelta;
    int16_t CostDelta;
    uint16_t Layer;
    uint32_t SoundID;     // 0 none
    uint32_t SoundVolume; // percent
    char Name[80];
    uint8_t Loaded;
};
#pragma pack(pop)
static_assert(sizeof(TDoodlePrototype) == 111);

} // namespace GameData
