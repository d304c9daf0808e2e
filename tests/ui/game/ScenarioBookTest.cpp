// The briefing mark-up becomes runs of text in three fonts and any colour; the book
// rolls the text up a pixel every ten frames and closes once it has passed, or at
// once on a click or Escape, Enter or Space.
#include "ui/game/ScenarioBook.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/game/ColorText.h"

#include <string>
#include <vector>

namespace {

using namespace Main;

struct TRun {
    int Font; // 0 normal, 1 bold, 2 italic
    uint32_t Colour;
    std::string Text;
};

struct TMarkupCase {
    const char* Markup;
    std::vector<TRun> Runs;
};

const TMarkupCase MarkupCases[] = {
    {"Plain", {{0, 0, "Plain"}}},
    {"Red <RGB(255,0,0)>alert<N> stays red",
     {{0, 0, "Red "}, {0, 0xFF0000, "alert"}, {0, 0xFF0000, " stays red"}}},
    {"a<B>b<I>c<N>d", {{0, 0, "a"}, {1, 0, "b"}, {2, 0, "c"}, {0, 0, "d"}}},
    // Any other tag is three characters, dropped.
    {"x<Q>y", {{0, 0, "x"}, {0, 0, "y"}}},
    {"<RGB( 1 ,2,3)>z", {{0, 0, ""}, {0, 0x010203, "z"}}},
    // Components are clamped to 0..255.
    {"<RGB(300,-5,128)>c", {{0, 0, ""}, {0, 0xFF0080, "c"}}},
    // A malformed colour tag is shown as written and changes nothing.
    {"a<RGB(255,0)>b", {{0, 0, "a"}, {0, 0, "<RGB(255,0)>"}, {0, 0, "b"}}},
    {"a<RGB(1,2,3", {{0, 0, "a"}, {0, 0, "<RGB(1,2,3"}}},
    {"a<RGB(x,2,3)>b", {{0, 0, "a"}, {0, 0, "<RGB(x,2,3)>"}, {0, 0, "b"}}},
};

using ColorTextParse = GameWidgetTest;

TEST_F(ColorTextParse, RunsCarryTheFontAndColourOfTheTagsBeforeThem) {
    const Gfx::TFont* fonts[] = {&UseFont(5), &UseFont(6, 16), &UseFont(7, 12)};
    for (const TMarkupCase& c : MarkupCases) {
        SCOPED_TRACE(c.Markup);
        Gfx::TColorText text;
        ParseColorText(c.Markup, text, 330, *fonts[0], *fonts[1], *fonts[2]);
        ASSERT_EQ(text.Count(), int(c.Runs.size()));
        for (int i = 0; i < text.Count(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(text[i].Font, fonts[c.Runs[size_t(i)].Font]);
            EXPECT_EQ(text[i].Colour, c.Runs[size_t(i)].Colour);
            EXPECT_EQ(text[i].Text, c.Runs[size_t(i)].Text);
        }
    }
}

TEST_F(ColorTextParse, RunsContinueTheFlowWhereTheLastEnded) {
    const Gfx::TFont& font = UseFont(5);
    Gfx::TColorText text;
    ParseColorText("first<B>second", text, 330, font, font, font);
    ASSERT_EQ(text.Count(), 2);
    EXPECT_EQ(text[0].X, 0);
    EXPECT_EQ(text[1].X, font.TextWidth("first"));
    EXPECT_EQ(text[1].Y, 0);
}

class ScenarioBook : public GameWidgetTest {
protected:
    ScenarioBook() {
        UseFont(5);
        UseFont(6, 16);
        UseFont(7, 12);
    }
    TScenarioBookWindow* ShowBook(const std::string& text) {
        auto* book = new TScenarioBookWindow(&Windows, 0);
        book->SetText("1. The Border", text);
        book->Show();
        Windows.ProcessRequests();
        return book;
    }
};

TEST_F(ScenarioBook, RollsUpAPixelEveryTenFramesAndClosesOnceTheTextHasPassed) {
    TScenarioBookWindow* book =
        ShowBook("<B>Orders<N>\nHold the <RGB(200,0,0)>ford<N> until the snow melts.");
    ASSERT_GT(book->TextHeight(), 0);
    ASSERT_GT(book->TitleHeight(), 0);
    EXPECT_EQ(book->ScrollOffset(), 455);
    const int travel = 455 + book->TextHeight() + book->TitleHeight();
    const int lastTick = travel * TScenarioBookWindow::TicksPerPixel;
    for (int tick = 1; tick < lastTick; ++tick) {
        Windows.Tick();
        if (tick == 10 || tick == 19) {
            EXPECT_EQ(book->ScrollOffset(), 455 - tick / 10) << tick;
        }
    }
    EXPECT_FALSE(book->Done());
    Windows.Tick();
    EXPECT_TRUE(book->Done());
    EXPECT_EQ(book->ModalResult(), 1);
}

TEST_F(ScenarioBook, AClickOrEscapeEnterOrSpaceClosesAtOnce) {
    for (const Win32::UINT key : {27u, 13u, 32u}) {
        SCOPED_TRACE(key);
        TScenarioBookWindow* book = ShowBook("Text");
        Key(key);
        EXPECT_TRUE(book->Done());
        EXPECT_EQ(book->ModalResult(), 1);
        delete book;
    }
    TScenarioBookWindow* book = ShowBook("Text");
    Key('A');
    EXPECT_FALSE(book->Done());
    ClickAt(400, 300);
    EXPECT_TRUE(book->Done());
    EXPECT_EQ(book->ModalResult(), 1);
    delete book;
}

TEST_F(ScenarioBook, AFaultyTagIsShownAndTheBookStillOpens) {
    TScenarioBookWindow* book = ShowBook("Go <RGB(10,20)>north");
    ASSERT_EQ(book->Text().Count() > 0, true);
    std::string shown;
    for (int i = 0; i < book->Text().Count(); ++i)
        shown += book->Text()[i].Text;
    EXPECT_NE(shown.find("<RGB(10,20)>"), std::string::npos) << shown;
    EXPECT_NE(shown.find("north"), std::string::npos) << shown;
    EXPECT_FALSE(book->Done());
    delete book;
}

} // namespace

namespace {

using namespace Main;

class ScenarioBookDrawing : public GameWidgetDrawingTest {};

TEST_F(ScenarioBookDrawing, TheTextIsDrawnOnlyInsideTheTextRectangle) {
    UseFont(5);
    UseFont(6, 16);
    UseFont(7, 12);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "<N>The river rises and the <B>northern<N> fords close; <RGB(180,0,0)>hold "
                "them<RGB(0,0,0)> until the <I>snow<N> melts and the riders return.\n";
    auto* book = new TScenarioBookWindow(&Windows, 0);
    book->SetText("7. A Very Long Scenario Title That Wraps Over More Than One Line", text);
    book->Show();
    Windows.ProcessRequests();
    // Halfway up the visible part.
    for (int i = 0; i < 2500; ++i)
        Windows.Tick();
    DrawFrame();
    SaveFrame("scenario-book");
    const Win32::RECT textRect = TScenarioBookWindow::TextRect;
    int ink = 0, inkOutside = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (At(x, y) != Paper)
                ++(x >= textRect.left && x < textRect.right && y >= textRect.top &&
                           y < textRect.bottom
                       ? ink
                       : inkOutside);
    EXPECT_GT(ink, 2000);
    EXPECT_EQ(inkOutside, 0);
    delete book;
}

} // namespace
