#include "platform/win32/SdlInput.h"

#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinMessages.h"
#include "tests/platform/win32/SdlEventBuilders.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace Win32;
using namespace TestSdl;

namespace {

struct TExpected {
    UINT Message;
    WPARAM WParam;
    uint32_t LParam; // the 32 bits Windows packs
    friend bool operator==(const TExpected&, const TExpected&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TExpected& m) {
        return out << std::hex << "{0x" << m.Message << ", 0x" << m.WParam << ", 0x" << m.LParam
                   << "}";
    }
};

const HWND kWindow = reinterpret_cast<HWND>(uintptr_t{7});

TInputWindow MakeWindow(DWORD time = 0) {
    TInputWindow window;
    window.Window = kWindow;
    window.DoubleClicks = true;
    window.Origin = {1000, 500};
    window.ClientSize = {800, 600};
    window.Time = time;
    return window;
}

// The posted messages of a run of events, in order.
std::vector<TExpected> Posted(TSdlInput& input, const std::vector<SDL_Event>& events,
                              const TInputWindow& window = MakeWindow()) {
    std::vector<TExpected> result;
    for (const SDL_Event& event : events) {
        for (const TInputMessage& m : input.Translate(event, window)) {
            if (m.Delivery == TDelivery::Post) {
                EXPECT_EQ(m.Msg.hwnd, kWindow);
                result.push_back(
                    {m.Msg.message, m.Msg.wParam, static_cast<uint32_t>(m.Msg.lParam)});
            }
        }
    }
    return result;
}

struct TKeyCase {
    const char* Name;
    std::vector<SDL_Event> Events;
    std::vector<TExpected> Expected;
};

} // namespace

