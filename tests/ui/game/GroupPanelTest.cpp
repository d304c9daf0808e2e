// The group panel follows the viewing player's active group on that player's own turn:
// one unit panel per unit sliding in and out on the application's clock, tooltips for
// the values under the mouse, split marks posted as an action, and the spell book
// reached from its buttons and keys.
#include "engine/widgets/DXButton.h"
#include "tests/ui/game/GameFixture.h"
#include "ui/game/GroupInfoWindow.h"
#include "ui/game/MapWindow.h"
#include "ui/game/UnitDetailWindow.h"
#include "ui/game/UnitInfoControl.h"

#include <vector>

namespace {

using namespace GameData;
using namespace Main;

constexpr int SpellID = 5;

class GroupPanel : public GameTest {
protected:
    static constexpr uint8_t Red = 0, Blue = 1;
    static constexpr int Left = TGroupInfoWindow::OutsideX - TGroupInfoWindow::PanelWidth;

    GroupPanel() {
        // The screens reach the game object through Main::Game.
        Main::Game = std::move(Game);
        Data.AddSpell(SpellID, 1).Group = 1; // cast on the map
        RunModalLoops();
        Data.SetConstant(Data2::gcMaxMorale, 100);
        Scenario().CurrentPlayer = &Player(Red);
        Scenario().CurrentPlayerIndex = Red;
        Panel = Main::Game->GroupPanel();
        Panel->SetScenario(&Scenario());
        Panel->Show();
        Windows.ProcessRequests();
        WindowsBefore = Windows.WindowCount();
    }

    ~GroupPanel() override { Main::Game.reset(); }

    TScenario& Scenario() const { return *World->Scenario; }
    TPlayer& Player(int index) const { return *World->Scenario->Players[index]; }
    static int CountMessages(const ClassLib::AnsiString& text) {
        const auto& messages = Main::Game->Messages();
        return int(std::count(messages.begin(), messages.end(), text));
    }

    GameData::TGroup* Select(uint8_t owner, int units, uint8_t selector = Red) {
        GameData::TGroup* group = AddGroup(owner, 3, 3 + owner, units);
        Player(selector).SelectObject(group);
        return group;
    }
    // For the loop of a modal window to read.
    static void PostToApplication(Win32::UINT msg, Win32::WPARAM wParam) {
        Win32::PostMessage(DXApp::Application->Window, msg, wParam, 1);
    }
    void TickAt(uint32_t now) {
        Clock.Set(now);
        Windows.Tick();
    }
    TUnitInfoControl& Unit(int slot) const { return *Panel->Panel(slot); }
    // The action the player posted, taken off it and answered.
    TPlayerAction Posted(int player = Red) {
        const TPlayerAction action = Player(player).TakeAction();
        if (action.Code != acNone)
            Player(player).SetActionResult(arDone);
        return action;
    }

