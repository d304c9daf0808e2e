// Stored scenarios of any bytes: loading refuses what cannot hold and leaves no
// half-built scenario; a scenario that loads saves to bytes that load back to the
// same bytes. The side files of the seed level stand in the scenario archive.
#include "SeedScenarioArchive.h"
#include "game/ai/AIHandler.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Streams.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <vector>

namespace {

std::vector<uint8_t> Saved(const GameData::TScenario& scenario) {
    ClassLib::TMemoryStream stream;
    scenario.SaveToStream(&stream);
    return stream.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzSupport::InstallSeedScenarioArchive("vrn-scenario-fuzz");
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
        if (scenario.Width != 0 || scenario.Objects.Count() != 0 || scenario.Units.Count() != 0 ||
            scenario.PlayerCount() != 0)
            std::abort();
        return 0;
    }
    const std::vector<uint8_t> bytes = Saved(scenario);
    ClassLib::TMemoryStream again(bytes);
    const auto reloaded = GameData::LoadScenario(again, &scenario);
    if (Saved(*reloaded) != bytes)
        std::abort();
    return 0;
}
