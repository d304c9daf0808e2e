#include "platform/net/DirectPlaySession.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <random>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace Win32 {

using ClassLib::AnsiString;
using ClassLib::Format;
using namespace DPWire;
using std::chrono::milliseconds;

namespace {

// Connections that own players, and those that own none yet (still joining, or
// junk): counted apart, so junk connections cannot lock a real player out.
constexpr size_t MaxPlayingPeers = 32;
constexpr size_t MaxWaitingPeers = 16;
// A peer that leaves this much unread is not playing any more.
constexpr size_t MaxUnsent = 8 * 1024 * 1024;
// FJoinResult while a join waits for the host's answer.
constexpr HRESULT JoinPending = DPERR_CONNECTING;

template <typename T>
std::vector<uint8_t> MessageBytes(const T& message, const std::vector<uint8_t>& tail = {}) {
    std::vector<uint8_t> bytes(sizeof message + tail.size());
    std::memcpy(bytes.data(), &message, sizeof message);
    std::copy(tail.begin(), tail.end(), bytes.begin() + sizeof message);
    return bytes;
}

GUID NewGuid() {
    std::random_device random;
    uint32_t words[4] = {random(), random(), random(), random()};
    GUID guid;
    static_assert(sizeof words == sizeof guid);
    std::memcpy(&guid, words, sizeof guid);
    return guid;
}

AnsiString Text(const char* text) {
    return text ? AnsiString(text) : AnsiString();
}

// Sessions have no passwords here, and their names must fit the wire.
HRESULT CheckDescription(const DPSESSIONDESC2& desc, AnsiString& name) {
    if (desc.lpszPasswordA && *desc.lpszPasswordA)
        return DPERR_UNSUPPORTED;
    name = Text(desc.lpszSessionNameA);
    return name.size() > MaxNameLength ? DPERR_INVALIDPARAMS : DP_OK;
}

} // namespace

TDPSession::TDPSession(std::shared_ptr<TDPTransport> transport, const TDirectPlayOptions& options)
    : FTransport(std::move(transport)), FOptions(options), FJoinResult(JoinPending) {}

TDPSession::~TDPSession() {
    Close();
}

HRESULT TDPSession::Create(const DPSESSIONDESC2& desc) {
    AnsiString name;
    if (const HRESULT invalid = CheckDescription(desc, name))
        return invalid;
    {
        std::lock_guard<std::mutex> lock(FLock);
        FRole = TRole::Host;
        FSession = TSessionInfo{};
        FSession.Flags = desc.dwFlags;
        FSession.Instance = NewGuid();
        FSession.Application = desc.guidApplication;
        FSession.MaxPlayers = desc.dwMaxPlayers;
        FSession.Name = name;
        FSession.User = {desc.dwUser1, desc.dwUser2, desc.dwUser3, desc.dwUser4};
        // Identifiers start somewhere arbitrary, so nobody mistakes them for indexes.
        FNextPlayerID = 0x100 + (std::random_device{}() & 0xFFFF) * 0x100;
    }
    const HRESULT result = FTransport->StartHost(*this);
    std::lock_guard<std::mutex> lock(FLock);
    if (FAILED(result)) {
        FRole = TRole::None;
        return result;
    }
    FHosting = true;
    StartWorker();
    return DP_OK;
}

HRESULT TDPSession::Join(const TDPFoundSession& found, const GUID& application) {
    int socket = -1;
    const HRESULT connected = FTransport->Connect(found.Endpoint, socket);
    if (FAILED(connected))
        return connected;
    HRESULT result;
    {
        std::unique_lock<std::mutex> lock(FLock);
        FRole = TRole::Joiner;
        FJoinResult = JoinPending;
        FSession = found.Session;
        auto peer = std::make_unique<TPeer>();
        peer->Link = std::make_unique<TDPLink>(
            socket, Format("host %s:%u", found.Endpoint.Address, found.Endpoint.Port));
        FHostPeer = peer.get();
        FPeers.push_back(std::move(peer));
        SendTo(*FHostPeer, THello{application, found.Session.Instance});
        StartWorker();
        if (!FChanged.wait_for(lock, milliseconds(FOptions.AnswerTimeoutMs),
                               [this] { return FJoinResult != JoinPending; }))
            FJoinResult = DPERR_TIMEOUT;
        result = FJoinResult;
    }
    if (result != DP_OK)
        Close();
    return result;
}

