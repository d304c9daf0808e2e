#include "platform/classlib/Streams.h"
#include "platform/classlib/Exception.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace ClassLib;

TEST(MemoryStream, ReadsWritesAndSeeksPastTheEnd) {
    TMemoryStream stream;
    stream.WriteValue<uint32_t>(0x11223344);
    EXPECT_EQ(stream.GetSize(), 4);
    EXPECT_EQ(stream.Memory()[0], 0x44); // little-endian
    EXPECT_EQ(stream.Seek(10, soFromBeginning), 10);
    EXPECT_EQ(stream.Remaining(), 0);
    stream.WriteValue<uint8_t>(7); // writing past the end fills the gap with zeros
    EXPECT_EQ(stream.GetSize(), 11);
    EXPECT_EQ(stream.Memory()[5], 0);
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadValue<uint32_t>(), 0x11223344u);
    EXPECT_EQ(stream.Remaining(), 7);
}

TEST(MemoryStream, ShortReadBufferIsTheReadError) {
    TMemoryStream stream;
    stream.WriteValue<uint16_t>(1);
    stream.SetPosition(0);
    uint32_t value = 0;
    EXPECT_EQ(stream.Read(&value, 4), 2);
    stream.SetPosition(0);
    try {
        stream.ReadBuffer(&value, 4);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}

TEST(FileStream, OpenFailuresNameTheFileAndTheReason) {
    TestSupport::TempDir dir;
    try {
        TFileStream stream(dir.File("missing.dat"), fmOpenRead | fmShareDenyWrite);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message, "Cannot open file \"" + dir.File("missing.dat") +
                                 "\". No such file or directory");
    }
    EXPECT_THROW(TFileStream(dir.File("no/such/folder/x"), fmCreate), EFCreateError);
}

TEST(FileStream, FindsFilesIgnoringCaseAndBackslashes) {
    TestSupport::TempDir dir;
    std::filesystem::create_directories(dir.File("Sub"));
    std::ofstream(dir.File("Sub/Data.TXT")) << "abc";
    TFileStream stream(dir.Path() + "sub\\data.txt", fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(stream.GetSize(), 3);
    char text[3];
    stream.ReadBuffer(text, 3);
    EXPECT_EQ(std::string(text, 3), "abc");
}

TEST(FileStream, CreatesWritesAndTruncates) {
    TestSupport::TempDir dir;
    {
        TFileStream stream(dir.File("out.bin"), fmCreate);
        stream.WriteValue<uint64_t>(42);
        stream.SetSize(4);
        EXPECT_EQ(stream.GetSize(), 4);
        EXPECT_EQ(stream.GetPosition(), 4);
    }
    TMemoryStream copy;
    copy.LoadFromFile(dir.File("out.bin"));
    EXPECT_EQ(copy.GetSize(), 4);
    copy.SetPosition(0);
    EXPECT_EQ(copy.ReadValue<uint32_t>(), 42u);
}

TEST(MemoryStream, SaveToFileReplacesTheFileWhole) {
    TestSupport::TempDir dir;
    TMemoryStream stream;
    stream.WriteBuffer("new", 3);
    std::ofstream(dir.File("a.ini")) << "old contents";
    stream.SaveToFile(dir.File("a.ini"));
    EXPECT_EQ(std::filesystem::file_size(dir.File("a.ini")), 3u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.ini.tmp")));
}
