// Orders a group carries out: walking to a cell or onto another group, turning and
// stopping. Walking itself advances in the group's Tick.
#include "engine/core/Random.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <cstdlib>

namespace GameData {

namespace {
void ClearInterrupts(TGroup& group) {
    group.Interrupted = 0;
    group.Blocked = 0;
    group.BlockedX = 0;
    group.BlockedY = 0;
}
} // namespace

void TGroup::RefillCosts() {
    Scenario->FloodFillCosts(X / CellSize, Y / CellSize, *this);
}

void TGroup::MoveTo(int x, int y, bool refill, int32_t reserve) {
    ClearInterrupts(*this);
    if (!Scenario)
        return;
    if (TCity* city = StartingCity()) {
        if (refill)
            Scenario->FloodFillCostsFromCells(city->ExitArea.Cells, *this);
        if (!Scenario->IsCellReachable(x, y)) {
            Report(arCannotGoThere);
            return;
        }
        MergeOnArrival = 0;
        OrderMode = 0;
        TargetGroup = nullptr;
        TargetLocation = nullptr;
        if (Scenario->BuildPathTo(x, y, *this) >= 1 && Scenario->Path[0].X == x &&
            Scenario->Path[0].Y == y) {
            if (LeaveCity(*city))
                Report(arDone);
            return;
        }
        PlanMove(x, y, reserve, city);
        return;
    }
    if (IsEngaged())
        return;
    if (CampState != csNone && !SplitPending()) {
        Report(arMustPack);
        return;
    }
    if (refill)
        RefillCosts();
    if (x == X / CellSize && y == Y / CellSize) {
        Report(arDone);
        return;
    }
    MergeOnArrival = 0;
    OrderMode = 0;
    TargetGroup = nullptr;
    TargetLocation = nullptr;
    PlanMove(x, y, reserve);
}

TCity* TGroup::StartingCity() const {
    return IsSelectedCityGroup() ? GetOwner()->GetSelectedCity() : nullptr;
}

bool TGroup::LeaveCity(TCity& city) {
    const TPathCell first = Scenario->Path[0];
    const TPoint centre = CellToPixelCentre(first.X, first.Y);
    X = int16_t(centre.X);
    Y = int16_t(centre.Y);
    Facing = uint8_t(DirectionToCell(city.CellX(), city.CellY(), first.X, first.Y));
    OwnerIndex = uint8_t(Scenario->CurrentPlayerIndex);
    const uint8_t gateOwner = city.GateGroup->OwnerIndex;
    Scenario->AddObject(std::move(city.GateGroup));
    city.GateGroup = std::make_unique<TGroup>(Scenario);
    city.GateGroup->OwnerIndex = gateOwner;
    if (Scenario->CurrentPlayer)
        Scenario->CurrentPlayer->SelectObject(this);
    Scenario->UpdateVisibilityOfIndex(OwnerIndex);
    if (Blocked && first.X == BlockedX && first.Y == BlockedY) {
        OutOfPoints(false);
        return false;
    }
    return true;
}

void TGroup::MoveToGroup(TGroup* other, int32_t reserve, bool refill) {
    ClearInterrupts(*this);
    if (!Scenario || !other || IsEngaged())
        return;
    if ((CampState != csNone) && !SplitPending()) {
        Report(arMustPack);
        return;
    }
    if (refill)
        RefillCosts();
    const int x = other->X / CellSize;
    const int y = other->Y / CellSize;
    if (x == X / CellSize && y == Y / CellSize) {
        MergeWith(other);
        Report(arDone);
        return;
    }
    MergeOnArrival = 1;
    OrderMode = 0;
    TargetGroup = other;
    TargetLocation = nullptr;
    PlanMove(x, y, reserve);
}

void TGroup::TurnTo(int direction) {
    if (IsEngaged() || (CampState != csNone))
        return;
    Activity = gaTurn;
    DesiredFacing = uint8_t(((direction % 8) + 8) % 8);
}

void TGroup::FaceCell(int x, int y) {
    const int ownX = X / CellSize;
    const int ownY = Y / CellSize;
    if (x != ownX || y != ownY)
        TurnTo(DirectionToCell(ownX, ownY, x, y));
}

void TGroup::StartIdleTurn() {
    if (IsEngaged() || (CampState != csNone))
        return;
    Activity = gaIdleTurn;
    // Looking around is visual variety: the plain generator, never the game's.
    DesiredFacing = uint8_t((Facing + std::rand() % 3 + 7) % 8);
}

void TGroup::RequestStop() {
    if (!IsEngaged())
        Activity = gaStopRequest;
}

} // namespace GameData
