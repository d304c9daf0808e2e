// The toolkit's window system on the manual clock with a global data set the test
// fills itself: fonts rasterised from DejaVu and sprites of chosen sizes made by the
// writers, put in the slots the widget set reads.
#pragma once

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/Sprite.h"
#include "game/world/data/GlobalData.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/engine/widgets/WidgetFixture.h"
#include "tools/FontBuilder.h"

#include <algorithm>
#include <memory>
#include <vector>

class GameWidgetTest : public WidgetTest {
protected:
    GameWidgetTest() {
        Data2::GlobalData = std::make_unique<Data2::TGlobalData>(Data2::TEmptyGlobalData{});
    }
    ~GameWidgetTest() override {
        // The fonts are the test's, not the descriptions'.
        for (Gfx::TFont*& font : Data2::GlobalData->UIFonts)
            font = nullptr;
        Data2::GlobalData.reset();
    }

    // Interface font 0 or 1, made again for every test (after a display, in its format).
    Gfx::TFont& UseFont(int index, int pixelSize = 14) {
        auto& font = Fonts.emplace_back(std::make_unique<Gfx::TFont>());
        Tools::TFontBuildOptions options;
        options.PixelSize = pixelSize;
        Tools::BuildFont(Tools::DefaultFontFile, options, *font);
        if (D3DFrame::D3DFramework)
            font->ConvertToDisplayFormat(16, Gfx::IsDisplayRGB565);
        Data2::GlobalData->UIFonts[index] = font.get();
        return *font;
    }
    // A sprite of plain frames in one colour each, lent to the common sprite slot.
    Gfx::TSprite* MakeSprite(int width, int height, int frames = 1, uint32_t colour = 0xFF806040) {
        std::vector<Tools::TPicture> pictures;
        for (int f = 0; f < frames; ++f)
            pictures.push_back(SpriteTests::Picture(
                width, height, [colour, f](int, int) { return colour + uint32_t(f); }));
        return Sprites.emplace_back(SpriteTests::LoadSprite(Tools::EncodeSprite(pictures, {})))
            .get();
    }
    Gfx::TSprite* UseSprite(int slot, int width, int height, int frames = 1) {
        return Data2::GlobalData->CommonSprites[slot] = MakeSprite(width, height, frames);
    }

    // Pictures of the sizes given, in the picture slots given (each picture's ID is its
    // slot + 1), as the only pictures of the picture library.
    struct TPictureSize {
        int Slot;
        int Width;
        int Height;
        int Frames = 1;
    };
    void UsePictures(std::vector<TPictureSize> pictures) {
        std::sort(pictures.begin(), pictures.end(),
                  [](const TPictureSize& a, const TPictureSize& b) { return a.Slot < b.Slot; });
        std::vector<Tools::TBytes> records;
        for (const TPictureSize& picture : pictures) {
            Tools::TSpriteOptions options;
            options.ID = uint32_t(picture.Slot + 1);
            const std::vector<Tools::TPicture> frames(
                size_t(picture.Frames), SpriteTests::Picture(picture.Width, picture.Height,
                                                             [](int, int) { return 0xFF806040u; }));
            records.push_back(Tools::EncodeSprite(frames, options));
            Data2::GlobalData->PictureIDs[picture.Slot] = picture.Slot + 1;
        }
        Data2::GlobalData->PictureLibrary.OpenDirectory(
            std::make_unique<ClassLib::TMemoryStream>(Tools::EncodeSpriteLibrary(1, records)));
    }

    // Ticks the window system with the clock at start + elapsed milliseconds.
    void TickAt(uint32_t start, uint32_t elapsed) {
        Clock.Set(start + elapsed);
        Windows.Tick();
    }

    std::vector<std::unique_ptr<Gfx::TFont>> Fonts;
    std::vector<std::unique_ptr<Gfx::TSprite>> Sprites;
};
