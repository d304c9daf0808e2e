// How the group panel looks: a background per unit, the name cut to fit, the value bars
// filled by their share, the portrait with its mark and frames and the spell book
// button; empty slots show nothing.
#include "engine/graphics/GfxPixels.h"
#include "engine/widgets/DXButton.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "tools/SpriteWriter.h"
#include "ui/game/GroupInfoWindow.h"
#include "ui/game/UnitInfoControl.h"

#include <memory>
#include <string>
#include <utility>

namespace {

using namespace GameData;
using namespace Main;

constexpr int Walker = 1, Mage = 2;
constexpr int SpellID = 5;
constexpr uint32_t Background = 0xFF403020, BarFrame = 0xFF202020, HitPoints = 0xFFD02020,
                   ActionPoints = 0xFFE0C020, Mana = 0xFF2040D0, Experience = 0xFF20A040,
                   Book = 0xFF8020A0, Mark = 0xFFF08000, Frame = 0xFFA0A0A0, RedFrame = 0xFFFF4040,
                   Lit = 0xFFFFFFFF;

uint16_t Packed(uint32_t colour) {
    return Gfx::PackColor565(colour & 0xFFFFFF);
}

class GroupPanelDrawing : public GameWidgetDrawingTest {
protected:
    static constexpr int Left = 562, Top = 140;

    GroupPanelDrawing() {
        TUnitStats& walker = Data.AddUnitPrototype(Walker, "Walker").Stats;
        TestSupport::SetStat(walker, HITPOINTS, 30);
        TestSupport::SetStat(walker, ACTIONPOINTS, 100);
        TestSupport::SetStat(walker, SIGHT, 3);
        TUnitStats& mage = Data.AddUnitPrototype(Mage, "Mage").Stats;
        TestSupport::SetStat(mage, HITPOINTS, 20);
        TestSupport::SetStat(mage, ACTIONPOINTS, 80);
        TestSupport::SetStat(mage, MANA, 40);
        mage.ExperienceBase() = 100;
        Data.AddSpell(SpellID, 1);
        Data.SetConstant(Data2::gcMaxMorale, 100);
        UseFont(2, 11);
        UseFont(4, 12);
        Use(1054, MakeSprite(238, 114, 1, Background));
        Use(1103, MakeSprite(8, 46, 1, BarFrame));
        Use(1104, MakeSprite(8, 46, 1, HitPoints));
        Use(1105, MakeSprite(8, 46, 1, ActionPoints));
        Use(1106, MakeSprite(8, 46, 1, Experience));
        Use(1107, MakeSprite(8, 46, 1, Mana));
        // The size of the button, centred on it by the hot spot, as the game's art is.
        for (const auto& [slot, colour] : {std::pair{1055, Book}, std::pair{1056, Lit}}) {
            Gfx::TSprite* book = Use(slot, MakeSprite(28, 28, 1, colour));
            book->HotSpotX = book->HotSpotY = 14;
        }
        Use(1058, MakeSprite(12, 12, 1, Mark));
        Use(1059, Hollow(Frame));
        Use(1060, Hollow(Lit));
        Use(1136 + 0, Hollow(RedFrame, 4));

        World = std::make_unique<TestSupport::TTinyWorld>();
        World->Scenario->CurrentPlayer = &World->Player(0);
        World->Scenario->CurrentPlayerIndex = 0;
        Panel = new TGroupInfoWindow(&Windows);
        Panel->SetScenario(World->Scenario.get());
        Panel->Show();
        Windows.ProcessRequests();
    }
    ~GroupPanelDrawing() override {
        // The fonts and sprites are the test's, not the global data's.
        for (Gfx::TFont*& font : Data2::GlobalData->UIFonts)
            font = nullptr;
        for (Gfx::TSprite*& sprite : Data2::GlobalData->CommonSprites)
            sprite = nullptr;
    }

