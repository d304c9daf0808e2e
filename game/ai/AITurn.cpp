// A computer player's turn: the opening report, then planning passes that refresh
// the units, keep the tasks up to date, hand units to tasks and run the tasks lying
// close together as one, until the passes are spent or nothing is left to do.
#include "game/ai/AIHandler.h"
#include "game/ai/AIPassSchedule.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/players/ThreadTermination.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Exception.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace AIHandler {

using namespace GameData;

namespace {

// Tasks whose units are further than this from their target run alone.
constexpr int32_t MergeReach = 30;
// Attack tasks whose targets lie closer than this are run as one.
constexpr int32_t MergeDistance = 16;
// A multitask of this many units takes no others.
constexpr int MergeUnitLimit = 6;
// Units this close to a target they have lost sight of give the task up.
constexpr int LostTargetReach = 3;
constexpr int32_t WanderPriority = 50;
constexpr int WanderRadius = 3;
// The creature kind whose units the scenario's first player sends wandering.
constexpr int WanderingKind = 2;

// May the planner use the unit this pass: alive, on the map or in a city, not a
// city's civilian, not shut in a city whose entry the scenario scripts.
bool IsUsable(TAIUnit& unit) {
    return unit.IsAlive() && unit.IsPlaceable() && !unit.IsCivilianInCity() &&
           !unit.IsInFlaggedCity();
}

TPlayer* PlayerOfUnit(const TUnit& unit) {
    if (const TGroup* group = unit.GetGroup())
        return group->GetOwner();
    if (const TCity* city = unit.GetCity())
        return city->GetUnitPlayer(unit);
    return nullptr;
}

// The cell of the unit's group, else of its city; false when it has neither.
bool UnitCell(const TUnit& unit, int& x, int& y) {
    if (const TGroup* group = unit.GetGroup()) {
        x = group->TMapObject::CellX();
        y = group->TMapObject::CellY();
        return true;
    }
    if (const TCity* city = unit.GetCity()) {
        x = city->CellX();
        y = city->CellY();
        return true;
    }
    return false;
}

// 100 / (DEFENCE + 1); a negative rating counts as 0 rather than dividing by
// nothing or below it.
int32_t AttackPriority(int32_t defence) {
    return 100 / (std::max(defence, int32_t(0)) + 1);
}

// An attack task below the top priority is rated again by its target's defence as it
// stands now.
void RateAttackTask(TAITask& task) {
    if (task.Priority >= 100)
        return;
    if (const TUnit* target = task.Target().GetUnit())
        task.Priority = AttackPriority(target->Effective.Value(DEFENCE));
}

// No living unit of the task is further than MergeReach from its target.
bool StaysNearTarget(TAITask& task) {
    for (TAIUnit* unit : task.Units) {
        if (!unit->IsAlive())
            continue;
        const TUnit* game = unit->GetUnit();
        if (game && task.Target().DistanceToUnit(*game) > MergeReach)
            return false;
    }
    return true;
}

bool CanLeadMerge(TAITask& task) {
    return task.Type() == ttAttackUnit && task.Target().IsValid() && task.Units.Count() > 0;
}

// The multitasks' combined tasks go; the units they pointed at them forget them.
void ClearMultiTasks(TAIHandler& handler) {
    for (TAIMultiTask* multi : handler.MultiTasks) {
        if (!multi->Combined)
            continue;
        for (TAIUnit* unit : multi->Combined->Units)
            if (unit->Fitness && unit->Fitness->Header == multi->Combined->Header.get())
                unit->Fitness->Header = nullptr;
    }
    handler.MultiTasks.Clear();
}

} // namespace

void TAIHandler::PlayTurn() {
    FWorld.lock();
    // However the turn ends, the world is let go: the per-frame update waits for it.
    struct TRelease {
        std::unique_lock<std::mutex>& Lock;
        ~TRelease() {
            if (Lock.owns_lock())
                Lock.unlock();
        }
    } release{FWorld};
    FMissingExecutorsSaid = 0;
    try {
        PostReport();
        RunPasses();
    } catch (const EThreadTermination&) {
        ClearMultiTasks(*this);
        Available.Clear();
        throw;
    } catch (const std::exception& e) {
        // The rest of the turn is given up, not the game: the next turn plans afresh.
        std::fprintf(stderr, "%s: the computer player gave up its turn: %s\n", Player.Name.c_str(),
                     ClassLib::ExceptionMessage(e).c_str());
        ClearMultiTasks(*this);
        Available.Clear();
        PostEndTurn();
    }
}

