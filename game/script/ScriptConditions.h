// What check scripts and conversations share of their commands: the five
// conditions and the random number, each reading its parameters the same way.
#pragma once

#include "game/script/ScriptMachine.h"

namespace GameData {

enum class TScriptCondition { Equal, Greater, Unequal, True, False };

// IFEQUAL, IFGREATER, IFUNEQUAL (two values) and IFTRUE, IFFALSE (one value);
// parameter text left over is refused.
bool EvaluateCondition(TScriptMachine& script, ClassLib::AnsiString& params,
                       TScriptCondition condition);
// One value and nothing after it.
int32_t OnlyExpression(TScriptMachine& script, ClassLib::AnsiString& params);
// GETRANDOM: LOCAL0 := the game's next random number modulo n for n >= 1, else 0
// without drawing.
void StoreRandom(TScriptMachine& script, ClassLib::AnsiString& params);

} // namespace GameData
