// The level builder run as the build runs it: a bad description ends it with the
// description's fault and code 1, nothing else (no report from the exit).
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

TEST(LevelTool, ABadDescriptionEndsItWithTheFaultAlone) {
    TestSupport::TempDir dir;
    const std::string description = dir.File("bad.txt");
    std::ofstream(description) << "abc \"Title\" \"Briefing\" 5 8 1 2 0 0 0 2\r\n";
    const std::string tool = VRN_LEVEL_TOOL;
    const TestSupport::TCommandRun run =
        TestSupport::RunCommand("'" + tool + "' '" VRN_PROGRAM_DIR "' '" + dir.File("out") + "' '" +
                                description + "' 2>&1");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Output, "vrnlevel: Level description: map sizes are multiples of 4.\n");
}
