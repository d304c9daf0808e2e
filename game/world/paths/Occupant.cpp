#include "game/world/paths/Occupant.h"

namespace GameData {

const TPlayer* OccupantOwner(const TMapObject* /*occupant*/) {
    return nullptr;
}

} // namespace GameData
