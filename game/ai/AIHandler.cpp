// Placeholder until the handler, its turn and its script queue land on this branch:
// only what the task records and their tests call is built here; the rest refuses.
#include "game/ai/AIHandler.h"

#include "game/world/players/Player.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Exception.h"

namespace AIHandler {

namespace {

[[noreturn]] void NotBuilt() {
    throw ClassLib::Exception("The computer player's handler is not built yet.");
}

} // namespace

TAIHandler::TAIHandler(GameData::TPlayer& player) : Player(player), Scenario(*player.Scenario) {}

TAIHandler::~TAIHandler() = default;

void TAIHandler::LoadFromStream(Data::TStream& stream) {
    TComputerPlayer::LoadFromStream(stream);
}

void TAIHandler::SaveToStream(Data::TStream& stream) const {
    TComputerPlayer::SaveToStream(stream);
}

bool TAIHandler::AddAIUnit(GameData::TUnit& unit) {
    auto record = std::make_unique<TAIUnit>(this);
    record->ID = NextID();
    record->Fitness->UnitID = unit.ID;
    record->Alive = 1;
    AIUnits.Add(std::move(record));
    return true;
}

bool TAIHandler::RemoveAIUnit(GameData::TUnit&, bool) {
    NotBuilt();
}

void TAIHandler::FreeRemovedUnits() {
    NotBuilt();
}

TAIUnit* TAIHandler::FindAIUnit(const GameData::TUnit* unit) const {
    return unit ? FindAIUnitByUnitID(unit->ID) : nullptr;
}

TAIUnit* TAIHandler::FindAIUnitByUnitID(uint32_t unitID) const {
    for (TAIUnit* record : AIUnits)
        if (!record->Removed && record->Fitness->UnitID == unitID)
            return record;
    return nullptr;
}

TAITask* TAIHandler::FindTaskByID(uint32_t id) const {
    for (TAITask* task : Tasks)
        if (task->ID == id)
            return task;
    return nullptr;
}

TAIArmy* TAIHandler::FindArmyByID(uint32_t id) const {
    for (TAIArmy* army : Armies)
        if (army->ID == id)
            return army;
    return nullptr;
}

bool TAIHandler::QueueDeleteTask(uint32_t) {
    NotBuilt();
}
bool TAIHandler::QueueAssignUnitTask(uint32_t, uint32_t) {
    NotBuilt();
}
bool TAIHandler::QueueUnassignUnitTask(uint32_t) {
    NotBuilt();
}
bool TAIHandler::QueueAssignArmyTask(uint32_t, uint32_t) {
    NotBuilt();
}
bool TAIHandler::QueueUnassignArmyTask(uint32_t) {
    NotBuilt();
}
bool TAIHandler::QueueAddUnitArmy(uint32_t, uint32_t) {
    NotBuilt();
}
bool TAIHandler::QueueRemoveUnitArmy(uint32_t) {
    NotBuilt();
}
bool TAIHandler::QueueActivateTask(uint32_t) {
    NotBuilt();
}
bool TAIHandler::QueueDeactivateTask(uint32_t) {
    NotBuilt();
}

void TAIHandler::PlayTurn() {
    NotBuilt();
}

void TAIScriptStack::LoadFromStream(Data::TStream*) {
    NotBuilt();
}

void TAIScriptStack::SaveToStream(Data::TStream*) const {
    NotBuilt();
}

void TAIScriptStack::Clear() {
    Count = 0;
}

} // namespace AIHandler
