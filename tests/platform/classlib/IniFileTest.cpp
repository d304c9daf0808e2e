#include "platform/classlib/IniFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace ClassLib;

TEST(IniFile, ReadsKeysIgnoringCaseWithDefaults) {
    TestSupport::TempDir dir;
    std::ofstream(dir.File("data.ini")) << "; comment\r\n[Main]\r\n  DataPath = \"Data\\\" \r\n"
                                        << "Volume=80\r\nBroken=8x\r\n[Other]\nKey=1\n";
    const TIniFile ini(dir.File("data.ini"));
    EXPECT_EQ(ini.ReadString("main", "datapath", "?"), "Data\\");
    EXPECT_EQ(ini.ReadInteger("MAIN", "Volume", 0), 80);
    EXPECT_EQ(ini.ReadInteger("Main", "Broken", 5), 5);
    EXPECT_EQ(ini.ReadString("Main", "Missing", "dflt"), "dflt");
    EXPECT_TRUE(ini.ReadBool("other", "key", false));
    EXPECT_TRUE(ini.SectionExists("OTHER"));
}

TEST(IniFile, WritesAreSavedAtOnceAndReadBack) {
    TestSupport::TempDir dir;
    {
        TIniFile ini(dir.File("vrn.ini"));
        ini.WriteInteger("Settings", "MusicVolume", 70);
        ini.WriteBool("Settings", "ConfirmEndTurn", true);
        ini.WriteInteger("settings", "musicvolume", 40);
    }
    const TIniFile again(dir.File("vrn.ini"));
    EXPECT_EQ(again.ReadInteger("Settings", "MusicVolume", 0), 40);
    EXPECT_TRUE(again.ReadBool("Settings", "ConfirmEndTurn", false));
}
