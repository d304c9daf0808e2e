// The archives, the folder of saved games and the main data.
#include "game/world/data/MainData.h"
#include "engine/core/Base.h"
#include "game/world/data/DataArchives.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/GlobalDataFixture.h"
#include "tests/support/TempDir.h"
#include "tools/SpriteWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace Data2;
using TestSupport::ErrorOf;
using TestSupport::TGlobalDataFixture;
using TestSupport::TInstalledData;

TEST(DataArchives, OpenInOrderAndMakeTheFolderOfSavedGames) {
    EXPECT_EQ(SavePath, "");
    TGlobalDataFixture fixture;
    TInstalledData data(fixture);
    EXPECT_EQ(SavePath, data.Path() + "Save/");
    EXPECT_TRUE(std::filesystem::is_directory(data.Path() + "Save"));
    ASSERT_NE(GlobalsArchive, nullptr);
    EXPECT_EQ(GraphicsArchive->Name, "graphics");
    EXPECT_EQ(ScenarioArchive->Name, "scenario");
    EXPECT_EQ(SoundsArchive->Name, "sounds");
    CloseDataArchives();
    EXPECT_EQ(GlobalsArchive, nullptr);
    EXPECT_EQ(SoundsArchive, nullptr);

    // A missing archive ends the opening; those opened before it stay open.
    std::filesystem::remove_all(data.Path() + "scenario");
    EXPECT_EQ(ErrorOf([] { OpenDataArchives(); }), "Archive 'scenario' not found.");
    EXPECT_NE(GraphicsArchive, nullptr);
    EXPECT_EQ(ScenarioArchive, nullptr);

    // A damaged packed archive is named.
    CloseDataArchives();
    std::filesystem::remove_all(data.Path() + "sounds");
    std::filesystem::create_directories(data.Path() + "scenario");
    for (const Tools::TBytes& bytes :
         {Tools::TBytes{'D', 'A', 'T', 'A', 9}, Tools::TBytes(16, 0)}) {
        Tools::SaveLooseFile(data.Path() + "sounds.dat", bytes);
        EXPECT_EQ(ErrorOf([] { OpenDataArchives(); }), "Archive 'sounds': Invalid data.");
        CloseDataArchives();
    }
}

TEST(MainData, ReadsTheInterfaceSpritesAndVideoNames) {
    TInstalledData data(TGlobalDataFixture{});
    CreateMainData();
    const TMainData& main = *MainData;
    ASSERT_NE(main.Sprites[msPointerCursor], nullptr);
    EXPECT_EQ(main.Sprites[msPointerCursor]->ID, 1u);
    EXPECT_EQ(main.Sprites[1], nullptr);
    EXPECT_EQ(main.Sprites[3]->ID, 2u);
    ASSERT_NE(main.Sprites[msLoadingPicture], nullptr);
    EXPECT_EQ(main.Sprites[msLoadingPicture]->Width, 20);
    EXPECT_STREQ(main.IntroVideos[2], "intro 3.avi");
    EXPECT_STREQ(main.EndingVideos[1], "end2.avi");
    EXPECT_STREQ(main.InterludeVideos[3], "inter4.avi");
    FreeMainData();
    EXPECT_EQ(MainData, nullptr);
}

TEST(MainData, RefusesBadFilesNamingThem) {
    const struct {
        const char* File;
        std::string Text;
        const char* Message;
    } cases[] = {
        {"videos.txt", "a b c d e f g h " + std::string(128, 'v') + "\n",
         "globals/videos.txt: Invalid data."},
        {"videos.txt", "a b c\n", "globals/videos.txt: Stream read error"},
        {"iface.txt", "1 9\n", "globals/iface.txt: Sprite with given ID not found (9)."},
        {"default.txt", "iface.txt iface.gfxl\n", "globals/default.txt: Stream read error"},
    };
    for (const auto& c : cases) {
        TGlobalDataFixture fixture;
        fixture.SetText("globals", c.File, c.Text);
        TInstalledData data(fixture);
        EXPECT_EQ(ErrorOf([] { CreateMainData(); }), c.Message) << c.Text;
        EXPECT_EQ(MainData, nullptr);
    }
}

TEST(ResolveSprite, FindsSpritesOfBothLibraryModes) {
    Tools::TSpriteOptions options;
    std::vector<Tools::TBytes> records;
    for (uint32_t id : {3u, 8u}) {
        options.ID = id;
        records.push_back(
            Tools::EncodeSprite({{2, 2, std::vector<uint32_t>(4, 0xFF0000FF)}}, options));
    }
    const Tools::TBytes bytes = Tools::EncodeSpriteLibrary(1, records);

    Gfx::TSpriteList inMemory(0);
    ClassLib::TMemoryStream stream(bytes);
    inMemory.LoadFromStream(&stream);
    EXPECT_EQ(ResolveSprite(inMemory, 0), nullptr);
    EXPECT_EQ(ResolveSprite(inMemory, 8)->ID, 8u);
    EXPECT_EQ(ErrorOf([&] { ResolveSprite(inMemory, 5); }), "Object with given ID not found (5).");

    Gfx::TSpriteList directory(17);
    directory.OpenDirectory(std::make_unique<ClassLib::TMemoryStream>(bytes));
    directory.PreloadAll();
    EXPECT_EQ(ResolveSprite(directory, 3)->ID, 3u);
    EXPECT_EQ(ErrorOf([&] { ResolveSprite(directory, 5); }), "Sprite with given ID not found (5).");
}

} // namespace
