// The tokenizer of every text data file. Blanks and all bytes below 33 or above
// 127 separate tokens, ";" and "#" start comments to the end of the line, and
// double quotes group blanks into one token. All state is the stream position:
// after a token that ends its line the stream stands after the line end,
// otherwise on the first byte after the token and its trailing blanks.
#pragma once

#include "engine/core/InvalidData.h"
#include "platform/classlib/Streams.h"

#include <cstdint>

namespace Data {

using ClassLib::AnsiString;
using ClassLib::TStream;

// maxLength <= 0 means unlimited; a longer token is "Invalid data.". The end of
// the stream inside a token or comment is the stream read error.
void ReadToken(TStream* stream, AnsiString& token, int maxLength);
// At most size - 1 characters, copied with their terminating NUL.
void ReadTokenBuffer(TStream* stream, char* buffer, int size);
AnsiString ReadTokenString(TStream* stream);
// A decimal integer with an optional sign.
int ReadTokenInt(TStream* stream);
// 0 or 1; any other number is "Invalid data.".
bool ReadTokenBool(TStream* stream);
// Binary digits, the last one bit 0.
uint64_t ReadTokenBinary64(TStream* stream);

} // namespace Data
