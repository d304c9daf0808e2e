// The glyph surface: the 256 cells side by side, drawn once in the prepared colour so
// that text in that colour is blitted; and the conversion of loaded fonts for the display.
#include "engine/app/D3DFramework.h"
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxSurfaces.h"

namespace Gfx {

using D3DFrame::D3DFramework;
using namespace Win32;

void TFont::ConvertForDisplay() {
    if (D3DFramework)
        ConvertToDisplayFormat(D3DFramework->CurrentMode().ddpfPixelFormat.dwRGBBitCount,
                               IsDisplayRGB565);
}

void TFont::PrepareSurface(uint32_t textColour, uint32_t backgroundColour) {
    if (!D3DFramework || FBuilt)
        return;
    FSurfaceTextColour = textColour;
    FSurfaceBackgroundColour = backgroundColour;
    BuildSurface();
    FontRegistry.Add(this);
}

void TFont::ReleaseSurface() {
    if (!FBuilt)
        return;
    FreeSurface();
    FontRegistry.Remove(this);
}

void TFont::RecreateSurface() {
    if (!FBuilt)
        return;
    FGlyphSurface.Reset();
    if (D3DFramework)
        BuildSurface();
}

void TFont::RestoreSurface() {
    RecreateSurface();
}

void TFont::ReleaseRegisteredSurfaces() {
    // Until it is rebuilt, text in the prepared colour is drawn in software.
    FGlyphSurface.Reset();
}

void TFont::RecreateRegisteredSurfaces() {
    RecreateSurface();
}

void TFont::RestoreRegisteredSurfaces() {
    RestoreSurface();
}

void TFont::BuildSurface() {
    FGlyphSurface.Reset();
    // A font without cells has nothing to blit; its text is drawn (as nothing) in software.
    if (FCellWidth > 0 && FCellHeight > 0) {
        TRefPtr<IDirectDrawSurface7> surface =
            D3DFramework->CreateOffscreenSurface(FCellWidth * GlyphCount, FCellHeight, 0);
        const uint32_t background = FBitsPerPixel == 16 && !IsDisplayRGB565
                                        ? ConvertPixel565To555(uint16_t(FSurfaceBackgroundColour))
                                        : FSurfaceBackgroundColour;
        FillWithColourKey(surface.Get(), background);
        for (int g = 0; g < GlyphCount; ++g)
            DrawGlyph(surface.Get(), g * FCellWidth, 0, nullptr, FSurfaceTextColour, uint8_t(g));
        FGlyphSurface = std::move(surface);
    }
    FBuilt = true;
}

void TFont::FreeSurface() {
    FGlyphSurface.Reset();
    FBuilt = false;
}

} // namespace Gfx
