// Greedy LZRW1 matching through a hash of the next three bytes, with runs of 16 or
// more equal bytes coded as run items.
#include "tools/LZRW1KHWriter.h"

#include "engine/graphics/GfxLZRW1KH.h"
#include "platform/classlib/Exception.h"

#include <algorithm>
#include <vector>

namespace Tools {

namespace {

constexpr size_t MaxOffset = 4095;
constexpr size_t MinCopy = 3, MaxCopy = 18;
constexpr size_t MinRun = 16, MaxRun = 4111;
constexpr uint8_t CompressedFlag = 0x40;

class TItemWriter {
public:
    explicit TItemWriter(TBytes& out) : FOut(out) {}

    void Literal(uint8_t b) {
        Bit(false);
        FOut.push_back(b);
    }
    void Copy(size_t offset, size_t length) {
        Bit(true);
        FOut.push_back(static_cast<uint8_t>(offset >> 4));
        FOut.push_back(static_cast<uint8_t>((offset & 15) << 4 | (length - MinCopy)));
    }
    void Run(uint8_t b, size_t count) {
        Bit(true);
        const size_t stored = count - MinRun;
        FOut.insert(FOut.end(),
                    {0, static_cast<uint8_t>(stored >> 8), static_cast<uint8_t>(stored), b});
    }

private:
    // Reserves a control word for every 16 items and fills its bits as they come.
    void Bit(bool set) {
        if (FBits == 16) {
            FControl = FOut.size();
            FOut.insert(FOut.end(), {0, 0});
            FBits = 0;
        }
        if (set)
            FOut[FControl + (FBits < 8 ? 0 : 1)] |= static_cast<uint8_t>(0x80 >> (FBits & 7));
        ++FBits;
    }

    TBytes& FOut;
    size_t FControl = 0;
    int FBits = 16;
};

size_t Hash(const uint8_t* p) {
    return ((size_t(p[0]) << 8 ^ size_t(p[1]) << 4 ^ p[2]) * 40543 >> 4) & 4095;
}

} // namespace

TBytes LZRW1KHCompress(const uint8_t* data, size_t size) {
    if (size > LZRW1KHMaxBlockInput)
        throw ClassLib::Exception(
            ClassLib::Format("LZRW1KH block input of %d bytes is too long.", int(size)));
    TBytes out{CompressedFlag};
    TItemWriter items(out);
    std::vector<size_t> table(4096, SIZE_MAX);
    size_t i = 0;
    while (i < size) {
        size_t run = 1;
        while (i + run < size && run < MaxRun && data[i + run] == data[i])
            ++run;
        if (run >= MinRun) {
            items.Run(data[i], run);
            i += run;
            continue;
        }
        size_t length = 0, offset = 0;
        if (size - i >= MinCopy) {
            const size_t h = Hash(data + i);
            const size_t candidate = table[h];
            table[h] = i;
            if (candidate != SIZE_MAX && i - candidate <= MaxOffset) {
                const size_t limit = std::min(MaxCopy, size - i);
                while (length < limit && data[candidate + length] == data[i + length])
                    ++length;
                offset = i - candidate;
            }
        }
        if (length >= MinCopy) {
            items.Copy(offset, length);
            i += length;
        } else {
            items.Literal(data[i++]);
        }
    }
    if (out.size() < size + 1)
        return out;
    TBytes stored{Gfx::LZRW1KHStoredFlag};
    stored.insert(stored.end(), data, data + size);
    return stored;
}

TBytes LZRW1KHCompressBlocks(const uint8_t* data, size_t size, size_t blockInput) {
    if (blockInput == 0 || blockInput > LZRW1KHMaxBlockInput)
        throw ClassLib::Exception("LZRW1KH block size out of range.");
    TBytes out;
    for (size_t start = 0; start < size; start += blockInput) {
        const TBytes block = LZRW1KHCompress(data + start, std::min(blockInput, size - start));
        out.push_back(static_cast<uint8_t>(block.size()));
        out.push_back(static_cast<uint8_t>(block.size() >> 8));
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

} // namespace Tools
