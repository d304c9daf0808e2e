#include "tools/content/Canvas.h"

#include "platform/classlib/Exception.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>

namespace Content {

TCanvas::TCanvas(int width, int height)
    : FWidth(width), FHeight(height),
      FSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      FCr(cairo_create(FSurface)) {
    if (cairo_status(FCr) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(FCr);
        cairo_surface_destroy(FSurface);
        throw ClassLib::Exception(
            ClassLib::Format("Cannot draw a %d x %d picture.", width, height));
    }
    cairo_set_line_join(FCr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(FCr, CAIRO_LINE_CAP_ROUND);
}

TCanvas::~TCanvas() {
    cairo_destroy(FCr);
    cairo_surface_destroy(FSurface);
}

Tools::TPicture TCanvas::Picture() {
    cairo_surface_flush(FSurface);
    const uint8_t* data = cairo_image_surface_get_data(FSurface);
    const int stride = cairo_image_surface_get_stride(FSurface);
    Tools::TPicture picture{FWidth, FHeight, {}};
    picture.Pixels.reserve(size_t(FWidth) * size_t(FHeight));
    for (int y = 0; y < FHeight; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < FWidth; ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            if (a == 0 || a == 255) {
                picture.Pixels.push_back(a == 0 ? 0 : p);
                continue;
            }
            uint32_t out = a << 24;
            for (int shift : {16, 8, 0})
                out |= std::min(255u, ((p >> shift & 0xFF) * 255 + a / 2) / a) << shift;
            picture.Pixels.push_back(out);
        }
    }
    return picture;
}

TCairoSession::~TCairoSession() {
    cairo_debug_reset_static_data();
    FcFini();
}

void SetColour(cairo_t* cr, uint32_t rgb, double shade, double alpha) {
    const auto channel = [&](int shift) {
        const double c = double(rgb >> shift & 0xFF) / 255.0;
        return shade <= 1.0 ? c * shade : c + (1.0 - c) * (shade - 1.0);
    };
    cairo_set_source_rgba(cr, channel(16), channel(8), channel(0), alpha);
}

void FillLit(cairo_t* cr, uint32_t rgb) {
    double x0, y0, x1, y1;
    cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (double x : {x0, x1})
        for (double y : {y0, y1}) {
            double dx = x, dy = y;
            cairo_user_to_device(cr, &dx, &dy);
            left = std::min(left, dx);
            right = std::max(right, dx);
            top = std::min(top, dy);
            bottom = std::max(bottom, dy);
        }
    cairo_pattern_t* pattern = cairo_pattern_create_linear(left, top, right, bottom);
    const auto stop = [&](double at, double shade) {
        const auto channel = [&](int shift) {
            const double c = double(rgb >> shift & 0xFF) / 255.0;
            return shade <= 1.0 ? c * shade : c + (1.0 - c) * (shade - 1.0);
        };
        cairo_pattern_add_color_stop_rgb(pattern, at, channel(16), channel(8), channel(0));
    };
    stop(0.0, 1.35);
    stop(0.45, 1.0);
    stop(1.0, 0.55);
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    cairo_identity_matrix(cr); // the gradient lies on the device
    cairo_set_source(cr, pattern);
    cairo_set_matrix(cr, &matrix);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(pattern);
}

void FillOutlined(cairo_t* cr, uint32_t rgb, double outline) {
    FillLit(cr, rgb);
    SetColour(cr, rgb, 0.3);
    cairo_set_line_width(cr, outline);
    cairo_stroke(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, std::max(rx, 0.01), std::max(ry, 0.01));
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

} // namespace Content
