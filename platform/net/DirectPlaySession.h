// One open DirectPlay session, hosted or joined: the players, the receive
// queue and the connections, served by a worker thread. A host keeps the
// authoritative player list and relays between its joiners; everything a peer
// learns comes in the order the host saw it, so system messages and game
// messages keep their relative order on every machine.
#pragma once

#include "platform/net/DirectPlay.h"
#include "platform/net/DirectPlayLink.h"
#include "platform/net/DirectPlayTransport.h"
#include "platform/net/DirectPlayWire.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace Win32 {

class TDPSession : public TDPHostCallbacks {
public:
    TDPSession(std::shared_ptr<TDPTransport> transport, const TDirectPlayOptions& options);
    ~TDPSession() override;
    TDPSession(const TDPSession&) = delete;
    TDPSession& operator=(const TDPSession&) = delete;

    HRESULT Create(const DPSESSIONDESC2& desc);
    HRESULT Join(const TDPFoundSession& found, const GUID& application);
    // Leaves or ends the session; a host's joiners lose it.
    void Close();

    HRESULT EnumPlayers(const IDirectPlay4A::TEnumPlayersCallback& callback, uint32_t flags);
    HRESULT CreatePlayer(DPID& id, const DPNAME* name, const void* data, uint32_t size);
    HRESULT DestroyPlayer(DPID id);
    HRESULT Send(DPID from, DPID to, const void* data, uint32_t size);
    HRESULT Receive(DPID* from, DPID* to, uint32_t flags, void* data, uint32_t* size);
    HRESULT GetSessionDesc(void* data, uint32_t* size);
    HRESULT SetSessionDesc(const DPSESSIONDESC2& desc);
    HRESULT GetPlayerData(DPID id, void* data, uint32_t* size);
    HRESULT SetPlayerData(DPID id, const void* data, uint32_t size);
    uint16_t SearchPort() const;

    bool AnswerSearch(const GUID& application, DPWire::TSessionInfo& session) override;
    void Accept(int socket, const ClassLib::AnsiString& peerName) override;

private:
    enum class TRole { None, Host, Joiner };
    struct TPeer {
        std::unique_ptr<TDPLink> Link;
        bool Joined = false;
        bool Dead = false;
        // Set by a failed send; the worker drops the peer for it.
        ClassLib::AnsiString Failure;
        // On a host, the players it owns, and since when it has owned none.
        size_t Players = 0;
        TDPLink::TClock::time_point PlayerlessSince;
        // Bytes of the receive queue its frames put there.
        size_t Queued = 0;
    };
    struct TPlayer {
        DPID ID = 0;
        ClassLib::AnsiString ShortName;
        ClassLib::AnsiString LongName;
        std::vector<uint8_t> Data;
        // A player of this machine.
        bool Local = false;
        // On a host, the joiner that owns a remote player.
        TPeer* Owner = nullptr;
    };
    struct TQueued {
        DPID From;
        DPID To;
        std::vector<uint8_t> Data;
        // The peer whose frame queued it; null for this machine's own or a gone peer's.
        TPeer* Origin;
    };
    struct TRequest {
        DPWire::TCreatePlayer Frame;
        bool Answered = false;
        bool Abandoned = false;
        DPWire::TCreatePlayerReply Reply;
    };

    // Worker thread.
    void StartWorker();
    void StopWorker();
    void Run();
    int Maintain(TDPLink::TClock::time_point now);
    void Service(TPeer& peer, short events);
    void HandleFrames(TPeer& peer);
    void Wake();

    // All below run under FLock.
    void HandleFrame(TPeer& peer, DPWire::TFrame& frame);
    void HostFrame(TPeer& peer, DPWire::TFrame& frame);
    void JoinerFrame(TPeer& peer, DPWire::TFrame& frame);
    void Drop(TPeer& peer, const ClassLib::AnsiString& reason);
    // Makes room for a new connection among those that own no player yet.
    void MakeRoomForNewcomer();
    // Drops the peer that filled the receive queue beyond its limit.
    void LimitQueue();
    void Unqueue(const TQueued& queued);
    static uint32_t SystemMessageType(const TQueued& queued);
    void SendTo(TPeer& peer, const DPWire::TFrame& frame);
    void SendBytes(TPeer& peer, const std::vector<uint8_t>& bytes);
    void SendToJoined(const DPWire::TFrame& frame, const TPeer* except);
    void Route(DPID from, DPID to, std::vector<uint8_t> payload, const TPeer* except);
    void Deliver(DPID from, DPID to, std::vector<uint8_t> data);
    void DeliverToLocal(DPID from, const std::vector<uint8_t>& data, DPID except);
    // Each also tells the other peers (through the host) and this machine's other players.
    void AddPlayer(TPlayer player, bool announce);
    void RemovePlayer(size_t index, const TPeer* except);
    void ChangeData(TPlayer& player, std::vector<uint8_t> data, const TPeer* except);
    TPlayer* FindPlayer(DPID id);
    ptrdiff_t IndexOf(DPID id) const;
    bool CanAddPlayer() const;
    bool Joinable() const;
    DPWire::TSessionInfo SessionInfo() const;
    void Log(const ClassLib::AnsiString& line) const;

    const std::shared_ptr<TDPTransport> FTransport;
    const TDirectPlayOptions FOptions;

    mutable std::mutex FLock;
    std::condition_variable FChanged;
    TRole FRole = TRole::None;
    bool FHosting = false;
    bool FLost = false;
    HRESULT FJoinResult;
    DPWire::TSessionInfo FSession;
    std::vector<TPlayer> FPlayers;
    std::vector<std::unique_ptr<TPeer>> FPeers;
    TPeer* FHostPeer = nullptr;
    std::deque<TQueued> FQueue;
    size_t FQueuedBytes = 0;
    // The peer whose frames are being handled: what they queue is counted against it.
    TPeer* FSender = nullptr;
    DPID FNextPlayerID = 0;
    uint32_t FNextRequest = 0;
    std::map<uint32_t, TRequest> FRequests;

    std::thread FWorker;
    int FWake = -1;
    std::atomic<bool> FStopping{false};
};

} // namespace Win32