TEST(SdlInput, KeysBecomeWindowsKeyMessagesWithTheirParametersPacked) {
    const SDL_Event altDown = KeyDown(SDL_SCANCODE_LALT);
    const SDL_Event ctrlDown = KeyDown(SDL_SCANCODE_LCTRL);
    const std::vector<TKeyCase> cases = {
        {"letter",
         {KeyDown(SDL_SCANCODE_A, SDLK_a), KeyUp(SDL_SCANCODE_A, SDLK_a)},
         {{WM_KEYDOWN, 'A', 0x001E0001}, {WM_KEYUP, 'A', 0xC01E0001}}},
        {"held key repeats with the previous-state bit",
         {KeyDown(SDL_SCANCODE_A), Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a, KMOD_NUM, 1)},
         {{WM_KEYDOWN, 'A', 0x001E0001}, {WM_KEYDOWN, 'A', 0x401E0001}}},
        {"letters follow the layout, scan codes the position",
         {KeyDown(SDL_SCANCODE_Q, SDLK_a)},
         {{WM_KEYDOWN, 'A', 0x00100001}}},
        {"digit", {KeyDown(SDL_SCANCODE_1, SDLK_1)}, {{WM_KEYDOWN, '1', 0x00020001}}},
        {"escape types 27",
         {KeyDown(SDL_SCANCODE_ESCAPE)},
         {{WM_KEYDOWN, VK_ESCAPE, 0x00010001}, {WM_CHAR, 27, 0x00010001}}},
        {"return types 13",
         {KeyDown(SDL_SCANCODE_RETURN)},
         {{WM_KEYDOWN, VK_RETURN, 0x001C0001}, {WM_CHAR, 13, 0x001C0001}}},
        {"keypad enter is the extended return",
         {KeyDown(SDL_SCANCODE_KP_ENTER)},
         {{WM_KEYDOWN, VK_RETURN, 0x011C0001}, {WM_CHAR, 13, 0x011C0001}}},
        {"backspace types 8",
         {KeyDown(SDL_SCANCODE_BACKSPACE)},
         {{WM_KEYDOWN, VK_BACK, 0x000E0001}, {WM_CHAR, 8, 0x000E0001}}},
        {"tab types 9",
         {KeyDown(SDL_SCANCODE_TAB)},
         {{WM_KEYDOWN, VK_TAB, 0x000F0001}, {WM_CHAR, 9, 0x000F0001}}},
        {"space types through text input",
         {KeyDown(SDL_SCANCODE_SPACE), Text(" ")},
         {{WM_KEYDOWN, VK_SPACE, 0x00390001}, {WM_CHAR, ' ', 0x00390001}}},
        {"grey arrow is extended",
         {KeyDown(SDL_SCANCODE_LEFT)},
         {{WM_KEYDOWN, VK_LEFT, 0x014B0001}}},
        {"page keys",
         {KeyDown(SDL_SCANCODE_PAGEUP), KeyDown(SDL_SCANCODE_END)},
         {{WM_KEYDOWN, VK_PRIOR, 0x01490001}, {WM_KEYDOWN, VK_END, 0x014F0001}}},
        {"function keys",
         {KeyDown(SDL_SCANCODE_F1), KeyDown(SDL_SCANCODE_F12)},
         {{WM_KEYDOWN, VK_F1, 0x003B0001}, {WM_KEYDOWN, VK_F12, 0x00580001}}},
        {"F10 is a system key",
         {KeyDown(SDL_SCANCODE_F10), KeyUp(SDL_SCANCODE_F10)},
         {{WM_SYSKEYDOWN, VK_F10, 0x00440001}, {WM_SYSKEYUP, VK_F10, 0xC0440001}}},
        {"keypad digit with num lock",
         {KeyDown(SDL_SCANCODE_KP_8)},
         {{WM_KEYDOWN, VK_NUMPAD8, 0x00480001}}},
        {"keypad digit without num lock",
         {Key(SDL_KEYDOWN, SDL_SCANCODE_KP_8, SDLK_UNKNOWN, KMOD_NONE)},
         {{WM_KEYDOWN, VK_UP, 0x00480001}}},
        {"keypad operators",
         {KeyDown(SDL_SCANCODE_KP_MULTIPLY), KeyDown(SDL_SCANCODE_KP_PLUS)},
         {{WM_KEYDOWN, VK_MULTIPLY, 0x00370001}, {WM_KEYDOWN, VK_ADD, 0x004E0001}}},
        {"oem keys by position",
         {KeyDown(SDL_SCANCODE_MINUS), KeyDown(SDL_SCANCODE_EQUALS)},
         {{WM_KEYDOWN, VK_OEM_MINUS, 0x000C0001}, {WM_KEYDOWN, VK_OEM_PLUS, 0x000D0001}}},
        {"shift keys are generic, told apart by scan code",
         {KeyDown(SDL_SCANCODE_LSHIFT), KeyDown(SDL_SCANCODE_RSHIFT)},
         {{WM_KEYDOWN, VK_SHIFT, 0x002A0001}, {WM_KEYDOWN, VK_SHIFT, 0x00360001}}},
        {"right ctrl is extended",
         {KeyDown(SDL_SCANCODE_RCTRL)},
         {{WM_KEYDOWN, VK_CONTROL, 0x011D0001}}},
        {"ctrl with a letter types a control character",
         {ctrlDown, KeyDown(SDL_SCANCODE_G, SDLK_g)},
         {{WM_KEYDOWN, VK_CONTROL, 0x001D0001},
          {WM_KEYDOWN, 'G', 0x00220001},
          {WM_CHAR, 7, 0x00220001}}},
        {"alt makes system keys and sets the context bit",
         {altDown, KeyDown(SDL_SCANCODE_F4), KeyUp(SDL_SCANCODE_F4), KeyUp(SDL_SCANCODE_LALT)},
         {{WM_SYSKEYDOWN, VK_MENU, 0x20380001},
          {WM_SYSKEYDOWN, VK_F4, 0x203E0001},
          {WM_SYSKEYUP, VK_F4, 0xE03E0001},
          {WM_SYSKEYUP, VK_MENU, 0xC0380001}}},
        {"alt with enter",
         {altDown, KeyDown(SDL_SCANCODE_RETURN)},
         {{WM_SYSKEYDOWN, VK_MENU, 0x20380001},
          {WM_SYSKEYDOWN, VK_RETURN, 0x201C0001},
          {WM_SYSCHAR, 13, 0x201C0001}}},
        {"a key released after alt is an ordinary one",
         {altDown, KeyDown(SDL_SCANCODE_X), KeyUp(SDL_SCANCODE_LALT), KeyUp(SDL_SCANCODE_X)},
         {{WM_SYSKEYDOWN, VK_MENU, 0x20380001},
          {WM_SYSKEYDOWN, 'X', 0x202D0001},
          {WM_SYSKEYUP, VK_MENU, 0xC0380001},
          {WM_KEYUP, 'X', 0xC02D0001}}},
        {"ctrl and alt together are no system keys",
         {ctrlDown, altDown, KeyDown(SDL_SCANCODE_E)},
         {{WM_KEYDOWN, VK_CONTROL, 0x001D0001},
          {WM_KEYDOWN, VK_MENU, 0x20380001},
          {WM_KEYDOWN, 'E', 0x20120001}}},
        {"text in windows-1252, one message per character",
         {KeyDown(SDL_SCANCODE_E), Text("\xC3\xA9\xE2\x82\xAC"), Text("\xE6\x97\xA5")},
         {{WM_KEYDOWN, 'E', 0x00120001}, {WM_CHAR, 0xE9, 0x00120001}, {WM_CHAR, 0x80, 0x00120001}}},
        {"unknown keys give nothing", {KeyDown(SDL_SCANCODE_MUTE)}, {}},
    };
    for (const TKeyCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TSdlInput input;
        EXPECT_EQ(Posted(input, c.Events), c.Expected);
    }
}

