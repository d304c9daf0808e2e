#include "tests/game/ai/AIWorld.h"

#include "game/ai/AIRanking.h"
#include "game/world/fog/Fog.h"
#include "platform/classlib/Streams.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <set>
#include <vector>

namespace {

using namespace AIHandler;
using namespace GameData;
using TestSupport::MakeUnit;
using TestSupport::SetStat;
using TBytes = std::vector<uint8_t>;

template <typename T>
TBytes Saved(const T& record) {
    ClassLib::TMemoryStream stream;
    record.SaveToStream(&stream);
    return stream.Bytes();
}

template <typename T>
void Load(T& record, const TBytes& bytes) {
    ClassLib::TMemoryStream stream(bytes);
    record.LoadFromStream(&stream);
    EXPECT_EQ(stream.Remaining(), 0);
}

// Little-endian fields, for the stored layouts.
struct TLayout {
    TLayout& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            Bytes.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    TLayout& U8(uint8_t v) {
        Bytes.push_back(v);
        return *this;
    }
    TBytes Bytes;
};

class TaskModelTest : public testing::Test {
protected:
    // HITPOINTS 30, MANA 4, ACTIONPOINTS 10, ATTACK 20, COUNTERATTACK 6, DEFENCE 5,
    // SIGHT 3 (+1 every second level).
    static constexpr int SoldierID = 1;
    // HITPOINTS 10 and nothing else: fit for no task.
    static constexpr int FarmerID = 2;
    static constexpr uint8_t Red = 0, Blue = 1, Green = 2;

    TaskModelTest() {
        TUnitStats& soldier = Data.AddUnitPrototype(SoldierID, "Soldier").Stats;
        SetStat(soldier, HITPOINTS, 30);
        SetStat(soldier, MANA, 4);
        SetStat(soldier, ACTIONPOINTS, 10);
        SetStat(soldier, ATTACK, 20);
        SetStat(soldier, COUNTERATTACK, 6);
        SetStat(soldier, DEFENCE, 5);
        SetStat(soldier, SIGHT, 3, 1, 2);
        SetStat(Data.AddUnitPrototype(FarmerID, "Farmer").Stats, HITPOINTS, 10);
        for (int i = 0; i < 3; ++i) // the flat map's steps are all gentle
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        TestSupport::TTinyWorldOptions options;
        options.BaseCost = 4; // a step costs about 4: "near" (below 20) is four cells
        World = std::make_unique<TestSupport::TAIWorld>(options);
    }

    TScenario& Scenario() { return *World->Scenario; }
    TAIHandler& Handler(int player = Blue) { return World->Handler(player); }

    TGroup& Group(uint8_t owner, int x, int y, std::initializer_list<int> units = {SoldierID}) {
        TGroup* group = World->AddGroup(owner, x, y);
        for (const int prototype : units)
            group->AddUnit(MakeUnit(prototype), true, true);
        return *group;
    }
    // A unit serving the town's owner among its other units (civilians with civilian).
    TUnit* InTown(TCity& town, int prototype = SoldierID, bool civilian = false) {
        auto unit = MakeUnit(prototype);
        unit->Marker = CityOwnerByte;
        return civilian ? town.AddCivilian(std::move(unit), true, true)
                        : town.AddOtherUnit(std::move(unit), true, true);
    }
    TAIUnit& Record(const TUnit* unit, int player = Blue) {
        TAIUnit* record = Handler(player).FindAIUnit(unit);
        EXPECT_NE(record, nullptr);
        return *record;
    }
    TAIUnit& Record(const TGroup& group, int slot) {
        return Record(group.UnitAt(slot), group.OwnerIndex);
    }
    void SeeEverything(int player) {
        TFog& fog = *World->Player(player).Fog;
        fog.Width = Scenario().Width;
        fog.Height = Scenario().Height;
        fog.Cells.assign(size_t(fog.Width * fog.Height), fsVisible);
    }

