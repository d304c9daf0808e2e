#include "game/world/fog/Fog.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

namespace {

void RecomputeFog(TScenario& scenario, TPlayer& player) {
    player.Fog->CollectSources();
    player.Fog->Recompute();
    if (&player == scenario.CurrentPlayer)
        player.UpdateSightings(true);
    player.UpdateMetPrototypes();
    player.Fog->UpdateImage();
}

} // namespace

void TScenario::UpdatePlayerVisibility(TPlayer* player) {
    if (!player)
        return;
    RecomputeFog(*this, *player);
    for (int i = 0; i < Players.Count(); ++i)
        if (Players[i] != player && player->GetRelation(Players[i]) == reFriendly)
            RecomputeFog(*this, *Players[i]);
}

void TScenario::UpdateVisibilityOfIndex(int index) {
    if (index >= 0 && index < Players.Count())
        UpdatePlayerVisibility(Players[index]);
}

void TScenario::UpdateAllVisibility() {
    for (int i = 0; i < Players.Count(); ++i)
        UpdatePlayerVisibility(Players[i]);
}

void TScenario::ResetAllFog() {
    for (int i = 0; i < Players.Count(); ++i)
        Players[i]->Fog->ResetCells();
    UpdateAllVisibility();
}

} // namespace GameData
