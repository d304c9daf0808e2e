// Contact sheets of the sprite libraries in a "graphics" archive: every sprite, every
// frame, on a neutral background, labelled with its ID.
#pragma once

#include <cstdint>
#include <string>

namespace Content {

struct TSheetOptions {
    uint32_t FirstID = 0;
    uint32_t LastID = UINT32_MAX;
    int MaxFrameSize = 200; // larger frames are shown scaled down to fit
};

// Reads programFolder's "graphics" archive and writes outFolder/<library>.png for every
// ".gfxl" file in it; returns how many sheets it wrote.
int WriteContactSheets(const std::string& programFolder, const std::string& outFolder,
                       const TSheetOptions& options);

} // namespace Content
