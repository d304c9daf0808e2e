// Running check scripts: tags among free text, IF blocks with their ELSE at any
// depth, results, unknown commands, script lines and the stored record.
#include "game/script/Check.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Streams.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

using namespace GameData;
using TestSupport::ErrorOf;

namespace {

class CheckScript : public ::testing::Test {
protected:
    CheckScript() {
        check.ID = 3;
        check.SetScenario(&scenario);
    }

    int32_t Run(const std::string& script) {
        check.Script = script;
        return check.Run();
    }

    TScenario scenario;
    TCheck check;
};

} // namespace

TEST_F(CheckScript, IfBlocksTakeTheirOwnElseAtEveryDepth) {
    const std::string script = "<IFEQUAL(LOCAL1,2)>"
                               "  <IFTRUE(LOCAL2)><SET(LOCAL9,1)><ELSE><SET(LOCAL9,2)><ENDIF>"
                               "<ELSE>"
                               "  <IFFALSE(LOCAL2)><SET(LOCAL9,3)><ENDIF>"
                               "  <SET(LOCAL8,LOCAL8+1)>"
                               "<ENDIF><SET(LOCAL7,LOCAL7+1)>";
    const struct {
        int32_t Local1, Local2, Local9, Local8;
    } cases[] = {{2, 1, 1, 0}, {2, 0, 2, 0}, {5, 0, 3, 1}, {5, 1, 0, 1}};
    for (const auto& c : cases) {
        check.Clear();
        check.Script = script;
        check.Locals[1] = c.Local1;
        check.Locals[2] = c.Local2;
        check.Run();
        EXPECT_EQ(check.Locals[9], c.Local9) << c.Local1 << "," << c.Local2;
        EXPECT_EQ(check.Locals[8], c.Local8) << c.Local1 << "," << c.Local2;
        EXPECT_EQ(check.Locals[7], 1) << "the text after the block always runs";
    }
}

TEST_F(CheckScript, ConditionsCompareSignedValues) {
    const struct {
        const char* Condition;
        bool Holds;
    } cases[] = {
        {"IFEQUAL(2,1+1)", true},    {"IFEQUAL(2,3)", false},   {"IFGREATER(0,-1)", true},
        {"IFGREATER(-1,0)", false},  {"IFGREATER(1,1)", false}, {"IFUNEQUAL(1,2)", true},
        {"IFUNEQUAL(4,2*2)", false}, {"IFTRUE(-3)", true},      {"IFTRUE(0)", false},
        {"IFFALSE(0)", true},        {"IFFALSE(1)", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            Run(std::string("<") + c.Condition + "><SETRESULT(1)><ELSE><SETRESULT(-1)><ENDIF>"),
            c.Holds ? 1 : -1)
            << c.Condition;
}

TEST_F(CheckScript, ResultsLocalsAndTextOutsideTags) {
    // The last SETRESULT wins; text outside tags is ignored; tags ignore letter case.
    EXPECT_EQ(Run("note: <SETRESULT(1)> then <setresult(-1)> done"), -1);
    EXPECT_EQ(Run("<SET(LOCAL0,2+3*4)>"), 0) << "a script that sets no result";
    EXPECT_EQ(check.Locals[0], 20);
    // Locals live on between runs.
    EXPECT_EQ(Run("<SET(LOCAL0,LOCAL0+1)><SETRESULT(LOCAL0)>"), 21);
    EXPECT_EQ(Run("<CRLF><SETRESULT(4)><CRLF>"), 4);
    // A tag without ">" takes the rest of the script, and its last character is
    // dropped as if it were the bracket.
    EXPECT_EQ(Run("<SETRESULT(5)><SETRESULT(6))"), 6);
    EXPECT_EQ(ErrorOf([&] { Run("<SETRESULT(6)"); }),
              "[TCheck]\nParameter expected!\nCommand:SETRESULT(6 CheckID=3");
    EXPECT_EQ(Run(""), 0);
}

TEST_F(CheckScript, ErrorsEndTheRunAndKeepEarlierEffects) {
    check.Script = "<SET(LOCAL1,9)><FROB(1)><SET(LOCAL2,9)>";
    EXPECT_EQ(ErrorOf([&] { check.Run(); }),
              "[TCheck]\nUnknown command: FROB.\nCommand:FROB(1) CheckID=3");
    EXPECT_EQ(check.Locals[1], 9);
    EXPECT_EQ(check.Locals[2], 0);

    // A block without its end fails before its condition runs.
    check.Script = "<IFTRUE(LOCAL1/0)><SET(LOCAL3,1)>";
    EXPECT_EQ(ErrorOf([&] { check.Run(); }),
              "[TCheck]\nCould not find <EndIf>!\nCommand:IFTRUE(LOCAL1/0) CheckID=3");
    check.Script = "<ELSE>";
    EXPECT_EQ(ErrorOf([&] { check.Run(); }),
              "[TCheck]\nUnknown command: ELSE.\nCommand:ELSE CheckID=3");
}

TEST_F(CheckScript, DeepNestingIsAnErrorNotACrash) {
    std::string script;
    for (int i = 0; i < 300; ++i)
        script += "<IFTRUE(1)>";
    script += "<SETRESULT(1)>";
    for (int i = 0; i < 300; ++i)
        script += "<ENDIF>";
    check.Script = script;
    EXPECT_EQ(ErrorOf([&] { check.Run(); }),
              "[TCheck]\nIF blocks nested too deeply!\nCommand:IFTRUE(1) CheckID=3");
}

TEST(CheckLines, LinesJoinWithCrlfTags) {
    TCheck check;
    check.SetScriptLines({"", "A", "", "B"});
    EXPECT_EQ(check.Script, "A<CRLF><CRLF>B") << "empty lines are lost only at the start";
    EXPECT_EQ(check.GetScriptLines(), (std::vector<ClassLib::AnsiString>{"A", "", "B"}));
    check.Script = "A<CRLF>";
    EXPECT_EQ(check.GetScriptLines(), std::vector<ClassLib::AnsiString>{"A"});
    check.Script = "";
    EXPECT_TRUE(check.GetScriptLines().empty());
}

TEST(CheckRecord, LocalsAndScriptRoundTrip) {
    TCheck check;
    check.ID = 5;
    check.Locals[0] = -1;
    check.Locals[31] = 77;
    check.Script = "<SETRESULT(1)>";
    ClassLib::TMemoryStream stream;
    check.SaveToStream(&stream);
    ASSERT_EQ(stream.GetSize(), 128 + 4 + 14);

    TCheck loaded;
    stream.SetPosition(0);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(loaded.Locals, check.Locals);
    EXPECT_EQ(loaded.Script, check.Script);
    EXPECT_EQ(loaded.ID, 0u) << "the record holds no identifier";
}
