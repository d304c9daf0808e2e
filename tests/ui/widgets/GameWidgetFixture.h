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

    // Ticks the window system with the clock at start + elapsed milliseconds.
    void TickAt(uint32_t start, uint32_t elapsed) {
        Clock.Set(start + elapsed);
        Windows.Tick();
    }

    std::vector<std::unique_ptr<Gfx::TFont>> Fonts;
    std::vector<std::unique_ptr<Gfx::TSprite>> Sprites;
};
