// The standard dialogs on a horizontal scroll: a yes/no question answered 6 ("Yes",
// Enter) or 7 ("No", Escape), and a message closed with 1 by a click anywhere on it.
// Both are modal and centred.
#pragma once

#include "ui/widgets/ScrollWindow.h"

namespace Main {

using ClassLib::AnsiString;

class TTextButton;
class TVRNLabel;

constexpr int mrYes = 6;
constexpr int mrNo = 7;
constexpr int mrInfoClosed = 1;

class THorizYesNoDialog : public THorizScrollWindow {
public:
    explicit THorizYesNoDialog(DXWin::TDXWindowSystem* windowSystem);

    void Tick() override;
    // Sizes the dialog to the question and places the buttons.
    void SetText(const AnsiString& question);

    const AnsiString& Question() const { return FQuestion; }
    TTextButton* YesButton() const { return FYes; }
    TTextButton* NoButton() const { return FNo; }

private:
    TTextButton* MakeButton(const char* caption, int modalResult);
    void DrawQuestion(Win32::IDirectDrawSurface7* target, const Win32::RECT& bounds) const;

    AnsiString FQuestion;
    TTextButton* FYes;
    TTextButton* FNo;
};

class THorizInfoDialog : public THorizScrollWindow {
public:
    explicit THorizInfoDialog(DXWin::TDXWindowSystem* windowSystem);

    void Click() override;
    // Wraps the message to the parchment's width and sizes the dialog to it.
    void SetText(const AnsiString& message);

    TVRNLabel* Label() const { return FLabel; }

private:
    TVRNLabel* FLabel;
};

} // namespace Main
