// A battle between two test groups made of small prototypes whose values are easy
// to work out by hand, with the sample battle spells at hand.
#pragma once

#include "engine/core/Random.h"
#include "game/spells/Battle.h"
#include "game/world/data/GlobalData.h"
#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

namespace TestSupport {

// Prototype 1: 100 hit points, 20 action points, 30 mana, attack 20, counterattack
// 10, defence 10, morale 50, 1000 experience a level. Prototype 2 the same with 1000
// attack. Prototype 3 a hero.
constexpr int PlainFighter = 1;
constexpr int Brute = 2;
constexpr int HeroFighter = 3;

class TBattleTest : public ::testing::Test {
protected:
    TBattleTest() {
        for (const int id : {PlainFighter, Brute, HeroFighter}) {
            Data2::TUnitPrototype& prototype = Data.AddUnitPrototype(id, "Fighter");
            GameData::TUnitStats& stats = prototype.Stats;
            SetStat(stats, GameData::HITPOINTS, 100);
            SetStat(stats, GameData::ACTIONPOINTS, 20);
            SetStat(stats, GameData::MANA, 30);
            SetStat(stats, GameData::ATTACK, id == Brute ? 1000 : 20);
            SetStat(stats, GameData::COUNTERATTACK, 10);
            SetStat(stats, GameData::DEFENCE, 10);
            prototype.CreatureType = 1;
            prototype.IsHero = id == HeroFighter;
            prototype.Stats.LearnableSpells = ~uint64_t(0);
            // 1000 experience a level: the gains of a test never reach the next.
            prototype.Stats.ExperienceBase() = 1000;
        }
        Data.SetConstant(Data2::gcLeastActionPoints, 4);
        for (int i = 0; i < SampleBattleSpellCount; ++i)
            AddSampleSpell(Data, SampleBattleSpells[i]);
        Battle.Registry = &Registry;
        Base::RandomSeed = {0x1234, 0x5678};
    }

    GameData::TUnit& Add(TTestBattleSide& side, int prototype = PlainFighter, int level = 1) {
        GameData::TUnit* unit = Registry.Register(MakeUnitAtLevel(prototype, level, false));
        side.AddUnit(*unit);
        return *unit;
    }
    // Three units a side unless said otherwise; the battle takes its groups.
    void Start(int attackers = 3, int defenders = 3) {
        for (int i = Attackers.UnitCount(); i < attackers; ++i)
            Add(Attackers);
        for (int i = Defenders.UnitCount(); i < defenders; ++i)
            Add(Defenders);
        Battle.SetGroups(&Attackers, &Defenders);
    }
    GameData::TUnit& Unit(int slot) { return *Battle.UnitAt(slot); }
    void Learn(int slot, int spellID) { Unit(slot).LearnSpell(spellID); }

    TTestGameData Data;
    TTestUnitRegistry Registry;
    TTestPlayer PlayerA;
    TTestPlayer PlayerB;
    TTestBattleSide Attackers{&PlayerA};
    TTestBattleSide Defenders{&PlayerB};
    GameData::TBattle Battle;
};

} // namespace TestSupport
