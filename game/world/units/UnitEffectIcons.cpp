// The unit panel's effect icons: the unit's after-effects in rows of four, growing
// upward from the bottom of the panel.
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/data/GlobalData.h"
#include "game/world/units/Unit.h"

namespace GameData {

namespace {

constexpr int Pitch = 17;
constexpr int PerRow = 4;
constexpr int FirstFamilyFrame = 1132; // spells 1-12, 13-23, 24-35, the rest

int FamilyOf(int32_t kind) {
    const int spell = (kind - 1) % 64 + 1;
    return spell <= 12 ? 0 : spell <= 23 ? 1 : spell <= 35 ? 2 : 3;
}

const Data2::TSpellPrototype* SpellOfKind(const Data2::TGlobalData& global, int32_t kind) {
    if (kind < ekFirstSpell || kind > ekLastSpell)
        return nullptr;
    const int index = global.FindSpell(kind);
    return index >= 0 ? &global.SpellPrototypes[index] : nullptr;
}

} // namespace

void TUnit::DrawEffectIcons(Win32::IDirectDrawSurface7* target, int x, const Win32::RECT& clip,
                            int y) const {
    if (!Data2::GlobalData)
        return;
    const Data2::TGlobalData& global = *Data2::GlobalData;
    int index = 0;
    for (const TAfterEffect* effect : Effects) {
        const Data2::TSpellPrototype* spell = SpellOfKind(global, effect->Kind);
        Gfx::TSprite* icon = effect->Icon;
        if (!icon && spell)
            icon = global.SpellLibrary.FindSprite(uint32_t(spell->IconID));
        if (!icon && !spell)
            continue;
        const int left = x + Pitch * (index % PerRow);
        const int bottom = y + 80 - (Pitch * (index / PerRow) + 6);
        ++index;
        if (spell)
            Gfx::DrawSpriteStretched(
                global.CommonSprites[FirstFamilyFrame + FamilyOf(effect->Kind)], target, 0,
                {left + 3, bottom - 19, left + 25, bottom + 3}, &clip, true);
        Gfx::DrawSpriteStretched(icon, target, 0, {left + 6, bottom - 16, left + 22, bottom}, &clip,
                                 true);
    }
}

} // namespace GameData
