// The common sprites: selection, owner markers, camps, badges, city decorations, frames
// and the screens' panels.
#include "tools/content/Art.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContentIds.h"
#include "tools/content/WidgetArt.h"

#include <cmath>
#include <string>

namespace Content {

namespace {

using namespace CommonSlot;

constexpr uint32_t Gold = 0xD8B050, Wood = 0x7A5030, Stone = 0x8A8A90;

void Corners(TLibrary& library) {
    // Top-left, top-right, bottom-left, bottom-right: an L of gold inside each corner.
    for (int corner = 0; corner < 4; ++corner) {
        const bool right = corner % 2 == 1, bottom = corner >= 2;
        TCanvas canvas(10, 10);
        cairo_t* cr = canvas.Cr();
        cairo_translate(cr, right ? 10 : 0, bottom ? 10 : 0);
        cairo_scale(cr, right ? -1 : 1, bottom ? -1 : 1);
        cairo_move_to(cr, 1.5, 9);
        cairo_line_to(cr, 1.5, 1.5);
        cairo_line_to(cr, 9, 1.5);
        SetColour(cr, 0x201000);
        cairo_set_line_width(cr, 3);
        cairo_stroke_preserve(cr);
        SetColour(cr, 0xF8D870);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
        library.Add(FirstCorner + uint32_t(corner), {canvas.Picture()}, KeyedOptions());
    }
}

void OwnerMarkers(TLibrary& library) {
    for (int owner = 0; owner < 5; ++owner) {
        const uint32_t colour = PlayerColours[size_t(owner)];
        const auto frames = DrawFrames(48, 48, 4, [&](cairo_t* cr, int frame) {
            const double grow = 1.0 + 0.06 * (frame < 2 ? frame : 4 - frame);
            Ellipse(cr, 24, 36, 19 * grow, 8 * grow);
            SetColour(cr, 0x000000);
            cairo_set_line_width(cr, 4);
            cairo_stroke_preserve(cr);
            SetColour(cr, colour, 1.3);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
        });
        library.Add(FirstOwnerMarker + uint32_t(owner), frames, KeyedOptions(24, 24));
    }
}

// A tent (styles 0-3) or a beast's den (style 4); rise 0..1 is how far it is set up.
void Camp(cairo_t* cr, int style, double rise) {
    Ellipse(cr, 50, 78, 40, 12);
    SetColour(cr, 0x403020, 1.0, 0.8);
    cairo_fill(cr);
    if (style == 4) {
        // A heap of rocks and branches with a dark opening.
        const double h = 12 + 26 * rise;
        cairo_move_to(cr, 14, 80);
        cairo_curve_to(cr, 18, 80 - h, 82, 80 - h, 86, 80);
        cairo_close_path(cr);
        FillOutlined(cr, Stone, 1.5);
        Ellipse(cr, 50, 78, 10, h * 0.35);
        SetColour(cr, 0x100808);
        cairo_fill(cr);
        for (int i = 0; i < 5; ++i) {
            cairo_move_to(cr, 20 + i * 14, 76 - h * 0.5);
            cairo_line_to(cr, 28 + i * 12, 70 - h * 0.9);
        }
        SetColour(cr, 0x4A3018);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        return;
    }
    constexpr uint32_t cloth[4] = {0xE8E0C8, 0xB03830, 0x6A7A3A, 0x3A5A9A};
    const double top = 80 - 50 * rise;
    cairo_move_to(cr, 18, 80);
    cairo_line_to(cr, 50, top);
    cairo_line_to(cr, 82, 80);
    cairo_close_path(cr);
    FillOutlined(cr, cloth[style], 1.5);
    if (style == 1) { // stripes
        for (int i = 1; i < 4; ++i) {
            cairo_move_to(cr, 50, top);
            cairo_line_to(cr, 18 + i * 16, 80);
        }
        SetColour(cr, 0xF0E0C0);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, 44, 80);
    cairo_line_to(cr, 50, 80 - 30 * rise);
    cairo_line_to(cr, 56, 80);
    cairo_close_path(cr);
    SetColour(cr, 0x201008);
    cairo_fill(cr);
    if (rise >= 1) { // pole and pennant
        cairo_move_to(cr, 50, top);
        cairo_line_to(cr, 50, top - 10);
        SetColour(cr, Wood);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        cairo_move_to(cr, 50, top - 10);
        cairo_line_to(cr, 60, top - 7);
        cairo_line_to(cr, 50, top - 4);
        SetColour(cr, cloth[(style + 1) % 4]);
        cairo_fill(cr);
    }
}

void Camps(TLibrary& library) {
    for (int style = 0; style < 5; ++style) {
        library.Add(FirstPitchedCamp + uint32_t(style),
                    DrawFrames(100, 100, 1, [&](cairo_t* cr, int) { Camp(cr, style, 1.0); }),
                    KeyedOptions(50, 60));
        library.Add(FirstSettingUpCamp + uint32_t(style),
                    DrawFrames(100, 100, 4,
                               [&](cairo_t* cr, int frame) { Camp(cr, style, (frame + 1) / 4.0); }),
                    KeyedOptions(50, 60));
    }
}

void Badges(TLibrary& library) {
    TCanvas canvas(BadgeCellWidth * 3, BadgeCellHeight * 5);
    cairo_t* cr = canvas.Cr();
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 9);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 3; ++column) {
            const double x = column * BadgeCellWidth, y = row * BadgeCellHeight;
            RoundedRect(cr, x + 0.5, y + 0.5, BadgeCellWidth - 1, BadgeCellHeight - 1, 3);
            FillOutlined(cr, PlayerColours[size_t(row)], 1);
            const std::string digit = std::to_string(column + 1);
            cairo_text_extents_t extents;
            cairo_text_extents(cr, digit.c_str(), &extents);
            cairo_move_to(cr, x + (BadgeCellWidth - extents.width) / 2 - extents.x_bearing,
                          y + (BadgeCellHeight + extents.height) / 2);
            SetColour(cr, 0xFFFFFF);
            cairo_show_text(cr, digit.c_str());
        }
    library.Add(BadgeSheet, {canvas.Picture()}, KeyedOptions());
}

