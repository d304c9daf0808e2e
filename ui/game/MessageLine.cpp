// The message line at the top of the adventure screen: the last few texts, oldest
// first, scrolling up one pixel at a time once the newest has been read.
#include "engine/app/DXApplication.h"
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/SpriteDrawing.h"
#include "ui/game/Game.h"
#include "ui/widgets/WidgetArt.h"

namespace Main {

namespace {

constexpr int32_t MessageWidth = 620;
constexpr int32_t MessageTextX = 10;
// Ticks a new text stays before the lines start scrolling, and ticks per pixel.
constexpr uint32_t MessageReadTicks = 100;
constexpr uint32_t ScrollEveryTicks = 5;
// Without the global data's font (a headless game) the lines are this high.
constexpr int32_t FallbackLineHeight = 16;
// Light, as the tooltip's text on the same backdrop: the map under it is mostly dark.
constexpr uint32_t MessageColour = 0xFFFF;

uint32_t ApplicationTicks() {
    return DXApp::Application ? DXApp::Application->TickCount : 0;
}

Gfx::TFont* MessageFont() {
    return InterfaceFont(0);
}

int32_t LineHeight() {
    const Gfx::TFont* font = MessageFont();
    return font && font->CellHeight() > 0 ? font->CellHeight() : FallbackLineHeight;
}

} // namespace

void TGame::ShowMessage(const ClassLib::AnsiString& text) {
    // The new text always lands on the last line: blank lines fill the list up to it.
    while (int32_t(FMessages.size()) < MessageLines - 1)
        FMessages.emplace_back();
    if (MessageScroll != 0 && int32_t(FMessages.size()) < MessageLines)
        FMessages.emplace_back();
    FMessages.push_back(text);
    MessageScroll = 0;
    while (int32_t(FMessages.size()) > MessageLines)
        FMessages.pop_front();
    LastMessageTick = ApplicationTicks();
}

void TGame::ScrollMessages() {
    const uint32_t now = ApplicationTicks();
    if (FMessages.empty() || now % ScrollEveryTicks != 0 ||
        now - LastMessageTick <= MessageReadTicks)
        return;
    if (++MessageScroll >= LineHeight()) {
        FMessages.pop_front();
        MessageScroll = 0;
    }
}

void TGame::Draw(Win32::IDirectDrawSurface7* target) {
    if (!Active || !MessageLineVisible || FMessages.empty() || !target)
        return;
    const int32_t height = LineHeight();
    // The main data names no backdrop of its own for the message line: the tooltip's
    // parchment serves.
    if (Gfx::TSprite* backdrop = TooltipBackground()) {
        const Win32::RECT area{0, 0, MessageWidth, height * MessageLines};
        Gfx::DrawSpriteStretched(backdrop, target, 0, area, nullptr, true);
    }
    const Gfx::TFont* font = MessageFont();
    if (!font)
        return;
    for (size_t i = 0; i < FMessages.size(); ++i)
        font->DrawString(target, MessageTextX, height * int32_t(i) - MessageScroll, nullptr,
                         MessageColour, FMessages[i]);
}

} // namespace Main
