// Sprite buttons animate their hover sprite every 10 ticks and start it over when
// the mouse comes back; scroll bars, buttons and check boxes keep the toolkit's
// behaviour under the game's look.
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/widgets/MenuButtons.h"
#include "ui/widgets/SpriteButton.h"
#include "ui/widgets/TextControls.h"

namespace {

using namespace Main;

using SpriteButtonHover = GameWidgetTest;

TEST_F(SpriteButtonHover, CyclesTheHoverFramesEveryTenTicksAndRestartsOnEntering) {
    DXWin::TDXWindow* window = MakeWindow(0, 0, 200, 200);
    auto* button = new TSpriteButton(window, window);
    button->SetBoundsRect({10, 10, 50, 30});
    button->SetSprites(MakeSprite(40, 20), MakeSprite(40, 20, 4), MakeSprite(40, 20),
                       MakeSprite(40, 20));
    MoveTo(20, 20);
    ASSERT_TRUE(button->Hovered());
    const struct {
        int Ticks; // since entering
        int Frame;
    } steps[] = {{9, 0}, {10, 1}, {19, 1}, {20, 2}, {30, 3}, {40, 0}, {50, 1}};
    int ticks = 0;
    for (const auto& step : steps) {
        for (; ticks < step.Ticks; ++ticks)
            Windows.Tick();
        EXPECT_EQ(button->HoverFrame(), step.Frame) << step.Ticks << " ticks";
    }
    for (int i = 0; i < 5; ++i)
        Windows.Tick();
    MoveTo(100, 100);
    MoveTo(20, 20);
    EXPECT_EQ(button->HoverFrame(), 0);
    for (int i = 0; i < 9; ++i)
        Windows.Tick();
    EXPECT_EQ(button->HoverFrame(), 0);
    Windows.Tick();
    EXPECT_EQ(button->HoverFrame(), 1);
}

TEST_F(SpriteButtonHover, AStillHoverSpriteStaysOnItsFrame) {
    DXWin::TDXWindow* window = MakeWindow(0, 0, 200, 200);
    auto* button = new TSpriteButton(window, window);
    button->SetBoundsRect({10, 10, 50, 30});
    button->SetSprites(nullptr, MakeSprite(40, 20), nullptr, nullptr);
    MoveTo(20, 20);
    for (int i = 0; i < 30; ++i)
        Windows.Tick();
    EXPECT_EQ(button->HoverFrame(), 0);
}

using GameButtons = GameWidgetTest;

TEST_F(GameButtons, SizeThemselvesToTheirTextOrBackground) {
    const Gfx::TFont& font = UseFont(0);
    DXWin::TDXWindow* window = MakeWindow(0, 0, 400, 400);

    auto* text = new TTextButton(window, window);
    text->SetFont(Data2::GlobalData->UIFonts[0]);
    text->SetCaption("Two\nlines, the second wider");
    text->AutoSize();
    EXPECT_EQ(text->Width(), font.MaxLineWidth(text->Caption()) + 1);
    EXPECT_EQ(text->Height(), font.TextHeight(text->Caption()) + 1);

    auto* menu = new TMenuButton(window, window);
    menu->SetText("Load game");
    menu->AutoSize();
    EXPECT_EQ(menu->Width(), 100); // no font, no background
    EXPECT_EQ(menu->Height(), 30);
    menu->SetFont(Data2::GlobalData->UIFonts[0]);
    menu->AutoSize();
    EXPECT_EQ(menu->Width(), font.TextWidth("Load game"));
    EXPECT_EQ(menu->Height(), font.CellHeight());
    menu->SetBackground(MakeSprite(160, 32));
    menu->AutoSize();
    menu->CenterTextHorizontally();
    menu->CenterTextVertically();
    EXPECT_EQ(menu->Width(), 160);
    EXPECT_EQ(menu->TextX(), 80 - font.TextWidth("Load game") / 2);
    EXPECT_EQ(menu->TextY(), 16 - font.CellHeight() / 2);

    auto* check = new TMenuCheckBox(window, window);
    check->SetText("Music");
    check->SetFonts(Data2::GlobalData->UIFonts[0], nullptr, nullptr, nullptr);
    check->SetSprites({MakeSprite(18, 18), nullptr, nullptr, nullptr, nullptr, nullptr});
    check->AutoSize();
    EXPECT_EQ(check->Width(), font.TextWidth("Music") + 18 + 5);
    EXPECT_EQ(check->Height(), font.CellHeight());
    check->SetPosition(10, 300);
    ClickAt(12, 302);
    EXPECT_TRUE(check->Checked());
}

} // namespace
