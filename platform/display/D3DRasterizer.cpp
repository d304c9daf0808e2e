// Each triangle is walked row by row: the exact span of covered pixel centres comes from
// the edge equations in 24.8 fixed point, texture coordinates step across the span in
// 32.32 fixed point, and the span goes through three stages (sample, modulate, blend)
// each specialised for its formats, so the inner loops stay short and branch-free.
#include "platform/display/D3DRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Win32 {

namespace {

constexpr int SubPixelBits = 8;
constexpr int64_t SubPixel = 1 << SubPixelBits;
constexpr double FixedOne = 4294967296.0; // 32.32 texture coordinates
constexpr float MaxCoordinate = 1 << 20;

int64_t FloorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
int64_t CeilDiv(int64_t a, int64_t b) {
    return -FloorDiv(-a, b);
}
// std::llround for the magnitudes the rasteriser meets (below 2^52), without the call:
// the truncated part is exact, so is the fraction left over.
inline int64_t RoundHalfAway(double x) {
    auto whole = static_cast<int64_t>(x);
    const double fraction = x - double(whole);
    if (fraction >= 0.5)
        ++whole;
    else if (fraction <= -0.5)
        --whole;
    return whole;
}
int32_t Wrap(int64_t i, int32_t n) {
    const auto r = static_cast<int32_t>(i % n);
    return r < 0 ? r + n : r;
}

// x * f / 255 rounded, for x and f in 0..255.
inline uint32_t Mul255(uint32_t x, uint32_t f) {
    const uint32_t t = x * f + 128;
    return (t + (t >> 8)) >> 8;
}

// ---- texel fetch -------------------------------------------------------------------------

template <TPixelLayout L>
inline uint32_t Texel(const uint8_t* p) {
    if constexpr (L == TPixelLayout::ARGB8888)
        return Load32(p);
    else if constexpr (L == TPixelLayout::XRGB8888)
        return 0xFF000000u | Load32(p);
    else if constexpr (L == TPixelLayout::ARGB4444)
        return Argb4444ToArgb(Load16(p));
    else if constexpr (L == TPixelLayout::RGB565)
        return Rgb565ToArgb(Load16(p));
    else if constexpr (L == TPixelLayout::RGB555)
        return Rgb555ToArgb(Load16(p));
    else if constexpr (L == TPixelLayout::ARGB1555)
        return Argb1555ToArgb(Load16(p));
    else
        return 0xFF000000u | Load24(p);
}

template <TPixelLayout L>
constexpr int TexelBytes = L == TPixelLayout::ARGB8888 || L == TPixelLayout::XRGB8888 ? 4
                           : L == TPixelLayout::RGB888                                ? 3
                                                                                      : 2;

struct TSpanCoordinates {
    int64_t U, V, DU, DV; // texel units, 32.32
};

template <TPixelLayout L>
void SamplePoint(const TPixelView& t, TSpanCoordinates c, int count, uint32_t* out) {
    constexpr int Bytes = TexelBytes<L>;
    const int64_t lastU = c.U + c.DU * (count - 1);
    const int64_t lastV = c.V + c.DV * (count - 1);
    const bool inside = std::min(c.U, lastU) >= 0 && (std::max(c.U, lastU) >> 32) < t.Width &&
                        std::min(c.V, lastV) >= 0 && (std::max(c.V, lastV) >> 32) < t.Height;
    if (inside && c.DV == 0) {
        const uint8_t* row = t.Bits + (c.V >> 32) * t.Pitch;
        for (int i = 0; i < count; ++i, c.U += c.DU)
            out[i] = Texel<L>(row + (c.U >> 32) * Bytes);
    } else if (inside) {
        for (int i = 0; i < count; ++i, c.U += c.DU, c.V += c.DV)
            out[i] = Texel<L>(t.Bits + (c.V >> 32) * t.Pitch + (c.U >> 32) * Bytes);
    } else {
        for (int i = 0; i < count; ++i, c.U += c.DU, c.V += c.DV)
            out[i] = Texel<L>(t.At(Wrap(c.U >> 32, t.Width), Wrap(c.V >> 32, t.Height)));
    }
}

// Blends two colours channel by channel; f is b's weight out of 256.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t f) {
    const uint32_t g = 256 - f;
    const uint32_t rb = ((a & 0x00FF00FF) * g + (b & 0x00FF00FF) * f) >> 8 & 0x00FF00FF;
    const uint32_t ag = ((a >> 8 & 0x00FF00FF) * g + (b >> 8 & 0x00FF00FF) * f) & 0xFF00FF00;
    return rb | ag;
}

