// Stored groups and cities of any bytes, in a scenario that knows units 1000 to 1003:
// loading refuses what cannot hold; what loads stores itself byte for byte again and
// keeps every unit in one place. The first byte chooses a group (even) or a city.
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <vector>

namespace {

using namespace GameData;

void InstallGlobalData() {
    if (Data2::GlobalData)
        return;
    Data2::GlobalData = std::make_unique<Data2::TGlobalData>(Data2::TEmptyGlobalData{});
    Data2::GlobalData->UnitPrototypes.SetCount(1);
    Data2::GlobalData->UnitPrototypes[0].ID = 1;
}

std::unique_ptr<TScenario> MakeScenario() {
    auto scenario = std::make_unique<TScenario>();
    scenario->SetMapSize(12, 12);
    for (int i = 0; i < MinPlayers; ++i)
        scenario->AddPlayer(std::make_unique<TPlayer>(scenario.get()));
    for (uint32_t id = 1000; id < 1004; ++id) {
        auto unit = std::make_unique<TUnit>();
        unit->InitFromPrototype(Data2::GlobalData->UnitPrototypes[0]);
        unit->ID = id;
        scenario->RegisterUnit(std::move(unit), false);
    }
    return scenario;
}

std::vector<uint8_t> Saved(const TMapObject& object) {
    ClassLib::TMemoryStream stream;
    object.SaveToStream(&stream);
    return stream.Bytes();
}

template <typename Object>
void RoundTrip(TScenario& scenario, const uint8_t* data, size_t size) {
    Object object(&scenario);
    try {
        ClassLib::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
        object.LoadFromStream(&stream);
    } catch (const std::exception&) {
        return;
    }
    const std::vector<uint8_t> bytes = Saved(object);
    object.Clear(); // the units are free again
    Object again(&scenario);
    ClassLib::TMemoryStream stream(bytes);
    again.LoadFromStream(&stream);
    if (Saved(again) != bytes)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    InstallGlobalData();
    const std::unique_ptr<TScenario> scenario = MakeScenario();
    if (data[0] % 2 == 0)
        RoundTrip<TGroup>(*scenario, data + 1, size - 1);
    else
        RoundTrip<TCity>(*scenario, data + 1, size - 1);
    return 0;
}
