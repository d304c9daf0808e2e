// Every map spell of the generated sample data, cast in a tiny world by a sample
// creature of the spell's own minimum level, changes something a player can see.
// Costs must be payable at that level, durations last a turn or more, and damage
// hurts the sample foes without wiping out their group.
#include "game/spells/MapSpells.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/fog/Fog.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/support/StateDigest.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "tests/tools/content/GeneratedContent.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace GameData;

// Sample unit prototypes.
constexpr int Footman = 1, Knight = 3, Wolf = 4, Skeleton = 6, OrcRaider = 7, Wizard = 10,
              Priestess = 11;
constexpr uint8_t Red = 0, Blue = 1;
constexpr int CasterX = 3, CasterY = 5, TargetX = 6, TargetY = 5;

// What the player sees change.
enum class TSees {
    Hurt,         // the target group's hit points fall, yet not all of it dies
    Healed,       // the target group's hit points rise
    Effect,       // a target carries an effect of the spell that changes a statistic
    Ward,         // a target carries the spell's immunity effect
    Morale,       // a target's morale changes
    ActionPoints, // a target's action points change
    Mana,         // the targets' mana changes
    Moved,        // the target group stands on another cell
    CasterMoved,  // the caster's group stands on the target cell
    Summoned,     // a new unit stands on the map
    Revealed,     // cells of the caster's fog become explored
    Converted,    // the target group changes sides
};

// Own: a red group of wounded, tired and drained units; Enemy: a blue group; Empty: a
// free cell; CasterCell: the caster's own group, which holds only the caster.
enum class TTarget { Own, Enemy, Empty, CasterCell };

struct TSpellRow {
    int Spell;
    TTarget Target;
    TSees Sees;
    std::vector<int> Units = {}; // empty: the side's usual group
};

const std::vector<TSpellRow>& Rows() {
    using enum TSees;
    using enum TTarget;
    static const std::vector<TSpellRow> rows = {
        {1, Own, Healed},
        {2, Own, Effect},
        {3, Own, Morale},
        {4, Own, ActionPoints},
        {5, Enemy, Hurt},
        {6, Own, Effect},
        {7, Enemy, Morale},
        {8, Enemy, Hurt},
        {9, Enemy, Effect},
        {10, Enemy, Hurt, {Skeleton, Skeleton}},
        {11, Own, Ward},
        {12, Own, Healed},
        {13, Enemy, Effect},
        {14, Enemy, Hurt},
        {15, Own, Effect},
        {16, Enemy, Effect},
        {17, Enemy, Hurt},
        {18, Enemy, Hurt},
        {19, Enemy, Hurt},
        {20, Enemy, Hurt},
        {21, Empty, CasterMoved},
        {22, Own, Mana},
        {23, Empty, Summoned},
        {24, Enemy, Hurt},
        {25, Own, Effect},
        {26, Own, Effect},
        {27, Enemy, Effect},
        {28, Empty, Summoned},
        {29, Enemy, Hurt},
        {30, Enemy, ActionPoints},
        {31, Enemy, Hurt},
        {32, Own, Healed},
        {33, Empty, Revealed},
        {34, Enemy, Mana, {Wizard, Priestess}},
        {35, Own, Effect},
        {36, Enemy, Converted, {Footman}},
        {37, Own, Effect},
        {38, Own, Effect},
        {39, Own, Effect},
        {40, Enemy, Hurt},
        {41, Enemy, Hurt},
        {42, Enemy, Hurt},
        {43, Enemy, Hurt},
        {44, Own, Effect},
        {45, Enemy, Hurt},
        {46, Enemy, Morale},
        {47, Empty, Summoned},
        {48, Enemy, Moved},
        {49, Own, Ward},
        {50, Empty, Summoned},
        {51, Enemy, Effect, {Footman}},
        {52, Enemy, ActionPoints},
        {53, Enemy, Hurt},
        {54, Own, Healed},
        {55, Enemy, Hurt},
        {56, CasterCell, Summoned},
        {57, Enemy, Hurt},
        {58, Own, Effect},
        {59, Empty, Summoned},
        {60, Enemy, Hurt},
        {61, Empty, Summoned},
    };
    return rows;
}

