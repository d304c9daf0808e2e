// The program's one Direct3D framework: created by start-up, deleted when the window
// goes. Sprites and fonts test it before they touch the device: null means no display.
#pragma once

#include "engine/app/D3DFramework.h"

#include <memory>

namespace D3DFrame {

extern std::unique_ptr<TD3DFramework> D3DFramework;

} // namespace D3DFrame
