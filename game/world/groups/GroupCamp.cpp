// Camps: a group pitches its tents over the 3 x 3 cells around it and packs them up
// again, each for six action points shared out among its units.
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <cstdlib>

namespace GameData {

namespace {

constexpr int32_t CampCost = 6;
constexpr uint8_t CampTerrainLimit = 10; // tents stand on cheap ground only
constexpr int FirstSettingUpCampSprite = 1039;

} // namespace

bool TGroup::CampCellFits(int x, int y) const {
    return Scenario->IsCellOnMap(x, y) &&
           Scenario->Costs[size_t(Scenario->CellIndex(x, y))] < CampTerrainLimit &&
           !Scenario->GroupCoveringCell(x, y, this);
}

bool TGroup::HasRoomForCampAround(int x, int y, bool fromOwnCell) const {
    // Too steep a step cannot be taken; the height thresholds are read at each use.
    const int32_t steepest = Data2::GlobalData->GameConstants[Data2::gcFirstStepHeight + 2];
    const int16_t height = Scenario->Heights[size_t(Scenario->CellIndex(x, y))];
    for (int facing = 0; facing < 8; ++facing) {
        const int nx = x + NeighbourDX[facing];
        const int ny = y + NeighbourDY[facing];
        if (!fromOwnCell && nx == TMapObject::CellX() && ny == TMapObject::CellY())
            continue;
        if (!CampCellFits(nx, ny) ||
            std::abs(Scenario->Heights[size_t(Scenario->CellIndex(nx, ny))] - height) >= steepest)
            return false;
    }
    return true;
}

bool TGroup::HasRoomForCamp() const {
    return IsOnMap() && HasRoomForCampAround(TMapObject::CellX(), TMapObject::CellY(), true);
}

bool TGroup::HasRoomForCampAt(int x, int y) const {
    return CampCellFits(x, y) && HasRoomForCampAround(x, y, false);
}

void TGroup::TakeCampActionPoints() {
    int32_t taken = 0;
    while (taken < CampCost) {
        const int32_t before = taken;
        for (int i = 0; i < UnitCount() && taken < CampCost; ++i)
            if (Units[size_t(i)]->Effective.Value(ACTIONPOINTS) > 0) {
                Units[size_t(i)]->AddActionPoints(-1);
                ++taken;
            }
        if (taken == before)
            return;
    }
}

void TGroup::Report(int32_t outcome) const {
    // Reports also come from the update, which cannot wait for the slot: while
    // another action is pending this report is dropped and the pending one stands.
    if (TPlayer* owner = GetOwner())
        owner->TryPostReport(outcome);
}

void TGroup::PitchCamp() {
    if (CampState == csNone) {
        if (!HasRoomForCamp()) {
            Report(arBlocked);
            return;
        }
        if (TotalActionPoints() < CampCost) {
            Report(arNoActionPoints);
            return;
        }
        TakeCampActionPoints();
        CampState = csSettingUp;
        Frame = 0;
    }
    Scenario->RebuildOccupancyGrid();
}

void TGroup::BreakCamp() {
    if (CampState == csPitched) {
        if (TotalActionPoints() < CampCost) {
            Report(arNoActionPoints);
            return;
        }
        TakeCampActionPoints();
        CampState = csPacking;
        const Gfx::TSprite* sprite =
            CampStyle >= 0 && CampStyle < 5 && Data2::GlobalData
                ? Data2::GlobalData->CommonSprites[FirstSettingUpCampSprite + CampStyle]
                : nullptr;
        Frame = uint8_t(sprite && sprite->FrameCount() > 0 ? sprite->FrameCount() - 1 : 0);
    }
    Scenario->RebuildOccupancyGrid();
}

} // namespace GameData
