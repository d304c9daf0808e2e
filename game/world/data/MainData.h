// The small set of data the front end needs before the global data: the interface
// cursors and markers, and the names of the intro, ending and interlude videos.
#pragma once

#include "engine/graphics/SpriteList.h"

#include <cstdint>
#include <memory>

namespace Data2 {

constexpr int MainSpriteCount = 27;
constexpr int VideoNameSize = 128;
constexpr int IntroVideoCount = 3;
constexpr int EndingVideoCount = 2;
constexpr int InterludeVideoCount = 4;

// Indices into TMainData::Sprites.
constexpr int msPointerCursor = 0; // the window system's default cursor
constexpr int msLoadingPicture = 24;

// The sprite of that ID: null for 0; a directory-mode library loads it (an unknown ID
// raises "Sprite with given ID not found (%d)."), an in-memory library finds it in its
// sorted list (an unknown ID raises "Object with given ID not found (%d).").
Gfx::TSprite* ResolveSprite(Gfx::TSpriteList& library, uint32_t id);

class TMainData {
public:
    // Loads from the open archives; raises what fails.
    TMainData();
    TMainData(const TMainData&) = delete;
    TMainData& operator=(const TMainData&) = delete;
    ~TMainData();

    Gfx::TSprite* Sprites[MainSpriteCount]; // lent by SpriteLibrary; null for ID 0
    Gfx::TSpriteList SpriteLibrary;
    char IntroVideos[IntroVideoCount][VideoNameSize];
    char EndingVideos[EndingVideoCount][VideoNameSize];
    char InterludeVideos[InterludeVideoCount][VideoNameSize];

private:
    void Load();
};

extern std::unique_ptr<TMainData> MainData;
void CreateMainData();
void FreeMainData();

} // namespace Data2
