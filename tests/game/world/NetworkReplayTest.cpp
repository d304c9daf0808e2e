// Two scenarios joined through the in-process network: each replays the other
// machine's actions in sequence order and both end in the same state.
#include "engine/app/DPFrame.h"
#include "game/world/players/ThreadTermination.h"
#include "platform/net/DirectPlayInProcess.h"
#include "tests/platform/net/DirectPlayTestSupport.h"
#include "tests/support/TinyWorld.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace GameData;
using DPFrame::TDPFramework;
using TestSupport::TTestExecutor;
using TestSupport::TTinyWorld;
using TestSupport::TTinyWorldOptions;

namespace {

// One machine: its network, its scenario with the other machine's player remote.
struct TMachine {
    TMachine(int localIndex, std::unique_ptr<TDPFramework> network)
        : World(Options(localIndex)), Network(std::move(network)), Executor(*World.Scenario) {
        Network->CreatePlayer(localIndex == 0 ? "Red" : "Blue", LocalID);
        World.Scenario->Network = Network.get();
        World.Scenario->LocalPlayerID = LocalID;
        World.Scenario->Networked = 1;
        World.Player(0).Type = localIndex == 0 ? ptLocal : ptRemote;
        World.Player(1).Type = localIndex == 1 ? ptLocal : ptRemote;
        // Green, the computer's side, is played on the host and replayed on the guest.
        World.Player(2).Type = localIndex == 0 ? ptComputer : ptRemote;
    }
    ~TMachine() { World.Scenario->StopPlayerThreads(); }
    static TTinyWorldOptions Options(int) { return {}; }

    TScenario& Scenario() { return *World.Scenario; }

    TTinyWorld World;
    std::unique_ptr<TDPFramework> Network;
    Win32::DPID LocalID = 0;
    TTestExecutor Executor;
};

class NetworkReplay : public ::testing::Test {
protected:
    void SetUp() override {
        auto host = Framework();
        host->HostSession("Tiny", 0, 4, 0, 0, 0, 0);
        FRed = std::make_unique<TMachine>(0, std::move(host));
        auto guest = Framework();
        guest->EnumSessions(50);
        ASSERT_EQ(guest->Sessions().Count(), 1);
        guest->JoinSession(0);
        FBlue = std::make_unique<TMachine>(1, std::move(guest));
        for (TMachine* machine : {FRed.get(), FBlue.get()})
            for (const char* name : {"Tree", "Rock"})
                machine->World.AddDoodle(std::strcmp(name, "Tree") == 0 ? TTinyWorld::Tree
                                                                        : TTinyWorld::Rock,
                                         2, std::strcmp(name, "Tree") == 0 ? 2 : 6);
    }
    void TearDown() override {
        FBlue.reset();
        FRed.reset();
    }

    std::unique_ptr<TDPFramework> Framework() {
        auto framework =
            std::make_unique<TDPFramework>(DirectPlayTestSupport::InProcessOptions(FNetwork, FLog));
        framework->InitializeConnection(framework->CreateTCPIPAddress(""));
        return framework;
    }

