// Screenshots: the back buffer as a 16-bit BMP file in the "Bmp" folder.
#include "engine/app/DXApplication.h"

#include "engine/app/D3DFramework.h"
#include "engine/core/Base.h"
#include "platform/classlib/Bitmap.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"
#include "platform/display/PixelLayout.h"

#include <algorithm>
#include <cstring>

namespace DXApp {

using D3DFrame::D3DFramework;

namespace {

constexpr size_t MaxNumberDigits = 9; // any number of them fits the counter

AnsiString ScreenshotName(const AnsiString& folder, int32_t number) {
    return ClassLib::Format("%s%.6d.bmp", folder, number);
}

// The number of a file named like a screenshot ("000123.bmp", any case), else -1.
int32_t ScreenshotNumber(const AnsiString& fileName) {
    const size_t dot = fileName.size() >= 4 ? fileName.size() - 4 : 0;
    if (dot < 6 || dot > MaxNumberDigits || !ClassLib::SameText(fileName.substr(dot), ".bmp"))
        return -1;
    const AnsiString digits = fileName.substr(0, dot);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return static_cast<int32_t>(std::stol(digits));
}

// The back buffer's pixels, copied while it is locked; empty when it cannot be locked.
// A 16-bit display is copied as it is; a deeper one (a window on a 32-bit desktop)
// is brought down to RGB565.
ClassLib::TBitmap CopyBackBuffer(D3DFrame::TD3DFramework& framework) {
    ClassLib::TBitmap bitmap;
    if (!framework.LockBackBuffer())
        return bitmap;
    struct TUnlock {
        D3DFrame::TD3DFramework& Framework;
        ~TUnlock() { Framework.UnlockBackBuffer(); }
    } unlock{framework};
    const Win32::DDSURFACEDESC2& desc = framework.BackBufferDesc();
    const Win32::DDPIXELFORMAT& format = desc.ddpfPixelFormat;
    const Win32::TPixelLayout layout = Win32::LayoutOf(format);
    if (layout == Win32::TPixelLayout::Unsupported)
        return bitmap;
    bitmap.SetSize(int32_t(desc.dwWidth), int32_t(desc.dwHeight));
    const bool sixteenBits = format.dwRGBBitCount == 16;
    if (sixteenBits)
        bitmap.SetColorMasks(format.dwRBitMask, format.dwGBitMask, format.dwBBitMask);
    const int bytes = Win32::BytesPerPixel(layout);
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* source =
            static_cast<const uint8_t*>(desc.lpSurface) + ptrdiff_t(y) * desc.lPitch;
        uint16_t* target = bitmap.ScanLine(y);
        if (sixteenBits) {
            std::memcpy(target, source, size_t(bitmap.Width()) * 2);
            continue;
        }
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            target[x] = Win32::ArgbToRgb565(Win32::PixelToArgb(layout, source + x * bytes));
    }
    return bitmap;
}

// The back buffer's picture; empty when there is none or it cannot be locked.
ClassLib::TBitmap BackBufferPicture() {
    if (!D3DFramework || !D3DFramework->BackBuffer())
        return {};
    return CopyBackBuffer(*D3DFramework);
}

} // namespace

int32_t TDXApplication::NextScreenshotNumber(const AnsiString& folder) {
    // Continue after the pictures of earlier runs instead of writing over them.
    if (!FScreenshotsCounted) {
        for (const ClassLib::TDirectoryEntry& entry : ClassLib::ListDirectory(folder)) {
            const int32_t number = entry.IsDirectory ? -1 : ScreenshotNumber(entry.Name);
            if (number >= ScreenshotCounter)
                ScreenshotCounter = number + 1;
        }
        FScreenshotsCounted = true;
    }
    int32_t number = ScreenshotCounter;
    while (ClassLib::FileExists(ScreenshotName(folder, number)))
        ++number;
    return number;
}

bool TDXApplication::SaveBackBuffer(const AnsiString& fileName) const {
    const ClassLib::TBitmap bitmap = BackBufferPicture();
    if (bitmap.Width() == 0)
        return false;
    bitmap.SaveToFile(fileName);
    return true;
}

void TDXApplication::SaveScreenshot() {
    const ClassLib::TBitmap bitmap = BackBufferPicture();
    if (bitmap.Width() == 0)
        return; // the lock failed: no picture this time
    const AnsiString folder = Base::ProgramPath + "Bmp/";
    ClassLib::ForceDirectories(folder);
    ScreenshotCounter = NextScreenshotNumber(folder);
    bitmap.SaveToFile(ScreenshotName(folder, ScreenshotCounter));
    ++ScreenshotCounter;
}

} // namespace DXApp
