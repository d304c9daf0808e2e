#include "ui/game/ScreenPlaceholders.h"

namespace Main {

ClassLib::AnsiString TGameScreenPlaceholders::MissingMessage(TGameScreen screen) {
    switch (screen) {
    case TGameScreen::FightDialog:
        return "The fight dialog is not available yet.";
    case TGameScreen::TownWindow:
        return "The town window is not available yet.";
    case TGameScreen::TalkDialog:
        return "The talk dialog is not available yet.";
    case TGameScreen::TransferWindow:
        return "The transfer window is not available yet.";
    case TGameScreen::CreaturePedia:
        return "The creature encyclopedia is not available yet.";
    case TGameScreen::Diary:
        return "The diary is not available yet.";
    case TGameScreen::MainMenu:
        return "The main menu is not available yet.";
    case TGameScreen::SavedGames:
        return "Saved games are not available yet.";
    case TGameScreen::ScenarioEnd:
        return "The end of the scenario is not available yet.";
    }
    return "This screen is not available yet.";
}

} // namespace Main
