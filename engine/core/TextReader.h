// The tokenizer of every text data file. Blanks and all bytes below 33 or above
// 127 separate tokens, ";" and "#" start comments to the end of the line, and
// double quotes group blanks into one token. After a token that ends its line the
// reader stands after the line end, otherwise on the first byte after the token and
// its trailing blanks.
#pragma once

#include "engine/core/InvalidData.h"
#include "platform/classlib/Streams.h"

#include <cstdint>
#include <string_view>

namespace Data {

using ClassLib::AnsiString;
using ClassLib::TStream;

// Reads a file's tokens one after another, keeping its place in the bytes the stream
// lends (or in blocks it reads) between tokens, so a token costs no stream call. When
// the reader goes, or on Sync, the stream is left exactly where reading the same tokens
// one call at a time would leave it. Nothing else may read or move the stream while a
// reader stands on it.
class TTextReader {
public:
    explicit TTextReader(TStream& stream) : FStream(stream) {}
    ~TTextReader();
    TTextReader(const TTextReader&) = delete;
    TTextReader& operator=(const TTextReader&) = delete;

    // maxLength <= 0 means unlimited; a longer token is "Invalid data.". The end of
    // the stream inside a token or comment is the stream read error.
    void ReadToken(AnsiString& token, int maxLength);
    // The same token without a copy: valid until the next call.
    std::string_view ReadTokenView(int maxLength);
    // The bytes after the reader's place.
    int64_t Remaining();
    // No byte after the reader's place; asks the stream only when the window is used up.
    bool AtEnd() { return FCursor == FEnd && Remaining() == 0; }
    // Puts the stream at the reader's place.
    void Sync();

private:
    // The whole rules, a run at a time: for tokens near the end of the window or the
    // classified bytes, and for the stream's first tokens.
    std::string_view ReadTokenRuns(int maxLength);
    // A token starting at FRegion + at; false leaves it to ReadTokenRuns.
    bool TakeClassified(uintptr_t at, int maxLength, std::string_view& token);
    std::string_view ReadTokenAfresh(int maxLength);
    void Classify();
    void ForgetClasses();
    void Refill();
    void NextWindow();

    TStream& FStream;
    const uint8_t* FWindow = nullptr; // the bytes at hand: lent or read
    const uint8_t* FCursor = nullptr;
    const uint8_t* FEnd = nullptr;
    bool FLends = true;        // the stream stands at FWindow; otherwise at FEnd
    bool FSkipPending = false; // a line end's second byte lies beyond the window
    AnsiString FSpill;         // a token that crosses windows
    // Bit n stands for byte n from FRegion on, 64 bytes classified at once, so a word's
    // end is found by a shift and a bit count rather than a compare per word. Classified
    // afresh from the place when it leaves them or a word runs past them.
    const uint8_t* FRegion = nullptr;
    uint64_t FWordStops = ~uint64_t(0); // separators and comment starts
    int32_t FChunk = 32;
    uint8_t FBuffer[4096];
};

// maxLength <= 0 means unlimited; a longer token is "Invalid data.".
void ReadToken(TTextReader& reader, AnsiString& token, int maxLength);
// At most size - 1 characters, copied with their terminating NUL.
void ReadTokenBuffer(TTextReader& reader, char* buffer, int size);
AnsiString ReadTokenString(TTextReader& reader);
// A decimal integer with an optional sign.
int ReadTokenInt(TTextReader& reader);
// 0 or 1; any other number is "Invalid data.".
bool ReadTokenBool(TTextReader& reader);
// Binary digits, the last one bit 0.
uint64_t ReadTokenBinary64(TTextReader& reader);

// One token straight from a stream, for files read a token or two at a time.
void ReadToken(TStream* stream, AnsiString& token, int maxLength);
void ReadTokenBuffer(TStream* stream, char* buffer, int size);
AnsiString ReadTokenString(TStream* stream);
int ReadTokenInt(TStream* stream);
bool ReadTokenBool(TStream* stream);
uint64_t ReadTokenBinary64(TStream* stream);

} // namespace Data
