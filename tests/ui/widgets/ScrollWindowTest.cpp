// Scroll windows unroll from their two rollers to the full length in twice that many
// milliseconds when shown, and roll up as long when hidden; book windows open and
// close in four stages.
#include "ui/widgets/ScrollWindow.h"
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/widgets/BookWindow.h"
#include "ui/widgets/WidgetArt.h"

namespace {

using namespace Main;

struct TUnrollCase {
    const char* Name;
    bool Horizontal;
    // Sprite sizes; 0 leaves the slot empty, so the window takes its default size.
    Win32::SIZE Parchment;
    Win32::SIZE Roller;
    int FullLength;     // height of the vertical window, width of the horizontal one
    int RolledUpLength; // two roller heights (widths across)
};

const TUnrollCase UnrollCases[] = {
    {"vertical, default size", false, {0, 0}, {0, 0}, 400, 40},
    {"vertical, thick rollers", false, {60, 300}, {80, 30}, 300, 60},
    {"horizontal, default size", true, {0, 0}, {0, 0}, 400, 40},
    {"horizontal, thin rollers", true, {250, 90}, {16, 100}, 250, 32},
};

using ScrollWindowUnroll = GameWidgetTest;

TEST_F(ScrollWindowUnroll, UnrollsToFullInTwiceItsLengthAndRollsUpAsLong) {
    for (const TUnrollCase& c : UnrollCases) {
        SCOPED_TRACE(c.Name);
        if (c.Parchment.cx > 0 && c.Horizontal) {
            UsePictures({{pgHorizParchment, c.Parchment.cx, c.Parchment.cy},
                         {pgHorizRoller, c.Roller.cx, c.Roller.cy, 3}});
        } else if (c.Parchment.cx > 0) {
            UseSprite(cgVertParchment, c.Parchment.cx, c.Parchment.cy);
            UseSprite(cgVertRoller, c.Roller.cx, c.Roller.cy, 3);
        }
        TScrollWindow* window =
            c.Horizontal ? static_cast<TScrollWindow*>(new THorizScrollWindow(&Windows, 0))
                         : new TVertScrollWindow(&Windows, 0);
        window->DeleteWhenRolledUp = true;
        const auto length = [&] { return c.Horizontal ? window->Width() : window->Height(); };
        EXPECT_EQ(length(), c.FullLength);
        const uint32_t d = 2 * uint32_t(c.FullLength);
        const int range = c.FullLength - c.RolledUpLength;

        const uint32_t opened = Clock.Now();
        window->Show();
        for (const uint32_t t : {0u, d / 4, d / 2, d}) {
            TickAt(opened, t);
            EXPECT_EQ(window->Extent(), c.RolledUpLength + int(range * t / d)) << t << " ms";
            EXPECT_EQ(window->AnimationState(), asOpening);
        }
        TickAt(opened, d + 1);
        EXPECT_EQ(window->Extent(), c.FullLength);
        EXPECT_EQ(window->AnimationState(), asIdle);
        EXPECT_EQ(length(), c.FullLength);

        const uint32_t closed = Clock.Now();
        window->Hide();
        EXPECT_TRUE(window->Visible()); // until rolled up
        for (const uint32_t t : {0u, d / 4, d / 2, d}) {
            TickAt(closed, t);
            EXPECT_EQ(window->Extent(), c.RolledUpLength + int(range * (d - t) / d)) << t << " ms";
            EXPECT_TRUE(window->Visible());
        }
        const bool vertical = !c.Horizontal;
        TickAt(closed, d + 1);
        if (vertical) {
            // Asked to delete itself once rolled up.
            EXPECT_EQ(Windows.WindowCount(), 0);
        } else {
            EXPECT_FALSE(window->Visible());
            EXPECT_EQ(window->Extent(), c.RolledUpLength);
            EXPECT_EQ(window->AnimationState(), asIdle);
            delete window;
        }
        Data2::GlobalData->CommonSprites[cgVertParchment] = nullptr;
        Data2::GlobalData->CommonSprites[cgVertRoller] = nullptr;
        Data2::GlobalData->PictureIDs[pgHorizParchment] = 0;
        Data2::GlobalData->PictureIDs[pgHorizRoller] = 0;
    }
}

TEST_F(ScrollWindowUnroll, TheVisibleRectIsTheUnrolledMiddle) {
    auto* vertical = new TVertScrollWindow(&Windows, 0);
    vertical->SetPosition(100, 50);
    const uint32_t opened = Clock.Now();
    vertical->Show();
    TickAt(opened, 400); // half way: 40 + 360 / 2 = 220 of 400 unrolled
    const Win32::RECT rect = vertical->GetVisibleRect();
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.right, 200);
    EXPECT_EQ(rect.top, 50 + 90);
    EXPECT_EQ(rect.bottom, 50 + 90 + 220);
}

using BookWindowStages = GameWidgetTest;

TEST_F(BookWindowStages, OpenAt150200And250AndCloseAt50100And200) {
    auto* book = new TBookWindow(&Windows, 0);
    book->DeleteWhenClosed = true;
    EXPECT_EQ(book->Width(), 568);
    EXPECT_EQ(book->Height(), 456);
    const uint32_t opened = Clock.Now();
    book->Show();
    const struct {
        uint32_t Time;
        int Stage;
    } opening[] = {{0, 0}, {149, 0}, {150, 1}, {199, 1}, {200, 2}, {249, 2}, {250, 3}};
    for (const auto& step : opening) {
        TickAt(opened, step.Time);
        EXPECT_EQ(book->Stage(), step.Stage) << step.Time << " ms";
        const Win32::RECT pages = book->GetVisibleRect();
        const int pagesWidth = pages.right - pages.left;
        // Pages show from stage 2: the right half, then the whole book.
        EXPECT_EQ(pagesWidth, step.Stage == 3 ? 568 : step.Stage == 2 ? 284 : 0);
    }
    EXPECT_EQ(book->AnimationState(), asIdle);

    const uint32_t closed = Clock.Now();
    book->Hide();
    const struct {
        uint32_t Time;
        int Stage;
    } closing[] = {{0, 2}, {49, 2}, {50, 1}, {99, 1}, {100, 0}, {199, 0}};
    for (const auto& step : closing) {
        TickAt(closed, step.Time);
        EXPECT_EQ(book->Stage(), step.Stage) << step.Time << " ms";
        EXPECT_TRUE(book->Visible());
    }
    TickAt(closed, 200);
    EXPECT_EQ(Windows.WindowCount(), 0);
}

TEST_F(BookWindowStages, TakesItsSizeFromTheBookSprite) {
    UsePictures({{pgBook, 300, 200, 4}});
    auto* book = new TBookWindow(&Windows, 0);
    EXPECT_EQ(book->Width(), 300);
    EXPECT_EQ(book->Height(), 200);
}

} // namespace