    TGroupInfoWindow* Panel = nullptr; // the window system's
    int WindowsBefore = 0;
};

TEST_F(GroupPanel, AGroupOfTwoShowsTwoPanelsAndTheThirdWaitsOutside) {
    GameData::TGroup* group = Select(Red, 2);
    TickAt(1000);
    EXPECT_EQ(Panel->State(), TGroupInfoWindow::gsShown);
    EXPECT_EQ(Panel->Height(), 208);
    EXPECT_EQ(Panel->Width(), 238);
    for (int slot = 0; slot < 2; ++slot) {
        EXPECT_EQ(Unit(slot).Unit(), group->UnitAt(slot));
        EXPECT_EQ(Unit(slot).X(), 0);
        EXPECT_EQ(Unit(slot).Y(), 104 * slot);
        EXPECT_TRUE(Unit(slot).PortraitButton()->Enabled());
        EXPECT_EQ(Unit(slot).PortraitButton()->Hint(), "Select/Unselect unit");
    }
    EXPECT_EQ(Unit(2).Unit(), nullptr);
    EXPECT_EQ(Unit(2).X(), 238);

    // A unit with a spell it may cast gets the spell book button, with its key.
    EXPECT_FALSE(Unit(1).SpellbookButton()->Visible());
    group->UnitAt(1)->LearnSpell(SpellID);
    TickAt(1010);
    EXPECT_TRUE(Unit(1).SpellbookButton()->Visible());
    EXPECT_EQ(Unit(1).SpellbookButton()->Hint(), "Spellbook [W]");
}

TEST_F(GroupPanel, WindowAndPanelsSlideOnTheClock) {
    GameData::TGroup* group = Select(Red, 1);
    TickAt(1000);
    // Hidden, the filled panel is put in place at once and the window slides in.
    EXPECT_EQ(Unit(0).X(), 0);
    EXPECT_EQ(Panel->X(), 800);
    TickAt(1050);
    EXPECT_EQ(Panel->X(), 800 - 238 * 50 / 100);
    EXPECT_EQ(Panel->Y(), 140);
    TickAt(1100);
    EXPECT_EQ(Panel->X(), Left);

    // Shown, a second unit's panel slides in from outside.
    group->AddUnit(TestSupport::MakeUnit(WalkerID), true, false);
    TickAt(2000);
    EXPECT_EQ(Unit(1).X(), 238);
    TickAt(2025);
    EXPECT_EQ(Unit(1).X(), 238 - 238 * 25 / 100);
    TickAt(2100);
    EXPECT_EQ(Unit(1).X(), 0);
    EXPECT_EQ(Panel->Height(), 208);

    // Without a group the window and the panels near it slide out together.
    Player(Red).SelectObject(nullptr);
    TickAt(3000);
    EXPECT_EQ(Panel->State(), TGroupInfoWindow::gsHidden);
    EXPECT_EQ(Unit(0).Unit(), nullptr);
    TickAt(3040);
    EXPECT_EQ(Panel->X(), Left + 238 * 40 / 100);
    EXPECT_EQ(Unit(0).X(), 238 * 40 / 100);
    TickAt(3100);
    EXPECT_EQ(Panel->X(), 800);
    EXPECT_EQ(Unit(0).X(), 238);
    EXPECT_EQ(Unit(1).X(), 238);
}

TEST_F(GroupPanel, OnlyTheViewingPlayersOwnTurnShowsAGroup) {
    // Blue, a computer player, on turn with its group selected: nothing for Red to see.
    Select(Blue, 2, Blue);
    Scenario().CurrentPlayer = &Player(Blue);
    Scenario().CurrentPlayerIndex = Blue;
    TickAt(1000);
    TickAt(1200);
    EXPECT_EQ(Panel->Group(), nullptr);
    EXPECT_EQ(Panel->State(), TGroupInfoWindow::gsHidden);
    EXPECT_EQ(Panel->X(), 800);
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(Unit(slot).Unit(), nullptr);

    // On Red's turn a group of Blue's that Red selected is shown, but not commanded.
    Scenario().CurrentPlayer = &Player(Red);
    Scenario().CurrentPlayerIndex = Red;
    GameData::TGroup* foreign = Select(Blue, 1);
    foreign->UnitAt(0)->LearnSpell(SpellID);
    TickAt(2000);
    EXPECT_EQ(Unit(0).Unit(), foreign->UnitAt(0));
    EXPECT_FALSE(Unit(0).PortraitButton()->Enabled());
    EXPECT_EQ(Unit(0).PortraitButton()->Hint(), "");
    EXPECT_FALSE(Unit(0).SpellbookButton()->Visible());
    EXPECT_FALSE(Unit(0).ShowSelection);
    Panel->ToggleMark(0);
    Panel->OpenSpellBook(0);
    EXPECT_EQ(Posted(Red).Code, acNone);
    EXPECT_EQ(CountMessages("The spell book is not available yet."), 0);
}

TEST_F(GroupPanel, TooltipsNameTheValueUnderTheMouse) {
    Data2::TUnitPrototype& prototype =
        Data.Global().UnitPrototypes[Data.Global().FindUnitPrototype(WalkerID)];
    TestSupport::SetStat(prototype.Stats, MANA, 12);
    TestSupport::SetStat(prototype.Stats, ATTACK, 7);
    TestSupport::SetStat(prototype.Stats, COUNTERATTACK, 5);
    TestSupport::SetStat(prototype.Stats, DEFENCE, 4);
    prototype.Stats.ExperienceBase() = 100;
    GameData::TGroup* group = Select(Red, 1);
    TUnit& unit = *group->UnitAt(0);
    unit.Own.Experiences() = 40;
    unit.Own.Value(HITPOINTS) = 25;
    unit.RecalculateStats(true);
    TickAt(1000);

    const struct {
        TUnitInfoLayout Layout;
        int X, Y;
        const char* Tooltip;
    } cases[] = {
        {ulGroupPanel, 134, 50, "Hit points: 25/30"},
        {ulGroupPanel, 142, 50, ""}, // the edge between two bars
        {ulGroupPanel, 150, 50, "Action points: 100/100"},
        {ulGroupPanel, 166, 50, "Mana: 12/12"},
        {ulGroupPanel, 182, 50, "Experience: 40 (100)"},
        {ulGroupPanel, 195, 50, ""}, // between the bars and the values
        {ulGroupPanel, 210, 20, "Morale: 50/100"},
        {ulGroupPanel, 210, 40, "Sight: 3"},
        {ulGroupPanel, 210, 60, "Attack: 7"},
        {ulGroupPanel, 210, 80, "Counterattack: 5"},
        {ulGroupPanel, 210, 100, "Defense: 4"},
        {ulGroupPanel, 110, 78, "Level: 1"},
        {ulGroupPanel, 50, 50, ""}, // the portrait
        {ulFightLeft, 15, 50, "Hit points: 25/30"},
        {ulFightLeft, 20, 120, "Morale: 50/100"},
        {ulFightLeft, 210, 40, ""}, // no sight on the fight dialog
        {ulFightLeft, 85, 78, "Level: 1"},
        {ulFightRight, 60, 120, "Morale: 50/100"},
        {ulFightRight, 170, 120, "Defense: 4"},
    };
    auto* fightLeft = new TUnitInfoControl(Panel, Panel, ulFightLeft, 0);
    auto* fightRight = new TUnitInfoControl(Panel, Panel, ulFightRight, 0);
    fightLeft->SetUnit(&unit);
    fightRight->SetUnit(&unit);
    const TUnitInfoControl* controls[] = {&Unit(0), fightLeft, fightRight};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Layout) + ": " + std::to_string(c.X) + ", " +
                     std::to_string(c.Y));
        EXPECT_EQ(controls[c.Layout]->TooltipAt(c.X, c.Y), c.Tooltip);
    }
    EXPECT_EQ(fightLeft->Width(), 195);
    EXPECT_EQ(fightRight->Height(), 132);
    EXPECT_EQ(fightLeft->PortraitButton()->X(), 100);
    EXPECT_EQ(fightLeft->PortraitButton()->Hint(), "Select unit");
    EXPECT_EQ(fightLeft->SpellbookButton()->X(), 72);

    // The mouse over the slid-in panel sets its tooltip, which follows the value.
    TickAt(1100);
    MoveTo(Left + 134, 140 + 50);
    EXPECT_EQ(Unit(0).Hint(), "Hit points: 25/30");
    unit.AddHitPoints(3);
    TickAt(1110);
    EXPECT_EQ(Unit(0).Hint(), "Hit points: 28/30");
}

