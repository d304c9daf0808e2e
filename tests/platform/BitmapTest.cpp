#include "platform/Bitmap.h"
#include "platform/Exception.h"
#include "tests/support/TempDir.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>

using ClassLib::TBitmap;

namespace {

// The pixel SDL reads at x, y, as 0xRRGGBB.
uint32_t PixelAt(SDL_Surface* surface, int x, int y) {
    uint16_t pixel = 0;
    std::memcpy(&pixel, static_cast<uint8_t*>(surface->pixels) + y * surface->pitch + x * 2, 2);
    uint8_t r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

} // namespace

TEST(Bitmap, SavesRowsTopDownAsAnotherReaderSeesThem) {
    const struct {
        uint32_t red, green, blue;
        uint16_t white, red1, blue1;
    } layouts[] = {
        {0xF800, 0x07E0, 0x001F, 0xFFFF, 0xF800, 0x001F}, // RGB565
        {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x7C00, 0x001F}, // RGB555
    };
    TestSupport::TempDir dir;
    for (const auto& layout : layouts) {
        TBitmap bitmap(3, 2); // rows of 6 bytes, stored padded to 8
        bitmap.SetColorMasks(layout.red, layout.green, layout.blue);
        bitmap.ScanLine(0)[0] = layout.white;
        bitmap.ScanLine(0)[2] = layout.red1;
        bitmap.ScanLine(1)[1] = layout.blue1;
        const std::string name = dir.File("picture.bmp");
        bitmap.SaveToFile(name);

        SDL_Surface* read = SDL_LoadBMP(name.c_str());
        ASSERT_NE(read, nullptr) << SDL_GetError();
        EXPECT_EQ(read->w, 3);
        EXPECT_EQ(read->h, 2);
        EXPECT_EQ(PixelAt(read, 0, 0), 0xFFFFFFu);
        EXPECT_EQ(PixelAt(read, 1, 0), 0u);
        EXPECT_EQ(PixelAt(read, 2, 0), 0xFF0000u);
        EXPECT_EQ(PixelAt(read, 1, 1), 0x0000FFu);
        SDL_FreeSurface(read);
    }
}

TEST(Bitmap, ScanLinesOutsideTheBitmapAreRefused) {
    TBitmap bitmap(4, 4);
    EXPECT_THROW(bitmap.ScanLine(4), ClassLib::Exception);
    EXPECT_THROW(bitmap.ScanLine(-1), ClassLib::Exception);
    bitmap.SetSize(-3, 2);
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 2);
    ClassLib::TMemoryStream empty;
    TBitmap().SaveToStream(empty);
    EXPECT_EQ(empty.GetSize(), 66);
}

TEST(Bitmap, AFileThatCannotBeWrittenIsNamed) {
    try {
        TBitmap(1, 1).SaveToFile("/proc/vrn-no-such-folder/shot.bmp");
        ADD_FAILURE() << "no error";
    } catch (const ClassLib::Exception& e) {
        EXPECT_NE(e.Message.find("shot.bmp"), std::string::npos) << e.Message;
    }
}
