#include "tools/GameWidgetsArt.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace GameWidgetsArt {

namespace {

constexpr uint32_t Clear = 0;

TPicture Draw(int width, int height, const std::function<uint32_t(int, int)>& pixel) {
    TPicture picture{width, height, {}};
    picture.Pixels.reserve(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Pixels.push_back(pixel(x, y));
    return picture;
}

int Channel(uint32_t colour, int shift) {
    return int(colour >> shift & 0xFF);
}

// Opaque colour scaled by factor (below 1 darker, above lighter).
uint32_t Shade(uint32_t colour, double factor) {
    uint32_t result = 0xFF000000;
    for (const int shift : {16, 8, 0}) {
        const int value = std::clamp(int(Channel(colour, shift) * factor), 0, 255);
        result |= uint32_t(value) << shift;
    }
    return result;
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    uint32_t result = 0xFF000000;
    for (const int shift : {16, 8, 0}) {
        const double value = Channel(a, shift) * (1 - t) + Channel(b, shift) * t;
        result |= uint32_t(std::clamp(int(value), 0, 255)) << shift;
    }
    return result;
}

// A steady pseudo-random value in [0, 1) per pixel.
double Noise(int x, int y, uint32_t seed = 0) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double((h ^ (h >> 16)) & 0xFFFF) / 65536.0;
}

// Smooth noise: the pixel noise averaged over a coarse grid.
double Blotches(int x, int y, int cell, uint32_t seed) {
    const int cx = x / cell, cy = y / cell;
    const double fx = double(x % cell) / cell, fy = double(y % cell) / cell;
    const double top = Noise(cx, cy, seed) * (1 - fx) + Noise(cx + 1, cy, seed) * fx;
    const double bottom = Noise(cx, cy + 1, seed) * (1 - fx) + Noise(cx + 1, cy + 1, seed) * fx;
    return top * (1 - fy) + bottom * fy;
}

constexpr uint32_t ParchmentLight = 0xF2E3BE;
constexpr uint32_t ParchmentDark = 0xB8955C;
constexpr uint32_t Wood = 0x8A5A2B;
constexpr uint32_t Brass = 0xD0A040;
constexpr uint32_t Leather = 0x6E2018;
constexpr uint32_t Gold = 0xD8B050;
constexpr uint32_t Ink = 0x2A1A0C;

} // namespace

TPicture Parchment(int width, int height) {
    return Draw(width, height, [=](int x, int y) {
        const int edge = std::min({x, y, width - 1 - x, height - 1 - y});
        const double stain = Blotches(x, y, 24, 7) * 0.5 + Blotches(x, y, 7, 3) * 0.25;
        const double fibre = Noise(x / 3, y, 11) * 0.08;
        double burn = edge < 10 ? (10 - edge) / 10.0 : 0;
        burn = burn * burn * 0.8;
        return Mix(Mix(ParchmentLight, ParchmentDark, stain * 0.55 + fibre), 0x5A3A18, burn);
    });
}

std::vector<TPicture> Roller(int width, int height, bool horizontal, int frames) {
    std::vector<TPicture> pictures;
    const int length = horizontal ? width : height;
    const int thick = horizontal ? height : width;
    const int knob = thick;
    for (int f = 0; f < frames; ++f)
        pictures.push_back(Draw(width, height, [=](int x, int y) -> uint32_t {
            const int along = horizontal ? x : y;
            const int across = horizontal ? y : x;
            const double r = (across + 0.5) / thick * 2 - 1; // -1 .. 1 across the rod
            const bool inKnob = along < knob || along >= length - knob;
            if (inKnob) {
                const int k = along < knob ? along : length - 1 - along;
                const double kr = std::hypot((k - knob / 2.0) / (knob / 2.0), r);
                if (kr > 1)
                    return Clear;
                return Shade(Brass, 1.25 - 0.6 * kr - 0.25 * r);
            }
            if (std::abs(r) > 0.8)
                return Clear;
            const double light = 1.15 - 0.55 * r * r - 0.2 * r;
            const bool grain = (along + f * 3 + int(across * 0.4)) % 9 < 2;
            return Shade(Wood, grain ? light * 0.7 : light);
        }));
    return pictures;
}

