// Step costs, cost and distance fills, paths and the searches on them, checked
// against small maps drawn as text with the expected values worked out by hand.
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapObject.h"
#include "game/world/paths/StepCost.h"
#include "game/world/scenario/Scenario.h"
#include "tests/game/world/TextMap.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <queue>
#include <random>

using namespace GameData;
using TestSupport::MakeTextMapScenario;
using TestSupport::TTextRows;

namespace {

class TPathFinding : public ::testing::Test {
protected:
    TPathFinding() {
        Data.SetConstant(Data2::gcFirstStepHeight, 10);
        Data.SetConstant(Data2::gcFirstStepHeight + 1, 20);
        Data.SetConstant(Data2::gcFirstStepHeight + 2, 40);
    }

    TestSupport::TTestGameData Data;
};

// Stands on a cell and belongs to nobody.
class TStranger : public TMapObject {
public:
    explicit TStranger(TScenario* scenario) : TMapObject(scenario) {}
    Gfx::TSprite* GetSprite() const override { return nullptr; }
};

std::vector<int> MoveCostRow(const TScenario& s, int y) {
    std::vector<int> row;
    for (int x = 0; x < s.Width; ++x)
        row.push_back(s.MoveCosts[size_t(s.CellIndex(x, y))]);
    return row;
}

std::vector<TPathCell> PathCells(const TScenario& s, int count) {
    return {s.Path.begin(), s.Path.begin() + count};
}

// A wall at column 3 that the fill goes round at the bottom row.
const TTextRows WallMap = {
    "...#....",
    "...#....",
    "...#....",
    "........",
};
// Worked out by hand: 10 straight, 15 diagonal.
const std::vector<std::vector<int>> WallMapCosts = {
    {0, 10, 20, 255, 80, 85, 90, 100},
    {10, 15, 25, 255, 70, 75, 85, 95},
    {20, 25, 30, 255, 60, 70, 80, 90},
    {30, 35, 40, 45, 55, 65, 75, 85},
};

} // namespace

TEST_F(TPathFinding, StepCostFollowsTerrainDiagonalsAndHeights) {
    struct TCase {
        const char* Name;
        uint8_t Cost;
        int16_t Rise; // height of the cell entered minus the cell left
        bool Diagonal;
        int32_t Expected;
    };
    const TCase cases[] = {
        {"straight, level", 10, 0, false, 10},
        {"diagonal, level", 10, 0, true, 15},
        {"diagonal, gentle climb", 10, 10, true, 18},
        {"diagonal, gentle descent", 10, -10, true, 12},
        {"straight, just below the gentle step", 10, 9, false, 10},
        {"straight, steep climb", 10, 20, false, 15},
        {"straight, steep descent", 10, -20, false, 8},
        {"just below the impassable step", 10, 39, false, 15},
        {"impassable climb", 10, 40, false, 255},
        {"impassable descent", 10, -40, false, 255},
        {"free terrain costs at least 1", 0, 0, false, 1},
        {"cost 1 downhill stays 1", 1, -20, false, 1},
        {"impassable terrain", 255, 0, true, 255},
        {"dear diagonal passes 255", 200, 0, true, 300},
        {"dear steep climb passes 255", 200, 20, false, 300},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto s = MakeTextMapScenario({"....", "....", "....", "...."});
        s->Costs[size_t(s->CellIndex(1, 1))] = c.Cost;
        s->Heights[size_t(s->CellIndex(1, 1))] = c.Rise;
        const int fromX = c.Diagonal ? 0 : 1;
        EXPECT_EQ(StepCost(*s, fromX, 0, s->Players[0], 1, 1), c.Expected);
        EXPECT_EQ(StepCostTerrain(*s, fromX, 0, s->Players[0], 1, 1), c.Expected);
        EXPECT_EQ(s->HeightStepAllowed(fromX, 0, 1, 1), c.Rise < 40 && c.Rise > -40);
    }
}

TEST_F(TPathFinding, StrangersOnACellBlockTheStepButNotTheTerrainCost) {
    auto s = MakeTextMapScenario({"....", "....", "....", "...."});
    TStranger stranger(s.get());
    s->Occupancy[size_t(s->CellIndex(1, 1))] = &stranger;
    EXPECT_EQ(StepCost(*s, 0, 0, s->Players[0], 1, 1), 255);
    EXPECT_EQ(StepCostTerrain(*s, 0, 0, s->Players[0], 1, 1), 15);
    EXPECT_EQ(StepCost(*s, 0, 0, nullptr, 1, 0), 10);
}

