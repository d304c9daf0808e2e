// The map window's cursor and hover text, and what its clicks and keys post.
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/cities/City.h"
#include "game/world/data/MainData.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "platform/win32/VirtualKeys.h"
#include "ui/game/ButtonWindow.h"
#include "ui/game/Game.h"
#include "ui/game/GroupInfoWindow.h"
#include "ui/game/MapWindow.h"

#include <array>

namespace Main {

using namespace GameData;

namespace {

Gfx::TSprite* MainSprite(int slot) {
    return Data2::MainData ? Data2::MainData->Sprites[slot] : nullptr;
}

// Edge codes 1-8 by the facing their arrow shows (0 down, then clockwise).
constexpr std::array<int, 9> EdgeFacing{0, 4, 2, 0, 6, 5, 3, 7, 1};

int CursorSlotOf(int32_t code) {
    switch (code) {
    case tcMove:
    case tcMerge:
        return msMoveCursor;
    case tcAttack:
        return msAttackCursor;
    case tcTalk:
        return msTalkCursor;
    case tcEnter:
        return msEnterCursor;
    case tcBlocked:
    case tcTooManyUnits:
    case tcTwoHeroes:
        return msBlockedCursor;
    case tcAttackCity:
        return msAttackCityCursor;
    case tcEnterSelectedCity:
        return msSelectCursor;
    default:
        return Data2::msPointerCursor;
    }
}

// The units the hero keys select, by key.
constexpr std::array<uint32_t, HeroKeyCount> HeroUnitIDs{500, 501, 519, 503, 504, 505, 506, 507,
                                                         508, 509, 512, 515, 516, 522, 517, 521};

constexpr uint32_t MarkerToGroup = 1;          // parameter 4, byte 0
constexpr uint32_t MarkerIntoLocation = 0x100; // parameter 4, byte 1
constexpr uint32_t RefillCosts = 1;            // parameter 7
constexpr uint32_t AttackMode = 1, TalkMode = 2;
constexpr int32_t ArrowStep = 40;

} // namespace

void TMapWindow::ChooseCursor() {
    FHoverCost = -1;
    FHover = {};
    DXWin::TDXWindowSystem* system = GetWindowSystem();
    if (FDragging) {
        system->SetForcedCursor(MainSprite(Data2::msPointerCursor));
        return;
    }
    if (!InCommand()) {
        system->SetForcedCursor(FScenario->InBattle ? nullptr : MainSprite(msWaitCursor));
        SetHint("");
        return;
    }
    system->SetForcedCursor(nullptr);
    const int32_t x = system->MouseX(), y = system->MouseY();
    if (const int32_t edge = EdgeAt(x, y)) {
        SetCursor(MainSprite(msFirstScrollCursor + EdgeFacing[size_t(edge)]));
        SetHint("");
        return;
    }
    if (Game && Game->SpellBeingTargeted >= 1) {
        int32_t cellX = 0, cellY = 0;
        ScreenToTile(x, y, cellX, cellY);
        const bool castable =
            FScenario->CanCastSpellAt(Game->Caster, Game->SpellBeingTargeted, cellY, cellX);
        SetCursor(MainSprite(castable ? msCanCastCursor : msCannotCastCursor));
        SetHint("");
        return;
    }
    if (FScenario->IsBusy() || system->WindowAt(x, y) != this) {
        SetCursor(MainSprite(Data2::msPointerCursor));
        SetHint("");
        return;
    }
    if (HasMovableGroup()) {
        FHover = ClassifyTarget(x, y);
        SetCursor(MainSprite(CursorSlotOf(FHover.Code)));
        const TPlayer* viewer = FScenario->ViewingPlayer();
        const TMapObject* object = FHover.Object;
        SetHint(object && viewer && viewer->IsCellVisible(object->CellX(), object->CellY())
                    ? object->Name
                    : AnsiString());
        return;
    }
    const TMapTarget target = ClassifyTargetNoGroup(x, y);
    SetCursor(MainSprite(target.Code == ntNone ? Data2::msPointerCursor : msSelectCursor));
    SetHint(target.Object ? target.Object->Name : AnsiString());
}

void TMapWindow::PostAction(const TPlayerAction& action) {
    FScenario->CurrentPlayer->PostAction(true, action);
}

void TMapWindow::MouseDown(int button, DXWin::TShiftState shift, int x, int y) {
    TDXWindow::MouseDown(button, shift, x, y);
    if (!FScenario || !InCommand() || FDragging || FCentring)
        return;
    TPlayer& player = *FScenario->CurrentPlayer;
    // A click stops a walking group. Its peers could not know of it, so a networked
    // game leaves the walk alone.
    if (player.GetActionResult() == arPending && !FScenario->IsNetworked())
        if (TGroup* group = player.GetSelectedGroup();
            group && (group->Activity == gaMove || group->Activity == gaCastSpell))
            group->RequestStop();
    if (FScenario->IsBusy())
        return;
    switch (button) {
    case DXWin::mbMiddle:
        StartDrag(x, y);
        break;
    case DXWin::mbLeft:
        if (EdgeAt(x, y) == 0)
            ClickTarget(x, y);
        break;
    case DXWin::mbRight:
        if (Game && Game->SpellBeingTargeted != 0) {
            Game->SpellBeingTargeted = 0;
            Game->Caster = 0;
        } else if (player.Selection) {
            PostAction(MakeAction(acSelectObject, 0));
        }
        break;
    default:
        break;
    }
}

void TMapWindow::MouseUp(int button, DXWin::TShiftState shift, int x, int y) {
    TDXWindow::MouseUp(button, shift, x, y);
    if (button == DXWin::mbMiddle && FDragging)
        StopDrag();
}

void TMapWindow::ClickTarget(int x, int y) {
    TPlayer& player = *FScenario->CurrentPlayer;
    if (Game && Game->SpellBeingTargeted >= 1) {
        int32_t cellX = 0, cellY = 0;
        ScreenToTile(x, y, cellX, cellY);
        const TGroup* group = player.GetSelectedGroup();
        const TUnit* caster = group && Game->Caster >= 0 && Game->Caster < MaxGroupUnits
                                  ? group->UnitAt(Game->Caster)
                                  : nullptr;
        if (!caster ||
            !FScenario->CanCastSpellAt(Game->Caster, Game->SpellBeingTargeted, cellY, cellX))
            return;
        PostAction(MakeAction(acCastSpell, caster->ID, uint32_t(Game->SpellBeingTargeted),
                              uint32_t(cellX), uint32_t(cellY)));
        Game->SpellBeingTargeted = 0;
        Game->Caster = 0;
        ShowMarker(x, y);
        return;
    }
    if (!HasMovableGroup()) {
        const TMapTarget target = ClassifyTargetNoGroup(x, y);
        if (target.Code == ntGroup || target.Code == ntLocation)
            PostAction(MakeAction(acSelectObject, target.Object->ID));
        else if (target.Code == ntEnterCity)
            PostAction(MakeAction(acEnterCity, target.Object->ID));
        return;
    }
    const TMapTarget target = ClassifyTarget(x, y);
    const uint32_t cellX = uint32_t(target.CellX), cellY = uint32_t(target.CellY);
    const uint32_t objectID = target.Object ? target.Object->ID : 0;
    TPlayerAction move = MakeAction(acMoveGroup, cellX, cellY);
    move.P[6] = RefillCosts;
    switch (target.Code) {
    case tcMove:
        break;
    case tcMerge:
        move.P[3] = MarkerToGroup;
        move.P[5] = objectID;
        break;
    case tcAttack:
    case tcTalk:
        move.P[2] = target.Code == tcAttack ? AttackMode : TalkMode;
        move.P[5] = objectID;
        break;
    case tcEnter:
    case tcAttackCity:
        move.P[0] = move.P[1] = 0;
        move.P[3] = MarkerIntoLocation;
        move.P[5] = objectID;
        break;
    case tcEnterSelectedCity:
        PostAction(MakeAction(acEnterCity, objectID));
        return;
    case tcBlocked:
        if (Game)
            Game->ShowMessage("Path blocked.");
        return;
    case tcTooManyUnits:
        if (Game)
            Game->ShowMessage("Can't merge, too many units in groups.");
        return;
    case tcTwoHeroes:
        if (Game)
            Game->ShowMessage("Can't merge, there are heroes in both groups.");
        return;
    default:
        return;
    }
    PostAction(move);
    ShowMarker(x, y);
}

void TMapWindow::KeyDown(Win32::WPARAM& key, DXWin::TShiftState shift) {
    TDXWindow::KeyDown(key, shift);
    if (key == 0 || (shift & (DXWin::ssShift | DXWin::ssCtrl | DXWin::ssAlt)) != 0 || !FScenario)
        return;
    const TPlayer* viewer = FScenario->ViewingPlayer();
    const TPlayer* player = FScenario->CurrentPlayer;
    if (!viewer || !player || viewer->Type != ptLocal || player->Type != ptLocal ||
        FScenario->IsBusy())
        return;
    uint32_t pressed = uint32_t(key);
    if (HandleKey(pressed))
        key = 0;
}

bool TMapWindow::HandleKey(uint32_t key) {
    if (!Game)
        return false;
    const THotkeyTable& keys = Game->Hotkeys();
    for (int slot = 0; slot < 3; ++slot)
        if (MatchHotkey(keys[size_t(hkSpellBookSlot0 + slot)], key)) {
            if (TGroupInfoWindow* panel = Game->GroupPanel())
                panel->OpenSpellBook(slot);
            return true;
        }
    TPlayer& player = *FScenario->CurrentPlayer;
    if (Game->Mode == gmSingle)
        for (int i = 0; i < HeroKeyCount; ++i) {
            if (!MatchHotkey(keys[size_t(hkHeroFirst + i)], key))
                continue;
            const TUnit* hero = FScenario->Units.FindByID(HeroUnitIDs[size_t(i)]);
            const TGroup* group = hero ? hero->GetGroup() : nullptr;
            if (group && group->GetOwner() == &player)
                PostAction(MakeAction(acSelectObject, group->ID));
            return true;
        }
    TButtonWindow* bar = Game->CommandBar();
    const auto command = [&](THotkeyEntry entry) { return MatchHotkey(keys[size_t(entry)], key); };
    if (command(hkEndTurn)) {
        if (bar)
            bar->EndTurnClick();
    } else if (command(hkNextGroup)) {
        if (bar)
            bar->NextGroupClick();
    } else if (command(hkNextGroupWithAPs)) {
        if (bar)
            bar->NextGroupWithAPsClick();
    } else if (command(hkDeployPack)) {
        if (bar)
            bar->DeployPackClick();
    } else if (command(hkDiary)) {
        if (bar)
            bar->DiaryClick();
    } else if (command(hkCreaturePedia)) {
        Game->OpenCreaturePedia();
    } else if (command(hkMainMenu)) {
        Game->OpenMainMenu(mpMain);
    } else {
        switch (key) {
        case Win32::VK_LEFT:
            SetView(ViewX() - ArrowStep, ViewY());
            break;
        case Win32::VK_RIGHT:
            SetView(ViewX() + ArrowStep, ViewY());
            break;
        case Win32::VK_UP:
            SetView(ViewX(), ViewY() - ArrowStep);
            break;
        case Win32::VK_DOWN:
            SetView(ViewX(), ViewY() + ArrowStep);
            break;
        // The game object refuses the pages a game may not open (none in a network game).
        case Win32::VK_F6:
            Game->OpenMainMenu(mpSave);
            break;
        case Win32::VK_F7:
            Game->OpenMainMenu(mpLoad);
            break;
        default:
            break;
        }
    }
    return true;
}

} // namespace Main
