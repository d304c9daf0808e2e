#include "engine/app/D3DFramework.h"
#include "engine/core/DXErrors.h"
#include "platform/win32/MessageBox.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/DisplayFixtures.h"

#include <gtest/gtest.h>

#include <memory>

using namespace D3DFrame;
using namespace Win32;
using namespace TestSupport;

namespace {

bool Accept16Bit(const DDSURFACEDESC2& mode) {
    const uint32_t w = mode.dwWidth, h = mode.dwHeight;
    return mode.ddpfPixelFormat.dwRGBBitCount == 16 &&
           ((w == 640 && h == 480) || (w == 800 && h == 600) || (w == 1024 && h == 768));
}

bool AcceptAll(const DDSURFACEDESC2&) {
    return true;
}

bool RejectSvga(const DDSURFACEDESC2& mode) {
    return mode.dwWidth != 800;
}

std::unique_ptr<TD3DFramework> MakeFramework(uint32_t flags = 0x03, int32_t bits = 16,
                                             TModeFilter filter = Accept16Bit,
                                             HWND window = nullptr) {
    return std::make_unique<TD3DFramework>(window, "Varnholt", flags, 800, 600, bits, filter);
}

TDisplayHardware MachineWith(std::vector<TD3DDeviceHardware> devices) {
    TDisplayHardware machine = DefaultDisplayHardware();
    machine.Adapters[0].Devices = std::move(devices);
    return machine;
}

std::string ModeText(const DDSURFACEDESC2& mode) {
    return std::to_string(mode.dwWidth) + "x" + std::to_string(mode.dwHeight) + "x" +
           std::to_string(mode.ddpfPixelFormat.dwRGBBitCount);
}

template <class TError, class TAction>
std::string ErrorOf(TAction action) {
    try {
        action();
    } catch (const TError& e) {
        return e.Message;
    }
    return "no error";
}

const RECT Client{300, 170, 1100, 770};

} // namespace

TEST(D3DFramework, ModesAreSortedAndTheDefaultFollowsTheOptions) {
    const struct {
        uint32_t flags;
        int32_t bits;
        TModeFilter filter;
        std::vector<std::string> modes;
        int32_t defaultMode;
    } cases[] = {
        {0x03, 16, Accept16Bit, {"640x480x16", "800x600x16", "1024x768x16"}, 1},
        {0x03,
         16,
         AcceptAll,
         {"640x480x16", "800x600x16", "1024x768x16", "640x480x32", "800x600x32", "1024x768x32"},
         1},
        {0x07, 32, AcceptAll, {}, 4},  // the depth must match too
        {0x01, 16, RejectSvga, {}, 0}, // no 800 x 600 and not required: the first mode
    };
    for (const auto& c : cases) {
        auto framework = MakeFramework(c.flags, c.bits, c.filter);
        ASSERT_EQ(framework->Adapters().size(), 1u);
        const TD3DAdapterRecord& adapter = framework->Adapters()[0];
        if (!c.modes.empty()) {
            std::vector<std::string> modes;
            for (const DDSURFACEDESC2& mode : adapter.Modes)
                modes.push_back(ModeText(mode));
            EXPECT_EQ(modes, c.modes);
        }
        EXPECT_EQ(adapter.DefaultMode, c.defaultMode) << c.flags;
        EXPECT_EQ(adapter.Devices[0].DefaultMode, c.defaultMode) << c.flags;
        EXPECT_TRUE(adapter.Primary);
        EXPECT_EQ(adapter.DriverName, "display");
        EXPECT_EQ(framework->WindowedAdapter(), 0);
    }
}

