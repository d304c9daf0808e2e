// The conversation mark-up: what reaches the page, blocks and their nesting,
// notes, errors that end the page with the effects already made, and loops that
// never end.
#include "game/script/Conversation.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"

#include <gtest/gtest.h>

using namespace GameData;
using TestSupport::ErrorOf;

namespace {

std::string Framed(const std::string& message, const std::string& command) {
    return "[TConversation]\n" + message + "\nCommand:" + command + " ConversationID=7";
}

class Markup : public ::testing::Test {
protected:
    Markup() {
        conversation.ID = 7;
        conversation.SetScenario(world.Scenario.get());
        world.Scenario->CurrentPlayerIndex = 0;
    }

    std::string Page(const std::string& text) {
        conversation.Texts = {text};
        return conversation.GetText(0);
    }
    std::string Notes(int player) const {
        std::string all;
        const ClassLib::TStringList& notes = world.Player(player).Texts1;
        for (int i = 0; i < notes.Count(); ++i)
            all += notes[i] + "|";
        return all;
    }

    TestSupport::TTinyWorld world;
    TConversation conversation;
};

} // namespace

TEST_F(Markup, OnlyTextAndAnswerBlocksAndCommandOutputReachThePage) {
    const struct {
        const char* Page;
        const char* Shown;
    } cases[] = {
        {"<TEXT><1>Hello<CRLF>world<ENDTEXT><CHOICE>Yes<ENDCHOICE><CHOICE>No<ENDCHOICE>",
         "<1>Hello\nworld<CHOICE>Yes<ENDCHOICE><CHOICE>No<ENDCHOICE>"},
        {"Intro<TEXT>A<ENDTEXT> outro", "A"},
        {"no tags at all", ""},
        {"<CRLF><text>Lower <showexpression(2+3*4)> case<endtext>", "Lower 20 case"},
        {"<LOOP(3)><TEXT>x<ENDTEXT><ENDLOOP>", "xxx"},
        {"<LOOP(0)><TEXT>x<ENDTEXT><ENDLOOP><LOOP(-2)><TEXT>y<ENDTEXT><ENDLOOP>.", ""},
        {"<LOOP(2)><LOOP(2)><TEXT>y<ENDTEXT><ENDLOOP><TEXT>-<ENDTEXT><ENDLOOP>", "yy-yy-"},
        {"<SET(LOCAL1,3)><WHILE(LOCAL1)><TEXT>x<ENDTEXT><SET(LOCAL1,LOCAL1-1)><ENDWHILE>", "xxx"},
        {"<WHILE(0)><BOGUS><ENDWHILE><TEXT>z<ENDTEXT>", "z"},
        {"<IFEQUAL(1,1)><TEXT>a<ENDTEXT><ELSE><TEXT>b<ENDTEXT><ENDIF>", "a"},
        {"<IFEQUAL(1,2)><TEXT>a<ENDTEXT><ELSE><TEXT>b<ENDTEXT><ENDIF>", "b"},
        {"<IFEQUAL(1,2)><TEXT>a<ENDTEXT><ENDIF><TEXT>c<ENDTEXT>", "c"},
        {"<IFTRUE(1)><IFFALSE(1)><TEXT>a<ENDTEXT><ELSE><TEXT>b<ENDTEXT><ENDIF><ELSE>c<ENDIF>", "b"},
        {"<IFTRUE(1)><LOOP(2)><CHOICE>z<ENDCHOICE><ENDLOOP><ENDIF>",
         "<CHOICE>z<ENDCHOICE><CHOICE>z<ENDCHOICE>"},
        {"<LOOP(2)><IFTRUE(1)><TEXT>i<ENDTEXT><ENDIF><ENDLOOP>", "ii"},
    };
    for (const auto& c : cases) {
        conversation.Locals = {};
        EXPECT_EQ(Page(c.Page), c.Shown) << c.Page;
    }
}

