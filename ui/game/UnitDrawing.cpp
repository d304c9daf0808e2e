#include "ui/game/UnitDrawing.h"

#include "engine/app/DXApplication.h"
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/Sprite.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/data/GlobalData.h"
#include "game/world/units/Unit.h"
#include "ui/widgets/WidgetArt.h"

#include <algorithm>

namespace Main {

using ClassLib::AnsiString;

namespace {

constexpr int HeroFont = 4;
constexpr int NameFont = 2;
constexpr int CaptionX = 5;
constexpr int CaptionY = 60;
constexpr int NameTop = 5;
constexpr int NameBottom = 35;
constexpr int32_t BarFrameMilliseconds = 100;

void Draw(Gfx::TSprite* sprite, Win32::IDirectDrawSurface7* target, int frame, int x, int y,
          const Win32::RECT* clip = nullptr) {
    if (sprite && frame >= 0 && frame < sprite->DrawableFrameCount())
        Gfx::DrawSprite(sprite, target, frame, x, y, clip);
}

} // namespace

void DrawUnitFace(Gfx::TSprite* frame, Gfx::TSprite* overlay, const GameData::TUnit* unit,
                  Gfx::TFont* font, const AnsiString& caption, uint32_t flags,
                  const Win32::RECT& rect, Win32::IDirectDrawSurface7* target) {
    if (frame)
        Draw(frame, target, 0, rect.left - frame->HotSpotX, rect.top - frame->HotSpotY);
    if (unit) {
        if (flags & ufPortrait)
            Draw(unit->Portrait(), target, 0, rect.left, rect.top);
        unit->DrawEffectIcons(target, rect.left, rect, rect.top);
        if (!(flags & ufAvailable))
            Draw(CommonSprite(gsUnavailableOverlay), target, 0, rect.left, rect.top);
        if ((flags & ufPortrait) && !caption.empty() && font)
            font->DrawString(target, rect.left + CaptionX, rect.top + CaptionY, nullptr, 0,
                             caption);
        if (Gfx::TFont* nameFont = InterfaceFont(unit->IsHero ? HeroFont : NameFont))
            nameFont->DrawWrappedText(
                target, {rect.left, rect.bottom + NameTop, rect.right, rect.bottom + NameBottom},
                nullptr, 0, ClassLib::UpperCase(unit->DisplayName()));
    }
    Gfx::TSprite* const cover =
        (flags & ufOverlay) && overlay ? overlay : CommonSprite(gsDefaultFaceOverlay);
    Draw(cover, target, 0, rect.left, rect.top);
}

int32_t ValueBarFill(int32_t minimum, int32_t value, int32_t maximum) {
    int64_t fill = 0;
    if (minimum >= 0 && int64_t(maximum) - minimum > 0)
        fill = (int64_t(value) - minimum) * ValueBarLength / (int64_t(maximum) - minimum);
    else if (minimum < 0 && maximum > 0)
        fill = int64_t(value) * ValueBarLength / maximum;
    return int32_t(std::clamp<int64_t>(fill, 0, ValueBarLength));
}

AnsiString ValueBarNumber(int32_t number, int32_t maximum) {
    if (maximum >= 1000)
        return ClassLib::Format("%dK", number / 1000);
    return ClassLib::IntToStr(number);
}

void DrawValueBar(Win32::IDirectDrawSurface7* target, Gfx::TSprite* bar, int32_t x, int32_t minimum,
                  int32_t value, int32_t maximum, int32_t y) {
    Draw(CommonSprite(gsValueBarFrame), target, 0, x, y);
    if (!bar || bar->DrawableFrameCount() == 0)
        return;
    const int32_t fill = ValueBarFill(minimum, value, maximum);
    if (fill == 0)
        return;
    const uint32_t clock = DXApp::Application ? uint32_t(DXApp::Application->GameTime) : 0;
    const int frame = int(clock / BarFrameMilliseconds % uint32_t(bar->DrawableFrameCount()));
    const Win32::RECT filled{x, y + ValueBarLength - fill, x + bar->Width, y + ValueBarLength};
    Draw(bar, target, frame, x, y, &filled);
}

} // namespace Main