TEST_F(GroupPanel, APortraitClickPostsTheMarksWithItsOwnTurnedOver) {
    GameData::TGroup* group = Select(Red, 3);
    group->SplitMarks = {1, 0, 0};
    TickAt(1000);
    TickAt(1100);
    EXPECT_TRUE(Unit(0).Marked);

    ClickAt(Left + 15 + 40, 140 + 104 + 11 + 40); // slot 1's portrait
    TPlayerAction action = Posted();
    EXPECT_EQ(action.Code, uint32_t(acMarkSplit));
    EXPECT_EQ(action.P[0], 0x000101u);

    // Not while the last action waits for its result, nor for an empty slot.
    Panel->ToggleMark(0);
    Panel->ToggleMark(0);
    EXPECT_EQ(Posted().P[0], 0x000000u) << "the second waited";
    group->RemoveUnitAt(2, true, false);
    TickAt(1200);
    Panel->ToggleMark(2);
    EXPECT_EQ(Posted().Code, uint32_t(acNone));
}

TEST_F(GroupPanel, TheSpellBookOpensOnlyForAUnitWithASpell) {
    GameData::TGroup* group = Select(Red, 2);
    group->UnitAt(1)->LearnSpell(SpellID);
    TickAt(1000);
    std::vector<TUnit*> asked;
    int answer = SpellID;
    Panel->ChooseSpell = [&](TUnit& unit) {
        asked.push_back(&unit);
        return answer;
    };
    Panel->OpenSpellBook(0);
    Panel->OpenSpellBook(2);
    EXPECT_TRUE(asked.empty());
    Panel->OpenSpellBook(1);
    EXPECT_EQ(asked, std::vector<TUnit*>{group->UnitAt(1)});
    EXPECT_EQ(Main::Game->SpellBeingTargeted, SpellID);
    EXPECT_EQ(Main::Game->Caster, 1);

    // Its key on the map, as the map window hears it; the book closed without a spell
    // aims none.
    Main::Game->MapWindow()->SetScenario(&Scenario());
    Main::Game->MapWindow()->Show();
    Windows.ProcessRequests();
    answer = 0;
    Key(uint32_t('W'));
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(Main::Game->SpellBeingTargeted, 0);
    EXPECT_EQ(Main::Game->Caster, 0);
    EXPECT_EQ(Posted().Code, uint32_t(acNone));
}

