#include "engine/widgets/DXWinHost.h"

#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "platform/win32/Clock.h"

namespace DXWin {

using DXApp::Application;

uint32_t ApplicationTickCount() {
    return Application ? Application->TickCount : 0;
}

uint32_t ApplicationClock() {
    return Win32::timeGetTime();
}

Win32::POINT ApplicationCursor() {
    if (!Application)
        return {};
    return {Application->CursorX, Application->CursorY};
}

Win32::SIZE DisplaySize() {
    using D3DFrame::D3DFramework;
    if (D3DFramework && D3DFramework->Initialised()) {
        const auto& mode = D3DFramework->CurrentMode();
        return {static_cast<Win32::LONG>(mode.dwWidth), static_cast<Win32::LONG>(mode.dwHeight)};
    }
    return {800, 600}; // the game's display before there is one
}

void RunNestedLoop(const bool* done) {
    // Without an application there is no loop to run: the window stays up, unmodal.
    if (Application)
        Application->ProcessMessages(done, nullptr, nullptr);
}

} // namespace DXWin
