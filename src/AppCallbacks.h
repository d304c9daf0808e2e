// What the application object calls: the fixed update, the frame, the surfaces around
// display changes and loss, the device's fixed states, input, and activation.
#pragma once

#include "platform/WinTypes.h"

namespace Main {

void OnUpdate();
void OnRender();
void OnReleaseSurfaces();
void OnRecreateSurfaces();
void OnDeviceStates();
// An exception here ends the program with "Fatal error - program will now exit.".
void OnRestoreSurfaces();
// Ctrl+G toggles continuous screenshots (one every 4th tick); then the window system.
void OnInput(Win32::UINT message, Win32::WPARAM wParam, Win32::LPARAM lParam);
void OnActivate();
void OnDeactivate();

} // namespace Main
