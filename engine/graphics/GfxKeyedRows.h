// Colour-keyed row copies: each source pixel that differs from the key is stored at the
// same position in the destination; pixels equal to the key leave it unchanged. The
// tinted variants store the pixel plus an offset (glyphs drawn in a colour).
#pragma once

#include <cstdint>

namespace Gfx {

void BlitKeyedRow16(const void* source, void* destination, int count, uint32_t key);
void BlitKeyedRow24(const void* source, void* destination, int count, uint32_t key);
void BlitKeyedRow32(const void* source, void* destination, int count, uint32_t key);

// Stores (pixel + add) truncated to 16 bits, the low 3 bytes of it, or all 32 bits.
void BlitKeyedTintRow16(const void* source, void* destination, int count, uint32_t key,
                        uint32_t add);
void BlitKeyedTintRow24(const void* source, void* destination, int count, uint32_t key,
                        uint32_t add);
void BlitKeyedTintRow32(const void* source, void* destination, int count, uint32_t key,
                        uint32_t add);

} // namespace Gfx
