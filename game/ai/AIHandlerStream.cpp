// The planner's record inside its player's record.
#include "game/ai/AIHandler.h"

#include "engine/core/InvalidData.h"

namespace AIHandler {

namespace {

// Smallest stored records, for bounding the stored counts.
constexpr int64_t MinUnitRecord = 19;
constexpr int64_t MinTaskRecord = 70;
constexpr int64_t MinArmyRecord = 12;

} // namespace

void TAIHandler::LoadFromStream(Data::TStream& stream) {
    Clear();
    ID = stream.ReadValue<uint32_t>();
    IDCounter = stream.ReadValue<uint32_t>();
    PassFlag = stream.ReadValue<uint32_t>();
    for (int32_t n = Data::ReadCount(stream, MinUnitRecord); n > 0; --n) {
        auto unit = std::make_unique<TAIUnit>(this);
        unit->LoadFromStream(&stream);
        AIUnits.Add(std::move(unit));
    }
    for (int32_t n = Data::ReadCount(stream, MinTaskRecord); n > 0; --n) {
        auto task = std::make_unique<TAITask>(this, false);
        task->LoadFromStream(&stream);
        Tasks.Add(task.release());
    }
    for (int32_t n = Data::ReadCount(stream, MinArmyRecord); n > 0; --n) {
        auto army = std::make_unique<TAIArmy>(this);
        army->LoadFromStream(&stream);
        Armies.Add(std::move(army));
    }
    for (TAIUnit* unit : AIUnits) {
        if (!unit->InArmy)
            continue;
        unit->Army = Armies.FindByID(unit->ArmyID);
        if (!unit->Army)
            throw Data::EInvalidData("AIArmy with given ID not found.");
    }
    ScriptStack.LoadFromStream(&stream);
}

void TAIHandler::SaveToStream(Data::TStream& stream) const {
    stream.WriteValue(ID);
    stream.WriteValue(IDCounter);
    stream.WriteValue(PassFlag);
    int32_t kept = 0;
    for (const TAIUnit* unit : AIUnits)
        kept += unit->Removed ? 0 : 1;
    stream.WriteValue(kept);
    for (const TAIUnit* unit : AIUnits)
        if (!unit->Removed)
            unit->SaveToStream(&stream);
    stream.WriteValue(int32_t(Tasks.Count()));
    // Tasks and armies leave out the units whose records are not stored.
    for (const TAITask* task : Tasks)
        task->SaveToStream(&stream);
    stream.WriteValue(int32_t(Armies.Count()));
    for (const TAIArmy* army : Armies)
        army->SaveToStream(&stream);
    ScriptStack.SaveToStream(&stream);
}

} // namespace AIHandler
