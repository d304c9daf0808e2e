// The yes/no dialog answers 6 to Enter or "Yes" and 7 to Escape or "No", and is as
// wide as its question within limits; the info dialog answers 1 to any click on it.
#include "tests/ui/widgets/GameWidgetFixture.h"
#include "ui/widgets/ScrollDialogs.h"
#include "ui/widgets/TextControls.h"
#include "ui/widgets/VRNLabel.h"
#include "ui/widgets/WidgetArt.h"

#include <string>

namespace {

using namespace Main;

class ScrollDialog : public GameWidgetTest {
protected:
    ScrollDialog() {
        UseFont(0, 12);
        UseFont(1, 14);
    }
    template <class TDialog>
    TDialog* ShowDialog(const AnsiString& text) {
        auto* dialog = new TDialog(&Windows);
        dialog->SetText(text);
        dialog->Show();
        Windows.ProcessRequests();
        return dialog;
    }
    const Gfx::TFont& SecondFont() const { return *Data2::GlobalData->UIFonts[1]; }
};

TEST_F(ScrollDialog, YesNoAnswersByKeyAndByButton) {
    const struct {
        const char* Name;
        std::function<void(THorizYesNoDialog*)> Answer;
        int Result;
    } answers[] = {
        {"Enter", [this](THorizYesNoDialog*) { Char(13); }, mrYes},
        {"Escape", [this](THorizYesNoDialog*) { Char(27); }, mrNo},
        {"Yes",
         [this](THorizYesNoDialog* d) {
             const Win32::RECT r = d->YesButton()->GetScreenRect();
             ClickAt(r.left + 2, r.top + 2);
         },
         mrYes},
        {"No",
         [this](THorizYesNoDialog* d) {
             const Win32::RECT r = d->NoButton()->GetScreenRect();
             ClickAt(r.left + 2, r.top + 2);
         },
         mrNo},
    };
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.Name);
        auto* dialog = ShowDialog<THorizYesNoDialog>("Leave the game?");
        ASSERT_EQ(Windows.ActiveWindow(), dialog);
        answer.Answer(dialog);
        EXPECT_EQ(dialog->ModalResult(), answer.Result);
        EXPECT_TRUE(dialog->Done());
        // It rolls up before it hides.
        EXPECT_EQ(dialog->AnimationState(), asClosing);
        delete dialog;
    }
}

TEST_F(ScrollDialog, YesNoIsAsWideAsItsQuestionWithinLimits) {
    const std::string longQuestion(200, 'w');
    const struct {
        const char* Name;
        std::string Question;
        int RollerWidth; // 0: no roller sprite, 20 wide by default
        int Width;
    } cases[] = {
        {"empty", "", 0, 100},
        {"short", "Leave?", 0, SecondFont().TextWidth("Leave?") + 100},
        {"too long", longQuestion, 0, 572},
        {"empty, wide rollers", "", 70, 140},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.RollerWidth)
            UsePictures({{pgHorizRoller, c.RollerWidth, 120}});
        THorizYesNoDialog dialog(nullptr);
        dialog.SetText(c.Question);
        EXPECT_EQ(dialog.Width(), c.Width);
        EXPECT_EQ(dialog.Height(), 100);
        const DXWin::TDXControl& yes = *dialog.YesButton();
        const DXWin::TDXControl& no = *dialog.NoButton();
        EXPECT_EQ(yes.X(), c.Width / 2 - yes.Width() - c.Width / 6);
        EXPECT_EQ(no.X(), c.Width / 2 + c.Width / 6);
        EXPECT_EQ(yes.Y(), 100 - yes.Height() - 30);
    }
}

TEST_F(ScrollDialog, InfoClosesWithOneOnAnyClick) {
    const std::string message =
        "The bridge at Varnholt has fallen into the river, and the road north is closed "
        "until the thaw.";
    for (const bool onTheText : {true, false}) {
        SCOPED_TRACE(onTheText ? "on the text" : "beside the text");
        auto* dialog = ShowDialog<THorizInfoDialog>(message);
        const Win32::RECT bounds = dialog->GetScreenRect();
        const Win32::RECT text = dialog->Label()->GetScreenRect();
        if (onTheText)
            ClickAt(text.left + 5, text.top + 5);
        else
            ClickAt(bounds.left + 5, bounds.bottom - 5);
        EXPECT_EQ(dialog->ModalResult(), mrInfoClosed);
        EXPECT_TRUE(dialog->Done());
        delete dialog;
    }
}

TEST_F(ScrollDialog, InfoWrapsItsMessageToTheParchmentAndCentresIt) {
    const std::string message =
        "The bridge at Varnholt has fallen into the river, and the road north is closed "
        "until the thaw.";
    auto* dialog = ShowDialog<THorizInfoDialog>(message);
    const AnsiString wrapped = SecondFont().WrapText(400, message);
    const DXWin::TDXControl& label = *dialog->Label();
    EXPECT_EQ(dialog->Label()->Text(), wrapped);
    EXPECT_EQ(dialog->Width(), SecondFont().MaxLineWidth(wrapped) + 200);
    EXPECT_EQ(label.Width(), SecondFont().MaxLineWidth(wrapped));
    EXPECT_EQ(label.Height(), SecondFont().TextHeight(wrapped));
    EXPECT_EQ(label.X(), (dialog->Width() - label.Width()) / 2);
    EXPECT_EQ(label.Y(), (100 - label.Height()) / 2);
}

} // namespace
