#include "ui/widgets/ScrollDialogs.h"

#include "engine/graphics/GfxFont.h"
#include "ui/widgets/TextControls.h"
#include "ui/widgets/VRNLabel.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>

namespace Main {

namespace {

constexpr uint32_t DialogOptions = DXWin::woModal | DXWin::woCentered;
// Room left and right of the question, and the widest a question makes the dialog.
constexpr int QuestionMargin = 100;
constexpr int MaxQuestionDialogWidth = 572;
// Room beside the widest line of a message.
constexpr int MessageMargin = 200;
// Between the buttons' bottom and the dialog's.
constexpr int ButtonBottomMargin = 30;

// The lines of a text, each centred on the window, the block centred on it too.
void DrawCentredLines(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds,
                      const Win32::RECT& clip, const Gfx::TFont& font, const AnsiString& text) {
    const int centreX = (bounds.left + bounds.right) / 2;
    int y = (bounds.top + bounds.bottom - font.TextHeight(text)) / 2;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == AnsiString::npos)
            end = text.size();
        const AnsiString line = text.substr(start, end - start);
        font.DrawString(target, centreX - font.TextWidth(line) / 2, y, &clip, 0, line);
        y += font.CellHeight() + font.LineSpacing;
        start = end + 1;
    }
}

} // namespace

THorizYesNoDialog::THorizYesNoDialog(DXWin::TDXWindowSystem* windowSystem)
    : THorizScrollWindow(windowSystem, DialogOptions) {
    FYes = MakeButton("Yes", mrYes);
    FYes->SetDefault(true);
    FNo = MakeButton("No", mrNo);
    FNo->SetCancel(true);
    OnDraw = [this](Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) {
        DrawQuestion(target, bounds);
    };
}

TTextButton* THorizYesNoDialog::MakeButton(const char* caption, int modalResult) {
    auto* button = new TTextButton(this, this);
    button->SetFont(InterfaceFont(1));
    button->SetCaption(caption);
    button->SetHint(caption);
    button->AutoSize();
    button->SetModalResult(modalResult);
    button->OnClick = [](DXWin::TDXControl*) { PlayWidgetSound(TWidgetSound::Click); };
    return button;
}

void THorizYesNoDialog::SetText(const AnsiString& question) {
    FQuestion = question;
    const Gfx::TFont* font = InterfaceFont(1);
    const int textWidth = font ? font->TextWidth(question) : 0;
    const int width =
        std::max(std::min(textWidth + QuestionMargin, MaxQuestionDialogWidth), 2 * RollerWidth());
    const int height = FullHeight();
    SetSize(width, height);
    FYes->SetPosition(width / 2 - FYes->Width() - width / 6,
                      height - FYes->Height() - ButtonBottomMargin);
    FNo->SetPosition(width / 2 + width / 6, height - FNo->Height() - ButtonBottomMargin);
}

void THorizYesNoDialog::Tick() {
    THorizScrollWindow::Tick();
    const Win32::RECT unrolled = GetVisibleRect();
    FYes->SetClipRect(unrolled);
    FNo->SetClipRect(unrolled);
}

void THorizYesNoDialog::DrawQuestion(Win32::IDirectDrawSurface7* target,
                                     const Win32::RECT& bounds) const {
    const Gfx::TFont* font = InterfaceFont(1);
    if (font == nullptr)
        return;
    const Win32::RECT clip = GetVisibleRect();
    // A question too long for the widest dialog goes on as many lines as it needs.
    const int room = Width() - QuestionMargin;
    const AnsiString text =
        font->TextWidth(FQuestion) < Width() ? FQuestion : font->WrapText(room, FQuestion);
    DrawCentredLines(target, bounds, clip, *font, text);
}

THorizInfoDialog::THorizInfoDialog(DXWin::TDXWindowSystem* windowSystem)
    : THorizScrollWindow(windowSystem, DialogOptions) {
    FLabel = new TVRNLabel(this, this);
    FLabel->SetFont(InterfaceFont(1));
    FLabel->SetOnGetClipRect([this](Win32::RECT& rect) { rect = GetVisibleRect(); });
}

void THorizInfoDialog::Click() {
    THorizScrollWindow::Click();
    SetModalResult(mrInfoClosed);
    Close();
}

void THorizInfoDialog::SetText(const AnsiString& message) {
    const Gfx::TFont* font = FLabel->Font();
    const AnsiString text = font ? font->WrapText(FullWidth(), message) : message;
    const int textWidth = font ? font->MaxLineWidth(text) : 0;
    const int textHeight = font ? font->TextHeight(text) : 0;
    FLabel->SetText(text);
    SetSize(textWidth + MessageMargin, FullHeight());
    FLabel->SetSize(textWidth, textHeight);
    FLabel->SetPosition((Width() - textWidth) / 2, (Height() - textHeight) / 2);
}

} // namespace Main
