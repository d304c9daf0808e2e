// Pictures for gamewidgets-test, drawn pixel by pixel: parchments and rollers for
// the scroll windows, a book in four stages, and the sprites of the buttons, scroll
// bars and check boxes. Pixels are 0xAARRGGBB; alpha below 128 is transparent.
#pragma once

#include "tools/SpriteWriter.h"

#include <vector>

namespace GameWidgetsArt {

using Tools::TPicture;

TPicture Parchment(int width, int height);
// A wooden rod with turned ends across (horizontal) or along (vertical) the picture;
// its grain moves from frame to frame as it turns.
std::vector<TPicture> Roller(int width, int height, bool horizontal, int frames);
// Closed, cover lifting, cover open over the left page, both pages open; the pages
// the window draws itself are left transparent.
std::vector<TPicture> Book(int width, int height);
TPicture TooltipBackground();
// The mouse pointer: an arrow with its tip at (1, 1), gold with a dark outline.
TPicture PointerCursor();

// A round gem on a stone plate: normal, glowing (frames), pressed, greyed.
TPicture GemButton(int size, uint32_t gem, double glow, int pressedShift, bool grey);
// Scroll bar parts in the direction 0 up, 1 down, 2 left, 3 right.
TPicture Arrow(int size, int direction, uint32_t face);
TPicture Thumb(int width, int height, uint32_t face);
TPicture Track(int width, int height);
TPicture Plank(int width, int height);
TPicture Shield(int size);
TPicture CheckBox(int size, bool checked, uint32_t face);

} // namespace GameWidgetsArt
