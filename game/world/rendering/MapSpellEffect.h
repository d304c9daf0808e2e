// A spell's visual played over the map. The spells' library supplies the effects;
// the map only asks the one playing to draw itself.
#pragma once

#include "platform/display/DirectDrawSurface.h"

namespace GameData {

class TMapSpellEffect {
public:
    virtual ~TMapSpellEffect() = default;
    // (offsetX, offsetY) is added to map pixels to reach the target's pixels.
    virtual void Draw(Win32::IDirectDrawSurface7* target, int offsetX, int offsetY,
                      const Win32::RECT& clip) = 0;
};

} // namespace GameData
