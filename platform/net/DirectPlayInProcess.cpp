#include "platform/net/DirectPlayInProcess.h"

#include "platform/net/DirectPlayLink.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Win32 {

using ClassLib::Format;
using TClock = std::chrono::steady_clock;

class TInProcessTransport : public TDPTransport {
public:
    explicit TInProcessTransport(std::shared_ptr<TInProcessNetwork> network)
        : FNetwork(std::move(network)) {}
    ~TInProcessTransport() override { StopHost(); }

    HRESULT StartHost(TDPHostCallbacks& host) override {
        if (FKey != 0)
            return DPERR_ALREADYINITIALIZED;
        FKey = FNetwork->Register(host);
        return DP_OK;
    }
    void StopHost() override {
        if (FKey != 0)
            FNetwork->Unregister(FKey);
        FKey = 0;
    }
    uint16_t SearchPort() const override { return 0; }
    HRESULT Search(const GUID& application, uint32_t,
                   const std::function<void(const TDPFoundSession&)>& found) override {
        std::vector<TDPFoundSession> sessions;
        {
            std::lock_guard<std::mutex> lock(FNetwork->FLock);
            for (const auto& [key, host] : FNetwork->FHosts) {
                TDPFoundSession session{TDPEndpoint{"in-process", key}, {}};
                if (host->AnswerSearch(application, session.Session))
                    sessions.push_back(std::move(session));
            }
        }
        for (const TDPFoundSession& session : sessions)
            found(session);
        return DP_OK;
    }
    HRESULT Connect(const TDPEndpoint& endpoint, int& socket) override {
        return FNetwork->Connect(endpoint.Port, socket);
    }

private:
    const std::shared_ptr<TInProcessNetwork> FNetwork;
    uint16_t FKey = 0;
};

uint16_t TInProcessNetwork::Register(TDPHostCallbacks& host) {
    std::lock_guard<std::mutex> lock(FLock);
    const uint16_t key = FNextKey++;
    FHosts[key] = &host;
    return key;
}

void TInProcessNetwork::Unregister(uint16_t key) {
    std::lock_guard<std::mutex> lock(FLock);
    FHosts.erase(key);
}

HRESULT TInProcessNetwork::Connect(uint16_t key, int& socket) {
    std::lock_guard<std::mutex> lock(FLock);
    const auto host = FHosts.find(key);
    if (host == FHosts.end())
        return DPERR_NOCONNECTION;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        return DPERR_NOCONNECTION;
    host->second->Accept(ends[1], Format("in-process peer %u", ++FConnections));
    socket = ends[0];
    return DP_OK;
}

std::unique_ptr<TRawConnection> TInProcessNetwork::ConnectRaw() {
    uint16_t key;
    {
        std::lock_guard<std::mutex> lock(FLock);
        if (FHosts.empty())
            return nullptr;
        key = FHosts.rbegin()->first;
    }
    int socket;
    if (FAILED(Connect(key, socket)))
        return nullptr;
    return std::make_unique<TRawConnection>(socket);
}

std::shared_ptr<TDPTransport> CreateInProcessTransport(std::shared_ptr<TInProcessNetwork> network) {
    return std::make_shared<TInProcessTransport>(std::move(network));
}

TRawHost::TRawHost(std::shared_ptr<TInProcessNetwork> network, DPWire::TSessionInfo session)
    : FNetwork(std::move(network)), FSession(std::move(session)) {
    FKey = FNetwork->Register(*this);
}

TRawHost::~TRawHost() {
    FNetwork->Unregister(FKey);
    for (const int socket : FSockets)
        ::close(socket);
}

std::unique_ptr<TRawConnection> TRawHost::NextJoiner(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(FLock);
    if (!FArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return !FSockets.empty(); }))
        return nullptr;
    const int socket = FSockets.front();
    FSockets.pop_front();
    return std::make_unique<TRawConnection>(socket);
}

bool TRawHost::AnswerSearch(const GUID&, DPWire::TSessionInfo& session) {
    session = FSession;
    return true;
}

void TRawHost::Accept(int socket, const ClassLib::AnsiString&) {
    std::lock_guard<std::mutex> lock(FLock);
    FSockets.push_back(socket);
    FArrived.notify_all();
}

TRawConnection::~TRawConnection() {
    ::close(FSocket);
}

bool TRawConnection::Write(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t sent =
            ::send(FSocket, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (sent > 0) {
            done += static_cast<size_t>(sent);
        } else if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd fd{FSocket, POLLOUT, 0};
            ::poll(&fd, 1, 100);
        } else {
            return false;
        }
    }
    return true;
}

void TRawConnection::EndWriting() {
    ::shutdown(FSocket, SHUT_WR);
}

auto TRawConnection::ReadSome(TClock::time_point deadline) -> TRead {
    pollfd fd{FSocket, POLLIN, 0};
    if (PollUntil(fd, deadline) <= 0)
        return TRead::TimedOut;
    uint8_t buffer[4096];
    const ssize_t got = ::recv(FSocket, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
        return TRead::Closed;
    if (got > 0)
        FFrames.Append(buffer, static_cast<size_t>(got));
    return TRead::Data;
}

bool TRawConnection::ReadFrame(DPWire::TFrame& frame, uint32_t timeoutMs) {
    const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
    while (!FFrames.Next(frame))
        if (ReadSome(deadline) != TRead::Data)
            return false;
    return true;
}

bool TRawConnection::WaitUntilClosed(uint32_t timeoutMs) {
    const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
    TRead result;
    while ((result = ReadSome(deadline)) == TRead::Data) {
    }
    return result == TRead::Closed;
}

} // namespace Win32
