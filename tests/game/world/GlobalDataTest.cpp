// The global data read from a whole fixture data set: every file's values land where
// the game looks for them, and bad files are refused with a message naming them.
#include "game/world/data/GlobalData.h"
#include "game/world/data/DataArchives.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/GlobalDataFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace Data2;
using TestSupport::ErrorOf;
using TestSupport::TGlobalDataFixture;
using TestSupport::TInstalledData;

TEST(GlobalData, ReadsEveryFileIntoItsPlace) {
    for (const bool packed : {false, true}) {
        SCOPED_TRACE(packed ? "packed archives" : "folders");
        TInstalledData data(TGlobalDataFixture{}, packed);
        CreateGlobalData();
        const TGlobalData& global = *GlobalData;

        EXPECT_EQ(global.CommonSprites[0], nullptr);
        ASSERT_NE(global.CommonSprites[1], nullptr);
        EXPECT_EQ(global.CommonSprites[1]->ID, 2u);
        EXPECT_EQ(global.CommonSprites[1141], global.CommonLibrary.FindSprite(1141 % 4 + 1));
        EXPECT_EQ(global.BadgeCellWidth, 8);
        EXPECT_EQ(global.BadgeCellHeight, 6);
        EXPECT_EQ(global.PictureIDs[0], 1);
        EXPECT_EQ(global.PictureIDs[56], 1);
        EXPECT_EQ(global.GameConstants[1], 1);
        EXPECT_EQ(global.GameConstants[36], 100);
        EXPECT_EQ(global.GameConstants[41], 41);
        EXPECT_EQ(global.LevelCount, 3);
        EXPECT_STREQ(global.LevelFiles[2], "level 3.scn");
        EXPECT_STREQ(global.LevelFiles[3], "");

        ASSERT_EQ(global.UnitPrototypes.Count(), 3);
        const TUnitPrototype& unit = global.UnitPrototypes[1];
        EXPECT_EQ(unit.ID, 2);
        EXPECT_EQ(unit.Stats.Level(), 1);
        EXPECT_EQ(unit.Stats.Words[47], (7 + 47) % 50);
        // Masks are written learnable spells, spells, learnable skills, skills.
        EXPECT_EQ(unit.Stats.LearnableSpells, 3u);
        EXPECT_EQ(unit.Stats.Spells, 1u);
        EXPECT_EQ(unit.Stats.LearnableSkills, 5u);
        EXPECT_EQ(unit.Stats.Skills, 0u);
        EXPECT_EQ(unit.PortraitID, 2);
        EXPECT_EQ(unit.IdleAnimMode, 1);
        EXPECT_EQ(unit.IdleAnimPeriod, 201u);
        EXPECT_EQ(unit.SpriteIDs[9][7], 2);
        EXPECT_EQ(unit.SpriteIDs[3][0], 0);
        EXPECT_EQ(unit.CreatureType, 1);
        EXPECT_EQ(unit.IsHero, 1);
        EXPECT_STREQ(unit.Name, "Creature 2");
        EXPECT_NE(unit.Sounds[0], nullptr);
        EXPECT_EQ(unit.Sounds[1], nullptr);
        EXPECT_EQ(unit.ApproachOffset, -1);
        EXPECT_EQ(unit.TargetOffset, 1);
        EXPECT_STREQ(unit.Description, "A creature of kind 2.");
        EXPECT_EQ(unit.Loaded, 1);

        ASSERT_EQ(global.SpellPrototypes.Count(), 4);
        const TSpellPrototype& spell = global.SpellPrototypes[2];
        EXPECT_EQ(spell.ID, 65);
        EXPECT_EQ(spell.Group, 2);
        EXPECT_STREQ(spell.Name, "Ability 1");
        EXPECT_EQ(spell.TargetFlags, 4u);
        EXPECT_EQ(spell.MinLevel, 3);
        EXPECT_EQ(spell.ManaCost, 7);
        EXPECT_EQ(spell.APCost, 4);
        EXPECT_EQ(spell.CastExperience, 12);
        EXPECT_EQ(spell.Phase, 2);
        EXPECT_EQ(spell.IconID, 3);
        EXPECT_NE(global.SpellLibrary.FindSprite(3), nullptr); // icons are preloaded
        EXPECT_NE(spell.CastSound, nullptr);
        EXPECT_EQ(spell.FlightSound, nullptr);
        EXPECT_EQ(spell.FlightSpeed, 150);
        EXPECT_NE(spell.ImpactSound, nullptr);
        EXPECT_EQ(spell.ImpactTicks, 5);
        EXPECT_EQ(spell.Params[9], 92);

        ASSERT_EQ(global.SkillPrototypes.Count(), 3);
        const TSkillPrototype& skill = global.SkillPrototypes[1];
        EXPECT_EQ(skill.ID, 2);
        EXPECT_EQ(skill.Value3, 1);
        EXPECT_EQ(skill.Duration, 3);
        EXPECT_EQ(skill.PermanentDelta.LearnableSkills, 5u);
        EXPECT_EQ(skill.TemporaryDelta.LearnableSkills, 0u);

        EXPECT_EQ(global.FontDescriptions.Count(), 10);
        for (Gfx::TFont* font : global.UIFonts)
            EXPECT_NE(font, nullptr);
        EXPECT_EQ(global.FontDescriptions[global.FindFontDescription(27)].RefCount, 1);
        EXPECT_EQ(global.FontDescriptions[global.FindFontDescription(9)].Font, nullptr);

        for (Audio::TAudioStream* sound : global.InterfaceSounds)
            EXPECT_NE(sound, nullptr);
        EXPECT_EQ(global.WeatherSounds[2].SoundID, 21);
        EXPECT_EQ(global.WeatherSounds[2].Volume, 60);
        EXPECT_EQ(global.MusicIDs[2], 3);

        // Loading made no device surface: that is the main thread's work afterwards.
        EXPECT_FALSE(global.CommonSprites[1]->HasSurfaces());
        EXPECT_FALSE(global.UIFonts[2]->SurfaceBuilt());
    }
}

} // namespace

