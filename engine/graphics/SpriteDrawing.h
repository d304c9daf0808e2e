// Every picture reaches the screen through these: a blit from the frame's surface for
// sprites with surfaces, a textured quad for blended sprites with surfaces, software
// drawing into locked memory for sprites without surfaces. (x, y) is the frame's
// top-left corner; callers subtract the hot spot, except for DrawSpriteTransformed.
#pragma once

#include "engine/graphics/Sprite.h"
#include "platform/classlib/Bitmap.h"
#include "platform/display/D3DRasterizer.h"

#include <vector>

namespace Gfx {

void DrawSprite(TSprite* sprite, IDirectDrawSurface7* target, int frame, int x, int y,
                const RECT* clip);
// Mirrored left to right; only sprites with surfaces. A clipped draw leaves every
// visible column where the unclipped one puts it.
void DrawSpriteMirrored(TSprite* sprite, IDirectDrawSurface7* target, int frame, int x, int y,
                        const RECT* clip);
// A blended sprite stretched from (x1, y1) to (x2, y2) on the device's render target;
// mode 0-3 turns it by 0, 90, 180 or 270 degrees (modes 1 and 3 run its height along
// the beam).
void DrawSpriteBeam(TSprite* sprite, int frame, int x1, int y1, int x2, int y2, int mode);
// Scaled and turned by angle (radians). Blended sprites turn about their hot spot,
// which lands on (x, y); others are blitted turned about their centre at (x, y).
void DrawSpriteTransformed(TSprite* sprite, IDirectDrawSurface7* target, int frame, int x, int y,
                           float angle, float scaleX, float scaleY);
// The whole frame stretched onto destination, only when it lies wholly inside the
// target and the clip.
void DrawSpriteStretched(TSprite* sprite, IDirectDrawSurface7* target, int frame,
                         const RECT& destination, const RECT* clip, bool useColorKey);
// What the device samples for each pixel of a blended frame drawn at a whole-pixel place
// (the same at every such place) with only part of it visible (relative to the frame's
// top-left corner), and the blend it applies there, found by drawing the frame
// unblended onto surfaces of its own. False without a device or a texture.
struct TDeviceFrameSamples {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Sources; // row by row; meaningful where covered
    std::vector<uint8_t> Covered;
    Win32::TRasterStates States;
};
bool SampleDeviceFrame(TSprite& sprite, int frame, const RECT& part, TDeviceFrameSamples& samples);
// Software drawing into locked memory (address, pitch, size and bits per pixel from
// the description), composing the sub-mode's under-layer and the shadow.
void DrawSpriteToLocked(TSprite* sprite, const DDSURFACEDESC2& locked, int frame, int x, int y,
                        const RECT* clip);
// Software drawing into the bitmap's scan lines as into locked memory. A sprite with
// surfaces may hold no pixels: its visible rectangle is painted black instead.
void DrawSpriteToBitmap(TSprite* sprite, ClassLib::TBitmap* bitmap, int frame, int x, int y,
                        const RECT* clip);
// The part of rect inside the bitmap and the clip, one pixel per pixel whatever the
// bitmap's format; a 32-bit bitmap gets the colour widened from the display's 16 bits.
void FillBitmapRect(ClassLib::TBitmap* bitmap, const RECT& rect, uint16_t color, const RECT* clip);

} // namespace Gfx
