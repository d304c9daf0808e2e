#include "platform/classlib/Bitmap.h"

#include "platform/classlib/Exception.h"

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
uint32_t StoredRowSize(size_t rowBytes) {
    return (uint32_t(rowBytes) + 3) & ~3u;
}

} // namespace

void TBitmap::SetSize(int32_t width, int32_t height) {
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
    FPixels.assign((RowBytes() * size_t(FHeight) + 3) / 4, 0);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    FFormat = format;
    if (format == TPixelFormat::pf16bit)
        SetColorMasks(0xF800, 0x07E0, 0x001F);
    else
        SetColorMasks(0xFF0000, 0x00FF00, 0x0000FF);
    SetSize(FWidth, FHeight);
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
    if (FFormat != TPixelFormat::pf16bit)
        throw Exception("Scan line of a 32-bit bitmap read as 16-bit pixels");
    return reinterpret_cast<const uint16_t*>(Row(row));
}

const uint8_t* TBitmap::Row(int32_t row) const {
    if (row < 0 || row >= FHeight)
        throw Exception("Scan line index out of range");
    return reinterpret_cast<const uint8_t*>(FPixels.data()) + size_t(row) * RowBytes();
}

Win32::TPixelView TBitmap::Pixels() {
    return {reinterpret_cast<uint8_t*>(FPixels.data()), int32_t(RowBytes()), FWidth, FHeight,
            BytesPerPixel()};
}

void TBitmap::SaveToStream(TStream& stream) const {
    const uint32_t rowSize = StoredRowSize(RowBytes());
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
    stream.WriteValue<uint16_t>(uint16_t(BytesPerPixel() * 8)); // bits per pixel
    stream.WriteValue<uint32_t>(BitFields);
    stream.WriteValue<uint32_t>(imageSize);
    stream.WriteValue<int32_t>(PixelsPerMetre);
    stream.WriteValue<int32_t>(PixelsPerMetre);
    stream.WriteValue<uint32_t>(0); // colours used
    stream.WriteValue<uint32_t>(0); // colours important
    for (const uint32_t mask : FMasks)
        stream.WriteValue<uint32_t>(mask);
    std::vector<uint8_t> row(rowSize, 0);
    const int bytes = BytesPerPixel();
    for (int32_t y = FHeight - 1; y >= 0; --y) {
        const uint8_t* pixels = Row(y);
        // Pixels are native words; the file holds them little-endian.
        for (size_t x = 0; x < size_t(FWidth); ++x) {
            uint32_t value = 0;
            if (bytes == 2)
                value = reinterpret_cast<const uint16_t*>(pixels)[x];
            else
                value = reinterpret_cast<const uint32_t*>(pixels)[x];
            for (int b = 0; b < bytes; ++b)
                row[x * size_t(bytes) + size_t(b)] = uint8_t(value >> (8 * b));
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
