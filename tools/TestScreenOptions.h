// What the test screens (widgets-test, gamewidgets-test) share: their command line
// and the display modes they accept.
#pragma once

#include "platform/classlib/AnsiString.h"
#include "platform/display/DirectDrawSurface.h"

#include <cstdlib>
#include <string>

namespace Tools {

struct TTestScreenOptions {
    bool FullScreen = false;
    double Seconds = -1; // run until closed
    ClassLib::AnsiString Screenshot;
};

// [--fullscreen] [--seconds N] [--screenshot FILE]; a screenshot without a time is
// taken after one second.
inline bool ParseTestScreenOptions(int argc, char** argv, TTestScreenOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--fullscreen") {
            options.FullScreen = true;
        } else if (argument == "--seconds" && i + 1 < argc) {
            options.Seconds = std::atof(argv[++i]);
            if (!(options.Seconds > 0 && options.Seconds < 1e6))
                return false;
        } else if (argument == "--screenshot" && i + 1 < argc) {
            options.Screenshot = argv[++i];
        } else {
            return false;
        }
    }
    if (!options.Screenshot.empty() && options.Seconds < 0)
        options.Seconds = 1;
    return true;
}

// The game's modes: 16 bits at 640 x 480, 800 x 600 or 1024 x 768.
inline bool AcceptTestScreenMode(const Win32::DDSURFACEDESC2& mode) {
    const uint32_t w = mode.dwWidth, h = mode.dwHeight;
    return mode.ddpfPixelFormat.dwRGBBitCount == 16 &&
           ((w == 640 && h == 480) || (w == 800 && h == 600) || (w == 1024 && h == 768));
}

} // namespace Tools
