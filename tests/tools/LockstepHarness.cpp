#include "tests/tools/LockstepHarness.h"

#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/players/ActionValidation.h"

#include <algorithm>

namespace LevelTests {

using namespace GameData;

namespace {

constexpr int WalkFrames = 30;

TCity* CityHolding(const TScenario& scenario, uint32_t unitID) {
    const TUnit* unit = scenario.Units.FindByID(unitID);
    if (!unit)
        return nullptr;
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okCity) {
            auto* city = static_cast<TCity*>(object);
            if (unit->GetCity() == city || city->GateGroup->FindUnitByID(unitID))
                return city;
        }
    return nullptr;
}

std::vector<TCity*> Cities(const TScenario& scenario) {
    std::vector<TCity*> cities;
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okCity)
            cities.push_back(static_cast<TCity*>(object));
    return cities;
}

// The units of a city with the place each stands in.
std::vector<std::pair<uint32_t, uint32_t>> CityUnits(const TCity& city) {
    std::vector<std::pair<uint32_t, uint32_t>> units;
    for (const TUnit* unit : city.GateGroup->Units)
        if (unit)
            units.emplace_back(cpGateGroup, unit->ID);
    for (const TUnit* unit : city.DefenderSlots)
        if (unit)
            units.emplace_back(cpDefenders, unit->ID);
    for (const TUnit* unit : city.OtherUnits)
        units.emplace_back(cpOtherUnits, unit->ID);
    for (const TUnit* unit : city.Civilians)
        units.emplace_back(cpCivilians, unit->ID);
    return units;
}

// The current player's groups on the map.
std::vector<TGroup*> OwnGroups(const TScenario& scenario) {
    std::vector<TGroup*> groups;
    const int owner = scenario.IndexOfPlayer(scenario.CurrentPlayer);
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okGroup && static_cast<TGroup*>(object)->OwnerIndex == owner)
            groups.push_back(static_cast<TGroup*>(object));
    return groups;
}

// The current player's group named by the action, or null.
TGroup* OwnGroup(const TScenario& scenario, uint32_t id) {
    auto* group = static_cast<TGroup*>(scenario.FindObjectOfKind(id, okGroup));
    return group && group->OwnerIndex == scenario.IndexOfPlayer(scenario.CurrentPlayer) ? group
                                                                                        : nullptr;
}

// A walk plays out over the updates that follow; the owner's reports are taken
// as the game object takes them, so that none waits in its slot.
void PlayFrames(TScenario& scenario, int frames) {
    for (int i = 0; i < frames; ++i) {
        scenario.Update();
        if (scenario.CurrentPlayer)
            while (scenario.CurrentPlayer->TakeAction().Code != acNone) {
            }
    }
}

} // namespace

uint32_t TActionDriver::Draw() {
    State = State * 6364136223846793005ull + 1442695040888963407ull;
    return uint32_t(State >> 33);
}

uint32_t TActionDriver::AnyUnitID(const TScenario& scenario) {
    return scenario.Units.Count() == 0
               ? 0
               : scenario.Units[int(Below(uint32_t(scenario.Units.Count())))]->ID;
}

TPlayerAction TActionDriver::Next(const TScenario& scenario) {
    if (++SinceEndOfTurn >= 12 || Below(100) < 8) {
        SinceEndOfTurn = 0;
        return MakeAction(acEndTurn);
    }
    const uint32_t roll = Below(100);
    if (roll < 20)
        return Malformed(scenario);
    if (roll < 55) {
        const std::vector<TGroup*> groups = OwnGroups(scenario);
        if (!groups.empty()) {
            TGroup& group = *groups[Below(uint32_t(groups.size()))];
            const uint32_t kind = Below(10);
            if (kind < 2)
                return MakeAction(acMarkSplit, group.ID, Below(MaxGroupUnits));
            if (kind < 4 && groups.size() > 1) {
                const TGroup& other = *groups[Below(uint32_t(groups.size()))];
                TPlayerAction merge =
                    MakeAction(acMoveGroup, uint32_t(other.CellX), uint32_t(other.CellY), group.ID);
                merge.P[5] = other.ID;
                return merge;
            }
            const int x = std::clamp(group.CellX + int(Below(13)) - 6, 0, scenario.Width - 1);
            const int y = std::clamp(group.CellY + int(Below(13)) - 6, 0, scenario.Height - 1);
            return MakeAction(acMoveGroup, uint32_t(x), uint32_t(y), group.ID);
        }
    }
    const std::vector<TCity*> cities = Cities(scenario);
    if (cities.empty())
        return MakeAction(acEndTurn);
    const TCity& city = *cities[Below(uint32_t(cities.size()))];
    const auto units = CityUnits(city);
    if (units.empty())
        return MakeAction(acEndTurn);
    const auto& [place, unitID] = units[Below(uint32_t(units.size()))];
    if (roll < 65) {
        // Any place, the gate too, and any row, so that full rows and wrong places
        // are met as well.
        const int32_t row = int32_t(Below(4)) - 1;
        return MakeAction(acMoveCityUnit, place, unitID, Below(4), uint32_t(row));
    }
    const uint32_t player = uint32_t(std::max(0, scenario.IndexOfPlayer(scenario.CurrentPlayer)));
    return MakeAction(acMerchantPurchase, Below(7), unitID, player, Below(8));
}

