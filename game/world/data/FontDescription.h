// One font the game may use: its file in the "graphics" archive and, while anyone
// holds it, the font made from it.
#pragma once

#include <cstdint>

namespace Gfx {
class TFont;
}

namespace Data2 {

constexpr int FileNameSize = 128;

struct TFontDescription {
    char FileName[FileNameSize];
    int32_t ID;
    int32_t RefCount; // holders of Font
    Gfx::TFont* Font; // owned by the global data; null while RefCount is 0
};

} // namespace Data2
