// Whose object stands on an occupied cell, for the step costs.
#pragma once

namespace GameData {

class TMapObject;
class TPlayer;

// Placeholder until groups exist: no map object has an owner yet, so every
// occupant counts as a stranger and blocks.
const TPlayer* OccupantOwner(const TMapObject* occupant);

} // namespace GameData
