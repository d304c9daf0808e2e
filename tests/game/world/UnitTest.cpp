// A unit's own and effective statistics: effects, pools, morale, experience, levels,
// the turn's regeneration, spells, skills and immunities.
#include "tests/game/world/UnitFixture.h"

#include "engine/core/Sorting.h"

namespace UnitTests {
namespace {

TEST_F(UnitTest, MadeFromAPrototypeAtItsLevel) {
    Data2::TUnitPrototype& veteran = Data.AddUnitPrototype(2, "Veteran");
    veteran.Stats = Data.Global().UnitPrototypes[0].Stats;
    veteran.Stats.Level() = 3;
    veteran.IsHero = 1;
    veteran.CreatureType = -2;
    const auto unit = TestSupport::MakeUnit(2);
    EXPECT_EQ(unit->Prototype, &Data.Global().UnitPrototypes[1]);
    EXPECT_EQ(unit->Name, "Veteran");
    EXPECT_EQ(unit->IsHero, 1);
    EXPECT_EQ(unit->CreatureType, -2); // the 16-bit type widened with its sign
    EXPECT_EQ(unit->ShowWounds, 1);
    EXPECT_EQ(unit->Own.Level(), 3);
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 50);     // 30 + 2 * 10
    EXPECT_EQ(unit->Own.Value(COUNTERATTACK), 13); // 12 + (2 / 2) * 1
    EXPECT_EQ(unit->Own.Experiences(), 350);
    EXPECT_EQ(unit->Own.Morale(), 50);
    EXPECT_EQ(std::memcmp(&unit->Own, &unit->Effective, sizeof(TUnitStats)), 0);
    EXPECT_EQ(unit->DisplayName(), "Veteran (3)");
}

TEST_F(UnitTest, NewestEffectOfASpellKindCountsOnce) {
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->AddEffect(AttackEffect(5, 3));
    unit->AddEffect(AttackEffect(5, 7)); // same spell: replaces the older one's +3
    EXPECT_EQ(unit->Effective.Value(ATTACK), 27);
    unit->AddEffect(AttackEffect(ekSkillBase + 1, 1));
    unit->AddEffect(AttackEffect(ekSkillBase + 2, 2)); // two skills: both count
    unit->AddEffect(AttackEffect(0, 10));
    unit->AddEffect(AttackEffect(0, 10)); // kind 0 is no spell: both count
    EXPECT_EQ(unit->Effective.Value(ATTACK), 20 + 7 + 1 + 2 + 10 + 10);
    EXPECT_EQ(unit->Own.Value(ATTACK), 20);
    EXPECT_TRUE(unit->HasEffect(5));
    unit->RemoveEffectsOfKind(5);
    EXPECT_FALSE(unit->HasEffect(5));
    EXPECT_EQ(unit->Effective.Value(ATTACK), 43);
    unit->ClearEffects();
    EXPECT_EQ(unit->Effective.Value(ATTACK), 20);
}

TEST_F(UnitTest, ClampingKeepsRatingsAndMoraleInRangeAndPoolsUnderTheirMaximum) {
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->AddEffect(Effect(6, 3, [](TUnitStats& d) {
        d.Value(ATTACK) = -50;
        d.Value(SIGHT) = -4;
        d.Morale() = 80;
    }));
    EXPECT_EQ(unit->Effective.Value(ATTACK), 0);
    EXPECT_EQ(unit->Effective.Value(SIGHT), 0);
    EXPECT_EQ(unit->Effective.Morale(), 100);
    unit->RecalculateStats(false);
    EXPECT_EQ(unit->Effective.Value(ATTACK), -30);
    EXPECT_EQ(unit->Effective.Morale(), 130);

    // More hit points than the maximum once an effect that raised it ends: the own
    // record gives up the excess.
    unit->ClearEffects();
    unit->AddEffect(Effect(7, 3, [](TUnitStats& d) { d.Base(HITPOINTS) = 10; }));
    unit->Own.Value(HITPOINTS) = 38;
    unit->RecalculateStats(true);
    EXPECT_EQ(unit->Effective.Value(HITPOINTS), 38); // maximum 40
    unit->RemoveEffectsOfKind(7);
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 30);
    EXPECT_EQ(unit->Effective.Value(HITPOINTS), 30);
}

