// A tiny world for map spells: a red mage (level 6, attack 60, morale 90) casts on
// blue knights; knights, wolves and ghouls share one set of plain values.
#pragma once

#include "game/spells/MapSpells.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace MapSpellTests {

using namespace GameData;

constexpr int Knight = 1; // creature type 1
constexpr int Wolf = 2;   // creature type 2
constexpr int Ghoul = 3;  // creature type 4
constexpr int Mage = 4;   // creature type 1
constexpr uint8_t Red = 0, Blue = 1, Green = 2;

class TMapSpellWorld {
public:
    TMapSpellWorld() {
        for (const int id : {Knight, Wolf, Ghoul, Mage}) {
            Data2::TUnitPrototype& prototype = Data.AddUnitPrototype(id);
            TUnitStats& stats = prototype.Stats;
            // Values that do not grow with the level: EVERY 0.
            TestSupport::SetStat(stats, HITPOINTS, 40);
            TestSupport::SetStat(stats, MANA, 20);
            TestSupport::SetStat(stats, ACTIONPOINTS, 10);
            TestSupport::SetStat(stats, ATTACK, id == Mage ? 60 : 20);
            TestSupport::SetStat(stats, COUNTERATTACK, 10);
            TestSupport::SetStat(stats, DEFENCE, 10);
            TestSupport::SetStat(stats, SIGHT, 3);
            // A level costs 1,000 experience: no cast lifts the mage above level 6.
            stats.ExperienceBase() = 1000;
            prototype.CreatureType = id == Wolf ? 2 : id == Ghoul ? 4 : 1;
        }
        Data.SetConstant(Data2::gcDefaultMorale, 50);
        Data.SetConstant(Data2::gcMaxMorale, 100);
        Data.SetConstant(Data2::gcSightDistanceScale, 10);
        TestSupport::TTinyWorldOptions options;
        options.ThirdPlayerType = ptLocal;
        World = std::make_unique<TestSupport::TTinyWorld>(options);
        CasterGroup = World->AddGroup(Red, 2, 2);
        Caster = AddUnit(CasterGroup, Mage, 6);
        Caster->Own.Morale() = 90;
        Caster->Own.Experiences() = int16_t(Caster->Own.ExperienceForLevel(6));
        Caster->RecalculateStats(true);
        Base::RandomSeed = {12345, 678};
    }

    TUnit* AddUnit(TGroup* group, int prototype, int level = 1) {
        auto unit = TestSupport::MakeUnit(prototype);
        unit->Own.Level() = int16_t(level);
        unit->Own.RecalcValues();
        unit->Own.Morale() = 50;
        unit->RecalculateStats(true);
        return group->AddUnit(std::move(unit), true, false);
    }

    TGroup* AddGroup(uint8_t owner, int x, int y, std::initializer_list<int> prototypes) {
        TGroup* group = World->AddGroup(owner, x, y);
        for (const int prototype : prototypes)
            AddUnit(group, prototype);
        return group;
    }

    Data2::TSpellPrototype& AddSpell(int id, std::initializer_list<int16_t> params,
                                     int minLevel = 1) {
        Data2::TSpellPrototype& spell = Data.AddSpell(id, minLevel);
        int k = 0;
        for (const int16_t p : params)
            spell.Params[k++] = p;
        spell.CastExperience = 60;
        return spell;
    }

    TestSupport::TTestGameData Data;
    std::unique_ptr<TestSupport::TTinyWorld> World;
    TGroup* CasterGroup = nullptr;
    TUnit* Caster = nullptr;
};

class MapSpellTest : public testing::Test, public TMapSpellWorld {};

} // namespace MapSpellTests
