#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/core/DataObject.h"
#include "platform/classlib/Exception.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"
#include "tools/ArchiveWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace Data;
using TestSupport::ErrorOf;
using Tools::TBytes;

namespace {

TBytes Text(const std::string& s) {
    return TBytes(s.begin(), s.end());
}

std::string ReadAll(TStream& stream) {
    std::string s(static_cast<size_t>(stream.GetSize()), '\0');
    stream.ReadBuffer(s.data(), static_cast<int64_t>(s.size()));
    return s;
}

std::string ReadFile(const TArchive& archive, const AnsiString& name) {
    return ReadAll(*archive.OpenFile(name));
}

// A data folder under a temporary program folder, made current for the test.
class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedProgramPath = Base::ProgramPath;
        FSavedDataPath = DataPath;
        Base::ProgramPath = FDir.Path();
        DataPath = FDir.Path();
    }
    void TearDown() override {
        Base::ProgramPath = FSavedProgramPath;
        DataPath = FSavedDataPath;
    }
    std::string Data(const std::string& name) const { return DataPath + name; }
    void WriteArchive(const std::string& name,
                      const std::vector<std::pair<std::string, std::string>>& files) {
        Tools::TArchiveWriter writer;
        for (const auto& [file, text] : files)
            writer.AddFile(file, Text(text));
        writer.SaveToFile(Data(name));
    }
    void WriteScrambled(const std::string& name, const TBytes& plain) {
        const TBytes stored = Tools::ScrambleForFile(name, plain);
        ClassLib::WriteFileAtomically(Data(name), stored.data(), stored.size());
    }

    TestSupport::TempDir FDir;

private:
    AnsiString FSavedProgramPath;
    AnsiString FSavedDataPath;
};

class TNote : public TDataObject {
public:
    void LoadFromStream(TStream* stream) override {
        TDataObject::LoadFromStream(stream);
        Text = ReadStreamString(*stream);
    }
    AnsiString Text;
};

} // namespace

TEST_F(ArchiveTest, DataPathComesFromDataIniBesideTheProgram) {
    ReadDataPath();
    EXPECT_EQ(DataPath, FDir.Path()); // no data.ini: the program's folder
    const struct {
        const char* ini;
        std::string expected;
    } cases[] = {
        {"[Main]\nDataPath=Data\n", FDir.Path() + "Data/"},
        {"[main]\ndatapath = Game\\Data\\\n", FDir.Path() + "Game/Data/"},
        {"[Main]\nDataPath=/srv/game/data\n", "/srv/game/data/"},
        {"[Main]\nDataPath=\\Data\n", "/Data/"},
        {"[Main]\nDataPath=\n", FDir.Path()},
        {"[Other]\nDataPath=Elsewhere\n", FDir.Path()},
    };
    for (const auto& c : cases) {
        std::ofstream(FDir.File("data.ini")) << c.ini;
        ReadDataPath();
        EXPECT_EQ(DataPath, c.expected) << c.ini;
    }
}

TEST_F(ArchiveTest, PackedArchiveFindsFilesInAnyLetterCase) {
    WriteArchive("globals.dat", {{"default.txt", "names"}, {"Alpha.TXT", "first"}, {"beta", ""}});
    const TArchive archive("globals", arAutomatic);
    EXPECT_EQ(archive.Mode, arPacked);
    EXPECT_EQ(archive.Path, Data("globals.dat"));
    EXPECT_EQ(archive.DataStart, 16u + 3 * 40);
    ASSERT_EQ(archive.Count(), 3);
    EXPECT_EQ(archive.GetFileName(0), "Alpha.TXT");
    EXPECT_EQ(archive.GetFileName(1), "beta");
    EXPECT_EQ(archive.GetFileName(2), "default.txt");
    EXPECT_EQ(ReadFile(archive, "alpha.txt"), "first");
    EXPECT_EQ(ReadFile(archive, "DEFAULT.TXT"), "names");
    EXPECT_EQ(ReadFile(archive, "Beta"), "");
    EXPECT_EQ(ErrorOf([&] { archive.OpenFile("gamma"); }), "File not found in archive.");
    EXPECT_THROW(archive.OpenFile("gamma"), ClassLib::EFOpenError);
    EXPECT_THROW(archive.GetFileName(3), ClassLib::EListError);
}

TEST_F(ArchiveTest, MissingArchivesAreNamed) {
    EXPECT_EQ(ErrorOf([] { TArchive("sounds", arAutomatic); }), "Archive 'sounds' not found.");
    EXPECT_EQ(ErrorOf([] { TArchive("sounds", arPacked); }), "Archive 'sounds' not found.");
    WriteArchive("sounds.dat", {});
    EXPECT_EQ(ErrorOf([] { TArchive("sounds", arFolder); }), "Archive 'sounds' not found.");
    EXPECT_EQ(TArchive("sounds", arPacked).Count(), 0);
}

