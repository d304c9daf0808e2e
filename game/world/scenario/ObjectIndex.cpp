#include "game/world/scenario/ObjectIndex.h"

#include "game/world/objects/Drawings.h"
#include "game/world/objects/MapGeometry.h"

#include <algorithm>

namespace GameData {

bool TObjectIndex::IsRoaming(const TMapObject& object) {
    return object.Kind == okGroup || object.Kind == okCity || object.Kind == okBuilding;
}

RECT TObjectIndex::ReachBounds(const TMapObject& object) {
    // An animation shows nothing until its delay has passed, then its sprite.
    if (object.Kind == okAnimation) {
        const Gfx::TSprite* sprite = static_cast<const TAnimation&>(object).Sprite;
        if (!sprite)
            return object.DrawBounds();
        const int left = object.X - sprite->HotSpotX;
        const int top = object.Y - sprite->HotSpotY;
        return UnionRects(object.DrawBounds(),
                          {left, top, left + sprite->Width, top + sprite->Height});
    }
    return object.DrawBounds();
}

void TObjectIndex::SetMapSize(int width, int height) {
    FColumns = std::max(1, (width + BlockSize - 1) / BlockSize);
    FRows = std::max(1, (height + BlockSize - 1) / BlockSize);
    FBlocks.assign(size_t(FColumns * FRows), {});
    for (auto& [object, span] : FSpans) {
        const RECT reach = ReachBounds(*object);
        span = SpanOf(reach);
        File(object, reach, span);
    }
}

TObjectIndex::TSpan TObjectIndex::SpanOf(const RECT& bounds) const {
    if (Win32::IsEmpty(bounds))
        return {};
    const auto column = [&](int x) {
        return int16_t(std::clamp(x >= 0 ? x / BlockSize : -1, 0, FColumns - 1));
    };
    const auto row = [&](int y) {
        return int16_t(std::clamp(y >= 0 ? y / BlockSize : -1, 0, FRows - 1));
    };
    return {column(bounds.left), row(bounds.top), column(bounds.right - 1), row(bounds.bottom - 1)};
}

void TObjectIndex::File(TMapObject* object, const RECT& reach, const TSpan& span) {
    for (int y = span.Top; y <= span.Bottom; ++y)
        for (int x = span.Left; x <= span.Right; ++x)
            Block(x, y).push_back({object, reach, span.Left, span.Top});
}

void TObjectIndex::Unfile(TMapObject* object, const TSpan& span) {
    for (int y = span.Top; y <= span.Bottom; ++y)
        for (int x = span.Left; x <= span.Right; ++x) {
            auto& block = Block(x, y);
            const auto found = std::find_if(block.begin(), block.end(), [&](const TEntry& entry) {
                return entry.Object == object;
            });
            if (found != block.end()) {
                *found = block.back();
                block.pop_back();
            }
        }
}

void TObjectIndex::Add(TMapObject* object) {
    if (IsRoaming(*object)) {
        FRoaming.push_back(object);
        return;
    }
    const RECT reach = ReachBounds(*object);
    const TSpan span = SpanOf(reach);
    FSpans[object] = span;
    File(object, reach, span);
}

void TObjectIndex::Remove(TMapObject* object) {
    const auto found = FSpans.find(object);
    if (found != FSpans.end()) {
        Unfile(object, found->second);
        FSpans.erase(found);
        return;
    }
    const auto roaming = std::find(FRoaming.begin(), FRoaming.end(), object);
    if (roaming != FRoaming.end())
        FRoaming.erase(roaming);
}

void TObjectIndex::Refile(TMapObject* object) {
    const auto found = FSpans.find(object);
    if (found == FSpans.end())
        return; // roaming, or not filed at all
    const RECT reach = ReachBounds(*object);
    Unfile(object, found->second);
    found->second = SpanOf(reach);
    File(object, reach, found->second);
}

void TObjectIndex::Clear() {
    for (auto& block : FBlocks)
        block.clear();
    FSpans.clear();
    FRoaming.clear();
}

void TObjectIndex::Collect(const RECT& rect, std::vector<TMapObject*>& out) const {
    out.insert(out.end(), FRoaming.begin(), FRoaming.end());
    const TSpan span = SpanOf(rect);
    for (int y = span.Top; y <= span.Bottom; ++y)
        for (int x = span.Left; x <= span.Right; ++x)
            for (const TEntry& entry : FBlocks[size_t(y * FColumns + x)])
                if (std::max<int>(entry.FirstX, span.Left) == x &&
                    std::max<int>(entry.FirstY, span.Top) == y &&
                    !Win32::IsEmpty(Win32::Intersect(entry.Reach, rect)))
                    out.push_back(entry.Object);
}

} // namespace GameData
