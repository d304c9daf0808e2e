// The pending-action slot and the waits of the worker threads. Workers poll every
// 10 ms and check for a stop before each poll.
#include "engine/app/DPFrame.h"
#include "game/world/players/Player.h"
#include "game/world/players/ThreadTermination.h"
#include "game/world/scenario/Scenario.h"
#include "platform/win32/Clock.h"

namespace GameData {

namespace {

constexpr uint32_t PollMs = 10;

} // namespace

void TPlayer::CheckStop() const {
    if (StopRequested())
        throw EThreadTermination();
}

bool TPlayer::RefuseEmptyAction(const TPlayerAction& action) {
    if (action.Code != acNone)
        return false;
    // An empty slot reads as "nothing pending": posted, it would leave the poster
    // waiting for an answer that never comes.
    const std::lock_guard<std::mutex> guard(FLock);
    FActionResult = arCannotGoThere;
    return true;
}

void TPlayer::PostAction(bool send, const TPlayerAction& action) {
    if (RefuseEmptyAction(action))
        return;
    for (;;) {
        {
            std::unique_lock<std::mutex> guard(FLock);
            if (FPendingAction.Code == acNone) {
                if (send && Scenario->IsNetworked()) {
                    TActionMessage message;
                    message.Size = sizeof(TActionMessage);
                    message.Type = ActionMessageType;
                    message.Sequence = Scenario->ActionCounter.load();
                    message.Action = action;
                    // Sent under the lock, so messages leave in counter order.
                    Scenario->Network->Send(Scenario->LocalPlayerID, Win32::DPID_ALLPLAYERS,
                                            Win32::DPSEND_GUARANTEED, &message, sizeof(message));
                }
                Scenario->TakeActionNumber();
                FPendingAction = action;
                FActionResult = arPending;
                FEndTurnPosted = FEndTurnPosted || action.Code == acEndTurn;
                return;
            }
        }
        // Only the main thread empties the slot; it cannot wait for itself.
        if (!OnWorkerThread())
            throw ClassLib::Exception("An action is still pending.");
        CheckStop();
        Win32::Sleep(PollMs);
    }
}

bool TPlayer::TryPostLocalAction(const TPlayerAction& action) {
    if (RefuseEmptyAction(action))
        return true;
    const std::lock_guard<std::mutex> guard(FLock);
    if (FPendingAction.Code != acNone)
        return false;
    Scenario->TakeActionNumber();
    FPendingAction = action;
    FActionResult = arPending;
    FEndTurnPosted = FEndTurnPosted || action.Code == acEndTurn;
    return true;
}

bool TPlayer::HasPendingAction() const {
    const std::lock_guard<std::mutex> guard(FLock);
    return FPendingAction.Code != acNone;
}

TPlayerAction TPlayer::TakeAction() {
    const std::lock_guard<std::mutex> guard(FLock);
    const TPlayerAction action = FPendingAction;
    FPendingAction = TPlayerAction();
    return action;
}

void TPlayer::SetActionResult(int32_t result) {
    const std::lock_guard<std::mutex> guard(FLock);
    FActionResult = result;
}

int32_t TPlayer::GetActionResult() const {
    const std::lock_guard<std::mutex> guard(FLock);
    return FActionResult;
}

int32_t TPlayer::WaitForAction() {
    int32_t result = arPending;
    for (;;) {
        CheckStop();
        result = GetActionResult();
        if (result != arPending)
            break;
        Win32::Sleep(PollMs);
    }
    while (Scenario->IsBusyFlagSet()) {
        CheckStop();
        Win32::Sleep(PollMs);
    }
    return result;
}

void TPlayer::WaitUntilActionTaken() {
    for (;;) {
        CheckStop();
        bool taken = false;
        {
            const std::lock_guard<std::mutex> guard(FLock);
            taken = FPendingAction.Code == acNone;
        }
        Win32::Sleep(PollMs);
        if (taken)
            return;
    }
}

} // namespace GameData
