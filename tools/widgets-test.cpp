// widgets-test: a window of the widget toolkit in the game's window: a button, a
// check box, a list box with its scroll bar and a free scroll bar, drawn with
// sprites and a font made by the tools. The window can be dragged by its title;
// F12 saves a screenshot in "Bmp/" beside the program.
//
//   widgets-test [--fullscreen] [--seconds N] [--screenshot FILE]
//
// Without --seconds it runs until the window is closed or Escape is pressed;
// --screenshot saves the last frame as a BMP file (after 1 second by default).
#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxRects.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/widgets/DXButton.h"
#include "engine/widgets/DXListBox.h"
#include "engine/widgets/DXTooltip.h"
#include "engine/widgets/DXWindowSystem.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Streams.h"
#include "platform/display/DisplayHardware.h"
#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinMessages.h"
#include "platform/win32/WinWindow.h"
#include "tools/FontBuilder.h"
#include "tools/SpriteWriter.h"
#include "tools/TestScreenOptions.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

using namespace DXWin;
using namespace Win32;

namespace {

// Colours as 0x00RRGGBB.
constexpr uint32_t Face = 0xC0B090;      // parchment
constexpr uint32_t Ink = 0x302010;       // dark brown
constexpr uint32_t Highlight = 0xE8D8A8; // hover
constexpr uint32_t Selected = 0x806030;  // list selection
constexpr uint32_t Shade = 0x705838;     // title band and the track
constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Desk = 0x283848;

uint32_t Pack(uint32_t rgb) {
    return Gfx::PackColor16(rgb);
}

void Fill(IDirectDrawSurface7* target, const RECT& r, uint32_t rgb, const RECT* clip = nullptr) {
    Gfx::FillRect(target, r.left, r.top, r.right - r.left, r.bottom - r.top, Pack(rgb), clip);
}

void Frame(IDirectDrawSurface7* target, const RECT& r, uint32_t rgb, const RECT* clip = nullptr) {
    Gfx::FrameRect(target, r.left, r.top, r.right - r.left, r.bottom - r.top, Pack(rgb), clip);
}

Tools::TPicture Picture(int width, int height, const std::function<uint32_t(int, int)>& pixel) {
    Tools::TPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Pixels.push_back(pixel(x, y));
    return picture;
}

// Loaded after the display exists, so that the sprite takes the display's format.
std::unique_ptr<Gfx::TSprite> MakeSprite(const std::vector<Tools::TPicture>& frames, int hotX,
                                         int hotY) {
    Tools::TSpriteOptions options;
    options.HotSpotX = hotX;
    options.HotSpotY = hotY;
    ClassLib::TMemoryStream stream(Tools::EncodeSprite(frames, options));
    auto sprite = std::make_unique<Gfx::TSprite>(Gfx::sfConvert);
    sprite->LoadFromStream(&stream);
    sprite->PrepareSurfaces(false);
    return sprite;
}

// Arrows of 14 x 14 pointing up, down, left and right (frames 0-3).
std::unique_ptr<Gfx::TSprite> MakeArrows() {
    const auto arrow = [](int direction) {
        return Picture(14, 14, [direction](int x, int y) -> uint32_t {
            const int along = direction < 2 ? y : x, across = direction < 2 ? x : y;
            const int tip = direction % 2 == 0 ? along - 3 : 10 - along;
            return along >= 3 && along <= 10 && std::abs(across - 7) <= tip ? 0xFF302010 : 0;
        });
    };
    return MakeSprite({arrow(0), arrow(1), arrow(2), arrow(3)}, 0, 0);
}

// The mouse pointer: a white arrow with a black edge, its hot spot at the tip.
std::unique_ptr<Gfx::TSprite> MakePointer() {
    const auto pointer = [](int x, int y) -> uint32_t {
        const int right = y < 12 ? y : 11 - 2 * (y - 11);
        if (y > 16 || x > right)
            return 0;
        const bool edge = x == 0 || x == right || y == 16;
        return edge ? 0xFF000000 : 0xFFFFFFFF;
    };
    return MakeSprite({Picture(12, 17, pointer)}, 0, 0);
}

// The hint in a framed box below the mouse.
class TTestTooltip : public TDXTooltip {
public:
    explicit TTestTooltip(const Gfx::TFont& font) : FFont(font) {}

