// The fight screen's round machine driven tick by tick: the phases follow each other
// to the blows and back to the commands, casts are paid once and take effect at their
// moment, fighters walk round each other, and a shown round ends as the battle's own
// round would.
#include "ui/screens/FightDialog.h"

#include "engine/graphics/Sprite.h"
#include "game/spells/SpellVisual.h"
#include "game/world/units/AfterEffect.h"
#include "platform/classlib/Streams.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/engine/widgets/WidgetFixture.h"
#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"
#include "tests/support/UnitBuilder.h"
#include "tools/SpriteWriter.h"
#include "ui/game/Game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

namespace {

using namespace Main;
using namespace GameData;
using TestSupport::TTestBattleSide;

constexpr int Fighter = 1; // 100 hit points, 20 action points, 30 mana, attack 20
constexpr int Brute = 2;   // the same with attack 1000
constexpr int HealingSpell = 65;
constexpr int ShieldEffect = 75; // wards off every spell
constexpr int ShortCastSprite = 1;
constexpr int LongCastSprite = 2;
constexpr int DeathSprite = 3;
constexpr int IdleSprite = 4;
constexpr int IdleFrames = 4;
constexpr int LongCastFrames = 5;
constexpr int DeathFrames = 3;

// Two fighting sides of test units before the dialog, and the same again for a
// battle played at once.
struct TSides {
    TestSupport::TTestUnitRegistry Registry;
    TestSupport::TTestPlayer Players[2];
    TTestBattleSide Attackers{&Players[0]};
    TTestBattleSide Defenders{&Players[1]};

    TUnit& Add(TTestBattleSide& side, int prototype = Fighter) {
        TUnit* unit = Registry.Register(TestSupport::MakeUnitAtLevel(prototype, 5, false));
        side.AddUnit(*unit);
        return *unit;
    }
};

class FightRoundsTest : public WidgetTest {
protected:
    FightRoundsTest() {
        for (const int id : {Fighter, Brute}) {
            Data2::TUnitPrototype& prototype = Data.AddUnitPrototype(id, "Fighter");
            TestSupport::SetStat(prototype.Stats, HITPOINTS, 100);
            TestSupport::SetStat(prototype.Stats, ACTIONPOINTS, 20);
            TestSupport::SetStat(prototype.Stats, MANA, 30);
            TestSupport::SetStat(prototype.Stats, ATTACK, id == Brute ? 1000 : 20);
            TestSupport::SetStat(prototype.Stats, COUNTERATTACK, 10);
            TestSupport::SetStat(prototype.Stats, DEFENCE, 10);
            prototype.CreatureType = 1;
            prototype.ApproachOffset = 2; // a blunt weapon
            prototype.TargetOffset = 3;   // plate
            prototype.Stats.LearnableSpells = ~uint64_t(0);
            prototype.Stats.ExperienceBase() = 1000;
            for (int i = 0; i < 3; ++i)
                prototype.Sounds[i] = Sound(i);
            for (int direction = 0; direction < 8; ++direction) {
                prototype.SpriteIDs[usBattleDeath][direction] = DeathSprite;
                prototype.SpriteIDs[usBattleIdle][direction] = IdleSprite;
            }
        }
        Data.SetConstant(Data2::gcLeastActionPoints, 4);
        for (int i = 0; i < TestSupport::SampleBattleSpellCount; ++i)
            TestSupport::AddSampleSpell(Data, TestSupport::SampleBattleSpells[i]);
        Data.Global().InterfaceSounds[3] = FailureSound();
        Data.Global().InterfaceSounds[12] = HitSound(); // blunt on plate
        OpenCreatureSprites();
        Base::RandomSeed = {0x1234, 0x5678};
        Game = std::make_unique<TGame>(&Windows);
        Dialog = std::make_unique<TFightDialog>(&Windows, *Game);
    }

    // Stand-ins the sound queue carries; nothing plays them without a sound framework.
    Audio::TAudioStream* Sound(int i) {
        return reinterpret_cast<Audio::TAudioStream*>(&Tokens[size_t(i)]);
    }
    Audio::TAudioStream* FailureSound() { return Sound(3); }
    Audio::TAudioStream* HitSound() { return Sound(4); }