TEST_F(TPathFinding, CostFillGoesRoundAWall) {
    auto s = MakeTextMapScenario(WallMap);
    s->FloodFillCosts(0, 0, s->Players[0]);
    for (int y = 0; y < s->Height; ++y)
        EXPECT_EQ(MoveCostRow(*s, y), WallMapCosts[size_t(y)]) << "row " << y;
    EXPECT_TRUE(s->IsCellReachable(7, 0));
    EXPECT_FALSE(s->IsCellReachable(3, 0));
    EXPECT_FALSE(s->IsCellReachable(-1, 0));
}

TEST_F(TPathFinding, CostFillStopsAt200) {
    struct TCase {
        uint8_t Second;
        int Expected;
    };
    for (const TCase c : {TCase{100, 200}, TCase{101, 255}}) {
        auto s = MakeTextMapScenario({"...#", "####", "####", "####"});
        s->Costs[size_t(s->CellIndex(1, 0))] = 100;
        s->Costs[size_t(s->CellIndex(2, 0))] = c.Second;
        s->FloodFillCosts(0, 0, s->Players[0]);
        EXPECT_EQ(MoveCostRow(*s, 0), (std::vector<int>{0, 100, c.Expected, 255}));
    }
}

TEST_F(TPathFinding, StrangersBlockTheFillAndAreNoStart) {
    auto s = MakeTextMapScenario({"....", "....", "....", "...."});
    TStranger stranger(s.get());
    s->Occupancy[size_t(s->CellIndex(1, 0))] = &stranger;
    s->FloodFillCosts(0, 0, s->Players[0]);
    EXPECT_EQ(MoveCostRow(*s, 0), (std::vector<int>{0, 255, 30, 40}));

    Data::TDynamicArray<TField> exits;
    exits.Add({1, 0});
    exits.Add({3, 3});
    exits.Add({-1, -1});
    s->FloodFillCostsFromCells(exits, s->Players[0]);
    EXPECT_EQ(MoveCostRow(*s, 3), (std::vector<int>{30, 20, 10, 0}));
    EXPECT_EQ(MoveCostRow(*s, 0), (std::vector<int>{45, 255, 35, 30}));
}

TEST_F(TPathFinding, PathFollowsTheCheapestWayRoundTheWall) {
    auto s = MakeTextMapScenario(WallMap);
    s->FloodFillCosts(0, 0, s->Players[0]);
    ASSERT_EQ(s->BuildPath(0, 0, s->Players[0], 0, 7), 7);
    EXPECT_EQ(PathCells(*s, 7),
              (std::vector<TPathCell>{{1, 1}, {2, 2}, {3, 3}, {4, 2}, {5, 1}, {6, 0}, {7, 0}}));
    EXPECT_EQ(s->BuildPath(0, 0, s->Players[0], 0, 0), 0);
    EXPECT_EQ(s->BuildPath(0, 0, s->Players[0], 0, 3), -1);

    // From the fill's start, counting it.
    ASSERT_EQ(s->BuildPathTo(7, 0, s->Players[0]), 8);
    EXPECT_EQ(PathCells(*s, 2), (std::vector<TPathCell>{{0, 0}, {1, 1}}));
    EXPECT_EQ(s->BuildPathTo(0, 0, s->Players[0]), 1);
}

TEST_F(TPathFinding, EqualTotalsGoThroughTheEarlierNeighbour) {
    // Into (2, 1) from north-west (1, 0) and from west (1, 1) both total 25.
    auto s = MakeTextMapScenario({"....", "....", "....", "...."});
    s->FloodFillCosts(0, 0, s->Players[0]);
    ASSERT_EQ(s->BuildPath(0, 0, s->Players[0], 1, 2), 2);
    EXPECT_EQ(PathCells(*s, 2), (std::vector<TPathCell>{{1, 0}, {2, 1}}));
}

