// Ctrl+C (SIGINT) and SIGTERM ask the program to close as its window's close box does.
// The handler only records the request; the message queue turns it into WM_CLOSE for the
// main window the next time it looks at the events, so the program's own shutdown runs.
// A second signal while a request still waits ends the program at once, as the system's
// default would: a program that stopped reading its messages can still be ended.
#pragma once

namespace Win32 {

// Installs the handlers and keeps SDL from installing its own in their place.
void InstallCloseSignals();
// True once for each recorded request, which it clears.
bool TakeCloseSignal();
bool CloseSignalPending();

} // namespace Win32