template <TPixelLayout L>
void SampleLinear(const TPixelView& t, TSpanCoordinates c, int count, uint32_t* out) {
    for (int i = 0; i < count; ++i, c.U += c.DU, c.V += c.DV) {
        const int64_t x = c.U >> 32, y = c.V >> 32;
        const auto fx = static_cast<uint32_t>(c.U >> 24) & 0xFF;
        const auto fy = static_cast<uint32_t>(c.V >> 24) & 0xFF;
        const int32_t x0 = Wrap(x, t.Width), x1 = Wrap(x + 1, t.Width);
        const uint8_t* row0 = t.Bits + Wrap(y, t.Height) * t.Pitch;
        const uint8_t* row1 = t.Bits + Wrap(y + 1, t.Height) * t.Pitch;
        constexpr int Bytes = TexelBytes<L>;
        const uint32_t top = Lerp(Texel<L>(row0 + x0 * Bytes), Texel<L>(row0 + x1 * Bytes), fx);
        const uint32_t bottom = Lerp(Texel<L>(row1 + x0 * Bytes), Texel<L>(row1 + x1 * Bytes), fx);
        out[i] = Lerp(top, bottom, fy);
    }
}

using TSampler = void (*)(const TPixelView&, TSpanCoordinates, int, uint32_t*);

template <TPixelLayout L>
TSampler Sampler(bool linear) {
    return linear ? SampleLinear<L> : SamplePoint<L>;
}

TSampler ChooseSampler(TPixelLayout layout, bool linear) {
    switch (layout) {
    case TPixelLayout::ARGB8888:
        return Sampler<TPixelLayout::ARGB8888>(linear);
    case TPixelLayout::XRGB8888:
        return Sampler<TPixelLayout::XRGB8888>(linear);
    case TPixelLayout::ARGB4444:
        return Sampler<TPixelLayout::ARGB4444>(linear);
    case TPixelLayout::RGB565:
        return Sampler<TPixelLayout::RGB565>(linear);
    case TPixelLayout::RGB555:
        return Sampler<TPixelLayout::RGB555>(linear);
    case TPixelLayout::ARGB1555:
        return Sampler<TPixelLayout::ARGB1555>(linear);
    case TPixelLayout::RGB888:
        return Sampler<TPixelLayout::RGB888>(linear);
    case TPixelLayout::Unsupported:
        break;
    }
    return nullptr;
}

// ---- blending into the target --------------------------------------------------------------

template <TPixelLayout L>
inline uint32_t TargetToArgb(const uint8_t* p) {
    if constexpr (L == TPixelLayout::RGB565)
        return Rgb565ToArgb(Load16(p));
    else if constexpr (L == TPixelLayout::RGB555)
        return Rgb555ToArgb(Load16(p));
    else
        return Load32(p);
}

template <TPixelLayout L>
inline void StoreArgb(uint8_t* p, uint32_t c) {
    if constexpr (L == TPixelLayout::RGB565)
        Store16(p, ArgbToRgb565(c));
    else if constexpr (L == TPixelLayout::RGB555)
        Store16(p, ArgbToRgb555(c));
    else
        Store32(p, c);
}

template <TBlendFactor F>
inline uint32_t Scale(uint32_t channel, uint32_t alpha) {
    if constexpr (F == TBlendFactor::Zero)
        return 0;
    else if constexpr (F == TBlendFactor::One)
        return channel;
    else if constexpr (F == TBlendFactor::SrcAlpha)
        return Mul255(channel, alpha);
    else
        return Mul255(channel, 255 - alpha);
}

