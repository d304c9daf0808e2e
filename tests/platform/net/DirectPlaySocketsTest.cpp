// DirectPlay over TCP/IP on 127.0.0.1, both peers in this process. Hosts pick
// free ports, so parallel test runs do not collide.
#include "platform/net/DirectPlay.h"
#include "tests/platform/net/DirectPlayTestSupport.h"

#include <gtest/gtest.h>

using namespace Win32;
using namespace DirectPlayTestSupport;

namespace {

TDirectPlayOptions LoopbackOptions(TLogLines& log, uint16_t searchPort) {
    TDirectPlayOptions options;
    options.SearchPort = searchPort;
    options.LocalNetwork = false;
    options.Log = log.Sink();
    return options;
}

} // namespace

TEST(DirectPlaySockets, AJoinerFindsTheHostOnThisMachineAndTheyTalk) {
    TLogLines log;
    auto host = Hosting(LoopbackOptions(log, 0));
    const uint16_t port = host->SearchPort();
    ASSERT_NE(port, 0);
    const DPID hostPlayer = CreatePlayer(*host, "Host");

    auto joiner = Joined(LoopbackOptions(log, port));
    const DPID joinerPlayer = CreatePlayer(*joiner, "Guest");
    ASSERT_TRUE(WaitForPlayerCount(*host, 2));
    EXPECT_EQ(Players(*joiner).size(), 2u);

    ASSERT_EQ(SendText(*joiner, joinerPlayer, DPID_ALLPLAYERS, "ping"), DP_OK);
    TReceived m;
    while (NextMessage(*host, hostPlayer, m) && m.From == DPID_SYSMSG) {
    }
    EXPECT_EQ(m.Text(), "ping");
    ASSERT_EQ(SendText(*host, hostPlayer, joinerPlayer, "pong"), DP_OK);
    ASSERT_TRUE(NextMessage(*joiner, joinerPlayer, m));
    EXPECT_EQ(m.Text(), "pong");

    ASSERT_EQ(host->Close(), DP_OK);
    EXPECT_TRUE(WaitForSystemMessage(*joiner, joinerPlayer, DPSYS_SESSIONLOST, m)) << log.All();
}

TEST(DirectPlaySockets, TheSearchPortServesOneHostAtATime) {
    TLogLines log;
    auto first = Hosting(LoopbackOptions(log, 0));
    const uint16_t port = first->SearchPort();
    auto second = Connected(LoopbackOptions(log, port));
    EXPECT_EQ(second->Open(Description("Second", 0, 8), DPOPEN_CREATE), DPERR_CANNOTCREATESERVER);
    EXPECT_TRUE(log.Contains("cannot answer searches")) << log.All();

    // Once the first host has gone, nobody answers on that port any more.
    ASSERT_EQ(first->Close(), DP_OK);
    auto searcher = Connected(LoopbackOptions(log, port));
    EXPECT_TRUE(Search(*searcher, DPENUMSESSIONS_ALL, 100).empty());
}
