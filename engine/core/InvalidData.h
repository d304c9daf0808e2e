// Malformed stored data: every loader reports it with this one exception.
#pragma once

#include "platform/classlib/Exception.h"

namespace Data {

class EInvalidData : public ClassLib::EStreamError {
public:
    EInvalidData() : EStreamError("Invalid data.") {}
    using EStreamError::EStreamError;
};

[[noreturn]] void RaiseInvalidData();
inline void CheckData(bool condition) {
    if (!condition)
        RaiseInvalidData();
}

} // namespace Data