std::vector<TPicture> Book(int width, int height) {
    std::vector<TPicture> pictures;
    const int spine = width / 2;
    const auto cover = [=](int x, int y, int left, int right) -> uint32_t {
        const int edge = std::min({x - left, y, right - 1 - x, height - 1 - y});
        if (edge < 3)
            return Shade(Leather, 0.6);
        const int inner = std::min({x - left - 14, y - 14, right - 15 - x, height - 15 - y});
        if (inner >= 0 && inner < 3)
            return Gold | 0xFF000000;
        return Shade(Leather, 0.9 + Blotches(x, y, 9, 5) * 0.25);
    };
    const auto page = [=](int x, int y) {
        return Mix(0xF4EAD0, 0xD8C8A0, Blotches(x, y, 30, 9) * 0.4) | 0xFF000000;
    };
    // 0: closed, lying on the right half.
    pictures.push_back(Draw(width, height, [=](int x, int y) {
        return x >= spine ? cover(x, y, spine, width) : Clear;
    }));
    // 1: the cover stands up over the spine; the first page shows, blank.
    pictures.push_back(Draw(width, height, [=](int x, int y) -> uint32_t {
        const int standing = width / 8;
        if (x >= spine - standing && x < spine)
            return Shade(Leather, 0.55 + 0.4 * (x - spine + standing) / standing);
        if (x >= spine)
            return x > width - 4 || y < 3 || y > height - 4 ? Shade(Leather, 0.6) : page(x, y);
        return Clear;
    }));
    // 2: the cover lies open on the left; the right page is the window's.
    pictures.push_back(Draw(width, height, [=](int x, int y) -> uint32_t {
        if (x < spine)
            return cover(x, y, 0, spine);
        return x > width - 4 || y < 3 || y > height - 4 ? Shade(Leather, 0.6) : Clear;
    }));
    // 3: open: the rim of the cover round both pages and the shadow of the spine.
    pictures.push_back(Draw(width, height, [=](int x, int y) -> uint32_t {
        const int edge = std::min({x, y, width - 1 - x, height - 1 - y});
        if (edge < 3)
            return Shade(Leather, 0.6);
        if (std::abs(x - spine) < 2)
            return Shade(0x8A7A5A, 1.0);
        return Clear;
    }));
    return pictures;
}

TPicture TooltipBackground() {
    return Draw(16, 16, [](int x, int y) {
        const int edge = std::min({x, y, 15 - x, 15 - y});
        // Premultiplied by the writer: a dark, slightly see-through brown.
        const uint32_t colour =
            edge == 0 ? Shade(0x1A1008, 1.0) : Shade(0x4A3420, 1.0 + 0.1 * Noise(x, y));
        return (colour & 0xFFFFFF) | (edge == 0 ? 0xFF000000 : 0xE0000000);
    });
}

TPicture GemButton(int size, uint32_t gem, double glow, int pressedShift, bool grey) {
    return Draw(size, size, [=](int x, int y) -> uint32_t {
        const double c = (size - 1) / 2.0;
        const int edge = std::min({x, y, size - 1 - x, size - 1 - y});
        const double gx = x - c - pressedShift, gy = y - c - pressedShift;
        const double d = std::hypot(gx, gy) / (size * 0.32);
        uint32_t colour;
        if (d < 1) {
            const double light = 1.3 - 0.7 * d - 0.25 * (gx + gy) / size + glow;
            colour = Shade(gem, light);
        } else if (d < 1.15) {
            colour = Shade(Brass, 1.1 - (d - 1) * 3);
        } else {
            const double bevel = edge < 3 ? (x + y < size ? 1.3 : 0.6) : 1.0;
            colour = Shade(0x6A6660, bevel * (0.9 + Noise(x, y, 2) * 0.2));
        }
        if (grey) {
            const int v = (Channel(colour, 16) + Channel(colour, 8) + Channel(colour, 0)) / 3;
            colour = 0xFF000000 | uint32_t(v) << 16 | uint32_t(v) << 8 | uint32_t(v);
        }
        return colour;
    });
}

