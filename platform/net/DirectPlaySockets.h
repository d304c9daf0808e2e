// TCP/IP for DirectPlay sessions: a host listens on a free TCP port and
// answers search datagrams on the UDP search port; joiners connect over TCP.
#pragma once

#include "platform/net/DirectPlay.h"
#include "platform/net/DirectPlayTransport.h"

#include <memory>

namespace Win32 {

// host: the address searches go to; empty means this machine (127.0.0.1), and
// with options.LocalNetwork also a broadcast on the local network.
std::shared_ptr<TDPTransport> CreateSocketTransport(const ClassLib::AnsiString& host,
                                                    const TDirectPlayOptions& options);

} // namespace Win32