TEST(D3DFramework, DriversThatCannotServeAreSkipped) {
    const auto onlyBadDriver = [](auto spoil) {
        TDisplayHardware machine = DefaultDisplayHardware();
        spoil(machine.Adapters[0]);
        return machine;
    };
    const struct {
        const char* why;
        TDisplayHardware machine;
        TModeFilter filter;
    } cases[] = {
        {"only 8-bit modes", onlyBadDriver([](TDisplayAdapterHardware& a) {
             a.Modes = {{800, 600, 8}};
         }),
         Accept16Bit},
        {"mode enumeration fails",
         onlyBadDriver([](TDisplayAdapterHardware& a) { a.EnumModesResult = DDERR_GENERIC; }),
         Accept16Bit},
        {"the filter leaves 800 x 600 out", DefaultDisplayHardware(), RejectSvga},
        {"no Direct3D", onlyBadDriver([](TDisplayAdapterHardware& a) { a.HasDirect3D = false; }),
         Accept16Bit},
        {"no z-buffer and a device that needs one",
         onlyBadDriver([](TDisplayAdapterHardware& a) { a.HardwareCaps.ddsCaps.dwCaps = 0; }),
         Accept16Bit},
        {"a device that renders only 32-bit modes", onlyBadDriver([](TDisplayAdapterHardware& a) {
             a.Devices[0].Desc.dwDeviceRenderBitDepth = DDBD_32;
         }),
         Accept16Bit},
        {"no z-buffer formats",
         onlyBadDriver([](TDisplayAdapterHardware& a) { a.Devices[0].ZBufferFormats.clear(); }),
         Accept16Bit},
    };
    for (const auto& c : cases) {
        InstalledHardware installed(c.machine);
        EXPECT_EQ(ErrorOf<Base::EDirectDrawError>([&] { MakeFramework(0x03, 16, c.filter); }),
                  "No drivers or 3D devices were enumerated.")
            << c.why;
        // A good second driver still serves.
        TDisplayHardware two = c.machine;
        TDisplayAdapterHardware good = DisplayAdapter();
        good.Primary = false;
        good.Guid = {42};
        good.Driver = "good";
        two.Adapters.push_back(good);
        InstalledHardware second(two);
        if (c.filter == Accept16Bit) {
            auto framework = MakeFramework();
            ASSERT_EQ(framework->Adapters().size(), 1u) << c.why;
            EXPECT_EQ(framework->Adapters()[0].DriverName, "good");
            EXPECT_FALSE(framework->Adapters()[0].Primary);
        }
    }
}

TEST(D3DFramework, ChoosesTheHardwareAndSoftwareDevices) {
    const TD3DDeviceHardware hal = HardwareDevice(IID_IDirect3DHALDevice);
    const TD3DDeviceHardware tnl = HardwareDevice(IID_IDirect3DTnLHalDevice);
    const TD3DDeviceHardware rgb = SoftwareDevice(IID_IDirect3DRGBDevice);
    const TD3DDeviceHardware mmx = SoftwareDevice(IID_IDirect3DMMXDevice);
    const TD3DDeviceHardware ref = SoftwareDevice(IID_IDirect3DRefDevice);
    TD3DDeviceHardware noZ = SoftwareDevice(IID_IDirect3DMMXDevice);
    noZ.ZBufferFormats.clear(); // skipped
    const struct {
        std::vector<TD3DDeviceHardware> devices;
        size_t kept;
        int32_t hardware, software;
    } cases[] = {
        {{rgb, tnl, hal, ref}, 4, 1, 0}, // T&L first, the last non-reference software device
        {{hal, hal, ref}, 3, 1, 2},      // the last hardware device; the reference rasteriser
        {{ref, rgb, mmx}, 3, -1, 2},     // no hardware device
        {{hal, noZ}, 1, 0, -1},          // a device that fails its enumeration is left out
    };
    for (const auto& c : cases) {
        InstalledHardware installed(MachineWith(c.devices));
        auto framework = MakeFramework();
        const TD3DAdapterRecord& adapter = framework->Adapters()[0];
        EXPECT_EQ(adapter.Devices.size(), c.kept);
        EXPECT_EQ(adapter.HardwareDevice, c.hardware);
        EXPECT_EQ(adapter.SoftwareDevice, c.software);
    }
}

TEST(D3DFramework, FullScreenCreatesAFlipChainAndTheDevice) {
    TestWindow window(64, 48);
    auto framework = MakeFramework(0x03, 16, Accept16Bit, window.Window);
    framework->SetFullScreen(-1, -1, -1);
    EXPECT_FALSE(framework->Windowed());
    EXPECT_EQ(framework->AdapterInUse(), 0);
    EXPECT_EQ(framework->DeviceInUse(), 0);
    EXPECT_EQ(framework->ModeInUse(), 1);
    EXPECT_EQ(ModeText(framework->CurrentMode()), "800x600x16");
    EXPECT_TRUE(IsRGB565(framework->CurrentMode()));
    EXPECT_EQ(framework->WindowRect(), (RECT{0, 0, 800, 600}));
    ASSERT_NE(framework->Device(), nullptr);
    EXPECT_EQ(framework->BackBuffer()->Width(), 800);
    EXPECT_TRUE(framework->BackBuffer()->Caps() & DDSCAPS_BACKBUFFER);
    EXPECT_EQ(framework->Adapters()[0].Devices[0].TextureFormats.size(), 2u);
    D3DVIEWPORT7 viewport;
    framework->Device()->GetViewport(&viewport);
    EXPECT_EQ(viewport.dwWidth, 800u);

    // A frame drawn into the back buffer reaches the window when shown.
    DDBLTFX fx;
    fx.dwFillColor = 0x001F;
    framework->BackBuffer()->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
    framework->ShowFrame();
    EXPECT_EQ(window.Display->Frame().Width, 800);
    EXPECT_EQ(window.Display->Frame().Pixels[0], 0xFF0000FFu);

    framework->SetFullScreenMode(0);
    EXPECT_EQ(ModeText(framework->CurrentMode()), "640x480x16");
    framework->SetFullScreenMode(-1);
    EXPECT_EQ(framework->ModeInUse(), 1);
    framework->ReleaseAll();
    EXPECT_EQ(framework->DirectDraw(), nullptr);
    framework->ShowFrame(); // nothing to show, nothing happens
}

