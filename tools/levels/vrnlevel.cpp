// Builds campaign levels from their descriptions into a folder that stands in for
// the "scenario" archive. The unit prototypes come from the installed global data.
//
//   vrnlevel <data path> <output folder> data/levels/level1.txt ...
#include "engine/core/Archive.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "tools/ArchiveWriter.h"
#include "tools/levels/LevelBuilder.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace {

// The data go before the program's statics on every way out: their sprites leave the
// surface registry, which must still be there.
struct TLoadedData {
    TLoadedData() {
        try {
            Data2::OpenDataArchives();
            Data2::CreateMainData();
            Data2::CreateGlobalData();
        } catch (...) {
            Free();
            throw;
        }
    }
    ~TLoadedData() { Free(); }
    static void Free() {
        Data2::FreeGlobalData();
        Data2::FreeMainData();
        Data2::CloseDataArchives();
    }
    TLoadedData(const TLoadedData&) = delete;
    TLoadedData& operator=(const TLoadedData&) = delete;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: vrnlevel <data path> <output folder> <description>...\n");
        return 2;
    }
    try {
        std::string dataPath = argv[1];
        if (!dataPath.empty() && dataPath.back() != '/')
            dataPath += '/';
        Data::DataPath = dataPath;
        const TLoadedData data;
        const std::filesystem::path output = argv[2];
        std::filesystem::create_directories(output);
        for (int i = 3; i < argc; ++i) {
            const Tools::TBuiltLevel built =
                Tools::BuildLevel(Tools::ReadLevelDescriptionFile(argv[i]));
            // Scrambled as the game reads a folder standing in for an archive.
            for (const auto& [name, bytes] : built.Files)
                Tools::SaveLooseFile((output / name).string(), bytes);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vrnlevel: %s\n", error.what());
        return 1;
    }
    return 0;
}
