// What conversation commands read of the group that is talking: its units, its
// leader and its player.
#pragma once

#include <span>

namespace GameData {

class TMapObject;
class TScenario;
class TUnit;

// The unit slots of the group (empty slots null); nothing for null or a non-group.
std::span<TUnit* const> TalkingUnits(const TMapObject* group);
// The last hero among the slots, else the first unit; when that one is dead the
// last living unit. Null for an empty group.
TUnit* TalkingLeader(const TMapObject* group);
// The index of the player owning the group's units; -1 for an empty group.
int TalkingPlayerIndex(const TScenario& scenario, const TMapObject* group);

} // namespace GameData