    std::unique_ptr<TAITask> NewTask(TAITaskType type, int32_t kind,
                                     const Data::TDataObject* target, int player = Blue) {
        auto task = std::make_unique<TAITask>(&Handler(player), true);
        task->Header->TaskType = type;
        task->Target().Kind = kind;
        task->Target().SetTarget(target);
        task->Target().UpdatePosition();
        return task;
    }
    TAITask& AddTask(std::unique_ptr<TAITask> task, int player = Blue) {
        TAITaskList& tasks = Handler(player).Tasks;
        return *tasks[tasks.Add(task.release())];
    }
    TAIArmy& AddArmy(std::initializer_list<TAIUnit*> members) {
        auto army = std::make_unique<TAIArmy>(&Handler());
        army->ID = Handler().NextID();
        TAIArmy* added = Handler().Armies.Add(std::move(army));
        for (TAIUnit* member : members)
            EXPECT_TRUE(added->AddUnit(*member));
        return *added;
    }
    // Every record of the player, as the turn offers them.
    TAIVirtualUnitList& Available(int player = Blue) {
        TAIHandler& handler = Handler(player);
        handler.Available.Clear();
        for (TAIUnit* unit : handler.AIUnits)
            handler.Available.Add(unit);
        return handler.Available;
    }
    static std::vector<const TAIUnit*> UnitsOf(const TAITask& task) {
        return {task.Units.begin(), task.Units.end()};
    }
    // Ranking a task's own units leaves their order open.
    using TUnitSet = std::set<const TAIUnit*>;
    static TUnitSet SetOf(const TAITask& task) { return {task.Units.begin(), task.Units.end()}; }

