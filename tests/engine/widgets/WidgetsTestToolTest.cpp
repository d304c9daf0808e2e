// The widgets' test screen runs headless for the time asked and leaves a picture of
// its last frame.
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct TRun {
    int ExitCode = -1;
    std::string Output;
};

TRun RunTool(const std::string& arguments) {
    const std::string command =
        "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" VRN_WIDGETS_TEST "' " + arguments + " 2>&1";
    TRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char chunk[256];
    while (const size_t got = std::fread(chunk, 1, sizeof chunk, pipe))
        run.Output.append(chunk, got);
    const int status = ::pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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
        const std::string picture = dir.File("shot.bmp");
        const TRun run =
            RunTool(std::string(mode) + "--seconds 0.2 --screenshot '" + picture + "'");
        ASSERT_EQ(run.ExitCode, 0) << mode << run.Output;
        std::ifstream file(picture, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
        ASSERT_GE(bytes.size(), 54u) << mode;
        EXPECT_EQ(std::string(bytes.data(), 2), "BM");
        EXPECT_EQ(Int32At(bytes, 18), 800);
        EXPECT_EQ(std::abs(Int32At(bytes, 22)), 600);
    }
    const TRun wrong = RunTool("--seconds");
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_NE(wrong.Output.find("usage: widgets-test"), std::string::npos) << wrong.Output;
}
