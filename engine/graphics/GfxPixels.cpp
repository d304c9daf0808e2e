#include "engine/graphics/GfxPixels.h"

#include <cstring>

namespace Gfx {

bool IsDisplayRGB565 = true;

namespace {
uint32_t Red(uint32_t c) {
    return c >> 16 & 0xFF;
}
uint32_t Green(uint32_t c) {
    return c >> 8 & 0xFF;
}
uint32_t Blue(uint32_t c) {
    return c & 0xFF;
}

// Runs body(sourceRow, destinationRow) for every row.
template <class TBody>
void ForEachRow(const void* source, void* destination, int height, int sourcePitch,
                int destinationPitch, TBody body) {
    auto* from = static_cast<const uint8_t*>(source);
    auto* to = static_cast<uint8_t*>(destination);
    for (int y = 0; y < height; ++y, from += sourcePitch, to += destinationPitch)
        body(from, to);
}
} // namespace

uint16_t PackColor565(uint32_t c) {
    return static_cast<uint16_t>((Red(c) & 0xF8) << 8 | (Green(c) & 0xFC) << 3 | Blue(c) >> 3);
}

uint16_t PackColor555(uint32_t c) {
    return static_cast<uint16_t>((Red(c) & 0xF8) << 7 | (Green(c) & 0xF8) << 2 | Blue(c) >> 3);
}

uint32_t UnpackColor565(uint16_t p) {
    return uint32_t(p >> 11 & 0x1F) << 19 | uint32_t(p >> 5 & 0x3F) << 10 | uint32_t(p & 0x1F) << 3;
}

uint32_t UnpackColor555(uint16_t p) {
    return uint32_t(p >> 10 & 0x1F) << 19 | uint32_t(p >> 5 & 0x1F) << 11 | uint32_t(p & 0x1F) << 3;
}

uint16_t ConvertPixel565To555(uint16_t p) {
    return static_cast<uint16_t>((p & 0x1F) | (p & 0xFFC0) >> 1);
}

uint16_t PackColor16(uint32_t colour) {
    return IsDisplayRGB565 ? PackColor565(colour) : PackColor555(colour);
}

uint32_t UnpackColor16(uint16_t pixel) {
    return IsDisplayRGB565 ? UnpackColor565(pixel) : UnpackColor555(pixel);
}

uint32_t SwapRedBlue(uint32_t c) {
    return Blue(c) << 16 | Green(c) << 8 | Red(c);
}

void ConvertRow565To555(const void* source, void* destination, int width, int height,
                        int sourcePitch, int destinationPitch) {
    ForEachRow(source, destination, height, sourcePitch, destinationPitch,
               [width](const uint8_t* from, uint8_t* to) {
                   for (int x = 0; x < width; ++x) {
                       uint16_t pixel;
                       std::memcpy(&pixel, from + 2 * x, 2);
                       pixel = ConvertPixel565To555(pixel);
                       std::memcpy(to + 2 * x, &pixel, 2);
                   }
               });
}

void ConvertRow24To32(const void* source, void* destination, int width, int height, int sourcePitch,
                      int destinationPitch) {
    ForEachRow(source, destination, height, sourcePitch, destinationPitch,
               [width](const uint8_t* from, uint8_t* to) {
                   for (int x = 0; x < width; ++x) {
                       const uint32_t pixel = uint32_t(from[3 * x]) |
                                              uint32_t(from[3 * x + 1]) << 8 |
                                              uint32_t(from[3 * x + 2]) << 16;
                       std::memcpy(to + 4 * x, &pixel, 4);
                   }
               });
}

void ConvertRow32To24(const void* source, void* destination, int width, int height, int sourcePitch,
                      int destinationPitch) {
    ForEachRow(source, destination, height, sourcePitch, destinationPitch,
               [width](const uint8_t* from, uint8_t* to) {
                   for (int x = 0; x < width; ++x)
                       std::memcpy(to + 3 * x, from + 4 * x, 3);
               });
}

} // namespace Gfx
