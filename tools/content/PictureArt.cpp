// Landscapes for the screens' pictures and the loading picture; the widget pictures.
#include "tools/content/Art.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContentIds.h"
#include "tools/content/Variety.h"
#include "tools/content/WidgetArt.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Content {

namespace {

struct TMood {
    uint32_t SkyTop, SkyBottom, Far, Near, Ground, Light;
};

// Dawn, day, dusk, night, winter, autumn.
constexpr std::array<TMood, 6> Moods{{
    {0x3A4A80, 0xF0B080, 0x7A6A90, 0x4A4A60, 0x3A5030, 0xFFE0A0},
    {0x3A78C8, 0xB8D8F0, 0x7090B0, 0x4A6A50, 0x4A7A30, 0xFFFFE0},
    {0x2A2050, 0xE07840, 0x6A4060, 0x3A2A40, 0x2A3020, 0xFFC060},
    {0x080C20, 0x283060, 0x283048, 0x181C30, 0x101810, 0xE0E8FF},
    {0x6080B0, 0xE0E8F0, 0xA0B0C8, 0x8090A8, 0xE8ECF0, 0xFFFFFF},
    {0x5068A0, 0xE8C890, 0x8A7060, 0x6A4A30, 0x8A5A20, 0xFFE8B0},
}};

void Sky(cairo_t* cr, int width, int height, const TMood& mood) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, height * 0.7);
    const auto stop = [&](double at, uint32_t rgb) {
        cairo_pattern_add_color_stop_rgb(sky, at, (rgb >> 16 & 0xFF) / 255.0,
                                         (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
    };
    stop(0, mood.SkyTop);
    stop(1, mood.SkyBottom);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    (void)width;
}

// A jagged ridge from left to right around height base, filled down to the bottom.
void Ridge(cairo_t* cr, TVariety& variety, int width, int height, double base, double rough,
           uint32_t colour) {
    cairo_move_to(cr, 0, height);
    double y = base;
    for (double x = 0; x <= width + 20; x += 20) {
        y = std::clamp(y + variety.Real(-rough, rough), base - rough * 3, base + rough * 2);
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, width, height);
    cairo_close_path(cr);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void Tree(cairo_t* cr, double x, double y, double size, uint32_t colour) {
    cairo_move_to(cr, x, y - size);
    cairo_line_to(cr, x + size * 0.35, y);
    cairo_line_to(cr, x - size * 0.35, y);
    cairo_close_path(cr);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void Castle(cairo_t* cr, double x, double y, double s, uint32_t colour) {
    const auto block = [&](double bx, double by, double w, double h) {
        cairo_rectangle(cr, x + bx * s, y - (by + h) * s, w * s, h * s);
        for (double cx = bx; cx + 1 <= bx + w; cx += 2)
            cairo_rectangle(cr, x + cx * s, y - (by + h + 1) * s, s, s);
    };
    block(0, 0, 14, 6);
    block(-2, 0, 4, 10);
    block(12, 0, 4, 10);
    block(5, 5, 4, 9);
    SetColour(cr, colour);
    cairo_fill(cr);
    cairo_rectangle(cr, x + 6 * s, y - 3 * s, 2 * s, 3 * s);
    SetColour(cr, 0x000000, 1.0, 0.6);
    cairo_fill(cr);
}

TPicture Scene(int width, int height, uint32_t seed, const TMood& mood, bool castle) {
    TCanvas canvas(width, height);
    cairo_t* cr = canvas.Cr();
    TVariety variety(seed);
    Sky(cr, width, height, mood);
    const double sunX = variety.Real(0.15, 0.85) * width, sunY = height * variety.Real(0.15, 0.35);
    cairo_pattern_t* glow = cairo_pattern_create_radial(sunX, sunY, 0, sunX, sunY, height * 0.3);
    cairo_pattern_add_color_stop_rgba(glow, 0, (mood.Light >> 16) / 255.0,
                                      (mood.Light >> 8 & 0xFF) / 255.0, (mood.Light & 0xFF) / 255.0,
                                      0.9);
    cairo_pattern_add_color_stop_rgba(glow, 0.12, (mood.Light >> 16) / 255.0,
                                      (mood.Light >> 8 & 0xFF) / 255.0, (mood.Light & 0xFF) / 255.0,
                                      0.5);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1, 1, 1, 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    Ridge(cr, variety, width, height, height * 0.55, height * 0.04, mood.Far);
    Ridge(cr, variety, width, height, height * 0.68, height * 0.025, mood.Near);
    if (castle)
        Castle(cr, width * variety.Real(0.55, 0.75), height * 0.66, height / 90.0, mood.Near);
    Ridge(cr, variety, width, height, height * 0.8, height * 0.012, mood.Ground);
    for (int i = 0; i < 24; ++i) {
        const double x = variety.Real(0, width);
        const double y = height * variety.Real(0.8, 1.0);
        Tree(cr, x, y, height * variety.Real(0.06, 0.12), (mood.Ground & 0xFEFEFE) >> 1);
    }
    return canvas.Picture();
}

void Title(cairo_t* cr, const char* text, double x, double y, double size) {
    cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, x - extents.width / 2 - extents.x_bearing + 3, y + 3);
    cairo_text_path(cr, text);
    SetColour(cr, 0x000000, 1.0, 0.6);
    cairo_fill(cr);
    cairo_move_to(cr, x - extents.width / 2 - extents.x_bearing, y);
    cairo_text_path(cr, text);
    FillLit(cr, 0xE8C060);
    SetColour(cr, 0x3A2008);
    cairo_set_line_width(cr, size / 30);
    cairo_stroke(cr);
}

} // namespace

TPicture DrawLoadingPicture() {
    TPicture scene = Scene(800, 600, 24, Moods[2], true);
    TCanvas canvas(800, 600);
    cairo_t* cr = canvas.Cr();
    cairo_surface_t* image =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(scene.Pixels.data()),
                                            CAIRO_FORMAT_ARGB32, 800, 600, 800 * 4);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(image);
    Title(cr, "Varnholt", 400, 170, 96);
    cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 24);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, "Loading...", &extents);
    cairo_move_to(cr, 400 - extents.width / 2, 560);
    SetColour(cr, 0xF0E0C0);
    cairo_show_text(cr, "Loading...");
    return canvas.Picture();
}

