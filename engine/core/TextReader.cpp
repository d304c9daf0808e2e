#include "engine/core/TextReader.h"

#include "engine/core/Base.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Data {

namespace {

constexpr uint8_t CR = 13;
constexpr uint8_t LF = 10;

// Bytes that are at most 32 as signed 8-bit values: controls, blank and 0x80-0xFF.
constexpr bool IsSeparator(uint8_t c) {
    return static_cast<int8_t>(c) <= 32;
}
constexpr bool IsCommentStart(uint8_t c) {
    return c == ';' || c == '#';
}
// Word bytes by table: the test of every byte of every word.
constexpr auto WordBytes = [] {
    std::array<bool, 256> word{};
    for (int c = 0; c < 256; ++c)
        word[size_t(c)] = !IsSeparator(uint8_t(c)) && !IsCommentStart(uint8_t(c));
    return word;
}();
bool IsBlank(uint8_t c) {
    return c == ' ' || c == '\t';
}

// The runs a token is made of, each with a test of one byte and of sixteen at once (a
// bit set for every byte that ends the run). A byte at a time, a data file of short
// tokens costs a mispredicted branch for nearly every run; sixteen at a time, few.
struct TWordRun {
    static bool Keep(uint8_t c) { return WordBytes[c]; }
#if defined(__SSE2__)
    static unsigned Stops(__m128i v) {
        const __m128i word = _mm_cmpgt_epi8(v, _mm_set1_epi8(32));
        const __m128i comment = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(';')),
                                             _mm_cmpeq_epi8(v, _mm_set1_epi8('#')));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(word, _mm_set1_epi8(-1)))) |
               static_cast<unsigned>(_mm_movemask_epi8(comment));
    }
#endif
};
struct TSeparatorRun {
    static bool Keep(uint8_t c) { return IsSeparator(c); }
#if defined(__SSE2__)
    static unsigned Stops(__m128i v) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(v, _mm_set1_epi8(32))));
    }
#endif
};
struct TCommentRun {
    static bool Keep(uint8_t c) { return c != CR && c != LF; }
#if defined(__SSE2__)
    static unsigned Stops(__m128i v) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
            _mm_cmpeq_epi8(v, _mm_set1_epi8(CR)), _mm_cmpeq_epi8(v, _mm_set1_epi8(LF)))));
    }
#endif
};
struct TQuotedRun {
    static bool Keep(uint8_t c) { return c != '"'; }
#if defined(__SSE2__)
    static unsigned Stops(__m128i v) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('"'))));
    }
#endif
};
struct TBlankRun {
    static bool Keep(uint8_t c) { return IsBlank(c); }
};

// The end of the run starting at p, or end.
template <typename Run>
const uint8_t* ScanRun(const uint8_t* p, const uint8_t* const end) {
#if defined(__SSE2__)
    if constexpr (requires(__m128i v) { Run::Stops(v); }) {
        for (; end - p >= 16; p += 16) {
            const unsigned stops = Run::Stops(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
            if (stops != 0)
                return p + std::countr_zero(stops);
        }
    }
#endif
    while (p != end && Run::Keep(*p))
        ++p;
    return p;
}

} // namespace

TTextReader::~TTextReader() {
    try {
        Sync();
    } catch (...) {
        // Only when the stream cannot seek; a reading that ends by an error stops anyway.
    }
}

// Bytes classified at once: one bit each in a register.
constexpr int RegionBytes = 64;

void TTextReader::Classify() {
    const uint8_t* const p = FCursor;
    uint64_t stops = 0;
#if defined(__SSE2__)
    for (int at = 0; at < RegionBytes; at += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        const __m128i separator = _mm_cmpgt_epi8(_mm_set1_epi8(33), v);
        const __m128i comment = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(';')),
                                             _mm_cmpeq_epi8(v, _mm_set1_epi8('#')));
        stops |= uint64_t(unsigned(_mm_movemask_epi8(_mm_or_si128(separator, comment)))) << at;
    }
#else
    for (int at = 0; at < RegionBytes; ++at)
        stops |= uint64_t(!WordBytes[p[at]]) << at;
#endif
    FRegion = p;
    FWordStops = stops;
}

void TTextReader::ForgetClasses() {
    FRegion = nullptr;
    FWordStops = ~uint64_t(0);
}

