// The text lines scripts queue for a computer player, carried out between its
// planning steps.
#pragma once

#include "engine/core/DataObject.h"

#include <array>
#include <cstdint>

namespace AIHandler {

class TAIScriptStack : public Data::TDataObject {
public:
    static constexpr int MaxLines = 500;

    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    // False, with nothing queued, when the queue is full.
    bool Push(const ClassLib::AnsiString& line);
    // The oldest line; only with Count >= 1.
    ClassLib::AnsiString Pop();
    // Takes the first blank-separated token off the trimmed line.
    static ClassLib::AnsiString NextToken(ClassLib::AnsiString& line);

    std::array<ClassLib::AnsiString, MaxLines> Lines;
    int32_t Count = 0;
};

} // namespace AIHandler