    void SetVisible(bool visible) override { FVisible = visible; }
    bool IsVisible() const override { return FVisible; }
    void SetText(const AnsiString& text) override { FShown = text; }
    void SetPosition(int mouseX, int mouseY) override {
        FX = mouseX + 4;
        FY = mouseY + 20;
    }
    void UpdateFrame() override {}
    void Draw(IDirectDrawSurface7* target) override {
        if (!FVisible)
            return;
        const RECT box{FX, FY, FX + FFont.TextWidth(FShown) + 10, FY + FFont.CellHeight() + 4};
        Fill(target, box, 0xFFFFE0);
        Frame(target, box, Ink);
        FFont.DrawString(target, FX + 5, FY + 2, nullptr, Pack(Ink), FShown);
    }

private:
    const Gfx::TFont& FFont;
    bool FVisible = false;
    AnsiString FShown;
    int FX = 0;
    int FY = 0;
};

// The window and its controls; the window system owns them.
class TTestScreen {
public:
    TTestScreen(TDXWindowSystem& windows, const Gfx::TFont& font, Gfx::TSprite& arrows)
        : FFont(font), FArrows(arrows) {
        FWindow = new TDXWindow(&windows, woDraggable | woCentered, TitleHeight);
        FWindow->SetSize(420, 300);
        FWindow->OnDraw = [this](IDirectDrawSurface7* target, const RECT& r) {
            Fill(target, r, Face);
            Fill(target, {r.left, r.top, r.right, r.top + TitleHeight}, Shade);
            Frame(target, r, Ink);
            FFont.DrawString(target, r.left + 8, r.top + 4, &r, Pack(White), "Widget toolkit test");
        };

        FButton = new TDXButton(FWindow, FWindow, csTakesFocus);
        FButton->SetBoundsRect({20, 44, 140, 72});
        FButton->SetCaption("Count");
        FButton->SetHint("Adds one to the count");
        FButton->OnClick = [this](TDXControl*) { ++FClicks; };
        FButton->OnDraw = [this](IDirectDrawSurface7* target, const RECT& r) {
            DrawButton(target, r);
        };
        FButton->SetDefault(true);

        FCheckBox = new TDXCheckBox(FWindow, FWindow);
        FCheckBox->SetBoundsRect({20, 88, 180, 108});
        FCheckBox->SetCaption("Show hints");
        FCheckBox->SetHint("Turns the tooltips on and off");
        FCheckBox->SetChecked(true);
        FCheckBox->OnClick = [&windows](TDXControl* sender) {
            // Still the state before the click.
            if (static_cast<TDXCheckBox*>(sender)->Checked())
                windows.Tooltip()->Disable();
            else
                windows.Tooltip()->Enable();
        };
        FCheckBox->OnDraw = [this](IDirectDrawSurface7* target, const RECT& r) {
            const RECT box{r.left, r.top + 2, r.left + 16, r.top + 18};
            Fill(target, box, White);
            Frame(target, box, Ink);
            if (FCheckBox->Checked())
                Fill(target, {box.left + 4, box.top + 4, box.right - 4, box.bottom - 4}, Ink);
            FFont.DrawString(target, r.left + 24, r.top + 1, &r,
                             Pack(FCheckBox->Hovered() ? Selected : Ink), FCheckBox->Caption());
        };

        FListBar = MakeBar(sbVertical);
        FListBar->SetSize(16, 0);
        FList = new TDXListBox(FWindow, 180, 22, FListBar);
        FList->SetPosition(200, 44);
        FList->SetVisibleRows(8);
        FList->SetItemCount(20);
        FList->SetSelection(2);
        FList->UpdateLayout();
        FList->OnDraw = [](IDirectDrawSurface7* target, const RECT& r) { Fill(target, r, White); };
        FList->OnDrawItem = [this](IDirectDrawSurface7* target, const RECT& r, bool hover,
                                   bool selected, int index) {
            Fill(target, r, selected ? Selected : hover ? Highlight : White);
            FFont.DrawString(target, r.left + 6, r.top + 3, &r, Pack(selected ? White : Ink),
                             "Item " + std::to_string(index + 1));
        };

        FFreeBar = MakeBar(sbHorizontal);
        FFreeBar->SetBoundsRect({20, 240, 180, 256});
        FFreeBar->SetRange(0, 10);
        FFreeBar->SetPositionValue(3);
        FFreeBar->UpdatePosition(false);
        FFreeBar->SetHint("A free scroll bar");

        windows.SetTooltip(std::make_unique<TTestTooltip>(font));
        FWindow->Show();
        FWindow->RequestActivate();
        windows.ProcessRequests();
    }

private:
    static constexpr int TitleHeight = 24;

    void DrawButton(IDirectDrawSurface7* target, const RECT& r) const {
        const int down = FButton->Pressed() && FButton->Hovered() ? 1 : 0;
        Fill(target, r, FButton->Hovered() ? Highlight : Face);
        Frame(target, r, Ink);
        if (FButton->IsDefault())
            Frame(target, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, Ink);
        const AnsiString text = FButton->Caption() + " " + std::to_string(FClicks);
        const int x = (r.left + r.right - FFont.TextWidth(text)) / 2 + down;
        const int y = (r.top + r.bottom - FFont.CellHeight()) / 2 + down;
        FFont.DrawString(target, x, y, &r, Pack(Ink), text);
    }

