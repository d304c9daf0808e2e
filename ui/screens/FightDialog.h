// The screen on which two groups fight a tactical battle in rounds: each side gives
// its units' commands (a person by mouse and keys, the computer on the battle's
// worker thread, a peer over the network, all as one fight-command action), then
// spells, moves, strikes and counterstrikes play with animations. The battle's rules
// decide every outcome; this screen only orders them, shows them and collects the
// commands. A fight without the viewing player runs the same rules in the background.
#pragma once

#include "engine/core/ActionThread.h"
#include "game/spells/Battle.h"
#include "game/spells/GroupBattleSide.h"
#include "ui/game/FightScreen.h"
#include "ui/widgets/VRNWindow.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace Audio {
class TAudioStream;
}
namespace DXWin {
class TDXButton;
}
namespace GameData {
class TCity;
class TGroup;
class TScenario;
class TSpell;
class TUnit;
} // namespace GameData
namespace Gfx {
class TSprite;
}

namespace Main {

class TGame;
class TUnitInfoControl;

enum TFightPhase : int32_t {
    fpAttackerCommands = 0,
    fpDefenderCommands = 1,
    fpShowCommands = 2,
    fpRoundStart = 3,
    fpCastSpells = 4,
    fpResolveGuards = 5,
    fpPrepareMoves = 6,
    fpMoveToTargets = 7,
    fpStartAttacks = 8,
    fpAnimateAttackers = 9,
    fpApplyAttackers = 10,
    fpAwaitAttackResults = 11,
    fpStartCounterattacks = 12,
    fpAnimateDefenders = 13,
    fpApplyDefenders = 14,
    fpAwaitCounterattackResults = 15,
    fpRoundEnd = 16,
};

// The answers a side gives to its command prompt.
enum TFightRequest : int32_t { frNone = 0, frAutomatic = 1, frFlee = 2, frAccept = 3 };

// What a fighter is doing on the field.
enum TFightAnim : int32_t {
    faIdle = 0,
    faWalking = 1,
    faStriking = 2,
    faCasting = 3,
    faDying = 4,
    faDead = 5,
    faFlinching = 6,
};

// The sprites a fighter holds, as SpriteFlags bits.
enum TFightSprites : int32_t {
    fsIdle = 1,
    fsWalking = 2,
    fsStriking = 4,
    fsDying = 8,
    fsCasting = 16,
};

// One fighter on the field; X and Y are pixels inside the battle field.
struct TUnitData {
    int32_t X = 0, Y = 0;
    int32_t Direction = 0; // 0 down, then clockwise as seen on screen: 1 down-right ... 7 down-left
    int32_t Anim = faIdle;
    int32_t AnimTarget = -1;
    int32_t Frame = 0;
    int32_t WaypointX = -1, WaypointY = -1;
    int32_t PrevWaypointX = -1, PrevWaypointY = -1;
    int32_t SpriteFlags = 0;
    Gfx::TSprite* CurrentSprite = nullptr; // chosen by the drawing
};

class TFightDialog : public TVRNWindow, public TFightScreen {
public:
    // A sound waiting for its tick.
    struct TSoundInfo {
        int32_t Delay = 0;
        int32_t Volume = 0;
        Audio::TAudioStream* Sound = nullptr;
    };

    static constexpr int FieldCells = 6;
    static constexpr int CellPixels = 64;

    TFightDialog(DXWin::TDXWindowSystem* windowSystem, TGame& game);
    ~TFightDialog() override;

    // TFightScreen (FightStart.cpp).
    void StartGroupFight(GameData::TGroup* attacker, GameData::TGroup* defender) override;
    void StartCityFight(GameData::TGroup* attacker, GameData::TCity* town, int row) override;
    void Run() override;
    void RunBackgroundGroupFight(GameData::TGroup* attacker, GameData::TGroup* defender) override;
    void RunBackgroundCityFight(GameData::TGroup* attacker, GameData::TCity* town,
                                int row) override;
    bool SetSideCommands(uint32_t answer, const uint32_t* commands) override; // FightCommands.cpp
    void PaintBackdrop() override;
    bool Fighting() const override;
    void Abandon() override;

