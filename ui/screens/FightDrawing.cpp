// One frame of the fight screen.
#include "engine/core/Sorting.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXWinHost.h"
#include "game/spells/SpellVisual.h"
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/CentredText.h"
#include "game/world/players/Player.h"
#include "game/world/units/Unit.h"
#include "ui/game/Game.h"
#include "ui/game/MapWindow.h"
#include "ui/screens/FightDialog.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>
#include <string>
#include <vector>

namespace Main {

namespace {

using GameData::TBattleCommand;
using GameData::TUnit;

constexpr int AttackBeamSprite = 1050, OtherBeamSprite = 1051, SelfSpellSprite = 1052;
constexpr int BadgeSheetSprite = 1111;
constexpr int BeamMode = 3;
// Interface fonts: the status line and the damage numbers.
constexpr int StatusFont = 6, DamageFont = 5;
constexpr int MaxBadgeRows = 5;

bool HasFrame(const Gfx::TSprite* sprite, int frame) {
    return sprite && frame >= 0 && frame < sprite->FrameCount();
}

GameData::TUnitSpriteSet SetOfAnim(int anim) {
    switch (anim) {
    case faWalking:
        return GameData::usBattleAnimation1;
    case faStriking:
        return GameData::usBattleAttack;
    case faCasting:
        return GameData::usBattleSpellCast;
    case faDying:
    case faDead:
    case faFlinching:
        return GameData::usBattleDeath;
    default:
        return GameData::usBattleIdle;
    }
}

Win32::RECT Overlap(const Win32::RECT& a, const Win32::RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

} // namespace

Win32::IDirectDrawSurface7* TFightDialog::BattlePicture() const {
    const TMapWindow* map = FGame.MapWindow();
    return map ? map->RenderSurface() : nullptr;
}

bool TFightDialog::BadgeCell(int slot, int& column, int& row) const {
    if (!Battle.IsValidSlot(slot))
        return false;
    const bool attacker = slot < GameData::FirstDefenderSlot;
    column = attacker ? slot : slot - GameData::FirstDefenderSlot;
    const GameData::TGroup* group = attacker ? FAttacker : FDefender;
    const GameData::TPlayer* owner = group ? group->GetOwner() : nullptr;
    row = owner && owner->Color < MaxBadgeRows ? owner->Color : 0;
    return true;
}

void TFightDialog::DrawBadge(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip, int slot,
                             int x, int y) const {
    Gfx::TSprite* sheet = CommonSprite(BadgeSheetSprite);
    const int width = Data2::GlobalData ? Data2::GlobalData->BadgeCellWidth : 0;
    const int height = Data2::GlobalData ? Data2::GlobalData->BadgeCellHeight : 0;
    int column = 0, row = 0;
    if (!HasFrame(sheet, 0) || width <= 0 || height <= 0 || !BadgeCell(slot, column, row))
        return;
    // The whole sheet is drawn shifted so that the cell lands at (x, y), clipped to it.
    const Win32::RECT cell = Overlap({x, y, x + width, y + height}, clip);
    if (cell.right <= cell.left || cell.bottom <= cell.top)
        return;
    Gfx::DrawSprite(sheet, target, 0, x - column * width, y - row * height, &cell);
}

void TFightDialog::DrawPlannedCommands(Win32::IDirectDrawSurface7* target, int firstSlot) const {
    const uint32_t animated = DXWin::ApplicationClock() / 50;
    for (int slot = firstSlot; slot < firstSlot + GameData::SideSlotCount; ++slot) {
        const GameData::TCombatantSlot& command = Battle.Slots[size_t(slot)];
        const TUnitData& unit = Units[size_t(slot)];
        if (!Battle.IsValidSlot(slot) || unit.Anim == faDead || command.Command == GameData::bcNone)
            continue;
        const int target_ = command.TargetSlot;
        if (!Battle.IsValidSlot(target_))
            continue;
        const bool lit = slot == SelectedSlot || slot == HoverSlot;
        const int x = FieldLeft + unit.X, y = FieldTop + unit.Y;
        if (command.Command == GameData::bcCastSpell && target_ == slot) {
            Gfx::TSprite* sprite = CommonSprite(SelfSpellSprite);
            if (Phase >= fpResolveGuards || !sprite || sprite->FrameCount() <= 0)
                continue;
            const int frame = lit ? int(animated % uint32_t(sprite->FrameCount())) : 0;
            Gfx::DrawSpriteTransformed(sprite, target, frame, x, y, 0.0f, 0.8f, 1.0f);
            continue;
        }
        Gfx::TSprite* beam = CommonSprite(command.Command == GameData::bcAttack ? AttackBeamSprite
                                                                                : OtherBeamSprite);
        if (!beam || beam->FrameCount() <= 0)
            continue;
        const int frame = lit ? int(animated % uint32_t(beam->FrameCount())) : 0;
        const TUnitData& aim = Units[size_t(target_)];
        Gfx::DrawSpriteBeam(beam, frame, FieldLeft + aim.X, FieldTop + aim.Y, x, y, BeamMode);
    }
}

void TFightDialog::ChooseCurrentSprites() {
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        TUnitData& data = Units[size_t(slot)];
        const TUnit* unit = Battle.UnitAt(slot);
        data.CurrentSprite =
            unit ? unit->Sprite(SetOfAnim(data.Anim), data.Direction & 7) : nullptr;
    }
}

void TFightDialog::DrawSelectionMarker(Win32::IDirectDrawSurface7* target, int slot) const {
    if (!Battle.IsValidSlot(slot))
        return;
    const GameData::TGroup* group = slot < GameData::FirstDefenderSlot ? FAttacker : FDefender;
    Gfx::TSprite* marker = group ? group->GetMarkerSprite() : nullptr;
    if (!marker || marker->FrameCount() <= 0)
        return;
    const TUnitData& unit = Units[size_t(slot)];
    Gfx::DrawSpriteTransformed(marker, target,
                               int((TotalTicks / 10) % uint32_t(marker->FrameCount())),
                               FieldLeft + unit.X, FieldTop + unit.Y, 0.0f, 1.6f, 2.0f);
}

void TFightDialog::DrawFighters(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip) {
    std::vector<TUnitData*> order;
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot)
        if (Battle.IsValidSlot(slot))
            order.push_back(&Units[size_t(slot)]);
    Data::QuickSort(order.data(), int(order.size()), [](const TUnitData* a, const TUnitData* b) {
        return CompareDrawOrder(*a, *b) ? -1 : CompareDrawOrder(*b, *a) ? 1 : 0;
    });
    for (const TUnitData* unit : order) {
        Gfx::TSprite* sprite = unit->CurrentSprite;
        if (!HasFrame(sprite, unit->Frame))
            continue;
        Gfx::DrawSprite(sprite, target, unit->Frame, FieldLeft + unit->X - sprite->HotSpotX,
                        FieldTop + unit->Y - sprite->HotSpotY, &clip);
    }
}

