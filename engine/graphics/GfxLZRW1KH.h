// LZRW1KH decompression: the LZRW1 variant with a 16-bit control word (stored high
// byte first, used from the top bit down), 12-bit offsets, 4-bit lengths and runs.
//
// A block is a flag byte and its body. Flag 0x80: the body is stored as it is. Any
// other flag: per control bit, 0 is a literal byte; 1 is a copy (b0, b1: offset
// b0 x 16 + (b1 >> 4), length (b1 & 15) + 3) or, with offset 0, a run (0, b1, b2, b3:
// ((b1 & 15) x 256 + b2) + 16 copies of b3).
//
// Both routines are bounded by their source and their destination's capacity: a
// block whose items run past its end, reach back before the start of its output or
// need more room than the destination has is corrupt, and they return -1 (bytes
// before the fault may have been written).
#pragma once

#include <cstddef>
#include <cstdint>

namespace Gfx {

constexpr uint8_t LZRW1KHStoredFlag = 0x80;

// Decompresses one block of length bytes; a length below 2 yields 0 and writes nothing.
// Returns the number of bytes written, or -1 for a corrupt block.
int64_t LZRW1KHDecompress(const uint8_t* source, uint8_t* destination, size_t length,
                          size_t capacity);

// Decompresses a sequence of blocks, each preceded by its u16 length, filling the
// destination from its start; returns the total written or -1 for a corrupt sequence.
int64_t LZRW1KHDecompressBlocks(const uint8_t* source, uint8_t* destination, size_t total,
                                size_t capacity);

} // namespace Gfx
