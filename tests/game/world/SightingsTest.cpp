// Groups walking under fog: the cells they reveal, the foreign groups they spot,
// and the sightings queued to the player and its friends once per coming into view.
#include "game/world/fog/Fog.h"
#include "tests/game/world/CityGroupFixture.h"
#include "tests/game/world/TextMap.h"

namespace CityGroupTests {
namespace {

class SightingsTest : public CityGroupTest {
protected:
    SightingsTest() {
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        // Green is red's friend: it sees what red sees and hears of what red spots.
        Player(Red).Relations[Green] = reFriendly;
        Player(Green).Relations[Red] = reFriendly;
        Walker = World->AddGroup(Red, 1, 5);
        Walker->AddUnit(Make(SoldierID), true, false); // sight 3
        Enemy = World->AddGroup(Blue, 7, 5);
        Enemy->AddUnit(Make(SoldierID), true, false);
        Enemy->AddUnit(Make(BeastID), true, false);
        Scenario().BeginTurnOf(Red);
    }

    // Arrives at the centre of the cell, as a walk does step by step.
    void WalkTo(int x, int y) {
        Scenario().MoveObject(Scenario().IndexOfObject(Walker), x * CellSize + HalfCell,
                              y * CellSize + HalfCell);
        Player(Red).UpdateVisibility();
    }

    std::vector<uint32_t> SpottedUnits(const TPlayer& player) {
        std::vector<uint32_t> units;
        for (int i = 0; i < player.SightingCount(); ++i) {
            const TSighting sighting = player.GetSighting(i);
            EXPECT_EQ(sighting.Kind, skUnitSpotted);
            EXPECT_EQ(sighting.CellX, 7);
            EXPECT_EQ(sighting.CellY, 5);
            units.push_back(sighting.UnitID);
        }
        return units;
    }

    TestSupport::TTextRows Fog(const TPlayer& player) {
        return TestSupport::DrawGrid(
            Scenario(), [&](int cell) { return ".ev"[player.Fog->Cells[size_t(cell)]]; });
    }

    TGroup* Walker = nullptr;
    TGroup* Enemy = nullptr;
};

TEST_F(SightingsTest, WalkingRevealsATrailAndSpotsTheEnemyOnce) {
    const std::vector<uint32_t> enemyUnits = {Enemy->UnitAt(0)->ID, Enemy->UnitAt(1)->ID};
    for (int x = 2; x <= 4; ++x) {
        WalkTo(x, 5);
        EXPECT_EQ(Player(Red).SightingCount(), 0) << "at " << x;
        EXPECT_FALSE(Enemy->Spotted);
    }
    // The enemy stays off the red side's occupancy until it is seen.
    Scenario().FloodFillCosts(4, 5, &Player(Red));
    EXPECT_TRUE(Scenario().IsCellReachable(7, 5));

    WalkTo(5, 5); // (7, 5) is two cells east: in sight
    EXPECT_TRUE(Enemy->Spotted);
    EXPECT_EQ(SpottedUnits(Player(Red)), enemyUnits);
    EXPECT_EQ(SpottedUnits(Player(Green)), enemyUnits);
    EXPECT_EQ(Player(Blue).SightingCount(), 0);
    EXPECT_EQ(Player(Red).Spotted, 1);
    EXPECT_EQ(Player(Red).GroupSpotted, 1);
    const TestSupport::TTextRows trail = {"............", "............", "............",
                                          "eeeevvv.....", "eeevvvvv....", "eeevvvvv....",
                                          "eeevvvvv....", "eeeevvv.....", "............",
                                          "............", "............", "............"};
    EXPECT_EQ(Fog(Player(Red)), trail);
    EXPECT_EQ(Fog(Player(Green)), trail); // a friend's sight is shared
    EXPECT_EQ(Player(Red).Fog->ImagePixel(7, 5), PlayerMarkColor(Player(Blue).Color));
    EXPECT_EQ(Player(Red).Fog->ImagePixel(5, 5), PlayerMarkColor(Player(Red).Color));
    // Seen now, the enemy blocks the red side's way.
    Scenario().FloodFillCosts(5, 5, &Player(Red));
    EXPECT_FALSE(Scenario().IsCellReachable(7, 5));

    // Staying in view, leaving it and coming back in the same turn adds nothing.
    WalkTo(5, 4);
    WalkTo(3, 4);
    EXPECT_EQ(Player(Red).Fog->GetCell(7, 5, 9), fsExplored);
    WalkTo(5, 5);
    EXPECT_EQ(Player(Red).SightingCount(), 2);
    EXPECT_EQ(Player(Green).SightingCount(), 2);

    // A new turn begun out of sight forgets it; coming into view again reports anew.
    WalkTo(2, 5);
    Player(Green).ClearSightings();
    Scenario().BeginTurnOf(Red);
    EXPECT_FALSE(Enemy->Spotted);
    EXPECT_EQ(Player(Red).SightingCount(), 0);
    WalkTo(5, 5);
    EXPECT_EQ(SpottedUnits(Player(Red)), enemyUnits);
    EXPECT_EQ(SpottedUnits(Player(Green)), enemyUnits);
}

TEST_F(SightingsTest, ATurnBegunInViewMarksTheEnemyWithoutReporting) {
    WalkTo(5, 5);
    Player(Red).ClearSightings();
    Scenario().BeginTurnOf(Red);
    EXPECT_TRUE(Enemy->Spotted);
    EXPECT_EQ(Player(Red).SightingCount(), 0);
    WalkTo(5, 4);
    EXPECT_EQ(Player(Red).SightingCount(), 0);
}

TEST_F(SightingsTest, CitiesComeIntoViewWholeAndTheirFriendsLookInside) {
    TCity* city = World->AddCity(Green, 8, 2); // cells (8..9, 2..3)
    TCity* enemyCity = World->AddCity(Blue, 9, 8);
    Scenario().UpdateAllVisibility();
    // Red may look into its friend's city: all of it is visible.
    for (const TField& cell : city->Footprint.Cells)
        EXPECT_EQ(Player(Red).Fog->GetCell(cell.X, cell.Y, 9), fsVisible);
    EXPECT_TRUE(Player(Red).HasAccessToCity(*city));
    EXPECT_FALSE(Player(Red).HasAccessToCity(*enemyCity));
    EXPECT_FALSE(Player(Red).Fog->IsAnyCellVisible(&enemyCity->Footprint));

    // One visible cell of the enemy city makes the whole of it explored.
    Player(Red).ResetFlags();
    WalkTo(7, 8); // sight reaches (9, 8) but not (10, 9)
    EXPECT_EQ(Player(Red).Fog->GetCell(9, 8, 9), fsVisible);
    EXPECT_TRUE(Player(Red).Fog->AreAllCellsExplored(&enemyCity->Footprint));
    EXPECT_EQ(Player(Red).Fog->GetCell(10, 9, 9), fsExplored);
    EXPECT_EQ(Player(Red).LocationFound, 1);
}

} // namespace
} // namespace CityGroupTests
