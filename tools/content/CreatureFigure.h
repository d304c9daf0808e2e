// One creature drawn in one pose, seen from the front, the back or the side (facing right).
#pragma once

#include "tools/content/CreatureKinds.h"

#include <cairo.h>

namespace Content {

enum class TView { Front, Back, Side, SideAway };

struct TPose {
    double Walk = 0; // step phase in turns (0..1); legs swing while Moving
    bool Moving = false;
    double Strike = 0; // 0 weapon ready, 1 struck out
    double Cast = 0;   // 0..1 arms raised, glow in the hand
    double Fall = 0;   // 0 standing, 1 lying dead
    double Bob = 0;    // up and down in units
    double Cheer = 0;  // 0..1 weapon raised high
};

// In units: the ground at y = 0, a man 64 units tall, centred on x = 0; the caller scales.
void DrawFigure(cairo_t* cr, const TCreatureLook& look, TView view, const TPose& pose);

} // namespace Content
