// A fight's start and finish: the dialog prepared, shown or run in the background,
// and the world put back in order afterwards.
#include "ui/screens/FightDialog.h"

#include "engine/app/DXApplication.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXButton.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/LoadedGlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Exception.h"
#include "ui/game/Game.h"
#include "ui/game/GroupInfoWindow.h"
#include "ui/game/MapWindow.h"
#include "ui/game/UnitInfoControl.h"

#include <chrono>
#include <thread>

namespace Main {

using namespace GameData;

namespace {

constexpr int MapCellPixels = 40;
// The animation on the map while a fight runs out of the viewing player's sight of
// the dialog: a sprite of the common library, kept for the screens.
constexpr uint32_t FightAnimationSpriteID = 1078;
// Ticks per frame of that animation.
constexpr uint32_t FightAnimationFrameTicks = 10;

struct TStartPosition {
    int CellX, CellY, Direction;
};
// The attackers stand along the lower left, facing up-right; the defenders along the
// upper right, facing down-left.
constexpr TStartPosition StartPositions[BattleSlotCount] = {
    {0, 3, 3}, {1, 4, 3}, {2, 5, 3}, {3, 0, 7}, {4, 1, 7}, {5, 2, 7},
};

// A group at pixel (0, 0) has no place on the map (a town's defenders).
bool HasPosition(const TGroup& group) {
    return group.X != 0 || group.Y != 0;
}

bool SeesCellOf(const TPlayer& viewer, const TGroup& group) {
    return viewer.IsCellVisible(group.X / MapCellPixels, group.Y / MapCellPixels);
}

// A side chosen without this machine's input: the computer's, and a local player's
// who is not the one at the screen, since nobody would answer its prompt.
bool ChoosesAutomatically(const TGroup& group, const TPlayer* viewer) {
    const TPlayer* owner = group.GetOwner();
    return owner && (owner->Type == ptComputer || (owner->Type == ptLocal && owner != viewer));
}

// Null when the library lacks it: the fight then shows only the dialog's frame.
Gfx::TSprite* AcquireFightAnimation() {
    if (!Data2::GlobalData)
        return nullptr;
    try {
        return Data2::GlobalData->CommonLibrary.AcquireSpriteByID(FightAnimationSpriteID);
    } catch (const ClassLib::Exception&) {
        return nullptr;
    }
}

bool AnyoneActs(const TBattle& battle) {
    for (const TCombatantSlot& slot : battle.Slots)
        if (slot.Command == bcAttack || slot.Command == bcCastSpell)
            return true;
    return false;
}

} // namespace

void TFightDialog::StartGroupFight(TGroup* attacker, TGroup* defender) {
    City = nullptr;
    SetUpFight(attacker, defender);
}

void TFightDialog::StartCityFight(TGroup* attacker, TCity* town, int row) {
    town->LoadDefenderGroup(row);
    City = town;
    SetUpFight(attacker, town->DefenderGroup.get());
}

void TFightDialog::Run() {
    FGame.StopSounds();
    FGame.HideMapScreen();
    FGame.PlayBattleMusic();
    ShowModal(false);
}

void TFightDialog::RunBackgroundGroupFight(TGroup* attacker, TGroup* defender) {
    City = nullptr;
    RunBackgroundFight(attacker, defender);
}

void TFightDialog::RunBackgroundCityFight(TGroup* attacker, TCity* town, int row) {
    City = town;
    town->LoadDefenderGroup(row);
    RunBackgroundFight(attacker, town->DefenderGroup.get());
}

void TFightDialog::PaintBackdrop() {
    TMapWindow* map = FGame.MapWindow();
    if (!Backdrop || !map || !map->RenderSurface())
        return;
    Gfx::DrawSprite(Backdrop, map->RenderSurface(), 0, 0, 0, nullptr);
}

bool TFightDialog::Fighting() const {
    // A background fight lasts until its animation on the map has ended.
    return FAttacker != nullptr || Background != 0;
}

void TFightDialog::Abandon() {
    // The background fight's waits read the lost connection themselves.
    if (Fighting() && !Background)
        FinishFight();
}

void TFightDialog::BeginFight(TGroup* attacker, TGroup* defender) {
    FScenario = FGame.Scenario.get();
    FAttacker = attacker;
    FDefender = defender;
    FAttackerSide.emplace(*attacker);
    FDefenderSide.emplace(*defender);
    Battle.SetGroups(&*FAttackerSide, &*FDefenderSide);
    FRegistry.emplace(*FScenario);
    Battle.Registry = &*FRegistry;
    Battle.CastInAutomaticCombat = GameSettings.CastInAutoCombat;
    // A town's walls help its defenders.
    Battle.SetDefenceBonus(City ? Data2::GameConstant(Data2::gcFightStartValue) : 0);
    Request = frNone;
}

void TFightDialog::SetUpFight(TGroup* attacker, TGroup* defender) {
    if (!FGame.Scenario || !attacker || !defender)
        return;
    FGame.Scenario->InBattle = 1;
    ResetState();
    BeginFight(attacker, defender);
    for (DXWin::TDXButton* button : {AcceptButton, FleeButton, AutoButton})
        if (button)
            button->Show();
    for (TUnitInfoControl* panel : Panels)
        if (panel)
            panel->SetUnit(nullptr);
    HidePanels();
    ChooseBackdrop();
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        const TStartPosition& start = StartPositions[slot];
        TUnitData& unit = Units[size_t(slot)];
        const int32_t held = unit.SpriteFlags; // ShowPanels took the idle and dying sprites
        unit = TUnitData{};
        unit.X = start.CellX * CellPixels + CellPixels / 2;
        unit.Y = start.CellY * CellPixels + CellPixels / 2;
        unit.Direction = start.Direction;
        unit.SpriteFlags = held;
    }
    UpdateButtons();
    PaintBackdrop();
    if (DXWin::TDXWindowSystem* windows = FGame.WindowSystem()) {
        SavedCursor = windows->ForcedCursor();
        windows->SetForcedCursor(nullptr);
    }
    Sounds.clear();
}

