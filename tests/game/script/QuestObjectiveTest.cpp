// Quests and objectives: giving, following the hero, updates by their check
// scripts, the scenario's evaluation pass with follow-up conversations, and the
// stored quest list.
#include "game/script/QuestObjective.h"
#include "engine/core/Random.h"
#include "platform/classlib/Streams.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace GameData;
using TestSupport::ErrorOf;

namespace {

constexpr int Hero = 1;

class Quests : public ::testing::Test {
protected:
    Quests() {
        data.AddUnitPrototype(Hero, "Hero");
        InstallQuestObjectives(scenario);
        group = world.AddGroup(0, 1, 1);
        hero = group->AddUnit(TestSupport::MakeUnit(Hero, 10), true, false);
        hero->Name = "Aldo";
    }

    TQuestObjective* AddQuest(uint32_t id, const std::string& script) {
        auto quest = std::make_unique<TQuestObjective>();
        quest->ID = id;
        quest->SetScenario(&scenario);
        quest->Check.Script = script;
        return static_cast<TQuestObjective*>(scenario.Quests.Add(std::move(quest)));
    }

    std::vector<uint8_t> SavedQuests() const {
        ClassLib::TMemoryStream stream;
        scenario.SaveQuestObjectives(&stream);
        return stream.Bytes();
    }

    TestSupport::TTestGameData data;
    TestSupport::TTinyWorld world;
    TScenario& scenario = *world.Scenario;
    TGroup* group;
    TUnit* hero;
};

} // namespace

TEST_F(Quests, ANewQuestIsAnUngivenQuestOfPlayerOne) {
    const TQuestObjective quest;
    EXPECT_EQ(quest.Type, qtQuest);
    EXPECT_EQ(quest.State, qsNotGiven);
    EXPECT_EQ(quest.Player, 1);
    EXPECT_EQ(quest.GivenID, 0);
    EXPECT_EQ(quest.Check.Owner, &quest);
    EXPECT_EQ(quest.Scenario, nullptr);
}

TEST_F(Quests, GivingResettingAndStamps) {
    TQuestObjective* quest = AddQuest(5, "");
    quest->Check.Locals[4] = 9;
    quest->GiveQuest(int32_t(hero->ID));
    EXPECT_EQ(quest->State, qsActive);
    EXPECT_EQ(quest->HeroName, "Aldo");
    EXPECT_EQ(quest->Check.Locals[4], 0) << "a quest given again starts its script over";
    const int32_t firstStamp = quest->GivenOrder;

    TQuestObjective* objective = AddQuest(6, "");
    objective->Type = qtObjective;
    objective->Check.Locals[4] = 9;
    objective->GiveObjective(1);
    EXPECT_EQ(objective->Player, 1);
    EXPECT_EQ(objective->Check.Locals[4], 9);
    EXPECT_GT(objective->GivenOrder, firstStamp);

    quest->Name = "Ford";
    quest->Reset();
    EXPECT_EQ(quest->State, qsNotGiven);
    EXPECT_EQ(quest->GivenID, 0);
    EXPECT_EQ(quest->Player, 0);
    EXPECT_EQ(quest->HeroName, "");
    EXPECT_EQ(quest->GivenOrder, 0);
    EXPECT_EQ(quest->Name, "Ford");

    // A hero the scenario does not hold leaves the name as it was.
    quest->HeroName = "Kept";
    quest->GiveQuest(4242);
    EXPECT_EQ(quest->HeroName, "Kept");
}

TEST_F(Quests, UpdatesRunTheScriptOnlyWhileActiveAndTheHeroIsThere) {
    TQuestObjective* quest =
        AddQuest(5, "<SET(LOCAL1,LOCAL1+1)><IFEQUAL(LOCAL1,2)><SETRESULT(1)><ENDIF>");
    quest->UpdateQuest();
    EXPECT_EQ(quest->Check.Locals[1], 0) << "a task not given is not evaluated";

    quest->GiveQuest(int32_t(hero->ID));
    quest->UpdateQuest();
    EXPECT_EQ(quest->State, qsActive) << "a result of 0 keeps it open";
    hero->Effective.Value(HITPOINTS) = 0; // a dead hero is still in the scenario
    quest->UpdateQuest();
    EXPECT_EQ(quest->State, qsCompleted) << "the locals carried over from the first run";
    quest->UpdateQuest();
    EXPECT_EQ(quest->Check.Locals[1], 2) << "finished tasks are no longer evaluated";

    // A hero gone from the scenario fails the quest without running its script.
    TQuestObjective* broken = AddQuest(6, "<FROB>");
    broken->GiveQuest(int32_t(hero->ID));
    group->RemoveUnit(hero, true, false);
    broken->UpdateQuest();
    EXPECT_EQ(broken->State, qsFailed);

    // An objective does not need a hero; script errors reach the caller and keep the state.
    TQuestObjective* objective = AddQuest(7, "<SETRESULT(-1)><FROB>");
    objective->Type = qtObjective;
    objective->GiveObjective(0);
    EXPECT_EQ(ErrorOf([&] { objective->UpdateQuest(); }),
              "[TCheck]\nUnknown command: FROB.\nCommand:FROB CheckID=7");
    EXPECT_EQ(objective->State, qsActive);
}

