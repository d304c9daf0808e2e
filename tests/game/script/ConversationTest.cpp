// The conversation object: its stored form alone and in the scenario's list,
// clearing, and talks played page by page with answers
// chosen by index, where a script error ends the talk and the game goes on.
#include "game/script/Conversation.h"
#include "game/script/TalkSession.h"
#include "platform/classlib/Streams.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

using namespace GameData;
using TestSupport::ErrorOf;

namespace {

std::unique_ptr<TConversation> SampleConversation(uint32_t id) {
    auto c = std::make_unique<TConversation>();
    c->ID = id;
    c->Name = "Greeting";
    c->OwnerType = ceLocation;
    c->OwnerID = 1001;
    c->FaceID = 12;
    c->OwnerName = "Ferryman";
    c->ActivationTurn = 3;
    c->TargetPlayers = 0x8005;
    c->Locals[0] = -1;
    c->Locals[31] = 77;
    c->Active = false;
    c->Aliases = {{"COUNT", 1}, {"seen", 31}, {"Third", 0}};
    c->Texts = {"<TEXT>a<ENDTEXT>", "", "<CHOICE>b<ENDCHOICE>", "<NOTE>n<ENDNOTE>", "plain"};
    return c;
}

std::vector<uint8_t> Saved(const Data::TDataObject& object) {
    ClassLib::TMemoryStream stream;
    object.SaveToStream(&stream);
    return stream.Bytes();
}

} // namespace

TEST(ConversationStream, RoundTripsByteForByteWithItsBindingsAndPages) {
    const std::unique_ptr<TConversation> original = SampleConversation(9);
    const std::vector<uint8_t> bytes = Saved(*original);
    EXPECT_EQ(bytes.size(), 4u + 12 + 4 + 4 + 4 + 12 + 4 + 2 + 128 + 1 + 4 + (13 + 12 + 13) + 4 +
                                (20 + 4 + 24 + 20 + 9));

    TConversation loaded;
    loaded.Texts = {"stale"};
    ClassLib::TMemoryStream in(bytes);
    loaded.LoadFromStream(&in);
    EXPECT_EQ(loaded.ID, 9u);
    EXPECT_EQ(loaded.Texts, original->Texts);
    ASSERT_EQ(loaded.Aliases.size(), 3u);
    EXPECT_EQ(loaded.Aliases[1].Name, "seen");
    EXPECT_EQ(loaded.Aliases[1].Index, 31);
    EXPECT_FALSE(loaded.Active);
    EXPECT_EQ(loaded.OwnerID, 1001);
    EXPECT_EQ(loaded.FaceID, 12u);
    EXPECT_EQ(Saved(loaded), bytes);

    loaded.Texts = {"<SET(seen,5)>"};
    loaded.GetText(0);
    EXPECT_EQ(loaded.Locals[31], 5) << "loaded aliases bind, ignoring case";
}

TEST(ConversationStream, TruncatedOrOversizedRecordsAreRefused) {
    const std::vector<uint8_t> bytes = Saved(*SampleConversation(9));
    for (size_t length = 0; length < bytes.size(); length += 7) {
        TConversation loaded;
        ClassLib::TMemoryStream in(std::vector<uint8_t>(bytes.begin(), bytes.begin() + length));
        EXPECT_NE(ErrorOf([&] { loaded.LoadFromStream(&in); }), "no error") << length;
    }
    std::vector<uint8_t> huge = bytes;
    const size_t aliasCount = 4 + 12 + 4 + 4 + 4 + 12 + 4 + 2 + 128 + 1;
    huge[aliasCount + 3] = 0x7F;
    TConversation loaded;
    ClassLib::TMemoryStream in(huge);
    EXPECT_EQ(ErrorOf([&] { loaded.LoadFromStream(&in); }), "Invalid data.");
}

TEST(ConversationStream, TheScenarioListLoadsRealConversationsOnlyWithTheLibrary) {
    TScenario scenario;
    scenario.Conversations.Add(SampleConversation(20));
    scenario.Conversations.Add(SampleConversation(4));
    ClassLib::TMemoryStream stream;
    scenario.SaveConversations(&stream);
    const std::vector<uint8_t> bytes = stream.Bytes();

    TScenario bare;
    ClassLib::TMemoryStream in(bytes);
    EXPECT_EQ(ErrorOf([&] { bare.LoadConversations(&in); }),
              "Conversations need the scripting library.");

    TScenario loaded;
    InstallConversations(loaded);
    ClassLib::TMemoryStream again(bytes);
    loaded.LoadConversations(&again);
    ASSERT_EQ(loaded.Conversations.Count(), 2);
    EXPECT_EQ(loaded.Conversations[0]->ID, 4u);
    auto* first = dynamic_cast<TConversation*>(loaded.Conversations[0]);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Scenario, &loaded);
    ClassLib::TMemoryStream out;
    loaded.SaveConversations(&out);
    EXPECT_EQ(out.Bytes(), bytes);
}

