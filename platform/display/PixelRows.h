// Row kernels under every blit: colour-keyed copies by pixel size. Source and
// target rows must not overlap; callers copy overlapping rows through a buffer.
#pragma once

#include <cstdint>

namespace Win32 {

// Stores each source pixel that differs from key; pixels equal to key leave the target as it was.
void CopyRowKeyed16(const uint16_t* source, uint16_t* target, int count, uint16_t key);
// A key above 0xFFFFFF matches no 24-bit pixel.
void CopyRowKeyed24(const uint8_t* source, uint8_t* target, int count, uint32_t key);
void CopyRowKeyed32(const uint32_t* source, uint32_t* target, int count, uint32_t key);

} // namespace Win32
