// A real host over TCP/IP on 127.0.0.1 against peers that do not play by the
// rules, written as raw socket clients so nothing of our own sending side
// filters what they send. Each case checks that the host stays up, drops only
// the bad peer, and a well-behaved joiner keeps talking to it.
#include "platform/net/DirectPlay.h"
#include "platform/net/DirectPlayInProcess.h"
#include "platform/net/DirectPlayWire.h"
#include "tests/platform/net/DirectPlayTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Win32;
using namespace DirectPlayTestSupport;

namespace {

sockaddr_in Loopback(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// What a search datagram to the host's search port brings back.
DPWire::TSearchReply SearchRaw(uint16_t searchPort) {
    const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in host = Loopback(searchPort);
    const std::vector<uint8_t> request = DPWire::Encode(DPWire::TSearchRequest{GUID_NULL});
    DPWire::TSearchReply reply;
    for (int attempt = 0; attempt < 40 && reply.Port == 0; ++attempt) {
        ::sendto(socket, request.data(), request.size(), 0,
                 reinterpret_cast<const sockaddr*>(&host), sizeof host);
        pollfd fd{socket, POLLIN, 0};
        if (::poll(&fd, 1, 500) != 1)
            continue;
        uint8_t buffer[4096];
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got > 0)
            reply = std::get<DPWire::TSearchReply>(DPWire::Decode(buffer, size_t(got)));
    }
    ::close(socket);
    return reply;
}

std::unique_ptr<TRawConnection> ConnectRaw(uint16_t port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in host = Loopback(port);
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&host), sizeof host) != 0) {
        ::close(socket);
        return nullptr;
    }
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
    return std::make_unique<TRawConnection>(socket);
}

