#include "platform/display/Direct3D.h"
#include "tests/support/DisplayFixtures.h"

#include <gtest/gtest.h>

using namespace Win32;
using namespace TestSupport;

namespace {

// A device rendering into a w x h target of the given layout.
struct TScene {
    TRefPtr<IDirectDraw7> DirectDraw = PrimaryDirectDraw();
    TRefPtr<IDirectDrawSurface7> Target;
    TRefPtr<IDirect3DDevice7> Device;

    TScene(int w, int h, TPixelLayout layout = TPixelLayout::RGB565) {
        Target = MakeSurface(*DirectDraw, w, h, layout, DDSCAPS_3DDEVICE);
        TRefPtr<IDirect3D7> direct3D;
        EXPECT_EQ(DirectDraw->QueryInterface(IID_IDirect3D7, direct3D), DD_OK);
        EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DHALDevice, Target.Get(), Device), D3D_OK);
    }

    TRefPtr<IDirectDrawSurface7> Texture(int w, int h, TPixelLayout layout,
                                         const std::vector<uint32_t>& texels) {
        auto texture = MakeSurface(*DirectDraw, w, h, layout, DDSCAPS_TEXTURE);
        WritePixels(*texture, texels);
        return texture;
    }

    void Blend(uint32_t source, uint32_t dest) {
        Device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        Device->SetRenderState(D3DRENDERSTATE_SRCBLEND, source);
        Device->SetRenderState(D3DRENDERSTATE_DESTBLEND, dest);
    }

    void Filter(uint32_t magnify, uint32_t minify) {
        Device->SetTextureStageState(0, D3DTSS_MAGFILTER, magnify);
        Device->SetTextureStageState(0, D3DTSS_MINFILTER, minify);
    }

    // A quad over (x0, y0)-(x1, y1) with texture coordinates (0, 0)-(u, v), corners
    // clockwise on screen from the top left.
    HRESULT Quad(float x0, float y0, float x1, float y1, float u = 1, float v = 1,
                 uint32_t diffuse = 0x00FFFFFF) {
        const D3DTLVERTEX quad[4] = {{x0, y0, 0, 1, diffuse, diffuse, 0, 0},
                                     {x1, y0, 0, 1, diffuse, diffuse, u, 0},
                                     {x1, y1, 0, 1, diffuse, diffuse, u, v},
                                     {x0, y1, 0, 1, diffuse, diffuse, 0, v}};
        return Device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, quad, 4, 0);
    }
};

} // namespace

TEST(Direct3DDevice, PointFilteredQuadRepeatsEachTexelOverTheScaledArea) {
    TScene scene(6, 5);
    FillSurface(*scene.Target, 0x1111);
    auto texture = scene.Texture(2, 2, TPixelLayout::ARGB8888,
                                 {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
    scene.Device->SetTexture(0, texture.Get());
    ASSERT_EQ(scene.Quad(1, 0, 5, 4), D3D_OK);
    // Pixel centres x = 1..4 take u = 0, 1/4, 2/4, 3/4: texels 0, 0, 1, 1.
    constexpr uint32_t _ = 0x1111, R = 0xF800, G = 0x07E0, B = 0x001F, W = 0xFFFF;
    EXPECT_EQ(ReadPixels(*scene.Target), (std::vector<uint32_t>{_, R, R, G, G, _, //
                                                                _, R, R, G, G, _, //
                                                                _, B, B, W, W, _, //
                                                                _, B, B, W, W, _, //
                                                                _, _, _, _, _, _}));
    EXPECT_EQ(scene.Device->Statistics().PixelsDrawn, 16u);
}

TEST(Direct3DDevice, BlendModesCombineSourceAndTarget) {
    // Target channels expand to 8 bits by repeating their top bits (0x8410 is 132, 130, 132);
    // each product x * f / 255 is rounded; results are truncated back to 5 and 6 bits.
    const struct {
        uint32_t sourceFactor, destFactor, texel, target, expected;
    } cases[] = {
        // 64 + 255 * 127 / 255 = 191, 32 + 127 = 159, 0 + 127 = 127: 23, 39, 15.
        {D3DBLEND_ONE, D3DBLEND_INVSRCALPHA, 0x80402000, 0xFFFF, 0xBCEF},
        // 255 * 128 / 255 = 128 red; 255 * 127 / 255 = 127 blue: 16, 0, 15.
        {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0x80FF0000, 0x001F, 0x800F},
        // 64 + 132 = 196, 32 + 130 = 162, 0 + 132 = 132: 24, 40, 16.
        {D3DBLEND_SRCALPHA, D3DBLEND_ONE, 0x40FF8000, 0x8410, 0xC510},
        // Sums above 255 stay at 255.
        {D3DBLEND_ONE, D3DBLEND_ONE, 0x00808080, 0x8410, 0xFFFF},
        // Fully transparent over anything under premultiplied blending leaves the target.
        {D3DBLEND_ONE, D3DBLEND_INVSRCALPHA, 0x00000000, 0x1234, 0x1234},
    };
    for (const auto& c : cases) {
        TScene scene(2, 1);
        FillSurface(*scene.Target, c.target);
        auto texture = scene.Texture(1, 1, TPixelLayout::ARGB8888, {c.texel});
        scene.Device->SetTexture(0, texture.Get());
        scene.Blend(c.sourceFactor, c.destFactor);
        ASSERT_EQ(scene.Quad(0, 0, 1, 1), D3D_OK);
        EXPECT_EQ(ReadPixels(*scene.Target), (std::vector<uint32_t>{c.expected, c.target}))
            << std::hex << c.texel;
    }
}

TEST(Direct3DDevice, BilinearFilterWeighsTheTwoNearestTexels) {
    TScene scene(4, 1, TPixelLayout::XRGB8888);
    auto texture = scene.Texture(2, 1, TPixelLayout::ARGB8888, {0xFF000000, 0xFFFFFFFF});
    scene.Device->SetTexture(0, texture.Get());
    scene.Filter(D3DTFG_LINEAR, D3DTFN_LINEAR);
    ASSERT_EQ(scene.Quad(0, 0, 4, 1), D3D_OK);
    // Texel positions x / 2 - 0.5: -0.5 (half the wrapped white), 0, 0.5, 1.
    std::vector<uint32_t> pixels = ReadPixels(*scene.Target);
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x7F7F7F, 0x000000, 0x7F7F7F, 0xFFFFFF}));

    // Drawn at half size the texture is minified and the minification filter applies:
    // texel positions 2 x - 0.5 are -0.5 and 1.5, between black and white either way.
    for (const bool linearMinify : {false, true}) {
        TScene small(2, 1, TPixelLayout::XRGB8888);
        auto wide = small.Texture(4, 1, TPixelLayout::ARGB8888,
                                  {0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF});
        small.Device->SetTexture(0, wide.Get());
        small.Filter(linearMinify ? D3DTFG_POINT : D3DTFG_LINEAR,
                     linearMinify ? D3DTFN_LINEAR : D3DTFN_POINT);
        ASSERT_EQ(small.Quad(0, 0, 2, 1), D3D_OK);
        pixels = ReadPixels(*small.Target);
        for (uint32_t& p : pixels)
            p &= 0xFFFFFF;
        const std::vector<uint32_t> expected = linearMinify
                                                   ? std::vector<uint32_t>{0x7F7F7F, 0x7F7F7F}
                                                   : std::vector<uint32_t>{0x000000, 0xFFFFFF};
        EXPECT_EQ(pixels, expected);
    }
}

