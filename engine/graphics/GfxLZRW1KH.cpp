#include "engine/graphics/GfxLZRW1KH.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace Gfx {

namespace {

// Copies count bytes (at most 18) from offset bytes behind target to target, front to
// back, so a source that overlaps the bytes being written repeats them. room is what
// target may hold; bytes between count and room may be written as scratch.
void CopyMatch(uint8_t* target, size_t offset, size_t count, size_t room) {
    const uint8_t* source = target - offset;
    if (offset >= count && room >= 18) {
        // Loaded whole before anything is stored: one fixed-size move.
        uint8_t bytes[18];
        std::memcpy(bytes, source, 18);
        std::memcpy(target, bytes, 18);
        return;
    }
    for (size_t i = 0; i < count; ++i)
        target[i] = source[i];
}

} // namespace

int64_t LZRW1KHDecompress(const uint8_t* source, uint8_t* destination, size_t length,
                          size_t capacity) {
    if (length < 2)
        return 0;
    if (source[0] == LZRW1KHStoredFlag) {
        if (length - 1 > capacity)
            return -1;
        std::memcpy(destination, source + 1, length - 1);
        return int64_t(length - 1);
    }
    const uint8_t* p = source + 1;
    const uint8_t* const end = source + length;
    size_t written = 0;
    unsigned control = 0;
    int bitsLeft = 0;
    while (p < end) {
        if (bitsLeft == 0) {
            if (end - p < 2)
                return -1;
            control = unsigned(p[0]) << 8 | p[1];
            p += 2;
            bitsLeft = 16;
            if (p >= end) // a control word with no item after it closes the block
                break;
        }
        if ((control & 0x8000) == 0) {
            // A stretch of literals, as many as the control word's next zero bits.
            const auto bits = static_cast<uint16_t>(control);
            size_t count =
                std::min(size_t(bits == 0 ? 16 : std::countl_zero(bits)), size_t(bitsLeft));
            count = std::min(count, size_t(end - p));
            if (count > capacity - written)
                return -1;
            // A fixed-size copy where the room allows it is much cheaper than an exact one.
            if (capacity - written >= 16 && end - p >= 16)
                std::memcpy(destination + written, p, 16);
            else
                std::memcpy(destination + written, p, count);
            written += count;
            p += count;
            control <<= count;
            bitsLeft -= int(count);
            continue;
        }
        control <<= 1;
        --bitsLeft;
        if (end - p < 2)
            return -1;
        const size_t offset = size_t(p[0]) * 16 + (p[1] >> 4);
        if (offset != 0) {
            const size_t count = size_t(p[1] & 15) + 3;
            if (offset > written || count > capacity - written)
                return -1;
            CopyMatch(destination + written, offset, count, capacity - written);
            written += count;
            p += 2;
            continue;
        }
        if (end - p < 4)
            return -1;
        const size_t count = (size_t(p[1] & 15) << 8 | p[2]) + 16;
        if (count > capacity - written)
            return -1;
        std::memset(destination + written, p[3], count);
        written += count;
        p += 4;
    }
    return int64_t(written);
}

int64_t LZRW1KHDecompressBlocks(const uint8_t* source, uint8_t* destination, size_t total,
                                size_t capacity) {
    size_t read = 0;
    size_t written = 0;
    while (read < total) {
        if (total - read < 2)
            return -1;
        const size_t length = size_t(source[read]) | size_t(source[read + 1]) << 8;
        read += 2;
        if (length > total - read)
            return -1;
        const int64_t block =
            LZRW1KHDecompress(source + read, destination + written, length, capacity - written);
        if (block < 0)
            return -1;
        written += size_t(block);
        read += length;
    }
    return int64_t(written);
}

} // namespace Gfx
