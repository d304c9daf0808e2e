// The town window: its controls, the town actions' handlers and the town view's layout.
#include "ui/screens/CityWindow.h"

#include "engine/graphics/SpriteDrawing.h"
#include "game/world/cities/City.h"
#include "game/world/data/GlobalData.h"
#include "game/world/players/ActionValidation.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/sound/SoundTracks.h"
#include "ui/game/Game.h"
#include "ui/game/MapWindow.h"
#include "ui/screens/CityArt.h"
#include "ui/screens/FaceControl.h"
#include "ui/widgets/MenuButtons.h"
#include "ui/widgets/SpriteButton.h"
#include "ui/widgets/SpriteScrollBar.h"
#include "ui/widgets/TextControls.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>

namespace Main {

using namespace GameData;

namespace {

constexpr uint32_t Shown = DXWin::csEnabled | DXWin::csVisible;
constexpr int WindowHeight = 600;
constexpr int CellWidth = 94, CellHeight = 130;
constexpr int ScrollingRows = 4;

struct TListPanelPlace {
    int PanelX, Columns, ButtonX;
    const char* Hint;
};
// Defenders, other units, civilians.
constexpr TListPanelPlace ListPanels[CityListPanels] = {
    {377, 3, 662, "Defenders"},
    {674, 1, 771, "Other units"},
    {703, 1, 800, "Civilian units"},
};
constexpr int ExpandButtonY = 570, ExpandButtonWidth = 15, ExpandButtonHeight = 26;
constexpr int ScrollBarY = 88, ScrollBarWidth = 15, ScrollBarHeight = 472;
constexpr int ScrollArrowLength = 15, ScrollThumbLength = 26;

constexpr int ButtonAreaLeft = 30, ButtonAreaWidth = 740, ButtonY = 86;
constexpr int DefaultButtonWidth = 100, DefaultButtonHeight = 30;
constexpr const char* BuildingCaptions[CityBuildingCount] = {"Inn",       "MAGE", "TRAINER",
                                                             "HERBALIST", "",     ""};
constexpr const char* BuildingHints[CityBuildingCount] = {"Enter inn",          "Enter mage",
                                                          "Enter battlemaster", "Enter herbalist",
                                                          "Enter house",        "Enter house"};

constexpr int LeaveX = 614, LeaveY = 18, GoldX = 614, GoldY = 86;
constexpr int ButtonFont = 1;

TMenuButton* MakeTextButton(DXWin::TDXGroup* parent, DXWin::TDXWindow* window, const char* caption,
                            const char* hint) {
    auto* button = new TMenuButton(parent, window);
    button->SetFont(InterfaceFont(ButtonFont));
    button->SetBackground(CommonSprite(csMenuButton));
    button->SetText(caption);
    button->SetHint(hint);
    button->AutoSize();
    button->CenterTextHorizontally();
    button->CenterTextVertically();
    return button;
}

} // namespace

TCityWindow::TCityWindow(DXWin::TDXWindowSystem* windowSystem, TGame& game)
    : TVRNWindow(windowSystem, 0, 0), FGame(game) {
    SetSize(800, WindowHeight);

    LeaveButton = MakeTextButton(this, this, "LEAVE", "Leave town");
    LeaveButton->SetPosition(LeaveX, LeaveY);
    LeaveButton->OnClick = [this](DXWin::TDXControl*) { LeavePressed(); };
    GoldDisplay = MakeTextButton(this, this, "0", "Your gold");
    GoldDisplay->SetPosition(GoldX, GoldY);

    GateGroupPanel = new TFaceControl(this, this, Shown);
    GateGroupPanel->ColumnCount = 3;
    GateGroupPanel->SetHint("Entering/Leaving group");
    GateGroupPanel->OnDrawCell = [this](int row, int column, const Win32::RECT& rect,
                                        Win32::IDirectDrawSurface7* target) {
        DrawCell(cpnGateGroup, row, column, rect, target);
    };

    std::array<Gfx::TSprite*, ScrollBarSpriteCount> scrollParts{};
    for (int i = 0; i < ScrollBarSpriteCount; ++i)
        scrollParts[size_t(i)] = CommonSprite(csFirstScrollPart + i);
    std::array<TFaceControl**, CityListPanels> panels{&DefendersPanel, &OtherUnitsPanel,
                                                      &CiviliansPanel};
    for (int i = 0; i < CityListPanels; ++i) {
        const TListPanelPlace& place = ListPanels[i];
        auto* container = new DXWin::TDXGroup(this, this, Shown);
        Containers[size_t(i)] = container;
        auto* panel = new TFaceControl(container, this, Shown);
        panel->ColumnCount = place.Columns;
        panel->VisibleRowCount = ScrollingRows;
        panel->SetHint(place.Hint);
        const int cityPanel = cpnDefenders + i;
        panel->OnDrawCell = [this, cityPanel](int row, int column, const Win32::RECT& rect,
                                              Win32::IDirectDrawSurface7* target) {
            DrawCell(cityPanel, row, column, rect, target);
        };
        *panels[size_t(i)] = panel;

        auto* expand = new TSpriteButton(container, this);
        expand->SetPosition(place.ButtonX, ExpandButtonY);
        expand->SetSize(ExpandButtonWidth, ExpandButtonHeight);
        expand->OnClick = [this, i](DXWin::TDXControl*) {
            Expanded[size_t(i)] = !Expanded[size_t(i)];
            LayOutPanels();
        };
        ExpandButtons[size_t(i)] = expand;

        auto* bar = new TSpriteScrollBar(container, DXWin::sbVertical, ScrollArrowLength,
                                         ScrollThumbLength);
        bar->SetPosition(place.ButtonX, ScrollBarY);
        bar->SetSize(ScrollBarWidth, ScrollBarHeight);
        bar->SetSprites(scrollParts);
        panel->ScrollBar = bar;
        PanelScrollBars[size_t(i)] = bar;
    }
    // Civilians reach the player only through the inn's hire grid.
    Containers[cpnCivilians - cpnDefenders]->Hide();

    auto* buildings = new DXWin::TDXGroup(this, this, Shown);
    Containers[CityListPanels] = buildings;
    for (int i = 0; i < CityBuildingCount; ++i) {
        auto* button = MakeTextButton(buildings, this, BuildingCaptions[i], BuildingHints[i]);
        button->OnClick = [this, i](DXWin::TDXControl*) { BuildingPressed(i); };
        button->Hide();
        button->Disable();
        BuildingButtons[size_t(i)] = button;
        auto* label = new TTextLabel(buildings, this);
        label->SetFont(InterfaceFont(ButtonFont));
        label->Hide();
        BuildingLabels[size_t(i)] = label;
    }
    LayOutPanels();
    CreateMerchantControls();
}

TCityWindow::~TCityWindow() {
    ReleaseSprites();
}

void TCityWindow::SetScenario(TScenario* scenario) {
    if (scenario == FScenario)
        return;
    // A town of the scenario before is no longer open.
    ReleaseSprites();
    if (Visible())
        Hide();
    ClearPress();
    SelectedUnit = nullptr;
    OpenMerchant = omNone;
    FCity = nullptr;
    FScenario = scenario;
}

TPlayer* TCityWindow::LocalPlayer() const {
    if (!FScenario)
        return nullptr;
    TPlayer* player = FScenario->PlayerAt(FScenario->CurrentPlayerIndex);
    if (!player || player != FScenario->ViewingPlayer() || player->Type != ptLocal)
        return nullptr;
    return player;
}

void TCityWindow::EnterCity(TCity* town, TGroup* group) {
    if (!town || !group)
        return;
    FCity = town;
    town->EnterGroup(*group);
    if (!LocalPlayer())
        return;

    FGame.MusicResumePending = false;
    PlayMusic(town->MusicID, GameSettings.MusicVolume, false, 0);

    const TGroup& gate = *town->GateGroup;
    SelectedUnit = gate.UnitCount() > 0 ? gate.UnitAt(0) : nullptr;
    ClearPress();
    Expanded = {};
    for (TSpriteScrollBar* bar : PanelScrollBars) {
        bar->SetPositionValue(0);
        bar->UpdatePosition(false);
    }

    AcquireSprites();
    ArrangeBuildingButtons();
    LayOutPanels();
    OpenMerchant = omNone;
    UpdatePanels();

    FGame.StopSounds();
    FGame.HideMapScreen();
    Show();
    PaintBackdrop();
}

void TCityWindow::LeaveCity() {
    if (!FCity)
        return;
    FCity->PrepareLeave();
    if (Visible()) {
        FGame.MusicResumePending = false;
        Close();
        if (TMapWindow* map = FGame.MapWindow())
            map->Invalidate();
        // With no music waiting to resume, the map screen starts the scenario's.
        FGame.ShowMapScreen();
        ReleaseSprites();
    }
    ClearPress();
    SelectedUnit = nullptr;
    OpenMerchant = omNone;
    FCity = nullptr;
}

bool TCityWindow::ApplyMoveUnit(int32_t from, int32_t unitID, int32_t to, int32_t row) {
    // The executor has checked the action already; a direct call is held to the same
    // rules, so that no path moves another player's units.
    if (!FCity || !FScenario || !FScenario->CurrentPlayer ||
        FindEnteredCity(*FScenario, *FScenario->CurrentPlayer) != FCity ||
        !IsValidCityMove(*FScenario, *FScenario->CurrentPlayer, uint32_t(from), uint32_t(unitID),
                         uint32_t(to), row))
        return false;
    if (!FCity->MoveUnit(uint32_t(from), uint32_t(unitID), uint32_t(to), row))
        return false;
    if (LocalPlayer() && Visible()) {
        // The selection stays a gate-group unit.
        const TGroup& gate = *FCity->GateGroup;
        if (!SelectedUnit || gate.FindUnitByID(SelectedUnit->ID) != SelectedUnit)
            SelectedUnit = gate.UnitCount() > 0 ? gate.UnitAt(0) : nullptr;
        LayOutPanels();
        RefreshMerchantPanel();
    }
    return true;
}

void TCityWindow::PaintBackdrop() {
    TMapWindow* map = FGame.MapWindow();
    if (!Visible() || !map || !map->RenderSurface())
        return;
    if (TownPicture)
        Gfx::DrawSprite(TownPicture, map->RenderSurface(), 0, 0, 0, nullptr);
    if (BuildingPicture)
        Gfx::DrawSprite(BuildingPicture, map->RenderSurface(), 0, 0, 0, nullptr);
}

const TMerchant* TCityWindow::Building(int building) const {
    if (!FCity || building < 0 || building >= CityBuildingCount)
        return nullptr;
    const TMerchant* merchants[CityBuildingCount] = {&FCity->Innkeeper,    &FCity->Mage,
                                                     &FCity->BattleMaster, &FCity->Herbalist,
                                                     &FCity->Custom1,      &FCity->Custom2};
    return merchants[building];
}

void TCityWindow::ArrangeBuildingButtons() {
    int count = 0;
    for (int i = 0; i < CityBuildingCount; ++i)
        if (const TMerchant* merchant = Building(i); merchant && merchant->Enabled)
            ++count;
    // A town without buildings shows no buttons.
    const int slot = count > 0 ? ButtonAreaWidth / count : 0;
    int k = 0;
    for (int i = 0; i < CityBuildingCount; ++i) {
        TMenuButton* button = BuildingButtons[size_t(i)];
        TTextLabel* label = BuildingLabels[size_t(i)];
        const TMerchant* merchant = Building(i);
        if (!merchant || !merchant->Enabled) {
            button->Hide();
            button->Disable();
            label->Hide();
            continue;
        }
        Gfx::TSprite* picture = ButtonPictures[size_t(i)];
        button->SetBackground(picture ? picture : CommonSprite(csMenuButton));
        button->AutoSize();
        if (!picture && !CommonSprite(csMenuButton))
            button->SetSize(DefaultButtonWidth, DefaultButtonHeight);
        button->CenterTextHorizontally();
        button->CenterTextVertically();
        const int x = ButtonAreaLeft + k * slot + (slot - button->Width()) / 2;
        button->SetPosition(x, ButtonY);
        button->Show();
        button->Enable();
        label->SetCaption(merchant->Text1);
        label->SetPosition(x, ButtonY + button->Height());
        label->SetSize(button->Width(), DefaultButtonHeight);
        label->Show();
        ++k;
    }
}

int TCityWindow::PanelRows(int panel) const {
    if (!FCity)
        return 1;
    switch (panel) {
    case cpnDefenders:
        return std::max(1, int(FCity->RowCount));
    case cpnOtherUnits:
        return std::max(1, FCity->OtherUnits.Count());
    case cpnCivilians:
        return std::max(1, FCity->Civilians.Count());
    default:
        return 1;
    }
}

void TCityWindow::LayOutPanels() {
    GateGroupPanel->RowCount = 1;
    GateGroupPanel->SetPosition(0, WindowHeight - CellHeight);
    GateGroupPanel->SetSize(GateGroupPanel->ColumnCount * CellWidth, CellHeight);
    const std::array<TFaceControl*, CityListPanels> panels{DefendersPanel, OtherUnitsPanel,
                                                           CiviliansPanel};
    for (int i = 0; i < CityListPanels; ++i) {
        TFaceControl& panel = *panels[size_t(i)];
        panel.RowCount = Expanded[size_t(i)] ? PanelRows(cpnDefenders + i) : 1;
        const int visible = panel.VisibleRows();
        panel.SetPosition(ListPanels[i].PanelX, WindowHeight - visible * CellHeight);
        panel.SetSize(panel.ColumnCount * CellWidth, visible * CellHeight);
        // The button shows what a press does: collapse an expanded panel, expand another.
        const int sprite = Expanded[size_t(i)] ? csCollapseButton : csExpandButton;
        ExpandButtons[size_t(i)]->SetSprites(CommonSprite(sprite), CommonSprite(sprite + 1),
                                             CommonSprite(sprite + 1), CommonSprite(sprite));
        TSpriteScrollBar& bar = *PanelScrollBars[size_t(i)];
        if (panel.RowCount > ScrollingRows) {
            bar.SetRange(0, panel.RowCount - ScrollingRows);
            bar.UpdatePosition(false);
            bar.Show();
            bar.Enable();
        } else {
            bar.SetRange(0, 0);
            bar.SetPositionValue(0);
            bar.UpdatePosition(false);
            bar.Hide();
            bar.Disable();
        }
    }
}

void TCityWindow::SelectUnit(TUnit* unit) {
    SelectedUnit = unit;
    RefreshMerchantPanel();
}

TUnit* TCityWindow::UnitAt(int panel, int row, int column) const {
    if (!FCity || row < 0 || column < 0)
        return nullptr;
    switch (panel) {
    case cpnGateGroup:
        return row == 0 && column < MaxGroupUnits ? FCity->GateGroup->UnitAt(column) : nullptr;
    case cpnDefenders: {
        if (column >= DefenderRowSize)
            return nullptr;
        const int place = row * DefenderRowSize + column;
        return place < FCity->DefenderPlaceCount() ? FCity->DefenderAt(place) : nullptr;
    }
    case cpnOtherUnits:
        return column == 0 && row < FCity->OtherUnits.Count() ? FCity->OtherUnits[row] : nullptr;
    case cpnCivilians:
        return column == 0 && row < FCity->Civilians.Count() ? FCity->Civilians[row] : nullptr;
    default:
        return nullptr;
    }
}

void TCityWindow::SelectOtherGateUnit(const TUnit* leaving) {
    if (!FCity || leaving != SelectedUnit)
        return;
    const TGroup& gate = *FCity->GateGroup;
    if (gate.UnitCount() > 1)
        SelectedUnit = gate.UnitAt(gate.UnitAt(0) == leaving ? 1 : 0);
    else
        SelectedUnit = nullptr;
}

void TCityWindow::ClearPress() {
    PressPending = false;
    Dragging = false;
    PressedUnit = nullptr;
    PressPanel = cpnNone;
}

} // namespace Main
