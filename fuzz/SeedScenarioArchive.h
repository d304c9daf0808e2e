// The scenario fuzz targets load their scenarios against the side files of the seed
// level, written as loose files into a folder that stands in for the scenario archive.
#pragma once

#include "engine/core/Archive.h"
#include "game/world/data/DataArchives.h"
#include "tools/ArchiveWriter.h"
#include "tools/levels/LevelBuilder.h"
#include "tools/levels/SeedLevel.h"

#include <filesystem>
#include <memory>
#include <string>

namespace FuzzSupport {

inline void InstallSeedScenarioArchive(const std::string& folderName) {
    Tools::InstallSeedGlobalData();
    const Tools::TBuiltLevel built = Tools::BuildLevel(Tools::SeedLevel());
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / folderName / "scenario";
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : built.Files)
        Tools::SaveLooseFile((folder / name).string(), bytes);
    Data::DataPath = folder.parent_path().string() + "/";
    Data2::ScenarioArchive = std::make_unique<Data::TArchive>("scenario", Data::arFolder);
}

} // namespace FuzzSupport