TEST(D3DFramework, WindowedDrawsIntoABackBufferOfTheClientSize) {
    TestWindow window(64, 48);
    auto framework = MakeFramework(0x03, 16, Accept16Bit, window.Window);
    framework->SetWindowed(-1, -1, Client);
    EXPECT_TRUE(framework->Windowed());
    EXPECT_EQ(framework->CurrentMode().dwWidth, 800u);
    EXPECT_EQ(framework->CurrentMode().ddpfPixelFormat.dwRGBBitCount, 32u); // the desktop's
    EXPECT_EQ(framework->BackBuffer()->Width(), 800);
    EXPECT_TRUE(framework->BackBuffer()->Caps() & DDSCAPS_OFFSCREENPLAIN);
    framework->SetWindowPosition(10, 20);
    EXPECT_EQ(framework->WindowRect(), (RECT{10, 20, 810, 620}));
    framework->ClearBackBuffer();
    framework->ShowFrame();
    EXPECT_EQ(window.Display->Frame().Width, 800);
    // Back to full screen through a device change.
    framework->SetFullScreenDevice(-1, 0);
    EXPECT_FALSE(framework->Windowed());
    EXPECT_EQ(ModeText(framework->CurrentMode()), "640x480x16");
}

TEST(D3DFramework, WindowedModeNeedsADriverAndDesktopThatAllowIt) {
    const struct {
        const char* why;
        void (*spoil)(TDisplayAdapterHardware&);
        const char* message;
    } cases[] = {
        {"driver", [](TDisplayAdapterHardware& a) { a.HardwareCaps.dwCaps2 = 0; },
         "Driver does not support windowed mode."},
        {"desktop",
         [](TDisplayAdapterHardware& a) {
             a.Desktop = {1024, 768, 8};
         },
         "Application requires 16-bit or higher display mode to run in a window."},
    };
    for (const auto& c : cases) {
        TDisplayHardware machine = DefaultDisplayHardware();
        c.spoil(machine.Adapters[0]);
        InstalledHardware installed(machine);
        auto framework = MakeFramework();
        EXPECT_EQ(ErrorOf<Base::EDirect3DError>([&] { framework->SetWindowed(-1, -1, Client); }),
                  c.message)
            << c.why;
        EXPECT_EQ(framework->BackBuffer(), nullptr);
    }
}

