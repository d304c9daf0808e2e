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

int16_t ReadToken16(TStream* stream) {
    return static_cast<int16_t>(ReadTokenInt(stream));
}

uint16_t ReadTokenU16(TStream* stream) {
    return static_cast<uint16_t>(ReadTokenInt(stream));
}

void ReadStats(TStream* stream, GameData::TUnitStats& stats) {
    for (int16_t& word : stats.Words)
        word = ReadToken16(stream);
    stats.LearnableSpells = Data::ReadTokenBinary64(stream);
    stats.Spells = Data::ReadTokenBinary64(stream);
    stats.LearnableSkills = Data::ReadTokenBinary64(stream);
    stats.Skills = Data::ReadTokenBinary64(stream);
}

Audio::TAudioStream* ReadSound(TStream* stream, Audio::TAudioList& effects) {
    // The effect library is preloaded: it lends its streams and keeps them.
    return effects.GetStream(static_cast<uint32_t>(ReadTokenInt(stream))).release();
}

void ReadUnit(TStream* stream, TUnitPrototype& unit, Audio::TAudioList& effects) {
    unit.ID = ReadTokenInt(stream);
    ReadStats(stream, unit.Stats);
    unit.PortraitID = ReadTokenInt(stream);
    unit.DetailPictureID = ReadTokenInt(stream);
    unit.PictureID3 = ReadTokenInt(stream);
    unit.IdleAnimMode = ReadTokenU16(stream);
    unit.IdleAnimPeriod = static_cast<uint32_t>(ReadTokenInt(stream));
    for (auto& set : unit.SpriteIDs)
        for (int32_t& id : set)
            id = ReadTokenInt(stream);
    unit.CreatureType = ReadToken16(stream);
    unit.IsHero = Data::ReadTokenBool(stream) ? 1 : 0;
    Data::ReadTokenBuffer(stream, unit.Name, UnitNameSize);
    for (Audio::TAudioStream*& sound : unit.Sounds)
        sound = ReadSound(stream, effects);
    unit.ApproachOffset = ReadToken16(stream);
    unit.TargetOffset = ReadToken16(stream);
    Data::ReadTokenBuffer(stream, unit.Description, DescriptionSize);
    unit.Loaded = 1;
}

void ReadSpell(TStream* stream, TSpellPrototype& spell, Audio::TAudioList& effects,
               Gfx::TSpriteList& spellLibrary) {
    spell.ID = ReadToken16(stream);
    spell.Group = ReadToken16(stream);
    Data::ReadTokenBuffer(stream, spell.Name, PrototypeNameSize);
    Data::ReadTokenBuffer(stream, spell.Description, DescriptionSize);
    spell.TargetFlags = static_cast<uint32_t>(ReadTokenInt(stream));
    spell.MinLevel = ReadTokenU16(stream);
    spell.ManaCost = ReadTokenU16(stream);
    spell.APCost = ReadTokenU16(stream);
    spell.CastExperience = ReadTokenU16(stream);
    spell.Phase = ReadTokenU16(stream);
    spell.IconID = ReadTokenInt(stream);
    spellLibrary.TryPreloadSprite(static_cast<uint32_t>(spell.IconID));
    spell.CastSpriteID = ReadTokenInt(stream);
    spell.CastSound = ReadSound(stream, effects);
    spell.CastTicks = ReadTokenInt(stream);
    spell.FlightSpriteID = ReadTokenInt(stream);
    spell.FlightSound = ReadSound(stream, effects);
    spell.FlightTicks = ReadTokenInt(stream);
    spell.FlightSpeed = ReadTokenInt(stream);
    spell.ImpactSpriteID = ReadTokenInt(stream);
    spell.ImpactSound = ReadSound(stream, effects);
    spell.ImpactTicks = ReadTokenInt(stream);
    for (int16_t& parameter : spell.Params)
        parameter = ReadToken16(stream);
}