// The rules of ReadTokenRuns for a token that starts at the place inside the classified
// bytes, as far as the window settles them: the rest, and whatever raises, is left to it.
[[gnu::always_inline]] inline bool TTextReader::TakeClassified(uintptr_t at, int maxLength,
                                                               std::string_view& token) {
    const uint8_t* const start = FRegion + at;
    const uint8_t* const end = FEnd;
    const uint64_t stops = FWordStops >> at;
    if (stops & 1)
        return false;
    const uint8_t* p; // the first byte after the token and its trailing blanks
    if (*start == '"') {
        const uint8_t* const close = ScanRun<TQuotedRun>(start + 1, end);
        if (close == end)
            return false;
        token = {reinterpret_cast<const char*>(start + 1), size_t(close - start - 1)};
        p = close + 1;
    } else {
        if (stops == 0)
            return false;
        token = {reinterpret_cast<const char*>(start), size_t(std::countr_zero(stops))};
        p = start + token.size();
    }
    if (p == end)
        return false;
    if (IsBlank(*p)) {
        p = ScanRun<TBlankRun>(p + 1, end);
        if (p == end)
            return false;
    }
    if (maxLength > 0 && token.size() > size_t(maxLength))
        return false;
    if (IsCommentStart(*p)) {
        p = ScanRun<TCommentRun>(p + 1, end);
        if (p == end)
            return false;
    }
    if (*p == CR) {
        if (end - p < 2)
            return false;
        p += 2;
    }
    FCursor = p;
    return true;
}

std::string_view TTextReader::ReadTokenView(int maxLength) {
    const uintptr_t at =
        reinterpret_cast<uintptr_t>(FCursor) - reinterpret_cast<uintptr_t>(FRegion);
    std::string_view token;
    if (at < RegionBytes && TakeClassified(at, maxLength, token))
        return token;
    return ReadTokenAfresh(maxLength);
}

// A place past the classified bytes, or a token running out of them: classify from the
// place on. Where the window ends within them, or separators lead, the runs are cheaper.
[[gnu::noinline]] std::string_view TTextReader::ReadTokenAfresh(int maxLength) {
    std::string_view token;
    if (FEnd - FCursor >= RegionBytes && WordBytes[*FCursor]) {
        Classify();
        if (TakeClassified(0, maxLength, token))
            return token;
    }
    return ReadTokenRuns(maxLength);
}

[[gnu::noinline]] std::string_view TTextReader::ReadTokenRuns(int maxLength) {
    // The place is kept in locals: working on the members would store and reload it for
    // every run, as the spilled token's bytes may alias them.
    const uint8_t* p = FCursor;
    const uint8_t* end = FEnd;
    std::string_view token;
    bool spilled = false; // the token is in FSpill, not in the window
    const auto refill = [&]() __attribute__((always_inline)) {
        // A new window replaces the bytes a token in the window stands on.
        if (!spilled && !token.empty()) {
            FSpill.assign(token);
            token = FSpill;
        }
        spilled = true;
        FCursor = p;
        Refill();
        p = FCursor;
        end = FEnd;
    };
    const auto next = [&]() __attribute__((always_inline)) {
        if (p == end)
            refill();
        return *p++;
    };
    // Passes over the run and returns the first byte after it.
    const auto skip = [&]<typename Run>(Run) __attribute__((always_inline)) {
        for (;;) {
            p = ScanRun<Run>(p, end);
            if (p != end)
                return *p++;
            refill();
        }
    };
    // As skip, making the bytes passed over the token. A token that crosses windows is
    // gathered in FSpill.
    const auto take = [&]<typename Run>(Run) __attribute__((always_inline)) {
        spilled = false;
        for (;;) {
            const uint8_t* const runStart = p;
            p = ScanRun<Run>(p, end);
            const auto length = static_cast<size_t>(p - runStart);
            const size_t gathered = spilled ? FSpill.size() : 0;
            if (maxLength > 0 && gathered + length > static_cast<size_t>(maxLength))
                RaiseInvalidData();
            const std::string_view run(reinterpret_cast<const char*>(runStart), length);
            if (p != end) {
                token = spilled ? std::string_view(FSpill.append(run)) : run;
                return *p++;
            }
            if (spilled)
                FSpill.append(run);
            else
                FSpill.assign(run);
            spilled = true;
            FCursor = p;
            Refill();
            p = FCursor;
            end = FEnd;
        }
    };

    uint8_t c = next();
    for (;;) {
        if (IsSeparator(c)) {
            c = skip(TSeparatorRun{});
        } else if (IsCommentStart(c)) {
            c = skip(TCommentRun{});
        } else if (c == '"') {
            take(TQuotedRun{});
            c = next();
            break;
        } else {
            --p;
            c = take(TWordRun{});
            break;
        }
    }
    // The rest of the line when only blanks or a comment follow the token. A
    // comment also ends at a bare LF, so files with Unix line ends read alike.
    if (IsBlank(c))
        c = skip(TBlankRun{});
    if (IsCommentStart(c))
        c = skip(TCommentRun{});
    // Every byte above was taken from the window it lies in, so it can be given back;
    // the byte after a CR may lie beyond the window.
    if (c != CR)
        --p;
    else if (p != end)
        ++p;
    else
        FSkipPending = true;
    FCursor = p;
    return token;
}