TEST(D3DFramework, FallsBackToTheSoftwareDeviceWhereAllowed) {
    const std::string deviceFailed = "CreateDevice failed (DDERR_GENERIC).";
    const std::string couldNot = "\n\nCould not create 3D device. The 3D hardware may not support "
                                 "rendering in the current display mode.";
    const std::string noMemory = "CreateSurface failed (DDERR_OUTOFVIDEOMEMORY).";
    TD3DDeviceHardware failing = HardwareDevice();
    failing.CreateResult = E_FAIL;
    TD3DDeviceHardware software32 = SoftwareDevice();
    software32.Desc.dwDeviceRenderBitDepth = DDBD_32;
    // Video memory runs out once, for the first 3D surface asked for.
    const auto outOfMemoryOnce = [](TDisplayHardware machine) {
        auto failed = std::make_shared<bool>(false);
        machine.Adapters[0].SurfaceFault = [failed](const DDSURFACEDESC2& desc) {
            if (*failed || !(desc.ddsCaps.dwCaps & DDSCAPS_3DDEVICE))
                return DD_OK;
            *failed = true;
            return DDERR_OUTOFVIDEOMEMORY;
        };
        return machine;
    };
    const struct {
        const char* why;
        TDisplayHardware machine;
        uint32_t flags;
        bool windowed;
        std::string box;   // empty: none shown
        std::string error; // empty: the switch succeeds on the software device
    } cases[] = {
        {"device fails in a window", MachineWith({failing, SoftwareDevice()}), 0x0B, true,
         deviceFailed + couldNot + " Switching to software rasterizer.", ""},
        {"device fails in a window, no fallback allowed", MachineWith({failing, SoftwareDevice()}),
         0x03, true, "",
         deviceFailed + couldNot +
             " Change display mode of your desktop or select software rasterizer."},
        {"device fails in a window, no software device", MachineWith({failing}), 0x0B, true, "",
         deviceFailed + couldNot +
             " Change display mode of your desktop or select software rasterizer."},
        {"device fails in full screen", MachineWith({failing, SoftwareDevice()}), 0x0B, false, "",
         deviceFailed},
        {"out of video memory in full screen",
         outOfMemoryOnce(MachineWith({HardwareDevice(), SoftwareDevice()})), 0x0B, false,
         noMemory + "\n\nNot enough video memory for hardware device. Switching to software "
                    "rasterizer.",
         ""},
        {"out of video memory, the software device lacks the mode",
         outOfMemoryOnce(MachineWith({HardwareDevice(), software32})), 0x0B, false, "",
         noMemory + "\n\nNot enough video memory for hardware device."},
        {"out of video memory in a window",
         outOfMemoryOnce(MachineWith({HardwareDevice(), SoftwareDevice()})), 0x0B, true,
         noMemory + "\n\nNot enough video memory for hardware device. Switching to software "
                    "rasterizer.",
         ""},
        {"out of video memory without fallback",
         outOfMemoryOnce(MachineWith({HardwareDevice(), SoftwareDevice()})), 0x03, false, "",
         noMemory + "\n\nNot enough video memory for hardware device."},
        {"out of video memory on the software device itself",
         outOfMemoryOnce(MachineWith({SoftwareDevice()})), 0x0B, false, "", noMemory},
    };
    for (const auto& c : cases) {
        InstalledHardware installed(c.machine);
        TMessageBoxRecorder boxes;
        TScopedMessageBoxHandler recording(boxes);
        // Every mode is offered, so a software device limited to 32 bits exists.
        auto framework = MakeFramework(c.flags, 16, AcceptAll);
        ASSERT_EQ(framework->Adapters()[0].Devices.size(), c.machine.Adapters[0].Devices.size());
        const std::string error = ErrorOf<Base::EDirectXError>([&] {
            if (c.windowed)
                framework->SetWindowed(-1, -1, Client);
            else
                framework->SetFullScreen(-1, -1, -1);
        });
        EXPECT_EQ(error, c.error.empty() ? "no error" : c.error) << c.why;
        const auto shown = boxes.Calls();
        if (c.box.empty()) {
            EXPECT_TRUE(shown.empty()) << c.why;
        } else {
            ASSERT_EQ(shown.size(), 1u) << c.why;
            EXPECT_EQ(shown[0].Text, c.box) << c.why;
            EXPECT_EQ(shown[0].Caption, "Varnholt");
            EXPECT_EQ(shown[0].Type, MB_ICONERROR);
        }
        if (c.error.empty()) {
            ASSERT_NE(framework->Device(), nullptr) << c.why;
            EXPECT_EQ(framework->DeviceInUse(), framework->Adapters()[0].SoftwareDevice);
        } else {
            EXPECT_EQ(framework->Device(), nullptr) << c.why;
            EXPECT_EQ(framework->BackBuffer(), nullptr) << c.why;
        }
    }
}

TEST(D3DFramework, TexturesAreSizedAsTheDeviceRequires) {
    const struct {
        uint32_t caps, maxSide, minSide;
        int32_t width, height;
        uint32_t expectedWidth, expectedHeight;
    } cases[] = {
        {D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY, 0, 1, 100, 20, 128, 128},
        {D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY, 64, 1, 100, 20, 64, 64},
        {D3DPTEXTURECAPS_POW2, 2048, 1, 100, 20, 128, 32},
        {0, 2048, 1, 100, 20, 100, 20},
        {0, 0, 1, 300, 200, 256, 200}, // a reported maximum of 0 means 256
        {0, 2048, 32, 16, 40, 32, 40},
    };
    for (const auto& c : cases) {
        TD3DDeviceHardware device = HardwareDevice();
        device.Desc.dpcTriCaps.dwTextureCaps = c.caps;
        device.Desc.dwMaxTextureWidth = device.Desc.dwMaxTextureHeight = c.maxSide;
        device.Desc.dwMinTextureWidth = device.Desc.dwMinTextureHeight = c.minSide;
        InstalledHardware installed(MachineWith({device}));
        auto framework = MakeFramework();
        framework->SetFullScreen(-1, -1, -1);
        auto texture = framework->CreateTexture(c.width, c.height, 0, nullptr);
        EXPECT_EQ(uint32_t(texture->Width()), c.expectedWidth) << c.width << "x" << c.height;
        EXPECT_EQ(uint32_t(texture->Height()), c.expectedHeight) << c.width << "x" << c.height;
    }
}