    // Both machines' main loops, interleaved on the test's thread.
    bool RunBoth(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            const bool red = FRed->Executor.Step();
            const bool blue = FBlue->Executor.Step();
            if (!red && !blue)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    // Posts on the machine's local player and runs both until it has its result.
    void PostLocally(TMachine& machine, int playerIndex, const TPlayerAction& action) {
        TPlayer& player = machine.World.Player(playerIndex);
        player.PostAction(true, action);
        ASSERT_TRUE(RunBoth([&] { return player.GetActionResult() != arPending; }));
    }

    std::shared_ptr<Win32::TInProcessNetwork> FNetwork =
        std::make_shared<Win32::TInProcessNetwork>();
    DirectPlayTestSupport::TLogLines FLog;
    std::unique_ptr<TMachine> FRed;
    std::unique_ptr<TMachine> FBlue;
};

uint32_t SelectedID(const TPlayer& player) {
    return player.Selection ? player.Selection->ID : 0;
}

} // namespace

TEST_F(NetworkReplay, ActionsPostedOnOneMachineRunOnTheOtherInOrder) {
    TScenario& red = FRed->Scenario();
    TScenario& blue = FBlue->Scenario();
    const uint32_t tree = red.Objects[0]->ID;
    const uint32_t rock = red.Objects[1]->ID;
    ASSERT_EQ(static_cast<TDoodle*>(blue.FindObjectByID(tree))->Prototype->ID, TTinyWorld::Tree);

    red.BeginTurnOf(0);
    blue.BeginTurnOf(0);
    PostLocally(*FRed, 0, MakeAction(acSelectObject, rock));
    PostLocally(*FRed, 0, MakeAction(acSelectObject, tree));
    PostLocally(*FRed, 0, MakeAction(acEndTurn));
    ASSERT_TRUE(RunBoth([&] { return blue.CurrentPlayerIndex == 1; }));

    PostLocally(*FBlue, 1, MakeAction(acSelectObject, rock));
    // Refused alike on both machines: the sender learns it from the result.
    PostLocally(*FBlue, 1, MakeAction(acSelectObject, 77777));
    EXPECT_EQ(FBlue->World.Player(1).GetActionResult(), arCannotGoThere);
    PostLocally(*FBlue, 1, MakeAction(acEndTurn));
    ASSERT_TRUE(RunBoth([&] { return red.Turn == 1 && blue.Turn == 1; }));

    for (TScenario* s : {&red, &blue}) {
        // Six posted, and the end of green's turn that its placeholder takes on the host.
        EXPECT_EQ(s->ActionCounter.load(), 7u);
        EXPECT_EQ(s->CurrentPlayerIndex, 0);
        EXPECT_EQ(s->Turn, 1);
        EXPECT_EQ(SelectedID(*s->Players[0]), tree);
        EXPECT_EQ(s->Players[1]->SavedSelectionID, rock);
        EXPECT_EQ(s->FindObjectByID(tree)->Selected, 1);
        EXPECT_EQ(s->FindObjectByID(rock)->Selected, 0);
        EXPECT_FALSE(s->ConnectionLost);
    }
    std::vector<uint32_t> redCodes;
    std::vector<uint32_t> blueCodes;
    for (const TPlayerAction& a : FRed->Executor.Taken)
        redCodes.push_back(a.Code * 100000 + a.P[0]);
    for (const TPlayerAction& a : FBlue->Executor.Taken)
        blueCodes.push_back(a.Code * 100000 + a.P[0]);
    EXPECT_EQ(redCodes, blueCodes);
}

TEST_F(NetworkReplay, AMessageNumberedBehindTheCounterRaisesConnectionLost) {
    TScenario& blue = FBlue->Scenario();
    blue.BeginTurnOf(0); // red is remote here: its worker replays
    blue.ActionCounter = 5;
    TActionMessage message;
    message.Size = sizeof(message);
    message.Type = ActionMessageType;
    message.Sequence = 2;
    message.Action = MakeAction(acSelectObject, 0);
    FRed->Network->Send(FRed->LocalID, Win32::DPID_ALLPLAYERS, Win32::DPSEND_GUARANTEED, &message,
                        sizeof(message));
    ASSERT_TRUE(RunBoth([&] { return blue.ConnectionLost.load() != 0; }));
    ASSERT_TRUE(RunBoth([&] { return !FBlue->World.Player(0).IsThreadRunning(); }));
    EXPECT_EQ(blue.ActionCounter.load(), 5u);
    EXPECT_EQ(FBlue->World.Player(0).TakeAction().Code, uint32_t(acNone));
}

TEST_F(NetworkReplay, MalformedMessagesAndALostPeerEndTheReplay) {
    TScenario& blue = FBlue->Scenario();
    blue.BeginTurnOf(0);
    const uint8_t shortMessage[10] = {};
    FRed->Network->Send(FRed->LocalID, Win32::DPID_ALLPLAYERS, Win32::DPSEND_GUARANTEED,
                        shortMessage, sizeof(shortMessage));
    ASSERT_TRUE(RunBoth([&] { return blue.ConnectionLost.load() != 0; }));
    ASSERT_TRUE(RunBoth([&] { return !FBlue->World.Player(0).IsThreadRunning(); }));

    // A peer that leaves ends the replay the same way.
    blue.ConnectionLost = 0;
    FBlue->World.Player(0).EndTurn();
    blue.BeginTurnOf(0);
    FRed->Network->DestroyPlayer(FRed->LocalID);
    ASSERT_TRUE(RunBoth([&] { return blue.ConnectionLost.load() != 0; }));
    ASSERT_TRUE(RunBoth([&] { return !FBlue->World.Player(0).IsThreadRunning(); }));
}
