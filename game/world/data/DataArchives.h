// The four content archives and the folder of saved games, opened once at start-up
// after the data path is known.
#pragma once

#include "engine/core/Archive.h"

#include <memory>

namespace Data2 {

// Null until OpenDataArchives.
extern std::unique_ptr<Data::TArchive> GlobalsArchive;  // text data files
extern std::unique_ptr<Data::TArchive> GraphicsArchive; // sprite libraries and fonts
extern std::unique_ptr<Data::TArchive> ScenarioArchive; // scenario files and their resources
extern std::unique_ptr<Data::TArchive> SoundsArchive;   // sound libraries

// DataPath + "Save/"; empty until OpenDataArchives.
extern ClassLib::AnsiString SavePath;

// Sets SavePath (making the folder when missing), then opens "globals", "graphics",
// "scenario" and "sounds" in that order, each kept as soon as it is open; a missing
// one raises "Archive '%s' not found." and leaves the earlier ones open.
void OpenDataArchives();
void CloseDataArchives();

} // namespace Data2
