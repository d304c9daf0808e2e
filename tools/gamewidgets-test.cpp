// gamewidgets-test: the game's widget set at work in the game's window. A parchment
// scroll unrolls with a letter and two answers, a book opens in four stages, a yes/no
// question and a message unroll on horizontal scrolls, and on the desk behind them
// are sprite buttons with a glowing hover, sprite scroll bars, menu buttons, an icon
// button, menu check boxes, text buttons and a text label. The windows open and close
// again every nine seconds. Pictures and fonts are made by the tools; the tooltip
// background comes from a main data set loaded as the game loads it.
//
//   gamewidgets-test [--data FOLDER] [--fullscreen] [--seconds N] [--screenshot FILE]
//
// --data takes the widget set's art, fonts and sounds from the game's data in FOLDER
// (the build writes it beside the game, for example build/release/src).
//
// With --screenshot the pointer is walked over the "Yes" button and later over a
// sprite button, so that the picture shows a hover and a tooltip.
#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/sound/SoundStartup.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/data/MainData.h"
#include "platform/classlib/Exception.h"
#include "platform/display/DisplayHardware.h"
#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinMessages.h"
#include "platform/win32/WinWindow.h"
#include "tools/GameWidgetsData.h"
#include "tools/TestScreenOptions.h"
#include "ui/widgets/BookWindow.h"
#include "ui/widgets/GameView.h"
#include "ui/widgets/MenuButtons.h"
#include "ui/widgets/ScrollDialogs.h"
#include "ui/widgets/SpriteButton.h"
#include "ui/widgets/SpriteScrollBar.h"
#include "ui/widgets/TextControls.h"
#include "ui/widgets/VRNLabel.h"
#include "ui/widgets/VRNTooltip.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace Main;
using namespace Win32;
using GameWidgetsData::TInstalledArt;

namespace {

constexpr uint32_t Desk = 0x24303A;
constexpr uint32_t DeskLight = GameWidgetsData::LightInk;
constexpr uint32_t Page = 0xF4EAD0;

// Milliseconds into each nine-second round: the letter and the dialogs first, then
// the book.
constexpr uint32_t Round = 9000;
constexpr uint32_t OpenScroll = 200;
constexpr uint32_t OpenDialogs = 600;
constexpr uint32_t CloseDialogs = 5000;
constexpr uint32_t OpenBook = 5400;
constexpr uint32_t CloseScroll = 6500;
constexpr uint32_t CloseBook = 8400;

Gfx::TFont* SecondFont() {
    return InterfaceFont(1);
}

// A game with a scenario as far as the widgets can tell, so that answer choices show;
// the player on turn plays blue.
class TTestScreenGame : public TGameView {
public:
    bool HoldsScenario() const override { return true; }
    uint32_t CurrentPlayerColor() const override { return 0x2F5FD0; }
};

// The windows; the window system owns them.
class TTestScreen {
public:
    TTestScreen(DXWin::TDXWindowSystem& windows, const TInstalledArt& art) : FArt(art) {
        MakeLetter(windows);
        MakeDesk(windows);
        MakeBook(windows);
        FQuestion = new THorizYesNoDialog(&windows);
        FQuestion->SetText("Leave this scenario?");
        FMessage = new THorizInfoDialog(&windows);
        FMessage->SetText("The bridge at Varnholt has fallen.\n"
                          "The road north is closed until the thaw.");
        FDesk->Show();
        windows.ProcessRequests();
    }

