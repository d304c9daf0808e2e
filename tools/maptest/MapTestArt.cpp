#include "tools/maptest/MapTestArt.h"

#include "engine/graphics/Sprite.h"
#include "game/world/data/GlobalData.h"
#include "platform/classlib/Streams.h"
#include "tools/SpriteWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace Tools {

namespace {

using TBytesList = std::vector<TBytes>;

constexpr uint32_t PlayerColours[5] = {0xC83228, 0x2850C8, 0x30A040, 0xD8C030, 0x9040B0};
constexpr uint32_t CreatureColours[3] = {0x8C8C96, 0x6E4A2A, 0x3C6E9A};
constexpr double Pi = 3.14159265358979;

uint32_t Opaque(uint32_t rgb) {
    return 0xFF000000u | rgb;
}

uint32_t Shade(uint32_t rgb, double factor) {
    const auto channel = [&](int shift) {
        return uint32_t(std::clamp(double((rgb >> shift) & 0xFF) * factor, 0.0, 255.0)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

struct TCanvas {
    TPicture Picture;
    TCanvas(int width, int height)
        : Picture{width, height, std::vector<uint32_t>(size_t(width * height))} {}
    void Put(int x, int y, uint32_t argb) {
        if (x >= 0 && y >= 0 && x < Picture.Width && y < Picture.Height)
            Picture.Pixels[size_t(y * Picture.Width + x)] = argb;
    }
    void Ellipse(double cx, double cy, double rx, double ry, uint32_t argb) {
        for (int y = int(cy - ry); y <= int(cy + ry) + 1; ++y)
            for (int x = int(cx - rx); x <= int(cx + rx) + 1; ++x) {
                const double dx = (x + 0.5 - cx) / rx;
                const double dy = (y + 0.5 - cy) / ry;
                if (dx * dx + dy * dy <= 1)
                    Put(x, y, argb);
            }
    }
    void Box(int left, int top, int right, int bottom, uint32_t argb) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                Put(x, y, argb);
    }
};

TBytes Encode(uint32_t id, const std::vector<TPicture>& frames, int hotX, int hotY) {
    TSpriteOptions options;
    options.ID = id;
    options.HotSpotX = hotX;
    options.HotSpotY = hotY;
    return EncodeSprite(frames, options);
}

// A figure seen from above at an angle: shadow, legs, body, head and a weapon held
// towards its facing. step moves the legs; fall lays it down (0 standing, 1 flat).
TPicture Creature(int kind, int facing, int step, double fall) {
    TCanvas c(56, 56);
    const double angle = facing * Pi / 4; // 0 south, 2 east
    const double fx = std::sin(angle);
    const double fy = std::cos(angle);
    const uint32_t body = CreatureColours[kind];
    const double lift = 1 - fall;
    c.Ellipse(28, 38, 13, 5, 0xFF1E1E1Eu);
    const double swing = step == 0 ? 0 : (step % 2 ? 3 : -3);
    c.Ellipse(28 - 4 + swing * fy, 34 - swing * fx * 0.5, 3, 4 * lift + 1,
              Opaque(Shade(body, 0.5)));
    c.Ellipse(28 + 4 - swing * fy, 34 + swing * fx * 0.5, 3, 4 * lift + 1,
              Opaque(Shade(body, 0.5)));
    c.Ellipse(28 + fall * 8, 26 + fall * 10, 9 - fall * 2, 11 * lift + 4, Opaque(body));
    c.Ellipse(28 + fall * 16, 14 + fall * 22, 6, 6 * lift + 3, Opaque(0xE0B890));
    if (fall < 0.5)
        for (int k = 0; k < 14; ++k)
            c.Put(int(28 + fx * (6 + k)), int(24 + fy * (4 + k) * 0.6 - k * 0.3), 0xFFD8D8E0u);
    c.Ellipse(28 + fx * 4 + fall * 16, 13 + fy * 2 + fall * 22, 2, 2, 0xFF202020u);
    return c.Picture;
}

TBytesList CreatureSprites() {
    TBytesList sprites;
    for (int kind = 0; kind < 3; ++kind)
        for (int set : {0, 1, 2})
            for (int facing = 0; facing < 8; ++facing) {
                std::vector<TPicture> frames;
                if (set == 0)
                    frames.push_back(Creature(kind, facing, 0, 0));
                if (set == 1)
                    for (int f = 0; f < 4; ++f)
                        frames.push_back(Creature(kind, facing, 0, f / 3.0));
                if (set == 2)
                    for (int f = 0; f < 4; ++f)
                        frames.push_back(Creature(kind, facing, f + 1, 0));
                sprites.push_back(
                    Encode(uint32_t((kind + 1) * 1000 + set * 10 + facing), frames, 28, 36));
            }
    return sprites;
}

// 4 x 4 ordered dither threshold in 0..15.
int Bayer(int x, int y) {
    static constexpr int table[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return table[y & 3][x & 3];
}

// Where the 3 x 3 block's cells (bit set = seen) are not seen, the edge sprite shades:
// corner values average the four cells meeting there and are blended across the cell.
TPicture FogEdge(int mask, double strength) {
    const auto seen = [&](int cx, int cy) { return (mask >> (cy * 3 + cx)) & 1 ? 1.0 : 0.0; };
    double corner[2][2];
    for (int cy = 0; cy < 2; ++cy)
        for (int cx = 0; cx < 2; ++cx)
            corner[cy][cx] =
                (seen(cx, cy) + seen(cx + 1, cy) + seen(cx, cy + 1) + seen(cx + 1, cy + 1)) / 4;
    TCanvas c(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const double u = (x + 0.5) / 40;
            const double v = (y + 0.5) / 40;
            const double top = corner[0][0] * (1 - u) + corner[0][1] * u;
            const double bottom = corner[1][0] * (1 - u) + corner[1][1] * u;
            const double unseen = 1 - (top * (1 - v) + bottom * v);
            if (unseen * strength * 16 > Bayer(x, y) + 0.5)
                c.Put(x, y, 0xFF000000u);
        }
    return c.Picture;
}

TBytesList CommonSprites() {
    TBytesList sprites;
    for (int corner = 0; corner < 4; ++corner) { // 1-4
        TCanvas c(12, 12);
        const int x0 = corner % 2 ? 9 : 0;
        const int y0 = corner / 2 ? 9 : 0;
        c.Box(0, y0, 12, y0 + 3, 0xFFF0F0F0u);
        c.Box(x0, 0, x0 + 3, 12, 0xFFF0F0F0u);
        sprites.push_back(Encode(uint32_t(1 + corner), {c.Picture}, 0, 0));
    }
    for (int owner = 0; owner < 5; ++owner) { // 5-9: a ring under the feet, pulsing
        std::vector<TPicture> frames;
        for (int f = 0; f < 4; ++f) {
            TCanvas c(48, 24);
            const double grow = 1 + 0.06 * (f < 2 ? f : 4 - f);
            c.Ellipse(24, 12, 22 * grow, 10 * grow, Opaque(PlayerColours[owner]));
            c.Ellipse(24, 12, 17 * grow, 7 * grow, 0);
            frames.push_back(c.Picture);
        }
        sprites.push_back(Encode(uint32_t(5 + owner), frames, 24, 10));
    }
    for (int entry = 0; entry < 1024; ++entry) // 10-1033
        sprites.push_back(
            Encode(uint32_t(10 + entry), {FogEdge(entry & 511, entry < 512 ? 0.5 : 1.0)}, 0, 0));
    for (int stage = 0; stage < 2; ++stage) // 1034-1043: pitched, then being set up
        for (int style = 0; style < 5; ++style) {
            TCanvas c(120, 120);
            const uint32_t cloth = Opaque(Shade(0xC8B48C, 1 - style * 0.1));
            const int height = stage ? 20 : 36;
            for (int y = 0; y < height; ++y)
                c.Box(60 - y, 60 - height + y, 60 + y, 61 - height + y,
                      y % 6 ? cloth : 0xFF806040u);
            c.Ellipse(60, 64, 30, 6, 0xFF302820u);
            sprites.push_back(Encode(uint32_t(1034 + stage * 5 + style), {c.Picture}, 60, 60));
        }
    { // 1111: badges, column units - 1, row owner
        TCanvas c(36, 60);
        for (int owner = 0; owner < 5; ++owner)
            for (int count = 1; count <= 3; ++count) {
                const int x = (count - 1) * 12;
                const int y = owner * 12;
                c.Box(x, y, x + 12, y + 12, 0xFF101010u);
                c.Box(x + 1, y + 1, x + 11, y + 11, Opaque(PlayerColours[owner]));
                for (int d = 0; d < count; ++d)
                    c.Box(x + 2 + d * 3, y + 5, x + 4 + d * 3, y + 7, 0xFFFFFFFFu);
            }
        sprites.push_back(Encode(1111, {c.Picture}, 0, 0));
    }
    for (int kind = 0; kind < 4; ++kind) // 1112-1131: banner, watchtower, shield, brazier
        for (int owner = 0; owner < 5; ++owner) {
            std::vector<TPicture> frames;
            const uint32_t colour = Opaque(PlayerColours[owner]);
            for (int f = 0; f < 4; ++f) {
                TCanvas c(32, 48);
                if (kind == 0) {
                    c.Box(6, 4, 8, 48, 0xFF5A4630u);
                    for (int x = 8; x < 28; ++x) {
                        const int wave = int(2 * std::sin((x + f * 4) * 0.5));
                        c.Box(x, 6 + wave, x + 1, 20 + wave, colour);
                    }
                } else if (kind == 1) {
                    c.Box(8, 10, 24, 48, 0xFF8C8C8Cu);
                    c.Box(6, 6, 26, 12, 0xFF6E6E6Eu);
                    c.Box(12, 20, 20, 28, colour);
                } else if (kind == 2) {
                    c.Ellipse(16, 26, 11, 14, 0xFFB4B4B4u);
                    c.Ellipse(16, 26, 9, 12, colour);
                } else {
                    c.Box(10, 36, 22, 48, 0xFF505050u);
                    c.Ellipse(16, 30 - f % 2, 6, 8 + f % 3, 0xFFF0A020u);
                    c.Ellipse(16, 32, 3, 4, colour);
                }
                frames.push_back(c.Picture);
            }
            sprites.push_back(Encode(uint32_t(1112 + kind * 5 + owner), frames, 16, 44));
        }
    return sprites;
}

// A library made of these bytes, read on demand as one read from an archive.
void LoadLibrary(Gfx::TSpriteList& library, const TBytesList& sprites) {
    library.OpenDirectory(
        std::make_unique<ClassLib::TMemoryStream>(EncodeSpriteLibrary(1, sprites)));
}

} // namespace

std::unique_ptr<Gfx::TSprite> MakePointerCursor() {
    // An arrow with its tip at (1, 1): a head and a tail to the lower right.
    const auto inside = [](int x, int y) {
        const bool head = x >= 1 && x <= y && 5 * y <= 75 - 2 * (x - 1);
        const bool tail = y >= 12 && y <= 18 && x >= 3 + (y - 12) / 2 && x <= 6 + (y - 12) / 2;
        return head || tail;
    };
    TCanvas c(20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (inside(x, y))
                c.Put(x, y,
                      !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                              !inside(x, y + 1)
                          ? Opaque(0x2A1A0C)
                          : Opaque(0xE0B040));
    ClassLib::TMemoryStream stream(Encode(1, {c.Picture}, 1, 1));
    auto sprite = std::make_unique<Gfx::TSprite>(Gfx::sfConvert);
    sprite->LoadFromStream(&stream);
    sprite->PrepareSurfaces(false);
    return sprite;
}

void InstallMapTestArt() {
    Data2::TGlobalData& data = *Data2::GlobalData;
    LoadLibrary(data.CreatureLibrary, CreatureSprites());
    LoadLibrary(data.CommonLibrary, CommonSprites());
    for (int id = 1; id < Data2::CommonSpriteCount; ++id)
        data.CommonSprites[id] = data.CommonLibrary.TryAcquireSprite(uint32_t(id));
    data.BadgeCellWidth = 12;
    data.BadgeCellHeight = 12;
    for (int i = 0; i < data.UnitPrototypes.Count(); ++i) {
        Data2::TUnitPrototype& prototype = data.UnitPrototypes[i];
        const int kind = i % 3 + 1;
        for (int set : {0, 1, 2})
            for (int facing = 0; facing < 8; ++facing)
                prototype.SpriteIDs[set][facing] = kind * 1000 + set * 10 + facing;
    }
}

} // namespace Tools