void TFightDialog::RunBackgroundFight(TGroup* attacker, TGroup* defender) {
    TScenario* scenario = FGame.Scenario.get();
    if (!scenario || !attacker || !defender)
        return;
    scenario->InBattle = 1;
    const TPlayer* viewer = scenario->ViewingPlayer();
    const bool shown = viewer && (SeesCellOf(*viewer, *attacker) ||
                                  (HasPosition(*defender) && SeesCellOf(*viewer, *defender)));
    PhaseTicks = 0;
    Background = 1;
    if (shown) {
        FightAnimation = AcquireFightAnimation();
        HidePanels();
        for (DXWin::TDXButton* button : {AcceptButton, FleeButton, AutoButton})
            if (button)
                button->Hide();
        Show();
    }
    FightX = attacker->X;
    FightY = attacker->Y;
    if (HasPosition(*defender)) {
        FightX = (attacker->X + defender->X) / 2;
        FightY = (attacker->Y + defender->Y) / 2;
    }
    FightX -= scenario->View.Left;
    FightY -= scenario->View.Top;

    ResetState();
    BeginFight(attacker, defender);
    // Both sides' commands, then the round as the shown fight plays it.
    for (;;) {
        const int32_t attackers = AwaitSideCommands(true);
        if (attackers == frFlee)
            attacker->SpendActionCost();
        if (attackers != frAccept || AwaitSideCommands(false) != frAccept)
            break;
        // A round in which nobody strikes or casts changes nothing, and the next one
        // would be chosen alike: nobody here can end it otherwise.
        if (!AnyoneActs(Battle))
            break;
        Battle.PlayRound();
        if (Battle.AttackersDefeated() || Battle.DefendersDefeated() || !attacker->AnyUnitCanAct())
            break;
    }
    if (FGame.Scenario.get() == scenario)
        Battle.RemoveBattleEffects();
    PutWorldInOrder();
    ResetState();
    if (shown) {
        AnimationDone = 0;
        // The animation ends on its last frame; the tick says when, and at the latest
        // it has shown every frame once.
        const uint32_t frames = FightAnimation ? uint32_t(FightAnimation->FrameCount()) : 0;
        WaitFor([this] { return AnimationDone != 0; }, (frames + 1) * FightAnimationFrameTicks);
        AnimationDone = 1;
        Hide();
        if (FightAnimation && Data2::GlobalData)
            Data2::GlobalData->CommonLibrary.ReleaseSpriteByPointer(FightAnimation);
        FightAnimation = nullptr;
    }
    Background = 0;
    if (FGame.Scenario.get() == scenario)
        scenario->InBattle = 0;
    City = nullptr;
    FScenario = nullptr;
}

