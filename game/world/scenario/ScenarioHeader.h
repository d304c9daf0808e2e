// The fixed head of a scenario stream, readable on its own so that the scenario
// list can show a scenario without loading it.
#pragma once

#include "engine/core/StreamData.h"
#include "engine/graphics/Sprite.h"

#include <cstdint>

namespace GameData {

constexpr uint32_t ScenarioVersion = 19;
// Stored names hold at most 12 characters and always end in a zero byte.
constexpr int MaxSideFileName = 12;

#pragma pack(push, 1)
struct TScenarioHeader {
    char Signature[4]; // "SCEN"
    int16_t Width;     // cells, 1..128, a multiple of 4
    int16_t Height;
    char PrototypeFileName[16];       // scenery prototypes (text)
    char SpriteLibraryName[16];       // "GFXL"
    char PlayerSpriteLibraryName[16]; // the players' banners, "GFXL"
    char BackgroundFileName[16];      // "BCKG"
    int16_t CurrentPlayerIndex;       // -1 none
    uint16_t Turn;
    uint32_t Version;
    // The scenario's identifier between peers: 0 for a scenario that is not offered
    // for networked play, so a non-zero value also marks a networked game.
    uint32_t Networked;
    // The number of playable sides the lobby offers; kept unchanged otherwise.
    uint32_t HeaderValue;
    // The state of the scenario's plain generator (zero in files made before it was
    // kept here, which older readers skip).
    uint32_t PlainRandomState;
};
#pragma pack(pop)
static_assert(sizeof(TScenarioHeader) == 92);

struct TScenarioThumbNail {
    TScenarioHeader Header{};
    ClassLib::AnsiString Description;
    Gfx::TSprite Preview;
};

// Reads and checks the header (the caller has read the scenario's identifier),
// then the description and the preview. Bad data is "Invalid data."; another
// version names itself: "Invalid version:18 Current version is: 19".
void ReadScenarioHeader(Data::TStream& stream, TScenarioThumbNail& thumbNail);
void ReadScenarioHeader(Data::TStream& stream, TScenarioHeader& header,
                        ClassLib::AnsiString& description, Gfx::TSprite& preview);

// A stored side-file name: empty, or at most 12 characters.
ClassLib::AnsiString SideFileName(const char (&field)[16]);
// Raises when the name does not fit in 12 characters.
void SetSideFileName(char (&field)[16], const ClassLib::AnsiString& name);

} // namespace GameData
