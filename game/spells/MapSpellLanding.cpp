// A map spell lands: its rule, then the caster's rewards, the players who saw it, the
// dead and the selected group's reachable area.
#include "game/spells/MapSpellCast.h"
#include "game/spells/MapSpells.h"

#include "game/world/data/GlobalData.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/sound/SoundEffects.h"

#include <memory>

namespace GameData {

namespace {

// The kill reward of a unit's statistics: a base and a part per level of the victim.
constexpr int swKillExperienceBase = swSpare;
constexpr int swKillExperiencePerLevel = swSpare + 1;

std::vector<TUnit*> UnitsOf(const TGroup* group) {
    std::vector<TUnit*> units;
    if (group)
        for (TUnit* unit : group->Units)
            if (unit)
                units.push_back(unit);
    return units;
}

std::vector<TGroup*> GroupsStandingOn(const TScenario& scenario, int x, int y) {
    std::vector<TGroup*> groups;
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okGroup && object->CellX() == x && object->CellY() == y)
            groups.push_back(static_cast<TGroup*>(object));
    return groups;
}

int AnnounceRadius(int spellID) {
    switch (spellID) {
    case 7:
    case 8:
    case 18:
    case 19:
    case 45:
    case 55:
        return 2;
    case 26:
    case 38:
    case 46:
        return 1;
    case 13:
    case 16:
    case 21:
    case 33:
    case 36:
    case 58:
        return -1;
    default:
        return 0;
    }
}

void RewardCaster(TScenario& scenario, TUnit& caster, const Data2::TSpellPrototype* spell,
                  int64_t dealt) {
    const int minLevel = spell ? spell->MinLevel : 1;
    caster.GainExperience(spell ? spell->CastExperience : 0, minLevel);
    const int64_t perDamage =
        Data2::GlobalData ? Data2::GlobalData->GameConstants[Data2::gcExperiencePerDamageDealt] : 0;
    caster.GainExperience(SaturateInt32(perDamage * dealt), minLevel);
    const TGroup* casterGroup = caster.GetGroup();
    const TPlayer* player = casterGroup ? casterGroup->GetOwner() : nullptr;
    if (!player)
        return;
    for (TMapObject* object : scenario.Objects) {
        if (object->Kind != okGroup)
            continue;
        const auto* group = static_cast<const TGroup*>(object);
        if (player->GetRelationToGroup(group) != reEnemy)
            continue;
        for (const TUnit* victim : UnitsOf(group)) {
            if (!victim->IsDead())
                continue;
            const TUnitStats& stats = victim->Effective;
            const int64_t reward =
                int64_t(stats.Words[swKillExperiencePerLevel]) * (stats.Level() - 1) +
                stats.Words[swKillExperienceBase];
            caster.GainExperience(SaturateInt32(reward), stats.Level());
            caster.GainMoraleForKill(*victim);
        }
    }
}

// A spell that changed nothing: the player at this machine hears it when it sees the
// caster.
void TellNothingHappened(const TScenario& scenario, const TUnit& caster) {
    constexpr int NothingHappenedSound = 3;
    const TPlayer* viewer = scenario.ViewingPlayer();
    const TGroup* casterGroup = caster.GetGroup();
    if (viewer && casterGroup && viewer->IsObjectVisible(*casterGroup) && Data2::GlobalData)
        PlayEffect(Data2::GlobalData->InterfaceSounds[NothingHappenedSound],
                   GameSettings.SFXVolume);
}

void RefreshReachableArea(TScenario& scenario) {
    const TPlayer* player = scenario.CurrentPlayer;
    const TGroup* selected = player ? player->GetSelectedGroup() : nullptr;
    if (!selected)
        return;
    const TGroup& group = *selected;
    scenario.FloodFillCosts(group.TMapObject::CellX(), group.TMapObject::CellY(), group);
}

} // namespace

void AnnounceSpell(TScenario& scenario, int radius, int spellID, int x, int y, int casterCellX,
                   int casterCellY, uint32_t casterID) {
    for (TPlayer* player : scenario.Players) {
        bool sees = false;
        for (int dy = -radius; dy <= radius && !sees; ++dy)
            for (int dx = -radius; dx <= radius && !sees; ++dx)
                sees =
                    scenario.IsCellOnMap(x + dx, y + dy) && player->IsCellVisible(x + dx, y + dy);
        if (!sees)
            continue;
        auto sighting = std::make_unique<TSighting>();
        sighting->Kind = 2;
        sighting->CellX = uint16_t(casterCellX);
        sighting->CellY = uint16_t(casterCellY);
        sighting->UnitID = casterID;
        sighting->Extra = uint32_t(spellID);
        player->PushSighting(std::move(sighting));
    }
}

TMapSpellOutcome CastMapSpell(TScenario& scenario, TUnit& caster, int spellID, int x, int y) {
    const Data2::TSpellPrototype* spell = Data2::FindSpellByID(spellID);
    TMapSpellOutcome outcome;
    int64_t dealt = 0;
    if (spell && spellID >= 0 && spellID <= LastMapSpell) {
        TMapCast cast(scenario, *spell, caster, x, y, false, Base::RandomSeed);
        cast.Group = scenario.IsCellOnMap(x, y) ? scenario.GroupAtCell(x, y, nullptr) : nullptr;
        cast.Units = UnitsOf(cast.Group);
        cast.ForArea = [&scenario, x, y](int radius,
                                         const std::function<void(const TReachedUnit&)>& action) {
            for (int dy = -radius; dy <= radius; ++dy)
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (!scenario.IsCellOnMap(x + dx, y + dy))
                        continue;
                    for (const TGroup* group : GroupsStandingOn(scenario, x + dx, y + dy)) {
                        const std::vector<TUnit*> units = UnitsOf(group);
                        for (TUnit* unit : units)
                            action({*unit, dx, dy, int64_t(units.size())});
                    }
                }
        };
        cast.ApplyRule();
        outcome.Affected = cast.Affected;
        outcome.RevealedRadius = cast.RevealedRadius;
        dealt = cast.Dealt;
    }
    if (outcome.Affected)
        RewardCaster(scenario, caster, spell, dealt);
    else
        TellNothingHappened(scenario, caster);

    const TGroup* casterGroup = caster.GetGroup();
    const int radius = AnnounceRadius(spellID);
    if (radius >= 0 && casterGroup)
        AnnounceSpell(scenario, radius, spellID, x, y, casterGroup->X / 40, casterGroup->Y / 40,
                      caster.ID);
    scenario.FlagDeadUnits();
    RefreshReachableArea(scenario);
    return outcome;
}

void ApplySpellToUnits(TScenario& scenario, const TUnit& caster, int spellID,
                       std::span<TUnit* const> units, Base::TRandomSeed& random) {
    const Data2::TSpellPrototype* spell = Data2::FindSpellByID(spellID);
    if (!spell || spellID < 5 || spellID > 60)
        return;
    // Spells 5, 10, 20, 34 and 44 change their caster as well.
    TUnit casterCopy;
    casterCopy.CopyWhole(caster);
    TMapCast cast(scenario, *spell, casterCopy, 0, 0, true, random);
    for (TUnit* unit : units)
        if (unit)
            cast.Units.push_back(unit);
    cast.ForArea = [&cast](int, const std::function<void(const TReachedUnit&)>& action) {
        for (TUnit* unit : cast.Units)
            action({*unit, 0, 0, int64_t(cast.Units.size())});
    };
    cast.ApplyRule();
}

} // namespace GameData