int32_t TFightDialog::AwaitSideCommands(bool attackers) {
    Phase = attackers ? fpAttackerCommands : fpDefenderCommands;
    const TGroup& side = attackers ? *FAttacker : *FDefender;
    if (ChoosesAutomatically(side, FScenario->ViewingPlayer())) {
        if (attackers)
            Battle.StartAttackerAIThread();
        else
            Battle.StartDefenderAIThread();
        if (!WaitFor([this] { return Battle.AIDone != 0 || !Battle.IsAIThreadRunning(); }, 0))
            return frNone;
        Battle.FreeAIThread();
        PostSideCommands();
    }
    if (!WaitFor([this] { return Request != frNone; }, 0))
        return frNone;
    const int32_t answer = Request;
    Request = frNone;
    return answer;
}

bool TFightDialog::WaitGivenUp() const {
    return !FScenario || FGame.Scenario.get() != FScenario || FScenario->ConnectionLost ||
           (DXApp::Application && DXApp::Application->Quit);
}

bool TFightDialog::WaitFor(const std::function<bool()>& ready, uint32_t maxSteps) {
    uint32_t steps = 0;
    const auto finished = [&] {
        return WaitGivenUp() || ready() || (maxSteps != 0 && steps >= maxSteps);
    };
    if (finished())
        return !WaitGivenUp() && (ready() || maxSteps != 0);
    DXApp::TDXApplication* application = DXApp::Application;
    if (application && application->Window) {
        bool done = false;
        const DXApp::TCallback outer = application->OnUpdate;
        application->ProcessMessages(
            &done,
            [&] {
                // The game is never updated past a lost connection here: closing it
                // would free the groups this fight still holds.
                if (!WaitGivenUp()) {
                    if (outer)
                        outer();
                    // The window system ticks the dialog only while it shows.
                    if (!Visible())
                        Tick();
                    ++steps;
                }
                done = finished();
            },
            nullptr);
    } else {
        while (!finished()) {
            StepWithoutApplication();
            ++steps;
            if (finished())
                break;
            const TPlayer* player = FScenario->PlayerAt(FScenario->CurrentPlayerIndex);
            const bool answerPossible = Battle.IsAIThreadRunning() ||
                                        (player && player->HasPendingAction()) ||
                                        FScenario->IsNetworked();
            // Without an application nobody else can post: nothing left means nothing
            // will come.
            if (maxSteps == 0 && !answerPossible)
                return false;
            if (Battle.IsAIThreadRunning())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return !WaitGivenUp() && (ready() || maxSteps != 0);
}

void TFightDialog::StepWithoutApplication() {
    FGame.ExecuteAction();
    if (!WaitGivenUp())
        Tick();
}

void TFightDialog::PutWorldInOrder() {
    // A game closed under the fight took the groups with it.
    if (!FScenario || FGame.Scenario.get() != FScenario)
        return;
    TScenario& scenario = *FScenario;
    scenario.ClearBattleFlags(FAttacker, FDefender);
    if (City)
        City->ReleaseDefenderGroup();
    scenario.RemoveDeadUnits();
    if (TGroupInfoWindow* panel = FGame.GroupPanel())
        panel->Refresh();
    if (TPlayer* player = scenario.PlayerAt(scenario.CurrentPlayerIndex))
        if (TGroup* group = player->GetSelectedGroup();
            group && player->GetRelationToGroup(group) == RelationSelf &&
            scenario.FindObjectByID(group->ID) == group)
            scenario.FloodFillCosts(group->X / MapCellPixels, group->Y / MapCellPixels, *group);
}

void TFightDialog::FinishFight() {
    HidePanels();
    ReleaseSprites();
    const bool sameGame = FScenario && FGame.Scenario.get() == FScenario;
    if (sameGame) {
        // Effects first: a copy a spell made leaves its side before the sprites refresh.
        Battle.RemoveBattleEffects();
        Battle.RefreshUnitSprites();
        FScenario->InBattle = 0;
    }
    PutWorldInOrder();
    if (TMapWindow* map = FGame.MapWindow())
        map->Invalidate();
    ResetState();
    City = nullptr;
    FScenario = nullptr;
    Close();
    FGame.ScheduleMusicResume();
    FGame.ShowMapScreen();
    if (DXWin::TDXWindowSystem* windows = FGame.WindowSystem())
        windows->SetForcedCursor(SavedCursor);
    SavedCursor = nullptr;
}

void TFightDialog::ResetState() {
    Battle.Reset();
    Phase = fpAttackerCommands;
    SelectedSlot = -1;
    HoverSlot = -1;
    PendingSpell = 0;
    // Between fights the battle holds no groups.
    FAttacker = nullptr;
    FDefender = nullptr;
    FAttackerSide.reset();
    FDefenderSide.reset();
    FRegistry.reset();
}

void TFightDialog::ShowPanels() {
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        if (!Battle.IsValidSlot(slot))
            continue;
        TUnit* unit = Battle.UnitAt(slot);
        if (TUnitInfoControl* panel = Panels[size_t(slot)]; panel && !panel->Visible()) {
            panel->SetUnit(unit);
            panel->Show();
        }
        // Held once per slot, so that a refresh after a spell takes nothing twice.
        int32_t& held = Units[size_t(slot)].SpriteFlags;
        if (!(held & fsIdle)) {
            unit->AcquireBattleIdleSprites();
            held |= fsIdle;
        }
        if (!(held & fsDying)) {
            unit->AcquireBattleDeathSprites();
            held |= fsDying;
        }
    }
}

void TFightDialog::HidePanels() {
    for (TUnitInfoControl* panel : Panels)
        if (panel) {
            panel->SetUnit(nullptr);
            panel->Hide();
        }
}

void TFightDialog::ChooseBackdrop() {
    ShowPanels();
    if (Backdrop || !FGame.Scenario)
        return;
    TScenario& scenario = *FGame.Scenario;
    uint32_t id = 0;
    if (City && City->RowValue != 0) {
        id = City->RowValue;
    } else {
        const int count = scenario.BattleBackgrounds.Count();
        // Only this machine sees the picture: the draw leaves the game's states alone.
        if (count > 0)
            id = scenario.BattleBackgrounds[scenario.EffectRandom.Below(count)];
        if (FDefender) {
            const int cellX = FDefender->X / MapCellPixels;
            const int cellY = FDefender->Y / MapCellPixels;
            for (const TArea* area : scenario.Areas)
                if (area->Value != 0 && area->ContainsCell(cellX, cellY)) {
                    id = area->Value;
                    break;
                }
        }
    }
    if (id == 0)
        return;
    try {
        Backdrop = scenario.SpriteLibrary.AcquireSpriteByID(id);
    } catch (const ClassLib::Exception&) {
        // A picture the library lacks leaves the field bare.
        Backdrop = nullptr;
    }
}

void TFightDialog::ReleaseSprites() {
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        int32_t& held = Units[size_t(slot)].SpriteFlags;
        TUnit* unit = Battle.UnitAt(slot);
        if (unit && (held & fsIdle))
            unit->ReleaseBattleIdleSprites();
        if (unit && (held & fsDying))
            unit->ReleaseBattleDeathSprites();
        held &= ~(fsIdle | fsDying);
    }
    if (Backdrop && FGame.Scenario)
        FGame.Scenario->SpriteLibrary.ReleaseSpriteByPointer(Backdrop);
    Backdrop = nullptr;
}

} // namespace Main
