#include "ui/game/ButtonWindow.h"

#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXButton.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/ButtonSprite.h"
#include "ui/game/Game.h"
#include "ui/game/ScreenPlaceholders.h"
#include "ui/widgets/ScrollDialogs.h"
#include "ui/widgets/TextControls.h"
#include "ui/widgets/WidgetArt.h"

#include <memory>

namespace Main {

using GameData::TGroup;
using GameData::TPlayer;

namespace {

struct TButtonLayout {
    int X, Y;
    const char* Caption;
    THotkeyEntry Hotkey;
    int NormalSprite, LitSprite; // global sprite table entries
};

constexpr int BackgroundSprite = 1063;
constexpr int PlayerSpriteOffset = 10;

constexpr TButtonLayout ButtonLayouts[CommandButtonCount] = {
    {6, 26, "End of turn", hkEndTurn, 1068, 1069},
    {53, -1, "Next group", hkNextGroup, 1064, 1065},
    {99, 24, "Next group with APs", hkNextGroupWithAPs, 1066, 1067},
    {99, 76, "Deploy/Pack group", hkDeployPack, 1076, 1077},
    {5, 79, "Creaturepedia", hkCreaturePedia, 1072, 1073},
    {53, 104, "Diary", hkDiary, 1070, 1071},
    {53, 51, "Main menu", hkMainMenu, 1074, 1075},
};

} // namespace

TButtonWindow::TButtonWindow(DXWin::TDXWindowSystem* windowSystem)
    : TVRNWindow(windowSystem, 0, 0),
      ConfirmEndTurn([] { return GameData::GameSettings.ConfirmEndTurn; }) {
    SetBoundsRect({Left, Top, Left + Size, Top + Size});
    OnDraw = [this](Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
        DrawBackground(target, bounds);
    };
    OnTick = [this](DXWin::TDXControl*) { UpdateButtons(); };
    for (int i = 0; i < CommandButtonCount; ++i)
        MakeButton(TCommandButton(i));
    FButtons[cbEndTurn]->OnClick = [this](DXWin::TDXControl*) { EndTurnClick(); };
    FButtons[cbNextGroup]->OnClick = [this](DXWin::TDXControl*) { NextGroupClick(); };
    FButtons[cbNextGroupWithAPs]->OnClick = [this](DXWin::TDXControl*) { NextGroupWithAPsClick(); };
    FButtons[cbDeployPack]->OnClick = [this](DXWin::TDXControl*) { DeployPackClick(); };
    FButtons[cbCreaturePedia]->OnClick = [](DXWin::TDXControl*) {
        if (Game)
            Game->OpenCreaturePedia();
    };
    FButtons[cbDiary]->OnClick = [this](DXWin::TDXControl*) { DiaryClick(); };
    FButtons[cbMainMenu]->OnClick = [this](DXWin::TDXControl*) { MainMenuClick(); };
}

// The buttons are children and go with the group.
TButtonWindow::~TButtonWindow() = default;

void TButtonWindow::MakeButton(TCommandButton index) {
    const TButtonLayout& layout = ButtonLayouts[index];
    auto* button = new DXWin::TDXButton(this, this);
    button->SetBoundsRect({layout.X, layout.Y, layout.X + ButtonSize, layout.Y + ButtonSize});
    const THotkeyTable& keys = Game ? Game->Hotkeys() : MakeKeyTable();
    button->SetHint(MakeHotkeyCaption(keys[size_t(layout.Hotkey)], layout.Caption));
    button->OnDraw = [button, &layout](Win32::IDirectDrawSurface7* target,
                                       const Win32::RECT& bounds) {
        DrawButtonSprite(*button, CommonSprite(layout.NormalSprite), CommonSprite(layout.LitSprite),
                         target, bounds);
    };
    FButtons[size_t(index)] = button;
}

void TButtonWindow::SetScenario(GameData::TScenario* scenario) {
    FScenario = scenario;
}

void TButtonWindow::DrawBackground(Win32::IDirectDrawSurface7* target,
                                   const Win32::RECT& bounds) const {
    Gfx::DrawSprite(CommonSprite(BackgroundSprite), target, 0, bounds.left, bounds.top, nullptr);
    if (!FScenario || !FScenario->CurrentPlayer ||
        FScenario->CurrentPlayer->Type == GameData::ptLocal)
        return;
    Gfx::DrawSprite(FScenario->CurrentPlayer->GetPlayerSprite(), target, 0,
                    bounds.left + PlayerSpriteOffset, bounds.top + PlayerSpriteOffset, nullptr);
}

void TButtonWindow::UpdateButtons() {
    const bool shown = CommandingPlayer() != nullptr;
    const bool enabled = shown && !FScenario->IsBusy();
    for (DXWin::TDXButton* button : FButtons) {
        if (shown)
            button->Show();
        else
            button->Hide();
        if (enabled)
            button->Enable();
        else if (shown)
            button->Disable();
    }
}

TPlayer* TButtonWindow::CommandingPlayer() const {
    if (!FScenario)
        return nullptr;
    TPlayer* player = FScenario->CurrentPlayer;
    if (!player || player != FScenario->ViewingPlayer() || player->Type != GameData::ptLocal)
        return nullptr;
    return player;
}

TPlayer* TButtonWindow::PlayerFreeToAct() const {
    TPlayer* player = CommandingPlayer();
    return player && !FScenario->IsBusy() ? player : nullptr;
}

void TButtonWindow::EndTurnClick() {
    TPlayer* player = PlayerFreeToAct();
    if (!player)
        return;
    PlayWidgetSound(TWidgetSound::Click);
    if (ConfirmEndTurn && ConfirmEndTurn()) {
        const auto dialog = std::make_unique<THorizYesNoDialog>(GetWindowSystem());
        const uint32_t colour = TGame::PlayerColor(FScenario->CurrentPlayerIndex);
        for (TTextButton* button : {dialog->YesButton(), dialog->NoButton()})
            button->SetColors(0, colour, colour, 0);
        dialog->SetText("End turn?");
        // The key that called this may have left its character behind it.
        if (dialog->ShowModal(true) != mrYes)
            return;
        // The game may have moved on while the question was up.
        if (PlayerFreeToAct() != player)
            return;
    }
    player->PostAction(true, GameData::MakeAction(GameData::acEndTurn));
}

void TButtonWindow::NextGroupClick() {
    SelectNextGroup(false);
}

void TButtonWindow::NextGroupWithAPsClick() {
    SelectNextGroup(true);
}

void TButtonWindow::SelectNextGroup(bool withActionPoints) {
    TPlayer* player = PlayerFreeToAct();
    if (!player)
        return;
    PlayWidgetSound(TWidgetSound::Click);
    const TGroup* selected = player->GetSelectedGroup();
    const int count = FScenario->Objects.Count();
    const int at = selected ? FScenario->IndexOfObject(selected) : -1;
    // From the object after the selection round to it; the whole list without one.
    const int steps = at >= 0 ? count - 1 : count;
    for (int i = 0; i < steps; ++i) {
        const GameData::TMapObject* object = FScenario->Objects[(at + 1 + i) % count];
        if (object->Kind != GameData::okGroup)
            continue;
        const auto* group = static_cast<const TGroup*>(object);
        if (group->GetOwner() != player || (withActionPoints && !group->CanStillMove()))
            continue;
        player->PostAction(true, GameData::MakeAction(GameData::acSelectObject, group->ID));
        return;
    }
}

void TButtonWindow::DeployPackClick() {
    TPlayer* player = PlayerFreeToAct();
    if (!player)
        return;
    const TGroup* group = player->GetSelectedGroup();
    if (!group || player->GetRelationToGroup(group) != GameData::RelationSelf)
        return;
    PlayWidgetSound(TWidgetSound::Click);
    if (group->CampState == GameData::csPitched)
        player->PostAction(true, GameData::MakeAction(GameData::acBreakCamp, group->ID));
    else if (group->CampState == GameData::csNone)
        player->PostAction(true, GameData::MakeAction(GameData::acPitchCamp, group->ID));
}

void TButtonWindow::DiaryClick() {
    if (!CommandingPlayer())
        return;
    PlayWidgetSound(TWidgetSound::Click);
    // The diary is a screen of its own that is not there yet: the game says so.
    if (Game)
        Game->ReportMissingScreen(TGameScreen::Diary);
}

void TButtonWindow::MainMenuClick() {
    if (!CommandingPlayer())
        return;
    PlayWidgetSound(TWidgetSound::Click);
    if (Game)
        Game->OpenMainMenu(mpMain);
}

} // namespace Main
