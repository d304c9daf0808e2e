#include "game/world/scenario/Transfer.h"

#include "game/world/data/GlobalData.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

namespace {

void MoveUnit(Data::TDataList<TUnit>& from, Data::TDataList<TUnit>& to, TUnit* unit, bool front) {
    const int index = from.List().IndexOf(unit);
    if (index < 0)
        throw ClassLib::Exception("The unit is not in the transfer list.");
    from.List().Extract(index);
    if (front)
        to.List().Insert(0, unit);
    else
        to.List().Add(unit);
}

// Pools full and morale at the default, as a fresh start in the next scenario.
void Refresh(TUnit& unit) {
    unit.ClearEffects();
    unit.RecalculateStats(false);
    TUnitStats levelled = unit.Own;
    levelled.Level() = unit.Effective.Level();
    unit.Own.Value(HITPOINTS) = levelled.AtLevel(HITPOINTS);
    unit.Own.Value(MANA) = levelled.AtLevel(MANA);
    if (Data2::GlobalData)
        unit.Own.Morale() =
            static_cast<int16_t>(Data2::GlobalData->GameConstants[Data2::gcDefaultMorale]);
    unit.RecalculateStats(false);
}

} // namespace

void TTransfer::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Available.LoadFromStream(stream);
    Transferred.LoadFromStream(stream);
    Data::ReadTag(*stream, "list");
    const int32_t count = Data::ReadCount(*stream, sizeof(TTransferFlags));
    Data::CheckData(count == Available.Count() + Transferred.Count());
    for (auto* list : {&Available, &Transferred})
        for (TUnit* unit : *list) {
            TTransferFlags flags{};
            stream->ReadBuffer(&flags, sizeof(flags));
            Data::CheckData(flags.Required <= 1 && flags.FromScenario <= 1);
            unit->Required = flags.Required;
            unit->FromScenario = flags.FromScenario;
        }
}

void TTransfer::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    Available.SaveToStream(stream);
    Transferred.SaveToStream(stream);
    Data::WriteTag(*stream, "list");
    stream->WriteValue(static_cast<int32_t>(Available.Count() + Transferred.Count()));
    for (const auto* list : {&Available, &Transferred})
        for (const TUnit* unit : *list) {
            const TTransferFlags flags{unit->Required, unit->FromScenario};
            stream->WriteBuffer(&flags, sizeof(flags));
        }
}

void TTransfer::Clear() {
    Available.Clear();
    Transferred.Clear();
}

void TTransfer::MoveToTransferred(TUnit* unit) {
    MoveUnit(Available, Transferred, unit, false);
}

void TTransfer::MoveToAvailable(TUnit* unit) {
    MoveUnit(Transferred, Available, unit, false);
}

void TTransfer::TakePlayerUnits(TScenario& scenario, int playerIndex) {
    const TPlayer* player = scenario.PlayerAt(playerIndex);
    if (!player)
        return;
    for (int i = scenario.Units.Count() - 1; i >= 0; --i) {
        TUnit* unit = scenario.Units[i];
        if (unit->GetPlayer() != player)
            continue;
        // The death test comes first: refilled pools would bring the fallen along.
        if (unit->IsDead())
            continue;
        Refresh(*unit);
        // Out of its place first: a group or town must not keep a unit it no longer owns.
        scenario.RemoveUnit(unit, false, true);
        std::unique_ptr<TUnit> taken = scenario.UnregisterUnit(unit);
        taken->Required = 0;
        taken->FromScenario = 0;
        Available.List().Insert(0, taken.release());
    }
}

void TTransfer::TakeWaitingUnits(TScenario& scenario) {
    for (uint32_t id : scenario.WaitingUnitIDs) {
        TUnit* unit = scenario.FindLooseUnit(id);
        if (!unit)
            continue;
        scenario.LooseUnits.Delete(scenario.LooseUnits.IndexOf(unit));
        std::unique_ptr<TUnit> taken = scenario.UnregisterUnit(unit);
        taken->FromScenario = 1;
        Available.List().Add(taken.release());
    }
}

void TTransfer::PreselectRequiredUnits(const TScenario& scenario) {
    for (int i = Available.Count() - 1; i >= 0; --i) {
        TUnit* unit = Available[i];
        if (scenario.RequiredUnitIDs.IndexOf(unit->ID) < 0)
            continue;
        MoveUnit(Available, Transferred, unit, true);
        unit->Required = 1;
    }
}

void TTransfer::PlaceTransferredUnits(TScenario& scenario, int playerIndex) {
    const TPlayer* player = scenario.PlayerAt(playerIndex);
    if (!player)
        throw ClassLib::Exception(ClassLib::Format("No player at index %d.", playerIndex));
    const TPlacementOptions options{.AllowJoin = false, .NewID = false, .GiveToAI = true};
    while (Transferred.Count() > 0) {
        std::unique_ptr<TUnit> unit(Transferred.List().Extract(0));
        // Units keep the identifiers the campaign's scripts know them by; one the new
        // scenario already gives to a unit of its own gets a new one rather than be lost.
        const bool taken = scenario.Units.FindByID(unit->ID) != nullptr;
        if (!taken && unit->ID >= scenario.NextObjectID)
            scenario.NextObjectID = unit->ID + 1;
        TPlacementOptions unitOptions = options;
        unitOptions.NewID = taken;
        scenario.PlaceUnitInArea(std::move(unit), uint8_t(playerIndex), unitOptions,
                                 player->Area.Cells);
    }
    Available.Clear();
}

} // namespace GameData
