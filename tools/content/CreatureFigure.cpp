#include "tools/content/CreatureFigure.h"

#include "tools/content/Canvas.h"

#include <cmath>

namespace Content {

namespace {

constexpr uint32_t Steel = 0xC8CCD8, Wood = 0x7A5030, Ink = 0x181010;

void Line(cairo_t* cr, double x0, double y0, double x1, double y1, uint32_t colour, double width) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    SetColour(cr, colour, 0.3);
    cairo_set_line_width(cr, width + 1.6);
    cairo_stroke(cr);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// A limb from (x, y) at angle (radians from straight down, positive forward) of length.
void Limb(cairo_t* cr, double x, double y, double angle, double length, uint32_t colour,
          double width, double& endX, double& endY) {
    endX = x + std::sin(angle) * length;
    endY = y + std::cos(angle) * length;
    Line(cr, x, y, endX, endY, colour, width);
}

void Weapon(cairo_t* cr, TWeapon weapon, double x, double y, double angle, uint32_t trim) {
    // angle: direction the weapon points (radians from straight up, positive forward).
    const double ux = std::sin(angle), uy = -std::cos(angle);
    const auto along = [&](double d, double& px, double& py) {
        px = x + ux * d;
        py = y + uy * d;
    };
    double tx, ty, bx, by;
    switch (weapon) {
    case TWeapon::SwordShield:
        along(22, tx, ty);
        Line(cr, x, y, tx, ty, Steel, 2.2);
        Line(cr, x - uy * 4, y + ux * 4, x + uy * 4, y - ux * 4, trim, 2);
        break;
    case TWeapon::Greatsword:
        along(34, tx, ty);
        Line(cr, x, y, tx, ty, Steel, 3);
        Line(cr, x - uy * 6, y + ux * 6, x + uy * 6, y - ux * 6, trim, 2.4);
        break;
    case TWeapon::Staff:
        along(40, tx, ty);
        along(-14, bx, by);
        Line(cr, bx, by, tx, ty, Wood, 2.4);
        Ellipse(cr, tx, ty, 3.5, 3.5);
        FillOutlined(cr, trim, 1);
        break;
    case TWeapon::Club:
        along(30, tx, ty);
        Line(cr, x, y, tx, ty, Wood, 4);
        Ellipse(cr, tx, ty, 6, 6);
        FillOutlined(cr, Wood, 1.2);
        break;
    case TWeapon::Axe:
        along(26, tx, ty);
        Line(cr, x, y, tx, ty, Wood, 2.4);
        cairo_move_to(cr, tx, ty);
        cairo_line_to(cr, tx + uy * -9 + ux * 4, ty - ux * -9 + uy * 4);
        cairo_line_to(cr, tx + uy * -9 - ux * 6, ty - ux * -9 - uy * 6);
        cairo_close_path(cr);
        FillOutlined(cr, trim, 1);
        break;
    case TWeapon::Pitchfork:
        along(36, tx, ty);
        along(-10, bx, by);
        Line(cr, bx, by, tx, ty, Wood, 2);
        for (int prong = -1; prong <= 1; ++prong) {
            const double px = tx - uy * prong * 3, py = ty + ux * prong * 3;
            Line(cr, px, py, px + ux * 7, py + uy * 7, Steel, 1.2);
        }
        break;
    case TWeapon::Bow: {
        // Held upright in front of the hand.
        cairo_arc(cr, x - 8, y, 16, -M_PI / 3, M_PI / 3);
        SetColour(cr, Wood, 0.8);
        cairo_set_line_width(cr, 2.6);
        cairo_stroke(cr);
        Line(cr, x, y - 14, x, y + 14, 0xE0E0D0, 0.6);
        break;
    }
    case TWeapon::None:
        break;
    }
}

void Shield(cairo_t* cr, double x, double y, double scale, uint32_t colour, uint32_t trim) {
    cairo_move_to(cr, x - 7 * scale, y - 9);
    cairo_line_to(cr, x + 7 * scale, y - 9);
    cairo_curve_to(cr, x + 7 * scale, y + 3, x + 3 * scale, y + 8, x, y + 11);
    cairo_curve_to(cr, x - 3 * scale, y + 8, x - 7 * scale, y + 3, x - 7 * scale, y - 9);
    cairo_close_path(cr);
    FillOutlined(cr, colour, 1.2);
    Line(cr, x, y - 7, x, y + 7, trim, 1.6);
}

void Head(cairo_t* cr, const TCreatureLook& look, TView view, double x, double y) {
    const bool side = view == TView::Side || view == TView::SideAway;
    const bool face = view == TView::Front || view == TView::Side;
    if (look.Head == THead::Hood || look.Head == THead::Veil) {
        Ellipse(cr, x - (side ? 1 : 0), y - 1, 9, 10);
        FillOutlined(cr, look.Main, 1.2);
    }
    Ellipse(cr, x, y, 7, 7.5);
    FillOutlined(cr, look.Head == THead::Skull ? look.Main : look.Skin, 1.2);
    if (face) {
        const double ex = side ? x + 4 : x;
        if (side) {
            Ellipse(cr, ex, y - 1, 1.2, 1.4);
        } else {
            Ellipse(cr, x - 2.8, y - 1, 1.2, 1.4);
            Ellipse(cr, x + 2.8, y - 1, 1.2, 1.4);
        }
        SetColour(cr, Ink);
        cairo_fill(cr);
    }
    switch (look.Head) {
    case THead::Helmet:
    case THead::PlumedHelmet:
    case THead::Horned:
        cairo_arc(cr, x, y - 1, 8, M_PI, 2 * M_PI);
        cairo_close_path(cr);
        FillOutlined(cr, look.Head == THead::Horned ? 0x6A6A70 : Steel, 1.2);
        if (look.Head == THead::PlumedHelmet) {
            cairo_move_to(cr, x, y - 9);
            cairo_curve_to(cr, x - 4, y - 20, x - 12, y - 16, x - 14, y - 8);
            cairo_curve_to(cr, x - 8, y - 12, x - 4, y - 12, x, y - 9);
            FillOutlined(cr, 0xC02828, 1);
        }
        if (look.Head == THead::Horned) {
            for (int sideSign : {-1, 1}) {
                if (side && sideSign < 0)
                    continue;
                cairo_move_to(cr, x + sideSign * 6, y - 5);
                cairo_curve_to(cr, x + sideSign * 12, y - 8, x + sideSign * 13, y - 14,
                               x + sideSign * 10, y - 18);
                cairo_curve_to(cr, x + sideSign * 10, y - 12, x + sideSign * 7, y - 9,
                               x + sideSign * 3, y - 8);
                FillOutlined(cr, 0xE8E0C8, 1);
            }
        }
        break;
    case THead::WizardHat:
        cairo_move_to(cr, x - 11, y - 4);
        cairo_line_to(cr, x + 11, y - 4);
        cairo_line_to(cr, x + 2, y - 26);
        cairo_close_path(cr);
        FillOutlined(cr, look.Main, 1.2);
        Line(cr, x - 11, y - 4, x + 11, y - 4, look.Trim, 1.6);
        if (face) { // a white beard
            cairo_move_to(cr, x - 5 + (side ? 4 : 0), y + 2);
            cairo_line_to(cr, x + 5 + (side ? 4 : 0), y + 2);
            cairo_line_to(cr, x + (side ? 4 : 0), y + 14);
            cairo_close_path(cr);
            FillOutlined(cr, 0xF0F0F0, 1);
        }
        break;
    case THead::Hood:
        if (!face) {
            Ellipse(cr, x, y, 8, 8.5);
            FillOutlined(cr, look.Main, 1.2);
        }
        break;
    case THead::Veil:
        cairo_arc(cr, x, y - 1, 8.5, M_PI, 2 * M_PI);
        cairo_close_path(cr);
        FillOutlined(cr, look.Main, 1);
        Ellipse(cr, x, y - 9, 3, 3);
        FillOutlined(cr, look.Trim, 1);
        break;
    case THead::StrawHat:
        Ellipse(cr, x, y - 5, 12, 3);
        FillOutlined(cr, 0xD8C070, 1);
        cairo_arc(cr, x, y - 6, 6, M_PI, 2 * M_PI);
        FillOutlined(cr, 0xD8C070, 1);
        break;
    case THead::Bare:
        if (look.Size > 1.2) { // a troll's heavy brow and tusks
            Line(cr, x - 6, y - 3, x + 6, y - 3, look.Skin, 2.2);
            if (face) {
                Line(cr, x - 3 + (side ? 4 : 0), y + 4, x - 3 + (side ? 4 : 0), y + 1, 0xF0F0E0,
                     1.2);
                if (!side)
                    Line(cr, x + 3, y + 4, x + 3, y + 1, 0xF0F0E0, 1.2);
            }
        }
        break;
    case THead::Skull:
        if (face) {
            Line(cr, x - 3 + (side ? 4 : 0), y + 5, x + 3, y + 5, Ink, 1);
        }
        break;
    }
}

void Humanoid(cairo_t* cr, const TCreatureLook& look, TView view, const TPose& pose) {
    const bool bones = look.Body == TBody::Bones;
    const bool robed = look.Body == TBody::Robed;
    const bool side = view == TView::Side || view == TView::SideAway;
    const double hipY = -26, shoulderY = -46, headY = -54;
    const double swing = pose.Moving ? std::sin(pose.Walk * 2 * M_PI) * 0.5 : 0;
    const double limbWidth = bones ? 2.2 : look.Size > 1.2 ? 7 : 5;
    double ex, ey;
    // Arm angles: back arm and front (weapon) arm.
    double weaponArm = 0.3 + pose.Strike * 1.4 - pose.Cheer * 2.6 - pose.Cast * 2.2;
    double shieldArm = 0.2 - swing * 0.6 - pose.Cast * 2.4;
    if (pose.Moving)
        weaponArm += swing * 0.5;

    const auto legs = [&] {
        for (double x : {-5.0, 5.0})
            Limb(cr, x, hipY, 0, 26, look.Legs, limbWidth, ex, ey);
    };
    const auto weaponHand = [&](double x) {
        const double outward = x < 0 ? -1 : 1;
        const double armAngle =
            side ? weaponArm
                 : outward * (0.2 + pose.Strike * 0.5 + pose.Cheer * 2.4 + pose.Cast * 2.2);
        Limb(cr, x, shoulderY, armAngle, 18, look.Skin, limbWidth * 0.8, ex, ey);
        const double pointing =
            side ? 0.5 + pose.Strike * 1.3 - pose.Cheer * 0.5 - pose.Cast * 0.4 : outward * 0.25;
        Weapon(cr, look.Weapon, ex, ey, pointing, look.Trim);
        if (pose.Cast > 0) {
            cairo_pattern_t* glow = cairo_pattern_create_radial(ex, ey, 0, ex, ey, 10);
            cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 0.8, 0.9 * pose.Cast);
            cairo_pattern_add_color_stop_rgba(glow, 1, 0.3, 0.6, 1, 0);
            cairo_set_source(cr, glow);
            Ellipse(cr, ex, ey, 10, 10);
            cairo_fill(cr);
            cairo_pattern_destroy(glow);
        }
    };
    const auto shieldHand = [&](double x, bool front) {
        Limb(cr, x, shoulderY, side ? shieldArm : 0.15, 17, look.Skin, limbWidth * 0.8, ex, ey);
        if (look.Weapon == TWeapon::SwordShield && front)
            Shield(cr, ex + (side ? 3 : 0), ey - 4, side ? 0.6 : 1.0, bones ? 0x7A5A3A : look.Trim,
                   look.Main);
    };