TEST_F(TPathFinding, TargetsOffTheMapAreUnreachable) {
    auto s = MakeTextMapScenario(WallMap);
    s->FloodFillCosts(0, 0, s->Players[0]);
    const std::pair<int, int> targets[] = {{-1, -1}, {8, 0}, {0, 4}, {-1, 2}, {32767, 32767}};
    for (const auto& [x, y] : targets) {
        SCOPED_TRACE(testing::Message() << x << ", " << y);
        EXPECT_EQ(s->BuildPath(0, 0, s->Players[0], y, x), -1);
        EXPECT_EQ(s->BuildPath(x, y, s->Players[0], 0, 7), -1);
        EXPECT_EQ(s->BuildPathTo(x, y, s->Players[0]), -1);
        int outX = 5, outY = 5;
        EXPECT_FALSE(s->ReachableCellTowardsTarget(x, y, outY, outX, 1000, 0, 0));
        EXPECT_EQ(outX, -1);
        EXPECT_EQ(outY, -1);
        EXPECT_FALSE(s->IsCellReachable(x, y));
        EXPECT_FALSE(s->HeightStepAllowed(0, 0, y, x));
        EXPECT_EQ(s->TravelDistance(0, 0, 500, s->Players[0], y, x), 500);
    }
    // A fill from off the map reaches nothing.
    s->FloodFillCosts(-1, -1, s->Players[0]);
    EXPECT_EQ(MoveCostRow(*s, 0), std::vector<int>(8, 255));
    s->FillDistanceMap(-1, -1, 77, s->Players[0]);
    EXPECT_EQ(s->DistanceAt(0, 0), 77);
}

TEST_F(TPathFinding, ReachableCellIsTheLastOneTheBudgetPays) {
    struct TCase {
        int Budget;
        bool Found;
        int X, Y;
    };
    const TCase cases[] = {
        {100, true, 7, 0}, // the target itself
        {99, true, 6, 0},  {50, true, 3, 3},    {45, true, 3, 3},
        {44, true, 2, 2},  {14, false, -1, -1}, // the descent arrives home first
    };
    auto s = MakeTextMapScenario(WallMap);
    s->FloodFillCosts(0, 0, s->Players[0]);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Budget);
        int x = 0, y = 0;
        EXPECT_EQ(s->ReachableCellTowardsTarget(7, 0, y, x, c.Budget, 0, 0), c.Found);
        EXPECT_EQ(x, c.X);
        EXPECT_EQ(y, c.Y);
    }
    int x = 0, y = 0;
    EXPECT_FALSE(s->ReachableCellTowardsTarget(3, 0, y, x, 1000, 0, 0)); // the wall
}

TEST_F(TPathFinding, DistancesIgnoreOccupantsAndNeverWrap) {
    auto s = MakeTextMapScenario(WallMap);
    TStranger stranger(s.get());
    s->Occupancy[size_t(s->CellIndex(1, 0))] = &stranger;
    s->FillDistanceMap(0, 0, INT32_MAX, s->Players[0]);
    for (int y = 0; y < s->Height; ++y)
        for (int x = 0; x < s->Width; ++x) {
            const int expected = WallMapCosts[size_t(y)][size_t(x)];
            EXPECT_EQ(s->DistanceAt(x, y), expected == 255 ? INT32_MAX : expected)
                << x << ", " << y;
        }
    EXPECT_EQ(s->TravelDistance(0, 0, 60, s->Players[0], 3, 4), 55);
    EXPECT_EQ(s->DistanceAt(4, 2), 60);
    EXPECT_EQ(s->DistanceAt(7, 0), 60);
    EXPECT_EQ(s->DistanceAt(1, 3), 35);
    EXPECT_EQ(s->TravelDistance(0, 0, -5, s->Players[0], 0, 0), 0);
}

TEST_F(TPathFinding, NearestReachableCellSkipsOccupiedAndUnreachedCells) {
    auto s = MakeTextMapScenario(WallMap);
    TStranger stranger(s.get());
    s->FloodFillCosts(0, 0, s->Players[0]);
    s->Occupancy[size_t(s->CellIndex(2, 0))] = &stranger;
    int x = 3, y = 0; // the wall; of its neighbours (2, 0) is held and (3, 1) is wall
    ASSERT_TRUE(s->FindNearestReachableCell(x, y));
    EXPECT_EQ(x, 4);
    EXPECT_EQ(y, 0);
    x = 3, y = 1; // (2, 1) and (4, 1) are as near: the first in row order wins
    ASSERT_TRUE(s->FindNearestReachableCell(x, y));
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 1);
    s->FloodFillCosts(-1, -1, nullptr);
    EXPECT_FALSE(s->FindNearestReachableCell(x, y));
}

