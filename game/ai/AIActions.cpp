// The computer player acts only by posting player actions and waiting for each
// result; the main thread executes them meanwhile, so the world lock is let go for
// the wait.
#include "game/ai/AIHandler.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/players/ThreadTermination.h"
#include "game/world/scenario/Scenario.h"

namespace AIHandler {

using namespace GameData;

void TAIHandler::CheckStop() const {
    if (Player.StopRequested())
        throw EThreadTermination();
}

int32_t TAIHandler::PostAndWait(const TPlayerAction& action) {
    const bool held = FWorld.owns_lock();
    if (held)
        FWorld.unlock();
    // Sent: the peers replay a computer player's turn from its actions.
    Player.PostAction(true, action);
    const int32_t result = Player.WaitForAction();
    if (held)
        FWorld.lock();
    return result;
}

int32_t TAIHandler::PostReport() {
    return PostAndWait(MakeAction(acReport, arDone));
}

int32_t TAIHandler::PostSelect(const TMapObject* object) {
    return PostAndWait(MakeAction(acSelectObject, object ? object->ID : 0));
}

int32_t TAIHandler::PostMove(int x, int y, uint8_t p7, int32_t p5, const TMapObject* object,
                             bool intoLocation, uint32_t p3, bool toGroup) {
    TPlayerAction action =
        MakeAction(acMoveGroup, uint32_t(x), uint32_t(y), p3,
                   uint32_t(toGroup ? 1 : 0) | uint32_t(intoLocation ? 1 : 0) << 8);
    action.P[4] = uint32_t(p5);
    action.P[5] = object ? object->ID : 0;
    action.P[6] = p7;
    const int32_t result = PostAndWait(action);
    if (result != arSpotted && result != arStoppedByConversation)
        return result;
    // Stopped on the goal itself: the walk is done whatever came into view.
    const TGroup* selected = Player.GetSelectedGroup();
    const int goalX = toGroup && object ? object->CellX() : x;
    const int goalY = toGroup && object ? object->CellY() : y;
    if (!selected ||
        (selected->TMapObject::CellX() == goalX && selected->TMapObject::CellY() == goalY))
        return arDone;
    return arSpotted;
}

int32_t TAIHandler::PostBreakCamp(const TGroup& group) {
    return PostAndWait(MakeAction(acBreakCamp, group.ID));
}

void TAIHandler::PostEndTurn() {
    if (FWorld.owns_lock())
        FWorld.unlock();
    Player.PostAction(true, MakeAction(acEndTurn));
    Player.WaitUntilActionTaken();
}

namespace {

// The group that a move would walk: the selected group, or the gate group of the
// selected city. The movement costs are counted afresh from where it sets out (a
// walk since the selection left them behind).
TGroup* Mover(TPlayer& player, TScenario& scenario) {
    if (TGroup* group = player.GetSelectedGroup()) {
        scenario.FloodFillCosts(group->TMapObject::CellX(), group->TMapObject::CellY(), *group);
        return group;
    }
    TCity* city = player.GetSelectedCity();
    TGroup* gate = player.GetActiveGroup();
    if (city && gate)
        scenario.FloodFillCostsFromCells(city->ExitArea.Cells, *gate);
    return gate;
}

bool IsFreeCell(const TScenario& scenario, int x, int y) {
    return scenario.IsCellOnMap(x, y) && !scenario.Occupancy[size_t(scenario.CellIndex(x, y))] &&
           !scenario.IsCellInAnyCity(x, y);
}

} // namespace

int32_t TAIHandler::MoveToCell(int x, int y, uint8_t p7, int32_t p5, bool strict) {
    if (!Mover(Player, Scenario))
        return arCannotGoThere;
    if (IsFreeCell(Scenario, x, y) && Scenario.IsCellReachable(x, y))
        return PostMove(x, y, p7, p5, nullptr, false, 0, false);
    int freeX = x;
    int freeY = y;
    if (!Scenario.FreeCellTowardsTarget(freeX, freeY))
        return arCannotGoThere;
    const int32_t result = PostMove(freeX, freeY, p7, p5, nullptr, false, 0, false);
    return strict && result == arDone ? arCannotGoThere : result;
}

int32_t TAIHandler::MoveAgainst(const TMapObject& object, int mode, uint8_t p7, int32_t p5) {
    const TGroup* mover = Mover(Player, Scenario);
    if (!mover)
        return arCannotGoThere;
    if (Scenario.CanApproachObject(object, *mover))
        return PostMove(object.CellX(), object.CellY(), p7, p5, &object, false, uint32_t(mode),
                        false);
    int freeX = object.CellX();
    int freeY = object.CellY();
    if (!Scenario.FreeCellTowardsTarget(freeX, freeY))
        return arCannotGoThere;
    return PostMove(freeX, freeY, p7, p5, nullptr, false, 0, false);
}

} // namespace AIHandler
