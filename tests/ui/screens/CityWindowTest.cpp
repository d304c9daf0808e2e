// The town window on the tiny world: entering and leaving for the player at this
// machine and for the others, units dragged and double-clicked between the places, the
// panels' rows and scroll bars, the building buttons, and the town actions the rules
// refuse.
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/ui/screens/TownWorld.h"
#include "tools/SpriteWriter.h"
#include "ui/game/MapWindow.h"
#include "ui/game/UnitDetailWindow.h"
#include "ui/widgets/MenuButtons.h"
#include "ui/widgets/SpriteButton.h"
#include "ui/widgets/SpriteScrollBar.h"

#include <cstring>

namespace {

using namespace GameData;
using Main::TCityWindow;

class CityWindowTest : public TownTest {
protected:
    CityWindowTest() { Game->ShowMapScreen(); }

    TUnit* Gate(int slot) const { return Town->GateGroup->UnitAt(slot); }
    std::vector<TUnit*> Others() const {
        return {Town->OtherUnits.begin(), Town->OtherUnits.end()};
    }
    // Drags and lets the executor carry out what was posted; whether anything was.
    bool DragAndRun(int fromX, int fromY, int toX, int toY) {
        Drag(fromX, fromY, toX, toY);
        if (!Posted())
            return false;
        EXPECT_EQ(Run(), arDone);
        return true;
    }
};

TEST_F(CityWindowTest, TheLocalPlayersVisitOpensTheTownAndLeavingReturnsToTheMap) {
    // The group's units take the gate last slot first.
    TUnit* first = Group->UnitAt(1);
    Game->MusicResumePending = true;
    Enter();
    EXPECT_TRUE(Window->Visible());
    EXPECT_EQ(Window->Town(), Town);
    EXPECT_FALSE(Game->MapWindow()->Visible());
    EXPECT_FALSE(Game->MusicResumePending);
    EXPECT_EQ(Scenario().InCity, 1);
    EXPECT_EQ(Town->GateGroup->UnitCount(), 2);
    EXPECT_EQ(Window->SelectedUnit, first);
    EXPECT_EQ(Window->OpenMerchant, Main::omNone);
    for (bool expanded : Window->Expanded)
        EXPECT_FALSE(expanded);

    // Escape posts the leave; the town sets the gate group out and the map comes back.
    Key(Win32::VK_ESCAPE);
    ASSERT_TRUE(Posted());
    EXPECT_EQ(Run(), arDone);
    EXPECT_FALSE(Window->Visible());
    EXPECT_EQ(Window->Town(), nullptr);
    EXPECT_TRUE(Game->MapWindow()->Visible());
    EXPECT_EQ(Scenario().InCity, 0);
    EXPECT_EQ(Player(0).Selection, Town);
}

TEST_F(CityWindowTest, TheControlsStandWhereTheLayoutPutsThemAndLeaveClosesTheTown) {
    Enter();
    struct TCase {
        const DXWin::TDXControl* Control;
        int X, Y;
        const char* Hint;
    } cases[] = {
        {Window->LeaveButton, 614, 18, "Leave town"},
        {Window->GoldDisplay, 614, 86, "Your gold"},
        {Window->GateGroupPanel, 0, 470, "Entering/Leaving group"},
        {Window->DefendersPanel, 377, 470, "Defenders"},
        {Window->OtherUnitsPanel, 674, 470, "Other units"},
        {Window->CiviliansPanel, 703, 470, "Civilian units"},
        {Window->ExpandButtons[0], 662, 570, ""},
        {Window->ExpandButtons[1], 771, 570, ""},
        {Window->ExpandButtons[2], 800, 570, ""},
        {Window->PanelScrollBars[0], 662, 88, ""},
        {Window->PanelScrollBars[2], 800, 88, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Hint);
        EXPECT_EQ(c.Control->X(), c.X);
        EXPECT_EQ(c.Control->Y(), c.Y);
        EXPECT_EQ(c.Control->Hint(), c.Hint);
    }
    EXPECT_EQ(Window->LeaveButton->Text(), "LEAVE");
    const char* const captions[] = {"Inn", "MAGE", "TRAINER", "HERBALIST"};
    for (size_t i = 0; i < std::size(captions); ++i)
        EXPECT_EQ(Window->BuildingButtons[i]->Text(), captions[i]);

    // While a unit is pressed the button does nothing; then it leaves.
    const Main::TMenuButton& leave = *Window->LeaveButton;
    MoveTo(GateX(0), CellCentreY);
    Mouse(Win32::WM_LBUTTONDOWN, GateX(0), CellCentreY, Win32::MK_LBUTTON);
    Window->LeavePressed();
    EXPECT_FALSE(Posted());
    Mouse(Win32::WM_LBUTTONUP, GateX(0), CellCentreY);
    ClickAt(leave.X() + 5, leave.Y() + 5);
    ASSERT_TRUE(Posted());
    EXPECT_EQ(Run(), arDone);
    EXPECT_FALSE(Window->Visible());
}

TEST_F(CityWindowTest, AVisitByAnyoneButTheLocalPlayerOnTurnChangesTheTownButNotTheScreen) {
    struct TCase {
        const char* Name;
        uint8_t Type;
        bool Viewing;
    } cases[] = {
        {"computer", ptComputer, true},
        {"remote", ptRemote, true},
        {"local, not the viewer", ptLocal, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TCase& c = cases[i];
        SCOPED_TRACE(c.Name);
        TGroup* group = Spares[i];
        SetTurn(0, c.Type, c.Viewing ? &Player(0) : &Player(1));
        Player(0).SelectObject(group);
        ASSERT_EQ(Execute(MakeAction(acEnterCity, Town->ID)), arDone);
        EXPECT_EQ(Window->Town(), Town);
        EXPECT_EQ(Town->GateGroup->UnitCount(), 1);
        EXPECT_FALSE(Window->Visible());
        EXPECT_TRUE(Game->MapWindow()->Visible());
        EXPECT_EQ(Execute(MakeAction(acMoveCityUnit, cpGateGroup, Gate(0)->ID, cpOtherUnits,
                                     uint32_t(-1))),
                  arDone);
        EXPECT_EQ(Town->GateGroup->UnitCount(), 0);
        EXPECT_EQ(Execute(MakeAction(acLeaveCity)), arDone);
        EXPECT_EQ(Window->Town(), nullptr);
        EXPECT_FALSE(Window->Visible());
        EXPECT_TRUE(Game->MapWindow()->Visible());
    }
}

TEST_F(CityWindowTest, UnitsDragBetweenTheGateTheDefendersAndTheOtherUnits) {
    Enter();
    TUnit* a = Gate(0);
    TUnit* b = Gate(1);
    TUnit* c = Others()[0];
    TUnit* d = Others()[1];

    // The selected unit leaves the gate: the other one there is selected.
    ASSERT_TRUE(DragAndRun(GateX(0), CellCentreY, DefenderX(0), CellCentreY));
    EXPECT_EQ(Town->DefenderAt(0), a);
    EXPECT_EQ(Gate(0), b);
    EXPECT_EQ(Window->SelectedUnit, b);
    // Onto its own row: nothing to post.
    EXPECT_FALSE(DragAndRun(DefenderX(0), CellCentreY, DefenderX(2), CellCentreY));
    // A press that never moves far enough is no drag.
    EXPECT_FALSE(DragAndRun(OtherX, CellCentreY, OtherX + 5, CellCentreY - 5));
    ASSERT_TRUE(DragAndRun(OtherX, CellCentreY, DefenderX(1), CellCentreY));
    ASSERT_TRUE(DragAndRun(OtherX, CellCentreY, DefenderX(2), CellCentreY));
    EXPECT_EQ(Town->DefenderAt(1), c);
    EXPECT_EQ(Town->DefenderAt(2), d);
    EXPECT_TRUE(Others().empty());
    // The row is full: the drop is refused and the unit stays.
    EXPECT_FALSE(DragAndRun(GateX(0), CellCentreY, DefenderX(0), CellCentreY));
    EXPECT_EQ(Gate(0), b);

    ASSERT_TRUE(DragAndRun(DefenderX(0), CellCentreY, OtherX, CellCentreY));
    EXPECT_EQ(Others(), std::vector<TUnit*>{a});
    EXPECT_EQ(Town->DefenderAt(0), c);
    ASSERT_TRUE(DragAndRun(OtherX, CellCentreY, GateX(2), CellCentreY));
    EXPECT_EQ(Gate(1), a);
    // Within the gate group, or onto the town's picture: nothing.
    EXPECT_FALSE(DragAndRun(GateX(0), CellCentreY, GateX(1), CellCentreY));
    EXPECT_FALSE(DragAndRun(GateX(0), CellCentreY, 400, 300));

    // Out go both gate units; the last leaves no unit selected.
    ASSERT_TRUE(DragAndRun(GateX(0), CellCentreY, OtherX, CellCentreY));
    EXPECT_EQ(Window->SelectedUnit, a);
    ASSERT_TRUE(DragAndRun(GateX(0), CellCentreY, OtherX, CellCentreY));
    EXPECT_EQ(Window->SelectedUnit, nullptr);
    EXPECT_EQ(Town->GateGroup->UnitCount(), 0);
    // Into the empty gate group: the unit becomes the selected one.
    ASSERT_TRUE(DragAndRun(OtherX, CellCentreY, GateX(0), CellCentreY));
    EXPECT_EQ(Window->SelectedUnit, Gate(0));
}

TEST_F(CityWindowTest, DoubleClicksSendGateUnitsToTheOtherUnitsAndBack) {
    Enter();
    TUnit* a = Gate(0);
    TUnit* b = Gate(1);
    DoubleClick(GateX(0), CellCentreY);
    ASSERT_TRUE(Posted());
    // Until the move has its result the screen posts nothing more.
    DoubleClick(GateX(1), CellCentreY);
    Key(Win32::VK_ESCAPE);
    EXPECT_EQ(Run(), arDone);
    EXPECT_FALSE(Posted());
    EXPECT_EQ(Others().back(), a);
    EXPECT_EQ(Gate(0), b);
    EXPECT_TRUE(Window->Visible());
    EXPECT_EQ(Window->SelectedUnit, b);
    DoubleClick(GateX(0), CellCentreY);
    ASSERT_EQ(Run(), arDone);
    EXPECT_EQ(Window->SelectedUnit, nullptr);

    // The first of the other units comes to the empty gate and is selected.
    TUnit* first = Others()[0];
    DoubleClick(OtherX, CellCentreY);
    ASSERT_EQ(Run(), arDone);
    EXPECT_EQ(Gate(0), first);
    EXPECT_EQ(Window->SelectedUnit, first);

    // The right button shows the unit's sheet where it was pressed, and moves nothing.
    Mouse(Win32::WM_RBUTTONDOWN, OtherX, CellCentreY);
    Mouse(Win32::WM_RBUTTONUP, OtherX, CellCentreY);
    EXPECT_EQ(Game->UnitSheet()->SheetX, OtherX);
    EXPECT_EQ(Game->UnitSheet()->SheetY, CellCentreY);
    EXPECT_FALSE(Posted());

    // With a merchant open the gate units stay.
    Window->OpenMerchant = Main::omInn;
    DoubleClick(GateX(0), CellCentreY);
    EXPECT_FALSE(Posted());
}

TEST_F(CityWindowTest, ExpandedPanelsShowUpToFourRowsAndScrollTheRest) {
    Enter();
    Main::TFaceControl& defenders = *Window->DefendersPanel;
    Main::TSpriteScrollBar& bar = *Window->PanelScrollBars[0];
    EXPECT_EQ(defenders.RowCount, 1);
    EXPECT_EQ(defenders.Y(), 470);

    struct TCase {
        int Rows;
        bool Bar;
        int Top;
        int Maximum;
    } cases[] = {{4, false, 80, 0}, {2, false, 340, 0}, {5, true, 80, 1}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Rows);
        Town->SetRowCount(c.Rows);
        Window->Expanded[0] = true;
        Window->LayOutPanels();
        EXPECT_EQ(defenders.RowCount, c.Rows);
        EXPECT_EQ(defenders.Y(), c.Top);
        EXPECT_EQ(defenders.Height(), std::min(c.Rows, 4) * 130);
        EXPECT_EQ(bar.Visible(), c.Bar);
        EXPECT_EQ(bar.Maximum(), c.Maximum);
    }

    // Five rows: the wheel scrolls one step, and the cells are found one row further.
    MoveTo(DefenderX(0), 100);
    Wheel(-120);
    EXPECT_EQ(bar.Position(), 1);
    int row = -1, column = -1;
    ASSERT_TRUE(defenders.HitTest(49, 51, row, column));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 0);
    EXPECT_FALSE(defenders.HitTest(5, 51, row, column));
    EXPECT_EQ(row, -1);