void TDPSession::Close() {
    bool hosting;
    {
        std::lock_guard<std::mutex> lock(FLock);
        hosting = FHosting;
        FHosting = false;
    }
    if (hosting)
        FTransport->StopHost();
    StopWorker();
    std::lock_guard<std::mutex> lock(FLock);
    for (auto& peer : FPeers)
        peer->Link->Shutdown();
    FPeers.clear();
    FHostPeer = nullptr;
    FPlayers.clear();
    FQueue.clear();
    FQueuedBytes = 0;
    FRequests.clear();
    FRole = TRole::None;
    FLost = false;
    FChanged.notify_all();
}

// ---- Worker thread ----

void TDPSession::StartWorker() {
    FWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    FStopping = false;
    FWorker = std::thread(&TDPSession::Run, this);
}

void TDPSession::StopWorker() {
    if (!FWorker.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(FLock);
        FStopping = true;
        Wake();
    }
    FWorker.join();
    std::lock_guard<std::mutex> lock(FLock);
    ::close(FWake);
    FWake = -1;
}

void TDPSession::Wake() {
    if (FWake < 0)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(FWake, &one, sizeof one);
}

void TDPSession::Run() {
    std::vector<pollfd> fds;
    std::vector<TPeer*> polled;
    while (true) {
        int timeout;
        {
            std::lock_guard<std::mutex> lock(FLock);
            if (FStopping)
                return;
            timeout = Maintain(TDPLink::TClock::now());
            fds.assign(1, pollfd{FWake, POLLIN, 0});
            polled.assign(1, nullptr);
            for (const auto& peer : FPeers) {
                const short events = peer->Link->Unsent() > 0 ? POLLIN | POLLOUT : POLLIN;
                fds.push_back(pollfd{peer->Link->Socket(), events, 0});
                polled.push_back(peer.get());
            }
        }
        if (::poll(fds.data(), fds.size(), timeout) <= 0)
            continue;
        if (fds[0].revents) {
            uint64_t count;
            [[maybe_unused]] const ssize_t got = ::read(fds[0].fd, &count, sizeof count);
        }
        std::lock_guard<std::mutex> lock(FLock);
        if (FStopping)
            return;
        // Peers are only removed by Maintain on this thread, so the pointers hold.
        for (size_t i = 1; i < fds.size(); ++i)
            if (fds[i].revents)
                Service(*polled[i], fds[i].revents);
    }
}

int TDPSession::Maintain(TDPLink::TClock::time_point now) {
    const auto dropFailed = [this] {
        for (bool again = true; again;) {
            again = false;
            for (const auto& peer : FPeers)
                if (!peer->Dead && !peer->Failure.empty()) {
                    Drop(*peer, peer->Failure);
                    again = true;
                }
        }
    };
    const milliseconds keepAlive(FOptions.KeepAliveMs);
    const milliseconds peerTimeout(FOptions.PeerTimeoutMs);
    const milliseconds playerTimeout(FOptions.PlayerTimeoutMs);
    const auto waitsForPlayer = [this](const TPeer& peer) {
        return FRole == TRole::Host && peer.Players == 0;
    };
    dropFailed();
    for (const auto& peer : FPeers) {
        if (peer->Dead)
            continue;
        const TDPLink& link = *peer->Link;
        if (waitsForPlayer(*peer) && now - peer->PlayerlessSince >= playerTimeout)
            Drop(*peer, Format(peer->Joined ? "it created no player within %u ms"
                                            : "it did not join within %u ms",
                               FOptions.PlayerTimeoutMs));
        else if (now - link.LastReceived >= peerTimeout)
            Drop(*peer, Format("nothing came from it for %u ms", FOptions.PeerTimeoutMs));
        else if (now - link.LastSent >= keepAlive)
            SendTo(*peer, TKeepAlive{});
    }
    dropFailed();

    auto next = now + keepAlive;
    for (auto it = FPeers.begin(); it != FPeers.end();) {
        TPeer& peer = **it;
        if (peer.Dead) {
            for (TQueued& queued : FQueue)
                if (queued.Origin == &peer)
                    queued.Origin = nullptr;
            peer.Link->Shutdown();
            if (&peer == FHostPeer)
                FHostPeer = nullptr;
            it = FPeers.erase(it);
            continue;
        }
        next = std::min(
            {next, peer.Link->LastSent + keepAlive, peer.Link->LastReceived + peerTimeout});
        if (waitsForPlayer(peer))
            next = std::min(next, peer.PlayerlessSince + playerTimeout);
        ++it;
    }
    const auto wait = std::chrono::duration_cast<milliseconds>(next - now).count() + 1;
    return static_cast<int>(std::clamp<long long>(wait, 1, FOptions.KeepAliveMs));
}

