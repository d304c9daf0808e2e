// The toolkit's window system on the manual clock with a global data set the test
// fills itself: fonts rasterised from DejaVu and sprites of chosen sizes made by the
// writers, put in the slots the widget set reads.
#pragma once

#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/Sprite.h"
#include "game/world/data/GlobalData.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/engine/widgets/WidgetFixture.h"
#include "tools/FontBuilder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
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
    // A sprite of plain frames, each 16 steps of blue further from the colour.
    Gfx::TSprite* MakeSprite(int width, int height, int frames = 1, uint32_t colour = 0xFF806040) {
        std::vector<Tools::TPicture> pictures;
        for (int f = 0; f < frames; ++f)
            pictures.push_back(SpriteTests::Picture(
                width, height, [colour, f](int, int) { return colour + 16 * uint32_t(f); }));
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

// The same on a display: frames drawn on white and read back.
class GameWidgetDrawingTest : public GameWidgetTest {
protected:
    static constexpr uint16_t Paper = 0xFFFF;

    void DrawFrame() {
        DrawOnPaper([this](Win32::IDirectDrawSurface7* back) { Windows.Draw(back); });
    }
    // The back buffer filled with paper, drawn on by draw, and read back.
    template <typename TDraw>
    void DrawOnPaper(TDraw draw) {
        Win32::IDirectDrawSurface7* back = Display.BackBuffer();
        Gfx::FillRect(back, 0, 0, 800, 600, Paper, nullptr);
        draw(back);
        Win32::DDSURFACEDESC2 desc;
        ASSERT_EQ(back->Lock(nullptr, &desc, 0, nullptr), Win32::DD_OK);
        Pixels.assign(800 * 600, 0);
        for (int y = 0; y < 600; ++y)
            std::memcpy(&Pixels[size_t(y) * 800],
                        static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch, 800 * 2);
        back->Unlock(nullptr);
    }
    uint16_t At(int x, int y) const { return Pixels[size_t(y) * 800 + size_t(x)]; }
    // Pixels of the colour inside and outside a rectangle.
    std::pair<int, int> CountInsideOutside(uint16_t colour, const Win32::RECT& r) const {
        int inside = 0, outside = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                if (At(x, y) == colour)
                    ++(x >= r.left && x < r.right && y >= r.top && y < r.bottom ? inside : outside);
        return {inside, outside};
    }

    // The last frame as a 24-bit BMP, for a person to look at; only when the
    // environment names a folder in VRN_SCREENSHOT_DIR.
    void SaveFrame(const char* name) const {
        const char* dir = std::getenv("VRN_SCREENSHOT_DIR");
        if (!dir)
            return;
        const uint32_t rowBytes = 800 * 3, imageBytes = rowBytes * 600;
        std::vector<uint8_t> bmp(54 + imageBytes, 0);
        const auto put32 = [&](size_t at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                bmp[at + size_t(i)] = uint8_t(v >> (8 * i));
        };
        bmp[0] = 'B';
        bmp[1] = 'M';
        put32(2, uint32_t(bmp.size()));
        put32(10, 54);
        put32(14, 40);
        put32(18, 800);
        put32(22, 600);
        bmp[26] = 1;
        bmp[28] = 24;
        put32(34, imageBytes);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const uint16_t p = At(x, y);
                uint8_t* out = &bmp[54 + size_t(599 - y) * rowBytes + size_t(x) * 3];
                out[0] = uint8_t((p & 0x1F) << 3);
                out[1] = uint8_t(((p >> 5) & 0x3F) << 2);
                out[2] = uint8_t(((p >> 11) & 0x1F) << 3);
            }
        std::FILE* file = std::fopen((std::string(dir) + "/" + name + ".bmp").c_str(), "wb");
        ASSERT_NE(file, nullptr) << dir;
        std::fwrite(bmp.data(), 1, bmp.size(), file);
        std::fclose(file);
    }

    SpriteTests::TScopedDisplay Display;
    std::vector<uint16_t> Pixels;
};