    Gfx::TSprite* Use(int slot, Gfx::TSprite* sprite) {
        return Data2::GlobalData->CommonSprites[slot] = sprite;
    }
    // An 80 x 80 frame of that width, clear inside.
    Gfx::TSprite* Hollow(uint32_t colour, int width = 2) {
        const auto picture = SpriteTests::Picture(80, 80, [colour, width](int x, int y) {
            return x < width || y < width || x >= 80 - width || y >= 80 - width ? colour : 0u;
        });
        return Sprites.emplace_back(SpriteTests::LoadSprite(Tools::EncodeSprite({picture}, {})))
            .get();
    }
    TUnit* AddUnit(TGroup& group, int prototype) {
        return group.AddUnit(TestSupport::MakeUnit(prototype), true, false);
    }
    // The window slid in over the group the player selected.
    void ShowGroup(TGroup* group) {
        World->Player(0).SelectObject(group);
        TickAt(1000, 0);
        TickAt(1000, 100);
    }
    // Pixels of the colour in a rectangle of the panel.
    int Count(uint32_t colour, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = Top + top; y < Top + bottom; ++y)
            for (int x = Left + left; x < Left + right; ++x)
                n += At(x, y) == Packed(colour) ? 1 : 0;
        return n;
    }

    TestSupport::TTestGameData Data;
    std::unique_ptr<TestSupport::TTinyWorld> World;
    TGroupInfoWindow* Panel = nullptr; // the window system's
};

TEST_F(GroupPanelDrawing, AFullGroupShowsThreePanels) {
    TGroup* group = World->AddGroup(0, 3, 3);
    TUnit* hero = AddUnit(*group, Mage);
    hero->IsHero = 1;
    hero->Name = "Archmagister Hieronymus the Unreasonably Long-Named";
    hero->LearnSpell(SpellID);
    hero->Own.Value(ACTIONPOINTS) = 40;
    hero->Own.Experiences() = 50;
    hero->RecalculateStats(true);
    AddUnit(*group, Walker)->Name = "Walker";
    AddUnit(*group, Walker)->Name = "Scout";
    group->SplitMarks = {0, 1, 0};
    ShowGroup(group);
    Panel->Panel(2)->OwnerFrame = true;
    MoveTo(Left + 15 + 40, Top + 208 + 11 + 40); // over the third portrait
    DrawFrame();
    SaveFrame("group_panel_full");

    // The name ends before the bars: nothing but background right of its 90 pixels.
    EXPECT_GT(Count(Background, 105, 93, 126, 104), 0);
    EXPECT_EQ(Count(Background, 105, 93, 126, 104), 21 * 11);
    EXPECT_LT(Count(Background, 15, 93, 105, 104), 90 * 11) << "the name is drawn";
    // Hit points full, action points 40 of 80, mana full, experience half-way to 100:
    // the bars fill from the bottom (top y + 38, 46 high).
    EXPECT_EQ(Count(HitPoints, 130, 38, 138, 84), 8 * 46);
    EXPECT_EQ(Count(ActionPoints, 146, 38, 154, 84), 8 * 23);
    EXPECT_EQ(Count(BarFrame, 146, 38, 154, 61), 8 * 23);
    EXPECT_EQ(Count(Mana, 162, 38, 170, 84), 8 * 46);
    EXPECT_EQ(Count(Experience, 178, 38, 186, 84), 8 * 23);
    // The hero's spell book fills its button (96, 34)-(124, 62) between the portrait and
    // the bars, above the level box; the others have none.
    EXPECT_EQ(Count(Book, 96, 34, 124, 62), 28 * 28);
    EXPECT_EQ(Count(Book, 0, 0, 238, 312), 28 * 28);
    // The second unit's mark, every portrait's frame; the hovered third lit, in the
    // owner's colour underneath.
    EXPECT_EQ(Count(Mark, 17, 104 + 13, 27, 104 + 23), 10 * 10) << "inside the frame";
    EXPECT_EQ(Count(Mark, 15, 11, 27, 23), 0);
    EXPECT_EQ(At(Left + 15, Top + 50), Packed(Frame));
    EXPECT_EQ(At(Left + 15, Top + 208 + 50), Packed(Lit));
    EXPECT_GT(Count(RedFrame, 15, 208 + 11, 95, 208 + 91), 0)
        << "the owner frame under the lit one";
}

TEST_F(GroupPanelDrawing, TheSpellBookLightsUpExactlyWhereItIsDrawn) {
    TGroup* group = World->AddGroup(0, 3, 3);
    TUnit* mage = AddUnit(*group, Mage);
    mage->LearnSpell(SpellID);
    ShowGroup(group);
    const struct {
        int X, Y;
        bool Lit;
    } cases[] = {{96, 34, true},   {123, 61, true},  {110, 48, true}, {95, 48, false},
                 {124, 48, false}, {110, 33, false}, {110, 62, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.X) + ", " + std::to_string(c.Y));
        MoveTo(Left + c.X, Top + c.Y);
        DrawFrame();
        EXPECT_EQ(Count(Lit, 96, 34, 124, 62), c.Lit ? 28 * 28 : 0);
        EXPECT_EQ(Count(Book, 96, 34, 124, 62), c.Lit ? 0 : 28 * 28);
    }
    // The level shows in its box below the book, the hit points' bar whole beside it.
    EXPECT_GT(Count(0, 101, 63, 127, 79), 0);
    EXPECT_EQ(Count(HitPoints, 130, 38, 138, 84), 8 * 46);
}