void TDPSession::Service(TPeer& peer, short events) {
    if (peer.Dead)
        return;
    if (events & (POLLIN | POLLHUP | POLLERR)) {
        AnsiString error;
        const TDPLink::TReadResult result = peer.Link->Read(error);
        HandleFrames(peer);
        if (peer.Dead)
            return;
        if (result == TDPLink::TReadResult::Closed)
            Drop(peer, peer.Link->Frames().Pending() > 0
                           ? "the connection was closed inside a frame"
                           : "the connection was closed");
        else if (result == TDPLink::TReadResult::Failed)
            Drop(peer, error);
        if (peer.Dead)
            return;
    }
    if (events & POLLOUT) {
        AnsiString error;
        if (!peer.Link->Flush(error))
            Drop(peer, error);
    }
}

// ---- Frames from peers ----

void TDPSession::HandleFrames(TPeer& peer) {
    FSender = &peer;
    try {
        TFrame frame;
        while (!peer.Dead && peer.Link->Frames().Next(frame)) {
            HandleFrame(peer, frame);
            LimitQueue();
        }
    } catch (const EWireError& e) {
        Drop(peer, "it sent " + e.Message);
    } catch (const std::exception& e) {
        Drop(peer, ClassLib::ExceptionMessage(e));
    }
    FSender = nullptr;
}

void TDPSession::HandleFrame(TPeer& peer, TFrame& frame) {
    if (std::holds_alternative<TKeepAlive>(frame))
        return;
    if (FRole == TRole::Host)
        HostFrame(peer, frame);
    else
        JoinerFrame(peer, frame);
}

void TDPSession::HostFrame(TPeer& peer, TFrame& frame) {
    const auto owned = [&peer, this](DPID id) {
        TPlayer* player = FindPlayer(id);
        return player && player->Owner == &peer ? player : nullptr;
    };
    if (const auto* hello = std::get_if<THello>(&frame)) {
        if (peer.Joined)
            throw EWireError("a second Hello frame");
        HRESULT refusal = DP_OK;
        if (hello->Application != FSession.Application || hello->Instance != FSession.Instance)
            refusal = DPERR_NOSESSIONS;
        else if (!Joinable())
            refusal = DPERR_NONEWPLAYERS;
        if (refusal != DP_OK) {
            SendTo(peer, TRefused{refusal});
            Drop(peer, Format("it may not join (0x%08X)", static_cast<unsigned>(refusal)));
            return;
        }
        for (const TPlayer& player : FPlayers)
            SendTo(peer,
                   TPlayerAdded{player.ID, false, player.ShortName, player.LongName, player.Data});
        SendTo(peer, TWelcome{SessionInfo()});
        peer.Joined = true;
        Log(Format("DirectPlay: %s joined the session", peer.Link->Name()));
        return;
    }
    const TFrameType type = TypeOf(frame);
    if (!peer.Joined)
        throw EWireError(Format("a %s frame before its Hello", FrameTypeName(type)));
    if (auto* create = std::get_if<TCreatePlayer>(&frame)) {
        TCreatePlayerReply reply{create->Request, DP_OK, 0};
        const auto playing = std::count_if(FPeers.begin(), FPeers.end(), [](const auto& other) {
            return !other->Dead && other->Players > 0;
        });
        if (!CanAddPlayer() ||
            (peer.Players == 0 && static_cast<size_t>(playing) >= MaxPlayingPeers))
            reply.Result = DPERR_CANTADDPLAYER;
        else
            reply.Player = FNextPlayerID++;
        SendTo(peer, reply);
        if (reply.Result == DP_OK)
            AddPlayer(TPlayer{reply.Player, std::move(create->ShortName),
                              std::move(create->LongName), std::move(create->Data), false, &peer},
                      true);
    } else if (const auto* destroy = std::get_if<TDestroyPlayer>(&frame)) {
        if (!owned(destroy->Player))
            throw EWireError(Format("a DestroyPlayer frame for player %u, which is not its own",
                                    destroy->Player));
        RemovePlayer(IndexOf(destroy->Player), &peer);
    } else if (auto* data = std::get_if<TPlayerData>(&frame)) {
        TPlayer* player = owned(data->Player);
        if (!player)
            throw EWireError(
                Format("a PlayerData frame for player %u, which is not its own", data->Player));
        ChangeData(*player, std::move(data->Data), &peer);
    } else if (auto* message = std::get_if<TMessage>(&frame)) {
        if (!owned(message->From))
            throw EWireError(
                Format("a Message frame from player %u, which is not its own", message->From));
        Route(message->From, message->To, std::move(message->Payload), &peer);
    } else {
        throw EWireError(Format("a %s frame, which a host never accepts", FrameTypeName(type)));
    }
}