void TAIHandler::RunPasses() {
    TPassSchedule schedule(Scenario.IndexOfPlayer(&Player) == 0);
    const auto endTurn = [this] {
        // Nothing may keep pointing at records that are freed once the turn is over.
        ClearMultiTasks(*this);
        Available.Clear();
        PostEndTurn();
    };
    for (;;) {
        CheckStop();
        FreeRemovedUnits();
        if (ExecuteScriptCommands())
            schedule.ScriptLinesPerformed();
        RefreshUnits();
        if (Available.Count() == 0)
            break;
        PassFlag = 1;
        UpdateTaskTargets();
        if (!UpdateTasks())
            break;
        ProcessSightings();
        UpdateTaskTargets();
        AssignTasks();
        if (!BuildMultiTasks()) {
            endTurn();
            return;
        }
        for (TAIMultiTask* multi : MultiTasks) {
            CheckStop();
            if (multi->Members.Count() == 0 || !schedule.Runs(multi->Members[0]->Type()))
                continue;
            ExecuteMultiTask(*multi);
            // Lines may have deleted tasks the remaining multitasks hold.
            if (ExecuteScriptCommands()) {
                schedule.ScriptLinesPerformed();
                break;
            }
        }
        ClearMultiTasks(*this);
        if (!schedule.NextPass()) {
            endTurn();
            return;
        }
    }
    Player.ClearSightings();
    endTurn();
}

void TAIHandler::RefreshUnits() {
    Available.Clear();
    for (TAIUnit* unit : AIUnits)
        if (IsUsable(*unit))
            Available.Add(unit);
    for (int t = Tasks.Count() - 1; t >= 0; --t) {
        TAITask& task = *Tasks[t];
        // Units bound to a unit that still stands keep to it.
        if (task.Target().Kind == tkUnit && task.Target().IsValid())
            continue;
        for (int u = task.Units.Count() - 1; u >= 0; --u)
            if (u < task.Units.Count() && !IsUsable(*task.Units[u]))
                task.RemoveUnit(*task.Units[u]);
    }
    for (TAIArmy* army : Armies)
        for (int u = army->Members.Count() - 1; u >= 0; --u)
            if (!IsUsable(*army->Members[u]))
                army->RemoveUnit(*army->Members[u]);
}

void TAIHandler::UpdateTaskTargets() {
    for (TAITask* task : Tasks)
        task->UpdateTarget();
}

bool TAIHandler::UpdateTasks() {
    if (Scenario.IndexOfPlayer(&Player) == 0) {
        GenerateWanderTasks();
        return Tasks.Count() > 0;
    }
    if (Tasks.Count() == 0) {
        GenerateAttackTasks();
        return Tasks.Count() > 0;
    }
    for (int t = Tasks.Count() - 1; t >= 0; --t) {
        TAITask& task = *Tasks[t];
        if (!task.Active)
            continue;
        if (task.IsFinished()) {
            DeleteTask(task);
            continue;
        }
        if (task.Type() != ttAttackUnit || task.Target().IsVisible())
            continue;
        const TUnit* target = task.Target().GetUnit();
        if (target && target->GetGroup()) {
            // Out of sight but near: the units have lost it and give it up.
            const TAITarget& where = task.Target();
            const bool near = std::any_of(task.Units.begin(), task.Units.end(), [&](TAIUnit* u) {
                return u->IsAlive() && std::abs(u->CellX() - where.X) <= LostTargetReach &&
                       std::abs(u->CellY() - where.Y) <= LostTargetReach;
            });
            if (!near)
                continue;
        }
        task.Active = 0;
        task.UnassignAll();
    }
    GenerateAttackTasks();
    return Tasks.Count() > 0;
}

void TAIHandler::GenerateAttackTasks() {
    for (TUnit* unit : Scenario.Units) {
        CheckStop();
        int x = 0;
        int y = 0;
        if (!UnitCell(*unit, x, y) || unit->IsCivilian())
            continue;
        if (Player.GetRelation(PlayerOfUnit(*unit)) != reEnemy)
            continue;
        const bool targeted = std::any_of(Tasks.begin(), Tasks.end(), [unit](const TAITask* t) {
            return t->Type() == ttAttackUnit && t->Target().TargetID == unit->ID;
        });
        if (targeted)
            continue;
        auto task = std::make_unique<TAITask>(this, true);
        task->Header->TaskType = ttAttackUnit;
        task->Priority = AttackPriority(unit->Own.Value(DEFENCE));
        TAITarget& target = task->Target();
        target.Kind = tkUnit;
        target.SetTarget(unit);
        target.X = x;
        target.Y = y;
        task->Active = target.IsVisible() ? 1 : 0;
        Tasks.Add(task.release());
    }
}