// Kinds: 0 a waving banner, 1 a watchtower pennant, 2 a shield, 3 a brazier.
void Decoration(cairo_t* cr, int kind, uint32_t colour, int frame) {
    const double wave = std::sin(frame * M_PI / 2) * 2;
    switch (kind) {
    case 0:
        cairo_move_to(cr, 6, 46);
        cairo_line_to(cr, 6, 4);
        SetColour(cr, Wood);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        cairo_move_to(cr, 7, 6);
        cairo_curve_to(cr, 14, 6 + wave, 20, 6 - wave, 26, 7);
        cairo_line_to(cr, 26, 21);
        cairo_curve_to(cr, 20, 20 - wave, 14, 20 + wave, 7, 20);
        cairo_close_path(cr);
        FillOutlined(cr, colour, 1);
        break;
    case 1:
        cairo_rectangle(cr, 8, 20, 14, 28);
        FillOutlined(cr, Stone, 1.2);
        cairo_move_to(cr, 6, 20);
        cairo_line_to(cr, 15, 10);
        cairo_line_to(cr, 24, 20);
        cairo_close_path(cr);
        FillOutlined(cr, colour, 1.2);
        cairo_move_to(cr, 15, 10);
        cairo_line_to(cr, 15, 2);
        SetColour(cr, Wood);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_move_to(cr, 15, 2);
        cairo_line_to(cr, 24, 4 + wave);
        cairo_line_to(cr, 15, 6);
        SetColour(cr, colour, 1.2);
        cairo_fill(cr);
        break;
    case 2:
        cairo_move_to(cr, 4, 14);
        cairo_line_to(cr, 26, 14);
        cairo_curve_to(cr, 26, 30, 20, 40, 15, 44);
        cairo_curve_to(cr, 10, 40, 4, 30, 4, 14);
        cairo_close_path(cr);
        FillOutlined(cr, colour, 1.5);
        cairo_move_to(cr, 15, 18);
        cairo_line_to(cr, 15, 38);
        cairo_move_to(cr, 8, 24);
        cairo_line_to(cr, 22, 24);
        SetColour(cr, Gold);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        break;
    default: {
        cairo_move_to(cr, 9, 48);
        cairo_line_to(cr, 13, 32);
        cairo_line_to(cr, 17, 32);
        cairo_line_to(cr, 21, 48);
        cairo_close_path(cr);
        FillOutlined(cr, 0x505058, 1);
        cairo_rectangle(cr, 7, 28, 16, 5);
        FillOutlined(cr, colour, 1);
        const double flicker = (frame % 2 ? 3 : 0) + wave;
        cairo_move_to(cr, 8, 28);
        cairo_curve_to(cr, 6, 18, 14 + wave, 14 - flicker, 15, 6 - flicker);
        cairo_curve_to(cr, 16, 14, 25, 18, 22, 28);
        cairo_close_path(cr);
        cairo_pattern_t* fire = cairo_pattern_create_linear(0, 28, 0, 6);
        cairo_pattern_add_color_stop_rgb(fire, 0, 1.0, 0.9, 0.3);
        cairo_pattern_add_color_stop_rgb(fire, 1, 0.9, 0.2, 0.05);
        cairo_set_source(cr, fire);
        cairo_fill(cr);
        cairo_pattern_destroy(fire);
    }
    }
}