TEST(D3DFramework, TextureFormatFollowsTheDisplayDepth) {
    const DDPIXELFORMAT argb32 = PixelFormatOf(TPixelLayout::ARGB8888);
    const DDPIXELFORMAT argb16 = PixelFormatOf(TPixelLayout::ARGB4444);
    const DDPIXELFORMAT rgb16 = PixelFormatOf(TPixelLayout::RGB565);
    const struct {
        std::vector<DDPIXELFORMAT> formats;
        int32_t mode; // 1: 800x600x16, 4: 800x600x32
        TPixelLayout expected;
    } cases[] = {
        {{argb32, argb16}, 1, TPixelLayout::ARGB4444},
        {{argb32, argb16}, 4, TPixelLayout::ARGB8888},
        {{rgb16, argb32}, 1, TPixelLayout::Unsupported}, // no 16-bit format with alpha
        {{argb16}, 4, TPixelLayout::ARGB4444},
    };
    for (const auto& c : cases) {
        TD3DDeviceHardware device = HardwareDevice();
        device.TextureFormats = c.formats;
        InstalledHardware installed(MachineWith({device}));
        auto framework = MakeFramework(0x03, 16, AcceptAll);
        framework->SetFullScreen(-1, -1, c.mode);
        if (c.expected == TPixelLayout::Unsupported) {
            EXPECT_EQ(
                ErrorOf<Base::EDirect3DError>([&] { framework->CreateTexture(8, 8, 0, nullptr); }),
                "Proper texture format not found.");
            continue;
        }
        auto texture = framework->CreateTexture(8, 8, 0, nullptr);
        EXPECT_EQ(texture->Layout(), c.expected);
        EXPECT_EQ(texture->Caps(), DDSCAPS_TEXTURE);
    }
}

TEST(D3DFramework, TextureCacheSpareTheDeviceRepeatedSettings) {
    auto framework = MakeFramework();
    framework->SetFullScreen(-1, -1, -1);
    auto texture = framework->CreateTexture(8, 8, 0, nullptr);
    IDirect3DDevice7* device = framework->Device();
    const uint32_t before = device->Statistics().SetTextureCalls;
    framework->SetTexture(texture.Get(), 0);
    framework->SetTexture(texture.Get(), 0);
    framework->SetTexture(texture.Get(), 8);
    EXPECT_EQ(device->Statistics().SetTextureCalls, before + 1);
    EXPECT_EQ(framework->CachedTexture(0), texture.Get());
    // A new device starts with empty stages, and so does the cache.
    framework->SetTexture(texture.Get(), 3);
    framework->SetFullScreenMode(0);
    for (uint32_t stage = 0; stage < 8; ++stage)
        EXPECT_EQ(framework->CachedTexture(stage), nullptr);
}

TEST(D3DFramework, BackBufferLockAndDeviceContextAreTakenOnce) {
    auto framework = MakeFramework();
    EXPECT_FALSE(framework->LockBackBuffer()); // no surfaces yet
    framework->SetFullScreen(-1, -1, -1);
    ASSERT_TRUE(framework->LockBackBuffer());
    void* const pixels = framework->BackBufferDesc().lpSurface;
    EXPECT_NE(pixels, nullptr);
    EXPECT_GE(framework->BackBufferDesc().lPitch, 1600);
    EXPECT_TRUE(framework->LockBackBuffer());
    EXPECT_EQ(framework->BackBufferDesc().lpSurface, pixels);
    EXPECT_FALSE(framework->GetBackBufferDC()); // the lock holds the surface
    framework->UnlockBackBuffer();
    EXPECT_FALSE(framework->BackBufferLocked());
    framework->UnlockBackBuffer();
    ASSERT_TRUE(framework->GetBackBufferDC());
    EXPECT_EQ(framework->BackBufferDC()->Width, 800);
    framework->ReleaseBackBufferDC();
    EXPECT_FALSE(framework->BackBufferDCHeld());

    // A switch while the lock is held lets go of it with the surface.
    ASSERT_TRUE(framework->LockBackBuffer());
    framework->SetFullScreenMode(0);
    EXPECT_FALSE(framework->BackBufferLocked());
    ASSERT_TRUE(framework->LockBackBuffer());
    EXPECT_EQ(framework->BackBufferDesc().dwWidth, 640u);
    framework->UnlockBackBuffer();
}

