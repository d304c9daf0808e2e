#include "platform/win32/CloseSignals.h"

#include <SDL2/SDL_hints.h>

#include <csignal>
#include <initializer_list>

namespace Win32 {

namespace {

volatile std::sig_atomic_t closeRequested = 0;

// Async-signal-safe: a flag, or the default action through sigaction and raise.
void OnCloseSignal(int signal) {
    if (closeRequested == 0) {
        closeRequested = 1;
        return;
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

} // namespace

void InstallCloseSignals() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM})
        sigaction(signal, &action, nullptr);
}

bool TakeCloseSignal() {
    if (closeRequested == 0)
        return false;
    closeRequested = 0;
    return true;
}

bool CloseSignalPending() {
    return closeRequested != 0;
}

} // namespace Win32