void Decorations(TLibrary& library) {
    for (int kind = 0; kind < DecorationKinds; ++kind)
        for (int owner = 0; owner < 5; ++owner) {
            const int frames = kind == 2 ? 1 : 4;
            library.Add(FirstDecoration + uint32_t(kind * 5 + owner),
                        DrawFrames(30, 50, frames,
                                   [&](cairo_t* cr, int frame) {
                                       Decoration(cr, kind, PlayerColours[size_t(owner)], frame);
                                   }),
                        KeyedOptions(15, 48));
        }
}

// A square frame of the given colour with a transparent inside.
TPicture Frame(int width, int height, int border, uint32_t colour) {
    TCanvas canvas(width, height);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 0.5, 0.5, width - 1, height - 1, border);
    RoundedRect(cr, border, border, width - 2 * border, height - 2 * border, 1);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    FillOutlined(cr, colour, 1);
    return canvas.Picture();
}

TPicture Frame(int size, int border, uint32_t colour) {
    return Frame(size, size, border, colour);
}

TPicture Panel(int width, int height, uint32_t colour) {
    TCanvas canvas(width, height);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 1, 1, width - 2, height - 2, 6);
    FillOutlined(cr, colour, 2);
    RoundedRect(cr, 5, 5, width - 10, height - 10, 4);
    SetColour(cr, Gold, 1.0, 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    return canvas.Picture();
}

// The group panel's plate for one unit: the portrait's place, the bars' well and a
// column of boxes for the values at the right.
TPicture UnitPanelPlate() {
    TCanvas canvas(238, 104);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 1, 1, 236, 102, 6);
    FillOutlined(cr, 0x3A2A1A, 2);
    RoundedRect(cr, 12, 8, 86, 86, 3); // the portrait's place
    SetColour(cr, 0x20160C);
    cairo_fill(cr);
    RoundedRect(cr, 125, 34, 60, 54, 3); // the bars' well
    SetColour(cr, 0x2A1E12);
    cairo_fill(cr);
    for (int row = 0; row < 5; ++row) {
        RoundedRect(cr, 210.5, 2.5 + 19 * row, 25, 17, 3); // centred on its value
        SetColour(cr, 0x5A4630);
        cairo_fill_preserve(cr);
        SetColour(cr, Gold, 1.0, 0.6);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    RoundedRect(cr, 101.5, 63.5, 25, 15, 3); // the level
    SetColour(cr, 0x5A4630);
    cairo_fill(cr);
    return canvas.Picture();
}

// A spell book's tab in its family's colour with a gold rim.
TPicture BookTab(uint32_t colour) {
    TCanvas canvas(34, 44);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 1, 1, 32, 48, 6);
    FillOutlined(cr, colour, 1.5);
    Ellipse(cr, 17, 14, 5, 5);
    SetColour(cr, Gold);
    cairo_fill(cr);
    return canvas.Picture();
}

