// Device surfaces of the graphics: the texture format in force, textures built from
// ARGB pixels, the start-up render test, and the two registries of objects whose
// surfaces are released and re-created around display changes and restored after loss.
#pragma once

#include "engine/core/ObjectList.h"
#include "platform/display/DirectDrawSurface.h"

#include <cstdint>

namespace Gfx {

class TSprite;

// Something besides sprites that keeps surfaces on the device (fonts' glyph surfaces).
class TRegisteredSurfaces {
public:
    virtual ~TRegisteredSurfaces() = default;
    virtual void ReleaseRegisteredSurfaces() = 0;  // before a display change
    virtual void RecreateRegisteredSurfaces() = 0; // after it
    virtual void RestoreRegisteredSurfaces() = 0;  // after surfaces were lost
};

// Neither owns its objects: each adds and removes itself.
extern Data::TObjectList<TSprite> SpriteRegistry;
extern Data::TObjectList<TRegisteredSurfaces> FontRegistry;

// Sub-pixel correction of textured draws, fixed by CalibrateRenderer.
extern float TexelOffset;

using TTextureFormatChooser = void (*)(Win32::DDPIXELFORMAT& format);
// The texture format rule in force; callers may switch it for particular sprites.
extern TTextureFormatChooser TextureFormatChooser;
// The first of DXT5, DXT3, 32-bit with alpha, 16-bit with 4 alpha bits among the
// current device's texture formats; none raises "No valid textures enumerated.".
void ChooseTextureFormat(Win32::DDPIXELFORMAT& format);
// The same without the compressed formats.
void ChooseTextureFormatNoDXT(Win32::DDPIXELFORMAT& format);

// Makes key the surface's source colour key and fills the whole surface with it, so that
// only what is drawn onto it afterwards shows when it is blitted.
void FillWithColourKey(Win32::IDirectDrawSurface7* surface, uint32_t key);

// Fills the texture from width x height ARGB pixels (u32 each, row after row); the
// rest of the texture becomes 0.
void BuildArgbTexture(Win32::IDirectDrawSurface7* texture, const void* pixels, int width,
                      int height);

// Reads the display's 16-bit layout into IsDisplayRGB565 and finds TexelOffset by
// drawing one textured quad into the back buffer.
void CalibrateRenderer();

void InitGraphicsRegistries();
void FreeGraphicsRegistries();
void DoneGraphics();

void ReleaseAllSurfaces();
void RecreateAllSurfaces();
void RestoreAllSurfaces();

} // namespace Gfx