TEST_F(GroupPanelDrawing, AUnitsNameShowsWholeAboveTheNextRow) {
    TGroup* group = World->AddGroup(0, 3, 3);
    for (int i = 0; i < 2; ++i)
        AddUnit(*group, Walker)->Name = "Knight";
    ShowGroup(group);
    // The name's ink drawn alone on the paper, descender included.
    const Gfx::TFont& font = *Data2::GlobalData->UIFonts[2];
    DrawOnPaper([&font](Win32::IDirectDrawSurface7* back) {
        font.DrawString(back, 0, 0, nullptr, 0, "Knight");
    });
    int ink = 0;
    for (int y = 0; y < font.CellHeight(); ++y)
        for (int x = 0; x < 90; ++x)
            ink += At(x, y) == 0 ? 1 : 0;
    ASSERT_GT(ink, 0);
    DrawFrame();
    // Between the portrait and the next row (or the window's end), all of it.
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(Count(0, 15, 104 * row + 91, 105, 104 * row + 104), ink) << "row " << row;
}

TEST_F(GroupPanelDrawing, EmptySlotsShowNothing) {
    TGroup* group = World->AddGroup(0, 3, 3);
    AddUnit(*group, Walker)->Name = "Walker";
    ShowGroup(group);
    DrawFrame();
    SaveFrame("group_panel_one");
    EXPECT_EQ(Panel->Height(), 104);
    EXPECT_GT(Count(Background, 0, 0, 238, 104), 238 * 104 / 2);
    // Below the one panel the paper shows: the empty slots draw nothing.
    EXPECT_EQ(Count(Background, 0, 114, 238, 312), 0);
    EXPECT_EQ(At(Left + 100, Top + 200), Paper);

    // A group without units: the window holds no row and draws nothing.
    TGroup* empty = World->AddGroup(0, 5, 5);
    World->Player(0).SelectObject(empty);
    TickAt(2000, 0);
    DrawFrame();
    EXPECT_EQ(Panel->Height(), 0);
    EXPECT_EQ(Count(Background, 0, 0, 238, 312), 0);
}

TEST_F(GroupPanelDrawing, TheFightDialogsSidesHaveTheirOwnLayouts) {
    Use(1061, MakeSprite(195, 132, 1, Background));
    Use(1062, MakeSprite(194, 132, 1, Background));
    TGroup* group = World->AddGroup(0, 3, 3);
    TUnit* unit = AddUnit(*group, Walker);
    unit->Name = "Walker";
    DXWin::TDXWindow* window = MakeWindow(0, 300, 800, 140);
    auto* left = new TUnitInfoControl(window, window, ulFightLeft, DXWin::csVisible);
    auto* right = new TUnitInfoControl(window, window, ulFightRight, DXWin::csVisible);
    left->SetPosition(20, 0);
    right->SetPosition(400, 0);
    left->SetUnit(unit);
    right->SetUnit(unit);
    DrawFrame();
    SaveFrame("unit_panels_fight");
    // The left side's background starts 6 pixels before it; its bars at x + 10, the
    // right side's at x + 130, both full of hit points from y + 38.
    EXPECT_EQ(At(14, 300 + 5), Packed(Background));
    EXPECT_EQ(At(13, 300 + 5), Paper);
    const int bar = 8 * 46;
    EXPECT_EQ(Count(HitPoints, 20 + 10 - Left, 300 + 38 - Top, 20 + 18 - Left, 300 + 84 - Top),
              bar);
    EXPECT_EQ(Count(HitPoints, 400 + 130 - Left, 300 + 38 - Top, 400 + 138 - Left, 300 + 84 - Top),
              bar);
    EXPECT_EQ(left->PortraitButton()->GetScreenRect().left, 20 + 100);
    EXPECT_EQ(right->PortraitButton()->GetScreenRect().left, 400 + 15);
}

} // namespace