TEST_F(ArchiveTest, LooseFilesJoinAndReplacePackedOnes) {
    WriteArchive("scenario.dat", {{"one.scn", "packed one"}, {"two.scn", "packed two"}});
    std::filesystem::create_directory(Data("Scenario"));
    WriteScrambled("Scenario/TWO.scn", Text("loose two"));
    const std::string longName = "a loose file whose name is far longer than thirty-one.scn";
    WriteScrambled("Scenario/" + longName, Text("long"));

    const TArchive archive("scenario", arAutomatic);
    EXPECT_EQ(archive.Mode, arPacked); // the packed file wins the automatic choice
    ASSERT_EQ(archive.Count(), 3);
    EXPECT_EQ(archive.GetFileName(0), longName);
    EXPECT_EQ(archive.GetFileName(1), "one.scn");
    EXPECT_EQ(ReadFile(archive, "two.scn"), "loose two");
    EXPECT_EQ(ReadFile(archive, "one.scn"), "packed one");
    EXPECT_EQ(ReadFile(archive, archive.GetFileName(0)), "long");
    EXPECT_EQ(ReadFile(archive, "A LOOSE FILE WHOSE NAME IS FAR LONGER THAN THIRTY-ONE.SCN"),
              "long");
    EXPECT_EQ(archive.Directory[0].Offset, LooseFileMark);
    EXPECT_EQ(std::strlen(archive.Directory[0].Name), 31u);
}

TEST_F(ArchiveTest, FolderStandsInForAnArchive) {
    std::filesystem::create_directory(Data("graphics"));
    WriteScrambled("graphics/Font.FNT", Text("font bytes"));
    WriteScrambled("graphics/common.gfl", Text("sprites"));
    const TArchive archive("graphics", arAutomatic);
    EXPECT_EQ(archive.Mode, arFolder);
    EXPECT_EQ(archive.Path, Data("graphics/"));
    ASSERT_EQ(archive.Count(), 2);
    EXPECT_EQ(archive.GetFileName(0), "common.gfl");
    EXPECT_EQ(ReadFile(archive, "font.fnt"), "font bytes");
    EXPECT_THROW(archive.OpenFile("missing.fnt"), ClassLib::EFOpenError);
}

TEST_F(ArchiveTest, DataObjectsLoadFromArchives) {
    ClassLib::TMemoryStream record;
    record.WriteValue<uint32_t>(42);
    WriteStreamString(&record, "hello");
    Tools::TArchiveWriter writer;
    writer.AddFile("note.dat", record.Bytes());
    writer.SaveToFile(Data("globals.dat"));
    TNote note;
    note.LoadFromArchive(TArchive("globals", arPacked), "NOTE.DAT");
    EXPECT_EQ(note.ID, 42u);
    EXPECT_EQ(note.Text, "hello");
}

TEST_F(ArchiveTest, CorruptDirectoriesAreInvalidData) {
    auto entry = [](uint32_t offset, uint32_t size, const char* name) {
        TBytes bytes(40, 0);
        std::memcpy(bytes.data(), &offset, 4);
        std::memcpy(bytes.data() + 4, &size, 4);
        std::memcpy(bytes.data() + 8, name, std::min<size_t>(std::strlen(name), 32));
        return bytes;
    };
    auto archive = [](const char* signature, uint32_t count, std::vector<TBytes> entries,
                      size_t dataSize) {
        TBytes bytes(16, 0);
        std::memcpy(bytes.data(), signature, 4);
        std::memcpy(bytes.data() + 4, &count, 4);
        for (const TBytes& e : entries)
            bytes.insert(bytes.end(), e.begin(), e.end());
        bytes.resize(bytes.size() + dataSize, 0x11);
        return bytes;
    };
    const std::string longName(32, 'x');
    const struct {
        const char* what;
        TBytes bytes;
    } cases[] = {
        {"empty file", {}},
        {"truncated header", TBytes{'D', 'A', 'T', 'A', 1, 0}},
        {"signature", archive("DATB", 0, {}, 0)},
        {"count beyond the file", archive("DATA", 2, {entry(0, 1, "a")}, 10)},
        {"huge count", archive("DATA", 0xFFFFFFFF, {}, 100)},
        {"entry beyond the file", archive("DATA", 1, {entry(5, 6, "a")}, 10)},
        {"entry size wraps", archive("DATA", 1, {entry(8, 0xFFFFFFFF, "a")}, 10)},
        {"name without NUL", archive("DATA", 1, {entry(0, 1, longName.c_str())}, 10)},
    };
    for (const auto& c : cases) {
        WriteScrambled("broken.dat", c.bytes);
        EXPECT_EQ(ErrorOf([] { TArchive("broken", arPacked); }), "Invalid data.") << c.what;
    }
    // An entry exactly at the end is fine, and so is a loose-file mark.
    WriteScrambled("broken.dat",
                   archive("DATA", 2,
                           {entry(10, 0, "end"), entry(LooseFileMark, LooseFileMark, "elsewhere")},
                           10));
    const TArchive fine("broken", arPacked);
    EXPECT_EQ(ReadFile(fine, "end"), "");
    EXPECT_EQ(ErrorOf([&] { fine.OpenFile("elsewhere"); }), "File not found in archive.");
}
