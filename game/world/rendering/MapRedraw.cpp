// The retained map view: a short scroll shifts the kept image and draws only the
// uncovered strips, otherwise only the rectangles of changed objects are drawn
// again; anything else starts from scratch.
#include "engine/app/D3DFramework.h"
#include "game/world/cities/City.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace GameData {

namespace {

constexpr size_t DirtyRectCapacity = 1000;

int RectWidth(const RECT& r) {
    return r.right - r.left;
}

int RectHeight(const RECT& r) {
    return r.bottom - r.top;
}

RECT Offset(const RECT& r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

void FillBlack(Win32::IDirectDrawSurface7* target, const RECT& rect) {
    Win32::DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    RECT area = rect;
    target->Blt(&area, nullptr, nullptr, Win32::DDBLT_COLORFILL | Win32::DDBLT_WAIT, &fx);
}

} // namespace

void TScenario::RedrawMapView(Win32::IDirectDrawSurface7* target, int viewX, bool force,
                              int32_t options, const RECT& clip, int viewY) {
    const int dx = viewX - RedrawViewLeft;
    const int dy = viewY - RedrawViewTop;
    const bool keptImageUsable = !force && clip == RedrawClip && options == RedrawOptions &&
                                 std::abs(dx) < RectWidth(clip) && std::abs(dy) < RectHeight(clip);
    // A part's own view is the map pixel at its top-left corner.
    const auto drawPart = [&](const RECT& part) {
        // Where no background tile covers the part, old pixels would stay.
        const RECT tiles = Offset({0, 0, Background.Width * TileSize, Background.Height * TileSize},
                                  clip.left - viewX, clip.top - viewY);
        if (!(options & roBackground) || Win32::Intersect(part, tiles) != part)
            FillBlack(target, part);
        DrawArea(target, viewX + part.left - clip.left, options, part, viewY + part.top - clip.top);
    };
    DirtyRects.clear();
    if (keptImageUsable) {
        if (dx != 0 || dy != 0) {
            ScrollKeptImage(target, viewX, clip, viewY);
            // The uncovered column, then the uncovered row without that column.
            RECT column = clip;
            if (dx > 0)
                column.left = clip.right - dx;
            else
                column.right = clip.left - dx;
            RECT row = clip;
            if (dy > 0)
                row.top = clip.bottom - dy;
            else
                row.bottom = clip.top - dy;
            if (dx > 0)
                row.right = column.left;
            else if (dx < 0)
                row.left = column.right;
            if (dx != 0)
                drawPart(column);
            if (dy != 0 && !Win32::IsEmpty(row))
                drawPart(row);
        }
        if (options & roObjects) {
            CollectDirtyRects(viewX, clip, viewY);
            for (const RECT& rect : DirtyRects)
                drawPart(rect);
        }
    } else {
        D3DFrame::ClearSurface(target);
        DrawArea(target, viewX, options, clip, viewY);
    }
    StoreDrawnStates(viewX, clip, viewY);
    RedrawViewLeft = viewX;
    RedrawViewTop = viewY;
    RedrawClip = clip;
    RedrawOptions = options;
}

void TScenario::ScrollKeptImage(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                                int viewY) {
    const int dx = viewX - RedrawViewLeft;
    const int dy = viewY - RedrawViewTop;
    RECT destination{clip.left + std::max(0, -dx), clip.top + std::max(0, -dy),
                     clip.right - std::max(0, dx), clip.bottom - std::max(0, dy)};
    RECT source = Offset(destination, dx, dy);
    target->Blt(&destination, target, &source, Win32::DDBLT_WAIT, nullptr);
}

void TScenario::AddDirtyRect(RECT rect) {
    if (Win32::IsEmpty(rect))
        return;
    for (size_t i = 0; i < DirtyRects.size();) {
        if (!CanMergeRects(DirtyRects[i], rect)) {
            ++i;
            continue;
        }
        rect = UnionRects(DirtyRects[i], rect);
        DirtyRects[i] = DirtyRects.back();
        DirtyRects.pop_back();
    }
    if (DirtyRects.size() < DirtyRectCapacity)
        DirtyRects.push_back(rect);
    else // a full list still covers everything that changed
        DirtyRects.back() = UnionRects(DirtyRects.back(), rect);
}

void TScenario::CollectDirtyRects(int viewX, const RECT& clip, int viewY) {
    DirtyRects.reserve(DirtyRectCapacity);
    const int dx = clip.left - viewX;
    const int dy = clip.top - viewY;
    const auto add = [&](const RECT& mapRect) {
        AddDirtyRect(Win32::Intersect(Offset(mapRect, dx, dy), clip));
    };
    const RECT keptView = VisibleMapRect(RedrawViewLeft, clip, RedrawViewTop);
    // What the retained image shows, and what may show now.
    FRedrawObjects.assign(FDrawnObjects.begin(), FDrawnObjects.end());
    FObjectIndex.Collect(VisibleMapRect(viewX, clip, viewY), FRedrawObjects);
    SortInDrawOrder(FRedrawObjects);
    for (const TMapObject* object : FRedrawObjects) {
        const bool drawnState =
            TObjectIndex::IsRoaming(*object) ||
            std::binary_search(FDrawnObjects.begin(), FDrawnObjects.end(), object, std::less<>());
        if (!drawnState) // no pixel of it in the retained image: where the image is kept
            add(Win32::Intersect(object->DrawBounds(), keptView));
        else if (object->NeedsRedraw())
            add(UnionRects(object->DrawnBounds, object->DrawBounds()));
        if (object->Kind == okCity) {
            const auto* city = static_cast<const TCity*>(object);
            for (int d = 0; d < city->Decorations.Count(); ++d)
                add(city->GetDecorationBounds(d));
        }
    }
}

void TScenario::StoreDrawnStates(int viewX, const RECT& clip, int viewY) {
    // The objects that left the view keep the state they left with; roaming objects
    // always keep theirs, as their pictures change anywhere.
    for (TMapObject* object : FDrawnObjects)
        object->StoreDrawnState();
    const RECT view = VisibleMapRect(viewX, clip, viewY);
    FRedrawObjects.clear();
    FObjectIndex.Collect(view, FRedrawObjects);
    FDrawnObjects.clear();
    for (TMapObject* object : FRedrawObjects) {
        object->StoreDrawnState();
        if (!TObjectIndex::IsRoaming(*object) && object->IntersectsRect(view))
            FDrawnObjects.push_back(object);
    }
    std::sort(FDrawnObjects.begin(), FDrawnObjects.end(), std::less<>());
}

} // namespace GameData
