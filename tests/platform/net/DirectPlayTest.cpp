// DirectPlay sessions on the in-process network: searches, joins, players,
// messages in order, lost peers and malformed frames.
#include "platform/net/DirectPlay.h"
#include "platform/net/DirectPlayInProcess.h"
#include "platform/net/DirectPlayLobby.h"
#include "platform/net/DirectPlayWire.h"
#include "tests/platform/net/DirectPlayTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <thread>

using namespace Win32;
using namespace DirectPlayTestSupport;

namespace {

class DirectPlay : public ::testing::Test {
protected:
    TDirectPlayOptions Options() { return InProcessOptions(FNetwork, FLog); }

    std::shared_ptr<TInProcessNetwork> FNetwork = std::make_shared<TInProcessNetwork>();
    TLogLines FLog;
};

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

} // namespace

TEST_F(DirectPlay, OnlyTcpIpOfTheOfferedConnectionsInitialises) {
    IDirectPlay4A directPlay(Options());
    std::vector<std::pair<GUID, std::vector<uint8_t>>> connections;
    ASSERT_EQ(directPlay.EnumConnections(
                  nullptr,
                  [&](const GUID& provider, const void* data, uint32_t size, const DPNAME& name,
                      uint32_t flags) {
                      EXPECT_NE(name.lpszShortNameA, nullptr);
                      EXPECT_EQ(flags, DPCONNECTION_DIRECTPLAY);
                      const auto* bytes = static_cast<const uint8_t*>(data);
                      connections.push_back({provider, {bytes, bytes + size}});
                      return true;
                  },
                  0),
              DP_OK);
    ASSERT_EQ(connections.size(), 2u);
    EXPECT_EQ(connections[0].first, DPSPGUID_TCPIP);
    EXPECT_EQ(connections[1].first, DPSPGUID_IPX);
    const auto initialise = [](const std::vector<uint8_t>& address) {
        IDirectPlay4A probe(TDirectPlayOptions{});
        return probe.InitializeConnection(address.data(), uint32_t(address.size()), 0);
    };
    EXPECT_EQ(initialise(connections[1].second), DPERR_UNAVAILABLE);
    EXPECT_EQ(initialise(connections[0].second), DP_OK);
    EXPECT_EQ(directPlay.InitializeConnection(connections[0].second.data(),
                                              uint32_t(connections[0].second.size()), 0),
              DP_OK);
    EXPECT_EQ(directPlay.InitializeConnection(connections[0].second.data(),
                                              uint32_t(connections[0].second.size()), 0),
              DPERR_ALREADYINITIALIZED);
}

TEST_F(DirectPlay, CompoundAddressesAreCheckedAgainstTheirSize) {
    std::vector<uint8_t> address = TcpIpAddress("");
    // Provider element (16 + 4 + 16 bytes), then the INet element holding only the zero.
    ASSERT_EQ(address.size(), 36u + 20u + 1u);
    uint32_t inetSize;
    std::memcpy(&inetSize, address.data() + 36 + 16, 4);
    EXPECT_EQ(inetSize, 1u);
    TDPAddress parsed;
    ASSERT_TRUE(ParseCompoundAddress(address.data(), uint32_t(address.size()), parsed));
    EXPECT_EQ(parsed.ServiceProvider, DPSPGUID_TCPIP);
    EXPECT_EQ(parsed.Host, "");
    ASSERT_TRUE(ParseCompoundAddress(TcpIpAddress("127.0.0.1").data(),
                                     uint32_t(TcpIpAddress("127.0.0.1").size()), parsed));
    EXPECT_EQ(parsed.Host, "127.0.0.1");

    IDirectPlay4A directPlay(Options());
    EXPECT_EQ(directPlay.InitializeConnection(address.data(), uint32_t(address.size() - 1), 0),
              DPERR_INVALIDPARAMS);
    address.back() = 'x'; // the host text loses its terminating zero
    EXPECT_EQ(directPlay.InitializeConnection(address.data(), uint32_t(address.size()), 0),
              DPERR_INVALIDPARAMS);
    EXPECT_EQ(directPlay.InitializeConnection(address.data(), 16, 0), DPERR_INVALIDPARAMS);
}

