// The content the build generates beside the game: data.ini leads to the four archives,
// the main and global data load from them, every ID the text data name exists in its
// library, and every sprite of every library decodes.
#include "tests/tools/content/GeneratedContent.h"
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/graphics/SpriteList.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/scenario/Scenario.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tools/levels/LevelServices.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using namespace Data2;

using TestSupport::GeneratedContent;

// IDs of a library that the data name, checked by loading each.
void ExpectSprites(Gfx::TSpriteList& library, const std::vector<int32_t>& ids, const char* what) {
    for (const int32_t id : ids) {
        if (id == 0)
            continue;
        Gfx::TSprite* sprite = library.TryAcquireSprite(uint32_t(id));
        EXPECT_NE(sprite, nullptr) << what << " sprite " << id;
        library.ReleaseSpriteByPointer(sprite);
    }
}

} // namespace

TEST_F(GeneratedContent, LoadsThroughMainAndGlobalDataWithEveryNamedIDPresent) {
    SpriteTests::TScopedDisplay display;
    OpenDataArchives();
    for (const auto* archive :
         {&GlobalsArchive, &GraphicsArchive, &ScenarioArchive, &SoundsArchive})
        ASSERT_NE(archive->get(), nullptr);
    CreateMainData();
    for (int slot = 0; slot < MainSpriteCount; ++slot)
        EXPECT_NE(MainData->Sprites[slot], nullptr) << "interface slot " << slot;
    EXPECT_EQ(MainData->Sprites[msLoadingPicture]->Width, 800);
    EXPECT_EQ(MainData->Sprites[msLoadingPicture]->Height, 600);

    CreateGlobalData();
    TGlobalData& global = *GlobalData;
    global.PrepareSurfaces();
    EXPECT_EQ(global.CommonSprites[0], nullptr);
    for (int slot = 1; slot < CommonSpriteCount; ++slot)
        EXPECT_NE(global.CommonSprites[slot], nullptr) << "common slot " << slot;
    EXPECT_EQ(global.CommonSprites[10 + 511]->Width, 40); // a fog edge fills its cell
    for (Gfx::TFont* font : global.UIFonts)
        EXPECT_NE(font, nullptr);
    for (int i = 0; i < global.FontDescriptions.Count(); ++i) {
        Gfx::TFont* font = global.GetFont(global.FontDescriptions[i].ID);
        EXPECT_GT(font->CellHeight(), 0);
        global.ReleaseFont(font);
    }
    ExpectSprites(global.PictureLibrary,
                  std::vector<int32_t>(std::begin(global.PictureIDs), std::end(global.PictureIDs)),
                  "picture");
    EXPECT_GE(global.UnitPrototypes.Count(), 10);
    for (int i = 0; i < global.UnitPrototypes.Count(); ++i) {
        const TUnitPrototype& unit = global.UnitPrototypes[i];
        std::vector<int32_t> ids{unit.PortraitID, unit.DetailPictureID, unit.PictureID3};
        for (const auto& set : unit.SpriteIDs)
            ids.insert(ids.end(), std::begin(set), std::end(set));
        ExpectSprites(global.CreatureLibrary, ids, unit.Name);
    }
    for (int i = 0; i < global.SpellPrototypes.Count(); ++i) {
        const TSpellPrototype& spell = global.SpellPrototypes[i];
        ExpectSprites(
            global.SpellLibrary,
            {spell.IconID, spell.CastSpriteID, spell.FlightSpriteID, spell.ImpactSpriteID},
            spell.Name);
    }
}

TEST_F(GeneratedContent, EveryInterfaceFontShowsItsTextOnceItsSurfaceIsBuilt) {
    SpriteTests::TScopedDisplay display;
    OpenDataArchives();
    CreateMainData();
    CreateGlobalData();
    GlobalData->PrepareSurfaces(); // builds the glyph surfaces of fonts 3 and 4
    Win32::IDirectDrawSurface7* back = display.BackBuffer();
    for (int i = 0; i < UIFontCount; ++i) {
        SCOPED_TRACE("interface font " + std::to_string(i));
        Gfx::FillRect(back, 0, 0, 200, 40, 0xFFFF, nullptr);
        GlobalData->UIFonts[i]->DrawString(back, 5, 5, nullptr, 0, "Gold 1000");
        Win32::DDSURFACEDESC2 desc;
        ASSERT_EQ(back->Lock(nullptr, &desc, 0, nullptr), Win32::DD_OK);
        int inked = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x)
                inked +=
                    reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(desc.lpSurface) +
                                                      y * desc.lPitch)[x] != 0xFFFF;
        back->Unlock(nullptr);
        EXPECT_GT(inked, 20);
    }
}

