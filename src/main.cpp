// Varnholt's entry point: starts the program, runs the main loop until the window
// closes, and reports in a box what went wrong if anything did.
//
//   varnholt [--fullscreen] [--seconds N]
#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/sound/SoundStartup.h"
#include "src/PlaceholderScreen.h"
#include "src/StartUp.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

bool ParseOptions(int argc, char** argv, Main::TStartOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--fullscreen") {
            options.FullScreen = true;
        } else if (argument == "--seconds" && i + 1 < argc) {
            const double seconds = std::atof(argv[++i]);
            if (!(seconds > 0 && seconds < 1e6))
                return false;
            options.RunMilliseconds = static_cast<int32_t>(seconds * 1000);
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Main::TStartOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: varnholt [--fullscreen] [--seconds N]\n");
        return 2;
    }
    Main::TPlaceholderScreen screen(options.RunMilliseconds);
    DXApp::TDXApplication application;
    DXApp::Application = &application;
    int exitCode = 0;
    try {
        Main::StartUp(options, screen);
        exitCode = application.RunMessageLoop();
        std::printf("Varnholt: window closed after %u updates\n", application.TickCount);
    } catch (const std::exception& error) {
        if (application.Title.empty())
            application.Title = "Varnholt";
        application.ShowError(error);
        if (Win32::IsWindow(application.Window))
            Win32::DestroyWindow(application.Window);
        exitCode = 1;
    }
    // What the window's end did not take, when the window never came.
    D3DFrame::D3DFramework.reset();
    Main::StopSound();
    DXApp::Application = nullptr;
    return exitCode;
}
