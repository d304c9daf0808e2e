// Every action code through the game's executor on the tiny world: what a valid action
// does, and every way it can be refused. A refusal answers the poster with "cannot go
// there", changes nothing of the stored game, and, when a screen that is not built yet
// would be needed, says so on the message line.
#include "game/script/Conversation.h"
#include "game/world/cities/Location.h"
#include "tests/ui/game/GameFixture.h"

namespace {

using namespace GameData;

constexpr int32_t BuildingEntryAP = 3; // a building's, and a scripted town's
constexpr int32_t CityEntryAP = 5;

class ActionTest : public GameTest {
public:
    ActionTest() {
        Data.SetConstant(Data2::gcBuildingEntryAP, BuildingEntryAP);
        Data.SetConstant(Data2::gcCityEntryAP, CityEntryAP);
        // Ground cheap enough for tents.
        TestSupport::TTinyWorldOptions options;
        options.BaseCost = 5;
        World = std::make_unique<TestSupport::TTinyWorld>(options);
        RedGroup = AddGroup(0, 2, 2, 2);
        RedScout = AddGroup(0, 4, 4, 1);
        BlueGroup = AddGroup(1, 9, 2, 1);
        BlueCity = World->AddCity(1, 6, 6, "Blueford");
        RedCity = World->AddCity(0, 9, 6, "Redhill");
        ScriptedCity = World->AddCity(2, 2, 7, "Greenwell");
        ScriptedCity->EntryCostFlag = 1;
        auto building = std::make_unique<TBuilding>(World->Scenario.get());
        building->X = 4 * CellSize + CellSize / 2;
        building->Y = 10 * CellSize + CellSize / 2;
        building->Footprint.AddCell({4, 10});
        Building = static_cast<TBuilding*>(World->Scenario->AddObject(std::move(building)));
        TakeWorld();
        Game->StartGame(AllLocal());
        Game->Update(); // red's opening report
    }

    TPlayer& Red() const { return Player(0); }
    using GameTest::Scenario;

    // Posts the action for red and runs the executor once.
    struct TOutcome {
        int32_t Result;
        bool Changed;
    };
    TOutcome ExecuteOnce(const TPlayerAction& action) {
        Red().PostAction(false, action);
        const uint64_t before = TestSupport::StateDigest(Scenario());
        Game->ExecuteAction();
        return {Red().GetActionResult(), TestSupport::StateDigest(Scenario()) != before};
    }
    // Posts the action for red and updates until red has its result.
    int32_t Run(const TPlayerAction& action) {
        Red().PostAction(false, action);
        EXPECT_TRUE(UpdateUntil([&] { return Red().GetActionResult() != arPending; }));
        return Red().GetActionResult();
    }
    // The red group goes into its own town and stands at the town's gate.
    void EnterRedCity() {
        RedCity->EnterGroup(*RedGroup);
        RedGroup = nullptr;
    }
    void StartRunningConversation() {
        auto conversation = std::make_unique<TConversation>();
        conversation->ID = 77;
        conversation->TargetPlayers = 1; // red
        conversation->Running = true;
        Scenario().Conversations.Add(std::move(conversation));
    }

