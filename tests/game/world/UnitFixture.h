// A soldier prototype shared by the unit tests, with values easy to follow by hand.
#pragma once

#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <functional>

namespace UnitTests {

using namespace GameData;

// Level values: HITPOINTS 30 + 10 per level, HPREGENERATE 9, MANA 20 + 4 per level,
// MANAREGENERATE 8, ACTIONPOINTS 10, MORALEREGENERATE 5 + 1 per level, ATTACK 20 + 2
// per level, COUNTERATTACK 12 + 1 every second level, DEFENCE 10 + 1 per level,
// SIGHT 3; experience: 100 base, 50 delta (150 for level 2, 350 for 3, 600 for 4).
class UnitTest : public testing::Test {
protected:
    static constexpr int SoldierID = 1;

    UnitTest() {
        Data2::TUnitPrototype& soldier = Data.AddUnitPrototype(SoldierID, "Soldier");
        TUnitStats& stats = soldier.Stats;
        TestSupport::SetStat(stats, HITPOINTS, 30, 10, 1);
        TestSupport::SetStat(stats, HPREGENERATE, 9);
        TestSupport::SetStat(stats, MANA, 20, 4, 1);
        TestSupport::SetStat(stats, MANAREGENERATE, 8);
        TestSupport::SetStat(stats, ACTIONPOINTS, 10);
        TestSupport::SetStat(stats, MORALEREGENERATE, 5, 1, 1);
        TestSupport::SetStat(stats, ATTACK, 20, 2, 1);
        TestSupport::SetStat(stats, COUNTERATTACK, 12, 1, 2);
        TestSupport::SetStat(stats, DEFENCE, 10, 1, 1);
        TestSupport::SetStat(stats, SIGHT, 3);
        stats.ExperienceBase() = 100;
        stats.ExperienceDelta() = 50;
        soldier.CreatureType = 1;
    }

    static std::unique_ptr<TAfterEffect> Effect(int32_t kind, int32_t duration,
                                                const std::function<void(TUnitStats&)>& change) {
        auto effect = std::make_unique<TAfterEffect>();
        effect->Kind = kind;
        effect->Duration = duration;
        change(effect->Delta);
        return effect;
    }
    static std::unique_ptr<TAfterEffect> AttackEffect(int32_t kind, int16_t attack,
                                                      int32_t duration = 3) {
        return Effect(kind, duration, [&](TUnitStats& d) { d.Value(ATTACK) = attack; });
    }

    TestSupport::TTestGameData Data;
};

} // namespace UnitTests
