// Windows' 16-byte globally unique identifier, as devices and sessions are named by.
#pragma once

#include <cstdint>

namespace Win32 {

struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    friend bool operator==(const GUID&, const GUID&) = default;
};
static_assert(sizeof(GUID) == 16);

constexpr GUID GUID_NULL{};

} // namespace Win32
