// The spell effect families: the colours their icons and effects are drawn in, and which
// family each spell of the spell data belongs to.
#pragma once

#include "tools/content/ContentIds.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace Content {

struct TFamily {
    const char* Name;
    uint32_t Colour; // the glow
    uint32_t Ground; // the icon's background
    uint32_t Core;   // the middle of an effect's glow
};

// In the order the spell data number them: index i is family i + 1, whose sprites are
// 1001 + i and so on. Effects are drawn over the map, so their colours must stand out
// from grass and earth: darkness is a shadow with a dark heart, earth the grey-brown of dust.
inline constexpr std::array<TFamily, EffectFamilies> Families{{
    {"fire", 0xFF8020, 0x6A1A08, 0xFFE8A0},
    {"ice", 0x80D0FF, 0x1A3A6A, 0xF0FFFF},
    {"lightning", 0xC0E0FF, 0x202A50, 0xFFFFFF},
    {"holy light", 0xFFF0A0, 0x6A5A1A, 0xFFFFE8},
    {"darkness", 0x8030C0, 0x1A0A2A, 0x180820},
    {"nature", 0x50E040, 0x1A4A12, 0xD8FFB0},
    {"earth", 0xD0A878, 0x4A3018, 0x483828},
    {"arcane", 0xE060FF, 0x3A1050, 0xFFD8FF},
    {"healing", 0xB0FFD8, 0x1A5A3A, 0xFFFFFF},
    {"wind", 0xD8F0E8, 0x2A4A4A, 0xFFFFFF},
}};

// Spell ID to the index of its family in Families.
using TSpellFamilies = std::map<int, int>;

// Reads the spell records of a spell data file ("spells.txt") and takes each spell's
// family from its effect sprites (cast 1000 + f, flight 1100 + f, impact 1200 + f or
// beam 1300 + f). A spell whose sprites name no family, or two, is an error naming the
// file and the spell, as is a malformed file.
TSpellFamilies ReadSpellFamilies(const std::string& fileName);

} // namespace Content
