#include "game/world/objects/MapGeometry.h"

#include <gtest/gtest.h>

using namespace GameData;

TEST(MapGeometry, CellCentresAndSnapping) {
    EXPECT_EQ(CellToPixelCentre(0, 0), (TPoint{20, 20}));
    EXPECT_EQ(CellToPixelCentre(3, 11), (TPoint{140, 460}));
    EXPECT_EQ(SnapToCellCentre(79, 80), (TPoint{60, 100}));
    EXPECT_TRUE(IsAtCellCentre(60, 100));
    EXPECT_FALSE(IsAtCellCentre(61, 100));
}

TEST(MapGeometry, DirectionToCellFollowsTheNeighbourTables) {
    for (int facing = 0; facing < 8; ++facing)
        EXPECT_EQ(DirectionToCell(5, 5, 5 + NeighbourDX[facing] * 3, 5 + NeighbourDY[facing] * 7),
                  facing);
    EXPECT_EQ(DirectionToCell(4, 4, 4, 4), 0);
}

TEST(MapGeometry, DirectionBetweenPoints) {
    struct TCase {
        int X, Y, Facing;
    } cases[] = {{100, 0, 2}, {0, -100, 4},  {0, 100, 0}, {-100, 0, 6},
                 {70, 70, 1}, {-70, -70, 5}, {0, 0, 0},   {100, -3, 2}};
    for (const TCase& c : cases)
        EXPECT_EQ(DirectionBetweenPoints(0, 0, c.X, c.Y), c.Facing) << c.X << "," << c.Y;
}

TEST(MapGeometry, RectanglesMergeOnlyWithoutWaste) {
    EXPECT_EQ(RectArea({0, 0, 10, 5}), 50);
    EXPECT_EQ(RectArea({10, 0, 0, 5}), 0);
    EXPECT_TRUE(CanMergeRects({0, 0, 10, 10}, {10, 0, 20, 10}));
    EXPECT_TRUE(CanMergeRects({0, 0, 10, 10}, {2, 2, 5, 5}));
    EXPECT_FALSE(CanMergeRects({0, 0, 10, 10}, {20, 20, 30, 30}));
}
