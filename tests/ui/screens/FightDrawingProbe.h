// Puts two groups into the fight dialog as a fight's start would, without the rest of
// the start (panels, picture, cursor), for tests and benchmarks of the drawing.
#pragma once

#include "game/world/groups/Group.h"
#include "ui/screens/FightDialog.h"

namespace Main {

struct TFightDrawingProbe {
    static void SetGroups(TFightDialog& dialog, GameData::TGroup& attacker,
                          GameData::TGroup& defender) {
        dialog.FAttacker = &attacker;
        dialog.FDefender = &defender;
        dialog.FAttackerSide.emplace(attacker);
        dialog.FDefenderSide.emplace(defender);
        dialog.Battle.SetGroups(&*dialog.FAttackerSide, &*dialog.FDefenderSide);
    }
};

} // namespace Main
