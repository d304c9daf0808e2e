#include "engine/core/Base.h"
#include "platform/classlib/Exception.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace Base;

TEST(Base, BoundedStrings) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    CopyStringBounded(buffer, "abcdef", 1);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'x');
    CopyStringBounded(buffer, "abcdef", 4);
    EXPECT_STREQ(buffer, "abc");
    CopyStringBounded(buffer, "zz", 0); // nothing happens
    EXPECT_STREQ(buffer, "abc");
    FormatStringBounded(buffer, sizeof buffer, "%d", 123456);
    EXPECT_STREQ(buffer, "123");
    EXPECT_TRUE(IsNullTerminated("ab\0", 3));
    EXPECT_FALSE(IsNullTerminated("abc", 3));
    EXPECT_FALSE(IsNullTerminated("", 0));
}

TEST(Base, TrailingFolderSeparator) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"", ""}, {"data/", "data/"}, {"data\\", "data\\"}, {"data", "data/"}};
    for (const auto& c : cases) {
        AnsiString path = c.in;
        AddTrailingBackslash(path);
        EXPECT_EQ(path, c.out);
    }
}

TEST(Base, BinaryDigits) {
    EXPECT_EQ(StrToBinary64("101"), 5u);
    EXPECT_EQ(StrToBinary64("0" + std::string(64, '1')), ~uint64_t(0));
    for (const char* bad : {"", "102"}) {
        try {
            StrToBinary64(bad);
            FAIL();
        } catch (const ClassLib::EConvertError& e) {
            EXPECT_EQ(e.Message, std::string("'") + bad + "' is not a valid binary value.");
        }
    }
}

TEST(Base, EnumerateFilesReportsFilesOnly) {
    TestSupport::TempDir dir;
    std::ofstream(dir.File("01.sav")) << "a";
    std::ofstream(dir.File("02.SAV")) << "b";
    std::ofstream(dir.File("notes.txt")) << "c";
    std::filesystem::create_directories(dir.File("folder.sav"));
    std::vector<std::string> seen;
    const int count = EnumerateFiles(
        dir.Path() + "*.sav",
        [](const AnsiString& path, const TFindData&, void* context) {
            static_cast<std::vector<std::string>*>(context)->push_back(path);
        },
        &seen);
    EXPECT_EQ(count, 2);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{dir.File("01.sav"), dir.File("02.SAV")}));
    EXPECT_EQ(EnumerateFiles(dir.Path() + "*.none", nullptr, nullptr), 0);
    EXPECT_EQ(EnumerateFiles(std::string(261, 'a'), nullptr, nullptr), 0);
}

TEST(Base, RunTimeLibrariesAndTheirErrors) {
    Win32::HMODULE math = LoadLibraryChecked("libm.so.6");
    EXPECT_NE(GetProcAddressChecked(math, "cos"), nullptr);
    try {
        GetProcAddressChecked(math, "NoSuchFunction");
        FAIL();
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message.rfind("Function 'NoSuchFunction' not found in library (", 0), 0u);
    }
    FreeLibraryChecked(math);
    FreeLibraryChecked(nullptr);
    try {
        LoadLibraryChecked("libvarnholt-missing.so");
        FAIL();
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message.rfind("Load library 'libvarnholt-missing.so' failed (", 0), 0u);
    }
}

TEST(Base, ProgramPathEndsWithTheFolderSeparator) {
    InitBaseUnit();
    ASSERT_FALSE(ProgramPath.empty());
    EXPECT_EQ(ProgramPath.back(), '/');
    EXPECT_EQ(ProgramFileName.rfind(ProgramPath, 0), 0u);
}
