// LZRW1KH blocks and block sequences of any bytes must stay inside their source and a
// destination of exactly the given capacity. Input: capacity (2 bytes), then the data.
#include "engine/graphics/GfxLZRW1KH.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const size_t capacity = size_t(data[0] | data[1] << 8);
    const std::vector<uint8_t> source(data + 2, data + size);
    std::vector<uint8_t> destination(capacity);
    Gfx::LZRW1KHDecompress(source.data(), destination.data(), source.size(), capacity);
    Gfx::LZRW1KHDecompressBlocks(source.data(), destination.data(), source.size(), capacity);
    return 0;
}