TEST(Direct3DDevice, SixteenBitTexturesAndTargets) {
    // A4R4G4B4 nibbles widen to bytes (0x8 -> 0x88); drawn opaque, then blended.
    TScene scene(3, 1);
    auto texture = scene.Texture(3, 1, TPixelLayout::ARGB4444, {0xF0F0, 0xFF00, 0x8F00});
    scene.Device->SetTexture(0, texture.Get());
    ASSERT_EQ(scene.Quad(0, 0, 3, 1), D3D_OK);
    EXPECT_EQ(ReadPixels(*scene.Target), (std::vector<uint32_t>{0x07E0, 0xF800, 0xF800}));
    FillSurface(*scene.Target, 0);
    scene.Blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    ASSERT_EQ(scene.Quad(0, 0, 3, 1), D3D_OK);
    // 255 * 0x88 / 255 = 136 red: 17 << 11.
    EXPECT_EQ(ReadPixels(*scene.Target), (std::vector<uint32_t>{0x07E0, 0xF800, 0x8800}));

    // RGB555 target, no texture: the diffuse colour, here modulating nothing.
    TScene narrow(2, 1, TPixelLayout::RGB555);
    ASSERT_EQ(narrow.Quad(0, 0, 1, 1, 1, 1, 0xFFFF0000), D3D_OK);
    EXPECT_EQ(ReadPixels(*narrow.Target), (std::vector<uint32_t>{0x7C00, 0}));
    // A grey diffuse colour halves a white texel: 255 * 128 / 255 = 128 -> 0x8410 in RGB565.
    TScene grey(1, 1);
    auto white = grey.Texture(1, 1, TPixelLayout::ARGB8888, {0xFFFFFFFF});
    grey.Device->SetTexture(0, white.Get());
    ASSERT_EQ(grey.Quad(0, 0, 1, 1, 1, 1, 0x00808080), D3D_OK);
    EXPECT_EQ(ReadPixels(*grey.Target), (std::vector<uint32_t>{0x8410}));
}

