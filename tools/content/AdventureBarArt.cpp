// The adventure screen's corner panels: the mini-map's frame with its three read-out
// plates, and the round command bar with its seven buttons, each plain and lit.
#include "tools/content/Art.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContentIds.h"

#include <cmath>
#include <utility>

namespace Content {

namespace {

using namespace CommonSlot;

constexpr uint32_t Gold = 0xD8B050, Bark = 0x3A2A1A, Ink = 0x201000;
constexpr int IconSize = 40;

void Stroke(cairo_t* cr, uint32_t colour, double width) {
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// 183 x 153: a frame round the 137 x 110 map box at (22, 18), and light plates under it
// for the dark figures of gold, turn and player, centred on x 70, 122 and 173 at y 139.
TPicture MiniMapPanel() {
    TCanvas canvas(183, 153);
    cairo_t* cr = canvas.Cr();
    RoundedRect(cr, 1, 1, 181, 151, 8);
    FillOutlined(cr, Bark, 2);
    RoundedRect(cr, 17, 13, 147, 120, 4);
    FillOutlined(cr, 0x5A4630, 1.5);
    cairo_rectangle(cr, 21, 17, 139, 112);
    SetColour(cr, 0x101010);
    cairo_fill(cr);
    for (const auto& [centre, halfWidth] :
         {std::pair{70, 20}, std::pair{122, 20}, std::pair{173, 9}}) {
        RoundedRect(cr, centre - halfWidth, 131, 2 * halfWidth, 16, 3);
        FillOutlined(cr, 0xC8B48A, 1);
    }
    return canvas.Picture();
}

// 145 x 145: a disc with a gold ring; the buttons stand on it.
TPicture CommandBarPanel() {
    TCanvas canvas(145, 145);
    cairo_t* cr = canvas.Cr();
    Ellipse(cr, 72.5, 72.5, 70, 70);
    FillOutlined(cr, 0x2E2218, 2.5);
    Ellipse(cr, 72.5, 72.5, 63, 63);
    SetColour(cr, Gold, 1.0, 0.7);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    return canvas.Picture();
}

// The symbols on the buttons, drawn about the centre of a 40 x 40 icon.
void Hourglass(cairo_t* cr, uint32_t colour) {
    cairo_move_to(cr, 13, 10);
    cairo_line_to(cr, 27, 10);
    cairo_line_to(cr, 13, 30);
    cairo_line_to(cr, 27, 30);
    cairo_close_path(cr);
    Stroke(cr, colour, 2.5);
}

void Arrow(cairo_t* cr, double x, uint32_t colour) {
    cairo_move_to(cr, x - 6, 12);
    cairo_line_to(cr, x + 4, 20);
    cairo_line_to(cr, x - 6, 28);
    Stroke(cr, colour, 3);
}

void Tent(cairo_t* cr, uint32_t colour) {
    cairo_move_to(cr, 9, 29);
    cairo_line_to(cr, 20, 10);
    cairo_line_to(cr, 31, 29);
    cairo_close_path(cr);
    Stroke(cr, colour, 2.5);
    cairo_move_to(cr, 20, 18);
    cairo_line_to(cr, 20, 29);
    Stroke(cr, colour, 2);
}

void Paw(cairo_t* cr, uint32_t colour) {
    Ellipse(cr, 20, 24, 6, 5);
    SetColour(cr, colour);
    cairo_fill(cr);
    for (const double x : {12.5, 17.5, 22.5, 27.5}) {
        Ellipse(cr, x, std::abs(x - 20) > 5 ? 17 : 14, 2.2, 2.8);
        cairo_fill(cr);
    }
}

void Book(cairo_t* cr, uint32_t colour) {
    cairo_rectangle(cr, 11, 11, 18, 18);
    Stroke(cr, colour, 2);
    for (const double y : {16.5, 20.5, 24.5}) {
        cairo_move_to(cr, 14, y);
        cairo_line_to(cr, 26, y);
        Stroke(cr, colour, 1.2);
    }
}

void Lines(cairo_t* cr, uint32_t colour) {
    for (const double y : {13.0, 20.0, 27.0}) {
        cairo_move_to(cr, 12, y);
        cairo_line_to(cr, 28, y);
        Stroke(cr, colour, 3);
    }
}

// A round button: dark when plain, brighter with a gold symbol when lit.
template <typename Symbol>
std::vector<TPicture> Button(bool lit, Symbol symbol) {
    return DrawFrames(IconSize, IconSize, 1, [&](cairo_t* cr, int) {
        Ellipse(cr, 20, 20, 18, 18);
        FillOutlined(cr, lit ? 0x8A6A3A : 0x5A4024, 2);
        symbol(cr, lit ? 0xFFE890 : Gold);
    });
}

} // namespace

void DrawAdventureBars(TLibrary& library) {
    library.Add(MiniMapBackground, {MiniMapPanel()}, KeyedOptions());
    library.Add(CommandBar, {CommandBarPanel()}, KeyedOptions());
    const auto add = [&](uint32_t normal, auto symbol) {
        library.Add(normal, Button(false, symbol), KeyedOptions(IconSize / 2, IconSize / 2));
        library.Add(normal + 1, Button(true, symbol), KeyedOptions(IconSize / 2, IconSize / 2));
    };
    add(NextGroupIcon, [](cairo_t* cr, uint32_t c) { Arrow(cr, 21, c); });
    add(NextGroupWithAPsIcon, [](cairo_t* cr, uint32_t c) {
        Arrow(cr, 16, c);
        Arrow(cr, 26, c);
    });
    add(EndTurnIcon, Hourglass);
    add(DiaryIcon, Book);
    add(CreaturePediaIcon, Paw);
    add(MainMenuIcon, Lines);
    add(DeployPackIcon, Tent);
}

} // namespace Content
