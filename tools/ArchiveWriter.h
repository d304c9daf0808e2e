// Writes packed ".dat" archives and loose data files exactly as the game reads
// them: the content pipeline and the tests' fixture builder.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <cstdint>
#include <vector>

namespace Tools {

using ClassLib::AnsiString;
using TBytes = std::vector<uint8_t>;

class TArchiveWriter {
public:
    // Names are at most 31 characters and unique ignoring letter case; anything
    // else raises an Exception naming the file.
    void AddFile(const AnsiString& name, TBytes data);
    int Count() const { return static_cast<int>(FFiles.size()); }

    // The archive as stored under fileName: header "DATA", the directory sorted
    // by name, the data, all scrambled with the key of fileName's name part.
    TBytes Build(const AnsiString& fileName) const;
    // Written beside the target and renamed over it.
    void SaveToFile(const AnsiString& fileName) const;

private:
    struct TFile {
        AnsiString Name;
        TBytes Data;
    };
    std::vector<TFile> FFiles;
};

// Scrambles data as the file fileName holds it, from its first byte.
TBytes ScrambleForFile(const AnsiString& fileName, TBytes data);
// A loose data file (a file in a folder standing in for an archive, or a saved game).
void SaveLooseFile(const AnsiString& fileName, const TBytes& data);
TBytes LoadLooseFile(const AnsiString& fileName);
TBytes LoadPlainFile(const AnsiString& fileName);

// Packs every file in folder into archiveFileName and returns how many it
// packed. The folder holds loose data files, or with plain set, files as they are.
int PackFolder(const AnsiString& folder, const AnsiString& archiveFileName, bool plain);

} // namespace Tools
