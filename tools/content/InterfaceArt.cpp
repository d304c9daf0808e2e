// Mouse cursors, the tooltip background and the loading picture of the main data.
#include "tools/content/Art.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContentIds.h"

#include <cmath>
#include <functional>

namespace Content {

namespace {

constexpr int CursorSize = 32;
constexpr uint32_t Gold = 0xE8C060, Ink = 0x201810;

using TDraw = std::function<void(cairo_t*)>;

void AddCursor(TLibrary& library, uint32_t slot, int hotX, int hotY, const TDraw& draw) {
    TCanvas canvas(CursorSize, CursorSize);
    draw(canvas.Cr());
    library.Add(slot, {canvas.Picture()}, KeyedOptions(hotX, hotY));
}

void ArrowPath(cairo_t* cr) {
    cairo_move_to(cr, 2, 2);
    cairo_line_to(cr, 2, 24);
    cairo_line_to(cr, 8, 18);
    cairo_line_to(cr, 13, 28);
    cairo_line_to(cr, 17, 26);
    cairo_line_to(cr, 12, 16);
    cairo_line_to(cr, 20, 16);
    cairo_close_path(cr);
}

void ArrowCursor(cairo_t* cr, uint32_t colour) {
    ArrowPath(cr);
    FillLit(cr, colour);
    SetColour(cr, Ink);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}

// A small badge at the pointer's lower right telling what a click does.
void Badge(cairo_t* cr, uint32_t colour, const TDraw& symbol) {
    Ellipse(cr, 23, 23, 8, 8);
    FillOutlined(cr, colour, 1.2);
    cairo_save(cr);
    cairo_translate(cr, 23, 23);
    symbol(cr);
    cairo_restore(cr);
}

void Stroke(cairo_t* cr, uint32_t colour, double width) {
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void Sword(cairo_t* cr, double length) {
    cairo_move_to(cr, -length, length);
    cairo_line_to(cr, length, -length);
    Stroke(cr, 0xF0F0F0, 2.2);
    cairo_move_to(cr, -length * 0.7, length * 0.2);
    cairo_line_to(cr, -length * 0.2, length * 0.7);
    Stroke(cr, 0x6A4020, 2.2);
}

// A thick arrow pointing along facing f from the cursor's centre.
void ScrollArrow(cairo_t* cr, int facing) {
    const double angle = std::atan2(FacingDY[size_t(facing)], FacingDX[size_t(facing)]);
    cairo_translate(cr, 16, 16);
    cairo_rotate(cr, angle);
    cairo_move_to(cr, 14, 0);
    cairo_line_to(cr, 2, -11);
    cairo_line_to(cr, 2, -5);
    cairo_line_to(cr, -12, -5);
    cairo_line_to(cr, -12, 5);
    cairo_line_to(cr, 2, 5);
    cairo_line_to(cr, 2, 11);
    cairo_close_path(cr);
    FillOutlined(cr, Gold, 1.6);
}

} // namespace

void DrawInterfaceSprites(TLibrary& library) {
    using namespace InterfaceSlot;
    AddCursor(library, Pointer, 2, 2, [](cairo_t* cr) { ArrowCursor(cr, Gold); });
    AddCursor(library, Move, 2, 2, [](cairo_t* cr) {
        ArrowCursor(cr, Gold);
        Badge(cr, 0x3C9A40, [](cairo_t* c) {
            cairo_move_to(c, -4, 0);
            cairo_line_to(c, -1, 4);
            cairo_line_to(c, 5, -4);
            Stroke(c, 0xFFFFFF, 2);
        });
    });
    AddCursor(library, Attack, 16, 16, [](cairo_t* cr) {
        cairo_translate(cr, 16, 16);
        Sword(cr, 12);
        cairo_scale(cr, -1, 1);
        Sword(cr, 12);
    });
    AddCursor(library, SpellNo, 16, 16, [](cairo_t* cr) {
        Ellipse(cr, 16, 16, 11, 11);
        Stroke(cr, 0x606060, 3);
        cairo_move_to(cr, 8, 8);
        cairo_line_to(cr, 24, 24);
        Stroke(cr, 0xC02020, 3);
    });
    AddCursor(library, SpellYes, 16, 16, [](cairo_t* cr) {
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            cairo_move_to(cr, 16 + 5 * std::cos(a), 16 + 5 * std::sin(a));
            cairo_line_to(cr, 16 + (i % 2 ? 10 : 14) * std::cos(a),
                          16 + (i % 2 ? 10 : 14) * std::sin(a));
        }
        Stroke(cr, 0x80C0FF, 2.4);
        Ellipse(cr, 16, 16, 4, 4);
        FillOutlined(cr, 0xC0E8FF, 1);
    });
    AddCursor(library, Talk, 2, 2, [](cairo_t* cr) {
        ArrowCursor(cr, Gold);
        Badge(cr, 0xF0F0E8, [](cairo_t* c) {
            for (int i = -1; i <= 1; ++i)
                Ellipse(c, i * 3.5, 0, 1.2, 1.2);
            SetColour(c, Ink);
            cairo_fill(c);
        });
    });
    AddCursor(library, Enter, 2, 2, [](cairo_t* cr) {
        ArrowCursor(cr, Gold);
        Badge(cr, 0x9A6A3A, [](cairo_t* c) {
            cairo_move_to(c, -3.5, 5);
            cairo_line_to(c, -3.5, -1);
            cairo_arc(c, 0, -1, 3.5, M_PI, 0);
            cairo_line_to(c, 3.5, 5);
            cairo_close_path(c);
            SetColour(c, Ink);
            cairo_fill(c);
        });
    });
    AddCursor(library, Blocked, 16, 16, [](cairo_t* cr) {
        Ellipse(cr, 16, 16, 11, 11);
        Stroke(cr, 0xD02020, 4);
        cairo_move_to(cr, 8.5, 8.5);
        cairo_line_to(cr, 23.5, 23.5);
        Stroke(cr, 0xD02020, 4);
    });
    AddCursor(library, AttackCity, 16, 16, [](cairo_t* cr) {
        cairo_rectangle(cr, 6, 10, 20, 18);
        FillOutlined(cr, 0x9090A0, 1.2);
        for (int i = 0; i < 3; ++i) {
            cairo_rectangle(cr, 6 + i * 8, 5, 4, 5);
            FillOutlined(cr, 0x9090A0, 1.2);
        }
        cairo_translate(cr, 16, 19);
        Sword(cr, 8);
    });
    AddCursor(library, Select, 2, 2, [](cairo_t* cr) {
        ArrowCursor(cr, 0xF0F0F0);
        Badge(cr, Gold, [](cairo_t* c) {
            Ellipse(c, 0, 0, 3, 3);
            SetColour(c, Ink);
            cairo_fill(c);
        });
    });
    AddCursor(library, Wait, 16, 16, [](cairo_t* cr) {
        cairo_move_to(cr, 8, 4);
        cairo_line_to(cr, 24, 4);
        cairo_line_to(cr, 16, 16);
        cairo_line_to(cr, 24, 28);
        cairo_line_to(cr, 8, 28);
        cairo_line_to(cr, 16, 16);
        cairo_close_path(cr);
        FillOutlined(cr, 0xE0D0A0, 1.6);
        cairo_move_to(cr, 11, 26);
        cairo_line_to(cr, 21, 26);
        cairo_line_to(cr, 16, 21);
        cairo_close_path(cr);
        SetColour(cr, 0xB08030);
        cairo_fill(cr);
    });
    const auto hand = [](cairo_t* cr) {
        RoundedRect(cr, 8, 12, 16, 16, 5);
        for (int i = 0; i < 4; ++i)
            RoundedRect(cr, 8 + i * 4, 4 + (i == 0 || i == 3 ? 3 : 0), 4, 14, 2);
        FillOutlined(cr, 0xF0C8A0, 1.4);
    };
    AddCursor(library, Drag, 16, 16, hand);
    AddCursor(library, Hand, 14, 6, hand);
    for (int facing = 0; facing < 8; ++facing) {
        const int hotX = 16 + FacingDX[size_t(facing)] * 14;
        const int hotY = 16 + FacingDY[size_t(facing)] * 14;
        AddCursor(library, FirstScrollArrow + uint32_t(facing), hotX, hotY,
                  [facing](cairo_t* cr) { ScrollArrow(cr, facing); });
    }
    {
        // Stretched behind tooltips and the message line: a dark, slightly see-through
        // box with a brown rim. Blended, so that the main data keeps the surfaces a
        // stretched draw needs.
        TCanvas canvas(16, 16);
        cairo_t* cr = canvas.Cr();
        SetColour(cr, 0x3A2A18, 1.0, 0.85);
        cairo_paint(cr);
        cairo_rectangle(cr, 1, 1, 14, 14);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        SetColour(cr, 0x2A2A40, 1.0, 0.7);
        cairo_fill(cr);
        library.Add(TooltipBackground, {canvas.Picture()}, BlendedOptions());
    }
    AddCursor(library, Inspect, 12, 12, [](cairo_t* cr) {
        cairo_move_to(cr, 19, 19);
        cairo_line_to(cr, 28, 28);
        Stroke(cr, 0x6A4020, 4);
        Ellipse(cr, 12, 12, 8, 8);
        SetColour(cr, 0xC0E0F0, 1.0);
        cairo_fill_preserve(cr);
        Stroke(cr, 0xA0A0B0, 2.5);
    });
    AddCursor(library, Guard, 16, 16, [](cairo_t* cr) {
        cairo_move_to(cr, 6, 5);
        cairo_line_to(cr, 26, 5);
        cairo_curve_to(cr, 26, 18, 21, 25, 16, 29);
        cairo_curve_to(cr, 11, 25, 6, 18, 6, 5);
        cairo_close_path(cr);
        FillOutlined(cr, 0x3A5AA0, 1.6);
        cairo_move_to(cr, 16, 8);
        cairo_line_to(cr, 16, 25);
        Stroke(cr, Gold, 2);
    });
    library.Add(LoadingPicture, {DrawLoadingPicture()}, PictureOptions());
    // Where a group was sent: a gold ring closing in on the cell's centre.
    library.Add(ClickMarker,
                DrawFrames(40, 40, 6,
                           [](cairo_t* cr, int frame) {
                               Ellipse(cr, 20, 20, 17 - 2.5 * frame, 17 - 2.5 * frame);
                               Stroke(cr, Ink, 3.5);
                               Ellipse(cr, 20, 20, 17 - 2.5 * frame, 17 - 2.5 * frame);
                               Stroke(cr, Gold, 2);
                           }),
                KeyedOptions(20, 20));
}

} // namespace Content
