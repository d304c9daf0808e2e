// Measuring, wrapping and fitting text with the test font: letters 3 pixels wide,
// ' ' 2, '.' and 'i' 1, 'W' 4, line breaks 0; cells 3 pixels high.
#include "engine/graphics/GfxFont.h"
#include "tests/engine/graphics/FontTestSupport.h"

#include <gtest/gtest.h>

using namespace Gfx;
using namespace TestSupport;

namespace {

std::string Visible(std::string text) {
    for (char& c : text)
        c = c == '\r' ? '|' : c == '\n' ? '/' : c;
    return text;
}

} // namespace

TEST(FontText, WidthAndHeight) {
    const struct {
        const char* text;
        int32_t spacing, lineSpacing;
        int32_t width, maxLine, height;
    } cases[] = {
        {"", 0, 0, 0, 0, 3},         {"", 5, 5, 0, 0, 3},
        {"ab", 0, 0, 6, 6, 3},       {"a b", 1, 0, 11, 11, 3},
        {"Wi.", 0, 0, 6, 6, 3},      {"a\r\nb", 0, 0, 6, 3, 9}, // CR LF: two breaks
        {"a\r\nb", 1, 2, 10, 4, 13}, // breaks count their own width and spacing
        {"abc\nW", 0, 0, 13, 9, 6},  {"a\n\nabcd", 0, 0, 15, 12, 9},
        {"\xFF\x80", 0, 0, 6, 6, 3}, // bytes above 127 are glyphs like any other
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Visible(c.text));
        TFont font;
        MakeTestFont(font, c.spacing, c.lineSpacing);
        EXPECT_EQ(font.TextWidth(c.text), c.width);
        EXPECT_EQ(font.MaxLineWidth(c.text), c.maxLine);
        EXPECT_EQ(font.TextHeight(c.text), c.height);
    }
}

TEST(FontText, WordWrapping) {
    const struct {
        const char* text;
        int32_t width;
        const char* wrapped; // '|' a CR, '/' an LF
        int32_t height;
    } cases[] = {
        {"", 10, "", 3},
        {"ab cd", 100, "ab cd", 3},
        {"ab cd", 14, "ab cd", 3},      // 6 + 2 + 6: fits exactly
        {"ab cd", 13, "ab|cd", 6},      // the second word starts the next line
        {"ab   cd", 6, "ab|cd", 6},     // and loses its blanks
        {"  ab cd", 6, "ab|cd", 6},     // the first word of a line too
        {"ab\n  cd", 100, "ab/cd", 6},  // also after a line break
        {"ab\r\ncd", 100, "ab|/cd", 9}, // CR LF: two line ends
        {"ab\n\ncd", 100, "ab//cd", 9},
        {"ab\n", 100, "ab/", 6},
        {"abcdefg", 9, "abc|def|g", 9},         // an over-long first word is cut
        {"abcdefg", 11, "abc|def|g", 9},        // by bare glyph widths
        {"abcdefg", 1, "a|b|c|d|e|f|g", 21},    // at least one character a line
        {"ab abcdefgh", 12, "ab|abcd|efgh", 9}, // a long word after another moves first
        {"ab cd   ", 14, "ab cd", 3},           // blanks that do not fit are dropped
        {"ab cd   \nef", 14, "ab cd/ef", 6},    // without starting an empty line
        {"ab cd  ", 18, "ab cd  ", 3},          // blanks that fit stay
        {"ab cd\nef gh ij", 14, "ab cd/ef gh|ij", 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Visible(c.text) + " in " + std::to_string(c.width));
        TFont font;
        MakeTestFont(font);
        EXPECT_EQ(Visible(font.WrapText(c.width, c.text)), c.wrapped);
        EXPECT_EQ(font.WrappedTextHeight(c.text, c.width), c.height);
    }
}

TEST(FontText, WrappingCountsCharacterSpacing) {
    TFont font;
    MakeTestFont(font, 1);
    // Words measure 3 + 1 per letter, the blank 2 + 1: "ab cd" is 19 wide.
    EXPECT_EQ(Visible(font.WrapText(19, "ab cd")), "ab cd");
    EXPECT_EQ(Visible(font.WrapText(18, "ab cd")), "ab|cd");
    // Cutting a word counts bare widths: three letters in 9 pixels although 12 with spacing.
    EXPECT_EQ(Visible(font.WrapText(9, "abcdef")), "abc|def");
}

TEST(FontText, WrappingContinuesALine) {
    const struct {
        int32_t x;
        const char* text;
        int32_t width;
        const char* wrapped;
        int32_t endX, lines;
    } cases[] = {
        {0, "ab cd", 20, "ab cd", 14, 0},
        {4, " ab", 20, " ab", 12, 0},       // not the first word of its line: keeps the blank
        {10, " ab cd", 20, " ab|cd", 6, 1}, // 10 + 8 + 8 > 20
        {18, "abc", 20, "|abc", 9, 1},      // even the first word of the text moves down
        {0, "ab\ncd\nef", 20, "ab/cd/ef", 6, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TFont font;
        MakeTestFont(font);
        int32_t x = c.x, y = 100;
        EXPECT_EQ(Visible(font.WrapTextFrom(c.width, c.text, x, y)), c.wrapped);
        EXPECT_EQ(x, c.endX);
        EXPECT_EQ(y, 100 + c.lines * TestCellHeight);
    }
}

TEST(FontText, FittingToAWidth) {
    const struct {
        const char* text;
        int32_t width, position;
        const char* fitted;
    } cases[] = {
        {"abc", 9, -1, "abc"},        // fits: unchanged
        {"abcdef", 12, -1, "abc..."}, // the dots are 3 wide
        {"abcdef", 9, -1, "ab..."},
        {"abcdefg", 18, 3, "a...defg"}, // only the part before the cut is shortened
        {"abcdef", 17, 10, "abcd..."},  // a position past the end is the end
        {"abc\nabcdef", 14, -1, "abc\nabc..."},
        {"abc", 1, -1, "..."}, // nothing left to take
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TFont font;
        MakeTestFont(font);
        std::string text = c.text;
        font.FitTextToWidth(text, c.width, c.position);
        EXPECT_EQ(Visible(text), Visible(c.fitted));
    }
}

TEST(FontText, FittingToABox) {
    const struct {
        const char* text;
        int32_t width, position, height;
        const char* fitted;
    } cases[] = {
        {"ab\ncd", 100, -1, 6, "ab\ncd"},        // fits
        {"ab\ncd\nef", 100, -1, 6, "ab\ncd..."}, // the last line goes
        {"ab\ncd\nef", 100, -1, 3, "ab..."},
        {"ab\ncd\nef", 100, 4, 6, "ab...d\nef"}, // from the cut point back
        {"ab\ncd", 100, -1, 2, ""},              // no line left: empty
        {"ab cd ef\ngh", 20, -1, 3, "ab cd..."}, // then words until the width fits
        {"ab cd ef\ngh", 10, -1, 3, "ab..."},
        {"abcdefgh\nij", 15, -1, 3, "..."},             // the first word goes whole
        {"ab\nabcdefgh\nij", 15, -1, 6, "ab\nabcd..."}, // a later line's only word by letters
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Visible(c.text));
        TFont font;
        MakeTestFont(font);
        std::string text = c.text;
        font.FitTextToHeight(text, c.width, c.position, c.height);
        EXPECT_EQ(Visible(text), Visible(c.fitted));
    }
}