    // The expand button collapses the panel back to one row without a bar.
    ClickAt(662 + 7, 570 + 13);
    EXPECT_FALSE(Window->Expanded[0]);
    EXPECT_EQ(defenders.RowCount, 1);
    EXPECT_FALSE(bar.Visible());
    EXPECT_EQ(bar.Position(), 0);
    // And the other units' button shows each unit in a row of its own.
    ClickAt(771 + 7, 570 + 13);
    EXPECT_TRUE(Window->Expanded[1]);
    EXPECT_EQ(Window->OtherUnitsPanel->RowCount, 2);
    EXPECT_EQ(Window->OtherUnitsPanel->Y(), 340);
    // The civilians never show: they come only through the inn.
    EXPECT_FALSE(Window->Containers[2]->Visible());
}

TEST_F(CityWindowTest, BuildingButtonsShareTheRowByTheBuildingsTheTownHas) {
    Enter();
    struct TCase {
        std::array<uint8_t, 6> Enabled;
        std::vector<int> Left; // of each shown button, in order
    } cases[] = {
        {{1, 0, 0, 0, 0, 0}, {350}},
        {{1, 1, 1, 1, 0, 0}, {72, 257, 442, 627}},
        {{1, 0, 0, 0, 0, 1}, {165, 535}},
        {{0, 0, 0, 0, 0, 0}, {}},
    };
    for (const TCase& c : cases) {
        TMerchant* merchants[] = {&Town->Innkeeper, &Town->Mage,    &Town->BattleMaster,
                                  &Town->Herbalist, &Town->Custom1, &Town->Custom2};
        for (size_t i = 0; i < 6; ++i)
            merchants[i]->Enabled = c.Enabled[i];
        Window->ArrangeBuildingButtons();
        std::vector<int> left;
        for (size_t i = 0; i < 6; ++i) {
            const Main::TMenuButton& button = *Window->BuildingButtons[i];
            EXPECT_EQ(button.Visible(), c.Enabled[i] != 0) << i;
            EXPECT_EQ(button.Enabled(), c.Enabled[i] != 0) << i;
            if (button.Visible()) {
                left.push_back(button.X());
                EXPECT_EQ(button.Y(), 86);
                EXPECT_EQ(button.Width(), 100);
            }
        }
        EXPECT_EQ(left, c.Left);
    }
}

