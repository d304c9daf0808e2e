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

void TGroup::RefillCosts() {
    Scenario->FloodFillCosts(X / CellSize, Y / CellSize, *this);
}

bool TGroup::BeginOrder(bool refill, TCity*& fromCity) {
    Interrupted = Blocked = 0;
    BlockedX = BlockedY = 0;
    fromCity = nullptr;
    if (!Scenario)
        return false;
    // The gate group of the selected city has no cell of its own yet: its move
    // starts from the city's exit.
    if (TCity* city = StartingCity()) {
        fromCity = city;
        if (refill)
            Scenario->FloodFillCostsFromCells(city->ExitArea.Cells, *this);
        return true;
    }
    if (IsEngaged())
        return false;
    if (CampState != csNone && !SplitPending()) {
        Report(arMustPack);
        return false;
    }
    if (refill)
        RefillCosts();
    return true;
}

bool TGroup::IsOwnCell(int x, int y) const {
    return x == X / CellSize && y == Y / CellSize;
}

void TGroup::MoveTo(int x, int y, bool refill, int32_t reserve) {
    TCity* city = nullptr;
    if (!BeginOrder(refill, city))
        return;
    if (city && !Scenario->IsCellReachable(x, y)) {
        Report(arCannotGoThere);
        return;
    }
    if (!city && IsOwnCell(x, y)) {
        Report(arDone);
        return;
    }
    MergeOnArrival = 0;
    OrderMode = 0;
    TargetGroup = nullptr;
    TargetLocation = nullptr;
    if (city && Scenario->BuildPathTo(x, y, *this) >= 1 && Scenario->Path[0].X == x &&
        Scenario->Path[0].Y == y) {
        // Onto an exit cell: the group only steps out, whatever its points.
        TargetX = int16_t(x);
        TargetY = int16_t(y);
        LeaveCity(*city);
        return;
    }
    PlanMove(x, y, reserve, city);
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
    UpdateOwnerVisibility();
    ReportSeenBy();
    return !StopsAtCell();
}

void TGroup::MoveToGroup(TGroup* other, int32_t reserve, bool refill) {
    TCity* city = nullptr;
    if (!other || !BeginOrder(refill, city))
        return;
    const int x = other->X / CellSize;
    const int y = other->Y / CellSize;
    if (!city && IsOwnCell(x, y)) {
        MergeWith(other);
        Report(arDone);
        return;
    }
    MergeOnArrival = 1;
    OrderMode = 0;
    TargetGroup = other;
    TargetLocation = nullptr;
    PlanMove(x, y, reserve, city);
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
    // Looking around is visual variety: the scenario's plain generator, never the game's.
    DesiredFacing = uint8_t((Facing + Scenario->PlainRandom.Below(3) + 7) % 8);
}

void TGroup::RequestStop() {
    if (!IsEngaged())
        Activity = gaStopRequest;
}

} // namespace GameData
