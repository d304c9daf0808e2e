// The level builder run as the build runs it: a bad description ends it with the
// description's fault and code 1, nothing else (no report from the exit).
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

TEST(LevelTool, ABadDescriptionEndsItWithTheFaultAlone) {
    const struct {
        const char* description;
        const char* output;
    } cases[] = {
        {"abc \"Title\" \"Briefing\" 5 8 1 2 0 0 0 2\r\n",
         "vrnlevel: Level description: map sizes are multiples of 4.\n"},
        // The game loads no scenario of fewer than three players.
        {"abc \"Title\" \"Briefing\" 8 8 1 2 0 0 0 2 \"A\" 0 0 0 1 1 \"B\" 1 1 0 6 6\r\n",
         "vrnlevel: Level description: player count 2 is not within 3..5.\n"},
        // A city line without its civilians: the text ends early.
        {"abc \"Title\" \"Briefing\" 8 8 1 2 0 0 0 3 \"A\" 0 0 0 1 1 \"B\" 1 1 0 6 6 \"C\" 1 2 0 "
         "6 1 0 1 1 4 4 \"Town\" 0\r\n",
         "vrnlevel: Level description: the text ends before the unit count.\n"},
        // A guard holds the cell of a computer player's group: none stands at (2, 2).
        {"abc \"Title\" \"Briefing\" 8 8 1 2 0 0 0 3 \"A\" 0 0 0 1 1 \"B\" 1 1 0 6 6 \"C\" 1 2 0 "
         "6 1 1 1 1 1 1 1 0 1 \"WATCH\" 5 2 2 1\r\n",
         "vrnlevel: Level description: a guard's cell holds no group of a computer player.\n"},
    };
    TestSupport::TempDir dir;
    for (const auto& c : cases) {
        const std::string description = dir.File("bad.txt");
        std::ofstream(description) << c.description;
        const std::string tool = VRN_LEVEL_TOOL;
        const TestSupport::TCommandRun run =
            TestSupport::RunCommand("'" + tool + "' '" VRN_PROGRAM_DIR "' '" + dir.File("out") +
                                    "' '" + description + "' 2>&1");
        EXPECT_EQ(run.ExitCode, 1) << c.output;
        EXPECT_EQ(run.Output, c.output);
    }
}
