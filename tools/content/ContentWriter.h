// Writes the game's four data archives and data.ini into a program folder.
#pragma once

#include <string>

namespace Content {

// The text data of dataFolder (every ".txt" file) go into "globals"; the drawn sprite
// libraries and the fonts into "graphics"; "scenario" and "sounds" as far as content
// exists for them. Raises an Exception naming what failed.
void WriteContent(const std::string& dataFolder, const std::string& programFolder);

} // namespace Content