    TGroup* RedGroup = nullptr;
    TGroup* RedScout = nullptr;
    TGroup* BlueGroup = nullptr;
    TCity* BlueCity = nullptr;
    TCity* RedCity = nullptr;
    TCity* ScriptedCity = nullptr;
    TBuilding* Building = nullptr;
};

constexpr uint32_t Nothing = 99999;

struct TRefusal {
    const char* Name;
    std::function<TPlayerAction(ActionTest&)> Action;
    // The screen the action would need, or null when the shared checks refuse it.
    const char* Message = nullptr;
    std::function<void(ActionTest&)> Setup = {};
    // Fight commands answer nobody, refused or not.
    int32_t Result = arCannotGoThere;
};

TPlayerAction Move(uint32_t x, uint32_t y, uint32_t mode, uint32_t flags, uint32_t objectID) {
    TPlayerAction action = MakeAction(acMoveGroup, x, y, mode, flags);
    action.P[4] = 10;
    action.P[5] = objectID;
    action.P[6] = 1;
    return action;
}

class RefusalTest : public ActionTest, public ::testing::WithParamInterface<TRefusal> {};

const char* const FightDialog = "The fight dialog is not available yet.";
const char* const TownWindow = "The town window is not available yet.";
const char* const TalkDialog = "The talk dialog is not available yet.";

void Deselect(ActionTest& t) {
    t.Red().SelectObject(nullptr);
}
void EnterTown(ActionTest& t) {
    t.EnterRedCity();
}
void StartFight(ActionTest& t) {
    t.Scenario().InBattle = 1;
}

const TRefusal Refusals[] = {
    {"UnknownCode", [](ActionTest&) { return MakeAction(19, 1); }},
    {"EmptyAction", [](ActionTest&) { return MakeAction(acNone, 1); }},
    {"AttackNamingNothing", [](ActionTest&) { return MakeAction(acAttackGroup, Nothing); }},
    {"AttackWithoutSelection", [](ActionTest&) { return MakeAction(acAttackGroup, 0); }, nullptr,
     Deselect},
    {"AttackNeedsTheFightDialog",
     [](ActionTest& t) { return MakeAction(acAttackGroup, t.BlueGroup->ID); }, FightDialog},
    {"ReportOutOfRange", [](ActionTest&) { return MakeAction(acReport, 9); }},
    {"SelectNamingNothing", [](ActionTest&) { return MakeAction(acSelectObject, Nothing); }},
    {"MoveOffTheMap", [](ActionTest&) { return Move(12, 3, 0, 0, 0); }},
    {"MoveWithoutSelection", [](ActionTest&) { return Move(3, 3, 0, 0, 0); }, nullptr, Deselect},
    {"MoveToAGroupNamingATown", [](ActionTest& t) { return Move(3, 3, 0, 1, t.BlueCity->ID); }},
    {"MoveAgainstNothing", [](ActionTest&) { return Move(3, 3, 1, 0, Nothing); }},
    {"MoveIntoAGroup", [](ActionTest& t) { return Move(3, 3, 0, 0x100, t.BlueGroup->ID); }},
    {"CastWithoutSelection", [](ActionTest&) { return MakeAction(acCastSpell, 0, 1, 3, 3); },
     nullptr, Deselect},
    {"CastOffTheMap", [](ActionTest&) { return MakeAction(acCastSpell, 0, 1, 3, 200); }},
    // The tiny world's scenario carries no spell effects: the cast cannot start.
    {"CastWithoutSpellEffects", [](ActionTest&) { return MakeAction(acCastSpell, 0, 1, 3, 3); }},
    {"CampNamingNothing", [](ActionTest&) { return MakeAction(acPitchCamp, Nothing); }},
    {"CampOfAnotherPlayersGroup",
     [](ActionTest& t) { return MakeAction(acPitchCamp, t.BlueGroup->ID); }},
    {"BreakCampNamingNothing", [](ActionTest&) { return MakeAction(acBreakCamp, Nothing); }},
    {"BreakCampWithoutCamp", [](ActionTest& t) { return MakeAction(acBreakCamp, t.RedGroup->ID); }},
    {"PitchCampWhilePitched", [](ActionTest& t) { return MakeAction(acPitchCamp, t.RedGroup->ID); },
     nullptr, [](ActionTest& t) { t.RedGroup->CampState = csPitched; }},
    {"SplitWithoutSelection", [](ActionTest&) { return MakeAction(acMarkSplit, 1); }, nullptr,
     Deselect},
    {"EnterTownNamingNothing", [](ActionTest&) { return MakeAction(acEnterCity, Nothing); }},
    {"EnterTownWithoutSelection",
     [](ActionTest& t) { return MakeAction(acEnterCity, t.ScriptedCity->ID); }, nullptr, Deselect},
    {"EnterTownNeedsTheTownWindow",
     [](ActionTest& t) { return MakeAction(acEnterCity, t.BlueCity->ID); }, TownWindow},
    {"AttackTownNamingNothing", [](ActionTest&) { return MakeAction(acAttackCity, Nothing); }},
    {"AttackTownNeedsTheFightDialog",
     [](ActionTest& t) { return MakeAction(acAttackCity, t.BlueCity->ID); }, FightDialog},
    {"EnterBuildingNamingATown",
     [](ActionTest& t) { return MakeAction(acEnterBuilding, t.BlueCity->ID); }},
    {"EnterBuildingWithoutSelection",
     [](ActionTest& t) { return MakeAction(acEnterBuilding, t.Building->ID); }, nullptr, Deselect},
    {"LeaveWithoutEnteredTown", [](ActionTest&) { return MakeAction(acLeaveCity); }},
    {"LeaveNeedsTheTownWindow", [](ActionTest&) { return MakeAction(acLeaveCity); }, TownWindow,
     EnterTown},
    {"MoveTownUnitWithoutEnteredTown",
     [](ActionTest& t) { return MakeAction(acMoveCityUnit, 0, t.RedGroup->Units[0]->ID, 2, 0); }},
    {"MoveTownUnitNeedsTheTownWindow",
     [](ActionTest& t) {
         return MakeAction(acMoveCityUnit, 0, t.RedCity->GateGroup->Units[0]->ID, 2, 0);
     },
     TownWindow, EnterTown},
    {"FightCommandsWithoutFight",
     [](ActionTest&) { return MakeAction(acFightCommands, 3); },
     nullptr,
     {},
     arPending},
    {"FightCommandsWithAnUnknownAnswer", [](ActionTest&) { return MakeAction(acFightCommands, 1); },
     nullptr, StartFight, arPending},
    {"FightCommandsAcceptNeedTheFightDialog",
     [](ActionTest&) { return MakeAction(acFightCommands, 3); }, FightDialog, StartFight},
    {"FightCommandsFleeNeedTheFightDialog",
     [](ActionTest&) { return MakeAction(acFightCommands, 2); }, FightDialog, StartFight},
    {"VisitWithoutEnteredTown", [](ActionTest&) { return MakeAction(acVisitMerchant, 0); }},
    {"VisitBeyondTheHouses", [](ActionTest&) { return MakeAction(acVisitMerchant, 6); }, nullptr,
     EnterTown},
    {"VisitAHouseNeedsTheTownWindow", [](ActionTest&) { return MakeAction(acVisitMerchant, 5); },
     TownWindow,
     [](ActionTest& t) {
         t.RedCity->Custom2.Enabled = 1;
         t.EnterRedCity();
     }},
    {"VisitABuildingTheTownLacks", [](ActionTest&) { return MakeAction(acVisitMerchant, 5); },
     nullptr, EnterTown},
    {"PurchaseWithoutEnteredTown",
     [](ActionTest& t) {
         return MakeAction(acMerchantPurchase, 1, t.RedGroup->Units[0]->ID, 0, 0);
     }},
    {"PurchaseNeedsTheTownWindow",
     [](ActionTest& t) {
         return MakeAction(acMerchantPurchase, 1, t.RedCity->GateGroup->Units[0]->ID, 0, 0);
     },
     TownWindow, EnterTown},
    {"AnswerWithoutConversation", [](ActionTest&) { return MakeAction(acConversationChoice, 1); }},
    {"AnswerNeedsTheTalkDialog", [](ActionTest&) { return MakeAction(acConversationChoice, 1); },
     TalkDialog, [](ActionTest& t) { t.StartRunningConversation(); }},
};

TEST_P(RefusalTest, IsRefusedChangingNothing) {
    const TRefusal& c = GetParam();
    if (c.Setup)
        c.Setup(*this);
    const TPlayerAction action = c.Action(*this);
    const TOutcome outcome = ExecuteOnce(action);
    EXPECT_EQ(outcome.Result, c.Result);
    EXPECT_FALSE(outcome.Changed);
    EXPECT_EQ(Scenario().CurrentPlayer, &Red());
    for (const char* message : {FightDialog, TownWindow, TalkDialog})
        EXPECT_EQ(CountMessages(message), c.Message && std::string(c.Message) == message ? 1 : 0)
            << message;
}

INSTANTIATE_TEST_SUITE_P(EveryCode, RefusalTest, ::testing::ValuesIn(Refusals),
                         [](const ::testing::TestParamInfo<TRefusal>& info) {
                             return std::string(info.param.Name);
                         });

TEST_F(ActionTest, SelectingAGroupOnScreenAnswersAtOnceAndOffScreenOnceTheMapHasScrolled) {
    EXPECT_EQ(Run(MakeAction(acSelectObject, 0)), arDone);
    EXPECT_EQ(Red().Selection, nullptr);
    EXPECT_EQ(Run(MakeAction(acSelectObject, RedGroup->ID)), arDone);
    EXPECT_EQ(Red().GetSelectedGroup(), RedGroup);

    Scenario().View.Top = 300; // the group's row is above the view
    Red().PostAction(false, MakeAction(acSelectObject, RedGroup->ID));
    Game->ExecuteAction();
    EXPECT_EQ(Red().GetActionResult(), arPending);
}

TEST_F(ActionTest, AGroupWalksToACellAndMergesWithAnotherOwnGroup) {
    EXPECT_EQ(Run(Move(4, 2, 0, 0, 0)), arDone);
    EXPECT_EQ(RedGroup->X / CellSize, 4);
    EXPECT_EQ(RedGroup->Y / CellSize, 2);

    EXPECT_EQ(Run(Move(4, 4, 0, 1, RedScout->ID)), arDone);
    std::vector<const TGroup*> redGroups;
    for (const TMapObject* object : Scenario().Objects)
        if (object->Kind == okGroup && static_cast<const TGroup*>(object)->OwnerIndex == 0)
            redGroups.push_back(static_cast<const TGroup*>(object));
    ASSERT_EQ(redGroups.size(), 1u);
    EXPECT_EQ(redGroups[0]->UnitCount(), 3);
    EXPECT_EQ(redGroups[0]->X / CellSize, 4);
    EXPECT_EQ(redGroups[0]->Y / CellSize, 4);
}

TEST_F(ActionTest, SplitMarksNeedOneUnitToStay) {
    EXPECT_EQ(Run(MakeAction(acMarkSplit, 0x0101)), arMustStayInGroup);
    EXPECT_EQ(RedGroup->SplitMarks, (std::array<uint8_t, MaxGroupUnits>{0, 0, 0}));
    EXPECT_EQ(Run(MakeAction(acMarkSplit, 0x0001)), arDone);
    EXPECT_EQ(RedGroup->SplitMarks, (std::array<uint8_t, MaxGroupUnits>{1, 0, 0}));
}

TEST_F(ActionTest, ACampIsPitchedAndBroken) {
    EXPECT_EQ(Run(MakeAction(acPitchCamp, RedGroup->ID)), arDone);
    EXPECT_EQ(RedGroup->CampState, csPitched);
    Run(MakeAction(acBreakCamp, RedGroup->ID));
    EXPECT_EQ(RedGroup->CampState, csNone);
}

TEST_F(ActionTest, EnteringABuildingOrAScriptedTownPaysTheEntry) {
    const int32_t before = RedGroup->LowestActionPoints();
    EXPECT_EQ(Run(MakeAction(acEnterBuilding, Building->ID)), arDone);
    EXPECT_EQ(RedGroup->LowestActionPoints(), before - BuildingEntryAP);
    EXPECT_EQ(Run(MakeAction(acEnterCity, ScriptedCity->ID)), arDone);
    EXPECT_EQ(RedGroup->LowestActionPoints(), before - 2 * BuildingEntryAP);
    EXPECT_EQ(CountMessages("The town window is not available yet."), 0);
}

TEST_F(ActionTest, AReportBecomesTheResultUnlessAPlayersGlobalEndsTheScenario) {
    EXPECT_EQ(Run(MakeAction(acReport, arBlocked)), arBlocked);
    Scenario().Globals[1] = 0;
    EXPECT_EQ(Run(MakeAction(acReport, arSpotted)), arSpotted);
    EXPECT_EQ(Run(MakeAction(acReport, arDone)), arDone);
    // The end of the scenario is not built: it says so once, and the game goes on.
    EXPECT_EQ(CountMessages("The end of the scenario is not available yet."), 1);
}

TEST_F(ActionTest, TheFirstReportOfASinglePlayersTurnMakesTheAutosaveOnce) {
    // Red's opening report took the pending autosave; saved games are not built yet.
    EXPECT_FALSE(Game->AutosavePending);
    EXPECT_EQ(CountMessages("Saved games are not available yet."), 1);
    Run(MakeAction(acReport, arDone));
    EXPECT_EQ(CountMessages("Saved games are not available yet."), 1);
}

} // namespace
