// PNG pictures of pixels and surfaces, for looking at what was drawn.
#pragma once

#include "platform/AnsiString.h"
#include "platform/DirectDrawSurface.h"

#include <cstdint>
#include <vector>

namespace Tools {

using ClassLib::AnsiString;

// width x height pixels of 0x00RRGGBB, row after row. Raises ClassLib::EFCreateError
// naming the file when it cannot be written.
void SavePng(const AnsiString& fileName, int width, int height, const std::vector<uint32_t>& rgb);
// The whole surface as it would be shown.
void SaveSurfacePng(const AnsiString& fileName, Win32::IDirectDrawSurface7& surface);

} // namespace Tools
