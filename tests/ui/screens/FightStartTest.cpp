// A fight's start and finish on the tiny world: the dialog set up for a shown fight and
// the world put back in order after it, the battle picture chosen, fights run in the
// background without anyone at this machine answering, and the executor's fight actions.
#include "game/world/cities/City.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/units/Unit.h"
#include "tests/ui/game/GameFixture.h"
#include "ui/screens/FightDialog.h"

namespace {

using namespace GameData;
using Main::TFightDialog;

constexpr int BrawlerID = 5;
constexpr int32_t TownBonus = 25;

// Records the sides' answers as the executor hands them over, whether it showed while
// a background fight ran, and can cut the connection in the middle of one.
class TTestFightDialog : public TFightDialog {
public:
    using TFightDialog::TFightDialog;

    void Tick() override {
        TFightDialog::Tick();
        if (!Background)
            return;
        if (LoseConnection) {
            Game().Scenario->ConnectionLost = 1;
            return;
        }
        ShownWhileRunning = ShownWhileRunning || Visible();
    }
    bool SetSideCommands(uint32_t answer, const uint32_t* commands) override {
        Answers.push_back({answer, commands[0]});
        return TFightDialog::SetSideCommands(answer, commands);
    }

    bool LoseConnection = false;
    bool ShownWhileRunning = false;
    std::vector<std::pair<uint32_t, uint32_t>> Answers;
};

class FightStartTest : public GameTest {
protected:
    FightStartTest() {
        Data2::TUnitPrototype& brawler = Data.AddUnitPrototype(BrawlerID, "Brawler");
        TestSupport::SetStat(brawler.Stats, HITPOINTS, 20);
        TestSupport::SetStat(brawler.Stats, ACTIONPOINTS, 30);
        TestSupport::SetStat(brawler.Stats, ATTACK, 15);
        TestSupport::SetStat(brawler.Stats, COUNTERATTACK, 10);
        TestSupport::SetStat(brawler.Stats, DEFENCE, 2);
        Data.SetConstant(Data2::gcLeastActionPoints, 5);
        Data.SetConstant(Data2::gcFightStartValue, TownBonus);
        Red = AddBrawlers(0, 2, 2, 2);
        Blue = AddBrawlers(1, 3, 2, 3);
        Town = World->AddCity(1, 8, 8, "Blueford");
        TakeWorld();
        // Headless: a modal window shows and returns at once.
        DXApp::Application = nullptr;
        auto dialog = std::make_unique<TTestFightDialog>(&Windows, *Game);
        Dialog = dialog.get();
        Game->FightDialog = std::move(dialog);
        SetTurn(0, ptLocal, ptComputer, &Player(0));
    }

    TGroup* AddBrawlers(uint8_t owner, int x, int y, int units) {
        TGroup* group = World->AddGroup(owner, x, y);
        for (int i = 0; i < units; ++i)
            group->AddUnit(TestSupport::MakeUnit(BrawlerID), true, false);
        return group;
    }
    void SetTurn(int current, uint8_t redType, uint8_t blueType, TPlayer* viewer) {
        Player(0).Type = redType;
        Player(1).Type = blueType;
        Scenario().CurrentPlayerIndex = int16_t(current);
        Scenario().CurrentPlayer = &Player(current);
        Scenario().SetViewingPlayer(viewer);
        Player(current).SelectObject(current == 0 ? static_cast<TMapObject*>(Red) : Blue);
    }
    void SeeCell(TPlayer& player, int x, int y) {
        TArea area;
        area.AddCell({int16_t(x), int16_t(y)});
        player.Fog->RaiseArea(&area, fsVisible);
    }
    // Red posts the action and the executor carries it out.
    void Execute(const TPlayerAction& action) {
        Player(0).PostAction(false, action);
        Game->ExecuteAction();
    }
    // Kills the first unit of the group.
    static TUnit* Kill(TGroup& group) {
        TUnit* unit = group.UnitAt(0);
        unit->Own.Value(HITPOINTS) = 0;
        unit->RecalculateStats(true);
        return unit;
    }
    bool FightIsOver() const {
        return Dialog->Battle.Attackers == nullptr && !Dialog->Fighting() &&
               Scenario().InBattle == 0;
    }

