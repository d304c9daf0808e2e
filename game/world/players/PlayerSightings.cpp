#include "game/world/cities/City.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/Drawings.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

namespace GameData {

namespace {

bool IsOwnOrFriend(int8_t relation) {
    return relation == RelationSelf || relation == reFriendly;
}

const TArea& SightOf(const TLocation& location) {
    return location.SightArea.Cells.Count() > 0 ? location.SightArea : location.Footprint;
}

} // namespace

bool TPlayer::HasAccessToCity(const TCity& city) const {
    if (IsOwnOrFriend(GetRelationToCity(&city)))
        return true;
    const auto isMine = [&](const TUnit* unit) {
        return unit && city.GetUnitPlayer(*unit) == this;
    };
    if (city.GateGroup)
        for (const TUnit* unit : city.GateGroup->Units)
            if (isMine(unit))
                return true;
    for (int i = 0; i < city.OtherUnits.Count(); ++i)
        if (isMine(city.OtherUnits[i]))
            return true;
    return false;
}

bool TPlayer::IsCellVisible(int x, int y) const {
    return Fog && Fog->GetCell(x, y, fsUnexplored) == fsVisible;
}

bool TPlayer::IsObjectVisible(const TMapObject& object) const {
    if (!Fog)
        return true;
    const int x = object.X / 40;
    const int y = object.Y / 40;
    switch (object.Kind) {
    case okCorpse:
    case okNaturalCorpse:
        return Fog->IsOnGrid(x, y) && static_cast<const TDrawing&>(object).Shown != 0;
    case okCity:
    case okBuilding: {
        const TArea& sight = SightOf(static_cast<const TLocation&>(object));
        return Fog->AreAllCellsExplored(&sight);
    }
    case okGroup: {
        if (!Fog->IsOnGrid(x, y))
            return false;
        const auto& group = static_cast<const TGroup&>(object);
        if (GetRelationToGroup(&group) == RelationSelf)
            return true;
        if (Scenario->CurrentPlayer == this)
            return group.Spotted != 0;
        return IsCellVisible(x, y);
    }
    default:
        return IsCellVisible(x, y);
    }
}

bool TPlayer::IsObjectShown(const TMapObject& object) const {
    switch (object.Kind) {
    case okGroup:
    case okBuilding:
    case okCorpse:
    case okCity:
    case okNaturalCorpse:
        return IsObjectVisible(object);
    default:
        return true;
    }
}

void TPlayer::UpdateSightings(bool announce) {
    // Corpses are marked seen with their drawing.
    const int index = Scenario->IndexOfPlayer(this);
    for (int i = 0; i < Scenario->Objects.Count(); ++i) {
        TMapObject* object = Scenario->Objects[i];
        if (object->Kind != okCity && object->Kind != okBuilding)
            continue;
        const TArea& sight = SightOf(*static_cast<TLocation*>(object));
        if (!Fog->IsAnyCellVisible(&sight) || Fog->AreAllCellsExplored(&sight))
            continue;
        Fog->RaiseArea(&sight, fsExplored);
        Scenario->TriggerConversations(index, ceLocationFound, int32_t(object->ID));
        if (announce) {
            Spotted = 1;
            GroupSpotted = 0;
            LocationFound = 1;
        }
    }

    for (TArea* area : Scenario->Areas)
        if (Fog->IsAnyCellVisible(area))
            Scenario->TriggerConversations(index, ceAreaSeen, int32_t(area->ID));

    for (int i = 0; i < Scenario->Objects.Count(); ++i) {
        TMapObject* object = Scenario->Objects[i];
        if (object->Kind != okGroup)
            continue;
        auto* group = static_cast<TGroup*>(object);
        if (GetRelationToGroup(group) == RelationSelf || !group->IsOnMap() ||
            !IsCellVisible(group->TMapObject::CellX(), group->TMapObject::CellY()) ||
            group->Spotted)
            continue;
        group->Spotted = 1;
        group->Invalidated = 1;
        Scenario->RebuildOccupancyGrid();
        for (const TUnit* unit : group->Units)
            if (unit)
                Scenario->TriggerConversations(index, ceUnitSpotted, int32_t(unit->ID));
        if (!announce)
            continue;
        Spotted = 1;
        GroupSpotted = 1;
        LocationFound = 0;
        for (int p = 0; p < Scenario->PlayerCount(); ++p) {
            TPlayer* viewer = Scenario->Players[p];
            if (!IsOwnOrFriend(GetRelation(viewer)))
                continue;
            for (const TUnit* unit : group->Units) {
                if (!unit)
                    continue;
                auto sighting = std::make_unique<TSighting>();
                sighting->Kind = skUnitSpotted;
                sighting->CellX = uint16_t(group->TMapObject::CellX());
                sighting->CellY = uint16_t(group->TMapObject::CellY());
                sighting->UnitID = unit->ID;
                viewer->PushSighting(std::move(sighting));
            }
        }
    }
}

void TPlayer::UpdateVisibility() {
    Scenario->UpdatePlayerVisibility(this);
}

} // namespace GameData