void TFightDialog::DrawDamageNumbers(Win32::IDirectDrawSurface7* target,
                                     const Win32::RECT& clip) const {
    const Gfx::TFont* font = InterfaceFont(DamageFont);
    if (!font)
        return;
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        const TUnit* unit = Battle.UnitAt(slot);
        if (!unit)
            continue;
        const TUnitData& data = Units[size_t(slot)];
        const auto& wounds = unit->Wounds;
        // Blows of one moment show as one number, the newest first.
        for (int i = wounds.Count() - 1; i >= 0;) {
            const int32_t age = wounds[i].Age;
            int64_t damage = 0;
            for (; i >= 0 && wounds[i].Age == age; --i)
                damage += wounds[i].Damage;
            const uint32_t red = uint32_t(std::clamp(255 - age / 2, 0, 255));
            GameData::DrawTextCentred(font, target, FieldLeft + data.X, clip,
                                      FieldTop + data.Y - 70 - age / 10, std::to_string(damage),
                                      red << 16);
        }
    }
}

void TFightDialog::Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
    if (Background) {
        if (FightAnimation && FightAnimation->FrameCount() > 0) {
            const int frame = int((PhaseTicks / 10) % uint32_t(FightAnimation->FrameCount()));
            Gfx::DrawSprite(FightAnimation, target, frame, FightX - FightAnimation->Width / 2,
                            FightY - FightAnimation->Height / 2, &bounds);
        }
        return;
    }
    if (!FAttacker || !FDefender)
        return;
    if (Win32::IDirectDrawSurface7* picture = BattlePicture()) {
        Win32::RECT whole{0, 0, 800, 600};
        Win32::RECT onScreen{bounds.left, bounds.top, bounds.left + 800, bounds.top + 600};
        target->Blt(&onScreen, picture, &whole, Win32::DDBLT_WAIT, nullptr);
    }
    const int left = bounds.left, top = bounds.top;
    if (const GameData::TPlayer* owner = FAttacker->GetOwner())
        if (Gfx::TSprite* sprite = owner->GetPlayerSprite(); HasFrame(sprite, 0))
            Gfx::DrawSprite(sprite, target, 0, left + 5, top + 5, &bounds);
    if (const GameData::TPlayer* owner = FDefender->GetOwner())
        if (Gfx::TSprite* sprite = owner->GetPlayerSprite(); HasFrame(sprite, 0))
            Gfx::DrawSprite(sprite, target, 0, left + 795 - sprite->Width, top + 5, &bounds);
    if (const Gfx::TFont* font = InterfaceFont(StatusFont); font && !StatusText.empty())
        GameData::DrawTextCentred(font, target, left + 400, bounds, top + 20, StatusText, 0xFFFFFF);

    // A side never sees the other's commands while they are being chosen.
    if ((Phase >= fpAttackerCommands && AttackerIsLocal()) || Phase > fpDefenderCommands)
        DrawPlannedCommands(target, 0);
    if ((Phase == fpDefenderCommands && DefenderIsLocal()) || Phase > fpDefenderCommands)
        DrawPlannedCommands(target, GameData::FirstDefenderSlot);

    ChooseCurrentSprites();
    DrawSelectionMarker(target, SelectedSlot);
    if (HoverSlot != SelectedSlot)
        DrawSelectionMarker(target, HoverSlot);
    DrawFighters(target, bounds);
    if (CurrentSpell && CurrentSpell->Started)
        CurrentSpell->DrawSpellEffects(target, FieldLeft, bounds, FieldTop);

    const int badgeWidth = Data2::GlobalData ? Data2::GlobalData->BadgeCellWidth : 0;
    for (int slot = 0; slot < GameData::BattleSlotCount; ++slot) {
        if (!Battle.IsSlotAlive(slot))
            continue;
        const TUnitData& unit = Units[size_t(slot)];
        const int x = slot < GameData::FirstDefenderSlot ? unit.X - 30 : unit.X + 30 - badgeWidth;
        DrawBadge(target, bounds, slot, FieldLeft + x, FieldTop + unit.Y - 40);
    }
    DrawDamageNumbers(target, bounds);
    TVRNWindow::Draw(target, bounds);
}

bool TFightDialog::CompareDrawOrder(const TUnitData& a, const TUnitData& b) {
    const auto fallen = [](const TUnitData& u) { return u.Anim == faDying || u.Anim == faDead; };
    if (fallen(a) != fallen(b))
        return fallen(a);
    if (a.Y != b.Y)
        return a.Y < b.Y;
    return a.X > b.X;
}

} // namespace Main
