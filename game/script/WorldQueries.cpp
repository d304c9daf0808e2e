#include "game/script/WorldQueries.h"

#include "game/world/cities/City.h"
#include "game/world/objects/MapObject.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

namespace GameData {

namespace {

// Groups and cities are map objects as well as their units' owners.
const TMapObject* OwnerObject(const TUnit& unit) {
    return unit.Owner ? dynamic_cast<const TMapObject*>(unit.Owner) : nullptr;
}

} // namespace

const TMapObject* GroupOfUnit(const TUnit& unit) {
    const TMapObject* object = OwnerObject(unit);
    return object && object->Kind == okGroup ? object : nullptr;
}

const TMapObject* CityOfUnit(const TUnit& unit) {
    const TMapObject* object = OwnerObject(unit);
    return object && object->Kind == okCity ? object : nullptr;
}

int PlayerIndexOfUnit(const TScenario& scenario, const TUnit& unit) {
    if (const TMapObject* city = CityOfUnit(unit)) {
        return static_cast<const TCity*>(city)->Owner;
    }
    if (!GroupOfUnit(unit))
        return -1;
    return scenario.IndexOfPlayer(dynamic_cast<const TPlayer*>(unit.Owner->PlayerOf(unit)));
}

const TCity* FindCity(const TScenario& scenario, int32_t id) {
    return static_cast<const TCity*>(scenario.FindObjectOfKind(static_cast<uint32_t>(id), okCity));
}

bool IsPlayerIndex(const TScenario& scenario, int32_t index) {
    return index >= 0 && index < scenario.PlayerCount();
}

} // namespace GameData