template <TPixelLayout L, TBlendFactor S, TBlendFactor D>
inline void BlendPixel(uint8_t* target, uint32_t s) {
    const uint32_t a = s >> 24;
    const uint32_t d = TargetToArgb<L>(target);
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t channel = Scale<S>(s >> shift & 0xFF, a) + Scale<D>(d >> shift & 0xFF, a);
        result |= std::min(channel, 255u) << shift;
    }
    StoreArgb<L>(target, result);
}

// Premultiplied (one) and alpha-weighted (source alpha) colours over the inverse source
// alpha: the blends of blended sprites, the most of what the device draws.
template <TBlendFactor S, TBlendFactor D>
constexpr bool OverBlend =
    (S == TBlendFactor::One || S == TBlendFactor::SrcAlpha) && D == TBlendFactor::InvSrcAlpha;

#if defined(__SSE2__)
// Eight RGB565 target pixels under eight sources given channel by channel in 16-bit lanes,
// the same arithmetic as BlendPixel: every intermediate stays below 2^16.
template <TBlendFactor S>
inline __m128i Blend565(__m128i d, __m128i a, __m128i r, __m128i g, __m128i b) {
    const __m128i round = _mm_set1_epi16(128);
    const __m128i full = _mm_set1_epi16(255);
    const auto mul255 = [&](__m128i x, __m128i f) {
        const __m128i t = _mm_add_epi16(_mm_mullo_epi16(x, f), round);
        return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
    };
    const __m128i inverse = _mm_sub_epi16(full, a);
    const __m128i r5 = _mm_srli_epi16(d, 11);
    const __m128i g6 = _mm_and_si128(_mm_srli_epi16(d, 5), _mm_set1_epi16(63));
    const __m128i b5 = _mm_and_si128(d, _mm_set1_epi16(31));
    const __m128i dr = _mm_or_si128(_mm_slli_epi16(r5, 3), _mm_srli_epi16(r5, 2));
    const __m128i dg = _mm_or_si128(_mm_slli_epi16(g6, 2), _mm_srli_epi16(g6, 4));
    const __m128i db = _mm_or_si128(_mm_slli_epi16(b5, 3), _mm_srli_epi16(b5, 2));
    if constexpr (S == TBlendFactor::SrcAlpha) {
        r = mul255(r, a);
        g = mul255(g, a);
        b = mul255(b, a);
    }
    const __m128i outR = _mm_min_epi16(_mm_add_epi16(r, mul255(dr, inverse)), full);
    const __m128i outG = _mm_min_epi16(_mm_add_epi16(g, mul255(dg, inverse)), full);
    const __m128i outB = _mm_min_epi16(_mm_add_epi16(b, mul255(db, inverse)), full);
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(_mm_srli_epi16(outR, 3), 11),
                                     _mm_slli_epi16(_mm_srli_epi16(outG, 2), 5)),
                        _mm_srli_epi16(outB, 3));
}

// Channel shift of eight ARGB sources in two registers, in 16-bit lanes.
inline __m128i Channel(__m128i low, __m128i high, int shift) {
    const __m128i mask = _mm_set1_epi32(0xFF);
    const __m128i count = _mm_cvtsi32_si128(shift);
    return _mm_packs_epi32(_mm_and_si128(_mm_srl_epi32(low, count), mask),
                           _mm_and_si128(_mm_srl_epi32(high, count), mask));
}
#endif

template <TPixelLayout L, TBlendFactor S, TBlendFactor D>
void BlendSpan(uint8_t* target, const uint32_t* source, int count) {
    constexpr int Bytes = L == TPixelLayout::RGB565 || L == TPixelLayout::RGB555 ? 2 : 4;
#if defined(__SSE2__)
    if constexpr (L == TPixelLayout::RGB565 && OverBlend<S, D>)
        if (count >= 8) {
            const auto blend8 = [&](int i, __m128i pixels) {
                const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
                const __m128i high =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i + 4));
                return Blend565<S>(pixels, Channel(low, high, 24), Channel(low, high, 16),
                                   Channel(low, high, 8), Channel(low, high, 0));
            };
            // The last eight from the pixels as they were, over any the loop blended.
            const int last = count - 8;
            __m128i* lastPixels = reinterpret_cast<__m128i*>(target + last * 2);
            const __m128i lastBefore = _mm_loadu_si128(lastPixels);
            for (int i = 0; i < last; i += 8) {
                __m128i* pixels = reinterpret_cast<__m128i*>(target + i * 2);
                _mm_storeu_si128(pixels, blend8(i, _mm_loadu_si128(pixels)));
            }
            _mm_storeu_si128(lastPixels, blend8(last, lastBefore));
            return;
        }
