// The drawing of each generated sprite library.
#pragma once

#include "tools/content/Library.h"

namespace Content {

void DrawInterfaceSprites(TLibrary& library);
void DrawCommonSprites(TLibrary& library);
void DrawFogEdges(TLibrary& library);
void DrawPictures(TLibrary& library);
// Creature kinds first to last (1-based).
void DrawCreatures(TLibrary& library, int first, int last);
void DrawSpells(TLibrary& library);

// The 800 x 600 picture shown while the game data load.
TPicture DrawLoadingPicture();

} // namespace Content
