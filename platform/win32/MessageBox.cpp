#include "platform/win32/MessageBox.h"

#include "platform/win32/WinWindow.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Win32 {

namespace {

std::atomic<TMessageBoxHandler*> currentHandler{nullptr};

struct TButtonSet {
    int Ids[3];
    const char* Texts[3];
    int Count;
};

TButtonSet ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, IDCANCEL}, {"OK", "Cancel"}, 2};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, IDRETRY, IDIGNORE}, {"Abort", "Retry", "Ignore"}, 3};
    case MB_YESNOCANCEL:
        return {{IDYES, IDNO, IDCANCEL}, {"Yes", "No", "Cancel"}, 3};
    case MB_YESNO:
        return {{IDYES, IDNO}, {"Yes", "No"}, 2};
    case MB_RETRYCANCEL:
        return {{IDRETRY, IDCANCEL}, {"Retry", "Cancel"}, 2};
    default:
        return {{IDOK}, {"OK"}, 1};
    }
}

int DefaultIndex(UINT type, int count) {
    const int index = static_cast<int>((type & MB_DEFMASK) >> 8);
    return index < count ? index : 0;
}

bool IsHeadless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver)
        driver = std::getenv("SDL_VIDEODRIVER");
    return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

Uint32 SdlIconFlag(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

// SDL's X11 boxes put each colour into the pixel as 0xRRGGBB, which only a 24- or
// 32-bit desktop reads right. On a 15- or 16-bit desktop each colour is handed over
// already in the desktop's pixel format, in the green and blue bytes that become the
// pixel's low 16 bits.
struct TBoxColour {
    Uint8 R, G, B;
};
constexpr TBoxColour BoxColours[SDL_MESSAGEBOX_COLOR_MAX] = {
    {56, 54, 53},    // background
    {209, 207, 205}, // text
    {140, 135, 129}, // button border
    {105, 102, 99},  // button background
    {205, 202, 53},  // button selected
};

Uint32 DesktopPixelFormat() {
    const bool started = SDL_WasInit(SDL_INIT_VIDEO) == 0;
    if (started && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return SDL_PIXELFORMAT_UNKNOWN;
    SDL_DisplayMode mode{};
    const Uint32 format =
        SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.format : SDL_PIXELFORMAT_UNKNOWN;
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool x11 = driver && std::strcmp(driver, "x11") == 0;
    if (started)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return x11 ? format : SDL_PIXELFORMAT_UNKNOWN;
}

// Null keeps SDL's own colours.
const SDL_MessageBoxColorScheme* SchemeForDesktop(SDL_MessageBoxColorScheme& scheme) {
    const Uint32 format = DesktopPixelFormat();
    if (format != SDL_PIXELFORMAT_RGB565 && format != SDL_PIXELFORMAT_RGB555)
        return nullptr;
    const bool wideGreen = format == SDL_PIXELFORMAT_RGB565;
    for (int i = 0; i < SDL_MESSAGEBOX_COLOR_MAX; ++i) {
        const TBoxColour& c = BoxColours[i];
        const unsigned pixel = wideGreen ? (c.R >> 3) << 11 | (c.G >> 2) << 5 | c.B >> 3
                                         : (c.R >> 3) << 10 | (c.G >> 3) << 5 | c.B >> 3;
        scheme.colors[i] = {0, Uint8(pixel >> 8), Uint8(pixel & 0xFF)};
    }
    return &scheme;
}

int ShowSdlMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    const TButtonSet buttons = ButtonsOf(type);
    const int defaultIndex = DefaultIndex(type, buttons.Count);
    if (IsHeadless()) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return buttons.Ids[defaultIndex];
    }
    SDL_MessageBoxButtonData data[3]{};
    for (int i = 0; i < buttons.Count; ++i) {
        data[i].buttonid = buttons.Ids[i];
        data[i].text = buttons.Texts[i];
        if (i == defaultIndex)
            data[i].flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (buttons.Ids[i] == IDCANCEL || buttons.Count == 1)
            data[i].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    }
    SDL_MessageBoxData box{};
    box.flags = SdlIconFlag(type);
    box.window = owner ? GetSdlWindow(owner) : nullptr;
    box.title = caption.c_str();
    box.message = text.c_str();
    box.numbuttons = buttons.Count;
    box.buttons = data;
    SDL_MessageBoxColorScheme scheme{};
    box.colorScheme = SchemeForDesktop(scheme);
    int chosen = 0;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) {
        // Without a display the message must still reach someone.
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return 0;
    }
    // Closing the box without a button answers like Escape.
    return chosen < 0 ? IDCANCEL : chosen;
}

} // namespace

int DefaultMessageBoxAnswer(UINT type) {
    const TButtonSet buttons = ButtonsOf(type);
    return buttons.Ids[DefaultIndex(type, buttons.Count)];
}

int TMessageBoxRecorder::Show(HWND owner, const std::string& text, const std::string& caption,
                              UINT type) {
    const std::lock_guard lock(FLock);
    FCalls.push_back({owner, text, caption, type});
    return FAnswer != 0 ? FAnswer : DefaultMessageBoxAnswer(type);
}

std::vector<TMessageBoxRecorder::TCall> TMessageBoxRecorder::Calls() const {
    const std::lock_guard lock(FLock);
    return FCalls;
}

void TMessageBoxRecorder::SetAnswer(int answer) {
    const std::lock_guard lock(FLock);
    FAnswer = answer;
}

void SetMessageBoxHandler(TMessageBoxHandler* handler) {
    currentHandler.store(handler);
}

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    const std::string textString = text ? text : "";
    const std::string captionString = caption ? caption : "Error";
    if (TMessageBoxHandler* handler = currentHandler.load())
        return handler->Show(owner, textString, captionString, type);
    return ShowSdlMessageBox(owner, textString, captionString, type);
}

} // namespace Win32