TEST_F(DirectPlay, SearchReportsTheHostedSessionWithItsDescription) {
    auto host = Hosting(Options(), "Tower", 0x2044, 8);
    CreatePlayer(*host, "Host");
    auto searcher = Connected(Options());
    const std::vector<TFoundSession> found = Search(*searcher);
    ASSERT_EQ(found.size(), 1u);
    const DPSESSIONDESC2& desc = found[0].Desc;
    EXPECT_EQ(found[0].Name, "Tower");
    EXPECT_EQ(desc.dwFlags, 0x2044u);
    EXPECT_EQ(desc.dwMaxPlayers, 8u);
    EXPECT_EQ(desc.dwCurrentPlayers, 1u);
    EXPECT_EQ(desc.dwUser1, 100u);
    EXPECT_EQ(desc.dwUser2, 7u);
    EXPECT_EQ(desc.dwUser3, 2u);
    EXPECT_EQ(desc.dwUser4, 0u);
    EXPECT_NE(desc.guidInstance, GUID_NULL);

    IDirectPlay4A unconnected(Options());
    DPSESSIONDESC2 query{};
    query.dwSize = sizeof query;
    EXPECT_EQ(unconnected.EnumSessions(
                  query, 10, [](const DPSESSIONDESC2*, uint32_t&, uint32_t) { return false; }, 0),
              DPERR_UNINITIALIZED);
}

TEST_F(DirectPlay, ClosedAndFullSessionsAreHiddenAndRefuseJoiners) {
    auto host = Hosting(Options(), "Tower", 0x2044, 2);
    const DPID hostPlayer = CreatePlayer(*host, "Host");
    auto joiner = Connected(Options());
    const std::vector<TFoundSession> before = Search(*joiner);
    ASSERT_EQ(before.size(), 1u);

    std::vector<uint8_t> buffer(1024);
    uint32_t size = uint32_t(buffer.size());
    ASSERT_EQ(host->GetSessionDesc(buffer.data(), &size), DP_OK);
    DPSESSIONDESC2 desc;
    std::memcpy(&desc, buffer.data(), sizeof desc);
    desc.dwFlags |= DPSESSION_NEWPLAYERSDISABLED | DPSESSION_JOINDISABLED;
    ASSERT_EQ(host->SetSessionDesc(desc, 0), DP_OK);

    EXPECT_TRUE(Search(*joiner).empty());
    EXPECT_EQ(Search(*joiner, DPENUMSESSIONS_ALL).size(), 1u);
    EXPECT_EQ(joiner->Open(before[0].Desc, DPOPEN_JOIN), DPERR_NONEWPLAYERS);
    EXPECT_TRUE(FLog.Contains("may not join")) << FLog.All();

    // Open again, then full: the session holds two players at most.
    desc.dwFlags &= ~(DPSESSION_NEWPLAYERSDISABLED | DPSESSION_JOINDISABLED);
    ASSERT_EQ(host->SetSessionDesc(desc, 0), DP_OK);
    ASSERT_EQ(Search(*joiner).size(), 1u);
    ASSERT_EQ(joiner->Open(before[0].Desc, DPOPEN_JOIN), DP_OK);
    CreatePlayer(*joiner, "Guest");
    DPID third = 0;
    const DPNAME name{sizeof(DPNAME), 0, "Third", nullptr};
    EXPECT_EQ(joiner->CreatePlayer(third, &name, nullptr, nullptr, 0, 0), DPERR_CANTADDPLAYER);
    EXPECT_EQ(host->CreatePlayer(third, &name, nullptr, nullptr, 0, 0), DPERR_CANTADDPLAYER);
    auto late = Connected(Options());
    EXPECT_TRUE(Search(*late).empty());
    EXPECT_EQ(Players(*host).size(), 2u);
    EXPECT_NE(hostPlayer, 0u);
}

