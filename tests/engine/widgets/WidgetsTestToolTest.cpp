// The widgets' test screen runs headless for the time asked and leaves a picture of
// its last frame.
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

TestSupport::TCommandRun RunTool(const std::string& arguments) {
    const std::string tool = VRN_WIDGETS_TEST;
    return TestSupport::RunCommand("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + tool + "' " +
                                   arguments + " 2>&1");
}

int32_t Int32At(const std::vector<char>& bytes, size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

} // namespace

TEST(WidgetsTestTool, RunsForTheTimeAskedAndSavesItsLastFrame) {
    TestSupport::TempDir dir;
    for (const char* mode : {"", "--fullscreen "}) {
        const std::string picture = dir.File(std::string(mode).empty() ? "window.bmp" : "full.bmp");
        const TestSupport::TCommandRun run =
            RunTool(std::string(mode) + "--seconds 0.2 --screenshot '" + picture + "'");
        ASSERT_EQ(run.ExitCode, 0) << mode << run.Output;
        std::ifstream file(picture, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
        ASSERT_GE(bytes.size(), 54u) << mode;
        EXPECT_EQ(std::string(bytes.data(), 2), "BM");
        EXPECT_EQ(Int32At(bytes, 18), 800);
        EXPECT_EQ(std::abs(Int32At(bytes, 22)), 600);
    }
    const TestSupport::TCommandRun wrong = RunTool("--seconds");
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_NE(wrong.Output.find("usage: widgets-test"), std::string::npos) << wrong.Output;
}
