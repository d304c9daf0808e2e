#include "platform/net/DirectPlaySockets.h"

#include "platform/net/DirectPlayLink.h"
#include "platform/net/LogThrottle.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace Win32 {

using ClassLib::AnsiString;
using ClassLib::Format;

namespace {

using TClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Searches repeat their request this often, in case a datagram is lost.
constexpr milliseconds SearchRepeat(250);
constexpr size_t MaxDatagram = 4096;
// Anyone can send the search port datagrams; only this many a second are logged.
constexpr size_t JunkLinesPerSecond = 5;

AnsiString SocketError() {
    return std::strerror(errno);
}

AnsiString AddressText(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return Format("%s:%u", text, unsigned(ntohs(address.sin_port)));
}

sockaddr_in MakeAddress(uint32_t hostOrderAddress, uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(hostOrderAddress);
    address.sin_port = htons(port);
    return address;
}

bool Resolve(const AnsiString& host, sockaddr_in& address) {
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    address.sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return true;
}

void SetNoDelay(int socket) {
    const int on = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

class TSocketTransport : public TDPTransport {
public:
    TSocketTransport(AnsiString host, const TDirectPlayOptions& options)
        : FHost(std::move(host)), FOptions(options) {}
    ~TSocketTransport() override { StopHost(); }

    HRESULT StartHost(TDPHostCallbacks& host) override;
    void StopHost() override;
    uint16_t SearchPort() const override { return FSearchPort; }
    HRESULT Search(const GUID& application, uint32_t timeoutMs,
                   const std::function<void(const TDPFoundSession&)>& found) override;
    HRESULT Connect(const TDPEndpoint& endpoint, int& socket) override;

private:
    void Listen();
    void AnswerDatagram();
    void Log(const AnsiString& line) const;
    void CloseHostSockets();

    const AnsiString FHost;
    const TDirectPlayOptions FOptions;
    TDPHostCallbacks* FCallbacks = nullptr;
    int FListen = -1;
    int FDatagrams = -1;
    int FWake = -1;
    uint16_t FTcpPort = 0;
    std::atomic<uint16_t> FSearchPort{0};
    std::thread FListener;
    TLogThrottle FJunkLog{JunkLinesPerSecond, std::chrono::seconds(1)};
};

void TSocketTransport::Log(const AnsiString& line) const {
    if (FOptions.Log)
        FOptions.Log(line);
    else
        std::fprintf(stderr, "%s\n", line.c_str());
}

void TSocketTransport::CloseHostSockets() {
    for (int* socket : {&FListen, &FDatagrams, &FWake})
        if (*socket >= 0) {
            ::close(*socket);
            *socket = -1;
        }
}

HRESULT TSocketTransport::StartHost(TDPHostCallbacks& host) {
    if (FListener.joinable())
        return DPERR_ALREADYINITIALIZED;
    // Without the player's consent only this machine can find and join the game.
    const uint32_t bindAddress = FOptions.LocalNetwork ? INADDR_ANY : INADDR_LOOPBACK;
    FDatagrams = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = MakeAddress(bindAddress, FOptions.SearchPort);
    if (FDatagrams < 0 ||
        ::bind(FDatagrams, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        Log(Format("DirectPlay: cannot answer searches on UDP port %u (%s)",
                   unsigned(FOptions.SearchPort), SocketError()));
        CloseHostSockets();
        return DPERR_CANNOTCREATESERVER;
    }
    socklen_t length = sizeof address;
    ::getsockname(FDatagrams, reinterpret_cast<sockaddr*>(&address), &length);
    const uint16_t searchPort = ntohs(address.sin_port);

    // A long accept queue: behind a burst of junk connections a short one makes a
    // real joiner's connect wait for the retry of its refused handshake.
    FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    address = MakeAddress(bindAddress, 0);
    if (FListen < 0 || ::setsockopt(FListen, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(FListen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(FListen, SOMAXCONN) != 0) {
        Log(Format("DirectPlay: cannot listen for joiners (%s)", SocketError()));
        CloseHostSockets();
        return DPERR_CANNOTCREATESERVER;
    }
    length = sizeof address;
    ::getsockname(FListen, reinterpret_cast<sockaddr*>(&address), &length);
    FTcpPort = ntohs(address.sin_port);

    FWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (FWake < 0) {
        CloseHostSockets();
        return DPERR_CANNOTCREATESERVER;
    }
    FCallbacks = &host;
    FSearchPort = searchPort;
    FListener = std::thread(&TSocketTransport::Listen, this);
    return DP_OK;
}

void TSocketTransport::StopHost() {
    if (!FListener.joinable())
        return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(FWake, &one, sizeof one);
    FListener.join();
    CloseHostSockets();
    FCallbacks = nullptr;
    FSearchPort = 0;
}

void TSocketTransport::Listen() {
    pollfd fds[3] = {{FWake, POLLIN, 0}, {FListen, POLLIN, 0}, {FDatagrams, POLLIN, 0}};
    while (true) {
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            Log(Format("DirectPlay: the host stopped listening (%s)", SocketError()));
            return;
        }
        if (fds[0].revents)
            return;
        if (fds[1].revents & POLLIN) {
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const int socket = ::accept4(FListen, reinterpret_cast<sockaddr*>(&from), &length,
                                         SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (socket >= 0) {
                SetNoDelay(socket);
                FCallbacks->Accept(socket, AddressText(from));
            }
        }
        if (fds[2].revents & POLLIN)
            AnswerDatagram();
    }
}

void TSocketTransport::AnswerDatagram() {
    uint8_t buffer[MaxDatagram];
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t got = ::recvfrom(FDatagrams, buffer, sizeof buffer, MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&from), &length);
    if (got < 0)
        return;
    try {
        const DPWire::TFrame frame = DPWire::Decode(buffer, static_cast<size_t>(got));
        const auto* request = std::get_if<DPWire::TSearchRequest>(&frame);
        if (!request)
            return;
        DPWire::TSearchReply reply;
        reply.Port = FTcpPort;
        if (!FCallbacks->AnswerSearch(request->Application, reply.Session))
            return;
        const std::vector<uint8_t> bytes = DPWire::Encode(reply);
        ::sendto(FDatagrams, bytes.data(), bytes.size(), MSG_DONTWAIT,
                 reinterpret_cast<const sockaddr*>(&from), sizeof from);
    } catch (const DPWire::EWireError& e) {
        size_t heldBack = 0;
        if (!FJunkLog.Allow(TClock::now(), heldBack))
            return;
        AnsiString line = Format("DirectPlay: ignored a datagram from %s: it holds %s",
                                 AddressText(from), e.Message);
        if (heldBack > 0)
            line += Format(" (%zu more were not logged)", heldBack);
        Log(line);
    }
}

HRESULT TSocketTransport::Search(const GUID& application, uint32_t timeoutMs,
                                 const std::function<void(const TDPFoundSession&)>& found) {
    if (FOptions.SearchPort == 0)
        return DPERR_INVALIDPARAMS;
    std::vector<sockaddr_in> targets(1, MakeAddress(INADDR_LOOPBACK, FOptions.SearchPort));
    if (!FHost.empty() && !Resolve(FHost, targets[0])) {
        Log(Format("DirectPlay: cannot find the host \"%s\"", FHost));
        return DPERR_NOCONNECTION;
    }
    // The player's own choice; tests and CI never set it.
    if (FHost.empty() && FOptions.LocalNetwork)
        targets.push_back(MakeAddress(INADDR_BROADCAST, FOptions.SearchPort));

    const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return DPERR_NOCONNECTION;
    if (targets.size() > 1) {
        const int on = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    }
    const std::vector<uint8_t> request = DPWire::Encode(DPWire::TSearchRequest{application});
    const auto deadline = TClock::now() + milliseconds(timeoutMs);
    auto nextRequest = TClock::now();
    while (true) {
        auto now = TClock::now();
        if (now >= deadline)
            break;
        if (now >= nextRequest) {
            for (const sockaddr_in& target : targets)
                ::sendto(socket, request.data(), request.size(), 0,
                         reinterpret_cast<const sockaddr*>(&target), sizeof target);
            nextRequest = now + SearchRepeat;
        }
        const auto wait =
            std::chrono::duration_cast<milliseconds>(std::min(deadline, nextRequest) - now)
                .count() +
            1;
        pollfd fd{socket, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(wait)) <= 0)
            continue;
        uint8_t buffer[MaxDatagram];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got = ::recvfrom(socket, buffer, sizeof buffer, 0,
                                       reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            continue;
        try {
            const DPWire::TFrame frame = DPWire::Decode(buffer, static_cast<size_t>(got));
            if (const auto* reply = std::get_if<DPWire::TSearchReply>(&frame)) {
                char text[INET_ADDRSTRLEN] = {};
                ::inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
                found(TDPFoundSession{TDPEndpoint{text, reply->Port}, reply->Session});
            }
        } catch (const DPWire::EWireError& e) {
            Log(Format("DirectPlay: ignored an answer from %s: it holds %s", AddressText(from),
                       e.Message));
        }
    }
    ::close(socket);
    return DP_OK;
}

HRESULT TSocketTransport::Connect(const TDPEndpoint& endpoint, int& result) {
    sockaddr_in address = MakeAddress(0, endpoint.Port);
    if (!Resolve(endpoint.Address, address))
        return DPERR_NOCONNECTION;
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return DPERR_NOCONNECTION;
    int error = 0;
    if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            pollfd fd{socket, POLLOUT, 0};
            if (PollUntil(fd, std::chrono::steady_clock::now() +
                                  std::chrono::milliseconds(FOptions.AnswerTimeoutMs)) == 1) {
                socklen_t length = sizeof error;
                ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length);
            } else {
                error = ETIMEDOUT;
            }
        }
    }
    if (error != 0) {
        Log(Format("DirectPlay: cannot connect to %s (%s)", AddressText(address),
                   std::strerror(error)));
        ::close(socket);
        return DPERR_NOCONNECTION;
    }
    SetNoDelay(socket);
    result = socket;
    return DP_OK;
}

} // namespace

std::shared_ptr<TDPTransport> CreateSocketTransport(const AnsiString& host,
                                                    const TDirectPlayOptions& options) {
    return std::make_shared<TSocketTransport>(host, options);
}

} // namespace Win32
