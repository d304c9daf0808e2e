// Colour text with the test font: letters 3 pixels wide, ' ' 2, cells 3 high.
#include "engine/graphics/GfxColorText.h"
#include "tests/engine/graphics/FontTestSupport.h"
#include "tests/support/DisplayFixtures.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Gfx;
using namespace TestSupport;

namespace {

struct TPiece {
    uint32_t colour;
    const char* text;
};

// Each node as "text@x,y:kind#colour".
std::string Layout(const TColorText& text) {
    std::ostringstream out;
    for (int i = 0; i < text.Count(); ++i) {
        const TColorTextNode& n = text[i];
        out << (i ? " " : "") << n.Text << "@" << n.X << "," << n.Y << ":" << n.BreakKind << "#"
            << n.Colour;
    }
    return out.str();
}

} // namespace

TEST(ColorText, ReflowSplitsIntoWordsAndJustifiesSoftBreaks) {
    const struct {
        const char* what;
        std::vector<TPiece> pieces;
        int32_t width;
        const char* layout;
    } cases[] = {
        {"two words on one line", {{1, "ab cd"}}, 100, "ab@0,0:4#1 cd@8,0:0#1"},
        {"the same at any width", {{1, "ab cd"}}, 3, "ab@0,0:4#1 cd@8,0:0#1"},
        {"a soft break spreads the line to the width",
         {{1, "ab cd ef\rgh ij"}},
         30,
         "ab@0,0:4#1 cd@12,0:4#1 ef@24,0:2#1 gh@0,3:4#1 ij@8,3:0#1"},
        {"the spread is divided down", // 13 over two blanks: 6 and 13
         {{1, "ab cd ef\r"}},
         31,
         "ab@0,0:4#1 cd@12,0:4#1 ef@25,0:2#1"},
        {"a hard break keeps single blanks",
         {{1, "ab cd ef\ngh"}},
         30,
         "ab@0,0:4#1 cd@8,0:4#1 ef@16,0:1#1 gh@0,3:0#1"},
        {"a soft-broken line of one word stays put",
         {{1, "abc\rde"}},
         30,
         "abc@0,0:2#1 de@0,3:0#1"},
        {"blanks at the start of a piece and after a break are dropped",
         {{1, "  ab\n   cd  "}},
         30,
         "ab@0,0:1#1 cd@0,3:4#1"},
        {"pieces keep their colours and continue the line",
         {{1, "ab "}, {2, "cd"}, {3, "ef"}},
         30,
         "ab@0,0:4#1 cd@8,0:0#2 ef@14,0:0#3"},
        {"a blank opening a piece parts it from the word before",
         {{1, "ab"}, {2, " cd"}},
         30,
         "ab@0,0:4#1 cd@8,0:0#2"},
        {"a break at the start of a piece marks the word before it",
         {{1, "ab"}, {2, "\rcd ef"}},
         20,
         "ab@0,0:2#1 cd@0,3:4#2 ef@8,3:0#2"},
        {"blank lines move the pen without nodes", {{1, "ab\n\ncd"}}, 20, "ab@0,0:1#1 cd@0,6:0#1"},
        {"justified across pieces",
         {{1, "ab "}, {2, "cd ef\r"}},
         30,
         "ab@0,0:4#1 cd@12,0:4#2 ef@24,0:2#2"},
    };
    TFont font;
    MakeTestFont(font);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TColorText text;
        for (const TPiece& piece : c.pieces)
            text.AddNode(font, piece.colour, 50, 50, piece.text, cbNone);
        text.Reflow(c.width);
        EXPECT_EQ(Layout(text), c.layout);
    }
}

TEST(ColorText, ReflowsTextWrappedByItsFont) {
    TFont font;
    MakeTestFont(font);
    TColorText text;
    text.AddNode(font, 0, 0, 0, font.WrapText(22, "ab cd ef gh ij"), cbNone);
    text.Reflow(22);
    // "ab cd ef" (22 wide) fills the first line exactly; "gh ij" is the last line.
    EXPECT_EQ(Layout(text), "ab@0,0:4#0 cd@8,0:4#0 ef@16,0:2#0 gh@0,3:4#0 ij@8,3:0#0");
    EXPECT_EQ(text.GetHeight(), 6);
}

TEST(ColorText, NodesHeightAndMoving) {
    TFont font;
    MakeTestFont(font, 0, 1);
    TColorText text, other;
    EXPECT_EQ(text.GetHeight(), 0);
    text.MoveFrom(other);
    EXPECT_EQ(text.Count(), 0);

    text.AddNode(font, 1, 0, 2, "a\nb", cbNone); // 2 + 3 + (3 + 1)
    text.AddNode(font, 2, 0, 5, "c", cbNone);
    EXPECT_EQ(text.GetHeight(), 9);

    other.AddNode(font, 3, 0, 0, "d", cbNone);
    other.Insert(0, std::make_unique<TColorTextNode>(font, 4, 0, 0, "e"));
    text.MoveFrom(other);
    EXPECT_EQ(other.Count(), 0);
    EXPECT_EQ(Layout(text), "a\nb@0,2:0#1 c@0,5:0#2 e@0,0:0#4 d@0,0:0#3");

    const auto removed = text.RemoveAt(1);
    EXPECT_EQ(removed->Text, "c");
    EXPECT_EQ(text.Count(), 3);
    text.Clear();
    EXPECT_EQ(text.Count(), 0);
}

TEST(ColorText, DrawsEveryNodeFromTheOrigin) {
    TFont font;
    MakeTestFont(font);
    auto directDraw = PrimaryDirectDraw();
    auto drawn = MakeSurface(*directDraw, 20, 10, TPixelLayout::RGB565);
    auto expected = MakeSurface(*directDraw, 20, 10, TPixelLayout::RGB565);
    FillSurface(*drawn, 0xAAAA);
    FillSurface(*expected, 0xAAAA);

    TColorText text;
    text.AddNode(font, 0x100, 0, 0, "ab", cbNone);
    text.AddNode(font, 0x200, 7, 3, "W", cbNone);
    const RECT clip{0, 0, 12, 10};
    text.Draw(drawn.Get(), 2, 1, &clip);
    font.DrawString(expected.Get(), 2, 1, &clip, 0x100, "ab");
    font.DrawString(expected.Get(), 9, 4, &clip, 0x200, "W");
    EXPECT_EQ(ReadPixels(*drawn), ReadPixels(*expected));
}
