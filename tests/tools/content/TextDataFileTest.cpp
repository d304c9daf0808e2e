// Text data sources become files whose lines end with CR LF, which the reader reads
// token by token with trailing comments ending at the line's end.
#include "tools/TextDataFile.h"

#include "engine/core/TextReader.h"
#include "platform/classlib/Streams.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string AsText(const Tools::TBytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(TextDataFile, EveryLineEndBecomesCRLF) {
    const struct {
        const char* name;
        std::string source;
        std::string file;
    } cases[] = {
        {"LF", "a\nb\n", "a\r\nb\r\n"},
        {"CR LF kept", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"lone CR", "a\rb\r", "a\r\nb\r\n"},
        {"mixed, with empty lines", "a\n\r\n\rb\r\n\n", "a\r\n\r\n\r\nb\r\n\r\n"},
        {"no line end after the last line", "a ; c", "a ; c\r\n"},
        {"empty", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AsText(Tools::TextDataFile(c.source)), c.file) << c.name;
}

// Comments after the tokens of a line end with the line: the next line's tokens are
// all read and the stream stands after the last line end.
TEST(TextDataFile, TrailingCommentsEndWithTheirLine) {
    const std::string source = "3 ; count\n\"a name\" # the name\n7\t;last\n";
    const Tools::TBytes file = Tools::TextDataFile(source);
    ClassLib::TMemoryStream stream(file);
    EXPECT_EQ(Data::ReadTokenInt(&stream), 3);
    EXPECT_EQ(Data::ReadTokenString(&stream), "a name");
    EXPECT_EQ(Data::ReadTokenInt(&stream), 7);
    EXPECT_EQ(stream.GetPosition(), int64_t(file.size()));
}

} // namespace
