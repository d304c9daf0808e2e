// Commands that create, remove, kill, move and find units and groups, hand cities
// over, and count units in cities and areas.
#include "game/script/commands/CommandHandlers.h"
#include "game/script/commands/CommandSupport.h"
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/scenario/UnitPlacement.h"
#include "platform/classlib/Exception.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace GameData {

using ClassLib::AnsiString;
using ClassLib::Format;
using ClassLib::IntToStr;

namespace {

constexpr int32_t KillDamage = 1000;

int32_t OnlyParameter(TConversation& c, AnsiString& params) {
    const int32_t value = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    return value;
}

TGroup* TalkingGroupOf(const TConversation& c) {
    return c.TalkingGroup;
}

int32_t TalkingGroupPlayer(const TConversation& c) {
    const TGroup* group = TalkingGroupOf(c);
    if (!group)
        c.ScriptError("No group to get PlayerIndex from!");
    return group->OwnerIndex;
}

void CheckCellOnMap(const TConversation& c, int32_t x, int32_t y) {
    if (!ScenarioOf(c).IsCellOnMap(x, y))
        c.ScriptError(Format("The cell is not on the map: (%d, %d).", x, y));
}

// Kind city, else "City object not found! ID = %d."; with wrongKind an object of
// another kind gets its own message.
TCity& CityOf(const TConversation& c, int32_t id, bool wrongKind) {
    TMapObject* object = ScenarioOf(c).FindObjectByID(static_cast<uint32_t>(id));
    if (object && object->Kind != okCity && wrongKind)
        c.ScriptError(Format("Object not city! ID=%d", id));
    auto* city = object && object->Kind == okCity ? dynamic_cast<TCity*>(object) : nullptr;
    if (!city)
        c.ScriptError(Format("City object not found! ID = %d.", id));
    return *city;
}

const TArea& AreaOf(const TConversation& c, int32_t id) {
    const TArea* area = id == 0 ? nullptr : ScenarioOf(c).Areas.FindByID(uint32_t(id));
    if (!area)
        c.ScriptError(Format("Area not found: %d.", id));
    return *area;
}

TGroup* GroupOf(const TUnit& unit) {
    return unit.Owner ? unit.Owner->AsGroup() : nullptr;
}

TCity* CityOfOwner(const TUnit& unit) {
    return unit.Owner ? unit.Owner->AsCity() : nullptr;
}

// A unit made from the prototype at the level, owned by the caller until placed.
std::unique_ptr<TUnit> NewUnitOfPrototype(const TConversation& c, int32_t prototypeID,
                                          int32_t level) {
    const Data2::TUnitPrototype* prototype =
        Data2::GlobalData ? Data2::FindUnitPrototypeByID(prototypeID) : nullptr;
    if (!prototype)
        c.ScriptError(AnsiString("Bad prototype ID! ID = ") + IntToStr(prototypeID));
    auto unit = std::make_unique<TUnit>();
    unit->InitFromPrototype(*prototype);
    // Experience is a 16-bit word: levels beyond the last would overflow it.
    unit->Own.Level() = static_cast<int16_t>(std::min(level, MaxUnitLevel));
    unit->Own.RecalcValues();
    unit->Own.ResetExperience();
    unit->Own.ResetMorale();
    unit->Own.UpdateSpells();
    unit->Own.RandomizeBase();
    unit->RecalculateStats(true);
    return unit;
}

// Removing a unit may take its group off the map: the talking group is found again
// by its identifier, so the conversation never keeps a freed group.
class TTalkingGroupGuard {
public:
    explicit TTalkingGroupGuard(TConversation& c) : FConversation(c) {
        TScenario& scenario = ScenarioOf(c);
        if (c.TalkingGroup && scenario.FindObjectByID(c.TalkingGroup->ID) == c.TalkingGroup)
            FID = c.TalkingGroup->ID;
    }
    ~TTalkingGroupGuard() {
        if (FID != 0)
            FConversation.TalkingGroup =
                static_cast<TGroup*>(ScenarioOf(FConversation).FindObjectOfKind(FID, okGroup));
    }
    TTalkingGroupGuard(const TTalkingGroupGuard&) = delete;
    TTalkingGroupGuard& operator=(const TTalkingGroupGuard&) = delete;

private:
    TConversation& FConversation;
    uint32_t FID = 0;
};

} // namespace

bool PlaceUnitOfPrototypeCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t given = c.NextExpression(params);
    const int32_t prototypeID = c.NextExpression(params);
    const int32_t level = c.NextExpression(params);
    const int32_t x = c.NextExpression(params);
    const int32_t y = c.NextExpression(params);
    const int32_t unitID = c.NextOptionalExpression(params, 0);
    c.CheckNoMoreParameters(params);
    if (given < -1 || given >= MaxPlayers)
        c.ScriptError(AnsiString("[PlaceUnitOfPrototype] Bad player index: ") + IntToStr(given));
    const int32_t player = given == -1 ? TalkingGroupPlayer(c) : given;
    // A talking group of no player has nobody to place for.
    if (player < 0 || player >= MaxPlayers)
        c.ScriptError(AnsiString("[PlaceUnitOfPrototype] Bad player index: ") + IntToStr(player));
    if (level < 1)
        c.ScriptError(AnsiString("Level cannot be less than 1! Level = ") + IntToStr(level));
    CheckCellOnMap(c, x, y);
    TScenario& scenario = ScenarioOf(c);
    // Refused before anything is made: two units must never share an identifier.
    if (unitID != 0 && scenario.Units.FindByID(uint32_t(unitID)))
        c.ScriptError(Format("Object with given ID is already in list (%d).", unitID));
    std::unique_ptr<TUnit> unit = NewUnitOfPrototype(c, prototypeID, level);
    unit->ID = unitID != 0 ? uint32_t(unitID) : scenario.NewObjectID();
    const uint32_t id = unit->ID;
    // Registered under its given identifier; it may join a group of its player with room.
    scenario.PlaceNewUnit(uint8_t(player), x, y,
                          {.AllowJoin = true, .NewID = false, .GiveToAI = true}, std::move(unit));
    c.UnitsPlaced = true;
    c.Locals[0] = int32_t(id);
    return true;
}

bool DeleteUnitCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t unitID = c.NextExpression(params);
    const int32_t toOffline = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    TUnit* unit = FindUnit(c, unitID);
    if (!unit)
        return true;
    TScenario& scenario = ScenarioOf(c);
    const int player = PlayerIndexOf(scenario, *unit);
    if (toOffline != 0 && player >= 0 && player == scenario.CurrentPlayerIndex &&
        scenario.CurrentPlayer && scenario.CurrentPlayer->Type == ptComputer)
        c.ScriptError("[DeleteUnit] Moving unit to offline in same player's turn!");
    const TTalkingGroupGuard guard(c);
    const bool destroy = toOffline == 0;
    scenario.RemoveUnit(unit, destroy, true);
    if (!destroy)
        scenario.LooseUnits.Add(unit);
    // What the unit's group saw its player may see no longer.
    scenario.UpdateVisibilityOfIndex(player);
    return true;
}

bool KillUnitCommand(TConversation& c, AnsiString& params, AnsiString&) {
    TUnit* unit = FindUnit(c, OnlyParameter(c, params));
    if (!unit)
        return true;
    const TTalkingGroupGuard guard(c);
    unit->KilledByScript = 1;
    int16_t& hitPoints = unit->Own.Value(HITPOINTS);
    hitPoints = static_cast<int16_t>(std::max<int32_t>(hitPoints - KillDamage, INT16_MIN));
    unit->RecalculateStats(true);
    // The scenario's next updates take the dead away.
    ScenarioOf(c).FlagDeadUnits();
    return true;
}

bool LivesUnitCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const TUnit* unit = FindUnit(c, OnlyParameter(c, params));
    c.Locals[0] = unit && !unit->IsDead() ? 1 : 0;
    return true;
}

bool SetCityOwnerCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t cityID = c.NextExpression(params);
    int32_t player = c.NextOptionalExpression(params, -1);
    const int32_t mode = c.NextOptionalExpression(params, 0);
    c.CheckNoMoreParameters(params);
    TCity& city = CityOf(c, cityID, true);
    // Negative: the player whose turn it is, not the talking group's.
    if (player < 0)
        player = ScenarioOf(c).CurrentPlayerIndex;
    if (player < 0 || player >= MaxPlayers)
        c.ScriptError(Format("Invalid player index: %d.", player));
    city.ChangeOwner(uint8_t(player), mode);
    return true;
}

bool GetUnitPositionCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const TUnit& unit = UnitOf(c, OnlyParameter(c, params));
    if (const TGroup* group = GroupOf(unit)) {
        c.Locals[0] = group->X / CellSize;
        c.Locals[1] = group->Y / CellSize;
    } else if (const TCity* city = CityOfOwner(unit)) {
        c.Locals[0] = -1;
        c.Locals[1] = int32_t(city->ID);
    } else {
        c.Locals[0] = -2;
        c.Locals[1] = 0;
    }
    return true;
}

