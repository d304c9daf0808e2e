// The pixel formats our surfaces hold, and the conversions between them and
// 0xAARRGGBB that the rasteriser, the blitter and the presenter share.
#pragma once

#include "platform/display/DDrawTypes.h"

#include <cstdint>
#include <cstring>

namespace Win32 {

enum class TPixelLayout : uint8_t {
    Unsupported,
    RGB565,
    RGB555, // X1R5G5B5
    ARGB1555,
    ARGB4444,
    RGB888, // 3 bytes
    XRGB8888,
    ARGB8888,
};

TPixelLayout LayoutOf(const DDPIXELFORMAT& format);
DDPIXELFORMAT PixelFormatOf(TPixelLayout layout);
int BytesPerPixel(TPixelLayout layout);

// Expands 5 and 6 bit channels to 8 bits by repeating their top bits, so white stays white.
inline uint32_t Expand5(uint32_t v) {
    return (v << 3) | (v >> 2);
}
inline uint32_t Expand6(uint32_t v) {
    return (v << 2) | (v >> 4);
}

inline uint32_t Rgb565ToArgb(uint32_t p) {
    return 0xFF000000u | Expand5((p >> 11) & 31) << 16 | Expand6((p >> 5) & 63) << 8 |
           Expand5(p & 31);
}
inline uint32_t Rgb555ToArgb(uint32_t p) {
    return 0xFF000000u | Expand5((p >> 10) & 31) << 16 | Expand5((p >> 5) & 31) << 8 |
           Expand5(p & 31);
}
inline uint32_t Argb1555ToArgb(uint32_t p) {
    return ((p & 0x8000) ? 0xFF000000u : 0u) | (Rgb555ToArgb(p) & 0x00FFFFFFu);
}
inline uint32_t Argb4444ToArgb(uint32_t p) {
    const uint32_t high =
        (p & 0xF000) << 16 | (p & 0x0F00) << 12 | (p & 0x00F0) << 8 | (p & 0x000F) << 4;
    return high | high >> 4;
}

inline uint16_t ArgbToRgb565(uint32_t c) {
    return static_cast<uint16_t>((c >> 8 & 0xF800) | (c >> 5 & 0x07E0) | (c >> 3 & 0x001F));
}
inline uint16_t ArgbToRgb555(uint32_t c) {
    return static_cast<uint16_t>((c >> 9 & 0x7C00) | (c >> 6 & 0x03E0) | (c >> 3 & 0x001F));
}

inline uint16_t Load16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline uint32_t Load24(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}
inline void Store16(uint8_t* p, uint32_t v) {
    const auto w = static_cast<uint16_t>(v);
    std::memcpy(p, &w, 2);
}
inline void Store32(uint8_t* p, uint32_t v) {
    std::memcpy(p, &v, 4);
}
inline void Store24(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
}

// A pixel of 2, 3 or 4 bytes as its value.
inline uint32_t LoadPixel(const uint8_t* p, int bytes) {
    return bytes == 2 ? Load16(p) : bytes == 3 ? Load24(p) : Load32(p);
}
inline void StorePixel(uint8_t* p, int bytes, uint32_t value) {
    if (bytes == 2)
        Store16(p, value);
    else if (bytes == 3)
        Store24(p, value);
    else
        Store32(p, value);
}

// One pixel of the layout as 0xAARRGGBB; layouts without alpha are opaque.
uint32_t PixelToArgb(TPixelLayout layout, const uint8_t* pixel);
// 0xAARRGGBB packed into the layout by dropping low bits.
uint32_t ArgbToPixel(TPixelLayout layout, uint32_t argb);

// A row of count pixels of the layout as 0xFFRRGGBB; what the presenter uploads.
void ConvertRowToXrgb8888(TPixelLayout layout, const uint8_t* source, uint32_t* target, int count);

} // namespace Win32
