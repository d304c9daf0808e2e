// The value language shared by checks and conversations: operands, expressions
// strictly left to right, variables and aliases, and the parameter readers.
#include "game/script/Check.h"
#include "game/world/scenario/Scenario.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <climits>

using namespace GameData;
using TestSupport::ErrorOf;

namespace {

// A check with names for locals, as conversations have.
class TCheckWithLocalAliases : public TCheck {
protected:
    int32_t LocalAliasIndex(const ClassLib::AnsiString& name) const override {
        if (name == "COUNTER")
            return 3;
        if (name == "STRAY")
            return 32;
        return -1;
    }
};

class ScriptMachine : public ::testing::Test {
protected:
    ScriptMachine() {
        check.ID = 7;
        check.SetScenario(&scenario);
        check.Locals[1] = 21;
        check.Locals[2] = -1;
        scenario.Globals[5] = 100;
        scenario.SetGlobalAlias("GOLD", 5);
    }

    // Runs the script and gives the error's text, or "no error".
    std::string RunError(const std::string& script) {
        check.Script = script;
        return ErrorOf([&] { check.Run(); });
    }

    TScenario scenario;
    TCheckWithLocalAliases check;
};

struct TExpressionCase {
    const char* Text;
    int32_t Value;
};

} // namespace

TEST_F(ScriptMachine, ExpressionsEvaluateStrictlyLeftToRight) {
    const TExpressionCase cases[] = {
        {"2+3*4", 20},
        {"10-2-3", 5},
        {"-5", -5},
        {"2*-3", -3},
        {" 7 ", 7},
        {"", 0},
        {"7/2", 3},
        {"-7/2", -3},
        {"LOCAL1*2", 42},
        {"GLOBAL5+1", 101},
        {"GOLD - 1", 99},
        {"COUNTER+4", 4},
        {"2147483647+1", INT_MIN},
        {"0-2147483647-1-1", INT_MAX},
        {"65536*65536", 0},
        {"1 + LOCAL2", 0},
        {"007", 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(check.EvaluateExpression(c.Text), c.Value) << c.Text;
}

TEST_F(ScriptMachine, ArithmeticFaultsAreScriptErrors) {
    EXPECT_EQ(RunError("<SET(LOCAL0,5/0)>"),
              "[TCheck]\nDivision by zero.\nCommand:SET(LOCAL0,5/0) CheckID=7");
    EXPECT_EQ(RunError("<SET(LOCAL0,5/LOCAL9)>"),
              "[TCheck]\nDivision by zero.\nCommand:SET(LOCAL0,5/LOCAL9) CheckID=7");
    // The lowest integer divided by -1 has no 32-bit quotient.
    EXPECT_EQ(RunError("<SET(LOCAL0,0-2147483647-1/LOCAL2)>"),
              "[TCheck]\nInteger overflow.\nCommand:SET(LOCAL0,0-2147483647-1/LOCAL2) CheckID=7");
    EXPECT_EQ(RunError("<SET(LOCAL0,2147483648)>"), "'2147483648' is not a valid integer value");
}

TEST_F(ScriptMachine, VariablesResolveToTheirStorage) {
    EXPECT_EQ(&check.FindVariable("LOCAL0"), &check.Locals[0]);
    EXPECT_EQ(&check.FindVariable("LOCAL31"), &check.Locals[31]);
    EXPECT_EQ(&check.FindVariable("GLOBAL1023"), &scenario.Globals[1023]);
    EXPECT_EQ(&check.FindVariable("GOLD"), &scenario.Globals[5]);
    EXPECT_EQ(&check.FindVariable("COUNTER"), &check.Locals[3]);
    // Scripts rebind aliases.
    scenario.SetGlobalAlias("GOLD", 6);
    EXPECT_EQ(&check.FindVariable("GOLD"), &scenario.Globals[6]);
    EXPECT_EQ(scenario.GlobalAliasIndex("gold"), -1);
}

TEST_F(ScriptMachine, BadVariablesAreErrorsNamingTheCommand) {
    const std::string local = "Bad index of local variable!\n"
                              "There is 32 local variables with index starting at 0!";
    const std::string global = "Bad index of global variable!\n"
                               "There is 1024 global variables with index starting at 0!";
    EXPECT_EQ(RunError("<SET(LOCAL32,1)>"),
              "[TCheck]\n" + local + "\nCommand:SET(LOCAL32,1) CheckID=7");
    EXPECT_EQ(RunError("<SET(LOCAL-1,1)>"),
              "[TCheck]\n" + local + "\nCommand:SET(LOCAL-1,1) CheckID=7");
    EXPECT_EQ(RunError("<SET(GLOBAL1024,1)>"),
              "[TCheck]\n" + global + "\nCommand:SET(GLOBAL1024,1) CheckID=7");
    EXPECT_EQ(RunError("<SET(LOCALX,1)>"), "'X' is not a valid integer value");
    // Tags are upper-cased before the look-up, and this message is not framed.
    EXPECT_EQ(RunError("<SET(foo,1)>"), "Unknown variable:FOO!");
    // Aliases bound to indices outside the variables fail when used, not before.
    scenario.SetGlobalAlias("FAR", 1024);
    EXPECT_EQ(RunError("<SET(FAR,1)>"), "[TCheck]\n" + global + "\nCommand:SET(FAR,1) CheckID=7");
    EXPECT_EQ(RunError("<SET(STRAY,1)>"),
              "[TCheck]\n" + local + "\nCommand:SET(STRAY,1) CheckID=7");
}

TEST_F(ScriptMachine, ParameterReadersTakeTheListApart) {
    ClassLib::AnsiString params = " 1+1 , x ,,3";
    EXPECT_EQ(check.NextExpression(params), 2);
    EXPECT_EQ(check.NextParameter(params), "x");
    EXPECT_EQ(check.NextOptionalExpression(params, -9), -9);
    EXPECT_EQ(check.NextOptionalExpression(params, -9), 3);
    EXPECT_EQ(params, "");
    EXPECT_EQ(TScriptMachine::NextOptionalParameter(params), "");
    EXPECT_EQ(ErrorOf([&] { check.NextParameter(params); }),
              "[TCheck]\nParameter expected!\nCommand: CheckID=7");

    EXPECT_EQ(RunError("<IFTRUE(1,2)><ENDIF>"),
              "[TCheck]\nParameter(s) 2 NOT expected!\nCommand:IFTRUE(1,2) CheckID=7");
    EXPECT_EQ(RunError("<IFEQUAL(1)><ENDIF>"),
              "[TCheck]\nParameter expected!\nCommand:IFEQUAL(1) CheckID=7");
}

TEST(CommandParts, NameAndParametersSplitAtTheFirstParentheses) {
    const struct {
        const char* Command;
        const char* Name;
        const char* Params;
    } cases[] = {
        {"SET(LOCAL0,1)", "SET", "LOCAL0,1"},
        {"GETTURN", "GETTURN", ""},
        {"SET(A,(1))", "SET", "A,(1"},
        {"SET)X(1", "SET)X", ""},
        {"SET(1", "SET", ""},
        {"(1)", "", "1"},
    };
    for (const auto& c : cases) {
        const TCommandParts parts = SplitCommand(c.Command);
        EXPECT_EQ(parts.Name, c.Name) << c.Command;
        EXPECT_EQ(parts.Params, c.Params) << c.Command;
    }
}