bool PlaceUnitsToCityCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t cityID = c.NextExpression(params);
    const int32_t civilian = c.NextExpression(params);
    if (civilian != 0 && civilian != 1)
        c.ScriptError("Flag can be only 0 or 1");
    const std::vector<int32_t> unitIDs = ReadUnitList(c, params);
    c.CheckNoMoreParameters(params);
    if (unitIDs.empty())
        c.ScriptError(Format("Command should have at least %d parameters!", 3));
    TCity& city = CityOf(c, cityID, true);
    TScenario& scenario = ScenarioOf(c);
    for (const int32_t id : unitIDs) {
        TUnit* unit = FindUnit(c, id);
        if (!unit || !IsOffline(*unit))
            continue;
        scenario.LooseUnits.Remove(unit);
        unit->Marker = CityOwnerByte; // serves whoever owns the city
        if (civilian)
            city.AddCivilian(unit, true);
        else
            city.AddOtherUnit(unit, true);
    }
    return true;
}

bool MoveGroupCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t x = c.NextExpression(params);
    const int32_t y = c.NextExpression(params);
    const int32_t unitID = c.NextOptionalExpression(params, 0);
    c.CheckNoMoreParameters(params);
    TGroup* group = nullptr;
    if (unitID == 0) {
        group = TalkingGroupOf(c);
        if (!group)
            c.ScriptError("No group to move!");
    } else {
        const TUnit& unit = UnitOf(c, unitID);
        group = GroupOf(unit);
        if (!group)
            c.ScriptError(Format("Unit %d is not in group", unitID));
    }
    CheckCellOnMap(c, x, y);
    TScenario& scenario = ScenarioOf(c);
    const int index = scenario.IndexOfObject(group);
    if (index < 0)
        c.ScriptError(Format("The group is not on the map: %d.", int32_t(group->ID)));
    if (!IsCellFree(scenario, x, y, group))
        c.ScriptError(Format("The cell is taken: (%d, %d).", x, y));
    const TPoint centre = CellToPixelCentre(x, y);
    scenario.MoveObject(index, centre.X, centre.Y);
    scenario.FloodFillCosts(x, y, *group);
    group->UpdateOwnerVisibility();
    return true;
}

bool SquareEmptyCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t x = c.NextExpression(params);
    const int32_t y = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    c.Locals[0] = IsCellFree(ScenarioOf(c), x, y) ? 1 : 0;
    return true;
}

bool GetMoneyCommand(TConversation& c, AnsiString& params, AnsiString&) {
    int32_t player = c.NextOptionalExpression(params, -1);
    c.CheckNoMoreParameters(params);
    if (player == -1)
        player = TalkingGroupPlayer(c);
    // An index without a player is refused like one out of range.
    const TPlayer* found =
        player >= 0 && player < MaxPlayers ? ScenarioOf(c).PlayerAt(player) : nullptr;
    if (!found)
        c.ScriptError(Format("Invalid player index: %d.", player));
    c.Locals[0] = found->Gold;
    return true;
}

bool UnitInAreaCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t areaID = c.NextExpression(params);
    const int32_t unitID = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    const TArea& area = AreaOf(c, areaID);
    c.Locals[0] = 0;
    const TUnit* unit = FindUnit(c, unitID);
    const TGroup* group = unit ? GroupOf(*unit) : nullptr;
    if (group && ScenarioOf(c).IndexOfObject(group) >= 0)
        c.Locals[0] =
            area.ContainsCell(group->TMapObject::CellX(), group->TMapObject::CellY()) ? 1 : 0;
    return true;
}

bool UnitsInCityCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t cityID = c.NextExpression(params);
    const std::vector<int32_t> unitIDs = ReadUnitList(c, params);
    const TCity& city = CityOf(c, cityID, false);
    bool all = true;
    for (const int32_t id : unitIDs) {
        const TUnit* unit = FindUnit(c, id);
        all = unit && (CityOfOwner(*unit) == &city || GroupOf(*unit) == city.GateGroup.get());
        if (!all)
            break;
    }
    c.Locals[0] = all ? 1 : 0;
    return true;
}

bool GetControllerCommand(TConversation& c, AnsiString& params, AnsiString&) {
    c.Locals[0] = CityOf(c, OnlyParameter(c, params), false).Owner;
    return true;
}

bool GetUnitsInAreaCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t areaID = c.NextExpression(params);
    const int32_t player = c.NextOptionalExpression(params, -1);
    c.CheckNoMoreParameters(params);
    if (player < -1 || player >= MaxPlayers)
        c.ScriptError(Format("GetUnitsInArea: bad player index: %d.", player));
    const TArea& area = AreaOf(c, areaID);
    const TScenario& scenario = ScenarioOf(c);
    int32_t count = 0;
    for (int i = 0; i < scenario.Units.Count(); ++i) {
        const TUnit& unit = *scenario.Units[i];
        const TGroup* group = GroupOf(unit);
        if (unit.IsDead() || !group || scenario.IndexOfObject(group) < 0)
            continue;
        if ((player == -1 || group->OwnerIndex == player) &&
            area.ContainsCell(group->TMapObject::CellX(), group->TMapObject::CellY()))
            ++count;
    }
    c.Locals[0] = count;
    return true;
}

} // namespace GameData