    TGroup* Red = nullptr;
    TGroup* Blue = nullptr;
    TCity* Town = nullptr;
    TTestFightDialog* Dialog = nullptr;
};

TEST_F(FightStartTest, AShownFightStartsFromTheFixedPlacesAndFinishesWithTheWorldInOrder) {
    Red->InBattle = 1;
    Blue->InBattle = 1;
    Dialog->StartGroupFight(Red, Blue);
    EXPECT_TRUE(Dialog->Fighting());
    EXPECT_EQ(Scenario().InBattle, 1);
    EXPECT_EQ(Dialog->Battle.UnitAt(0), Red->UnitAt(0));
    EXPECT_EQ(Dialog->Battle.UnitAt(5), Blue->UnitAt(2));
    EXPECT_NE(Dialog->Battle.Registry, nullptr);
    EXPECT_EQ(Blue->UnitAt(0)->DefenceBonus, 0);
    const int cells[6][3] = {{0, 3, 3}, {1, 4, 3}, {2, 5, 3}, {3, 0, 7}, {4, 1, 7}, {5, 2, 7}};
    for (int slot = 0; slot < 6; ++slot) {
        const Main::TUnitData& unit = Dialog->Units[size_t(slot)];
        EXPECT_EQ(unit.X, 64 * cells[slot][0] + 32) << slot;
        EXPECT_EQ(unit.Y, 64 * cells[slot][1] + 32) << slot;
        EXPECT_EQ(unit.Direction, cells[slot][2]) << slot;
        EXPECT_EQ(unit.Anim, Main::faIdle);
        EXPECT_EQ(unit.AnimTarget, -1);
        // Only the slots with a unit hold its idle and dying sprites.
        EXPECT_EQ(unit.SpriteFlags, slot == 2 ? 0 : Main::fsIdle | Main::fsDying) << slot;
    }

    const uint32_t dead = Kill(*Blue)->ID;
    Dialog->FinishFight();
    EXPECT_TRUE(FightIsOver());
    EXPECT_EQ(Red->InBattle, 0);
    EXPECT_EQ(Blue->InBattle, 0);
    EXPECT_EQ(Blue->UnitCount(), 2);
    EXPECT_EQ(Scenario().Units.FindByID(dead), nullptr);
    for (const Main::TUnitData& unit : Dialog->Units)
        EXPECT_EQ(unit.SpriteFlags, 0);
    EXPECT_EQ(Dialog->Backdrop, nullptr);
    EXPECT_FALSE(Dialog->Visible());
}

TEST_F(FightStartTest, ATownFightTakesTheFirstRowWithDefendersAndGivesItBackAfter) {
    Town->SetRowCount(3);
    TUnit* guard = Scenario().RegisterUnit(TestSupport::MakeUnit(BrawlerID), true);
    ASSERT_TRUE(Town->AddDefender(1, guard, false));
    Execute(MakeAction(acAttackCity, Town->ID));
    // Headless, the modal dialog does not hold the executor: the fight is still on.
    ASSERT_TRUE(Dialog->Fighting());
    EXPECT_EQ(Dialog->City, Town);
    EXPECT_EQ(Dialog->Battle.UnitAt(3), guard);
    EXPECT_EQ(guard->DefenceBonus, TownBonus);
    EXPECT_EQ(Red->UnitAt(0)->DefenceBonus, 0);
    Dialog->FinishFight();
    EXPECT_TRUE(FightIsOver());
    EXPECT_EQ(Dialog->City, nullptr);
    EXPECT_EQ(Town->FindDefenderRow(*guard), 1);
    EXPECT_EQ(Town->DefenderCountInRow(1), 1);
}

struct TBackdropCase {
    const char* Name;
    bool InTown;
    uint32_t TownPicture;
    std::vector<uint32_t> ScenarioPictures;
    uint32_t AreaPicture; // an area around the defender, 0 none
    uint32_t Expected;    // 0 none
};

class BackdropTest : public FightStartTest, public ::testing::WithParamInterface<TBackdropCase> {};

TEST_P(BackdropTest, IsTheTownsThenTheAreasThenTheScenarios) {
    const TBackdropCase& c = GetParam();
    for (uint32_t id : c.ScenarioPictures)
        Scenario().BattleBackgrounds.Add(id);
    if (c.AreaPicture) {
        auto area = std::make_unique<TArea>();
        area->AddCell({int16_t(Blue->X / 40), int16_t(Blue->Y / 40)});
        area->Value = c.AreaPicture;
        Scenario().Areas.Add(std::move(area));
    }
    if (c.InTown) {
        Town->RowValue = c.TownPicture;
        Dialog->StartCityFight(Red, Town, 0);
    } else {
        Dialog->StartGroupFight(Red, Blue);
    }
    if (c.Expected == 0) {
        EXPECT_EQ(Dialog->Backdrop, nullptr);
    } else {
        Gfx::TSprite* expected = Scenario().SpriteLibrary.AcquireSpriteByID(c.Expected);
        EXPECT_EQ(Dialog->Backdrop, expected);
        Scenario().SpriteLibrary.ReleaseSpriteByPointer(expected);
    }
    Dialog->FinishFight();
    EXPECT_EQ(Dialog->Backdrop, nullptr);
}

using TW = TestSupport::TTinyWorld;
INSTANTIATE_TEST_SUITE_P(
    Choices, BackdropTest,
    ::testing::Values(
        TBackdropCase{"TownPicture",
                      true,
                      TW::TreeSprite,
                      {TW::FountainSprite},
                      TW::RockSprite,
                      TW::TreeSprite},
        TBackdropCase{
            "AreaOverDefault", false, 0, {TW::FountainSprite}, TW::RockSprite, TW::RockSprite},
        TBackdropCase{"ScenarioDefault", false, 0, {TW::FountainSprite}, 0, TW::FountainSprite},
        TBackdropCase{"TownWithoutPictureTakesTheDefault",
                      true,
                      0,
                      {TW::SparkleSprite},
                      0,
                      TW::SparkleSprite},
        TBackdropCase{"None", false, 0, {}, 0, 0}),
    [](const ::testing::TestParamInfo<TBackdropCase>& info) {
        return std::string(info.param.Name);
    });

struct TBackgroundCase {
    const char* Name;
    uint8_t RedType, BlueType;
};

class BackgroundFightTest : public FightStartTest,
                            public ::testing::WithParamInterface<TBackgroundCase> {};

// Green watches from afar: nobody at the screen takes part, so the computer chooses for
// every side, the local players' too, and the fight runs to its end inside the executor.
TEST_P(BackgroundFightTest, RunsToItsEndWithoutWaitingForAnyone) {
    const TBackgroundCase& c = GetParam();
    SetTurn(0, c.RedType, c.BlueType, &Player(2));
    const uint32_t redID = Red->ID;
    const uint32_t blueID = Blue->ID;
    Execute(MakeAction(acAttackGroup, Blue->ID));
    EXPECT_TRUE(FightIsOver());
    // A side wiped out leaves the map with its group.
    const TGroup* red = Scenario().FindGroupByID(redID);
    const TGroup* blue = Scenario().FindGroupByID(blueID);
    EXPECT_TRUE(!red || !blue || !red->AnyUnitCanAct());
    // Every side's commands came from its decision as the executed action.
    ASSERT_FALSE(Dialog->Answers.empty());
    for (const auto& [answer, occupied] : Dialog->Answers)
        EXPECT_EQ(answer, uint32_t(Main::frAccept));
    // Out of green's sight nothing showed and nothing was held.
    EXPECT_FALSE(Dialog->ShownWhileRunning);
    EXPECT_EQ(Dialog->FightAnimation, nullptr);
    for (const Main::TUnitData& unit : Dialog->Units)
        EXPECT_EQ(unit.SpriteFlags, 0);
    EXPECT_EQ(Dialog->Background, 0);
    // The attacker hears of the end through its report.
    Game->ExecuteAction();
    EXPECT_EQ(Player(0).GetActionResult(), arDone);
}

INSTANTIATE_TEST_SUITE_P(Sides, BackgroundFightTest,
                         ::testing::Values(TBackgroundCase{"Computers", ptComputer, ptComputer},
                                           TBackgroundCase{"LocalPlayersNotViewing", ptLocal,
                                                           ptLocal},
                                           TBackgroundCase{"Mixed", ptLocal, ptComputer}),
                         [](const ::testing::TestParamInfo<TBackgroundCase>& info) {
                             return std::string(info.param.Name);
                         });

TEST_F(FightStartTest, ATownFightOutOfSightRunsInTheBackgroundAndGivesTheRowBack) {
    SetTurn(0, ptComputer, ptComputer, &Player(2));
    Town->SetRowCount(2);
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(Town->AddDefender(
            1, Scenario().RegisterUnit(TestSupport::MakeUnit(BrawlerID), true), false));
    Execute(MakeAction(acAttackCity, Town->ID));
    EXPECT_TRUE(FightIsOver());
    EXPECT_FALSE(Dialog->Answers.empty());
    EXPECT_EQ(Dialog->City, nullptr);
    EXPECT_FALSE(Dialog->ShownWhileRunning);
    // The survivors stand in their row again; the fallen are gone from it.
    int standing = 0;
    for (int place = 0; place < Town->DefenderPlaceCount(); ++place)
        if (const TUnit* unit = Town->DefenderAt(place)) {
            EXPECT_FALSE(unit->IsDead());
            EXPECT_EQ(unit->DefenceBonus, 0);
            ++standing;
        }
    EXPECT_EQ(Town->DefenderCountInRow(1), standing);
    EXPECT_TRUE(!Town->DefenderGroup || Town->DefenderGroup->UnitCount() == 0);
}

TEST_F(FightStartTest, ABackgroundFightInSightShowsTheDialogUntilItEnds) {
    SetTurn(0, ptComputer, ptComputer, &Player(2));
    SeeCell(Player(2), Blue->X / 40, Blue->Y / 40);
    const int32_t middleX = (Red->X + Blue->X) / 2;
    Execute(MakeAction(acAttackGroup, Blue->ID));
    EXPECT_TRUE(FightIsOver());
    EXPECT_TRUE(Dialog->ShownWhileRunning);
    EXPECT_FALSE(Dialog->Visible());
    EXPECT_EQ(Dialog->FightAnimation, nullptr);
    // Halfway between the two groups, on the screen.
    EXPECT_EQ(Dialog->FightX, middleX - Scenario().View.Left);
}

TEST_F(FightStartTest, ALostConnectionEndsTheWaitsAndTheGameClosesAfterTheFight) {
    SetTurn(0, ptRemote, ptComputer, &Player(2));
    Dialog->LoseConnection = true;
    Execute(MakeAction(acAttackGroup, Blue->ID));
    // The game outlives the fight that holds its groups.
    ASSERT_NE(Game->Scenario, nullptr);
    EXPECT_TRUE(FightIsOver());
    EXPECT_TRUE(Dialog->Answers.empty());
    Game->ExecuteAction();
    EXPECT_EQ(Game->Scenario, nullptr);
}

TEST_F(FightStartTest, TheExecutorOpensTheShownFightAndPassesTheSidesCommandsOn) {
    // The viewing player attacks: the dialog is set up and shown, the map hidden.
    Execute(MakeAction(acAttackGroup, Blue->ID));
    ASSERT_TRUE(Dialog->Fighting());
    EXPECT_EQ(Dialog->Background, 0);
    EXPECT_EQ(Dialog->Battle.UnitAt(3), Blue->UnitAt(0));
    const TPlayerAction report = Player(0).TakeAction();
    EXPECT_EQ(report.Code, acReport);
    EXPECT_EQ(report.P[0], uint32_t(arDone));

    // A second attack during the fight is dropped, its result left to the first.
    Execute(MakeAction(acAttackGroup, Blue->ID));
    EXPECT_EQ(Player(0).GetActionResult(), arPending);
    EXPECT_FALSE(Player(0).HasPendingAction());

    // The commands reach the dialog; whatever it makes of them, nobody gets a result.
    Execute(MakeAction(acFightCommands, 3, 1, bcAttack));
    Execute(MakeAction(acFightCommands, 7, 1, bcAttack)); // refused before the dialog
    ASSERT_EQ(Dialog->Answers.size(), 1u);
    EXPECT_EQ(Dialog->Answers[0], (std::pair<uint32_t, uint32_t>{3, 1}));
    EXPECT_EQ(Player(0).GetActionResult(), arPending);
    Dialog->FinishFight();
    EXPECT_TRUE(FightIsOver());
}

TEST_F(FightStartTest, WithoutTheDialogFightsAreRefusedAsMissing) {
    Game->FightDialog.reset();
    Execute(MakeAction(acAttackGroup, Blue->ID));
    EXPECT_EQ(Player(0).GetActionResult(), arCannotGoThere);
    EXPECT_EQ(CountMessages("The fight dialog is not available yet."), 1);
    EXPECT_EQ(Scenario().InBattle, 0);
}

} // namespace
