#include "game/world/fog/Fog.h"

#include "engine/core/InvalidData.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>

namespace GameData {

TFog::TFog(TPlayer* player)
    : Player(player), Scenario(player ? player->Scenario : nullptr),
      Width(Scenario ? Scenario->Width : 0), Height(Scenario ? Scenario->Height : 0),
      Cells(size_t(Width * Height), fsUnexplored), Budget(Cells.size(), 0),
      Horizon(Cells.size(), 0) {
    FogImage.CreateBlank(Width, Height, 0x0120);
    UpdateImage();
}

void TFog::Assign(const Data::TDataObject* source) {
    const auto* other = dynamic_cast<const TFog*>(source);
    if (!other || other->Width != Width || other->Height != Height)
        TDataObject::Assign(source);
    Cells = other->Cells;
}

void TFog::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    std::vector<uint8_t> cells(Cells.size());
    stream->ReadBuffer(cells.data(), int64_t(cells.size()));
    Data::CheckData(
        std::all_of(cells.begin(), cells.end(), [](uint8_t c) { return c <= fsVisible; }));
    Cells = std::move(cells);
}

void TFog::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteBuffer(Cells.data(), int64_t(Cells.size()));
}

void TFog::Clear() {
    ResetCells();
}

uint8_t TFog::GetCell(int x, int y, uint8_t outside) const {
    return IsOnGrid(x, y) ? Cells[size_t(CellAt(x, y))] : outside;
}

void TFog::ResetCells() {
    std::fill(Cells.begin(), Cells.end(), fsUnexplored);
}

void TFog::DemoteVisible() {
    for (uint8_t& cell : Cells)
        if (cell == fsVisible)
            cell = fsExplored;
}

void TFog::CollectSources() {
    SightSources.clear();
    SightAreas.Clear();
    if (!Player)
        return;
    for (int i = 0; i < Scenario->Objects.Count(); ++i) {
        const TMapObject* object = Scenario->Objects[i];
        if (object->Kind != okGroup)
            continue;
        const auto* group = static_cast<const TGroup*>(object);
        const int8_t relation = Player->GetRelationToGroup(group);
        if (group->IsOnMap() && (relation == RelationSelf || relation == reFriendly))
            SightSources.push_back({group->X, group->Y, group->GroupSight()});
    }
    for (int i = 0; i < Player->RevealedAreas.Count(); ++i)
        SightAreas.Add(Player->RevealedAreas[i]);
    for (int i = 0; i < Scenario->Objects.Count(); ++i) {
        TMapObject* object = Scenario->Objects[i];
        if (object->Kind != okCity)
            continue;
        auto* city = static_cast<TCity*>(object);
        if (Player->HasAccessToCity(*city))
            SightAreas.Add(city->SightArea.Cells.Count() > 0 ? &city->SightArea : &city->Footprint);
    }
}

void TFog::Recompute() {
    DemoteVisible();
    for (int i = 0; i < int(SightSources.size()); ++i)
        SpreadSight(i);
    for (int i = 0; i < SightAreas.Count(); ++i)
        RaiseArea(SightAreas[i], fsVisible);
}

void TFog::RaiseArea(const TArea* area, uint8_t level) {
    for (const TField& field : area->Cells)
        if (IsOnGrid(field.X, field.Y)) {
            uint8_t& cell = Cells[size_t(CellAt(field.X, field.Y))];
            cell = std::max(cell, level);
        }
}

void TFog::ForgetArea(const TArea* area) {
    for (const TField& field : area->Cells)
        if (IsOnGrid(field.X, field.Y)) {
            uint8_t& cell = Cells[size_t(CellAt(field.X, field.Y))];
            if (cell != fsVisible)
                cell = fsUnexplored;
        }
}

bool TFog::IsAnyCellVisible(const TArea* area) const {
    return std::any_of(area->Cells.begin(), area->Cells.end(), [&](const TField& field) {
        return GetCell(field.X, field.Y, fsUnexplored) == fsVisible;
    });
}

bool TFog::AreAllCellsExplored(const TArea* area) const {
    // Cells off the grid can never be explored.
    return std::none_of(area->Cells.begin(), area->Cells.end(), [&](const TField& field) {
        return GetCell(field.X, field.Y, fsUnexplored) == fsUnexplored;
    });
}

} // namespace GameData