namespace {

// One change to a valid data set and the message loading must then end with.
struct TBadData {
    const char* What;
    void (*Change)(TGlobalDataFixture&);
    const char* Message;
    bool Packed = false; // a missing file reads differently from a folder
};

void Replace(TGlobalDataFixture& fixture, const char* file, const std::string& from,
             const std::string& to) {
    std::string text = fixture.Text("globals", file);
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    fixture.SetText("globals", file, text.replace(at, from.size(), to));
}

const TBadData BadData[] = {
    {"more levels than the list holds",
     [](TGlobalDataFixture& f) { Replace(f, "constants.txt", "\n3\n", "\n31\n"); },
     "globals/constants.txt: Invalid data."},
    {"a negative level count",
     [](TGlobalDataFixture& f) { Replace(f, "constants.txt", "\n3\n", "\n-1\n"); },
     "globals/constants.txt: Invalid data."},
    {"a level file name of 128 characters",
     [](TGlobalDataFixture& f) {
         Replace(f, "constants.txt", "level1.scn", std::string(128, 'a'));
     },
     "globals/constants.txt: Invalid data."},
    {"more units than the file can hold",
     [](TGlobalDataFixture& f) { Replace(f, "units.txt", "\n3\n", "\n2000000000\n"); },
     "globals/units.txt: Invalid data."},
    {"a negative spell count",
     [](TGlobalDataFixture& f) { Replace(f, "spells.txt", "\n4\n", "\n-4\n"); },
     "globals/spells.txt: Invalid data."},
    {"more skills than the file can hold",
     [](TGlobalDataFixture& f) { Replace(f, "skills.txt", "\n3\n", "\n100\n"); },
     "globals/skills.txt: Invalid data."},
    {"more font descriptions than the file can hold",
     [](TGlobalDataFixture& f) { Replace(f, "fonts.txt", "10\n", "99999\n"); },
     "globals/fonts.txt: Invalid data."},
    {"a missing file", [](TGlobalDataFixture& f) { f.Remove("globals", "skills.txt"); },
     "globals/skills.txt: File not found in archive.", true},
    {"a missing sprite library",
     [](TGlobalDataFixture& f) { f.Remove("graphics", "creatures.gfxl"); },
     "graphics/creatures.gfxl: File not found in archive.", true},
    {"a damaged sprite library",
     [](TGlobalDataFixture& f) { f.Archives["graphics"]["common.gfxl"].resize(30); },
     "graphics/common.gfxl: Invalid data."},
    {"a damaged font",
     [](TGlobalDataFixture& f) { f.Archives["graphics"]["font3.fnt"].resize(40); },
     "graphics/font3.fnt: Invalid data."},
    {"a word that is not a number",
     [](TGlobalDataFixture& f) { Replace(f, "spells.txt", "\n65 ", "\nsixty-five "); },
     "globals/spells.txt: 'sixty-five' is not a valid integer value"},
    {"a hero flag of 2",
     [](TGlobalDataFixture& f) {
         Replace(f, "units.txt", " 1 \"Creature 1\"", " 2 \"Creature 1\"");
     },
     "globals/units.txt: Invalid data."},
    {"a mask that is not binary",
     [](TGlobalDataFixture& f) { Replace(f, "skills.txt", "0011", "0021"); },
     "globals/skills.txt: '0021' is not a valid binary value."},
    {"a common sprite the library lacks",
     [](TGlobalDataFixture& f) { Replace(f, "common.txt", "\n0 2 ", "\n0 99 "); },
     "globals/common.txt: Sprite with given ID not found (99)."},
    {"a unit sound the effects lack",
     [](TGlobalDataFixture& f) { Replace(f, "units.txt", "\n1 0 1 0 0\n", "\n77 0 1 0 0\n"); },
     "globals/units.txt: Audio stream with given ID not found (77)."},
    {"an interface font without a description",
     [](TGlobalDataFixture& f) { Replace(f, "fonts.txt", "27 font27.fnt", "28 font27.fnt"); },
     "Font description with ID = 27 not found!"},
    {"a list of fewer than 18 files",
     [](TGlobalDataFixture& f) {
         f.SetText("globals", "default.txt", "iface.txt iface.gfxl videos.txt\n");
     },
     "globals/default.txt: Stream read error"},
    {"a unit record cut short",
     [](TGlobalDataFixture& f) {
         std::string text = f.Text("globals", "units.txt");
         f.SetText("globals", "units.txt", text.substr(0, text.size() - 40));
     },
     "globals/units.txt: Stream read error"},
};

class GlobalDataRefuses : public ::testing::TestWithParam<TBadData> {};

TEST_P(GlobalDataRefuses, BadDataWithAMessageNamingTheFile) {
    TGlobalDataFixture fixture;
    GetParam().Change(fixture);
    TInstalledData data(fixture, GetParam().Packed);
    EXPECT_EQ(ErrorOf([] { CreateGlobalData(); }), GetParam().Message) << GetParam().What;
    EXPECT_EQ(GlobalData, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, GlobalDataRefuses, ::testing::ValuesIn(BadData));

TEST(GlobalData, AcceptsLongestNamesAndIgnoresPrototypeTitles) {
    TGlobalDataFixture fixture;
    const std::string longest(127, 'n');
    Replace(fixture, "constants.txt", "level1.scn", longest);
    Replace(fixture, "units.txt", "\"Creatures\"", "3");
    Replace(fixture, "spells.txt", "Spells", "\"anything at all\"");
    TInstalledData data(fixture);
    CreateGlobalData();
    EXPECT_EQ(GlobalData->LevelFiles[0], longest);
    EXPECT_EQ(GlobalData->UnitPrototypes.Count(), 3);
    EXPECT_EQ(GlobalData->SpellPrototypes.Count(), 4);
}

TEST(GlobalData, FindsPrototypesByIDInFileOrder) {
    TGlobalData global{TEmptyGlobalData{}};
    global.SpellPrototypes.SetCount(3);
    global.SpellPrototypes[0].ID = 12;
    global.SpellPrototypes[1].ID = -2;
    global.SpellPrototypes[2].ID = 12;
    global.SkillPrototypes.SetCount(1);
    global.SkillPrototypes[0].ID = 64;
    global.UnitPrototypes.SetCount(2);
    global.UnitPrototypes[0].ID = 70000;
    global.UnitPrototypes[1].ID = 4;

    EXPECT_EQ(global.FindSpell(12), 0);
    EXPECT_EQ(global.FindSpell(65534), 1); // compared as 16-bit values
    EXPECT_EQ(global.FindSpell(13), -1);
    EXPECT_EQ(global.FindSkill(64), 0);
    EXPECT_EQ(global.FindSkill(65), -1);
    EXPECT_EQ(global.FindUnitPrototype(4), 1);
    EXPECT_EQ(global.FindUnitPrototype(70000 - 65536), -1); // units compare whole IDs
}

TEST(GlobalData, FontsAreMadeOnceAndFreedWithTheirLastHolder) {
    TInstalledData data(TGlobalDataFixture{});
    CreateGlobalData();
    TGlobalData& global = *GlobalData;
    const int description = global.FindFontDescription(9);

    Gfx::TFont* first = global.GetFont(9);
    Gfx::TFont* second = global.GetFont(9);
    EXPECT_EQ(first, second);
    EXPECT_EQ(global.FontDescriptions[description].RefCount, 2);
    EXPECT_EQ(global.ReleaseFont(first), 1);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(global.ReleaseFont(second), 0);
    EXPECT_EQ(global.FontDescriptions[description].Font, nullptr);
    EXPECT_EQ(global.ReleaseFont(second), 0); // a null slot: nothing happens

    EXPECT_EQ(ErrorOf([&] { global.GetFont(10); }), "Font description with ID = 10 not found!");
    Gfx::TFont stranger;
    Gfx::TFont* slot = &stranger;
    EXPECT_EQ(ErrorOf([&] { global.ReleaseFont(slot); }),
              "Font description with given pointer not found!");

    // Fonts still held when the data go are freed with them (the sanitizer sees leaks).
    global.GetFont(9);
    global.GetFont(9);
}

} // namespace
