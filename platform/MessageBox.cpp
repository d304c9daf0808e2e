#include "platform/MessageBox.h"

#include "platform/SdlWindow.h"

#include <SDL.h>

#include <cstdio>
#include <utility>

namespace Win32 {

namespace {
TMessageBoxHandler& Handler() {
    static TMessageBoxHandler handler;
    return handler;
}

uint32_t SdlFlags(uint32_t type) {
    switch (type & 0xF0) {
    case MB_ICONERROR:
        return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}
} // namespace

int MessageBoxA(HWND owner, const char* text, const char* caption, uint32_t type) {
    if (Handler())
        return Handler()(owner, text ? text : "", caption ? caption : "", type);
    if (SDL_ShowSimpleMessageBox(SdlFlags(type), caption ? caption : "", text ? text : "",
                                 owner ? owner->Handle() : nullptr) != 0)
        std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    return IDOK;
}

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

} // namespace Win32
