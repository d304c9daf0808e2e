// The program's start and end: the fixed order in which the application's window, the
// display, sound, the data and the screens are made at start-up and go again when the
// window is destroyed, and the last-resort error report.
#pragma once

#include "platform/display/DDrawTypes.h"

#include <cstdint>
#include <functional>

namespace Main {

class TGame;

// Set at the start of start-up; nothing clears them, so the game always starts full
// screen (scaled to the desktop).
extern bool SoundEnabled;
extern bool VideosEnabled;
extern bool FullscreenEnabled;

// Told the name of each shutdown step once it is done.
using TShutdownReport = std::function<void(const char* step)>;

struct TStartOptions {
    int32_t RunMilliseconds = 0; // above 0: close that much game time after start-up
    TShutdownReport OnShutdownStep;
    // Called once the game object exists, before the first level starts.
    std::function<void(Main::TGame&)> OnGameCreated;
};

// The game draws for 16-bit displays of 640 x 480, 800 x 600 and 1024 x 768 only.
bool AcceptDisplayMode(const Win32::DDSURFACEDESC2& mode);

// Start-up in its fixed order, up to the first screen; raises what fails. onDestroy
// becomes the window's destroy callback.
void StartUp(const TStartOptions& options, std::function<void()> onDestroy);
// The shutdown steps, in order: sound tracks stopped, the settings written (when a game
// object read them), the game object, the window system, the global data, the main
// data, the archives, the display, the sound framework.
void OnDestroy(const TShutdownReport& report = {});

// Start-up, then the main loop until the window closes; returns the loop's exit code.
// Whatever escapes is shown in an error box captioned with the title, the window is
// destroyed (running the shutdown steps) and 1 is returned.
int RunProgram(const TStartOptions& options);

} // namespace Main
