// The scenario's per-frame update: every object ticks, finished animations go, the
// playing map spell advances and takes effect, the dead are removed, objects made
// meanwhile join the map, the weather moves and its sounds play, and the view
// scrolls.
#include "game/world/groups/Group.h"
#include "game/world/groups/UnitCorpse.h"
#include "game/world/objects/Drawings.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

void TScenario::Update() {
    ++FrameCounter;
    // Ticks may add objects (a split, a corpse) or take them off the map (a merge):
    // walk a copy and skip what left the map meanwhile.
    FTickList.clear();
    for (TMapObject* object : Objects)
        FTickList.emplace_back(object, object->ID);
    for (const auto& [object, id] : FTickList)
        if (FindObjectByID(id) == object)
            object->Tick();
    FRetired.clear();

    AnimationsDone = 1;
    for (int i = Objects.Count() - 1; i >= 0; --i) {
        if (Objects[i]->Kind != okAnimation)
            continue;
        if (static_cast<TAnimation*>(Objects[i])->Finished)
            RemoveObjectAt(i, 0);
        else
            AnimationsDone = 0;
    }

    if (SpellEffect) {
        SpellEffect->Advance();
        // The caster by identifier: the selection may have changed since the cast.
        if (SpellEffect->EffectNow())
            SpellEffect->TakeEffect(*this, Units.FindByID(SpellEffect->CasterID()));
    }

    if (DeathsPending.load()) {
        bool dying = false;
        for (const TMapObject* object : Objects)
            if (object->Kind == okGroup) {
                const auto* group = static_cast<const TGroup*>(object);
                dying = dying || group->AnimState == asDying || group->Activity == gaRemoveDead;
            }
        if (!dying) {
            RemoveDeadUnits();
            DeathsPending = 0;
        }
    }

    if (SpellEffect && SpellEffect->Finished() && !DeathsPending.load()) {
        SpellEffect.reset();
        if (CurrentPlayer)
            CurrentPlayer->TryPostReport(arDone);
    }

    for (TMapObject* object : PendingObjects)
        AddObject(std::unique_ptr<TMapObject>(object));
    PendingObjects.Clear();

    UpdateRain();
    UpdateSnow();
    UpdateSand();
    PlayAmbientSound();
    PlayWeatherSounds();
    StepViewScroll();
}

void TScenario::RetireObject(TMapObject* object) {
    const int index = Objects.IndexOf(object);
    if (index < 0)
        return;
    for (TPlayer* player : Players)
        if (player->Selection == object)
            player->Selection = nullptr;
    PendingObjects.Remove(object);
    FObjectsByID.erase(object->ID);
    FRetired.emplace_back(Objects.Extract(index));
    RedrawOptions = 0;
    RebuildOccupancyGrid();
}

void TScenario::RemoveDeadUnits() {
    std::vector<std::unique_ptr<TMapObject>> corpses;
    for (int i = Objects.Count() - 1; i >= 0; --i) {
        if (Objects[i]->Kind != okGroup)
            continue;
        auto* group = static_cast<TGroup*>(Objects[i]);
        const bool allDead = group->AllUnitsDead();
        for (int slot = group->UnitCount() - 1; slot >= 0; --slot) {
            TUnit* const unit = group->UnitAt(slot);
            if (!unit->IsDead())
                continue;
            if (auto corpse = MakeUnitCorpse(*this, *unit, group->X, group->Y, group->Facing))
                corpses.push_back(std::move(corpse));
            if (!allDead)
                group->RemoveUnitAt(slot, true, true);
        }
        if (allDead)
            RemoveObjectAt(i, 1);
    }
    for (int i = Units.Count() - 1; i >= 0; --i) {
        TUnit* const unit = Units[i];
        if (unit->IsDead() && !unit->Owner) {
            LooseUnits.Remove(unit);
            UnregisterUnitAt(i);
        }
    }
    for (auto& corpse : corpses)
        AddObject(std::move(corpse));
}

TPlayer* TScenario::ViewingPlayer() const {
    for (TPlayer* player : Players)
        if (player->Type == ptLocal)
            return player;
    return nullptr;
}

} // namespace GameData
