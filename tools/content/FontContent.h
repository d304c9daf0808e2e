// The game's fonts rasterised from DejaVu, as "fontNN.fnt" files by description ID.
#pragma once

#include "tools/ArchiveWriter.h"

#include <string>

namespace Content {

// "font01.fnt" for description 1.
std::string FontFileName(int descriptionID);
// Every font file added to the archive.
void AddFonts(Tools::TArchiveWriter& archive);

} // namespace Content
