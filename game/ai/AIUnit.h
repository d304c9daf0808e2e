// The planner's record of one of its player's units, its ratings for a task, and the
// script-defined armies that keep units together.
#pragma once

#include "engine/core/DataList.h"
#include "engine/core/DataObject.h"

#include <cstdint>
#include <memory>

namespace GameData {
class TCity;
class TGroup;
class TUnit;
} // namespace GameData

namespace AIHandler {

class TAIArmy;
class TAIHandler;
class TAITaskHeader;

// Rates the game unit UnitID against the task header being evaluated.
class TAIFitness : public Data::TDataObject {
public:
    explicit TAIFitness(TAIHandler* handler = nullptr) : Handler(handler) {}

    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    GameData::TUnit* GetUnit() const;
    int32_t AttackFitness() const;
    int32_t ManaFitness() const;
    int32_t TargetDistance() const;
    int32_t ScoutFitness() const;
    int32_t DefenceFitness() const;
    int32_t SiegeFitness() const;

    TAIHandler* Handler;
    const TAITaskHeader* Header = nullptr; // not owned, not saved
    uint32_t UnitID = 0;
};

class TAIUnit : public Data::TDataObject {
public:
    explicit TAIUnit(TAIHandler* handler = nullptr);

    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    // Once false, false for good: a dead record never comes back.
    bool IsAlive();
    GameData::TUnit* GetUnit() const;
    GameData::TGroup* GetGroup() const;
    GameData::TCity* GetCity() const;
    // The cell of the unit's group, else of its city; 0 when the unit is gone.
    int CellX() const;
    int CellY() const;
    bool IsPlaceable() const;
    bool IsCivilianInCity() const;
    bool IsInFlaggedCity() const;
    // Alive, placeable and not assigned to a task.
    bool IsCandidate();
    int32_t TravelDistanceTo(int x, int y) const;
    int32_t DistanceTo(const TAIUnit& other) const;

    int32_t AttackFitness(const TAITaskHeader& header);
    int32_t ManaFitness(const TAITaskHeader& header);
    int32_t TargetDistance(const TAITaskHeader& header);
    int32_t ScoutFitness(const TAITaskHeader& header);
    int32_t DefenceFitness(const TAITaskHeader& header);
    int32_t SiegeFitness(const TAITaskHeader& header);

    TAIHandler* Handler;
    std::unique_ptr<TAIFitness> Fitness;
    uint8_t Alive = 0;
    TAIArmy* Army = nullptr;
    uint32_t ArmyID = 0; // as read, until Army is resolved
    uint8_t Assigned = 0;
    uint8_t InArmy = 0;
    int32_t Rating = 0;
    // The unit left the player while a planner's worker may hold this record; the
    // record is freed between planning steps (not stored).
    bool Removed = false;
    bool DropTargetingTasks = false;
};

// Non-owning, in the order units were added.
class TAIVirtualUnitList : public Data::TObjectList<TAIUnit> {
public:
    TAIVirtualUnitList() : TObjectList(false) {}
};

class TAIArmy : public Data::TDataObject {
public:
    explicit TAIArmy(TAIHandler* handler = nullptr) : Handler(handler) {}

    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    bool AddUnit(TAIUnit& unit);
    bool RemoveUnit(TAIUnit& unit);
    void RemoveAll();
    bool HasUnit(const TAIUnit& unit) const;
    bool HasAssignedMember() const;

    TAIHandler* Handler;
    ClassLib::AnsiString Name;
    TAIVirtualUnitList Members;
};

// Owning, sorted by ID.
using TAIUnitList = Data::TDataList<TAIUnit>;
using TAIArmyList = Data::TDataList<TAIArmy>;

} // namespace AIHandler
