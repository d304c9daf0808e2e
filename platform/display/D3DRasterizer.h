// The software rasteriser behind IDirect3DDevice7::DrawPrimitive: triangle fans of
// pre-transformed vertices, textured from one stage with point or bilinear filtering
// (wrapping addressing), modulated by the diffuse colour, alpha blended into a 16- or
// 32-bit target. Pixel centres lie on integer coordinates and edges follow the top-left
// rule, as on Direct3D 7 hardware, so adjacent quads share no pixel.
#pragma once

#include "platform/display/D3DTypes.h"
#include "platform/display/PixelLayout.h"
#include "platform/display/SurfaceBlit.h"
#include "platform/display/TexelRuns.h"

#include <cstdint>

namespace Win32 {

enum class TBlendFactor : uint8_t { Zero, One, SrcAlpha, InvSrcAlpha };

struct TRasterTarget {
    TPixelView Pixels;
    TPixelLayout Layout = TPixelLayout::Unsupported;
    RECT Clip; // the viewport within the target
};

struct TRasterTexture {
    TPixelView Pixels;
    TPixelLayout Layout = TPixelLayout::Unsupported;
    const TTexelRuns* Runs = nullptr; // optional: spans of one texel skip sampling
};

struct TRasterStates {
    bool AlphaBlend = false;
    TBlendFactor Source = TBlendFactor::One;
    TBlendFactor Dest = TBlendFactor::Zero;
    bool LinearMagnify = false;
    bool LinearMinify = false;
    uint32_t CullMode = D3DCULL_CCW;
};

bool CanRenderTo(TPixelLayout layout);

// The last stage on its own, for callers that compose sampled sources themselves: a span
// of sources, and a span under one source value, blended into the layout's pixels as the
// device blends them. Empty for layouts the device cannot render to.
struct TSpanWriter {
    void (*Span)(uint8_t* target, const uint32_t* sources, int count) = nullptr;
    void (*Constant)(uint8_t* target, uint32_t source, int count) = nullptr;
};
TSpanWriter ChooseSpanWriter(TPixelLayout layout, const TRasterStates& states);

// Draws triangles (v0, v[i], v[i + 1]); texture null draws the diffuse colour. Texture
// coordinates are interpolated linearly in screen space (reciprocal w is taken as equal
// at every vertex, as it is for flat pre-transformed geometry). Returns the pixels written.
uint64_t DrawTriangleFan(const TRasterTarget& target, const TRasterTexture* texture,
                         const TRasterStates& states, const D3DTLVERTEX* vertices, uint32_t count);

} // namespace Win32
