#include "engine/core/StreamData.h"

#include <cstring>

namespace Data {

void RaiseInvalidData() {
    throw EInvalidData();
}

void ReadStreamString(TStream* stream, AnsiString& s) {
    const auto length = stream->ReadValue<uint32_t>();
    CheckData(length <= static_cast<uint64_t>(stream->Remaining()));
    AnsiString text(length, '\0');
    stream->ReadBuffer(text.data(), length);
    CheckData(text.find('\0') == AnsiString::npos);
    s = std::move(text);
}

AnsiString ReadStreamString(TStream& stream) {
    AnsiString s;
    ReadStreamString(&stream, s);
    return s;
}

void WriteStreamString(TStream* stream, const AnsiString& s) {
    stream->WriteValue(static_cast<uint32_t>(s.size()));
    stream->WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
}

int32_t ReadCount(TStream& stream, int64_t minItemSize) {
    const auto count = stream.ReadValue<int32_t>();
    CheckData(count >= 0);
    CheckData(minItemSize <= 0 || count <= stream.Remaining() / minItemSize);
    return count;
}

void ReadTag(TStream& stream, const char (&tag)[5]) {
    char stored[4];
    stream.ReadBuffer(stored, 4);
    CheckData(std::memcmp(stored, tag, 4) == 0);
}

void WriteTag(TStream& stream, const char (&tag)[5]) {
    stream.WriteBuffer(tag, 4);
}

} // namespace Data
