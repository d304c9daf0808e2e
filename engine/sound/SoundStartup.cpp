#include "engine/sound/SoundStartup.h"

#include <exception>

namespace Main {

std::unique_ptr<DSFrame::TDSFramework> DSFramework;
bool SoundWanted = false;

void StartSound(Win32::HWND window) {
    StopSound();
    try {
        auto framework = std::make_unique<DSFrame::TDSFramework>(window);
        framework->Init(
            -1, DSFrame::dsoUpdateThread | DSFrame::dsoPlayPrimary | DSFrame::dsoExclusiveLevel, 16,
            3, 500, 44100, 16, 2);
        DSFramework = std::move(framework);
    } catch (const std::exception&) {
        // No sound device, or one that refused us: the game goes on silently.
    }
    SoundWanted = true;
}

void StopSound() {
    DSFramework.reset();
}

void RestartSound(Win32::HWND window) {
    if (SoundWanted)
        StartSound(window);
}

} // namespace Main
