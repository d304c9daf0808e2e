// What the game object asks of the town window, which the screens library above this
// one builds: the town actions' handlers. They run for every player alike, so that all
// machines change the town the same way; only a visit by the player who sits at this
// machine shows the screen.
#pragma once

#include <cstdint>

namespace GameData {
class TCity;
class TGroup;
class TScenario;
} // namespace GameData

namespace Main {

class TTownScreen {
public:
    virtual ~TTownScreen() = default;

    virtual void SetScenario(GameData::TScenario* scenario) = 0;
    // acEnterCity: the group becomes the town's gate group.
    virtual void EnterCity(GameData::TCity* town, GameData::TGroup* group) = 0;
    // acLeaveCity: the gate group sets out; the window forgets the town.
    virtual void LeaveCity() = 0;
    // acMoveCityUnit, acVisitMerchant and acMerchantPurchase with the action's first
    // parameters. False, changing nothing, when the town or the rules refuse.
    virtual bool ApplyMoveUnit(int32_t from, int32_t unitID, int32_t to, int32_t row) = 0;
    virtual bool VisitMerchant(int32_t building) = 0;
    virtual bool ApplyPurchase(int32_t kind, int32_t unitID, int32_t player, int32_t item) = 0;
    // The town whose gate group stands in it now; null between visits.
    virtual GameData::TCity* Town() const = 0;
    // Draws the town's picture again after the surfaces were restored or re-created.
    virtual void PaintBackdrop() = 0;
    // After a report: a script may have changed which buildings the town has.
    virtual void ArrangeBuildingButtons() = 0;
};

} // namespace Main
