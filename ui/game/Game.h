// The in-game controller: one object for the run. It owns the running scenario and the
// game screens, starts scenarios, drives the turns, executes the players' posted
// actions on the main thread, keeps the message line and plays the map and battle music.
#pragma once

#include "game/world/scenario/Transfer.h"
#include "platform/classlib/AnsiString.h"
#include "ui/game/FightScreen.h"
#include "ui/game/GameParams.h"
#include "ui/game/Hotkeys.h"
#include "ui/game/TownScreen.h"
#include "ui/widgets/GameView.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

namespace GameData {
class TScenario;
class TUnit;
class TPlayer;
struct TPlayerAction;
} // namespace GameData
namespace DXWin {
class TDXWindowSystem;
}
namespace Win32 {
struct IDirectDrawSurface7;
}

namespace Main {

class TMapWindow;
class TSmallMapWindow;
class TButtonWindow;
class TGroupInfoWindow;
class TUnitDetailWindow;
class TGameScreenPlaceholders;
enum class TGameScreen : uint8_t;

// The screens of the libraries above this one, which the program installs when it
// creates the game; one not installed is reported as missing.
struct TScreenOpeners {
    // Shows the encyclopedia of the creatures that player has met, modally.
    std::function<void(const GameData::TPlayer* viewer)> CreaturePedia;
    // Rolls the briefing up in the scenario book until it has passed or is dismissed;
    // the game object's own book unless replaced.
    std::function<void(const ClassLib::AnsiString& caption, const ClassLib::AnsiString& text)>
        ScenarioBook;
};

// The pages of the main menu.
enum TMenuPage : int32_t { mpMain = 0, mpSave = 1, mpLoad = 2, mpOptions = 3 };

class TGame : public TGameView {
public:
    explicit TGame(DXWin::TDXWindowSystem* windowSystem);
    ~TGame() override;
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    void Init();
    void Done();

    // Scenarios.
    // Reads the scenario file from the "scenario" archive into a new scenario with the
    // game's services; touches nothing of the running game, so a loading-screen task
    // may run it.
    std::unique_ptr<GameData::TScenario> ReadScenario(const ClassLib::AnsiString& name) const;
    // Main thread: closes the running game and makes the scenario read from the file
    // the game's.
    void LoadScenario(const ClassLib::AnsiString& name, int32_t level);
    // The loading screen's task between levels: reads the next level into a scenario of
    // its own; the main thread takes it over with TakeNextLevel once the task returns.
    void LoadNextLevel();
    // False when no next level was read.
    bool TakeNextLevel();
    void StartGame(const TGameParams& params);
    void CloseGame();
    void ShowBriefing();
    void StartTurn();

    // Once per fixed update tick; once per rendered frame.
    void Update();
    void Draw(Win32::IDirectDrawSurface7* target);
    void HandleMessage(uint32_t message);

    void ShowMessage(const ClassLib::AnsiString& text);
    void ReportLevelUps();

    void ShowMapScreen();
    void HideMapScreen();
    void Activate();
    void Deactivate();
    void StopSounds();
    void PlayBattleMusic();
    void ScheduleMusicResume();

    void ReleaseSurfaces();
    void RecreateSurfaces();
    void RestoreSurfaces();

    // The save and load pages only while a game of this machine's own runs (never a
    // network game); the others always. OpenMainMenu does nothing for a page refused.
    bool MayOpenMenuPage(TMenuPage page) const;
    void OpenMainMenu(TMenuPage page);
    void OpenCreaturePedia();
    void OpenTransferWindow();
    // The unit sheet for the unit with its top-left corner at (x, y), modal.
    void ShowUnitSheet(GameData::TUnit* unit, int x, int y);

    // The executor of every player action, local, computer or remote.
    void ExecuteAction();

    // The story between turns and the end of the scenario.
    void ProcessConversations();
    void FinishScenario(int32_t winner);
    void Autosave();

    // Screens that do not exist yet: a line on the message line saying so (for the
    // viewing player's own doings).
    void ReportMissingScreen(TGameScreen screen);

    void ReadSettings();
    void WriteSettings();

    // 0x00RRGGBB of the player on turn; 0 without a scenario.
    uint32_t CurrentPlayerColor() const override;
    bool HoldsScenario() const override { return Scenario != nullptr; }

    // The colour of a player number from the game's player colour table.
    static uint32_t PlayerColor(int32_t playerIndex);