TEST(ConversationObject, ClearKeepsOnlyWhatARunLeaves) {
    const std::unique_ptr<TConversation> c = SampleConversation(9);
    c->UnitsPlaced = true;
    c->CurrentCommand = "SET(X,1)";
    c->Running = true;
    c->DeleteRequested = true;
    c->ChosenAnswer = 2;
    c->Clear();
    EXPECT_TRUE(c->Texts.empty());
    EXPECT_TRUE(c->Aliases.empty());
    EXPECT_EQ(c->Locals[31], 0);
    EXPECT_EQ(c->FaceID, 0u);
    EXPECT_EQ(c->TargetPlayers, 0);
    EXPECT_TRUE(c->Active);
    EXPECT_FALSE(c->Running);
    EXPECT_FALSE(c->DeleteRequested);
    EXPECT_EQ(c->ChosenAnswer, 0);
    EXPECT_TRUE(c->UnitsPlaced);
    EXPECT_EQ(c->CurrentCommand, "SET(X,1)");
    EXPECT_EQ(c->ID, 9u);
}

TEST(ConversationObject, TheFaceIsASpriteOfTheGlobalList) {
    TestSupport::TTestGameData data;
    data.Global().CommonLibrary.OpenDirectory(
        std::make_unique<ClassLib::TMemoryStream>(TestSupport::TinySpriteLibrary()));
    const std::unique_ptr<TConversation> c = SampleConversation(9);
    c->SetFace(TestSupport::TTinyWorld::FountainSprite);
    EXPECT_EQ(c->FaceID, TestSupport::TTinyWorld::FountainSprite);
    EXPECT_EQ(ErrorOf([&] { c->SetFace(99); }), "Sprite with given ID not found (99).");
    EXPECT_EQ(c->FaceID, TestSupport::TTinyWorld::FountainSprite)
        << "a refused face keeps the old one";
    c->SetFace(0);
    EXPECT_EQ(c->FaceID, 0u) << "no face";
}

TEST(TalkPages, AnswersAreSplitFromWhatIsSaid) {
    const TTalkPage page =
        SplitTalkPage("<1>Hello\nyou<CHOICE>Yes<ENDCHOICE> <CHOICE><ENDCHOICE><CHOICE>open");
    EXPECT_EQ(page.Said, "<1>Hello\nyou <CHOICE>open");
    EXPECT_EQ(page.Answers, (std::vector<ClassLib::AnsiString>{"Yes", ""}));
}

TEST(TalkSession, AScriptErrorEndsTheTalkKeepsItsEffectsAndTheGameGoesOn) {
    TestSupport::TTinyWorld world;
    TConversation c;
    c.ID = 5;
    c.SetScenario(world.Scenario.get());
    c.Texts = {"<TEXT>one<ENDTEXT><CHOICE>a<ENDCHOICE><CHOICE>b<ENDCHOICE>",
               "<GETCHOSEN><SET(LOCAL1,LOCAL0)><GIVEMONEY(5,0)><BOGUS(1)>", "<TEXT>never<ENDTEXT>"};
    {
        TTalkSession talk(c, nullptr);
        EXPECT_TRUE(c.Running);
        TTalkPage page;
        ASSERT_TRUE(talk.NextPage(page));
        EXPECT_EQ(page.Answers.size(), 2u);
        EXPECT_FALSE(talk.Choose(2));
        EXPECT_FALSE(talk.Choose(-1));
        EXPECT_TRUE(talk.Choose(1));
        EXPECT_FALSE(talk.NextPage(page));
        EXPECT_TRUE(talk.Ended());
        EXPECT_FALSE(c.Running);
        EXPECT_EQ(talk.Error(),
                  "[TConversation]\nUnknown command: BOGUS\nCommand:BOGUS(1) ConversationID=5");
        EXPECT_FALSE(talk.NextPage(page)) << "the rest of the talk is dropped";
    }
    EXPECT_EQ(c.Locals[1], 2) << "the answer reached the next page";
    EXPECT_EQ(world.Player(0).Gold, 1005);
    EXPECT_FALSE(c.Running);
}
