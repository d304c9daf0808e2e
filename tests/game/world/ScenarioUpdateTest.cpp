// The scenario's per-frame update: objects added and removed while the objects tick,
// finished animations, the map view's scroll, the map spell's hand-over and its
// caster, and the cast's worker stopping in the middle.
#include "engine/core/Random.h"
#include "game/world/data/GlobalData.h"
#include "game/world/objects/Drawings.h"
#include "tests/game/world/CityGroupFixture.h"
#include "tests/support/StateDigest.h"

#include <atomic>
#include <chrono>
#include <functional>

namespace CityGroupTests {
namespace {

// A map object that counts its ticks and runs a step of the test on its first one.
class TProbe : public TMapObject {
public:
    explicit TProbe(TScenario* scenario) : TMapObject(scenario) { Kind = okDrawing; }
    Gfx::TSprite* GetSprite() const override { return nullptr; }
    void Tick() override {
        if (Ticks++ == 0 && OnFirstTick)
            OnFirstTick();
    }
    int Ticks = 0;
    std::function<void()> OnFirstTick;
};

// A spell effect that acts at frame EffectFrame and ends at FinishFrame. With
// LongPreparation its preparation only ends when asked to stop.
class TTestSpellEffect : public TSpellEffect {
public:
    struct TLog {
        std::atomic<int> Preparations{0};
        std::atomic<bool> PreparationStarted{false};
        int Effects = 0;
        TUnit* Caster = nullptr;
        TUnit* Victim = nullptr;
        TSpellCast Cast;
    };
    explicit TTestSpellEffect(TLog& log, bool longPreparation)
        : Log(log), LongPreparation(longPreparation) {}

    void Prepare(const TSpellCast& cast, const std::function<bool()>& stopRequested) override {
        Log.Cast = cast;
        Log.PreparationStarted = true;
        // Stands in for a long preparation: polls the stop request between pieces.
        while (LongPreparation && !stopRequested())
            std::this_thread::yield();
        ++Log.Preparations;
    }
    void Advance() override { ++Frame; }
    void TakeEffect(TScenario& scenario, TUnit* caster) override {
        ++Log.Effects;
        Log.Caster = caster;
        if (Log.Victim) {
            // Kills the victim as a damaging spell does and flags the dead.
            Log.Victim->AddHitPoints(-1000);
            static_cast<TGroup*>(Log.Victim->GetGroup())->Activity = gaRemoveDead;
            scenario.DeathsPending = 1;
        }
    }
    bool EffectNow() const override { return Frame == EffectFrame; }
    bool Finished() const override { return Frame >= FinishFrame; }
    uint32_t CasterID() const override { return Log.Cast.CasterID; }
    void Draw(Win32::IDirectDrawSurface7*, int, int, const Win32::RECT&) override {}

    TLog& Log;
    bool LongPreparation;
    int Frame = 0;
    static constexpr int EffectFrame = 3;
    static constexpr int FinishFrame = 6;
};

class ScenarioUpdateTest : public CityGroupTest {
protected:
    ScenarioUpdateTest() {
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        Scenario().BeginTurnOf(Red);
    }

