#include "engine/core/TextReader.h"
#include "engine/core/CryptoStream.h"
#include "tests/support/TempDir.h"
#include "tests/support/UnlentStream.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Data;
using ClassLib::TMemoryStream;

namespace {
TMemoryStream StreamOf(const std::string& text) {
    TMemoryStream stream;
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    stream.SetPosition(0);
    return stream;
}

// The same text in each kind of stream the reader meets: in memory, in a file read
// through its read-ahead buffer, one that lends no buffer, and a scrambled window of
// an archive (a file stream whose raw read-ahead bytes are not its contents).
class TStreamKinds {
public:
    static constexpr const char* Names[] = {"memory", "file", "unlent", "archive window"};
    static constexpr int Count = 4;

    std::unique_ptr<ClassLib::TStream> Open(int kind, const std::string& text) {
        if (kind == 0)
            return std::make_unique<TMemoryStream>(StreamOf(text));
        if (kind == 2)
            return std::make_unique<TestSupport::TUnlentStream>(
                std::vector<uint8_t>(text.begin(), text.end()));
        const std::string name = FFolder.File("text" + std::to_string(FFiles++) + ".txt");
        if (kind == 3) {
            const std::string before = "ahead of the window";
            {
                TCryptoStream out(name, ClassLib::fmCreate);
                const std::string whole = before + text;
                out.WriteBuffer(whole.data(), static_cast<int64_t>(whole.size()));
            }
            return std::make_unique<TCryptoStream>(name, static_cast<int64_t>(text.size()),
                                                   static_cast<int64_t>(before.size()));
        }
        StreamOf(text).SaveToFile(name);
        return std::make_unique<ClassLib::TFileStream>(name, ClassLib::fmOpenRead |
                                                                 ClassLib::fmShareDenyWrite);
    }

private:
    TestSupport::TempDir FFolder;
    int FFiles = 0;
};
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
        {"trailing comments before CR LF", "12 ; twelve\r\n34\t#x\r\n", {"12", "34"}, 20},
        {"bare LF lines", "a\nb ;c\nd\n", {"a", "b", "d"}, 8},
    };
    TStreamKinds kinds;
    for (int kind = 0; kind < TStreamKinds::Count; ++kind)
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " in " << TStreamKinds::Names[kind]);
            const auto stream = kinds.Open(kind, c.text);
            for (const std::string& expected : c.tokens)
                EXPECT_EQ(ReadTokenString(stream.get()), expected);
            EXPECT_EQ(stream->GetPosition(), c.endPosition);
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
    TStreamKinds kinds;
    for (int kind = 0; kind < TStreamKinds::Count; ++kind)
        for (const char* text : {"", "   ", "abc", "\"open", "; only a comment", "tok ;comment"}) {
            SCOPED_TRACE(testing::Message() << text << " in " << TStreamKinds::Names[kind]);
            const auto stream = kinds.Open(kind, text);
            EXPECT_THROW(ReadTokenString(stream.get()), ClassLib::EReadError);
            EXPECT_EQ(stream->GetPosition(), stream->GetSize());
        }
}

// Tokens, comments and quotes that straddle the file's read-ahead blocks leave the
// stream exactly where the next reader expects it, in every kind of stream.
TEST(TextReader, StreamStandsExactlyAfterEachTokenAcrossReadAheadBlocks) {
    std::string text;
    for (int line = 0; text.size() < 200 * 1024; ++line)
        text += std::to_string(line) + (line % 3 ? " \"a name\" ;note\r\n" : "\t0110 #c\n");
    TStreamKinds kinds;
    std::vector<std::vector<int64_t>> positions(TStreamKinds::Count);
    for (int kind = 0; kind < TStreamKinds::Count; ++kind) {
        SCOPED_TRACE(TStreamKinds::Names[kind]);
        const auto stream = kinds.Open(kind, text);
        for (int token = 0; token < 20000; ++token) {
            ReadTokenString(stream.get());
            positions[size_t(kind)].push_back(stream->GetPosition());
        }
        // What other code reads after the tokens is the rest of the text.
        std::string rest(size_t(stream->Remaining()), '\0');
        stream->ReadBuffer(rest.data(), int64_t(rest.size()));
        EXPECT_EQ(rest, text.substr(size_t(positions[size_t(kind)].back())));
    }
    EXPECT_EQ(positions[1], positions[0]);
    EXPECT_EQ(positions[2], positions[0]);
    EXPECT_EQ(positions[3], positions[0]);
    EXPECT_GT(positions[0].back(), 2 * 64 * 1024);
}

