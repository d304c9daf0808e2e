// Stored quest lists of any bytes: loading refuses what cannot hold; a list that
// loads saves bytes that load back to the same bytes, and its tasks update.
#include "fuzz/ScriptWorld.h"
#include "platform/classlib/Exception.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<uint8_t> SavedQuests(const GameData::TScenario& scenario) {
    ClassLib::TMemoryStream stream;
    scenario.SaveQuestObjectives(&stream);
    return stream.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzSupport::TScriptWorld world;
    GameData::TScenario& scenario = *world.world.Scenario;
    try {
        ClassLib::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
        scenario.LoadQuestObjectives(&stream);
    } catch (const ClassLib::Exception&) {
        scenario.Quests.Clear();
        return 0;
    }
    const std::vector<uint8_t> saved = SavedQuests(scenario);
    ClassLib::TMemoryStream again(saved);
    scenario.LoadQuestObjectives(&again);
    if (SavedQuests(scenario) != saved)
        std::abort();
    for (int player = -1; player < 3; ++player) {
        scenario.CurrentPlayerIndex = int16_t(player);
        try {
            scenario.UpdateQuests();
        } catch (const ClassLib::Exception&) {
        }
    }
    scenario.Quests.Clear();
    return 0;
}
