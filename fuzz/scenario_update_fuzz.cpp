// Stored scenarios of any bytes, loaded and then played: whatever loads walks, turns
// and animates for a while, passes the turn and plays on, all within the map's grids.
// The side files of the seed level stand in the scenario archive.
#include "SeedScenarioArchive.h"
#include "game/ai/AIHandler.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Streams.h"

#include <cstdint>
#include <exception>
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
    FuzzSupport::InstallSeedScenarioArchive("vrn-scenario-update-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GameData::TScenario scenario;
    // The seeds store their computer players' records.
    AIHandler::InstallComputerPlayers(scenario);
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
