// How a group shows on the map: its leader's sprite or its camp, the selection
// marker in the owner's colour, the corners around a selected camp, the unit-count
// badge (inside the top-left corner in a bitmap, on the bottom-left corner on the
// map's surface) with the owner's status bars beside it, and the caption.
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/CentredText.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>

namespace GameData {

namespace {

constexpr int FirstCornerSprite = 1; // top-left, top-right, bottom-left, bottom-right
constexpr int FirstMarkerSprite = 5; // by owner index 0 to 4
constexpr int FirstPitchedCampSprite = 1034;
constexpr int FirstSettingUpCampSprite = 1039;
constexpr int BadgeSheetSprite = 1111;
constexpr int CampStyleCount = 5;
constexpr int DamageFont = 2; // the small text

Gfx::TSprite* CommonSprite(int index) {
    return Data2::GlobalData ? Data2::GlobalData->CommonSprites[index] : nullptr;
}

Gfx::TSprite* CampSprite(int first, int style) {
    return style >= 0 && style < CampStyleCount ? CommonSprite(first + style) : nullptr;
}

bool IsCamped(int32_t state) {
    return state != csNone;
}

// Draws through one of the two targets; x, y are the frame's top-left in the target.
using TDrawCall = void (*)(void* target, Gfx::TSprite* sprite, int frame, int x, int y,
                           const RECT* clip);

void DrawIntoSurface(void* target, Gfx::TSprite* sprite, int frame, int x, int y,
                     const RECT* clip) {
    Gfx::DrawSprite(sprite, static_cast<Win32::IDirectDrawSurface7*>(target), frame, x, y, clip);
}

void DrawIntoBitmap(void* target, Gfx::TSprite* sprite, int frame, int x, int y, const RECT* clip) {
    Gfx::DrawSpriteToBitmap(sprite, static_cast<ClassLib::TBitmap*>(target), frame, x, y, clip);
}

RECT ToTarget(const RECT& r, int viewX, const RECT& clip, int viewY) {
    const int dx = clip.left - viewX;
    const int dy = clip.top - viewY;
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

} // namespace

Gfx::TSprite* TGroup::GetSprite() const {
    const TUnit* leader = GetLeader();
    if (!leader)
        return nullptr;
    const int facing = Facing % UnitDirectionCount;
    if (AllUnitsDead() || AnimState == asDying || Activity == gaRemoveDead)
        return leader->Sprite(usMapDying, facing);
    if (CampState == csPitched)
        return CampSprite(FirstPitchedCampSprite, CampStyle);
    if (CampState == csSettingUp || CampState == csPacking)
        return CampSprite(FirstSettingUpCampSprite, CampStyle);
    if (AnimState == asCast)
        return leader->Sprite(usMapCasting, facing);
    if (AnimState == asWalkTurn || AnimState == asWalk)
        return leader->Sprite(usMapWalking, facing);
    return leader->Sprite(usMapStanding, facing);
}

int TGroup::GetFrame() const {
    const bool dying = AnimState == asDying || Activity == gaRemoveDead;
    if (dying) {
        const TUnit* leader = GetLeader();
        if (leader && !leader->IsDead())
            return 0;
    }
    return Frame;
}

RECT TGroup::GetBounds() const {
    const int reach = IsCamped(CampState) ? 60 : 20;
    return {X - reach, Y - reach, X + reach + 1, Y + reach + 1};
}

Gfx::TSprite* TGroup::GetMarkerSprite() const {
    return CommonSprite(FirstMarkerSprite + (OwnerIndex < MaxPlayers ? OwnerIndex : 0));
}

RECT TGroup::GetMarkerBounds() const {
    if (IsCamped(CampState))
        return GetBounds();
    const Gfx::TSprite* marker = GetMarkerSprite();
    if (!marker)
        return {};
    const int left = X - marker->HotSpotX;
    const int top = Y - marker->HotSpotY;
    return {left, top, left + marker->Width, top + marker->Height};
}

namespace {

void DrawGroupMarker(const TGroup& group, void* target, TDrawCall draw, int viewX, const RECT& clip,
                     int viewY) {
    Gfx::TSprite* marker = group.GetMarkerSprite();
    if (!group.Selected || IsCamped(group.CampState) || !marker || marker->FrameCount() == 0 ||
        !group.IntersectsRect(VisibleMapRect(viewX, clip, viewY)))
        return;
    const uint32_t ticks = group.Scenario ? group.Scenario->FrameCounter : 0;
    const int frame = int((ticks / 10) % uint32_t(marker->FrameCount()));
    draw(target, marker, frame, group.X - marker->HotSpotX + clip.left - viewX,
         group.Y - marker->HotSpotY + clip.top - viewY, &clip);
}

void DrawBadge(const TGroup& group, void* target, TDrawCall draw, const RECT& box, const RECT& clip,
               bool atTop) {
    Gfx::TSprite* sheet = CommonSprite(BadgeSheetSprite);
    const int count = group.UnitCount();
    if (!sheet || count == 0)
        return;
    const int width = Data2::GlobalData->BadgeCellWidth;
    const int height = Data2::GlobalData->BadgeCellHeight;
    const TPlayer* owner = group.GetOwner();
    const int row = owner && owner->Color < MaxPlayers ? owner->Color : 0;
    const int left = atTop ? box.left + 2 : box.left;
    const int top = atTop ? box.top + 2 : box.bottom - height;
    // The sheet is drawn shifted so that the wanted cell lands on the badge, and
    // clipped to that cell.
    const RECT cell = Win32::Intersect(RECT{left, top, left + width, top + height}, clip);
    if (Win32::IsEmpty(cell))
        return;
    draw(target, sheet, 0, left - (count - 1) * width, top - row * height, &cell);
}

// A black frame four pixels high around a two-pixel bar: dark, and light over the
// share value / maximum (at most all of it).
void DrawStatusBar(Win32::IDirectDrawSurface7* target, int left, int right, int top, int32_t value,
                   int32_t maximum, uint32_t dark, uint32_t light, const RECT& clip) {
    const int width = right - left;
    if (width < 3)
        return;
    Gfx::FrameRect(target, left, top, width, 4, 0, &clip);
    Gfx::FillRect(target, left + 1, top + 1, width - 2, 2, Gfx::PackColor565(dark), &clip);
    const int64_t share =
        maximum > 0 && value > 0 ? int64_t(width - 2) * std::min(value, maximum) / maximum : 0;
    Gfx::FillRect(target, left + 1, top + 1, int32_t(share), 2, Gfx::PackColor565(light), &clip);
}

// Wounds of the same age, in any unit, show as one number that rises and fades as it
// ages, the oldest drawn first.
void DrawFloatingDamage(const TGroup& group, Win32::IDirectDrawSurface7* target, int viewX,
                        const RECT& clip, int viewY) {
    const Gfx::TFont* font = Data2::GlobalData ? Data2::GlobalData->UIFonts[DamageFont] : nullptr;
    if (!font)
        return;
    std::map<int32_t, int64_t, std::greater<>> damageByAge;
    for (int i = 0; i < group.UnitCount(); ++i)
        for (const TWoundInfo& wound : group.UnitAt(i)->Wounds)
            damageByAge[wound.Age] += wound.Damage;
    const int x = group.X - viewX + clip.left;
    for (const auto& [age, damage] : damageByAge) {
        const int y = group.Y - HalfCell - age / 10 - viewY + clip.top;
        const uint32_t red = uint32_t(std::clamp(255 - age / 2, 0, 255));
        DrawTextCentred(font, target, x, clip, y, std::to_string(damage), red << 16);
    }
}

void DrawGroupOverlays(const TGroup& group, void* target, TDrawCall draw, int viewX,
                       const RECT& clip, int viewY, bool onSurface) {
    if (!group.IntersectsRect(VisibleMapRect(viewX, clip, viewY)))
        return;
    const RECT box = ToTarget(group.GetBounds(), viewX, clip, viewY);
    if (group.Selected && IsCamped(group.CampState))
        for (int corner = 0; corner < 4; ++corner) {
            Gfx::TSprite* sprite = CommonSprite(FirstCornerSprite + corner);
            if (!sprite)
                continue;
            const int x = corner % 2 ? box.right - sprite->Width : box.left;
            const int y = corner / 2 ? box.bottom - sprite->Height : box.top;
            draw(target, sprite, 0, x, y, &clip);
        }
    DrawBadge(group, target, draw, box, clip, !onSurface);
    if (!onSurface)
        return;
    auto* surface = static_cast<Win32::IDirectDrawSurface7*>(target);
    DrawFloatingDamage(group, surface, viewX, clip, viewY);
    // The viewer's own groups show how much they have left.
    const TPlayer* owner = group.GetOwner();
    if (!owner || !group.Scenario || group.Scenario->ViewingPlayer() != owner)
        return;
    const int left = box.left + (Data2::GlobalData ? Data2::GlobalData->BadgeCellWidth : 0);
    DrawStatusBar(surface, left, box.right, box.bottom - 7, group.LowestActionPoints(),
                  group.LowestMaxActionPoints(), 0x5B7F4F, 0xB6FF9F, clip);
    DrawStatusBar(surface, left, box.right, box.bottom - 10, group.MovingHitPoints(),
                  group.MovingMaxHitPoints(), 0x7B504B, 0xF7A096, clip);
    if (group.MovingMaxMana() > 0)
        DrawStatusBar(surface, left, box.right, box.bottom - 4, group.MovingMana(),
                      group.MovingMaxMana(), 0x4E537E, 0x9DA7FC, clip);
}

} // namespace

void TGroup::DrawMarkerToBitmap(ClassLib::TBitmap* target, int viewX, const RECT& clip, int viewY) {
    DrawGroupMarker(*this, target, DrawIntoBitmap, viewX, clip, viewY);
}

void TGroup::DrawMarker(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                        int viewY) {
    DrawGroupMarker(*this, target, DrawIntoSurface, viewX, clip, viewY);
}

void TGroup::DrawOverlaysToBitmap(ClassLib::TBitmap* target, int viewX, const RECT& clip,
                                  int viewY) {
    DrawGroupOverlays(*this, target, DrawIntoBitmap, viewX, clip, viewY, false);
}

void TGroup::DrawOverlays(Win32::IDirectDrawSurface7* target, int viewX, const RECT& clip,
                          int viewY) {
    DrawGroupOverlays(*this, target, DrawIntoSurface, viewX, clip, viewY, true);
}

void TGroup::UpdateCaption() {
    const TPlayer* viewer = Scenario ? Scenario->ViewingPlayer() : nullptr;
    const TPlayer* owner = GetOwner();
    const int relation = viewer && owner ? viewer->GetRelation(owner) : RelationNone;
    const char* caption = "Group";
    if (relation == RelationSelf)
        caption = "Your group";
    else if (relation == reEnemy)
        caption = "Enemy group";
    else if (relation == reNeutral)
        caption = "Neutral group";
    else if (relation == reFriendly)
        caption = "Friendly group";
    AnsiString name = AnsiString(caption) + ":\n";
    for (int i = 0; i < UnitCount(); ++i) {
        if (i > 0)
            name += ", ";
        name += Units[size_t(i)]->DisplayName();
    }
    Name = name;
}

} // namespace GameData
