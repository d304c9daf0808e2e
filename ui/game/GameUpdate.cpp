// The game's fixed update tick: level-ups, the scenario's update, the outcome of the
// last action on the message line, and the next posted action.
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "ui/game/Game.h"

namespace Main {

void TGame::Update() {
    if (!Active || !Scenario)
        return;
    ReportLevelUps();
    Scenario->Update();
    GameData::TPlayer* player = Scenario->PlayerAt(Scenario->CurrentPlayerIndex);
    if (!player) {
        ScrollMessages();
        return;
    }
    if (player->Type == GameData::ptLocal)
        player->ClearSightings();
    const int32_t result = player->GetActionResult();
    // One outcome is said once: only when the previous frame still waited for it.
    if (LastResult == GameData::arPending && result != GameData::arPending &&
        result != GameData::arDone && player == Scenario->ViewingPlayer())
        ShowActionResult(*player, result);
    ScrollMessages();
    LastResult = result;
    player->ClearSpottedFlags();
    ExecuteAction();
    PostTurnReport();
    ResumeMapMusicWhenDue();
}

void TGame::ReportLevelUps() {
    if (!Scenario)
        return;
    const GameData::TPlayer* viewer = Scenario->ViewingPlayer();
    for (GameData::TUnit* unit : Scenario->Units) {
        if (!unit->LevelledUp)
            continue;
        unit->LevelledUp = 0;
        if (viewer && unit->GetPlayer() == viewer)
            ShowMessage(ClassLib::Format("%s gained level %d.", unit->Name.c_str(),
                                         int(unit->Own.Level())));
    }
}

void TGame::ShowActionResult(const GameData::TPlayer& player, int32_t result) {
    switch (result) {
    case GameData::arSpotted:
        ShowMessage(player.LocationFound ? "Location spotted!" : "Unit spotted!");
        break;
    case GameData::arNoActionPoints:
        ShowMessage("Not enough action points!");
        break;
    case GameData::arMustPack:
        ShowMessage("At least one must pack!");
        break;
    case GameData::arBlocked:
        ShowMessage("Something's in the way!");
        break;
    case GameData::arMustStayInGroup:
        ShowMessage("At least one must stay in group!");
        break;
    case GameData::arCannotGoThere:
        ShowMessage("Cannot go there!");
        break;
    default:
        break;
    }
}

} // namespace Main
