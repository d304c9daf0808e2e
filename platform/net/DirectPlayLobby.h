// The part of DirectPlay's lobby object the game uses: building the address
// that selects a service provider and, for TCP/IP, the host to search.
#pragma once

#include "platform/ResultCodes.h"
#include "platform/classlib/AnsiString.h"
#include "platform/net/DirectPlayTypes.h"

#include <cstdint>
#include <memory>

namespace Win32 {

class IDirectPlayLobby3A {
public:
    // Lays the elements out one after another: GUID, u32 size, the data.
    // address null or *size too small: DPERR_BUFFERTOOSMALL with the size in *size.
    HRESULT CreateCompoundAddress(const DPCOMPOUNDADDRESSELEMENT* elements, uint32_t count,
                                  void* address, uint32_t* size);
};

// Stands in for CoCreateInstance of the lobby object.
HRESULT DirectPlayLobbyCreate(std::unique_ptr<IDirectPlayLobby3A>& lobby);

// What a compound address selects.
struct TDPAddress {
    GUID ServiceProvider{};
    // The DPAID_INet text, without its terminating zero; empty when absent.
    ClassLib::AnsiString Host;
};

// Checks every element against the size; false for a malformed address or one
// without a service provider.
bool ParseCompoundAddress(const void* address, uint32_t size, TDPAddress& result);

} // namespace Win32
