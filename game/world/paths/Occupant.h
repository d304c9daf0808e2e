// Whose object stands on an occupied cell, for the step costs.
#pragma once

namespace GameData {

class TMapObject;
class TPlayer;

// The owner of the group on the cell; null (a stranger to everyone) for any
// other object and for a group without owner.
const TPlayer* OccupantOwner(const TMapObject* occupant);

} // namespace GameData
