// Whether a unit of the selected group may cast a map spell on a cell: what the screens
// offer and the computer player asks before it orders a cast.
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/scenario/UnitPlacement.h"
#include "game/world/units/Unit.h"

namespace GameData {

namespace {

// Target bits of a spell prototype.
enum : uint32_t {
    tbOwnOrFriendlyGroup = 0x01,
    tbEnemyGroup = 0x02,
    tbNeutralGroup = 0x04,
    tbAnyCell = 0x08,
    tbOwnCell = 0x10,
    tbFreeCell = 0x20,
};

// Clairvoyance reveals the land around any cell, however far.
constexpr int SpellCastAnywhere = 33;

} // namespace

bool TScenario::CanCastSpellAt(int unitSlot, int spellID, int y, int x) const {
    const TGroup* group = CurrentPlayer ? CurrentPlayer->GetSelectedGroup() : nullptr;
    if (!group || unitSlot < 0 || unitSlot >= MaxGroupUnits || !IsCellOnMap(x, y))
        return false;
    const TUnit* caster = group->UnitAt(unitSlot);
    const Data2::TSpellPrototype* spell = Data2::FindSpellByID(spellID);
    if (!caster || !spell || !caster->CanCastSpell(*spell))
        return false;
    if (spellID == SpellCastAnywhere)
        return true;

    const int dx = x - group->TMapObject::CellX();
    const int dy = y - group->TMapObject::CellY();
    const int range = caster->Effective.Level() + 2;
    if (dx * dx + dy * dy > range * range)
        return false;

    const uint32_t targets = spell->TargetFlags;
    if (targets & tbAnyCell)
        return true;
    if ((targets & tbOwnCell) && dx == 0 && dy == 0)
        return true;
    if ((targets & tbFreeCell) && IsCellFree(*this, x, y))
        return true;
    const TGroup* target = GroupAtCell(x, y, nullptr);
    if (!target)
        return false;
    const TPlayer* owner = group->GetOwner();
    const int relation = owner ? owner->GetRelationToGroup(target) : RelationNone;
    if ((targets & tbOwnOrFriendlyGroup) && (relation == RelationSelf || relation == reFriendly))
        return true;
    if ((targets & tbEnemyGroup) && relation == reEnemy && target->Spotted)
        return true;
    return (targets & tbNeutralGroup) && relation == reNeutral && target->Spotted;
}

} // namespace GameData