TUnit* AddUnit(TGroup& group, int prototype, int level) {
    auto unit = TestSupport::MakeUnit(prototype);
    unit->Own.Level() = int16_t(level);
    unit->Own.RecalcValues();
    unit->Own.ResetExperience();
    unit->RecalculateStats(true);
    return group.AddUnit(std::move(unit), true, false);
}

// The first sample creature that can learn the spell; the wizard for spells no
// creature learns.
int CasterPrototypeFor(int spell) {
    const Data2::TGlobalData& data = Data2::LoadedGlobalData();
    for (int i = 0; i < data.UnitPrototypes.Count(); ++i)
        if (data.UnitPrototypes[i].Stats.LearnableSpells >> (64 - spell) & 1)
            return data.UnitPrototypes[i].ID;
    return Wizard;
}

struct TSnapshot {
    int64_t HitPoints = 0, Mana = 0;
    std::vector<int> Morale, ActionPoints;
    int Units = 0, Explored = 0, CasterCellX = 0, TargetCellX = 0, TargetCellY = 0, TargetOwner = 0;
};

TSnapshot Snap(const TScenario& scenario, const TUnit& caster, const TGroup* target) {
    TSnapshot s;
    if (target) {
        for (const TUnit* unit : target->Units)
            if (unit) {
                s.HitPoints += unit->Effective.Value(HITPOINTS);
                s.Mana += unit->Effective.Value(MANA);
                s.Morale.push_back(unit->Effective.Morale());
                s.ActionPoints.push_back(unit->Effective.Value(ACTIONPOINTS));
            }
        s.TargetCellX = target->TMapObject::CellX();
        s.TargetCellY = target->TMapObject::CellY();
        s.TargetOwner = target->OwnerIndex;
    }
    s.Units = scenario.Units.Count();
    const TFog& fog = *scenario.Players[Red]->Fog;
    s.Explored = int(std::count_if(fog.Cells.begin(), fog.Cells.end(),
                                   [](uint8_t cell) { return cell != fsUnexplored; }));
    s.CasterCellX = caster.GetGroup()->TMapObject::CellX();
    return s;
}

const TAfterEffect* EffectOf(const TUnit& unit, int kind) {
    for (const TAfterEffect* effect : unit.Effects)
        if (effect->Kind == kind)
            return effect;
    return nullptr;
}

bool ChangesSomething(const TAfterEffect& effect) {
    const TUnitStats& delta = effect.Delta;
    return std::any_of(std::begin(delta.Words), std::end(delta.Words),
                       [](int16_t word) { return word != 0; });
}

void ExpectSeen(const TSpellRow& row, const TSnapshot& before, const TSnapshot& after,
                const TGroup* target) {
    std::vector<const TUnit*> units;
    if (target)
        for (const TUnit* unit : target->Units)
            if (unit)
                units.push_back(unit);
    switch (row.Sees) {
    case TSees::Hurt:
        EXPECT_LT(after.HitPoints, before.HitPoints);
        EXPECT_TRUE(std::any_of(units.begin(), units.end(), [](const TUnit* unit) {
            return !unit->IsDead();
        })) << "the whole group died";
        break;
    case TSees::Healed:
        EXPECT_GT(after.HitPoints, before.HitPoints);
        break;
    case TSees::Effect:
    case TSees::Ward: {
        bool seen = false;
        for (const TUnit* unit : units)
            if (const TAfterEffect* effect = EffectOf(*unit, row.Spell)) {
                EXPECT_GE(effect->Duration, 1);
                seen = seen || row.Sees == TSees::Ward || ChangesSomething(*effect);
            }
        EXPECT_TRUE(seen);
        break;
    }
    case TSees::Morale:
        EXPECT_NE(after.Morale, before.Morale);
        break;
    case TSees::ActionPoints:
        EXPECT_NE(after.ActionPoints, before.ActionPoints);
        break;
    case TSees::Mana:
        EXPECT_NE(after.Mana, before.Mana);
        break;
    case TSees::Moved:
        EXPECT_TRUE(after.TargetCellX != before.TargetCellX ||
                    after.TargetCellY != before.TargetCellY);
        EXPECT_LT(after.HitPoints, before.HitPoints);
        break;
    case TSees::CasterMoved:
        EXPECT_EQ(after.CasterCellX, TargetX);
        break;
    case TSees::Summoned:
        EXPECT_GT(after.Units, before.Units);
        break;
    case TSees::Revealed:
        EXPECT_GT(after.Explored, before.Explored);
        break;
    case TSees::Converted:
        EXPECT_EQ(after.TargetOwner, Red);
        break;
    }
}