// The cheapest totals by a plain Dijkstra from the given cells, capped at 200.
std::vector<int> DijkstraCosts(const TScenario& s, const std::vector<TField>& starts,
                               const TPlayer* player) {
    std::vector<int> best(s.Costs.size(), INT_MAX);
    using TEntry = std::pair<int, int>;
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> open;
    for (const TField& start : starts) {
        best[size_t(s.CellIndex(start.X, start.Y))] = 0;
        open.push({0, s.CellIndex(start.X, start.Y)});
    }
    while (!open.empty()) {
        const auto [cost, cell] = open.top();
        open.pop();
        if (cost > best[size_t(cell)])
            continue;
        const int x = cell % s.Width, y = cell / s.Width;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if ((dx == 0 && dy == 0) || !s.IsCellOnMap(x + dx, y + dy))
                    continue;
                const int total = cost + StepCost(s, x, y, player, x + dx, y + dy);
                const int next = s.CellIndex(x + dx, y + dy);
                if (total <= 200 && total < best[size_t(next)]) {
                    best[size_t(next)] = total;
                    open.push({total, next});
                }
            }
    }
    for (int& cost : best)
        cost = cost == INT_MAX ? 255 : cost;
    return best;
}

// The fill against a plain Dijkstra on large maps of every kind of step, from one
// cell and from several, round strangers and through the player's own groups: the
// queue never overflows and every cell gets its cheapest total.
TEST_F(TPathFinding, LargeFillsMatchDijkstra) {
    enum TKind { Noise, Hills };
    struct TCase {
        TKind Kind;
        int Side;
        int CostSpread;
    };
    std::mt19937 random(20);
    for (const TCase c :
         {TCase{Noise, 128, 3}, TCase{Noise, 128, 30}, TCase{Noise, 128, 30}, TCase{Hills, 32, 4},
          TCase{Hills, 64, 4}, TCase{Hills, 128, 4}, TCase{Hills, 128, 20}, TCase{Hills, 100, 2}}) {
        auto s = MakeTextMapScenario(TTextRows(size_t(c.Side), std::string(size_t(c.Side), '.')));
        for (int y = 0; y < c.Side; ++y)
            for (int x = 0; x < c.Side; ++x) {
                const size_t i = size_t(s->CellIndex(x, y));
                // Rolling hills with cliffs where the slope wraps round, or plain noise.
                s->Heights[i] = c.Kind == Hills
                                    ? int16_t((x * 7 + y * 3) % 60 + (x * y) % 11 + random() % 8)
                                    : int16_t(random() % 50);
                s->Costs[i] = random() % 8 == 0
                                  ? 255
                                  : uint8_t((c.Kind == Noise ? 0 : 1) + random() % c.CostSpread);
            }
        std::vector<std::unique_ptr<TMapObject>> occupants;
        for (int i = 0; i < c.Side * c.Side / 40; ++i) {
            // Strangers block; the player's own groups let it through.
            std::unique_ptr<TMapObject> occupant;
            if (i % 3 == 0) {
                auto own = std::make_unique<TGroup>(s.get());
                own->OwnerIndex = 0;
                occupant = std::move(own);
            } else {
                occupant = std::make_unique<TStranger>(s.get());
            }
            s->Occupancy[random() % s->Occupancy.size()] = occupant.get();
            occupants.push_back(std::move(occupant));
        }
        const int centre = c.Side / 2;
        s->Costs[size_t(s->CellIndex(centre, centre))] = 1;
        s->Occupancy[size_t(s->CellIndex(centre, centre))] = nullptr;
        s->FloodFillCosts(centre, centre, s->Players[0]);
        const std::vector<int> one =
            DijkstraCosts(*s, {{int16_t(centre), int16_t(centre)}}, s->Players[0]);
        for (size_t i = 0; i < one.size(); ++i)
            ASSERT_EQ(s->MoveCosts[i], one[i]) << "side " << c.Side << ", cell " << i;
        // Each expanded cell queues each neighbour at most once.
        EXPECT_LE(s->FillBuckets.Peak(), 8 * c.Side * c.Side);

        Data::TDynamicArray<TField> exits;
        std::vector<TField> open;
        for (int i = 0; i < 6; ++i) {
            const TField field{int16_t(random() % uint32_t(c.Side)),
                               int16_t(random() % uint32_t(c.Side))};
            exits.Add(field);
            if (!s->Occupancy[size_t(s->CellIndex(field.X, field.Y))] ||
                MayPassOccupant(s->Players[0],
                                s->Occupancy[size_t(s->CellIndex(field.X, field.Y))]))
                open.push_back(field);
        }
        exits.Add(exits[0]); // listed twice
        s->FloodFillCostsFromCells(exits, s->Players[0]);
        const std::vector<int> several = DijkstraCosts(*s, open, s->Players[0]);
        for (size_t i = 0; i < several.size(); ++i)
            ASSERT_EQ(s->MoveCosts[i], several[i]) << "side " << c.Side << ", cell " << i;
    }
}
