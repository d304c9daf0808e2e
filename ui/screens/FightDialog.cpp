// The fight dialog's window: its panels and buttons, made once for the whole game.
#include "ui/screens/FightDialog.h"

#include "game/spells/SpellVisual.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/Game.h"

namespace Main {

TFightDialog::TFightDialog(DXWin::TDXWindowSystem* windowSystem, TGame& game)
    : TVRNWindow(windowSystem, 0x110000, 0), FGame(game) {
    SetSize(800, 600);
    Battle.Reset();
}

TFightDialog::~TFightDialog() = default;

} // namespace Main