TPicture Arrow(int size, int direction, uint32_t face) {
    return Draw(size, size, [=](int x, int y) -> uint32_t {
        const int edge = std::min({x, y, size - 1 - x, size - 1 - y});
        if (edge == 0)
            return Shade(Ink, 1.0);
        const int along = direction < 2 ? y : x;
        const int across = direction < 2 ? x : y;
        const int tip = direction % 2 == 0 ? along - 3 : size - 4 - along;
        const bool arrow =
            along >= 3 && along <= size - 4 && std::abs(across - (size - 1) / 2) <= tip / 2 + 1;
        return arrow ? Shade(Ink, 1.0) : Shade(face, edge == 1 ? 1.2 : 1.0);
    });
}

TPicture Thumb(int width, int height, uint32_t face) {
    return Draw(width, height, [=](int x, int y) -> uint32_t {
        const int edge = std::min({x, y, width - 1 - x, height - 1 - y});
        if (edge == 0)
            return Shade(Ink, 1.0);
        const bool ridge = width > height
                               ? (x - width / 2) % 4 == 0 && std::abs(x - width / 2) < 6
                               : (y - height / 2) % 4 == 0 && std::abs(y - height / 2) < 6;
        return ridge ? Shade(face, 0.6) : Shade(face, edge == 1 ? 1.2 : 1.0);
    });
}

TPicture Track(int width, int height) {
    return Draw(width, height, [=](int x, int y) {
        const int edge =
            std::min(width > height ? y : x, width > height ? height - 1 - y : width - 1 - x);
        return Shade(0x5A4028, (edge < 2 ? 0.6 : 0.9) + Noise(x, y, 4) * 0.15);
    });
}

TPicture Plank(int width, int height) {
    return Draw(width, height, [=](int x, int y) {
        const int edge = std::min({x, y, width - 1 - x, height - 1 - y});
        const double grain = Blotches(x, y * 6, 14, 8) * 0.3;
        double light = 0.85 + grain;
        if (edge < 2)
            light = x + y < height ? 1.25 : 0.55;
        return Shade(0xB07A40, light);
    });
}

TPicture PointerCursor() {
    constexpr int Size = 20;
    // A head with its tip at (1, 1) and a tail to the lower right.
    const auto inside = [](int x, int y) {
        const bool head = x >= 1 && x <= y && 5 * y <= 75 - 2 * (x - 1);
        const bool tail = y >= 12 && y <= 18 && x >= 3 + (y - 12) / 2 && x <= 6 + (y - 12) / 2;
        return head || tail;
    };
    return Draw(Size, Size, [&](int x, int y) -> uint32_t {
        if (!inside(x, y))
            return Clear;
        const bool edge =
            !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
        return edge ? Shade(Ink, 1.0) : Shade(0xE0B040, 1.0);
    });
}

TPicture Shield(int size) {
    return Draw(size, size, [=](int x, int y) -> uint32_t {
        const double c = (size - 1) / 2.0;
        const double half = size / 2.0 - 1;
        const double width = y < size / 2 ? half : half * (1 - double(y - size / 2) / (size / 2));
        if (std::abs(x - c) > width)
            return Clear;
        const bool rim = std::abs(x - c) > width - 2 || y < 2;
        const bool cross = std::abs(x - c) < 2 || std::abs(y - size * 0.4) < 2;
        return rim ? Shade(Brass, 1.0) : cross ? Shade(0xE8E0D0, 1.0) : Shade(0x2F5FD0, 1.0);
    });
}

TPicture CheckBox(int size, bool checked, uint32_t face) {
    return Draw(size, size, [=](int x, int y) -> uint32_t {
        const int edge = std::min({x, y, size - 1 - x, size - 1 - y});
        if (edge < 2)
            return Shade(Ink, 1.0);
        // A tick from the lower left to the upper right.
        const int s = size;
        const bool tick =
            checked &&
            ((x >= s / 5 && x <= s / 2 && std::abs(y - (x + s / 3)) <= 1) ||
             (x >= s / 2 && x <= s * 4 / 5 && std::abs(y - (s * 4 / 5 + s / 3 - x)) <= 1));
        return tick ? Shade(0x205020, 1.0) : Shade(face, 1.0);
    });
}

} // namespace GameWidgetsArt
