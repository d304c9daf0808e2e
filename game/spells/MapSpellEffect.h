// The scenario's map spell: the visual plays, and at its moment of effect the spell
// lands on the target cell.
#pragma once

#include "game/spells/SpellVisual.h"

#include "game/world/spells/SpellEffect.h"

namespace GameData {

class TMapSpellEffect : public TSpellEffect {
public:
    explicit TMapSpellEffect(TScenario& scenario);

    // Binds the record and takes its three sprites from the spell library, loading
    // each now and keeping it loaded for later casts.
    void Acquire(const TSpellCast& cast) override;
    // Touches no library. Stops between its steps when asked; a stopped preparation
    // never takes effect.
    void Prepare(const TSpellCast& cast, const std::function<bool()>& stopRequested) override;
    void Advance() override { Visual.Advance(); }
    void TakeEffect(TScenario& scenario, TUnit* caster) override;
    bool EffectNow() const override { return Visual.EffectNow != 0; }
    bool Finished() const override { return Visual.Finished != 0; }
    uint32_t CasterID() const override { return Visual.CasterID; }
    void Draw(Win32::IDirectDrawSurface7* target, int offsetX, int offsetY,
              const Win32::RECT& clip) override {
        Visual.DrawSpellEffects(target, offsetX, clip, offsetY);
    }

    TSpell Visual;
};

// Casting map spells from groups makes these effects.
void InstallMapSpells(TScenario& scenario);

} // namespace GameData
