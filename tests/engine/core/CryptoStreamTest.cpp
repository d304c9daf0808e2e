#include "engine/core/CryptoStream.h"
#include "platform/classlib/Exception.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace Data;
using ClassLib::fmCreate;
using ClassLib::fmOpenRead;
using ClassLib::fmShareDenyWrite;
using TestSupport::ErrorOf;

namespace {

std::vector<uint8_t> Counting(size_t size) {
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t(0));
    return bytes;
}

void WritePlain(const std::string& name, const std::vector<uint8_t>& bytes) {
    ClassLib::TFileStream file(name, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

std::vector<uint8_t> ReadPlain(const std::string& name) {
    ClassLib::TFileStream file(name, fmOpenRead | fmShareDenyWrite);
    std::vector<uint8_t> bytes(static_cast<size_t>(file.GetSize()));
    file.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

} // namespace

TEST(CryptoStream, KeyHash) {
    EXPECT_EQ(HashKey("abc"), 887u);
    EXPECT_EQ(HashKey(""), 0u);
    EXPECT_LT(HashKey("a rather long file name.dat"), 971u);
    EXPECT_EQ(CryptKey("Data/Sub\\Sounds.DAT"), "sounds.dat");
}

TEST(CryptoStream, ScramblingDependsOnKeyAndPositionAndReverses) {
    const std::vector<uint8_t> plain(64, 0x5A);
    const AnsiString key = "sounds.dat";
    auto at = [&](const AnsiString& k, uint64_t position) {
        std::vector<uint8_t> bytes = plain;
        Encode(bytes.data(), 64, HashKey(k.c_str()), k, position);
        return bytes;
    };
    const auto stored = at(key, 1000);
    EXPECT_NE(stored, plain);
    EXPECT_NE(stored, at(key, 1001));
    EXPECT_NE(stored, at("graphics.dat", 1000));
    auto back = stored;
    Decode(back.data(), 64, HashKey(key.c_str()), key, 1000);
    EXPECT_EQ(back, plain);
}

TEST(CryptoStream, LongBuffersScrambleAsByteByByte) {
    for (const AnsiString& key : {AnsiString("sounds.dat"), AnsiString(300, 'k'), AnsiString()}) {
        const uint32_t hash = HashKey(key.c_str());
        std::vector<uint8_t> whole = Counting(5000);
        Encode(whole.data(), 5000, hash, key, 12345);
        std::vector<uint8_t> single = Counting(5000);
        for (size_t i = 0; i < single.size(); ++i)
            Encode(&single[i], 1, hash, key, 12345 + i);
        EXPECT_EQ(whole, single) << key.size();
        Decode(whole.data(), 5000, hash, key, 12345);
        EXPECT_EQ(whole, Counting(5000));
    }
}

TEST(SubStream, WindowReadsAndSeeks) {
    TestSupport::TempDir dir;
    WritePlain(dir.File("plain.bin"), Counting(100));
    TSubStream window(dir.File("plain.bin"), 20, 10);
    uint8_t buffer[32] = {};
    EXPECT_EQ(window.Read(buffer, 32), 20);
    EXPECT_EQ(buffer[0], 10);
    EXPECT_EQ(buffer[19], 29);
    EXPECT_EQ(window.Read(buffer, 32), 0);
    EXPECT_EQ(window.Seek(0, ClassLib::soFromEnd), 20);
    EXPECT_EQ(window.Seek(-5, ClassLib::soFromCurrent), 15);
    EXPECT_EQ(window.Read(buffer, 32), 5);
    EXPECT_EQ(buffer[0], 25);
    window.SetPosition(-1);
    EXPECT_EQ(window.Read(buffer, 4), 0);
    EXPECT_EQ(window.GetSize(), 20);

    TSubStream whole(dir.File("plain.bin"), fmOpenRead | fmShareDenyWrite);
    EXPECT_FALSE(whole.PassThrough());
    EXPECT_EQ(whole.GetSize(), 100);
}

TEST(SubStream, WindowsOutsideTheFileAreRefused) {
    TestSupport::TempDir dir;
    const std::string name = dir.File("plain.bin");
    WritePlain(name, Counting(100));
    EXPECT_NO_THROW(TSubStream(name, 0, 100));
    const struct {
        int64_t size, offset;
        const char* message;
    } cases[] = {
        {0, 101, "Invalid offset of substream."}, {1, -1, "Invalid offset of substream."},
        {1, 100, "Invalid size of substream."},   {-1, 0, "Invalid size of substream."},
        {91, 10, "Invalid size of substream."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { TSubStream(name, c.size, c.offset); }), c.message)
            << c.size << " at " << c.offset;

    TSubStream window(name, 20, 10);
    EXPECT_EQ(ErrorOf([&] { window.CreateSubStream(-1, 1); }), "Invalid offset of substream.");
    EXPECT_EQ(ErrorOf([&] { window.CreateSubStream(5, 16); }), "Invalid size of substream.");
    auto inner = window.CreateSubStream(5, 15);
    uint8_t first = 0;
    inner->ReadBuffer(&first, 1);
    EXPECT_EQ(first, 15);
}

TEST(CryptoStream, WritesScrambledAndReadsBackThroughAnyWindow) {
    TestSupport::TempDir dir;
    const std::string name = dir.File("Save01.SAV");
    const std::vector<uint8_t> plain = Counting(600);
    {
        TCryptoStream out(name, fmCreate);
        EXPECT_TRUE(out.PassThrough());
        EXPECT_EQ(out.Key(), "save01.sav");
        const auto copy = plain;
        out.WriteBuffer(copy.data(), 600); // one call, scrambled chunk by chunk
        EXPECT_EQ(copy, plain);
    }
    auto expected = plain;
    Encode(expected.data(), 600, HashKey("save01.sav"), "save01.sav", 0);
    EXPECT_EQ(ReadPlain(name), expected);

    TCryptoStream in(name, fmOpenRead | fmShareDenyWrite);
    std::vector<uint8_t> back(600);
    in.ReadBuffer(back.data(), 600);
    EXPECT_EQ(back, plain);

    // Windows decode by absolute file position.
    TCryptoStream window(name, 300, 200);
    auto inner = window.CreateSubStream(50, 100);
    ASSERT_NE(dynamic_cast<TCryptoStream*>(inner.get()), nullptr);
    std::vector<uint8_t> part(100);
    inner->ReadBuffer(part.data(), 100);
    EXPECT_TRUE(std::equal(part.begin(), part.end(), plain.begin() + 250));
}
