// The named archives all game content is read from: one packed ".dat" file or a
// folder of loose files, every file read through the scrambling stream.
#pragma once

#include "engine/core/CryptoStream.h"
#include "engine/core/DynamicArray.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Data {

// The folder of the archives, ending in the folder separator once ReadDataPath has run.
extern AnsiString DataPath;

// Reads "DataPath" of section "Main" of "data.ini" beside the program; a relative
// folder is taken from the program's folder, a missing file means the program's folder.
void ReadDataPath();

constexpr uint32_t LooseFileMark = 0xFFFFFFFF;

// One file of an archive, as stored in a packed archive's directory.
struct TFileEntry {
    uint32_t Offset; // from the archive's DataStart; LooseFileMark for a loose file
    uint32_t Size;   // LooseFileMark for a loose file
    char Name[32];   // NUL-terminated
};
static_assert(sizeof(TFileEntry) == 40);

struct TArchiveHeader {
    char Signature[4]; // "DATA"
    uint32_t Count;
    uint8_t Unused[8];
};
static_assert(sizeof(TArchiveHeader) == 16);

constexpr uint8_t arAutomatic = 0;
constexpr uint8_t arFolder = 1;
constexpr uint8_t arPacked = 2;

// Reads a packed archive's header and directory from stream (positioned at its
// start), checking the count and every entry against the stream's size: a bad
// signature, an entry name without its NUL or an entry outside the data is
// "Invalid data.". Returns the offset where the file data begin.
uint32_t ReadArchiveDirectory(ClassLib::TStream& stream, TDynamicArray<TFileEntry>& directory);

class TArchive {
public:
    // Opens DataPath + name + ".dat" (arPacked) or the folder DataPath + name
    // (arFolder); arAutomatic takes the packed file when it exists. A missing
    // archive raises EStreamError "Archive '%s' not found.".
    TArchive(const AnsiString& name, uint8_t mode);

    // A stream over the file, positioned at its start. A loose file in the
    // archive's folder wins over a packed one; a missing file raises EFOpenError
    // "File not found in archive.".
    std::unique_ptr<TCryptoStream> OpenFile(const AnsiString& fileName) const;

    // The files in name order; loose files by their full real names.
    int Count() const { return Directory.Count(); }
    AnsiString GetFileName(int index) const;

    AnsiString Name;
    AnsiString Path;
    uint8_t Mode = arAutomatic;
    TDynamicArray<TFileEntry> Directory;
    uint32_t DataStart = 0;

private:
    AnsiString FolderPath() const;
    void AddLooseFiles();
    void SortDirectory();
    bool Find(const AnsiString& fileName, int& index) const;

    // Parallel to Directory: the full name of each file (a loose file's real
    // name may be longer than an entry holds).
    std::vector<AnsiString> FNames;
};

} // namespace Data
