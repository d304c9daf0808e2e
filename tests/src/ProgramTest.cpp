// The program as the README's run command starts it, on SDL's real video and audio
// paths (the dummy drivers here) and on data made by the writers: it loads the data
// behind its loading screen, runs the main loop for the time asked and ends cleanly;
// data it cannot use end it with a box naming the problem.
#include "tests/support/GlobalDataFixture.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using TRun = TestSupport::TCommandRun;

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(VRN_PROGRAM, FDir.File("varnholt"));
        std::ofstream(FDir.File("data.ini")) << "[Main]\r\nDataPath=Data\\\r\n";
        std::filesystem::create_directories(Data());
    }

    std::string Data() const { return FDir.File("Data") + "/"; }

    TRun Run(const char* audioDriver = "dummy", const char* arguments = "--seconds 0.3") const {
        const std::string command = "cd '" + FDir.Path() +
                                    "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=" + audioDriver +
                                    " ./varnholt " + arguments + " 2>&1";
        return TestSupport::RunCommand(command);
    }

    static bool Says(const TRun& run, const std::string& text) {
        return run.Output.find(text) != std::string::npos;
    }

private:
    TestSupport::TempDir FDir;
};

} // namespace

TEST_F(Program, LoadsItsDataAndRunsUntilTheTimeIsUp) {
    TestSupport::TGlobalDataFixture().WritePacked(Data());
    for (const char* arguments : {"--seconds 0.3", "--fullscreen --seconds 0.3"}) {
        const TRun run = Run("dummy", arguments);
        EXPECT_EQ(run.ExitCode, 0) << arguments << "\n" << run.Output;
        EXPECT_TRUE(Says(run, "Varnholt: data loaded from ")) << run.Output;
        EXPECT_TRUE(Says(run, "Varnholt: window closed after ")) << run.Output;
    }
    EXPECT_TRUE(std::filesystem::is_directory(Data() + "Save"));

    const TRun wrong = Run("dummy", "--seconds");
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_TRUE(Says(wrong, "usage: varnholt [--fullscreen] [--seconds N]")) << wrong.Output;
}

TEST_F(Program, RunsSilentlyWithoutASoundDevice) {
    TestSupport::TGlobalDataFixture().WriteFolders(Data());
    const TRun run = Run("no-such-driver");
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_TRUE(Says(run, "Varnholt: data loaded from ")) << run.Output;
}

TEST_F(Program, DataItCannotUseEndItWithABoxNamingTheProblem) {
    // The box is captioned with the title (on the error output without a display).
    TRun run = Run();
    EXPECT_EQ(run.ExitCode, 1) << run.Output;
    EXPECT_TRUE(Says(run, "Varnholt: Archive 'globals' not found.")) << run.Output;

    TestSupport::TGlobalDataFixture fixture;
    std::string units = fixture.Text("globals", "units.txt");
    units.replace(units.find("; unit 1\n1\n"), 11, "; unit 1\nnot-a-number\n");
    fixture.SetText("globals", "units.txt", units);
    fixture.WriteFolders(Data());
    run = Run();
    EXPECT_EQ(run.ExitCode, 1) << run.Output;
    EXPECT_TRUE(Says(run, "Varnholt: globals/units.txt: 'not-a-number' is not a valid integer"))
        << run.Output;
}
