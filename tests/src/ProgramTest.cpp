// The program as the README's run command starts it, on SDL's real video and audio
// paths (the dummy drivers here): on the game's own generated data it loads behind its
// loading screen, starts campaign level 1, runs the main loop for the time asked or until
// it is asked to close, and ends cleanly with its settings written; data it cannot use
// end it with a box naming the problem and the folder searched.
#include "tests/support/GlobalDataFixture.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using TRun = TestSupport::TCommandRun;

class Program : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::copy_file(VRN_PROGRAM, FDir.File("varnholt")); }

    // The game's own data, which the build writes beside the program.
    void UseGameData() const {
        std::ofstream(FDir.File("data.ini")) << "[Main]\r\nDataPath=" VRN_GAME_DATA "/\r\n";
    }
    // A folder of data the test makes, beside the program.
    std::string UseOwnData() const {
        std::ofstream(FDir.File("data.ini")) << "[Main]\r\nDataPath=Data\\\r\n";
        std::filesystem::create_directories(Data());
        return Data();
    }

    std::string Data() const { return FDir.File("Data") + "/"; }
    std::string Settings() const { return FDir.File("vrn.ini"); }

    TRun Run(const char* audioDriver = "dummy", const char* arguments = "--seconds 0.3") const {
        return TestSupport::RunCommand(Environment(audioDriver) + " ./varnholt " + arguments +
                                       " 2>&1");
    }

    // Starts the program, waits until the level has started, sends the signal and waits
    // for the program to end; the output ends with "exit N".
    TRun RunUntilSignal(const char* signal) const {
        const std::string log = FDir.File("out.txt");
        const std::string command =
            Environment("dummy") + " ./varnholt > '" + log +
            "' 2>&1 & pid=$!; "
            "until grep -q 'campaign level 1 started' '" +
            log + "' || ! kill -0 $pid 2>/dev/null; do sleep 0.05; done; kill -" + signal +
            " $pid; wait $pid; code=$?; cat '" + log + "'; echo \"exit $code\"";
        return TestSupport::RunCommand(command);
    }

    std::string FileText(const std::string& name) const {
        std::ifstream file(name, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    static bool Says(const TRun& run, const std::string& text) {
        return run.Output.find(text) != std::string::npos;
    }

private:
    std::string Environment(const char* audioDriver) const {
        return "cd '" + FDir.Path() + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=" + audioDriver;
    }

    TestSupport::TempDir FDir;
};

} // namespace

TEST_F(Program, StartsCampaignLevelOneAndRunsUntilTheTimeIsUp) {
    UseGameData();
    for (const char* arguments : {"--seconds 0.3", "--fullscreen --seconds 0.3"}) {
        const TRun run = Run("dummy", arguments);
        EXPECT_EQ(run.ExitCode, 0) << arguments << "\n" << run.Output;
        EXPECT_TRUE(Says(run, "Varnholt: data loaded from ")) << run.Output;
        EXPECT_TRUE(Says(run, "Varnholt: campaign level 1 started")) << run.Output;
        EXPECT_TRUE(Says(run, "Varnholt: window closed after ")) << run.Output;
    }
    // The settings the game started with are in the program's folder for the next start.
    EXPECT_NE(FileText(Settings()).find("[Settings]\r\nMusicVolume=100\r\n"), std::string::npos);

    const TRun wrong = Run("dummy", "--seconds");
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_TRUE(Says(wrong, "usage: varnholt [--fullscreen] [--seconds N]")) << wrong.Output;
}

TEST_F(Program, RunsSilentlyWithoutASoundDevice) {
    UseGameData();
    const TRun run = Run("no-such-driver");
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_TRUE(Says(run, "Varnholt: campaign level 1 started")) << run.Output;
}

TEST_F(Program, CtrlCAndSigtermCloseTheGameCleanlyKeepingItsSettings) {
    UseGameData();
    for (const char* signal : {"TERM", "INT"}) {
        SCOPED_TRACE(signal);
        // What the player chose last time is read, and written back unchanged.
        std::ofstream(Settings(), std::ios::binary)
            << "[Settings]\r\nMusicVolume=40\r\nDifficulty=7\r\n";
        const TRun run = RunUntilSignal(signal);
        EXPECT_TRUE(Says(run, "Varnholt: window closed after ")) << run.Output;
        EXPECT_TRUE(Says(run, "exit 0")) << run.Output;
        const std::string settings = FileText(Settings());
        EXPECT_NE(settings.find("MusicVolume=40\r\n"), std::string::npos) << settings;
        EXPECT_NE(settings.find("Difficulty=2\r\n"), std::string::npos) << settings;
        EXPECT_NE(settings.find("CastInAutoCombat=1\r\n"), std::string::npos) << settings;
    }
}

TEST_F(Program, DataItCannotUseEndItWithABoxNamingTheProblemAndTheFolder) {
    // The box is captioned with the title (on the error output without a display); the
    // terminal is told as well.
    UseOwnData();
    TRun run = Run();
    EXPECT_EQ(run.ExitCode, 1) << run.Output;
    EXPECT_TRUE(Says(run, "Varnholt: Archive 'globals' not found.")) << run.Output;
    EXPECT_TRUE(Says(run, "Varnholt: error: Archive 'globals' not found.")) << run.Output;
    EXPECT_TRUE(Says(run, "Data folder: " + Data() + " (named by ")) << run.Output;

    TestSupport::TGlobalDataFixture fixture;
    std::string units = fixture.Text("globals", "units.txt");
    units.replace(units.find("; unit 1\n1\n"), 11, "; unit 1\nnot-a-number\n");
    fixture.SetText("globals", "units.txt", units);
    fixture.WriteFolders(Data());
    run = Run();
    EXPECT_EQ(run.ExitCode, 1) << run.Output;
    EXPECT_TRUE(Says(run, "Varnholt: globals/units.txt: 'not-a-number' is not a valid integer"))
        << run.Output;
    // Nothing read the settings, so nothing wrote them.
    EXPECT_FALSE(std::filesystem::exists(Settings()));
}
