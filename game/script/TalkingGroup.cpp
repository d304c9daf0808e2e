#include "game/script/TalkingGroup.h"

#include "game/script/WorldQueries.h"
#include "game/world/objects/MapObject.h"
#include "game/world/units/Unit.h"

namespace GameData {

std::span<TUnit* const> TalkingUnits(const TMapObject* group) {
    const auto* owner = dynamic_cast<const TUnitOwner*>(group);
    return owner ? owner->GroupUnits() : std::span<TUnit* const>();
}

TUnit* TalkingLeader(const TMapObject* group) {
    TUnit* first = nullptr;
    TUnit* hero = nullptr;
    for (TUnit* unit : TalkingUnits(group)) {
        if (!unit)
            continue;
        if (!first)
            first = unit;
        if (unit->IsHero)
            hero = unit;
    }
    TUnit* leader = hero ? hero : first;
    if (!leader || !leader->IsDead())
        return leader;
    TUnit* living = leader;
    for (TUnit* unit : TalkingUnits(group))
        if (unit && !unit->IsDead())
            living = unit;
    return living;
}

int TalkingPlayerIndex(const TScenario& scenario, const TMapObject* group) {
    for (const TUnit* unit : TalkingUnits(group))
        if (unit)
            return PlayerIndexOfUnit(scenario, *unit);
    return -1;
}

} // namespace GameData