TEST_F(DirectPlay, EveryPeerListsTheSamePlayers) {
    auto host = Hosting(Options());
    const DPID hostPlayer = CreatePlayer(*host, "Host");
    auto first = Joined(Options());
    const DPID firstPlayer = CreatePlayer(*first, "First");
    auto second = Joined(Options());
    const DPID secondPlayer = CreatePlayer(*second, "Second");
    for (IDirectPlay4A* peer : {host.get(), first.get(), second.get()})
        ASSERT_TRUE(WaitForPlayerCount(*peer, 3));

    EXPECT_NE(hostPlayer, 0u);
    EXPECT_NE(hostPlayer, firstPlayer);
    EXPECT_NE(firstPlayer, secondPlayer);
    const std::vector<TPlayerEntry> seenByFirst = {{hostPlayer, "Host", DPENUMPLAYERS_REMOTE},
                                                   {firstPlayer, "First", DPENUMPLAYERS_LOCAL},
                                                   {secondPlayer, "Second", DPENUMPLAYERS_REMOTE}};
    EXPECT_EQ(Players(*first), seenByFirst);
    const auto ids = [](const std::vector<TPlayerEntry>& players) {
        std::vector<DPID> result;
        for (const TPlayerEntry& player : players)
            result.push_back(player.ID);
        return result;
    };
    EXPECT_EQ(ids(Players(*host)), ids(seenByFirst));
    EXPECT_EQ(ids(Players(*second)), ids(seenByFirst));
    EXPECT_EQ(Players(*second, DPENUMPLAYERS_LOCAL),
              (std::vector<TPlayerEntry>{{secondPlayer, "Second", DPENUMPLAYERS_LOCAL}}));

    EXPECT_EQ(first->DestroyPlayer(hostPlayer), DPERR_ACCESSDENIED);
    EXPECT_EQ(first->DestroyPlayer(firstPlayer), DP_OK);
    for (IDirectPlay4A* peer : {host.get(), first.get(), second.get()})
        EXPECT_TRUE(WaitForPlayerCount(*peer, 2));
}

TEST_F(DirectPlay, SystemMessagesKeepTheirPlaceAmongGameMessages) {
    auto host = Hosting(Options());
    const DPID hostPlayer = CreatePlayer(*host, "Host");
    auto watcher = Joined(Options());
    const DPID watcherPlayer = CreatePlayer(*watcher, "Watcher");
    auto actor = Joined(Options());
    const DPID actorPlayer = CreatePlayer(*actor, "Actor");
    const std::vector<uint8_t> data = {2, 0, 0, 0, 1, 0, 0, 0};
    ASSERT_EQ(actor->SetPlayerData(actorPlayer, data.data(), 8, DPSET_GUARANTEED), DP_OK);
    ASSERT_EQ(SendText(*actor, actorPlayer, DPID_ALLPLAYERS, "first"), DP_OK);
    ASSERT_EQ(SendText(*actor, actorPlayer, hostPlayer, "to the host"), DP_OK);
    ASSERT_EQ(actor->DestroyPlayer(actorPlayer), DP_OK);

    // The host hears it directly, the watcher through the host's relay.
    for (IDirectPlay4A* peer : {host.get(), watcher.get()}) {
        const DPID local = peer == host.get() ? hostPlayer : watcherPlayer;
        TReceived m;
        if (peer == host.get()) {
            ASSERT_TRUE(NextMessage(*peer, local, m)); // the watcher's creation
            EXPECT_EQ(m.Subject(), watcherPlayer);
        }
        ASSERT_TRUE(NextMessage(*peer, local, m));
        EXPECT_EQ(m.From, DPID_SYSMSG);
        EXPECT_EQ(m.Type(), DPSYS_CREATEPLAYERORGROUP);
        EXPECT_EQ(m.Subject(), actorPlayer);
        ASSERT_TRUE(NextMessage(*peer, local, m));
        EXPECT_EQ(m.Type(), DPSYS_SETPLAYERORGROUPDATA);
        ASSERT_EQ(m.Data.size(), sizeof(DPMSG_SETPLAYERORGROUPDATA) + 8);
        EXPECT_EQ(std::vector<uint8_t>(m.Data.begin() + 16, m.Data.end()), data);
        ASSERT_TRUE(NextMessage(*peer, local, m));
        EXPECT_EQ(m.From, actorPlayer);
        EXPECT_EQ(m.Text(), "first");
        if (peer == host.get()) {
            ASSERT_TRUE(NextMessage(*peer, local, m));
            EXPECT_EQ(m.Text(), "to the host");
        }
        ASSERT_TRUE(NextMessage(*peer, local, m));
        EXPECT_EQ(m.From, DPID_SYSMSG);
        EXPECT_EQ(m.Type(), DPSYS_DESTROYPLAYERORGROUP);
        EXPECT_EQ(m.Subject(), actorPlayer);
        EXPECT_FALSE(NextMessage(*peer, local, m, 50));
    }
}

