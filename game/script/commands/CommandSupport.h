// What the unit, map and state commands share: the scenario, units by identifier
// and the player and class masks of the commands that act on many units.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <cstdint>
#include <vector>

namespace GameData {

class TConversation;
class TScenario;
class TScenarioConversation;
class TUnit;

TScenario& ScenarioOf(const TConversation& conversation);
// Null for an identifier that names no unit (0 included).
TUnit* FindUnit(const TConversation& conversation, int32_t id);
// Raises "Unit not found: %d." when there is none.
TUnit& UnitOf(const TConversation& conversation, int32_t id);
// The scenario's conversation with the identifier, else "Conversation not found! ID=%d".
TScenarioConversation& ConversationOf(const TConversation& conversation, int32_t id);
// Unit identifiers read one after another up to the first 0 (an empty parameter
// counts as 0); what follows that 0 is left in params.
std::vector<int32_t> ReadUnitList(TConversation& conversation, ClassLib::AnsiString& params);
// Neither in a group nor in a city.
bool IsOffline(const TUnit& unit);
// The unit serves a player whose bit (index AND 31) is in the player mask, and the
// class mask, widened with its sign, holds every bit of the unit's class.
bool MatchesMasks(const TScenario& scenario, const TUnit& unit, int32_t playerMask,
                  int32_t classMask);
// Index of the player the unit serves; -1 for none.
int PlayerIndexOf(const TScenario& scenario, const TUnit& unit);
// When the player whose turn it is has a group selected on the map, its reachable
// cells are filled again, so that they show what the command changed.
void RefillSelectedGroupCosts(TScenario& scenario);

} // namespace GameData
