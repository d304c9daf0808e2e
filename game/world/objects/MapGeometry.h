// Map geometry shared by the world model: cells of 40 x 40 pixels, maps of up to
// 128 x 128 cells, background tiles of 160 x 160 pixels, and the eight facings
// (0 south, 2 east, 4 north, 6 west; y grows downward).
#pragma once

#include "platform/display/DirectDrawSurface.h"

#include <cstdint>

namespace GameData {

using Win32::RECT;

constexpr int CellSize = 40;
constexpr int HalfCell = CellSize / 2;
constexpr int MaxMapSize = 128;
constexpr int TileSize = 160;

// Neighbour offsets in facing order.
constexpr int NeighbourDX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int NeighbourDY[8] = {1, 1, 0, -1, -1, -1, 0, 1};

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

TPoint SnapToCellCentre(int x, int y);
TPoint CellToPixelCentre(int cx, int cy);
bool IsAtCellCentre(int x, int y);
// Facing from the signs of the difference; equal points give 0.
int DirectionToCell(int x1, int y1, int x2, int y2);
// Facing of the angle between arbitrary points; equal points give 0.
int DirectionBetweenPoints(int x1, int y1, int x2, int y2);

int RectArea(const RECT& r);
// The smallest rectangle holding both; an empty one adds nothing.
RECT UnionRects(const RECT& a, const RECT& b);
// True when joining the two wastes less than a pixel: used to merge dirty rectangles.
bool CanMergeRects(const RECT& a, const RECT& b);
// The map pixels a target's clip shows when (viewX, viewY) is at its top-left corner.
RECT VisibleMapRect(int viewX, const RECT& clip, int viewY);

} // namespace GameData
