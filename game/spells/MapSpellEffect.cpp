#include "game/spells/MapSpellEffect.h"
#include "game/spells/MapSpells.h"

#include "game/world/data/GlobalData.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

#include <memory>

namespace GameData {

TMapSpellEffect::TMapSpellEffect(TScenario& scenario) {
    Visual.Scenario = &scenario;
}

void TMapSpellEffect::Acquire(const TSpellCast& cast) {
    Visual.SetPrototype(cast.Prototype, cast.Volume);
    if (cast.Prototype && Data2::GlobalData)
        for (const int32_t id : {cast.Prototype->CastSpriteID, cast.Prototype->FlightSpriteID,
                                 cast.Prototype->ImpactSpriteID})
            if (id > 0)
                Data2::GlobalData->SpellLibrary.TryPreloadSprite(uint32_t(id));
}

void TMapSpellEffect::Prepare(const TSpellCast& cast, const std::function<bool()>& stopRequested) {
    const auto stopped = [&] {
        if (!stopRequested || !stopRequested())
            return false;
        Visual.Finished = 1;
        return true;
    };
    if (stopped())
        return;
    Visual.StartSpellAnimation(cast.SourceX, cast.SourceY, cast.TargetY, cast.TargetX);
    if (stopped())
        return;
    Visual.CasterID = cast.CasterID;
    Visual.TargetCellX = uint32_t(cast.TargetX / CellSize);
    Visual.TargetCellY = uint32_t(cast.TargetY / CellSize);
}

void TMapSpellEffect::TakeEffect(TScenario& scenario, TUnit* caster) {
    if (!caster || !Visual.Prototype)
        return;
    const TMapSpellOutcome outcome = CastMapSpell(scenario, *caster, Visual.Prototype->ID,
                                                  int(Visual.TargetCellX), int(Visual.TargetCellY));
    Visual.RevealRadius = outcome.RevealedRadius;
}

void InstallMapSpells(TScenario& scenario) {
    scenario.SpellEffects = [](TScenario& owner) -> std::unique_ptr<TSpellEffect> {
        return std::make_unique<TMapSpellEffect>(owner);
    };
}

} // namespace GameData
