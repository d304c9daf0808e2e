#include "engine/app/DPFrame.h"

#include "engine/core/DXErrors.h"
#include "platform/net/DirectPlayLobby.h"

#include <cstring>

namespace DPFrame {

using Base::CheckDPResult;
using namespace Win32;

namespace {

// Another peer's change may make the data grow between the size query and the
// fetch, so the fetch is repeated while the buffer is still too small.
constexpr int FetchAttempts = 8;

std::unique_ptr<char[]> CopyText(const char* text) {
    if (!text)
        return nullptr;
    const size_t size = std::strlen(text) + 1;
    auto copy = std::make_unique<char[]>(size);
    std::memcpy(copy.get(), text, size);
    return copy;
}

AnsiString Text(const char* text) {
    return text ? AnsiString(text) : AnsiString();
}

// Asks fetch(null, &size) for the size, then fetches into a buffer of that size.
template <typename TFetch>
std::vector<uint8_t> FetchSized(const TFetch& fetch) {
    uint32_t size = 0;
    HRESULT result = fetch(nullptr, &size);
    std::vector<uint8_t> buffer;
    for (int attempt = 0; result == DPERR_BUFFERTOOSMALL && attempt < FetchAttempts; ++attempt) {
        buffer.resize(size);
        result = fetch(buffer.data(), &size);
    }
    CheckDPResult(result);
    buffer.resize(size);
    return buffer;
}

} // namespace

TSessionRecord::TSessionRecord(const DPSESSIONDESC2& source)
    : FDesc(source), FName(CopyText(source.lpszSessionNameA)),
      FPassword(CopyText(source.lpszPasswordA)) {
    FDesc.lpszSessionNameA = FName.get();
    FDesc.lpszPasswordA = FPassword.get();
}

TSessionRecord& TSessionRecord::operator=(const TSessionRecord& other) {
    TSessionRecord copy(other);
    FDesc = copy.FDesc;
    FName = std::move(copy.FName);
    FPassword = std::move(copy.FPassword);
    return *this;
}

TDPFramework::TDPFramework(TDirectPlayOptions options) : FOptions(std::move(options)) {
    CheckDPResult(DirectPlayCreate(FOptions, FDirectPlay));
    EnumConnections();
}

TDPFramework::~TDPFramework() = default;

void TDPFramework::EnumConnections() {
    FConnections.Clear();
    CheckDPResult(FDirectPlay->EnumConnections(
        &FApplication,
        [this](const GUID& provider, const void* connection, uint32_t size, const DPNAME& name,
               uint32_t flags) {
            // Only a provider that initialises on a separate object is usable.
            std::unique_ptr<IDirectPlay4A> probe;
            if (SUCCEEDED(DirectPlayCreate(FOptions, probe)) &&
                probe->InitializeConnection(connection, size, 0) == DP_OK) {
                const auto* bytes = static_cast<const uint8_t*>(connection);
                FConnections.Add(
                    std::make_unique<TConnectionInfo>(TConnectionInfo{provider,
                                                                      {bytes, bytes + size},
                                                                      name.dwSize,
                                                                      name.dwFlags,
                                                                      Text(name.lpszShortNameA),
                                                                      Text(name.lpszLongNameA),
                                                                      flags})
                        .release());
            }
            return true;
        },
        0));
}

void TDPFramework::InitializeConnection(const std::vector<uint8_t>& connection) {
    CheckDPResult(FDirectPlay->InitializeConnection(connection.data(),
                                                    static_cast<uint32_t>(connection.size()), 0));
}

std::vector<uint8_t> TDPFramework::CreateAddress(const DPCOMPOUNDADDRESSELEMENT* elements,
                                                 uint32_t count) {
    std::unique_ptr<IDirectPlayLobby3A> lobby;
    CheckDPResult(DirectPlayLobbyCreate(lobby));
    uint32_t size = 0;
    const HRESULT result = lobby->CreateCompoundAddress(elements, count, nullptr, &size);
    if (result != DPERR_BUFFERTOOSMALL)
        CheckDPResult(result);
    std::vector<uint8_t> address(size);
    CheckDPResult(lobby->CreateCompoundAddress(elements, count, address.data(), &size));
    return address;
}

std::vector<uint8_t> TDPFramework::CreateIPXAddress() {
    const DPCOMPOUNDADDRESSELEMENT element{DPAID_ServiceProvider, sizeof(GUID), &DPSPGUID_IPX};
    return CreateAddress(&element, 1);
}

std::vector<uint8_t> TDPFramework::CreateTCPIPAddress(const AnsiString& hostAddress) {
    const DPCOMPOUNDADDRESSELEMENT elements[2] = {
        {DPAID_ServiceProvider, sizeof(GUID), &DPSPGUID_TCPIP},
        {DPAID_INet, static_cast<uint32_t>(hostAddress.size() + 1), hostAddress.c_str()}};
    return CreateAddress(elements, 2);
}

void TDPFramework::EnumSessions(uint32_t timeoutMs) {
    FSessions.Clear();
    DPSESSIONDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.guidApplication = FApplication;
    CheckDPResult(FDirectPlay->EnumSessions(
        desc, timeoutMs,
        [this](const DPSESSIONDESC2* found, uint32_t&, uint32_t flags) {
            if ((flags & DPESC_TIMEDOUT) || !found)
                return false;
            FSessions.Add(std::make_unique<TSessionRecord>(*found).release());
            return true;
        },
        DPENUMSESSIONS_AVAILABLE));
}

void TDPFramework::HostSession(const AnsiString& sessionName, uint32_t flags, uint32_t maxPlayers,
                               uint32_t user1, uint32_t user2, uint32_t user3, uint32_t user4) {
    DPSESSIONDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = flags;
    desc.guidApplication = FApplication;
    desc.dwMaxPlayers = maxPlayers;
    desc.lpszSessionNameA = sessionName.c_str();
    desc.dwUser1 = user1;
    desc.dwUser2 = user2;
    desc.dwUser3 = user3;
    desc.dwUser4 = user4;
    CheckDPResult(FDirectPlay->Open(desc, DPOPEN_CREATE));
    // Only a session that opened makes this peer its host.
    FHost = true;
}

void TDPFramework::JoinSession(int index) {
    if (index < 0 || index >= FSessions.Count())
        CheckDPResult(DPERR_INVALIDPARAMS);
    FHost = false;
    CheckDPResult(FDirectPlay->Open(FSessions[index]->Desc(), DPOPEN_JOIN));
}

int TDPFramework::FindSession(const DPSESSIONDESC2& desc) const {
    const char* wanted = desc.lpszSessionNameA ? desc.lpszSessionNameA : "";
    for (int i = 0; i < FSessions.Count(); ++i) {
        const char* name = FSessions[i]->Desc().lpszSessionNameA;
        if (std::strcmp(name ? name : "", wanted) == 0)
            return i;
    }
    return -1;
}

void TDPFramework::Close() {
    CheckDPResult(FDirectPlay->Close());
}

void TDPFramework::EnumPlayers(uint32_t flags) {
    FPlayers.Clear();
    CheckDPResult(FDirectPlay->EnumPlayers(
        nullptr,
        [this](DPID id, uint32_t playerType, const DPNAME& name, uint32_t playerFlags) {
            FPlayers.Add(
                std::make_unique<TPlayerInfo>(TPlayerInfo{id, playerType, name.dwSize, name.dwFlags,
                                                          Text(name.lpszShortNameA),
                                                          Text(name.lpszLongNameA), playerFlags})
                    .release());
            return true;
        },
        flags));
}

void TDPFramework::ClearPlayers() {
    FPlayers.Clear();
}

void TDPFramework::CreatePlayer(const AnsiString& shortName, DPID& id) {
    const DPNAME name{sizeof(DPNAME), 0, shortName.c_str(), nullptr};
    CheckDPResult(FDirectPlay->CreatePlayer(id, &name, nullptr, nullptr, 0, 0));
}

void TDPFramework::DestroyPlayer(DPID id) {
    FDirectPlay->DestroyPlayer(id);
}

void TDPFramework::Send(DPID from, DPID to, uint32_t flags, const void* data, uint32_t size) {
    CheckDPResult(FDirectPlay->Send(from, to, flags, data, size));
}

bool TDPFramework::Receive(DPID& from, DPID to, uint32_t flags, std::vector<uint8_t>& buffer) {
    for (int attempt = 0; attempt < FetchAttempts; ++attempt) {
        DPID sender = 0;
        DPID addressee = to;
        uint32_t size = 0;
        HRESULT result =
            FDirectPlay->Receive(&sender, &addressee, flags | DPRECEIVE_PEEK, nullptr, &size);
        if (result == DPERR_NOMESSAGES)
            return false;
        if (result != DPERR_BUFFERTOOSMALL)
            CheckDPResult(result);
        std::vector<uint8_t> message(size);
        addressee = to;
        result = FDirectPlay->Receive(&sender, &addressee, flags, message.data(), &size);
        if (result == DPERR_NOMESSAGES) // another thread took it meanwhile
            return false;
        if (result == DPERR_BUFFERTOOSMALL) // a longer message came first meanwhile
            continue;
        CheckDPResult(result);
        message.resize(size);
        from = sender;
        buffer = std::move(message);
        return true;
    }
    CheckDPResult(DPERR_BUFFERTOOSMALL);
    return false;
}

void TDPFramework::GetSessionDesc(DPSESSIONDESC2& desc) {
    FSessionDesc = FetchSized(
        [this](void* data, uint32_t* size) { return FDirectPlay->GetSessionDesc(data, size); });
    if (FSessionDesc.size() < sizeof desc)
        CheckDPResult(DPERR_GENERIC);
    std::memcpy(&desc, FSessionDesc.data(), sizeof desc);
}

void TDPFramework::SetSessionDesc(const DPSESSIONDESC2& desc) {
    CheckDPResult(FDirectPlay->SetSessionDesc(desc, 0));
}

std::vector<uint8_t> TDPFramework::GetPlayerData(DPID id, uint32_t flags) {
    return FetchSized([this, id, flags](void* data, uint32_t* size) {
        return FDirectPlay->GetPlayerData(id, data, size, flags);
    });
}

void TDPFramework::SetPlayerData(DPID id, const void* data, uint32_t size, uint32_t flags) {
    CheckDPResult(FDirectPlay->SetPlayerData(id, data, size, flags));
}

} // namespace DPFrame
