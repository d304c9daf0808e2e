// What runs between the actions of a turn: quests and queued conversations, the end of
// the scenario and the autosave. The talk dialog, the end-of-scenario sequence and
// saved games are not built yet; their placeholders say so once per game.
#include "game/world/scenario/Scenario.h"
#include "ui/game/Game.h"
#include "ui/game/ScreenPlaceholders.h"

namespace Main {

void TGame::ProcessConversations() {
    if (!Scenario)
        return;
    // Quests are checked here, after an action, where every machine checks them in the
    // same order. Conversations they queue wait in the scenario's queue for the talk
    // driver, which plays them page by page once it exists.
    Scenario->UpdateQuests();
}

void TGame::FinishScenario(int32_t) {
    if (FScenarioEndMissingShown)
        return;
    FScenarioEndMissingShown = true;
    ReportMissingScreen(TGameScreen::ScenarioEnd);
}

void TGame::Autosave() {
    if (FAutosaveMissingShown)
        return;
    FAutosaveMissingShown = true;
    ReportMissingScreen(TGameScreen::SavedGames);
}

} // namespace Main