void TAIHandler::GenerateWanderTasks() {
    for (TAIUnit* unit : Available) {
        const TUnit* game = unit->GetUnit();
        if (!unit->IsAlive() || !game || !game->GetGroup() || !game->Prototype ||
            game->Prototype->CreatureType != WanderingKind)
            continue;
        const bool held = std::any_of(Tasks.begin(), Tasks.end(),
                                      [unit](const TAITask* t) { return t->HasAIUnit(*unit); });
        if (held)
            continue;
        auto task = std::make_unique<TAITask>(this, true);
        task->SetGoToCell(unit->CellX(), unit->CellY(), WanderRadius);
        task->Priority = WanderPriority;
        task->Active = 1;
        task->AssignUnit(*unit);
        Tasks.Add(task.release());
    }
}

void TAIHandler::ProcessSightings() {
    while (Player.SightingCount() > 0) {
        const std::unique_ptr<TSighting> sighting = Player.PopSighting();
        if (!sighting || sighting->Kind < skUnitMoved || sighting->Kind > skUnitSpotted)
            continue;
        for (TAITask* task : Tasks)
            task->OnSighting(*sighting);
    }
}

void TAIHandler::AssignTasks() {
    if (Scenario.IndexOfPlayer(&Player) == 0)
        return;
    Tasks.Sort([](const TAITask* a, const TAITask* b) {
        return a->Priority < b->Priority ? 1 : a->Priority == b->Priority ? 0 : -1;
    });
    for (TAITask* task : Tasks) {
        if (!task->Active || task->Priority <= 0)
            continue;
        const bool attack = task->Type() == ttAttackUnit || task->Type() == ttAttackGroup;
        if (attack && !task->Target().IsHostile())
            continue;
        task->RecruitUnits(Available);
    }
    for (TAITask* task : Tasks)
        for (TAIUnit* unit : task->Units)
            unit->Fitness->Header = task->Header.get();
}

bool TAIHandler::BuildMultiTasks() {
    std::vector<TAITask*> work;
    for (TAITask* task : Tasks)
        if (task->Active)
            work.push_back(task);
    ClearMultiTasks(*this);
    for (size_t i = 0; i < work.size(); ++i) {
        TAITask& task = *work[i];
        switch (task.Type()) {
        case ttAttackUnit: {
            if (!CanLeadMerge(task))
                break;
            RateAttackTask(task);
            auto multi = std::make_unique<TAIMultiTask>(this);
            multi->Members.Add(&task);
            if (task.Units.Count() < MergeUnitLimit && StaysNearTarget(task))
                for (size_t j = work.size() - 1; j > i; --j) {
                    TAITask& other = *work[j];
                    if (!CanLeadMerge(other) ||
                        task.Target().DistanceToTarget(other.Target()) >= MergeDistance ||
                        !StaysNearTarget(other))
                        continue;
                    RateAttackTask(other);
                    multi->Members.Add(&other);
                    work.erase(work.begin() + std::ptrdiff_t(j));
                }
            MultiTasks.Add(multi.release());
            break;
        }
        case ttCity: {
            const TCity* city = task.Target().GetCity();
            if (city && city->HasScriptedEntry())
                break;
            [[fallthrough]];
        }
        case ttGoToCell:
        case ttGuardCell:
        case ttGuardUnit:
        case ttGoToUnit: {
            auto multi = std::make_unique<TAIMultiTask>(this);
            multi->Members.Add(&task);
            MultiTasks.Add(multi.release());
            break;
        }
        default:
            break;
        }
    }
    return MultiTasks.Count() > 0;
}

void TAIHandler::ExecuteMultiTask(TAIMultiTask& multiTask) {
    for (;;) {
        CheckStop();
        if (!multiTask.Prepare())
            return;
        TAITask& combined = *multiTask.Combined;
        const int32_t type = combined.Type();
        bool again = false;
        switch (type) {
        case ttAttackGroup:
            again = ExecuteAttackGroup(combined);
            break;
        case ttGoToCell:
        case ttGuardCell:
        case ttGuardUnit:
        case ttCity:
        case ttGoToUnit:
            if (!(FMissingExecutorsSaid & (1u << type))) {
                FMissingExecutorsSaid |= 1u << type;
                std::fprintf(stderr, "%s: no executor for task type %d yet\n", Player.Name.c_str(),
                             int(type));
            }
            break;
        default:
            break;
        }
        if (!again)
            return;
    }
}

} // namespace AIHandler