TPlayerAction TActionDriver::Malformed(const TScenario& scenario) {
    const uint32_t wild[] = {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 1000000u, 129u, 4u};
    const uint32_t big = wild[Below(std::size(wild))];
    switch (Below(7)) {
    case 0:
        return MakeAction(19 + Below(1000), AnyUnitID(scenario), big);
    case 1:
        return MakeAction(acNone, AnyUnitID(scenario));
    case 2:
        return MakeAction(acMoveCityUnit, 4 + Below(100), AnyUnitID(scenario), 0, 0);
    case 3:
        return MakeAction(acMoveCityUnit, 0, big, 1, 0);
    case 4:
        return MakeAction(acMerchantPurchase, 0, AnyUnitID(scenario),
                          uint32_t(scenario.PlayerCount()) + Below(5), 0);
    case 5:
        return MakeAction(acSelectObject, big);
    default:
        return MakeAction(acMoveGroup, big, Below(200));
    }
}

namespace {

bool Execute(TScenario& scenario, const TPlayerAction& action) {
    const uint32_t* p = action.P;
    switch (action.Code) {
    case acEndTurn:
        scenario.PassTurn();
        return true;
    case acMarkSplit: {
        // The harness names the group and the slot to mark or unmark.
        TGroup* group = OwnGroup(scenario, p[0]);
        if (!group || p[1] >= uint32_t(group->UnitCount()))
            return false;
        group->SplitMarks[p[1]] ^= 1;
        return true;
    }
    case acMoveGroup: {
        // The harness names the walking group in the third argument.
        TGroup* group = OwnGroup(scenario, p[2]);
        if (!group)
            return false;
        if (p[5] != 0)
            group->MoveToGroup(OwnGroup(scenario, p[5]), 0, false);
        else
            group->MoveTo(int(p[0]), int(p[1]), false, 0);
        PlayFrames(scenario, WalkFrames);
        return true;
    }
    case acMoveCityUnit: {
        TCity* city = CityHolding(scenario, p[1]);
        return city && city->MoveUnit(p[0], p[1], p[2], int32_t(p[3]));
    }
    case acMerchantPurchase: {
        TCity* city = CityHolding(scenario, p[1]);
        return city && city->Purchase(p[0], p[1], p[2], p[3]);
    }
    default:
        // Group orders and the rest arrive with the orders and the game object.
        return false;
    }
}

} // namespace

bool ExecuteAction(TScenario& scenario, const TPlayerAction& action) {
    if (ValidateAction(scenario, action) != 0 || !Execute(scenario, action))
        return false;
    // As the game object does after every action: what the current side sees.
    scenario.RebuildOccupancyGrid();
    scenario.UpdatePlayerVisibility(scenario.CurrentPlayer);
    return true;
}

bool TPeer::Execute(const TPlayerAction& action) {
    std::swap(Base::RandomSeed, Seed);
    std::swap(Base::AIRandomSeed, AISeed);
    const bool done = ExecuteAction(*Scenario, action);
    std::swap(Base::RandomSeed, Seed);
    std::swap(Base::AIRandomSeed, AISeed);
    return done;
}

void MakeAllPlayersLocal(TScenario& scenario) {
    for (TPlayer* player : scenario.Players)
        player->Type = ptLocal;
}

} // namespace LevelTests
