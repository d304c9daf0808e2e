// The scenario's per-frame update: every object ticks, finished animations go, the
// playing map spell advances and takes effect, the dead are removed, objects made
// meanwhile join the map, the weather moves and its sounds play, and the view
// scrolls.
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/groups/UnitCorpse.h"
#include "game/world/objects/Drawings.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>

namespace GameData {

namespace {

bool HoldsDeadUnit(const TCity& city) {
    const auto dead = [](const TUnit* unit) { return unit && unit->IsDead(); };
    return std::any_of(city.DefenderSlots.begin(), city.DefenderSlots.end(), dead) ||
           std::any_of(city.OtherUnits.begin(), city.OtherUnits.end(), dead) ||
           std::any_of(city.Civilians.begin(), city.Civilians.end(), dead) ||
           std::any_of(city.GateGroup->Units.begin(), city.GateGroup->Units.end(), dead);
}

// A city's dead leave it without corpses: none of its places stands on the map.
void RemoveCityDead(TCity& city) {
    for (int place = city.DefenderPlaceCount() - 1; place >= 0; --place) {
        TUnit* const unit = city.DefenderAt(place);
        if (!unit || !unit->IsDead())
            continue;
        // A fight at the city may still hold its defenders.
        if (city.DefenderGroup->FindUnitByID(unit->ID) == unit)
            city.DefenderGroup->RemoveUnit(unit, false, false);
        city.RemoveDefenderAt(place, true, true);
    }
    for (int i = city.OtherUnits.Count() - 1; i >= 0; --i)
        if (city.OtherUnits[i]->IsDead())
            city.RemoveOtherUnitAt(i, true, true);
    for (int i = city.Civilians.Count() - 1; i >= 0; --i)
        if (city.Civilians[i]->IsDead())
            city.RemoveCivilianAt(i, true, true);
    TGroup& gate = *city.GateGroup;
    for (int slot = gate.UnitCount() - 1; slot >= 0; --slot)
        if (gate.UnitAt(slot)->IsDead())
            gate.RemoveUnitAt(slot, true, true);
}

} // namespace

void TScenario::Update() {
    const std::unique_lock<std::mutex> planner(PlannerLock, std::try_to_lock);
    if (!planner.owns_lock())
        return;
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
            // The dead may have seen farthest in their groups.
            UpdateAllVisibility();
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
    ForgetTarget(object);
    PendingObjects.Remove(object);
    FObjectsByID.erase(object->ID);
    UnindexObject(object);
    FRetired.emplace_back(Objects.Extract(index));
    RedrawOptions = 0;
    UpdateOccupancyOf(object, -1);
}

void TScenario::RemoveDeadUnits() {
    std::vector<std::unique_ptr<TMapObject>> corpses;
    for (int i = Objects.Count() - 1; i >= 0; --i) {
        if (Objects[i]->Kind == okCity) {
            RemoveCityDead(*static_cast<TCity*>(Objects[i]));
            continue;
        }
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
            else if (TPlayer* owner = group->GetOwner(); owner && owner->AI)
                // The group goes whole below; its owner's planner lets go of each unit.
                owner->AI->RemoveAIUnit(*unit, false);
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

void TScenario::FlagDeadUnits() {
    bool any = false;
    for (TMapObject* object : Objects)
        if (object->Kind == okGroup)
            any = static_cast<TGroup*>(object)->CheckForDeadUnits() || any;
        else if (object->Kind == okCity)
            any = HoldsDeadUnit(*static_cast<const TCity*>(object)) || any;
    if (any)
        DeathsPending = 1;
}

void TScenario::ClearBattleFlags(TGroup* attackers, TGroup* defenders) {
    for (TGroup* group : {attackers, defenders})
        if (group)
            group->InBattle = 0;
}

TPlayer* TScenario::ViewingPlayer() const {
    if (FViewingPlayerSet)
        return FViewingPlayer;
    for (TPlayer* player : Players)
        if (player->Type == ptLocal)
            return player;
    return nullptr;
}

void TScenario::SetViewingPlayer(TPlayer* player) {
    FViewingPlayer = player;
    FViewingPlayerSet = true;
}

} // namespace GameData