    TProbe* Probe(int x, int y) {
        auto probe = std::make_unique<TProbe>(&Scenario());
        probe->X = int16_t(x);
        probe->Y = int16_t(y);
        return static_cast<TProbe*>(Scenario().AddObject(std::move(probe)));
    }
};

TEST_F(ScenarioUpdateTest, ObjectsAddedAndRemovedDuringTheTicksNeverBreakTheWalk) {
    TProbe* first = Probe(20, 20);
    TProbe* retired = Probe(20, 100);
    TProbe* deleted = Probe(20, 140);
    TProbe* last = Probe(20, 400);
    TProbe* added = nullptr;
    auto* pending = new TProbe(&Scenario()); // handed to the scenario by the update
    pending->Y = 60;
    first->OnFirstTick = [&] {
        Scenario().RetireObject(retired);
        Scenario().RemoveObject(deleted, 0);
        added = Probe(20, 300);
        Scenario().AddPendingObject(pending);
    };
    Scenario().Update();
    EXPECT_EQ(first->Ticks, 1);
    EXPECT_EQ(last->Ticks, 1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Ticks, 0); // joins the walk at the next update
    EXPECT_EQ(pending->Ticks, 0);
    EXPECT_GE(Scenario().IndexOfObject(pending), 0);
    EXPECT_EQ(Scenario().PendingObjects.Count(), 0);
    EXPECT_EQ(Scenario().IndexOfObject(retired), -1);
    EXPECT_TRUE(Scenario().IsDrawOrderSorted());

    Scenario().Update();
    EXPECT_EQ(added->Ticks, 1);
    EXPECT_EQ(pending->Ticks, 1);
    EXPECT_EQ(first->Ticks, 2);
}

TEST_F(ScenarioUpdateTest, FinishedAnimationsGoAndTheFlagWaitsForTheLast) {
    auto animation = std::make_unique<TAnimation>(&Scenario());
    animation->Setup(TestSupport::TTinyWorld::SparkleSprite, 100, 0, 2, DefaultLayer, 100);
    const uint32_t id = Scenario().AddObject(std::move(animation))->ID;
    Scenario().Update();
    EXPECT_FALSE(Scenario().AnimationsFinished());
    for (int i = 0; i < 20 && Scenario().FindObjectByID(id); ++i) {
        EXPECT_FALSE(Scenario().AnimationsFinished());
        Scenario().Update();
    }
    EXPECT_EQ(Scenario().FindObjectByID(id), nullptr);
    EXPECT_TRUE(Scenario().AnimationsFinished());
}

TEST_F(ScenarioUpdateTest, ATownsDeadLeaveItAndNeverFightAgain) {
    TCity* city = World->AddCity(Red, 6, 6);
    TUnit* fallen = Registered(SoldierID);
    TUnit* standing = Registered(HeroID);
    city->AddDefender(0, fallen, false);
    city->AddDefender(0, standing, false);
    TUnit* deadGarrison = city->AddOtherUnit(Make(SoldierID), true, false);
    TUnit* garrison = city->AddOtherUnit(Make(SoldierID), true, false);
    TUnit* deadCivilian = city->AddCivilian(Make(BeastID), true, false);
    city->GateGroup->AddUnit(Make(SoldierID), true, false);
    TUnit* deadAtGate = city->GateGroup->UnitAt(0);
    const std::vector<uint32_t> deadIDs{fallen->ID, deadGarrison->ID, deadCivilian->ID,
                                        deadAtGate->ID};
    Scenario().FlagDeadUnits();
    EXPECT_EQ(Scenario().DeathsPending.load(), 0) << "nobody died";

    // The defenders fight and the first falls, as do others by the scripts' hand.
    city->LoadDefenderGroup(0);
    for (TUnit* unit : {fallen, deadGarrison, deadCivilian, deadAtGate})
        unit->AddHitPoints(-1000);
    city->ReleaseDefenderGroup();
    Scenario().FlagDeadUnits();
    EXPECT_EQ(Scenario().DeathsPending.load(), 1);
    Scenario().Update();

    EXPECT_EQ(Scenario().DeathsPending.load(), 0);
    for (uint32_t id : deadIDs)
        EXPECT_EQ(Scenario().Units.FindByID(id), nullptr) << id;
    EXPECT_EQ(city->DefenderAt(0), standing) << "the row closes up";
    EXPECT_EQ(city->DefenderCountInRow(0), 1);
    EXPECT_EQ(city->OtherUnits.Count(), 1);
    EXPECT_EQ(city->OtherUnits[0], garrison);
    EXPECT_EQ(city->Civilians.Count(), 0);
    EXPECT_EQ(city->GateGroup->UnitCount(), 0);
    city->LoadDefenderGroup(0);
    EXPECT_EQ(city->DefenderGroup->UnitCount(), 1) << "only the living defend the next fight";
    city->ReleaseDefenderGroup();
    // The town stores only units that exist.
    const auto loaded = TestSupport::LoadedScenario(TestSupport::SavedBytes(Scenario()));
    EXPECT_EQ(loaded->Units.Count(), Scenario().Units.Count());
}

// The planner of a group's owner lets go of every unit that falls, also when the whole
// group falls and leaves the map with its units.
TEST_F(ScenarioUpdateTest, APlannerLetsGoOfEveryFallenUnitOfItsGroups) {
    for (const bool bothFall : {false, true}) {
        SCOPED_TRACE(bothFall);
        TGroup* group = World->AddGroup(Blue, 4, 4);
        TUnit* first = group->AddUnit(Make(SoldierID), true, true);
        TUnit* second = group->AddUnit(Make(SoldierID), true, true);
        const std::string firstLeft = "Blue-" + std::to_string(first->ID);
        const std::string secondLeft = "Blue-" + std::to_string(second->ID);
        Log.clear();
        first->AddHitPoints(-1000);
        if (bothFall)
            second->AddHitPoints(-1000);
        Scenario().RemoveDeadUnits();
        std::vector<std::string> expected{firstLeft};
        if (bothFall)
            expected.insert(expected.begin(), secondLeft); // the last slot first
        EXPECT_EQ(Log, expected);
    }
}

TEST_F(ScenarioUpdateTest, TheViewScrollsInStepsOrJumpsAndStaysOnTheMap) {
    TScenario& scenario = Scenario();
    scenario.SetMapSize(40, 40); // 1600 x 1600 pixels
    scenario.ScrollViewTo(400, 300, 10);
    for (int i = 0; i < 9; ++i)
        scenario.Update();
    EXPECT_NE(scenario.View.Left, 400);
    scenario.Update();
    EXPECT_EQ(scenario.View.Left, 400);
    EXPECT_EQ(scenario.View.Top, 300);

    scenario.ScrollViewTo(5000, -50, 0);
    EXPECT_EQ(scenario.View.Left, 1600 - 800 + 230);
    EXPECT_EQ(scenario.View.Top, 0);
    scenario.ScrollViewTo(5000, 5000, 3);
    EXPECT_EQ(scenario.ScrollTargetLeft, 1600 - 800 + 230);
    EXPECT_EQ(scenario.ScrollTargetTop, 1600 - 600);
}

TEST_F(ScenarioUpdateTest, TheSpellActsOnItsCasterByIdentifierAndIsDoneWhenFinished) {
    Data2::TSpellPrototype& spell = Data.AddSpell(5, 1);
    spell.APCost = 4;
    spell.ManaCost = 7;
    TTestSpellEffect::TLog log;
    Scenario().SpellEffects = [&log](TScenario&) {
        return std::make_unique<TTestSpellEffect>(log, false);
    };
    TGroup* group = World->AddGroup(Red, 2, 2);
    TUnit* caster = group->AddUnit(Make(SoldierID), true, false);
    TGroup* other = World->AddGroup(Red, 6, 6);
    other->AddUnit(Make(SoldierID), true, false);
    Player(Red).SelectObject(group);

    ASSERT_TRUE(group->StartSpellCast(caster->ID, 5, 4, 2));
    // The player selects another group while the spell plays.
    Player(Red).SelectObject(other);
    std::vector<int32_t> reports;
    // The preparation runs on its own thread: update until the report, for at most
    // a generous while.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (reports.empty() && std::chrono::steady_clock::now() < deadline) {
        Scenario().Update();
        if (group->IsCastThreadRunning())
            std::this_thread::yield();
        if (const TPlayerAction action = Player(Red).TakeAction(); action.Code == acReport)
            reports.push_back(int32_t(action.P[0]));
        if (!Scenario().SpellEffect && log.Effects == 0) {
            EXPECT_EQ(caster->Effective.Value(ACTIONPOINTS), 10); // pays when it casts
        }
    }
    EXPECT_EQ(log.Preparations, 1);
    EXPECT_EQ(log.Cast.TargetX, 4 * CellSize + HalfCell);
    EXPECT_EQ(log.Cast.SourceX, 2 * CellSize + HalfCell);
    EXPECT_EQ(log.Effects, 1);
    EXPECT_EQ(log.Caster, caster);
    EXPECT_EQ(caster->Effective.Value(ACTIONPOINTS), 10 - 4);
    EXPECT_EQ(caster->Effective.Value(MANA), 20 - 7);
    EXPECT_EQ(reports, (std::vector<int32_t>{arDone}));
    EXPECT_EQ(Scenario().SpellEffect, nullptr);
    EXPECT_EQ(group->Facing, 2); // turned east towards the target
}

TEST_F(ScenarioUpdateTest, AKillingSpellIsDoneOnlyOnceTheDeadAreGone) {
    Data.AddSpell(5, 1);
    TTestSpellEffect::TLog log;
    Scenario().SpellEffects = [&log](TScenario&) {
        return std::make_unique<TTestSpellEffect>(log, false);
    };
    TGroup* group = World->AddGroup(Red, 2, 2);
    TUnit* caster = group->AddUnit(Make(SoldierID), true, false);
    TGroup* enemy = World->AddGroup(Blue, 4, 2);
    TUnit* survivor = enemy->AddUnit(Make(SoldierID), true, false);
    log.Victim = enemy->AddUnit(Make(BeastID), true, false);
    const uint32_t victimID = log.Victim->ID;
    ASSERT_TRUE(group->StartSpellCast(caster->ID, 5, 4, 2));

    bool sawDying = false;
    int32_t report = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (report < 0 && std::chrono::steady_clock::now() < deadline) {
        Scenario().Update();
        if (group->IsCastThreadRunning())
            std::this_thread::yield();
        if (enemy->AnimState == asDying) {
            sawDying = true;
            EXPECT_NE(Scenario().SpellEffect, nullptr); // held while the group dies
        }
        if (const TPlayerAction action = Player(Red).TakeAction(); action.Code == acReport)
            report = int32_t(action.P[0]);
    }
    EXPECT_TRUE(sawDying);
    EXPECT_EQ(report, arDone);
    EXPECT_EQ(Scenario().DeathsPending.load(), 0);
    EXPECT_EQ(Scenario().Units.FindByID(victimID), nullptr); // deleted with the dead
    EXPECT_EQ(enemy->UnitCount(), 1);
    EXPECT_EQ(enemy->UnitAt(0), survivor);
}

TEST_F(ScenarioUpdateTest, ALongCastPreparationStopsWhenAsked) {
    Data.AddSpell(5, 1);
    TTestSpellEffect::TLog log;
    Scenario().SpellEffects = [&log](TScenario&) {
        return std::make_unique<TTestSpellEffect>(log, true);
    };
    TGroup* group = World->AddGroup(Red, 2, 2);
    TUnit* caster = group->AddUnit(Make(SoldierID), true, false);
    ASSERT_TRUE(group->StartSpellCast(caster->ID, 5, 2, 2));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!log.PreparationStarted && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_TRUE(log.PreparationStarted);
    Scenario().Update();
    EXPECT_TRUE(group->IsCastThreadRunning()); // the group waits for it
    group->StopCastThread();
    EXPECT_FALSE(group->IsCastThreadRunning());
    EXPECT_EQ(log.Preparations, 1);
}

TEST_F(ScenarioUpdateTest, WithoutSpellEffectsNoCastStarts) {
    Data.AddSpell(5, 1);
    TGroup* group = World->AddGroup(Red, 2, 2);
    TUnit* caster = group->AddUnit(Make(SoldierID), true, false);
    EXPECT_FALSE(group->StartSpellCast(caster->ID, 5, 3, 3));
    EXPECT_EQ(group->Activity, gaNone);
}

} // namespace
} // namespace CityGroupTests
