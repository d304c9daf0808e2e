// The global data as the game rules read it, once loaded.
#pragma once

#include "game/world/data/GlobalData.h"

namespace Data2 {

// Raises "Global game data not loaded." while there is none.
TGlobalData& LoadedGlobalData();
int32_t GameConstant(int index);

// The prototype with that identifier, or null.
const TUnitPrototype* FindUnitPrototypeByID(int id);
const TSpellPrototype* FindSpellByID(int id);
const TSkillPrototype* FindSkillByID(int id);

} // namespace Data2
