// The basic conversation commands against the tiny world: red's group with a hero
// and a soldier, a group of two heroes, an empty group, blue's group, a quest and
// an objective, an area.
#include "engine/core/Random.h"
#include "game/script/Conversation.h"
#include "game/script/QuestObjective.h"
#include "game/world/fog/Fog.h"
#include "game/world/objects/MapSounds.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace GameData;
using TestSupport::ErrorOf;

namespace {

constexpr int Human = 1;
constexpr uint32_t QuestID = 40;
constexpr uint32_t ObjectiveID = 41;

std::string Framed(const std::string& message, const std::string& command) {
    return "[TConversation]\n" + message + "\nCommand:" + command + " ConversationID=3";
}

class Commands : public ::testing::Test {
protected:
    Commands() {
        data.AddUnitPrototype(Human, "Human");
        InstallQuestObjectives(scenario);
        red = world.AddGroup(0, 2, 2);
        hero = Unit(*red, "Aldo", true);
        soldier = Unit(*red, "Bren", false);
        heroes = world.AddGroup(0, 4, 4);
        Unit(*heroes, "Cara", true);
        Unit(*heroes, "Dain", false);
        lastHero = Unit(*heroes, "Edda", true);
        plain = world.AddGroup(0, 6, 6);
        Unit(*plain, "Finn", false);
        empty = world.AddGroup(0, 8, 8);
        blue = world.AddGroup(1, 10, 10);
        Unit(*blue, "Gorm", true);
        quest = AddTask(QuestID, qtQuest);
        objective = AddTask(ObjectiveID, qtObjective);
        area = world.AddArea({{1, 1}, {2, 1}});
        conversation.ID = 3;
        conversation.SetScenario(&scenario);
        conversation.SetTalkingGroup(red);
    }

    TUnit* Unit(TGroup& group, const char* name, bool isHero) {
        TUnit* unit = group.AddUnit(TestSupport::MakeUnit(Human, 10), true, false);
        unit->Name = name;
        unit->IsHero = isHero ? 1 : 0;
        return unit;
    }
    TQuestObjective* AddTask(uint32_t id, int32_t type) {
        auto task = std::make_unique<TQuestObjective>();
        task->ID = id;
        task->Type = type;
        task->SetScenario(&scenario);
        return static_cast<TQuestObjective*>(scenario.Quests.Add(std::move(task)));
    }
    // The page's text; a failing page gives its error instead.
    std::string Run(const std::string& page) {
        std::string shown;
        const std::string error = ErrorOf([&] {
            conversation.Texts = {page};
            shown = conversation.GetText(0);
        });
        return error == "no error" ? shown : error;
    }
    std::string Id(const TUnit* unit) const { return std::to_string(unit->ID); }

    TestSupport::TTestGameData data;
    TestSupport::TTinyWorld world;
    TScenario& scenario = *world.Scenario;
    TGroup *red, *heroes, *plain, *empty, *blue;
    TUnit *hero, *soldier, *lastHero;
    TQuestObjective *quest, *objective;
    TArea* area;
    TConversation conversation;
};

} // namespace

