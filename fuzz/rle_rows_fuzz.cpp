// Runs every run-length row routine over arbitrary blocks of rows: they must stay
// inside the block and the pixels they are given, whatever the bytes say.
// Input: width, skip and count bytes, then the block.
#include "engine/graphics/GfxRunLength.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

template <class TDecode>
void Walk(const std::vector<uint8_t>& block, TDecode decode) {
    const uint8_t* row = block.data();
    const uint8_t* const end = block.data() + block.size();
    for (int i = 0; i < 64 && row && row < end; ++i)
        row = decode(row, end);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int width = data[0] % 64 + 1;
    const int skip = data[1] % 80 - 8;
    const int count = data[2] % 64;
    // Exactly sized buffers, so that a step outside them is caught.
    const std::vector<uint8_t> block(data + 3, data + size);
    std::vector<uint16_t> row(size_t(width), 0x1234);
    std::vector<uint16_t> window(size_t(count) + 1, 0x1234);
    uint16_t* const target = window.data();

    using namespace Gfx;
    Walk(block, [&](const uint8_t* p, const uint8_t* end) {
        return DecodeRleLine16(p, end, row.data(), width);
    });
    Walk(block, [&](const uint8_t* p, const uint8_t* end) {
        return DecodeRleLine16Keyed(p, end, row.data(), width, 0x1234);
    });
    Walk(block, [&](const uint8_t* p, const uint8_t* end) {
        return BlitRleLine16Clipped(p, end, target, skip, count, 0x1234);
    });
    Walk(block, [&](const uint8_t* p, const uint8_t* end) {
        return DecodeRle2Line16(p, end, row.data(), width, 0xFFFF);
    });
    Walk(block, [&](const uint8_t* p, const uint8_t* end) {
        return DecodeRle2Line16Keyed(p, end, row.data(), width);
    });
    Walk(block, [&](const uint8_t* p, const uint8_t* end) {
        return BlitRle2Line16Clipped(p, end, target, skip, count, 0xFFFFFFFF);
    });
    Walk(block, [&](const uint8_t* p, const uint8_t* end) {
        return ShadowLine16(p, end, row.data(), width, 0xF7DE);
    });
    Walk(block, [&](const uint8_t* p, const uint8_t* end) {
        return ShadowLine16Clipped(p, end, target, skip, count, 0x7BDE);
    });
    std::vector<uint8_t> copy = block;
    for (auto convert : {ConvertRleLine565To555, ConvertRle2Line565To555}) {
        uint8_t* p = copy.data();
        const uint8_t* const end = copy.data() + copy.size();
        for (int i = 0; i < 64 && p && p < end; ++i)
            p = convert(p, end);
    }
    return 0;
}
