#include "platform/net/DirectPlayLobby.h"

#include <cstring>

namespace Win32 {

namespace {
constexpr uint32_t ElementHeaderSize = sizeof(GUID) + sizeof(uint32_t);
} // namespace

HRESULT IDirectPlayLobby3A::CreateCompoundAddress(const DPCOMPOUNDADDRESSELEMENT* elements,
                                                  uint32_t count, void* address, uint32_t* size) {
    if (!size || (count > 0 && !elements))
        return DPERR_INVALIDPARAMS;
    uint64_t needed = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (elements[i].dwDataSize > 0 && !elements[i].lpData)
            return DPERR_INVALIDPARAMS;
        needed += ElementHeaderSize + uint64_t(elements[i].dwDataSize);
    }
    if (needed > UINT32_MAX)
        return DPERR_INVALIDPARAMS;
    if (!address || *size < needed) {
        *size = static_cast<uint32_t>(needed);
        return DPERR_BUFFERTOOSMALL;
    }
    auto* out = static_cast<uint8_t*>(address);
    for (uint32_t i = 0; i < count; ++i) {
        const DPCOMPOUNDADDRESSELEMENT& element = elements[i];
        std::memcpy(out, &element.guidDataType, sizeof(GUID));
        std::memcpy(out + sizeof(GUID), &element.dwDataSize, sizeof(uint32_t));
        if (element.dwDataSize > 0)
            std::memcpy(out + ElementHeaderSize, element.lpData, element.dwDataSize);
        out += ElementHeaderSize + element.dwDataSize;
    }
    *size = static_cast<uint32_t>(needed);
    return DP_OK;
}

HRESULT DirectPlayLobbyCreate(std::unique_ptr<IDirectPlayLobby3A>& lobby) {
    lobby = std::make_unique<IDirectPlayLobby3A>();
    return DP_OK;
}

bool ParseCompoundAddress(const void* address, uint32_t size, TDPAddress& result) {
    if (!address)
        return false;
    const auto* bytes = static_cast<const uint8_t*>(address);
    bool haveProvider = false;
    result = TDPAddress{};
    uint32_t position = 0;
    while (position < size) {
        if (size - position < ElementHeaderSize)
            return false;
        GUID type;
        uint32_t length;
        std::memcpy(&type, bytes + position, sizeof type);
        std::memcpy(&length, bytes + position + sizeof type, sizeof length);
        position += ElementHeaderSize;
        if (length > size - position)
            return false;
        const uint8_t* data = bytes + position;
        if (type == DPAID_ServiceProvider) {
            if (length != sizeof(GUID))
                return false;
            std::memcpy(&result.ServiceProvider, data, sizeof(GUID));
            haveProvider = true;
        } else if (type == DPAID_INet) {
            const void* end = length > 0 ? std::memchr(data, 0, length) : nullptr;
            if (!end)
                return false;
            result.Host.assign(reinterpret_cast<const char*>(data),
                               static_cast<const uint8_t*>(end) - data);
        }
        position += length;
    }
    return haveProvider;
}

} // namespace Win32