TEST(TextReader, LongTokensCrossTheReadBlocks) {
    const std::string word(1000, 'w');
    TMemoryStream stream = StreamOf(word + " " + word + "\r\n");
    EXPECT_EQ(ReadTokenString(&stream), word);
    EXPECT_EQ(stream.GetPosition(), 1001);
    EXPECT_EQ(ReadTokenString(&stream), word);
    EXPECT_EQ(stream.GetPosition(), 2003);
}

// One reader kept across a whole file gives the tokens and places one call per token
// gives, and leaves the stream where those calls leave it, in every kind of stream.
TEST(TextReader, AReaderKeptAcrossTheFileReadsAsOneCallPerToken) {
    std::string text;
    for (int line = 0; text.size() < 200 * 1024; ++line)
        text += std::to_string(line) + (line % 3 ? " \"a name\" ;note\r\n" : "\t0110 #c\n");
    TStreamKinds kinds;
    for (int kind = 0; kind < TStreamKinds::Count; ++kind) {
        SCOPED_TRACE(TStreamKinds::Names[kind]);
        const auto calls = kinds.Open(kind, text);
        const auto kept = kinds.Open(kind, text);
        {
            TTextReader reader(*kept);
            for (int token = 0; token < 20000; ++token) {
                const std::string expected = ReadTokenString(calls.get());
                ASSERT_EQ(ReadTokenString(reader), expected) << "token " << token;
                ASSERT_EQ(reader.Remaining(), calls->Remaining()) << "token " << token;
            }
        }
        EXPECT_EQ(kept->GetPosition(), calls->GetPosition());
    }
}

// Tokens, quotes and line ends at every place around the edges of the first windows a
// stream that lends nothing is read in (32 bytes, then 128), so a token is gathered from
// two windows, a window ends after a closing quote or between a CR and its LF.
TEST(TextReader, AReaderKeepsTokensThatCrossItsWindows) {
    for (int pad = 0; pad < 48; ++pad) {
        SCOPED_TRACE(testing::Message() << pad << " blanks before");
        const std::string text =
            std::string(size_t(pad), ' ') + "\"ab cd\" word\r\nnext ;c\r\nlast\r\n";
        TestSupport::TUnlentStream stream(std::vector<uint8_t>(text.begin(), text.end()));
        {
            TTextReader reader(stream);
            EXPECT_EQ(ReadTokenString(reader), "ab cd");
            EXPECT_EQ(std::string(reader.ReadTokenView(0)), "word");
            EXPECT_EQ(ReadTokenString(reader), "next");
            EXPECT_EQ(reader.Remaining(), 6);
        }
        EXPECT_EQ(stream.GetPosition(), int64_t(text.size()) - 6);
    }
}

// Every way a token, its blanks, a comment or a line end can follow another, starting at
// every place of the bytes a kept reader looks at together: it reads them as a reading a
// token per call from a few bytes at a time does.
TEST(TextReader, AKeptReaderReadsEveryNeighbourhoodAsOneCallPerToken) {
    const std::string kinds = "a  b\t;c\r\n\"q r\"s \"t\"  ;u\r\nv\x01w\nx #y\n\"\"\r\r"
                              "z\xE9\x7F!\t\r\n;only\r\nlast \"open;#\" end\r\n";
    for (int pad = 0; pad < 80; ++pad) {
        SCOPED_TRACE(testing::Message() << pad << " bytes before");
        const std::string text = std::string(size_t(pad), 'p') + " " + kinds + kinds;
        TMemoryStream lending = StreamOf(text);
        TestSupport::TUnlentStream calls(std::vector<uint8_t>(text.begin(), text.end()));
        TTextReader reader(lending);
        while (calls.GetPosition() < calls.GetSize()) {
            const std::string expected = ReadTokenString(&calls);
            ASSERT_EQ(std::string(reader.ReadTokenView(0)), expected);
            ASSERT_EQ(reader.Remaining(), calls.Remaining()) << expected;
        }
    }
}
