// The one key table that every game screen shares: entries of two keys with their
// names, addressed by position, matched against key presses and shown in tooltips.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <array>
#include <cstdint>

namespace Main {

struct THotkey {
    uint32_t Key1 = 0; // virtual-key code, 0 none
    uint32_t Key2 = 0;
    char Name1[20] = {};
    char Name2[20] = {};
};

constexpr int HotkeyCount = 71;
using THotkeyTable = std::array<THotkey, HotkeyCount>;

// Entries by position.
enum THotkeyEntry : int {
    hkEndTurn = 0,
    hkNextGroup = 1,
    hkNextGroupWithAPs = 2,
    hkDeployPack = 3,
    hkDiary = 4,
    hkCreaturePedia = 5,
    hkMainMenu = 6,
    hkSpellBookSlot0 = 7, // .. 9
    hkFightFirst = 10,    // .. 20
    hkFightFlee = 10,
    hkFightAutomatic = 11,
    hkFightAccept = 12,
    hkFightSelectUnit = 13, // .. 18, slots 0..5
    hkFightCancel = 19,
    hkFightSpellbook = 20,
    hkSpellBookFirst = 21, // .. 37: tabs, pages, close, then spells 1-8 from 30
    hkSpellBookSpell1 = 30,
    hkHeroFirst = 38,  // .. 53
    hkDiaryFirst = 54, // .. 62
    hkPediaFirst = 63, // .. 70
    // The encyclopedia's block: the three categories, then the page keys and close.
    hkPediaAnimals = 63,
    hkPediaHumans = 64,
    hkPediaUndead = 65,
    hkPediaPrevious = 66,
    hkPediaNext = 67,
    hkPediaFirstPage = 68,
    hkPediaLastPage = 69,
    hkPediaClose = 70,
};
constexpr int HeroKeyCount = 16;

// Clears the entry; stores key 1 and name 1 (at most 19 bytes), and key 2 with name 2
// only when key 2 is not 0.
void SetHotkey(THotkey& entry, uint32_t key1, const char* name1, const char* name2 = "",
               uint32_t key2 = 0);
// True, and the key consumed (set to 0), when either key of the entry is set and equal
// to it; so two entries on one key never both fire on one press.
bool MatchHotkey(const THotkey& entry, uint32_t& key);
// "text [name1/name2]", "text [name1]", or the bare text when the entry has no key.
ClassLib::AnsiString MakeHotkeyCaption(const THotkey& entry, const ClassLib::AnsiString& text);

// The game's key table: every entry the screens use, the others empty.
THotkeyTable MakeKeyTable();

} // namespace Main