TEST_F(CityWindowTest, ABuildingOpensOnlyForASelectedUnit) {
    Enter();
    Main::TMenuButton& inn = *Window->BuildingButtons[0];
    ASSERT_TRUE(inn.Visible());
    EXPECT_EQ(inn.Hint(), "Enter inn");
    ClickAt(inn.X() + 10, inn.Y() + 10);
    ASSERT_TRUE(Posted());
    const TPlayerAction visit = Player(0).TakeAction();
    EXPECT_EQ(visit.Code, uint32_t(acVisitMerchant));
    EXPECT_EQ(visit.P[0], 0u);

    // Without units at the gate there is nobody to go in.
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(Execute(MakeAction(acMoveCityUnit, cpGateGroup, Gate(0)->ID, cpOtherUnits,
                                     uint32_t(-1))),
                  arDone);
    ClickAt(inn.X() + 10, inn.Y() + 10);
    EXPECT_FALSE(Posted());
    EXPECT_EQ(Window->SelectedUnit, nullptr);
    EXPECT_EQ(CountMessages("Unit must be selected to enter"), 1);
}

TEST_F(CityWindowTest, TownActionsTheRulesRefuseChangeNothing) {
    // Blue's walker among red's other units.
    TUnit* blues = Town->AddOtherUnit(TestSupport::MakeUnit(WalkerID), true, false);
    blues->Marker = 1;
    Town->AddCivilian(TestSupport::MakeUnit(WalkerID), true, false);
    Enter();
    const uint32_t gate = Gate(0)->ID;
    const uint32_t other = Others()[0]->ID;
    const uint32_t civilian = Town->Civilians[0]->ID;
    const uint32_t none = uint32_t(-1);
    struct TCase {
        const char* Name;
        TPlayerAction Action;
    } cases[] = {
        {"another player's unit",
         MakeAction(acMoveCityUnit, cpOtherUnits, blues->ID, cpGateGroup, none)},
        {"not in that place", MakeAction(acMoveCityUnit, cpOtherUnits, gate, cpGateGroup, none)},
        {"a civilian", MakeAction(acMoveCityUnit, cpCivilians, civilian, cpGateGroup, none)},
        {"to the civilians", MakeAction(acMoveCityUnit, cpGateGroup, gate, cpCivilians, none)},
        {"no such row", MakeAction(acMoveCityUnit, cpOtherUnits, other, cpDefenders, 3)},
        {"unknown unit", MakeAction(acMoveCityUnit, cpGateGroup, 999999, cpOtherUnits, none)},
        {"no such place", MakeAction(acMoveCityUnit, 7, gate, cpOtherUnits, none)},
        {"building out of range", MakeAction(acVisitMerchant, 6)},
        {"building the town lacks", MakeAction(acVisitMerchant, 1)},
        {"buying with another's gold", MakeAction(acMerchantPurchase, pkBuyDrink, gate, 1, 0)},
    };
    const uint64_t digest = TestSupport::StateDigest(Scenario());
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Execute(c.Action), arCannotGoThere);
        EXPECT_EQ(TestSupport::StateDigest(Scenario()), digest);
    }

    // A direct call for a player not on turn, or for a town nobody entered, is refused.
    TGroup* gateGroup = Town->GateGroup.get();
    SetTurn(1, ptLocal, &Player(1));
    EXPECT_FALSE(Window->ApplyMoveUnit(cpGateGroup, int32_t(gate), cpOtherUnits, -1));
    EXPECT_EQ(gateGroup->UnitCount(), 2);
    SetTurn(0, ptLocal, &Player(0));
    EXPECT_TRUE(Window->ApplyMoveUnit(cpGateGroup, int32_t(gate), cpOtherUnits, -1));
    EXPECT_EQ(gateGroup->UnitCount(), 1);
}

