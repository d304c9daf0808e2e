#include "engine/graphics/GfxLZRW1KH.h"
#include "tools/LZRW1KHWriter.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Gfx;
using Bytes = std::vector<uint8_t>;

namespace {

// Decompresses one block into a buffer of capacity bytes; -1 or the bytes written.
std::pair<int64_t, Bytes> Decompress(const Bytes& block, size_t capacity = 8192) {
    Bytes out(capacity);
    const int64_t n = LZRW1KHDecompress(block.data(), out.data(), block.size(), capacity);
    out.resize(n > 0 ? size_t(n) : 0);
    return {n, out};
}

Bytes Pattern(size_t size) {
    Bytes data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<uint8_t>(i % 7 == 0 ? 0 : (i * 31 / 5) & 0x3F);
    return data;
}

} // namespace

TEST(LZRW1KH, DecodesEveryItemKind) {
    const struct {
        const char* what;
        Bytes block;
        Bytes expected;
    } cases[] = {
        {"stored", {0x80, 1, 2, 3}, {1, 2, 3}},
        {"empty", {0x80}, {}},
        {"nothing at all", {}, {}},
        {"16 literals",
         {0x40, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        // 'a', then a copy of offset 1 and length 18.
        {"overlapping copy", {0x40, 0x40, 0x00, 'a', 0x00, 0x1F}, Bytes(19, 'a')},
        {"shortest run", {0x40, 0x80, 0x00, 0, 0, 0, 7}, Bytes(16, 7)},
        {"longest run", {0x40, 0x80, 0x00, 0, 0x0F, 0xFF, 9}, Bytes(4111, 9)},
        // Literals 1 2 3, then a copy of offset 3 and length 3, a literal 4.
        {"control word high byte first",
         {0x40, 0x10, 0x00, 1, 2, 3, 0x00, 0x30, 4},
         {1, 2, 3, 1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        const auto [n, out] = Decompress(c.block);
        EXPECT_EQ(n, int64_t(c.expected.size())) << c.what;
        EXPECT_EQ(out, c.expected) << c.what;
    }
}

TEST(LZRW1KH, CorruptBlocksStopInsideTheirBuffers) {
    const struct {
        const char* what;
        Bytes block;
        size_t capacity;
    } cases[] = {
        {"copy reaching before the output", {0x40, 0x40, 0x00, 'a', 0x00, 0x20}, 100},
        {"copy item cut by the end", {0x40, 0x40, 0x00, 'a', 0x00}, 100},
        {"run item cut by the end", {0x40, 0x80, 0x00, 0, 0, 0}, 100},
        {"control word cut by the end", {0x40, 0x00}, 100},
        {"run larger than the room", {0x40, 0x80, 0x00, 0, 0, 0, 7}, 15},
        {"stored larger than the room", {0x80, 1, 2, 3}, 2},
        {"literals beyond the room", {0x40, 0, 0, 1, 2, 3}, 2},
    };
    for (const auto& c : cases) {
        // Exactly sized, so that the sanitizer sees any step outside.
        Bytes out(c.capacity);
        EXPECT_EQ(LZRW1KHDecompress(c.block.data(), out.data(), c.block.size(), c.capacity), -1)
            << c.what;
    }
}

TEST(LZRW1KH, CompressorOutputReadsBack) {
    Bytes mixed = Pattern(5000);
    mixed.insert(mixed.end(), 5000, 0xAB); // runs longer than one run item holds
    Bytes noise(3000);
    uint32_t state = 1;
    for (uint8_t& b : noise)
        b = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 16);
    for (const Bytes& data : {Bytes{}, Bytes{42}, Pattern(17), mixed, noise}) {
        const Bytes blocks = Tools::LZRW1KHCompressBlocks(data.data(), data.size(), 4096);
        Bytes out(data.size());
        EXPECT_EQ(LZRW1KHDecompressBlocks(blocks.data(), out.data(), blocks.size(), out.size()),
                  int64_t(data.size()));
        EXPECT_EQ(out, data);
    }
    // Repetitive data shrinks; noise is stored and grows by its flag and length only.
    EXPECT_LT(Tools::LZRW1KHCompressBlocks(mixed.data(), mixed.size()).size(), mixed.size() / 2);
    EXPECT_EQ(Tools::LZRW1KHCompress(noise.data(), noise.size())[0], LZRW1KHStoredFlag);
}

TEST(LZRW1KH, BlockSequencesAreBoundedByTheirTotal) {
    const Bytes data = Pattern(300);
    Bytes blocks = Tools::LZRW1KHCompressBlocks(data.data(), data.size(), 100);
    Bytes out(300);
    EXPECT_EQ(LZRW1KHDecompressBlocks(blocks.data(), out.data(), 0, out.size()), 0);
    // A length that reaches past the total, a lone length byte, too little room.
    EXPECT_EQ(LZRW1KHDecompressBlocks(blocks.data(), out.data(), blocks.size() - 1, out.size()),
              -1);
    blocks.push_back(1);
    EXPECT_EQ(LZRW1KHDecompressBlocks(blocks.data(), out.data(), blocks.size(), out.size()), -1);
    EXPECT_EQ(LZRW1KHDecompressBlocks(blocks.data(), out.data(), blocks.size() - 1, 299), -1);
}
