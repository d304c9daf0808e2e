// A city draws no sprite of its own: its decorations in its owner's colour (still,
// then animated in the second pass) and the corners around it while selected.
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

namespace {

constexpr int FirstCornerSprite = 1;
constexpr int FirstDecorationSprite = 1112; // five per kind, one per owner index
constexpr int DecorationSpriteCount = 20;

// An unowned city has no colour and draws no decorations.
Gfx::TSprite* DecorationSprite(uint32_t kind, uint8_t owner) {
    if (!Data2::GlobalData || owner >= MaxPlayers || kind >= DecorationSpriteCount / MaxPlayers)
        return nullptr;
    return Data2::GlobalData->CommonSprites[FirstDecorationSprite + int(kind) * MaxPlayers + owner];
}

template <typename Target, typename DrawCall>
void DrawCorners(const TCity& city, Target* target, int viewX, const RECT& clip, int viewY,
                 DrawCall draw) {
    if (!city.Selected || !Data2::GlobalData)
        return;
    const RECT b = city.GetBounds();
    const int dx = clip.left - viewX;
    const int dy = clip.top - viewY;
    for (int corner = 0; corner < 4; ++corner) {
        Gfx::TSprite* sprite = Data2::GlobalData->CommonSprites[FirstCornerSprite + corner];
        if (!sprite)
            continue;
        const int x = (corner % 2 ? b.right - sprite->Width : b.left) + dx;
        const int y = (corner / 2 ? b.bottom - sprite->Height : b.top) + dy;
        draw(sprite, target, 0, x, y, &clip);
    }
}

} // namespace

RECT TCity::GetDecorationBounds(int index) const {
    const TCityDecoration& decoration = Decorations[index];
    const Gfx::TSprite* sprite = DecorationSprite(decoration.Kind, Owner);
    if (!sprite)
        return {};
    const int left = X + decoration.DX - sprite->HotSpotX;
    const int top = Y + decoration.DY - sprite->HotSpotY;
    return {left, top, left + sprite->Width, top + sprite->Height};
}

void TCity::DrawDecorations(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                            int viewY, bool animated) {
    const uint32_t ticks = Scenario ? Scenario->FrameCounter : 0;
    for (int i = 0; i < Decorations.Count(); ++i) {
        Gfx::TSprite* sprite = DecorationSprite(Decorations[i].Kind, Owner);
        if (!sprite || sprite->DrawableFrameCount() <= 0)
            continue;
        const int frame = animated ? int((ticks / 10 + uint32_t(i) * 577 % 421) %
                                         uint32_t(sprite->DrawableFrameCount()))
                                   : 0;
        const RECT bounds = GetDecorationBounds(i);
        Gfx::DrawSprite(sprite, target, frame, bounds.left + clip.left - viewX,
                        bounds.top + clip.top - viewY, &clip);
    }
}

void TCity::Draw(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip, int viewY) {
    TMapObject::Draw(target, viewX, clip, viewY);
    DrawDecorations(target, viewX, clip, viewY, false);
}

void TCity::DrawSecondPass(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                           int viewY) {
    DrawDecorations(target, viewX, clip, viewY, true);
}

void TCity::DrawOverlaysToBitmap(ClassLib::TBitmap* target, int viewX, const RECT& clip,
                                 int viewY) {
    DrawCorners(*this, target, viewX, clip, viewY, Gfx::DrawSpriteToBitmap);
}

void TCity::DrawOverlays(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                         int viewY) {
    DrawCorners(*this, target, viewX, clip, viewY, Gfx::DrawSprite);
}

} // namespace GameData
