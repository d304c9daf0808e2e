// The one executor of every player action, local, computer or remote: at most one
// action per update tick, from the player on turn, checked against the shared state
// first (a refusal changes nothing, on every machine alike).
#include "game/world/cities/City.h"
#include "game/world/cities/Location.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/Game.h"
#include "ui/game/MapWindow.h"
#include "ui/game/ScreenPlaceholders.h"

namespace Main {

using namespace GameData;

namespace {

uint8_t ByteOf(uint32_t value, int index) {
    return uint8_t(value >> (8 * index));
}

} // namespace

void TGame::ExecuteAction() {
    if (!Scenario)
        return;
    if (Scenario->ConnectionLost) {
        // A running fight holds the groups: it ends first, and the game closes at the
        // next tick, once the executor that started the fight has returned.
        if (FightDialog && FightDialog->Fighting()) {
            FightDialog->Abandon();
            return;
        }
        Deactivate();
        CloseGame();
        OpenMainMenu(mpMain);
        return;
    }
    TPlayer* player = Scenario->PlayerAt(Scenario->CurrentPlayerIndex);
    if (!player || player != Scenario->CurrentPlayer)
        return;
    // Takes the pending action; one that fails the shared checks comes back empty, its
    // poster answered with the refusal.
    const TPlayerAction action = Scenario->TakeCurrentAction();
    if (action.Code == acNone || action.Code > LastActionCode)
        return;
    ExecuteActionOf(*player, action);
}

void TGame::Refuse(TPlayer& player) {
    player.SetActionResult(arCannotGoThere);
}

void TGame::RefuseForMissingScreen(TPlayer& player, TGameScreen screen) {
    if (Scenario && &player == Scenario->ViewingPlayer())
        ReportMissingScreen(screen);
    Refuse(player);
}

void TGame::ExecuteActionOf(TPlayer& player, const TPlayerAction& action) {
    const uint32_t* p = action.P;
    TScenario& scenario = *Scenario;
    switch (action.Code) {
    case acEndTurn:
        ExecuteEndTurn(player);
        break;
    case acAttackGroup:
    case acAttackCity:
        // Fights in view and in the background alike run in the fight dialog.
        if (!FightDialog)
            RefuseForMissingScreen(player, TGameScreen::FightDialog);
        else
            ExecuteAttack(player, action.Code, p[0]);
        break;
    case acFightCommands:
        // The dialog answers through the fight itself; the acting player's result stays
        // the attack's, which its poster may still be waiting for.
        if (!FightDialog)
            RefuseForMissingScreen(player, TGameScreen::FightDialog);
        else
            FightDialog->SetSideCommands(p[0], &p[1]);
        break;
    case acReport:
        ExecuteReport(player, p[0]);
        break;
    case acSelectObject:
        ExecuteSelectObject(player, p[0]);
        break;
    case acMoveGroup:
        ExecuteMoveGroup(player, action);
        break;
    case acCastSpell:
        if (!player.GetSelectedGroup()->StartSpellCast(p[0], p[1], int(p[2]), int(p[3])))
            Refuse(player);
        break;
    case acPitchCamp:
        scenario.FindGroupByID(p[0])->PitchCamp();
        break;
    case acBreakCamp:
        scenario.FindGroupByID(p[0])->BreakCamp();
        break;
    case acMarkSplit:
        ExecuteMarkSplit(player, p[0]);
        break;
    case acEnterCity:
        ExecuteEnterCity(player, p[0]);
        break;
    case acEnterBuilding:
        ExecuteEnterBuilding(player, p[0]);
        break;
    case acLeaveCity:
    case acMoveCityUnit:
    case acVisitMerchant:
    case acMerchantPurchase:
        ExecuteTownAction(player, action);
        break;
    case acConversationChoice:
        // The answer belongs to the talk dialog showing the conversation; there is none.
        RefuseForMissingScreen(player, TGameScreen::TalkDialog);
        break;
    default:
        break;
    }
}

void TGame::ExecuteAttack(TPlayer& player, uint32_t code, uint32_t targetID) {
    // One fight at a time: an attack arriving while one runs (a peer's out of turn)
    // is dropped, and the running attack's poster keeps waiting for its own result.
    if (FightDialog->Fighting())
        return;
    TScenario& scenario = *Scenario;
    TGroup* attacker = player.GetSelectedGroup();
    const TPlayer* viewer = scenario.ViewingPlayer();
    const bool viewerTakesPart = &player == viewer;
    if (code == acAttackGroup) {
        TGroup* target = scenario.FindGroupByID(targetID);
        if (!viewerTakesPart && target->GetOwner() != viewer) {
            FightDialog->RunBackgroundGroupFight(attacker, target);
        } else {
            FightDialog->StartGroupFight(attacker, target);
            FightDialog->Run();
        }
    } else {
        TCity* town = scenario.FindCityByID(targetID);
        int row = 0;
        while (row < town->RowCount && town->DefenderCountInRow(row) == 0)
            ++row;
        if (row >= town->RowCount)
            row = 0;
        if (!viewerTakesPart && town->GetOwner() != viewer) {
            FightDialog->RunBackgroundCityFight(attacker, town, row);
        } else {
            FightDialog->StartCityFight(attacker, town, row);
            FightDialog->Run();
        }
    }
    // A game closed under the fight has no one left to tell.
    if (Scenario.get() == &scenario)
        player.TryPostReport(arDone);
}

void TGame::ExecuteEndTurn(TPlayer& player) {
    TScenario& scenario = *Scenario;
    SpellBeingTargeted = 0;
    player.SetActionResult(arDone);
    player.EndTurn();
    // No worker runs now: the planners free the records of units that left meanwhile.
    for (TPlayer* each : scenario.Players)
        each->AI->FreeRemovedUnits();
    const AnsiString error = player.TakeTurnError();
    if (!error.empty())
        ShowMessage(error);
    const int next = (scenario.CurrentPlayerIndex + 1) % scenario.PlayerCount();
    if (next == 0)
        scenario.AdvanceTurn();
    scenario.CurrentPlayerIndex = int16_t(next);
    scenario.CurrentPlayer = scenario.PlayerAt(next);
    StartTurn();
}

void TGame::ExecuteReport(TPlayer& player, uint32_t outcome) {
    ProcessConversations();
    if (TownWindow && TownWindow->Town())
        TownWindow->ArrangeBuildingButtons();
    const int32_t winner = FindScenarioEnd();
    if (winner < 0) {
        if (AutosavePending) {
            Autosave();
            AutosavePending = false;
        }
        player.SetActionResult(int32_t(outcome));
        return;
    }
    FinishScenario(winner);
    // The end of the scenario does not exist yet: the game goes on, and the poster is
    // answered rather than left waiting.
    if (Scenario && Scenario->PlayerAt(Scenario->CurrentPlayerIndex) == &player)
        player.SetActionResult(int32_t(outcome));
}

int32_t TGame::FindScenarioEnd() const {
    for (int i = Scenario->PlayerCount() - 1; i >= 0; --i)
        if (Scenario->Globals[size_t(i)] == 0)
            return i;
    return -1;
}

void TGame::ExecuteSelectObject(TPlayer& player, uint32_t objectID) {
    TScenario& scenario = *Scenario;
    TMapObject* object = scenario.FindObjectByID(objectID);
    player.SelectObject(object);
    if (object && object->Kind == okGroup && FMapWindow) {
        const TPlayer* viewer = scenario.ViewingPlayer();
        if (&player == viewer && player.Type == ptLocal &&
            FMapWindow->IsOnScreen(object->X, object->Y)) {
            player.SetActionResult(arDone);
            return;
        }
        if (viewer && viewer->IsObjectVisible(*object)) {
            // The map window answers the poster once the view has arrived.
            FMapWindow->CenterOn(object->X, object->Y, true, 0);
            return;
        }
    }
    player.SetActionResult(arDone);
}

void TGame::ExecuteMoveGroup(TPlayer& player, const TPlayerAction& action) {
    const uint32_t* p = action.P;
    TMapObject* object = Scenario->FindObjectByID(p[5]);
    TGroup* group = player.GetActiveGroup();
    const int32_t reserve = int32_t(p[4]);
    const bool refill = ByteOf(p[6], 0) != 0;
    if (ByteOf(p[3], 0) != 0)
        group->MoveToGroup(static_cast<TGroup*>(object), reserve, refill);
    else if (p[2] != 0)
        group->MoveAgainstGroup(static_cast<TGroup*>(object), ByteOf(p[2], 0), refill, reserve);
    else if (ByteOf(p[3], 1) != 0)
        group->MoveIntoLocation(object, reserve, refill);
    else
        group->MoveTo(int(p[0]), int(p[1]), refill, reserve);
}

void TGame::ExecuteMarkSplit(TPlayer& player, uint32_t marks) {
    TGroup* group = player.GetSelectedGroup();
    bool allMarked = true;
    for (int slot = 0; slot < group->UnitCount() && slot < MaxGroupUnits; ++slot)
        allMarked = allMarked && ByteOf(marks, slot) != 0;
    if (allMarked) {
        player.PostReport(arMustStayInGroup);
        return;
    }
    for (int slot = 0; slot < MaxGroupUnits; ++slot)
        group->SplitMarks[size_t(slot)] = ByteOf(marks, slot);
    player.PostReport(arDone);
}

void TGame::ExecuteEnterCity(TPlayer& player, uint32_t cityID) {
    TScenario& scenario = *Scenario;
    TCity* city = scenario.FindCityByID(cityID);
    TGroup* group = player.GetSelectedGroup();
    if (city->HasScriptedEntry()) {
        scenario.TriggerConversations(scenario.IndexOfPlayer(&player), ceLocation,
                                      int32_t(city->ID));
        group->PayEntryCost(*city);
        player.PostReport(arDone);
        return;
    }
    // Entering a town opens the town window; nothing of the entry happens without it.
    if (!TownWindow) {
        RefuseForMissingScreen(player, TGameScreen::TownWindow);
        return;
    }
    group->ReportEnteredCity(*city);
    TownWindow->EnterCity(city, group);
    if (MapWindow())
        MapWindow()->HideMarker();
    scenario.TriggerConversations(scenario.IndexOfPlayer(&player), ceLocation, int32_t(city->ID));
    player.PostReport(arDone);
}

void TGame::ExecuteTownAction(TPlayer& player, const TPlayerAction& action) {
    if (!TownWindow) {
        RefuseForMissingScreen(player, TGameScreen::TownWindow);
        return;
    }
    const auto param = [&action](int index) { return int32_t(action.P[index]); };
    switch (action.Code) {
    case acLeaveCity:
        TownWindow->LeaveCity();
        player.PostReport(arDone);
        break;
    case acMoveCityUnit:
        if (TownWindow->ApplyMoveUnit(param(0), param(1), param(2), param(3)))
            player.SetActionResult(arDone);
        else
            Refuse(player);
        break;
    case acVisitMerchant:
        if (TownWindow->VisitMerchant(param(0)))
            player.PostReport(arDone);
        else
            Refuse(player);
        break;
    case acMerchantPurchase:
        if (TownWindow->ApplyPurchase(param(0), param(1), param(2), param(3)))
            player.SetActionResult(arDone);
        else
            Refuse(player);
        break;
    default:
        break;
    }
}

void TGame::ExecuteEnterBuilding(TPlayer& player, uint32_t buildingID) {
    TScenario& scenario = *Scenario;
    TBuilding* building = scenario.FindBuildingByID(buildingID);
    scenario.TriggerConversations(scenario.IndexOfPlayer(&player), ceLocation,
                                  int32_t(building->ID));
    player.GetSelectedGroup()->PayEntryCost(*building);
    player.PostReport(arDone);
}

} // namespace Main