TEST_F(UnitTest, FixedMoraleCreatures) {
    Data.Global().UnitPrototypes[0].CreatureType = 4;
    const auto unit = TestSupport::MakeUnit(SoldierID);
    Data.SetConstant(Data2::gcDefaultMorale, 42);
    unit->ChangeMorale(-30);
    EXPECT_EQ(unit->Effective.Morale(), 42);
    unit->AddEffect(Effect(3, 2, [](TUnitStats& d) { d.Morale() = 20; }));
    EXPECT_EQ(unit->Effective.Morale(), 42);
}

TEST_F(UnitTest, PoolGainsStopAtTheMaximumAndLossesCountInFull) {
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->AddHitPoints(-12);
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 18);
    unit->AddHitPoints(5);
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 23);
    unit->AddHitPoints(100); // only the 7 up to 30
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 30);
    unit->AddMana(-25); // beyond what is there: the pool shows 0, the own record owes 5
    EXPECT_EQ(unit->Own.Value(MANA), -5);
    EXPECT_EQ(unit->Effective.Value(MANA), 0);
    unit->AddMana(4); // room up to 20 counts from the effective 0
    EXPECT_EQ(unit->Own.Value(MANA), -1);
    unit->AddActionPoints(-4);
    unit->AddActionPoints(9);
    EXPECT_EQ(unit->Effective.Value(ACTIONPOINTS), 10);
}

TEST_F(UnitTest, MoraleStaysWithinItsLimits) {
    struct TCase {
        int16_t Morale;
        int32_t Change;
        int16_t Result;
    };
    const TCase cases[] = {{50, 10, 60}, {50, 70, 100}, {50, -80, 0},
                           {0, -5, 0},   {100, 1, 100}, {30, -2147483647 - 1, 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Morale << " + " << c.Change);
        const auto unit = TestSupport::MakeUnit(SoldierID);
        unit->Own.Morale() = c.Morale;
        unit->RecalculateStats(true);
        unit->ChangeMorale(c.Change);
        EXPECT_EQ(unit->Own.Morale(), c.Result);
        EXPECT_EQ(unit->Effective.Morale(), c.Result);
    }
}

TEST_F(UnitTest, ExperienceGainsAndLevels) {
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->AddHitPoints(-10);      // 20 of 30
    unit->GainExperience(100, 1); // 100 / level 1
    EXPECT_EQ(unit->Own.Experiences(), 100);
    EXPECT_EQ(unit->Own.Level(), 1);
    EXPECT_EQ(unit->LevelledUp, 0);
    unit->GainExperience(125, 2); // 250: two levels at once (350 reached)
    EXPECT_EQ(unit->Own.Experiences(), 350);
    EXPECT_EQ(unit->Own.Level(), 3);
    EXPECT_EQ(unit->LevelledUp, 1);
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 40);     // 20 + (50 - 30)
    EXPECT_EQ(unit->Own.Value(MANA), 28);          // 20 + (28 - 20)
    EXPECT_EQ(unit->Own.Value(ATTACK), 24);        // 20 + 2 * 2
    EXPECT_EQ(unit->Own.Value(COUNTERATTACK), 13); // 12 + (2 / 2)
    EXPECT_EQ(unit->Own.Value(DEFENCE), 12);
    EXPECT_EQ(unit->Own.Value(MORALEREGENERATE), 5); // keeps its value, not 7
    EXPECT_EQ(unit->DisplayName(), "Soldier (3)");

    unit->GainExperience(25, 6); // 150 / level 3 = 50: 400, still level 3
    EXPECT_EQ(unit->Own.Experiences(), 400);
    EXPECT_EQ(unit->Own.Level(), 3);
}

TEST_F(UnitTest, TheScenarioMaximumLevelCapsExperience) {
    TestSupport::TTestPlayer player;
    player.MaximumLevel = 2;
    TestSupport::TTestOwner group;
    group.Player = &player;
    const auto unit = TestSupport::MakeUnit(SoldierID);
    group.Add(*unit);
    unit->GainExperience(1000, 1);
    EXPECT_EQ(unit->Own.Experiences(), 150); // what level 2 needs
    EXPECT_EQ(unit->Own.Level(), 2);
    // Experience already beyond the cap is kept.
    unit->Own.Experiences() = 500;
    unit->GainExperience(10, 1);
    EXPECT_EQ(unit->Own.Experiences(), 500);
}