TEST_F(Markup, MisplacedAndMissingTagsEndThePage) {
    const struct {
        const char* Page;
        std::string Error;
    } cases[] = {
        {"<TEXT><TEXT>", "No nested <Text> commands supported!"},
        {"<TEXT><CHOICE>", "No <Choice> command supported in <Text> command!"},
        {"<TEXT><NOTE(0)>", "No <Note()> command supported in <Text> command!"},
        {"<TEXT><IFTRUE(1)>x<ENDIF><ENDTEXT>", "No <If..> commands supported in <Text> command!"},
        {"<TEXT>abc", "Could not find <EndText>!"},
        {"<CHOICE><CHOICE>", "No nested <Choice> commands supported!"},
        {"<CHOICE><TEXT>", "No <Text> command supported in <Choice> command!"},
        {"<CHOICE><NOTE(1)>", "No <Note()> command supported in <Choice> command!"},
        {"<CHOICE><IFTRUE(1)>", "No <If..> commands supported in <Choice> command!"},
        {"<CHOICE>a", "Could not find <EndChoice>!"},
        {"<NOTE><TEXT>", "No <Text> command supported in <Note()> command!"},
        {"<NOTE><CHOICE>", "No <Choice> command supported in <Note()> command!"},
        {"<NOTE><NOTE(0)>", "No nested <Note()> commands supported!"},
        {"<NOTE><IFTRUE(1)>", "No <If..> commands supported in <Note> command!"},
        {"<NOTE>a", "Could not find <EndNote>!"},
        {"<TEXT><NOTE>x<ENDNOTE><ENDTEXT>", Framed("Unknown command: NOTE", "NOTE")},
        {"<TEXT><LOOP(2)>x<ENDLOOP><ENDTEXT>", Framed("Unknown command: LOOP", "LOOP(2)")},
        {"<ENDIF>", Framed("Unknown command: ENDIF", "ENDIF")},
        {"<ELSE>", Framed("Unknown command: ELSE", "ELSE")},
        {"<NOTE(7)>a<ENDNOTE>", Framed("Invalid player index: 7.", "NOTE(7)")},
        {"<IFTRUE(1)><TEXT>a<ENDTEXT>",
         Framed("Could not find <EndIf> in text: <TEXT>a<ENDTEXT>", "IFTRUE(1)")},
        {"<LOOP(2)>x", Framed("Could not find <EndLoop> in text: x", "LOOP(2)")},
        {"<WHILE(1)>x<LOOP(1)><ENDLOOP>",
         Framed("Could not find <EndWhile> in text: x<LOOP(1)><ENDLOOP>", "WHILE(1)")},
        {"<LOOP><ENDLOOP>", Framed("Parameter expected!", "LOOP")},
        {"<LOOP(1,2)><ENDLOOP>", Framed("Parameter(s) 2 NOT expected!", "LOOP(1,2)")},
        {"<WHILE(1/0)><ENDWHILE>", Framed("Division by zero.", "WHILE(1/0)")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { Page(c.Page); }), c.Error) << c.Page;
}

TEST_F(Markup, AnErrorKeepsTheEffectsAndNotesMadeBeforeIt) {
    EXPECT_EQ(ErrorOf([&] { Page("<SET(LOCAL1,5)><NOTE>seen<ENDNOTE><TEXT>a<ENDTEXT><BOGUS>"); }),
              Framed("Unknown command: BOGUS", "BOGUS"));
    EXPECT_EQ(conversation.Locals[1], 5);
    EXPECT_EQ(Notes(0), "seen|");
}

TEST_F(Markup, NotesGoToTheNamedOrCurrentPlayerWithCommandOutput) {
    world.Scenario->CurrentPlayerIndex = 1;
    EXPECT_EQ(Page("<NOTE>a<SHOWEXPRESSION(6*7)>b<ENDNOTE><NOTE(0)>red<ENDNOTE>"
                   "<NOTE(-5)>blue<ENDNOTE><TEXT>t<ENDTEXT>"),
              "t");
    EXPECT_EQ(Notes(1), "a42b|blue|");
    EXPECT_EQ(Notes(0), "red|");
}

TEST_F(Markup, PagesOutsideTheListAreEmptyAndRunNothing) {
    conversation.Texts = {"<SET(LOCAL1,1)><TEXT>a<ENDTEXT>"};
    conversation.UnitsPlaced = true;
    EXPECT_EQ(conversation.GetText(1), "");
    EXPECT_EQ(conversation.GetText(-1), "");
    EXPECT_EQ(conversation.Locals[1], 0);
    EXPECT_FALSE(conversation.UnitsPlaced) << "cleared by every page";
}

TEST_F(Markup, LoopsThatNeverEndStopWithAScriptError) {
    const struct {
        const char* Page;
        const char* Command;
    } cases[] = {
        {"<SET(LOCAL1,1)><WHILE(LOCAL1)><TEXT>x<ENDTEXT><ENDWHILE>", "WHILE(LOCAL1)"},
        {"<LOOP(2147483647)><ENDLOOP>", "LOOP(2147483647)"},
        {"<LOOP(1000)><LOOP(1000)><ENDLOOP><ENDLOOP>", "LOOP(1000)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { Page(c.Page); }),
                  Framed("LOOP or WHILE stopped after 100000 passes!", c.Command))
            << c.Page;
    EXPECT_EQ(Page("<LOOP(100000)><ENDLOOP><TEXT>done<ENDTEXT>"), "done")
        << "the limit itself is allowed";
}

TEST_F(Markup, DeeplyNestedBlocksAreRefusedBeforeTheStackRunsOut) {
    std::string page;
    for (int i = 0; i < 1000; ++i)
        page += "<IFTRUE(1)>";
    for (int i = 0; i < 1000; ++i)
        page += "<ENDIF>";
    EXPECT_EQ(ErrorOf([&] { Page(page); }), Framed("Blocks nested too deeply!", "IFTRUE(1)"));
}