    Win32::POINT YesButtonCentre() const {
        const RECT r = FQuestion->YesButton()->GetScreenRect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    Win32::POINT GemCentre() const { return {FGem->X() + 22, FGem->Y() + 22}; }

    // Opens and closes the windows on the round's schedule.
    void Update(uint32_t gameTime) {
        const uint32_t now = gameTime % Round;
        const auto due = [&](uint32_t at) { return FLast < at && now >= at; };
        if (now < FLast)
            FLast = 0; // a new round
        if (due(OpenScroll))
            FLetter->Show();
        if (due(OpenDialogs)) {
            // Stacked at the bottom, right of the letter.
            const int messageY = 592 - FMessage->Height();
            ShowAt(FMessage, 270, messageY);
            ShowAt(FQuestion, 270, messageY - 12 - FQuestion->Height());
        }
        if (due(OpenBook))
            FBook->Show();
        if (due(CloseDialogs)) {
            FQuestion->Hide();
            FMessage->Hide();
        }
        if (due(CloseScroll))
            FLetter->Hide();
        if (due(CloseBook))
            FBook->Hide();
        FLast = now;
    }

private:
    static void ShowAt(TScrollWindow* window, int x, int y) {
        window->Show(); // centres it
        window->SetPosition(x, y);
    }

    // Below the letter's lower roller.
    int MenuTop() const { return std::max(404, FLetter->Y() + FLetter->Height() + 24); }

    void MakeDesk(DXWin::TDXWindowSystem& windows) {
        FDesk = new TVRNWindow(&windows, DXWin::woBackground, 0);
        FDesk->SetSize(800, 600);
        FDesk->OnDraw = [](IDirectDrawSurface7* target, const RECT& r) {
            Gfx::FillRect(target, r.left, r.top, r.right - r.left, r.bottom - r.top,
                          Gfx::PackColor16(Desk), nullptr);
            SecondFont()->DrawString(target, 20, 14, nullptr, Gfx::PackColor565(DeskLight),
                                     "Varnholt: the game's widget set");
        };
        const auto& sprites = FArt.Controls();
        for (int i = 0; i < 3; ++i) {
            auto* gem = new TSpriteButton(FDesk, FDesk);
            gem->SetBoundsRect({630, 50 + 60 * i, 674, 94 + 60 * i});
            gem->SetSprites(sprites.GemNormal, sprites.GemHover, sprites.GemPressed,
                            sprites.GemDisabled);
            gem->SetHint(i == 0 ? "Casts the spell on the group"
                                : "Another sprite button\nwith a hint of two lines");
            if (i == 2)
                gem->Disable();
            if (i == 0)
                FGem = gem;
        }
        auto* vertical = new TSpriteScrollBar(FDesk, DXWin::sbVertical, 16, 24);
        vertical->SetBoundsRect({700, 50, 716, 290});
        vertical->SetSprites(sprites.VerticalBar);
        vertical->SetRange(0, 20);
        vertical->SetPositionValue(6);
        vertical->UpdatePosition(false);
        auto* horizontal = new TSpriteScrollBar(FDesk, DXWin::sbHorizontal, 16, 24);
        horizontal->SetBoundsRect({600, 16, 780, 32});
        horizontal->SetSprites(sprites.HorizontalBar);
        horizontal->SetRange(0, 10);
        horizontal->SetPositionValue(7);
        horizontal->UpdatePosition(false);

        const char* menus[] = {"New game", "Load game", "Credits"};
        for (int i = 0; i < 3; ++i) {
            auto* menu = new TMenuButton(FDesk, FDesk);
            menu->SetBackground(sprites.Plank);
            menu->SetFonts(FArt.MenuFont(0), FArt.MenuFont(1), FArt.MenuFont(2), FArt.MenuFont(3));
            menu->SetText(menus[i]);
            menu->SetPosition(40, MenuTop() + 36 * i);
            menu->AutoSize();
            menu->CenterTextHorizontally();
            menu->CenterTextVertically();
            if (i == 2)
                menu->Disable();
        }
        auto* icon = new TIconTextButton(FDesk, FDesk);
        icon->SetBackground(sprites.Plank);
        icon->SetFonts(FArt.MenuFont(0), FArt.MenuFont(1), FArt.MenuFont(2), FArt.MenuFont(3));
        icon->SetText("Defend");
        icon->SetPosition(646, 320);
        icon->AutoSize();
        icon->CenterTextHorizontally();
        icon->CenterTextVertically();
        icon->SetIcon(sprites.Shield, 20, 15);

        const char* options[] = {"Music", "Speech"};
        for (int i = 0; i < 2; ++i) {
            auto* check = new TMenuCheckBox(FDesk, FDesk);
            check->SetSprites(sprites.CheckBox);
            check->SetFonts(FArt.LightFont(), nullptr, nullptr, nullptr);
            check->SetText(options[i]);
            check->SetPosition(646, 362 + 26 * i);
            check->AutoSize();
            check->SetChecked(i == 0);
            check->SetHint(i == 0 ? "Plays the music" : "Plays the speech");
        }

        auto* label = new TTextLabel(FDesk, FDesk);
        label->SetFont(SecondFont());
        label->SetColor(DeskLight);
        label->SetCaption("Text buttons:");
        label->SetBoundsRect({330, 14, 430, 34});
        const char* texts[] = {"Save", "Options"};
        for (int i = 0; i < 2; ++i) {
            auto* button = new TTextButton(FDesk, FDesk);
            button->SetFont(SecondFont());
            button->SetColors(DeskLight, 0xFFD860, 0xE05030, 0x808080);
            button->SetCaption(texts[i]);
            button->AutoSize();
            button->SetPosition(440 + 50 * i, 14);
        }
    }

    void MakeLetter(DXWin::TDXWindowSystem& windows) {
        FLetter = new TVertScrollWindow(&windows, 0);
        FLetter->SetPosition(20, 50);
        const auto clip = [this](RECT& rect) { rect = FLetter->GetVisibleRect(); };
        auto* text = new TVRNLabel(FLetter, FLetter);
        text->SetFont(SecondFont());
        text->SetWrap(true);
        text->SetText("Captain,\n\nthe river has risen over the ford at Varnholt and the "
                      "bridge is gone. The enemy waits on the far bank. Shall we march "
                      "north through the hills, or hold the city until the water falls?");
        text->SetBoundsRect({22, 30, 190, 240});
        text->SetOnGetClipRect(clip);
        const char* answers[] = {"March through the hills.", "Hold the city."};
        for (int i = 0; i < 2; ++i) {
            auto* answer = new TVRNChoice(FLetter, FLetter);
            answer->SetFont(SecondFont());
            answer->SetText(answers[i]);
            answer->SetBoundsRect({22, 250 + 22 * i, 190, 270 + 22 * i});
            answer->SetOnGetClipRect(clip);
        }
    }

    void MakeBook(DXWin::TDXWindowSystem& windows) {
        FBook = new TBookWindow(&windows, 0);
        // The game's book is a screen of its own: a large one goes in the middle.
        if (FBook->Width() > 400)
            FBook->SetPosition((800 - FBook->Width()) / 2, (600 - FBook->Height()) / 2);
        else
            FBook->SetPosition(250, 44);
        FBook->OnDraw = [this](IDirectDrawSurface7* target, const RECT&) {
            const RECT pages = FBook->GetVisibleRect();
            if (pages.right > pages.left)
                Gfx::FillRect(target, pages.left, pages.top, pages.right - pages.left,
                              pages.bottom - pages.top, Gfx::PackColor16(Page), nullptr);
        };
        const auto clip = [this](RECT& rect) { rect = FBook->GetVisibleRect(); };
        const int half = FBook->Width() / 2;
        // Clear of the cover's rim, whatever the book's size.
        const int marginX = FBook->Width() / 14, marginY = FBook->Height() / 14;
        const char* pages[] = {
            "Chronicle of the Realm\n\nIn the third winter the passes closed and the "
            "northern lords sent no word.",
            "The ravens came back in spring with the news that the old keep had fallen, and "
            "the roads were thick with refugees."};
        for (int i = 0; i < 2; ++i) {
            auto* page = new TVRNLabel(FBook, FBook);
            page->SetFont(SecondFont());
            page->SetWrap(true);
            page->SetText(pages[i]);
            page->SetBoundsRect(
                {half * i + marginX, marginY, half * (i + 1) - marginX, FBook->Height() - marginY});
            page->SetOnGetClipRect(clip);
        }
    }

    const TInstalledArt& FArt;
    TVRNWindow* FDesk = nullptr;
    TVertScrollWindow* FLetter = nullptr;
    TBookWindow* FBook = nullptr;
    THorizYesNoDialog* FQuestion = nullptr;
    THorizInfoDialog* FMessage = nullptr;
    TSpriteButton* FGem = nullptr;
    uint32_t FLast = 0;
};

using TOptions = Tools::TTestScreenOptions;

// The program's objects in the order they go: windows first, then the data, then the
// display.
class TProgram {
public:
    TProgram(const TOptions& options, std::string dataFolder)
        : FOptions(options), FDataFolder(std::move(dataFolder)) {}
    ~TProgram() { Close(); }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    void Start() {
        using D3DFrame::D3DFramework;
        auto& application = *DXApp::Application;
        application.Create(
            GetModuleHandle(nullptr), "Varnholt game widgets test", "VRNGameWidgetsTest",
            DXApp::aoHideCursorWindowed | DXApp::aoFixedFrame, 100, [this] { Close(); },
            [this] { Update(); }, [this] { Render(); }, Gfx::RestoreAllSurfaces,
            Gfx::ReleaseAllSurfaces, Gfx::RecreateAllSurfaces, nullptr,
            [this](UINT msg, WPARAM wParam, LPARAM lParam) { Input(msg, wParam, lParam); });
        D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
            application.Window, application.Title, D3DFrame::UseDirect3D, 800, 600, 16,
            Tools::AcceptTestScreenMode);
        if (FOptions.FullScreen)
            application.SetFullscreen(-1, 100, 100, 800, 600);
        else
            application.SetWindowed(SW_SHOWNORMAL, 100, 100, 800, 600);
        Gfx::CalibrateRenderer();
        FArt = std::make_unique<TInstalledArt>(FDataFolder);
        if (!FDataFolder.empty())
            StartSound(application.Window);
        FWindows = std::make_unique<DXWin::TDXWindowSystem>();
        // The game's pointer, drawn by the window system as the game draws it.
        if (Data2::MainData)
            FWindows->SetDefaultCursor(Data2::MainData->Sprites[Data2::msPointerCursor]);
        FWindows->SetTooltip(std::make_unique<TVRNTooltip>());
        GameView = &FGame;
        FScreen = std::make_unique<TTestScreen>(*FWindows, *FArt);
    }

private:
    void Update() {
        auto& application = *DXApp::Application;
        const auto time = static_cast<uint32_t>(application.GameTime);
        if (FScreen)
            FScreen->Update(time);
        if (FScreen && !FOptions.Screenshot.empty())
            WalkPointer(time);
        if (FWindows)
            FWindows->Tick();
        if (FOptions.Seconds >= 0 && application.GameTime >= FOptions.Seconds * 1000)
            FTimeUp = true;
    }

