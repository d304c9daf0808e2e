// Where the selected group's mage may cast a map spell: its range (LEVEL + 2 cells),
// the spell's target bits against what stands on the cell, and every refusal.
#include "tests/game/spells/MapSpellFixture.h"

namespace MapSpellTests {
namespace {

constexpr int Spell = 5;
constexpr int Clairvoyance = 33;

class SpellTargetTest : public MapSpellTest {
protected:
    SpellTargetTest() {
        for (const int id : {Spell, Clairvoyance}) {
            AddSpell(id, {}).ManaCost = 5;
            Caster->Own.LearnableSpells |= MaskBit(id);
            Caster->Own.Spells |= MaskBit(id);
        }
        Caster->RecalculateStats(true);
        World->Scenario->CurrentPlayer = &World->Player(Red);
        World->Player(Red).Selection = CasterGroup;
    }

    bool CanCast(uint32_t targets, int x, int y, int slot = 0, int spell = Spell) {
        Data.Global().SpellPrototypes[0].TargetFlags = targets;
        Data.Global().SpellPrototypes[1].TargetFlags = targets;
        return World->Scenario->CanCastSpellAt(slot, spell, y, x);
    }
};

TEST_F(SpellTargetTest, TargetBitsAcceptWhatStandsOnTheCell) {
    TGroup* friendGroup = AddGroup(Red, 3, 2, {Knight});
    TGroup* enemy = AddGroup(Blue, 4, 4, {Knight});
    TGroup* neutral = AddGroup(Green, 2, 5, {Wolf});
    enemy->Spotted = 1;
    neutral->Spotted = 1;
    const struct {
        const char* name;
        uint32_t targets;
        int x, y;
        bool allowed;
    } cases[] = {
        {"own group", 0x01, 3, 2, true},
        {"enemy as own", 0x01, 4, 4, false},
        {"spotted enemy", 0x02, 4, 4, true},
        {"own as enemy", 0x02, 3, 2, false},
        {"spotted neutral", 0x04, 2, 5, true},
        {"neutral as enemy", 0x02, 2, 5, false},
        {"any empty cell", 0x08, 6, 6, true},
        {"caster's own cell", 0x10, 2, 2, true},
        {"another cell as own", 0x10, 3, 3, false},
        {"free cell", 0x20, 6, 6, true},
        {"occupied cell as free", 0x20, 4, 4, false},
        {"empty cell for groups", 0x07, 6, 6, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CanCast(c.targets, c.x, c.y), c.allowed);
    }

    // Foreign groups the player does not see are no targets.
    enemy->Spotted = 0;
    neutral->Spotted = 0;
    EXPECT_FALSE(CanCast(0x02, 4, 4));
    EXPECT_FALSE(CanCast(0x04, 2, 5));
    EXPECT_TRUE(CanCast(0x01, 3, 2)) << friendGroup;
}

TEST_F(SpellTargetTest, RangeIsTheCastersLevelPlusTwoExceptForClairvoyance) {
    // Level 6 from (2, 2): 8 cells, measured straight.
    EXPECT_TRUE(CanCast(0x08, 10, 2));
    EXPECT_FALSE(CanCast(0x08, 10, 3));
    EXPECT_TRUE(CanCast(0x08, 8, 7)); // 36 + 25 <= 64
    EXPECT_FALSE(CanCast(0x08, 11, 11));
    EXPECT_TRUE(CanCast(0x08, 11, 11, 0, Clairvoyance));
}

TEST_F(SpellTargetTest, RefusedWhenTheCasterCannotCastOrTheCallIsWrong) {
    EXPECT_FALSE(CanCast(0x08, 3, 3, 1)) << "empty slot";
    EXPECT_FALSE(CanCast(0x08, 3, 3, 3)) << "no such slot";
    EXPECT_FALSE(CanCast(0x08, 3, 3, 0, 7)) << "no such spell";
    EXPECT_FALSE(CanCast(0x08, 12, 3)) << "off the map";
    EXPECT_FALSE(CanCast(0x08, 3, -1)) << "off the map";
    Caster->Own.Value(MANA) = 4;
    Caster->RecalculateStats(false);
    EXPECT_FALSE(CanCast(0x08, 3, 3)) << "mana short";
    Caster->Own.Value(MANA) = 20;
    Caster->RecalculateStats(false);
    EXPECT_TRUE(CanCast(0x08, 3, 3));
    World->Player(Red).Selection = nullptr;
    EXPECT_FALSE(CanCast(0x08, 3, 3)) << "nothing selected";
}

} // namespace
} // namespace MapSpellTests
