// The message loop's calls. SDL's events are turned into messages whenever the
// queue is read or waited on, so they must be called on the thread that
// initialised SDL's video; PostMessage and PostQuitMessage work from any thread.
#pragma once

#include "platform/WinTypes.h"
#include "platform/win32/WinMessages.h"

namespace Win32 {

// TRUE and the message when one is waiting for the window (null: any) in
// [first, last] (both 0: any); PM_REMOVE takes it off the queue.
BOOL PeekMessage(MSG* msg, HWND window, UINT first, UINT last, UINT removeFlags);
// Waits for a message and removes it: 0 for WM_QUIT, -1 for an invalid window.
BOOL GetMessage(MSG* msg, HWND window, UINT first, UINT last);
// Returns once a message waits in the queue or one was sent to a window.
BOOL WaitMessage();
// FALSE for an invalid window; a null window posts to the thread.
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Characters are queued as their keys arrive (SDL reports text apart from
// keys), so there is nothing left to translate; nonzero for key messages.
BOOL TranslateMessage(const MSG* msg);
// Calls the window procedure of the message's window; 0 for thread messages.
LRESULT DispatchMessage(const MSG* msg);

} // namespace Win32
