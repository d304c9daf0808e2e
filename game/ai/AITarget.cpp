#include "game/ai/AITarget.h"

#include "game/ai/AIHandler.h"
#include "game/world/cities/City.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/players/PlayerAction.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

namespace AIHandler {

using namespace GameData;

namespace {

// Cells of objects are their pixel positions over the cell size; a group's own
// CellX/CellY fields are its walk's bookkeeping, not its place.
int CellOf(int pixel) {
    return pixel / 40;
}

} // namespace

bool GetUnitCell(const TUnit& unit, int& x, int& y) {
    const TMapObject* holder = unit.GetGroup();
    if (!holder)
        holder = unit.GetCity();
    if (!holder)
        return false;
    x = CellOf(holder->X);
    y = CellOf(holder->Y);
    return true;
}

void TAITarget::Assign(const Data::TDataObject* source) {
    const auto* other = dynamic_cast<const TAITarget*>(source);
    if (!other) {
        TDataObject::Assign(source);
        return;
    }
    ID = other->ID;
    TargetID = other->TargetID;
    SecondID = other->SecondID;
    Valid = other->Valid;
    Kind = other->Kind;
    SecondKind = other->SecondKind;
    X = other->X;
    Y = other->Y;
    Radius = other->Radius;
}

void TAITarget::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    TargetID = stream->ReadValue<uint32_t>();
    Kind = stream->ReadValue<int32_t>();
    X = stream->ReadValue<int32_t>();
    Y = stream->ReadValue<int32_t>();
    Radius = stream->ReadValue<int32_t>();
    SecondID = stream->ReadValue<uint32_t>();
    SecondKind = stream->ReadValue<int32_t>();
    Valid = stream->ReadValue<uint8_t>();
}

void TAITarget::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteValue(TargetID);
    stream->WriteValue(Kind);
    stream->WriteValue(X);
    stream->WriteValue(Y);
    stream->WriteValue(Radius);
    stream->WriteValue(SecondID);
    stream->WriteValue(SecondKind);
    stream->WriteValue(Valid);
}

void TAITarget::Clear() {
    TargetID = 0;
    SecondID = 0;
    Valid = 0;
    Kind = tkNone;
    SecondKind = 0;
    X = -1;
    Y = -1;
    Radius = 0;
}

Data::TDataObject* TAITarget::Resolve() const {
    if (!Handler)
        return nullptr;
    switch (Kind) {
    case tkUnit:
        return Handler->Scenario.Units.FindByID(TargetID);
    case tkGroup:
        return Handler->Scenario.FindGroupByID(TargetID);
    case tkCity:
        return Handler->Scenario.FindObjectByID(TargetID);
    default:
        return nullptr;
    }
}

TUnit* TAITarget::GetUnit() const {
    return dynamic_cast<TUnit*>(Resolve());
}

TGroup* TAITarget::GetGroup() const {
    return dynamic_cast<TGroup*>(Resolve());
}

TCity* TAITarget::GetCity() const {
    return dynamic_cast<TCity*>(Resolve());
}

void TAITarget::SetTarget(const Data::TDataObject* object) {
    if (object) {
        TargetID = object->ID;
        Valid = Resolve() != nullptr;
    } else {
        TargetID = 0;
        Valid = Kind == tkCell;
    }
}

void TAITarget::SetSecond(const TUnit* unit) {
    SecondID = unit ? unit->ID : 0;
}

Data::TDataObject* TAITarget::ResolveSecond() const {
    if (!Handler)
        return nullptr;
    switch (SecondKind) {
    case 1:
        return Handler->Scenario.Units.FindByID(SecondID);
    case 2:
        return Handler->Scenario.FindGroupByID(SecondID);
    default:
        return nullptr;
    }
}

bool TAITarget::IsValid() {
    bool valid = Kind == tkCell || Kind == tkAlways;
    if (!valid) {
        const Data::TDataObject* object = Resolve();
        valid = object != nullptr;
        if (valid && Kind == tkUnit) {
            // A civilian cannot be fought, nor can a unit that stands nowhere.
            const auto* unit = static_cast<const TUnit*>(object);
            valid = (unit->GetGroup() || unit->GetCity()) && !unit->IsCivilian();
        }
    }
    Valid = valid;
    return valid;
}

bool TAITarget::IsVisible() const {
    if (!Handler)
        return false;
    const TPlayer& player = Handler->Player;
    switch (Kind) {
    case tkCell:
        return player.IsCellVisible(X, Y);
    case tkUnit: {
        const TUnit* unit = GetUnit();
        const TGroup* group = unit ? unit->GetGroup() : nullptr;
        return group && player.IsObjectVisible(*group);
    }
    case tkGroup: {
        const TGroup* group = GetGroup();
        return group && player.IsObjectVisible(*group);
    }
    case tkCity: {
        const TCity* city = GetCity();
        return city && player.Fog && player.Fog->IsAnyCellVisible(&city->Footprint);
    }
    default:
        return false;
    }
}

bool TAITarget::IsHostile() const {
    if (!Handler)
        return false;
    const TPlayer* owner = nullptr;
    switch (Kind) {
    case tkUnit: {
        const TUnit* unit = GetUnit();
        const TGroup* group = unit ? unit->GetGroup() : nullptr;
        owner = group ? group->GetOwner() : nullptr;
        break;
    }
    case tkGroup: {
        const TGroup* group = GetGroup();
        owner = group ? group->GetOwner() : nullptr;
        break;
    }
    case tkCity: {
        const TCity* city = GetCity();
        owner = city ? city->GetOwner() : nullptr;
        break;
    }
    default:
        break;
    }
    return owner && owner->GetRelation(&Handler->Player) == reEnemy;
}

void TAITarget::UpdatePosition() {
    if (!IsValid())
        return;
    if (Kind == tkUnit) {
        int x = -1;
        int y = -1;
        GetUnitCell(*GetUnit(), x, y);
        X = x;
        Y = y;
    } else if (Kind == tkGroup) {
        const TGroup* group = GetGroup();
        X = CellOf(group->X);
        Y = CellOf(group->Y);
    }
}

void TAITarget::SetPosition(const TSighting& sighting) {
    X = sighting.CellX;
    Y = sighting.CellY;
}

int32_t TAITarget::TravelDistanceFrom(int x, int y) const {
    if (!Handler)
        return TravelLimit;
    return Handler->Scenario.TravelDistance(X, Y, TravelLimit, &Handler->Player, y, x);
}

int32_t TAITarget::DistanceToUnit(const TUnit& unit) const {
    int x = 0;
    int y = 0;
    if (!GetUnitCell(unit, x, y))
        return TravelLimit;
    return TravelDistanceFrom(x, y);
}

int32_t TAITarget::DistanceToTarget(const TAITarget& other) const {
    return TravelDistanceFrom(other.X, other.Y);
}

} // namespace AIHandler
