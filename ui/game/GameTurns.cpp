// Loading a scenario, starting a game with its players and seeds, the briefing, and
// the start of every turn.
#include "engine/core/Random.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/ai/AIHandler.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/sound/SoundTracks.h"
#include "platform/win32/Clock.h"
#include "ui/game/Game.h"
#include "ui/game/MapWindow.h"
#include "ui/game/ScreenPlaceholders.h"

namespace Main {

namespace {

// Slot of the main data's normal cursor.
constexpr int NormalCursorSlot = 1;
// The global data's music started with a scenario.
constexpr int ScenarioStartMusic = 1;

// "Seed s": the state becomes s and takes one step.
void Seed(Base::TRandomSeed& state, uint32_t low) {
    state = {low, 0};
    Base::NextRandom(state);
}

} // namespace

std::unique_ptr<GameData::TScenario> TGame::ReadScenario(const ClassLib::AnsiString& name) const {
    if (!Data2::ScenarioArchive)
        throw ClassLib::Exception(ClassLib::Format(
            "Cannot load scenario '%s': the scenario archive is not open.", name.c_str()));
    const auto stream = Data2::ScenarioArchive->OpenFile(name);
    return GameData::LoadScenario(*stream, FServices.get());
}

void TGame::LoadScenario(const ClassLib::AnsiString& name, int32_t level) {
    // Read first: a file that fails to load leaves the running game as it was.
    std::unique_ptr<GameData::TScenario> scenario = ReadScenario(name);
    CloseGame();
    Scenario = std::move(scenario);
    Level = level;
}

void TGame::LoadNextLevel() {
    FNextScenario.reset();
    if (!Data2::GlobalData || Level < 0 || Level >= Data2::GlobalData->LevelCount)
        throw ClassLib::Exception(
            ClassLib::Format("The campaign has no level %d.", int(Level + 1)));
    FNextScenario = ReadScenario(Data2::GlobalData->LevelFiles[Level]);
    FNextLevel = Level + 1;
}

bool TGame::TakeNextLevel() {
    if (!FNextScenario)
        return false;
    CloseGame();
    Scenario = std::move(FNextScenario);
    Level = FNextLevel;
    return true;
}

void TGame::CloseGame() {
    BindScreens(nullptr);
    if (Scenario)
        Scenario->StopPlayerThreads();
    Scenario.reset();
    Mode = gmSingle;
    FTurnReportDue = false;
}

void TGame::StartGame(const TGameParams& params) {
    Deactivate();
    MusicResumePending = false;
    if (!Scenario)
        return;
    FAutosaveMissingShown = false;
    FScenarioEndMissingShown = false;
    LastResult = GameData::arPending;
    GameData::TScenario& scenario = *Scenario;
    scenario.CreateSurfaces();
    BindScreens(&scenario);
    if (Level > 2)
        OpenTransferWindow();

    scenario.ResetFog();
    scenario.CurrentPlayerIndex = 0;
    scenario.CurrentPlayer = scenario.PlayerAt(0);
    scenario.Turn = 1;
    Mode = params.Mode;
    scenario.LocalPlayerID = uint32_t(params.LocalPlayerNumber);
    scenario.SetViewingPlayer(nullptr);
    for (int i = 0; i < scenario.PlayerCount() && size_t(i) < params.Players.size(); ++i) {
        GameData::TPlayer& player = *scenario.Players[i];
        player.Type = uint8_t(params.Players[size_t(i)].Control);
        player.Name = params.Players[size_t(i)].Name;
        if (player.Type == GameData::ptLocal && !scenario.ViewingPlayer())
            scenario.SetViewingPlayer(&player);
    }

    switch (Mode) {
    case gmSingle:
        scenario.SetViewingPlayer(scenario.PlayerAt(1));
        Seed(Base::RandomSeed, Win32::GetTickCount());
        break;
    case gmNetwork:
        // Every machine draws the same numbers.
        Seed(Base::RandomSeed, 0);
        Seed(Base::AIRandomSeed, 0);
        Seed(Base::SavedRandomSeed, 0);
        break;
    case gmNoLocalPlayer:
        scenario.SetViewingPlayer(nullptr);
        Seed(Base::RandomSeed, Win32::GetTickCount());
        break;
    case gmSpectator:
        scenario.SetViewingPlayer(scenario.PlayerAt(0));
        Seed(Base::RandomSeed, 0);
        Seed(Base::AIRandomSeed, 0);
        Seed(Base::SavedRandomSeed, 0);
        break;
    }

    // The campaign's level files carry no planner records.
    AIHandler::GiveUnitsToPlanners(scenario);
    ShowBriefing();
    if (FWindowSystem)
        FWindowSystem->SetForcedCursor(nullptr);
    Activate();
    StartTurn();
}

void TGame::ShowBriefing() {
    if (FWindowSystem && Data2::MainData)
        FWindowSystem->SetForcedCursor(Data2::MainData->Sprites[NormalCursorSlot]);
    MusicResumePending = false;
    if (Data2::GlobalData)
        GameData::PlayMusic(uint32_t(Data2::GlobalData->MusicIDs[ScenarioStartMusic]),
                            GameData::GameSettings.MusicVolume, true, 0);
    if (!Scenario || Scenario->Briefing.empty())
        return;
    if (!Scenario->Networked)
        GameData::PlaySpeech(uint32_t(Level));
    if (Screens.ScenarioBook)
        Screens.ScenarioBook(ClassLib::Format("%d. %s", Level, Scenario->Description),
                             Scenario->Briefing);
    GameData::StopSpeech();
}

void TGame::StartTurn() {
    if (!Scenario)
        return;
    GameData::TScenario& scenario = *Scenario;
    GameData::TPlayer* player = scenario.PlayerAt(scenario.CurrentPlayerIndex);
    if (!player)
        return;
    const bool local = player->Type == GameData::ptLocal;
    if (Mode == gmNoLocalPlayer) {
        if (!local)
            scenario.SetViewingPlayer(nullptr);
    } else if (Mode == gmSpectator || local) {
        // Hot seat: each local player looks through its own eyes on its turn.
        scenario.SetViewingPlayer(player);
    }

    if (FMapWindow)
        FMapWindow->Invalidate();
    const int32_t index = scenario.CurrentPlayerIndex;
    scenario.TriggerConversations(index, GameData::ceEveryTurn, 0);
    scenario.TriggerConversations(index, GameData::ceTurn, 0);

    scenario.BeginTurnOf(index);

    const GameData::TPlayer* viewer = scenario.ViewingPlayer();
    if (GameData::TGroup* group = player->GetSelectedGroup())
        if (FMapWindow && viewer && viewer->IsObjectVisible(*group))
            FMapWindow->CenterOn(group->X, group->Y, false, 0);

    if (player == viewer && local)
        ShowMessage(ClassLib::Format("Turn number %d started. Player %d is on turn.",
                                     int(scenario.Turn), int(index)));
    FTurnReportDue = local;
    PostTurnReport();
    if (Mode == gmSingle && local)
        AutosavePending = true;
}

void TGame::PostTurnReport() {
    GameData::TPlayer* player =
        Scenario ? Scenario->PlayerAt(Scenario->CurrentPlayerIndex) : nullptr;
    // The main thread cannot wait for a busy slot: the report follows once it is empty.
    if (!FTurnReportDue || !player || player->HasPendingAction())
        return;
    FTurnReportDue = false;
    // The quest, conversation and end checks run once at the start of the turn.
    player->PostAction(true, GameData::MakeAction(GameData::acReport, GameData::arDone));
}

} // namespace Main