    static void OpenCreatureSprites() {
        std::vector<Tools::TBytes> records;
        for (const auto& [id, frames] :
             {std::pair{ShortCastSprite, 1}, std::pair{LongCastSprite, LongCastFrames},
              std::pair{DeathSprite, DeathFrames}, std::pair{IdleSprite, IdleFrames}}) {
            Tools::TSpriteOptions options;
            options.ID = uint32_t(id);
            const std::vector<Tools::TPicture> pictures(
                size_t(frames), SpriteTests::Picture(8, 8, [](int, int) { return 0xFF806040u; }));
            records.push_back(Tools::EncodeSprite(pictures, options));
        }
        Data2::GlobalData->CreatureLibrary.OpenDirectory(
            std::make_unique<ClassLib::TMemoryStream>(Tools::EncodeSpriteLibrary(3, records)));
    }
    static Data2::TUnitPrototype& Prototype(int id) {
        return Data2::GlobalData->UnitPrototypes[Data2::GlobalData->FindUnitPrototype(id)];
    }
    static void SetCastSprite(int prototype, int sprite) {
        for (int direction = 0; direction < 8; ++direction)
            Prototype(prototype).SpriteIDs[usBattleSpellCast][direction] = sprite;
    }
    // What the fight's start gives every fighter.
    void HoldStandingSprites(int slot) {
        Unit(slot).AcquireBattleIdleSprites();
        Unit(slot).AcquireBattleDeathSprites();
        Dialog->Units[size_t(slot)].SpriteFlags |= fsIdle | fsDying;
    }

    // The battle takes the sides; the fighters stand where a fight puts them.
    void Start(TSides& sides) {
        Dialog->Battle.Registry = &sides.Registry;
        Dialog->Battle.SetGroups(&sides.Attackers, &sides.Defenders);
        static constexpr int Cells[6][3] = {{0, 3, 3}, {1, 4, 3}, {2, 5, 3},
                                            {3, 0, 7}, {4, 1, 7}, {5, 2, 7}};
        for (int slot = 0; slot < BattleSlotCount; ++slot)
            Place(slot, Cells[slot][0], Cells[slot][1], Cells[slot][2]);
    }
    void Place(int slot, int cellX, int cellY, int direction = 0) {
        TUnitData& data = Dialog->Units[size_t(slot)];
        data = {};
        data.X = 64 * cellX + 32;
        data.Y = 64 * cellY + 32;
        data.Direction = direction;
    }
    void EnterPhase(int phase) {
        Dialog->Phase = phase;
        Dialog->PhaseTicks = 0;
    }
    TUnit& Unit(int slot) { return *Dialog->Battle.UnitAt(slot); }
    int Cell(int pixel) const { return TFightDialog::CellOf(pixel); }