TEST_F(GeneratedContent, TheMiniMapAndCommandBarArtFitsTheirWindows) {
    OpenDataArchives();
    CreateMainData();
    CreateGlobalData();
    const auto size = [](int slot) {
        const Gfx::TSprite& sprite = *GlobalData->CommonSprites[slot];
        return std::array<int, 4>{sprite.Width, sprite.Height, sprite.HotSpotX, sprite.HotSpotY};
    };
    EXPECT_EQ(size(1053), (std::array<int, 4>{183, 153, 0, 0}));
    EXPECT_EQ(size(1063), (std::array<int, 4>{145, 145, 0, 0}));
    for (int slot = 1064; slot <= 1077; ++slot)
        EXPECT_EQ(size(slot), (std::array<int, 4>{40, 40, 20, 20})) << "slot " << slot;
}

TEST_F(GeneratedContent, TheSpellBookButtonArtCoversItsButtonExactly) {
    OpenDataArchives();
    CreateMainData();
    CreateGlobalData();
    // Drawn centred on the unit panel's 28-pixel button by the hot spot.
    for (const int slot : {1055, 1056}) {
        const Gfx::TSprite& sprite = *GlobalData->CommonSprites[slot];
        EXPECT_EQ(
            (std::array<int, 4>{sprite.Width, sprite.Height, sprite.HotSpotX, sprite.HotSpotY}),
            (std::array<int, 4>{28, 28, 14, 14}))
            << "slot " << slot;
    }
}

TEST_F(GeneratedContent, EverySpriteOfEveryLibraryDecodes) {
    const Data::TArchive graphics("graphics", Data::arAutomatic);
    int libraries = 0;
    for (int i = 0; i < graphics.Count(); ++i) {
        const std::string name = graphics.GetFileName(i);
        if (!name.ends_with(".gfxl"))
            continue;
        ++libraries;
        Gfx::TSpriteList library(Gfx::slDirectory);
        library.LoadFromArchive(graphics, name);
        EXPECT_GT(library.Directory().size(), 0u) << name;
        for (const Gfx::TSpriteEntry& entry : library.Directory()) {
            Gfx::TSprite* sprite = library.AcquireSpriteByID(entry.ID); // checks every frame
            ASSERT_GT(sprite->Width, 0) << name << " " << entry.ID;
            ClassLib::TBitmap bitmap(sprite->Width, sprite->Height);
            for (int frame = 0; frame < sprite->FrameCount(); ++frame)
                Gfx::DrawSpriteToBitmap(sprite, &bitmap, frame, 0, 0, nullptr);
            library.ReleaseSpriteByPointer(sprite);
        }
    }
    EXPECT_EQ(libraries, 5);
}

// Text data files end every line with CR LF: after a bare LF a trailing comment would
// run on into the next line.
TEST_F(GeneratedContent, EveryTextDataFileEndsItsLinesWithCRLF) {
    int files = 0;
    for (const char* name : {"globals", "scenario"}) {
        const Data::TArchive archive(name, Data::arAutomatic);
        for (int i = 0; i < archive.Count(); ++i) {
            const std::string file = archive.GetFileName(i);
            if (!file.ends_with(".txt"))
                continue;
            SCOPED_TRACE(std::string(name) + "/" + file);
            ++files;
            const auto stream = archive.OpenFile(file);
            std::string text(size_t(stream->GetSize()), '\0');
            stream->ReadBuffer(text.data(), int64_t(text.size()));
            ASSERT_GE(text.size(), 2u);
            EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
            // The line of the first line end that is not CR LF, or 0.
            int line = 1, badLine = 0;
            for (size_t at = 0; at < text.size() && badLine == 0; ++at) {
                const bool crlf = at + 1 < text.size() && text[at] == '\r' && text[at + 1] == '\n';
                if (crlf) {
                    ++at;
                    ++line;
                } else if (text[at] == '\r' || text[at] == '\n') {
                    badLine = line;
                }
            }
            EXPECT_EQ(badLine, 0);
        }
    }
    // The eleven global files and the levels' scenery prototypes.
    EXPECT_GE(files, 12);
}

// The campaign list names levels the "scenario" archive holds, and each loads whole.
TEST_F(GeneratedContent, EveryCampaignLevelLoadsFromTheScenarioArchive) {
    SpriteTests::TScopedDisplay display;
    OpenDataArchives();
    CreateMainData();
    CreateGlobalData();
    ASSERT_EQ(GlobalData->LevelCount, 3);
    for (int level = 0; level < GlobalData->LevelCount; ++level) {
        SCOPED_TRACE(GlobalData->LevelFiles[level]);
        const auto stream = ScenarioArchive->OpenFile(GlobalData->LevelFiles[level]);
        const std::unique_ptr<GameData::TScenario> scenario = Tools::LoadLevel(*stream);
        EXPECT_GE(scenario->Width, 64);
        EXPECT_GE(scenario->PlayerCount(), 3);
        EXPECT_GT(scenario->Objects.Count(), 0);
    }
}