TEST(SdlInput, KeyStateFollowsTheKeysAndTheirToggles) {
    TSdlInput input;
    Posted(input, {KeyDown(SDL_SCANCODE_RSHIFT), KeyDown(SDL_SCANCODE_CAPSLOCK),
                   KeyUp(SDL_SCANCODE_CAPSLOCK)});
    EXPECT_LT(input.Keys().Get(VK_SHIFT), 0);
    EXPECT_LT(input.Keys().Get(VK_RSHIFT), 0);
    EXPECT_EQ(input.Keys().Get(VK_LSHIFT), 0);
    EXPECT_EQ(input.Keys().Get(VK_CAPITAL), 1); // up, light on
    Posted(input, {KeyUp(SDL_SCANCODE_RSHIFT)});
    EXPECT_GE(input.Keys().Get(VK_SHIFT), 0);
}

TEST(SdlInput, MouseMessagesCarryButtonsKeysAndSignedClientCoordinates) {
    TSdlInput input;
    EXPECT_EQ(
        Posted(input,
               {Motion(10, 20), ButtonDown(SDL_BUTTON_LEFT, 11, 21), KeyDown(SDL_SCANCODE_LSHIFT),
                ButtonDown(SDL_BUTTON_RIGHT, 12, 22), ButtonUp(SDL_BUTTON_LEFT, 12, 22),
                KeyDown(SDL_SCANCODE_LCTRL), ButtonDown(SDL_BUTTON_MIDDLE, 300, 400),
                ButtonUp(SDL_BUTTON_MIDDLE, 300, 400)}),
        (std::vector<TExpected>{
            {WM_MOUSEMOVE, 0, 0x00140000 | 10},
            {WM_LBUTTONDOWN, MK_LBUTTON, 0x00150000 | 11},
            {WM_KEYDOWN, VK_SHIFT, 0x002A0001},
            {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON | MK_SHIFT, 0x00160000 | 12},
            {WM_LBUTTONUP, MK_RBUTTON | MK_SHIFT, 0x00160000 | 12},
            {WM_KEYDOWN, VK_CONTROL, 0x001D0001},
            {WM_MBUTTONDOWN, MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL, (400u << 16) | 300},
            {WM_MBUTTONUP, MK_RBUTTON | MK_SHIFT | MK_CONTROL, (400u << 16) | 300},
        }));
    EXPECT_LT(input.Keys().Get(VK_RBUTTON), 0);
    EXPECT_EQ(input.Keys().Get(VK_LBUTTON) & 0x8000, 0);

    // Captured, a drag past the top-left corner reads negative.
    TInputWindow captured = MakeWindow();
    captured.Captured = true;
    const auto drag = input.Translate(Motion(-5, -7), captured);
    ASSERT_EQ(drag.size(), 1u); // no WM_SETCURSOR while captured
    EXPECT_EQ(GET_X_LPARAM(drag[0].Msg.lParam), -5);
    EXPECT_EQ(GET_Y_LPARAM(drag[0].Msg.lParam), -7);
    EXPECT_EQ(drag[0].Msg.pt, (POINT{995, 493}));
}

