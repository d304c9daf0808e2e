#include "engine/core/TextReader.h"

#include "engine/core/Base.h"

#include <algorithm>
#include <cstring>

namespace Data {

namespace {

constexpr uint8_t CR = 13;
constexpr uint8_t LF = 10;

// Bytes that are at most 32 as signed 8-bit values: controls, blank and 0x80-0xFF.
bool IsSeparator(uint8_t c) {
    return static_cast<int8_t>(c) <= 32;
}
bool IsCommentStart(uint8_t c) {
    return c == ';' || c == '#';
}

// Reads the stream in blocks and remembers how far the tokenizer really got,
// so the stream can be left exactly where a byte-by-byte reader would leave it.
class ByteSource {
public:
    explicit ByteSource(TStream& stream) : FStream(stream), FStart(stream.GetPosition()) {}

    uint8_t Next() {
        if (FIndex == FLength) {
            FConsumedBefore += FLength;
            // Most tokens are short: start small so each call reads little beyond its token.
            FLength = FStream.Read(FBuffer, FChunk);
            FChunk = std::min<int32_t>(FChunk * 4, sizeof FBuffer);
            FIndex = 0;
            if (FLength <= 0) {
                FLength = 0;
                throw ClassLib::EReadError();
            }
        }
        return FBuffer[FIndex++];
    }
    // Appends bytes to token while keep(byte) holds and returns the first byte that does not.
    template <typename Keep>
    uint8_t AppendWhile(AnsiString& token, int maxLength, Keep keep) {
        for (;;) {
            const int32_t runStart = FIndex;
            while (FIndex < FLength && keep(FBuffer[FIndex]))
                ++FIndex;
            const auto run = static_cast<size_t>(FIndex - runStart);
            if (maxLength > 0 && token.size() + run > static_cast<size_t>(maxLength))
                RaiseInvalidData();
            token.append(reinterpret_cast<const char*>(FBuffer + runStart), run);
            if (FIndex < FLength)
                return FBuffer[FIndex++];
            const uint8_t c = Next();
            if (!keep(c))
                return c;
            if (maxLength > 0 && token.size() >= static_cast<size_t>(maxLength))
                RaiseInvalidData();
            token += static_cast<char>(c);
        }
    }
    // Leaves the stream delta bytes after the last byte taken by Next.
    void Finish(int delta) {
        FStream.Seek(FStart + FConsumedBefore + FIndex + delta, ClassLib::soFromBeginning);
    }

private:
    TStream& FStream;
    int64_t FStart;
    int64_t FConsumedBefore = 0;
    int32_t FIndex = 0;
    int32_t FLength = 0;
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
            c = source.Next();
        } else if (IsCommentStart(c)) {
            while (c != CR && c != LF)
                c = source.Next();
        } else if (c == '"') {
            source.AppendWhile(token, maxLength, [](uint8_t b) { return b != '"'; });
            c = source.Next();
            break;
        } else {
            const auto inWord = [](uint8_t b) { return !IsSeparator(b) && !IsCommentStart(b); };
            token += static_cast<char>(c); // maxLength, when set, is at least 1
            c = source.AppendWhile(token, maxLength, inWord);
            break;
        }
    }
    // The rest of the line when only blanks or a comment follow the token. A
    // comment also ends at a bare LF, so files with Unix line ends read alike.
    while (c == ' ' || c == '\t')
        c = source.Next();
    if (IsCommentStart(c))
        while (c != CR && c != LF)
            c = source.Next();
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
