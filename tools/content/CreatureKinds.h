// The bestiary's looks: what each creature kind is drawn as.
#pragma once

#include <array>
#include <cstdint>

namespace Content {

enum class TBody { Humanoid, Robed, Bones, Wolf, Spider, Drake };
enum class TWeapon { None, SwordShield, Bow, Greatsword, Staff, Club, Axe, Pitchfork };
enum class THead { Bare, Helmet, PlumedHelmet, Hood, WizardHat, Horned, Skull, Veil, StrawHat };

struct TCreatureLook {
    const char* Name;
    TBody Body;
    double Size; // 1: a man
    uint32_t Main, Skin, Legs, Trim;
    TWeapon Weapon;
    THead Head;
    bool Cape;
};

// Kinds 1-12, in ID order.
inline constexpr std::array<TCreatureLook, 12> CreatureLooks{{
    {"Footman", TBody::Humanoid, 1.0, 0x8890A0, 0xE0B090, 0x5A4030, 0xB03030, TWeapon::SwordShield,
     THead::Helmet, false},
    {"Archer", TBody::Humanoid, 0.95, 0x3A7A3A, 0xE0B090, 0x6A5030, 0x8A6A3A, TWeapon::Bow,
     THead::Hood, false},
    {"Knight", TBody::Humanoid, 1.1, 0xC0C8D8, 0xE0B090, 0x9098A8, 0xD8B050, TWeapon::Greatsword,
     THead::PlumedHelmet, true},
    {"Wolf", TBody::Wolf, 1.2, 0x6E7078, 0xD8D0C0, 0x505058, 0x303038, TWeapon::None, THead::Bare,
     false},
    {"Giant Spider", TBody::Spider, 1.3, 0x3A2A3A, 0xC02020, 0x2A1E2A, 0xC02020, TWeapon::None,
     THead::Bare, false},
    {"Skeleton", TBody::Bones, 1.0, 0xE8E0C8, 0xE8E0C8, 0xE8E0C8, 0x8A6A4A, TWeapon::SwordShield,
     THead::Skull, false},
    {"Orc Raider", TBody::Humanoid, 1.05, 0x6A4A2A, 0x6A8A3A, 0x4A3A2A, 0x9A9AA0, TWeapon::Axe,
     THead::Horned, false},
    {"Troll", TBody::Humanoid, 1.35, 0x5A6A4A, 0x7A8A6A, 0x4A4A3A, 0x6A5A3A, TWeapon::Club,
     THead::Bare, false},
    {"Fire Drake", TBody::Drake, 1.4, 0xB83A1A, 0xF0A040, 0x8A2A10, 0xF0C040, TWeapon::None,
     THead::Bare, false},
    {"Wizard", TBody::Robed, 1.0, 0x3040A0, 0xE0B090, 0x202860, 0xE0D060, TWeapon::Staff,
     THead::WizardHat, false},
    {"Priestess", TBody::Robed, 0.95, 0xF0ECE0, 0xE8C0A0, 0xD0C8B8, 0xD8B050, TWeapon::Staff,
     THead::Veil, true},
    {"Peasant", TBody::Humanoid, 0.95, 0x9A7A4A, 0xE0B090, 0x6A5A40, 0xC8B070, TWeapon::Pitchfork,
     THead::StrawHat, false},
}};

} // namespace Content