void TDPSession::JoinerFrame(TPeer& peer, TFrame& frame) {
    const TFrameType type = TypeOf(frame);
    if (auto* added = std::get_if<TPlayerAdded>(&frame)) {
        if (added->Player == 0 || FindPlayer(added->Player))
            throw EWireError(Format("a PlayerAdded frame for player %u, which %s", added->Player,
                                    added->Player == 0 ? "is no player" : "is already known"));
        AddPlayer(TPlayer{added->Player, std::move(added->ShortName), std::move(added->LongName),
                          std::move(added->Data), false, nullptr},
                  added->Announce && peer.Joined);
        return;
    }
    if (!peer.Joined) {
        if (const auto* welcome = std::get_if<TWelcome>(&frame)) {
            FSession = welcome->Session;
            peer.Joined = true;
            if (FJoinResult == JoinPending)
                FJoinResult = DP_OK;
            FChanged.notify_all();
        } else if (const auto* refused = std::get_if<TRefused>(&frame)) {
            if (FJoinResult == JoinPending)
                FJoinResult = refused->Result == DP_OK ? DPERR_GENERIC : refused->Result;
            Drop(peer,
                 Format("it refused the join (0x%08X)", static_cast<unsigned>(refused->Result)));
        } else {
            throw EWireError(Format("a %s frame before its Welcome", FrameTypeName(type)));
        }
        return;
    }
    if (const auto* reply = std::get_if<TCreatePlayerReply>(&frame)) {
        const auto it = FRequests.find(reply->Request);
        if (it == FRequests.end() || it->second.Answered)
            throw EWireError(
                Format("an answer to player request %u, which was not made", reply->Request));
        TRequest& request = it->second;
        if (reply->Result == DP_OK) {
            if (reply->Player == 0 || FindPlayer(reply->Player))
                throw EWireError(Format("player %u for a new player", reply->Player));
            AddPlayer(TPlayer{reply->Player, request.Frame.ShortName, request.Frame.LongName,
                              request.Frame.Data, true, nullptr},
                      true);
            if (request.Abandoned) {
                RemovePlayer(FPlayers.size() - 1, nullptr);
                SendTo(peer, TDestroyPlayer{reply->Player});
            }
        }
        request.Answered = true;
        request.Reply = *reply;
        if (request.Abandoned)
            FRequests.erase(it);
        FChanged.notify_all();
    } else if (const auto* removed = std::get_if<TPlayerRemoved>(&frame)) {
        // A player this machine destroyed itself may still be mentioned.
        const ptrdiff_t index = IndexOf(removed->Player);
        if (index >= 0 && !FPlayers[static_cast<size_t>(index)].Local)
            RemovePlayer(static_cast<size_t>(index), nullptr);
    } else if (auto* data = std::get_if<TPlayerData>(&frame)) {
        TPlayer* player = FindPlayer(data->Player);
        if (player && !player->Local)
            ChangeData(*player, std::move(data->Data), nullptr);
    } else if (auto* message = std::get_if<TMessage>(&frame)) {
        Route(message->From, message->To, std::move(message->Payload), &peer);
    } else if (const auto* desc = std::get_if<TSessionDesc>(&frame)) {
        FSession = desc->Session;
        DeliverToLocal(DPID_SYSMSG, MessageBytes(DPMSG_GENERIC{DPSYS_SETSESSIONDESC}), 0);
    } else {
        throw EWireError(Format("a %s frame, which a joiner never accepts", FrameTypeName(type)));
    }
}

void TDPSession::Drop(TPeer& peer, const AnsiString& reason) {
    if (peer.Dead)
        return;
    peer.Dead = true;
    Log(Format("DirectPlay: dropped %s: %s", peer.Link->Name(), reason));
    if (FRole == TRole::Host) {
        for (size_t i = 0; i < FPlayers.size();)
            if (FPlayers[i].Owner == &peer)
                RemovePlayer(i, &peer);
            else
                ++i;
    } else if (&peer == FHostPeer) {
        if (FJoinResult == JoinPending) {
            FJoinResult = DPERR_CONNECTIONLOST;
        } else if (FJoinResult == DP_OK && !FLost) {
            FLost = true;
            DeliverToLocal(DPID_SYSMSG, MessageBytes(DPMSG_GENERIC{DPSYS_SESSIONLOST}), 0);
        }
    }
    FChanged.notify_all();
    Wake();
}