TEST_F(CityWindowTest, TheTownsPicturesAreHeldWhileItIsOpenAndMissingOnesAreSkipped) {
    Town->LeadingValues[0] = TestSupport::TTinyWorld::RockSprite;
    Town->Innkeeper.Value1 = 999; // not in the library
    Enter();
    EXPECT_NE(Window->TownPicture, nullptr);
    EXPECT_EQ(Window->ButtonPictures[0], nullptr);
    EXPECT_TRUE(Window->BuildingButtons[0]->Visible());
    Key(Win32::VK_ESCAPE);
    ASSERT_EQ(Run(), arDone);
    EXPECT_EQ(Window->TownPicture, nullptr);

    // A game closed in the middle of a visit takes the screen and its pictures along.
    Player(0).SelectObject(Spares[0]);
    ASSERT_EQ(Execute(MakeAction(acEnterCity, Town->ID)), arDone);
    ASSERT_TRUE(Window->Visible());
    Game->CloseGame();
    EXPECT_FALSE(Window->Visible());
    EXPECT_EQ(Window->Town(), nullptr);
    EXPECT_EQ(Window->TownPicture, nullptr);
}

constexpr uint32_t RedFrame = 0xFFE02020, LitFrame = 0xFF20E020;

// The same on a display: frames drawn and read back.
class CityDrawingTest : public CityWindowTest {
protected:
    ~CityDrawingTest() override {
        for (Gfx::TSprite*& sprite : Data2::GlobalData->CommonSprites)
            sprite = nullptr;
    }
    // A square sprite of one colour in a slot of the interface sprites.
    void Use(int slot, uint32_t colour, int size = 20) {
        Data2::GlobalData->CommonSprites[slot] =
            Sprites
                .emplace_back(SpriteTests::LoadSprite(Tools::EncodeSprite(
                    {SpriteTests::Picture(size, size, [colour](int, int) { return colour; })}, {})))
                .get();
    }
    void DrawFrame() {
        Win32::IDirectDrawSurface7* back = Display.BackBuffer();
        Gfx::FillRect(back, 0, 0, 800, 600, 0xFFFF, nullptr);
        Windows.Draw(back);
        Win32::DDSURFACEDESC2 desc;
        ASSERT_EQ(back->Lock(nullptr, &desc, 0, nullptr), Win32::DD_OK);
        Pixels.assign(800 * 600, 0);
        for (int y = 0; y < 600; ++y)
            std::memcpy(&Pixels[size_t(y) * 800],
                        static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch, 800 * 2);
        back->Unlock(nullptr);
    }
    bool Shows(uint32_t colour, int x, int y) const {
        return Pixels[size_t(y) * 800 + size_t(x)] == Gfx::PackColor565(colour & 0xFFFFFF);
    }

