#include "tests/engine/app/PeerExchange.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace PeerExchange {

using namespace Win32;
using DPFrame::TDPFramework;

namespace {

using TClock = std::chrono::steady_clock;

TClock::time_point Deadline(int timeoutMs) {
    return TClock::now() + std::chrono::milliseconds(timeoutMs);
}

uint32_t Dword(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    if (bytes.size() >= offset + 4)
        std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// A 68-byte action message: size, type 1, sequence, then a 56-byte action.
std::vector<uint8_t> ActionMessage(uint32_t sequence) {
    std::vector<uint8_t> bytes(68);
    const uint32_t header[5] = {68, 1, sequence, 1 + sequence % 18, sequence * 7};
    std::memcpy(bytes.data(), header, sizeof header);
    return bytes;
}

} // namespace

TDirectPlayOptions LoopbackOptions(uint16_t searchPort) {
    TDirectPlayOptions options;
    options.SearchPort = searchPort;
    options.LocalNetwork = false;
    options.AnswerTimeoutMs = WaitMs;
    return options;
}

void Connect(TDPFramework& framework) {
    framework.InitializeConnection(framework.CreateTCPIPAddress(""));
}

void Host(TDPFramework& framework) {
    framework.HostSession(SessionName, 0x2044, 8, 100, 7, 2, 0);
}

bool Join(TDPFramework& framework) {
    const auto deadline = Deadline(WaitMs);
    while (TClock::now() < deadline) {
        framework.EnumSessions(100);
        const int index = framework.Sessions().Count() > 0 ? 0 : -1;
        if (index >= 0 &&
            std::strcmp(framework.Sessions()[index]->Desc().lpszSessionNameA, SessionName) == 0) {
            framework.JoinSession(index);
            return true;
        }
    }
    return false;
}

bool WaitForPlayers(TDPFramework& framework, int count) {
    const auto deadline = Deadline(WaitMs);
    while (TClock::now() < deadline) {
        framework.EnumPlayers(0);
        if (framework.Players().Count() == count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::string PlayerList(TDPFramework& framework) {
    framework.EnumPlayers(0);
    std::vector<std::pair<DPID, std::string>> players;
    for (const DPFrame::TPlayerInfo* player : framework.Players())
        players.emplace_back(player->ID, player->ShortName);
    std::sort(players.begin(), players.end());
    std::string list;
    for (const auto& [id, name] : players) {
        if (!list.empty())
            list += ',';
        list += std::to_string(id);
        list += ':';
        list += name;
    }
    return list;
}

DPID OtherPlayer(TDPFramework& framework, DPID local) {
    framework.EnumPlayers(0);
    for (const DPFrame::TPlayerInfo* player : framework.Players())
        if (player->ID != local)
            return player->ID;
    return 0;
}

std::vector<uint8_t> LobbyData(int side) {
    return {uint8_t(side), 0, 0, 0, 1, 0, 0, 0};
}

std::string Exchange(TDPFramework& framework, DPID local, DPID other, int localSide,
                     int otherSide) {
    const std::vector<uint8_t> data = LobbyData(localSide);
    framework.SetPlayerData(local, data.data(), 8, DPSET_GUARANTEED);
    for (int i = 0; i < MessageCount; ++i) {
        const std::vector<uint8_t> message = ActionMessage(uint32_t(i));
        framework.Send(local, DPID_ALLPLAYERS, DPSEND_GUARANTEED, message.data(), 68);
    }
    bool dataSeen = false;
    int received = 0;
    const auto deadline = Deadline(WaitMs);
    while (received < MessageCount) {
        DPID from = 0;
        std::vector<uint8_t> message;
        if (!framework.Receive(from, local, DPRECEIVE_TOPLAYER, message)) {
            if (TClock::now() > deadline)
                return "only " + std::to_string(received) + " messages came";
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        if (from == DPID_SYSMSG) {
            if (Dword(message, 0) == DPSYS_SETPLAYERORGROUPDATA && Dword(message, 8) == other) {
                if (framework.GetPlayerData(other, DPGET_REMOTE) != LobbyData(otherSide))
                    return "the other player's data differs";
                dataSeen = true;
            }
            continue;
        }
        if (from != other)
            return "a message from player " + std::to_string(from);
        if (!dataSeen)
            return "a message came before the data change sent ahead of it";
        if (message != ActionMessage(uint32_t(received)))
            return "message " + std::to_string(received) + " is wrong or out of order";
        ++received;
    }
    return "";
}

bool WaitForSystemMessage(TDPFramework& framework, DPID local, uint32_t type, int timeoutMs) {
    const auto deadline = Deadline(timeoutMs);
    while (TClock::now() < deadline) {
        DPID from = 0;
        std::vector<uint8_t> message;
        if (!framework.Receive(from, local, DPRECEIVE_TOPLAYER, message))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        else if (from == DPID_SYSMSG && Dword(message, 0) == type)
            return true;
    }
    return false;
}

} // namespace PeerExchange
