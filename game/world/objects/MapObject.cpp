#include "game/world/objects/MapObject.h"

#include "engine/graphics/SpriteDrawing.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

void TMapObject::LoadFromStream(TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Data::CheckData(stream->ReadValue<uint16_t>() == Kind);
    X = stream->ReadValue<int16_t>();
    Y = stream->ReadValue<int16_t>();
    Layer = stream->ReadValue<int16_t>();
}

void TMapObject::SaveToStream(TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteValue(Kind);
    stream->WriteValue(X);
    stream->WriteValue(Y);
    stream->WriteValue(Layer);
}

void TMapObject::Clear() {
    TDataObject::Clear();
    X = 0;
    Y = 0;
    Layer = DefaultLayer;
}

RECT TMapObject::GetBounds() const {
    const Gfx::TSprite* sprite = GetSprite();
    if (!sprite)
        return {};
    const int left = X - sprite->HotSpotX;
    const int top = Y - sprite->HotSpotY;
    return {left, top, left + sprite->Width, top + sprite->Height};
}

bool TMapObject::HitTest(int x, int y) const {
    const RECT r = GetBounds();
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

RECT TMapObject::DrawBounds() const {
    const RECT bounds =
        !Selected && Kind != okGroup ? GetBounds() : UnionRects(GetBounds(), GetMarkerBounds());
    // A figure may reach past its object's bounds (a group's does); all of it must be
    // drawn again when it moves, or its edge stays behind.
    const Gfx::TSprite* sprite = GetSprite();
    if (!sprite)
        return bounds;
    const int left = X - sprite->HotSpotX;
    const int top = Y - sprite->HotSpotY;
    return UnionRects(bounds, {left, top, left + sprite->Width, top + sprite->Height});
}

bool TMapObject::PlaceSprite(int viewX, const RECT& clip, int viewY, int& x, int& y) const {
    const Gfx::TSprite* sprite = GetSprite();
    if (!sprite)
        return false;
    const RECT visible{viewX, viewY, viewX + (clip.right - clip.left),
                       viewY + (clip.bottom - clip.top)};
    if (Win32::IsEmpty(Win32::Intersect(DrawBounds(), visible)))
        return false;
    x = X + clip.left - viewX - sprite->HotSpotX;
    y = Y + clip.top - viewY - sprite->HotSpotY;
    return true;
}

void TMapObject::DrawToBitmap(ClassLib::TBitmap* target, int viewX, const RECT& clip, int viewY) {
    int x = 0;
    int y = 0;
    if (PlaceSprite(viewX, clip, viewY, x, y))
        Gfx::DrawSpriteToBitmap(GetSprite(), target, GetFrame(), x, y, &clip);
}

void TMapObject::Draw(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip, int viewY) {
    int x = 0;
    int y = 0;
    if (PlaceSprite(viewX, clip, viewY, x, y))
        Gfx::DrawSprite(GetSprite(), target, GetFrame(), x, y, &clip);
}

void TMapObject::StoreDrawnState() {
    DrawnBounds = DrawBounds();
    DrawnFrame = GetFrame();
    DrawnSprite = GetSprite();
    DrawnSelected = Selected;
    Invalidated = 0;
}

bool TMapObject::NeedsRedraw() const {
    return Invalidated || DrawnBounds != DrawBounds() || DrawnFrame != GetFrame() ||
           DrawnSprite != GetSprite() || DrawnSelected != Selected;
}

bool TMapObject::IntersectsRect(const RECT& rect) const {
    return !Win32::IsEmpty(Win32::Intersect(DrawBounds(), rect));
}

bool TMapObject::IsOnMap() const {
    return Scenario && Scenario->IsCellOnMap(CellX(), CellY());
}

} // namespace GameData
