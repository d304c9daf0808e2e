// The order of turns and the hand-over of each player's actions to the executor.
#include "game/world/players/ActionValidation.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

void TScenario::BeginTurnOf(int index) {
    TPlayer* player = PlayerAt(index);
    if (!player)
        throw ClassLib::Exception(ClassLib::Format("No player at index %d.", index));
    CurrentPlayerIndex = static_cast<int16_t>(index);
    CurrentPlayer = player;
    player->BeginTurn();
}

void TScenario::PassTurn() {
    if (!CurrentPlayer)
        return;
    CurrentPlayer->EndTurn();
    // No worker runs now: the planners may free the records of units that left.
    for (TPlayer* player : Players)
        player->AI->FreeRemovedUnits();
    int next = CurrentPlayerIndex + 1;
    if (next >= Players.Count()) {
        next = 0;
        AdvanceTurn();
    }
    BeginTurnOf(next);
}

bool TScenario::IsBusy() const {
    return (CurrentPlayer && CurrentPlayer->GetActionResult() == arPending) || IsBusyFlagSet();
}

TPlayerAction TScenario::TakeCurrentAction() {
    if (!CurrentPlayer)
        return {};
    const TPlayerAction action = CurrentPlayer->TakeAction();
    if (action.Code == acNone)
        return action;
    const int32_t refusal = ValidateAction(*this, action);
    if (refusal != 0) {
        // A side's fight commands answer nobody: the acting player's result belongs to
        // the attack, whose poster may be waiting for it while the fight runs.
        if (action.Code != acFightCommands)
            CurrentPlayer->SetActionResult(refusal);
        return {};
    }
    return action;
}

} // namespace GameData
