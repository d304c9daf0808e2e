// A set of map cells kept sorted by row, then column: the footprint and sight of
// locations, the areas scripts name, cells shown to a player.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/core/DynamicArray.h"

#include <cstdint>

namespace GameData {

#pragma pack(push, 1)
struct TField {
    int16_t X;
    int16_t Y;
};
#pragma pack(pop)
static_assert(sizeof(TField) == 4);

class TArea : public Data::TDataObject {
public:
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override;

    // Inserted at its sorted place; a cell already there is added once more beside it.
    void AddCell(TField cell);
    bool ContainsCell(int x, int y) const;
    // The first cell with the least squared distance; -1 for an empty area.
    int NearestCellIndex(int x, int y) const;

    Data::TDynamicArray<TField> Cells;
    uint32_t Value = 0;

private:
    // The first index whose cell does not come before (x, y).
    int LowerBound(int x, int y) const;
};

} // namespace GameData
