// What the front end hands the game object to start a scenario.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <array>
#include <cstdint>

namespace Main {

enum TGameMode : uint8_t { gmSingle = 0, gmNetwork = 1, gmNoLocalPlayer = 2, gmSpectator = 3 };
// The same values as the players' own control types.
enum TPlayerControl : uint8_t { pcLocal = 0, pcComputer = 1, pcRemote = 2 };

struct TPlayerParams {
    TPlayerControl Control = pcLocal;
    ClassLib::AnsiString Name;
};

struct TGameParams {
    TGameMode Mode = gmSingle;
    // Copied into the scenario's local-player field; a network game stores this
    // machine's session player ID here.
    int32_t LocalPlayerNumber = 0;
    std::array<TPlayerParams, 5> Players;

    // Single mode, every player a computer except player 1, who is local; names and
    // the local player number stay as they are.
    void Reset();
};

} // namespace Main