    // Over "Yes" while the question is up, then over the first sprite button.
    void WalkPointer(uint32_t time) {
        const uint32_t now = time % Round;
        const POINT to =
            now < CloseDialogs + 900 ? FScreen->YesButtonCentre() : FScreen->GemCentre();
        if (to.x != FPointer.x || to.y != FPointer.y) {
            FPointer = to;
            FWindows->HandleMessage(WM_MOUSEMOVE, 0, PointToLParam(to.x, to.y));
        }
    }

    void Render() {
        using D3DFrame::D3DFramework;
        if (!FWindows || !D3DFramework || !D3DFramework->BackBuffer())
            return;
        FWindows->Draw(D3DFramework->BackBuffer());
        auto& application = *DXApp::Application;
        if (FTimeUp && !application.Quit) {
            if (!FOptions.Screenshot.empty() && !application.SaveBackBuffer(FOptions.Screenshot))
                std::fprintf(stderr, "gamewidgets-test: the back buffer could not be read\n");
            application.Terminate();
        }
        D3DFramework->ShowFrame();
    }

    void Input(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_KEYDOWN && wParam == VK_F12)
            DXApp::Application->ScreenshotRequest = true;
        if (FWindows)
            FWindows->HandleMessage(msg, wParam, lParam);
    }

