// The town screen's own sprites: the caption's banner, the frame round a merchant's
// portrait, the text buttons' plate, the panels' expand buttons and scroll bars, and the
// merchants' list rows, spell frames and empty portrait cells.
#include "tools/content/Art.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContentIds.h"

#include <cmath>

namespace Content {

namespace {

using namespace CommonSlot;

constexpr uint32_t Gold = 0xD8B050, Wood = 0x6A4428, DarkWood = 0x3A2614, Cloth = 0x7A1E1A;

void GoldLine(cairo_t* cr, double alpha, double width) {
    SetColour(cr, Gold, 1.0, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// A red cloth banner with swallow-tailed ends and a gold hem; the caption is light.
TPicture BannerPicture() {
    TCanvas canvas(300, 36);
    cairo_t* cr = canvas.Cr();
    cairo_move_to(cr, 1, 3);
    cairo_line_to(cr, 299, 3);
    cairo_line_to(cr, 286, 18);
    cairo_line_to(cr, 299, 33);
    cairo_line_to(cr, 1, 33);
    cairo_line_to(cr, 14, 18);
    cairo_close_path(cr);
    FillOutlined(cr, Cloth, 2);
    cairo_rectangle(cr, 22.5, 6.5, 255, 23);
    GoldLine(cr, 0.7, 1);
    return canvas.Picture();
}

// A carved wooden frame of 198 x 148 round the 180 x 130 portrait at (9, 9); its
// middle stays clear, so the portrait shows whichever is drawn first.
TPicture FramePicture() {
    constexpr int Width = 198, Height = 148;
    TCanvas canvas(Width, Height);
    cairo_t* cr = canvas.Cr();
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    RoundedRect(cr, 0.5, 0.5, Width - 1, Height - 1, 6);
    cairo_rectangle(cr, 9, 9, Width - 18, Height - 18);
    FillOutlined(cr, Wood, 1.5);
    cairo_rectangle(cr, 7.5, 7.5, Width - 15, Height - 15);
    GoldLine(cr, 0.9, 1.5);
    for (const double x : {4.5, Width - 4.5})
        for (const double y : {4.5, Height - 4.5}) {
            Ellipse(cr, x, y, 2.5, 2.5);
            SetColour(cr, Gold);
            cairo_fill(cr);
        }
    return canvas.Picture();
}

// The plate under a text button: dark wood with a gold rim.
TPicture PlatePicture() {
    TCanvas canvas(160, 40);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 1, 1, 158, 38, 5);
    FillOutlined(cr, DarkWood, 2);
    RoundedRect(cr, 4.5, 4.5, 151, 31, 3);
    GoldLine(cr, 0.6, 1);
    return canvas.Picture();
}

// A 15 x 26 button with a chevron up (expand) or down (collapse).
TPicture ChevronButton(bool up, bool lit) {
    TCanvas canvas(15, 26);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 0.5, 0.5, 14, 25, 3);
    FillOutlined(cr, lit ? 0x8A6A3A : 0x5A4024, 1);
    const double tip = up ? 9 : 17, base = up ? 16 : 10;
    cairo_move_to(cr, 3.5, base);
    cairo_line_to(cr, 7.5, tip);
    cairo_line_to(cr, 11.5, base);
    SetColour(cr, lit ? 0xFFE890 : Gold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    return canvas.Picture();
}

// The arrows of the panels' 15-pixel scroll bars by state: normal, hover, pressed,
// disabled.
TPicture ScrollArrow(bool up, int state) {
    constexpr uint32_t faces[4] = {0x5A4024, 0x8A6A3A, 0x3A2616, 0x4A4440};
    constexpr uint32_t marks[4] = {Gold, 0xFFE890, 0xB89040, 0x807870};
    TCanvas canvas(15, 15);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 0.5, 0.5, 14, 14, 2);
    FillOutlined(cr, faces[state], 1);
    const double shift = state == 2 ? 1 : 0;
    const double tip = (up ? 4 : 11) + shift, base = (up ? 10 : 5) + shift;
    cairo_move_to(cr, 3 + shift, base);
    cairo_line_to(cr, 7.5 + shift, tip);
    cairo_line_to(cr, 12 + shift, base);
    cairo_close_path(cr);
    SetColour(cr, marks[state]);
    cairo_fill(cr);
    return canvas.Picture();
}

// The thumb is stretched along the bar: ridges in the middle keep their look.
TPicture ScrollThumb(int state) {
    constexpr uint32_t faces[3] = {0x7A5A34, 0x9A7A4A, 0x5A4024};
    TCanvas canvas(15, 30);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 1.5, 0.5, 12, 29, 3);
    FillOutlined(cr, faces[state], 1);
    for (int ridge = 0; ridge < 3; ++ridge) {
        cairo_move_to(cr, 4.5, 11.5 + 3 * ridge);
        cairo_line_to(cr, 10.5, 11.5 + 3 * ridge);
    }
    GoldLine(cr, 0.8, 1);
    return canvas.Picture();
}

TPicture ScrollTrack() {
    TCanvas canvas(15, 64);
    cairo_t* cr = canvas.Cr();
    cairo_rectangle(cr, 0, 0, 15, 64);
    SetColour(cr, 0x1E140C);
    cairo_fill(cr);
    cairo_move_to(cr, 7.5, 0);
    cairo_line_to(cr, 7.5, 64);
    SetColour(cr, 0x4A3420);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    return canvas.Picture();
}

// Stretched to 725 x 72 behind a merchant's offer: parchment-brown with a rim.
TPicture RowPicture() {
    TCanvas canvas(145, 72);
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, 0, 0, 72);
    cairo_pattern_add_color_stop_rgb(shade, 0, 0.30, 0.22, 0.14);
    cairo_pattern_add_color_stop_rgb(shade, 1, 0.20, 0.14, 0.08);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    cairo_rectangle(cr, 0.5, 0.5, 144, 71);
    SetColour(cr, 0x140C06);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_move_to(cr, 2, 1.5);
    cairo_line_to(cr, 143, 1.5);
    GoldLine(cr, 0.35, 1);
    return canvas.Picture();
}