TEST(D3DFramework, LostDisplayIsReportedAndRestored) {
    auto framework = MakeFramework();
    EXPECT_EQ(framework->TestCooperativeLevel(), 2); // nothing created yet
    framework->SetWindowed(-1, -1, Client);
    EXPECT_EQ(framework->TestCooperativeLevel(), 0);
    EXPECT_FALSE(framework->IsSurfaceLost());
    framework->DirectDraw()->SimulateDisplayTaken();
    EXPECT_EQ(framework->TestCooperativeLevel(), 1);
    EXPECT_TRUE(framework->IsSurfaceLost());
    EXPECT_FALSE(framework->RestoreAllSurfaces());
    framework->DirectDraw()->SimulateDisplayTaken(DDERR_WRONGMODE);
    EXPECT_EQ(framework->TestCooperativeLevel(), 2);
    framework->DirectDraw()->SimulateDisplayReturned();
    EXPECT_TRUE(framework->RestoreAllSurfaces());
    EXPECT_FALSE(framework->IsSurfaceLost());
}

TEST(D3DFramework, SmallServices) {
    auto framework = MakeFramework();
    framework->SetFullScreen(-1, -1, -1);
    framework->SetAmbientLight(1.0f, 0.5f, 0.0f);
    uint32_t ambient = 0;
    framework->Device()->GetRenderState(D3DRENDERSTATE_AMBIENT, &ambient);
    EXPECT_EQ(ambient, 0xFFFF7F00u);
    EXPECT_EQ(ErrorOf<Base::EDirect3DError>([&] { framework->SetViewport(0, 0, 801, 600); }),
              "SetViewport failed (DDERR_INVALIDPARAMS).");
    EXPECT_EQ(ErrorOf<Base::EDirectDrawError>([&] { framework->CreateOffscreenSurface(0, 10, 0); }),
              "CreateSurface failed (DDERR_INVALIDPARAMS).");
    auto surface = framework->CreateOffscreenSurface(3, 2, 0);
    EXPECT_EQ(surface->Layout(), TPixelLayout::RGB565);
    EXPECT_EQ(CountBits(0xF800), 5);
    EXPECT_EQ(CountBits(0), 0);
    DDSURFACEDESC2 desc;
    InitSurfaceDesc(desc, DDSD_CAPS, DDSCAPS_TEXTURE);
    EXPECT_EQ(desc.dwSize, 124u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwSize, 32u);
    EXPECT_EQ(desc.ddsCaps.dwCaps, DDSCAPS_TEXTURE);
    desc.ddpfPixelFormat = PixelFormatOf(TPixelLayout::RGB555);
    EXPECT_FALSE(IsRGB565(desc));
    EXPECT_EQ(framework->Title(), "Varnholt");

    TDisplayHardware machine = DefaultDisplayHardware();
    machine.Adapters[0].Rgb555 = true;
    InstalledHardware installed(machine);
    auto rgb555 = MakeFramework();
    rgb555->SetFullScreen(-1, -1, -1);
    EXPECT_FALSE(IsRGB565(rgb555->CurrentMode()));
    EXPECT_EQ(rgb555->BackBuffer()->Layout(), TPixelLayout::RGB555);
    const std::string longTitle(300, 'x');
    EXPECT_EQ(TD3DFramework(nullptr, longTitle, 0x01, 800, 600, 16, nullptr).Title().size(), 255u);
}

// Tools and tests that forget to reset the framework must still end, and cleanly.
TEST(D3DFramework, ProgramEndsWithTheFrameworkAlive) {
    TChildProcess program(VRN_FRAMEWORK_LEFT_ALIVE, {});
    std::string line;
    ASSERT_TRUE(program.ReadLine(line, 60000));
    EXPECT_EQ(line, "full screen");
    EXPECT_EQ(program.WaitForExit(30000), std::optional<int>(0));
}