    SpriteTests::TScopedDisplay Display;
    std::vector<std::unique_ptr<Gfx::TSprite>> Sprites;
    std::vector<uint16_t> Pixels;
};

TEST_F(CityDrawingTest, PortraitsShowInTheirOwnersFrameAndTheDraggedUnitFollowsTheMouse) {
    Use(1136, RedFrame);     // red's portrait frame
    Use(1060, LitFrame, 40); // over a hovered portrait
    Enter();
    Player(0).Gold = 1234;
    DrawFrame();
    EXPECT_EQ(Window->GoldDisplay->Text(), "1234");
    // Gate slots 0 and 1 hold red's walkers, the first selected; slot 2 is empty.
    EXPECT_TRUE(Shows(LitFrame, 9 + 5, 481 + 5));
    EXPECT_TRUE(Shows(RedFrame, 94 + 9 + 5, 481 + 5));
    EXPECT_FALSE(Shows(RedFrame, 188 + 9 + 5, 481 + 5));
    // The defender row is empty, the other units' first cell red's.
    EXPECT_FALSE(Shows(RedFrame, 377 + 9 + 5, 481 + 5));
    EXPECT_TRUE(Shows(RedFrame, 674 + 9 + 5, 481 + 5));

    // Grabbed 40 pixels right of and below the portrait's corner, held at (400, 300).
    MoveTo(GateX(0), CellCentreY);
    Mouse(Win32::WM_LBUTTONDOWN, GateX(0), CellCentreY, Win32::MK_LBUTTON);
    MoveTo(400, 300);
    DrawFrame();
    EXPECT_TRUE(Shows(RedFrame, 360 + 5, 260 + 5));
    EXPECT_FALSE(Shows(LitFrame, 377 + 9 + 30, 481 + 30));
    // Over the empty defender place it lights up as where the unit would go.
    MoveTo(DefenderX(0), CellCentreY);
    DrawFrame();
    EXPECT_TRUE(Shows(LitFrame, 377 + 9 + 30, 481 + 30));
    MoveTo(400, 300);
    Mouse(Win32::WM_LBUTTONUP, 400, 300);
    DrawFrame();
    EXPECT_FALSE(Shows(RedFrame, 360 + 5, 260 + 5));
    EXPECT_FALSE(Posted());
}

} // namespace
