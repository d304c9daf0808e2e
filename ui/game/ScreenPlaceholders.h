// The game screens that are not built yet. The game object asks here before it opens
// one; none is available, so whatever needs it is refused with a line saying which
// screen is missing, and nothing is done half-way.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <cstdint>

namespace Main {

enum class TGameScreen : uint8_t {
    FightDialog,
    TownWindow,
    TalkDialog,
    TransferWindow,
    CreaturePedia,
    Diary,
    MainMenu,
    SavedGames,
    ScenarioEnd,
};

class TGameScreenPlaceholders {
public:
    // Always false until the screen's own code replaces its placeholder.
    bool IsAvailable(TGameScreen) const { return false; }
    // "The town window is not available yet." and the like.
    static ClassLib::AnsiString MissingMessage(TGameScreen screen);
};

} // namespace Main