void TDPSession::MakeRoomForNewcomer() {
    TPeer* oldest = nullptr;
    size_t waiting = 0;
    for (const auto& peer : FPeers)
        if (!peer->Dead && peer->Players == 0) {
            ++waiting;
            if (!oldest || peer->PlayerlessSince < oldest->PlayerlessSince)
                oldest = peer.get();
        }
    // A real joiner sends its Hello and player request at once, so the one that
    // has waited longest is the least likely to be one.
    if (oldest && waiting >= MaxWaitingPeers)
        Drop(*oldest, "it owned no player when a newer connection needed its slot");
}

void TDPSession::LimitQueue() {
    if (FQueuedBytes <= FOptions.ReceiveQueueLimit)
        return;
    TPeer* flooder = nullptr;
    for (const auto& peer : FPeers)
        if (!peer->Dead && peer->Queued > 0 && (!flooder || peer->Queued > flooder->Queued))
            flooder = peer.get();
    if (!flooder) // this machine's own messages fill it
        return;
    // Its messages and data go; the news of its players coming and going stays,
    // so the game's player list still adds up.
    std::erase_if(FQueue, [&](const TQueued& queued) {
        if (queued.Origin != flooder ||
            (queued.From == DPID_SYSMSG && SystemMessageType(queued) != DPSYS_SETPLAYERORGROUPDATA))
            return false;
        Unqueue(queued);
        return true;
    });
    // What the drop itself announces belongs to the dropped peer, not to the sender at hand.
    TPeer* const sender = std::exchange(FSender, flooder);
    Drop(*flooder, Format("it sent more than the game has read (over %zu bytes)",
                          FOptions.ReceiveQueueLimit));
    FSender = sender;
}

uint32_t TDPSession::SystemMessageType(const TQueued& queued) {
    uint32_t type = 0;
    if (queued.Data.size() >= sizeof type)
        std::memcpy(&type, queued.Data.data(), sizeof type);
    return type;
}

void TDPSession::Unqueue(const TQueued& queued) {
    FQueuedBytes -= queued.Data.size();
    if (queued.Origin)
        queued.Origin->Queued -= queued.Data.size();
}

// ---- Sending and delivering ----

void TDPSession::SendTo(TPeer& peer, const TFrame& frame) {
    SendBytes(peer, Encode(frame));
}

void TDPSession::SendBytes(TPeer& peer, const std::vector<uint8_t>& bytes) {
    if (peer.Dead || !peer.Failure.empty())
        return;
    AnsiString error;
    if (!peer.Link->Send(bytes, error))
        peer.Failure = error;
    else if (peer.Link->Unsent() > MaxUnsent)
        peer.Failure = Format("it left more than %u bytes unread", unsigned(MaxUnsent));
    // The worker drops failed peers and writes what the socket did not take.
    if (!peer.Failure.empty() || peer.Link->Unsent() > 0)
        Wake();
}

void TDPSession::SendToJoined(const TFrame& frame, const TPeer* except) {
    const std::vector<uint8_t> bytes = Encode(frame);
    for (const auto& peer : FPeers)
        if (peer->Joined && peer.get() != except)
            SendBytes(*peer, bytes);
}

void TDPSession::Route(DPID from, DPID to, std::vector<uint8_t> payload, const TPeer* except) {
    if (to == DPID_ALLPLAYERS) {
        DeliverToLocal(from, payload, from);
        if (FRole == TRole::Host)
            SendToJoined(TMessage{from, to, std::move(payload)}, except);
        else if (FHostPeer && FHostPeer != except)
            SendTo(*FHostPeer, TMessage{from, to, std::move(payload)});
        return;
    }
    const TPlayer* player = FindPlayer(to);
    if (!player) // destroyed while the message travelled
        return;
    if (player->Local) {
        Deliver(from, to, std::move(payload));
        return;
    }
    TPeer* via = FRole == TRole::Host ? player->Owner : FHostPeer;
    if (via && via != except && via->Joined)
        SendTo(*via, TMessage{from, to, std::move(payload)});
}

void TDPSession::Deliver(DPID from, DPID to, std::vector<uint8_t> data) {
    FQueuedBytes += data.size();
    if (FSender)
        FSender->Queued += data.size();
    FQueue.push_back(TQueued{from, to, std::move(data), FSender});
}

void TDPSession::DeliverToLocal(DPID from, const std::vector<uint8_t>& data, DPID except) {
    for (const TPlayer& player : FPlayers)
        if (player.Local && player.ID != except)
            Deliver(from, player.ID, data);
}