#endif
    for (int i = 0; i < count; ++i, target += Bytes)
        BlendPixel<L, S, D>(target, source[i]);
}

// count pixels under one source value.
template <TPixelLayout L, TBlendFactor S, TBlendFactor D>
void BlendConstant(uint8_t* target, uint32_t s, int count) {
    constexpr int Bytes = L == TPixelLayout::RGB565 || L == TPixelLayout::RGB555 ? 2 : 4;
    if constexpr (OverBlend<S, D>) {
        const uint32_t a = s >> 24;
        // A clear source gives every target pixel back, except the unused top bit of
        // RGB555, which the blend clears.
        if (L != TPixelLayout::RGB555 && (S == TBlendFactor::SrcAlpha ? a == 0 : s == 0))
            return;
        // An opaque one replaces them all.
        if (a == 255) {
            uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8)
                result |= std::min(Scale<S>(s >> shift & 0xFF, a), 255u) << shift;
            for (int i = 0; i < count; ++i, target += Bytes)
                StoreArgb<L>(target, result);
            return;
        }
    }
#if defined(__SSE2__)
    if constexpr (L == TPixelLayout::RGB565 && OverBlend<S, D>)
        if (count >= 8) {
            const __m128i a = _mm_set1_epi16(int16_t(s >> 24));
            const __m128i r = _mm_set1_epi16(int16_t(s >> 16 & 0xFF));
            const __m128i g = _mm_set1_epi16(int16_t(s >> 8 & 0xFF));
            const __m128i b = _mm_set1_epi16(int16_t(s & 0xFF));
            // The last eight from the pixels as they were, over any the loop blended.
            const int last = count - 8;
            __m128i* lastPixels = reinterpret_cast<__m128i*>(target + last * 2);
            const __m128i lastBefore = _mm_loadu_si128(lastPixels);
            for (int i = 0; i < last; i += 8) {
                __m128i* pixels = reinterpret_cast<__m128i*>(target + i * 2);
                _mm_storeu_si128(pixels, Blend565<S>(_mm_loadu_si128(pixels), a, r, g, b));
            }
            _mm_storeu_si128(lastPixels, Blend565<S>(lastBefore, a, r, g, b));
            return;
        }
#endif
    for (int i = 0; i < count; ++i, target += Bytes)
        BlendPixel<L, S, D>(target, s);
}

template <TPixelLayout L>
void StoreSpan(uint8_t* target, const uint32_t* source, int count) {
    constexpr int Bytes = L == TPixelLayout::RGB565 || L == TPixelLayout::RGB555 ? 2 : 4;
    for (int i = 0; i < count; ++i, target += Bytes)
        StoreArgb<L>(target, source[i]);
}

template <TPixelLayout L>
void StoreConstant(uint8_t* target, uint32_t s, int count) {
    constexpr int Bytes = L == TPixelLayout::RGB565 || L == TPixelLayout::RGB555 ? 2 : 4;
    for (int i = 0; i < count; ++i, target += Bytes)
        StoreArgb<L>(target, s);
}

template <TPixelLayout L, TBlendFactor S, TBlendFactor D>
TSpanWriter BlendWriter() {
    return {BlendSpan<L, S, D>, BlendConstant<L, S, D>};
}

template <TPixelLayout L, TBlendFactor S>
TSpanWriter Writer(TBlendFactor dest) {
    switch (dest) {
    case TBlendFactor::Zero:
        return BlendWriter<L, S, TBlendFactor::Zero>();
    case TBlendFactor::One:
        return BlendWriter<L, S, TBlendFactor::One>();
    case TBlendFactor::SrcAlpha:
        return BlendWriter<L, S, TBlendFactor::SrcAlpha>();
    case TBlendFactor::InvSrcAlpha:
        break;
    }
    return BlendWriter<L, S, TBlendFactor::InvSrcAlpha>();
}

