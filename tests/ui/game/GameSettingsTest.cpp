// The player's options in "vrn.ini": what each kind of file reads as, the file the game
// writes, and that a failed write leaves the old file whole.
#include "ui/game/GameSettings.h"

#include "engine/core/Base.h"
#include "platform/classlib/Exception.h"
#include "tests/support/TempDir.h"
#include "ui/game/Game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using GameData::TGameSettings;
using Main::ReadSettingsFile;
using Main::TSettingsRead;

std::string FileText(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TGameSettings With(void (*change)(TGameSettings&)) {
    TGameSettings settings;
    change(settings);
    return settings;
}

struct TSettingsCase {
    const char* What;
    const char* Text; // null: no file at all
    TGameSettings Expected;
    size_t Problems;
};

const TSettingsCase SettingsCases[] = {
    {"no file", nullptr, {}, 1},
    {"an empty file", "", {}, 1},
    {"another section only", "[Main]\r\nMusicVolume=5\r\n", {}, 1},
    {"binary junk", "\x01\xFF\x00\x7F=]]\n[[\n", {}, 1},
    {"every key, stored by the game",
     "[Settings]\r\nMusicVolume=40\r\nSFXVolume=0\r\nSpeechVolume=75\r\nMovementSpeed=3\r\n"
     "Difficulty=0\r\nConfirmEndTurn=0\r\nCastInAutoCombat=0\r\n",
     With([](TGameSettings& s) { s = {40, 0, 75, 3, 0, false, false}; }), 0},
    {"some keys, spelt loosely", "[settings]\nmusicvolume = 12 \n  Difficulty=2\n",
     With([](TGameSettings& s) {
         s.MusicVolume = 12;
         s.Difficulty = 2;
     }),
     0},
    {"numbers out of range",
     "[Settings]\nMusicVolume=250\nSFXVolume=-5\nSpeechVolume=101\nMovementSpeed=7\n"
     "Difficulty=5\n",
     With([](TGameSettings& s) {
         s.SFXVolume = 0;
         s.MovementSpeed = 3; // the last entry of the speed table
         s.Difficulty = 2;
     }),
     5},
    {"a movement speed below the table", "[Settings]\nMovementSpeed=-3\nDifficulty=-1\n",
     With([](TGameSettings& s) {
         s.MovementSpeed = 0;
         s.Difficulty = 0;
     }),
     2},
    {"values that are no numbers",
     "[Settings]\nMusicVolume=loud\nSFXVolume=\nConfirmEndTurn=yes\nCastInAutoCombat=0\n"
     "SpeechVolume=30\n",
     With([](TGameSettings& s) {
         s.SpeechVolume = 30;
         s.CastInAutoCombat = false;
     }),
     3},
};

class SettingsRead : public ::testing::TestWithParam<TSettingsCase> {
protected:
    TestSupport::TempDir Dir;
};

TEST_P(SettingsRead, GivesTheValuesInRangeAndALineForEachProblem) {
    const TSettingsCase& c = GetParam();
    const std::string name = Dir.File("vrn.ini");
    if (c.Text)
        std::ofstream(name, std::ios::binary).write(c.Text, std::streamsize(std::strlen(c.Text)));
    const TSettingsRead read = ReadSettingsFile(name);
    EXPECT_EQ(read.Settings, c.Expected);
    ASSERT_EQ(read.Problems.size(), c.Problems);
    for (const auto& problem : read.Problems)
        EXPECT_NE(problem.find(name), std::string::npos) << problem;
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsRead, ::testing::ValuesIn(SettingsCases),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(Settings, WithoutAFileTheGameHasItsDefaults) {
    const TGameSettings defaults;
    EXPECT_EQ(defaults.MusicVolume, 100);
    EXPECT_EQ(defaults.SFXVolume, 100);
    EXPECT_EQ(defaults.SpeechVolume, 100);
    EXPECT_EQ(defaults.MovementSpeed, 2);
    EXPECT_EQ(defaults.Difficulty, 1);
    EXPECT_TRUE(defaults.ConfirmEndTurn);
    EXPECT_TRUE(defaults.CastInAutoCombat);
}

TEST(Settings, AFolderInPlaceOfTheFileReadsAsTheDefaults) {
    TestSupport::TempDir dir;
    std::filesystem::create_directory(dir.File("vrn.ini"));
    const TSettingsRead read = ReadSettingsFile(dir.File("vrn.ini"));
    EXPECT_EQ(read.Settings, TGameSettings{});
    EXPECT_EQ(read.Problems.size(), 1u);
}

TEST(Settings, AWrittenFileHoldsTheSectionWithTheSevenKeysAndReadsBackAlike) {
    TestSupport::TempDir dir;
    const std::string name = dir.File("vrn.ini");
    const TGameSettings chosen{0, 35, 100, 1, 2, false, true};
    Main::WriteSettingsFile(name, chosen);
    EXPECT_EQ(FileText(name), "[Settings]\r\nMusicVolume=0\r\nSFXVolume=35\r\nSpeechVolume=100\r\n"
                              "MovementSpeed=1\r\nDifficulty=2\r\nConfirmEndTurn=0\r\n"
                              "CastInAutoCombat=1\r\n");
    const TSettingsRead read = ReadSettingsFile(name);
    EXPECT_EQ(read.Settings, chosen);
    EXPECT_TRUE(read.Problems.empty());
    EXPECT_FALSE(std::filesystem::exists(name + ".tmp"));

    // What else a person keeps in the file stays.
    std::ofstream(name, std::ios::app) << "\r\n[Mine]\r\nNote=kept\r\n";
    Main::WriteSettingsFile(name, TGameSettings{});
    EXPECT_NE(FileText(name).find("[Mine]\r\nNote=kept"), std::string::npos);
    EXPECT_EQ(ReadSettingsFile(name).Settings, TGameSettings{});
}

TEST(Settings, AWriteThatFailsLeavesTheOldFileWhole) {
    TestSupport::TempDir dir;
    const std::string name = dir.File("vrn.ini");
    Main::WriteSettingsFile(name, TGameSettings{});
    const std::string old = FileText(name);

    // The temporary file cannot be made.
    std::filesystem::create_directory(name + ".tmp");
    EXPECT_THROW(Main::WriteSettingsFile(name, {1, 2, 3, 0, 0, false, false}),
                 ClassLib::EFCreateError);
    EXPECT_EQ(FileText(name), old);
    EXPECT_TRUE(std::filesystem::is_directory(name + ".tmp"));
}

TEST(Settings, AFolderNobodyMayWriteToKeepsTheOldFile) {
    TestSupport::TempDir dir;
    const std::string name = dir.File("vrn.ini");
    Main::WriteSettingsFile(name, TGameSettings{});
    const std::string old = FileText(name);
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    EXPECT_THROW(Main::WriteSettingsFile(name, {1, 2, 3, 0, 0, false, false}),
                 ClassLib::EStreamError);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(FileText(name), old);
}

// The game object reads and writes the program folder's file and never raises.
class GameSettingsFile : public ::testing::Test {
protected:
    GameSettingsFile() : FOldPath(Base::ProgramPath), FOldSettings(GameData::GameSettings) {
        Base::ProgramPath = Dir.Path();
    }
    ~GameSettingsFile() override {
        Base::ProgramPath = FOldPath;
        GameData::GameSettings = FOldSettings;
    }

    TestSupport::TempDir Dir;
    Main::TGame Game{nullptr};

private:
    ClassLib::AnsiString FOldPath;
    TGameSettings FOldSettings;
};

TEST_F(GameSettingsFile, TheGameReadsWhatItWroteFromTheProgramFolder) {
    EXPECT_EQ(Main::SettingsFileName(), Dir.File("vrn.ini"));
    GameData::GameSettings.MusicVolume = 7;
    Game.ReadSettings(); // no file yet
    EXPECT_EQ(GameData::GameSettings, TGameSettings{});

    GameData::GameSettings.Difficulty = 0;
    GameData::GameSettings.CastInAutoCombat = false;
    Game.WriteSettings();
    GameData::GameSettings = {};
    Game.ReadSettings();
    EXPECT_EQ(GameData::GameSettings.Difficulty, 0);
    EXPECT_FALSE(GameData::GameSettings.CastInAutoCombat);

    // A folder that is gone costs the settings, never the game.
    Base::ProgramPath = Dir.File("gone") + "/";
    EXPECT_NO_THROW(Game.WriteSettings());
}

} // namespace
