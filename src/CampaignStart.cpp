#include "src/CampaignStart.h"

#include "engine/app/DXApplication.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"
#include "src/GameWindows.h"
#include "ui/game/Game.h"
#include "ui/game/GameParams.h"

namespace Main {

namespace {

// The loading screen's task: reads the level into a scenario of its own, which the main
// thread takes over once the task has returned.
struct TFirstLevelLoad {
    TGame* Target;
    void Run() { Target->LoadNextLevel(); }
};

} // namespace

void StartCampaignPlaceholder(const std::function<void()>& onLevelLoaded) {
    Game->Level = 0;
    TFirstLevelLoad load{Game.get()};
    LoadingScreen->RunMethodTask(&TFirstLevelLoad::Run, &load);
    if (DXApp::Application->Quit)
        return;
    if (!Game->TakeNextLevel())
        throw ClassLib::Exception("Campaign level 1 was not loaded.");

    TGameParams params;
    params.Reset();
    // The players keep the names the level gives them.
    const GameData::TScenario& scenario = *Game->Scenario;
    for (int i = 0; i < scenario.PlayerCount() && size_t(i) < params.Players.size(); ++i)
        params.Players[size_t(i)].Name = scenario.Players[i]->Name;
    if (onLevelLoaded)
        onLevelLoaded();
    Game->StartGame(params);
}

} // namespace Main