    TestSupport::TTestGameData Data;
    std::unique_ptr<TestSupport::TAIWorld> World;
};

TEST_F(TaskModelTest, TargetsResolveJudgeAndPlaceWhatTheyAimAt) {
    TGroup& reds = Group(Red, 8, 3);
    TCity& town = *World->AddCity(Red, 2, 8);
    TUnit* civilian = InTown(town, FarmerID, true);
    TUnit* guest = InTown(town);
    TGroup& greens = Group(Green, 5, 5);

    TAITarget target(&Handler());
    target.Kind = tkCell;
    target.SetTarget(nullptr);
    EXPECT_EQ(target.Valid, 1);
    target.X = 4;
    target.Y = 4;
    EXPECT_FALSE(target.IsVisible());
    SeeEverything(Blue);
    EXPECT_TRUE(target.IsVisible());

    struct TCase {
        int32_t Kind;
        const Data::TDataObject* Object;
        bool Valid, Visible, Hostile;
        int X, Y;
    };
    const TCase cases[] = {
        {tkUnit, reds.UnitAt(0), true, true, true, 8, 3},
        {tkUnit, civilian, false, false, false, -1, -1}, // civilians are no target
        {tkUnit, guest, true, false, false, 2, 8},       // in a town: no group to see or fight
        {tkGroup, &greens, true, true, false, 5, 5},
        {tkCity, &town, true, true, true, -1, -1},
        {tkAlways, nullptr, true, false, false, -1, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.Kind);
        target.Clear();
        target.Kind = c.Kind;
        target.SetTarget(c.Object);
        EXPECT_EQ(target.TargetID, c.Object ? c.Object->ID : 0u);
        EXPECT_EQ(target.Resolve(), c.Object);
        EXPECT_EQ(target.IsValid(), c.Valid);
        EXPECT_EQ(target.Valid, c.Valid);
        EXPECT_EQ(target.IsVisible(), c.Visible);
        EXPECT_EQ(target.IsHostile(), c.Hostile);
        target.UpdatePosition();
        EXPECT_EQ(target.X, c.X);
        EXPECT_EQ(target.Y, c.Y);
    }
    // Typed look-ups do not mistake one kind of object for another.
    target.Kind = tkCity;
    target.SetTarget(&greens);
    EXPECT_EQ(target.GetCity(), nullptr);
    EXPECT_EQ(target.GetGroup(), &greens);
}

TEST_F(TaskModelTest, RecordsKeepTheirStoredLayoutAndRoundTripByteForByte) {
    TGroup& blues = Group(Blue, 3, 3, {SoldierID, SoldierID});
    TAIUnit& first = Record(blues, 0);
    TAIUnit& second = Record(blues, 1);
    TAIArmy& army = AddArmy({&second});
    army.Name = "Vanguard";

    TAITarget target;
    target.ID = 7;
    target.TargetID = 8;
    target.Kind = tkGroup;
    target.X = 9;
    target.Y = 10;
    target.Radius = 11;
    target.SecondID = 12;
    target.SecondKind = 2;
    target.Valid = 1;
    const TBytes targetBytes = Saved(target);
    EXPECT_EQ(targetBytes,
              TLayout().U32(7).U32(8).U32(2).U32(9).U32(10).U32(11).U32(12).U32(2).U8(1).Bytes);

    TAITaskHeader header;
    header.ID = 6;
    header.TaskType = ttGuardCell;
    header.Target->Assign(&target);
    TBytes headerBytes = TLayout().U32(6).U32(ttGuardCell).Bytes;
    headerBytes.insert(headerBytes.end(), targetBytes.begin(), targetBytes.end());
    EXPECT_EQ(Saved(header), headerBytes);

    auto task = NewTask(ttGuardCell, tkCell, nullptr);
    task->Header->Assign(&header);
    task->Name = "Hold the ford";
    task->Reserved = 3;
    task->Priority = 40;
    task->Strength = 12;
    task->RequiredStrength = 30;
    task->Active = 0;
    ASSERT_TRUE(task->AssignUnit(first));
    ASSERT_TRUE(task->AssignArmy(army));
    first.Rating = -5;

    EXPECT_EQ(Saved(*first.Fitness),
              TLayout().U32(first.Fitness->ID).U32(blues.UnitAt(0)->ID).Bytes);
    EXPECT_EQ(Saved(first), TLayout()
                                .U32(first.ID)
                                .U8(1)
                                .U32(uint32_t(-5))
                                .U8(1)
                                .U32(first.Fitness->ID)
                                .U32(blues.UnitAt(0)->ID)
                                .U8(0)
                                .Bytes);
    const TBytes enlisted = Saved(second);
    ASSERT_EQ(enlisted.size(), 23u);
    EXPECT_EQ(TBytes(enlisted.begin() + 18, enlisted.end()), TLayout().U8(1).U32(army.ID).Bytes);

    const auto roundTrip = [](const auto& record, auto fresh) {
        Load(*fresh, Saved(record));
        EXPECT_EQ(Saved(*fresh), Saved(record));
        return fresh;
    };
    roundTrip(target, std::make_unique<TAITarget>());
    roundTrip(header, std::make_unique<TAITaskHeader>());
    roundTrip(*first.Fitness, std::make_unique<TAIFitness>());
    roundTrip(first, std::make_unique<TAIUnit>(&Handler()));
    EXPECT_EQ(roundTrip(second, std::make_unique<TAIUnit>(&Handler()))->ArmyID, army.ID);
    // Loading names the handler's records and leaves their flags alone.
    first.Assigned = 0;
    const auto loadedTask = roundTrip(*task, std::make_unique<TAITask>(&Handler()));
    EXPECT_EQ(UnitsOf(*loadedTask), UnitsOf(*task));
    EXPECT_EQ(first.Assigned, 0);
    const auto loadedArmy = roundTrip(army, std::make_unique<TAIArmy>(&Handler()));
    EXPECT_EQ(loadedArmy->Members.Count(), 1);
    EXPECT_EQ(loadedArmy->Members[0], &second);

    // A record that names a unit the handler lacks is refused.
    TBytes unknown = Saved(*task);
    unknown[unknown.size() - 4] ^= 0x5A;
    TAITask refused(&Handler());
    EXPECT_EQ(TestSupport::ErrorOf([&] { Load(refused, unknown); }),
              "AIUnit with given ID not found.");
    EXPECT_THROW(Load(refused, unknown), Data::EInvalidData);

    // A record marked as gone is not stored, so no task or army names it.
    second.Removed = true;
    TAITask reloaded(&Handler());
    Load(reloaded, Saved(*task));
    EXPECT_EQ(UnitsOf(reloaded), std::vector<const TAIUnit*>{&first});
    TAIArmy emptied(&Handler());
    Load(emptied, Saved(army));
    EXPECT_EQ(emptied.Members.Count(), 0);
}

TEST_F(TaskModelTest, FitnessMeasuresRateTheUnitAgainstTheTask) {
    TGroup& blues = Group(Blue, 3, 3, {SoldierID, SoldierID});
    TGroup& reds = Group(Red, 6, 3, {SoldierID, SoldierID});
    TCity& town = *World->AddCity(Red, 8, 8);
    for (const int16_t defence : {5, 8}) {
        TUnit* defender = Scenario().RegisterUnit(MakeUnit(SoldierID), true);
        SetStat(defender->Own, DEFENCE, defence);
        ASSERT_TRUE(town.AddDefender(0, defender, false));
    }
    TCity& hall = *World->AddCity(Blue, 2, 8, "Bluehall");
    TUnit* resting = InTown(hall);
    TUnit& own = *blues.UnitAt(0);
    TUnit& enemy = *reds.UnitAt(0);
    TAIUnit& unit = Record(&own);

    // Level values: the unit's own record at its level, whatever its current values.
    own.Own.Level() = 5;
    own.Own.Value(SIGHT) = 99;
    own.Effective.Value(ACTIONPOINTS) = 1;
    const auto attack = NewTask(ttAttackUnit, tkUnit, &enemy);
    EXPECT_EQ(unit.ScoutFitness(*attack->Header), (3 + 2) * 10);
    EXPECT_EQ(unit.DefenceFitness(*attack->Header), 6);
    EXPECT_EQ(unit.Fitness->Header, attack->Header.get());

    EXPECT_EQ(
        unit.AttackFitness(*attack->Header),
        std::max(0, 2 * own.ExpectedAttackDamage(enemy) - enemy.ExpectedCounterattackDamage(own)));
    EXPECT_GT(unit.AttackFitness(*attack->Header), 0);
    EXPECT_EQ(unit.ManaFitness(*attack->Header), 4);
    EXPECT_EQ(unit.TargetDistance(*attack->Header), attack->Target().DistanceToUnit(own));
    EXPECT_GT(unit.TargetDistance(*attack->Header), 0);

    const auto fight = NewTask(ttAttackGroup, tkGroup, &reds);
    EXPECT_EQ(unit.AttackFitness(*fight->Header),
              std::max(0, 2 * blues.ExpectedDamageTo(reds) - reds.ExpectedCounterDamageTo(blues)));
    EXPECT_EQ(unit.ManaFitness(*fight->Header), 2 * 4);
    // Without a group of its own the unit is rated against the best of the enemy group.
    TAIUnit& alone = Record(resting);
    int32_t best = 0;
    for (int slot = 0; slot < reds.UnitCount(); ++slot) {
        const TUnit* other = reds.UnitAt(slot);
        best = std::max(best, 2 * resting->ExpectedAttackDamage(*other) -
                                  other->ExpectedCounterattackDamage(*resting));
    }
    EXPECT_EQ(alone.AttackFitness(*fight->Header), best);
    EXPECT_EQ(alone.ManaFitness(*fight->Header), 4);

    // ATTACK 20 against the defenders' average DEFENCE (5 + 8) / 2 = 6.
    const auto siege = NewTask(ttCity, tkCity, &town);
    EXPECT_EQ(unit.SiegeFitness(*siege->Header), 20 - 6);
    EXPECT_EQ(unit.SiegeFitness(*attack->Header), 20);
    EXPECT_EQ(unit.AttackFitness(*siege->Header), 0);
    EXPECT_EQ(unit.ManaFitness(*siege->Header), 0);
}

TEST_F(TaskModelTest, AnAttackTaskRecruitsWholeGroupsUpToThreeUnits) {
    TGroup& target = Group(Red, 9, 5);
    target.UnitAt(0)->Effective.Value(HITPOINTS) = 500; // more than any recruit can match
    TGroup& pair = Group(Blue, 5, 5, {SoldierID, SoldierID});
    TGroup& single = Group(Blue, 6, 6);
    TGroup& farmer = Group(Blue, 8, 6, {FarmerID}); // no attack and no mana: unfit
    TGroup& far = Group(Blue, 1, 11);

    auto task = NewTask(ttAttackUnit, tkUnit, target.UnitAt(0));
    EXPECT_FALSE(task->RecruitUnits(Available()));
    EXPECT_EQ(task->RequiredStrength, 500);
    // The nearest first; then the pair, which just fits.
    EXPECT_EQ(task->Units[0], &Record(single, 0));
    EXPECT_EQ(SetOf(*task), (TUnitSet{&Record(single, 0), &Record(pair, 0), &Record(pair, 1)}));
    for (const TAIUnit* unit : task->Units)
        EXPECT_EQ(unit->Assigned, 1);
    EXPECT_EQ(task->Strength, 3 * Record(single, 0).AttackFitness(*task->Header));
    EXPECT_EQ(Record(farmer, 0).Assigned, 0);
    EXPECT_EQ(Record(far, 0).Assigned, 0);

    // A full task recruits nothing more, however weak.
    EXPECT_FALSE(task->RecruitUnits(Available()));
    EXPECT_EQ(task->Units.Count(), 3);

    // A target at 0 hit points needs no one.
    target.UnitAt(0)->Effective.Value(HITPOINTS) = 0;
    auto finished = NewTask(ttAttackUnit, tkUnit, target.UnitAt(0));
    EXPECT_TRUE(finished->RecruitUnits(Available()));
    EXPECT_EQ(finished->Units.Count(), 0);
}

TEST_F(TaskModelTest, AGroupThatWouldOverfillAnAttackTaskStaysOutUnlessAnArmyBringsIt) {
    TGroup& target = Group(Red, 9, 5);
    target.UnitAt(0)->Effective.Value(HITPOINTS) = 500;
    TGroup& pair = Group(Blue, 5, 5, {SoldierID, SoldierID});
    TGroup& second = Group(Blue, 6, 5, {SoldierID, SoldierID});
    auto task = NewTask(ttAttackUnit, tkUnit, target.UnitAt(0));
    ASSERT_TRUE(task->AssignUnit(Record(pair, 0)));
    ASSERT_TRUE(task->AssignUnit(Record(pair, 1)));

    EXPECT_FALSE(task->RecruitUnits(Available()));
    EXPECT_EQ(task->Units.Count(), 2);

    // An army member's whole army joins, beyond the cap.
    TAIUnit& loner = Record(Group(Blue, 4, 11), 0);
    AddArmy({&Record(second, 0), &loner});
    EXPECT_FALSE(task->RecruitUnits(Available()));
    EXPECT_EQ(SetOf(*task),
              (TUnitSet{&Record(pair, 0), &Record(pair, 1), &Record(second, 0), &loner}));
    // The army's companion came, the group mate outside the army did not.
    EXPECT_EQ(Record(second, 1).Assigned, 0);
}

TEST_F(TaskModelTest, AnIdleTaskKeepsItsUnitsFromEveryOtherTask) {
    TGroup& target = Group(Red, 7, 5);
    TAIUnit& unit = Record(Group(Blue, 5, 5), 0);
    auto idle = NewTask(ttIdle, tkNone, nullptr);
    ASSERT_TRUE(idle->AssignUnit(unit));
    EXPECT_FALSE(idle->RecruitUnits(Available()));
    EXPECT_EQ(UnitsOf(*idle), std::vector<const TAIUnit*>{&unit});
    EXPECT_EQ(unit.Assigned, 1);
    EXPECT_FALSE(idle->IsFinished());

    auto attack = NewTask(ttAttackUnit, tkUnit, target.UnitAt(0));
    EXPECT_FALSE(attack->RecruitUnits(Available()));
    EXPECT_EQ(attack->Units.Count(), 0);
}

TEST_F(TaskModelTest, GuardsAreTheBestDefendersOutsideTheWardsGroupAndArmies) {
    TGroup& ward = Group(Blue, 5, 5, {SoldierID, SoldierID});
    TGroup& guard = Group(Blue, 6, 6, {SoldierID, FarmerID});
    TAIUnit& enlisted = Record(Group(Blue, 4, 5), 0);
    AddArmy({&enlisted});
    Group(Blue, 5, 7, {FarmerID}); // COUNTERATTACK 0: no defender

    auto task = NewTask(ttGuardUnit, tkUnit, ward.UnitAt(0));
    EXPECT_TRUE(task->RecruitUnits(Available()));
    // The soldier brings its group mate along.
    EXPECT_EQ(UnitsOf(*task), (std::vector<const TAIUnit*>{&Record(guard, 0), &Record(guard, 1)}));
    EXPECT_EQ(Record(ward, 1).Assigned, 0);
    EXPECT_EQ(enlisted.Assigned, 0);

    // A town whose event flag is set is left alone.
    TCity& town = *World->AddCity(Red, 8, 8);
    auto siege = NewTask(ttCity, tkCity, &town);
    town.EntryCostFlag = 1;
    EXPECT_FALSE(siege->RecruitUnits(Available()));
    EXPECT_EQ(siege->Units.Count(), 0);
    town.EntryCostFlag = 0;
    EXPECT_TRUE(siege->RecruitUnits(Available()));
    EXPECT_TRUE(siege->HasAIUnit(enlisted)); // army members may besiege
}

TEST_F(TaskModelTest, RankingsPutUnitsThatCannotBeRecruitedLast) {
    TGroup& target = Group(Red, 9, 9);
    TAIUnit& busy = Record(Group(Blue, 8, 8), 0);
    TAIUnit& free = Record(Group(Blue, 1, 1), 0);
    busy.Assigned = 1;
    const auto task = NewTask(ttAttackUnit, tkUnit, target.UnitAt(0));
    const TAITaskHeader& header = *task->Header;

    struct TCase {
        const char* Name;
        std::function<void(TAIVirtualUnitList&)> Rank;
        int32_t Key;
    };
    const TCase cases[] = {
        {"distance", [&](TAIVirtualUnitList& units) { RankByDistance(units, 9, 9); }, 1000},
        {"scouting", [&](TAIVirtualUnitList& units) { RankByScouting(units, header); }, -10000},
        {"defence", [&](TAIVirtualUnitList& units) { RankByDefence(units, header); }, -1000},
        {"siege", [&](TAIVirtualUnitList& units) { RankBySiege(units, header); }, -10000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAIVirtualUnitList units;
        units.Add(&busy);
        units.Add(&free);
        c.Rank(units);
        EXPECT_EQ(units[0], &free);
        EXPECT_EQ(units[1], &busy);
        EXPECT_EQ(busy.Rating, c.Key);
    }
    // Fitness less an eighth of the way to the target.
    EXPECT_EQ(free.Rating, 20 - free.TargetDistance(header) / 8);

    TAIVirtualUnitList units;
    units.Add(&busy);
    units.Add(&free);
    SortByRating(units);
    EXPECT_EQ(units[0], &busy);
}

TEST_F(TaskModelTest, AUnitIsNeverInTwoTasksNorTwiceInOne) {
    TGroup& blues = Group(Blue, 5, 5, {SoldierID, SoldierID});
    TAIUnit& a = Record(blues, 0);
    TAIUnit& b = Record(blues, 1);
    TAIArmy& army = AddArmy({&a, &b});
    TAITask& first = AddTask(NewTask(ttGuardCell, tkCell, nullptr));
    TAITask& second = AddTask(NewTask(ttGuardCell, tkCell, nullptr));

    EXPECT_TRUE(first.AssignArmy(army));
    EXPECT_TRUE(first.AssignArmy(army));
    EXPECT_EQ(UnitsOf(first), (std::vector<const TAIUnit*>{&a, &b}));
    // The latest order wins: the army moves over.
    EXPECT_TRUE(second.AssignArmy(army));
    EXPECT_EQ(first.Units.Count(), 0);
    EXPECT_EQ(UnitsOf(second), (std::vector<const TAIUnit*>{&a, &b}));
    EXPECT_EQ(a.Assigned, 1);

    // Only the task that holds a unit lets it go.
    army.RemoveAll();
    EXPECT_FALSE(first.UnassignUnit(a));
    EXPECT_EQ(a.Assigned, 1);
    EXPECT_TRUE(second.UnassignUnit(a));
    EXPECT_EQ(a.Assigned, 0);

    second.Units.Add(&b);
    second.RemoveUnit(b);
    EXPECT_FALSE(second.HasAIUnit(b));
    EXPECT_EQ(b.Assigned, 0);

    // Recruiting brings no army member that another task holds.
    TGroup& target = Group(Red, 8, 5);
    TAIUnit& c = Record(Group(Blue, 6, 5), 0);
    TAIArmy& pair = AddArmy({&a, &c});
    ASSERT_TRUE(first.AssignUnit(b));
    ASSERT_TRUE(second.AssignArmy(pair));
    second.RemoveUnit(c);
    auto attack = NewTask(ttAttackUnit, tkUnit, target.UnitAt(0));
    target.UnitAt(0)->Effective.Value(HITPOINTS) = 500;
    attack->RecruitUnits(Available());
    EXPECT_EQ(UnitsOf(*attack), std::vector<const TAIUnit*>{&c});
    EXPECT_TRUE(second.HasAIUnit(a));
}

TEST_F(TaskModelTest, RecordsOfUnitsThatLeftAreNeitherAliveNorRecruited) {
    TGroup& target = Group(Red, 8, 5);
    TAIUnit& unit = Record(Group(Blue, 6, 5), 0);
    ASSERT_TRUE(unit.IsCandidate());
    unit.Removed = true;
    EXPECT_FALSE(unit.IsAlive());
    EXPECT_FALSE(unit.IsCandidate());
    auto attack = NewTask(ttAttackUnit, tkUnit, target.UnitAt(0));
    EXPECT_FALSE(attack->AssignUnit(unit));
    EXPECT_FALSE(attack->RecruitUnits(Available()));
    EXPECT_EQ(attack->Units.Count(), 0);
    TAIArmy& army = AddArmy({});
    EXPECT_FALSE(army.AddUnit(unit));

    // A dead unit's record stays dead.
    unit.Removed = false;
    unit.Alive = 0;
    EXPECT_FALSE(unit.IsAlive());
}

TEST_F(TaskModelTest, ANewArmyMemberJoinsTheArmysTask) {
    TAIUnit& a = Record(Group(Blue, 5, 5), 0);
    TAIUnit& b = Record(Group(Blue, 6, 5), 0);
    TAIUnit& c = Record(Group(Blue, 7, 5), 0);
    AddTask(NewTask(ttGuardCell, tkCell, nullptr));
    TAITask& task = AddTask(NewTask(ttGuardCell, tkCell, nullptr));
    TAIArmy& army = AddArmy({&a});
    ASSERT_TRUE(task.AssignArmy(army));
    EXPECT_TRUE(task.HasArmy(army));

    EXPECT_TRUE(army.AddUnit(b));
    EXPECT_TRUE(task.HasAIUnit(b));
    EXPECT_FALSE(army.AddUnit(b)); // already a member
    ASSERT_TRUE(Handler().Tasks[0]->AssignUnit(c));
    EXPECT_FALSE(army.AddUnit(c)); // already in a task

    // Leaving the army keeps the unit in its task; the task lets the rest go only whole.
    EXPECT_TRUE(army.RemoveUnit(b));
    EXPECT_EQ(b.Army, nullptr);
    EXPECT_TRUE(task.HasAIUnit(b));
    EXPECT_FALSE(army.RemoveUnit(b));
    EXPECT_TRUE(task.UnassignArmy(army));
    EXPECT_EQ(UnitsOf(task), std::vector<const TAIUnit*>{&b});
    EXPECT_FALSE(task.UnassignArmy(army)); // a's no longer there
}

TEST_F(TaskModelTest, AMultitaskOfAttacksFightsTheLeadTargetsGroup) {
    SeeEverything(Blue);
    TGroup& weak = Group(Red, 8, 4);
    TGroup& strong = Group(Red, 9, 6);
    TAIUnit& a = Record(Group(Blue, 5, 4), 0);
    TAIUnit& b = Record(Group(Blue, 5, 6), 0);
    auto first = NewTask(ttAttackUnit, tkUnit, weak.UnitAt(0));
    auto second = NewTask(ttAttackUnit, tkUnit, strong.UnitAt(0));
    first->Priority = 10;
    second->Priority = 30;
    ASSERT_TRUE(first->AssignUnit(a));
    ASSERT_TRUE(second->AssignUnit(b));

    TAIMultiTask multi(&Handler());
    EXPECT_FALSE(multi.Prepare());
    multi.Members.Add(first.get());
    multi.Members.Add(second.get());
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(multi.Prepare());
        const TAITask& combined = *multi.Combined;
        EXPECT_EQ(combined.Type(), ttAttackGroup);
        EXPECT_EQ(combined.Target().Kind, tkGroup);
        EXPECT_EQ(combined.Target().TargetID, strong.ID);
        EXPECT_EQ(combined.Target().X, 9);
        EXPECT_EQ(combined.Target().Y, 6);
        EXPECT_EQ(UnitsOf(combined), (std::vector<const TAIUnit*>{&a, &b}));
        EXPECT_EQ(a.Fitness->Header, combined.Header.get());
    }
    // An enemy inside a town has no group to fight.
    TCity& town = *World->AddCity(Red, 1, 8);
    TUnit* inside = InTown(town);
    auto sheltered = NewTask(ttAttackUnit, tkUnit, inside);
    TAIMultiTask blocked(&Handler());
    blocked.Members.Add(sheltered.get());
    EXPECT_FALSE(blocked.Prepare());

    // Other kinds run as a copy of their task.
    auto guard = NewTask(ttGuardCell, tkCell, nullptr);
    guard->Target().X = 3;
    ASSERT_TRUE(guard->AssignUnit(Record(Group(Blue, 2, 2), 0)));
    TAIMultiTask single(&Handler());
    single.Members.Add(guard.get());
    ASSERT_TRUE(single.Prepare());
    ASSERT_TRUE(single.Prepare());
    EXPECT_EQ(single.Combined->ID, guard->ID);
    EXPECT_EQ(single.Combined->Target().X, 3);
    EXPECT_EQ(UnitsOf(*single.Combined), UnitsOf(*guard));
}

TEST_F(TaskModelTest, TasksFinishWhenTheirPurposeIsGone) {
    TAIUnit& walker = Record(Group(Blue, 5, 5), 0);
    auto walk = NewTask(ttGoToCell, tkCell, nullptr);
    walk->SetGoToCell(7, 4, 1);
    EXPECT_EQ(walk->Target().Valid, 1);
    ASSERT_TRUE(walk->AssignUnit(walker));
    EXPECT_FALSE(walk->IsFinished());
    walk->Target().Radius = 2;
    EXPECT_TRUE(walk->IsFinished());
    // The first player's walks never end.
    TAIUnit& redWalker = Record(Group(Red, 5, 5), 0);
    auto redWalk = NewTask(ttGoToCell, tkCell, nullptr, Red);
    redWalk->SetGoToCell(5, 5, 0);
    ASSERT_TRUE(redWalk->AssignUnit(redWalker));
    EXPECT_FALSE(redWalk->IsFinished());

    TGroup& enemies = Group(Red, 8, 8);
    EXPECT_FALSE(NewTask(ttAttackUnit, tkUnit, enemies.UnitAt(0))->IsFinished());
    EXPECT_TRUE(NewTask(ttAttackUnit, tkUnit, walker.GetUnit())->IsFinished()); // one of ours
    EXPECT_FALSE(NewTask(ttAttackGroup, tkGroup, &enemies)->IsFinished());
    EXPECT_TRUE(NewTask(ttAttackGroup, tkGroup, walker.GetGroup())->IsFinished());

    // A ward in a town of a friend is still within reach, in an enemy's town it is not.
    TCity& town = *World->AddCity(Green, 1, 8);
    TUnit* ward = InTown(town);
    auto guard = NewTask(ttGuardUnit, tkUnit, ward);
    EXPECT_TRUE(guard->IsFinished());
    World->Player(Blue).Relations[Green] = reFriendly;
    EXPECT_FALSE(guard->IsFinished());
}

TEST_F(TaskModelTest, SightingsAndVisibleTargetsKeepAttacksActiveAndInPlace) {
    TGroup& enemies = Group(Red, 8, 8);
    auto attack = NewTask(ttAttackUnit, tkUnit, enemies.UnitAt(0));
    attack->Active = 0;
    attack->UpdateTarget();
    EXPECT_EQ(attack->Active, 0); // not seen

    TSighting sighting{skUnitSpotted, 0, 3, 4, enemies.UnitAt(0)->ID + 1, 0};
    attack->OnSighting(sighting);
    EXPECT_EQ(attack->Active, 0);
    sighting.UnitID = enemies.UnitAt(0)->ID;
    attack->OnSighting(sighting);
    EXPECT_EQ(attack->Active, 1);
    EXPECT_EQ(attack->Target().X, 3);
    EXPECT_EQ(attack->Target().Y, 4);

    attack->Active = 0;
    SeeEverything(Blue);
    attack->UpdateTarget();
    EXPECT_EQ(attack->Active, 1);
    EXPECT_EQ(attack->Target().X, 8);
    EXPECT_EQ(attack->Target().Y, 8);
}

} // namespace
