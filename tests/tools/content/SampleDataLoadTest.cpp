// The sample global data load through the game's own main and global data, with
// the synthesised sounds and stand-in sprite libraries that hold every sprite ID
// the lists name.
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "tests/support/GlobalDataFixture.h"
#include "tests/support/TempDir.h"
#include "tools/SpriteWriter.h"
#include "tools/content/SoundContent.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace TestSupport;

namespace {

Tools::TBytes StandInLibrary(uint32_t first, uint32_t last) {
    std::vector<Tools::TBytes> sprites;
    for (uint32_t id = first; id <= last; ++id) {
        Tools::TSpriteOptions options;
        options.ID = id;
        sprites.push_back(Tools::EncodeSprite(
            {{4, 4, std::vector<uint32_t>(16, 0xFF000000u | id * 2654435761u)}}, options));
    }
    return Tools::EncodeSpriteLibrary(1, sprites);
}

TGlobalDataFixture SampleData() {
    TGlobalDataFixture fixture;
    auto& globals = fixture.Archives["globals"];
    globals.clear();
    for (const auto& file : std::filesystem::directory_iterator(VRN_GLOBALS_DIR))
        globals[file.path().filename().string()] = Tools::LoadPlainFile(file.path().string());

    TempDir sounds;
    Content::WriteSounds(sounds.Path());
    for (const char* name : {"effects.audl", "music.audl", "speech.audl"})
        fixture.Archives["sounds"][name] = Tools::LoadLooseFile(sounds.File(name));

    auto& graphics = fixture.Archives["graphics"];
    const Tools::TBytes font = graphics.at("font1.fnt");
    graphics.clear();
    graphics["interface.gfxl"] = StandInLibrary(1, 27);
    graphics["common.gfxl"] = StandInLibrary(1, uint32_t(Data2::CommonSpriteCount));
    graphics["pictures.gfxl"] = StandInLibrary(1, 57);
    graphics["creatures.gfxl"] = StandInLibrary(1900, 1901);
    graphics["spells.gfxl"] = StandInLibrary(1, 125);
    for (int id = 1; id <= 30; ++id)
        graphics[ClassLib::Format("font%02d.fnt", id)] = font;
    return fixture;
}

} // namespace

TEST(SampleData, LoadsThroughTheMainAndGlobalData) {
    const TInstalledData data(SampleData());
    Data2::CreateMainData();
    Data2::CreateGlobalData();
    const Data2::TMainData& main = *Data2::MainData;
    const Data2::TGlobalData& global = *Data2::GlobalData;

    for (const auto* sprite : main.Sprites)
        EXPECT_NE(sprite, nullptr);
    EXPECT_STREQ(main.IntroVideos[0], "intro1.mpg");
    EXPECT_STREQ(main.InterludeVideos[3], "interlude4.mpg");

    // Slots are the array's indices: the fog edges, the badge sheet, the dead cover.
    for (const uint32_t slot : {10u, 1033u, 1111u, 1141u}) {
        ASSERT_NE(global.CommonSprites[slot], nullptr) << slot;
        EXPECT_EQ(global.CommonSprites[slot]->ID, slot);
    }
    EXPECT_EQ(global.CommonSprites[0], nullptr); // slot 0 is free
    EXPECT_EQ(global.BadgeCellWidth, 12);
    EXPECT_EQ(global.GameConstants[Data2::gcFirstDifficulty + 2], 125);
    EXPECT_EQ(global.LevelCount, 3);
    EXPECT_STREQ(global.LevelFiles[2], "level3.scn");

    ASSERT_EQ(global.UnitPrototypes.Count(), 12);
    int heroes = 0;
    for (int i = 0; i < global.UnitPrototypes.Count(); ++i) {
        const Data2::TUnitPrototype& unit = global.UnitPrototypes[i];
        heroes += unit.IsHero;
        for (const auto* sound : unit.Sounds)
            EXPECT_NE(sound, nullptr) << unit.Name;
    }
    EXPECT_EQ(heroes, 3);
    EXPECT_STREQ(global.UnitPrototypes[global.FindUnitPrototype(9)].Name, "Fire Drake");

    EXPECT_EQ(global.SpellPrototypes.Count(), 122);
    for (const int id : {1, 33, 61, 65, 100, 125})
        EXPECT_GE(global.FindSpell(id), 0) << id;
    for (const int id : {0, 62, 64, 126})
        EXPECT_EQ(global.FindSpell(id), -1) << id;
    for (int i = 0; i < global.SpellPrototypes.Count(); ++i) {
        const Data2::TSpellPrototype& spell = global.SpellPrototypes[i];
        EXPECT_NE(spell.CastSound, nullptr) << spell.Name;
        EXPECT_NE(spell.ImpactSound, nullptr) << spell.Name;
    }
    EXPECT_EQ(global.SkillPrototypes.Count(), 64);
    EXPECT_STREQ(global.SkillPrototypes[global.FindSkill(48)].Name, "Perfect Spell Ward");

    for (const auto* sound : global.InterfaceSounds)
        EXPECT_NE(sound, nullptr);
    EXPECT_EQ(global.WeatherSounds[1].SoundID, 21);
    EXPECT_EQ(global.MusicIDs[2], 3);
    for (const auto* font : global.UIFonts)
        EXPECT_NE(font, nullptr);
}