    if (view == TView::Back) {
        weaponHand(-11);
        shieldHand(11, true);
    }
    if (side) {
        // Far side first: the other leg and the shield arm.
        Limb(cr, 0, hipY, -swing, 26, look.Legs, limbWidth, ex, ey);
        shieldHand(-2, view == TView::SideAway);
    }
    if (look.Cape) {
        cairo_move_to(cr, -9, shoulderY);
        cairo_line_to(cr, 9, shoulderY);
        cairo_line_to(cr, side ? -4 : 13, -6);
        cairo_line_to(cr, side ? -16 : -13, -6);
        cairo_close_path(cr);
        FillOutlined(cr, look.Weapon == TWeapon::Staff ? look.Trim : 0x2A40A0, 1.2);
    }
    if (robed) {
        const double half = side ? 9 : 12;
        cairo_move_to(cr, -half * 0.6, shoulderY);
        cairo_line_to(cr, half * 0.6, shoulderY);
        cairo_line_to(cr, half + (pose.Moving ? swing * 3 : 0), 0);
        cairo_line_to(cr, -half + (pose.Moving ? swing * 3 : 0), 0);
        cairo_close_path(cr);
        FillOutlined(cr, look.Main, 1.4);
        Line(cr, -half * 0.2, shoulderY + 6, -half * 0.2, -2, look.Trim, 1.6);
    } else {
        if (side)
            Limb(cr, 0, hipY, swing, 26, look.Legs, limbWidth, ex, ey);
        else
            legs();
        const double half = bones ? 5 : side ? 7 : 10;
        const double width = look.Size > 1.2 ? 1.4 : 1.0;
        RoundedRect(cr, -half * width, shoulderY - 2, 2 * half * width, hipY - shoulderY + 6, 4);
        FillOutlined(cr, look.Main, 1.4);
        if (bones) {
            for (int rib = 0; rib < 4; ++rib)
                Line(cr, -7, shoulderY + 3 + rib * 4, 7, shoulderY + 3 + rib * 4, look.Main, 1.2);
        } else {
            Line(cr, -half * width, hipY + 1, half * width, hipY + 1, look.Trim, 2.4); // belt
        }
    }
    Head(cr, look, view, side ? 1 : 0, headY);
    if (view == TView::Front) {
        shieldHand(11, true);
        weaponHand(-11);
    }
    if (side) {
        weaponHand(1);
        if (view == TView::Side)
            shieldHand(2, true);
    }
}

void Wolf(cairo_t* cr, const TCreatureLook& look, TView view, const TPose& pose) {
    const double swing = pose.Moving ? std::sin(pose.Walk * 2 * M_PI) * 0.6 : 0;
    const double lunge = pose.Strike * 8;
    double ex, ey;
    if (view == TView::Front || view == TView::Back) {
        Ellipse(cr, 0, -16, 12, 10);
        FillOutlined(cr, look.Main, 1.4);
        for (int sideSign : {-1, 1})
            Limb(cr, sideSign * 6, -12, 0, 12, look.Legs, 4, ex, ey);
        if (view == TView::Front) {
            Ellipse(cr, 0, -24 + pose.Strike * 3, 8, 7);
            FillOutlined(cr, look.Main, 1.2);
            for (int sideSign : {-1, 1}) {
                cairo_move_to(cr, sideSign * 3, -29);
                cairo_line_to(cr, sideSign * 7, -36);
                cairo_line_to(cr, sideSign * 8, -27);
                FillOutlined(cr, look.Main, 1);
                Ellipse(cr, sideSign * 3, -25, 1.2, 1.2);
                SetColour(cr, 0xF0D040);
                cairo_fill(cr);
            }
            Ellipse(cr, 0, -20, 3, 2.5);
            FillOutlined(cr, look.Skin, 1);
        } else {
            cairo_move_to(cr, 0, -20);
            cairo_curve_to(cr, 4, -30, 8, -32, 6, -38);
            SetColour(cr, look.Main, 0.7);
            cairo_set_line_width(cr, 5);
            cairo_stroke(cr);
        }
        return;
    }
    // Side view facing right.
    Limb(cr, -10, -14, -swing, 14, look.Legs, 3.5, ex, ey);
    Limb(cr, 10 + lunge, -14, swing, 14, look.Legs, 3.5, ex, ey);
    cairo_move_to(cr, -16, -18);
    cairo_curve_to(cr, -26, -20, -30, -26, -32, -30);
    SetColour(cr, look.Main, 0.7);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    Ellipse(cr, lunge * 0.5, -18, 18, 8);
    FillOutlined(cr, look.Main, 1.4);
    Limb(cr, -12, -14, swing, 14, look.Legs, 3.5, ex, ey);
    Limb(cr, 12 + lunge, -14, -swing, 14, look.Legs, 3.5, ex, ey);
    // Head with snout, ears and an open jaw when biting.
    const double hx = 20 + lunge, hy = -24 + pose.Strike * 4;
    Ellipse(cr, hx, hy, 7, 6);
    FillOutlined(cr, look.Main, 1.2);
    cairo_move_to(cr, hx + 3, hy - 3);
    cairo_line_to(cr, hx + 14, hy + 1 - pose.Strike * 2);
    cairo_line_to(cr, hx + 3, hy + 4);
    FillOutlined(cr, look.Main, 1.2);
    if (pose.Strike > 0.3) {
        cairo_move_to(cr, hx + 3, hy + 3);
        cairo_line_to(cr, hx + 12, hy + 7);
        cairo_line_to(cr, hx + 3, hy + 5);
        FillOutlined(cr, look.Main, 1);
    }
    cairo_move_to(cr, hx - 3, hy - 4);
    cairo_line_to(cr, hx - 1, hy - 12);
    cairo_line_to(cr, hx + 2, hy - 4);
    FillOutlined(cr, look.Main, 1);
    if (view == TView::Side) {
        Ellipse(cr, hx + 2, hy - 1, 1.3, 1.3);
        SetColour(cr, 0xF0D040);
        cairo_fill(cr);
    }
}

void Drake(cairo_t* cr, const TCreatureLook& look, TView view, const TPose& pose) {
    const double flap = std::sin((pose.Walk + pose.Bob * 0.1) * 2 * M_PI);
    const double swing = pose.Moving ? flap * 0.5 : 0;
    double ex, ey;
    const auto wing = [&](double rootX, double sideSign) {
        const double lift = 10 + flap * 8 + pose.Cheer * 8;
        cairo_move_to(cr, rootX, -26);
        cairo_line_to(cr, rootX + sideSign * 10, -34 - lift);
        cairo_line_to(cr, rootX + sideSign * 30, -30 - lift);
        cairo_curve_to(cr, rootX + sideSign * 22, -28, rootX + sideSign * 14, -24, rootX, -22);
        cairo_close_path(cr);
        FillOutlined(cr, look.Legs, 1.2);
    };
    if (view == TView::Front || view == TView::Back) {
        wing(-6, -1);
        wing(6, 1);
        Ellipse(cr, 0, -18, 13, 12);
        FillOutlined(cr, look.Main, 1.4);
        for (int sideSign : {-1, 1})
            Limb(cr, sideSign * 8, -10, 0, 10, look.Legs, 5, ex, ey);
        if (view == TView::Front) {
            Ellipse(cr, 0, -16, 7, 9);
            FillOutlined(cr, look.Skin, 1);
            Ellipse(cr, 0, -34, 7, 7);
            FillOutlined(cr, look.Main, 1.2);
            for (int sideSign : {-1, 1}) {
                Ellipse(cr, sideSign * 3, -35, 1.4, 1.4);
                SetColour(cr, 0xFFE040);
                cairo_fill(cr);
            }
        } else {
            cairo_move_to(cr, 0, -8);
            cairo_curve_to(cr, 4, 0, 10, 2, 14, -2);
            SetColour(cr, look.Main, 0.7);
            cairo_set_line_width(cr, 5);
            cairo_stroke(cr);
        }
        return;
    }
    wing(-2, -1);
    Limb(cr, -10, -12, -swing, 12, look.Legs, 5, ex, ey);
    Limb(cr, 10, -12, swing, 12, look.Legs, 5, ex, ey);
    // Tail, body, neck and head.
    cairo_move_to(cr, -14, -16);
    cairo_curve_to(cr, -26, -14, -32, -6, -40, -10);
    SetColour(cr, look.Main, 0.6);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    Ellipse(cr, 0, -18, 18, 10);
    FillOutlined(cr, look.Main, 1.4);
    Ellipse(cr, 2, -14, 12, 4);
    FillOutlined(cr, look.Skin, 1);
    cairo_move_to(cr, 12, -22);
    cairo_curve_to(cr, 18, -30, 18, -36, 22 + pose.Strike * 4, -38 + pose.Strike * 6);
    SetColour(cr, look.Main);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
    const double hx = 24 + pose.Strike * 4, hy = -40 + pose.Strike * 6;
    Ellipse(cr, hx, hy, 8, 6);
    FillOutlined(cr, look.Main, 1.2);
    cairo_move_to(cr, hx - 4, hy - 4);
    cairo_line_to(cr, hx - 10, hy - 10);
    cairo_line_to(cr, hx - 1, hy - 6);
    FillOutlined(cr, look.Trim, 1);
    if (view == TView::Side) {
        Ellipse(cr, hx + 2, hy - 1, 1.5, 1.5);
        SetColour(cr, 0xFFE040);
        cairo_fill(cr);
    }
    if (pose.Strike > 0.3) { // fire breath
        cairo_pattern_t* fire = cairo_pattern_create_radial(hx + 8, hy + 2, 1, hx + 18, hy + 4, 16);
        cairo_pattern_add_color_stop_rgba(fire, 0, 1, 1, 0.6, pose.Strike);
        cairo_pattern_add_color_stop_rgba(fire, 0.5, 1, 0.5, 0.1, pose.Strike * 0.8);
        cairo_pattern_add_color_stop_rgba(fire, 1, 0.8, 0.1, 0, 0);
        cairo_set_source(cr, fire);
        Ellipse(cr, hx + 18, hy + 4, 16 * pose.Strike, 7 * pose.Strike);
        cairo_fill(cr);
        cairo_pattern_destroy(fire);
    }
    Limb(cr, -8, -12, swing, 12, look.Legs, 5, ex, ey);
    Limb(cr, 12, -12, -swing, 12, look.Legs, 5, ex, ey);
    wing(2, -1);
}

} // namespace

void DrawFigure(cairo_t* cr, const TCreatureLook& look, TView view, const TPose& pose) {
    cairo_save(cr);
    cairo_translate(cr, 0, pose.Bob);
    const bool beast = look.Body == TBody::Wolf || look.Body == TBody::Drake;
    if (pose.Fall > 0 && (beast || view == TView::Front)) {
        // Slumps onto its side.
        cairo_rotate(cr, beast && view != TView::Front ? -pose.Fall * 0.25 : 0);
        cairo_scale(cr, 1, 1 - pose.Fall * 0.65);
    } else if (pose.Fall > 0) {
        // Topples backwards about the feet.
        cairo_rotate(cr, -pose.Fall * M_PI / 2);
    }
    switch (look.Body) {
    case TBody::Wolf:
        Wolf(cr, look, view, pose);
        break;
    case TBody::Drake:
        Drake(cr, look, view, pose);
        break;
    case TBody::Spider:
        break; // drawn from above by the caller
    default:
        Humanoid(cr, look, view, pose);
    }
    cairo_restore(cr);
}

} // namespace Content
