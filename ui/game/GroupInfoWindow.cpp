#include "ui/game/GroupInfoWindow.h"

#include "engine/widgets/DXButton.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "ui/game/Game.h"
#include "ui/game/SpellSelectDialog.h"
#include "ui/game/UnitInfoControl.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace Main {

using GameData::TGroup;
using GameData::TPlayer;
using GameData::TUnit;

namespace {

constexpr int32_t FullHeight = TGroupInfoWindow::RowHeight * TGroupInfoWindow::Slots;
constexpr int32_t DetailX = 20, DetailY = 20;

int32_t RowY(int slot) {
    return TGroupInfoWindow::RowHeight * slot;
}

} // namespace

TGroupInfoWindow::TGroupInfoWindow(DXWin::TDXWindowSystem* windowSystem)
    : TVRNWindow(windowSystem, 0, 0),
      ChooseSpell([this](TUnit& unit) { return ChooseFromSpellBook(unit); }) {
    SetBoundsRect({OutsideX, Top, OutsideX + PanelWidth, Top + FullHeight});
    OnTick = [this](DXWin::TDXControl*) { Step(); };
    const THotkeyTable& keys = Game ? Game->Hotkeys() : MakeKeyTable();
    for (int slot = 0; slot < Slots; ++slot) {
        auto* panel =
            new TUnitInfoControl(this, this, ulGroupPanel, DXWin::csEnabled | DXWin::csVisible);
        panel->SetPosition(PanelWidth, RowY(slot));
        panel->SetFacePosition(DetailX, DetailY);
        panel->SpellbookButton()->SetHint(
            MakeHotkeyCaption(keys[size_t(hkSpellBookSlot0 + slot)], "Spellbook"));
        panel->PortraitButton()->OnClick = [this, slot](DXWin::TDXControl*) { ToggleMark(slot); };
        panel->SpellbookButton()->OnClick = [this, slot](DXWin::TDXControl*) {
            OpenSpellBook(slot);
        };
        FPanels[size_t(slot)] = panel;
    }
}

// The panels are children and go with the group.
TGroupInfoWindow::~TGroupInfoWindow() = default;

void TGroupInfoWindow::SetScenario(GameData::TScenario* scenario) {
    FScenario = scenario;
    FGroup = nullptr;
    ClearPanels();
}

void TGroupInfoWindow::ClearPanels() {
    for (TUnitInfoControl* panel : FPanels)
        panel->SetUnit(nullptr);
}

void TGroupInfoWindow::SlideIn() {
    if (FState == gsShown)
        return;
    FState = gsShown;
    SlideTo(OutsideX - Width(), Y(), SlideMilliseconds);
}

void TGroupInfoWindow::SlideOut() {
    if (FState == gsHidden)
        return;
    FState = gsHidden;
    SlideTo(OutsideX, Y(), SlideMilliseconds);
}

void TGroupInfoWindow::SlideTo(int32_t x, int32_t y, int32_t duration) {
    FSlide.SlideTo(*this, x, y, duration);
}

void TGroupInfoWindow::Step() {
    Refresh();
    FSlide.Step(*this);
}

TGroup* TGroupInfoWindow::ShownGroup() const {
    if (!FScenario)
        return nullptr;
    TPlayer* player = FScenario->CurrentPlayer;
    return player && player == FScenario->ViewingPlayer() ? player->GetActiveGroup() : nullptr;
}

bool TGroupInfoWindow::Commands(const TGroup& group) const {
    const TPlayer* viewer = FScenario ? FScenario->ViewingPlayer() : nullptr;
    return viewer && viewer->Type == GameData::ptLocal &&
           viewer->GetRelationToGroup(&group) == GameData::RelationSelf;
}