    TDXScrollBar* MakeBar(uint8_t orientation) {
        auto* bar = new TDXScrollBar(FWindow, orientation, 16, 20);
        bar->OnDraw = [this, bar](IDirectDrawSurface7* target, const RECT& r) {
            Fill(target, r, Shade);
            const RECT up = bar->UpArrowRect(), down = bar->DownArrowRect();
            const RECT thumb = bar->ThumbRect();
            for (const RECT& part : {up, down, thumb}) {
                Fill(target, part, Face, &r);
                Frame(target, part, Ink, &r);
            }
            const int first = bar->Orientation() == sbVertical ? 0 : 2;
            Gfx::DrawSprite(&FArrows, target, first, up.left + 1, up.top + 1, &r);
            Gfx::DrawSprite(&FArrows, target, first + 1, down.left + 1, down.top + 1, &r);
        };
        return bar;
    }

    const Gfx::TFont& FFont;
    Gfx::TSprite& FArrows;
    TDXWindow* FWindow = nullptr;
    TDXButton* FButton = nullptr;
    TDXCheckBox* FCheckBox = nullptr;
    TDXScrollBar* FListBar = nullptr;
    TDXListBox* FList = nullptr;
    TDXScrollBar* FFreeBar = nullptr;
    int FClicks = 0;
};

using TOptions = Tools::TTestScreenOptions;

// The program's objects in the order they go: windows first, then the pictures,
// then the display.
class TProgram {
public:
    explicit TProgram(const TOptions& options) : FOptions(options) {}
    ~TProgram() { Close(); }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    void Start() {
        using D3DFrame::D3DFramework;
        auto& application = *DXApp::Application;
        Tools::TFontBuildOptions fontOptions;
        fontOptions.PixelSize = 14;
        Tools::BuildFont(Tools::DefaultFontFile, fontOptions, FFont);
        application.Create(
            GetModuleHandle(nullptr), "Varnholt widgets test", "VRNWidgetsTest",
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
        FFont.ConvertToDisplayFormat(16, Gfx::IsDisplayRGB565);
        FArrows = MakeArrows();
        FPointer = MakePointer();
        FWindows = std::make_unique<TDXWindowSystem>();
        FWindows->SetDefaultCursor(FPointer.get());
        FScreen = std::make_unique<TTestScreen>(*FWindows, FFont, *FArrows);
    }

private:
    void Update() {
        if (FWindows)
            FWindows->Tick();
        auto& application = *DXApp::Application;
        if (FOptions.Seconds >= 0 && application.GameTime >= FOptions.Seconds * 1000)
            FTimeUp = true;
    }

    void Render() {
        using D3DFrame::D3DFramework;
        if (!FWindows || !D3DFramework || !D3DFramework->BackBuffer())
            return;
        Fill(D3DFramework->BackBuffer(),
             {0, 0, int(D3DFramework->CurrentMode().dwWidth),
              int(D3DFramework->CurrentMode().dwHeight)},
             Desk);
        FWindows->Draw(D3DFramework->BackBuffer());
        auto& application = *DXApp::Application;
        if (FTimeUp && !application.Quit) {
            if (!FOptions.Screenshot.empty() && !application.SaveBackBuffer(FOptions.Screenshot))
                std::fprintf(stderr, "widgets-test: the back buffer could not be read\n");
            application.Terminate();
        }
        D3DFramework->ShowFrame();
    }

    void Input(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_KEYDOWN && wParam == VK_ESCAPE)
            DXApp::Application->Terminate();
        if (msg == WM_KEYDOWN && wParam == VK_F12)
            DXApp::Application->ScreenshotRequest = true;
        if (FWindows)
            FWindows->HandleMessage(msg, wParam, lParam);
    }

    void Close() {
        FScreen.reset();
        FWindows.reset();
        FArrows.reset();
        FPointer.reset();
        FFont.Clear();
        D3DFrame::D3DFramework.reset();
    }

    const TOptions& FOptions;
    Gfx::TFont FFont;
    std::unique_ptr<Gfx::TSprite> FArrows;
    std::unique_ptr<Gfx::TSprite> FPointer;
    std::unique_ptr<TDXWindowSystem> FWindows;
    std::unique_ptr<TTestScreen> FScreen;
    bool FTimeUp = false;
};

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    if (!Tools::ParseTestScreenOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: widgets-test [--fullscreen] [--seconds N] [--screenshot FILE]\n");
        return 2;
    }
    return Tools::RunTestScreen("widgets-test",
                                [&] { return std::make_unique<TProgram>(options); });
}
