#include "tools/content/ContactSheet.h"

#include "engine/core/Archive.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/graphics/SpriteList.h"
#include "platform/classlib/Bitmap.h"
#include "platform/classlib/Files.h"
#include "tools/PngFiles.h"
#include "tools/content/Canvas.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace Content {

namespace {

using Tools::TPicture;

constexpr int SheetWidth = 2000, Gap = 6, LabelHeight = 12;
constexpr uint16_t Neutral = 0x8410; // mid grey in RGB565

// One frame as drawn by the game's software path onto the neutral background.
TPicture Frame(Gfx::TSprite* sprite, int frame) {
    ClassLib::TBitmap bitmap(std::max<int>(sprite->Width, 1), std::max<int>(sprite->Height, 1));
    Gfx::FillBitmapRect(&bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, Neutral, nullptr);
    Gfx::DrawSpriteToBitmap(sprite, &bitmap, frame, 0, 0, nullptr);
    const Win32::TPixelView view = bitmap.Pixels();
    TPicture picture{bitmap.Width(), bitmap.Height(), {}};
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            uint16_t pixel;
            std::memcpy(&pixel, view.At(x, y), 2);
            picture.Pixels.push_back(0xFF000000 | Gfx::UnpackColor16(pixel));
        }
    return picture;
}

struct TCell {
    uint32_t ID;
    std::vector<TPicture> Frames;
    double Scale;
    int Width, Height; // of the cell without its label
};

void Paint(cairo_t* cr, const TPicture& picture, double x, double y, double scale) {
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(picture.Pixels.data())),
        CAIRO_FORMAT_ARGB32, picture.Width, picture.Height, picture.Width * 4);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
}

void WriteSheet(Gfx::TSpriteList& library, const std::string& fileName,
                const TSheetOptions& options) {
    std::vector<TCell> cells;
    for (const Gfx::TSpriteEntry& entry : library.Directory()) {
        if (entry.ID < options.FirstID || entry.ID > options.LastID)
            continue;
        Gfx::TSprite* sprite = library.AcquireSpriteByID(entry.ID);
        TCell cell{entry.ID, {}, 1.0, 0, 0};
        const int largest = std::max<int>({sprite->Width, sprite->Height, 1});
        cell.Scale = std::min(1.0, double(options.MaxFrameSize) / largest);
        for (int f = 0; f < sprite->FrameCount(); ++f)
            cell.Frames.push_back(Frame(sprite, f));
        const int frameWidth = int(sprite->Width * cell.Scale) + 2;
        cell.Width = std::max(40, std::min(SheetWidth, frameWidth * sprite->FrameCount()));
        cell.Height = int(sprite->Height * cell.Scale);
        library.ReleaseSpriteByPointer(sprite);
        cells.push_back(std::move(cell));
    }
    // Flow the cells into rows.
    std::vector<std::pair<int, int>> places;
    int x = Gap, y = Gap, rowHeight = 0;
    for (const TCell& cell : cells) {
        if (x + cell.Width > SheetWidth - Gap && x > Gap) {
            x = Gap;
            y += rowHeight + Gap;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        x += cell.Width + Gap;
        rowHeight = std::max(rowHeight, cell.Height + LabelHeight);
    }
    TCanvas canvas(SheetWidth, std::max(y + rowHeight + Gap, 1));
    cairo_t* cr = canvas.Cr();
    cairo_set_source_rgb(cr, 0.35, 0.35, 0.37);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 10);
    for (size_t i = 0; i < cells.size(); ++i) {
        const auto [cx, cy] = places[i];
        cairo_set_source_rgb(cr, 1, 1, 0.8);
        cairo_move_to(cr, cx, cy + 9);
        cairo_show_text(cr, std::to_string(cells[i].ID).c_str());
        double fx = cx;
        for (const TPicture& frame : cells[i].Frames) {
            if (fx + frame.Width * cells[i].Scale > SheetWidth)
                break;
            Paint(cr, frame, fx, cy + LabelHeight, cells[i].Scale);
            fx += frame.Width * cells[i].Scale + 2;
        }
    }
    Tools::SavePng(fileName, canvas.Picture());
}

} // namespace

int WriteContactSheets(const std::string& programFolder, const std::string& outFolder,
                       const TSheetOptions& options) {
    const ClassLib::AnsiString savedPath = Data::DataPath;
    Data::DataPath = programFolder + (programFolder.ends_with("/") ? "" : "/");
    ClassLib::ForceDirectories(outFolder);
    int written = 0;
    try {
        const Data::TArchive archive("graphics", Data::arAutomatic);
        for (int i = 0; i < archive.Count(); ++i) {
            const std::string name = archive.GetFileName(i);
            if (!name.ends_with(".gfxl"))
                continue;
            Gfx::TSpriteList library(Gfx::slDirectory);
            library.LoadFromArchive(archive, name);
            WriteSheet(library, outFolder + "/" + name.substr(0, name.size() - 5) + ".png",
                       options);
            ++written;
        }
    } catch (...) {
        Data::DataPath = savedPath;
        throw;
    }
    Data::DataPath = savedPath;
    return written;
}

} // namespace Content
