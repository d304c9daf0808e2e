#include "game/world/objects/MapGeometry.h"

#include "engine/core/PortableMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace GameData {

namespace {

int SnapCoordinate(int v) {
    return v - v % CellSize + HalfCell;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

} // namespace

TPoint SnapToCellCentre(int x, int y) {
    return {SnapCoordinate(x), SnapCoordinate(y)};
}

TPoint CellToPixelCentre(int cx, int cy) {
    return {cx * CellSize + HalfCell, cy * CellSize + HalfCell};
}

bool IsAtCellCentre(int x, int y) {
    return SnapToCellCentre(x, y) == TPoint{x, y};
}

int DirectionToCell(int x1, int y1, int x2, int y2) {
    const int sx = Sign(x2 - x1);
    const int sy = Sign(y2 - y1);
    for (int facing = 0; facing < 8; ++facing)
        if (NeighbourDX[facing] == sx && NeighbourDY[facing] == sy)
            return facing;
    return 0;
}

int DirectionBetweenPoints(int x1, int y1, int x2, int y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance == 0)
        return 0;
    // Spell 57 pushes its target this way: every peer must turn the same.
    double angle = Base::PortableAcos(std::clamp(dx / distance, -1.0, 1.0));
    if (y1 - y2 < 0)
        angle = 2 * std::numbers::pi - angle;
    int sector = static_cast<int>(std::lround(angle / (std::numbers::pi / 8)));
    if (sector < 1)
        sector += 16;
    static constexpr int Facings[8] = {3, 4, 5, 6, 7, 0, 1, 2};
    for (int k = 0; k < 8; ++k)
        if (2 * k + 1 <= sector && sector < 2 * k + 3)
            return Facings[k];
    return 0; // not reached: sectors 1 to 16 are all covered
}

int RectArea(const RECT& r) {
    if (Win32::IsEmpty(r))
        return 0;
    return (r.right - r.left) * (r.bottom - r.top);
}

RECT VisibleMapRect(int viewX, const RECT& clip, int viewY) {
    return {viewX, viewY, viewX + (clip.right - clip.left), viewY + (clip.bottom - clip.top)};
}

RECT UnionRects(const RECT& a, const RECT& b) {
    if (Win32::IsEmpty(a))
        return b;
    if (Win32::IsEmpty(b))
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool CanMergeRects(const RECT& a, const RECT& b) {
    return RectArea(UnionRects(a, b)) - RectArea(a) - RectArea(b) < 1;
}

} // namespace GameData