// Bytes of a frame whose body the caller gives, whatever our encoder would allow.
std::vector<uint8_t> RawFrame(DPWire::TFrameType type, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> bytes =
        FrameHeader(DPWire::ProtocolVersion, uint8_t(type), uint32_t(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

void PutDword(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(uint8_t(value >> (8 * i)));
}

class HostilePeers : public ::testing::Test {
protected:
    TDirectPlayOptions Options(uint16_t searchPort) {
        TDirectPlayOptions options;
        options.SearchPort = searchPort;
        options.LocalNetwork = false;
        options.KeepAliveMs = 200;
        options.Log = FLog.Sink();
        return options;
    }
    // A short time-out and a small receive queue, so that the cases run quickly.
    TDirectPlayOptions HostOptions() {
        TDirectPlayOptions options = Options(0);
        options.PlayerTimeoutMs = FPlayerTimeoutMs;
        // Keep-alives never close a connection here: only what is under test does.
        options.PeerTimeoutMs = 60000;
        options.ReceiveQueueLimit = 1024 * 1024;
        return options;
    }

    void StartHostAndGoodPeer() {
        FHost = Hosting(HostOptions(), "Tower", 0, 0);
        FSearchPort = FHost->SearchPort();
        ASSERT_NE(FSearchPort, 0);
        FHostPlayer = CreatePlayer(*FHost, "Host");
        FFound = SearchRaw(FSearchPort);
        ASSERT_NE(FFound.Port, 0);
        FGood = Joined(Options(FSearchPort));
        FGoodPlayer = CreatePlayer(*FGood, "Good");
        ASSERT_TRUE(WaitForPlayerCount(*FHost, 2));
    }

    // Joins and creates a player the way our own joiner would; its ID.
    DPID JoinRaw(TRawConnection& raw) {
        raw.Write(DPWire::Encode(DPWire::THello{GUID_NULL, FFound.Session.Instance}));
        raw.Write(DPWire::Encode(DPWire::TCreatePlayer{1, "Rogue", "", {}}));
        DPWire::TFrame frame;
        while (raw.ReadFrame(frame, WaitMs))
            if (const auto* reply = std::get_if<DPWire::TCreatePlayerReply>(&frame))
                return reply->Result == DP_OK ? reply->Player : 0;
        return 0;
    }

    void ExpectGoodPeerKeepsTalking() {
        ASSERT_EQ(SendText(*FGood, FGoodPlayer, FHostPlayer, "still there?"), DP_OK);
        TReceived m;
        while (NextMessage(*FHost, FHostPlayer, m) && m.From == DPID_SYSMSG) {
        }
        EXPECT_EQ(m.Text(), "still there?");
        ASSERT_EQ(SendText(*FHost, FHostPlayer, FGoodPlayer, "yes"), DP_OK);
        while (NextMessage(*FGood, FGoodPlayer, m) && m.From == DPID_SYSMSG) {
        }
        EXPECT_EQ(m.Text(), "yes");
    }

    uint32_t FPlayerTimeoutMs = 60000;
    TLogLines FLog;
    std::unique_ptr<IDirectPlay4A> FHost;
    std::unique_ptr<IDirectPlay4A> FGood;
    uint16_t FSearchPort = 0;
    DPWire::TSearchReply FFound;
    DPID FHostPlayer = 0;
    DPID FGoodPlayer = 0;
};

// Each case: what a joined rogue sends (up to `repeat` times, until the host
// closes on it), and what the host's log then says about it.
struct TRogueCase {
    const char* name;
    std::function<std::vector<uint8_t>(DPID rogue)> frame;
    int repeat;
    const char* logged;
};

class Rogues : public HostilePeers, public ::testing::WithParamInterface<TRogueCase> {};

TEST_P(Rogues, AreDroppedAloneWhileTheGoodPeerKeepsTalking) {
    const TRogueCase& c = GetParam();
    StartHostAndGoodPeer();
    std::unique_ptr<TRawConnection> rogue = ConnectRaw(FFound.Port);
    ASSERT_TRUE(rogue);
    const DPID roguePlayer = JoinRaw(*rogue);
    ASSERT_NE(roguePlayer, 0u);

    const std::vector<uint8_t> frame = c.frame(roguePlayer);
    for (int i = 0; i < c.repeat && rogue->Write(frame); ++i) {
    }
    EXPECT_TRUE(rogue->WaitUntilClosed(WaitMs));
    EXPECT_TRUE(FLog.Contains(c.logged)) << FLog.All();
    // However much of the rogue's traffic was thrown away, both games hear of
    // its player coming and going.
    TReceived m;
    ASSERT_TRUE(WaitForSystemMessage(*FGood, FGoodPlayer, DPSYS_DESTROYPLAYERORGROUP, m));
    EXPECT_EQ(m.Subject(), roguePlayer);
    bool created = false;
    bool destroyed = false;
    while (!destroyed && NextMessage(*FHost, FHostPlayer, m))
        if (m.From == DPID_SYSMSG && m.Subject() == roguePlayer) {
            created = created || m.Type() == DPSYS_CREATEPLAYERORGROUP;
            destroyed = m.Type() == DPSYS_DESTROYPLAYERORGROUP;
        }
    EXPECT_TRUE(created);
    EXPECT_TRUE(destroyed);
    ExpectGoodPeerKeepsTalking();
    EXPECT_EQ(Players(*FHost).size(), 2u);
    EXPECT_EQ(FLog.Count("dropped"), 1u) << FLog.All();
}

INSTANTIATE_TEST_SUITE_P(
    HostilePeers, Rogues,
    ::testing::Values(
        // 4 MB of player data against a queue of 1 MB the host's game does not read.
        TRogueCase{"player data flood",
                   [](DPID rogue) {
                       return DPWire::Encode(DPWire::TPlayerData{
                           rogue, std::vector<uint8_t>(DPWire::MaxPlayerDataSize, 0xEE)});
                   },
                   1000, "it sent more than the game has read"},
        TRogueCase{"message flood",
                   [](DPID rogue) {
                       return DPWire::Encode(DPWire::TMessage{rogue, DPID_ALLPLAYERS,
                                                              std::vector<uint8_t>(8000, 0xAB)});
                   },
                   500, "it sent more than the game has read"},
        TRogueCase{"empty message",
                   [](DPID rogue) {
                       std::vector<uint8_t> body;
                       PutDword(body, rogue);
                       PutDword(body, DPID_ALLPLAYERS);
                       PutDword(body, 0);
                       return RawFrame(DPWire::TFrameType::Message, body);
                   },
                   1, "holds an empty message"}),
    [](const ::testing::TestParamInfo<TRogueCase>& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(HostilePeers, ConnectionsWithoutPlayersCannotLockOutARealPlayer) {
    StartHostAndGoodPeer();
    // Half of them say hello, half say nothing; none creates a player.
    std::vector<std::unique_ptr<TRawConnection>> junk;
    for (int i = 0; i < 40; ++i) {
        junk.push_back(ConnectRaw(FFound.Port));
        ASSERT_TRUE(junk.back());
        if (i % 2 == 1)
            junk.back()->Write(DPWire::Encode(DPWire::THello{GUID_NULL, FFound.Session.Instance}));
    }
    // The oldest make room for the newest; the earliest are closed by now or soon.
    EXPECT_TRUE(junk.front()->WaitUntilClosed(WaitMs));
    EXPECT_TRUE(junk[1]->WaitUntilClosed(WaitMs));

    auto late = Joined(Options(FSearchPort));
    const DPID latePlayer = CreatePlayer(*late, "Late");
    EXPECT_NE(latePlayer, 0u);
    ASSERT_TRUE(WaitForPlayerCount(*FHost, 3));
    ASSERT_EQ(SendText(*late, latePlayer, FHostPlayer, "made it"), DP_OK);
    TReceived m;
    while (NextMessage(*FHost, FHostPlayer, m) && m.From == DPID_SYSMSG) {
    }
    EXPECT_EQ(m.Text(), "made it");
    EXPECT_TRUE(FLog.Contains("a newer connection needed its slot")) << FLog.All();
    ExpectGoodPeerKeepsTalking();
}

TEST_F(HostilePeers, ConnectionsWithoutPlayersAreDroppedAfterAFewSeconds) {
    FPlayerTimeoutMs = 2000;
    StartHostAndGoodPeer();
    std::unique_ptr<TRawConnection> idle = ConnectRaw(FFound.Port);
    std::unique_ptr<TRawConnection> greeter = ConnectRaw(FFound.Port);
    std::unique_ptr<TRawConnection> leaver = ConnectRaw(FFound.Port);
    ASSERT_TRUE(idle && greeter && leaver);
    greeter->Write(DPWire::Encode(DPWire::THello{GUID_NULL, FFound.Session.Instance}));
    // One that had a player and destroyed it holds a slot no longer than one that never had one.
    const DPID leaverPlayer = JoinRaw(*leaver);
    ASSERT_NE(leaverPlayer, 0u);
    leaver->Write(DPWire::Encode(DPWire::TDestroyPlayer{leaverPlayer}));

    for (TRawConnection* raw : {idle.get(), greeter.get(), leaver.get()})
        EXPECT_TRUE(raw->WaitUntilClosed(WaitMs));
    EXPECT_TRUE(FLog.Contains("did not join within 2000 ms")) << FLog.All();
    EXPECT_EQ(FLog.Count("created no player within 2000 ms"), 2u) << FLog.All();
    ExpectGoodPeerKeepsTalking();
    EXPECT_EQ(Players(*FHost).size(), 2u);
}

TEST_F(HostilePeers, AJunkDatagramFloodIsLoggedAtABoundedRate) {
    StartHostAndGoodPeer();
    const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in host = Loopback(FSearchPort);
    std::vector<uint8_t> junk = FrameHeader(DPWire::ProtocolVersion, 99, 0);
    const auto start = std::chrono::steady_clock::now();
    constexpr int Datagrams = 3000;
    for (int i = 0; i < Datagrams; ++i) {
        junk[7] = uint8_t(i);
        ::sendto(socket, junk.data(), junk.size(), 0, reinterpret_cast<const sockaddr*>(&host),
                 sizeof host);
    }
    ::close(socket);

    // A search after the flood is still answered, so the flood has been read.
    EXPECT_NE(SearchRaw(FSearchPort).Port, 0);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start)
            .count();
    const size_t logged = FLog.Count("ignored a datagram");
    EXPECT_GE(logged, 1u);
    EXPECT_LE(logged, size_t(5 * (seconds + 1))) << FLog.All();
    ExpectGoodPeerKeepsTalking();
}

} // namespace
