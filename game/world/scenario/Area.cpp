#include "game/world/scenario/Area.h"

#include <cstdint>

namespace GameData {

namespace {

bool Before(const TField& cell, int x, int y) {
    return cell.Y < y || (cell.Y == y && cell.X < x);
}

} // namespace

void TArea::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Cells.LoadFromStream(stream);
    // Look-ups search the cells; stored ones out of order are corrupt.
    for (int i = 1; i < Cells.Count(); ++i)
        Data::CheckData(!Before(Cells[i], Cells[i - 1].X, Cells[i - 1].Y));
    Value = stream->ReadValue<uint32_t>();
}

void TArea::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    Cells.SaveToStream(stream);
    stream->WriteValue(Value);
}

void TArea::Clear() {
    TDataObject::Clear();
    Cells.Clear();
    Value = 0;
}

int TArea::LowerBound(int x, int y) const {
    int lo = 0;
    int hi = Cells.Count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (Before(Cells[mid], x, y))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void TArea::AddCell(TField cell) {
    Cells.Insert(LowerBound(cell.X, cell.Y), cell);
}

bool TArea::ContainsCell(int x, int y) const {
    const int index = LowerBound(x, y);
    return index < Cells.Count() && Cells[index].X == x && Cells[index].Y == y;
}

int TArea::NearestCellIndex(int x, int y) const {
    int best = -1;
    int64_t bestDistance = 0;
    for (int i = 0; i < Cells.Count(); ++i) {
        const int64_t dx = Cells[i].X - x;
        const int64_t dy = Cells[i].Y - y;
        const int64_t distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace GameData
