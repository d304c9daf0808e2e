// The content the build generates beside the game, found as the game finds it: the
// program's folder holds data.ini, which leads to the four archives.
#pragma once

#include "engine/core/Base.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"

#include <gtest/gtest.h>

namespace TestSupport {

class GeneratedContent : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedProgramPath = Base::ProgramPath;
        FSavedDataPath = Data::DataPath;
        Base::ProgramPath = VRN_PROGRAM_DIR "/";
        Data::ReadDataPath();
    }
    void TearDown() override {
        Data2::FreeGlobalData();
        Data2::FreeMainData();
        Data2::CloseDataArchives();
        Data2::SavePath = "";
        Base::ProgramPath = FSavedProgramPath;
        Data::DataPath = FSavedDataPath;
    }

private:
    ClassLib::AnsiString FSavedProgramPath, FSavedDataPath;
};

} // namespace TestSupport
