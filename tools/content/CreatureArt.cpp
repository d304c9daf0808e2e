// Every creature kind in its ten sprite sets of eight facings, with portraits.
#include "tools/content/Art.h"
#include "tools/content/Canvas.h"
#include "tools/content/ContentIds.h"
#include "tools/content/CreatureFigure.h"

#include <cmath>

namespace Content {

namespace {

struct TSetShape {
    int Frames; // 0: the set is never drawn
    bool Battle;
};

// Map standing, dying, walking, (unused), casting; battle idle, death, flourish, attack, cast.
constexpr TSetShape Sets[SpriteSets] = {{1, false}, {4, false}, {4, false}, {0, false}, {3, false},
                                        {4, true},  {5, true},  {4, true},  {4, true},  {4, true}};

struct TStage {
    int Size;     // square picture
    double Scale; // pixels per unit for a creature of size 1
    double FeetY; // where the ground lies in the picture
    int HotSpotY; // the map position or battle place
};
constexpr TStage MapStage{56, 0.52, 50, 36};
constexpr TStage BattleStage{112, 1.0, 104, 90};

TPose PoseOf(int set, int frame, int count) {
    TPose pose;
    const double t = count > 1 ? double(frame) / (count - 1) : 0;
    switch (set) {
    case 1:
        pose.Fall = double(frame + 1) / count;
        break;
    case 6:
        pose.Fall = t;
        break;
    case 2:
        pose.Moving = true;
        pose.Walk = double(frame) / count;
        break;
    case 4:
    case 9:
        pose.Cast = std::sin(M_PI * (frame + 1) / (count + 1)) * 0.5 + t * 0.5;
        break;
    case 5:
        pose.Bob = std::sin(2 * M_PI * frame / count);
        pose.Walk = double(frame) / count;
        break;
    case 7:
        pose.Cheer = std::sin(M_PI * t);
        break;
    case 8: {
        constexpr double strikes[4] = {0.0, 0.35, 1.0, 0.5};
        pose.Strike = strikes[frame % 4];
        break;
    }
    default:
        break;
    }
    return pose;
}

// A spider seen from above, facing +x; legs scuttle with the step phase.
void Spider(cairo_t* cr, const TCreatureLook& look, const TPose& pose) {
    const double curl = 1 - pose.Fall * 0.6;
    const double lunge = pose.Strike * 6;
    // Four legs a side, splayed from forward to back; each bends at its knee.
    constexpr double angles[4] = {0.6, 1.2, 1.9, 2.5};
    for (int side : {-1, 1})
        for (int leg = 0; leg < 4; ++leg) {
            const double phase =
                pose.Moving ? std::sin((pose.Walk + leg * 0.25 + (side > 0 ? 0.5 : 0)) * 2 * M_PI)
                            : 0;
            const double a = angles[leg] + phase * 0.2;
            const double kx = std::cos(a) * 14 * curl, ky = side * (std::sin(a) * 14 + 3) * curl;
            const double fx = std::cos(a) * 24 * curl, fy = side * (std::sin(a) * 20 + 9) * curl;
            cairo_move_to(cr, 0, side * 2);
            cairo_line_to(cr, kx, ky);
            cairo_line_to(cr, fx, fy);
            SetColour(cr, look.Legs, 0.4);
            cairo_set_line_width(cr, 3.6);
            cairo_stroke_preserve(cr);
            SetColour(cr, look.Main, 1.3);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
        }
    Ellipse(cr, -10, 0, 13, 10);
    FillOutlined(cr, look.Main, 1.4);
    cairo_move_to(cr, -15, 0);
    cairo_line_to(cr, -10, -3);
    cairo_line_to(cr, -5, 0);
    cairo_line_to(cr, -10, 3);
    cairo_close_path(cr);
    SetColour(cr, look.Trim);
    cairo_fill(cr);
    Ellipse(cr, 6 + lunge, 0, 7, 6);
    FillOutlined(cr, look.Main, 1.2);
    for (int side : {-1, 1}) {
        Ellipse(cr, 10 + lunge, side * 2, 1.2, 1.2);
        SetColour(cr, 0xFF3030);
        cairo_fill(cr);
        cairo_move_to(cr, 12 + lunge, side * 2);
        cairo_line_to(cr, 16 + lunge + pose.Strike * 3, side * (1 - pose.Strike));
        SetColour(cr, 0xE0E0D0);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }
}

// The creature at the current origin (its feet), in units of the given scale.
void Creature(cairo_t* cr, const TCreatureLook& look, int facing, const TPose& pose) {
    const int dx = FacingDX[size_t(facing)], dy = FacingDY[size_t(facing)];
    if (look.Body == TBody::Spider) {
        cairo_translate(cr, 0, -10);
        cairo_scale(cr, 1, 0.75);
        cairo_rotate(cr, std::atan2(dy, dx));
        Spider(cr, look, pose);
        return;
    }
    TView view = dy > 0 ? TView::Front : TView::Back;
    if (dx != 0)
        view = dy < 0 ? TView::SideAway : TView::Side;
    if (dx < 0)
        cairo_scale(cr, -1, 1);
    const bool beast = look.Body == TBody::Wolf || look.Body == TBody::Drake;
    if (pose.Fall > 0 && !beast && view != TView::Front)
        cairo_translate(cr, pose.Fall * 24, 0);
    DrawFigure(cr, look, view, pose);
}

// The drawn creature and the shadow it casts on the ground around its feet.
std::pair<TPicture, TPicture> Frame(const TCreatureLook& look, const TStage& stage, int facing,
                                    const TPose& pose) {
    const double scale = stage.Scale * std::min(look.Size, 1.3);
    TCanvas canvas(stage.Size, stage.Size);
    cairo_t* cr = canvas.Cr();
    cairo_translate(cr, stage.Size / 2.0, stage.FeetY);
    cairo_scale(cr, scale, scale);
    Creature(cr, look, facing, pose);
    TPicture figure = canvas.Picture();
    TCanvas shadowCanvas(stage.Size, stage.Size);
    cairo_t* sc = shadowCanvas.Cr();
    Ellipse(sc, stage.Size / 2.0 + 3 * scale, stage.FeetY - 1, 17 * scale * (1 + pose.Fall * 0.6),
            5 * scale);
    SetColour(sc, 0x000000);
    cairo_fill(sc);
    TPicture shadow = shadowCanvas.Picture();
    for (size_t i = 0; i < shadow.Pixels.size(); ++i)
        if (figure.Pixels[i] >> 24 >= 128)
            shadow.Pixels[i] = 0; // the creature itself is not darkened
    return {std::move(figure), std::move(shadow)};
}

void AddSet(TLibrary& library, int kind, int set, const TCreatureLook& look) {
    const TSetShape shape = Sets[set];
    if (shape.Frames == 0)
        return;
    const TStage& stage = shape.Battle ? BattleStage : MapStage;
    for (int facing = 0; facing < 8; ++facing) {
        std::vector<TPicture> frames, shadows;
        for (int f = 0; f < shape.Frames; ++f) {
            auto [figure, shadow] = Frame(look, stage, facing, PoseOf(set, f, shape.Frames));
            frames.push_back(std::move(figure));
            shadows.push_back(std::move(shadow));
        }
        TSpriteOptions options = KeyedOptions(stage.Size / 2, stage.HotSpotY);
        options.Shadows = std::move(shadows);
        library.Add(CreatureSpriteID(kind, set, facing), frames, options);
    }
}

void Backdrop(cairo_t* cr, int width, int height, uint32_t colour) {
    cairo_pattern_t* light = cairo_pattern_create_radial(width * 0.35, height * 0.3, 2, width / 2.0,
                                                         height / 2.0, height);
    const auto stop = [&](double at, double shade) {
        const auto c = [&](int shift) {
            const double v = double(colour >> shift & 0xFF) / 255.0;
            return shade <= 1 ? v * shade : v + (1 - v) * (shade - 1);
        };
        cairo_pattern_add_color_stop_rgb(light, at, c(16), c(8), c(0));
    };
    stop(0, 1.5);
    stop(1, 0.35);
    cairo_set_source(cr, light);
    cairo_paint(cr);
    cairo_pattern_destroy(light);
}

TPicture Portrait(const TCreatureLook& look, int width, int height, double scale, double feetY) {
    TCanvas canvas(width, height);
    cairo_t* cr = canvas.Cr();
    Backdrop(cr, width, height, look.Trim);
    cairo_translate(cr, width / 2.0, feetY);
    cairo_scale(cr, scale, scale);
    Creature(cr, look, look.Body == TBody::Spider ? 0 : 1, TPose{});
    cairo_identity_matrix(cr);
    cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
    SetColour(cr, 0x201008);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return canvas.Picture();
}

// The encyclopedia's open book: the creature large on the left page, the right page
// plain for the name, attributes and description the screen writes from x 429. Arrows
// mark the page-turning edges and emblems the three category buttons at the bottom.
TPicture PediaPage(const TCreatureLook& look) {
    constexpr int Width = 800, Height = 600;
    TCanvas canvas(Width, Height);
    cairo_t* cr = canvas.Cr();
    SetColour(cr, 0x3A2414);
    cairo_paint(cr);
    for (int side = 0; side < 2; ++side) {
        const double x = side == 0 ? 16 : 400, w = 384;
        cairo_pattern_t* paper = cairo_pattern_create_linear(x, 0, x + w, 0);
        // The paper darkens toward the spine.
        const double spine = side == 0 ? 1 : 0;
        cairo_pattern_add_color_stop_rgb(paper, spine, 0.78, 0.68, 0.50);
        cairo_pattern_add_color_stop_rgb(paper, 0.12 + 0.76 * (1 - spine), 0.95, 0.89, 0.74);
        cairo_pattern_add_color_stop_rgb(paper, 1 - spine, 0.90, 0.83, 0.66);
        RoundedRect(cr, x, 14, w, 572, 8);
        cairo_set_source(cr, paper);
        cairo_fill(cr);
        cairo_pattern_destroy(paper);
    }
    // The picture in its frame on the left page.
    constexpr double FrameX = 86, FrameY = 110, FrameW = 250, FrameH = 330;
    cairo_save(cr);
    RoundedRect(cr, FrameX, FrameY, FrameW, FrameH, 10);
    cairo_clip(cr);
    cairo_translate(cr, FrameX, FrameY);
    Backdrop(cr, int(FrameW), int(FrameH), look.Trim);
    const double size = std::min(look.Size, 1.3);
    cairo_translate(cr, FrameW / 2, FrameH - 24);
    const double scale = 3.4 / size;
    cairo_scale(cr, scale, scale);
    Creature(cr, look, look.Body == TBody::Spider ? 0 : 1, TPose{});
    cairo_restore(cr);
    RoundedRect(cr, FrameX, FrameY, FrameW, FrameH, 10);
    SetColour(cr, 0x6A4A20);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    // Page-turning arrows at the outer edges.
    const auto arrow = [cr](double x, double direction) {
        cairo_move_to(cr, x, 273 - 16);
        cairo_line_to(cr, x + 14 * direction, 273);
        cairo_line_to(cr, x, 273 + 16);
        cairo_close_path(cr);
        SetColour(cr, 0x7A5A30);
        cairo_fill(cr);
    };
    arrow(36, -1);
    arrow(764, 1);
    // The category emblems: a paw, a head, a skull.
    SetColour(cr, 0x6A4A20);
    Ellipse(cr, 533, 548, 7, 6);
    cairo_fill(cr);
    for (int toe = 0; toe < 3; ++toe) {
        Ellipse(cr, 526 + 7 * toe, 537 - (toe == 1 ? 3 : 0), 3, 3.5);
        cairo_fill(cr);
    }
    Ellipse(cr, 613, 538, 7, 8);
    cairo_fill(cr);
    Ellipse(cr, 613, 557, 12, 7);
    cairo_fill(cr);
    Ellipse(cr, 683, 542, 10, 10);
    cairo_fill(cr);
    cairo_rectangle(cr, 677, 548, 12, 10);
    cairo_fill(cr);
    SetColour(cr, 0xE8DCC0);
    Ellipse(cr, 679, 543, 2.5, 3);
    Ellipse(cr, 687, 543, 2.5, 3);
    cairo_fill(cr);
    return canvas.Picture();
}

} // namespace

void DrawCreatures(TLibrary& library, int first, int last) {
    for (int kind = first; kind <= last; ++kind) {
        const TCreatureLook& look = CreatureLooks[size_t(kind - 1)];
        for (int set = 0; set < SpriteSets; ++set)
            AddSet(library, kind, set, look);
        // The portrait shows the head and shoulders; big creatures are shown whole.
        const bool whole =
            look.Body != TBody::Humanoid && look.Body != TBody::Robed && look.Body != TBody::Bones;
        const double size = std::min(look.Size, 1.3);
        library.Add(PortraitID(kind),
                    {whole ? Portrait(look, 80, 80, 1.6 / size, 70)
                           : Portrait(look, 80, 80, 2.2 / size, 80 + 2.2 * 30 / size)},
                    PictureOptions());
        library.Add(DetailPictureID(kind), {Portrait(look, 160, 200, 2.3 / size, 190)},
                    PictureOptions());
        library.Add(PediaPageID(kind), {PediaPage(look)}, PictureOptions());
    }
}

} // namespace Content