void ReadSkill(TStream* stream, TSkillPrototype& skill) {
    skill.ID = ReadToken16(stream);
    Data::ReadTokenBuffer(stream, skill.Name, PrototypeNameSize);
    Data::ReadTokenBuffer(stream, skill.Description, DescriptionSize);
    skill.MinLevel = ReadTokenU16(stream);
    skill.APCost = ReadTokenU16(stream);
    skill.Value3 = ReadTokenInt(stream);
    ReadStats(stream, skill.PermanentDelta);
    skill.Duration = ReadTokenInt(stream);
    ReadStats(stream, skill.TemporaryDelta);
}

// Prototype files start with a title nobody reads, then the record count.
template <typename T, typename ReadRecord>
void ReadPrototypes(TStream* stream, Data::TDynamicArray<T>& records, int tokensPerRecord,
                    ReadRecord&& read) {
    Data::ReadTokenString(stream);
    records.SetCount(ReadRecordCount(stream, tokensPerRecord));
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
    ReadDataFile(GlobalsArchive, "globals", "default.txt", [&](TStream* stream) {
        for (AnsiString& name : files)
            name = Data::ReadTokenString(stream);
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
        TStream* stream = assignmentStream.get();
        for (Audio::TAudioStream*& sound : InterfaceSounds)
            sound = ReadSound(stream, EffectSounds);
        for (TWeatherSound& weather : WeatherSounds) {
            weather.SoundID = ReadTokenInt(stream);
            weather.Volume = ReadTokenInt(stream);
        }
        for (int32_t& id : MusicIDs)
            id = ReadTokenInt(stream);
    });
    assignmentStream.reset();

    ReadDataFile(GlobalsArchive, "globals", files[dfFontDescriptions], [&](TStream* stream) {
        FontDescriptions.SetCount(ReadRecordCount(stream, FontDescriptionTokens));
        for (TFontDescription& description : FontDescriptions) {
            description.ID = ReadTokenInt(stream);
            Data::ReadTokenBuffer(stream, description.FileName, FileNameSize);
            description.RefCount = 0;
            description.Font = nullptr;
        }
    });

    ReadDataFile(GlobalsArchive, "globals", files[dfCommonSpriteIDs], [&](TStream* stream) {
        for (Gfx::TSprite*& sprite : CommonSprites)
            sprite = ResolveSprite(CommonLibrary, static_cast<uint32_t>(ReadTokenInt(stream)));
        BadgeCellWidth = ReadTokenInt(stream);
        BadgeCellHeight = ReadTokenInt(stream);
    });

    ReadDataFile(GlobalsArchive, "globals", files[dfPictureIDs], [&](TStream* stream) {
        for (int32_t& id : PictureIDs)
            id = ReadTokenInt(stream);
    });

    for (int i = 0; i < UIFontCount; ++i)
        UIFonts[i] = GetFont(UIFontIDs[i]);

    ReadDataFile(GlobalsArchive, "globals", files[dfConstants], [&](TStream* stream) {
        for (int32_t& constant : GameConstants)
            constant = ReadTokenInt(stream);
        LevelCount = ReadTokenInt(stream);
        Data::CheckData(LevelCount >= 0 && LevelCount <= MaxLevelCount);
        for (int i = 0; i < LevelCount; ++i)
            Data::ReadTokenBuffer(stream, LevelFiles[i], FileNameSize);
    });

    ReadDataFile(GlobalsArchive, "globals", files[dfUnits], [&](TStream* stream) {
        ReadPrototypes(stream, UnitPrototypes, UnitTokens,
                       [&](TUnitPrototype& unit) { ReadUnit(stream, unit, EffectSounds); });
    });
    ReadDataFile(GlobalsArchive, "globals", files[dfSpells], [&](TStream* stream) {
        ReadPrototypes(stream, SpellPrototypes, SpellTokens, [&](TSpellPrototype& spell) {
            ReadSpell(stream, spell, EffectSounds, SpellLibrary);
        });
    });
    ReadDataFile(GlobalsArchive, "globals", files[dfSkills], [&](TStream* stream) {
        ReadPrototypes(stream, SkillPrototypes, SkillTokens,
                       [&](TSkillPrototype& skill) { ReadSkill(stream, skill); });
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
