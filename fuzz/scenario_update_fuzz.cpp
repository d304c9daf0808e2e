// Stored scenarios of any bytes, loaded and then played: whatever loads walks, turns
// and animates for a while, passes the turn and plays on, all within the map's grids.
// The side files of the seed level stand in the scenario archive.
#include "engine/core/Archive.h"
#include "game/world/data/DataArchives.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Streams.h"
#include "tools/ArchiveWriter.h"
#include "tools/levels/LevelBuilder.h"
#include "tools/levels/SeedLevel.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <vector>

namespace {

constexpr int UpdatesPerTurn = 120;

void Play(GameData::TScenario& scenario, int updates) {
    for (int i = 0; i < updates; ++i) {
        scenario.Update();
        // Reports are taken as the game object takes them.
        if (scenario.CurrentPlayer)
            while (scenario.CurrentPlayer->TakeAction().Code != GameData::acNone) {
            }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Tools::InstallSeedGlobalData();
    const Tools::TBuiltLevel built = Tools::BuildLevel(Tools::SeedLevel());
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "vrn-scenario-update-fuzz" / "scenario";
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : built.Files)
        Tools::SaveLooseFile((folder / name).string(), bytes);
    Data::DataPath = folder.parent_path().string() + "/";
    Data2::ScenarioArchive = std::make_unique<Data::TArchive>("scenario", Data::arFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GameData::TScenario scenario;
    try {
        ClassLib::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
        scenario.LoadFromStream(&stream);
    } catch (const std::exception&) {
        return 0;
    }
    // Every side played from this machine: no computer player's thread runs.
    for (GameData::TPlayer* player : scenario.Players)
        player->Type = GameData::ptLocal;
    try {
        Play(scenario, UpdatesPerTurn);
        scenario.PassTurn();
        Play(scenario, UpdatesPerTurn);
    } catch (const std::exception&) {
        // A rule may refuse what a crafted game asks of it; it must not crash.
    }
    return 0;
}
