#include "game/ai/AIScriptStack.h"

#include "engine/core/InvalidData.h"

#include <algorithm>

namespace AIHandler {

void TAIScriptStack::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    const auto count = stream->ReadValue<uint32_t>();
    Data::CheckData(count <= uint32_t(MaxLines));
    for (uint32_t i = 0; i < count; ++i) {
        Data::ReadStreamString(stream, Lines[i]);
        Count = int32_t(i + 1);
    }
}

void TAIScriptStack::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteValue(uint32_t(Count));
    for (int32_t i = 0; i < Count; ++i)
        Data::WriteStreamString(stream, Lines[size_t(i)]);
}

void TAIScriptStack::Clear() {
    for (ClassLib::AnsiString& line : Lines)
        line.clear();
    Count = 0;
}

bool TAIScriptStack::Push(const ClassLib::AnsiString& line) {
    if (Count >= MaxLines)
        return false;
    Lines[size_t(Count++)] = line;
    return true;
}

ClassLib::AnsiString TAIScriptStack::Pop() {
    if (Count <= 0)
        return {};
    ClassLib::AnsiString oldest = std::move(Lines[0]);
    std::move(Lines.begin() + 1, Lines.begin() + Count, Lines.begin());
    Lines[size_t(--Count)].clear();
    return oldest;
}

ClassLib::AnsiString TAIScriptStack::NextToken(ClassLib::AnsiString& line) {
    line = ClassLib::Trim(line);
    const size_t blank = line.find(' ');
    ClassLib::AnsiString token = line.substr(0, blank);
    line.erase(0, blank == ClassLib::AnsiString::npos ? blank : blank + 1);
    return ClassLib::Trim(token);
}

} // namespace AIHandler
