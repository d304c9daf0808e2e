// What keeps a unit from buying a merchant's spell, skill or ability now. The buttons
// refuse with the first failing check's message; the lists colour their offers by it,
// so an offer looks buyable exactly when the purchase would be made.
#pragma once

#include <cstdint>

namespace GameData {
class TUnit;
}

namespace Main {

// In the order the checks run.
enum TLearnRefusal : int {
    lrNone,
    lrKnown,
    lrNotLearnable,
    lrNoLevel,
    lrNoGold,
    lrNoActionPoints,
};

TLearnRefusal SpellRefusal(const GameData::TUnit& unit, int id, int64_t price, int64_t gold);
// Skills and abilities alike.
TLearnRefusal SkillRefusal(const GameData::TUnit& unit, int id, int64_t price, int64_t gold);

} // namespace Main
