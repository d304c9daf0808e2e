// The identifiers the generated content and the text data in data/ agree on (README.md
// in this folder lists them for people).
#pragma once

#include <array>
#include <cstdint>

namespace Content {

// Owner indices 0-4: red, blue, green, yellow, purple (0x00RRGGBB).
inline constexpr std::array<uint32_t, 5> PlayerColours{0xC8302C, 0x2F5FD0, 0x2E9A3E, 0xE0B82A,
                                                       0x8E3FB0};

// Facings 0-7 as the map walks them: south first, then clockwise seen from above.
inline constexpr std::array<int, 8> FacingDX{0, 1, 1, 1, 0, -1, -1, -1};
inline constexpr std::array<int, 8> FacingDY{1, 1, 0, -1, -1, -1, 0, 1};

namespace InterfaceSlot {
// Sprite IDs by the slot that shows them.
enum : uint32_t {
    Pointer = 1,
    Move = 2,
    Attack = 3,
    SpellNo = 4,
    SpellYes = 5,
    Talk = 6,
    Enter = 7,
    Blocked = 8,
    AttackCity = 9,
    Select = 10,
    Wait = 11,
    Drag = 12,
    FirstScrollArrow = 13, // 13-20 in facing order
    TooltipBackground = 21,
    Inspect = 22,
    Guard = 23,
    LoadingPicture = 24,
    Hand = 25,
    ClickMarker = 26, // six frames, shrinking onto the cell clicked
    Count = 27,       // slots 0-26; slot 0 shows the pointer
};
} // namespace InterfaceSlot

namespace CommonSlot {
enum : uint32_t {
    FirstCorner = 1,         // 1-4: top-left, top-right, bottom-left, bottom-right
    FirstOwnerMarker = 5,    // 5-9
    FirstFogEdge = 10,       // 10-1033, by fog mask
    FirstPitchedCamp = 1034, // 1034-1038 by camp style 0-4
    FirstSettingUpCamp = 1039,
    // The fight screen's buttons, each lit three slots on.
    AutoButton = 1044,
    FleeButton = 1045,
    AcceptButton = 1046,
    AttackBeam = 1050,
    OtherBeam = 1051,
    SelfSpell = 1052, // under a fighter that casts on itself
    MiniMapBackground = 1053,
    UnitPanel = 1054,
    SpellBookButton = 1055,
    SpellBookButtonHover = 1056,
    PortraitMark = 1058,
    PortraitFrame = 1059,
    PortraitLit = 1060,
    UnitPanelWide = 1061,  // the fight screen's left panels
    UnitPanelSmall = 1062, // and right panels
    CommandBar = 1063,
    // The command bar's buttons, each plain then lit at the next slot.
    NextGroupIcon = 1064,
    NextGroupWithAPsIcon = 1066,
    EndTurnIcon = 1068,
    DiaryIcon = 1070,
    CreaturePediaIcon = 1072,
    MainMenuIcon = 1074,
    DeployPackIcon = 1076,
    Parchment = 1084,
    Roller = 1085,
    FaceFrame = 1086,
    DetailFrame = 1087,
    IconFrame = 1093,
    FirstBookTab = 1094, // 1094 battlemage, 1095 psionic, 1096 druid, 1097 other
    ValueBarFrame = 1103,
    FirstValueBar = 1104,  // 1104 hit points, 1105 action points, 1106 experience, 1107 mana
    FirstPathArrow = 1108, // 1108-1110: within the points, into the reserve, beyond them
    BadgeSheet = 1111,
    FirstDecoration = 1112,  // 1112-1131: kind * 5 + owner
    FirstEffectFrame = 1132, // 1132-1135 by spell group
    FirstOwnerFrame = 1136,  // 1136-1140
    DeadCover = 1141,
    // The town screen's sprites; the two buttons are lit at the next slot.
    CaptionBanner = 1142,
    MerchantFrame = 1143,
    MenuButton = 1144,
    ExpandButton = 1145,
    CollapseButton = 1147,
    FirstScrollPart = 1149, // 13: up and down arrows in four states, thumb in three, spare, track
    ListRow = 1162,
    FirstSpellFrame = 1163, // 1163-1166
    PortraitCell = 1167,
    Count = 1168,
};
inline constexpr uint32_t FightButtonLitOffset = 3;
inline constexpr int DecorationKinds = 4;
inline constexpr int BadgeCellWidth = 12;
inline constexpr int BadgeCellHeight = 12;
} // namespace CommonSlot

inline constexpr int PictureCount = 57;

// Music pieces in music.audl: 1 main menu, 2 map, 3 credits, then the towns' market theme.
inline constexpr uint32_t TownMusicID = 4;

// Pictures of the widget set: the scroll windows' parchments and rollers and the book.
namespace PictureSlot {
enum : uint32_t {
    VerticalParchment = 25,
    VerticalRoller = 26,
    HorizontalParchment = 27,
    HorizontalRoller = 28,
    Book = 29,
    // The briefing's scroll: its parchment, and the rolls drawn over the text's ends.
    ScenarioBook = 30,
    ScenarioBookBottomRoll = 31,
    ScenarioBookTopRoll = 32,
};
}

inline constexpr int CreatureKinds = 12;
inline constexpr int SpriteSets = 10;
// Creature sprite IDs: kind * 1000 + set * 10 + facing; portrait and detail picture.
constexpr uint32_t CreatureSpriteID(int kind, int set, int facing) {
    return uint32_t(kind * 1000 + set * 10 + facing);
}
constexpr uint32_t PortraitID(int kind) {
    return uint32_t(kind * 1000 + 900);
}
constexpr uint32_t DetailPictureID(int kind) {
    return uint32_t(kind * 1000 + 901);
}
// The creature encyclopedia's page, 800 x 600.
constexpr uint32_t PediaPageID(int kind) {
    return uint32_t(kind * 1000 + 902);
}

// Spells: icon of spell n has ID n; effect families share the sprites below.
inline constexpr int EffectFamilies = 10;
inline constexpr uint32_t FirstCastEffect = 1001;
inline constexpr uint32_t FirstFlightEffect = 1101;
inline constexpr uint32_t FirstImpactEffect = 1201;
// Stretched from caster to target; the sprite's foot is at the caster.
inline constexpr uint32_t FirstBeamEffect = 1301;

// Font description IDs the fonts are made for.
inline constexpr std::array<int, 22> FontIDs{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                             12, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};

} // namespace Content