void TDPSession::AddPlayer(TPlayer player, bool announce) {
    if (player.Owner)
        ++player.Owner->Players;
    FPlayers.push_back(std::move(player));
    if (!announce)
        return;
    const TPlayer& added = FPlayers.back();
    if (FRole == TRole::Host)
        SendToJoined(TPlayerAdded{added.ID, true, added.ShortName, added.LongName, added.Data},
                     added.Owner);
    const DPMSG_CREATEPLAYERORGROUP message{DPSYS_CREATEPLAYERORGROUP, DPPLAYERTYPE_PLAYER,
                                            added.ID, static_cast<uint32_t>(FPlayers.size())};
    DeliverToLocal(DPID_SYSMSG, MessageBytes(message), added.ID);
}

void TDPSession::RemovePlayer(size_t index, const TPeer* except) {
    const TPlayer player = std::move(FPlayers[index]);
    FPlayers.erase(FPlayers.begin() + static_cast<ptrdiff_t>(index));
    if (player.Owner && --player.Owner->Players == 0)
        player.Owner->PlayerlessSince = TDPLink::TClock::now();
    if (player.Local)
        std::erase_if(FQueue, [&](const TQueued& queued) {
            if (queued.To != player.ID)
                return false;
            Unqueue(queued);
            return true;
        });
    if (FRole == TRole::Host)
        SendToJoined(TPlayerRemoved{player.ID}, except);
    const DPMSG_DESTROYPLAYERORGROUP message{DPSYS_DESTROYPLAYERORGROUP, DPPLAYERTYPE_PLAYER,
                                             player.ID};
    DeliverToLocal(DPID_SYSMSG, MessageBytes(message), player.ID);
}

void TDPSession::ChangeData(TPlayer& player, std::vector<uint8_t> data, const TPeer* except) {
    player.Data = std::move(data);
    if (FRole == TRole::Host)
        SendToJoined(TPlayerData{player.ID, player.Data}, except);
    const DPMSG_SETPLAYERORGROUPDATA message{DPSYS_SETPLAYERORGROUPDATA, DPPLAYERTYPE_PLAYER,
                                             player.ID, static_cast<uint32_t>(player.Data.size())};
    DeliverToLocal(DPID_SYSMSG, MessageBytes(message, player.Data), player.ID);
}

TDPSession::TPlayer* TDPSession::FindPlayer(DPID id) {
    const ptrdiff_t index = IndexOf(id);
    return index < 0 ? nullptr : &FPlayers[static_cast<size_t>(index)];
}

ptrdiff_t TDPSession::IndexOf(DPID id) const {
    for (size_t i = 0; i < FPlayers.size(); ++i)
        if (FPlayers[i].ID == id)
            return static_cast<ptrdiff_t>(i);
    return -1;
}

bool TDPSession::CanAddPlayer() const {
    return !(FSession.Flags & DPSESSION_NEWPLAYERSDISABLED) &&
           (FSession.MaxPlayers == 0 || FPlayers.size() < FSession.MaxPlayers);
}

bool TDPSession::Joinable() const {
    return CanAddPlayer() && !(FSession.Flags & DPSESSION_JOINDISABLED);
}

TSessionInfo TDPSession::SessionInfo() const {
    TSessionInfo info = FSession;
    info.CurrentPlayers = static_cast<uint32_t>(FPlayers.size());
    return info;
}

void TDPSession::Log(const AnsiString& line) const {
    if (FOptions.Log)
        FOptions.Log(line);
    else
        std::fprintf(stderr, "%s\n", line.c_str());
}

// ---- The calls of IDirectPlay4A ----

HRESULT TDPSession::EnumPlayers(const IDirectPlay4A::TEnumPlayersCallback& callback,
                                uint32_t flags) {
    std::vector<TPlayer> players;
    {
        std::lock_guard<std::mutex> lock(FLock);
        players = FPlayers;
    }
    const bool localOnly = (flags & DPENUMPLAYERS_LOCAL) && !(flags & DPENUMPLAYERS_REMOTE);
    const bool remoteOnly = (flags & DPENUMPLAYERS_REMOTE) && !(flags & DPENUMPLAYERS_LOCAL);
    for (const TPlayer& player : players) {
        if ((localOnly && !player.Local) || (remoteOnly && player.Local))
            continue;
        const DPNAME name{sizeof(DPNAME), 0,
                          player.ShortName.empty() ? nullptr : player.ShortName.c_str(),
                          player.LongName.empty() ? nullptr : player.LongName.c_str()};
        if (!callback(player.ID, DPPLAYERTYPE_PLAYER, name,
                      player.Local ? DPENUMPLAYERS_LOCAL : DPENUMPLAYERS_REMOTE))
            break;
    }
    return DP_OK;
}

