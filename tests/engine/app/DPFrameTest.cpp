// The network framework on the in-process network, used as the lobby and the
// game use it.
#include "engine/app/DPFrame.h"

#include "engine/core/DXErrors.h"
#include "platform/net/DirectPlayInProcess.h"
#include "platform/net/DirectPlayLobby.h"
#include "tests/platform/net/DirectPlayTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

using namespace DPFrame;
using namespace Win32;
using Base::EDirectPlayError;
using DirectPlayTestSupport::InProcessOptions;

namespace {

constexpr int WaitMs = DirectPlayTestSupport::WaitMs;

class DPFramework : public ::testing::Test {
protected:
    TDirectPlayOptions Options() { return InProcessOptions(FNetwork, FLog); }
    std::unique_ptr<TDPFramework> Connected() {
        auto framework = std::make_unique<TDPFramework>(Options());
        framework->InitializeConnection(framework->CreateTCPIPAddress(""));
        return framework;
    }
    std::unique_ptr<TDPFramework> Hosting(const char* name = "Tower") {
        auto framework = Connected();
        framework->HostSession(name, 0x2044, 8, 100, 7, 2, 0);
        return framework;
    }
    std::unique_ptr<TDPFramework> Joined() {
        auto framework = Connected();
        framework->EnumSessions(50);
        EXPECT_EQ(framework->Sessions().Count(), 1);
        framework->JoinSession(0);
        return framework;
    }

    // A host and a joiner, each with its player.
    void HostAndJoin() {
        FHost = Hosting();
        FHost->CreatePlayer("Host (box)", FHostPlayer);
        FJoiner = Joined();
        FJoiner->CreatePlayer("Guest (other box)", FJoinerPlayer);
    }

    std::shared_ptr<TInProcessNetwork> FNetwork = std::make_shared<TInProcessNetwork>();
    DirectPlayTestSupport::TLogLines FLog;
    std::unique_ptr<TDPFramework> FHost;
    std::unique_ptr<TDPFramework> FJoiner;
    DPID FHostPlayer = 0;
    DPID FJoinerPlayer = 0;
};

// The message a lobby or game worker takes next, waiting for it.
bool NextMessage(TDPFramework& framework, DPID local, DPID& from, std::vector<uint8_t>& message) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (framework.Receive(from, local, DPRECEIVE_TOPLAYER, message))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

uint32_t SystemMessageType(const std::vector<uint8_t>& message) {
    uint32_t type = 0;
    std::memcpy(&type, message.data(), std::min<size_t>(4, message.size()));
    return type;
}

bool WaitForSystemMessage(TDPFramework& framework, DPID local, uint32_t type) {
    DPID from = 0;
    std::vector<uint8_t> message;
    while (NextMessage(framework, local, from, message))
        if (from == DPID_SYSMSG && SystemMessageType(message) == type)
            return true;
    return false;
}

std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const EDirectPlayError& e) {
        return e.Message;
    }
    return "no error";
}

} // namespace

TEST_F(DPFramework, ListsOnlyTheConnectionsThatInitialise) {
    TDPFramework framework(Options());
    ASSERT_EQ(framework.Connections().Count(), 1);
    const TConnectionInfo& tcp = *framework.Connections()[0];
    EXPECT_EQ(tcp.ServiceProvider, DPSPGUID_TCPIP);
    EXPECT_EQ(tcp.ShortName, "Internet TCP/IP Connection For DirectPlay");
    EXPECT_EQ(tcp.LongName, "");
    EXPECT_EQ(tcp.NameSize, sizeof(DPNAME));
    EXPECT_EQ(tcp.Flags, DPCONNECTION_DIRECTPLAY);
    TDPAddress address;
    ASSERT_TRUE(
        ParseCompoundAddress(tcp.Connection.data(), uint32_t(tcp.Connection.size()), address));
    EXPECT_EQ(address.ServiceProvider, DPSPGUID_TCPIP);

    EXPECT_EQ(ErrorOf([&] { framework.InitializeConnection(framework.CreateIPXAddress()); }),
              "DPERR_UNAVAILABLE");
    framework.InitializeConnection(tcp.Connection);
}

TEST_F(DPFramework, TcpIpAddressWithAnEmptyHostHoldsTheTerminatingZeroAlone) {
    TDPFramework framework(Options());
    const std::vector<uint8_t> address = framework.CreateTCPIPAddress("");
    ASSERT_EQ(address.size(), 36u + 20u + 1u);
    GUID type;
    uint32_t size;
    std::memcpy(&type, address.data() + 36, sizeof type);
    std::memcpy(&size, address.data() + 36 + 16, sizeof size);
    EXPECT_EQ(type, DPAID_INet);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(address.back(), 0);
}

TEST_F(DPFramework, FindsHostsAndJoinsSessionsByExactName) {
    auto host = Hosting("Tower");
    EXPECT_TRUE(host->Host());
    auto joiner = Connected();
    joiner->EnumSessions(50);
    ASSERT_EQ(joiner->Sessions().Count(), 1);
    const DPSESSIONDESC2& found = joiner->Sessions()[0]->Desc();
    EXPECT_STREQ(found.lpszSessionNameA, "Tower");
    EXPECT_EQ(found.lpszPasswordA, nullptr);
    EXPECT_EQ(found.dwUser1, 100u);

    DPSESSIONDESC2 wanted{};
    wanted.lpszSessionNameA = "Tower";
    EXPECT_EQ(joiner->FindSession(wanted), 0);
    wanted.lpszSessionNameA = "tower";
    EXPECT_EQ(joiner->FindSession(wanted), -1);
    wanted.lpszSessionNameA = nullptr;
    EXPECT_EQ(joiner->FindSession(wanted), -1);

    EXPECT_EQ(ErrorOf([&] { joiner->JoinSession(1); }), "DPERR_INVALIDPARAMS");
    joiner->JoinSession(0);
    EXPECT_FALSE(joiner->Host());
    // A second search starts from an empty list.
    joiner->EnumSessions(50);
    EXPECT_EQ(joiner->Sessions().Count(), 1);
}

