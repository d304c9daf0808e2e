// Spell icons and the glowing cast, flight and impact sprites the spell families share.
#include "tools/content/Art.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContentIds.h"
#include "tools/content/SpellFamilies.h"
#include "tools/content/Variety.h"

#include <array>
#include <cmath>
#include <map>
#include <utility>

namespace Content {

namespace {

void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points) {
    for (int i = 0; i < points * 2; ++i) {
        const double a = -M_PI / 2 + i * M_PI / points;
        const double r = i % 2 ? inner : outer;
        if (i == 0)
            cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        else
            cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

// The family's symbol around (20, 20), in 40 x 40.
void Symbol(cairo_t* cr, int family, uint32_t colour) {
    switch (family) {
    case 0: // flame
        cairo_move_to(cr, 20, 6);
        cairo_curve_to(cr, 30, 16, 30, 26, 27, 31);
        cairo_curve_to(cr, 24, 35, 16, 35, 13, 31);
        cairo_curve_to(cr, 10, 26, 12, 18, 20, 6);
        break;
    case 1: // snowflake
        for (int i = 0; i < 3; ++i) {
            const double a = i * M_PI / 3;
            cairo_move_to(cr, 20 - 13 * std::cos(a), 20 - 13 * std::sin(a));
            cairo_line_to(cr, 20 + 13 * std::cos(a), 20 + 13 * std::sin(a));
        }
        SetColour(cr, colour);
        cairo_set_line_width(cr, 3.5);
        cairo_stroke(cr);
        Ellipse(cr, 20, 20, 4, 4);
        break;
    case 3: // sun
        Star(cr, 20, 20, 15, 9, 8);
        break;
    case 4: // crescent
        cairo_arc(cr, 20, 20, 13, 0.6, 2 * M_PI - 0.6);
        cairo_arc_negative(cr, 25, 20, 9, 2 * M_PI - 1.2, 1.2);
        cairo_close_path(cr);
        break;
    case 5: // leaf
        cairo_move_to(cr, 8, 32);
        cairo_curve_to(cr, 8, 14, 22, 6, 33, 7);
        cairo_curve_to(cr, 33, 20, 26, 32, 8, 32);
        break;
    case 6: // rock
        cairo_move_to(cr, 8, 30);
        cairo_line_to(cr, 12, 16);
        cairo_line_to(cr, 22, 9);
        cairo_line_to(cr, 32, 17);
        cairo_line_to(cr, 33, 30);
        cairo_close_path(cr);
        break;
    case 7: // rune star
        Star(cr, 20, 20, 15, 6, 5);
        break;
    case 8: // cross
        cairo_rectangle(cr, 16, 7, 8, 26);
        cairo_rectangle(cr, 7, 16, 26, 8);
        break;
    case 2: // bolt
        cairo_move_to(cr, 23, 5);
        cairo_line_to(cr, 11, 22);
        cairo_line_to(cr, 19, 22);
        cairo_line_to(cr, 15, 35);
        cairo_line_to(cr, 29, 16);
        cairo_line_to(cr, 21, 16);
        cairo_close_path(cr);
        break;
    case 9: // gust
        for (int i = 0; i < 3; ++i) {
            cairo_move_to(cr, 7, 12 + i * 8);
            cairo_curve_to(cr, 16, 8 + i * 8, 24, 16 + i * 8, 33 - i * 3, 10 + i * 8);
        }
        SetColour(cr, colour);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        Ellipse(cr, 33, 10, 2, 2);
        break;
    }
    FillOutlined(cr, colour, 1.2);
}

// rank tells apart the map (or battle) spells of one family: one to seven dots, white for the
// first seven spells, then amber, then sky blue.
TPicture Icon(int spell, int familyIndex, int rank) {
    const TFamily& family = Families[size_t(familyIndex)];
    TCanvas canvas(40, 40);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 0.5, 0.5, 39, 39, 4);
    FillOutlined(cr, family.Ground, 1);
    // Battle spells (65 up) have a silver rim, map spells a gold one.
    RoundedRect(cr, 2, 2, 36, 36, 3);
    SetColour(cr, spell >= 65 ? 0xC0C8D8 : 0xD8B050);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Symbol(cr, familyIndex, family.Colour);
    constexpr int MostDots = 7;
    constexpr std::array<uint32_t, 3> DotColours{0xFFFFFF, 0xFFB030, 0x60C8FF};
    for (int i = 0; i <= rank % MostDots; ++i) {
        Ellipse(cr, 7 + i * 5, 34, 1.6, 1.6);
        SetColour(cr, DotColours[size_t(rank / MostDots) % DotColours.size()]);
        cairo_fill(cr);
    }
    return canvas.Picture();
}

void Glow(cairo_t* cr, double x, double y, double radius, const TFamily& family, double strength) {
    if (radius <= 0)
        return;
    const auto channel = [](uint32_t colour, int shift) {
        return (colour >> shift & 0xFF) / 255.0;
    };
    cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    cairo_pattern_add_color_stop_rgba(glow, 0, channel(family.Core, 16), channel(family.Core, 8),
                                      channel(family.Core, 0), strength);
    const double r = channel(family.Colour, 16), g = channel(family.Colour, 8),
                 b = channel(family.Colour, 0);
    cairo_pattern_add_color_stop_rgba(glow, 0.4, r, g, b, strength * 0.7);
    cairo_pattern_add_color_stop_rgba(glow, 1, r, g, b, 0);
    cairo_set_source(cr, glow);
    Ellipse(cr, x, y, radius, radius);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

// Sparks gathering into the caster's hands.
std::vector<TPicture> Cast(int family) {
    const TFamily& colour = Families[size_t(family)];
    return DrawFrames(64, 64, 6, [&](cairo_t* cr, int frame) {
        TVariety variety(uint32_t(100 + family));
        const double t = frame / 5.0;
        for (int i = 0; i < 14; ++i) {
            const double angle = variety.Real(0, 2 * M_PI) + t * 2;
            const double distance = variety.Real(14, 30) * (1 - t * 0.8);
            Glow(cr, 32 + std::cos(angle) * distance, 32 + std::sin(angle) * distance,
                 variety.Real(3, 6), colour, 0.9);
        }
        Glow(cr, 32, 32, 6 + t * 12, colour, 0.5 + t * 0.5);
    });
}

// A flickering orb with a short trail behind it. It flies upwards: the map turns a
// missile from pointing north to its heading.
std::vector<TPicture> Flight(int family) {
    const TFamily& colour = Families[size_t(family)];
    return DrawFrames(40, 40, 4, [&](cairo_t* cr, int frame) {
        for (int i = 4; i >= 1; --i)
            Glow(cr, 20 + ((frame + i) % 2 ? 1 : -1), 20 + i * 4.0, 9 - i * 1.5, colour, 0.6);
        Glow(cr, 20, 20, 11 + (frame % 2) * 2, colour, 1.0);
    });
}

// A burst that swells and fades.
std::vector<TPicture> Impact(int family) {
    const TFamily& colour = Families[size_t(family)];
    return DrawFrames(96, 96, 6, [&](cairo_t* cr, int frame) {
        const double t = (frame + 1) / 6.0;
        const double fade = 1 - t * 0.8;
        Glow(cr, 48, 48, 12 + t * 34, colour, fade);
        TVariety variety(uint32_t(200 + family));
        for (int i = 0; i < 10; ++i) {
            const double angle = variety.Real(0, 2 * M_PI);
            const double distance = t * variety.Real(20, 44);
            Glow(cr, 48 + std::cos(angle) * distance, 48 + std::sin(angle) * distance,
                 variety.Real(3, 7) * fade + 1, colour, fade);
        }
    });
}

// A stream flowing from the foot of the sprite to its top: a soft core with streaks
// that move up a little each frame.
std::vector<TPicture> Beam(int family) {
    const uint32_t colour = Families[size_t(family)].Colour;
    const double r = (colour >> 16) / 255.0, g = (colour >> 8 & 0xFF) / 255.0,
                 b = (colour & 0xFF) / 255.0;
    return DrawFrames(40, 96, 6, [&](cairo_t* cr, int frame) {
        // Drawn into a group that fades out at both ends and the sides.
        cairo_push_group(cr);
        cairo_pattern_t* core = cairo_pattern_create_linear(0, 0, 40, 0);
        cairo_pattern_add_color_stop_rgba(core, 0.05, r, g, b, 0);
        cairo_pattern_add_color_stop_rgba(core, 0.5, r, g, b, 0.4);
        cairo_pattern_add_color_stop_rgba(core, 0.95, r, g, b, 0);
        cairo_set_source(cr, core);
        cairo_rectangle(cr, 0, 0, 40, 96);
        cairo_fill(cr);
        cairo_pattern_destroy(core);
        TVariety variety(uint32_t(300 + family));
        cairo_set_line_width(cr, 2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int i = 0; i < 6; ++i) {
            const double x = 8 + i * 4.8, phase = variety.Real(0, 2 * M_PI);
            const double dashes[] = {variety.Real(10, 18), variety.Real(6, 12)};
            cairo_set_dash(cr, dashes, 2, 100 - frame * 6.0 + variety.Real(0, 20));
            cairo_move_to(cr, x, 96);
            for (int y = 92; y >= 0; y -= 4)
                cairo_line_to(cr, x + 2.5 * std::sin(y / 12.0 + phase), y);
            SetColour(cr, colour, 1.0, 0.85);
            cairo_stroke(cr);
        }
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_pop_group_to_source(cr);
        cairo_pattern_t* ends = cairo_pattern_create_linear(0, 0, 0, 96);
        cairo_pattern_add_color_stop_rgba(ends, 0, 0, 0, 0, 0);
        cairo_pattern_add_color_stop_rgba(ends, 0.2, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(ends, 0.8, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(ends, 1, 0, 0, 0, 0);
        cairo_mask(cr, ends);
        cairo_pattern_destroy(ends);
    });
}

} // namespace

void DrawSpells(TLibrary& library, const TSpellFamilies& families) {
    // Spells in ID order: each is ranked among the spells of its family and kind.
    std::map<std::pair<int, bool>, int> ranks;
    for (const auto& [spell, family] : families)
        library.Add(uint32_t(spell), {Icon(spell, family, ranks[{family, spell >= 65}]++)},
                    KeyedOptions());
    for (int family = 0; family < EffectFamilies; ++family) {
        library.Add(FirstCastEffect + uint32_t(family), Cast(family), BlendedOptions(32, 32));
        library.Add(FirstFlightEffect + uint32_t(family), Flight(family), BlendedOptions(20, 20));
        library.Add(FirstImpactEffect + uint32_t(family), Impact(family), BlendedOptions(48, 48));
        library.Add(FirstBeamEffect + uint32_t(family), Beam(family), BlendedOptions(20, 48));
    }
}

} // namespace Content