void ScreenSprites(TLibrary& library) {
    library.Add(UnitPanel, {UnitPanelPlate()}, KeyedOptions());
    // The size of the unit panel's spell book button, drawn centred on it by the hot spot.
    for (uint32_t slot : {SpellBookButton, SpellBookButtonHover}) {
        library.Add(slot,
                    DrawFrames(28, 28, 1,
                               [&](cairo_t* cr, int) {
                                   RoundedRect(cr, 2, 1, 24, 26, 3);
                                   FillOutlined(cr, slot == SpellBookButton ? 0x5A2A7A : 0x8A4AB0,
                                                1.5);
                                   cairo_move_to(cr, 14, 1);
                                   cairo_line_to(cr, 14, 27);
                                   SetColour(cr, Gold);
                                   cairo_set_line_width(cr, 1.5);
                                   cairo_stroke(cr);
                               }),
                    KeyedOptions(14, 14));
    }
    library.Add(PortraitMark,
                DrawFrames(16, 16, 1,
                           [](cairo_t* cr, int) {
                               cairo_move_to(cr, 3, 8);
                               cairo_line_to(cr, 7, 13);
                               cairo_line_to(cr, 13, 3);
                               SetColour(cr, 0x30D040);
                               cairo_set_line_width(cr, 3);
                               cairo_stroke(cr);
                           }),
                KeyedOptions());
    library.Add(PortraitFrame, {Frame(80, 4, 0x707070)}, KeyedOptions());
    library.Add(PortraitLit, {Frame(80, 4, 0xF8E080)}, KeyedOptions());
    for (int owner = 0; owner < 5; ++owner)
        library.Add(FirstOwnerFrame + uint32_t(owner), {Frame(80, 4, PlayerColours[size_t(owner)])},
                    KeyedOptions());
    library.Add(FaceFrame, {Frame(88, 6, Gold)}, KeyedOptions(4, 4));
    library.Add(IconFrame, {Frame(44, 3, Gold)}, KeyedOptions(2, 2));
    library.Add(DeadCover,
                DrawFrames(16, 16, 1,
                           [](cairo_t* cr, int) {
                               SetColour(cr, 0x400000, 1.0, 0.6);
                               cairo_paint(cr);
                           }),
                BlendedOptions());
    constexpr uint32_t barColours[4] = {0xD03028, 0x40B040, 0xE0C040, 0x4060E0};
    for (uint32_t i = 0; i < 4; ++i)
        library.Add(FirstValueBar + i,
                    DrawFrames(8, 46, 1,
                               [&](cairo_t* cr, int) {
                                   cairo_rectangle(cr, 0.5, 0.5, 7, 45);
                                   FillOutlined(cr, barColours[i], 1);
                               }),
                    KeyedOptions());
    library.Add(ValueBarFrame,
                DrawFrames(8, 46, 1,
                           [](cairo_t* cr, int) {
                               cairo_rectangle(cr, 0.5, 0.5, 7, 45);
                               SetColour(cr, 0x100A06);
                               cairo_fill_preserve(cr);
                               SetColour(cr, Gold, 1.0, 0.5);
                               cairo_set_line_width(cr, 1);
                               cairo_stroke(cr);
                           }),
                KeyedOptions());
    constexpr uint32_t tabColours[4] = {0xA03020, 0x3050B0, 0x3A8A3A, 0x707070};
    for (uint32_t i = 0; i < 4; ++i)
        library.Add(FirstBookTab + i, {BookTab(tabColours[i])}, KeyedOptions());
    library.Add(DetailFrame, {Frame(168, 208, 5, Gold)}, KeyedOptions(4, 4));
    // Effect icon frames by spell group.
    constexpr uint32_t groupColours[4] = {0xC04020, 0x3070C0, 0x40A040, 0x909090};
    for (uint32_t i = 0; i < 4; ++i)
        library.Add(FirstEffectFrame + i, {Frame(22, 3, groupColours[i])}, KeyedOptions());
    // Blended, so that it keeps the surfaces a stretched draw needs (the unit sheet).
    library.Add(Parchment, {DrawParchment(240, 400, 3)}, BlendedOptions());
    library.Add(Roller, DrawRoller(264, 24, true, 4), KeyedOptions());
}

// The map's planned path: an arrow pointing east (the map turns it along each step, so
// it is blended: blended sprites turn about their hot spot),
// green while the points last above the reserve, amber into the reserve, red beyond.
void PathArrows(TLibrary& library) {
    constexpr uint32_t colours[3] = {0x50C040, 0xE0B020, 0xD03020};
    for (uint32_t i = 0; i < 3; ++i)
        library.Add(FirstPathArrow + i,
                    DrawFrames(24, 24, 1,
                               [&](cairo_t* cr, int) {
                                   cairo_move_to(cr, 4, 9);
                                   cairo_line_to(cr, 12, 9);
                                   cairo_line_to(cr, 12, 4);
                                   cairo_line_to(cr, 21, 12);
                                   cairo_line_to(cr, 12, 20);
                                   cairo_line_to(cr, 12, 15);
                                   cairo_line_to(cr, 4, 15);
                                   cairo_close_path(cr);
                                   FillOutlined(cr, colours[i], 1.4);
                               }),
                    BlendedOptions(12, 12));
}

// The screens' slots not drawn above: a plain framed tile each, until the screens that
// use them bring their own art.
void GenericScreenSprites(TLibrary& library) {
    for (uint32_t slot = FirstCorner; slot < Count; ++slot) { // slot 0 has no sprite
        if (library.Has(slot) || (slot >= FirstFogEdge && slot < FirstPitchedCamp))
            continue;
        library.Add(slot, {Panel(32, 32, 0x4A3A2A)}, KeyedOptions());
    }
}

} // namespace

void DrawCommonSprites(TLibrary& library) {
    Corners(library);
    OwnerMarkers(library);
    Camps(library);
    Badges(library);
    Decorations(library);
    ScreenSprites(library);
    PathArrows(library);
    DrawAdventureBars(library);
    DrawFightSprites(library);
    DrawCitySprites(library);
    GenericScreenSprites(library);
}

} // namespace Content
