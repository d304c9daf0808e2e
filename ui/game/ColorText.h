// The briefing mark-up: "<N>", "<B>" and "<I>" switch between the normal, bold and
// italic fonts, "<RGB(r,g,b)>" sets the colour; any other "<" starts a three-character
// tag that is dropped.
#pragma once

#include "engine/graphics/GfxColorText.h"

#include <string_view>

namespace Main {

// Appends the text's runs to target, word-wrapped to width as one flow that starts in
// the normal font and black. A malformed colour tag is kept as text, so a faulty
// briefing still reads; colour components are clamped to 0..255.
void ParseColorText(std::string_view text, Gfx::TColorText& target, int32_t width,
                    const Gfx::TFont& normalFont, const Gfx::TFont& fontB, const Gfx::TFont& fontI);

} // namespace Main
