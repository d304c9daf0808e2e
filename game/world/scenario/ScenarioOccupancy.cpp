// The occupancy grid: each cell holds the last group in draw order, among the
// current player's own and those it has spotted, standing on it (camps cover 3 x 3
// cells). A rebuild walks every object; a group's step changes only its own cells,
// with a count of marks per cell saying when another group still covers one.
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>

namespace GameData {

namespace {

bool MarksCell(int x, int y, int markX, int markY, int reach) {
    return x >= markX - reach && x <= markX + reach && y >= markY - reach && y <= markY + reach;
}

} // namespace

TScenario::TOccupancyMark TScenario::MarkOf(const TGroup& group) {
    const bool camping = group.CampState == csSettingUp || group.CampState == csPitched;
    return {group.TMapObject::CellX(), group.TMapObject::CellY(), camping ? 1 : 0};
}

void TScenario::RebuildOccupancyGrid() {
    if (!CurrentPlayer) {
        // The grid is left as it was; the marks may no longer say why.
        FOccupancyPlayer = nullptr;
        return;
    }
    std::fill(Occupancy.begin(), Occupancy.end(), nullptr);
    FOccupancyCover.assign(Occupancy.size(), 0);
    FOccupancyMarks.clear();
    FOccupancyStale.clear();
    FOccupancyPlayer = CurrentPlayer;
    for (TMapObject* object : Objects) {
        if (object->Kind != okGroup)
            continue;
        const auto* group = static_cast<const TGroup*>(object);
        if (!group->Spotted && CurrentPlayer->GetRelationToGroup(group) != RelationSelf)
            continue;
        const TOccupancyMark mark = MarkOf(*group);
        FOccupancyMarks.emplace(group, mark);
        // Later groups in draw order overwrite earlier ones.
        for (int y = mark.Y - mark.Reach; y <= mark.Y + mark.Reach; ++y)
            for (int x = mark.X - mark.Reach; x <= mark.X + mark.Reach; ++x)
                if (IsCellOnMap(x, y)) {
                    Occupancy[size_t(CellIndex(x, y))] = object;
                    ++FOccupancyCover[size_t(CellIndex(x, y))];
                }
    }
}

void TScenario::UpdateOccupancyOf(const TMapObject* object, int index) {
    if (!CurrentPlayer) {
        // Nothing is marked meanwhile: the next change starts afresh.
        FOccupancyPlayer = nullptr;
        return;
    }
    if (FOccupancyPlayer != CurrentPlayer || FOccupancyCover.size() != Occupancy.size()) {
        if (index < 0) {
            // A rebuild now would mark the leaving object again: the grid loses it here
            // and is rebuilt once it has left the list.
            std::replace_if(
                Occupancy.begin(), Occupancy.end(),
                [object](const TMapObject* cell) { return cell == object; }, nullptr);
            FOccupancyPlayer = nullptr;
            return;
        }
        RebuildOccupancyGrid();
        return;
    }
    // Taken one by one: each may find the list changed by the one before.
    while (!FOccupancyStale.empty()) {
        const TGroup* group = FOccupancyStale.back();
        FOccupancyStale.pop_back();
        ApplyOccupancyOf(group, IndexOfLiveObject(*group));
    }
    if (object->Kind == okGroup)
        ApplyOccupancyOf(static_cast<const TGroup*>(object), index);
}

void TScenario::OccupancyMayChange(const TGroup* group) {
    if (FOccupancyPlayer && IndexOfLiveObject(*group) >= 0 &&
        std::find(FOccupancyStale.begin(), FOccupancyStale.end(), group) == FOccupancyStale.end())
        FOccupancyStale.push_back(group);
}

void TScenario::ApplyOccupancyOf(const TGroup* group, int index) {
    const auto found = FOccupancyMarks.find(group);
    const bool hadMark = found != FOccupancyMarks.end();
    const TOccupancyMark before = hadMark ? found->second : TOccupancyMark{};
    const bool marks =
        index >= 0 && (group->Spotted || CurrentPlayer->GetRelationToGroup(group) == RelationSelf);
    const TOccupancyMark after = MarkOf(*group);
    if (hadMark)
        FOccupancyMarks.erase(found);
    if (marks)
        FOccupancyMarks.emplace(group, after);

    const auto forEachCell = [&](const TOccupancyMark& mark, auto&& visit) {
        for (int y = mark.Y - mark.Reach; y <= mark.Y + mark.Reach; ++y)
            for (int x = mark.X - mark.Reach; x <= mark.X + mark.Reach; ++x)
                if (IsCellOnMap(x, y))
                    visit(x, y, size_t(CellIndex(x, y)));
    };
    if (hadMark)
        forEachCell(before, [&](int, int, size_t cell) { --FOccupancyCover[cell]; });
    if (marks)
        forEachCell(after, [&](int, int, size_t cell) { ++FOccupancyCover[cell]; });

    // Each cell gets the last marking group in draw order. The group's move changed
    // no other group's place in the list, nor whether it marks: a holder other than
    // this group still marks the cell and is still the last of the others.
    const auto settle = [&](int x, int y, size_t cell) {
        TMapObject* const held = Occupancy[cell];
        const bool here = marks && MarksCell(x, y, after.X, after.Y, after.Reach);
        TMapObject* winner = nullptr;
        if (FOccupancyCover[cell] == 0)
            winner = nullptr;
        else if (here && FOccupancyCover[cell] == 1)
            winner = const_cast<TGroup*>(group);
        else if (held && held != group) {
            winner = held;
            if (here && IndexOfLiveObject(*held) < index)
                winner = const_cast<TGroup*>(group);
        } else
            winner = LastGroupMarking(x, y);
        Occupancy[cell] = winner;
    };
    if (hadMark)
        forEachCell(before, settle);
    if (marks)
        forEachCell(after, settle);
}

TMapObject* TScenario::LastGroupMarking(int x, int y) const {
    for (int i = Objects.Count() - 1; i >= 0; --i) {
        if (Objects[i]->Kind != okGroup)
            continue;
        const auto found = FOccupancyMarks.find(Objects[i]);
        if (found != FOccupancyMarks.end() &&
            MarksCell(x, y, found->second.X, found->second.Y, found->second.Reach))
            return Objects[i];
    }
    return nullptr;
}

} // namespace GameData
