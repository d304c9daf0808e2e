// The program as the README's run command starts it, on SDL's real video and
// audio paths (the dummy drivers here): its window runs the main loop for the
// time asked, it plays the first sound of its data, and runs on silently when no
// audio device opens.
#include "engine/sound/AudioList.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tone.h"
#include "tools/ArchiveWriter.h"
#include "tools/AudioWriters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Tools::TBytes;

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

    // A fifth of a second of tone.
    static TBytes Wave() {
        const std::vector<int16_t> tone = TestSupport::MakeTone(8820, 2);
        return Tools::EncodeWAV(tone.data(), 8820, {44100, 16, 2, 4});
    }
    static TBytes Library() {
        const std::vector<int16_t> tone = TestSupport::MakeTone(4410, 1, 22050);
        Tools::TAudioListWriter writer;
        writer.Add(9, Audio::alAX, Tools::EncodeAX(tone.data(), 4410, {22050, 16, 1, 2}, 0));
        writer.Add(5, Audio::alAX, Tools::EncodeAX(tone.data(), 4410, {22050, 16, 1, 2}, 0));
        return writer.Build();
    }

private:
    TestSupport::TempDir FDir;
};

} // namespace

TEST_F(Program, PlaysTheFirstSoundLibraryOfAPackedArchive) {
    Tools::TArchiveWriter writer;
    writer.AddFile("Effects.audl", Library());
    writer.AddFile("Alpha.txt", {'n', 'o', 't', 'e'});
    writer.AddFile("zz.wav", Wave());
    writer.SaveToFile(Data() + "sounds.dat");
    const TRun run = Run();
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_NE(run.Output.find("playing Effects.audl, sound 5\n"), std::string::npos) << run.Output;
}

TEST_F(Program, PlaysAWaveFromALooseFolder) {
    std::filesystem::create_directories(Data() + "sounds");
    Tools::SaveLooseFile(Data() + "sounds/Beep.wav", Wave());
    const TRun run = Run();
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_NE(run.Output.find("playing Beep.wav\n"), std::string::npos) << run.Output;
}

TEST_F(Program, StartsSoundWithoutDataAndRunsSilentlyWithoutADevice) {
    TRun run = Run();
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_NE(run.Output.find("sound started; the data hold no sound\n"), std::string::npos)
        << run.Output;

    std::filesystem::create_directories(Data() + "sounds");
    Tools::SaveLooseFile(Data() + "sounds/Beep.wav", Wave());
    run = Run("no-such-driver");
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_NE(run.Output.find("no sound device, running silently\n"), std::string::npos)
        << run.Output;
}

TEST_F(Program, RunsTheMainLoopInItsWindowUntilTheTimeIsUp) {
    for (const char* arguments : {"--seconds 0.3", "--fullscreen --seconds 0.3"}) {
        const TRun run = Run("dummy", arguments);
        EXPECT_EQ(run.ExitCode, 0) << run.Output;
        // A hundred updates a second of game time.
        EXPECT_NE(run.Output.find("window closed after 30 updates\n"), std::string::npos)
            << arguments << "\n"
            << run.Output;
    }
    const TRun wrong = Run("dummy", "--seconds");
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_NE(wrong.Output.find("usage: varnholt [--fullscreen] [--seconds N]"), std::string::npos)
        << wrong.Output;
}

TEST_F(Program, ADamagedSoundIsReportedByName) {
    std::filesystem::create_directories(Data() + "sounds");
    TBytes damaged = Wave();
    damaged.resize(30);
    Tools::SaveLooseFile(Data() + "sounds/Broken.wav", damaged);
    const TRun run = Run();
    EXPECT_EQ(run.ExitCode, 1) << run.Output;
    // The error box, captioned with the title (on the error output without a display).
    EXPECT_NE(run.Output.find("Varnholt: Broken.wav: Invalid WAV file."), std::string::npos)
        << run.Output;
}
