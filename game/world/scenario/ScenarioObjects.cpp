// The object registry: the draw-ordered list and the identifier index beside it.
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/Drawings.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace GameData {

int TScenario::CompareDrawOrder(const TMapObject* a, const TMapObject* b) {
    if (a->Layer != b->Layer)
        return a->Layer < b->Layer ? -1 : 1;
    if (a->Y != b->Y)
        return a->Y < b->Y ? -1 : 1;
    if (a->X != b->X)
        return a->X > b->X ? -1 : 1;
    return 0;
}

TMapObject* TScenario::InsertInDrawOrder(std::unique_ptr<TMapObject> object) {
    int index = 0;
    Objects.BinarySearch(object.get(), CompareDrawOrder, &index);
    // Equal keys go after the objects already there, so the earlier added is drawn first.
    while (index < Objects.Count() && CompareDrawOrder(Objects[index], object.get()) == 0)
        ++index;
    TMapObject* raw = object.get();
    FObjectsByID.emplace(raw->ID, raw);
    try {
        FObjectIndex.Add(raw);
        Objects.Insert(index, object.release());
    } catch (...) {
        FObjectsByID.erase(raw->ID);
        FObjectIndex.Remove(raw);
        throw;
    }
    UpdateOccupancyOf(raw, index);
    return raw;
}

TMapObject* TScenario::AddObject(std::unique_ptr<TMapObject> object) {
    object->ID = NewObjectID();
    if (object->Kind == okCity)
        static_cast<TCity*>(object.get())->GiveMerchantIDs();
    return InsertInDrawOrder(std::move(object));
}

TMapObject* TScenario::AddLoadedObject(std::unique_ptr<TMapObject> object) {
    Data::CheckData(object->ID != 0 && !FObjectsByID.contains(object->ID));
    if (object->ID >= NextObjectID)
        NextObjectID = object->ID + 1;
    return InsertInDrawOrder(std::move(object));
}

void TScenario::MoveObject(int index, int x, int y) {
    TMapObject* const object = Objects[index];
    object->X = static_cast<int16_t>(x);
    object->Y = static_cast<int16_t>(y);
    while (index > 0 && CompareDrawOrder(object, Objects[index - 1]) < 0) {
        Objects.Exchange(index, index - 1);
        --index;
    }
    while (index + 1 < Objects.Count() && CompareDrawOrder(object, Objects[index + 1]) > 0) {
        Objects.Exchange(index, index + 1);
        ++index;
    }
    FObjectIndex.Refile(object);
    UpdateOccupancyOf(object, index);
}

void TScenario::RemoveObjectAt(int index, int flag) {
    TMapObject* const object = Objects[index];
    // Groups and cities give up their units first, and their owner sees anew.
    if (object->Kind == okGroup) {
        static_cast<TGroup*>(object)->RemoveAll(flag != 0);
        static_cast<TGroup*>(object)->UpdateOwnerVisibility();
    } else if (object->Kind == okCity) {
        // Units at the gate would otherwise be left registered with no place.
        static_cast<TCity*>(object)->MoveGateGroupToOtherUnits();
        static_cast<TCity*>(object)->RemoveAllUnits(true);
        UpdateVisibilityOfIndex(static_cast<TCity*>(object)->Owner);
    }
    // No player keeps a selection that is about to go.
    const TMapObject* gate =
        object->Kind == okCity ? static_cast<TCity*>(object)->GateGroup.get() : nullptr;
    for (TPlayer* player : Players)
        if (player->Selection == object || (gate && player->Selection == gate))
            player->Selection = nullptr;
    ForgetTarget(object);
    PendingObjects.Remove(object);
    FObjectsByID.erase(object->ID);
    UnindexObject(object);
    UpdateOccupancyOf(object, -1);
    Objects.Delete(index);
    if (!FOccupancyPlayer)
        RebuildOccupancyGrid();
    RedrawOptions = 0;
}

void TScenario::UnindexObject(TMapObject* object) {
    FObjectIndex.Remove(object);
    const auto drawn = std::find(FDrawnObjects.begin(), FDrawnObjects.end(), object);
    if (drawn != FDrawnObjects.end())
        FDrawnObjects.erase(drawn);
}

void TScenario::CollectObjectsNear(const RECT& mapRect, std::vector<TMapObject*>& out) const {
    out.clear();
    FObjectIndex.Collect(mapRect, out);
    SortInDrawOrder(out);
}

void TScenario::SortInDrawOrder(std::vector<TMapObject*>& objects) const {
    std::vector<std::pair<int, TMapObject*>> placed;
    placed.reserve(objects.size());
    for (TMapObject* object : objects)
        if (const int index = IndexOfLiveObject(*object); index >= 0)
            placed.emplace_back(index, object);
    std::sort(placed.begin(), placed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    placed.erase(std::unique(placed.begin(), placed.end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 placed.end());
    objects.clear();
    for (const auto& [index, object] : placed)
        objects.push_back(object);
}

void TScenario::ForgetTarget(const TMapObject* object) {
    // A group walking to join or fight it would otherwise reach a freed object.
    for (auto* list : {&Objects, &PendingObjects})
        for (TMapObject* other : *list) {
            if (other->Kind != okGroup)
                continue;
            auto* group = static_cast<TGroup*>(other);
            if (group->TargetGroup == object)
                group->TargetGroup = nullptr;
            if (group->TargetLocation == object)
                group->TargetLocation = nullptr;
        }
}

void TScenario::RemoveObject(TMapObject* object, int flag) {
    const int index = Objects.IndexOf(object);
    if (index >= 0)
        RemoveObjectAt(index, flag);
}

int TScenario::ObjectIndexAtPixel(int x, int y) const {
    return ObjectIndexAt(x, y, false);
}

int TScenario::ObjectIndexAtCell(int x, int y) const {
    const TPoint centre = CellToPixelCentre(x, y);
    return ObjectIndexAtPixel(centre.X, centre.Y);
}

int TScenario::ObjectIndexAtPoint(int x, int y) const {
    return ObjectIndexAt(x, y, true);
}

int TScenario::ObjectIndexAt(int x, int y, bool shownOnly) const {
    // Nothing is hit where its picture does not reach.
    std::vector<TMapObject*> near;
    CollectObjectsNear({x, y, x + 1, y + 1}, near);
    // Groups stand in front of locations, and locations in front of everything else.
    for (int pass = 0; pass < 3; ++pass)
        for (auto it = near.rbegin(); it != near.rend(); ++it) {
            const TMapObject* object = *it;
            const bool candidate = pass == 0 ? object->Kind == okGroup
                                   : pass == 1
                                       ? object->Kind == okBuilding || object->Kind == okCity
                                       : true;
            if (candidate && object->HitTest(x, y) &&
                (!shownOnly || IsShownToCurrentPlayer(*object)))
                return IndexOfLiveObject(*object);
        }
    return -1;
}

int TScenario::IndexOfLiveObject(const TMapObject& object) const {
    // Among the objects of equal place first; a walk when the object is not there
    // (off the list, or moved without the list knowing).
    int index = 0;
    if (Objects.BinarySearch(&object, CompareDrawOrder, &index))
        for (; index < Objects.Count() && CompareDrawOrder(Objects[index], &object) == 0; ++index)
            if (Objects[index] == &object)
                return index;
    return Objects.IndexOf(&object);
}

TMapObject* TScenario::FindObjectByID(uint32_t id) const {
    const auto found = FObjectsByID.find(id);
    return found == FObjectsByID.end() ? nullptr : found->second;
}

TMapObject* TScenario::GetObjectByID(uint32_t id) const {
    if (id == 0)
        return nullptr;
    TMapObject* object = FindObjectByID(id);
    if (!object)
        throw ClassLib::Exception(
            ClassLib::Format("Object with given ID not found (%d).", static_cast<int>(id)));
    return object;
}

TMapObject* TScenario::FindObjectOfKind(uint32_t id, uint16_t kind) const {
    TMapObject* object = FindObjectByID(id);
    return object && object->Kind == kind ? object : nullptr;
}

TGroup* TScenario::FindGroupByID(uint32_t id) const {
    return static_cast<TGroup*>(FindObjectOfKind(id, okGroup));
}

TCity* TScenario::FindCityByID(uint32_t id) const {
    return static_cast<TCity*>(FindObjectOfKind(id, okCity));
}

TBuilding* TScenario::FindBuildingByID(uint32_t id) const {
    return static_cast<TBuilding*>(FindObjectOfKind(id, okBuilding));
}

TGroup* TScenario::GroupAtCell(int x, int y, const TGroup* ignore) const {
    for (int i = Objects.Count() - 1; i >= 0; --i) {
        if (Objects[i]->Kind != okGroup || Objects[i] == ignore)
            continue;
        auto* group = static_cast<TGroup*>(Objects[i]);
        if (group->TMapObject::CellX() == x && group->TMapObject::CellY() == y)
            return group;
    }
    return nullptr;
}

TGroup* TScenario::GroupCoveringCell(int x, int y, const TGroup* ignore) const {
    for (int i = Objects.Count() - 1; i >= 0; --i) {
        if (Objects[i]->Kind != okGroup || Objects[i] == ignore)
            continue;
        auto* group = static_cast<TGroup*>(Objects[i]);
        const int reach = group->CampState == csSettingUp || group->CampState == csPitched ? 1 : 0;
        if (std::abs(group->TMapObject::CellX() - x) <= reach &&
            std::abs(group->TMapObject::CellY() - y) <= reach)
            return group;
    }
    return nullptr;
}

void TScenario::AdvanceTurn() {
    ++Turn;
    for (int i = Objects.Count() - 1; i >= 0; --i) {
        if (Objects[i]->Kind != okNaturalCorpse)
            continue;
        auto* corpse = static_cast<TNaturalCorpse*>(Objects[i]);
        if (corpse->TurnsLeft > 0)
            --corpse->TurnsLeft;
        if (corpse->TurnsLeft == 0)
            RemoveObjectAt(i, 0);
    }
    RedrawOptions = 0;
}

} // namespace GameData