void TGroupInfoWindow::Refresh() {
    FGroup = ShownGroup();
    if (!FGroup) {
        SlideOut();
        for (int slot = 0; slot < Slots; ++slot) {
            TUnitInfoControl& panel = *FPanels[size_t(slot)];
            panel.SetUnit(nullptr);
            // Panels near the edge slide out with the window; others go at once.
            const bool near = std::abs(panel.X() - PanelWidth) <= PanelWidth;
            panel.SlideTo(PanelWidth, RowY(slot), near ? SlideMilliseconds : 0);
            FSlotStates[size_t(slot)] = ssPushedOut;
        }
        SetSize(PanelWidth, 0);
        return;
    }
    const bool commanded = Commands(*FGroup);
    int highest = -1;
    for (int slot = 0; slot < Slots; ++slot) {
        if (TUnit* unit = FGroup->UnitAt(slot)) {
            FillSlot(slot, *unit, commanded);
            highest = slot;
        } else {
            EmptySlot(slot);
        }
        // After SetUnit, which clears the mark of a new unit.
        TUnitInfoControl& panel = *FPanels[size_t(slot)];
        panel.ShowSelection = commanded;
        panel.Marked = FGroup->SplitMarks[size_t(slot)] != 0;
    }
    SlideIn();
    SetSize(PanelWidth, RowHeight * std::max(highest + 1, FGroup->UnitCount()));
}

void TGroupInfoWindow::FillSlot(int slot, TUnit& unit, bool commanded) {
    TUnitInfoControl& panel = *FPanels[size_t(slot)];
    panel.SetUnit(&unit);
    DXWin::TDXButton& portrait = *panel.PortraitButton();
    DXWin::TDXButton& book = *panel.SpellbookButton();
    if (commanded) {
        portrait.Enable();
        portrait.SetHint(panel.Layout() != ulGroupPanel ? "Select unit" : "Select/Unselect unit");
        book.SetVisible(unit.HasUsableSpell());
    } else {
        portrait.Disable();
        portrait.SetHint("");
        book.Hide();
    }
    TSlotState& state = FSlotStates[size_t(slot)];
    if (FState == gsHidden)
        panel.SlideTo(0, RowY(slot), 0);
    else if (state == ssPushedOut)
        panel.SlideTo(0, RowY(slot), SlideMilliseconds);
    state = ssShown;
}

void TGroupInfoWindow::EmptySlot(int slot) {
    TUnitInfoControl& panel = *FPanels[size_t(slot)];
    panel.SetUnit(nullptr);
    TSlotState& state = FSlotStates[size_t(slot)];
    if (FState == gsHidden)
        panel.SlideTo(PanelWidth, RowY(slot), 0);
    else if (state == ssShown)
        panel.SlideTo(PanelWidth, RowY(slot), SlideMilliseconds);
    state = ssPushedOut;
}

void TGroupInfoWindow::ToggleMark(int slot) {
    if (!FScenario || slot < 0 || slot >= Slots)
        return;
    TGroup* group = ShownGroup();
    // Only a unit may be marked: a mark on an empty slot would split off nothing.
    if (!group || !group->UnitAt(slot) || FScenario->IsBusy())
        return;
    TPlayer* viewer = FScenario->ViewingPlayer();
    if (group->GetOwner() != viewer || viewer->Type != GameData::ptLocal)
        return;
    uint32_t marks = 0;
    for (int i = 0; i < Slots; ++i) {
        const bool marked = (group->SplitMarks[size_t(i)] != 0) != (i == slot);
        marks |= uint32_t(marked ? 1 : 0) << (8 * i);
    }
    viewer->PostAction(true, GameData::MakeAction(GameData::acMarkSplit, marks));
    PlayWidgetSound(TWidgetSound::Click);
}

void TGroupInfoWindow::OpenSpellBook(int slot) {
    if (slot < 0 || slot >= Slots)
        return;
    TGroup* group = ShownGroup();
    if (!group || group->IsSelectedCityGroup())
        return;
    TUnit* unit = group->UnitAt(slot);
    // A spell aimed from here is cast by the selected group: never another player's.
    if (!unit || !unit->HasUsableSpell() || !Commands(*group))
        return;
    PlayWidgetSound(TWidgetSound::Click);
    const int spell = ChooseSpell ? ChooseSpell(*unit) : 0;
    // The book is modal; the group is checked again in case the game moved on meanwhile.
    if (!Game || ShownGroup() != group || group->UnitAt(slot) != unit)
        return;
    Game->SpellBeingTargeted = spell;
    Game->Caster = spell > 0 ? slot : 0;
}

int TGroupInfoWindow::ChooseFromSpellBook(TUnit& unit) {
    const auto book = std::make_unique<TSpellSelectDialog>(GetWindowSystem());
    book->SetUnit(&unit, scAdventureMap);
    return book->ShowAndChoose();
}

} // namespace Main
