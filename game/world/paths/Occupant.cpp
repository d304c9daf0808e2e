#include "game/world/paths/Occupant.h"

#include "game/world/groups/Group.h"

namespace GameData {

const TPlayer* OccupantOwner(const TMapObject* occupant) {
    if (!occupant || occupant->Kind != okGroup)
        return nullptr;
    return static_cast<const TGroup*>(occupant)->GetOwner();
}

} // namespace GameData
