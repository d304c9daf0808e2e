#include "platform/win32/AnsiText.h"

#include <gtest/gtest.h>

using namespace Win32;

TEST(AnsiText, Utf8BecomesWindows1252AndWhatItLacksIsDropped) {
    const struct {
        const char* Utf8;
        std::string Ansi;
    } cases[] = {
        {"Varnholt 1.0", "Varnholt 1.0"},
        {"\xC3\xA9t\xC3\xA9 \xC3\x9F", "\xE9t\xE9 \xDF"},     // Latin-1 letters
        {"\xE2\x82\xAC\xE2\x80\x94\xC5\x93", "\x80\x97\x9C"}, // euro, dash, oe
        {"\xE6\x97\xA5x\xF0\x9F\x98\x80", "x"},               // beyond the code page
        {"\xC2\x81", ""},                                     // a C1 control
        {"a\xC3", "a"},                                       // cut short
        {"\xC0\xAF\xE0\x80\xAF|\xFF", "|"},                   // overlong and invalid
        {"\xED\xA0\x80z", "z"},                               // a lone surrogate
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnsiFromUtf8(c.Utf8), c.Ansi) << c.Utf8;
}
