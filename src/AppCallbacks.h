// What the application object calls: the fixed update, the frame, the surfaces around
// display changes and loss, the device's fixed states, input, and activation.
#pragma once

#include "platform/WinTypes.h"

namespace Main {

// The game object's update, then the window system's tick.
void OnUpdate();
// The windows, then the game's message line, into the back buffer.
void OnRender();
void OnReleaseSurfaces();
void OnRecreateSurfaces();
void OnDeviceStates();
// An exception here ends the program with "Fatal error - program will now exit.".
void OnRestoreSurfaces();
// Ctrl+G toggles continuous screenshots (one every 4th tick); then the window system,
// then the game object.
void OnInput(Win32::UINT message, Win32::WPARAM wParam, Win32::LPARAM lParam);
void OnActivate();
void OnDeactivate();

} // namespace Main
