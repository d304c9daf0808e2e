// What a loaded frame must hold so that drawing, conversion and surface creation can
// read it: whole pixel blocks, rows that decode to the sprite's width, shadow rows.
#include "engine/graphics/GfxLZRW1KH.h"
#include "engine/graphics/GfxRunLength.h"
#include "engine/graphics/Sprite.h"

namespace Gfx {

using Data::CheckData;

namespace {
// No LZRW1KH sequence expands its input more than this (runs of 4111 bytes from 4).
constexpr uint64_t MaxExpansion = 1000;

uint16_t LoadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
} // namespace

void TSprite::CheckFrame(const TFrame& frame) const {
    if (Width == 0 || Height == 0)
        return; // never converted nor drawn
    const size_t width = size_t(Width), height = size_t(Height);
    const uint8_t* p = frame.Pixels.data();
    const uint8_t* const end = p + frame.Pixels.size();
    std::vector<uint16_t> row16(width);
    if (BlendMode() != 0) {
        const size_t bytes = width * height * 4;
        if (!IsCompressedArgb()) {
            CheckData(frame.Pixels.size() >= bytes);
        } else {
            CheckData(bytes <= frame.Pixels.size() * MaxExpansion);
            std::vector<uint8_t> argb(bytes);
            CheckData(LZRW1KHDecompressBlocks(p, argb.data(), frame.Pixels.size(), bytes) ==
                      int64_t(bytes));
        }
    } else {
        const size_t rowBytes = width * size_t(BytesPerPixel());
        std::vector<uint8_t> row(rowBytes);
        switch (Kind()) {
        case 0:
            CheckData(frame.Pixels.size() >= rowBytes * height);
            break;
        case 1:
            for (size_t y = 0; y < height; ++y)
                CheckData((p = DecodeRleLine16(p, end, row16.data(), Width)) != nullptr);
            break;
        case 2:
            // Keyed: only the pixels a row holds are written, however short it is.
            for (size_t y = 0; y < height; ++y)
                CheckData((p = DecodeRle2Line16Keyed(p, end, row16.data(), Width)) != nullptr);
            break;
        case 3:
            for (size_t y = 0; y < height; ++y) {
                CheckData(end - p >= 2);
                const size_t length = LoadU16(p);
                p += 2;
                CheckData(length <= size_t(end - p));
                CheckData(LZRW1KHDecompressBlocks(p, row.data(), length, rowBytes) ==
                          int64_t(rowBytes));
                p += length;
            }
            break;
        }
    }
    if (HasShadow()) {
        const uint8_t* s = frame.Shadow.data();
        const uint8_t* const shadowEnd = s + frame.Shadow.size();
        for (size_t y = 0; y < height; ++y)
            CheckData((s = ShadowLine16(s, shadowEnd, row16.data(), Width, 0)) != nullptr);
    }
}

} // namespace Gfx