    // Ticks until done() holds; false after the limit. Casts wait on the effect
    // thread, so the wall clock bounds a hang as well.
    bool TickUntil(const std::function<bool()>& done, int limit = 5000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (int ticks = 0; !done(); ++ticks) {
            if (ticks >= limit || std::chrono::steady_clock::now() > deadline)
                return false;
            // The effect's worker may be slow to run on a busy machine: the ticks it
            // takes depend on the scheduler, not on the machine under test.
            while (Dialog->EffectThread && Dialog->EffectThread->IsRunning() &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            Dialog->Tick();
            for (const TFightDialog::TSoundInfo& sound : Dialog->Sounds)
                if (std::find(Queued.begin(), Queued.end(), sound.Sound) == Queued.end())
                    Queued.push_back(sound.Sound);
        }
        return true;
    }
    bool WasQueued(Audio::TAudioStream* sound) const {
        return std::find(Queued.begin(), Queued.end(), sound) != Queued.end();
    }

    TestSupport::TTestGameData Data;
    std::array<char, 5> Tokens{};
    std::vector<Audio::TAudioStream*> Queued;
    std::unique_ptr<TGame> Game;
    TSides Sides;
    std::unique_ptr<TFightDialog> Dialog;
};

TEST_F(FightRoundsTest, DirectionToCoversTheCompass) {
    struct TCase {
        int ToX, ToY, Direction;
    };
    // From (10, 10), y growing downward on the field.
    const TCase cases[] = {{10, 10, 0}, {10, 11, 0}, {11, 11, 1}, {11, 10, 2}, {11, 9, 3},
                           {10, 9, 4},  {9, 9, 5},   {9, 10, 6},  {9, 11, 7},  {12, 11, 1},
                           {13, 9, 2},  {12, 9, 3},  {11, 8, 3},  {9, 8, 5},   {7, 11, 6}};
    for (const TCase& c : cases)
        EXPECT_EQ(TFightDialog::DirectionTo(10, 10, c.ToX, c.ToY), c.Direction)
            << c.ToX << "," << c.ToY;
}

TEST_F(FightRoundsTest, NextStepGoesRoundTakenCellsAndWaypoints) {
    Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Defenders);
    Start(Sides);
    Place(0, 0, 3);
    Place(1, 4, 0);
    Place(3, 5, 5);
    // Straight on toward (3, 3) when the way is clear.
    EXPECT_EQ(Dialog->NextStepDirection(0, 3, 3), 2);
    // A fighter on (1, 3): both diagonals are as near; the first in direction order wins.
    Place(1, 1, 3);
    EXPECT_EQ(Dialog->NextStepDirection(0, 3, 3), 1);
    // The cell it came from is not taken again.
    Dialog->Units[0].WaypointX = 1;
    Dialog->Units[0].WaypointY = 4;
    EXPECT_EQ(Dialog->NextStepDirection(0, 3, 3), 3);
    // With the other diagonal taken too, a step down and a step up are as near.
    Place(3, 1, 2);
    EXPECT_EQ(Dialog->NextStepDirection(0, 3, 3), 0);
}

TEST_F(FightRoundsTest, AWalkerClaimsTheCellItIsBoundFor) {
    Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Defenders);
    Start(Sides);
    Place(0, 0, 3);
    Place(3, 5, 5);
    // Slot 1 is on its way from (1, 1) to (1, 2), still in (1, 1) by its pixels.
    Place(1, 1, 1, 0);
    Dialog->Units[1].Anim = faWalking;
    Dialog->Units[1].Y += 10;
    EXPECT_EQ(Dialog->NextStepDirection(0, 1, 0), 4); // (0, 2), not (1, 2)
}

TEST_F(FightRoundsTest, APhaseBeyondTheLastEndsAtTheLast) {
    Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Defenders);
    Start(Sides);
    EnterPhase(23);
    Dialog->Tick();
    EXPECT_EQ(Dialog->Phase, fpRoundEnd);
}

TEST_F(FightRoundsTest, ARoundWithoutSpellsPassesTheCastsInOneTick) {
    Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Defenders);
    Start(Sides);
    Dialog->Battle.SetAttackCommand(0, 3);
    EnterPhase(fpRoundStart);
    Dialog->Tick();
    ASSERT_EQ(Dialog->Phase, fpCastSpells);
    EXPECT_EQ(Dialog->StatusText, "Battle initiated...");
    Dialog->Tick();
    EXPECT_EQ(Dialog->Phase, fpResolveGuards);
}