template <TPixelLayout L>
TSpanWriter Writer(const TRasterStates& states) {
    if (!states.AlphaBlend)
        return {StoreSpan<L>, StoreConstant<L>};
    switch (states.Source) {
    case TBlendFactor::Zero:
        return Writer<L, TBlendFactor::Zero>(states.Dest);
    case TBlendFactor::One:
        return Writer<L, TBlendFactor::One>(states.Dest);
    case TBlendFactor::SrcAlpha:
        return Writer<L, TBlendFactor::SrcAlpha>(states.Dest);
    case TBlendFactor::InvSrcAlpha:
        break;
    }
    return Writer<L, TBlendFactor::InvSrcAlpha>(states.Dest);
}

// ---- triangle setup ----------------------------------------------------------------------

// An attribute as a plane over the screen: value = A + DX (x - X0) + DY (y - Y0).
struct TPlane {
    double A = 0, DX = 0, DY = 0;
};

struct TTriangle {
    int64_t X[3], Y[3]; // 24.8 fixed point
    double FX[3], FY[3];
    double Area;

    TPlane PlaneOf(const double (&value)[3]) const {
        const double x1 = FX[1] - FX[0], y1 = FY[1] - FY[0];
        const double x2 = FX[2] - FX[0], y2 = FY[2] - FY[0];
        const double v1 = value[1] - value[0], v2 = value[2] - value[0];
        return {value[0], (v1 * y2 - v2 * y1) / Area, (v2 * x1 - v1 * x2) / Area};
    }
    double At(const TPlane& p, double x, double y) const {
        return p.A + p.DX * (x - FX[0]) + p.DY * (y - FY[0]);
    }
};

uint32_t ModulateColour(uint32_t texel, uint32_t diffuse) {
    return (texel & 0xFF000000u) | Mul255(texel >> 16 & 0xFF, diffuse >> 16 & 0xFF) << 16 |
           Mul255(texel >> 8 & 0xFF, diffuse >> 8 & 0xFF) << 8 |
           Mul255(texel & 0xFF, diffuse & 0xFF);
}

// Point sampling along one texture row that stays inside one run of equal texels.
bool IsOneTexel(const TRasterTexture& texture, const TSpanCoordinates& c, int count, bool linear) {
    if (linear || !texture.Runs || c.DV != 0 || c.DU < 0 || c.U < 0 || c.V < 0)
        return false;
    const int64_t first = c.U >> 32, last = (c.U + c.DU * (count - 1)) >> 32, row = c.V >> 32;
    return last < texture.Pixels.Width && row < texture.Pixels.Height &&
           texture.Runs->RunEnd(int32_t(first), int32_t(row)) > last;
}

struct TFanContext {
    const TRasterTarget& Target;
    const TRasterTexture* Texture;
    const TRasterStates& States;
    TSpanWriter Writer;
    std::vector<uint32_t>& Span;
    uint64_t Pixels = 0;
};