TEST_F(GroupPanel, TheBookAndTheSheetAreShownModally) {
    GameData::TGroup* group = Select(Red, 2);
    TUnit& mage = *group->UnitAt(1);
    mage.Own.LearnableSpells |= MaskBit(SpellID);
    mage.LearnSpell(SpellID);
    TickAt(1000);
    TickAt(1100);
    // The message that opened a modal window is dropped first; then a key answers.
    PostToApplication(Win32::WM_KEYUP, 'W');
    PostToApplication(Win32::WM_KEYDOWN, '1'); // the first spell listed
    Panel->OpenSpellBook(1);
    EXPECT_EQ(Main::Game->SpellBeingTargeted, SpellID);
    EXPECT_EQ(Main::Game->Caster, 1);
    PostToApplication(Win32::WM_KEYUP, 'W');
    PostToApplication(Win32::WM_KEYDOWN, Win32::VK_ESCAPE);
    Panel->OpenSpellBook(1);
    EXPECT_EQ(Main::Game->SpellBeingTargeted, 0);
    EXPECT_EQ(Windows.WindowCount(), WindowsBefore) << "the book is gone again";

    // A right click on a portrait opens the unit sheet where the panel says.
    const Win32::LPARAM portrait = Win32::PointToLParam(Left + 55, 140 + 104 + 51);
    Win32::PostMessage(App.Window, Win32::WM_RBUTTONDOWN, Win32::MK_RBUTTON, portrait);
    Win32::PostMessage(App.Window, Win32::WM_RBUTTONUP, 0, portrait);
    PostToApplication(Win32::WM_KEYDOWN, Win32::VK_ESCAPE);
    Pump();
    const TUnitDetailWindow& sheet = *Main::Game->UnitSheet();
    EXPECT_EQ(sheet.SheetX, 20);
    EXPECT_EQ(sheet.SheetY, 20);
    EXPECT_FALSE(sheet.Visible());
}

} // namespace
