// What the computer player's units do for a task. Attacking a group: every group
// holding the task's units sets out (from its town's gate when it stands there),
// walks towards the target group and fights it once beside it, until its points
// run out or its way is blocked.
#include "game/ai/AIHandler.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapObject.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <algorithm>
#include <vector>

namespace AIHandler {

using namespace GameData;

namespace {

// Action points a walk keeps back for the fight at its end.
constexpr int32_t FightReserve = 10;
constexpr int AttackMode = 1;
// Moves one group makes at most for one attack; each either gets nearer, fights or
// ends the group's go, so this only guards against a world that keeps answering
// "spotted".
constexpr int MaxMoves = 32;

// Where a group of the task stands: on the map, or at the gate of a town.
struct TActor {
    uint32_t GroupID = 0;
    uint32_t CityID = 0; // the town whose gate group it is
    bool operator==(const TActor&) const = default;
};

TCity* CityOfGate(const TScenario& scenario, const TGroup* group) {
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okCity && static_cast<TCity*>(object)->GateGroup.get() == group)
            return static_cast<TCity*>(object);
    return nullptr;
}

// The groups holding the task's living units, in the units' order, each once.
std::vector<TActor> ActorsOf(const TAITask& task, const TScenario& scenario) {
    std::vector<TActor> actors;
    for (TAIUnit* unit : task.Units) {
        if (!unit->IsAlive())
            continue;
        const TGroup* group = unit->GetGroup();
        if (!group)
            continue;
        TActor actor{group->ID, 0};
        if (scenario.FindGroupByID(group->ID) != group) {
            const TCity* city = CityOfGate(scenario, group);
            if (!city)
                continue;
            actor = {0, city->ID};
        }
        if (std::find(actors.begin(), actors.end(), actor) == actors.end())
            actors.push_back(actor);
    }
    return actors;
}

} // namespace

bool TAIHandler::ExecuteAttackGroup(TAITask& task) {
    if (task.Units.Count() == 0 || !task.Target().IsValid())
        return false;
    const uint32_t targetID = task.Target().TargetID;
    bool destroyed = false;
    for (const TActor& actor : ActorsOf(task, Scenario)) {
        CheckStop();
        if (!Scenario.FindGroupByID(targetID)) {
            destroyed = true;
            break;
        }
        if (actor.CityID != 0) {
            // Out through the exit nearest the target; the group then walks on as any other.
            TCity* city = Scenario.FindCityByID(actor.CityID);
            if (!city || PostSelect(city) != arDone || !Player.GetActiveGroup())
                continue;
            const TGroup* enemy = Scenario.FindGroupByID(targetID);
            if (!enemy)
                continue;
            int exitX = -1;
            int exitY = -1;
            city->NearestExitCell(enemy->TMapObject::CellX(), enemy->TMapObject::CellY(), exitX,
                                  exitY);
            if (exitX < 0 || MoveToCell(exitX, exitY, 1, 0, false) != arDone)
                continue;
        } else {
            TGroup* group = Scenario.FindGroupByID(actor.GroupID);
            if (!group || PostSelect(group) != arDone)
                continue;
        }
        TGroup* own = Player.GetSelectedGroup();
        if (own && own->CampState == csPitched)
            PostBreakCamp(*own);
        for (int move = 0; move < MaxMoves; ++move) {
            CheckStop();
            const TGroup* enemy = Scenario.FindGroupByID(targetID);
            if (!enemy) {
                destroyed = true;
                break;
            }
            own = Player.GetSelectedGroup();
            // A group beside its target fights without a step; one that cannot pay
            // its way is told so by the walk.
            if (!own || own->CampState != csNone || !own->AnyUnitCanAct())
                break;
            const int fromX = own->TMapObject::CellX();
            const int fromY = own->TMapObject::CellY();
            const int32_t result = MoveAgainst(*enemy, AttackMode, 1, FightReserve);
            if (result == arSpotted) {
                UpdateTaskTargets();
                continue;
            }
            if (result != arDone)
                break;
            // A fight fought where the group stood, or a walk that got no further,
            // ends the group's go.
            own = Player.GetSelectedGroup();
            if (!own || (own->TMapObject::CellX() == fromX && own->TMapObject::CellY() == fromY))
                break;
        }
    }
    if (!Scenario.FindGroupByID(targetID))
        destroyed = true;
    // The next target of the multitask, if any, may be taken on at once.
    return destroyed && std::any_of(task.Units.begin(), task.Units.end(),
                                    [](TAIUnit* unit) { return unit->IsAlive(); });
}

} // namespace AIHandler
