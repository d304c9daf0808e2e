// The drawing of each generated sprite library.
#pragma once

#include "tools/content/Library.h"
#include "tools/content/SpellFamilies.h"

namespace Content {

void DrawInterfaceSprites(TLibrary& library);
void DrawCommonSprites(TLibrary& library);
// The mini-map's and the command bar's panels and buttons, in the common library.
void DrawAdventureBars(TLibrary& library);
// The fight screen's buttons, command beams and panels, in the common library.
void DrawFightSprites(TLibrary& library);
// The town screen's banner, frames, buttons, scroll bars and list rows, in the common
// library.
void DrawCitySprites(TLibrary& library);
void DrawFogEdges(TLibrary& library);
void DrawPictures(TLibrary& library);
// Creature kinds first to last (1-based).
void DrawCreatures(TLibrary& library, int first, int last);
// An icon per spell of families (its ID), then the effects each family shares.
void DrawSpells(TLibrary& library, const TSpellFamilies& families);

// The 800 x 600 picture shown while the game data load.
TPicture DrawLoadingPicture();

} // namespace Content
