// Field-by-field stream encoding shared by every persistent type.
#pragma once

#include "engine/core/InvalidData.h"
#include "platform/classlib/Streams.h"

#include <cstdint>

namespace Data {

using ClassLib::AnsiString;
using ClassLib::TStream;

// A u32 length and that many bytes, no terminator. A length beyond the bytes
// left or a NUL inside is "Invalid data.".
void ReadStreamString(TStream* stream, AnsiString& s);
AnsiString ReadStreamString(TStream& stream);
void WriteStreamString(TStream* stream, const AnsiString& s);

// A signed 32-bit count of items each at least minItemSize bytes long; negative
// or more than the stream can still hold is "Invalid data.".
int32_t ReadCount(TStream& stream, int64_t minItemSize);

// Reads a four-byte tag and raises "Invalid data." unless it is exactly tag.
void ReadTag(TStream& stream, const char (&tag)[5]);
void WriteTag(TStream& stream, const char (&tag)[5]);

} // namespace Data
