#include "platform/display/KeyedRuns.h"

#include "platform/display/PixelLayout.h"

#include <algorithm>
#include <cstring>

namespace Win32 {

namespace {

using TSpan = TKeyedRuns::TSpan;

// Spans are short (a sprite row at most): fixed-size moves inline beat a call to memcpy,
// the last one overlapping the one before it.
// One move of Chunk bytes. Wide moves go through a vector type: the compiler splits a
// fixed-size copy of 32 bytes into two 16-byte moves.
typedef uint8_t TBytes32 __attribute__((vector_size(32), aligned(1), may_alias));
typedef uint8_t TBytes64 __attribute__((vector_size(64), aligned(1), may_alias));

template <size_t Chunk>
__attribute__((always_inline)) inline void Move(uint8_t* target, const uint8_t* source) {
    if constexpr (Chunk == 64)
        *reinterpret_cast<TBytes64*>(target) = *reinterpret_cast<const TBytes64*>(source);
    else if constexpr (Chunk == 32)
        *reinterpret_cast<TBytes32*>(target) = *reinterpret_cast<const TBytes32*>(source);
    else
        std::memcpy(target, source, Chunk);
}

template <size_t Chunk>
__attribute__((always_inline)) inline void CopySpan(uint8_t* target, const uint8_t* source,
                                                    size_t bytes) {
    if constexpr (Chunk == 1) {
        if (bytes)
            *target = *source;
    } else if (bytes >= Chunk) {
        for (size_t i = 0; i + Chunk < bytes; i += Chunk)
            Move<Chunk>(target + i, source + i);
        Move<Chunk>(target + bytes - Chunk, source + bytes - Chunk);
    } else {
        CopySpan<Chunk / 2>(target, source, bytes);
    }
}

struct TRows {
    uint8_t* Target;
    int32_t TargetPitch;
    const uint8_t* Source;
    int32_t SourcePitch;
    const TSpan* Spans;
    const uint32_t* Index; // the first row's block index
    size_t IndexStride;
    uint32_t LeftBlock, Blocks;
    int32_t Rows;
    uint32_t Left, Right; // the columns to copy, in bytes
    bool WholeRows;
};

template <size_t Chunk>
__attribute__((always_inline)) inline void CopyRows(const TRows& r) {
    uint8_t* target = r.Target;
    const uint8_t* source = r.Source;
    if (r.WholeRows) {
        // Sprites drawn whole: no span is cut.
        // The rows' spans follow each other: only where each row ends is looked up.
        const TSpan* span = r.Spans + r.Index[0];
        const uint32_t* rowEnd = r.Index + r.Blocks;
        for (int32_t row = 0; row < r.Rows;
             ++row, target += r.TargetPitch, source += r.SourcePitch, rowEnd += r.IndexStride) {
            for (const TSpan* const end = r.Spans + *rowEnd; span != end; ++span)
                CopySpan<Chunk>(target + span->Start, source + span->Start,
                                span->End - span->Start);
        }
        return;
    }
    for (int32_t row = 0; row < r.Rows; ++row, target += r.TargetPitch, source += r.SourcePitch) {
        const uint32_t* const index = r.Index + size_t(row) * r.IndexStride;
        const TSpan* span = r.Spans + index[r.LeftBlock];
        const TSpan* const end = r.Spans + index[r.Blocks];
        while (span != end && span->End <= r.Left)
            ++span;
        for (; span != end && span->Start < r.Right; ++span) {
            const uint32_t from = std::max(span->Start, r.Left);
            const uint32_t to = std::min(span->End, r.Right);
            if (from < to)
                CopySpan<Chunk>(target + (from - r.Left), source + from, to - from);
        }
    }
}

__attribute__((target("avx512f"), flatten)) void CopyRowsAvx512(const TRows& rows) {
    CopyRows<64>(rows);
}

__attribute__((target("avx2"), flatten)) void CopyRowsAvx2(const TRows& rows) {
    CopyRows<32>(rows);
}

void CopyRowsSse2(const TRows& rows) {
    CopyRows<16>(rows);
}

} // namespace

TKeyedRuns::TKeyedRuns(const TPixelView& pixels, uint32_t key) : FKey(key) {
    const int bytes = pixels.BytesPerPixel;
    FBlocks = uint32_t(pixels.Width + BlockPixels - 1) / BlockPixels;
    FIndex.reserve(size_t(pixels.Height) * (FBlocks + 1));
    for (int32_t y = 0; y < pixels.Height; ++y) {
        const size_t rowFirst = FSpans.size();
        const uint8_t* row = pixels.At(0, y);
        int32_t x = 0;
        while (x < pixels.Width) {
            while (x < pixels.Width && LoadPixel(row + x * bytes, bytes) == key)
                ++x;
            const int32_t start = x;
            while (x < pixels.Width && LoadPixel(row + x * bytes, bytes) != key)
                ++x;
            if (x > start)
                FSpans.push_back({uint32_t(start * bytes), uint32_t(x * bytes)});
        }
        size_t first = rowFirst;
        for (uint32_t block = 0; block < FBlocks; ++block) {
            const uint32_t blockStart = block * BlockPixels * uint32_t(bytes);
            while (first < FSpans.size() && FSpans[first].End <= blockStart)
                ++first;
            FIndex.push_back(uint32_t(first));
        }
        FIndex.push_back(uint32_t(FSpans.size()));
    }
}

void TKeyedRuns::Copy(const TPixelView& target, int32_t x, int32_t y, const TPixelView& source,
                      const RECT& sourceRect) const {
    static const auto copyRows = __builtin_cpu_supports("avx512f") ? CopyRowsAvx512
                                 : __builtin_cpu_supports("avx2")  ? CopyRowsAvx2
                                                                   : CopyRowsSse2;
    const auto bytes = uint32_t(source.BytesPerPixel);
    const TRows rows{target.At(x, y),
                     target.Pitch,
                     source.At(0, sourceRect.top),
                     source.Pitch,
                     FSpans.data(),
                     FIndex.data() + size_t(sourceRect.top) * (FBlocks + 1),
                     FBlocks + 1,
                     uint32_t(sourceRect.left) / BlockPixels,
                     FBlocks,
                     sourceRect.bottom - sourceRect.top,
                     uint32_t(sourceRect.left) * bytes,
                     uint32_t(sourceRect.right) * bytes,
                     sourceRect.left == 0 && sourceRect.right == source.Width};
    copyRows(rows);
}

} // namespace Win32