TEST_F(UnitTest, ExperienceSticksAtTheWordsEnd) {
    Data.Global().UnitPrototypes[0].Stats.ExperienceBase() = 2000;
    Data.Global().UnitPrototypes[0].Stats.ExperienceDelta() = 0;
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->Own.Experiences() = 32000;
    unit->Own.Level() = 17; // level 17 needs 32000, level 18 34000
    unit->RecalculateStats(true);
    unit->GainExperience(1000, 17);
    EXPECT_EQ(unit->Own.Experiences(), 32767);
    EXPECT_EQ(unit->Own.Level(), 17);
}

TEST_F(UnitTest, ExperienceAtLevelZeroTakesTheFormulasLimit) {
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->AddEffect(Effect(9, 3, [](TUnitStats& d) { d.Level() = -1; }));
    ASSERT_EQ(unit->Effective.Level(), 0);
    EXPECT_EQ(unit->DisplayName(), "Soldier");
    unit->GainExperience(0, 1); // 0 / 0 tends to 0
    EXPECT_EQ(unit->Own.Experiences(), 0);
    unit->GainExperience(-10, 1); // -10 / level toward 0 falls without bound
    EXPECT_EQ(unit->Own.Experiences(), -32768);
    unit->GainExperience(10, 1);
    unit->GainExperience(10, 1); // and rises without bound
    EXPECT_EQ(unit->Own.Experiences(), 32767);
}

TEST_F(UnitTest, TheDeadNeitherLevelNorAct) {
    Data.SetConstant(Data2::gcLeastActionPoints, 4);
    const auto unit = TestSupport::MakeUnit(SoldierID);
    EXPECT_TRUE(unit->CanAct());
    EXPECT_TRUE(unit->CanEnter(10));
    EXPECT_FALSE(unit->CanEnter(11));
    unit->AddActionPoints(-7);
    EXPECT_FALSE(unit->CanAct()); // 3 left, 4 needed
    unit->AddHitPoints(-30);
    EXPECT_TRUE(unit->IsDead());
    unit->Own.Experiences() = 1000;
    unit->RecalculateStats(true);
    EXPECT_FALSE(unit->CanLevelUp());
    EXPECT_FALSE(unit->CanEnter(0));
}

TEST_F(UnitTest, EffectsExpireWithTheTurns) {
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->AddEffect(AttackEffect(5, 4, 2));
    unit->AddEffect(AttackEffect(6, 1, 1));
    unit->NewTurn();
    EXPECT_EQ(unit->Effects.Count(), 1);
    EXPECT_EQ(unit->Effects[0]->Duration, 1);
    EXPECT_EQ(unit->Effective.Value(ATTACK), 24);
    unit->NewTurn();
    EXPECT_EQ(unit->Effects.Count(), 0);
    EXPECT_EQ(unit->Effective.Value(ATTACK), 20);
}

// An effect that raised the maximum ends while the pool is above the new one: the
// excess is taken once, not again as the turn's change.
TEST_F(UnitTest, NewTurnTakesAnExpiredEffectsExcessOnce) {
    TUnitStats& stats = Data.Global().UnitPrototypes[0].Stats;
    TestSupport::SetStat(stats, HITPOINTS, 30);
    TestSupport::SetStat(stats, HPREGENERATE, 0);
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->AddEffect(Effect(7, 1, [](TUnitStats& d) { d.Base(HITPOINTS) = 10; }));
    unit->AddHitPoints(8); // 38 of 40
    ASSERT_EQ(unit->Own.Value(HITPOINTS), 38);
    unit->NewTurn();
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 30);
    EXPECT_EQ(unit->Effective.Value(HITPOINTS), 30);
}

TEST_F(UnitTest, NewTurnRegenerates) {
    struct TCase {
        const char* Where;
        bool Rested, Owned, City, Camp;
        int16_t HitPoints, Mana; // from 10 of 30 and 5 of 20, by 9 and 8 a turn
    };
    const TCase cases[] = {
        {"rested in a pitched camp", true, true, false, true, 19, 13},
        {"rested in a city", true, true, true, false, 19, 13},
        {"moved in a pitched camp", false, true, false, true, 13, 9}, // 9 / 3, 8 / 2
        {"rested, marching", true, true, false, false, 13, 9},
        {"held by nothing", true, false, false, false, 13, 9},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Where);
        TestSupport::TTestOwner owner;
        owner.IsCity = c.City;
        owner.CampPitched = c.Camp;
        const auto unit = TestSupport::MakeUnit(SoldierID);
        if (c.Owned)
            owner.Add(*unit);
        unit->AddHitPoints(-20);
        unit->AddMana(-15);
        if (!c.Rested)
            unit->AddActionPoints(-1);
        unit->NewTurn();
        EXPECT_EQ(unit->Own.Value(HITPOINTS), c.HitPoints);
        EXPECT_EQ(unit->Own.Value(MANA), c.Mana);
        EXPECT_EQ(unit->Own.Value(ACTIONPOINTS), 10);
    }
    // Never beyond the maximum.
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->AddHitPoints(-2);
    unit->NewTurn();
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 30);
}

