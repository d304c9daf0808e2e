#include "tools/levels/LevelArt.h"

#include "game/world/objects/Background.h"
#include "game/world/objects/MapGeometry.h"
#include "platform/classlib/Streams.h"
#include "tools/SpriteWriter.h"
#include "tools/levels/TownArt.h"

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace Tools {

namespace {

using TSurface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using TContext = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

TSurface MakeSurface(int width, int height) {
    return TSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
                    cairo_surface_destroy);
}

TContext MakeContext(cairo_surface_t* surface) {
    return TContext(cairo_create(surface), cairo_destroy);
}

// Cairo keeps premultiplied native-endian ARGB; the writers want plain 0xAARRGGBB.
TPicture ToPicture(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    TPicture picture{width, height, {}};
    picture.Pixels.resize(size_t(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            std::memcpy(&pixel, data + y * stride + x * 4, 4);
            const uint32_t alpha = pixel >> 24;
            if (alpha != 0 && alpha != 255) {
                const auto channel = [&](int shift) {
                    return std::min<uint32_t>(255, ((pixel >> shift) & 0xFF) * 255 / alpha);
                };
                pixel = (alpha << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
            }
            picture.Pixels[size_t(y * width + x)] = pixel;
        }
    return picture;
}

struct TColour {
    double R, G, B;
};

TColour CellColour(const TTerrain& terrain, int x, int y) {
    if (terrain.IsWater(x, y))
        return {0.16, 0.32, 0.58};
    const double h = terrain.Heights[size_t(terrain.Index(x, y))];
    // Meadows darken and brown as the land rises.
    return {0.30 + 0.03 * h, 0.55 - 0.015 * h, 0.22 + 0.01 * h};
}

TPicture DrawTile(const TTerrain& terrain, int column, int row, TContentRandom& random) {
    const int size = GameData::TileSize;
    const int cell = GameData::CellSize;
    const TSurface surface = MakeSurface(size, size);
    const TContext cr = MakeContext(surface.get());
    cairo_translate(cr.get(), -column * size, -row * size);
    const int cellsPerTile = size / cell;
    for (int cy = row * cellsPerTile; cy < (row + 1) * cellsPerTile; ++cy)
        for (int cx = column * cellsPerTile; cx < (column + 1) * cellsPerTile; ++cx) {
            const bool inside = cx < terrain.Width && cy < terrain.Height;
            const TColour c = inside ? CellColour(terrain, cx, cy) : TColour{0.1, 0.1, 0.1};
            // A soft gradient within the cell so that the grid does not show.
            cairo_pattern_t* gradient =
                cairo_pattern_create_linear(cx * cell, cy * cell, (cx + 1) * cell, (cy + 1) * cell);
            cairo_pattern_add_color_stop_rgb(gradient, 0, c.R * 1.05, c.G * 1.05, c.B * 1.05);
            cairo_pattern_add_color_stop_rgb(gradient, 1, c.R * 0.95, c.G * 0.95, c.B * 0.95);
            cairo_set_source(cr.get(), gradient);
            cairo_rectangle(cr.get(), cx * cell, cy * cell, cell, cell);
            cairo_fill(cr.get());
            cairo_pattern_destroy(gradient);
            if (!inside)
                continue;
            // Tufts of grass or ripples.
            const bool water = terrain.IsWater(cx, cy);
            for (int k = 0; k < 4; ++k) {
                const double px = cx * cell + random.Below(cell);
                const double py = cy * cell + random.Below(cell);
                cairo_set_source_rgba(cr.get(), water ? 0.7 : 0.2, water ? 0.8 : 0.4,
                                      water ? 0.95 : 0.1, 0.35);
                if (water) {
                    cairo_move_to(cr.get(), px, py);
                    cairo_rel_line_to(cr.get(), 6, 0);
                    cairo_set_line_width(cr.get(), 1);
                    cairo_stroke(cr.get());
                } else {
                    cairo_arc(cr.get(), px, py, 1.5, 0, 2 * M_PI);
                    cairo_fill(cr.get());
                }
            }
        }
    return ToPicture(surface.get());
}

TBytes Encode(const TPicture& picture, uint32_t id, bool keyed, int hotX, int hotY) {
    TSpriteOptions options;
    options.ID = id;
    options.Keyed = keyed;
    options.HotSpotX = hotX;
    options.HotSpotY = hotY;
    return EncodeSprite({picture}, options);
}

TPicture DrawTree() {
    const TSurface surface = MakeSurface(40, 60);
    const TContext cr = MakeContext(surface.get());
    cairo_set_source_rgb(cr.get(), 0.40, 0.26, 0.12);
    cairo_rectangle(cr.get(), 17, 36, 6, 20);
    cairo_fill(cr.get());
    cairo_pattern_t* crown = cairo_pattern_create_radial(16, 18, 2, 20, 24, 18);
    cairo_pattern_add_color_stop_rgb(crown, 0, 0.35, 0.65, 0.25);
    cairo_pattern_add_color_stop_rgb(crown, 1, 0.10, 0.35, 0.12);
    cairo_set_source(cr.get(), crown);
    cairo_arc(cr.get(), 20, 24, 16, 0, 2 * M_PI);
    cairo_fill(cr.get());
    cairo_pattern_destroy(crown);
    return ToPicture(surface.get());
}

TPicture DrawRock() {
    const TSurface surface = MakeSurface(40, 40);
    const TContext cr = MakeContext(surface.get());
    cairo_pattern_t* stone = cairo_pattern_create_linear(6, 8, 34, 34);
    cairo_pattern_add_color_stop_rgb(stone, 0, 0.72, 0.70, 0.66);
    cairo_pattern_add_color_stop_rgb(stone, 1, 0.35, 0.34, 0.32);
    cairo_set_source(cr.get(), stone);
    cairo_move_to(cr.get(), 6, 32);
    cairo_line_to(cr.get(), 10, 14);
    cairo_line_to(cr.get(), 22, 6);
    cairo_line_to(cr.get(), 34, 16);
    cairo_line_to(cr.get(), 35, 32);
    cairo_close_path(cr.get());
    cairo_fill(cr.get());
    cairo_pattern_destroy(stone);
    return ToPicture(surface.get());
}

// The meadow the fights take place on, seen from above: grass in patches, tufts and
// stones, the 6 x 6 cells of the field (208, 150)-(592, 534) trodden a little paler,
// trees along the top, the edges darkened so the panels and buttons stand out.
TPicture DrawBattlePicture() {
    constexpr int Width = 800, Height = 600;
    constexpr int FieldLeft = 208, FieldTop = 150, FieldSize = 384, Cell = 64;
    const TSurface surface = MakeSurface(Width, Height);
    const TContext context = MakeContext(surface.get());
    cairo_t* cr = context.get();
    cairo_pattern_t* ground = cairo_pattern_create_linear(0, 0, 0, Height);
    cairo_pattern_add_color_stop_rgb(ground, 0, 0.24, 0.40, 0.18);
    cairo_pattern_add_color_stop_rgb(ground, 1, 0.30, 0.46, 0.20);
    cairo_set_source(cr, ground);
    cairo_paint(cr);
    cairo_pattern_destroy(ground);
    TContentRandom random(0xBA771Eull);
    for (int i = 0; i < 160; ++i) { // patches of lighter and darker grass
        const double x = random.Below(Width), y = random.Below(Height);
        const double shade = random.Below(2) ? 0.06 : -0.05;
        cairo_set_source_rgba(cr, 0.30 + shade, 0.48 + shade, 0.22 + shade, 0.5);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, 1.0, 0.6);
        cairo_arc(cr, 0, 0, 12 + random.Below(30), 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_fill(cr);
    }
    // The trodden field, its cells faintly marked.
    cairo_set_source_rgba(cr, 0.62, 0.58, 0.38, 0.22);
    cairo_rectangle(cr, FieldLeft, FieldTop, FieldSize, FieldSize);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 0.18, 0.26, 0.12, 0.25);
    cairo_set_line_width(cr, 1);
    for (int i = 0; i <= FieldSize / Cell; ++i) {
        cairo_move_to(cr, FieldLeft + i * Cell + 0.5, FieldTop);
        cairo_line_to(cr, FieldLeft + i * Cell + 0.5, FieldTop + FieldSize);
        cairo_move_to(cr, FieldLeft, FieldTop + i * Cell + 0.5);
        cairo_line_to(cr, FieldLeft + FieldSize, FieldTop + i * Cell + 0.5);
    }
    cairo_stroke(cr);
    for (int i = 0; i < 400; ++i) { // tufts
        const double x = random.Below(Width), y = random.Below(Height);
        cairo_set_source_rgb(cr, 0.16, 0.32 + random.Below(10) / 100.0, 0.12);
        for (int blade = -1; blade <= 1; ++blade) {
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + blade * 3, y - 5 - random.Below(3));
        }
        cairo_stroke(cr);
    }
    for (int i = 0; i < 24; ++i) { // stones
        const double x = random.Below(Width), y = random.Below(Height);
        cairo_set_source_rgb(cr, 0.50, 0.49, 0.46);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, 1.0, 0.7);
        cairo_arc(cr, 0, 0, 2 + random.Below(4), 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_fill(cr);
    }
    for (int x = -10; x < Width + 40; x += 34 + random.Below(20)) { // the wood's edge
        const double y = 20 + random.Below(40), r = 24 + random.Below(12);
        cairo_pattern_t* crown = cairo_pattern_create_radial(x - 6, y - 8, 2, x, y, r);
        cairo_pattern_add_color_stop_rgb(crown, 0, 0.30, 0.55, 0.22);
        cairo_pattern_add_color_stop_rgb(crown, 1, 0.08, 0.26, 0.10);
        cairo_set_source(cr, crown);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(crown);
    }
    cairo_pattern_t* vignette =
        cairo_pattern_create_radial(Width / 2.0, Height / 2.0, 250, Width / 2.0, Height / 2.0, 520);
    cairo_pattern_add_color_stop_rgba(vignette, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(vignette, 1, 0, 0, 0, 0.55);
    cairo_set_source(cr, vignette);
    cairo_paint(cr);
    cairo_pattern_destroy(vignette);
    return ToPicture(surface.get());
}

constexpr TColour BannerColour[BannerColours] = {
    {0.80, 0.10, 0.10}, {0.10, 0.25, 0.80}, {0.10, 0.60, 0.15}, {0.85, 0.75, 0.10},
    {0.55, 0.15, 0.65}, {0.90, 0.50, 0.10}, {0.85, 0.85, 0.85}, {0.15, 0.15, 0.15}};

TPicture DrawBanner(const TColour& colour) {
    const TSurface surface = MakeSurface(20, 30);
    const TContext cr = MakeContext(surface.get());
    cairo_set_source_rgb(cr.get(), 0.3, 0.2, 0.1);
    cairo_rectangle(cr.get(), 2, 0, 2, 30);
    cairo_fill(cr.get());
    cairo_set_source_rgb(cr.get(), colour.R, colour.G, colour.B);
    cairo_move_to(cr.get(), 4, 2);
    cairo_line_to(cr.get(), 19, 2);
    cairo_line_to(cr.get(), 14, 9);
    cairo_line_to(cr.get(), 19, 16);
    cairo_line_to(cr.get(), 4, 16);
    cairo_close_path(cr.get());
    cairo_fill(cr.get());
    return ToPicture(surface.get());
}

} // namespace

TBytes DrawBackground(const TTerrain& terrain, uint32_t seed) {
    const int cellsPerTile = GameData::TileSize / GameData::CellSize;
    const int columns = (terrain.Width + cellsPerTile - 1) / cellsPerTile;
    const int rows = (terrain.Height + cellsPerTile - 1) / cellsPerTile;
    ClassLib::TMemoryStream stream;
    stream.WriteValue<uint32_t>(0);
    GameData::TBackgroundHeader header{};
    std::memcpy(header.Signature, "BCKG", 4);
    header.Width = int16_t(columns);
    header.Height = int16_t(rows);
    stream.WriteBuffer(&header, sizeof(header));
    TContentRandom random(seed ^ 0xBC46ull);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const TBytes tile = Encode(DrawTile(terrain, column, row, random),
                                       uint32_t(row * columns + column + 1), false, 0, 0);
            stream.WriteBuffer(tile.data(), int64_t(tile.size()));
        }
    return stream.Bytes();
}

