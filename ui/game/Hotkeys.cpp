#include "ui/game/Hotkeys.h"

#include "platform/win32/VirtualKeys.h"

#include <cstring>

namespace Main {

namespace {

void CopyName(char (&target)[20], const char* name) {
    std::strncpy(target, name ? name : "", sizeof target - 1);
    target[sizeof target - 1] = '\0';
}

// Virtual-key codes of the keys the table names.
constexpr uint32_t VkBack = 8, VkEnter = 13, VkEsc = 27, VkSpace = 32, VkPgUp = 33, VkPgDown = 34,
                   VkEnd = 35, VkHome = 36, VkF1 = 112, VkNum1 = 97, VkNumStar = 106,
                   VkNumPlus = 107;
// The keys "-" and "=" beside the digits reach the game as these codes; 45 would be
// Insert and 61 no key at all.
constexpr uint32_t VkMinus = Win32::VK_OEM_MINUS, VkEquals = Win32::VK_OEM_PLUS;

constexpr uint32_t Digit(int d) {
    return uint32_t('0' + d);
}

} // namespace

void SetHotkey(THotkey& entry, uint32_t key1, const char* name1, const char* name2, uint32_t key2) {
    entry = THotkey{};
    entry.Key1 = key1;
    CopyName(entry.Name1, name1);
    if (key2 != 0) {
        entry.Key2 = key2;
        CopyName(entry.Name2, name2);
    }
}

bool MatchHotkey(const THotkey& entry, uint32_t& key) {
    if ((entry.Key1 != 0 && entry.Key1 == key) || (entry.Key2 != 0 && entry.Key2 == key)) {
        key = 0;
        return true;
    }
    return false;
}

ClassLib::AnsiString MakeHotkeyCaption(const THotkey& entry, const ClassLib::AnsiString& text) {
    if (entry.Key1 != 0 && entry.Key2 != 0)
        return ClassLib::Format("%s [%s/%s]", text, entry.Name1, entry.Name2);
    if (entry.Key1 == 0)
        return text;
    return ClassLib::Format("%s [%s]", text, entry.Name1);
}

THotkeyTable MakeKeyTable() {
    THotkeyTable table{};
    const auto set = [&table](int entry, uint32_t key1, const char* name1, uint32_t key2 = 0,
                              const char* name2 = "") {
        SetHotkey(table[size_t(entry)], key1, name1, name2, key2);
    };
    const auto digitName = [](int d) {
        static const char* const names[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        return names[d];
    };
    const auto fName = [](int n) {
        static const char* const names[] = {"F1", "F2", "F3", "F4"};
        return names[n];
    };

    // Command bar and the map window's keys.
    set(hkEndTurn, VkEnter, "Enter", VkNum1 + 6, "Num7");
    set(hkNextGroup, VkNumStar, "Num*", VkNum1 + 7, "Num8");
    set(hkNextGroupWithAPs, VkNumPlus, "Num+", VkNum1 + 8, "Num9");
    set(hkDeployPack, 'T', "T", VkNum1 + 2, "Num3");
    set(hkDiary, 'D', "D", VkNum1 + 1, "Num2");
    set(hkCreaturePedia, 'C', "C", VkNum1, "Num1");
    set(hkMainMenu, VkEsc, "Esc", VkNum1 + 4, "Num5");
    // Group panel: the spell book of unit slot 0, 1, 2.
    set(hkSpellBookSlot0, 'Q', "Q");
    set(hkSpellBookSlot0 + 1, 'W', "W");
    set(hkSpellBookSlot0 + 2, 'E', "E");
    // Fight dialog.
    set(hkFightFlee, VkEsc, "Esc", 'R', "R");
    set(hkFightAutomatic, VkSpace, "Space", 'A', "A");
    set(hkFightAccept, VkEnter, "Enter", 'F', "F");
    for (int i = 0; i < 6; ++i)
        set(hkFightSelectUnit + i, Digit(1 + i), digitName(1 + i));
    set(hkFightCancel, VkBack, "BkSpace");
    set(hkFightSpellbook, 'C', "C", 'S', "S");
    // Spell book: tabs, pages, close, then the eight spells of a page.
    for (int i = 0; i < 4; ++i)
        set(21 + i, VkF1 + uint32_t(i), fName(i));
    set(25, VkPgUp, "PgUp");
    set(26, VkPgDown, "PgDown");
    set(27, VkHome, "Home");
    set(28, VkEnd, "End");
    set(29, VkEsc, "Esc");
    for (int i = 0; i < 8; ++i)
        set(hkSpellBookSpell1 + i, Digit(1 + i), digitName(1 + i));
    // Map window hero keys; entry 40 stays empty.
    set(38, Digit(1), "1");
    set(39, Digit(2), "2");
    for (int i = 0; i < 6; ++i)
        set(41 + i, Digit(3 + i), digitName(3 + i));
    for (int i = 47; i <= 49; ++i)
        set(i, Digit(9), "9");
    set(50, Digit(0), "0");
    set(51, Digit(0), "0");
    set(52, VkMinus, "-");
    set(53, VkEquals, "=");
    // A book's page turning from its first entry on, and its closing.
    const auto setPageKeys = [&](int first) {
        set(first, VkPgUp, "PgUp");
        set(first + 1, VkPgDown, "PgDown");
        set(first + 2, VkHome, "Home");
        set(first + 3, VkEnd, "End");
        set(first + 4, VkEsc, "Esc", VkEnter, "Enter");
    };
    // Diary dialog.
    for (int i = 0; i < 4; ++i)
        set(54 + i, VkF1 + uint32_t(i), fName(i));
    setPageKeys(58);
    // Creature encyclopedia.
    for (int i = 0; i < 3; ++i)
        set(63 + i, VkF1 + uint32_t(i), fName(i));
    setPageKeys(66);
    return table;
}

} // namespace Main