TEST_F(Commands, SpeakerMarksLineBreaksNumbersAndLogs) {
    const struct {
        const char* Page;
        const char* Result;
    } cases[] = {
        {"<TEXT><0>A<CRLF><2>B<ENDTEXT>", "<0>A\n<2>B"},
        {"<TEXT><1(ignored,too)>x<CRLF(1)><ENDTEXT>", "<1>x\n"},
        {"<TEXT><SHOWEXPRESSION(0-12)>,<SHOWEXPRESSION(007)>,<SHOWEXPRESSION(0)><ENDTEXT>",
         "-12,7,0"},
        {"<TEXT><SHOWEXPRESSION(0-2147483647-1)><ENDTEXT>", "-2147483648"},
        {"<WRITELOG(any text, with commas)><WRITEEXPRESSIONLOG(1+1,junk)><TEXT>ok<ENDTEXT>", "ok"},
        {"<WRITEEXPRESSIONLOG(1/0)>", "[TConversation]\nDivision by zero.\n"
                                      "Command:WRITEEXPRESSIONLOG(1/0) ConversationID=3"},
        {"<SHOWEXPRESSION(1,2)>",
         "[TConversation]\nParameter(s) 2 NOT expected!\nCommand:SHOWEXPRESSION(1,2) "
         "ConversationID=3"},
        {"<DELETE(1)>", "[TConversation]\nParameter(s) 1 NOT expected!\nCommand:DELETE(1) "
                        "ConversationID=3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Run(c.Page), c.Result) << c.Page;
    EXPECT_FALSE(conversation.DeleteRequested);
    EXPECT_EQ(Run("<DELETE>"), "");
    EXPECT_TRUE(conversation.DeleteRequested);
}

TEST_F(Commands, VariablesAndAliases) {
    EXPECT_EQ(Run("<SETALIAS(gold,GLOBAL5)><SET(GOLD,7)>"), "");
    EXPECT_EQ(scenario.Globals[5], 7);
    EXPECT_EQ(scenario.GlobalAliasIndex("GOLD"), 5) << "alias names are upper-cased";
    TConversation other;
    other.SetScenario(&scenario);
    other.Texts = {"<SET(Gold,8)>"};
    other.GetText(0);
    EXPECT_EQ(scenario.Globals[5], 8) << "a global alias serves every conversation";

    EXPECT_EQ(Run("<SETALIAS(GOLD,LOCAL2)><SET(GOLD,1)><SETALIAS(gold,local3)><SET(gold,2)>"), "");
    EXPECT_EQ(conversation.Locals[2], 1);
    EXPECT_EQ(conversation.Locals[3], 2) << "a local alias is rebound, a local hides a global";
    EXPECT_EQ(scenario.Globals[5], 8);
    other.GetText(0);
    EXPECT_EQ(scenario.Globals[5], 8);

    const struct {
        const char* Page;
        std::string Error;
    } errors[] = {
        {"<SET(LOCAL0)>", Framed("Parameter expected!", "SET(LOCAL0)")},
        {"<SET(LOCAL99,1/0)>", Framed("Division by zero.", "SET(LOCAL99,1/0)")},
        {"<SET(LOCAL1,1,2)>", Framed("Parameter(s) 2 NOT expected!", "SET(LOCAL1,1,2)")},
        {"<SET(NOPE,1)>", "Unknown variable:NOPE!"},
        {"<SETALIAS(X,LOCAL32)>",
         Framed("Bad index of local variable!\nThere is 32 local variables with index starting "
                "at 0!",
                "SETALIAS(X,LOCAL32)")},
        {"<SETALIAS(X,GLOBAL1024)>",
         Framed("Bad index of global variable!\nThere is 1024 global variables with index "
                "starting at 0!",
                "SETALIAS(X,GLOBAL1024)")},
        {"<SETALIAS(X,FOO)>", "Unknown variable:FOO!"},
    };
    for (const auto& e : errors)
        EXPECT_EQ(Run(e.Page), e.Error) << e.Page;

    ClassLib::AnsiString out;
    EXPECT_EQ(ErrorOf([&] { conversation.ExecuteCommand("<set(local0,1)>", out); }),
              Framed("Unknown command: set", "set(local0,1)"))
        << "the table's names are upper case";
}

TEST_F(Commands, ConditionsChooseTheirBranch) {
    const struct {
        const char* Condition;
        bool Holds;
    } cases[] = {
        {"IFEQUAL(2,1+1)", true},  {"IFEQUAL(2,3)", false},     {"IFGREATER(3,2)", true},
        {"IFGREATER(2,2)", false}, {"IFGREATER(0-1,0)", false}, {"IFUNEQUAL(1,2)", true},
        {"IFUNEQUAL(4,4)", false}, {"IFTRUE(0-7)", true},       {"IFTRUE(0)", false},
        {"IFFALSE(0)", true},      {"IFFALSE(3)", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            Run(std::string("<") + c.Condition + "><TEXT>T<ENDTEXT><ELSE><TEXT>F<ENDTEXT><ENDIF>"),
            c.Holds ? "T" : "F")
            << c.Condition;
    EXPECT_EQ(Run("<IFTRUE(1,2)><ENDIF>"), Framed("Parameter(s) 2 NOT expected!", "IFTRUE(1,2)"));
}

TEST_F(Commands, RandomNumbersAndTheChosenAnswer) {
    const Base::TRandomSeed before = Base::RandomSeed;
    conversation.Locals[0] = 9;
    Run("<GETRANDOM(0)>");
    EXPECT_EQ(conversation.Locals[0], 0);
    EXPECT_EQ(Base::RandomSeed.Low, before.Low) << "nothing drawn";
    EXPECT_EQ(Base::RandomSeed.High, before.High);

    Base::TRandomSeed expected = before;
    Run("<GETRANDOM(10)>");
    EXPECT_EQ(conversation.Locals[0], int32_t(Base::NextRandom(expected) % 10));

    conversation.ChosenAnswer = 2;
    Run("<GETCHOSEN>");
    EXPECT_EQ(conversation.Locals[0], 2);
}

TEST_F(Commands, GivingQuestsAndObjectives) {
    const struct {
        TGroup* Group;
        std::string Page;
        std::string Error;
    } refused[] = {
        {plain, "<GIVEQUEST(40)>",
         Framed("Unit is not a hero: " + Id(plain->UnitAt(0)) + ".", "GIVEQUEST(40)")},
        {nullptr, "<GIVEQUEST(40)>", Framed("No group to get HeroID from!", "GIVEQUEST(40)")},
        {empty, "<GIVEQUEST(40)>", Framed("Hero not found: 0.", "GIVEQUEST(40)")},
        {red, "<GIVEQUEST(40,12345)>", Framed("Hero not found: 12345.", "GIVEQUEST(40,12345)")},
        {red, "<GIVEQUEST(99)>", Framed("Quest/Objective not found: 99.", "GIVEQUEST(99)")},
        {red, "<GIVEQUEST(41)>",
         Framed("Quest/Objective is not of quest type: 41.", "GIVEQUEST(41)")},
        {red, "<GIVEOBJECTIVE(40)>",
         Framed("Quest/Objective is not of objective type: 40.", "GIVEOBJECTIVE(40)")},
        {red, "<GIVEOBJECTIVE(41,0-2)>",
         Framed("Invalid player index: -2.", "GIVEOBJECTIVE(41,0-2)")},
        {red, "<GIVEOBJECTIVE(41,5)>", Framed("Invalid player index: 5.", "GIVEOBJECTIVE(41,5)")},
        {nullptr, "<GIVEOBJECTIVE(41)>",
         Framed("No group to get PlayerIndex from!", "GIVEOBJECTIVE(41)")},
    };
    for (const auto& r : refused) {
        conversation.SetTalkingGroup(r.Group);
        EXPECT_EQ(Run(r.Page), r.Error) << r.Page;
    }
    EXPECT_EQ(quest->State, qsNotGiven);
    EXPECT_EQ(objective->State, qsNotGiven);

    conversation.SetTalkingGroup(red);
    Run("<GIVEQUEST(40)><GIVEOBJECTIVE(41)>");
    EXPECT_EQ(quest->State, qsActive);
    EXPECT_EQ(quest->GivenID, int32_t(hero->ID)) << "the talking group's leader";
    EXPECT_EQ(objective->Player, 0) << "the talking group's player";
    Run("<GIVEQUEST(40," + Id(lastHero) + ")><GIVEOBJECTIVE(41,1)>");
    EXPECT_EQ(quest->GivenID, int32_t(lastHero->ID));
    EXPECT_EQ(objective->Player, 1);
}

TEST_F(Commands, HeroIDsAndNames) {
    quest->GiveQuest(int32_t(lastHero->ID));
    const struct {
        TGroup* Group;
        std::string Page;
        std::string Result;
    } cases[] = {
        {red, "<GETHEROID(40)><TEXT><SHOWEXPRESSION(LOCAL0)><ENDTEXT>", Id(lastHero)},
        {heroes, "<GETHEROID><TEXT><SHOWEXPRESSION(LOCAL0)><ENDTEXT>", Id(lastHero)},
        {plain, "<GETHEROID(0)><TEXT><SHOWEXPRESSION(LOCAL0)><ENDTEXT>", "0"},
        {nullptr, "<SET(LOCAL0,5)><GETHEROID><TEXT><SHOWEXPRESSION(LOCAL0)><ENDTEXT>", "0"},
        {red, "<GETHEROID(77)>", Framed("Quest with given ID not fount! Id=77", "GETHEROID(77)")},
        {heroes, "<TEXT><SHOWNAME>!<ENDTEXT>", "CaraEdda!"},
        {plain, "<TEXT><SHOWNAME><ENDTEXT>", "Finn"},
        {nullptr, "<TEXT><SHOWNAME>.<ENDTEXT>", "."},
        {empty, "<TEXT><SHOWNAME><ENDTEXT>",
         Framed("Trying to show name of empty group", "SHOWNAME")},
        {nullptr, "<TEXT><SHOWNAME(" + Id(soldier) + ")>.<SHOWNAME(999)><ENDTEXT>", "Bren."},
    };
    for (const auto& c : cases) {
        conversation.SetTalkingGroup(c.Group);
        EXPECT_EQ(Run(c.Page), c.Result) << c.Page;
    }
}

TEST_F(Commands, MoneyGoesToTheTalkingOrNamedPlayer) {
    Run("<GIVEMONEY(0-50)>");
    EXPECT_EQ(world.Player(0).Gold, 950);
    Run("<GIVEMONEY(0-2000)><GIVEMONEY(10,1)>");
    EXPECT_EQ(world.Player(0).Gold, -1050) << "no lower bound";
    EXPECT_EQ(world.Player(1).Gold, 1010);
    EXPECT_EQ(Run("<GIVEMONEY(10,0-2)>"), Framed("Invalid player index: -2.", "GIVEMONEY(10,0-2)"));
    EXPECT_EQ(Run("<GIVEMONEY(10,4)>"), Framed("Invalid player index: 4.", "GIVEMONEY(10,4)"))
        << "the tiny world has three players";
}

namespace {

class TRecordedSounds : public TMapSounds {
public:
    int EffectVolume() const override { return 60; }
    int PlayEffectByID(uint32_t soundID, int volume) override {
        Played.push_back({soundID, volume});
        return 0;
    }
    bool IsTrackPlaying(int) const override { return false; }
    void SetTrackVolume(int, int) override {}
    void FadeOutTrack(int) override {}
    void PlayInterfaceSound(uint32_t, int, bool) override {}

    std::vector<std::pair<uint32_t, int>> Played;
};

} // namespace

TEST_F(Commands, SoundsPlayAtTheEffectVolume) {
    EXPECT_EQ(Run("<PLAYSOUND(33)>"), "") << "a scenario without sounds is silent";
    TRecordedSounds sounds;
    scenario.Sounds = &sounds;
    Run("<PLAYSOUND(30+3)>");
    scenario.Sounds = nullptr;
    ASSERT_EQ(sounds.Played.size(), 1u);
    EXPECT_EQ(sounds.Played[0], std::make_pair(33u, 60));
}

TEST_F(Commands, GivingArmies) {
    conversation.UnitsPlaced = false;
    conversation.Texts = {"<GIVEARMY(0-1,10,10)>", "<GIVEARMY(0-3,1,1,99999,0,junk)>"};
    conversation.GetText(0);
    EXPECT_TRUE(conversation.UnitsPlaced) << "also when nothing was listed";
    conversation.GetText(1);
    EXPECT_TRUE(conversation.UnitsPlaced) << "units not in the scenario are skipped";
    EXPECT_EQ(Run("<GIVEARMY(7,1,1)>"), Framed("GiveArmy:Invalid Player", "GIVEARMY(7,1,1)"));
    EXPECT_EQ(red->OwnerIndex, 0);

    TCity* city = world.AddCity(0, 8, 2);
    TUnit* townsman = city->AddOtherUnit(TestSupport::MakeUnit(Human, 10), true, false);
    Run("<GIVEARMY(1,1,1," + Id(soldier) + "," + Id(townsman) + ",0," + Id(lastHero) + ")>");
    EXPECT_EQ(red->OwnerIndex, 1) << "the whole group of a listed unit";
    EXPECT_EQ(city->Owner, 1) << "the whole city of a listed unit";
    EXPECT_EQ(heroes->OwnerIndex, 0) << "nothing after the 0";

    // A unit without a place goes to the map as a new group of the player.
    TUnit* loose = scenario.RegisterUnit(TestSupport::MakeUnit(Human, 10), true);
    scenario.LooseUnits.Add(loose);
    EXPECT_EQ(Run("<GIVEARMY(1,10,1," + Id(loose) + ")>"), "");
    ASSERT_NE(loose->GetGroup(), nullptr);
    EXPECT_EQ(loose->GetGroup()->OwnerIndex, 1);
    EXPECT_EQ(loose->GetGroup()->UnitCount(), 1);
    EXPECT_EQ(loose->GetGroup()->X / CellSize, 10);
    EXPECT_EQ(scenario.LooseUnits.IndexOf(loose), -1);
}

TEST_F(Commands, RelationsChangeBothWays) {
    EXPECT_EQ(Run("<CHANGERELATION(0,1,2)>"), "");
    EXPECT_EQ(world.Player(0).Relations[1], reFriendly);
    EXPECT_EQ(world.Player(1).Relations[0], reFriendly);
    Run("<CHANGERELATION(0-5,1,0)>");
    EXPECT_EQ(world.Player(0).Relations[1], reNeutral) << "any negative first player talks";
    EXPECT_EQ(world.Player(1).Relations[0], reNeutral);

    const struct {
        const char* Page;
        const char* Error;
    } refused[] = {
        {"<CHANGERELATION(0-1,0-1,1)>", "ChangeRelation:Invalid 2nd player index!"},
        {"<CHANGERELATION(5,0,1)>", "ChangeRelation:Invalid 1st player index!"},
        {"<CHANGERELATION(0,1,3)>", "ChangeRelation:Invalid relation!"},
        {"<CHANGERELATION(0,1,0-1)>", "ChangeRelation:Invalid relation!"},
    };
    for (const auto& r : refused) {
        const std::string page = r.Page;
        EXPECT_EQ(Run(page), Framed(r.Error, page.substr(1, page.size() - 2))) << page;
    }
    EXPECT_EQ(world.Player(0).Relations[1], reNeutral);
    TCity* city = world.AddCity(0, 8, 2);
    TUnit* guest = city->AddOtherUnit(TestSupport::MakeUnit(Human, 10), true, false);
    guest->Marker = 1; // serving blue
    const uint32_t guestID = guest->ID;
    Run("<CHANGERELATION(1,0,1)>");
    EXPECT_EQ(scenario.Units.FindByID(guestID), nullptr) << "cities expel the new enemies";

    conversation.SetTalkingGroup(nullptr);
    EXPECT_EQ(Run("<CHANGERELATION(0-1,1,1)>"),
              Framed("No group to get PlayerIndex from!", "CHANGERELATION(0-1,1,1)"));
}

TEST_F(Commands, NewFriendsShareSightAndTheSelectedGroupFindsItsWayAnew) {
    scenario.BeginTurnOf(0);
    world.Player(0).SelectObject(red);
    scenario.UpdateAllVisibility();
    ASSERT_EQ(world.Player(2).Fog->GetCell(2, 2, 9), fsUnexplored);
    std::fill(scenario.MoveCosts.begin(), scenario.MoveCosts.end(), 77);
    EXPECT_EQ(Run("<CHANGERELATION(0,2,2)>"), "");
    EXPECT_EQ(world.Player(2).Fog->GetCell(2, 2, 9), fsVisible) << "green sees with red";
    EXPECT_EQ(scenario.MoveCosts[size_t(scenario.CellIndex(2, 2))], 0)
        << "costs filled again from the selected group";
    EXPECT_EQ(Run("<CHANGERELATION(0,2,0)>"), "");
    EXPECT_EQ(world.Player(2).Fog->GetCell(2, 2, 9), fsExplored);
}

TEST_F(Commands, FogAreasRevealedToAPlayer) {
    const std::string id = std::to_string(area->ID);
    Run("<SETFOGAREA(" + id + ",2)><SETFOGAREA(" + id + ",2,1)>");
    ASSERT_EQ(world.Player(0).RevealedAreas.Count(), 1);
    EXPECT_EQ(world.Player(0).RevealedAreas[0], area);
    EXPECT_EQ(world.Player(1).RevealedAreas.Count(), 1);

    const struct {
        std::string Params;
        std::string Error;
    } refused[] = {
        {id + ",3", "SetFogArea: invalid reveal value."},
        {id + ",0-1", "SetFogArea: invalid reveal value."},
        {id + ",2,9", "SetFogArea: invalid player."},
        {"0,2", "Area not found: 0."},
    };
    for (const auto& r : refused)
        EXPECT_EQ(Run("<SETFOGAREA(" + r.Params + ")>"),
                  Framed(r.Error, "SETFOGAREA(" + r.Params + ")"))
            << r.Params;
    EXPECT_EQ(Run("<SETFOGAREA(4242,2)>"), "Object with given ID not found (4242).");
    EXPECT_EQ(world.Player(0).RevealedAreas.Count(), 1);
}

// Green has no group: only the commands change what it knows of the area's cells.
TEST_F(Commands, FogAreasAreExploredForgottenAndSeenAtOnce) {
    scenario.UpdateAllVisibility();
    const TFog& fog = *world.Player(2).Fog;
    const std::string id = std::to_string(area->ID);
    const struct {
        int Reveal;
        uint8_t InArea;
    } steps[] = {{1, fsExplored}, {0, fsUnexplored}, {2, fsVisible}, {0, fsVisible}};
    for (const auto& step : steps) {
        EXPECT_EQ(Run("<SETFOGAREA(" + id + "," + std::to_string(step.Reveal) + ",2)>"), "");
        EXPECT_EQ(fog.GetCell(1, 1, 9), step.InArea) << "reveal " << step.Reveal;
        EXPECT_EQ(fog.GetCell(2, 1, 9), step.InArea) << "reveal " << step.Reveal;
        EXPECT_EQ(fog.GetCell(1, 5, 9), fsUnexplored) << "outside the area";
    }
    EXPECT_EQ(world.Player(2).RevealedAreas.Count(), 1);

    // What red sees now it keeps when the area is forgotten.
    ASSERT_EQ(world.Player(0).Fog->GetCell(2, 1, 9), fsVisible);
    EXPECT_EQ(Run("<SETFOGAREA(" + id + ",0)>"), "");
    EXPECT_EQ(world.Player(0).Fog->GetCell(2, 1, 9), fsVisible);
}

TEST_F(Commands, TheTableNamesEveryCommandWithAHandler) {
    const auto table = TConversation::Commands();
    EXPECT_EQ(table[0].Name, "0");
    EXPECT_EQ(table[25].Name, "SETFOGAREA");
    EXPECT_EQ(table[85].Name, "GETUNITSINAREA");
    EXPECT_EQ(table[22].MaxParams, 1000);
    for (size_t row = 0; row < table.size(); ++row)
        EXPECT_NE(table[row].Handler, nullptr) << table[row].Name;
}
