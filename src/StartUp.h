// The program's start: the application object's window, the display, sound and
// the data path, in the order the game needs them, and their end when the window
// goes.
#pragma once

#include "src/PlaceholderScreen.h"

#include <cstdint>

namespace Main {

struct TStartOptions {
    bool FullScreen = false;     // else an 800 x 600 window
    int32_t RunMilliseconds = 0; // above 0: close after that much game time
};

// Makes the application object's window show the screen; raises what fails.
void StartUp(const TStartOptions& options, TPlaceholderScreen& screen);
// The window's destroy callback: sound tracks stop, the display goes, then sound.
void OnDestroy();

} // namespace Main
