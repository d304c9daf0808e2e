#include "game/world/players/Player.h"

#include "game/world/data/GlobalData.h"
#include "game/world/fog/Fog.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/ThreadTermination.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"

#include <cmath>

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

int32_t TPlayer::ApplyDifficulty(int32_t value) const {
    const TGameSettings* settings = Scenario->Settings;
    if (Scenario->Networked != 0 || Type != ptComputer || !settings || !Data2::GlobalData ||
        GetRelation(Scenario->PlayerAt(1)) != reEnemy)
        return value;
    const int32_t difficulty = settings->Difficulty();
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

void TPlayer::SelectObject(TMapObject* object) {
    if (object != Selection) {
        if (Selection)
            Selection->Deselect();
        Selection = object;
        if (Selection)
            Selection->Select();
    }
    // A selected group fills the movement-cost map from its cell (with path finding).
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
