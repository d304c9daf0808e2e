// Our DirectPlay 4: connections, session search, host and join, players with
// their data, and guaranteed messages ordered per sender, with DirectPlay's
// result codes. The host of a session relays between the joiners; each joiner
// holds one TCP connection to it. Every call is thread-safe: the game sends from
// its main thread while a worker thread receives.
#pragma once

#include "platform/ResultCodes.h"
#include "platform/classlib/AnsiString.h"
#include "platform/net/DirectPlayTypes.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace Win32 {

class TInProcessNetwork;
class TDPSession;
class TDPTransport;
struct TDPFoundSession;

// The UDP port hosts answer session searches on.
constexpr uint16_t DefaultSearchPort = 47624;

struct TDirectPlayOptions {
    // Sessions on this in-process network instead of TCP/IP (tests); null uses sockets.
    std::shared_ptr<TInProcessNetwork> Network;
    // Port of session searches; a host given 0 picks a free one (read it with SearchPort).
    uint16_t SearchPort = DefaultSearchPort;
    // Searches also broadcast on the local network, and hosts accept joiners from
    // other machines. Off: only this machine (127.0.0.1) takes part.
    bool LocalNetwork = false;
    // Length of a session search whose caller gives no time-out.
    uint32_t SearchTimeoutMs = 500;
    // A side that has sent nothing for this long sends a keep-alive; a peer not
    // heard from for PeerTimeoutMs is lost.
    uint32_t KeepAliveMs = 1000;
    uint32_t PeerTimeoutMs = 6000;
    // Connect, join and create-player answers wait at most this long.
    uint32_t AnswerTimeoutMs = 10000;
    // A host drops a connection that has owned no player for this long: one that
    // never joined, joined without creating a player, or lost its last one.
    uint32_t PlayerTimeoutMs = 5000;
    // Bytes of messages the game has not read yet; beyond it the peer whose
    // frames queued the most is dropped and its unread messages with it.
    size_t ReceiveQueueLimit = 64 * 1024 * 1024;
    // Where dropped peers and lost sessions are reported; null writes to standard error.
    std::function<void(const ClassLib::AnsiString&)> Log;
};

// Environment variable with which the player enables play on the local network.
constexpr const char* LocalNetworkVariable = "VRN_LAN_PLAY";
// Sockets on the standard port; the local network only when VRN_LAN_PLAY is 1.
TDirectPlayOptions DefaultDirectPlayOptions();

class IDirectPlay4A {
public:
    using TEnumConnectionsCallback =
        std::function<bool(const GUID& serviceProvider, const void* connection, uint32_t size,
                           const DPNAME& name, uint32_t flags)>;
    // desc is null on the last call, whose flags hold DPESC_TIMEDOUT; returning
    // true then searches again for timeoutMs.
    using TEnumSessionsCallback =
        std::function<bool(const DPSESSIONDESC2* desc, uint32_t& timeoutMs, uint32_t flags)>;
    // flags: DPENUMPLAYERS_LOCAL or DPENUMPLAYERS_REMOTE.
    using TEnumPlayersCallback =
        std::function<bool(DPID id, uint32_t playerType, const DPNAME& name, uint32_t flags)>;

    explicit IDirectPlay4A(TDirectPlayOptions options);
    ~IDirectPlay4A();
    IDirectPlay4A(const IDirectPlay4A&) = delete;
    IDirectPlay4A& operator=(const IDirectPlay4A&) = delete;

    // TCP/IP and IPX, each with the address that selects it.
    HRESULT EnumConnections(const GUID* application, const TEnumConnectionsCallback& callback,
                            uint32_t flags);
    // connection: a compound address (IDirectPlayLobby3A::CreateCompoundAddress)
    // of size bytes. IPX answers DPERR_UNAVAILABLE.
    HRESULT InitializeConnection(const void* connection, uint32_t size, uint32_t flags);
    HRESULT EnumSessions(const DPSESSIONDESC2& desc, uint32_t timeoutMs,
                         const TEnumSessionsCallback& callback, uint32_t flags);
    // DPOPEN_CREATE hosts a new session; DPOPEN_JOIN joins one of the last search by
    // its guidInstance.
    HRESULT Open(const DPSESSIONDESC2& desc, uint32_t flags);
    HRESULT Close();
    HRESULT EnumPlayers(const GUID* instance, const TEnumPlayersCallback& callback, uint32_t flags);
    HRESULT CreatePlayer(DPID& id, const DPNAME* name, void* event, const void* data, uint32_t size,
                         uint32_t flags);
    HRESULT DestroyPlayer(DPID id);
    HRESULT Send(DPID from, DPID to, uint32_t flags, const void* data, uint32_t size);
    // data null or *size too small: DPERR_BUFFERTOOSMALL with the size in *size.
    HRESULT Receive(DPID* from, DPID* to, uint32_t flags, void* data, uint32_t* size);
    // A DPSESSIONDESC2 followed by the strings its pointers point to.
    HRESULT GetSessionDesc(void* data, uint32_t* size);
    HRESULT SetSessionDesc(const DPSESSIONDESC2& desc, uint32_t flags);
    HRESULT GetPlayerData(DPID id, void* data, uint32_t* size, uint32_t flags);
    HRESULT SetPlayerData(DPID id, const void* data, uint32_t size, uint32_t flags);

    // Not DirectPlay's: the UDP port this host answers searches on, 0 when not hosting.
    uint16_t SearchPort() const;

private:
    std::shared_ptr<TDPSession> Session() const;

    const TDirectPlayOptions FOptions;
    mutable std::mutex FLock;
    std::shared_ptr<TDPTransport> FTransport;
    std::vector<TDPFoundSession> FFound;
    std::shared_ptr<TDPSession> FSession;
};

// Stands in for CoCreateInstance of the DirectPlay object.
HRESULT DirectPlayCreate(const TDirectPlayOptions& options,
                         std::unique_ptr<IDirectPlay4A>& directPlay);

} // namespace Win32
