// Where the map objects' pictures lie, so that drawing a part of the map looks only
// at the objects that may reach into it. Derived from the objects, never stored.
//
// Scenery, drawings, animations and corpses keep their picture until they move or
// change it through the scenario, so they are filed in every block of the map their
// largest picture covers. Groups, cities and buildings change their picture in place
// (a camp, a new leader, a city's decorations beyond its cells) and are few: every
// query hands them out.
#pragma once

#include "game/world/objects/MapObject.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace GameData {

class TObjectIndex {
public:
    // Blocks of BlockSize x BlockSize pixels; the map of width x height pixels is
    // covered, and pictures beyond its edge count as in the edge blocks.
    static constexpr int BlockSize = 320;

    // Everything filed stays, filed anew for the new size.
    void SetMapSize(int width, int height);
    void Add(TMapObject* object);
    void Remove(TMapObject* object);
    // After the object moved or its picture changed.
    void Refile(TMapObject* object);
    void Clear();

    // Appends every object whose picture may reach into the map rectangle, each once,
    // in no particular order: the filed ones whose largest picture reaches into it and
    // all roaming ones.
    void Collect(const RECT& rect, std::vector<TMapObject*>& out) const;
    // Groups, cities and buildings.
    const std::vector<TMapObject*>& Roaming() const { return FRoaming; }
    static bool IsRoaming(const TMapObject& object);
    // The largest picture the object may show where it stands: what it is filed by.
    static RECT ReachBounds(const TMapObject& object);

private:
    // Blocks from (Left, Top) to (Right, Bottom), inclusive; Left > Right when none.
    struct TSpan {
        int16_t Left = 0;
        int16_t Top = 0;
        int16_t Right = -1;
        int16_t Bottom = -1;
    };
    struct TEntry {
        TMapObject* Object;
        RECT Reach; // what it is filed by: a query passes over what does not reach into it
        // The span's first block: a query takes the object in the first block the two
        // share, so an object in several blocks comes out once.
        int16_t FirstX;
        int16_t FirstY;
    };
    TSpan SpanOf(const RECT& bounds) const;
    void File(TMapObject* object, const RECT& reach, const TSpan& span);
    void Unfile(TMapObject* object, const TSpan& span);
    std::vector<TEntry>& Block(int x, int y) { return FBlocks[size_t(y * FColumns + x)]; }

    int FColumns = 1;
    int FRows = 1;
    std::vector<std::vector<TEntry>> FBlocks = std::vector<std::vector<TEntry>>(1);
    std::unordered_map<TMapObject*, TSpan> FSpans;
    std::vector<TMapObject*> FRoaming;
};

} // namespace GameData