    // Start and finish (FightStart.cpp).
    void SetUpFight(GameData::TGroup* attacker, GameData::TGroup* defender);
    void RunBackgroundFight(GameData::TGroup* attacker, GameData::TGroup* defender);
    void FinishFight();
    void ResetState();
    void ShowPanels();
    void HidePanels();
    void ChooseBackdrop();
    void ReleaseSprites();

    // The round machine (FightRounds.cpp).
    void Tick() override;
    void NextPhase();
    void PlayQueuedSounds();
    void QueueSound(Audio::TAudioStream* sound, int32_t volume);
    void PrepareSpellEffect();
    bool AnimateHits();
    bool AnimateDeaths();
    void AnimateIdle();
    int NextStepDirection(int slot, int targetCellX, int targetCellY) const;
    static int DirectionTo(int fromX, int fromY, int toX, int toY);
    static int CellOf(int pixel) { return ((pixel + 64000) >> 6) - 1000; }

    // Commands (FightCommands.cpp).
    void UpdateButtons();
    bool AttackerIsLocal() const;
    bool DefenderIsLocal() const;
    bool AttackerIsComputer() const;
    bool DefenderIsComputer() const;
    bool AttackerIsRemote() const;
    bool DefenderIsRemote() const;
    bool CurrentPlayerIsRemote() const;
    void PostSideCommands();
    void Flee();
    void Accept();
    void AssignAutomatically();
    void ClickSlot(int slot);
    void CancelSlot(int slot);
    void ChooseSpell(int slot);
    void SetHoverSlot(int slot);
    int SlotAt(int x, int y) const;
    void PollNetwork();
    void MouseDown(int button, DXWin::TShiftState shift, int x, int y) override;
    void MouseMove(DXWin::TShiftState shift, int x, int y) override;
    void KeyDown(Win32::WPARAM& key, DXWin::TShiftState shift) override;
    // One tick of Phase 0 or 1, the side's command prompt.
    void StepCommands(bool attackers);

    // The screen (FightDialog.cpp, FightDrawing.cpp).
    void Draw(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) override;
    static bool CompareDrawOrder(const TUnitData& a, const TUnitData& b);

    GameData::TGroup* AttackingGroup() const { return FAttacker; }
    GameData::TGroup* DefendingGroup() const { return FDefender; }
    TGame& Game() const { return FGame; }

    GameData::TBattle Battle;
    int32_t Phase = fpAttackerCommands;
    int32_t SelectedSlot = -1;
    int32_t FieldLeft = 208, FieldTop = 150, FieldRight = 592, FieldBottom = 534;
    int32_t PendingSpell = 0;
    ClassLib::AnsiString StatusText;
    uint8_t Automatic = 0;
    std::unique_ptr<Base::TActionThread> EffectThread;
    uint32_t PhaseTicks = 0;
    GameData::TCity* City = nullptr;
    Gfx::TSprite* Backdrop = nullptr;
    std::array<TUnitData, GameData::BattleSlotCount> Units{};
    // The slot now casting or about to, -1 when none; the casts of the round come one
    // at a time from the battle, in its order.
    int32_t Caster = -1;
    std::unique_ptr<GameData::TSpell> CurrentSpell;
    std::unique_ptr<GameData::TSpell> PreparedSpell;
    uint32_t TotalTicks = 0;
    Gfx::TSprite* SavedCursor = nullptr;
    uint8_t Background = 0;
    Gfx::TSprite* FightAnimation = nullptr;
    int32_t FightX = 0, FightY = 0;
    int32_t HoverSlot = -1;
    int32_t Request = frNone;
    std::vector<TSoundInfo> Sounds;
    uint8_t AnimationDone = 1;
    DXWin::TDXButton* AcceptButton = nullptr;
    DXWin::TDXButton* AutoButton = nullptr;
    DXWin::TDXButton* FleeButton = nullptr;
    std::array<TUnitInfoControl*, GameData::BattleSlotCount> Panels{};

private:
    TGame& FGame;
    GameData::TGroup* FAttacker = nullptr;
    GameData::TGroup* FDefender = nullptr;
    // The battle's views of the two groups.
    std::optional<GameData::TGroupBattleSide> FAttackerSide;
    std::optional<GameData::TGroupBattleSide> FDefenderSide;