void TTextReader::ReadToken(AnsiString& token, int maxLength) {
    token.assign(ReadTokenView(maxLength));
}

void TTextReader::NextWindow() {
    ForgetClasses();
    if (FLends) {
        if (FEnd != FWindow)
            FStream.Seek(FEnd - FWindow, ClassLib::soFromCurrent);
        if (const auto lent = FStream.PeekBuffer()) {
            FWindow = FCursor = lent->data();
            FEnd = FWindow + std::min<size_t>(lent->size(), 1 << 30);
            return;
        }
        FLends = false;
    }
    // Most one-token readings want few bytes: start small, grow for a whole file.
    const int32_t got = FStream.Read(FBuffer, FChunk);
    FChunk = std::min<int32_t>(FChunk * 4, sizeof FBuffer);
    FWindow = FCursor = FBuffer;
    FEnd = FBuffer + std::max(got, 0);
}

[[gnu::noinline, gnu::cold]] void TTextReader::Refill() {
    do {
        NextWindow();
        if (FCursor == FEnd)
            throw ClassLib::EReadError();
        if (FSkipPending) {
            ++FCursor;
            FSkipPending = false;
        }
    } while (FCursor == FEnd);
}

int64_t TTextReader::Remaining() {
    const int64_t unread = FLends ? -(FCursor - FWindow) : FEnd - FCursor;
    return std::max<int64_t>(FStream.Remaining() + unread - (FSkipPending ? 1 : 0), 0);
}

void TTextReader::Sync() {
    const int64_t delta = (FLends ? FCursor - FWindow : -(FEnd - FCursor)) + (FSkipPending ? 1 : 0);
    if (delta != 0)
        FStream.Seek(delta, ClassLib::soFromCurrent);
    // The stream now stands at the reader's place: start a new window from there.
    FWindow = FCursor = FEnd = nullptr;
    FSkipPending = false;
    ForgetClasses();
}

void ReadToken(TTextReader& reader, AnsiString& token, int maxLength) {
    reader.ReadToken(token, maxLength);
}

void ReadTokenBuffer(TTextReader& reader, char* buffer, int size) {
    const std::string_view token = reader.ReadTokenView(size > 1 ? size - 1 : 0);
    // A buffer of one byte holds only the terminator, whatever the reader's "no limit" says.
    CheckData(static_cast<int64_t>(token.size()) < size);
    std::memcpy(buffer, token.data(), token.size());
    buffer[token.size()] = '\0';
}

AnsiString ReadTokenString(TTextReader& reader) {
    return AnsiString(reader.ReadTokenView(0));
}

int ReadTokenInt(TTextReader& reader) {
    return ClassLib::StrToInt(reader.ReadTokenView(0));
}

bool ReadTokenBool(TTextReader& reader) {
    const int value = ReadTokenInt(reader);
    CheckData(value == 0 || value == 1);
    return value == 1;
}

uint64_t ReadTokenBinary64(TTextReader& reader) {
    return Base::StrToBinary64(reader.ReadTokenView(0));
}

void ReadToken(TStream* stream, AnsiString& token, int maxLength) {
    TTextReader reader(*stream);
    reader.ReadToken(token, maxLength);
}

void ReadTokenBuffer(TStream* stream, char* buffer, int size) {
    TTextReader reader(*stream);
    ReadTokenBuffer(reader, buffer, size);
}

AnsiString ReadTokenString(TStream* stream) {
    TTextReader reader(*stream);
    return ReadTokenString(reader);
}

int ReadTokenInt(TStream* stream) {
    TTextReader reader(*stream);
    return ReadTokenInt(reader);
}

bool ReadTokenBool(TStream* stream) {
    TTextReader reader(*stream);
    return ReadTokenBool(reader);
}

uint64_t ReadTokenBinary64(TStream* stream) {
    TTextReader reader(*stream);
    return ReadTokenBinary64(reader);
}

} // namespace Data