TEST_F(UnitTest, NewTurnMoraleDriftsTowardTheDefault) {
    const std::pair<int16_t, int16_t> cases[] = {
        {60, 59}, // above 50: one down
        {40, 45}, // below: up by MORALEREGENERATE 5
        {48, 50}, // but not past the default
        {50, 50},
    };
    for (const auto& [morale, after] : cases) {
        const auto unit = TestSupport::MakeUnit(SoldierID);
        unit->ChangeMorale(morale - 50);
        unit->NewTurn();
        EXPECT_EQ(unit->Own.Morale(), after) << morale;
    }
}

TEST_F(UnitTest, SpellsAndSkills) {
    Data.AddSpell(1, 1);
    Data.AddSpell(2, 3).Phase = 2;
    Data2::TSpellPrototype& battleSpell = Data.AddSpell(66, 1); // shares the bit of 2
    battleSpell.ManaCost = 5;
    battleSpell.APCost = 4;
    Data2::TSkillPrototype& toughness = Data.AddSkill(3, 1);
    toughness.PermanentDelta.Value(HITPOINTS) = 5;
    toughness.PermanentDelta.Base(HITPOINTS) = 5;
    toughness.PermanentDelta.Experiences() = 150; // enough for level 2
    toughness.PermanentDelta.Skills = MaskBit(3); // the data mark the skill itself
    toughness.PermanentDelta.Spells = MaskBit(1);
    toughness.Duration = 2;
    toughness.TemporaryDelta.Value(ATTACK) = 6;
    const auto unit = TestSupport::MakeUnit(SoldierID);

    EXPECT_FALSE(unit->KnowsSpell(1));
    unit->LearnSpell(66);
    EXPECT_TRUE(unit->KnowsSpell(2));
    EXPECT_TRUE(unit->KnowsSpell(66));
    EXPECT_EQ(unit->SpellCount(), 1);
    EXPECT_FALSE(unit->HasLevelForSpell(2)); // level 3 needed
    EXPECT_TRUE(unit->HasLevelForSpell(66));
    EXPECT_FALSE(unit->HasLevelForSpell(9)); // no such spell
    EXPECT_FALSE(unit->HasUsableSpell());    // knows 2 (bit), but spell 2 needs level 3

    // Casting needs the bit in both masks, the level, the mana and the action points.
    EXPECT_FALSE(unit->CanCastSpell(battleSpell)); // not learnable
    unit->Own.LearnableSpells = MaskBit(2);
    unit->RecalculateStats(true);
    EXPECT_TRUE(unit->CanLearnSpell(66));
    EXPECT_TRUE(unit->CanCastSpell(battleSpell));
    unit->AddMana(-16); // 4 left, 5 needed
    EXPECT_FALSE(unit->CanCastSpell(battleSpell));
    unit->AddMana(16);
    unit->AddActionPoints(-7); // 3 left, 4 needed
    EXPECT_FALSE(unit->CanCastSpell(battleSpell));

    EXPECT_FALSE(unit->LearnSkill(40));
    EXPECT_TRUE(unit->LearnSkill(3));
    EXPECT_TRUE(unit->HasSkill(3));
    EXPECT_TRUE(unit->KnowsSpell(1));
    EXPECT_TRUE(unit->HasUsableSpell());
    ASSERT_TRUE(unit->HasEffect(ekSkillBase + 3));
    EXPECT_EQ(unit->Effects[0]->Duration, 2);
    EXPECT_EQ(unit->Effects[0]->Icon, nullptr);
    // The gained experience raised the level: ATTACK 22 + 6, HITPOINTS BASE 35, maximum 45.
    EXPECT_EQ(unit->Own.Level(), 2);
    EXPECT_EQ(unit->Effective.Value(ATTACK), 28);
    EXPECT_EQ(unit->Own.Value(HITPOINTS), 45);

    // Spells above the effective level are forgotten from the own record.
    unit->Own.Spells |= MaskBit(2);
    unit->AddEffect(Effect(8, 2, [](TUnitStats& d) { d.Level() = -1; }));
    unit->ForgetSpellsAboveLevel(); // level 1 now: spell 2 (level 3) goes, 1 stays
    EXPECT_EQ(unit->Own.Spells, MaskBit(1));
    EXPECT_TRUE(unit->HasLevelForSkill(3));
    EXPECT_FALSE(unit->HasLevelForSkill(4));
}

