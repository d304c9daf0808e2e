#include "engine/core/TextReader.h"

#include <gtest/gtest.h>

using namespace Data;
using ClassLib::TMemoryStream;

namespace {
TMemoryStream StreamOf(const std::string& text) {
    TMemoryStream stream;
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    stream.SetPosition(0);
    return stream;
}
} // namespace

TEST(TextReader, TokenCases) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> tokens;
        int64_t endPosition; // where the stream stands after the last token
    } cases[] = {
        {"quoted with trailing comment", "\"a b\";x\r\nnext\r\n", {"a b", "next"}, 15},
        {"two on a line", "12 34\r\n", {"12", "34"}, 7},
        {"leading comments", "; c1\r\n# c2\r\n  word\r\n", {"word"}, 20},
        {"comment glued to a token", "abc;rest\r\ndef\r\n", {"abc", "def"}, 15},
        {"high byte splits a word",
         "ab\xE9"
         "cd\r\n",
         {"ab", "cd"},
         7},
        {"empty quotes", "\"\" x\r\n", {"", "x"}, 6},
        {"quotes keep ; and #", "\"a;b#c\"\r\n", {"a;b#c"}, 9},
        {"tabs and blanks before the line end", "t\t \r\nu\r\n", {"t", "u"}, 8},
        {"bare LF lines", "a\nb ;c\nd\n", {"a", "b", "d"}, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoryStream stream = StreamOf(c.text);
        for (const std::string& expected : c.tokens)
            EXPECT_EQ(ReadTokenString(&stream), expected);
        EXPECT_EQ(stream.GetPosition(), c.endPosition);
    }
}

TEST(TextReader, StreamStandsWhereTheNextTokenStarts) {
    TMemoryStream stream = StreamOf("12 34\r\n56\r\n");
    EXPECT_EQ(ReadTokenInt(&stream), 12);
    EXPECT_EQ(stream.GetPosition(), 3); // on the 3
    EXPECT_EQ(ReadTokenInt(&stream), 34);
    EXPECT_EQ(stream.GetPosition(), 7); // after the CR LF
    EXPECT_EQ(ReadTokenInt(&stream), 56);
}

TEST(TextReader, LengthLimit) {
    TMemoryStream exact = StreamOf("abcd\r\n");
    char buffer[5];
    ReadTokenBuffer(&exact, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "abcd");

    TMemoryStream longer = StreamOf("abcde\r\n");
    EXPECT_THROW(ReadTokenBuffer(&longer, buffer, sizeof buffer), EInvalidData);
    TMemoryStream quoted = StreamOf("\"a cde\"\r\n");
    EXPECT_THROW(ReadTokenBuffer(&quoted, buffer, sizeof buffer), EInvalidData);
    TMemoryStream tiny = StreamOf("a\r\n");
    EXPECT_THROW(ReadTokenBuffer(&tiny, buffer, 1), EInvalidData);
}

TEST(TextReader, TypedReads) {
    TMemoryStream stream = StreamOf("1 0 -42 101 " + std::string(64, '1') + "\r\n");
    EXPECT_TRUE(ReadTokenBool(&stream));
    EXPECT_FALSE(ReadTokenBool(&stream));
    EXPECT_EQ(ReadTokenInt(&stream), -42);
    EXPECT_EQ(ReadTokenBinary64(&stream), 5u);
    EXPECT_EQ(ReadTokenBinary64(&stream), ~uint64_t(0));
}

TEST(TextReader, BadValuesRaiseTheirMessages) {
    const struct {
        std::string text;
        int kind; // 0 int, 1 bool, 2 binary
        std::string message;
    } cases[] = {
        {"12x\r\n", 0, "'12x' is not a valid integer value"},
        {"99999999999\r\n", 0, "'99999999999' is not a valid integer value"},
        {"2\r\n", 1, "Invalid data."},
        {"102\r\n", 2, "'102' is not a valid binary value."},
        {"\"\"\r\n", 2, "'' is not a valid binary value."},
        {"1" + std::string(64, '0') + "\r\n", 2,
         "'1" + std::string(64, '0') + "' is not a valid binary value."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TMemoryStream stream = StreamOf(c.text);
        try {
            if (c.kind == 0)
                ReadTokenInt(&stream);
            else if (c.kind == 1)
                ReadTokenBool(&stream);
            else
                ReadTokenBinary64(&stream);
            FAIL();
        } catch (const ClassLib::Exception& e) {
            EXPECT_EQ(e.Message, c.message);
        }
    }
}

TEST(TextReader, EndOfStreamInsideATokenIsTheReadError) {
    for (const char* text : {"", "   ", "abc", "\"open", "; only a comment", "tok ;comment"}) {
        SCOPED_TRACE(text);
        TMemoryStream stream = StreamOf(text);
        EXPECT_THROW(ReadTokenString(&stream), ClassLib::EReadError);
    }
}

TEST(TextReader, LongTokensCrossTheReadBlocks) {
    const std::string word(1000, 'w');
    TMemoryStream stream = StreamOf(word + " " + word + "\r\n");
    EXPECT_EQ(ReadTokenString(&stream), word);
    EXPECT_EQ(stream.GetPosition(), 1001);
    EXPECT_EQ(ReadTokenString(&stream), word);
    EXPECT_EQ(stream.GetPosition(), 2003);
}
