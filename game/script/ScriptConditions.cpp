#include "game/script/ScriptConditions.h"

#include "engine/core/Random.h"

namespace GameData {

int32_t OnlyExpression(TScriptMachine& script, ClassLib::AnsiString& params) {
    const int32_t value = script.NextExpression(params);
    script.CheckNoMoreParameters(params);
    return value;
}

bool EvaluateCondition(TScriptMachine& script, ClassLib::AnsiString& params,
                       TScriptCondition condition) {
    if (condition == TScriptCondition::True)
        return OnlyExpression(script, params) != 0;
    if (condition == TScriptCondition::False)
        return OnlyExpression(script, params) == 0;
    const int32_t a = script.NextExpression(params);
    const int32_t b = OnlyExpression(script, params);
    switch (condition) {
    case TScriptCondition::Equal:
        return a == b;
    case TScriptCondition::Greater:
        return a > b;
    default:
        return a != b;
    }
}

void StoreRandom(TScriptMachine& script, ClassLib::AnsiString& params) {
    const int32_t n = OnlyExpression(script, params);
    script.Locals[0] =
        n >= 1 ? static_cast<int32_t>(Base::NextRandom(Base::RandomSeed) % uint32_t(n)) : 0;
}

} // namespace GameData
