#include "platform/display/DirectDraw.h"
#include "tests/support/DisplayFixtures.h"

#include <gtest/gtest.h>

using namespace Win32;
using namespace TestSupport;

TEST(DirectDraw, EnumeratesTheInstalledDriversAndTheirModes) {
    TDisplayHardware machine = DefaultDisplayHardware();
    TDisplayAdapterHardware second = DisplayAdapter();
    second.Primary = false;
    second.Guid = {7, 7, 7, {7}};
    second.Driver = "second";
    second.Rgb555 = true;
    second.Modes = {{800, 600, 16}};
    machine.Adapters.push_back(second);
    InstalledHardware installed(machine);

    std::vector<std::string> names;
    std::vector<bool> primary;
    DirectDrawEnumerateExA(
        [&](const GUID* guid, const char*, const char* driver) {
            names.push_back(driver);
            primary.push_back(guid == nullptr);
            return true;
        },
        0);
    EXPECT_EQ(names, (std::vector<std::string>{"display", "second"}));
    EXPECT_EQ(primary, (std::vector<bool>{true, false}));

    TRefPtr<IDirectDraw7> dd;
    const GUID unknown{1};
    EXPECT_EQ(DirectDrawCreateEx(&unknown, dd), DDERR_INVALIDDIRECTDRAWGUID);
    ASSERT_EQ(DirectDrawCreateEx(&second.Guid, dd), DD_OK);
    std::vector<DDSURFACEDESC2> modes;
    dd->EnumDisplayModes(0, nullptr, [&](const DDSURFACEDESC2& mode) {
        modes.push_back(mode);
        return true;
    });
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(modes[0].ddpfPixelFormat.dwRBitMask, 0x7C00u); // RGB555 on this one

    dd = PrimaryDirectDraw();
    modes.clear();
    dd->EnumDisplayModes(0, nullptr, [&](const DDSURFACEDESC2& mode) {
        modes.push_back(mode);
        return true;
    });
    ASSERT_EQ(modes.size(), 6u);
    EXPECT_EQ(modes[1].dwWidth, 800u);
    EXPECT_EQ(modes[1].ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(modes[1].ddpfPixelFormat.dwGBitMask, 0x07E0u);
    EXPECT_EQ(modes[4].ddpfPixelFormat.dwRGBBitCount, 32u);
}

TEST(DirectDraw, DisplayModesNeedExclusiveAccess) {
    auto dd = PrimaryDirectDraw();
    EXPECT_EQ(dd->SetDisplayMode(800, 600, 16, 0, 0), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    EXPECT_EQ(dd->SetDisplayMode(800, 500, 16, 0, 0), DDERR_INVALIDMODE);
    ASSERT_EQ(dd->SetDisplayMode(800, 600, 16, 0, 0), DD_OK);
    DDSURFACEDESC2 mode;
    ASSERT_EQ(dd->GetDisplayMode(&mode), DD_OK);
    EXPECT_EQ(mode.dwWidth, 800u);
    EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, 16u);
    ASSERT_EQ(dd->RestoreDisplayMode(), DD_OK);
    ASSERT_EQ(dd->GetDisplayMode(&mode), DD_OK);
    EXPECT_EQ(mode.dwWidth, 1280u); // the desktop
    EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, 32u);
}

TEST(DirectDraw, FlipShowsTheBackBufferInTheWindow) {
    TestWindow test(4, 2);
    const HWND window = test.Window;
    auto dd = PrimaryDirectDraw();
    DDSURFACEDESC2 desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    TRefPtr<IDirectDrawSurface7> primary;
    EXPECT_EQ(dd->CreateSurface(desc, primary), DDERR_NOCOOPERATIVELEVELSET);
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(dd->CreateSurface(desc, primary), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    ASSERT_EQ(dd->CreateSurface(desc, primary), DD_OK);
    TRefPtr<IDirectDrawSurface7> second;
    EXPECT_EQ(dd->CreateSurface(desc, second), DDERR_PRIMARYSURFACEALREADYEXISTS);

    TRefPtr<IDirectDrawSurface7> back;
    DDSCAPS2 caps;
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    ASSERT_EQ(primary->GetAttachedSurface(caps, back), DD_OK);
    EXPECT_EQ(back->Width(), 640);
    FillSurface(*back, 0xF800);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(ReadPixels(*primary)[0], 0xF800u);
    const TCapturedImage& shown = test.Display->Frame();
    ASSERT_EQ(shown.Width, 640);
    EXPECT_EQ(shown.Pixels[0], 0xFFFF0000u);
}

TEST(DirectDraw, BlittingOntoAWindowsPrimaryShowsTheSource) {
    TestWindow test(4, 2);
    const HWND window = test.Window;
    auto dd = PrimaryDirectDraw();
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC2 desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    TRefPtr<IDirectDrawSurface7> primary;
    ASSERT_EQ(dd->CreateSurface(desc, primary), DD_OK);
    DDSURFACEDESC2 locked;
    EXPECT_EQ(primary->Lock(nullptr, &locked, 0, nullptr), DDERR_CANTLOCKSURFACE);
    auto back = MakeSurface(*dd, 4, 2, TPixelLayout::RGB565);
    WritePixels(*back, {0xF800, 0x07E0, 0x001F, 0xFFFF, 0, 0x8410, 0x0841, 0xFFFF});
    const RECT client{100, 100, 104, 102};
    ASSERT_EQ(primary->Blt(&client, back.Get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    const TCapturedImage shown = test.Display->CaptureWindow();
    ASSERT_EQ(shown.Width, 4);
    ASSERT_EQ(shown.Height, 2);
    // 5 and 6 bit channels widen by repeating their top bits.
    EXPECT_EQ(shown.Pixels,
              (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000,
                                     0xFF848284, 0xFF080808, 0xFFFFFFFF}));
}