TBytes DrawSceneryLibrary() {
    std::vector<TBytes> sprites{Encode(DrawTree(), TreeSpriteID, true, 20, 50),
                                Encode(DrawRock(), RockSpriteID, true, 20, 28),
                                Encode(DrawBattlePicture(), BattlePictureID, false, 0, 0)};
    for (TBytes& sprite : DrawTownSprites())
        sprites.push_back(std::move(sprite));
    return EncodeSpriteLibrary(0, sprites);
}

TBytes DrawBannerLibrary() {
    std::vector<TBytes> banners;
    for (int c = 0; c < BannerColours; ++c)
        banners.push_back(
            Encode(DrawBanner(BannerColour[c]), FirstBannerID + uint32_t(c), true, 3, 29));
    return EncodeSpriteLibrary(0, banners);
}

TBytes DrawPreview(const TTerrain& terrain, const TLevelDescription& level) {
    const TSurface surface = MakeSurface(terrain.Width * 2, terrain.Height * 2);
    const TContext cr = MakeContext(surface.get());
    for (int y = 0; y < terrain.Height; ++y)
        for (int x = 0; x < terrain.Width; ++x) {
            const TColour c = CellColour(terrain, x, y);
            cairo_set_source_rgb(cr.get(), c.R, c.G, c.B);
            cairo_rectangle(cr.get(), x * 2, y * 2, 2, 2);
            cairo_fill(cr.get());
        }
    for (const TLevelPlayer& player : level.Players) {
        const TColour& c = BannerColour[player.Colour % BannerColours];
        cairo_set_source_rgb(cr.get(), c.R, c.G, c.B);
        cairo_rectangle(cr.get(), player.StartX * 2 - 2, player.StartY * 2 - 2, 6, 6);
        cairo_fill(cr.get());
    }
    return Encode(ToPicture(surface.get()), 0, false, 0, 0);
}

} // namespace Tools
