// What happens to a city in play: units moved between its places, a change of
// owner, groups entering and leaving, the owner's new turn and the per-tick update.
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

namespace GameData {

namespace {

int DefenderScore(const TUnit& unit) {
    const TUnitStats& s = unit.Effective;
    return s.Value(DEFENCE) * 100 + s.Value(HITPOINTS) * 75 + s.Value(COUNTERATTACK) * 50 +
           s.Value(ATTACK) * 25 + s.AtLevel(MANA) * 12;
}

int CompareOtherUnits(const TUnit* a, const TUnit* b) {
    if (a->Marker != b->Marker)
        return a->Marker > b->Marker ? 1 : -1;
    const int scoreA = DefenderScore(*a);
    const int scoreB = DefenderScore(*b);
    return scoreA > scoreB ? 1 : scoreA < scoreB ? -1 : 0;
}

} // namespace

void TCity::PostMoveUnit(uint32_t from, uint32_t unitID, uint32_t to, int32_t row) const {
    if (Scenario && Scenario->CurrentPlayer)
        Scenario->CurrentPlayer->PostAction(
            true, MakeAction(acMoveCityUnit, from, unitID, to, static_cast<uint32_t>(row)));
}

bool TCity::MoveUnit(uint32_t from, uint32_t unitID, uint32_t to, int32_t row) {
    if (from > cpCivilians || to > cpCivilians)
        return false;
    TUnit* unit = Scenario ? Scenario->Units.FindByID(unitID) : nullptr;
    if (!unit)
        return false;
    // The unit must stand in the place it is taken from.
    const bool inPlace = from == cpGateGroup    ? GateGroup->FindUnitByID(unitID) == unit
                         : from == cpDefenders  ? IsDefender(*unit)
                         : from == cpOtherUnits ? IsOtherUnit(*unit)
                                                : IsCivilian(*unit);
    if (!inPlace)
        return false;
    if (from == to && from != cpDefenders)
        return true;
    if (to == cpDefenders) {
        if (row == -1 && from != cpDefenders)
            for (int r = 0; r < RowCount && row == -1; ++r)
                if (DefenderCountInRow(r) < DefenderRowSize)
                    row = r;
        if (from == cpDefenders && (row == -1 || row == FindDefenderRow(*unit)))
            return true;
        if (row < 0 || row >= RowCount || DefenderCountInRow(row) >= DefenderRowSize)
            return false;
    }
    if (to == cpGateGroup && GateGroup->UnitCount() >= MaxGroupUnits)
        return false;

    switch (from) {
    case cpGateGroup:
        GateGroup->RemoveUnit(unit, false, false);
        break;
    case cpDefenders:
        RemoveDefender(unit, false, false);
        break;
    case cpOtherUnits:
        RemoveOtherUnit(unit, false, false);
        break;
    default:
        RemoveCivilian(unit, false, false);
    }
    switch (to) {
    case cpGateGroup:
        GateGroup->AddUnit(unit, false);
        break;
    case cpDefenders:
        AddDefender(row, unit, false);
        break;
    case cpOtherUnits:
        AddOtherUnit(unit, false);
        break;
    default:
        AddCivilian(unit, false);
    }
    return true;
}

void TCity::TakeOver(TUnit& unit, uint8_t newOwner) {
    if (TPlayer* player = GetUnitPlayer(unit); player && player->AI)
        player->AI->RemoveAIUnit(unit, true);
    unit.Marker = CityOwnerByte;
    if (TPlayer* player = Scenario->PlayerAt(newOwner); player && player->AI)
        player->AI->AddAIUnit(unit);
}

void TCity::DeleteUnitOf(TUnit* unit, bool tellPlanner) {
    // The planner lets go before the unit goes, so it never holds a deleted unit.
    RemoveUnit(unit, true, tellPlanner);
}

void TCity::ChangeOwner(uint8_t newOwner, int mode) {
    if (Owner == newOwner)
        return;
    const uint8_t old = Owner;
    const auto visit = [&](TUnit* unit, bool defender) {
        uint8_t& p = unit->Marker;
        if (mode == ocKeepLoyalty) {
            // The old side's defenders leave the rows; the new owner's own units,
            // now serving the city's owner, keep defending it.
            const bool oldSide = p == CityOwnerByte || p == old;
            if (p == CityOwnerByte)
                p = old;
            else if (p == newOwner)
                p = CityOwnerByte;
            if (defender && oldSide)
                MoveUnit(cpDefenders, unit->ID, cpOtherUnits, 0);
            return;
        }
        if (p != old && p != CityOwnerByte) {
            if (p == newOwner)
                p = CityOwnerByte;
            else if (mode == ocTakeOverAll)
                TakeOver(*unit, newOwner);
            return;
        }
        if (mode == ocConquest && unit->IsHero)
            DeleteUnitOf(unit, true);
        else
            TakeOver(*unit, newOwner);
    };
    for (int i = OtherUnits.Count() - 1; i >= 0; --i)
        visit(OtherUnits[i], false);
    for (int place = DefenderPlaceCount() - 1; place >= 0; --place)
        if (TUnit* unit = DefenderSlots[size_t(place)])
            visit(unit, true);
    for (int i = Civilians.Count() - 1; i >= 0; --i)
        visit(Civilians[i], false);
    Owner = newOwner;
    ExpelHostileUnits();
}

void TCity::ExpelHostileUnits() {
    const TPlayer* owner = GetOwner();
    if (!owner)
        return;
    const auto hostile = [&](const TUnit& unit) {
        return owner->GetRelation(GetUnitPlayer(unit)) == reEnemy;
    };
    for (int i = OtherUnits.Count() - 1; i >= 0; --i)
        if (hostile(*OtherUnits[i]))
            DeleteUnitOf(OtherUnits[i], true);
    for (int place = DefenderPlaceCount() - 1; place >= 0; --place)
        if (TUnit* unit = DefenderSlots[size_t(place)]; unit && hostile(*unit))
            DeleteUnitOf(unit, true);
    for (int i = Civilians.Count() - 1; i >= 0; --i)
        if (hostile(*Civilians[i]))
            DeleteUnitOf(Civilians[i], true);
}

void TCity::EnterGroup(TGroup& group) {
    Scenario->InCity = 1;
    GateGroup->OwnerIndex = group.OwnerIndex;
    const TPlayer* groupOwner = group.GetOwner();
    if (groupOwner && groupOwner->GetRelation(GetOwner()) == reEnemy) {
        ChangeOwner(group.OwnerIndex, ocConquest);
        group.UpdateOwnerVisibility();
    }
    group.PayEntryCost(*this);
    if (Scenario->CurrentPlayer)
        Scenario->CurrentPlayer->SelectObject(GateGroup.get());
    for (int i = group.UnitCount() - 1; i >= 0; --i) {
        TUnit* unit = group.Units[size_t(i)];
        unit->Marker = group.OwnerIndex;
        group.RemoveUnitAt(i, false, false);
        GateGroup->AddUnit(unit, false);
    }
    Scenario->RemoveObject(&group, 0);
}

void TCity::PrepareLeave() {
    GateGroup->OwnerIndex = uint8_t(Scenario->CurrentPlayerIndex);
    if (Scenario->CurrentPlayer)
        Scenario->CurrentPlayer->SelectObject(this);
    // Orders from the gate plan over the gate group's points from the exit.
    Scenario->FloodFillCostsFromCells(ExitArea.Cells, *GateGroup);
    Scenario->InCity = 0;
}

void TCity::NewTurn() {
    for (TUnit* unit : OtherUnits)
        unit->NewTurn();
    for (TUnit* unit : DefenderSlots)
        if (unit)
            unit->NewTurn();
    const int minimum = Data2::GlobalData->GameConstants[Data2::gcCityDefenderMorale];
    for (int place = DefenderPlaceCount() - 1; place >= 0; --place) {
        TUnit* unit = DefenderSlots[size_t(place)];
        if (unit && unit->Effective.Morale() < minimum) {
            RemoveDefenderAt(place, false, false);
            AddOtherUnit(unit, false);
        }
    }
}

void TCity::Update() {
    TMapObject::Tick();
    GateGroup->AgeWounds();
    DefenderGroup->AgeWounds();
    AnsiString name = Caption;
    for (int row = 0; row < RowCount; ++row) {
        if (DefenderCountInRow(row) == 0)
            continue;
        name += "\nDefenders: ";
        for (int i = 0; i < DefenderRowSize; ++i)
            if (const TUnit* unit = DefenderSlots[size_t(row * DefenderRowSize + i)]) {
                if (i > 0)
                    name += ", ";
                name += unit->DisplayName();
            }
        break;
    }
    Name = name;
}

void TCity::SortOtherUnits() {
    OtherUnits.Sort(CompareOtherUnits);
}

} // namespace GameData
