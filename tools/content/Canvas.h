// A Cairo drawing surface of ARGB pixels that becomes a sprite frame.
#pragma once

#include "tools/SpriteWriter.h"

#include <cairo.h>

#include <cstdint>

namespace Content {

class TCanvas {
public:
    TCanvas(int width, int height);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    cairo_t* Cr() const { return FCr; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The pixels as straight (not premultiplied) 0xAARRGGBB.
    Tools::TPicture Picture();

private:
    int FWidth, FHeight;
    cairo_surface_t* FSurface;
    cairo_t* FCr;
};

// 0x00RRGGBB as a Cairo source, scaled toward black (factor < 1) or white (> 1).
void SetColour(cairo_t* cr, uint32_t rgb, double shade = 1.0, double alpha = 1.0);
// Fills the current path (keeping it) lit from the top-left of the picture whatever the
// transformation: light to dark across the path's box on the device.
void FillLit(cairo_t* cr, uint32_t rgb);
// Lit fill and a dark outline of the given width; the path is used up.
void FillOutlined(cairo_t* cr, uint32_t rgb, double outline);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

} // namespace Content

namespace Content {

// Frames of one size, each drawn by draw(cr, frame).
template <typename Draw>
std::vector<Tools::TPicture> DrawFrames(int width, int height, int count, Draw draw) {
    std::vector<Tools::TPicture> frames;
    for (int i = 0; i < count; ++i) {
        TCanvas canvas(width, height);
        draw(canvas.Cr(), i);
        frames.push_back(canvas.Picture());
    }
    return frames;
}

} // namespace Content

namespace Content {

// Frees Cairo's and fontconfig's caches when a program that drew text ends, so that leak
// checkers see only our own allocations. Create one in main, before any drawing.
class TCairoSession {
public:
    TCairoSession() = default;
    ~TCairoSession();
    TCairoSession(const TCairoSession&) = delete;
    TCairoSession& operator=(const TCairoSession&) = delete;
};

} // namespace Content
