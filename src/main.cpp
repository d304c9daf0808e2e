// Varnholt's entry point: starts the program, runs the main loop until the window
// closes, and reports in a box what went wrong if anything did.
//
//   varnholt [--fullscreen] [--seconds N]
#include "engine/app/DXApplication.h"
#include "engine/core/Base.h"
#include "engine/core/Random.h"
#include "platform/win32/CloseSignals.h"
#include "src/StartUp.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool ParseOptions(int argc, char** argv, Main::TStartOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--fullscreen") {
            // The game always runs full screen; the switch is still understood.
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
    Win32::InstallCloseSignals();
    Base::InitBaseUnit();
    Base::InitRandomStates();
    DXApp::TDXApplication application;
    DXApp::Application = &application;
    const int exitCode = Main::RunProgram(options);
    DXApp::Application = nullptr;
    return exitCode;
}
