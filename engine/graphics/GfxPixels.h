// 16-bit colour packing and the row conversions between pixel formats. Colours travel
// as 0x00RRGGBB; 16-bit pixels are RGB565 or RGB555 as the display uses.
#pragma once

#include <cstdint>

namespace Gfx {

// The display's 16-bit layout: true RGB565, false RGB555.
extern bool IsDisplayRGB565;

uint16_t PackColor565(uint32_t colour);
uint16_t PackColor555(uint32_t colour);
uint32_t UnpackColor565(uint16_t pixel);       // low bits of each channel stay 0
uint32_t UnpackColor555(uint16_t pixel);       // bit 15 is ignored
uint16_t ConvertPixel565To555(uint16_t pixel); // drops the lowest green bit
uint16_t PackColor16(uint32_t colour);         // by IsDisplayRGB565
uint32_t UnpackColor16(uint16_t pixel);
uint32_t SwapRedBlue(uint32_t colour); // the top byte becomes 0

// Rectangles of width x height pixels; pitches in bytes. No work for counts below 1.
// May run in place (source = destination).
void ConvertRow565To555(const void* source, void* destination, int width, int height,
                        int sourcePitch, int destinationPitch);
void ConvertRow24To32(const void* source, void* destination, int width, int height, int sourcePitch,
                      int destinationPitch);
void ConvertRow32To24(const void* source, void* destination, int width, int height, int sourcePitch,
                      int destinationPitch);

} // namespace Gfx
