// How a DirectPlay session reaches other machines: a host is found by a
// search and joined over a byte stream. Two transports exist: TCP/IP with UDP
// searches, and an in-process network for tests. Both hand the session a
// connected, non-blocking stream socket, so everything above them is shared.
#pragma once

#include "platform/ResultCodes.h"
#include "platform/classlib/AnsiString.h"
#include "platform/net/DirectPlayWire.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace Win32 {

// Where a found session is joined.
struct TDPEndpoint {
    ClassLib::AnsiString Address;
    uint16_t Port = 0;
};

struct TDPFoundSession {
    TDPEndpoint Endpoint;
    DPWire::TSessionInfo Session;
};

// What a hosting session offers its transport. Called from the transport's own
// thread until StopHost returns.
class TDPHostCallbacks {
public:
    virtual ~TDPHostCallbacks() = default;
    // The session as a search of this application sees it; false to stay silent.
    virtual bool AnswerSearch(const GUID& application, DPWire::TSessionInfo& session) = 0;
    // A joiner connected; the session takes ownership of the socket.
    virtual void Accept(int socket, const ClassLib::AnsiString& peerName) = 0;
};

class TDPTransport {
public:
    virtual ~TDPTransport() = default;
    virtual HRESULT StartHost(TDPHostCallbacks& host) = 0;
    // After it returns, the host's callbacks are no longer called.
    virtual void StopHost() = 0;
    // The UDP port searches reach this host on (0 when not hosting or not on sockets).
    virtual uint16_t SearchPort() const = 0;
    // Asks every reachable host and reports each answer as it comes, for timeoutMs.
    virtual HRESULT Search(const GUID& application, uint32_t timeoutMs,
                           const std::function<void(const TDPFoundSession&)>& found) = 0;
    // A connected, non-blocking stream socket to the host at endpoint.
    virtual HRESULT Connect(const TDPEndpoint& endpoint, int& socket) = 0;
};

} // namespace Win32
