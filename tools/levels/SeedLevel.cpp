#include "tools/levels/SeedLevel.h"

#include "game/world/data/GlobalData.h"

#include <string>

namespace Tools {

TLevelDescription SeedLevel() {
    const std::string text = R"(
        "seed" "Seed" "Hold the town."
        8 8 5 1 10 3 1
        3  "Red" 0 0 100 1 1   "Blue" 1 1 100 6 6   "Green" 1 2 100 6 1
        2  0 2 1 2 1 2   255 6 2 1 3
        1  1 4 4 "Town" 1 1 0
    )";
    return ReadLevelDescription(std::vector<uint8_t>(text.begin(), text.end()));
}

void InstallSeedGlobalData() {
    if (Data2::GlobalData)
        return;
    Data2::GlobalData = std::make_unique<Data2::TGlobalData>(Data2::TEmptyGlobalData{});
    auto& prototypes = Data2::GlobalData->UnitPrototypes;
    prototypes.SetCount(3);
    for (int i = 0; i < 3; ++i) {
        Data2::TUnitPrototype& prototype = prototypes[i];
        prototype.ID = i + 1;
        prototype.Loaded = 1;
        GameData::TUnitStats& stats = prototype.Stats;
        stats.Level() = 1;
        stats.Base(GameData::HITPOINTS) = int16_t(20 + 10 * i);
        stats.Value(GameData::HITPOINTS) = stats.Base(GameData::HITPOINTS);
        stats.Base(GameData::SIGHT) = 2;
        stats.Value(GameData::SIGHT) = 2;
    }
}

} // namespace Tools
