#include "tools/content/WidgetArt.h"

#include "tools/content/Canvas.h"
#include "tools/content/Variety.h"

#include <cmath>

namespace Content {

Tools::TPicture DrawParchment(int width, int height, uint32_t seed) {
    TCanvas canvas(width, height);
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* base = cairo_pattern_create_radial(width * 0.4, height * 0.35, 10, width / 2.0,
                                                        height / 2.0, std::max(width, height));
    cairo_pattern_add_color_stop_rgb(base, 0, 0.96, 0.90, 0.74);
    cairo_pattern_add_color_stop_rgb(base, 0.7, 0.88, 0.78, 0.58);
    cairo_pattern_add_color_stop_rgb(base, 1, 0.72, 0.58, 0.38);
    cairo_set_source(cr, base);
    cairo_paint(cr);
    cairo_pattern_destroy(base);
    // Stains and fibres.
    TVariety variety(seed);
    for (int i = 0; i < width * height / 900; ++i) {
        Ellipse(cr, variety.Real(0, width), variety.Real(0, height), variety.Real(4, 24),
                variety.Real(3, 14));
        SetColour(cr, 0x8A6A3A, 1.0, variety.Real(0.03, 0.09));
        cairo_fill(cr);
    }
    cairo_set_line_width(cr, 1);
    for (int i = 0; i < width * height / 400; ++i) {
        const double x = variety.Real(0, width), y = variety.Real(0, height);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + variety.Real(-12, 12), y + variety.Real(-2, 2));
        SetColour(cr, 0x6A5030, 1.0, 0.08);
        cairo_stroke(cr);
    }
    // Darkened edges.
    cairo_rectangle(cr, 1.5, 1.5, width - 3, height - 3);
    SetColour(cr, 0x5A4020, 1.0, 0.5);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    return canvas.Picture();
}

std::vector<Tools::TPicture> DrawRoller(int width, int height, bool horizontal, int frames) {
    std::vector<Tools::TPicture> pictures;
    for (int f = 0; f < frames; ++f) {
        TCanvas canvas(width, height);
        cairo_t* cr = canvas.Cr();
        if (!horizontal) { // draw across, then turn
            cairo_translate(cr, width, 0);
            cairo_rotate(cr, M_PI / 2);
        }
        const double length = horizontal ? width : height;
        const double thick = horizontal ? height : width;
        const double knob = thick * 0.55;
        // Wooden rod with turned ends, its grain moving as it rolls.
        cairo_rectangle(cr, knob, thick * 0.12, length - 2 * knob, thick * 0.76);
        cairo_pattern_t* wood = cairo_pattern_create_linear(0, 0, 0, thick);
        cairo_pattern_add_color_stop_rgb(wood, 0, 0.78, 0.56, 0.32);
        cairo_pattern_add_color_stop_rgb(wood, 0.4, 0.58, 0.38, 0.18);
        cairo_pattern_add_color_stop_rgb(wood, 1, 0.28, 0.16, 0.06);
        cairo_set_source(cr, wood);
        cairo_fill(cr);
        cairo_pattern_destroy(wood);
        for (double x = knob + std::fmod(f * 3.0, 12.0); x < length - knob; x += 12) {
            cairo_move_to(cr, x, thick * 0.15);
            cairo_line_to(cr, x + 4, thick * 0.85);
        }
        SetColour(cr, 0x2A1808, 1.0, 0.35);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        for (double end : {knob * 0.5, length - knob * 0.5}) {
            Ellipse(cr, end, thick / 2, knob * 0.5, thick * 0.48);
            FillOutlined(cr, 0xC89A40, 1.2);
        }
        pictures.push_back(canvas.Picture());
    }
    return pictures;
}

std::vector<Tools::TPicture> DrawBook(int width, int height) {
    std::vector<Tools::TPicture> pictures;
    const double spine = width / 2.0;
    for (int stage = 0; stage < 4; ++stage) {
        TCanvas canvas(width, height);
        cairo_t* cr = canvas.Cr();
        // The cover opens around the spine; the last stage shows the open book's rim.
        const double open = stage / 3.0;
        const double coverLeft = spine - (spine - 4) * open;
        RoundedRect(cr, coverLeft, 4, width - 4 - coverLeft, height - 8, 10);
        FillOutlined(cr, 0x6A1E1A, 3);
        if (stage < 3) {
            // The closed part of the cover with its gold ornament.
            const double left = stage == 0 ? spine : spine + (width / 2.0 - 4) * open;
            RoundedRect(cr, left - (stage == 0 ? 0 : 0), 4, width - 4 - left, height - 8, 10);
            FillOutlined(cr, 0x7A2420, 3);
            const double cx = (left + width - 4) / 2;
            RoundedRect(cr, left + 16, 24, width - 36 - left, height - 48, 6);
            SetColour(cr, 0xD8B050);
            cairo_set_line_width(cr, 3);
            cairo_stroke(cr);
            Ellipse(cr, cx, height / 2.0, (width - 4 - left) * 0.2, (width - 4 - left) * 0.2);
            cairo_stroke(cr);
        }
        if (stage > 0) {
            // Pages: cream while opening; open, the two pages shade toward the spine, and
            // the windows write on them.
            const double pageLeft = stage == 3 ? 24 : coverLeft + 12;
            RoundedRect(cr, pageLeft, 16, width - 24 - pageLeft, height - 32, 4);
            if (stage < 3) {
                SetColour(cr, 0xF0E4C4);
                cairo_fill(cr);
            } else {
                cairo_pattern_t* paper = cairo_pattern_create_linear(pageLeft, 0, width - 24, 0);
                const double middle = (spine - pageLeft) / (width - 24 - pageLeft);
                cairo_pattern_add_color_stop_rgb(paper, 0, 0.93, 0.88, 0.75);
                cairo_pattern_add_color_stop_rgb(paper, middle - 0.06, 0.94, 0.89, 0.77);
                cairo_pattern_add_color_stop_rgb(paper, middle, 0.78, 0.70, 0.54);
                cairo_pattern_add_color_stop_rgb(paper, middle + 0.06, 0.94, 0.89, 0.77);
                cairo_pattern_add_color_stop_rgb(paper, 1, 0.93, 0.88, 0.75);
                cairo_set_source(cr, paper);
                cairo_fill(cr);
                cairo_pattern_destroy(paper);
                cairo_move_to(cr, spine, 12);
                cairo_line_to(cr, spine, height - 12);
                SetColour(cr, 0x3A1008);
                cairo_set_line_width(cr, 6);
                cairo_stroke(cr);
            }
        }
        pictures.push_back(canvas.Picture());
    }
    return pictures;
}

} // namespace Content
