#include "game/world/cities/Location.h"

#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/objects/MapGeometry.h"

#include <algorithm>

namespace GameData {

void TLocation::LoadFromStream(TStream* stream) {
    TMapObject::LoadFromStream(stream);
    Data::ReadStreamString(stream, Caption);
    Footprint.LoadFromStream(stream);
    ExitArea.LoadFromStream(stream);
    SightArea.LoadFromStream(stream);
    Name = Caption;
}

void TLocation::SaveToStream(TStream* stream) const {
    TMapObject::SaveToStream(stream);
    Data::WriteStreamString(stream, Caption);
    Footprint.SaveToStream(stream);
    ExitArea.SaveToStream(stream);
    SightArea.SaveToStream(stream);
}

void TLocation::Clear() {
    TMapObject::Clear();
    Caption.clear();
    Footprint.Clear();
    ExitArea.Clear();
    SightArea.Clear();
}

RECT TLocation::GetBounds() const {
    if (Footprint.Cells.Count() == 0)
        return {};
    RECT cells{Footprint.Cells[0].X, Footprint.Cells[0].Y, Footprint.Cells[0].X,
               Footprint.Cells[0].Y};
    for (const TField& cell : Footprint.Cells) {
        cells.left = std::min<int>(cells.left, cell.X);
        cells.top = std::min<int>(cells.top, cell.Y);
        cells.right = std::max<int>(cells.right, cell.X);
        cells.bottom = std::max<int>(cells.bottom, cell.Y);
    }
    return {cells.left * CellSize, cells.top * CellSize, (cells.right + 1) * CellSize,
            (cells.bottom + 1) * CellSize};
}

bool TLocation::HitTest(int x, int y) const {
    return Footprint.ContainsCell(x / CellSize, y / CellSize);
}

void TLocation::NearestExitCell(int px, int py, int& x, int& y) const {
    const int index = ExitArea.NearestCellIndex(px, py);
    if (index < 0)
        return;
    x = ExitArea.Cells[index].X;
    y = ExitArea.Cells[index].Y;
}

int32_t GetLocationEntryCost(const TMapObject& object) {
    const int32_t* constants = Data2::GlobalData->GameConstants;
    if (object.Kind == okBuilding)
        return constants[Data2::gcBuildingEntryAP];
    if (object.Kind == okCity)
        return static_cast<const TCity&>(object).EntryCostFlag ? constants[Data2::gcBuildingEntryAP]
                                                               : constants[Data2::gcCityEntryAP];
    return 0;
}

} // namespace GameData