    DXWin::TDXWindowSystem* WindowSystem() const { return FWindowSystem; }
    TMapWindow* MapWindow() const { return FMapWindow; }
    TSmallMapWindow* SmallMap() const { return FSmallMap; }
    TButtonWindow* CommandBar() const { return FCommandBar; }
    TGroupInfoWindow* GroupPanel() const { return FGroupPanel; }
    TUnitDetailWindow* UnitSheet() const { return FUnitSheet; }
    const THotkeyTable& Hotkeys() const { return FHotkeys; }
    const std::deque<ClassLib::AnsiString>& Messages() const { return FMessages; }
    // The services every scenario the game loads is given (sounds, settings, spell
    // effects, planners, the scripting library's quests and conversations).
    GameData::TScenario& Services() const { return *FServices; }

    bool Active = false;
    std::unique_ptr<GameData::TScenario> Scenario;
    uint32_t MusicPosition = 0;
    bool MusicResumePending = false;
    uint32_t MusicResumeTime = 0;
    // Chosen in the group panel, used and cleared by the map window.
    int32_t SpellBeingTargeted = 0;
    int32_t Caster = 0; // slot of the casting unit in the active group
    int32_t MessageLines = 4;
    int32_t LastResult = 0;
    bool MessageLineVisible = true;
    int32_t MessageScroll = 0;
    uint32_t LastMessageTick = 0;
    int32_t Level = 0;
    GameData::TTransfer Transfer;
    bool AutosavePending = false;
    TGameMode Mode = gmSingle;
    TScreenOpeners Screens;
    // The fight screen the program installs; fights are refused without one.
    std::unique_ptr<TFightScreen> FightDialog;
    // The town window the program installs; towns without a scripted entry are refused
    // without one.
    std::unique_ptr<TTownScreen> TownWindow;

private:
    // The acting player's refused action: the refusal as its result.
    void Refuse(GameData::TPlayer& player);
    void RefuseForMissingScreen(GameData::TPlayer& player, TGameScreen screen);
    void ExecuteActionOf(GameData::TPlayer& player, const GameData::TPlayerAction& action);
    // acAttackGroup and acAttackCity: the fight shown when the viewing player takes
    // part, else in the background; then the attacker's report.
    void ExecuteAttack(GameData::TPlayer& player, uint32_t code, uint32_t targetID);
    void ExecuteEndTurn(GameData::TPlayer& player);
    void ExecuteReport(GameData::TPlayer& player, uint32_t outcome);
    void ExecuteSelectObject(GameData::TPlayer& player, uint32_t objectID);
    void ExecuteMoveGroup(GameData::TPlayer& player, const GameData::TPlayerAction& action);
    void ExecuteMarkSplit(GameData::TPlayer& player, uint32_t marks);
    void ExecuteEnterCity(GameData::TPlayer& player, uint32_t cityID);
    void ExecuteEnterBuilding(GameData::TPlayer& player, uint32_t buildingID);
    // Actions 13, 14, 16 and 17, carried out by the town window.
    void ExecuteTownAction(GameData::TPlayer& player, const GameData::TPlayerAction& action);
    // The highest player index whose script global is 0; -1 when none.
    int32_t FindScenarioEnd() const;
    void ShowActionResult(const GameData::TPlayer& player, int32_t result);
    void ScrollMessages();
    void ResumeMapMusicWhenDue();
    void PlayMapMusic(int32_t position);
    void BindScreens(GameData::TScenario* scenario);
    // Posts the turn's opening report once the player on turn has a free action slot.
    void PostTurnReport();

    DXWin::TDXWindowSystem* FWindowSystem;
    std::unique_ptr<GameData::TScenario> FServices;
    std::unique_ptr<TGameScreenPlaceholders> FPlaceholders;
    // Read by the loading screen's task, taken over on the main thread.
    std::unique_ptr<GameData::TScenario> FNextScenario;
    int32_t FNextLevel = 0;
    // Said once per game: the placeholders stand in on every turn.
    bool FAutosaveMissingShown = false;
    bool FScenarioEndMissingShown = false;
    bool FTurnReportDue = false;
    std::deque<ClassLib::AnsiString> FMessages;
    // The screens belong to the window system, which deletes them; Done takes them
    // back out of it so that they go with the game.
    TMapWindow* FMapWindow = nullptr;
    TSmallMapWindow* FSmallMap = nullptr;
    TButtonWindow* FCommandBar = nullptr;
    TGroupInfoWindow* FGroupPanel = nullptr;
    TUnitDetailWindow* FUnitSheet = nullptr;
    THotkeyTable FHotkeys{};
};

// The one game object of the run; null before CreateGame and after DestroyGame.
extern std::unique_ptr<TGame> Game;

} // namespace Main
