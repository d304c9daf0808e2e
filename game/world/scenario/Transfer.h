// The surviving units of the human player between two scenarios of a campaign:
// those that may be chosen and those chosen for the next scenario.
#pragma once

#include "engine/core/DataList.h"
#include "game/world/units/Unit.h"

#include <cstdint>

namespace GameData {

class TScenario;

#pragma pack(push, 1)
struct TTransferFlags {
    uint8_t Required;
    uint8_t FromScenario;
};
#pragma pack(pop)
static_assert(sizeof(TTransferFlags) == 2);

class TTransfer : public Data::TDataObject {
public:
    // After the identifier: Available, Transferred, then a "list" chunk of one
    // TTransferFlags per unit of Available and then of Transferred, so that a
    // required unit stays required after a saved game is loaded. A flag above 1 or a
    // record count other than the units' is "Invalid data.".
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    void MoveToTransferred(TUnit* unit);
    void MoveToAvailable(TUnit* unit);
    // The player's living units leave the scenario for the front of Available with
    // their pools refilled, effects gone and both flags clear; dead ones stay.
    void TakePlayerUnits(TScenario& scenario, int playerIndex);
    // Loose units named in the scenario's waiting list, handed over by the scenario.
    void TakeWaitingUnits(TScenario& scenario);
    // Units the scenario requires go to the front of Transferred, marked required.
    void PreselectRequiredUnits(const TScenario& scenario);
    // The chosen units join the player's army on its start area, each on a cell of its
    // own (the nearest free one when the area is full); the others are left behind.
    void PlaceTransferredUnits(TScenario& scenario, int playerIndex);

    Data::TDataList<TUnit> Available{false};
    Data::TDataList<TUnit> Transferred{false};
};

} // namespace GameData
