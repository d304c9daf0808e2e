// The program's global screens: the window system with everything it owns, the
// loading screen among its windows, and the game object.
#pragma once

#include "engine/widgets/DXWindowSystem.h"
#include "ui/frontend/LoadingScreen.h"

#include <memory>

namespace Main {

extern std::unique_ptr<DXWin::TDXWindowSystem> WindowSystem;
extern FrontEnd::TLoadingScreen* LoadingScreen; // owned by the window system

// The window system with the main data's pointer cursor, and the loading screen.
// Needs the archives and the main data.
void CreateGameWindows();
void DestroyWindowSystem();

// The one game object of the run (Main::Game), which reads the settings; the widgets see
// it as the running game. Needs the global game data and the window system.
void CreateGame();
void DestroyGame();

} // namespace Main
