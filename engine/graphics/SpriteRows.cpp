// Software drawing of sprite frames into locked memory or a bitmap, row by row. Every row routine
// is bounded by the end of the frame's block and by the pixels it may write; a row
// that cannot be read stops the frame.
#include "engine/graphics/GfxKeyedRows.h"
#include "engine/graphics/GfxLZRW1KH.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRunLength.h"
#include "engine/graphics/Sprite.h"
#include "platform/classlib/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Gfx {

namespace {

uint16_t LoadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint16_t* Pixels16(uint8_t* p) {
    return reinterpret_cast<uint16_t*>(p);
}

// Copies count pixels, leaving those equal to key out unless key is NoColorKey.
void CopyRow(uint8_t* destination, const uint8_t* source, int count, int bytes, uint32_t key) {
    if (key == NoColorKey)
        std::memcpy(destination, source, size_t(count) * size_t(bytes));
    else if (bytes == 2)
        BlitKeyedRow16(source, destination, count, key);
    else if (bytes == 3)
        BlitKeyedRow24(source, destination, count, key);
    else
        BlitKeyedRow32(source, destination, count, key);
}

uint32_t Channel(uint32_t colour, int shift) {
    return colour >> shift & 0xFF;
}

// One channel of source s over background d with alpha a (0..1), by blend mode.
uint32_t BlendChannel(int mode, double s, double d, double a) {
    double value;
    if (mode == 0xFF)
        value = d * (1 - a) + 0.5 + s;
    else if (mode == 0xFE)
        value = s * a + d;
    else
        value = d * (1 - a) + s * a;
    return static_cast<uint32_t>(std::min(std::trunc(value), 255.0));
}

uint16_t BlendPixel(int mode, uint16_t background, uint32_t argb) {
    const uint32_t d = UnpackColor16(background);
    const double a = double(argb >> 24) / 255.0;
    uint32_t result = 0;
    for (int shift : {16, 8, 0})
        result |= BlendChannel(mode, Channel(argb, shift), Channel(d, shift), a) << shift;
    return PackColor16(result);
}

bool Intersects(const RECT& r) {
    return r.left < r.right && r.top < r.bottom;
}

} // namespace

const uint8_t* TSprite::BlendRow(uint8_t* destination, const uint8_t* source,
                                 const uint8_t* sourceEnd, int count, int skip) const {
    const size_t rowBytes = size_t(Width) * 4;
    if (size_t(sourceEnd - source) < rowBytes)
        return nullptr;
    uint16_t* target = Pixels16(destination);
    for (int i = 0; i < count; ++i) {
        uint32_t argb;
        std::memcpy(&argb, source + 4 * size_t(skip + i), 4);
        target[i] = BlendPixel(BlendMode(), target[i], argb);
    }
    return source + rowBytes;
}

const uint8_t* TSprite::DrawCompressedRow(uint8_t* destination, const uint8_t* source,
                                          const uint8_t* sourceEnd, int count, int skip) {
    if (sourceEnd - source < 2)
        return nullptr;
    const size_t length = LoadU16(source);
    source += 2;
    if (length > size_t(sourceEnd - source))
        return nullptr;
    const int bytes = BytesPerPixel();
    const size_t rowBytes = size_t(Width) * size_t(bytes);
    if (skip == 0 && count == Width && ColorKey == NoColorKey) {
        if (LZRW1KHDecompressBlocks(source, destination, length, rowBytes) != int64_t(rowBytes))
            return nullptr;
        return source + length;
    }
    FRowBuffer.resize(rowBytes);
    if (LZRW1KHDecompressBlocks(source, FRowBuffer.data(), length, rowBytes) != int64_t(rowBytes))
        return nullptr;
    CopyRow(destination, FRowBuffer.data() + size_t(skip) * size_t(bytes), count, bytes, ColorKey);
    return source + length;
}

const uint8_t* TSprite::DrawRow(uint8_t* destination, const uint8_t* source,
                                const uint8_t* sourceEnd) {
    return DrawRowClipped(destination, source, sourceEnd, Width, 0);
}

const uint8_t* TSprite::DrawRowClipped(uint8_t* destination, const uint8_t* source,
                                       const uint8_t* sourceEnd, int count, int skip) {
    if (BlendMode() != 0)
        return BlendRow(destination, source, sourceEnd, count, skip);
    const bool whole = skip == 0 && count == Width;
    const bool keyed = ColorKey != NoColorKey;
    switch (Kind()) {
    case 0: {
        const int bytes = BytesPerPixel();
        const size_t rowBytes = size_t(Width) * size_t(bytes);
        if (size_t(sourceEnd - source) < rowBytes)
            return nullptr;
        CopyRow(destination, source + size_t(skip) * size_t(bytes), count, bytes, ColorKey);
        return source + rowBytes;
    }
    case 1:
        if (whole)
            return keyed ? DecodeRleLine16Keyed(source, sourceEnd, Pixels16(destination), Width,
                                                ColorKey)
                         : DecodeRleLine16(source, sourceEnd, Pixels16(destination), Width);
        return BlitRleLine16Clipped(source, sourceEnd, Pixels16(destination), skip, count,
                                    ColorKey);
    case 2:
        if (whole)
            // Without a key, transparent runs come out as the key's low bits: white.
            return keyed ? DecodeRle2Line16Keyed(source, sourceEnd, Pixels16(destination), Width)
                         : DecodeRle2Line16(source, sourceEnd, Pixels16(destination), Width,
                                            ColorKey);
        return BlitRle2Line16Clipped(source, sourceEnd, Pixels16(destination), skip, count,
                                     ColorKey);
    case 3:
        return DrawCompressedRow(destination, source, sourceEnd, count, skip);
    }
    return nullptr;
}

