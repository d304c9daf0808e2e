// Two drawing routines the unit panels of several screens share: a unit's face in its
// frame with name, effects and overlays, and a vertical value bar (hit points, action
// points, mana, experience).
#pragma once

#include "platform/WinTypes.h"
#include "platform/classlib/AnsiString.h"

#include <cstdint>

namespace Gfx {
class TFont;
class TSprite;
} // namespace Gfx
namespace GameData {
class TUnit;
}
namespace Win32 {
struct IDirectDrawSurface7;
}

namespace Main {

// Slots of the global data's interface sprite table the routines draw.
constexpr int gsUnavailableOverlay = 1087; // over a face that cannot be chosen
constexpr int gsValueBarFrame = 1103;      // behind every value bar
constexpr int gsDefaultFaceOverlay = 1086; // the plain face frame

// DrawUnitFace's flags.
constexpr uint32_t ufPortrait = 0x1;  // draw the unit's portrait (and the caption)
constexpr uint32_t ufAvailable = 0x2; // no "unavailable" overlay
constexpr uint32_t ufOverlay = 0x4;   // the given overlay in place of the default one

void DrawUnitFace(Gfx::TSprite* frame, Gfx::TSprite* overlay, const GameData::TUnit* unit,
                  Gfx::TFont* font, const ClassLib::AnsiString& caption, uint32_t flags,
                  const Win32::RECT& rect, Win32::IDirectDrawSurface7* target);

constexpr int32_t ValueBarLength = 46;

// The filled part of a value bar in pixels, 0..46: the share of the span from minimum
// to maximum, or of maximum alone when minimum is negative; 0 when there is no span.
int32_t ValueBarFill(int32_t minimum, int32_t value, int32_t maximum);
// A bar's number as printed: thousands as "%dK" when the maximum is 1000 or more.
ClassLib::AnsiString ValueBarNumber(int32_t number, int32_t maximum);

// The frame, then the bar sprite (animated by the application's clock) filled from the
// bottom, its top at y.
void DrawValueBar(Win32::IDirectDrawSurface7* target, Gfx::TSprite* bar, int32_t x, int32_t minimum,
                  int32_t value, int32_t maximum, int32_t y);

} // namespace Main
