// A remote player's turn: the peer's actions arrive as numbered messages and are
// posted here in the same order, each only after every earlier action, until the
// peer's end of turn.
#include "engine/app/DPFrame.h"
#include "game/world/players/Player.h"
#include "game/world/players/ThreadTermination.h"
#include "game/world/scenario/Scenario.h"
#include "platform/win32/Clock.h"

#include <cstring>

namespace GameData {

namespace {

constexpr uint32_t PollMs = 10;

bool EndsConnection(uint32_t systemMessage) {
    return systemMessage == Win32::DPSYS_DESTROYPLAYERORGROUP ||
           systemMessage == Win32::DPSYS_SESSIONLOST || systemMessage == Win32::DPSYS_HOST;
}

} // namespace

void TPlayer::ReplayRemoteTurn() {
    DPFrame::TDPFramework* network = Scenario->Network;
    if (!network)
        return;
    for (;;) {
        CheckStop();
        Win32::DPID from = 0;
        std::vector<uint8_t> message;
        if (!network->Receive(from, Scenario->LocalPlayerID, Win32::DPRECEIVE_TOPLAYER, message)) {
            CheckStop();
            Win32::Sleep(PollMs);
            continue;
        }
        if (from == Win32::DPID_SYSMSG) {
            uint32_t type = 0;
            if (message.size() >= sizeof(type))
                std::memcpy(&type, message.data(), sizeof(type));
            if (EndsConnection(type)) {
                Scenario->ConnectionLost = 1;
                throw EThreadTermination();
            }
            continue;
        }
        if (!ReplayMessage(message))
            return;
    }
}

bool TPlayer::ReplayMessage(const std::vector<uint8_t>& bytes) {
    TActionMessage message;
    if (bytes.size() != sizeof(message)) {
        // A peer that sends something else cannot be kept in step.
        Scenario->ConnectionLost = 1;
        throw EThreadTermination();
    }
    std::memcpy(&message, bytes.data(), sizeof(message));
    if (message.Size != sizeof(message) || message.Type != ActionMessageType) {
        Scenario->ConnectionLost = 1;
        throw EThreadTermination();
    }
    const uint32_t code = message.Action.Code;
    // Fight commands and conversation answers are given while an action still runs.
    if (code != acFightCommands && code != acConversationChoice)
        WaitForAction();
    for (;;) {
        const uint32_t counter = Scenario->ActionCounter.load();
        if (counter == message.Sequence)
            break;
        // This machine has numbered past the message: the games are no longer in step,
        // and waiting would never end.
        if (counter > message.Sequence) {
            Scenario->ConnectionLost = 1;
            throw EThreadTermination();
        }
        Win32::Sleep(PollMs);
        WaitUntilActionTaken();
    }
    Scenario->RemoteActionFlag = 1;
    PostAction(false, message.Action);
    WaitUntilActionTaken();
    return code != acEndTurn;
}

} // namespace GameData
