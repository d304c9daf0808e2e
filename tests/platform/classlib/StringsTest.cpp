#include "platform/classlib/AnsiString.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/MulDiv.h"
#include "platform/classlib/StringList.h"

#include <gtest/gtest.h>

using namespace ClassLib;

TEST(Strings, FormatTakesStringsAndNumbers) {
    EXPECT_EQ(Format("Archive '%s' not found.", AnsiString("graphics")),
              "Archive 'graphics' not found.");
    EXPECT_EQ(Format("(%d) %s", 7, "x"), "(7) x");
    EXPECT_EQ(Format(std::string(300, 'a').c_str()).size(), 300u);
    EXPECT_EQ(Format("%s", AnsiString(1000, 'b')).size(), 1000u);
}

TEST(Strings, StrToIntAcceptsOnlyDecimalIntegers) {
    const struct {
        const char* text;
        bool valid;
        int value;
    } cases[] = {{"0", true, 0},
                 {"-17", true, -17},
                 {"+5", true, 5},
                 {"2147483647", true, 2147483647},
                 {"-2147483648", true, -2147483647 - 1},
                 {"2147483648", false, 0},
                 {"", false, 0},
                 {"-", false, 0},
                 {"12a", false, 0},
                 {" 1", false, 0},
                 {"0x10", false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.valid) {
            EXPECT_EQ(StrToInt(c.text), c.value);
        } else {
            try {
                StrToInt(c.text);
                FAIL();
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message, Format("'%s' is not a valid integer value", c.text));
            }
        }
    }
}

TEST(Strings, CaseAndPathHelpers) {
    EXPECT_TRUE(SameText("Graphics.DAT", "graphics.dat"));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(ExtractFileName("Save\\01.sav"), "01.sav");
    EXPECT_EQ(ExtractFilePath("a/b/c.txt"), "a/b/");
    EXPECT_EQ(ExtractFileExt("a.b/c"), "");
    EXPECT_EQ(ExtractFileExt("x/file.tar.gz"), ".gz");
}

TEST(MulDiv, RoundsHalfAwayFromZeroAndReportsFailure) {
    EXPECT_EQ(Win32::MulDiv(10, 3, 4), 8); // 7.5
    EXPECT_EQ(Win32::MulDiv(-10, 3, 4), -8);
    EXPECT_EQ(Win32::MulDiv(7, 1, 3), 2);
    EXPECT_EQ(Win32::MulDiv(1 << 30, 8, 2), -1); // does not fit
    EXPECT_EQ(Win32::MulDiv(5, 5, 0), -1);
    EXPECT_EQ(Win32::MulDiv(2000000000, 3, 3), 2000000000);
}

TEST(StringList, TextRoundTripAndLookups) {
    TStringList list;
    list.SetText("one\r\nTwo\rthree\nkey=value\r\n");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[2], "three");
    EXPECT_EQ(list.IndexOf("TWO"), 1);
    EXPECT_EQ(list.Values("KEY"), "value");
    EXPECT_EQ(list.Text(), "one\r\nTwo\r\nthree\r\nkey=value\r\n");
    list.Delete(0);
    list.Insert(3, "last");
    EXPECT_EQ(list[3], "last");
    EXPECT_THROW(list[4], EListError);
    list.Sort();
    EXPECT_EQ(list[0], "key=value");
}