TEST_F(DPFramework, CarriesTheLobbyDataAndClosesTheSessionAtTheStart) {
    HostAndJoin();

    DPID from = 99;
    std::vector<uint8_t> untouched = {7};
    EXPECT_FALSE(FJoiner->Receive(from, FJoinerPlayer, DPRECEIVE_TOPLAYER, untouched));
    EXPECT_EQ(untouched, std::vector<uint8_t>{7});
    EXPECT_EQ(from, 99u);

    FJoiner->EnumPlayers(0);
    ASSERT_EQ(FJoiner->Players().Count(), 2);
    EXPECT_EQ(FJoiner->Players()[0]->ID, FHostPlayer);
    EXPECT_EQ(FJoiner->Players()[0]->ShortName, "Host (box)");
    EXPECT_EQ(FJoiner->Players()[0]->LongName, "");
    EXPECT_EQ(FJoiner->Players()[1]->Flags, DPENUMPLAYERS_LOCAL);
    FJoiner->ClearPlayers();
    EXPECT_EQ(FJoiner->Players().Count(), 0);

    const std::vector<uint8_t> lobby = {2, 0, 0, 0, 1, 0, 0, 0};
    FJoiner->SetPlayerData(FJoinerPlayer, lobby.data(), 8, DPSET_GUARANTEED);
    ASSERT_TRUE(WaitForSystemMessage(*FHost, FHostPlayer, DPSYS_SETPLAYERORGROUPDATA));
    EXPECT_EQ(FHost->GetPlayerData(FJoinerPlayer, DPGET_REMOTE), lobby);
    EXPECT_TRUE(FHost->GetPlayerData(FHostPlayer, DPGET_REMOTE).empty());

    DPSESSIONDESC2 desc;
    FHost->GetSessionDesc(desc);
    EXPECT_STREQ(desc.lpszSessionNameA, "Tower");
    desc.dwFlags |= DPSESSION_NEWPLAYERSDISABLED | DPSESSION_JOINDISABLED;
    FHost->SetSessionDesc(desc);
    ASSERT_TRUE(WaitForSystemMessage(*FJoiner, FJoinerPlayer, DPSYS_SETSESSIONDESC));
    DPSESSIONDESC2 seen;
    FJoiner->GetSessionDesc(seen);
    EXPECT_EQ(seen.dwFlags & 0x21u, 0x21u);
    auto late = Connected();
    late->EnumSessions(50);
    EXPECT_EQ(late->Sessions().Count(), 0);
}

TEST_F(DPFramework, FailedCallsRaiseTheDirectPlayErrorName) {
    HostAndJoin();
    const std::vector<uint8_t> action(68, 1);

    EXPECT_EQ(ErrorOf([&] { FJoiner->Send(FHostPlayer, 0, DPSEND_GUARANTEED, action.data(), 68); }),
              "DPERR_INVALIDPLAYER");
    DPSESSIONDESC2 desc{};
    desc.dwSize = sizeof desc;
    EXPECT_EQ(ErrorOf([&] { FJoiner->SetSessionDesc(desc); }), "DPERR_ACCESSDENIED");
    EXPECT_EQ(ErrorOf([&] { FJoiner->GetPlayerData(12345, DPGET_REMOTE); }), "DPERR_INVALIDPLAYER");

    FHost->Close();
    ASSERT_TRUE(WaitForSystemMessage(*FJoiner, FJoinerPlayer, DPSYS_SESSIONLOST));
    EXPECT_EQ(
        ErrorOf([&] { FJoiner->Send(FJoinerPlayer, 0, DPSEND_GUARANTEED, action.data(), 68); }),
        "DPERR_SESSIONLOST");
    FJoiner->DestroyPlayer(FJoinerPlayer); // unchecked, whatever became of the session
    FJoiner->DestroyPlayer(FJoinerPlayer);
    FJoiner->Close();
}

TEST(DPFrameSessionRecord, OwnsItsStrings) {
    std::string name = "Tower";
    DPSESSIONDESC2 desc{};
    desc.lpszSessionNameA = name.c_str();
    desc.dwUser2 = 7;
    auto record = std::make_unique<TSessionRecord>(desc);
    name = "Changed";
    EXPECT_STREQ(record->Desc().lpszSessionNameA, "Tower");
    EXPECT_EQ(record->Desc().lpszPasswordA, nullptr);
    EXPECT_EQ(record->Desc().dwUser2, 7u);

    TSessionRecord copy = *record;
    record.reset();
    EXPECT_STREQ(copy.Desc().lpszSessionNameA, "Tower");
    desc.lpszSessionNameA = nullptr;
    desc.lpszPasswordA = "secret";
    copy = TSessionRecord(desc);
    EXPECT_EQ(copy.Desc().lpszSessionNameA, nullptr);
    EXPECT_STREQ(copy.Desc().lpszPasswordA, "secret");
}