TEST(SdlInput, WindowsAskForTheirCursorBeforeMouseMessagesOverTheClientArea) {
    TSdlInput input;
    const auto inside = input.Translate(Motion(5, 6), MakeWindow());
    ASSERT_EQ(inside.size(), 2u);
    EXPECT_EQ(inside[0].Delivery, TDelivery::Send);
    EXPECT_EQ(inside[0].Msg.message, WM_SETCURSOR);
    EXPECT_EQ(inside[0].Msg.wParam, reinterpret_cast<WPARAM>(kWindow));
    EXPECT_EQ(inside[0].Msg.lParam, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(inside[1].Delivery, TDelivery::Post);
    EXPECT_EQ(input.Translate(Motion(900, 6), MakeWindow()).size(), 1u);
}

TEST(SdlInput, ClientCoordinatesComeFromTheWindowsMapping) {
    TSdlInput input;
    TInputWindow scaled = MakeWindow();
    scaled.ToClient = [](POINT p) { return POINT{p.x / 2, p.y / 2}; };
    const auto messages = input.Translate(ButtonDown(SDL_BUTTON_LEFT, 200, 100), scaled);
    EXPECT_EQ(PointFromLParam(messages.back().Msg.lParam), (POINT{100, 50}));
    EXPECT_EQ(messages.back().Msg.pt, (POINT{1200, 600})); // screen pixels
}

TEST(SdlInput, DoubleClicksArriveAsDownUpDoubleClickUp) {
    struct TClickCase {
        const char* Name;
        bool ClassAsksForThem;
        DWORD SecondTime;
        int SecondX;
        UINT SecondMessage;
    };
    const TClickCase cases[] = {
        {"quick and close", true, 500, 12, WM_LBUTTONDBLCLK},
        {"too slow", true, 501, 10, WM_LBUTTONDOWN},
        {"too far", true, 100, 13, WM_LBUTTONDOWN},
        {"class without CS_DBLCLKS", false, 100, 10, WM_LBUTTONDOWN},
    };
    for (const TClickCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TSdlInput input;
        TInputWindow first = MakeWindow(1000);
        first.DoubleClicks = c.ClassAsksForThem;
        TInputWindow second = first;
        second.Time = 1000 + c.SecondTime;
        std::vector<TExpected> messages = Posted(
            input, {ButtonDown(SDL_BUTTON_LEFT, 10, 10), ButtonUp(SDL_BUTTON_LEFT, 10, 10)}, first);
        const auto more = Posted(
            input,
            {ButtonDown(SDL_BUTTON_LEFT, c.SecondX, 10), ButtonUp(SDL_BUTTON_LEFT, c.SecondX, 10)},
            second);
        messages.insert(messages.end(), more.begin(), more.end());
        ASSERT_EQ(messages.size(), 4u);
        EXPECT_EQ(messages[0].Message, WM_LBUTTONDOWN);
        EXPECT_EQ(messages[1].Message, WM_LBUTTONUP);
        EXPECT_EQ(messages[2].Message, c.SecondMessage);
        EXPECT_EQ(messages[2].WParam, MK_LBUTTON);
        EXPECT_EQ(messages[3].Message, WM_LBUTTONUP);
    }

    // A third click after a double-click starts a new pair; another button breaks one.
    TSdlInput input;
    const auto messages =
        Posted(input, {ButtonDown(SDL_BUTTON_RIGHT, 5, 5), ButtonDown(SDL_BUTTON_RIGHT, 5, 5),
                       ButtonDown(SDL_BUTTON_RIGHT, 5, 5), ButtonDown(SDL_BUTTON_LEFT, 5, 5),
                       ButtonDown(SDL_BUTTON_RIGHT, 5, 5)});
    std::vector<UINT> codes;
    for (const TExpected& m : messages)
        codes.push_back(m.Message);
    EXPECT_EQ(codes, (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_RBUTTONDOWN,
                                        WM_LBUTTONDOWN, WM_RBUTTONDOWN}));
}

TEST(SdlInput, TheWheelGives120PerNotchWithTheCursorInScreenCoordinates) {
    TSdlInput input;
    Posted(input, {Motion(30, 40), KeyDown(SDL_SCANCODE_LCTRL)});
    const auto messages = Posted(
        input, {Wheel(1), Wheel(-2), Wheel(1, true), Wheel(0.25f), Wheel(0.004f), Wheel(0.005f)});
    ASSERT_EQ(messages.size(), 5u);
    const int expected[] = {120, -240, -120, 30, 1};
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].Message, WM_MOUSEWHEEL);
        EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(messages[i].WParam), expected[i]);
        EXPECT_EQ(GET_KEYSTATE_WPARAM(messages[i].WParam), MK_CONTROL);
        EXPECT_EQ(PointFromLParam(LParamFromBits(messages[i].LParam)), (POINT{1030, 540}));
    }
}