class SampleMapSpells : public TestSupport::GeneratedContent {};

TEST_F(SampleMapSpells, EachChangesWhatThePlayerSeesAtItsOwnLevel) {
    SpriteTests::TScopedDisplay display;
    Data2::OpenDataArchives();
    Data2::CreateMainData();
    Data2::CreateGlobalData();
    for (const TSpellRow& row : Rows()) {
        const Data2::TSpellPrototype* spell = Data2::FindSpellByID(row.Spell);
        ASSERT_NE(spell, nullptr) << row.Spell;
        SCOPED_TRACE(std::to_string(row.Spell) + " " + spell->Name);
        const int level = spell->MinLevel;
        const int foeLevel = std::max(1, level - 2);

        TestSupport::TTinyWorld world;
        TScenario& scenario = *world.Scenario;
        TGroup* casterGroup = world.AddGroup(Red, CasterX, CasterY);
        TUnit* caster = AddUnit(*casterGroup, CasterPrototypeFor(row.Spell), level);
        caster->Own.LearnableSpells |= uint64_t(1) << (64 - row.Spell);
        caster->LearnSpell(row.Spell);
        // In good heart, so that the contests of morale do not hang on one roll.
        caster->Own.Morale() = 80;
        caster->RecalculateStats(true);
        EXPECT_TRUE(caster->CanCastSpell(*spell)) << caster->Name << " of level " << level;

        TGroup* target = nullptr;
        if (row.Target == TTarget::Own) {
            target = world.AddGroup(Red, TargetX, TargetY);
            for (const int prototype :
                 row.Units.empty() ? std::vector<int>{Knight, Priestess, Skeleton} : row.Units) {
                TUnit* unit = AddUnit(*target, prototype, foeLevel);
                unit->AddHitPoints(-unit->Effective.Value(HITPOINTS) / 2);
                unit->AddActionPoints(-unit->Effective.Value(ACTIONPOINTS) / 2);
                unit->AddMana(-unit->Effective.Value(MANA));
            }
        } else if (row.Target == TTarget::Enemy) {
            target = world.AddGroup(Blue, TargetX, TargetY);
            for (const int prototype :
                 row.Units.empty() ? std::vector<int>{Footman, OrcRaider, Wolf} : row.Units)
                AddUnit(*target, prototype, foeLevel);
        } else if (row.Target == TTarget::CasterCell) {
            target = casterGroup;
        }
        caster->AddMana(-caster->Effective.Value(MANA) / 2);
        const int x = row.Target == TTarget::CasterCell ? CasterX : TargetX;
        const int y = row.Target == TTarget::CasterCell ? CasterY : TargetY;

        // The computer player foresees it too (its rule for spell 59 always says no).
        if (row.Spell != 59) {
            EXPECT_TRUE(CanCastMapSpell(scenario, *caster, row.Spell, x, y));
        }
        Base::RandomSeed = {12345, 678};
        const uint64_t digest = TestSupport::StateDigest(scenario);
        const TSnapshot before = Snap(scenario, *caster, target);
        const TMapSpellOutcome outcome = CastMapSpell(scenario, *caster, row.Spell, x, y);
        EXPECT_TRUE(outcome.Affected);
        EXPECT_NE(TestSupport::StateDigest(scenario), digest);
        ExpectSeen(row, before, Snap(scenario, *caster, target), target);
    }
}

} // namespace
