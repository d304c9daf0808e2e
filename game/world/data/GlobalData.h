// Everything the game rules share and never change during play: the unit, spell and
// skill prototypes, the interface sprites and pictures with their sprite libraries,
// the sound libraries with the interface and weather sounds, the fonts, the tuning
// constants and the campaign's scenario files. Read from the text files that
// "default.txt" in the "globals" archive names.
#pragma once

#include "engine/core/DynamicArray.h"
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/SpriteList.h"
#include "engine/sound/AudioList.h"
#include "game/world/data/FontDescription.h"
#include "game/world/data/Prototypes.h"

#include <cstdint>
#include <memory>

namespace Data2 {

constexpr int CommonSpriteCount = 1168;
constexpr int PictureCount = 57;
constexpr int GameConstantCount = 42;
constexpr int MaxLevelCount = 30;
constexpr int UIFontCount = 9;
constexpr int InterfaceSoundCount = 19;
constexpr int WeatherSoundCount = 4;
constexpr int MusicCount = 3;
constexpr int DefaultFileCount = 18;

// The interface fonts are descriptions 1 to 8 and 27, in this order.
constexpr int UIFontIDs[UIFontCount] = {1, 2, 3, 4, 5, 6, 7, 8, 27};

// Indices of GameConstants.
constexpr int gcDefaultMorale = 0;
constexpr int gcMaxMorale = 1;
constexpr int gcCityDefenderMorale = 2;
constexpr int gcMoraleLossPerDamage = 4;
constexpr int gcKillMoralePerLevel = 5;
constexpr int gcKillMoraleBase = 6;
constexpr int gcSightTolerance = 7;
constexpr int gcSightHeightOffset = 8;
constexpr int gcSightDistanceScale = 9;
constexpr int gcFirstStepHeight = 10; // three, ascending
constexpr int gcLeastActionPoints = 13;
constexpr int gcCityEntryAP = 15;
constexpr int gcBuildingEntryAP = 16;
constexpr int gcFightStartValue = 17;
constexpr int gcGroupActionAP = 18;
constexpr int gcExperiencePerDamageDealt = 27;
constexpr int gcExperiencePerDamageTaken = 28;
constexpr int gcKillExperience = 29;
constexpr int gcDrinkMorale = 30;
constexpr int gcDrinkPenalty = 31;
constexpr int gcDrinkDuration = 32;
constexpr int gcDrinkMoraleCap = 33;
constexpr int gcCorpseLifetime = 34;
constexpr int gcFirstDifficulty = 35; // "Easy", "Normal", "Hard"
constexpr int gcInterfaceVolume = 41;

struct TWeatherSound {
    int32_t SoundID;
    int32_t Volume; // percent
};

// Selects the constructor that leaves the object empty, for code that fills the
// prototypes itself instead of reading them.
struct TEmptyGlobalData {};

class TGlobalData {
public:
    // Reads everything from the open archives. Safe on a worker thread: it makes no
    // device surface; PrepareSurfaces does that afterwards on the main thread.
    // Raises what fails, having released the fonts it took.
    TGlobalData();
    explicit TGlobalData(TEmptyGlobalData);
    TGlobalData(const TGlobalData&) = delete;
    TGlobalData& operator=(const TGlobalData&) = delete;
    ~TGlobalData();

    // Device surfaces of the blended common sprites and spell icons (pixels dropped)
    // and the glyph surfaces of interface fonts 3 and 4. Main thread only.
    void PrepareSurfaces();

    // -1 when none; the first record in file order wins.
    int FindUnitPrototype(int id) const;
    int FindSpell(int id) const; // compared as 16-bit values
    int FindSkill(int id) const; // compared as 16-bit values
    int FindFontDescription(int id) const;
    int FindFontDescriptionByFont(const Gfx::TFont* font) const;

    // The font of the description with that ID, made on first use; each call is one
    // more holder. An unknown ID raises "Font description with ID = %d not found!".
    Gfx::TFont* GetFont(int id);
    // Lets go of the slot's font (deleted with its last holder) and nulls the slot;
    // returns the holders left, 0 for a null slot. A font no description holds raises
    // "Font description with given pointer not found!".
    int ReleaseFont(Gfx::TFont*& slot);
    void ReleaseFonts();

    // Declared so that they go in the order the data need: the sound libraries, the font
    // descriptions, the sprite libraries, then the prototypes.
    Gfx::TSprite* CommonSprites[CommonSpriteCount]; // lent by CommonLibrary; null for ID 0
    int32_t BadgeCellWidth;
    int32_t BadgeCellHeight;
    int32_t PictureIDs[PictureCount]; // in PictureLibrary
    int32_t GameConstants[GameConstantCount];
    int32_t LevelCount;
    char LevelFiles[MaxLevelCount][FileNameSize];
    Data::TDynamicArray<TUnitPrototype> UnitPrototypes;
    Data::TDynamicArray<TSpellPrototype> SpellPrototypes;
    Data::TDynamicArray<TSkillPrototype> SkillPrototypes;
    Gfx::TSpriteList CommonLibrary;
    Gfx::TSpriteList PictureLibrary;
    Gfx::TSpriteList CreatureLibrary;
    Gfx::TSpriteList SpellLibrary;
    Data::TDynamicArray<TFontDescription> FontDescriptions;
    Gfx::TFont* UIFonts[UIFontCount];                          // held through GetFont
    Audio::TAudioList EffectSounds;                            // preloaded
    Audio::TAudioList MusicList;                               // played on track 0
    Audio::TAudioList SpeechList;                              // played on track 2
    Audio::TAudioStream* InterfaceSounds[InterfaceSoundCount]; // lent by EffectSounds
    TWeatherSound WeatherSounds[WeatherSoundCount];            // by weather: none, rain, snow, sand
    int32_t MusicIDs[MusicCount];                              // main menu, map, credits

private:
    void Load();
};

extern std::unique_ptr<TGlobalData> GlobalData;
void CreateGlobalData();
void FreeGlobalData();

} // namespace Data2
