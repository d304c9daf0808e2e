// The searches groups and cities make on a filled cost map: the cell to approach a
// group from, the cell to enter a location by, and the free cell on the way to a
// target. The tiny world's terrain costs 20 a straight step and 30 a diagonal one.
#include "tests/game/world/CityGroupFixture.h"

namespace CityGroupTests {
namespace {

class GroupPathsTest : public CityGroupTest {
protected:
    GroupPathsTest() {
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        Mover = World->AddGroup(Red, 2, 2);
        Mover->AddUnit(Make(SoldierID), true, false); // 10 action points
        Scenario().BeginTurnOf(Red);
    }

    struct TCell {
        int X = -1, Y = -1;
        bool operator==(const TCell&) const = default;
    };
    TCell Approach(const TMapObject& target) {
        TCell cell;
        return Scenario().FindApproachCell(target, *Mover, cell.Y, cell.X) ? cell : TCell{};
    }
    TCell Entry(const TLocation& location) {
        TCell cell;
        return Scenario().FindLocationEntryCell(location, *Mover, cell.Y, cell.X) ? cell : TCell{};
    }

    TGroup* Mover = nullptr;
};

TEST_F(GroupPathsTest, OwnAndFriendlyGroupsLetTheFillPassOthersBlockIt) {
    Player(Red).Relations[Green] = reFriendly;
    World->AddGroup(Red, 3, 2);
    const uint8_t owners[] = {Green, Blue, NoOwner}; // friend, enemy, nobody's
    for (int i = 0; i < 3; ++i)
        World->AddGroup(owners[i], 3, 1 + 2 * i)->Spotted = 1; // (3, 1), (3, 3), (3, 5)
    World->AddGroup(Blue, 1, 3);                               // not seen: not on red's grid
    Scenario().RebuildOccupancyGrid();
    Scenario().FloodFillCosts(2, 2, *Mover);
    const auto cost = [&](int x, int y) {
        return Scenario().MoveCosts[size_t(Scenario().CellIndex(x, y))];
    };
    EXPECT_EQ(cost(3, 2), 20);
    EXPECT_EQ(cost(3, 1), 30);
    EXPECT_EQ(cost(3, 3), 255);
    EXPECT_EQ(cost(3, 5), 255);
    EXPECT_EQ(cost(1, 3), 30);
}

TEST_F(GroupPathsTest, ApproachCellIsTheCheapestSteppableFreeNeighbour) {
    TGroup* target = World->AddGroup(Blue, 6, 2);
    Scenario().FloodFillCosts(2, 2, *Mover);
    // West (5, 2) at 60 beats north-west and south-west (5, 1), (5, 3) at 70.
    EXPECT_EQ(Approach(*target), (TCell{5, 2}));
    EXPECT_TRUE(Scenario().CanApproachObject(*target, *Mover));

    // Another group there (red's own: marked on the grid): the earlier of the 70s.
    TGroup* second = World->AddGroup(Red, 5, 2);
    EXPECT_EQ(Approach(*target), (TCell{5, 1}));
    Scenario().RemoveObject(second, 0);

    // A cliff between it and the target: the same.
    Scenario().Heights[size_t(Scenario().CellIndex(5, 2))] = 40;
    Scenario().FloodFillCosts(2, 2, *Mover);
    EXPECT_EQ(Approach(*target), (TCell{5, 1}));
    Scenario().Heights[size_t(Scenario().CellIndex(5, 2))] = 0;

    // A camp is approached from the ring around its 3 x 3 cells: (4, 2) at 40.
    target->CampState = csPitched;
    Scenario().FloodFillCosts(2, 2, *Mover);
    EXPECT_EQ(Approach(*target), (TCell{4, 2}));

    // Nothing reachable: no cell.
    Scenario().FloodFillCosts(-1, -1, *Mover);
    EXPECT_EQ(Approach(*target), TCell{});
    EXPECT_FALSE(Scenario().CanApproachObject(*target, *Mover));
}

TEST_F(GroupPathsTest, CitiesAreEnteredByTheirCheapestCellSharedOnlyWithFriends) {
    // Footprints (8..9, 2..3): from (2, 2) the cells cost 120, 140, 130, 150.
    TCity* neutral = World->AddCity(Green, 8, 2);
    Scenario().FloodFillCosts(2, 2, *Mover);
    EXPECT_EQ(Entry(*neutral), (TCell{8, 2}));

    // Red's own group on (8, 2): a city that is no enemy shares it.
    World->AddGroup(Red, 8, 2);
    EXPECT_EQ(Entry(*neutral), (TCell{8, 2}));
    EXPECT_TRUE(Scenario().CanReachLocation(*neutral, *Mover));
    Scenario().RemoveObject(neutral, 0);

    // An enemy city shares nothing while it has defenders.
    TCity* enemy = World->AddCity(Blue, 8, 2);
    EXPECT_EQ(Entry(*enemy), (TCell{8, 2}));
    ASSERT_TRUE(enemy->AddDefender(0, Registered(SoldierID), false));
    EXPECT_EQ(Entry(*enemy), (TCell{8, 3}));

    EXPECT_TRUE(Scenario().IsCellInAnyCity(9, 3));
    EXPECT_FALSE(Scenario().IsCellInAnyCity(10, 3));
}

TEST_F(GroupPathsTest, FreeCellTowardsTargetStopsWhereTheBudgetReachesOutsideCities) {
    Player(Red).SelectObject(Mover);
    // Ten action points count as 100: along row 2 the walk back from (10, 2) meets
    // (7, 2) at 100.
    int x = 10, y = 2;
    ASSERT_TRUE(Scenario().FreeCellTowardsTarget(x, y));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 2);

    // Inside a city it walks on to (6, 2).
    World->AddCity(Green, 7, 1);
    x = 10, y = 2;
    ASSERT_TRUE(Scenario().FreeCellTowardsTarget(x, y));
    EXPECT_EQ(x, 6);
    EXPECT_EQ(y, 2);

    // Its own cell: the nearest free cell outside cities on the last fill.
    Scenario().FloodFillCosts(2, 2, *Mover);
    x = 2, y = 2;
    ASSERT_TRUE(Scenario().FreeCellTowardsTarget(x, y));
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 1); // the group holds (2, 2); (2, 1) comes first in row order

    x = -1, y = -1;
    EXPECT_FALSE(Scenario().FreeCellTowardsTarget(x, y));
    EXPECT_EQ(x, -1);
}

} // namespace
} // namespace CityGroupTests