// A 72 x 72 frame round a spell's icon; the four tell the spell lists' ranges apart.
TPicture SpellFrame(uint32_t colour) {
    TCanvas canvas(72, 72);
    cairo_t* cr = canvas.Cr();
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    RoundedRect(cr, 1, 1, 70, 70, 6);
    RoundedRect(cr, 12, 12, 48, 48, 2);
    FillOutlined(cr, colour, 1.5);
    RoundedRect(cr, 14.5, 14.5, 43, 43, 2);
    SetColour(cr, 0x000000, 1.0, 0.35);
    cairo_fill(cr);
    RoundedRect(cr, 4.5, 4.5, 63, 63, 4);
    GoldLine(cr, 0.7, 1);
    return canvas.Picture();
}

// An empty portrait cell: a dark recess with a faint figure.
TPicture CellPicture() {
    TCanvas canvas(80, 80);
    cairo_t* cr = canvas.Cr();
    cairo_rectangle(cr, 0, 0, 80, 80);
    SetColour(cr, 0x1A120C);
    cairo_fill(cr);
    Ellipse(cr, 40, 30, 11, 13);
    cairo_move_to(cr, 18, 76);
    cairo_curve_to(cr, 20, 50, 60, 50, 62, 76);
    cairo_close_path(cr);
    SetColour(cr, 0x3A2C20);
    cairo_fill(cr);
    cairo_rectangle(cr, 1, 1, 78, 78);
    GoldLine(cr, 0.4, 2);
    return canvas.Picture();
}

} // namespace

void DrawCitySprites(TLibrary& library) {
    library.Add(CaptionBanner, {BannerPicture()}, KeyedOptions());
    library.Add(MerchantFrame, {FramePicture()}, KeyedOptions());
    library.Add(MenuButton, {PlatePicture()}, KeyedOptions());
    library.Add(ExpandButton, {ChevronButton(true, false)}, KeyedOptions());
    library.Add(ExpandButton + 1, {ChevronButton(true, true)}, KeyedOptions());
    library.Add(CollapseButton, {ChevronButton(false, false)}, KeyedOptions());
    library.Add(CollapseButton + 1, {ChevronButton(false, true)}, KeyedOptions());
    for (int state = 0; state < 4; ++state) {
        library.Add(FirstScrollPart + uint32_t(state), {ScrollArrow(true, state)}, KeyedOptions());
        library.Add(FirstScrollPart + 4 + uint32_t(state), {ScrollArrow(false, state)},
                    KeyedOptions());
    }
    for (int state = 0; state < 3; ++state)
        library.Add(FirstScrollPart + 8 + uint32_t(state), {ScrollThumb(state)}, KeyedOptions());
    library.Add(FirstScrollPart + 11, {ScrollThumb(0)}, KeyedOptions()); // the spare
    library.Add(FirstScrollPart + 12, {ScrollTrack()}, KeyedOptions());
    // Blended, so that they keep the surfaces a stretched draw needs.
    library.Add(ListRow, {RowPicture()}, BlendedOptions());
    constexpr uint32_t frameColours[4] = {0x8A6A3A, 0x3A5A8A, 0x3A7A4A, 0x7A3A6A};
    for (uint32_t i = 0; i < 4; ++i)
        library.Add(FirstSpellFrame + i, {SpellFrame(frameColours[i])}, BlendedOptions());
    library.Add(PortraitCell, {CellPicture()}, KeyedOptions());
}

} // namespace Content