void DrawTriangle(TFanContext& fan, const D3DTLVERTEX* v0, const D3DTLVERTEX* v1,
                  const D3DTLVERTEX* v2) {
    const D3DTLVERTEX* v[3] = {v0, v1, v2};
    TTriangle tri;
    for (int i = 0; i < 3; ++i) {
        // Far beyond any target (or not a number): nothing sensible to draw.
        if (!(std::abs(v[i]->sx) < MaxCoordinate && std::abs(v[i]->sy) < MaxCoordinate))
            return;
        tri.X[i] = std::llround(double(v[i]->sx) * SubPixel);
        tri.Y[i] = std::llround(double(v[i]->sy) * SubPixel);
    }
    int64_t area = (tri.X[1] - tri.X[0]) * (tri.Y[2] - tri.Y[0]) -
                   (tri.X[2] - tri.X[0]) * (tri.Y[1] - tri.Y[0]);
    if (area == 0)
        return;
    // Positive area runs clockwise on screen (y grows downward).
    const uint32_t cull = fan.States.CullMode;
    if ((cull == D3DCULL_CCW && area < 0) || (cull == D3DCULL_CW && area > 0))
        return;
    if (area < 0) {
        std::swap(v[1], v[2]);
        std::swap(tri.X[1], tri.X[2]);
        std::swap(tri.Y[1], tri.Y[2]);
        area = -area;
    }
    for (int i = 0; i < 3; ++i) {
        tri.FX[i] = double(tri.X[i]) / SubPixel;
        tri.FY[i] = double(tri.Y[i]) / SubPixel;
    }
    tri.Area = double(area) / (SubPixel * SubPixel);

    const RECT& clip = fan.Target.Clip;
    const int64_t minY = std::min({tri.Y[0], tri.Y[1], tri.Y[2]});
    const int64_t maxY = std::max({tri.Y[0], tri.Y[1], tri.Y[2]});
    const int64_t firstRow = std::max<int64_t>(clip.top, CeilDiv(minY, SubPixel));
    const int64_t lastRow = std::min<int64_t>(clip.bottom - 1, FloorDiv(maxY, SubPixel));
    if (firstRow > lastRow)
        return;

    struct TEdge {
        int64_t X, Y, DX, DY, Bias;
    } edges[3];
    for (int i = 0; i < 3; ++i) {
        const int j = (i + 1) % 3;
        const int64_t dx = tri.X[j] - tri.X[i], dy = tri.Y[j] - tri.Y[i];
        // Pixel centres exactly on a top or left edge belong to this triangle.
        const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
        edges[i] = {tri.X[i], tri.Y[i], dx, dy, topLeft ? 0 : 1};
    }

    // Attributes.
    const TRasterTexture* texture = fan.Texture;
    TPlane u{}, vPlane{};
    TSampler sampler = nullptr;
    double offset = 0;
    bool linear = false;
    int64_t stepU = 0, stepV = 0;
    if (texture) {
        const double w = texture->Pixels.Width, h = texture->Pixels.Height;
        u = tri.PlaneOf({v[0]->tu * w, v[1]->tu * w, v[2]->tu * w});
        vPlane = tri.PlaneOf({v[0]->tv * h, v[1]->tv * h, v[2]->tv * h});
        // More than one texel per pixel along either screen axis: the texture is minified.
        const double stepX = std::hypot(u.DX, vPlane.DX), stepY = std::hypot(u.DY, vPlane.DY);
        linear = std::max(stepX, stepY) > 1.0 ? fan.States.LinearMinify : fan.States.LinearMagnify;
        sampler = ChooseSampler(texture->Layout, linear);
        offset = linear ? 0.5 : 0.0; // bilinear weights are measured between texel centres
        stepU = RoundHalfAway(u.DX * FixedOne);
        stepV = RoundHalfAway(vPlane.DX * FixedOne);
    }
    const bool flatDiffuse = v[0]->color == v[1]->color && v[0]->color == v[2]->color;
    TPlane diffuse[4];
    if (!flatDiffuse)
        for (int c = 0; c < 4; ++c) {
            const int shift = 8 * c;
            diffuse[c] = tri.PlaneOf({double(v[0]->color >> shift & 0xFF),
                                      double(v[1]->color >> shift & 0xFF),
                                      double(v[2]->color >> shift & 0xFF)});
        }
    const uint32_t flatColour = v[0]->color;
    const bool modulate = !flatDiffuse || (flatColour & 0x00FFFFFF) != 0x00FFFFFF;

    const TPixelView& target = fan.Target.Pixels;
    // Vertical edges bound every row alike.
    int64_t columnLeft = clip.left, columnRight = clip.right - 1;
    TEdge sloped[3];
    int slopedCount = 0;
    for (const TEdge& e : edges) {
        if (e.DX == 0 && e.DY < 0)
            columnLeft = std::max(columnLeft, CeilDiv(e.Bias - e.DY * e.X, -e.DY * SubPixel));
        else if (e.DX == 0 && e.DY > 0)
            columnRight = std::min(columnRight, FloorDiv(e.DY * e.X - e.Bias, e.DY * SubPixel));
        else
            sloped[slopedCount++] = e;
    }
    for (int64_t row = firstRow; row <= lastRow; ++row) {
        const int64_t py = row * SubPixel;
        int64_t left = columnLeft, right = columnRight;
        for (int i = 0; i < slopedCount; ++i) {
            const TEdge& e = sloped[i];
            const int64_t c = e.DX * (py - e.Y) + e.DY * e.X;
            if (e.DY == 0) {
                if (e.DX * (py - e.Y) < e.Bias)
                    left = right + 1;
            } else if (e.DY < 0) {
                left = std::max(left, CeilDiv(e.Bias - c, -e.DY * SubPixel));
            } else {
                right = std::min(right, FloorDiv(c - e.Bias, e.DY * SubPixel));
            }
        }
        if (left > right)
            continue;
        const auto count = static_cast<int>(right - left + 1);
        uint32_t* span = fan.Span.data();
        const double x = double(left), y = double(row);
        if (sampler) {
            const TSpanCoordinates coordinates{
                RoundHalfAway((tri.At(u, x, y) - offset) * FixedOne),
                RoundHalfAway((tri.At(vPlane, x, y) - offset) * FixedOne), stepU, stepV};
            if (flatDiffuse && IsOneTexel(*texture, coordinates, count, linear)) {
                uint32_t value = 0;
                sampler(texture->Pixels, coordinates, 1, &value);
                fan.Writer.Constant(target.At(int32_t(left), int32_t(row)),
                                    modulate ? ModulateColour(value, flatColour) : value, count);
                fan.Pixels += uint64_t(count);
                continue;
            }
            sampler(texture->Pixels, coordinates, count, span);
        }
        if (modulate || !sampler) {
            for (int i = 0; i < count; ++i) {
                uint32_t colour = flatColour;
                if (!flatDiffuse) {
                    colour = 0;
                    for (int c = 0; c < 4; ++c) {
                        const double value = tri.At(diffuse[c], x + i, y);
                        colour |= uint32_t(std::clamp(std::lround(value), 0l, 255l)) << (8 * c);
                    }
                }
                span[i] = sampler ? ModulateColour(span[i], colour) : colour;
            }
        }
        fan.Writer.Span(target.At(int32_t(left), int32_t(row)), span, count);
        fan.Pixels += uint64_t(count);
    }
}

} // namespace

