// The fight screen's own art: its three command buttons, the beams of planned
// commands, the mark of a spell a fighter casts on itself, and the unit panels of its
// two sides.
#include "tools/content/Art.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContentIds.h"

#include <cmath>

namespace Content {

namespace {

using namespace CommonSlot;

constexpr uint32_t Gold = 0xD8B050, Bark = 0x3A2A1A, Well = 0x20160C, Plate = 0x5A4630;
constexpr int ButtonSize = 56;

void Stroke(cairo_t* cr, uint32_t colour, double width) {
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// Two crossed swords: the commands as they stand.
void Swords(cairo_t* cr, uint32_t colour) {
    for (const double side : {-1.0, 1.0}) {
        cairo_move_to(cr, 28 - 14 * side, 14);
        cairo_line_to(cr, 28 + 11 * side, 39);
        Stroke(cr, colour, 3.5);
        cairo_move_to(cr, 28 + 5 * side, 38);
        cairo_line_to(cr, 28 + 16 * side, 29);
        Stroke(cr, colour, 3);
    }
}

// A cog: the computer chooses.
void Cog(cairo_t* cr, uint32_t colour) {
    for (int tooth = 0; tooth < 8; ++tooth) {
        const double a = tooth * M_PI / 4;
        cairo_move_to(cr, 28 + 9 * std::cos(a), 28 + 9 * std::sin(a));
        cairo_line_to(cr, 28 + 15 * std::cos(a), 28 + 15 * std::sin(a));
    }
    Stroke(cr, colour, 5);
    Ellipse(cr, 28, 28, 10, 10);
    Stroke(cr, colour, 4);
}

// A white flag on its pole: leave the field.
void Flag(cairo_t* cr, uint32_t colour) {
    cairo_move_to(cr, 19, 44);
    cairo_line_to(cr, 19, 12);
    Stroke(cr, colour, 3);
    cairo_move_to(cr, 20, 13);
    cairo_curve_to(cr, 28, 9, 32, 17, 40, 13);
    cairo_line_to(cr, 40, 29);
    cairo_curve_to(cr, 32, 33, 28, 25, 20, 29);
    cairo_close_path(cr);
    SetColour(cr, 0xF0F0E8);
    cairo_fill_preserve(cr);
    Stroke(cr, colour, 1.5);
}

// A shield-round button, dark when plain and brighter with a light symbol when lit.
template <typename Symbol>
std::vector<TPicture> FightButton(bool lit, Symbol symbol) {
    return DrawFrames(ButtonSize, ButtonSize, 1, [&](cairo_t* cr, int) {
        Ellipse(cr, 28, 28, 26, 26);
        FillOutlined(cr, lit ? 0x8A6A3A : 0x5A4024, 2.5);
        Ellipse(cr, 28, 28, 22, 22);
        SetColour(cr, Gold, 1.0, lit ? 0.9 : 0.5);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        symbol(cr, lit ? 0xFFE890 : Gold);
    });
}

// Beams stretched between two fighters: a band across that pulses as it animates.
std::vector<TPicture> BeamFrames(uint32_t colour) {
    return DrawFrames(16, 8, 4, [&](cairo_t* cr, int frame) {
        const double glow = 0.7 + 0.3 * std::cos(frame * M_PI / 2);
        cairo_pattern_t* band = cairo_pattern_create_linear(0, 0, 0, 8);
        cairo_pattern_add_color_stop_rgba(band, 0, 0, 0, 0, 0);
        cairo_pattern_add_color_stop_rgba(band, 0.5, (colour >> 16) / 255.0,
                                          (colour >> 8 & 0xFF) / 255.0, (colour & 0xFF) / 255.0,
                                          glow);
        cairo_pattern_add_color_stop_rgba(band, 1, 0, 0, 0, 0);
        cairo_set_source(cr, band);
        cairo_paint(cr);
        cairo_pattern_destroy(band);
    });
}

// A ring of sparks turning round the fighter's feet.
std::vector<TPicture> SelfSpellFrames() {
    return DrawFrames(64, 32, 4, [](cairo_t* cr, int frame) {
        Ellipse(cr, 32, 16, 28, 12);
        SetColour(cr, 0x60B0FF, 1.0, 0.7);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        for (int spark = 0; spark < 6; ++spark) {
            const double a = (spark + frame / 4.0) * M_PI / 3;
            Ellipse(cr, 32 + 28 * std::cos(a), 16 + 12 * std::sin(a), 3, 3);
            SetColour(cr, 0xD0F0FF);
            cairo_fill(cr);
        }
    });
}

// A fight panel: the portrait's place, the bars' well, the row of four values under
// them and the level; the picture starts offset pixels left of the panel.
struct TPanelPlan {
    int Width, Offset, PortraitX, BarsX, RowX, LevelX, LevelY;
};

TPicture FightPanel(const TPanelPlan& plan) {
    TCanvas canvas(plan.Width, 132);
    cairo_t* cr = canvas.Cr();
    const double o = plan.Offset;
    RoundedRect(cr, 1, 1, plan.Width - 2, 130, 6);
    FillOutlined(cr, Bark, 2);
    RoundedRect(cr, o + plan.PortraitX - 3, 8, 86, 86, 3);
    SetColour(cr, Well);
    cairo_fill(cr);
    RoundedRect(cr, o + plan.BarsX - 4, 34, 64, 68, 3);
    SetColour(cr, 0x2A1E12);
    cairo_fill(cr);
    for (int value = 0; value < 4; ++value) {
        RoundedRect(cr, o + plan.RowX + 35 * value - 15.5, 105.5, 31, 17, 3);
        SetColour(cr, Plate);
        cairo_fill_preserve(cr);
        SetColour(cr, Gold, 1.0, 0.6);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    RoundedRect(cr, o + plan.LevelX - 12.5, plan.LevelY - 7.5, 25, 15, 3);
    SetColour(cr, Plate);
    cairo_fill(cr);
    return canvas.Picture();
}

} // namespace

void DrawFightSprites(TLibrary& library) {
    const auto add = [&](uint32_t normal, auto symbol) {
        library.Add(normal, FightButton(false, symbol),
                    KeyedOptions(ButtonSize / 2, ButtonSize / 2));
        library.Add(normal + FightButtonLitOffset, FightButton(true, symbol),
                    KeyedOptions(ButtonSize / 2, ButtonSize / 2));
    };
    add(AutoButton, Cog);
    add(FleeButton, Flag);
    add(AcceptButton, Swords);
    library.Add(AttackBeam, BeamFrames(0xFF4020), GlowOptions());
    library.Add(OtherBeam, BeamFrames(0x40A0FF), GlowOptions());
    // Blended: it is drawn squeezed, turning about its hot spot.
    library.Add(SelfSpell, SelfSpellFrames(), BlendedOptions(32, 16));
    // The left panel's picture reaches 6 pixels past the panel's left edge.
    library.Add(UnitPanelWide, {FightPanel({201, 6, 100, 10, 25, 90, 70})}, KeyedOptions());
    library.Add(UnitPanelSmall, {FightPanel({194, 0, 15, 130, 76, 115, 71})}, KeyedOptions());
}

} // namespace Content
