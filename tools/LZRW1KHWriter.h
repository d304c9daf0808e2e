// The LZRW1KH compressor the game itself lacks: it makes the compressed blocks and
// block sequences that sprites store, in the form the decompressor reads.
#pragma once

#include "tools/ArchiveWriter.h"

#include <cstddef>
#include <cstdint>

namespace Tools {

// One block: compressed when that is shorter, else stored (flag 0x80). Input longer
// than LZRW1KHMaxBlockInput raises an Exception, as its block could outgrow the u16
// length that precedes it in a sequence.
constexpr size_t LZRW1KHMaxBlockInput = 16384;
TBytes LZRW1KHCompress(const uint8_t* data, size_t size);

// A sequence of blocks, each preceded by its u16 length, of at most blockInput input
// bytes each (1 to LZRW1KHMaxBlockInput). Empty input gives an empty sequence.
TBytes LZRW1KHCompressBlocks(const uint8_t* data, size_t size,
                             size_t blockInput = LZRW1KHMaxBlockInput);

} // namespace Tools