HRESULT TDPSession::CreatePlayer(DPID& id, const DPNAME* name, const void* data, uint32_t size) {
    if (size > 0 && !data)
        return DPERR_INVALIDPARAMS;
    if (size > MaxPlayerDataSize)
        return DPERR_BUFFERTOOLARGE;
    const AnsiString shortName = Text(name ? name->lpszShortNameA : nullptr);
    const AnsiString longName = Text(name ? name->lpszLongNameA : nullptr);
    if (shortName.size() > MaxNameLength || longName.size() > MaxNameLength)
        return DPERR_INVALIDPARAMS;
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::vector<uint8_t> playerData(bytes, bytes + size);

    std::unique_lock<std::mutex> lock(FLock);
    if (FLost || (FRole == TRole::Joiner && !FHostPeer))
        return DPERR_SESSIONLOST;
    if (FRole == TRole::Host) {
        if (!CanAddPlayer())
            return DPERR_CANTADDPLAYER;
        id = FNextPlayerID++;
        AddPlayer(TPlayer{id, shortName, longName, std::move(playerData), true, nullptr}, true);
        return DP_OK;
    }
    const uint32_t number = ++FNextRequest;
    TRequest& request = FRequests[number];
    request.Frame = TCreatePlayer{number, shortName, longName, std::move(playerData)};
    SendTo(*FHostPeer, request.Frame);
    const auto settled = [this, number] {
        const auto it = FRequests.find(number);
        return it == FRequests.end() || it->second.Answered || FLost;
    };
    FChanged.wait_for(lock, milliseconds(FOptions.AnswerTimeoutMs), settled);
    const auto it = FRequests.find(number);
    if (it == FRequests.end())
        return DPERR_SESSIONLOST;
    if (!it->second.Answered) {
        if (FLost) {
            FRequests.erase(it);
            return DPERR_SESSIONLOST;
        }
        // Should the answer still come, the player is destroyed again.
        it->second.Abandoned = true;
        return DPERR_TIMEOUT;
    }
    const TCreatePlayerReply reply = it->second.Reply;
    FRequests.erase(it);
    if (reply.Result == DP_OK)
        id = reply.Player;
    return reply.Result;
}

HRESULT TDPSession::DestroyPlayer(DPID id) {
    std::lock_guard<std::mutex> lock(FLock);
    const ptrdiff_t index = IndexOf(id);
    if (index < 0)
        return DPERR_INVALIDPLAYER;
    if (!FPlayers[static_cast<size_t>(index)].Local)
        return DPERR_ACCESSDENIED;
    RemovePlayer(static_cast<size_t>(index), nullptr);
    if (FRole == TRole::Joiner && FHostPeer && !FLost)
        SendTo(*FHostPeer, TDestroyPlayer{id});
    return DP_OK;
}

HRESULT TDPSession::Send(DPID from, DPID to, const void* data, uint32_t size) {
    if (!data || size == 0)
        return DPERR_INVALIDPARAMS;
    if (size > MaxMessageSize)
        return DPERR_SENDTOOBIG;
    std::lock_guard<std::mutex> lock(FLock);
    if (FLost)
        return DPERR_SESSIONLOST;
    const TPlayer* sender = FindPlayer(from);
    if (!sender || !sender->Local || (to != DPID_ALLPLAYERS && !FindPlayer(to)))
        return DPERR_INVALIDPLAYER;
    const auto* bytes = static_cast<const uint8_t*>(data);
    Route(from, to, std::vector<uint8_t>(bytes, bytes + size), nullptr);
    return DP_OK;
}

HRESULT TDPSession::Receive(DPID* from, DPID* to, uint32_t flags, void* data, uint32_t* size) {
    if (!from || !to || !size)
        return DPERR_INVALIDPARAMS;
    const bool all = flags & DPRECEIVE_ALL;
    const bool toPlayer = !all && (flags & DPRECEIVE_TOPLAYER);
    const bool fromPlayer = !all && (flags & DPRECEIVE_FROMPLAYER);
    std::lock_guard<std::mutex> lock(FLock);
    if (toPlayer) {
        const TPlayer* addressee = FindPlayer(*to);
        if (!addressee || !addressee->Local)
            return DPERR_INVALIDPLAYER;
    }
    const auto it = std::find_if(FQueue.begin(), FQueue.end(), [&](const TQueued& queued) {
        return (!toPlayer || queued.To == *to) && (!fromPlayer || queued.From == *from);
    });
    if (it == FQueue.end())
        return DPERR_NOMESSAGES;
    const auto length = static_cast<uint32_t>(it->Data.size());
    if (!data || *size < length) {
        *size = length;
        return DPERR_BUFFERTOOSMALL;
    }
    if (length > 0)
        std::memcpy(data, it->Data.data(), length);
    *size = length;
    *from = it->From;
    *to = it->To;
    if (!(flags & DPRECEIVE_PEEK)) {
        Unqueue(*it);
        FQueue.erase(it);
    }
    return DP_OK;
}

