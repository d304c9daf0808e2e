// The steps both sides of the two-process network test take, shared by the
// test and its helper program: connect on 127.0.0.1, host or join, list the
// players, and trade lobby data and a thousand action messages each way.
#pragma once

#include "engine/app/DPFrame.h"

#include <string>
#include <vector>

namespace PeerExchange {

constexpr const char* SessionName = "Varnholt exchange";
constexpr int MessageCount = 1000;
// Generous: a sanitized build on a loaded machine may be slow.
constexpr int WaitMs = 60000;

// TCP/IP on this machine only, searching the given UDP port (0: a host picks one).
Win32::TDirectPlayOptions LoopbackOptions(uint16_t searchPort);
void Connect(DPFrame::TDPFramework& framework);
void Host(DPFrame::TDPFramework& framework);
// Searches until the session appears, then joins it; false when it never did.
bool Join(DPFrame::TDPFramework& framework);
bool WaitForPlayers(DPFrame::TDPFramework& framework, int count);
// "id:name,id:name", ordered by ID.
std::string PlayerList(DPFrame::TDPFramework& framework);
// The player other than local.
Win32::DPID OtherPlayer(DPFrame::TDPFramework& framework, Win32::DPID local);
// The lobby's 8-byte player data: side, then the ready flag.
std::vector<uint8_t> LobbyData(int side);
// Sets the local lobby data, sends MessageCount 68-byte action messages to all
// and receives as many from other, checking that other's data change came
// first, with its data, and that the messages are complete and in order.
// Returns "" or what went wrong.
std::string Exchange(DPFrame::TDPFramework& framework, Win32::DPID local, Win32::DPID other,
                     int localSide, int otherSide);
// Skips messages until a system message of this type; false when none came in time.
bool WaitForSystemMessage(DPFrame::TDPFramework& framework, Win32::DPID local, uint32_t type,
                          int timeoutMs);

} // namespace PeerExchange