TEST_F(DirectPlay, ReceiveHonoursItsFlags) {
    auto host = Hosting(Options());
    const DPID red = CreatePlayer(*host, "Red");
    const DPID blue = CreatePlayer(*host, "Blue");
    DPID from = 0;
    DPID to = blue;
    uint32_t size = 0;
    EXPECT_EQ(host->Receive(&from, &to, DPRECEIVE_TOPLAYER, nullptr, &size), DPERR_NOMESSAGES);

    // Red hears of Blue's creation; messages to all do not come back to their sender.
    TReceived m;
    ASSERT_TRUE(NextMessage(*host, red, m));
    EXPECT_EQ(m.Type(), DPSYS_CREATEPLAYERORGROUP);
    ASSERT_EQ(SendText(*host, red, DPID_ALLPLAYERS, "hello all"), DP_OK);
    ASSERT_EQ(SendText(*host, red, blue, "blue only"), DP_OK);
    ASSERT_EQ(SendText(*host, blue, blue, "note to self"), DP_OK);
    ASSERT_EQ(SendText(*host, blue, red, "back to red"), DP_OK);
    EXPECT_EQ(SendText(*host, red, 12345, "nobody"), DPERR_INVALIDPLAYER);
    EXPECT_EQ(SendText(*host, 12345, red, "forged"), DPERR_INVALIDPLAYER);
    EXPECT_EQ(host->Send(red, blue, DPSEND_GUARANTEED, nullptr, 0), DPERR_INVALIDPARAMS);
    const std::vector<uint8_t> huge(DPWire::MaxMessageSize + 1);
    EXPECT_EQ(host->Send(red, blue, DPSEND_GUARANTEED, huge.data(), uint32_t(huge.size())),
              DPERR_SENDTOOBIG);

    // Peeking without a buffer tells the size and leaves the message waiting.
    to = blue;
    size = 0;
    ASSERT_EQ(host->Receive(&from, &to, DPRECEIVE_TOPLAYER | DPRECEIVE_PEEK, nullptr, &size),
              DPERR_BUFFERTOOSMALL);
    EXPECT_EQ(size, 9u);
    std::vector<uint8_t> buffer(size);
    ASSERT_EQ(host->Receive(&from, &to, DPRECEIVE_TOPLAYER | DPRECEIVE_PEEK, buffer.data(), &size),
              DP_OK);
    EXPECT_EQ(buffer, Bytes("hello all"));
    // Filtered by sender, Blue's own note comes before Red's earlier messages.
    buffer.resize(100);
    size = 100;
    from = blue;
    ASSERT_EQ(
        host->Receive(&from, &to, DPRECEIVE_FROMPLAYER | DPRECEIVE_TOPLAYER, buffer.data(), &size),
        DP_OK);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + size), "note to self");
    for (const char* expected : {"hello all", "blue only"}) {
        size = 100;
        ASSERT_EQ(host->Receive(&from, &to, DPRECEIVE_TOPLAYER, buffer.data(), &size), DP_OK);
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + size), expected);
        EXPECT_EQ(from, red);
    }
    ASSERT_TRUE(NextMessage(*host, red, m));
    EXPECT_EQ(m.Text(), "back to red");
    EXPECT_FALSE(NextMessage(*host, red, m, 20));

    to = 999;
    EXPECT_EQ(host->Receive(&from, &to, DPRECEIVE_TOPLAYER, buffer.data(), &size),
              DPERR_INVALIDPLAYER);
    EXPECT_EQ(host->Receive(&from, &to, 0x100, buffer.data(), &size), DPERR_INVALIDFLAGS);
}

