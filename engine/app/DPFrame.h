// The network framework: a thin owner of one DirectPlay object for the lobby
// and a networked game. It lists connections, builds addresses, searches,
// hosts and joins sessions, lists and creates players, sends and receives
// messages and reads and writes the session description and player data.
// Every failed DirectPlay call raises EDirectPlayError named after its code.
#pragma once

#include "engine/core/ObjectList.h"
#include "platform/classlib/AnsiString.h"
#include "platform/net/DirectPlay.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace DPFrame {

using ClassLib::AnsiString;
using Win32::DPID;
using Win32::DPSESSIONDESC2;
using Win32::GUID;

// One connection (service provider) that initialised.
struct TConnectionInfo {
    GUID ServiceProvider{};
    // The address that selects it; its size is Connection.size().
    std::vector<uint8_t> Connection;
    uint32_t NameSize = 0;
    uint32_t NameFlags = 0;
    AnsiString ShortName;
    AnsiString LongName;
    uint32_t Flags = 0;
};

// One enumerated player.
struct TPlayerInfo {
    DPID ID = 0;
    uint32_t PlayerType = 0;
    uint32_t NameSize = 0;
    uint32_t NameFlags = 0;
    AnsiString ShortName;
    AnsiString LongName;
    uint32_t Flags = 0;
};

// A copy of a session description that owns its session name and password;
// a null string stays null.
class TSessionRecord {
public:
    explicit TSessionRecord(const DPSESSIONDESC2& source);
    TSessionRecord(const TSessionRecord& other) : TSessionRecord(other.Desc()) {}
    TSessionRecord& operator=(const TSessionRecord& other);
    const DPSESSIONDESC2& Desc() const { return FDesc; }

private:
    DPSESSIONDESC2 FDesc;
    std::unique_ptr<char[]> FName;
    std::unique_ptr<char[]> FPassword;
};

class TDPFramework {
public:
    // Creates the DirectPlay object and lists the connections that initialise.
    explicit TDPFramework(Win32::TDirectPlayOptions options = Win32::DefaultDirectPlayOptions());
    virtual ~TDPFramework();
    TDPFramework(const TDPFramework&) = delete;
    TDPFramework& operator=(const TDPFramework&) = delete;

    void EnumConnections();
    void InitializeConnection(const std::vector<uint8_t>& connection);
    std::vector<uint8_t> CreateIPXAddress();
    // An empty host address searches this machine.
    std::vector<uint8_t> CreateTCPIPAddress(const AnsiString& hostAddress);

    // Refills Sessions() with the joinable sessions; 0 searches for the default time.
    void EnumSessions(uint32_t timeoutMs);
    void HostSession(const AnsiString& sessionName, uint32_t flags, uint32_t maxPlayers,
                     uint32_t user1, uint32_t user2, uint32_t user3, uint32_t user4);
    void JoinSession(int index);
    // Index of the first listed session with exactly this name, -1 when none.
    int FindSession(const DPSESSIONDESC2& desc) const;
    void Close();

    void EnumPlayers(uint32_t flags);
    void ClearPlayers();
    void CreatePlayer(const AnsiString& shortName, DPID& id);
    // The result is not checked: the player may be gone already.
    void DestroyPlayer(DPID id);

    void Send(DPID from, DPID to, uint32_t flags, const void* data, uint32_t size);
    // The next message for the caller's flags (DPRECEIVE_TOPLAYER with the local
    // player's ID); false, with buffer untouched, when none waits.
    bool Receive(DPID& from, DPID to, uint32_t flags, std::vector<uint8_t>& buffer);

    // The name in desc points into a buffer kept until the next call.
    void GetSessionDesc(DPSESSIONDESC2& desc);
    void SetSessionDesc(const DPSESSIONDESC2& desc);
    std::vector<uint8_t> GetPlayerData(DPID id, uint32_t flags);
    void SetPlayerData(DPID id, const void* data, uint32_t size, uint32_t flags);

    // True after HostSession, false after JoinSession.
    bool Host() const { return FHost; }
    const Data::TObjectList<TConnectionInfo>& Connections() const { return FConnections; }
    const Data::TObjectList<TSessionRecord>& Sessions() const { return FSessions; }
    const Data::TObjectList<TPlayerInfo>& Players() const { return FPlayers; }
    Win32::IDirectPlay4A& DirectPlay() const { return *FDirectPlay; }

private:
    std::vector<uint8_t> CreateAddress(const Win32::DPCOMPOUNDADDRESSELEMENT* elements,
                                       uint32_t count);

    const Win32::TDirectPlayOptions FOptions;
    std::unique_ptr<Win32::IDirectPlay4A> FDirectPlay;
    Data::TObjectList<TConnectionInfo> FConnections;
    bool FHost = false;
    GUID FApplication = Win32::GUID_NULL;
    Data::TObjectList<TSessionRecord> FSessions;
    Data::TObjectList<TPlayerInfo> FPlayers;
    std::vector<uint8_t> FSessionDesc;
};

} // namespace DPFrame
