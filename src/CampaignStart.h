// What start-up shows until the main menu exists: campaign level 1, loaded behind the
// loading screen, with player 1 playing at this machine and the others as computer
// players. The main menu replaces it.
#pragma once

#include <functional>

namespace Main {

// Needs the game object and the loading screen. Closing the window meanwhile ends the
// wait for the level and starts nothing; a level that cannot be loaded raises its error.
// onLevelLoaded runs once the level is in, before the game starts it with its briefing.
void StartCampaignPlaceholder(const std::function<void()>& onLevelLoaded);

} // namespace Main
