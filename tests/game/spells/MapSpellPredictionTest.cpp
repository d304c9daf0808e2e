// The computer player's prediction: judged by expectation, with no draw and no change
// to the scenario, and the same rules on scratch copies from its own random state.
#include "tests/game/spells/MapSpellFixture.h"

#include "game/world/fog/Fog.h"
#include "platform/classlib/Streams.h"

#include <cstring>
#include <string>
#include <vector>

namespace MapSpellTests {
namespace {

class MapSpellPrediction : public MapSpellTest {
protected:
    bool Predict(int spell, std::initializer_list<int16_t> params, int x = 5, int y = 5) {
        AddSpell(spell, params);
        return CanCastMapSpell(*World->Scenario, *Caster, spell, x, y);
    }

    // Every unit's and map object's stored bytes, every fog and both random states.
    std::string Snapshot() const {
        ClassLib::TMemoryStream stream;
        for (const TUnit* unit : World->Scenario->Units)
            unit->SaveToStream(&stream);
        for (const TMapObject* object : World->Scenario->Objects)
            object->SaveToStream(&stream);
        std::string bytes(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.GetSize()));
        for (const TPlayer* player : World->Scenario->Players)
            bytes.append(player->Fog->Cells.begin(), player->Fog->Cells.end());
        for (const Base::TRandomSeed& seed : {Base::RandomSeed, Base::AIRandomSeed})
            bytes += std::to_string(seed.Low) + ":" + std::to_string(seed.High) + ";";
        return bytes;
    }
};

TEST_F(MapSpellPrediction, EdgeCasesOfTheRules) {
    TGroup* pair = AddGroup(Blue, 5, 5, {Knight, Knight});
    TGroup* single = AddGroup(Blue, 7, 7, {Knight});
    // Spell 2: an immune first unit does not decide; one that has the effect does.
    pair->UnitAt(0)->AddEffect(std::make_unique<TAfterEffect>(TAfterEffect{{}, 1, 0, 11, 0}));
    EXPECT_TRUE(Predict(2, {}));
    pair->UnitAt(0)->AddEffect(std::make_unique<TAfterEffect>(TAfterEffect{{}, 1, 0, 2, 0}));
    EXPECT_FALSE(Predict(2, {}));
    // 43 needs a second unit to strike with.
    EXPECT_TRUE(Predict(43, {}));
    EXPECT_FALSE(Predict(43, {}, 7, 7));
    // 40 with no attack share against defence 10; 41 with 100 x 60 x 90 / 100 / 50 - 5.
    EXPECT_FALSE(Predict(40, {0, 0, 50}));
    EXPECT_TRUE(Predict(41, {100, 0, 50}));
    // 36: 90 x 100 % against 50 x 100 %; a hero makes it 10,000.
    EXPECT_TRUE(Predict(36, {100, 100}, 7, 7));
    single->UnitAt(0)->IsHero = 1;
    EXPECT_FALSE(Predict(36, {100, 100}, 7, 7));
    for (const int never : {0, 59, 62, -1})
        EXPECT_FALSE(Predict(never, {})) << never;
    // Walking rules find nobody on an empty cell; 21 and the summons need nobody.
    EXPECT_FALSE(Predict(60, {}, 9, 2));
    EXPECT_TRUE(Predict(21, {}, 9, 2));
}

TEST_F(MapSpellPrediction, AGroupThatHasTheEffectEverywhereIsRefusedButForSpell17) {
    TGroup* group = AddGroup(Blue, 5, 5, {Knight});
    for (const int spell : {15, 17}) {
        group->UnitAt(0)->AddEffect(
            std::make_unique<TAfterEffect>(TAfterEffect{{}, 1, 0, spell, 0}));
        EXPECT_EQ(Predict(spell, {100, 100}), spell == 17) << spell;
    }
}

TEST_F(MapSpellPrediction, NeverChangesTheScenarioNorDrawsFromTheGamesState) {
    AddGroup(Blue, 5, 5, {Knight, Ghoul, Wolf});
    AddGroup(Green, 6, 5, {Knight});
    AddGroup(Red, 4, 4, {Knight});
    for (int spell = 0; spell <= LastMapSpell; ++spell)
        AddSpell(spell, {50, 50, 50, 50, 50, 50, 50, 50, 50, 50});
    World->Scenario->UpdateAllVisibility();
    const std::string before = Snapshot();
    for (int spell = 0; spell <= LastMapSpell; ++spell)
        for (int y = 0; y < World->Scenario->Height; ++y)
            for (int x = 0; x < World->Scenario->Width; ++x)
                CanCastMapSpell(*World->Scenario, *Caster, spell, x, y);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(MapSpellPrediction, ScratchCopiesTakeTheRulesWithTheComputersOwnRandomState) {
    TGroup* group = AddGroup(Blue, 5, 5, {Knight, Knight});
    AddSpell(60, {5, 50, 50});
    AddSpell(17, {100, 100, 5, 50, 0, 50});
    std::vector<std::unique_ptr<TUnit>> copies;
    std::vector<TUnit*> slots;
    for (int slot = 0; slot < 2; ++slot) {
        copies.push_back(std::make_unique<TUnit>());
        copies.back()->Assign(group->UnitAt(slot));
        slots.push_back(copies.back().get());
    }
    const Base::TRandomSeed game = Base::RandomSeed;
    Base::TRandomSeed own{7, 9};
    ApplySpellToUnits(*World->Scenario, *Caster, 17, slots, own);
    // 17 beats by expectation: 3 + 5, no random part; defence - 3 for 2 turns.
    EXPECT_EQ(slots[0]->Effective.Value(HITPOINTS), 32);
    ApplySpellToUnits(*World->Scenario, *Caster, 60, slots, own);
    // 5 + 3 + a draw below 3 from the computer's state.
    EXPECT_GE(slots[1]->Effective.Value(HITPOINTS), 32 - 10);
    EXPECT_LE(slots[1]->Effective.Value(HITPOINTS), 32 - 8);
    EXPECT_NE(own.Low, 7u);
    EXPECT_EQ(Base::RandomSeed.Low, game.Low);
    EXPECT_EQ(Base::RandomSeed.High, game.High);
    EXPECT_EQ(group->UnitAt(0)->Effective.Value(HITPOINTS), 40);
    // Summons and other identifiers change nothing on copies.
    const int units = World->Scenario->Units.Count();
    ApplySpellToUnits(*World->Scenario, *Caster, 61, slots, own);
    ApplySpellToUnits(*World->Scenario, *Caster, 1, slots, own);
    EXPECT_EQ(World->Scenario->Units.Count(), units);
}

// Spells 5, 10, 20, 34 and 44 change their caster on the map; rated on copies, they
// leave the real caster alone.
TEST_F(MapSpellPrediction, ScratchCopiesNeverChangeTheCaster) {
    struct TCase {
        int Spell;
        std::initializer_list<int16_t> Params;
        int Prototype;
    };
    const TCase cases[] = {
        {5, {100, 100, 5, 50, 10}, Knight},  // the caster loses 10 morale
        {10, {100, 100, 5, 3}, Ghoul},       // the caster's mana becomes 3
        {20, {100, 50, 50, 50, 50}, Knight}, // the caster heals what it drains
        {34, {100, 100, 50}, Knight},        // the caster gains the drained mana
        {44, {7, 5, 5}, Knight},             // the caster's mana becomes 7
    };
    // Room to heal and to gain mana.
    Caster->TakeDamage(20);
    Caster->AddMana(-15);
    const auto stored = [](const TUnit& unit) {
        ClassLib::TMemoryStream stream;
        unit.SaveToStream(&stream);
        return stream.Bytes();
    };
    const std::vector<uint8_t> before = stored(*Caster);
    const TUnitStats effective = Caster->Effective;
    Base::TRandomSeed own{7, 9};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Spell);
        AddSpell(c.Spell, c.Params);
        auto copy = TestSupport::MakeUnit(c.Prototype);
        copy->RecalculateStats(true);
        const std::vector<uint8_t> copyBefore = stored(*copy);
        TUnit* slots[] = {copy.get()};
        ApplySpellToUnits(*World->Scenario, *Caster, c.Spell, slots, own);
        EXPECT_TRUE(stored(*copy) != copyBefore); // the spell took hold
        EXPECT_TRUE(stored(*Caster) == before);
        EXPECT_EQ(std::memcmp(&Caster->Effective, &effective, sizeof(TUnitStats)), 0);
    }
}

} // namespace
} // namespace MapSpellTests
