// Writes the game's four data archives and data.ini into a program folder.
#pragma once

#include <string>

namespace Content {

// The text data of dataFolder (every ".txt" file, its lines ending in CR LF whatever
// the source's line ends) go into "globals"; the drawn sprite
// libraries (spell icons in the families dataFolder's "spells.txt" gives) and the fonts
// into "graphics"; the synthesised sound libraries into "sounds";
// "scenario" stays empty until scenarios exist. Raises an Exception naming what failed.
void WriteContent(const std::string& dataFolder, const std::string& programFolder);

} // namespace Content
