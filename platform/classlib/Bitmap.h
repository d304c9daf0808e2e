// The class library's bitmap, as far as the program uses it: 16- or 32-bit pixels
// with scan-line access, saved as a BMP file. The colour masks are stored in the file,
// so a picture of an RGB565 or an RGB555 display keeps its colours.
#pragma once

#include "platform/PixelView.h"
#include "platform/classlib/AnsiString.h"
#include "platform/classlib/Streams.h"

#include <cstdint>
#include <vector>

namespace ClassLib {

enum class TPixelFormat { pf16bit, pf32bit };

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int32_t width, int32_t height) { SetSize(width, height); }

    // Negative sizes count as 0; the pixels become 0.
    void SetSize(int32_t width, int32_t height);
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }

    // Changing the format makes the pixels 0 and the masks the format's own: RGB565
    // for 16 bits, 8 bits each (X8R8G8B8) for 32 bits.
    void SetPixelFormat(TPixelFormat format);
    TPixelFormat PixelFormat() const { return FFormat; }
    int32_t BytesPerPixel() const { return FFormat == TPixelFormat::pf16bit ? 2 : 4; }

    // The masks of red, green and blue in a pixel.
    void SetColorMasks(uint32_t red, uint32_t green, uint32_t blue);
    uint32_t RedMask() const { return FMasks[0]; }
    uint32_t GreenMask() const { return FMasks[1]; }
    uint32_t BlueMask() const { return FMasks[2]; }

    // Row 0 is the top row; Width() 16-bit pixels. A row outside the bitmap
    // raises "Scan line index out of range", a 32-bit bitmap's rows are read by Pixels.
    uint16_t* ScanLine(int32_t row);
    const uint16_t* ScanLine(int32_t row) const;
    // All scan lines, top row first, in either format.
    Win32::TPixelView Pixels();

    void SaveToStream(TStream& stream) const;
    // Written beside the target and renamed over it; failures name the file.
    void SaveToFile(const AnsiString& fileName) const;

private:
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    TPixelFormat FFormat = TPixelFormat::pf16bit;
    uint32_t FMasks[3] = {0xF800, 0x07E0, 0x001F};
    std::vector<uint32_t> FPixels; // whole words keep 32-bit pixels aligned

    size_t RowBytes() const { return size_t(FWidth) * size_t(BytesPerPixel()); }
    const uint8_t* Row(int32_t row) const;
};

} // namespace ClassLib