TEST_F(Quests, AQuestFollowsItsHerosOwner) {
    TQuestObjective* quest = AddQuest(5, "");
    quest->GiveQuest(int32_t(hero->ID));
    quest->Player = 3;
    quest->UpdatePlayerFromHero();
    EXPECT_EQ(quest->Player, 0);
    group->SetOwner(1);
    quest->UpdatePlayerFromHero();
    EXPECT_EQ(quest->Player, 1);
    group->RemoveUnit(hero, false, false); // still registered
    quest->UpdatePlayerFromHero();
    EXPECT_EQ(quest->Player, -1) << "a hero without an owner";

    quest->GivenID = 4242;
    quest->Player = 2;
    quest->UpdatePlayerFromHero();
    EXPECT_EQ(quest->Player, 2);
    EXPECT_EQ(ErrorOf([&] { quest->UpdatePlayerFromHero(true); }), "Hero not in scenario! ID=4242");

    TQuestObjective* objective = AddQuest(6, "");
    objective->Type = qtObjective;
    objective->GivenID = int32_t(hero->ID);
    objective->Player = 4;
    objective->UpdatePlayerFromHero(true);
    EXPECT_EQ(objective->Player, 4);
}

TEST_F(Quests, TheScenarioEvaluatesTasksOnTheirPlayersTurnAndQueuesTheFollowUpOnce) {
    auto conversation = std::make_unique<TScenarioConversation>();
    conversation->ID = 900;
    TScenarioConversation* followUp = scenario.Conversations.Add(std::move(conversation));

    TQuestObjective* quest = AddQuest(5, "<SETRESULT(1)>");
    quest->FinalConversationID = 900;
    quest->GiveQuest(int32_t(hero->ID));
    TQuestObjective* silent = AddQuest(6, "<SETRESULT(-1)>");
    silent->Type = qtObjective;
    silent->GiveObjective(0);

    scenario.CurrentPlayerIndex = 1;
    scenario.UpdateQuests();
    EXPECT_EQ(quest->State, qsActive) << "not on another player's turn";
    EXPECT_EQ(scenario.PopQueuedConversation(), nullptr);

    scenario.CurrentPlayerIndex = 0;
    scenario.UpdateQuests();
    scenario.UpdateQuests();
    EXPECT_EQ(quest->State, qsCompleted);
    EXPECT_EQ(silent->State, qsFailed);
    EXPECT_EQ(scenario.PopQueuedConversation(), followUp);
    EXPECT_EQ(scenario.PopQueuedConversation(), nullptr) << "queued once, and none for ID 0";

    followUp->Running = 1;
    scenario.QueueConversation(followUp);
    EXPECT_EQ(scenario.PopQueuedConversation(), nullptr) << "a running conversation is not queued";
}

TEST_F(Quests, TheQuestListRoundTripsByteForByte) {
    TQuestObjective* quest = AddQuest(12, "<GETHEROID><IFFALSE(LOCAL0)><SETRESULT(-1)><ENDIF>");
    quest->Name = "The Old Ford";
    quest->Text = "Reach the ford.";
    quest->GiveQuest(int32_t(hero->ID));
    quest->Hidden = 1;
    quest->FinalConversationID = 31;
    quest->Check.Locals = {};
    quest->Check.Locals[0] = -5;
    quest->Check.Locals[31] = 1 << 30;
    TQuestObjective* objective = AddQuest(3, "");
    objective->Type = qtObjective;
    objective->GiveObjective(1);
    objective->State = qsFailed;
    const std::vector<uint8_t> bytes = SavedQuests();

    TestSupport::TTinyWorld other;
    InstallQuestObjectives(*other.Scenario);
    ClassLib::TMemoryStream stream(bytes);
    other.Scenario->LoadQuestObjectives(&stream);
    ASSERT_EQ(other.Scenario->Quests.Count(), 2);
    const auto* loaded = static_cast<const TQuestObjective*>(other.Scenario->Quests.FindByID(12));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Name, quest->Name);
    EXPECT_EQ(loaded->Text, quest->Text);
    EXPECT_EQ(loaded->GivenID, quest->GivenID);
    EXPECT_EQ(loaded->State, quest->State);
    EXPECT_EQ(loaded->Player, quest->Player);
    EXPECT_EQ(loaded->Hidden, 1);
    EXPECT_EQ(loaded->FinalConversationID, 31);
    EXPECT_EQ(loaded->Check.Locals, quest->Check.Locals);
    EXPECT_EQ(loaded->Check.Script, quest->Check.Script);
    EXPECT_EQ(loaded->HeroName, "Aldo");
    EXPECT_EQ(loaded->GivenOrder, quest->GivenOrder);
    EXPECT_EQ(loaded->Check.ID, 12u) << "the check reports its quest's identifier";
    EXPECT_EQ(loaded->Scenario, other.Scenario.get());
    EXPECT_EQ(loaded->Check.Scenario, other.Scenario.get());

    ClassLib::TMemoryStream again;
    other.Scenario->SaveQuestObjectives(&again);
    EXPECT_EQ(again.Bytes(), bytes);
}

