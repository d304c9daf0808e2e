// PNG pictures in and out, through libpng.
#pragma once

#include "tools/SpriteWriter.h"

namespace Tools {

// The picture in the file as 0xAARRGGBB pixels; an unreadable file raises an
// Exception naming it.
TPicture LoadPng(const AnsiString& fileName);
void SavePng(const AnsiString& fileName, const TPicture& picture);

} // namespace Tools
