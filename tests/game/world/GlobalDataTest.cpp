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
        EXPECT_STREQ(spell.Name, "Spell 65");
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
