// Reading the global data from the files "default.txt" names. Runs on the loading
// screen's worker thread, so it makes no device surface (see PrepareSurfaces).
#include "engine/core/TextReader.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/DataFiles.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"

namespace Data2 {

using ClassLib::AnsiString;
using ClassLib::TStream;
using Data::ReadTokenInt;
using Data::TTextReader;

namespace {

// Positions of the files in "default.txt".
enum TDefaultFile {
    dfCommonSpriteIDs = 3,
    dfPictureIDs = 4,
    dfConstants = 5,
    dfUnits = 6,
    dfCommonLibrary = 7,
    dfPictureLibrary = 8,
    dfCreatureLibrary = 9,
    dfEffectSounds = 10,
    dfMusic = 11,
    dfSpeech = 12,
    dfSoundAssignments = 13,
    dfSpellLibrary = 14,
    dfSpells = 15,
    dfSkills = 16,
    dfFontDescriptions = 17,
};

// Tokens of one record, for checking a record count against the file's size.
constexpr int StatsTokens = GameData::UnitStatsWordCount + 4;
constexpr int UnitTokens = 1 + StatsTokens + 3 + 2 + UnitSpriteSetCount * UnitDirectionCount + 2 +
                           1 + UnitPrototypeSoundCount + 2 + 1;
constexpr int SpellTokens = 21 + SpellParamCount;
constexpr int SkillTokens = 6 + StatsTokens + 1 + StatsTokens;
constexpr int FontDescriptionTokens = 2;

int16_t ReadToken16(TTextReader& text) {
    return static_cast<int16_t>(ReadTokenInt(text));
}

uint16_t ReadTokenU16(TTextReader& text) {
    return static_cast<uint16_t>(ReadTokenInt(text));
}

void ReadStats(TTextReader& text, GameData::TUnitStats& stats) {
    for (int16_t& word : stats.Words)
        word = ReadToken16(text);
    stats.LearnableSpells = Data::ReadTokenBinary64(text);
    stats.Spells = Data::ReadTokenBinary64(text);
    stats.LearnableSkills = Data::ReadTokenBinary64(text);
    stats.Skills = Data::ReadTokenBinary64(text);
}

Audio::TAudioStream* ReadSound(TTextReader& text, Audio::TAudioList& effects) {
    // The effect library is preloaded: it lends its streams and keeps them.
    return effects.GetStream(static_cast<uint32_t>(ReadTokenInt(text))).release();
}

void ReadUnit(TTextReader& text, TUnitPrototype& unit, Audio::TAudioList& effects) {
    unit.ID = ReadTokenInt(text);
    ReadStats(text, unit.Stats);
    unit.PortraitID = ReadTokenInt(text);
    unit.DetailPictureID = ReadTokenInt(text);
    unit.PictureID3 = ReadTokenInt(text);
    unit.IdleAnimMode = ReadTokenU16(text);
    unit.IdleAnimPeriod = static_cast<uint32_t>(ReadTokenInt(text));
    for (auto& set : unit.SpriteIDs)
        for (int32_t& id : set)
            id = ReadTokenInt(text);
    unit.CreatureType = ReadToken16(text);
    unit.IsHero = Data::ReadTokenBool(text) ? 1 : 0;
    Data::ReadTokenBuffer(text, unit.Name, UnitNameSize);
    for (Audio::TAudioStream*& sound : unit.Sounds)
        sound = ReadSound(text, effects);
    unit.ApproachOffset = ReadToken16(text);
    unit.TargetOffset = ReadToken16(text);
    Data::ReadTokenBuffer(text, unit.Description, DescriptionSize);
    unit.Loaded = 1;
}

void ReadSpell(TTextReader& text, TSpellPrototype& spell, Audio::TAudioList& effects,
               Gfx::TSpriteList& spellLibrary) {
    spell.ID = ReadToken16(text);
    spell.Group = ReadToken16(text);
    Data::ReadTokenBuffer(text, spell.Name, PrototypeNameSize);
    Data::ReadTokenBuffer(text, spell.Description, DescriptionSize);
    spell.TargetFlags = static_cast<uint32_t>(ReadTokenInt(text));
    spell.MinLevel = ReadTokenU16(text);
    spell.ManaCost = ReadTokenU16(text);
    spell.APCost = ReadTokenU16(text);
    spell.CastExperience = ReadTokenU16(text);
    spell.Phase = ReadTokenU16(text);
    spell.IconID = ReadTokenInt(text);
    spellLibrary.TryPreloadSprite(static_cast<uint32_t>(spell.IconID));
    spell.CastSpriteID = ReadTokenInt(text);
    spell.CastSound = ReadSound(text, effects);
    spell.CastTicks = ReadTokenInt(text);
    spell.FlightSpriteID = ReadTokenInt(text);
    spell.FlightSound = ReadSound(text, effects);
    spell.FlightTicks = ReadTokenInt(text);
    spell.FlightSpeed = ReadTokenInt(text);
    spell.ImpactSpriteID = ReadTokenInt(text);
    spell.ImpactSound = ReadSound(text, effects);
    spell.ImpactTicks = ReadTokenInt(text);
    for (int16_t& parameter : spell.Params)
        parameter = ReadToken16(text);
}

void ReadSkill(TTextReader& text, TSkillPrototype& skill) {
    skill.ID = ReadToken16(text);
    Data::ReadTokenBuffer(text, skill.Name, PrototypeNameSize);
    Data::ReadTokenBuffer(text, skill.Description, DescriptionSize);
    skill.MinLevel = ReadTokenU16(text);
    skill.APCost = ReadTokenU16(text);
    skill.Value3 = ReadTokenInt(text);
    ReadStats(text, skill.PermanentDelta);
    skill.Duration = ReadTokenInt(text);
    ReadStats(text, skill.TemporaryDelta);
}

// Prototype files start with a title nobody reads, then the record count.
template <typename T, typename ReadRecord>
void ReadPrototypes(TTextReader& text, Data::TDynamicArray<T>& records, int tokensPerRecord,
                    ReadRecord&& read) {
    Data::ReadTokenString(text);
    records.SetCount(ReadRecordCount(text, tokensPerRecord));
    for (T& record : records)
        read(record);
}

void LoadSpriteLibrary(Gfx::TSpriteList& library, const AnsiString& fileName) {
    const Data::TArchive& graphics = OpenedArchive(GraphicsArchive, "graphics");
    WithFileContext("graphics", fileName, [&] { library.LoadFromArchive(graphics, fileName); });
}

void LoadSoundLibrary(Audio::TAudioList& library, const AnsiString& fileName, bool preload) {
    const Data::TArchive& sounds = OpenedArchive(SoundsArchive, "sounds");
    WithFileContext("sounds", fileName,
                    [&] { library.LoadFromArchive(sounds, fileName, preload); });
}

} // namespace

void TGlobalData::Load() {
    AnsiString files[DefaultFileCount];
    ReadDataFile(GlobalsArchive, "globals", "default.txt", [&](TTextReader& text) {
        for (AnsiString& name : files)
            name = Data::ReadTokenString(text);
    });

    LoadSpriteLibrary(CommonLibrary, files[dfCommonLibrary]);
    WithFileContext("graphics", files[dfCommonLibrary], [&] { CommonLibrary.PreloadAll(); });
    LoadSpriteLibrary(PictureLibrary, files[dfPictureLibrary]);
    LoadSpriteLibrary(CreatureLibrary, files[dfCreatureLibrary]);
    LoadSpriteLibrary(SpellLibrary, files[dfSpellLibrary]);

    const AnsiString& assignments = files[dfSoundAssignments];
    std::unique_ptr<TStream> assignmentStream;
    WithFileContext("globals", assignments, [&] {
        assignmentStream = OpenedArchive(GlobalsArchive, "globals").OpenFile(assignments);
    });
    LoadSoundLibrary(EffectSounds, files[dfEffectSounds], true);
    LoadSoundLibrary(MusicList, files[dfMusic], false);
    LoadSoundLibrary(SpeechList, files[dfSpeech], false);
    WithFileContext("globals", assignments, [&] {
        Data::TTextReader text(*assignmentStream);
        for (Audio::TAudioStream*& sound : InterfaceSounds)
            sound = ReadSound(text, EffectSounds);
        for (TWeatherSound& weather : WeatherSounds) {
            weather.SoundID = ReadTokenInt(text);
            weather.Volume = ReadTokenInt(text);
        }
        for (int32_t& id : MusicIDs)
            id = ReadTokenInt(text);
    });
    assignmentStream.reset();

    ReadDataFile(GlobalsArchive, "globals", files[dfFontDescriptions], [&](TTextReader& text) {
        FontDescriptions.SetCount(ReadRecordCount(text, FontDescriptionTokens));
        for (TFontDescription& description : FontDescriptions) {
            description.ID = ReadTokenInt(text);
            Data::ReadTokenBuffer(text, description.FileName, FileNameSize);
            description.RefCount = 0;
            description.Font = nullptr;
        }
    });

    ReadDataFile(GlobalsArchive, "globals", files[dfCommonSpriteIDs], [&](TTextReader& text) {
        for (Gfx::TSprite*& sprite : CommonSprites)
            sprite = ResolveSprite(CommonLibrary, static_cast<uint32_t>(ReadTokenInt(text)));
        BadgeCellWidth = ReadTokenInt(text);
        BadgeCellHeight = ReadTokenInt(text);
    });

    ReadDataFile(GlobalsArchive, "globals", files[dfPictureIDs], [&](TTextReader& text) {
        for (int32_t& id : PictureIDs)
            id = ReadTokenInt(text);
    });

    for (int i = 0; i < UIFontCount; ++i)
        UIFonts[i] = GetFont(UIFontIDs[i]);

    ReadDataFile(GlobalsArchive, "globals", files[dfConstants], [&](TTextReader& text) {
        for (int32_t& constant : GameConstants)
            constant = ReadTokenInt(text);
        LevelCount = ReadTokenInt(text);
        Data::CheckData(LevelCount >= 0 && LevelCount <= MaxLevelCount);
        for (int i = 0; i < LevelCount; ++i)
            Data::ReadTokenBuffer(text, LevelFiles[i], FileNameSize);
    });

    ReadDataFile(GlobalsArchive, "globals", files[dfUnits], [&](TTextReader& text) {
        ReadPrototypes(text, UnitPrototypes, UnitTokens,
                       [&](TUnitPrototype& unit) { ReadUnit(text, unit, EffectSounds); });
    });
    ReadDataFile(GlobalsArchive, "globals", files[dfSpells], [&](TTextReader& text) {
        ReadPrototypes(text, SpellPrototypes, SpellTokens, [&](TSpellPrototype& spell) {
            ReadSpell(text, spell, EffectSounds, SpellLibrary);
        });
    });
    ReadDataFile(GlobalsArchive, "globals", files[dfSkills], [&](TTextReader& text) {
        ReadPrototypes(text, SkillPrototypes, SkillTokens,
                       [&](TSkillPrototype& skill) { ReadSkill(text, skill); });
    });
}

void TGlobalData::PrepareSurfaces() {
    for (const Gfx::TSpriteEntry& entry : CommonLibrary.Directory())
        if (entry.Sprite && entry.Sprite->BlendMode() != 0)
            entry.Sprite->PrepareSurfaces(true);
    for (const TSpellPrototype& spell : SpellPrototypes)
        if (Gfx::TSprite* icon = SpellLibrary.FindSprite(static_cast<uint32_t>(spell.IconID)))
            icon->PrepareSurfaces(true);
    if (UIFonts[2])
        UIFonts[2]->PrepareSurface(0, 0);
    if (UIFonts[3])
        UIFonts[3]->PrepareSurface(0, 0xFFFFFF);
}

} // namespace Data2
