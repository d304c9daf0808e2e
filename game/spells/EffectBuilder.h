// An after-effect of a spell's kind, built from the target's current values and
// handed to the unit, which recomputes its statistics.
#pragma once

#include "game/world/units/AfterEffect.h"
#include "game/world/units/Unit.h"

#include <memory>

namespace GameData {

// An after-effect of the spell's kind built from the target's current values.
class TEffectBuilder {
public:
    TEffectBuilder(TUnit& unit, int32_t kind, int32_t duration = 0)
        : FUnit(unit), FEffect(std::make_unique<TAfterEffect>()) {
        FEffect->Kind = kind;
        FEffect->Duration = duration;
    }
    TEffectBuilder& Add(TUnitStat stat, int64_t n) {
        FEffect->Delta.Value(stat) = SaturateWord(FEffect->Delta.Value(stat) + n);
        return *this;
    }
    TEffectBuilder& Become(TUnitStat stat, int64_t value) {
        return Add(stat, value - FUnit.Effective.Value(stat));
    }
    TEffectBuilder& AddBase(TUnitStat stat, int64_t n) {
        FEffect->Delta.Base(stat) = SaturateWord(FEffect->Delta.Base(stat) + n);
        return *this;
    }
    TEffectBuilder& AddMorale(int64_t n) {
        FEffect->Delta.Morale() = SaturateWord(FEffect->Delta.Morale() + n);
        return *this;
    }
    TAfterEffect& Delta() { return *FEffect; }
    void Apply() { FUnit.AddEffect(std::move(FEffect)); }

private:
    TUnit& FUnit;
    std::unique_ptr<TAfterEffect> FEffect;
};

} // namespace GameData
