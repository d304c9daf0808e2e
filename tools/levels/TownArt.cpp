#include "tools/levels/TownArt.h"

#include "tools/content/Canvas.h"
#include "tools/content/Library.h"
#include "tools/levels/Terrain.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace Tools {

namespace {

using Content::Ellipse;
using Content::FillOutlined;
using Content::RoundedRect;
using Content::SetColour;
using Content::TCanvas;

enum { Inn, Mage, BattleMaster, Herbalist, House };

constexpr uint32_t Timber = 0x3A2614, Plaster = 0xE6D8B8, Roof = 0x8A3A24, Slate = 0x4A5060,
                   Gold = 0xD8B050, Skin = 0xE8B890;

double Random(TContentRandom& random, double low, double high) {
    return low + (high - low) * double(random.Below(10000)) / 10000.0;
}

void Gradient(cairo_t* cr, double y0, double y1, uint32_t top, uint32_t bottom) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y0, 0, y1);
    for (const auto& [at, rgb] : {std::pair{0.0, top}, std::pair{1.0, bottom}})
        cairo_pattern_add_color_stop_rgb(pattern, at, (rgb >> 16) / 255.0,
                                         (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void Stroke(cairo_t* cr, uint32_t rgb, double width, double alpha = 1.0) {
    SetColour(cr, rgb, 1.0, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// A window of small panes, lit warm or dark.
void Window(cairo_t* cr, double x, double y, double w, double h, bool lit) {
    cairo_rectangle(cr, x, y, w, h);
    SetColour(cr, lit ? 0xF0C060 : 0x2A3440);
    cairo_fill_preserve(cr);
    Stroke(cr, Timber, 2.5);
    cairo_move_to(cr, x + w / 2, y);
    cairo_line_to(cr, x + w / 2, y + h);
    cairo_move_to(cr, x, y + h / 2);
    cairo_line_to(cr, x + w, y + h / 2);
    Stroke(cr, Timber, 1.5);
}

// A half-timbered house standing on baseY: plaster between dark beams, a steep roof.
void TimberHouse(cairo_t* cr, double x, double baseY, double w, double h, TContentRandom& random) {
    const uint32_t walls[3] = {Plaster, 0xD8C8A0, 0xC8B890};
    const uint32_t roofs[3] = {Roof, Slate, 0x6A4A30};
    cairo_rectangle(cr, x, baseY - h, w, h);
    FillOutlined(cr, walls[random.Below(3)], 2);
    const double roofH = w * Random(random, 0.45, 0.7);
    cairo_move_to(cr, x - 6, baseY - h);
    cairo_line_to(cr, x + w / 2, baseY - h - roofH);
    cairo_line_to(cr, x + w + 6, baseY - h);
    cairo_close_path(cr);
    FillOutlined(cr, roofs[random.Below(3)], 2);
    // The beams: posts, a floor band and braces.
    const int posts = 2 + int(w / 40);
    for (int i = 0; i <= posts; ++i) {
        const double px = x + 3 + (w - 6) * i / posts;
        cairo_move_to(cr, px, baseY - h);
        cairo_line_to(cr, px, baseY);
    }
    cairo_move_to(cr, x, baseY - h * 0.5);
    cairo_line_to(cr, x + w, baseY - h * 0.5);
    cairo_move_to(cr, x + 3, baseY - h * 0.5);
    cairo_line_to(cr, x + 3 + (w - 6) / posts, baseY - h);
    Stroke(cr, Timber, 3);
    for (int i = 0; i < posts; ++i) {
        const double wx = x + 3 + (w - 6) * (i + 0.5) / posts;
        Window(cr, wx - 7, baseY - h * 0.85, 14, 16, random.Below(3) == 0);
    }
    const double doorX = x + w * Random(random, 0.25, 0.6);
    cairo_move_to(cr, doorX, baseY);
    cairo_line_to(cr, doorX, baseY - 30);
    cairo_arc(cr, doorX + 9, baseY - 30, 9, M_PI, 2 * M_PI);
    cairo_line_to(cr, doorX + 18, baseY);
    cairo_close_path(cr);
    FillOutlined(cr, 0x5A3418, 2);
}

// A market stall: a table under a striped awning.
void Stall(cairo_t* cr, double x, double y, uint32_t stripe) {
    cairo_rectangle(cr, x + 4, y, 4, 50);
    cairo_rectangle(cr, x + 92, y, 4, 50);
    SetColour(cr, Timber);
    cairo_fill(cr);
    cairo_rectangle(cr, x, y + 28, 100, 14);
    FillOutlined(cr, 0x7A5030, 1.5);
    for (int i = 0; i < 6; ++i) {
        cairo_move_to(cr, x - 6 + i * 112.0 / 6, y);
        cairo_line_to(cr, x - 6 + (i + 1) * 112.0 / 6, y);
        cairo_line_to(cr, x - 6 + (i + 1) * 112.0 / 6, y + 14);
        cairo_line_to(cr, x - 6 + i * 112.0 / 6, y + 14);
        cairo_close_path(cr);
        SetColour(cr, i % 2 ? 0xF0E8D8 : stripe);
        cairo_fill(cr);
    }
    for (int i = 0; i < 5; ++i) { // wares
        Ellipse(cr, x + 14 + i * 18, y + 25, 6, 5);
        SetColour(cr, i % 2 ? 0xC83020 : 0xE0A030);
        cairo_fill(cr);
    }
}

void Cobbles(cairo_t* cr, double top, double bottom, uint32_t rgb, TContentRandom& random) {
    cairo_rectangle(cr, 0, top, 800, bottom - top);
    SetColour(cr, rgb, 0.6);
    cairo_fill(cr);
    double y = top;
    while (y < bottom) {
        const double size = 6 + 18 * (y - top) / (bottom - top);
        for (double x = -Random(random, 0, size); x < 800; x += size * 1.1)
            if (random.Below(9) != 0) {
                RoundedRect(cr, x, y, size, size * 0.6, size * 0.2);
                SetColour(cr, rgb, Random(random, 0.85, 1.15));
                cairo_fill(cr);
            }
        y += size * 0.7;
    }
}

TPicture TownPicture() {
    TCanvas canvas(InteriorWidth, InteriorHeight);
    cairo_t* cr = canvas.Cr();
    TContentRandom random(0x70AAull);
    cairo_rectangle(cr, 0, 0, 800, 340);
    Gradient(cr, 0, 340, 0x6A9AD8, 0xD8E4F0);
    for (int i = 0; i < 5; ++i) { // clouds
        const double cx = 60 + i * 170 + Random(random, -30, 30), cy = 40 + Random(random, 0, 50);
        for (int puff = 0; puff < 4; ++puff)
            Ellipse(cr, cx + puff * 22 - 33, cy + (puff % 2) * 6, 26, 14);
        SetColour(cr, 0xFFFFFF, 1.0, 0.7);
        cairo_fill(cr);
    }
    // The keep on its hill behind the roofs.
    cairo_move_to(cr, 250, 260);
    cairo_curve_to(cr, 320, 180, 480, 180, 550, 260);
    cairo_close_path(cr);
    SetColour(cr, 0x6A8A5A);
    cairo_fill(cr);
    cairo_rectangle(cr, 350, 130, 100, 100);
    cairo_rectangle(cr, 330, 100, 30, 130);
    cairo_rectangle(cr, 440, 100, 30, 130);
    SetColour(cr, 0x9098A8);
    cairo_fill(cr);
    for (const double x : {330.0, 440.0}) {
        cairo_move_to(cr, x - 4, 100);
        cairo_line_to(cr, x + 15, 68);
        cairo_line_to(cr, x + 34, 100);
        cairo_close_path(cr);
        SetColour(cr, 0x4A5A80);
        cairo_fill(cr);
    }
    cairo_move_to(cr, 400, 130);
    cairo_line_to(cr, 400, 96);
    Stroke(cr, Timber, 2);
    cairo_move_to(cr, 401, 96);
    cairo_line_to(cr, 424, 102);
    cairo_line_to(cr, 401, 108);
    SetColour(cr, 0xC83020);
    cairo_fill(cr);
    // Rows of houses: the far row first, then the street's two sides.
    for (double x = -20; x < 820;) {
        const double w = Random(random, 60, 100);
        TimberHouse(cr, x, 300, w, Random(random, 60, 90), random);
        x += w + Random(random, 4, 14);
    }
    Cobbles(cr, 300, 600, 0x9A9080, random);
    for (double x = -30; x < 230;) {
        const double w = Random(random, 90, 120);
        TimberHouse(cr, x, 390 - x * 0.2, w, Random(random, 120, 160), random);
        x += w + 6;
    }
    for (double x = 830; x > 570;) {
        const double w = Random(random, 90, 120);
        x -= w;
        TimberHouse(cr, x, 390 - (800 - x - w) * 0.2, w, Random(random, 120, 160), random);
        x -= 6;
    }
    // The square: a well in the middle, stalls either side.
    Stall(cr, 250, 340, 0x3A6AB0);
    Stall(cr, 450, 350, 0xC03028);
    Ellipse(cr, 400, 470, 54, 18);
    SetColour(cr, 0x000000, 1.0, 0.25);
    cairo_fill(cr);
    cairo_rectangle(cr, 355, 420, 90, 46);
    FillOutlined(cr, 0x8A8A90, 2);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 5; ++col) {
            cairo_rectangle(cr, 355 + col * 18 + (row % 2) * 9, 420 + row * 15, 18, 15);
            Stroke(cr, 0x505058, 1);
        }
    cairo_rectangle(cr, 362, 360, 6, 60);
    cairo_rectangle(cr, 432, 360, 6, 60);
    SetColour(cr, Timber);
    cairo_fill(cr);
    cairo_move_to(cr, 346, 366);
    cairo_line_to(cr, 400, 334);
    cairo_line_to(cr, 454, 366);
    cairo_close_path(cr);
    FillOutlined(cr, Roof, 2);
    cairo_move_to(cr, 400, 368);
    cairo_line_to(cr, 400, 396);
    Stroke(cr, 0x303030, 1.5);
    cairo_rectangle(cr, 392, 396, 16, 14);
    FillOutlined(cr, 0x6A4A2A, 1.5);
    // The edges darkened, so that the panels and buttons stand out.
    cairo_pattern_t* vignette = cairo_pattern_create_radial(400, 330, 260, 400, 330, 560);
    cairo_pattern_add_color_stop_rgba(vignette, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(vignette, 1, 0, 0, 0, 0.5);
    cairo_set_source(cr, vignette);
    cairo_paint(cr);
    cairo_pattern_destroy(vignette);
    return canvas.Picture();
}

// The room every interior shares: a back wall down to y 380, boards running away.
void Room(cairo_t* cr, uint32_t wall, uint32_t floor) {
    cairo_rectangle(cr, 0, 0, 800, 380);
    FillOutlined(cr, wall, 0);
    cairo_rectangle(cr, 0, 380, 800, 220);
    Gradient(cr, 380, 600, floor, 0x201408);
    for (int i = -8; i <= 8; ++i) {
        cairo_move_to(cr, 400 + i * 50, 380);
        cairo_line_to(cr, 400 + i * 130, 600);
    }
    Stroke(cr, 0x000000, 1.5, 0.35);
    cairo_move_to(cr, 0, 380);
    cairo_line_to(cr, 800, 380);
    Stroke(cr, 0x000000, 3, 0.5);
}

void Planks(cairo_t* cr, double top, double bottom, TContentRandom& random) {
    for (double y = top; y < bottom; y += 24) {
        cairo_move_to(cr, 0, y);
        cairo_line_to(cr, 800, y);
        for (double x = Random(random, 0, 120); x < 800; x += Random(random, 120, 220)) {
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x, y + 24);
        }
    }
    Stroke(cr, 0x000000, 1.2, 0.35);
}

void Barrel(cairo_t* cr, double x, double y) {
    cairo_move_to(cr, x - 26, y - 60);
    cairo_curve_to(cr, x - 34, y - 30, x - 34, y - 30, x - 26, y);
    cairo_line_to(cr, x + 26, y);
    cairo_curve_to(cr, x + 34, y - 30, x + 34, y - 30, x + 26, y - 60);
    cairo_close_path(cr);
    FillOutlined(cr, 0x8A5A2A, 2);
    for (const double band : {y - 50, y - 10}) {
        cairo_move_to(cr, x - 29, band);
        cairo_line_to(cr, x + 29, band);
    }
    Stroke(cr, 0x404040, 4);
    Ellipse(cr, x, y - 60, 26, 7);
    FillOutlined(cr, 0xA07040, 1.5);
}

void Mug(cairo_t* cr, double x, double y) {
    cairo_rectangle(cr, x, y - 22, 16, 22);
    FillOutlined(cr, 0xB08040, 1.5);
    Ellipse(cr, x + 8, y - 23, 9, 4);
    SetColour(cr, 0xFFF8E0);
    cairo_fill(cr);
    cairo_arc(cr, x + 18, y - 11, 6, -M_PI / 2, M_PI / 2);
    Stroke(cr, 0x6A4A20, 2.5);
}

TPicture InnInterior() {
    TCanvas canvas(InteriorWidth, InteriorHeight);
    cairo_t* cr = canvas.Cr();
    TContentRandom random(0x1AAull);
    Room(cr, 0x7A5030, 0x6A4424);
    Planks(cr, 0, 380, random);
    // The hearth on the left, glowing.
    cairo_rectangle(cr, 40, 170, 200, 210);
    FillOutlined(cr, 0x8A8078, 3);
    cairo_move_to(cr, 80, 380);
    cairo_line_to(cr, 80, 270);
    cairo_arc(cr, 140, 270, 60, M_PI, 2 * M_PI);
    cairo_line_to(cr, 200, 380);
    cairo_close_path(cr);
    SetColour(cr, 0x180C06);
    cairo_fill(cr);
    for (int flame = 0; flame < 5; ++flame) {
        const double fx = 105 + flame * 17;
        cairo_move_to(cr, fx - 12, 375);
        cairo_curve_to(cr, fx - 14, 340, fx, 330, fx + 2, 300 - (flame % 2) * 20);
        cairo_curve_to(cr, fx + 6, 330, fx + 14, 345, fx + 12, 375);
        cairo_close_path(cr);
        SetColour(cr, flame % 2 ? 0xF8C030 : 0xE86020, 1.0, 0.85);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 30, 160, 220, 14);
    FillOutlined(cr, 0x5A3418, 2);
    // Shelves of bottles behind the counter.
    for (const double sy : {120.0, 190.0}) {
        cairo_rectangle(cr, 330, sy, 400, 8);
        FillOutlined(cr, 0x4A2C14, 1.5);
        for (int b = 0; b < 12; ++b) {
            const double bx = 345 + b * 32;
            RoundedRect(cr, bx, sy - 34, 16, 34, 5);
            cairo_rectangle(cr, bx + 5, sy - 46, 6, 14);
            FillOutlined(cr, b % 3 == 0 ? 0x2A6A3A : b % 3 == 1 ? 0x8A2A2A : 0x6A5A2A, 1.2);
        }
    }
    // The counter with mugs, barrels beside it.
    cairo_rectangle(cr, 300, 300, 460, 110);
    FillOutlined(cr, 0x5A3418, 3);
    cairo_rectangle(cr, 290, 290, 480, 16);
    FillOutlined(cr, 0x7A4A24, 2);
    for (int m = 0; m < 4; ++m)
        Mug(cr, 360 + m * 90, 290);
    Barrel(cr, 640, 560);
    Barrel(cr, 720, 575);
    Barrel(cr, 680, 510);
    // A table and stools in front.
    Ellipse(cr, 200, 500, 110, 30);
    FillOutlined(cr, 0x7A4A24, 3);
    cairo_rectangle(cr, 190, 510, 20, 70);
    SetColour(cr, 0x4A2C14);
    cairo_fill(cr);
    Mug(cr, 170, 500);
    Mug(cr, 230, 505);
    // Lanterns hanging from the beam.
    cairo_rectangle(cr, 0, 40, 800, 22);
    FillOutlined(cr, 0x4A2C14, 2);
    for (const double lx : {300.0, 560.0}) {
        cairo_move_to(cr, lx, 62);
        cairo_line_to(cr, lx, 90);
        Stroke(cr, 0x202020, 2);
        cairo_pattern_t* glow = cairo_pattern_create_radial(lx, 104, 4, lx, 104, 80);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.85, 0.4, 0.6);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.85, 0.4, 0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, lx, 104, 80, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
        RoundedRect(cr, lx - 9, 90, 18, 28, 3);
        FillOutlined(cr, 0xF0C060, 2);
    }
    return canvas.Picture();
}

void Star(cairo_t* cr, double x, double y, double r, uint32_t rgb) {
    for (int i = 0; i < 10; ++i) {
        const double a = i * M_PI / 5 - M_PI / 2, d = i % 2 ? r * 0.45 : r;
        if (i == 0)
            cairo_move_to(cr, x + d * std::cos(a), y + d * std::sin(a));
        else
            cairo_line_to(cr, x + d * std::cos(a), y + d * std::sin(a));
    }
    cairo_close_path(cr);
    SetColour(cr, rgb);
    cairo_fill(cr);
}

void Books(cairo_t* cr, double x, double y, double w, TContentRandom& random) {
    constexpr uint32_t covers[5] = {0x8A2A2A, 0x2A4A8A, 0x2A6A3A, 0x6A4A8A, 0x8A6A2A};
    for (double bx = x; bx < x + w - 10;) {
        const double bw = Random(random, 8, 14), bh = Random(random, 34, 46);
        cairo_rectangle(cr, bx, y - bh, bw, bh);
        FillOutlined(cr, covers[random.Below(5)], 1);
        bx += bw + 1;
    }
    cairo_rectangle(cr, x - 4, y, w + 8, 8);
    FillOutlined(cr, 0x4A2C14, 1.5);
}

TPicture MageInterior() {
    TCanvas canvas(InteriorWidth, InteriorHeight);
    cairo_t* cr = canvas.Cr();
    TContentRandom random(0x3A6Eull);
    Room(cr, 0x4A4A68, 0x3A3450);
    for (int row = 0; row < 16; ++row) // the tower's stones
        for (double x = (row % 2) * -30; x < 800; x += 60) {
            cairo_rectangle(cr, x, row * 24, 60, 24);
            Stroke(cr, 0x20203A, 1.2, 0.6);
        }
    // A tall window onto the night.
    cairo_move_to(cr, 340, 300);
    cairo_line_to(cr, 340, 130);
    cairo_arc(cr, 400, 130, 60, M_PI, 2 * M_PI);
    cairo_line_to(cr, 460, 300);
    cairo_close_path(cr);
    Gradient(cr, 70, 300, 0x101838, 0x2A3A70);
    for (int i = 0; i < 12; ++i)
        Star(cr, 350 + random.Below(100), 90 + random.Below(200), 2 + random.Below(3), 0xF0F0FF);
    Ellipse(cr, 430, 120, 14, 14);
    SetColour(cr, 0xF0E8C0);
    cairo_fill(cr);
    cairo_move_to(cr, 340, 300);
    cairo_line_to(cr, 340, 130);
    cairo_arc(cr, 400, 130, 60, M_PI, 2 * M_PI);
    cairo_line_to(cr, 460, 300);
    cairo_close_path(cr);
    Stroke(cr, 0x8A8AA0, 8);
    // Bookshelves either side.
    for (const double sx : {40.0, 560.0}) {
        cairo_rectangle(cr, sx, 60, 200, 320);
        FillOutlined(cr, 0x3A2414, 3);
        for (int shelf = 0; shelf < 5; ++shelf)
            Books(cr, sx + 10, 120 + shelf * 60, 180, random);
    }
    // The orb on its pedestal, glowing.
    cairo_pattern_t* glow = cairo_pattern_create_radial(400, 390, 10, 400, 390, 160);
    cairo_pattern_add_color_stop_rgba(glow, 0, 0.6, 0.7, 1.0, 0.7);
    cairo_pattern_add_color_stop_rgba(glow, 1, 0.3, 0.3, 1.0, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, 400, 390, 160, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_move_to(cr, 370, 560);
    cairo_line_to(cr, 385, 430);
    cairo_line_to(cr, 415, 430);
    cairo_line_to(cr, 430, 560);
    cairo_close_path(cr);
    FillOutlined(cr, 0x707088, 2);
    Ellipse(cr, 400, 400, 34, 34);
    FillOutlined(cr, 0x8AB0F8, 2);
    Ellipse(cr, 390, 388, 10, 8);
    SetColour(cr, 0xFFFFFF, 1.0, 0.7);
    cairo_fill(cr);
    // Stars painted on the floor round it.
    for (int i = 0; i < 6; ++i)
        Star(cr, 400 + 200 * std::cos(i * M_PI / 3), 520 + 50 * std::sin(i * M_PI / 3), 10,
             0xC0B060);
    return canvas.Picture();
}

void Dummy(cairo_t* cr, double x, double y) {
    cairo_rectangle(cr, x - 4, y - 150, 8, 150);
    cairo_rectangle(cr, x - 40, y - 120, 80, 8);
    SetColour(cr, Timber);
    cairo_fill(cr);
    RoundedRect(cr, x - 26, y - 124, 52, 70, 14);
    FillOutlined(cr, 0xC8B078, 2);
    Ellipse(cr, x, y - 140, 18, 20);
    FillOutlined(cr, 0xC8B078, 2);
    for (const double r : {16.0, 9.0}) {
        Ellipse(cr, x, y - 92, r, r);
        Stroke(cr, 0xB02820, 3);
    }
}

void WeaponRack(cairo_t* cr, double x, double y) {
    cairo_rectangle(cr, x, y - 20, 200, 10);
    cairo_rectangle(cr, x, y - 110, 200, 10);
    cairo_rectangle(cr, x + 10, y - 130, 10, 130);
    cairo_rectangle(cr, x + 180, y - 130, 10, 130);
    SetColour(cr, 0x5A3418);
    cairo_fill(cr);
    for (int i = 0; i < 5; ++i) {
        const double wx = x + 40 + i * 30;
        cairo_move_to(cr, wx, y - 10);
        cairo_line_to(cr, wx, y - 150 - (i % 2) * 20);
        Stroke(cr, i % 2 ? 0x6A4A2A : 0xB8B8C0, i % 2 ? 5 : 4);
        if (i % 2) {
            cairo_move_to(cr, wx - 8, y - 170);
            cairo_line_to(cr, wx, y - 185);
            cairo_line_to(cr, wx + 8, y - 170);
            cairo_close_path(cr);
            SetColour(cr, 0xB8B8C0);
            cairo_fill(cr);
        } else {
            cairo_move_to(cr, wx - 10, y - 40);
            cairo_line_to(cr, wx + 10, y - 40);
            Stroke(cr, Gold, 4);
        }
    }
}

TPicture BattleMasterInterior() {
    TCanvas canvas(InteriorWidth, InteriorHeight);
    cairo_t* cr = canvas.Cr();
    TContentRandom random(0xBA77ull);
    cairo_rectangle(cr, 0, 0, 800, 600);
    Gradient(cr, 0, 600, 0x7AA8E0, 0xE0E8F0);
    // The yard's palisade and sand.
    for (double x = 0; x < 800; x += 28) {
        const double top = 150 + Random(random, 0, 14);
        cairo_move_to(cr, x, 380);
        cairo_line_to(cr, x, top + 10);
        cairo_line_to(cr, x + 13, top);
        cairo_line_to(cr, x + 26, top + 10);
        cairo_line_to(cr, x + 26, 380);
        cairo_close_path(cr);
        FillOutlined(cr, 0x8A6038, 2);
    }
    cairo_rectangle(cr, 0, 360, 800, 240);
    Gradient(cr, 360, 600, 0xD8C090, 0xA88A58);
    for (int i = 0; i < 300; ++i) {
        Ellipse(cr, random.Below(800), 370 + random.Below(230), 2, 1);
        SetColour(cr, 0x6A5030, 1.0, 0.3);
        cairo_fill(cr);
    }
    // Banners on the palisade.
    for (const double bx : {150.0, 640.0}) {
        cairo_move_to(cr, bx, 60);
        cairo_line_to(cr, bx, 380);
        Stroke(cr, Timber, 6);
        cairo_move_to(cr, bx + 3, 70);
        cairo_line_to(cr, bx + 70, 70);
        cairo_line_to(cr, bx + 70, 170);
        cairo_line_to(cr, bx + 36, 150);
        cairo_line_to(cr, bx + 3, 170);
        cairo_close_path(cr);
        FillOutlined(cr, 0xB02820, 2);
        cairo_move_to(cr, bx + 22, 90);
        cairo_line_to(cr, bx + 52, 130);
        cairo_move_to(cr, bx + 52, 90);
        cairo_line_to(cr, bx + 22, 130);
        Stroke(cr, Gold, 4);
    }
    WeaponRack(cr, 40, 440);
    Dummy(cr, 420, 470);
    Dummy(cr, 600, 500);
    // Shields leaning on the rack's foot.
    for (int i = 0; i < 2; ++i) {
        Ellipse(cr, 290 + i * 50, 470, 24, 28);
        FillOutlined(cr, i ? 0x2A4A8A : 0xB02820, 2);
        Ellipse(cr, 290 + i * 50, 470, 6, 6);
        SetColour(cr, Gold);
        cairo_fill(cr);
    }
    return canvas.Picture();
}

void Jar(cairo_t* cr, double x, double y, uint32_t rgb) {
    RoundedRect(cr, x, y - 30, 22, 30, 6);
    FillOutlined(cr, rgb, 1.5);
    cairo_rectangle(cr, x + 4, y - 36, 14, 7);
    FillOutlined(cr, 0x8A6A3A, 1);
}

TPicture HerbalistInterior() {
    TCanvas canvas(InteriorWidth, InteriorHeight);
    cairo_t* cr = canvas.Cr();
    TContentRandom random(0x4E2Bull);
    Room(cr, 0x6A7A4A, 0x5A4A2A);
    Planks(cr, 0, 380, random);
    // Shelves of jars and bottles.
    constexpr uint32_t jars[6] = {0x3A8A4A, 0xB06A2A, 0x6A3A8A, 0xC8B050, 0x2A6A8A, 0x8A2A2A};
    for (int shelf = 0; shelf < 4; ++shelf) {
        const double sy = 110 + shelf * 70;
        cairo_rectangle(cr, 440, sy, 320, 8);
        FillOutlined(cr, 0x4A2C14, 1.5);
        for (int j = 0; j < 10; ++j)
            Jar(cr, 450 + j * 30, sy, jars[random.Below(6)]);
    }
    // Bundles of herbs drying from the beam.
    cairo_rectangle(cr, 0, 20, 800, 18);
    FillOutlined(cr, 0x4A2C14, 2);
    for (int i = 0; i < 9; ++i) {
        const double hx = 30 + i * 46;
        cairo_move_to(cr, hx, 38);
        cairo_line_to(cr, hx, 60);
        Stroke(cr, 0x8A6A3A, 1.5);
        for (int leaf = -3; leaf <= 3; ++leaf) {
            cairo_move_to(cr, hx, 58);
            cairo_curve_to(cr, hx + leaf * 4, 80, hx + leaf * 6, 100, hx + leaf * 5, 120);
        }
        Stroke(cr, i % 3 == 0 ? 0x4A7A2A : i % 3 == 1 ? 0x7A8A3A : 0x8A5A7A, 3);
    }
    // A window with potted plants.
    cairo_rectangle(cr, 120, 150, 200, 150);
    Gradient(cr, 150, 300, 0x8AB8E8, 0xD8E8C8);
    cairo_rectangle(cr, 120, 150, 200, 150);
    cairo_move_to(cr, 220, 150);
    cairo_line_to(cr, 220, 300);
    cairo_move_to(cr, 120, 225);
    cairo_line_to(cr, 320, 225);
    Stroke(cr, Timber, 6);
    for (int p = 0; p < 3; ++p) {
        const double px = 150 + p * 60;
        for (int leaf = 0; leaf < 5; ++leaf) {
            Ellipse(cr, px + 16 + (leaf - 2) * 8, 258 + std::abs(leaf - 2) * 4, 7, 14);
            SetColour(cr, 0x3A8A3A, 0.8 + 0.1 * leaf);
            cairo_fill(cr);
        }
        cairo_move_to(cr, px, 282);
        cairo_line_to(cr, px + 32, 282);
        cairo_line_to(cr, px + 27, 304);
        cairo_line_to(cr, px + 5, 304);
        cairo_close_path(cr);
        FillOutlined(cr, 0xB0603A, 1.5);
    }
    // The work table with a mortar.
    cairo_rectangle(cr, 80, 420, 520, 22);
    FillOutlined(cr, 0x7A4A24, 2.5);
    for (const double lx : {100.0, 560.0}) {
        cairo_rectangle(cr, lx, 442, 20, 130);
        FillOutlined(cr, 0x5A3418, 2);
    }
    cairo_move_to(cr, 280, 394);
    cairo_curve_to(cr, 282, 432, 338, 432, 340, 394);
    cairo_close_path(cr);
    FillOutlined(cr, 0x9A9A98, 2);
    cairo_move_to(cr, 320, 404);
    cairo_line_to(cr, 350, 352);
    Stroke(cr, 0x7A7A78, 7);
    for (int i = 0; i < 5; ++i) {
        Ellipse(cr, 400 + i * 26, 414, 10, 5);
        SetColour(cr, 0x4A8A2A, 1.0 + i * 0.05);
        cairo_fill(cr);
    }
    Jar(cr, 180, 420, 0x6A3A8A);
    Jar(cr, 210, 420, 0x3A8A4A);
    return canvas.Picture();
}

// A burgher's parlour: a bed, a table with a candle, a cupboard of plates.
TPicture HouseInterior() {
    TCanvas canvas(InteriorWidth, InteriorHeight);
    cairo_t* cr = canvas.Cr();
    Room(cr, 0xD8C8A0, 0x6A4424);
    for (int post = 0; post <= 4; ++post) { // the timber frame inside
        cairo_move_to(cr, post * 200, 0);
        cairo_line_to(cr, post * 200, 380);
    }
    cairo_move_to(cr, 0, 40);
    cairo_line_to(cr, 800, 40);
    Stroke(cr, Timber, 10);
    Window(cr, 330, 110, 140, 120, false);
    // The bed on the left.
    cairo_rectangle(cr, 30, 250, 24, 200);
    cairo_rectangle(cr, 250, 320, 20, 130);
    SetColour(cr, 0x5A3418);
    cairo_fill(cr);
    cairo_rectangle(cr, 50, 340, 210, 70);
    FillOutlined(cr, 0xA02830, 2);
    RoundedRect(cr, 58, 316, 70, 30, 10);
    FillOutlined(cr, 0xF0E8D8, 1.5);
    // The cupboard on the right.
    cairo_rectangle(cr, 580, 130, 180, 300);
    FillOutlined(cr, 0x6A4424, 3);
    for (int shelf = 0; shelf < 2; ++shelf) {
        cairo_rectangle(cr, 595, 150 + shelf * 70, 150, 60);
        SetColour(cr, 0x2A1A0C);
        cairo_fill(cr);
        for (int plate = 0; plate < 4; ++plate) {
            Ellipse(cr, 615 + plate * 37, 185 + shelf * 70, 15, 15);
            FillOutlined(cr, plate % 2 ? 0x4A6AB0 : 0xE8E0D0, 1.5);
        }
    }
    // The table with a candle, a loaf and a jug.
    Ellipse(cr, 420, 470, 130, 34);
    FillOutlined(cr, 0x7A4A24, 3);
    cairo_rectangle(cr, 410, 480, 20, 90);
    SetColour(cr, 0x4A2C14);
    cairo_fill(cr);
    cairo_pattern_t* glow = cairo_pattern_create_radial(400, 410, 4, 400, 410, 120);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.85, 0.4, 0.5);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.85, 0.4, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, 400, 410, 120, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_rectangle(cr, 394, 420, 12, 40);
    FillOutlined(cr, 0xF0E8D0, 1);
    Ellipse(cr, 400, 412, 4, 8);
    SetColour(cr, 0xF8C030);
    cairo_fill(cr);
    Ellipse(cr, 460, 462, 26, 12);
    FillOutlined(cr, 0xC08A40, 1.5);
    RoundedRect(cr, 340, 430, 26, 36, 6);
    FillOutlined(cr, 0x8A5A3A, 1.5);
    return canvas.Picture();
}

// Head and shoulders over a backdrop; each merchant has his own dress.
TPicture Portrait(int building) {
    TCanvas canvas(PortraitWidth, PortraitHeight);
    cairo_t* cr = canvas.Cr();
    constexpr uint32_t backdrops[BuildingKinds] = {0x7A4A24, 0x2A2A5A, 0x6A6A70, 0x3A5A2A,
                                                   0x5A4A3A};
    constexpr uint32_t dresses[BuildingKinds] = {0x8A5A30, 0x2A4AA0, 0xA02820, 0x3A7A3A, 0x7A6A9A};
    cairo_rectangle(cr, 0, 0, PortraitWidth, PortraitHeight);
    Gradient(cr, 0, PortraitHeight, backdrops[building], 0x101010);
    if (building == Mage)
        for (int i = 0; i < 8; ++i)
            Star(cr, 15 + i * 22, 15 + (i * 37) % 90, 3, 0xD0D0F0);
    const double cx = 90;
    // Shoulders.
    cairo_move_to(cr, cx - 70, 130);
    cairo_curve_to(cr, cx - 66, 96, cx - 40, 86, cx, 86);
    cairo_curve_to(cr, cx + 40, 86, cx + 66, 96, cx + 70, 130);
    cairo_close_path(cr);
    FillOutlined(cr, dresses[building], 2);
    if (building == Inn) { // the apron's bib
        cairo_rectangle(cr, cx - 22, 100, 44, 30);
        FillOutlined(cr, 0xF0E8D8, 1.5);
    } else if (building == BattleMaster) { // mail at the neck
        for (int ring = 0; ring < 12; ++ring) {
            Ellipse(cr, cx - 33 + ring * 6, 92 + (ring % 2) * 3, 3, 3);
            Stroke(cr, 0xB8B8C0, 1);
        }
    }
    if (building == Herbalist) { // the hood behind the head
        Ellipse(cr, cx, 54, 38, 44);
        FillOutlined(cr, 0x2A5A2A, 2);
    }
    // Neck and face.
    cairo_rectangle(cr, cx - 10, 72, 20, 18);
    SetColour(cr, Skin, 0.85);
    cairo_fill(cr);
    Ellipse(cr, cx, 52, 24, 30);
    FillOutlined(cr, Skin, 1.5);
    for (const double ex : {cx - 9, cx + 9}) {
        Ellipse(cr, ex, 48, 3, 2.5);
        SetColour(cr, 0x2A1A10);
        cairo_fill(cr);
    }
    cairo_move_to(cr, cx - 7, 68);
    cairo_curve_to(cr, cx - 3, 71, cx + 3, 71, cx + 7, 68);
    Stroke(cr, 0x8A3A2A, 1.5);
    switch (building) {
    case Inn: // bald crown, a broad moustache, red cheeks
        cairo_move_to(cr, cx - 16, 63);
        cairo_curve_to(cr, cx - 8, 58, cx - 2, 61, cx, 62);
        cairo_curve_to(cr, cx + 2, 61, cx + 8, 58, cx + 16, 63);
        Stroke(cr, 0x5A3418, 4);
        for (const double ex : {cx - 14, cx + 14}) {
            Ellipse(cr, ex, 60, 5, 4);
            SetColour(cr, 0xE06050, 1.0, 0.4);
            cairo_fill(cr);
        }
        break;
    case Mage: // a long beard and a pointed hat
        cairo_move_to(cr, cx - 20, 58);
        cairo_curve_to(cr, cx - 18, 100, cx - 6, 118, cx, 124);
        cairo_curve_to(cr, cx + 6, 118, cx + 18, 100, cx + 20, 58);
        cairo_curve_to(cr, cx + 10, 70, cx - 10, 70, cx - 20, 58);
        FillOutlined(cr, 0xE8E8E8, 1.5);
        cairo_move_to(cr, cx - 40, 34);
        cairo_line_to(cr, cx + 14, -6);
        cairo_line_to(cr, cx + 40, 34);
        cairo_close_path(cr);
        FillOutlined(cr, 0x2A4AA0, 2);
        Star(cr, cx + 4, 22, 6, Gold);
        break;
    case BattleMaster: // a steel helm with a nose guard, a scar
        cairo_move_to(cr, cx - 27, 46);
        cairo_curve_to(cr, cx - 27, 10, cx + 27, 10, cx + 27, 46);
        cairo_close_path(cr);
        FillOutlined(cr, 0xA0A0A8, 2);
        cairo_rectangle(cr, cx - 3, 40, 6, 18);
        FillOutlined(cr, 0xA0A0A8, 1.5);
        cairo_move_to(cr, cx + 13, 52);
        cairo_line_to(cr, cx + 18, 66);
        Stroke(cr, 0xA04040, 1.5);
        break;
    case House: // brown hair and a white collar
        cairo_move_to(cr, cx - 25, 52);
        cairo_curve_to(cr, cx - 30, 10, cx + 30, 10, cx + 25, 52);
        cairo_curve_to(cr, cx + 16, 34, cx - 16, 34, cx - 25, 52);
        FillOutlined(cr, 0x6A4020, 1.5);
        cairo_move_to(cr, cx - 18, 88);
        cairo_line_to(cr, cx, 100);
        cairo_line_to(cr, cx + 18, 88);
        Stroke(cr, 0xF0E8D8, 5);
        break;
    default: // a hood's rim and plaits
        cairo_move_to(cr, cx - 26, 60);
        cairo_curve_to(cr, cx - 30, 20, cx + 30, 20, cx + 26, 60);
        Stroke(cr, 0x2A5A2A, 7);
        for (const double px : {cx - 24, cx + 24}) {
            cairo_move_to(cr, px, 60);
            cairo_line_to(cr, px + (px < cx ? -4 : 4), 100);
            Stroke(cr, 0x8A5A2A, 6);
        }
        break;
    }
    cairo_rectangle(cr, 0.5, 0.5, PortraitWidth - 1, PortraitHeight - 1);
    Stroke(cr, 0x000000, 1, 0.6);
    return canvas.Picture();
}

// The building's front with a dark sign across its middle, where the caption stands;
// the building's emblem at the sign's ends.
TPicture BuildingButton(int building) {
    TCanvas canvas(BuildingButtonWidth, BuildingButtonHeight);
    cairo_t* cr = canvas.Cr();
    constexpr uint32_t walls[BuildingKinds] = {Plaster, 0x9098A8, 0xB89870, 0xC8D0A0, 0xD8C8A0};
    constexpr uint32_t roofs[BuildingKinds] = {Roof, 0x3A4A90, Slate, 0x4A6A2A, 0x8A4A2A};
    RoundedRect(cr, 1, 1, 148, 74, 6);
    FillOutlined(cr, walls[building], 2);
    cairo_move_to(cr, 2, 22);
    cairo_line_to(cr, 20, 2);
    cairo_line_to(cr, 130, 2);
    cairo_line_to(cr, 148, 22);
    cairo_close_path(cr);
    FillOutlined(cr, roofs[building], 1.5);
    for (const double wx : {14.0, 122.0})
        Window(cr, wx, 52, 14, 16, building == Inn);
    RoundedRect(cr, 8, 26, 134, 24, 4);
    FillOutlined(cr, 0x2A1A0C, 1.5);
    for (const double ex : {20.0, 130.0}) {
        switch (building) {
        case Inn:
            cairo_save(cr);
            cairo_translate(cr, ex, 38);
            cairo_scale(cr, 0.6, 0.6);
            Mug(cr, -10, 12);
            cairo_restore(cr);
            break;
        case Mage:
            Star(cr, ex, 38, 8, Gold);
            break;
        case BattleMaster:
            cairo_move_to(cr, ex - 7, 31);
            cairo_line_to(cr, ex + 7, 45);
            cairo_move_to(cr, ex + 7, 31);
            cairo_line_to(cr, ex - 7, 45);
            Stroke(cr, 0xC8C8D0, 2.5);
            break;
        case House: // a key
            Ellipse(cr, ex, 33, 4, 4);
            cairo_move_to(cr, ex, 37);
            cairo_line_to(cr, ex, 46);
            cairo_move_to(cr, ex, 43);
            cairo_line_to(cr, ex + 4, 43);
            Stroke(cr, Gold, 2);
            break;
        default:
            cairo_move_to(cr, ex, 46);
            cairo_curve_to(cr, ex - 10, 40, ex - 6, 30, ex, 29);
            cairo_curve_to(cr, ex + 6, 30, ex + 10, 40, ex, 46);
            SetColour(cr, 0x5AB04A);
            cairo_fill(cr);
            break;
        }
    }
    cairo_move_to(cr, 66, 74);
    cairo_line_to(cr, 66, 63);
    cairo_arc(cr, 75, 63, 9, M_PI, 2 * M_PI);
    cairo_line_to(cr, 84, 74);
    cairo_close_path(cr);
    FillOutlined(cr, 0x5A3418, 1.5);
    return canvas.Picture();
}

TBytes Encode(const TPicture& picture, uint32_t id, TSpriteOptions options) {
    options.ID = id;
    return EncodeSprite({picture}, options);
}

} // namespace

std::vector<TBytes> DrawTownSprites() {
    std::vector<TBytes> sprites{Encode(TownPicture(), TownPictureID, Content::PictureOptions())};
    const TPicture interiors[BuildingKinds] = {InnInterior(), MageInterior(),
                                               BattleMasterInterior(), HerbalistInterior(),
                                               HouseInterior()};
    for (int building = 0; building < BuildingKinds; ++building) {
        const uint32_t b = uint32_t(building);
        sprites.push_back(
            Encode(interiors[building], FirstInteriorID + b, Content::PictureOptions()));
        sprites.push_back(
            Encode(Portrait(building), FirstMerchantPortraitID + b, Content::PictureOptions()));
        sprites.push_back(
            Encode(BuildingButton(building), FirstBuildingButtonID + b, Content::KeyedOptions()));
    }
    return sprites;
}

} // namespace Tools
