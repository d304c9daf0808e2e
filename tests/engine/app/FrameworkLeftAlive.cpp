// A program that ends while the Direct3D framework still exists in full screen: the
// framework is torn down with the program's other statics, after the desktop it uses.
#include "engine/app/D3DFramework.h"

#include <cstdlib>
#include <iostream>

namespace {
bool Accept16Bit(const Win32::DDSURFACEDESC2& mode) {
    return mode.ddpfPixelFormat.dwRGBBitCount == 16;
}
} // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    D3DFrame::D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(nullptr, "Varnholt", 0x03,
                                                                       800, 600, 16, Accept16Bit);
    D3DFrame::D3DFramework->SetFullScreen(-1, -1, -1);
    std::cout << "full screen" << std::endl;
    return 0;
}
