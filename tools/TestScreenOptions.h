// What the test screens (widgets-test, gamewidgets-test, map-test) share: their command
// line, the display modes they accept and how they run.
#pragma once

#include "engine/app/DXApplication.h"
#include "platform/classlib/AnsiString.h"
#include "platform/classlib/Exception.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/DisplayHardware.h"
#include "platform/win32/WinWindow.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
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

// Runs a test screen's program (made by makeProgram once the application exists, with
// Start()) in the application's loop; a failure is printed under the tool's name.
template <typename MakeProgram>
int RunTestScreen(const char* toolName, MakeProgram makeProgram) {
    // The screens' pixels are 16-bit: a window gets a 16-bit desktop.
    Win32::TDisplayHardware machine = Win32::DefaultDisplayHardware();
    machine.Adapters[0].Desktop.BitsPerPixel = 16;
    Win32::InstallDisplayHardware(machine);

    DXApp::TDXApplication application;
    DXApp::Application = &application;
    int exitCode = 0;
    {
        auto program = makeProgram();
        try {
            program->Start();
            exitCode = application.RunMessageLoop();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", toolName, ClassLib::ExceptionMessage(error).c_str());
            if (Win32::IsWindow(application.Window))
                Win32::DestroyWindow(application.Window);
            exitCode = 1;
        }
    }
    DXApp::Application = nullptr;
    return exitCode;
}

} // namespace Tools
