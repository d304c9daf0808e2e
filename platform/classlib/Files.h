// File-system helpers. Stored names use "\" and any letter case; on this
// system folders are separated by "/" and names are case-sensitive.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <cstdint>
#include <vector>

namespace ClassLib {

// Turns every "\" into "/".
AnsiString NativePath(std::string_view path);
// The existing path that matches path ignoring letter case, component by
// component; false when there is none.
bool FindPathIgnoringCase(const AnsiString& path, AnsiString& existing);

bool FileExists(const AnsiString& path);
bool DirectoryExists(const AnsiString& path);
bool ForceDirectories(const AnsiString& path);
bool DeleteFile(const AnsiString& path);

// Writes bytes to a temporary file beside path and renames it over path.
// Raises EFCreateError or EWriteError naming the file.
void WriteFileAtomically(const AnsiString& path, const void* data, size_t size);

struct TDirectoryEntry {
    AnsiString Name;
    bool IsDirectory = false;
    int64_t Size = 0;
    int64_t ModifiedTime = 0; // seconds since 1970
};
// The entries of a folder (without "." and ".."), in the order the file system returns them.
std::vector<TDirectoryEntry> ListDirectory(const AnsiString& folder);

} // namespace ClassLib