    // ---- FightRounds.cpp ----
    void QueueHitSound(int striker, int target);
    void StepPhase();
    void StepCasts();
    void StepCaster();
    void StepFlyingSpell();
    void TakeCastSprites();
    void CastAtCastFrame();
    int CastTarget() const;
    void EndCasting(int slot);
    void EndCast();
    void PrepareMoves();
    bool StepMoves();
    void StartStrikes(bool attackers);
    bool StepStrikes(bool attackers);
    void ApplyStrikes(bool attackers);
    void EndRound();
    bool HasBothSides() const;
    // The step NextStepDirection takes, -1 when every neighbour is taken or off the field.
    int FreeStepDirection(int slot, int targetCellX, int targetCellY) const;
    int TargetCellX(int slot) const;
    int TargetCellY(int slot) const;
    int FrameCount(int slot, int spriteSet) const;
    static void RaiseFrameFlag();

    // The casts of the round still to come, in the battle's order.
    GameData::TBattle::TCastWalk FCastWalk;
    bool FCastsDone = false;
    // The caster's cost is paid and its success rolled once; a successful spell takes
    // effect once.
    bool FCastPaid = false;
    bool FSpellApplied = false;
    bool FEffectPrepared = false;
    // What EffectThread worked out for the caster; read once the thread has ended.
    const Data2::TSpellPrototype* FPreparedPrototype = nullptr;
    int FCastDirection = 0;
    // The new wounds (age 0) each slot has flinched at: a wound not yet aged makes no
    // second flinch.
    std::array<int, GameData::BattleSlotCount> FReactedWounds{};
    // Idle chances and sound delays only: they must not draw on the game's seeded state.
    std::minstd_rand FAnimationRandom;

    // ---- FightCommands.cpp ----
    // Lets the commands' tests put two groups into the dialog without a whole fight start.
    friend struct TFightCommandsTestAccess;
    // The main data's cursor for the mouse over HoverSlot while a command is chosen.
    int CursorEntry() const;

    // ---- FightStart.cpp ----
    // The groups, the battle's views of them and the scenario that registers the
    // units the battle makes.
    void BeginFight(GameData::TGroup* attacker, GameData::TGroup* defender);
    // After either kind of fight, once the battle effects are gone: the groups free
    // again, the town's defenders back in their rows, the dead removed, the costs
    // refilled.
    void PutWorldInOrder();
    // One side's commands in a background fight: the computer's when the side is
    // assigned automatically, then the answer the executed fight-command action
    // gives; frNone when the wait was given up.
    int32_t AwaitSideCommands(bool attackers);
    // Keeps the game running until ready holds, at most maxSteps updates when that is
    // not 0; false when the wait was given up (the program quits, the connection is
    // lost, the game closes, or headless, nothing is left that could answer).
    bool WaitFor(const std::function<bool()>& ready, uint32_t maxSteps);
    // One update of the nested loop without an application: the next action, the tick.
    void StepWithoutApplication();
    bool WaitGivenUp() const;
    // The scenario the fight runs in; its registry of the units the battle makes.
    GameData::TScenario* FScenario = nullptr;
    std::optional<GameData::TScenarioUnitRegistry> FRegistry;

    // ---- FightDialog.cpp, FightDrawing.cpp ----
    // Tests set a fight up field by field.
    friend struct TFightDrawingProbe;
    // The side-relative column (0..2) and the owner's row of a slot's badge; false
    // without a unit.
    bool BadgeCell(int slot, int& column, int& row) const;
    // The badge's cell of the sheet with its top-left corner at (x, y).
    void DrawBadge(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip, int slot, int x,
                   int y) const;
    void DrawPlannedCommands(Win32::IDirectDrawSurface7* target, int firstSlot) const;
    void ChooseCurrentSprites();
    void DrawSelectionMarker(Win32::IDirectDrawSurface7* target, int slot) const;
    void DrawFighters(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip);
    void DrawDamageNumbers(Win32::IDirectDrawSurface7* target, const Win32::RECT& clip) const;
    // The map window's picture behind the field; null without one.
    Win32::IDirectDrawSurface7* BattlePicture() const;
};

} // namespace Main
