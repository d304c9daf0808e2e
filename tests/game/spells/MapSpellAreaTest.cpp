// Map spells on areas, on the caster's own side of the map and on empty cells: groups
// around the target cell (5, 5) at one ring (6, 5), a corner (6, 6) and ring two
// (7, 7); summons, moves, reveals and conversions.
#include "tests/game/spells/MapSpellFixture.h"

#include "game/world/fog/Fog.h"

#include <cmath>
#include <set>

namespace MapSpellTests {
namespace {

int HP(const TUnit* u) {
    return u->Effective.Value(HITPOINTS);
}

int Morale(const TUnit* u) {
    return u->Effective.Morale();
}

const TAfterEffect* EffectOf(const TUnit* unit, int kind) {
    for (const TAfterEffect* e : unit->Effects)
        if (e->Kind == kind)
            return e;
    return nullptr;
}

class MapSpellArea : public MapSpellTest {
protected:
    void Cast(int spell, std::initializer_list<int16_t> params, int x = 5, int y = 5) {
        AddSpell(spell, params);
        Outcome = CastMapSpell(*World->Scenario, *Caster, spell, x, y);
    }
    std::set<uint32_t> UnitIDs() const {
        std::set<uint32_t> ids;
        for (const TUnit* unit : World->Scenario->Units)
            EXPECT_TRUE(ids.insert(unit->ID).second) << "shared identifier " << unit->ID;
        return ids;
    }
    TMapSpellOutcome Outcome;
};

TEST_F(MapSpellArea, MoraleWaveLiftsFriendsAndLowersEnemiesByRingAndGroupSize) {
    TGroup* centre = AddGroup(Blue, 5, 5, {Knight, Knight});
    TGroup* friends = AddGroup(Red, 6, 5, {Knight});
    TGroup* neutral = AddGroup(Green, 5, 6, {Knight});
    TGroup* far = AddGroup(Blue, 7, 7, {Knight});
    Cast(7, {100, 50, 20});
    // L x k x W / 100: 6 x 2 x 100, 6 x 1 x 50, 6 x 1 x 20.
    EXPECT_EQ(Morale(centre->UnitAt(0)), 38);
    EXPECT_EQ(Morale(centre->UnitAt(1)), 38);
    EXPECT_EQ(Morale(friends->UnitAt(0)), 53);
    EXPECT_EQ(Morale(neutral->UnitAt(0)), 50);
    EXPECT_EQ(Morale(far->UnitAt(0)), 49);
}

TEST_F(MapSpellArea, SlowingRingsCutActionPointsAndHitHarderAtTheCentre) {
    for (const int spell : {8, 45}) {
        SCOPED_TRACE(spell);
        TMapSpellWorld world;
        TGroup* centre = world.AddGroup(Blue, 5, 5, {Knight, Knight});
        TGroup* ring = world.AddGroup(Blue, 6, 5, {Knight});
        TGroup* outer = world.AddGroup(Blue, 7, 7, {Knight});
        world.AddSpell(spell, {50, 75, 100, 100, 50, 0});
        CastMapSpell(*world.World->Scenario, *world.Caster, spell, 5, 5);
        // (L + 3 - k) x B / 100: 7 x 100 %, 8 x 50 %, 0.
        EXPECT_EQ(centre->UnitAt(0)->Effective.Value(ACTIONPOINTS), 5);
        EXPECT_EQ(HP(centre->UnitAt(1)), 33);
        EXPECT_EQ(ring->UnitAt(0)->Effective.Value(ACTIONPOINTS), 7);
        EXPECT_EQ(HP(ring->UnitAt(0)), 36);
        EXPECT_EQ(outer->UnitAt(0)->Effective.Value(ACTIONPOINTS), 10);
        EXPECT_EQ(HP(outer->UnitAt(0)), 40);
    }
}

TEST_F(MapSpellArea, StormAndQuakeStrikeByRing) {
    TGroup* centre = AddGroup(Blue, 5, 5, {Knight});
    TGroup* ring = AddGroup(Blue, 6, 5, {Knight});
    Cast(18, {50, 100, 100, 2, 0, 0, 50, 100, 100});
    EXPECT_EQ(centre->UnitAt(0)->Effective.Value(ACTIONPOINTS), 5);
    EXPECT_EQ(HP(centre->UnitAt(0)), 20);
    const TAfterEffect* storm = EffectOf(centre->UnitAt(0), 18);
    ASSERT_NE(storm, nullptr);
    EXPECT_EQ(storm->Delta.Value(DEFENCE), -2);
    EXPECT_EQ(storm->Delta.Value(COUNTERATTACK), -5);
    EXPECT_EQ(HP(ring->UnitAt(0)), 40);

    // Quake: T1 + L + random below 2L; counterattack to T2 percent.
    Cast(19, {10, 0, 0, 0, 0, 50, 50, 50, 50, 50});
    EXPECT_GE(HP(centre->UnitAt(0)), 20 - 27);
    EXPECT_LE(HP(centre->UnitAt(0)), 20 - 16);
    EXPECT_GE(HP(ring->UnitAt(0)), 40 - 17);
    EXPECT_LE(HP(ring->UnitAt(0)), 40 - 6);
    ASSERT_NE(EffectOf(ring->UnitAt(0), 19), nullptr);
    EXPECT_EQ(EffectOf(ring->UnitAt(0), 19)->Delta.Value(COUNTERATTACK), -5);
}

TEST_F(MapSpellArea, WardRallyAndCheerWeighTheCellsOfTheBlock) {
    TGroup* centre = AddGroup(Blue, 5, 5, {Knight, Knight});
    TGroup* side = AddGroup(Red, 6, 5, {Knight});
    TGroup* corner = AddGroup(Green, 6, 6, {Knight});
    TGroup* outside = AddGroup(Blue, 7, 7, {Knight});
    Cast(26, {50, 1, 2, 3, 1, 2, 3});
    EXPECT_EQ(EffectOf(centre->UnitAt(0), 26)->Delta.Value(DEFENCE), 6);
    EXPECT_EQ(EffectOf(centre->UnitAt(0), 26)->Delta.Value(ATTACK), -3);
    EXPECT_EQ(EffectOf(side->UnitAt(0), 26)->Delta.Value(DEFENCE), 5);
    EXPECT_EQ(EffectOf(corner->UnitAt(0), 26)->Delta.Value(COUNTERATTACK), -1);
    EXPECT_EQ(EffectOf(outside->UnitAt(0), 26), nullptr);

    // Rally: m = k x 0 / 100 + 90 - 50; enemies lose, friends gain, neutrals keep.
    Cast(37, {0, 100, 50, 25, 2});
    EXPECT_EQ(EffectOf(centre->UnitAt(1), 37)->Delta.Morale(), -40);
    EXPECT_EQ(EffectOf(centre->UnitAt(1), 37)->Duration, 2);
    EXPECT_EQ(EffectOf(side->UnitAt(0), 37)->Delta.Morale(), 20);
    EXPECT_EQ(EffectOf(corner->UnitAt(0), 37), nullptr);

    Cast(46, {-10});
    EXPECT_EQ(Morale(corner->UnitAt(0)), 40);
    EXPECT_EQ(Morale(outside->UnitAt(0)), 50);
}

TEST_F(MapSpellArea, ShatterSparesTheUndead) {
    TGroup* centre = AddGroup(Blue, 5, 5, {Knight, Ghoul});
    Cast(55, {50, 50, 50});
    // k = 3 for each: (9 - 3) / 10 of attack 20, counterattack 10 and hit points 40.
    const TAfterEffect* effect = EffectOf(centre->UnitAt(0), 55);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->Delta.Value(ATTACK), -8);
    EXPECT_EQ(effect->Delta.Value(COUNTERATTACK), -4);
    EXPECT_EQ(HP(centre->UnitAt(0)), 24);
    EXPECT_EQ(HP(centre->UnitAt(1)), 40);
}

TEST_F(MapSpellArea, TeleportMovesTheCastersGroup) {
    Cast(21, {}, 8, 9);
    EXPECT_EQ(CasterGroup->X, 8 * 40 + 20);
    EXPECT_EQ(CasterGroup->Y, 9 * 40 + 20);
}

TEST_F(MapSpellArea, SummonsJoinTheCastersSideWithNewIdentifiersAndLevelsWithinBounds) {
    struct TRow {
        int Spell;
        std::initializer_list<int16_t> Params;
        int Level;
        bool Limited;
    };
    // 23: L / 2; 47 and 50: L x P0 %; 59 and 61: P0, bounded to 20.
    for (const TRow& row : {TRow{23, {Wolf, Wolf}, 3, false}, TRow{47, {50, Wolf}, 3, true},
                            TRow{50, {100, Wolf}, 6, true}, TRow{59, {4, Wolf}, 4, true},
                            TRow{61, {25, Wolf}, 20, true}}) {
        SCOPED_TRACE(row.Spell);
        TMapSpellWorld world;
        world.AddSpell(row.Spell, row.Params);
        const int before = world.World->Scenario->Units.Count();
        CastMapSpell(*world.World->Scenario, *world.Caster, row.Spell, 8, 8);
        TGroup* summoned = world.World->Scenario->GroupCoveringCell(8, 8, nullptr);
        ASSERT_NE(summoned, nullptr);
        EXPECT_EQ(summoned->OwnerIndex, Red);
        const TUnit* unit = summoned->UnitAt(0);
        EXPECT_EQ(unit->Own.Level(), row.Level);
        EXPECT_EQ(world.World->Scenario->Units.Count(), before + 1);
        EXPECT_NE(unit->ID, world.Caster->ID);
        EXPECT_EQ(world.World->Scenario->Units.FindByID(unit->ID), unit);
        if (row.Limited) {
            // Alive only through its effect: L - MinLevel + 1 turns.
            EXPECT_EQ(unit->Own.Value(HITPOINTS), -1000);
            EXPECT_EQ(HP(unit), unit->Effective.AtLevel(HITPOINTS));
            ASSERT_NE(EffectOf(unit, row.Spell), nullptr);
            EXPECT_EQ(EffectOf(unit, row.Spell)->Duration, 6);
        }
    }
}

TEST_F(MapSpellArea, MirrorImageAndCopiesAreTheCastersLikeness) {
    TGroup* own = AddGroup(Red, 8, 8, {Knight});
    Cast(56, {}, 8, 8);
    ASSERT_EQ(own->UnitCount(), 3);
    for (const int slot : {1, 2}) {
        const TUnit* copy = own->UnitAt(slot);
        EXPECT_EQ(copy->Prototype, Caster->Prototype);
        EXPECT_EQ(copy->IsHero, 0);
        // The copies' bases are spread by about a tenth.
        EXPECT_NEAR(copy->Effective.Value(ATTACK), 60, 6);
        EXPECT_EQ(EffectOf(copy, 56)->Duration, 4);
        EXPECT_EQ(HP(copy), 40);
    }
    Cast(28, {}, 9, 9);
    const TUnit* image = World->Scenario->GroupCoveringCell(9, 9, nullptr)->UnitAt(0);
    EXPECT_EQ(image->Effective.Value(ATTACK), 60);
    EXPECT_EQ(HP(image), 40);
    EXPECT_EQ(EffectOf(image, 28)->Duration, 6);
    UnitIDs();
}

TEST_F(MapSpellArea, RevealExploresACircleOfTheCastersFog) {
    TFog& fog = *World->Player(Red).Fog;
    ASSERT_EQ(fog.GetCell(8, 5, 9), fsUnexplored);
    Cast(33, {8, 100}, 5, 5);
    // (8 - (8 - 6) x 100 / 100) / 2 = 3 cells; the corner (8, 8) lies 4.2 away.
    EXPECT_EQ(Outcome.RevealedRadius, 3);
    EXPECT_NE(fog.GetCell(8, 5, 9), fsUnexplored);
    EXPECT_NE(fog.GetCell(7, 7, 9), fsUnexplored);
    EXPECT_EQ(fog.GetCell(8, 8, 9), fsUnexplored);
    // Parameters that shrink it below nothing reveal nothing.
    EXPECT_EQ(RevealRadius(0, 100, 1), 0);
}

// Sight that grows or narrows shows at once, not only when the group next moves.
TEST_F(MapSpellArea, SightSpellsRedrawTheOwnersFogAtOnce) {
    TFog& fog = *World->Player(Red).Fog;
    World->Scenario->UpdateVisibilityOfIndex(Red);
    ASSERT_EQ(fog.GetCell(2, 8, 0), fsUnexplored); // 6 cells away; sight 3
    ASSERT_EQ(fog.GetCell(2, 4, 0), fsVisible);
    Cast(25, {100}, 2, 2); // sight 3 + 6 x 100 %
    EXPECT_EQ(fog.GetCell(2, 8, 0), fsVisible);

    Caster->ClearEffects();
    fog.ResetCells();
    World->Scenario->UpdateVisibilityOfIndex(Red);
    Cast(39, {0, 1, 100, 100, 100}, 2, 2); // sight 1
    EXPECT_NE(fog.GetCell(2, 4, 0), fsVisible);
}

TEST_F(MapSpellArea, ConversionFailsAgainstAHero) {
    TGroup* target = AddGroup(Blue, 5, 5, {Knight, Knight});
    Cast(36, {100, 50});
    EXPECT_EQ(target->OwnerIndex, Red);

    TGroup* led = AddGroup(Blue, 7, 7, {Knight});
    led->UnitAt(0)->IsHero = 1;
    Cast(36, {100, 50}, 7, 7);
    EXPECT_EQ(led->OwnerIndex, Blue);
}

TEST_F(MapSpellArea, DisplacementWoundsAndMovesTheGroupWithinReach) {
    TGroup* target = AddGroup(Blue, 5, 5, {Knight, Knight});
    Cast(48, {50});
    EXPECT_EQ(HP(target->UnitAt(0)), 35);
    const int dx = target->TMapObject::CellX() - 5, dy = target->TMapObject::CellY() - 5;
    EXPECT_TRUE(dx != 0 || dy != 0);
    EXPECT_LE(std::sqrt(double(dx * dx + dy * dy)), 6.5);
}

TEST_F(MapSpellArea, ShockwavePushesAwayFromTheCasterOrStrikesAgain) {
    TGroup* target = AddGroup(Blue, 5, 5, {Knight});
    Cast(57, {100, 100, 5, 50, 0, 50, 50, 4, 0, 0});
    EXPECT_EQ(HP(target->UnitAt(0)), 32);
    EXPECT_EQ(target->TMapObject::CellX(), 6);
    EXPECT_EQ(target->TMapObject::CellY(), 6);
    AddGroup(Green, 7, 7, {Knight}); // no room behind: 4 more
    Cast(57, {100, 100, 5, 50, 0, 50, 50, 4, 0, 0}, 6, 6);
    EXPECT_EQ(HP(target->UnitAt(0)), 32 - 8 - 4);
}

TEST_F(MapSpellArea, ASpellThatChangesNothingGivesNoExperienceYetFlagsAndAnnounces) {
    TGroup* target = AddGroup(Blue, 5, 5, {Knight});
    const int16_t experience = Caster->Own.Experiences();
    World->Player(Blue).Fog->Cells[size_t(5 * 12 + 5)] = fsVisible;
    Cast(0, {});
    EXPECT_FALSE(Outcome.Affected);
    EXPECT_EQ(Caster->Own.Experiences(), experience);
    EXPECT_EQ(HP(target->UnitAt(0)), 40);
    ASSERT_EQ(World->Player(Blue).SightingCount(), 1);
    const TSighting sighting = World->Player(Blue).GetSighting(0);
    EXPECT_EQ(sighting.Kind, 2);
    EXPECT_EQ(sighting.UnitID, Caster->ID);
    EXPECT_EQ(sighting.CellX, 2);
    EXPECT_EQ(sighting.Extra, 0u);

    Cast(60, {5, 0, 0});
    EXPECT_TRUE(Outcome.Affected);
    EXPECT_GT(Caster->Own.Experiences(), experience);
}

} // namespace
} // namespace MapSpellTests
