#include "engine/core/TextReader.h"

#include "engine/core/Base.h"

#include <algorithm>
#include <array>
#include <cstring>

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
bool InWord(uint8_t c) {
    return WordBytes[c];
}
bool InComment(uint8_t c) {
    return c != CR && c != LF;
}

// Scans the bytes the stream lends from its buffer, or reads them in blocks when it lends
// none, and leaves the stream exactly where a byte-by-byte reader would leave it. While
// bytes are lent the stream stands at the start of the lent window.
class ByteSource {
public:
    explicit ByteSource(TStream& stream) : FStream(stream) {}

    uint8_t Next() {
        if (FCursor == FEnd)
            Refill();
        return *FCursor++;
    }
    // Gives back the byte just taken.
    void Unget() { --FCursor; }
    // Passes over bytes while keep(byte) holds and returns the first byte that does not.
    template <typename Keep>
    uint8_t SkipWhile(Keep keep) {
        for (;;) {
            const uint8_t* p = FCursor;
            while (p != FEnd && keep(*p))
                ++p;
            if (p != FEnd) {
                FCursor = p + 1;
                return *p;
            }
            FCursor = p;
            Refill();
        }
    }
    // As SkipWhile, appending the bytes passed over to token.
    template <typename Keep>
    uint8_t AppendWhile(AnsiString& token, int maxLength, Keep keep) {
        for (;;) {
            const uint8_t* const runStart = FCursor;
            const uint8_t* p = runStart;
            while (p != FEnd && keep(*p))
                ++p;
            const auto run = static_cast<size_t>(p - runStart);
            if (maxLength > 0 && token.size() + run > static_cast<size_t>(maxLength))
                RaiseInvalidData();
            token.append(reinterpret_cast<const char*>(runStart), run);
            FCursor = p;
            if (p != FEnd) {
                ++FCursor;
                return *p;
            }
            Refill();
        }
    }
    // Leaves the stream delta bytes after the last byte taken.
    void Finish(int delta) {
        if (FLends)
            FStream.Seek(FCursor - FWindow + delta, ClassLib::soFromCurrent);
        else
            FStream.Seek(FStart + FReadBefore + (FCursor - FWindow) + delta,
                         ClassLib::soFromBeginning);
    }

private:
    void Refill() {
        if (FLends) {
            if (FEnd != FWindow)
                FStream.Seek(FEnd - FWindow, ClassLib::soFromCurrent);
            if (const auto lent = FStream.PeekBuffer()) {
                FWindow = FCursor = lent->data();
                FEnd = FWindow + std::min<size_t>(lent->size(), 1 << 30);
            } else {
                FLends = false;
                FStart = FStream.GetPosition();
                FEnd = FWindow;
            }
        }
        if (!FLends) {
            // Most tokens are short: start small so each call reads little beyond its token.
            FReadBefore += FEnd - FWindow;
            const int32_t got = FStream.Read(FBuffer, FChunk);
            FChunk = std::min<int32_t>(FChunk * 4, sizeof FBuffer);
            FWindow = FCursor = FBuffer;
            FEnd = FBuffer + std::max(got, 0);
        }
        if (FCursor == FEnd)
            throw ClassLib::EReadError();
    }

    TStream& FStream;
    const uint8_t* FWindow = nullptr; // the bytes at hand: lent or read
    const uint8_t* FCursor = nullptr;
    const uint8_t* FEnd = nullptr;
    bool FLends = true;
    int64_t FStart = 0;      // without lending: where reading began
    int64_t FReadBefore = 0; // and the bytes read before the window
    int32_t FChunk = 32;
    uint8_t FBuffer[2048];
};

} // namespace

void ReadToken(TStream* stream, AnsiString& token, int maxLength) {
    token.clear();
    ByteSource source(*stream);
    uint8_t c = source.Next();
    for (;;) {
        if (IsSeparator(c)) {
            c = source.SkipWhile(IsSeparator);
        } else if (IsCommentStart(c)) {
            c = source.SkipWhile(InComment);
        } else if (c == '"') {
            source.AppendWhile(token, maxLength, [](uint8_t b) { return b != '"'; });
            c = source.Next();
            break;
        } else {
            source.Unget();
            c = source.AppendWhile(token, maxLength, InWord);
            break;
        }
    }
    // The rest of the line when only blanks or a comment follow the token. A
    // comment also ends at a bare LF, so files with Unix line ends read alike.
    if (c == ' ' || c == '\t')
        c = source.SkipWhile([](uint8_t b) { return b == ' ' || b == '\t'; });
    if (IsCommentStart(c))
        c = source.SkipWhile(InComment);
    source.Finish(c == CR ? 1 : -1);
}

void ReadTokenBuffer(TStream* stream, char* buffer, int size) {
    AnsiString token;
    ReadToken(stream, token, size > 1 ? size - 1 : 0);
    // A buffer of one byte holds only the terminator, whatever the reader's "no limit" says.
    CheckData(static_cast<int64_t>(token.size()) < size);
    std::memcpy(buffer, token.c_str(), token.size() + 1);
}

AnsiString ReadTokenString(TStream* stream) {
    AnsiString token;
    ReadToken(stream, token, 0);
    return token;
}

int ReadTokenInt(TStream* stream) {
    return ClassLib::StrToInt(ReadTokenString(stream));
}

bool ReadTokenBool(TStream* stream) {
    const int value = ReadTokenInt(stream);
    CheckData(value == 0 || value == 1);
    return value == 1;
}

uint64_t ReadTokenBinary64(TStream* stream) {
    return Base::StrToBinary64(ReadTokenString(stream));
}

} // namespace Data
