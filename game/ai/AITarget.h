// What a computer player's task aims at: a unit, a group, a cell or a city.
#pragma once

#include "engine/core/DataObject.h"

#include <cstdint>

namespace GameData {
class TCity;
class TGroup;
class TUnit;
struct TSighting;
} // namespace GameData

namespace AIHandler {

class TAIHandler;

// Travel distances the planner measures stop here; farther counts as this.
constexpr int32_t TravelLimit = 10000;

// The cell of the unit's group, else of its city; false when it has neither.
bool GetUnitCell(const GameData::TUnit& unit, int& x, int& y);

enum TAITargetKind : int32_t {
    tkNone = 0,
    tkUnit = 1,
    tkGroup = 2,
    tkCell = 3,
    tkCity = 4,
    tkAlways = 5,
};

class TAITarget : public Data::TDataObject {
public:
    explicit TAITarget(TAIHandler* handler = nullptr) : Handler(handler) { Clear(); }

    void Assign(const Data::TDataObject* source) override;
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    // The object TargetID names by Kind: a unit of the scenario's registry, a group,
    // or any map object for a city; null for the kinds without one.
    Data::TDataObject* Resolve() const;
    GameData::TUnit* GetUnit() const;
    GameData::TGroup* GetGroup() const;
    GameData::TCity* GetCity() const;
    void SetTarget(const Data::TDataObject* object);
    void SetSecond(const GameData::TUnit* unit);
    Data::TDataObject* ResolveSecond() const;

    // Also stored in Valid.
    bool IsValid();
    bool IsVisible() const;
    bool IsHostile() const;
    void UpdatePosition();
    void SetPosition(const GameData::TSighting& sighting);
    int32_t TravelDistanceFrom(int x, int y) const;
    int32_t DistanceToUnit(const GameData::TUnit& unit) const;
    int32_t DistanceToTarget(const TAITarget& other) const;

    TAIHandler* Handler;
    uint32_t TargetID;
    uint32_t SecondID;
    uint8_t Valid;
    int32_t Kind;
    int32_t SecondKind;
    int32_t X;
    int32_t Y;
    int32_t Radius;
};

} // namespace AIHandler
