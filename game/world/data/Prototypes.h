// The prototypes the global data read from text files: creature kinds, spells and
// skills. Plain records kept in arrays in file order; the sound pointers are
// lent by the global data's preloaded effect library and never owned here.
#pragma once

#include "game/world/units/UnitStats.h"

#include <cstdint>

namespace Audio {
class TAudioStream;
}

namespace Data2 {

constexpr int UnitSpriteSetCount = 10;
constexpr int UnitDirectionCount = 8;
constexpr int UnitPrototypeSoundCount = 3;
constexpr int PrototypeNameSize = 256;
constexpr int UnitNameSize = 80;
constexpr int DescriptionSize = 2048;
constexpr int SpellParamCount = 10;

struct TUnitPrototype {
    int32_t ID;
    GameData::TUnitStats Stats;
    int32_t PortraitID;
    int32_t DetailPictureID;
    int32_t PictureID3;
    uint16_t IdleAnimMode; // 1 cycle every IdleAnimPeriod ticks, 2 now and then at random
    uint32_t IdleAnimPeriod;
    int32_t SpriteIDs[UnitSpriteSetCount][UnitDirectionCount]; // by TUnitSpriteSet, then direction
    int16_t CreatureType;
    uint8_t IsHero;
    char Name[UnitNameSize];
    Audio::TAudioStream* Sounds[UnitPrototypeSoundCount];
    int16_t ApproachOffset;
    int16_t TargetOffset;
    char Description[DescriptionSize];
    uint8_t Loaded;
};

// Target flags of a spell.
constexpr uint32_t tfFriendlyGroup = 1;
constexpr uint32_t tfEnemyGroup = 2;
constexpr uint32_t tfNeutralGroup = 4;
constexpr uint32_t tfAnyCell = 8;
constexpr uint32_t tfOwnCell = 16;
constexpr uint32_t tfFreeCell = 32;

struct TSpellPrototype {
    int16_t ID; // the TSpellID: map spells 1-61, battle spells 65-125
    int16_t Group;
    char Name[PrototypeNameSize];
    char Description[DescriptionSize];
    uint32_t TargetFlags;
    uint16_t MinLevel;
    uint16_t ManaCost;
    uint16_t APCost;
    uint16_t CastExperience;
    uint16_t Phase; // battle casting phase 1-3, 0 any
    int32_t IconID;
    int32_t CastSpriteID;
    Audio::TAudioStream* CastSound;
    int32_t CastTicks;
    int32_t FlightSpriteID;
    Audio::TAudioStream* FlightSound;
    int32_t FlightTicks;
    int32_t FlightSpeed; // hundredths of a pixel per tick
    int32_t ImpactSpriteID;
    Audio::TAudioStream* ImpactSound;
    int32_t ImpactTicks;
    int16_t Params[SpellParamCount];
};

struct TSkillPrototype {
    int16_t ID; // 1-64
    char Name[PrototypeNameSize];
    char Description[DescriptionSize];
    uint16_t MinLevel;
    uint16_t APCost;
    int32_t Value3;
    GameData::TUnitStats PermanentDelta;
    int32_t Duration; // turns; above 0 learning adds an after-effect of kind ID + 5000
    GameData::TUnitStats TemporaryDelta;
};

} // namespace Data2
