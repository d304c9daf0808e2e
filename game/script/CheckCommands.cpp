#include "game/script/CheckCommands.h"

#include "game/script/Check.h"
#include "game/script/QuestObjective.h"
#include "game/script/ScriptConditions.h"
#include "game/script/WorldQueries.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"

#include <array>

namespace GameData {

using ClassLib::AnsiString;
using ClassLib::Format;

namespace {

TScenario& ScenarioOf(const TCheck& check) {
    if (!check.Scenario)
        check.ScriptError("The script has no scenario.");
    return *check.Scenario;
}

TUnit* FindUnit(const TCheck& check, int32_t id) {
    return ScenarioOf(check).Units.FindByID(static_cast<uint32_t>(id));
}

// Unit IDs up to the first 0; the rest of the list is ignored.
template <typename Visit>
void ForEachListedUnit(TCheck& check, AnsiString& params, Visit visit) {
    for (int32_t id = check.NextOptionalExpression(params, 0); id != 0;
         id = check.NextOptionalExpression(params, 0))
        if (!visit(id))
            return;
}

// -1 for every player, else any player slot: a slot the scenario leaves empty
// counts nothing, so one script serves scenarios with fewer players.
void CheckPlayerFilter(const TCheck& check, int32_t player, const char* message) {
    if (player < -1 || player >= MaxPlayers)
        check.ScriptError(Format(message, player));
}

const TArea& AreaOf(const TCheck& check, int32_t id) {
    const TArea* area =
        id == 0 ? nullptr : ScenarioOf(check).Areas.FindByID(static_cast<uint32_t>(id));
    if (!area)
        check.ScriptError(Format("Area not found: %d.", id));
    return *area;
}

const TCity& CityOf(const TCheck& check, int32_t id) {
    const TMapObject* city = ScenarioOf(check).FindObjectOfKind(static_cast<uint32_t>(id), okCity);
    if (!city)
        check.ScriptError(Format("City object not found! ID = %d.", id));
    return static_cast<const TCity&>(*city);
}

bool StandsInArea(const TUnit& unit, const TArea& area) {
    // The cell under the group's pixel position, which moves with it step by step.
    const TMapObject* group = unit.GetGroup();
    return group && area.ContainsCell(group->CellX(), group->CellY());
}

// LOCAL0 := how many of the scenario's units pass the test.
template <typename Test>
bool CountUnits(TCheck& check, Test test) {
    const TScenario& scenario = ScenarioOf(check);
    int32_t count = 0;
    for (const TUnit* unit : scenario.Units)
        if (test(scenario, *unit))
            ++count;
    check.Locals[0] = count;
    return true;
}

bool Crlf(TCheck&, AnsiString&) {
    return true;
}

bool Set(TCheck& check, AnsiString& params) {
    int32_t& variable = check.FindVariable(check.NextParameter(params));
    const int32_t value = check.NextExpression(params);
    check.CheckNoMoreParameters(params);
    variable = value;
    return true;
}

bool IfEqual(TCheck& check, AnsiString& params) {
    return EvaluateCondition(check, params, TScriptCondition::Equal);
}
bool IfGreater(TCheck& check, AnsiString& params) {
    return EvaluateCondition(check, params, TScriptCondition::Greater);
}
bool IfUnequal(TCheck& check, AnsiString& params) {
    return EvaluateCondition(check, params, TScriptCondition::Unequal);
}
bool IfTrue(TCheck& check, AnsiString& params) {
    return EvaluateCondition(check, params, TScriptCondition::True);
}
bool IfFalse(TCheck& check, AnsiString& params) {
    return EvaluateCondition(check, params, TScriptCondition::False);
}

bool GetRandom(TCheck& check, AnsiString& params) {
    StoreRandom(check, params);
    return true;
}

bool SetResult(TCheck& check, AnsiString& params) {
    check.Result = OnlyExpression(check, params);
    return true;
}

bool LivesUnit(TCheck& check, AnsiString& params) {
    const TUnit* unit = FindUnit(check, OnlyExpression(check, params));
    check.Locals[0] = unit && !unit->IsDead() ? 1 : 0;
    return true;
}

bool LiveUnitsAnd(TCheck& check, AnsiString& params) {
    bool all = true;
    ForEachListedUnit(check, params, [&](int32_t id) {
        all = all && FindUnit(check, id) != nullptr;
        return true;
    });
    check.Locals[0] = all ? 1 : 0;
    return true;
}

bool LiveUnitsOr(TCheck& check, AnsiString& params) {
    bool any = false;
    ForEachListedUnit(check, params, [&](int32_t id) {
        any = any || FindUnit(check, id) != nullptr;
        return true;
    });
    check.Locals[0] = any ? 1 : 0;
    return true;
}

bool GetPrototypeCount(TCheck& check, AnsiString& params) {
    const int32_t prototypeID = check.NextExpression(params);
    const int32_t player = check.NextOptionalExpression(params, -1);
    CheckPlayerFilter(check, player, "LivesPrototype: bad player index: %d.");
    // Dead units count; units in cities do not.
    return CountUnits(check, [&](const TScenario& scenario, const TUnit& unit) {
        return unit.GetGroup() && unit.Prototype && unit.Prototype->ID == prototypeID &&
               (player == -1 || PlayerIndexOfUnit(scenario, unit) == player);
    });
}

bool GetUnitsInArea(TCheck& check, AnsiString& params) {
    const int32_t areaID = check.NextExpression(params);
    const int32_t player = check.NextOptionalExpression(params, -1);
    check.CheckNoMoreParameters(params);
    CheckPlayerFilter(check, player, "GetUnitsInArea: bad player index: %d.");
    const TArea& area = AreaOf(check, areaID);
    return CountUnits(check, [&](const TScenario& scenario, const TUnit& unit) {
        return !unit.IsDead() && StandsInArea(unit, area) &&
               (player == -1 || PlayerIndexOfUnit(scenario, unit) == player);
    });
}

bool UnitInArea(TCheck& check, AnsiString& params) {
    const int32_t areaID = check.NextExpression(params);
    const int32_t unitID = check.NextExpression(params);
    check.CheckNoMoreParameters(params);
    const TArea& area = AreaOf(check, areaID);
    const TUnit* unit = FindUnit(check, unitID);
    check.Locals[0] = unit && StandsInArea(*unit, area) ? 1 : 0;
    return true;
}

bool GetTurn(TCheck& check, AnsiString&) {
    check.Locals[0] = ScriptTurn(ScenarioOf(check));
    return true;
}

bool GetUnits(TCheck& check, AnsiString& params) {
    const int32_t player = OnlyExpression(check, params);
    return CountUnits(check, [&](const TScenario& scenario, const TUnit& unit) {
        return (unit.GetGroup() || unit.GetCity()) && PlayerIndexOfUnit(scenario, unit) == player;
    });
}

bool GetController(TCheck& check, AnsiString& params) {
    check.Locals[0] = CityOf(check, OnlyExpression(check, params)).Owner;
    return true;
}

bool GetHeroID(TCheck& check, AnsiString& params) {
    check.CheckNoMoreParameters(params);
    if (!check.Owner)
        check.ScriptError("The check belongs to no quest.");
    check.Locals[0] = check.Owner->GivenID;
    return true;
}

bool UnitsInCity(TCheck& check, AnsiString& params) {
    const TCity& city = CityOf(check, check.NextExpression(params));
    const TGroup* gate = city.GateGroup.get();
    bool all = true;
    ForEachListedUnit(check, params, [&](int32_t id) {
        const TUnit* unit = FindUnit(check, id);
        all = unit && (unit->GetCity() == &city || (gate && unit->GetGroup() == gate));
        return all;
    });
    check.Locals[0] = all ? 1 : 0;
    return true;
}

struct TCommandEntry {
    std::string_view Name;
    TCheckCommand Command;
};

constexpr std::array<TCommandEntry, 20> Commands{{
    {"CRLF", Crlf},
    {"SET", Set},
    {"IFEQUAL", IfEqual},
    {"IFGREATER", IfGreater},
    {"IFUNEQUAL", IfUnequal},
    {"IFTRUE", IfTrue},
    {"IFFALSE", IfFalse},
    {"GETRANDOM", GetRandom},
    {"SETRESULT", SetResult},
    {"LIVESUNIT", LivesUnit},
    {"LIVEUNITSAND", LiveUnitsAnd},
    {"LIVEUNITSOR", LiveUnitsOr},
    {"GETPROTOTYPECOUNT", GetPrototypeCount},
    {"GETUNITSINAREA", GetUnitsInArea},
    {"UNITINAREA", UnitInArea},
    {"GETTURN", GetTurn},
    {"GETUNITS", GetUnits},
    {"GETCONTROLLER", GetController},
    {"GETHEROID", GetHeroID},
    {"UNITSINCITY", UnitsInCity},
}};

} // namespace

TCheckCommand FindCheckCommand(std::string_view name) {
    for (const TCommandEntry& entry : Commands)
        if (entry.Name == name)
            return entry.Command;
    return nullptr;
}

} // namespace GameData