TEST_F(UnitTest, Immunities) {
    Data.AddSpell(1, 2);
    Data.AddSpell(2, 4);
    Data.AddSpell(3, 6).Phase = 2;
    Data.AddSpell(4, 8);
    struct TCase {
        const char* What;
        int Skill;
        int EffectKind;
        bool Immune[5]; // spells 1 (level 2), 2 (4), 3 (6, phase 2), 4 (8), 5 (none)
    };
    const TCase cases[] = {
        {"nothing", 0, 0, {false, false, false, false, false}},
        {"skill 45: below level 3", 45, 0, {true, false, false, false, false}},
        {"skill 46: below level 5", 46, 0, {true, true, false, false, false}},
        {"skill 47: below level 7", 47, 0, {true, true, true, false, false}},
        {"skill 48: all", 48, 0, {true, true, true, true, true}},
        {"effect 11", 0, 11, {true, true, true, true, true}},
        {"effect 75", 0, 75, {true, true, true, true, true}},
        {"effect 44", 0, 44, {true, true, true, true, true}},
        {"effect 49: phase 2", 0, 49, {false, false, true, false, false}},
        {"effect 114: phase 2", 0, 114, {false, false, true, false, false}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const auto unit = TestSupport::MakeUnit(SoldierID);
        unit->Own.Skills = MaskBit(c.Skill);
        if (c.EffectKind)
            unit->AddEffect(Effect(c.EffectKind, 1, [](TUnitStats&) {}));
        unit->RecalculateStats(true);
        for (int spell = 1; spell <= 5; ++spell)
            EXPECT_EQ(unit->IsImmuneToSpell(spell), c.Immune[spell - 1]) << spell;
    }
}

TEST_F(UnitTest, BattleEffectsEndWithTheBattle) {
    Data.AddUnitPrototype(2, "Wolf");
    const Data2::TUnitPrototype& soldier = Data.Global().UnitPrototypes[0];
    const Data2::TUnitPrototype& wolf = Data.Global().UnitPrototypes[1];
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->AddEffect(AttackEffect(5, 1));    // a map spell: stays
    unit->AddEffect(AttackEffect(70, 2));   // a battle spell: ends
    unit->SavedPrototype = unit->Prototype; // transformed for the battle
    unit->Prototype = &wolf;
    unit->Name = "Wolf";
    unit->AddEffect(AttackEffect(ekTransformation, 4));
    unit->AddEffect(AttackEffect(ekSkillBase + 1, 8));
    unit->RemoveBattleEffects();
    EXPECT_EQ(unit->Prototype, &soldier);
    EXPECT_EQ(unit->SavedPrototype, nullptr);
    EXPECT_EQ(unit->Name, "Soldier");
    ASSERT_EQ(unit->Effects.Count(), 2);
    EXPECT_EQ(unit->Effective.Value(ATTACK), 20 + 1 + 8);

    // A leave-group effect sends the unit away, but only after every battle effect,
    // before it in the list or after, is gone and the statistics are whole again.
    TestSupport::TTestOwner group;
    group.Add(*unit);
    unit->AddEffect(AttackEffect(71, 16));
    unit->AddEffect(AttackEffect(ekLeavesGroup, 0));
    unit->AddEffect(AttackEffect(72, 32));
    unit->RemoveBattleEffects();
    EXPECT_EQ(group.TakenOut, 1);
    EXPECT_EQ(unit->Owner, nullptr);
    EXPECT_FALSE(unit->HasEffect(71));
    EXPECT_TRUE(unit->HasEffect(ekLeavesGroup));
    EXPECT_FALSE(unit->HasEffect(72));
    EXPECT_EQ(unit->Effective.Value(ATTACK), 20 + 1 + 8);
}

TEST_F(UnitTest, EffectsAddedSinceTheRenewalAreDropped) {
    TestSupport::TTestOwner group;
    const auto unit = TestSupport::MakeUnit(SoldierID);
    group.Add(*unit);
    unit->AddEffect(AttackEffect(5, 1));
    unit->MarkEffectsRenewed();
    unit->AddEffect(AttackEffect(6, 2));
    unit->AddEffect(AttackEffect(ekLeavesGroup, 4));
    unit->DropUnrenewedEffects();
    ASSERT_EQ(unit->Effects.Count(), 2);
    EXPECT_EQ(unit->Effects[0]->Kind, 5);
    EXPECT_EQ(unit->Effects[0]->Renewed, 0);
    EXPECT_EQ(unit->Effects[1]->Kind, ekLeavesGroup);
    EXPECT_EQ(group.TakenOut, 1);
}

TEST_F(UnitTest, WoundsFadeOnTheir200thTick) {
    const auto unit = TestSupport::MakeUnit(SoldierID);
    unit->TakeDamage(3);
    for (int tick = 1; tick < 199; ++tick)
        unit->AgeWounds();
    unit->TakeDamage(4);
    unit->AgeWounds(); // the first wound's 199th tick
    ASSERT_EQ(unit->Wounds.Count(), 2);
    EXPECT_EQ(unit->Wounds[0].Age, 199);
    unit->AgeWounds();
    ASSERT_EQ(unit->Wounds.Count(), 1);
    EXPECT_EQ(unit->Wounds[0].Damage, 4);
    EXPECT_EQ(unit->Wounds[0].Age, 2);
}

TEST_F(UnitTest, CopiesOwnTheirEffects) {
    TestSupport::TTestOwner group;
    const auto unit = TestSupport::MakeUnit(SoldierID);
    group.Add(*unit);
    unit->ID = 77;
    unit->DefenceBonus = 25;
    unit->AddEffect(AttackEffect(5, 3));
    TUnit copy;
    copy.CopyFrom(unit.get());
    EXPECT_EQ(copy.ID, 77u);
    EXPECT_EQ(copy.Owner, &group);
    EXPECT_EQ(copy.DefenceBonus, 25);
    ASSERT_EQ(copy.Effects.Count(), 1);
    EXPECT_NE(copy.Effects[0], unit->Effects[0]);
    EXPECT_EQ(copy.Effective.Value(ATTACK), 23);

    TUnit scratch;
    scratch.CopyCombatState(*unit);
    unit->ClearEffects();
    EXPECT_EQ(scratch.Prototype, unit->Prototype);
    EXPECT_EQ(scratch.Owner, nullptr);
    ASSERT_EQ(scratch.Effects.Count(), 1);
    EXPECT_EQ(scratch.Effective.Value(ATTACK), 23);
}

TEST_F(UnitTest, OwnerTellsGroupCityAndPlayer) {
    const auto unit = TestSupport::MakeUnit(SoldierID);
    EXPECT_EQ(unit->GetGroup(), nullptr);
    EXPECT_EQ(unit->GetPlayer(), nullptr);
    TestSupport::TTestPlayer player;
    TestSupport::TTestOwner city;
    city.IsCity = true;
    city.Civilian = true;
    city.ScriptedEntry = true;
    city.Player = &player;
    city.Add(*unit);
    EXPECT_EQ(unit->GetGroup(), nullptr);
    EXPECT_NE(unit->GetCity(), nullptr);
    EXPECT_EQ(unit->GetPlayer(), &player);
    EXPECT_TRUE(unit->IsCivilian());
    EXPECT_TRUE(unit->IsInFlaggedCity());
}

TEST_F(UnitTest, SortKeyOrdersHighestFirst) {
    std::vector<std::unique_ptr<TUnit>> units;
    std::vector<TUnit*> order;
    for (const int key : {3, 9, -1, 5}) {
        units.push_back(std::make_unique<TUnit>());
        units.back()->SortKey = key;
        order.push_back(units.back().get());
    }
    Data::QuickSort(order.data(), int(order.size()), CompareBySortKey);
    EXPECT_EQ(order[0]->SortKey, 9);
    EXPECT_EQ(order[1]->SortKey, 5);
    EXPECT_EQ(order[2]->SortKey, 3);
    EXPECT_EQ(order[3]->SortKey, -1);
}

} // namespace
} // namespace UnitTests
