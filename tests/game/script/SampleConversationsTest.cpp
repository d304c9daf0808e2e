// The sample campaign's first-level conversations, read from data/scripts and
// played in the tiny world: the greeting on the first turn with either answer,
// the quest's follow-up once the hero has seen the ford, and the gatekeeper when
// the hero enters the city.
#include "game/script/Conversation.h"
#include "game/script/QuestObjective.h"
#include "game/script/TalkSession.h"
#include "game/world/objects/MapGeometry.h"
#include "platform/classlib/Streams.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "tools/ConversationSource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace GameData;

namespace {

constexpr int Human = 1;
// The person's side on the campaign's levels, which the conversations are meant for.
constexpr int Side = 1;
constexpr uint32_t Greeting = 501, AtTheGate = 502, FordReport = 503, FordQuest = 40;

std::string SourceFile(const std::string& name) {
    std::ifstream file(VRN_SOURCE_DIR "/data/scripts/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class SampleConversations : public ::testing::Test {
protected:
    SampleConversations() {
        data.AddUnitPrototype(Human, "Human");
        InstallQuestObjectives(scenario);
        InstallConversations(scenario);
        group = world.AddGroup(Side, 1, 1);
        hero = group->AddUnit(TestSupport::MakeUnit(Human, 10), true, false);
        hero->Name = "Aldo";
        hero->IsHero = 1;
        city = world.AddCity(Side, 9, 9);
        auto ford = std::make_unique<TArea>();
        ford->ID = 1;
        ford->AddCell({6, 6});
        scenario.Areas.Add(std::move(ford));

        auto quest = std::make_unique<TQuestObjective>();
        quest->ID = FordQuest;
        quest->FinalConversationID = FordReport;
        quest->SetScenario(&scenario);
        quest->Check.Script = SourceFile("level1-quest.txt");
        scenario.Quests.Add(std::move(quest));
        for (std::unique_ptr<TConversation>& c :
             Tools::ReadConversationSource(SourceFile("level1-conversations.txt"))) {
            c->SetScenario(&scenario);
            if (c->ID == AtTheGate)
                c->OwnerID = int32_t(city->ID); // as the level builder wires it
            scenario.Conversations.Add(std::move(c));
        }
        scenario.Turn = 1;
        scenario.CurrentPlayerIndex = Side;
        for (int i = 0; i < scenario.PlayerCount(); ++i)
            scenario.Globals[size_t(i)] = 1; // still playing, as the level builder leaves them
    }

    TQuestObjective& Quest() const {
        return *static_cast<TQuestObjective*>(scenario.Quests.FindByID(FordQuest));
    }
    TConversation& Conversation(uint32_t id) const {
        return *static_cast<TConversation*>(scenario.Conversations.FindByID(id));
    }
    // Plays the next queued conversation, choosing the answer on pages that offer
    // any; the pages as shown.
    std::vector<TTalkPage> PlayQueued(int answer) {
        auto* next = static_cast<TConversation*>(scenario.PopQueuedConversation());
        EXPECT_NE(next, nullptr);
        std::vector<TTalkPage> shown;
        if (!next)
            return shown;
        TTalkSession talk(*next, group);
        for (TTalkPage page; talk.NextPage(page);) {
            shown.push_back(page);
            if (!page.Answers.empty()) {
                EXPECT_TRUE(talk.Choose(answer));
            }
        }
        EXPECT_EQ(talk.Error(), "");
        return shown;
    }
    std::string LastNote() const {
        const ClassLib::TStringList& notes = world.Player(Side).Texts1;
        return notes.Count() ? std::string(notes[notes.Count() - 1]) : "";
    }

    TestSupport::TTestGameData data;
    TestSupport::TTinyWorld world;
    TScenario& scenario = *world.Scenario;
    TGroup* group;
    TCity* city;
    TUnit* hero;
};

} // namespace

TEST_F(SampleConversations, TheSourceReadsAndRoundTripsThroughTheScenario) {
    ASSERT_EQ(scenario.Conversations.Count(), 3);
    EXPECT_EQ(Conversation(Greeting).OwnerName, "Ferryman");
    EXPECT_EQ(Conversation(Greeting).Texts.size(), 2u);
    EXPECT_FALSE(Conversation(FordReport).Active);
    ClassLib::TMemoryStream stream;
    scenario.SaveConversations(&stream);
    TScenario loaded;
    InstallConversations(loaded);
    ClassLib::TMemoryStream in(stream.Bytes());
    loaded.LoadConversations(&in);
    ClassLib::TMemoryStream again;
    loaded.SaveConversations(&again);
    EXPECT_EQ(again.Bytes(), stream.Bytes());
}

TEST_F(SampleConversations, AcceptingTheGreetingGivesTheQuestAndItsReportPays) {
    scenario.TriggerConversations(Side, ceTurn, 0);
    const std::vector<TTalkPage> greeting = PlayQueued(0);
    ASSERT_EQ(greeting.size(), 2u);
    EXPECT_EQ(greeting[0].Said, "<1>Welcome to Varnholt, Aldo!\nThe river rose in the night "
                                "and the old ford may be gone.\nWill you ride out and look at "
                                "it for me?");
    EXPECT_EQ(greeting[0].Answers,
              (std::vector<ClassLib::AnsiString>{"I will look at the ford.", "Not now, old man."}));
    EXPECT_EQ(greeting[1].Said, "<1>Ride east until you hear the water.");
    EXPECT_EQ(Quest().State, qsActive);
    EXPECT_EQ(Quest().GivenID, int32_t(hero->ID));
    EXPECT_EQ(LastNote(), "The ferryman asked me to scout the old ford east of the landing.");
    EXPECT_FALSE(Conversation(Greeting).Running);

    scenario.Turn = 2;
    scenario.TriggerConversations(Side, ceTurn, 0);
    EXPECT_EQ(scenario.PopQueuedConversation(), nullptr) << "the greeting belongs to turn 1";

    const TPoint ford = CellToPixelCentre(6, 6);
    scenario.MoveObject(scenario.IndexOfObject(group), ford.X, ford.Y);
    scenario.UpdateQuests();
    EXPECT_EQ(Quest().State, qsCompleted);
    EXPECT_EQ(scenario.Globals[1], 0) << "the level is won";
    EXPECT_EQ(scenario.Globals[0], 1);
    const std::vector<TTalkPage> report = PlayQueued(0);
    ASSERT_EQ(report.size(), 1u);
    EXPECT_EQ(report[0].Said, "<1>The ford still holds! Take this for your trouble.");
    EXPECT_EQ(world.Player(Side).Gold, 1100);
    EXPECT_EQ(LastNote(), "The ford holds. The ferryman paid me 100 gold.");
    EXPECT_TRUE(Conversation(FordReport).DeleteRequested);

    scenario.TriggerConversations(Side, ceLocation, int32_t(city->ID));
    const std::vector<TTalkPage> gate = PlayQueued(0);
    ASSERT_EQ(gate.size(), 1u);
    EXPECT_EQ(gate[0].Said,
              "<1>Travellers are welcome in Ashford.\nThey say you have seen the ford.");
}

TEST_F(SampleConversations, RefusingTheGreetingRingsTheBellThreeTimes) {
    scenario.TriggerConversations(Side, ceTurn, 0);
    const std::vector<TTalkPage> greeting = PlayQueued(1);
    ASSERT_EQ(greeting.size(), 2u);
    EXPECT_EQ(greeting[1].Said,
              "<1>Then I shall ring for someone braver.\n<0>Dong!\n<0>Dong!\n<0>Dong!");
    EXPECT_EQ(Quest().State, qsNotGiven);

    scenario.TriggerConversations(Side, ceLocation, int32_t(city->ID));
    const std::vector<TTalkPage> gate = PlayQueued(0);
    ASSERT_EQ(gate.size(), 1u);
    EXPECT_EQ(gate[0].Said, "<1>Travellers are welcome in Ashford.");
}
