// An in-process network for tests: sessions hosted on it are found by searches
// on it, and joiners connect through socket pairs, so everything above the
// transport runs exactly as over TCP/IP without touching the machine's network.
#pragma once

#include "platform/net/DirectPlayTransport.h"
#include "platform/net/DirectPlayWire.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

namespace Win32 {

// A connection of a test that speaks the wire protocol itself.
class TRawConnection {
public:
    explicit TRawConnection(int socket) : FSocket(socket) {}
    ~TRawConnection();
    TRawConnection(const TRawConnection&) = delete;
    TRawConnection& operator=(const TRawConnection&) = delete;

    // Writes all bytes; false when the other side has closed.
    bool Write(const std::vector<uint8_t>& bytes);
    // Ends the stream in the middle of whatever was written.
    void EndWriting();
    // The next frame, or false after timeoutMs or when the stream ended.
    bool ReadFrame(DPWire::TFrame& frame, uint32_t timeoutMs);
    // Discards what arrives until the other side closes; false when it is still
    // open after timeoutMs.
    bool WaitUntilClosed(uint32_t timeoutMs);

private:
    enum class TRead { Data, Closed, TimedOut };
    // Waits until deadline for bytes and keeps them for ReadFrame.
    TRead ReadSome(std::chrono::steady_clock::time_point deadline);

    int FSocket;
    DPWire::TFrameReader FFrames;
};

class TInProcessNetwork;

// A host of a test that speaks the wire protocol itself: it answers searches
// with the given session and hands over the connections of joiners.
class TRawHost : public TDPHostCallbacks {
public:
    TRawHost(std::shared_ptr<TInProcessNetwork> network, DPWire::TSessionInfo session);
    ~TRawHost() override;
    TRawHost(const TRawHost&) = delete;
    TRawHost& operator=(const TRawHost&) = delete;

    // The next joiner's connection; null when none came within timeoutMs.
    std::unique_ptr<TRawConnection> NextJoiner(uint32_t timeoutMs);

    bool AnswerSearch(const GUID& application, DPWire::TSessionInfo& session) override;
    void Accept(int socket, const ClassLib::AnsiString& peerName) override;

private:
    const std::shared_ptr<TInProcessNetwork> FNetwork;
    const DPWire::TSessionInfo FSession;
    uint16_t FKey;
    std::mutex FLock;
    std::condition_variable FArrived;
    std::deque<int> FSockets;
};

class TInProcessNetwork {
public:
    TInProcessNetwork() = default;
    TInProcessNetwork(const TInProcessNetwork&) = delete;
    TInProcessNetwork& operator=(const TInProcessNetwork&) = delete;

    // A connection to the host that opened its session last, as a joiner has
    // before its Hello; null when nobody hosts.
    std::unique_ptr<TRawConnection> ConnectRaw();

private:
    friend class TInProcessTransport;
    friend class TRawHost;
    uint16_t Register(TDPHostCallbacks& host);
    void Unregister(uint16_t key);
    HRESULT Connect(uint16_t key, int& socket);

    std::mutex FLock;
    std::map<uint16_t, TDPHostCallbacks*> FHosts;
    uint16_t FNextKey = 1;
    unsigned FConnections = 0;
};

std::shared_ptr<TDPTransport> CreateInProcessTransport(std::shared_ptr<TInProcessNetwork> network);

} // namespace Win32
