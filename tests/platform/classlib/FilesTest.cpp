#include "platform/classlib/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace ClassLib;

TEST(Files, PathsMatchIgnoringCaseComponentByComponent) {
    TestSupport::TempDir dir;
    std::filesystem::create_directories(dir.File("Graphics/Units"));
    std::ofstream(dir.File("Graphics/Units/Knight.gfx")) << "x";
    AnsiString existing;
    ASSERT_TRUE(FindPathIgnoringCase(dir.Path() + "GRAPHICS\\units\\KNIGHT.GFX", existing));
    EXPECT_EQ(existing, dir.File("Graphics/Units/Knight.gfx"));
    EXPECT_FALSE(FindPathIgnoringCase(dir.Path() + "graphics/knight.gfx", existing));
    EXPECT_TRUE(FileExists(dir.Path() + "graphics/units/knight.gfx"));
    EXPECT_FALSE(FileExists(dir.Path() + "graphics/units"));
    EXPECT_TRUE(DirectoryExists(dir.Path() + "graphics/UNITS"));
}

TEST(Files, ForceDirectoriesAndListing) {
    TestSupport::TempDir dir;
    ASSERT_TRUE(ForceDirectories(dir.Path() + "a/b/c"));
    std::ofstream(dir.File("a/one.txt")) << "12345";
    auto entries = ListDirectory(dir.Path() + "a");
    std::sort(entries.begin(), entries.end(),
              [](const auto& x, const auto& y) { return x.Name < y.Name; });
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Name, "b");
    EXPECT_TRUE(entries[0].IsDirectory);
    EXPECT_EQ(entries[1].Name, "one.txt");
    EXPECT_EQ(entries[1].Size, 5);
}
