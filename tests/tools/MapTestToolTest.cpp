// The map tool runs headless on the generated content, casting a map spell, and
// leaves a picture of its last frame.
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

TestSupport::TCommandRun RunTool(const std::string& arguments) {
    const std::string tool = VRN_MAP_TEST;
    return TestSupport::RunCommand("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + tool + "' " +
                                   arguments + " 2>&1");
}

} // namespace

TEST(MapTestTool, CastsOnTheGeneratedContentAndSavesItsLastFrame) {
    TestSupport::TempDir dir;
    const std::string picture = dir.File("cast.bmp");
    const TestSupport::TCommandRun run = RunTool("--data '" VRN_PROGRAM_DIR "' --cast 60 --seconds "
                                                 "0.5 --screenshot '" +
                                                 picture + "'");
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    // The cast goes through: nothing is reported.
    EXPECT_EQ(run.Output.find("map-test:"), std::string::npos) << run.Output;
    std::ifstream file(picture, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_GE(bytes.size(), 54u);
    int32_t width = 0;
    std::memcpy(&width, bytes.data() + 18, 4);
    EXPECT_EQ(width, 800);

    const TestSupport::TCommandRun wrong = RunTool("--cast 0");
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_NE(wrong.Output.find("usage: map-test"), std::string::npos) << wrong.Output;
}
