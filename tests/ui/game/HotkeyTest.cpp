#include "platform/win32/SdlKeys.h"
#include "ui/game/Hotkeys.h"

#include <gtest/gtest.h>

namespace {

using namespace Main;

TEST(Hotkeys, CaptionsShowTheKeysEachEntryHas) {
    THotkey both, one, none;
    SetHotkey(both, 13, "Enter", "Num7", 103);
    SetHotkey(one, 'Q', "Q", "ignored", 0);
    EXPECT_EQ(MakeHotkeyCaption(both, "End of turn"), "End of turn [Enter/Num7]");
    EXPECT_EQ(MakeHotkeyCaption(one, "Spell book"), "Spell book [Q]");
    EXPECT_EQ(MakeHotkeyCaption(none, "Map of terrain"), "Map of terrain");
    EXPECT_EQ(one.Key2, 0u);
    EXPECT_STREQ(one.Name2, "");
}

TEST(Hotkeys, NamesAreCutToTheirField) {
    THotkey entry;
    SetHotkey(entry, 1, "a name far longer than twenty bytes");
    EXPECT_EQ(std::string(entry.Name1), "a name far longer t");
}

TEST(Hotkeys, AMatchConsumesTheKeySoOnlyTheFirstEntryFires) {
    const THotkeyTable table = MakeKeyTable();
    uint32_t key = '9';
    int fired = 0;
    for (int entry = hkHeroFirst; entry < hkHeroFirst + HeroKeyCount; ++entry)
        if (MatchHotkey(table[size_t(entry)], key)) {
            EXPECT_EQ(entry, 47) << "only the first hero entry on 9 is ever tried";
            ++fired;
        }
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(key, 0u);

    uint32_t unknown = 'Z';
    EXPECT_FALSE(MatchHotkey(table[hkEndTurn], unknown));
    EXPECT_EQ(unknown, uint32_t('Z'));
}

TEST(Hotkeys, TheTableGivesTheScreensTheirKeys) {
    const THotkeyTable table = MakeKeyTable();
    struct TCase {
        int Entry;
        uint32_t Key1, Key2;
        const char* Caption;
    };
    const TCase cases[] = {
        {hkEndTurn, 13, 103, "x [Enter/Num7]"},
        {hkNextGroup, 106, 104, "x [Num*/Num8]"},
        {hkMainMenu, 27, 101, "x [Esc/Num5]"},
        {hkSpellBookSlot0 + 2, 'E', 0, "x [E]"},
        {19, 8, 0, "x [BkSpace]"},
        {40, 0, 0, "x"},
        {52, 189, 0, "x [-]"},
        {53, 187, 0, "x [=]"},
        {62, 27, 13, "x [Esc/Enter]"},
        {70, 27, 13, "x [Esc/Enter]"},
    };
    for (const TCase& c : cases) {
        const THotkey& entry = table[size_t(c.Entry)];
        EXPECT_EQ(entry.Key1, c.Key1) << c.Entry;
        EXPECT_EQ(entry.Key2, c.Key2) << c.Entry;
        EXPECT_EQ(MakeHotkeyCaption(entry, "x"), c.Caption) << c.Entry;
    }
}

// The keys as the platform reports them: "-" and "=" select their heroes, and Insert,
// whose code is the 45 a plain reading of the key names would give "-", selects none.
TEST(Hotkeys, TheHeroKeysBesideTheDigitsAreTheKeysThePlatformSends) {
    const THotkeyTable table = MakeKeyTable();
    const auto platformKey = [](SDL_Scancode scancode, SDL_Keycode symbol) {
        SDL_Keysym key{};
        key.scancode = scancode;
        key.sym = symbol;
        return uint32_t(Win32::WindowsKeyFromSdl(key).VirtualKey);
    };
    const auto heroOf = [&table](uint32_t key) {
        for (int entry = hkHeroFirst; entry < hkHeroFirst + HeroKeyCount; ++entry)
            if (MatchHotkey(table[size_t(entry)], key))
                return entry;
        return -1;
    };
    EXPECT_EQ(heroOf(platformKey(SDL_SCANCODE_MINUS, SDLK_MINUS)), 52);
    EXPECT_EQ(heroOf(platformKey(SDL_SCANCODE_EQUALS, SDLK_EQUALS)), 53);
    EXPECT_EQ(heroOf(platformKey(SDL_SCANCODE_INSERT, SDLK_INSERT)), -1);
}

} // namespace
