// Two processes on 127.0.0.1: this test and the dpframe_peer helper find each
// other by search, list the same players, trade lobby data and a thousand
// action messages each way, and notice when the other process is killed.
#include "tests/engine/app/PeerExchange.h"
#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

using namespace PeerExchange;
using DPFrame::TDPFramework;
using TestSupport::TChildProcess;
using Win32::DPID;

namespace {

void ExpectExchange(TDPFramework& framework, DPID local, TChildProcess& helper, int helperSide) {
    ASSERT_TRUE(WaitForPlayers(framework, 2));
    std::string line;
    ASSERT_TRUE(helper.ReadLine(line, WaitMs));
    EXPECT_EQ(line, "players " + PlayerList(framework));
    EXPECT_EQ(Exchange(framework, local, OtherPlayer(framework, local), 1, helperSide), "");
    ASSERT_TRUE(helper.ReadLine(line, WaitMs));
    EXPECT_EQ(line, "exchanged ok");
}

} // namespace

TEST(DPFrameProcesses, AJoinerInAnotherProcessTradesMessagesAndItsEndIsNoticed) {
    TDPFramework framework(LoopbackOptions(0));
    Connect(framework);
    Host(framework);
    DPID local = 0;
    framework.CreatePlayer("Test", local);
    TChildProcess helper(VRN_DPFRAME_PEER,
                         {"join", std::to_string(framework.DirectPlay().SearchPort())});
    ExpectExchange(framework, local, helper, 3);
    if (HasFatalFailure())
        return;
    helper.Kill();
    EXPECT_TRUE(WaitForSystemMessage(framework, local, Win32::DPSYS_DESTROYPLAYERORGROUP, WaitMs));
}

TEST(DPFrameProcesses, KillingTheHostEndsTheSessionInTheOtherProcess) {
    TChildProcess helper(VRN_DPFRAME_PEER, {"host"});
    std::string line;
    ASSERT_TRUE(helper.ReadLine(line, WaitMs));
    ASSERT_EQ(line.rfind("port ", 0), 0u) << line;
    TDPFramework framework(LoopbackOptions(uint16_t(std::stoi(line.substr(5)))));
    Connect(framework);
    ASSERT_TRUE(Join(framework));
    DPID local = 0;
    framework.CreatePlayer("Test", local);
    ExpectExchange(framework, local, helper, 2);
    if (HasFatalFailure())
        return;
    helper.Kill();
    EXPECT_TRUE(WaitForSystemMessage(framework, local, Win32::DPSYS_SESSIONLOST, WaitMs));
}