// The briefing's parchment where the text rolls (150..480 across, between the rolls),
// keyed around it so that the map shows beside the scroll.
Tools::TPicture DrawScenarioBook() {
    constexpr int Left = 142, Top = 60, Width = 346, Height = 420;
    Tools::TPicture picture{Left + Width, Top + Height, {}};
    picture.Pixels.assign(size_t(picture.Width) * size_t(picture.Height), 0);
    const Tools::TPicture parchment = DrawParchment(Width, Height, 5);
    for (int y = 0; y < Height; ++y)
        std::copy_n(parchment.Pixels.begin() + ptrdiff_t(y) * Width, Width,
                    picture.Pixels.begin() + ptrdiff_t(Top + y) * picture.Width + Left);
    return picture;
}

void DrawPictures(TLibrary& library) {
    for (uint32_t slot = 1; slot <= uint32_t(PictureCount); ++slot) {
        if (slot == InterfaceSlot::LoadingPicture) {
            library.Add(slot, {DrawLoadingPicture()}, PictureOptions());
            continue;
        }
        if (slot >= PictureSlot::VerticalParchment && slot <= PictureSlot::ScenarioBookTopRoll)
            continue;
        const bool large = slot <= 12;
        const int width = large ? 800 : 400, height = large ? 600 : 300;
        library.Add(slot, {Scene(width, height, slot, Moods[slot % Moods.size()], slot % 3 == 0)},
                    PictureOptions());
    }
    library.Add(PictureSlot::VerticalParchment, {DrawParchment(240, 400, 1)}, KeyedOptions());
    library.Add(PictureSlot::VerticalRoller, DrawRoller(264, 24, true, 4), KeyedOptions());
    library.Add(PictureSlot::HorizontalParchment, {DrawParchment(400, 160, 2)}, KeyedOptions());
    library.Add(PictureSlot::HorizontalRoller, DrawRoller(24, 184, false, 4), KeyedOptions());
    library.Add(PictureSlot::Book, DrawBook(568, 456), KeyedOptions());
    library.Add(PictureSlot::ScenarioBook, {DrawScenarioBook()}, KeyedOptions());
    library.Add(PictureSlot::ScenarioBookBottomRoll, {DrawRoller(350, 50, true, 1)},
                KeyedOptions());
    library.Add(PictureSlot::ScenarioBookTopRoll, {DrawRoller(350, 50, true, 1)}, KeyedOptions());
}

} // namespace Content
