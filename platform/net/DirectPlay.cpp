#include "platform/net/DirectPlay.h"

#include "platform/net/DirectPlayInProcess.h"
#include "platform/net/DirectPlayLobby.h"
#include "platform/net/DirectPlaySession.h"
#include "platform/net/DirectPlaySockets.h"

#include <cstdlib>
#include <cstring>

namespace Win32 {

namespace {

struct TServiceProvider {
    const GUID& Guid;
    const char* Name;
};
const TServiceProvider ServiceProviders[] = {
    {DPSPGUID_TCPIP, "Internet TCP/IP Connection For DirectPlay"},
    {DPSPGUID_IPX, "IPX Connection For DirectPlay"},
};

bool Available(const DPWire::TSessionInfo& session) {
    return !(session.Flags & (DPSESSION_NEWPLAYERSDISABLED | DPSESSION_JOINDISABLED)) &&
           (session.MaxPlayers == 0 || session.CurrentPlayers < session.MaxPlayers);
}

template <typename TCall>
HRESULT WithSession(const std::shared_ptr<TDPSession>& session, const TCall& call) {
    return session ? call(*session) : DPERR_NOSESSIONS;
}

} // namespace

TDirectPlayOptions DefaultDirectPlayOptions() {
    TDirectPlayOptions options;
    const char* value = std::getenv(LocalNetworkVariable);
    options.LocalNetwork = value && std::strcmp(value, "1") == 0;
    return options;
}

IDirectPlay4A::IDirectPlay4A(TDirectPlayOptions options) : FOptions(std::move(options)) {}

IDirectPlay4A::~IDirectPlay4A() {
    Close();
}

std::shared_ptr<TDPSession> IDirectPlay4A::Session() const {
    std::lock_guard<std::mutex> lock(FLock);
    return FSession;
}

HRESULT IDirectPlay4A::EnumConnections(const GUID*, const TEnumConnectionsCallback& callback,
                                       uint32_t flags) {
    if (!callback)
        return DPERR_INVALIDPARAMS;
    if (flags != 0 && flags != DPCONNECTION_DIRECTPLAY)
        return DPERR_INVALIDFLAGS;
    for (const TServiceProvider& provider : ServiceProviders) {
        const DPCOMPOUNDADDRESSELEMENT element{DPAID_ServiceProvider, sizeof(GUID), &provider.Guid};
        IDirectPlayLobby3A lobby;
        uint32_t size = 0;
        lobby.CreateCompoundAddress(&element, 1, nullptr, &size);
        std::vector<uint8_t> address(size);
        lobby.CreateCompoundAddress(&element, 1, address.data(), &size);
        const DPNAME name{sizeof(DPNAME), 0, provider.Name, nullptr};
        if (!callback(provider.Guid, address.data(), size, name, DPCONNECTION_DIRECTPLAY))
            break;
    }
    return DP_OK;
}

HRESULT IDirectPlay4A::InitializeConnection(const void* connection, uint32_t size, uint32_t flags) {
    if (flags != 0)
        return DPERR_INVALIDFLAGS;
    TDPAddress address;
    if (!ParseCompoundAddress(connection, size, address))
        return DPERR_INVALIDPARAMS;
    // IPX and every other provider are not installed here.
    if (address.ServiceProvider != DPSPGUID_TCPIP)
        return DPERR_UNAVAILABLE;
    std::lock_guard<std::mutex> lock(FLock);
    if (FTransport)
        return DPERR_ALREADYINITIALIZED;
    FTransport = FOptions.Network ? CreateInProcessTransport(FOptions.Network)
                                  : CreateSocketTransport(address.Host, FOptions);
    return DP_OK;
}

HRESULT IDirectPlay4A::EnumSessions(const DPSESSIONDESC2& desc, uint32_t timeoutMs,
                                    const TEnumSessionsCallback& callback, uint32_t flags) {
    if (desc.dwSize != sizeof(DPSESSIONDESC2) || !callback)
        return DPERR_INVALIDPARAMS;
    if (flags & ~(DPENUMSESSIONS_AVAILABLE | DPENUMSESSIONS_ALL))
        return DPERR_UNSUPPORTED;
    std::shared_ptr<TDPTransport> transport;
    {
        std::lock_guard<std::mutex> lock(FLock);
        transport = FTransport;
    }
    if (!transport)
        return DPERR_UNINITIALIZED;
    uint32_t timeout = timeoutMs ? timeoutMs : FOptions.SearchTimeoutMs;
    while (true) {
        // One entry per session, with its latest answer, in the order they were first heard.
        std::vector<TDPFoundSession> found;
        const HRESULT result = transport->Search(
            desc.guidApplication, timeout, [&found](const TDPFoundSession& session) {
                for (TDPFoundSession& known : found)
                    if (known.Session.Instance == session.Session.Instance) {
                        known = session;
                        return;
                    }
                found.push_back(session);
            });
        if (FAILED(result))
            return result;
        {
            std::lock_guard<std::mutex> lock(FLock);
            FFound = found;
        }
        for (const TDPFoundSession& session : found) {
            if (!(flags & DPENUMSESSIONS_ALL) && !Available(session.Session))
                continue;
            const DPWire::TSessionInfo& info = session.Session;
            const DPSESSIONDESC2 copy{sizeof(DPSESSIONDESC2), info.Flags,      info.Instance,
                                      info.Application,       info.MaxPlayers, info.CurrentPlayers,
                                      info.Name.c_str(),      nullptr,         info.User[0],
                                      info.User[1],           info.User[2],    info.User[3]};
            if (!callback(&copy, timeout, 0))
                return DP_OK;
        }
        if (!callback(nullptr, timeout, DPESC_TIMEDOUT))
            return DP_OK;
    }
}

HRESULT IDirectPlay4A::Open(const DPSESSIONDESC2& desc, uint32_t flags) {
    if (desc.dwSize != sizeof(DPSESSIONDESC2))
        return DPERR_INVALIDPARAMS;
    if (flags != DPOPEN_JOIN && flags != DPOPEN_CREATE)
        return DPERR_INVALIDFLAGS;
    // Held throughout: nothing else may happen to this object while it opens.
    std::lock_guard<std::mutex> lock(FLock);
    if (!FTransport)
        return DPERR_UNINITIALIZED;
    if (FSession)
        return DPERR_ALREADYINITIALIZED;
    auto session = std::make_shared<TDPSession>(FTransport, FOptions);
    HRESULT result;
    if (flags == DPOPEN_CREATE) {
        result = session->Create(desc);
    } else {
        const TDPFoundSession* found = nullptr;
        for (const TDPFoundSession& candidate : FFound)
            if (candidate.Session.Instance == desc.guidInstance)
                found = &candidate;
        if (!found)
            return DPERR_NOSESSIONS;
        result = session->Join(*found, desc.guidApplication);
    }
    if (SUCCEEDED(result))
        FSession = std::move(session);
    return result;
}

HRESULT IDirectPlay4A::Close() {
    std::shared_ptr<TDPSession> session;
    {
        std::lock_guard<std::mutex> lock(FLock);
        session = std::move(FSession);
    }
    if (session)
        session->Close();
    return DP_OK;
}

HRESULT IDirectPlay4A::EnumPlayers(const GUID* instance, const TEnumPlayersCallback& callback,
                                   uint32_t flags) {
    if (!callback)
        return DPERR_INVALIDPARAMS;
    // Players of a session this object has not joined are not known here.
    if (instance)
        return DPERR_UNSUPPORTED;
    if (flags & ~(DPENUMPLAYERS_LOCAL | DPENUMPLAYERS_REMOTE | DPENUMPLAYERS_GROUP))
        return DPERR_UNSUPPORTED;
    return WithSession(Session(), [&](TDPSession& s) { return s.EnumPlayers(callback, flags); });
}

HRESULT IDirectPlay4A::CreatePlayer(DPID& id, const DPNAME* name, void* event, const void* data,
                                    uint32_t size, uint32_t flags) {
    if (event || flags != 0)
        return DPERR_UNSUPPORTED;
    return WithSession(Session(),
                       [&](TDPSession& s) { return s.CreatePlayer(id, name, data, size); });
}

HRESULT IDirectPlay4A::DestroyPlayer(DPID id) {
    return WithSession(Session(), [&](TDPSession& s) { return s.DestroyPlayer(id); });
}

HRESULT IDirectPlay4A::Send(DPID from, DPID to, uint32_t flags, const void* data, uint32_t size) {
    // Every message is guaranteed here; other kinds of delivery are not offered.
    if (flags & ~DPSEND_GUARANTEED)
        return DPERR_UNSUPPORTED;
    return WithSession(Session(), [&](TDPSession& s) { return s.Send(from, to, data, size); });
}

HRESULT IDirectPlay4A::Receive(DPID* from, DPID* to, uint32_t flags, void* data, uint32_t* size) {
    if (flags & ~(DPRECEIVE_ALL | DPRECEIVE_TOPLAYER | DPRECEIVE_FROMPLAYER | DPRECEIVE_PEEK))
        return DPERR_INVALIDFLAGS;
    return WithSession(Session(),
                       [&](TDPSession& s) { return s.Receive(from, to, flags, data, size); });
}

HRESULT IDirectPlay4A::GetSessionDesc(void* data, uint32_t* size) {
    return WithSession(Session(), [&](TDPSession& s) { return s.GetSessionDesc(data, size); });
}

HRESULT IDirectPlay4A::SetSessionDesc(const DPSESSIONDESC2& desc, uint32_t flags) {
    if (desc.dwSize != sizeof(DPSESSIONDESC2))
        return DPERR_INVALIDPARAMS;
    if (flags != 0)
        return DPERR_INVALIDFLAGS;
    return WithSession(Session(), [&](TDPSession& s) { return s.SetSessionDesc(desc); });
}

HRESULT IDirectPlay4A::GetPlayerData(DPID id, void* data, uint32_t* size, uint32_t flags) {
    // Data kept only on this machine is not offered.
    if (flags != DPGET_REMOTE)
        return DPERR_UNSUPPORTED;
    return WithSession(Session(), [&](TDPSession& s) { return s.GetPlayerData(id, data, size); });
}

HRESULT IDirectPlay4A::SetPlayerData(DPID id, const void* data, uint32_t size, uint32_t flags) {
    if (flags & ~DPSET_GUARANTEED)
        return DPERR_UNSUPPORTED;
    return WithSession(Session(), [&](TDPSession& s) { return s.SetPlayerData(id, data, size); });
}

uint16_t IDirectPlay4A::SearchPort() const {
    const std::shared_ptr<TDPSession> session = Session();
    return session ? session->SearchPort() : 0;
}

HRESULT DirectPlayCreate(const TDirectPlayOptions& options,
                         std::unique_ptr<IDirectPlay4A>& directPlay) {
    directPlay = std::make_unique<IDirectPlay4A>(options);
    return DP_OK;
}

} // namespace Win32