// The same round shown on the screen and played at once: the same blows, spells and
// draws from the game's random state.
TEST_F(FightRoundsTest, AShownRoundEndsAsTheBattlesOwnRound) {
    TSides twins;
    for (TSides* sides : {&Sides, &twins}) {
        sides->Add(sides->Attackers);
        sides->Add(sides->Attackers).LearnSpell(HealingSpell);
        sides->Add(sides->Defenders);
        sides->Add(sides->Defenders);
        sides->Attackers.UnitAt(1)->AddHitPoints(-50);
    }
    SetCastSprite(Fighter, LongCastSprite);
    Start(Sides);
    TBattle twin;
    twin.Registry = &twins.Registry;
    twin.SetGroups(&twins.Attackers, &twins.Defenders);
    for (TBattle* battle : {&Dialog->Battle, &twin}) {
        battle->SetAttackCommand(0, 3);
        battle->SetSpellCommand(1, HealingSpell, 1);
        battle->SetAttackCommand(3, 0);
        battle->SetGuardCommand(4, 3); // steps in front of 3 and takes on slot 0
    }
    EnterPhase(fpShowCommands);
    std::vector<int> phases{fpShowCommands};
    ASSERT_TRUE(TickUntil([&] {
        if (Dialog->Phase != phases.back())
            phases.push_back(Dialog->Phase);
        return Dialog->Phase == fpAttackerCommands;
    }));
    const Base::TRandomSeed shown = Base::RandomSeed;

    Base::RandomSeed = {0x1234, 0x5678};
    twin.PlayRound();
    EXPECT_EQ(std::memcmp(&shown, &Base::RandomSeed, sizeof shown), 0);
    for (const int slot : {0, 1, 3, 4}) {
        SCOPED_TRACE(slot);
        const TUnit& unit = Unit(slot);
        const TUnit& other = *twin.UnitAt(slot);
        EXPECT_EQ(std::memcmp(&unit.Own, &other.Own, sizeof unit.Own), 0);
        EXPECT_EQ(unit.Effects.Count(), other.Effects.Count());
    }
    EXPECT_LT(Unit(4).Effective.Value(HITPOINTS), 100); // the guard was struck
    EXPECT_EQ(Unit(1).Effective.Value(HITPOINTS), 65);  // healed by 15
    EXPECT_EQ(Unit(1).Effective.Value(MANA), 26);
    std::vector<int> expected;
    for (int phase = fpShowCommands; phase <= fpRoundEnd; ++phase)
        expected.push_back(phase);
    expected.push_back(fpAttackerCommands);
    EXPECT_EQ(phases, expected);
    for (const int slot : {0, 1, 3, 4}) {
        EXPECT_EQ(Dialog->Battle.Slots[size_t(slot)].Command, bcNone) << slot;
        EXPECT_EQ(Dialog->Units[size_t(slot)].SpriteFlags & (fsWalking | fsStriking | fsCasting), 0)
            << slot;
    }
    EXPECT_TRUE(WasQueued(Sound(0)));   // the attack sound
    EXPECT_TRUE(WasQueued(HitSound())); // the blow landing, by weapon and armour
    EXPECT_EQ(Dialog->Caster, -1);
    EXPECT_FALSE(Dialog->CurrentSpell);
    EXPECT_FALSE(Dialog->PreparedSpell);
}

class CastFrames : public FightRoundsTest, public ::testing::WithParamInterface<int> {};

TEST_P(CastFrames, ACastIsPaidOnceWhateverItsSprite) {
    SetCastSprite(Fighter, GetParam());
    TUnit& caster = Sides.Add(Sides.Attackers);
    caster.LearnSpell(HealingSpell);
    caster.AddHitPoints(-50);
    Sides.Add(Sides.Defenders);
    Start(Sides);
    Dialog->Battle.SetSpellCommand(0, HealingSpell, 0);
    EnterPhase(fpRoundStart);
    std::vector<int> mana;
    ASSERT_TRUE(TickUntil([&] {
        if (mana.empty() || mana.back() != caster.Own.Value(MANA))
            mana.push_back(caster.Own.Value(MANA));
        return Dialog->Phase > fpCastSpells;
    }));
    EXPECT_EQ(mana, (std::vector<int>{30, 26}));
    EXPECT_EQ(caster.Effective.Value(ACTIONPOINTS), 16);
    EXPECT_EQ(caster.Effective.Value(HITPOINTS), 65);
    EXPECT_EQ(Dialog->Units[0].SpriteFlags & fsCasting, 0);
    EXPECT_EQ(caster.Sprite(usBattleSpellCast, Dialog->Units[0].Direction), nullptr);
    EXPECT_EQ(Dialog->Units[0].Anim, faIdle);
}

INSTANTIATE_TEST_SUITE_P(NoneOneOrMany, CastFrames,
                         ::testing::Values(0, ShortCastSprite, LongCastSprite));

TEST_F(FightRoundsTest, AFailedCastCostsItsPriceAndDoesNothing) {
    SetCastSprite(Fighter, LongCastSprite);
    TUnit& caster = Sides.Add(Sides.Attackers);
    caster.LearnSpell(HealingSpell);
    caster.AddHitPoints(-50);
    auto shield = std::make_unique<TAfterEffect>();
    shield->Kind = ShieldEffect;
    caster.AddEffect(std::move(shield));
    Sides.Add(Sides.Defenders);
    Start(Sides);
    Dialog->Battle.SetSpellCommand(0, HealingSpell, 0);
    EnterPhase(fpRoundStart);
    bool spellFlew = false;
    ASSERT_TRUE(TickUntil([&] {
        spellFlew = spellFlew || Dialog->CurrentSpell;
        return Dialog->Phase > fpCastSpells;
    }));
    EXPECT_FALSE(spellFlew);
    EXPECT_TRUE(WasQueued(FailureSound()));
    EXPECT_EQ(caster.Effective.Value(MANA), 26);
    EXPECT_EQ(caster.Effective.Value(HITPOINTS), 50);
    EXPECT_EQ(Dialog->Units[0].SpriteFlags & fsCasting, 0);
    EXPECT_FALSE(Dialog->PreparedSpell);
}

