// The class library's bitmap, as far as the program uses it: 16-bit pixels with
// scan-line access, saved as a BMP file. The colour masks are stored in the file,
// so a picture of an RGB565 or an RGB555 display keeps its colours.
#pragma once

#include "platform/AnsiString.h"
#include "platform/Streams.h"

#include <cstdint>
#include <vector>

namespace ClassLib {

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int32_t width, int32_t height) { SetSize(width, height); }

    // Negative sizes count as 0; the pixels become 0.
    void SetSize(int32_t width, int32_t height);
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }

    // The masks of red, green and blue in a pixel; RGB565 until set.
    void SetColorMasks(uint32_t red, uint32_t green, uint32_t blue);
    uint32_t RedMask() const { return FMasks[0]; }
    uint32_t GreenMask() const { return FMasks[1]; }
    uint32_t BlueMask() const { return FMasks[2]; }

    // Row 0 is the top row; Width() 16-bit pixels. A row outside the bitmap
    // raises "Scan line index out of range".
    uint16_t* ScanLine(int32_t row);
    const uint16_t* ScanLine(int32_t row) const;

    void SaveToStream(TStream& stream) const;
    // Written beside the target and renamed over it; failures name the file.
    void SaveToFile(const AnsiString& fileName) const;

private:
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    uint32_t FMasks[3] = {0xF800, 0x07E0, 0x001F};
    std::vector<uint16_t> FPixels;
};

} // namespace ClassLib
