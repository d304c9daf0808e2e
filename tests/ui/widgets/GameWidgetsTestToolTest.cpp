// The game widgets' test screen runs headless for the time asked and leaves a picture
// of its last frame.
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
    const std::string tool = VRN_GAMEWIDGETS_TEST;
    return TestSupport::RunCommand("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + tool + "' " +
                                   arguments + " 2>&1");
}

} // namespace

TEST(GameWidgetsTestTool, RunsThroughTheOpeningOfItsWindowsAndSavesItsLastFrame) {
    TestSupport::TempDir dir;
    const std::string picture = dir.File("shot.bmp");
    const TestSupport::TCommandRun run = RunTool("--seconds 1.5 --screenshot '" + picture + "'");
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    std::ifstream file(picture, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(std::string(bytes.data(), 2), "BM");
    int32_t width = 0;
    std::memcpy(&width, bytes.data() + 18, 4);
    EXPECT_EQ(width, 800);

    const TestSupport::TCommandRun wrong = RunTool("--screenshot");
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_NE(wrong.Output.find("usage: gamewidgets-test"), std::string::npos) << wrong.Output;
}