TSpanWriter ChooseSpanWriter(TPixelLayout layout, const TRasterStates& states) {
    switch (layout) {
    case TPixelLayout::RGB565:
        return Writer<TPixelLayout::RGB565>(states);
    case TPixelLayout::RGB555:
        return Writer<TPixelLayout::RGB555>(states);
    case TPixelLayout::XRGB8888:
    case TPixelLayout::ARGB8888:
        return Writer<TPixelLayout::ARGB8888>(states);
    default:
        return {};
    }
}

bool CanRenderTo(TPixelLayout layout) {
    return layout == TPixelLayout::RGB565 || layout == TPixelLayout::RGB555 ||
           layout == TPixelLayout::XRGB8888 || layout == TPixelLayout::ARGB8888;
}

uint64_t DrawTriangleFan(const TRasterTarget& target, const TRasterTexture* texture,
                         const TRasterStates& states, const D3DTLVERTEX* vertices, uint32_t count) {
    const TSpanWriter writer = ChooseSpanWriter(target.Layout, states);
    if (!writer.Span || count < 3 || target.Clip.left >= target.Clip.right ||
        target.Clip.top >= target.Clip.bottom)
        return 0;
    if (texture && (texture->Layout == TPixelLayout::Unsupported || texture->Pixels.Width <= 0 ||
                    texture->Pixels.Height <= 0))
        texture = nullptr;
    thread_local std::vector<uint32_t> span;
    span.resize(size_t(target.Clip.right - target.Clip.left));
    TFanContext fan{target, texture, states, writer, span};
    for (uint32_t i = 1; i + 1 < count; ++i)
        DrawTriangle(fan, &vertices[0], &vertices[i], &vertices[i + 1]);
    return fan.Pixels;
}

} // namespace Win32
