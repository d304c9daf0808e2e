#include "ui/game/Game.h"

#include "engine/sound/DSFramework.h"
#include "engine/sound/SoundStartup.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/ai/AIHandler.h"
#include "game/script/Conversation.h"
#include "game/script/QuestObjective.h"
#include "game/spells/MapSpellEffect.h"
#include "game/world/objects/Doodle.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/sound/SoundTracks.h"
#include "ui/game/ButtonWindow.h"
#include "ui/game/GroupInfoWindow.h"
#include "ui/game/MapWindow.h"
#include "ui/game/ScenarioBook.h"
#include "ui/game/ScreenPlaceholders.h"
#include "ui/game/SmallMapWindow.h"
#include "ui/game/UnitDetailWindow.h"

#include <array>

namespace Main {

std::unique_ptr<TGame> Game;

namespace {

constexpr std::array<uint32_t, 5> PlayerColors = {0xC8C8C8, 0x0083E9, 0xD45C5C, 0x8CD27E, 0xD8E78B};

// Takes a screen back from the window system and deletes it.
template <typename TWindow>
void DeleteScreen(DXWin::TDXWindowSystem* system, TWindow*& window) {
    if (!window)
        return;
    if (system)
        system->Remove(window);
    std::unique_ptr<TWindow> owned(window);
    window = nullptr;
}

template <typename TWindow>
void ShowScreen(TWindow* window, bool visible) {
    if (window)
        window->SetVisible(visible);
}

} // namespace

TGame::TGame(DXWin::TDXWindowSystem* windowSystem)
    : FWindowSystem(windowSystem), FServices(std::make_unique<GameData::TScenario>()),
      FPlaceholders(std::make_unique<TGameScreenPlaceholders>()) {
    GameData::InstallMapSpells(*FServices);
    GameData::InstallQuestObjectives(*FServices);
    GameData::InstallConversations(*FServices);
    AIHandler::InstallComputerPlayers(*FServices);
    Screens.ScenarioBook = [this](const ClassLib::AnsiString& caption,
                                  const ClassLib::AnsiString& text) {
        if (!FWindowSystem)
            return;
        TScenarioBookWindow book(FWindowSystem, 0);
        book.SetText(caption, text);
        book.ShowModal(false);
    };
}

TGame::~TGame() {
    Done();
    Transfer.Clear();
}

void TGame::Init() {
    SpellBeingTargeted = 0;
    Caster = 0;
    FMessages.clear();
    MessageLines = 4;
    MessageLineVisible = true;
    MessageScroll = 0;
    FHotkeys = MakeKeyTable();
    FMapWindow = new TMapWindow(FWindowSystem);
    FSmallMap = new TSmallMapWindow(FWindowSystem);
    FCommandBar = new TButtonWindow(FWindowSystem);
    FGroupPanel = new TGroupInfoWindow(FWindowSystem);
    FUnitSheet = new TUnitDetailWindow(FWindowSystem, DXWin::woModal);
    // The screens come up with the game, not before.
    HideMapScreen();
    ReadSettings();
}

void TGame::Done() {
    if (Scenario)
        Scenario->StopPlayerThreads();
    // The fight dialog goes first: its battle's worker reads the scenario's units, and
    // the dialog knows the map screens.
    FightDialog.reset();
    TownWindow.reset();
    DeleteScreen(FWindowSystem, FMapWindow);
    DeleteScreen(FWindowSystem, FSmallMap);
    DeleteScreen(FWindowSystem, FCommandBar);
    DeleteScreen(FWindowSystem, FGroupPanel);
    DeleteScreen(FWindowSystem, FUnitSheet);
    FMessages.clear();
    Scenario.reset();
    FNextScenario.reset();
}

void TGame::HandleMessage(uint32_t) {}

void TGame::BindScreens(GameData::TScenario* scenario) {
    if (FMapWindow)
        FMapWindow->SetScenario(scenario);
    if (FSmallMap)
        FSmallMap->SetScenario(scenario);
    if (FCommandBar)
        FCommandBar->SetScenario(scenario);
    if (FGroupPanel)
        FGroupPanel->SetScenario(scenario);
    if (TownWindow)
        TownWindow->SetScenario(scenario);
}

void TGame::ShowMapScreen() {
    ShowScreen(FMapWindow, true);
    ShowScreen(FSmallMap, true);
    ShowScreen(FCommandBar, true);
    ShowScreen(FGroupPanel, true);
    if (!MusicResumePending)
        PlayMapMusic(0);
}

void TGame::HideMapScreen() {
    ShowScreen(FMapWindow, false);
    ShowScreen(FSmallMap, false);
    ShowScreen(FCommandBar, false);
    ShowScreen(FGroupPanel, false);
}

void TGame::Activate() {
    if (Active)
        return;
    Active = true;
    ShowMapScreen();
}

void TGame::Deactivate() {
    if (!Active)
        return;
    Active = false;
    // The town screen is never open while it is a placeholder: nothing to leave.
    StopSounds();
    HideMapScreen();
}

void TGame::StopSounds() {
    DSFrame::TDSFramework* sounds = DSFramework.get();
    if (!sounds)
        return;
    sounds->FadeOutTrack(GameData::InterfaceTrack);
    sounds->FadeOutTrack(GameData::SpeechTrack);
    if (Scenario)
        for (GameData::TMapObject* object : Scenario->Objects)
            if (object->Kind == GameData::okDoodle)
                static_cast<GameData::TDoodle*>(object)->StopSound();
    for (int track = sounds->ReservedTrackCount(); track < sounds->TrackCount(); ++track)
        if (sounds->IsTrackPlaying(track))
            sounds->FadeOutTrack(track);
}

void TGame::ReleaseSurfaces() {
    if (FMapWindow)
        FMapWindow->ReleaseSurfaces();
    if (FSmallMap)
        FSmallMap->ReleaseSurfaces();
    if (Scenario)
        Scenario->FreeSurfaces();
}

void TGame::RecreateSurfaces() {
    if (FMapWindow)
        FMapWindow->RecreateSurfaces();
    if (Scenario)
        Scenario->CreateSurfaces();
    // A fight shows its picture from the map's surface.
    if (FightDialog)
        FightDialog->PaintBackdrop();
    if (TownWindow)
        TownWindow->PaintBackdrop();
}

void TGame::RestoreSurfaces() {
    if (FMapWindow)
        FMapWindow->Invalidate();
    // Its picture is made again from the fog at the next draw.
    if (FSmallMap)
        FSmallMap->ReleaseSurfaces();
    if (Scenario)
        Scenario->RestoreSpriteLists();
    if (FightDialog)
        FightDialog->PaintBackdrop();
    if (TownWindow)
        TownWindow->PaintBackdrop();
}

void TGame::ReportMissingScreen(TGameScreen screen) {
    ShowMessage(TGameScreenPlaceholders::MissingMessage(screen));
}

bool TGame::MayOpenMenuPage(TMenuPage page) const {
    // Saving and loading need a game of this machine's own: never in a network game.
    if (page == mpSave || page == mpLoad)
        return Scenario && Mode != gmNetwork;
    return true;
}

void TGame::OpenMainMenu(TMenuPage page) {
    if (MayOpenMenuPage(page))
        ReportMissingScreen(TGameScreen::MainMenu);
}

void TGame::OpenCreaturePedia() {
    if (!Screens.CreaturePedia) {
        ReportMissingScreen(TGameScreen::CreaturePedia);
        return;
    }
    Deactivate();
    if (FWindowSystem)
        FWindowSystem->SetForcedCursor(nullptr);
    Screens.CreaturePedia(Scenario ? Scenario->ViewingPlayer() : nullptr);
    Activate();
}

void TGame::OpenTransferWindow() {
    // Units carried over from earlier levels are chosen here; without the window none
    // come along, which the message says.
    ReportMissingScreen(TGameScreen::TransferWindow);
}

void TGame::ShowUnitSheet(GameData::TUnit* unit, int x, int y) {
    if (!FUnitSheet || !unit)
        return;
    FUnitSheet->SetUnit(unit);
    FUnitSheet->SheetX = x;
    FUnitSheet->SheetY = y;
    FUnitSheet->ShowModal(true);
    // A loop ended by quitting leaves the unit set: its picture goes all the same.
    FUnitSheet->SetUnit(nullptr);
}

uint32_t TGame::PlayerColor(int32_t playerIndex) {
    return playerIndex >= 0 && size_t(playerIndex) < PlayerColors.size()
               ? PlayerColors[size_t(playerIndex)]
               : 0;
}

uint32_t TGame::CurrentPlayerColor() const {
    return Scenario ? PlayerColor(Scenario->CurrentPlayerIndex) : 0;
}

} // namespace Main
