#include "game/world/data/LoadedGlobalData.h"

#include "platform/classlib/Exception.h"

namespace Data2 {

TGlobalData& LoadedGlobalData() {
    if (!GlobalData)
        throw ClassLib::Exception("Global game data not loaded.");
    return *GlobalData;
}

int32_t GameConstant(int index) {
    return LoadedGlobalData().GameConstants[index];
}

const TUnitPrototype* FindUnitPrototypeByID(int id) {
    const TGlobalData& global = LoadedGlobalData();
    const int index = global.FindUnitPrototype(id);
    return index < 0 ? nullptr : &global.UnitPrototypes[index];
}

const TSpellPrototype* FindSpellByID(int id) {
    const TGlobalData& global = LoadedGlobalData();
    const int index = global.FindSpell(id);
    return index < 0 ? nullptr : &global.SpellPrototypes[index];
}

const TSkillPrototype* FindSkillByID(int id) {
    const TGlobalData& global = LoadedGlobalData();
    const int index = global.FindSkill(id);
    return index < 0 ? nullptr : &global.SkillPrototypes[index];
}

} // namespace Data2