// The target stands in a corner whose every neighbour is taken: the walker never
// gets next to it, and the walking ends all the same.
TEST_F(FightRoundsTest, AWalkerThatCannotArriveStopsAfterItsTime) {
    Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Attackers);
    for (int i = 0; i < 3; ++i)
        Sides.Add(Sides.Defenders);
    Start(Sides);
    Place(0, 0, 5);
    Place(1, 5, 1);
    Place(3, 5, 0);
    Place(4, 4, 0);
    Place(5, 4, 1);
    Dialog->Battle.SetAttackCommand(0, 3);
    EnterPhase(fpPrepareMoves);
    uint32_t walked = 0;
    ASSERT_TRUE(TickUntil([&] {
        if (Dialog->Phase == fpMoveToTargets)
            walked = Dialog->PhaseTicks;
        return Dialog->Phase > fpStartAttacks;
    }));
    EXPECT_GE(walked, 500u);
    EXPECT_LT(walked, 700u);
    const TUnitData& walker = Dialog->Units[0];
    const int x = Cell(walker.X), y = Cell(walker.Y);
    EXPECT_TRUE(x >= 0 && x < 6 && y >= 0 && y < 6) << x << "," << y;
    EXPECT_FALSE(std::abs(x - 5) <= 1 && std::abs(y) <= 1);
    EXPECT_EQ(walker.Direction, TFightDialog::DirectionTo(x, y, 5, 0));
    // It strikes from where it stands.
    EXPECT_EQ(walker.Anim, faStriking);
}

TEST_F(FightRoundsTest, AFighterHemmedInWaitsAndTurnsToItsTarget) {
    for (int i = 0; i < 3; ++i)
        Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Defenders);
    Sides.Add(Sides.Defenders);
    Start(Sides);
    Place(0, 0, 5);
    Place(1, 1, 5);
    Place(2, 0, 4);
    Place(4, 1, 4);
    Place(3, 5, 0);
    Dialog->Battle.SetAttackCommand(0, 3);
    EnterPhase(fpPrepareMoves);
    ASSERT_TRUE(TickUntil([&] { return Dialog->Phase > fpMoveToTargets; }, 200));
    EXPECT_EQ(Cell(Dialog->Units[0].X), 0);
    EXPECT_EQ(Cell(Dialog->Units[0].Y), 5);
    EXPECT_EQ(Dialog->Units[0].Direction, 3);
}

TEST_F(FightRoundsTest, AKilledFighterDiesOnceAndTheFightIsDecided) {
    Sides.Add(Sides.Attackers, Brute);
    Sides.Add(Sides.Defenders);
    Start(Sides);
    for (const int slot : {0, 3})
        HoldStandingSprites(slot);
    Dialog->Battle.SetAttackCommand(0, 3);
    Dialog->Battle.SetAttackCommand(3, 0);
    EnterPhase(fpRoundStart);
    ASSERT_TRUE(TickUntil([&] { return Dialog->Phase == fpRoundEnd && Dialog->PhaseTicks > 20; }));
    EXPECT_TRUE(Unit(3).IsDead());
    EXPECT_EQ(Unit(0).Effective.Value(HITPOINTS), 100); // the dead strike no counterblow
    const TUnitData& dead = Dialog->Units[3];
    EXPECT_EQ(dead.Anim, faDead);
    EXPECT_EQ(dead.Frame, DeathFrames - 1);
    EXPECT_TRUE(WasQueued(Sound(1)));
    EXPECT_TRUE(WasQueued(Sound(2)));
    // The sounds all play within their spread.
    EXPECT_TRUE(Dialog->Sounds.empty());
    // A decided fight does not go back to the commands.
    EXPECT_EQ(Dialog->Phase, fpRoundEnd);
}

