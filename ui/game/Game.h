// The in-game controller: one object for the run. It owns the running scenario and the
// game screens, starts scenarios, drives the turns, executes the players' posted
// actions on the main thread, keeps the message line and plays the map and battle music.
#pragma once

#include "game/world/scenario/Transfer.h"
#include "platform/classlib/AnsiString.h"
#include "ui/game/GameParams.h"
#include "ui/game/Hotkeys.h"
#include "ui/widgets/GameView.h"

#include <cstdint>
#include <deque>
#include <memory>

namespace GameData {
class TScenario;
}
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
class TGameScreenPlaceholders;

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
    void LoadScenario(const ClassLib::AnsiString& name, int32_t level);
    void LoadNextLevel();
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

    void OpenMainMenu(TMenuPage page);
    void OpenCreaturePedia();

    // The executor of every player action, local, computer or remote.
    void ExecuteAction();

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
    const THotkeyTable& Hotkeys() const { return FHotkeys; }
    const std::deque<ClassLib::AnsiString>& Messages() const { return FMessages; }

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

private:
    DXWin::TDXWindowSystem* FWindowSystem;
    std::deque<ClassLib::AnsiString> FMessages;
    // The screens belong to the window system, which deletes them; Done takes them
    // back out of it so that they go with the game.
    TMapWindow* FMapWindow = nullptr;
    TSmallMapWindow* FSmallMap = nullptr;
    TButtonWindow* FCommandBar = nullptr;
    THotkeyTable FHotkeys{};
};

// The one game object of the run; null before CreateGame and after DestroyGame.
extern std::unique_ptr<TGame> Game;

} // namespace Main