const uint8_t* TSprite::SkipRow(const uint8_t* source, const uint8_t* sourceEnd) const {
    const auto fixed = [&](size_t bytes) {
        return size_t(sourceEnd - source) < bytes ? nullptr : source + bytes;
    };
    if (BlendMode() != 0)
        return fixed(size_t(Width) * 4);
    switch (Kind()) {
    case 0:
        return fixed(size_t(Width) * size_t(BytesPerPixel()));
    case 1: {
        uint16_t none = 0;
        return BlitRleLine16Clipped(source, sourceEnd, &none, 0, 0, NoColorKey);
    }
    case 2:
        return sourceEnd - source < 2 || LoadU16(source) < 2 ? nullptr : fixed(LoadU16(source));
    case 3:
        return sourceEnd - source < 2 ? nullptr : fixed(size_t(LoadU16(source)) + 2);
    }
    return nullptr;
}

const uint8_t* TSprite::DrawShadowRow(uint8_t* destination, const uint8_t* source,
                                      const uint8_t* sourceEnd, int bytesPerPixel) const {
    if (bytesPerPixel == 2)
        return ShadowLine16(source, sourceEnd, Pixels16(destination), Width,
                            IsDisplayRGB565 ? 0xF7DE : 0x7BDE);
    return DrawShadowRowClipped(destination, source, sourceEnd, Width, 0, bytesPerPixel);
}

const uint8_t* TSprite::SkipShadowRow(const uint8_t* source, const uint8_t* sourceEnd) const {
    if (sourceEnd - source < 2)
        return nullptr;
    const uint16_t length = LoadU16(source);
    return length < 2 || length > sourceEnd - source ? nullptr : source + length;
}

const uint8_t* TSprite::DrawShadowRowClipped(uint8_t* destination, const uint8_t* source,
                                             const uint8_t* sourceEnd, int count, int skip,
                                             int bytesPerPixel) const {
    switch (bytesPerPixel) {
    case 2:
        return ShadowLine16Clipped(source, sourceEnd, Pixels16(destination), skip, count,
                                   IsDisplayRGB565 ? 0xF7DE : 0x7BDE);
    case 3:
        return ShadowLine24Clipped(source, sourceEnd, destination, skip, count);
    default:
        return ShadowLine32Clipped(source, sourceEnd, destination, skip, count);
    }
}

const uint8_t* TSprite::ArgbPixels(const TFrame& frame, std::vector<uint8_t>& buffer) const {
    const size_t bytes = size_t(Width) * size_t(Height) * 4;
    if (!IsCompressedArgb())
        return frame.Pixels.size() >= bytes ? frame.Pixels.data() : nullptr;
    buffer.resize(bytes);
    if (LZRW1KHDecompressBlocks(frame.Pixels.data(), buffer.data(), frame.Pixels.size(), bytes) !=
        int64_t(bytes))
        return nullptr;
    return buffer.data();
}

void TSprite::DrawFrameToLocked(const TPixelView& target, int index, const RECT& visible,
                                const RECT& full, bool drawShadow) {
    if (Width == 0 || Height == 0 || !Intersects(visible) || index < 0 || index >= FrameCount())
        return;
    // Blended frames mix into 16-bit pixels; others must match the target's pixel size.
    const int bytes = target.BytesPerPixel;
    if (BlendMode() != 0 ? bytes != 2 : bytes != BytesPerPixel())
        return;
    const TFrame& frame = Frames[size_t(index)];
    std::vector<uint8_t> buffer;
    const uint8_t* source = frame.Pixels.data();
    const uint8_t* sourceEnd = source + frame.Pixels.size();
    if (IsCompressedArgb()) {
        if (!(source = ArgbPixels(frame, buffer)))
            return;
        sourceEnd = source + buffer.size();
    }
    const bool whole = visible == full;
    const int count = visible.right - visible.left;
    const int skip = visible.left - full.left;
    const int hidden = visible.top - full.top;
    const int rows = visible.bottom - visible.top;

    uint8_t* row = target.At(visible.left, visible.top);
    for (int y = 0; y < hidden && source; ++y)
        source = SkipRow(source, sourceEnd);
    for (int y = 0; y < rows && source; ++y, row += target.Pitch)
        source = whole ? DrawRow(row, source, sourceEnd)
                       : DrawRowClipped(row, source, sourceEnd, count, skip);
    if (!source || !drawShadow || !HasShadow())
        return;

    const uint8_t* shadow = frame.Shadow.data();
    const uint8_t* const shadowEnd = shadow + frame.Shadow.size();
    row = target.At(visible.left, visible.top);
    for (int y = 0; y < hidden && shadow; ++y)
        shadow = SkipShadowRow(shadow, shadowEnd);
    for (int y = 0; y < rows && shadow; ++y, row += target.Pitch)
        shadow = whole ? DrawShadowRow(row, shadow, shadowEnd, bytes)
                       : DrawShadowRowClipped(row, shadow, shadowEnd, count, skip, bytes);
}

void TSprite::DrawFrameToBitmap(ClassLib::TBitmap& target, int frame, const RECT& visible,
                                const RECT& full, bool drawShadow) {
    DrawFrameToLocked(target.Pixels(), frame, visible, full, drawShadow);
}

} // namespace Gfx