TEST_F(FightRoundsTest, AWoundMakesOneFlinch) {
    Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Defenders);
    Start(Sides);
    HoldStandingSprites(3);
    TUnitData& data = Dialog->Units[3];
    const auto flinchTicks = [&] {
        int ticks = 0;
        for (; ticks < 100 && !Dialog->AnimateHits(); ++ticks)
            ++Dialog->PhaseTicks;
        return ticks;
    };
    Dialog->PhaseTicks = 1;
    Unit(3).Wounds.Add({10, 0});
    EXPECT_FALSE(Dialog->AnimateHits());
    EXPECT_EQ(data.Anim, faFlinching);
    // Three frames of four ticks.
    const int ticks = flinchTicks();
    EXPECT_GE(ticks, 8);
    EXPECT_LE(ticks, 12);
    EXPECT_EQ(data.Anim, faIdle);
    // The wound has not aged, yet it is the same wound.
    EXPECT_TRUE(Dialog->AnimateHits());
    EXPECT_EQ(data.Anim, faIdle);
    Unit(3).Wounds.Add({5, 0});
    EXPECT_FALSE(Dialog->AnimateHits());
    // Without a dying sequence to show it, the flinch is over at once.
    Unit(3).ReleaseBattleDeathSprites();
    Unit(3).Wounds.Clear();
    Unit(3).Wounds.Add({7, 0});
    EXPECT_TRUE(Dialog->AnimateHits());
    EXPECT_EQ(data.Anim, faIdle);
}

// Idling and sound delays are the screen's own chance: the game's seeded state, which
// every machine of a session must draw alike, is left alone.
TEST_F(FightRoundsTest, IdlingAndSoundsLeaveTheGamesRandomStateAlone) {
    Prototype(Fighter).IdleAnimMode = 2;
    Prototype(Fighter).IdleAnimPeriod = 2;
    Prototype(Brute).IdleAnimMode = 1;
    Prototype(Brute).IdleAnimPeriod = 3;
    Sides.Add(Sides.Attackers, Fighter);
    Sides.Add(Sides.Defenders, Brute);
    Start(Sides);
    HoldStandingSprites(0);
    HoldStandingSprites(3);
    const Base::TRandomSeed before = Base::RandomSeed;
    std::vector<int> fidgets, cycle;
    for (uint32_t tick = 1; tick <= 3000; ++tick) {
        Dialog->PhaseTicks = tick;
        Dialog->AnimateIdle();
        if (fidgets.empty() || fidgets.back() != Dialog->Units[0].Frame)
            fidgets.push_back(Dialog->Units[0].Frame);
        if (cycle.size() < 6 && (cycle.empty() || cycle.back() != Dialog->Units[3].Frame))
            cycle.push_back(Dialog->Units[3].Frame);
        Dialog->QueueSound(Sound(0), 50);
        Dialog->PlayQueuedSounds();
    }
    EXPECT_EQ(cycle, (std::vector<int>{0, 1, 2, 3, 0, 1}));
    // Now and then a whole run of the frames, back to the first and resting there.
    ASSERT_GT(fidgets.size(), 5u);
    EXPECT_EQ(fidgets[0], 0);
    EXPECT_EQ(fidgets[1], 1);
    EXPECT_EQ(fidgets[4], 0);
    // Every sound waits 0 to 14 ticks.
    EXPECT_LE(Dialog->Sounds.size(), 15u);
    for (const TFightDialog::TSoundInfo& sound : Dialog->Sounds)
        EXPECT_LT(sound.Delay, 15);
    EXPECT_EQ(std::memcmp(&before, &Base::RandomSeed, sizeof before), 0);
}

TEST_F(FightRoundsTest, InTheBackgroundATickOnlyCountsAndWatchesTheAnimation) {
    Sides.Add(Sides.Attackers);
    Sides.Add(Sides.Defenders);
    Start(Sides);
    Dialog->Background = 1;
    Dialog->AnimationDone = 0;
    EnterPhase(fpShowCommands);
    Dialog->QueueSound(Sound(0), 50);
    for (int i = 0; i < 60; ++i)
        Dialog->Tick();
    EXPECT_EQ(Dialog->Phase, fpShowCommands);
    EXPECT_EQ(Dialog->PhaseTicks, 60u);
    EXPECT_EQ(Dialog->TotalTicks, 0u);
    EXPECT_EQ(Dialog->Sounds.size(), 1u);
    EXPECT_EQ(Dialog->AnimationDone, 1); // no animation to wait for
}

} // namespace
