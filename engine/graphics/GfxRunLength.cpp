// The three row formats are read by small readers that check every item against the end
// of its block (and of its row) before handing it on; one drawing loop then writes the
// part of each item that falls inside the pixels the caller allows.
#include "engine/graphics/GfxRunLength.h"

#include "engine/graphics/GfxPixels.h"

#include <algorithm>
#include <cstring>

namespace Gfx {

namespace {

enum class TRunKind { Literal, Repeat, Transparent, Darken };
enum class TStep { Item, End, Fault };

struct TRun {
    TRunKind Kind = TRunKind::Literal;
    int Count = 0;
    const uint8_t* Data = nullptr; // the literal pixels or the repeated one
};

uint16_t LoadPixel(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
void StorePixel(uint8_t* p, uint16_t pixel) {
    p[0] = static_cast<uint8_t>(pixel);
    p[1] = static_cast<uint8_t>(pixel >> 8);
}

// A literal (c > 0) or repeat (c < 0) item with its pixel data at position, which must
// lie before end; on success position moves past the data.
TStep TakePixels(int8_t c, const uint8_t*& position, const uint8_t* end, TRun& run) {
    const int bytes = c > 0 ? 2 * c : 2;
    if (end - position < bytes)
        return TStep::Fault;
    run = {c > 0 ? TRunKind::Literal : TRunKind::Repeat, c > 0 ? c : -c, position};
    position += bytes;
    return TStep::Item;
}

class TRunLineAReader {
public:
    TRunLineAReader(const uint8_t* source, const uint8_t* sourceEnd)
        : FPosition(source), FEnd(sourceEnd) {}

    TStep Next(TRun& run) {
        if (!FPosition || FPosition >= FEnd)
            return TStep::Fault;
        const auto c = static_cast<int8_t>(*FPosition++);
        return c == 0 ? TStep::End : TakePixels(c, FPosition, FEnd, run);
    }
    const uint8_t* NextRow() const { return FPosition; }

private:
    const uint8_t* FPosition;
    const uint8_t* FEnd;
};

// The u16 byte length that starts RunLineB and shadow rows; null when it does not fit.
const uint8_t* RowEnd(const uint8_t* source, const uint8_t* sourceEnd) {
    if (!source || sourceEnd - source < 2)
        return nullptr;
    const uint16_t length = LoadPixel(source);
    if (length < 2 || length > sourceEnd - source)
        return nullptr;
    return source + length;
}

class TRunLineBReader {
public:
    TRunLineBReader(const uint8_t* source, const uint8_t* sourceEnd)
        : FRowEnd(RowEnd(source, sourceEnd)), FPosition(FRowEnd ? source + 2 : nullptr),
          FEmpty(FRowEnd == FPosition) {}

    TStep Next(TRun& run) {
        if (!FRowEnd)
            return TStep::Fault;
        if (FEmpty)
            return TStep::End;
        for (;;) {
            if (FNext == 2) { // the next control word
                if (FRowEnd - FPosition < 2)
                    return TStep::Fault; // the row ends without its end mark
                FControl[0] = FPosition[0];
                FControl[1] = FPosition[1];
                FPosition += 2;
                FNext = 0;
            }
            const int index = FNext++;
            const auto c = static_cast<int8_t>(FControl[index]);
            if (c == 0) {
                if (index == 1)
                    return TStep::End;
                continue;
            }
            if (c < -32) {
                run = {TRunKind::Transparent, -c - 32, nullptr};
                return TStep::Item;
            }
            return TakePixels(c, FPosition, FRowEnd, run);
        }
    }
    const uint8_t* NextRow() const { return FRowEnd; }

private:
    const uint8_t* FRowEnd;
    const uint8_t* FPosition;
    bool FEmpty;
    uint8_t FControl[2] = {};
    int FNext = 2;
};

class TShadowReader {
public:
    TShadowReader(const uint8_t* source, const uint8_t* sourceEnd)
        : FRowEnd(RowEnd(source, sourceEnd)), FPosition(FRowEnd ? source + 2 : nullptr) {}

    TStep Next(TRun& run) {
        if (!FRowEnd)
            return TStep::Fault;
        if (FPosition >= FRowEnd)
            return TStep::End;
        const auto c = static_cast<int8_t>(*FPosition++);
        run = {c < 0 ? TRunKind::Darken : TRunKind::Transparent, c < 0 ? -c : c, nullptr};
        return TStep::Item;
    }
    const uint8_t* NextRow() const { return FRowEnd; }

private:
    const uint8_t* FRowEnd;
    const uint8_t* FPosition;
};

enum class TRowLength {
    Exact,  // the row must cover exactly the pixels allowed
    AtMost, // the row may end early
    Any,    // a clipped draw: pixels outside the allowed ones are skipped
};

struct TDrawing {
    int First = 0; // the row's pixel drawn at destination[0]
    int Count = 0; // how many pixels may be drawn
    TRowLength Length = TRowLength::Exact;
    uint32_t Key = 0xFFFFFFFF;      // repeats of this pixel are not drawn
    const uint16_t* Fill = nullptr; // what transparent pixels become; null leaves them
    uint16_t ShadowMask = 0;
};

template <class TReader>
const uint8_t* DrawRow(TReader reader, uint16_t* destination, const TDrawing& drawing) {
    const int last = drawing.First + drawing.Count;
    int position = 0;
    TRun run;
    for (;;) {
        const TStep step = reader.Next(run);
        if (step == TStep::Fault)
            return nullptr;
        if (step == TStep::End)
            break;
        const int from = std::max(position, drawing.First);
        const int to = std::min(position + run.Count, last);
        if (from < to) {
            uint16_t* target = destination + (from - drawing.First);
            const int skipped = from - position;
            const int length = to - from;
            switch (run.Kind) {
            case TRunKind::Literal:
                for (int i = 0; i < length; ++i)
                    target[i] = LoadPixel(run.Data + 2 * (skipped + i));
                break;
            case TRunKind::Repeat:
                if (const uint16_t pixel = LoadPixel(run.Data); pixel != drawing.Key)
                    std::fill_n(target, length, pixel);
                break;
            case TRunKind::Transparent:
                if (drawing.Fill)
                    std::fill_n(target, length, *drawing.Fill);
                break;
            case TRunKind::Darken:
                for (int i = 0; i < length; ++i)
                    target[i] = static_cast<uint16_t>((target[i] & drawing.ShadowMask) >> 1);
                break;
            }
        }
        position += run.Count;
        if (drawing.Length != TRowLength::Any && position > last)
            return nullptr;
    }
    if (drawing.Length == TRowLength::Exact && position != last)
        return nullptr;
    if (const int start = std::max(position, drawing.First); drawing.Fill && start < last)
        std::fill_n(destination + (start - drawing.First), last - start, *drawing.Fill);
    return reader.NextRow();
}

template <class TReader>
uint8_t* ConvertRow(uint8_t* source, const uint8_t* sourceEnd) {
    TReader reader(source, sourceEnd);
    TRun run;
    for (;;) {
        const TStep step = reader.Next(run);
        if (step == TStep::Fault)
            return nullptr;
        if (step == TStep::End)
            return source + (reader.NextRow() - source);
        const int pixels = run.Kind == TRunKind::Literal  ? run.Count
                           : run.Kind == TRunKind::Repeat ? 1
                                                          : 0;
        // Runs without pixels carry no data pointer to rebase.
        if (pixels == 0)
            continue;
        uint8_t* data = source + (run.Data - source);
        for (int i = 0; i < pixels; ++i)
            StorePixel(data + 2 * i, ConvertPixel565To555(LoadPixel(data + 2 * i)));
    }
}

// Darkens the pixels of a shadow row that fall inside [skip, skip + count).
template <int Bytes>
const uint8_t* ShadowLineWide(const uint8_t* source, const uint8_t* sourceEnd, uint8_t* destination,
                              int skip, int count) {
    TShadowReader reader(source, sourceEnd);
    const int last = skip + std::max(count, 0);
    int position = 0;
    TRun run;
    for (;;) {
        const TStep step = reader.Next(run);
        if (step == TStep::Fault)
            return nullptr;
        if (step == TStep::End)
            return reader.NextRow();
        if (run.Kind == TRunKind::Darken) {
            const int to = std::min(position + run.Count, last);
            for (int x = std::max(position, skip); x < to; ++x) {
                uint8_t* pixel = destination + Bytes * (x - skip);
                if (Bytes == 4) {
                    uint32_t value;
                    std::memcpy(&value, pixel, 4);
                    value = (value & 0x00FEFEFE) >> 1;
                    std::memcpy(pixel, &value, 4);
                } else {
                    for (int i = 0; i < 3; ++i)
                        pixel[i] = static_cast<uint8_t>(pixel[i] >> 1);
                }
            }
        }
        position += run.Count;
    }
}

} // namespace

const uint8_t* DecodeRleLine16(const uint8_t* source, const uint8_t* sourceEnd,
                               uint16_t* destination, int width) {
    return DrawRow(TRunLineAReader(source, sourceEnd), destination, {0, width});
}

const uint8_t* DecodeRleLine16Keyed(const uint8_t* source, const uint8_t* sourceEnd,
                                    uint16_t* destination, int width, uint32_t key) {
    return DrawRow(TRunLineAReader(source, sourceEnd), destination,
                   {0, width, TRowLength::Exact, key});
}

const uint8_t* BlitRleLine16Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                    uint16_t* destination, int skip, int count, uint32_t key) {
    return DrawRow(TRunLineAReader(source, sourceEnd), destination,
                   {skip, std::max(count, 0), TRowLength::Any, key});
}

uint8_t* ConvertRleLine565To555(uint8_t* source, const uint8_t* sourceEnd) {
    return ConvertRow<TRunLineAReader>(source, sourceEnd);
}

const uint8_t* DecodeRle2Line16(const uint8_t* source, const uint8_t* sourceEnd,
                                uint16_t* destination, int width, uint32_t fill) {
    const auto fillPixel = static_cast<uint16_t>(fill);
    return DrawRow(TRunLineBReader(source, sourceEnd), destination,
                   {0, width, TRowLength::AtMost, 0xFFFFFFFF, &fillPixel});
}

const uint8_t* DecodeRle2Line16Keyed(const uint8_t* source, const uint8_t* sourceEnd,
                                     uint16_t* destination, int width) {
    return DrawRow(TRunLineBReader(source, sourceEnd), destination, {0, width, TRowLength::AtMost});
}

const uint8_t* BlitRle2Line16Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                     uint16_t* destination, int skip, int count, uint32_t key) {
    return DrawRow(TRunLineBReader(source, sourceEnd), destination,
                   {skip, std::max(count, 0), TRowLength::Any, key});
}

uint8_t* ConvertRle2Line565To555(uint8_t* source, const uint8_t* sourceEnd) {
    return ConvertRow<TRunLineBReader>(source, sourceEnd);
}

const uint8_t* ShadowLine16(const uint8_t* source, const uint8_t* sourceEnd, uint16_t* destination,
                            int width, uint16_t mask) {
    return DrawRow(TShadowReader(source, sourceEnd), destination,
                   {0, width, TRowLength::AtMost, 0xFFFFFFFF, nullptr, mask});
}

const uint8_t* ShadowLine16Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                   uint16_t* destination, int skip, int count, uint16_t mask) {
    return DrawRow(TShadowReader(source, sourceEnd), destination,
                   {skip, std::max(count, 0), TRowLength::Any, 0xFFFFFFFF, nullptr, mask});
}

const uint8_t* ShadowLine24Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                   uint8_t* destination, int skip, int count) {
    return ShadowLineWide<3>(source, sourceEnd, destination, skip, count);
}

const uint8_t* ShadowLine32Clipped(const uint8_t* source, const uint8_t* sourceEnd,
                                   uint8_t* destination, int skip, int count) {
    return ShadowLineWide<4>(source, sourceEnd, destination, skip, count);
}

} // namespace Gfx
