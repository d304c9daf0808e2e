// The program's one sound framework: created at start-up and around videos,
// deleted at the end. Every user of sound tests DSFramework first: it stays null
// when sound could not be started, and the game then runs silently.
#pragma once

#include "engine/sound/DSFramework.h"

#include <memory>

namespace Main {

extern std::unique_ptr<DSFrame::TDSFramework> DSFramework;
// Set by StartSound, so that sound comes back after a video that stopped it.
extern bool SoundWanted;

// Replaces any framework with a new one on the default device: 16 tracks of
// which 3 are reserved, 500 ms buffers, 44,100 Hz 16-bit stereo, refilled by its
// own thread. A failure leaves DSFramework null.
void StartSound(Win32::HWND window);
void StopSound();
// Starts sound again after a video stopped it, when it had been started at all.
void RestartSound(Win32::HWND window);

} // namespace Main