HRESULT TDPSession::GetSessionDesc(void* data, uint32_t* size) {
    if (!size)
        return DPERR_INVALIDPARAMS;
    std::lock_guard<std::mutex> lock(FLock);
    const TSessionInfo info = SessionInfo();
    const auto needed = static_cast<uint32_t>(sizeof(DPSESSIONDESC2) + info.Name.size() + 1);
    if (!data || *size < needed) {
        *size = needed;
        return DPERR_BUFFERTOOSMALL;
    }
    auto* bytes = static_cast<uint8_t*>(data);
    char* name = reinterpret_cast<char*>(bytes + sizeof(DPSESSIONDESC2));
    std::memcpy(name, info.Name.c_str(), info.Name.size() + 1);
    const DPSESSIONDESC2 desc{
        sizeof(DPSESSIONDESC2), info.Flags,          info.Instance, info.Application,
        info.MaxPlayers,        info.CurrentPlayers, name,          nullptr,
        info.User[0],           info.User[1],        info.User[2],  info.User[3]};
    std::memcpy(bytes, &desc, sizeof desc);
    *size = needed;
    return DP_OK;
}

HRESULT TDPSession::SetSessionDesc(const DPSESSIONDESC2& desc) {
    AnsiString name;
    if (const HRESULT invalid = CheckDescription(desc, name))
        return invalid;
    std::lock_guard<std::mutex> lock(FLock);
    if (FRole != TRole::Host)
        return DPERR_ACCESSDENIED;
    FSession.Flags = desc.dwFlags;
    FSession.MaxPlayers = desc.dwMaxPlayers;
    FSession.Name = name;
    FSession.User = {desc.dwUser1, desc.dwUser2, desc.dwUser3, desc.dwUser4};
    SendToJoined(TSessionDesc{SessionInfo()}, nullptr);
    return DP_OK;
}

HRESULT TDPSession::GetPlayerData(DPID id, void* data, uint32_t* size) {
    if (!size)
        return DPERR_INVALIDPARAMS;
    std::lock_guard<std::mutex> lock(FLock);
    const TPlayer* player = FindPlayer(id);
    if (!player)
        return DPERR_INVALIDPLAYER;
    const auto length = static_cast<uint32_t>(player->Data.size());
    if (length > 0 && (!data || *size < length)) {
        *size = length;
        return DPERR_BUFFERTOOSMALL;
    }
    if (length > 0)
        std::memcpy(data, player->Data.data(), length);
    *size = length;
    return DP_OK;
}

HRESULT TDPSession::SetPlayerData(DPID id, const void* data, uint32_t size) {
    if (size > 0 && !data)
        return DPERR_INVALIDPARAMS;
    if (size > MaxPlayerDataSize)
        return DPERR_BUFFERTOOLARGE;
    std::lock_guard<std::mutex> lock(FLock);
    if (FLost)
        return DPERR_SESSIONLOST;
    TPlayer* player = FindPlayer(id);
    if (!player)
        return DPERR_INVALIDPLAYER;
    if (!player->Local)
        return DPERR_ACCESSDENIED;
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::vector<uint8_t> playerData(bytes, bytes + size);
    if (FRole == TRole::Joiner && FHostPeer)
        SendTo(*FHostPeer, TPlayerData{id, playerData});
    ChangeData(*player, std::move(playerData), nullptr);
    return DP_OK;
}

uint16_t TDPSession::SearchPort() const {
    return FTransport->SearchPort();
}

// ---- The transport's calls while hosting ----

bool TDPSession::AnswerSearch(const GUID& application, TSessionInfo& session) {
    std::lock_guard<std::mutex> lock(FLock);
    if (FRole != TRole::Host || (application != GUID_NULL && application != FSession.Application))
        return false;
    session = SessionInfo();
    return true;
}

void TDPSession::Accept(int socket, const AnsiString& peerName) {
    std::lock_guard<std::mutex> lock(FLock);
    if (FRole != TRole::Host || FStopping) {
        ::close(socket);
        Log(Format("DirectPlay: refused a connection from %s", peerName));
        return;
    }
    MakeRoomForNewcomer();
    auto peer = std::make_unique<TPeer>();
    peer->Link = std::make_unique<TDPLink>(socket, "joiner " + peerName);
    peer->PlayerlessSince = peer->Link->Created;
    FPeers.push_back(std::move(peer));
    Wake();
}

} // namespace Win32
