#include "game/world/players/Player.h"

#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/ThreadTermination.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"

#include <cmath>
#include <span>

namespace GameData {

TPlayer::TPlayer(TScenario* scenario) : Scenario(scenario) {
    Fog = std::make_unique<TFog>(this);
    AI = scenario->CreatePlanner(*this);
}

TPlayer::~TPlayer() {
    StopThread();
}

void TPlayer::Clear() {
    TDataObject::Clear();
    Type = ptLocal;
    Gold = 0;
    Color = 0;
    Name.clear();
    SpriteID = 0;
    Fog->Clear();
    Fog->UpdateImage();
    Relations = {};
    RevealedAreas.Clear();
    Blocked = Spotted = GroupSpotted = LocationFound = 0;
    Area.Clear();
    Texts1.Clear();
    Texts2.Clear();
    MetPrototypes.Clear();
}

int8_t TPlayer::GetRelation(const TPlayer* other) const {
    const int index = Scenario->IndexOfPlayer(other);
    if (index < 0)
        return RelationNone;
    if (other == this)
        return RelationSelf;
    return static_cast<int8_t>(Relations[static_cast<size_t>(index)]);
}

int8_t TPlayer::GetRelationToGroup(const TGroup* group) const {
    return group ? GetRelation(group->GetOwner()) : RelationNone;
}

int8_t TPlayer::GetRelationToCity(const TCity* city) const {
    return city ? GetRelation(city->GetOwner()) : RelationNone;
}

int32_t TPlayer::ApplyDifficulty(int32_t value) const {
    const TGameSettings* settings = Scenario->Settings;
    if (Scenario->Networked != 0 || Type != ptComputer || !settings || !Data2::GlobalData ||
        GetRelation(Scenario->PlayerAt(1)) != reEnemy)
        return value;
    const int32_t difficulty = settings->Difficulty;
    if (difficulty < 0 || difficulty > 2)
        return value;
    const int64_t percent = Data2::GlobalData->GameConstants[Data2::gcFirstDifficulty + difficulty];
    return static_cast<int32_t>(std::floor(double(int64_t(value) * percent) * 0.01 + 0.5));
}

int TPlayer::MaximumUnitLevel() const {
    return static_cast<int>(Scenario->MaxUnitLevel);
}

Gfx::TSprite* TPlayer::GetPlayerSprite() const {
    return Scenario->PlayerSpriteLibrary.FindSprite(SpriteID);
}

void TPlayer::AddMetPrototype(const TUnit* unit) {
    if (!unit || !unit->Prototype)
        return;
    const uint32_t id = static_cast<uint32_t>(unit->Prototype->ID);
    if (MetPrototypes.IndexOf(id) < 0)
        MetPrototypes.Add(id);
}

void TPlayer::UpdateMetPrototypes() {
    if (Type != ptLocal && Type != ptRemote)
        return;
    const auto addAll = [this](std::span<TUnit* const> units) {
        for (const TUnit* unit : units)
            AddMetPrototype(unit);
    };
    for (TMapObject* object : Scenario->Objects) {
        if ((object->Kind != okGroup && object->Kind != okCity) || !IsObjectVisible(*object))
            continue;
        if (object->Kind == okGroup) {
            addAll(static_cast<TGroup*>(object)->Units);
            continue;
        }
        const auto* city = static_cast<const TCity*>(object);
        if (city->GateGroup)
            addAll(city->GateGroup->Units);
        for (int place = 0; place < city->DefenderPlaceCount(); ++place)
            AddMetPrototype(city->DefenderAt(place));
        for (const TUnit* unit : city->OtherUnits)
            AddMetPrototype(unit);
        for (const TUnit* unit : city->Civilians)
            AddMetPrototype(unit);
    }
}

void TPlayer::SelectObject(TMapObject* object) {
    if (object != Selection) {
        if (Selection)
            Selection->Deselect();
        Selection = object;
        if (Selection)
            Selection->Select();
    }
    // A gate group inside its city has no cell of its own: leaving fills from the exit.
    if (TGroup* group = GetSelectedGroup(); group && Scenario->FindObjectByID(group->ID) == group)
        Scenario->FloodFillCosts(group->TMapObject::CellX(), group->TMapObject::CellY(), *group);
}

TGroup* TPlayer::GetSelectedGroup() const {
    return Selection && Selection->Kind == okGroup ? static_cast<TGroup*>(Selection) : nullptr;
}

TCity* TPlayer::GetSelectedCity() const {
    return Selection && Selection->Kind == okCity ? static_cast<TCity*>(Selection) : nullptr;
}

TGroup* TPlayer::GetActiveGroup() const {
    if (TGroup* group = GetSelectedGroup())
        return group;
    const TCity* city = GetSelectedCity();
    return city && city->GateGroup && city->GateGroup->UnitCount() > 0 ? city->GateGroup.get()
                                                                       : nullptr;
}

void TPlayer::ResetFlags() {
    Blocked = 0;
    Spotted = 0;
}

void TPlayer::PushSighting(std::unique_ptr<TSighting> sighting) {
    const std::lock_guard<std::mutex> guard(FLock);
    FSightings.push_back(std::move(sighting));
}

std::unique_ptr<TSighting> TPlayer::PopSighting() {
    const std::lock_guard<std::mutex> guard(FLock);
    if (FSightings.empty())
        return nullptr;
    auto first = std::move(FSightings.front());
    FSightings.pop_front();
    return first;
}

TSighting TPlayer::GetSighting(int index) const {
    const std::lock_guard<std::mutex> guard(FLock);
    return *FSightings.at(static_cast<size_t>(index));
}

int TPlayer::SightingCount() const {
    const std::lock_guard<std::mutex> guard(FLock);
    return static_cast<int>(FSightings.size());
}

void TPlayer::ClearSightings() {
    const std::lock_guard<std::mutex> guard(FLock);
    FSightings.clear();
}

} // namespace GameData
