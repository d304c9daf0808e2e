#include "game/world/cities/City.h"

#include "game/world/data/GlobalData.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <algorithm>
#include <utility>

namespace GameData {

namespace {

constexpr int CityLayer = 20;

void WriteUnitIDs(TStream* stream, const Data::TObjectList<TUnit>& units) {
    stream->WriteValue(static_cast<uint32_t>(units.Count()));
    for (const TUnit* unit : units)
        stream->WriteValue(unit->ID);
}

} // namespace

TCity::TCity(TScenario* scenario)
    : TLocation(scenario), DefenderGroup(std::make_unique<TGroup>(scenario)),
      GateGroup(std::make_unique<TGroup>(scenario)), DefenderSlots(DefenderRowSize, nullptr) {
    Kind = okCity;
    Layer = CityLayer;
    Name = "City";
    GateGroup->Name = "Entering/Leaving group";
}

TCity::~TCity() {
    LetUnitsGo();
}

void TCity::LetUnitsGo() {
    // The registry owns the units; they only lose their home here.
    for (TUnit* unit : OtherUnits)
        unit->Owner = nullptr;
    for (TUnit* unit : DefenderSlots)
        if (unit)
            unit->Owner = nullptr;
    for (TUnit* unit : Civilians)
        unit->Owner = nullptr;
}

std::array<TMerchant*, 6> TCity::Merchants() {
    return {&Innkeeper, &Mage, &BattleMaster, &Herbalist, &Custom1, &Custom2};
}

std::array<const TMerchant*, 6> TCity::Merchants() const {
    return {&Innkeeper, &Mage, &BattleMaster, &Herbalist, &Custom1, &Custom2};
}

void TCity::GiveMerchantIDs() {
    if (!Scenario)
        return;
    for (TMerchant* merchant : Merchants())
        if (merchant->ID == 0)
            merchant->ID = Scenario->NewObjectID();
}

void TCity::Clear() {
    TLocation::Clear();
    Layer = CityLayer;
    LeadingValues = {};
    Owner = NoOwner;
    LetUnitsGo();
    OtherUnits.Clear();
    DefenderSlots.clear();
    Civilians.Clear();
    RowCount = 0;
    RowValue = 0;
    MusicID = 0;
    TrailingValues = {};
    KeptArea.Clear();
    Decorations.Clear();
    EntryCostFlag = 0;
    GateGroup->Clear();
    for (TMerchant* merchant : Merchants())
        merchant->Clear();
}

void TCity::LoadFromStream(TStream* stream) {
    TLocation::LoadFromStream(stream);
    Layer = CityLayer;
    for (uint32_t& value : LeadingValues)
        value = stream->ReadValue<uint32_t>();
    Owner = stream->ReadValue<uint8_t>();
    const auto rows = stream->ReadValue<uint32_t>();
    RowValue = stream->ReadValue<uint32_t>();
    MusicID = stream->ReadValue<uint32_t>();

    // Every unit stands in one place only: a unit already housed is invalid.
    const auto placeUnit = [&](uint32_t id) {
        TUnit* unit = Scenario->Units.GetByID(id);
        Data::CheckData(unit && !unit->Owner);
        unit->Owner = this;
        return unit;
    };
    const auto readUnit = [&]() { return placeUnit(stream->ReadValue<uint32_t>()); };
    const int32_t others = Data::ReadCount(*stream, 4);
    for (int32_t i = 0; i < others; ++i)
        OtherUnits.Add(readUnit());

    const int32_t places = Data::ReadCount(*stream, 4);
    Data::CheckData(uint64_t(places) == uint64_t(rows) * DefenderRowSize);
    RowCount = places / DefenderRowSize;
    DefenderSlots.assign(size_t(places), nullptr);
    for (int32_t place = 0; place < places; ++place) {
        const auto id = stream->ReadValue<uint32_t>();
        if (id == 0)
            continue;
        // Rows are packed from their first place.
        Data::CheckData(place % DefenderRowSize == 0 || DefenderSlots[size_t(place - 1)]);
        DefenderSlots[size_t(place)] = placeUnit(id);
    }

    const int32_t civilians = Data::ReadCount(*stream, 4);
    for (int32_t i = 0; i < civilians; ++i)
        Civilians.Add(readUnit());

    for (uint32_t& value : TrailingValues)
        value = stream->ReadValue<uint32_t>();
    KeptArea.LoadFromStream(stream);
    Decorations.LoadFromStream(stream);
    for (TMerchant* merchant : Merchants())
        merchant->LoadFromStream(stream);
    EntryCostFlag = stream->ReadValue<uint32_t>();
    GateGroup->SetOwner(Owner);
    GiveMerchantIDs();
}

void TCity::SaveToStream(TStream* stream) const {
    TLocation::SaveToStream(stream);
    for (uint32_t value : LeadingValues)
        stream->WriteValue(value);
    stream->WriteValue(Owner);
    stream->WriteValue(static_cast<uint32_t>(RowCount));
    stream->WriteValue(RowValue);
    stream->WriteValue(MusicID);
    // Units at the gate stand there only while the city is selected, and no selection
    // is stored: they are kept among the other units, where leaving the city would
    // put them (last slot first), so the record stays what every reader expects.
    const int gateCount = GateGroup->UnitCount();
    stream->WriteValue(static_cast<uint32_t>(OtherUnits.Count() + gateCount));
    for (const TUnit* unit : OtherUnits)
        stream->WriteValue(unit->ID);
    for (int slot = gateCount - 1; slot >= 0; --slot)
        stream->WriteValue(GateGroup->Units[size_t(slot)]->ID);
    stream->WriteValue(static_cast<uint32_t>(DefenderSlots.size()));
    for (const TUnit* unit : DefenderSlots)
        stream->WriteValue(unit ? unit->ID : uint32_t(0));
    WriteUnitIDs(stream, Civilians);
    for (uint32_t value : TrailingValues)
        stream->WriteValue(value);
    KeptArea.SaveToStream(stream);
    Decorations.SaveToStream(stream);
    for (const TMerchant* merchant : Merchants())
        merchant->SaveToStream(stream);
    stream->WriteValue(EntryCostFlag);
}

TPlayer* TCity::GetOwner() const {
    return Scenario && Owner != NoOwner ? Scenario->PlayerAt(Owner) : nullptr;
}

TPlayer* TCity::GetUnitPlayer(const TUnit& unit) const {
    if (unit.Marker == CityOwnerByte)
        return GetOwner();
    return Scenario ? Scenario->PlayerAt(unit.Marker) : nullptr;
}

TUnitPlayer* TCity::PlayerOf(const TUnit& unit) {
    return GetUnitPlayer(unit);
}

bool TCity::IsDefender(const TUnit& unit) const {
    return FindDefenderRow(unit) >= 0;
}

bool TCity::IsOtherUnit(const TUnit& unit) const {
    return OtherUnits.IndexOf(&unit) >= 0;
}

bool TCity::IsCivilian(const TUnit& unit) const {
    return Civilians.IndexOf(&unit) >= 0;
}

bool TCity::HasDefenders() const {
    for (const TUnit* unit : DefenderSlots)
        if (unit)
            return true;
    return false;
}

int TCity::FindDefenderRow(const TUnit& unit) const {
    for (size_t place = 0; place < DefenderSlots.size(); ++place)
        if (DefenderSlots[place] == &unit)
            return int(place) / DefenderRowSize;
    return -1;
}

int TCity::DefenderCountInRow(int row) const {
    if (row < 0 || row >= RowCount)
        return 0;
    int count = 0;
    for (int i = 0; i < DefenderRowSize; ++i)
        if (DefenderSlots[size_t(row * DefenderRowSize + i)])
            ++count;
    return count;
}

bool TCity::RowHasHero(int row) const {
    if (row < 0 || row >= RowCount)
        return false;
    for (int i = 0; i < DefenderRowSize; ++i) {
        const TUnit* unit = DefenderSlots[size_t(row * DefenderRowSize + i)];
        if (unit && unit->IsHero)
            return true;
    }
    return false;
}

int TCity::CanAddDefender(int row, const TUnit& unit) const {
    if (DefenderCountInRow(row) >= DefenderRowSize)
        return djRowFull;
    if (unit.IsHero && RowHasHero(row))
        return djSecondHero;
    if (unit.Effective.Morale() < Data2::GlobalData->GameConstants[Data2::gcCityDefenderMorale])
        return djMoraleTooLow;
    return djAllowed;
}

void TCity::TakeUnit(TUnit* unit, bool withAI) {
    unit->Owner = this;
    if (TPlayer* player = GetUnitPlayer(*unit); withAI && player && player->AI)
        player->AI->AddAIUnit(*unit);
}

void TCity::ReleaseUnit(TUnit* unit, bool deleteUnit, bool withAI) {
    if (TPlayer* player = GetUnitPlayer(*unit); withAI && player && player->AI)
        player->AI->RemoveAIUnit(*unit, true);
    unit->Owner = nullptr;
    if (deleteUnit && Scenario)
        Scenario->UnregisterUnit(unit); // the registry hands it back and it goes
}

TUnit* TCity::AddOtherUnit(std::unique_ptr<TUnit> unit, bool newID, bool withAI) {
    TUnit* registered = Scenario->RegisterUnit(std::move(unit), newID);
    AddOtherUnit(registered, withAI);
    return registered;
}

void TCity::AddOtherUnit(TUnit* unit, bool withAI) {
    OtherUnits.Add(unit);
    TakeUnit(unit, withAI);
}

TUnit* TCity::AddCivilian(std::unique_ptr<TUnit> unit, bool newID, bool withAI) {
    TUnit* registered = Scenario->RegisterUnit(std::move(unit), newID);
    AddCivilian(registered, withAI);
    return registered;
}

void TCity::AddCivilian(TUnit* unit, bool withAI) {
    Civilians.Add(unit);
    TakeUnit(unit, withAI);
}

void TCity::RemoveOtherUnitAt(int index, bool deleteUnit, bool withAI) {
    TUnit* unit = OtherUnits.Extract(index);
    ReleaseUnit(unit, deleteUnit, withAI);
}

void TCity::RemoveOtherUnit(TUnit* unit, bool deleteUnit, bool withAI) {
    const int index = OtherUnits.IndexOf(unit);
    if (index >= 0)
        RemoveOtherUnitAt(index, deleteUnit, withAI);
}

void TCity::RemoveCivilianAt(int index, bool deleteUnit, bool withAI) {
    TUnit* unit = Civilians.Extract(index);
    ReleaseUnit(unit, deleteUnit, withAI);
}

void TCity::RemoveCivilian(TUnit* unit, bool deleteUnit, bool withAI) {
    const int index = Civilians.IndexOf(unit);
    if (index >= 0)
        RemoveCivilianAt(index, deleteUnit, withAI);
}

void TCity::SetDefenderSlot(int place, TUnit* unit, bool withAI) {
    DefenderSlots[size_t(place)] = unit;
    TakeUnit(unit, withAI);
}

bool TCity::AddDefender(int row, TUnit* unit, bool withAI) {
    if (row < 0 || row >= RowCount)
        return false;
    for (int i = 0; i < DefenderRowSize; ++i) {
        const int place = row * DefenderRowSize + i;
        if (!DefenderSlots[size_t(place)]) {
            SetDefenderSlot(place, unit, withAI);
            return true;
        }
    }
    return false;
}

void TCity::ClearDefenderSlot(int place, bool deleteUnit, bool withAI) {
    TUnit* unit = DefenderSlots[size_t(place)];
    DefenderSlots[size_t(place)] = nullptr;
    if (unit)
        ReleaseUnit(unit, deleteUnit, withAI);
}

void TCity::RemoveDefenderAt(int place, bool deleteUnit, bool withAI) {
    ClearDefenderSlot(place, deleteUnit, withAI);
    const int rowEnd = (place / DefenderRowSize + 1) * DefenderRowSize;
    for (int i = place; i + 1 < rowEnd; ++i)
        DefenderSlots[size_t(i)] = DefenderSlots[size_t(i + 1)];
    DefenderSlots[size_t(rowEnd - 1)] = nullptr;
}

void TCity::RemoveDefender(TUnit* unit, bool deleteUnit, bool withAI) {
    for (size_t place = 0; place < DefenderSlots.size(); ++place)
        if (DefenderSlots[place] == unit) {
            RemoveDefenderAt(int(place), deleteUnit, withAI);
            return;
        }
}

bool TCity::RemoveUnit(TUnit* unit, bool deleteUnit, bool withAI) {
    if (IsDefender(*unit))
        RemoveDefender(unit, deleteUnit, withAI);
    else if (IsOtherUnit(*unit))
        RemoveOtherUnit(unit, deleteUnit, withAI);
    else if (IsCivilian(*unit))
        RemoveCivilian(unit, deleteUnit, withAI);
    else
        return false;
    return true;
}

void TCity::RemoveAllUnits(bool withAI) {
    for (int i = OtherUnits.Count() - 1; i >= 0; --i)
        RemoveOtherUnitAt(i, true, withAI);
    for (size_t place = 0; place < DefenderSlots.size(); ++place)
        ClearDefenderSlot(int(place), true, withAI);
    for (int i = Civilians.Count() - 1; i >= 0; --i)
        RemoveCivilianAt(i, true, withAI);
}

void TCity::SetRowCount(int n) {
    const size_t places = size_t(std::max(n, 0)) * DefenderRowSize;
    // The defenders of dropped rows stay in the city rather than lose their place.
    for (size_t place = places; place < DefenderSlots.size(); ++place)
        if (DefenderSlots[place])
            OtherUnits.Add(DefenderSlots[place]);
    DefenderSlots.resize(places, nullptr);
    RowCount = std::max(n, 0);
}

void TCity::LoadDefenderGroup(int row) {
    DefenderGroup->OwnerIndex = Owner;
    DefenderGroup->Units = {};
    DefenderGroup->SplitMarks = {};
    if (row < 0 || row >= RowCount)
        return;
    for (int i = 0; i < DefenderRowSize; ++i)
        if (TUnit* unit = DefenderSlots[size_t(row * DefenderRowSize + i)])
            DefenderGroup->AddUnit(unit, false);
}

void TCity::ReleaseDefenderGroup() {
    for (int i = 0; i < DefenderGroup->UnitCount(); ++i)
        DefenderGroup->Units[size_t(i)]->Owner = this;
    DefenderGroup->Units = {};
    DefenderGroup->SplitMarks = {};
}

void TCity::MoveGateGroupToOtherUnits() {
    for (int i = GateGroup->UnitCount() - 1; i >= 0; --i) {
        TUnit* unit = GateGroup->Units[size_t(i)];
        GateGroup->RemoveUnitAt(i, false, false);
        AddOtherUnit(unit, false);
    }
}

void TCity::Deselect() {
    TMapObject::Deselect();
    if (GateGroup->UnitCount() > 0)
        MoveGateGroupToOtherUnits();
}

} // namespace GameData