TEST(Direct3DDevice, QuadsAreClippedToTheViewportAtEveryEdge) {
    const struct {
        float x0, y0, x1, y1;
        RECT covered; // within the viewport (1, 1)-(5, 4)
    } cases[] = {
        {-3, -3, 9, 9, {1, 1, 5, 4}},   // over every edge
        {-2, 2, 3, 3, {1, 2, 3, 3}},    // past the left edge
        {3, 2, 9, 3, {3, 2, 5, 3}},     // past the right edge
        {2, -5, 3, 2, {2, 1, 3, 2}},    // past the top edge
        {2, 3, 4, 20, {2, 3, 4, 4}},    // past the bottom edge
        {-9, -9, -1, -1, {0, 0, 0, 0}}, // wholly outside
    };
    for (const auto& c : cases) {
        TScene scene(6, 5);
        const D3DVIEWPORT7 viewport{1, 1, 4, 3, 0, 1};
        ASSERT_EQ(scene.Device->SetViewport(&viewport), D3D_OK);
        ASSERT_EQ(scene.Quad(c.x0, c.y0, c.x1, c.y1, 1, 1, 0xFFFFFFFF), D3D_OK);
        const std::vector<uint32_t> pixels = ReadPixels(*scene.Target);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool inside = x >= c.covered.left && x < c.covered.right &&
                                    y >= c.covered.top && y < c.covered.bottom;
                EXPECT_EQ(pixels[size_t(6 * y + x)], inside ? 0xFFFFu : 0u)
                    << c.x0 << "," << c.y0 << " pixel " << x << "," << y;
            }
    }
    TScene scene(2, 2);
    const D3DVIEWPORT7 tooBig{1, 0, 2, 2, 0, 1};
    EXPECT_EQ(scene.Device->SetViewport(&tooBig), DDERR_INVALIDPARAMS);
}

TEST(Direct3DDevice, EdgesFollowTheTopLeftRuleAndBackFacesAreCulled) {
    // Two quads sharing the edge x = 2 and additive blending: no pixel is drawn twice,
    // also when the corners sit a hundredth off the pixel grid.
    for (const float shift : {0.0f, -0.01f}) {
        TScene scene(5, 3);
        scene.Blend(D3DBLEND_ONE, D3DBLEND_ONE);
        ASSERT_EQ(scene.Quad(shift, shift, 2 + shift, 2 + shift, 1, 1, 0xFF080808), D3D_OK);
        ASSERT_EQ(scene.Quad(2 + shift, shift, 4 + shift, 2 + shift, 1, 1, 0xFF080808), D3D_OK);
        constexpr uint32_t P = 0x0841, _ = 0;                                      // 8 -> 1, 2, 1
        EXPECT_EQ(ReadPixels(*scene.Target), (std::vector<uint32_t>{P, P, P, P, _, //
                                                                    P, P, P, P, _, //
                                                                    _, _, _, _, _}))
            << shift;
    }
    TScene scene(2, 1);
    ASSERT_EQ(scene.Quad(1, 0, 0, 1, 1, 1, 0xFFFFFFFF), D3D_OK); // counter-clockwise
    EXPECT_EQ(ReadPixels(*scene.Target), (std::vector<uint32_t>{0, 0}));
    scene.Device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    ASSERT_EQ(scene.Quad(1, 0, 0, 1, 1, 1, 0xFFFFFFFF), D3D_OK);
    EXPECT_EQ(ReadPixels(*scene.Target), (std::vector<uint32_t>{0xFFFF, 0}));
}

TEST(Direct3DDevice, DeviceCreationAndStates) {
    auto dd = PrimaryDirectDraw();
    TRefPtr<IDirect3D7> direct3D;
    ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, direct3D), DD_OK);
    auto plain = MakeSurface(*dd, 4, 4, TPixelLayout::RGB565);
    TRefPtr<IDirect3DDevice7> device;
    EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DHALDevice, plain.Get(), device),
              DDERR_INVALIDCAPS);
    EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DRefDevice, plain.Get(), device),
              DDERR_INVALIDPARAMS);

    TScene scene(4, 4);
    std::vector<DDPIXELFORMAT> formats;
    scene.Device->EnumTextureFormats([&](const DDPIXELFORMAT& f) {
        formats.push_back(f);
        return true;
    });
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(LayoutOf(formats[0]), TPixelLayout::ARGB8888);
    EXPECT_EQ(LayoutOf(formats[1]), TPixelLayout::ARGB4444);
    EXPECT_EQ(scene.Device->DrawPrimitive(4, D3DFVF_TLVERTEX, nullptr, 4, 0),
              D3DERR_INVALIDPRIMITIVETYPE);
    scene.Device->SetRenderState(D3DRENDERSTATE_SRCBLEND, 9);
    EXPECT_EQ(scene.Quad(0, 0, 1, 1), D3DERR_UNSUPPORTEDFACTORVALUE);
    EXPECT_EQ(scene.Device->BeginScene(), D3D_OK);
    EXPECT_EQ(scene.Device->BeginScene(), D3DERR_SCENE_IN_SCENE);
    EXPECT_EQ(scene.Device->EndScene(), D3D_OK);

    // The device holds the textures set on it.
    auto texture = scene.Texture(1, 1, TPixelLayout::ARGB8888, {0});
    IDirectDrawSurface7* raw = texture.Get();
    scene.Device->SetTexture(0, raw);
    texture.Reset();
    raw->AddRef();
    EXPECT_EQ(raw->Release(), 1u);
    scene.Device->SetTexture(0, nullptr);
}
