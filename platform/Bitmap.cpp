#include "platform/Bitmap.h"

#include "platform/Exception.h"

#include <algorithm>
#include <utility>

namespace ClassLib {

namespace {

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t MasksSize = 12;
constexpr uint32_t BitFields = 3;        // uncompressed, with colour masks
constexpr int32_t PixelsPerMetre = 2835; // 72 dots per inch

// Rows are stored padded to whole 32-bit words.
uint32_t StoredRowSize(int32_t width) {
    return (uint32_t(width) * 2 + 3) & ~3u;
}

} // namespace

void TBitmap::SetSize(int32_t width, int32_t height) {
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
    FPixels.assign(size_t(FWidth) * size_t(FHeight), 0);
}

void TBitmap::SetColorMasks(uint32_t red, uint32_t green, uint32_t blue) {
    FMasks[0] = red;
    FMasks[1] = green;
    FMasks[2] = blue;
}

uint16_t* TBitmap::ScanLine(int32_t row) {
    return const_cast<uint16_t*>(std::as_const(*this).ScanLine(row));
}

const uint16_t* TBitmap::ScanLine(int32_t row) const {
    if (row < 0 || row >= FHeight)
        throw Exception("Scan line index out of range");
    return FPixels.data() + size_t(row) * size_t(FWidth);
}

void TBitmap::SaveToStream(TStream& stream) const {
    const uint32_t rowSize = StoredRowSize(FWidth);
    const uint32_t offset = FileHeaderSize + InfoHeaderSize + MasksSize;
    const uint32_t imageSize = rowSize * uint32_t(FHeight);
    stream.WriteBuffer("BM", 2);
    stream.WriteValue<uint32_t>(offset + imageSize);
    stream.WriteValue<uint32_t>(0); // reserved
    stream.WriteValue<uint32_t>(offset);
    stream.WriteValue<uint32_t>(InfoHeaderSize);
    stream.WriteValue<int32_t>(FWidth);
    stream.WriteValue<int32_t>(FHeight); // positive: the bottom row comes first
    stream.WriteValue<uint16_t>(1);      // planes
    stream.WriteValue<uint16_t>(16);     // bits per pixel
    stream.WriteValue<uint32_t>(BitFields);
    stream.WriteValue<uint32_t>(imageSize);
    stream.WriteValue<int32_t>(PixelsPerMetre);
    stream.WriteValue<int32_t>(PixelsPerMetre);
    stream.WriteValue<uint32_t>(0); // colours used
    stream.WriteValue<uint32_t>(0); // colours important
    for (const uint32_t mask : FMasks)
        stream.WriteValue<uint32_t>(mask);
    std::vector<uint8_t> row(rowSize, 0);
    for (int32_t y = FHeight - 1; y >= 0; --y) {
        const uint16_t* pixels = ScanLine(y);
        for (int32_t x = 0; x < FWidth; ++x) {
            row[size_t(x) * 2] = uint8_t(pixels[x]);
            row[size_t(x) * 2 + 1] = uint8_t(pixels[x] >> 8);
        }
        stream.WriteBuffer(row.data(), rowSize);
    }
}

void TBitmap::SaveToFile(const AnsiString& fileName) const {
    TMemoryStream image;
    SaveToStream(image);
    image.SaveToFile(fileName);
}

} // namespace ClassLib
