// Decoding and drawing of the sprites' run-length rows (16-bit pixels, little-endian):
//
// RunLineA: signed control bytes c, each followed by its data: c > 0 is c literal pixels,
// c < 0 one pixel standing for -c pixels, c = 0 ends the row.
//
// RunLineB: u16 L, the row's byte length including itself (2: all transparent), then
// 16-bit control words; the low control byte is handled before the high one, and their
// data follows the word in that order: c > 0 is c literal pixels, -32 <= c < 0 one pixel
// standing for -c pixels, c < -32 is -c - 32 transparent pixels without data, 0 as the
// low byte does nothing and 0 as the high byte ends the row.
//
// Shadow rows: u16 L as above, then signed control bytes until L is used up: c >= 0
// leaves c pixels, c < 0 darkens the next -c pixels to half.
//
// Every routine is given the end of the block the row lies in and the number of pixels
// it may write. It never reads or writes beyond them: a malformed row (an item running
// past its block, its row or its width) abandons the row and returns null; pixels before
// the fault may have been written. Otherwise the routines return where the next row starts.
#pragma once

#include <cstdint>

namespace Gfx {

// Expands a whole row into width pixels; null also when it holds fewer or more.
const uint8_t* DecodeRleLine16(const uint8_t* source, const uint8_t* sourceEnd,
                               uint16_t* destination, int width);
// As above, but repeats of the key colour leave the destination unchanged.
const uint8_t* DecodeRleLine16Keyed(const uint8_t* source, const uint8_t* sourceEnd,
                                    uint16_t* destination, int width, uint32_t key);
// Draws count pixels starting skip pixels into the row at destination[0 .. count - 1];
// repeats of the key colour are left out (a key of 0xFFFFFFFF matches nothing).
const uint8_t* BlitRleLine16Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                    uint16_t* destination, int skip, int count, uint32_t key);
// Converts the row's pixel values from RGB565 to RGB555 in place.
uint8_t* ConvertRleLine565To555(uint8_t* source, const uint8_t* sourceEnd);

// Expands a row into width pixels, transparent ones (and any the row leaves out at its
// end) written as fill's low 16 bits.
const uint8_t* DecodeRle2Line16(const uint8_t* source, const uint8_t* sourceEnd,
                                uint16_t* destination, int width, uint32_t fill);
// As above, leaving transparent pixels unchanged.
const uint8_t* DecodeRle2Line16Keyed(const uint8_t* source, const uint8_t* sourceEnd,
                                     uint16_t* destination, int width);
const uint8_t* BlitRle2Line16Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                     uint16_t* destination, int skip, int count, uint32_t key);
uint8_t* ConvertRle2Line565To555(uint8_t* source, const uint8_t* sourceEnd);

// Darkens pixels p to (p & mask) >> 1: mask 0x7BDE on RGB555 displays, 0xF7DE on RGB565.
const uint8_t* ShadowLine16(const uint8_t* source, const uint8_t* sourceEnd, uint16_t* destination,
                            int width, uint16_t mask);
const uint8_t* ShadowLine16Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                   uint16_t* destination, int skip, int count, uint16_t mask);
// The same over count 24- or 32-bit pixels starting skip pixels into the row: a darkened
// pixel has each colour byte halved (32 bits: p = (p & 0x00FEFEFE) >> 1).
const uint8_t* ShadowLine24Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                   uint8_t* destination, int skip, int count);
const uint8_t* ShadowLine32Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                   uint8_t* destination, int skip, int count);

} // namespace Gfx
