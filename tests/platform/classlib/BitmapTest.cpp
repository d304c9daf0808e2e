#include "platform/classlib/Bitmap.h"
#include "platform/classlib/Exception.h"
#include "tests/support/TempDir.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>

using ClassLib::TBitmap;
using ClassLib::TPixelFormat;

namespace {

// The pixel SDL reads at x, y, as 0xRRGGBB.
uint32_t PixelAt(SDL_Surface* surface, int x, int y) {
    const int bytes = surface->format->BytesPerPixel;
    uint32_t pixel = 0;
    std::memcpy(&pixel, static_cast<uint8_t*>(surface->pixels) + y * surface->pitch + x * bytes,
                size_t(bytes));
    uint8_t r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

} // namespace

TEST(Bitmap, SavesRowsTopDownAsAnotherReaderSeesThem) {
    const struct {
        TPixelFormat format;
        uint32_t red, green, blue;
        uint32_t white, red1, blue1;
    } layouts[] = {
        {TPixelFormat::pf16bit, 0xF800, 0x07E0, 0x001F, 0xFFFF, 0xF800, 0x001F}, // RGB565
        {TPixelFormat::pf16bit, 0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x7C00, 0x001F}, // RGB555
        {TPixelFormat::pf32bit, 0xFF0000, 0xFF00, 0xFF, 0xFFFFFF, 0xFF0000, 0x0000FF},
    };
    TestSupport::TempDir dir;
    for (const auto& layout : layouts) {
        TBitmap bitmap(3, 2); // 16-bit rows of 6 bytes, stored padded to 8
        bitmap.SetPixelFormat(layout.format);
        if (layout.format == TPixelFormat::pf16bit)
            bitmap.SetColorMasks(layout.red, layout.green, layout.blue);
        const Win32::TPixelView pixels = bitmap.Pixels();
        const auto set = [&](int x, int y, uint32_t value) {
            std::memcpy(pixels.At(x, y), &value, size_t(pixels.BytesPerPixel));
        };
        set(0, 0, layout.white);
        set(2, 0, layout.red1);
        set(1, 1, layout.blue1);
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
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    EXPECT_THROW(bitmap.ScanLine(0), ClassLib::Exception); // its rows are not 16-bit
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