    void Close() {
        StopSound();
        FScreen.reset();
        FWindows.reset();
        GameView = nullptr;
        FArt.reset();
        D3DFrame::D3DFramework.reset();
    }

    const TOptions& FOptions;
    const std::string FDataFolder;
    TTestScreenGame FGame;
    std::unique_ptr<TInstalledArt> FArt;
    std::unique_ptr<DXWin::TDXWindowSystem> FWindows;
    std::unique_ptr<TTestScreen> FScreen;
    POINT FPointer{-1, -1};
    bool FTimeUp = false;
};

} // namespace

int main(int argc, char** argv) {
    // --data is this tool's own; the rest are the test screens'.
    std::string dataFolder;
    std::vector<char*> arguments{argv[0]};
    bool valid = true;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) != "--data")
            arguments.push_back(argv[i]);
        else if (i + 1 < argc)
            dataFolder = argv[++i];
        else
            valid = false;
    }
    TOptions options;
    if (!valid ||
        !Tools::ParseTestScreenOptions(int(arguments.size()), arguments.data(), options)) {
        std::fprintf(stderr, "usage: gamewidgets-test [--data FOLDER] [--fullscreen] [--seconds N] "
                             "[--screenshot FILE]\n");
        return 2;
    }
    return Tools::RunTestScreen("gamewidgets-test",
                                [&] { return std::make_unique<TProgram>(options, dataFolder); });
}
