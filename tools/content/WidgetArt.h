// The parchment, roller and book pictures of the game's windows.
#pragma once

#include "tools/SpriteWriter.h"

#include <vector>

namespace Content {

Tools::TPicture DrawParchment(int width, int height, uint32_t seed);
// Animated frames of a roller: horizontal (across a vertical scroll) or vertical.
std::vector<Tools::TPicture> DrawRoller(int width, int height, bool horizontal, int frames);
// The book in four stages from closed to open; the open pages are transparent.
std::vector<Tools::TPicture> DrawBook(int width, int height);

} // namespace Content
