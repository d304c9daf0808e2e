// A computer player's tasks: what is to be done, by which units, how urgently; and
// the multitasks that run tasks of one kind lying close together as one.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/core/ObjectList.h"
#include "game/ai/AITarget.h"
#include "game/ai/AIUnit.h"

#include <cstdint>
#include <memory>

namespace GameData {
class TCity;
class TUnit;
struct TSighting;
} // namespace GameData

namespace AIHandler {

enum TAITaskType : int32_t {
    ttNone = 0,
    ttAttackUnit = 1,
    ttAttackGroup = 2,
    ttGoToCell = 3,
    ttGuardCell = 4,
    ttGuardUnit = 5,
    ttCity = 6,
    ttIdle = 7,
    ttGoToUnit = 8,
};

class TAITaskHeader : public Data::TDataObject {
public:
    explicit TAITaskHeader(TAIHandler* handler = nullptr);

    void Assign(const Data::TDataObject* source) override;
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    int32_t TaskType = ttNone;
    std::unique_ptr<TAITarget> Target;
};

class TAITask;

class TAITaskList : public Data::TObjectList<TAITask> {
public:
    TAITaskList() : TObjectList(true) {}
};

class TAIVirtualTaskList : public Data::TObjectList<TAITask> {
public:
    TAIVirtualTaskList() : TObjectList(false) {}
};

class TAITask : public Data::TDataObject {
public:
    // With newID the task takes the handler's next ID; tasks about to be loaded keep 0.
    explicit TAITask(TAIHandler* handler = nullptr, bool newID = false);

    void Assign(const Data::TDataObject* source) override;
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    bool IsFinished();
    // True when the task has what it needs.
    bool RecruitUnits(TAIVirtualUnitList& available);

    bool AssignUnit(TAIUnit& unit);
    bool UnassignUnit(TAIUnit& unit);
    bool AssignArmy(TAIArmy& army);
    bool UnassignArmy(TAIArmy& army);
    void UnassignAll();
    // Every occurrence leaves Units.
    void RemoveUnit(TAIUnit& unit);

    void SetPriority(int32_t priority) { Priority = priority; }
    void SetGoToCell(int x, int y, int radius);
    void SetCity(const GameData::TCity& city);

    bool HasUnit(const GameData::TUnit& unit) const;
    bool HasAIUnit(const TAIUnit& unit) const;
    bool HasArmy(const TAIArmy& army) const;

    void UpdateTarget();
    void OnSighting(const GameData::TSighting& sighting);

    int32_t Type() const { return Header->TaskType; }
    TAITarget& Target() const { return *Header->Target; }

    TAIHandler* Handler;
    ClassLib::AnsiString Name;
    int32_t Reserved = 0;
    std::unique_ptr<TAITaskHeader> Header;
    TAIVirtualUnitList Units;
    int32_t Priority = 0;
    int32_t Strength = 0;
    int32_t RequiredStrength = 0;
    uint8_t Active = 1;
    TAITaskList Subtasks;

private:
    bool RecruitAttackUnit(TAIVirtualUnitList& available);
    bool RecruitForPlace(TAIVirtualUnitList& available, int cap);
    bool RecruitForCity(TAIVirtualUnitList& available);
    // After a candidate joined: its army, or the free units of its group.
    void AddCompanions(TAIUnit& unit);
    void DropUnplaceable();
};

class TAIMultiTask : public Data::TDataObject {
public:
    explicit TAIMultiTask(TAIHandler* handler);

    // Builds Combined from Members; false when there is nothing to execute.
    bool Prepare();

    TAIHandler* Handler;
    std::unique_ptr<TAITask> Combined;
    TAIVirtualTaskList Members;
};

class TAIMultiTaskList : public Data::TObjectList<TAIMultiTask> {
public:
    TAIMultiTaskList() : TObjectList(true) {}
};

} // namespace AIHandler