TEST_F(DirectPlay, PlayerDataIsTheOwnersAndTravelsWithItsSystemMessage) {
    auto host = Hosting(Options());
    const DPID hostPlayer = CreatePlayer(*host, "Host");
    auto joiner = Joined(Options());
    const DPID joinerPlayer = CreatePlayer(*joiner, "Guest");
    ASSERT_TRUE(WaitForPlayerCount(*joiner, 2));

    uint32_t size = 99;
    EXPECT_EQ(joiner->GetPlayerData(hostPlayer, nullptr, &size, DPGET_REMOTE), DP_OK);
    EXPECT_EQ(size, 0u);
    const std::vector<uint8_t> data = {1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(joiner->SetPlayerData(hostPlayer, data.data(), 8, DPSET_GUARANTEED),
              DPERR_ACCESSDENIED);
    const std::vector<uint8_t> tooMuch(DPWire::MaxPlayerDataSize + 1);
    EXPECT_EQ(host->SetPlayerData(hostPlayer, tooMuch.data(), uint32_t(tooMuch.size()), 0),
              DPERR_BUFFERTOOLARGE);
    ASSERT_EQ(host->SetPlayerData(hostPlayer, data.data(), 8, DPSET_GUARANTEED), DP_OK);

    TReceived m;
    ASSERT_TRUE(WaitForSystemMessage(*joiner, joinerPlayer, DPSYS_SETPLAYERORGROUPDATA, m));
    EXPECT_EQ(m.Subject(), hostPlayer);
    size = 0;
    ASSERT_EQ(joiner->GetPlayerData(hostPlayer, nullptr, &size, DPGET_REMOTE),
              DPERR_BUFFERTOOSMALL);
    ASSERT_EQ(size, 8u);
    std::vector<uint8_t> read(size);
    ASSERT_EQ(joiner->GetPlayerData(hostPlayer, read.data(), &size, DPGET_REMOTE), DP_OK);
    EXPECT_EQ(read, data);
    EXPECT_EQ(joiner->GetPlayerData(4242, read.data(), &size, DPGET_REMOTE), DPERR_INVALIDPLAYER);
}

TEST_F(DirectPlay, TheHostsSessionDescriptionChangesReachEveryPeer) {
    auto host = Hosting(Options());
    CreatePlayer(*host, "Host");
    auto joiner = Joined(Options());
    const DPID joinerPlayer = CreatePlayer(*joiner, "Guest");

    uint32_t size = 0;
    ASSERT_EQ(host->GetSessionDesc(nullptr, &size), DPERR_BUFFERTOOSMALL);
    EXPECT_EQ(size, sizeof(DPSESSIONDESC2) + 6);
    std::vector<uint8_t> buffer(size);
    ASSERT_EQ(host->GetSessionDesc(buffer.data(), &size), DP_OK);
    DPSESSIONDESC2 desc;
    std::memcpy(&desc, buffer.data(), sizeof desc);
    EXPECT_STREQ(desc.lpszSessionNameA, "Tower");
    EXPECT_EQ(desc.dwCurrentPlayers, 2u);
    desc.dwFlags |= 0x21;
    desc.dwUser4 = 5;
    desc.lpszSessionNameA = "Tower, started";
    ASSERT_EQ(host->SetSessionDesc(desc, 0), DP_OK);
    EXPECT_EQ(joiner->SetSessionDesc(desc, 0), DPERR_ACCESSDENIED);

    TReceived m;
    ASSERT_TRUE(WaitForSystemMessage(*joiner, joinerPlayer, DPSYS_SETSESSIONDESC, m));
    size = uint32_t(buffer.size());
    ASSERT_EQ(joiner->GetSessionDesc(buffer.data(), &size), DPERR_BUFFERTOOSMALL);
    buffer.resize(size);
    ASSERT_EQ(joiner->GetSessionDesc(buffer.data(), &size), DP_OK);
    DPSESSIONDESC2 seen;
    std::memcpy(&seen, buffer.data(), sizeof seen);
    EXPECT_EQ(seen.dwFlags, 0x2044u | 0x21u);
    EXPECT_EQ(seen.dwUser4, 5u);
    EXPECT_EQ(seen.guidInstance, desc.guidInstance);
    EXPECT_STREQ(seen.lpszSessionNameA, "Tower, started");
}

TEST_F(DirectPlay, TheHostLeavingEndsTheSessionForItsJoiners) {
    auto host = Hosting(Options());
    CreatePlayer(*host, "Host");
    auto joiner = Joined(Options());
    const DPID joinerPlayer = CreatePlayer(*joiner, "Guest");
    ASSERT_EQ(host->Close(), DP_OK);

    TReceived m;
    ASSERT_TRUE(WaitForSystemMessage(*joiner, joinerPlayer, DPSYS_SESSIONLOST, m));
    EXPECT_EQ(SendText(*joiner, joinerPlayer, DPID_ALLPLAYERS, "anyone?"), DPERR_SESSIONLOST);
    EXPECT_EQ(Players(*joiner).size(), 2u); // what was known stays readable

    // The same object can leave and join the next session.
    ASSERT_EQ(joiner->Close(), DP_OK);
    auto next = Hosting(Options(), "Next");
    ASSERT_EQ(Search(*joiner).size(), 1u);
    ASSERT_EQ(joiner->Open(Search(*joiner)[0].Desc, DPOPEN_JOIN), DP_OK);
    EXPECT_NE(CreatePlayer(*joiner, "Again"), 0u);
}

TEST_F(DirectPlay, AJoinerLeavingIsADestroyedPlayerForTheOthers) {
    auto host = Hosting(Options());
    const DPID hostPlayer = CreatePlayer(*host, "Host");
    auto joiner = Joined(Options());
    const DPID joinerPlayer = CreatePlayer(*joiner, "Guest");
    ASSERT_EQ(joiner->Close(), DP_OK);

    TReceived m;
    ASSERT_TRUE(WaitForSystemMessage(*host, hostPlayer, DPSYS_DESTROYPLAYERORGROUP, m));
    EXPECT_EQ(m.Subject(), joinerPlayer);
    EXPECT_EQ(Players(*host).size(), 1u);
}

TEST_F(DirectPlay, AThousandMessagesEachWayArriveInOrderWhileWorkersReceive) {
    constexpr int Count = 1000;
    auto host = Hosting(Options());
    const DPID hostPlayer = CreatePlayer(*host, "Host");
    auto joiner = Joined(Options());
    const DPID joinerPlayer = CreatePlayer(*joiner, "Guest");
    ASSERT_TRUE(WaitForPlayerCount(*host, 2));

    // As in a game: a worker thread receives while the main thread sends.
    const auto receiveAll = [](IDirectPlay4A& peer, DPID local, DPID sender, int& inOrder) {
        TReceived m;
        while (inOrder < Count && NextMessage(peer, local, m)) {
            if (m.From != sender)
                continue;
            if (m.Data.size() != 68 || m.Data[0] != uint8_t(inOrder) ||
                m.Data[1] != uint8_t(inOrder >> 8))
                return;
            ++inOrder;
        }
    };
    int hostReceived = 0;
    int joinerReceived = 0;
    std::thread hostWorker(receiveAll, std::ref(*host), hostPlayer, joinerPlayer,
                           std::ref(hostReceived));
    std::thread joinerWorker(receiveAll, std::ref(*joiner), joinerPlayer, hostPlayer,
                             std::ref(joinerReceived));
    for (int i = 0; i < Count; ++i) {
        std::vector<uint8_t> message(68, 0x5A);
        message[0] = uint8_t(i);
        message[1] = uint8_t(i >> 8);
        ASSERT_EQ(host->Send(hostPlayer, DPID_ALLPLAYERS, DPSEND_GUARANTEED, message.data(), 68),
                  DP_OK);
        ASSERT_EQ(joiner->Send(joinerPlayer, hostPlayer, DPSEND_GUARANTEED, message.data(), 68),
                  DP_OK);
    }
    hostWorker.join();
    joinerWorker.join();
    EXPECT_EQ(hostReceived, Count);
    EXPECT_EQ(joinerReceived, Count);
}

// Each case: what a misbehaving joiner sends, and what the host's log then says.
struct TBadFrame {
    const char* name;
    bool joinsFirst;
    std::function<std::vector<uint8_t>(DPID player)> bytes;
    const char* logged;
    bool endsStream = false;
};

class MalformedFrames : public DirectPlay, public ::testing::WithParamInterface<TBadFrame> {};

TEST_P(MalformedFrames, DropOnlyTheirSender) {
    const TBadFrame& bad = GetParam();
    auto host = Hosting(Options());
    const DPID hostPlayer = CreatePlayer(*host, "Host");
    auto good = Joined(Options());
    const DPID goodPlayer = CreatePlayer(*good, "Good");
    const GUID instance = Search(*good, DPENUMSESSIONS_ALL).at(0).Desc.guidInstance;

    std::unique_ptr<TRawConnection> raw = FNetwork->ConnectRaw();
    ASSERT_TRUE(raw);
    DPID rawPlayer = 0;
    if (bad.joinsFirst) {
        ASSERT_TRUE(raw->Write(DPWire::Encode(DPWire::THello{GUID_NULL, instance})));
        ASSERT_TRUE(raw->Write(DPWire::Encode(DPWire::TCreatePlayer{1, "Rogue", "", {}})));
        DPWire::TFrame frame;
        while (raw->ReadFrame(frame, WaitMs)) {
            if (const auto* reply = std::get_if<DPWire::TCreatePlayerReply>(&frame)) {
                rawPlayer = reply->Player;
                break;
            }
        }
        ASSERT_NE(rawPlayer, 0u);
    }
    raw->Write(bad.bytes(rawPlayer));
    if (bad.endsStream)
        raw->EndWriting();
    EXPECT_TRUE(raw->WaitUntilClosed(WaitMs));
    EXPECT_TRUE(FLog.Contains(bad.logged)) << FLog.All();

    TReceived m;
    if (bad.joinsFirst) {
        ASSERT_TRUE(WaitForSystemMessage(*good, goodPlayer, DPSYS_DESTROYPLAYERORGROUP, m));
        EXPECT_EQ(m.Subject(), rawPlayer);
    }
    // The host goes on serving the others.
    ASSERT_EQ(SendText(*good, goodPlayer, hostPlayer, "still there?"), DP_OK);
    while (NextMessage(*host, hostPlayer, m) && m.From == DPID_SYSMSG) {
    }
    EXPECT_EQ(m.Text(), "still there?");
    ASSERT_EQ(SendText(*host, hostPlayer, goodPlayer, "yes"), DP_OK);
    while (NextMessage(*good, goodPlayer, m) && m.From == DPID_SYSMSG) {
    }
    EXPECT_EQ(m.Text(), "yes");
    EXPECT_EQ(Players(*host).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    DirectPlay, MalformedFrames,
    ::testing::Values(
        TBadFrame{"truncated", true,
                  [](DPID) {
                      std::vector<uint8_t> bytes = FrameHeader(1, 12, 6);
                      bytes.insert(bytes.end(), 6, 0);
                      return bytes;
                  },
                  "a Message frame that ends inside its fields"},
        TBadFrame{
            "stream ends inside a frame", true,
            [](DPID player) {
                std::vector<uint8_t> bytes = DPWire::Encode(DPWire::TMessage{player, 0, {1, 2, 3}});
                bytes.resize(bytes.size() - 2);
                return bytes;
            },
            "closed inside a frame", true},
        TBadFrame{"oversized", true, [](DPID) { return FrameHeader(1, 12, 200 * 1024 * 1024); },
                  "a Message frame of 209715200 bytes"},
        TBadFrame{"wrong version", true, [](DPID) { return FrameHeader(7, 14, 0); },
                  "protocol version 7"},
        TBadFrame{"unknown type", true, [](DPID) { return FrameHeader(1, 200, 0); },
                  "unknown type 200"},
        TBadFrame{"not ours at all", false,
                  [](DPID) {
                      const std::string text = "GET / HTTP/1.0\r\n\r\n";
                      return std::vector<uint8_t>(text.begin(), text.end());
                  },
                  "not a network play frame"},
        TBadFrame{"message before joining", false,
                  [](DPID) {
                      return DPWire::Encode(DPWire::TMessage{1, 0, {1}});
                  },
                  "a Message frame before its Hello"},
        TBadFrame{"message as another player", true,
                  [](DPID player) {
                      return DPWire::Encode(DPWire::TMessage{player + 1, 0, {1}});
                  },
                  "which is not its own"},
        TBadFrame{"a frame only hosts send", true,
                  [](DPID) { return DPWire::Encode(DPWire::TWelcome{}); },
                  "a Welcome frame, which a host never accepts"}),
    [](const ::testing::TestParamInfo<TBadFrame>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST_F(DirectPlay, SilentPeersAreDroppedWhileLivePeersStay) {
    TDirectPlayOptions options = Options();
    options.KeepAliveMs = 100;
    options.PeerTimeoutMs = 1500;
    options.PlayerTimeoutMs = 1500;
    auto host = Hosting(options);
    const DPID hostPlayer = CreatePlayer(*host, "Host");
    auto live = Joined(options);
    const DPID livePlayer = CreatePlayer(*live, "Live");
    const GUID instance = Search(*live, DPENUMSESSIONS_ALL).at(0).Desc.guidInstance;

    std::unique_ptr<TRawConnection> silent = FNetwork->ConnectRaw();
    ASSERT_TRUE(silent->Write(DPWire::Encode(DPWire::THello{GUID_NULL, instance})));
    ASSERT_TRUE(silent->Write(DPWire::Encode(DPWire::TCreatePlayer{1, "Silent", "", {}})));
    std::unique_ptr<TRawConnection> mute = FNetwork->ConnectRaw();
    EXPECT_TRUE(silent->WaitUntilClosed(WaitMs));
    EXPECT_TRUE(mute->WaitUntilClosed(WaitMs));
    EXPECT_TRUE(FLog.Contains("nothing came from it for 1500 ms")) << FLog.All();
    EXPECT_TRUE(FLog.Contains("did not join within 1500 ms")) << FLog.All();

    // By now the live joiner has been quiet longer than the time-out, but its
    // keep-alives kept it in.
    ASSERT_EQ(SendText(*live, livePlayer, hostPlayer, "alive"), DP_OK);
    TReceived m;
    while (NextMessage(*host, hostPlayer, m) && m.From == DPID_SYSMSG) {
    }
    EXPECT_EQ(m.Text(), "alive");
}

std::vector<uint8_t> TruncatedPlayerData() {
    std::vector<uint8_t> bytes = FrameHeader(1, 11, 2);
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

TEST_F(DirectPlay, AMalformedFrameFromTheHostEndsTheSessionForTheJoiner) {
    struct TCase {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* logged;
    } cases[] = {
        {"wrong version", FrameHeader(3, 14, 0), "protocol version 3"},
        {"unknown type", FrameHeader(1, 77, 0), "unknown type 77"},
        {"oversized", FrameHeader(1, 12, 0x7FFFFFFF), "2147483647 bytes"},
        {"truncated", TruncatedPlayerData(), "a PlayerData frame that ends inside its fields"},
        {"a frame only joiners send", DPWire::Encode(DPWire::THello{}),
         "a Hello frame, which a joiner never accepts"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        DPWire::TSessionInfo session;
        session.Instance = GUID{0xFA4E, 1, 2, {3}};
        session.MaxPlayers = 8;
        session.Name = "Fake";
        TRawHost fake(FNetwork, session);
        auto joiner = Connected(Options());
        const std::vector<TFoundSession> found = Search(*joiner);
        ASSERT_EQ(found.size(), 1u);

        // The fake host lets the joiner in and answers its player request.
        std::thread host([&] {
            std::unique_ptr<TRawConnection> raw = fake.NextJoiner(WaitMs);
            ASSERT_TRUE(raw);
            DPWire::TFrame frame;
            ASSERT_TRUE(raw->ReadFrame(frame, WaitMs));
            const auto* hello = std::get_if<DPWire::THello>(&frame);
            ASSERT_TRUE(hello);
            EXPECT_EQ(hello->Instance, session.Instance);
            raw->Write(DPWire::Encode(DPWire::TPlayerAdded{77, false, "Fake host", "", {}}));
            raw->Write(DPWire::Encode(DPWire::TWelcome{session}));
            while (raw->ReadFrame(frame, WaitMs))
                if (const auto* create = std::get_if<DPWire::TCreatePlayer>(&frame)) {
                    raw->Write(DPWire::Encode(DPWire::TCreatePlayerReply{create->Request, 0, 88}));
                    break;
                }
            raw->Write(c.bytes);
            EXPECT_TRUE(raw->WaitUntilClosed(WaitMs));
        });
        ASSERT_EQ(joiner->Open(found[0].Desc, DPOPEN_JOIN), DP_OK);
        EXPECT_EQ(CreatePlayer(*joiner, "Guest"), 88u);
        EXPECT_EQ(Players(*joiner).size(), 2u);
        TReceived m;
        EXPECT_TRUE(WaitForSystemMessage(*joiner, 88, DPSYS_SESSIONLOST, m));
        host.join();
        EXPECT_TRUE(FLog.Contains(c.logged)) << FLog.All();
    }
}