TEST_F(Quests, StoredQuestsAreCheckedAgainstTheBytesLeft) {
    TQuestObjective* quest = AddQuest(12, "<SETRESULT(1)>");
    quest->HeroName = "Aldo";
    const std::vector<uint8_t> bytes = SavedQuests();
    for (size_t size = 0; size < bytes.size(); ++size) {
        ClassLib::TMemoryStream stream(
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(size)));
        EXPECT_NE(ErrorOf([&] { scenario.LoadQuestObjectives(&stream); }), "no error") << size;
    }
    // A NUL inside the hero's name: "Aldo" is the last string, before the stamp.
    std::vector<uint8_t> nul = bytes;
    nul[nul.size() - 4 - 2] = 0;
    ClassLib::TMemoryStream stream(nul);
    EXPECT_EQ(ErrorOf([&] { scenario.LoadQuestObjectives(&stream); }), "Invalid data.");

    // A scenario without this library holds no quests and refuses stored ones.
    TScenario bare;
    ClassLib::TMemoryStream stored(bytes);
    EXPECT_EQ(ErrorOf([&] { bare.LoadQuestObjectives(&stored); }),
              "Quests need the scripting library.");
    ClassLib::TMemoryStream empty;
    bare.SaveQuestObjectives(&empty);
    empty.SetPosition(0);
    EXPECT_EQ(ErrorOf([&] { bare.LoadQuestObjectives(&empty); }), "no error");
}

// Checks draw from the game's random state, and peers run different numbers of
// update ticks between the same actions: the updates must leave that state and the
// quests alone, so that the evaluations at the reports draw the same numbers.
TEST(QuestTiming, UpdateTicksBetweenReportsChangeNeitherTheRandomStateNorTheQuests) {
    struct TOutcome {
        uint32_t Low = 0;
        uint32_t High = 0;
        std::vector<int32_t> States;
    };
    const auto play = [](int ticksBetweenReports) {
        TestSupport::TTestGameData data;
        data.AddUnitPrototype(Hero, "Hero");
        TestSupport::TTinyWorld world;
        TScenario& scenario = *world.Scenario;
        InstallQuestObjectives(scenario);
        // Things that do change on every update: an animated fountain and rain.
        world.AddDoodle(TestSupport::TTinyWorld::Fountain, 5, 5);
        scenario.SetWeather(1);
        TGroup* group = world.AddGroup(0, 1, 1);
        TUnit* hero = group->AddUnit(TestSupport::MakeUnit(Hero, 10), true, false);
        std::vector<TQuestObjective*> quests;
        for (uint32_t id = 1; id <= 6; ++id) {
            auto quest = std::make_unique<TQuestObjective>();
            quest->ID = id;
            quest->SetScenario(&scenario);
            quest->Check.Script = "<GETRANDOM(10)><IFGREATER(LOCAL0,6)><SETRESULT(1)><ENDIF>";
            quests.push_back(static_cast<TQuestObjective*>(scenario.Quests.Add(std::move(quest))));
            quests.back()->GiveQuest(int32_t(hero->ID));
        }
        scenario.BeginTurnOf(0);
        Base::RandomSeed = {2024, 77};
        for (int report = 0; report < 5; ++report) {
            for (int tick = 0; tick < ticksBetweenReports; ++tick)
                scenario.Update();
            scenario.UpdateQuests(); // the report every peer executes
        }
        TOutcome outcome{Base::RandomSeed.Low, Base::RandomSeed.High, {}};
        for (const TQuestObjective* quest : quests)
            outcome.States.push_back(quest->State);
        return outcome;
    };
    const TOutcome few = play(1);
    const TOutcome many = play(137);
    EXPECT_EQ(few.Low, many.Low);
    EXPECT_EQ(few.High, many.High);
    EXPECT_EQ(few.States, many.States);
    EXPECT_NE(std::count(few.States.begin(), few.States.end(), qsCompleted), 0)
        << "the checks drew numbers";
}
