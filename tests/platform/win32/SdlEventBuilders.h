// SDL events as the desktop's input would bring them, built for tests. Key
// events carry no key code unless given one: letters then read by position.
#pragma once

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

namespace TestSdl {

inline SDL_Event Key(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym = SDLK_UNKNOWN,
                     Uint16 mod = KMOD_NUM, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    return event;
}
inline SDL_Event KeyDown(SDL_Scancode scancode, SDL_Keycode sym = SDLK_UNKNOWN) {
    return Key(SDL_KEYDOWN, scancode, sym);
}
inline SDL_Event KeyUp(SDL_Scancode scancode, SDL_Keycode sym = SDLK_UNKNOWN) {
    return Key(SDL_KEYUP, scancode, sym);
}

inline SDL_Event Text(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    const size_t length = std::min(std::strlen(utf8), sizeof(event.text.text) - 1);
    std::memcpy(event.text.text, utf8, length);
    return event;
}

inline SDL_Event Motion(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

inline SDL_Event Button(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    return event;
}
inline SDL_Event ButtonDown(Uint8 button, int x, int y) {
    return Button(SDL_MOUSEBUTTONDOWN, button, x, y);
}
inline SDL_Event ButtonUp(Uint8 button, int x, int y) {
    return Button(SDL_MOUSEBUTTONUP, button, x, y);
}

inline SDL_Event Wheel(float notches, bool flipped = false) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = static_cast<Sint32>(notches);
    event.wheel.preciseY = notches;
    event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    return event;
}

inline SDL_Event Window(SDL_WindowEventID id, Sint32 data1 = 0, Sint32 data2 = 0) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(id);
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}

} // namespace TestSdl
