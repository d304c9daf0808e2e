// INI files as Windows keeps them: sections and keys matched ignoring case,
// values trimmed, every write saved at once unless the file is opened to be saved
// with UpdateFile. Saving goes through a temporary file so a crash never leaves a
// half-written settings file.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <vector>

namespace ClassLib {

class TIniFile {
public:
    // Without saveEachWrite the writes stay in memory until UpdateFile, so that a
    // group of keys reaches the file all at once or not at all.
    explicit TIniFile(AnsiString fileName, bool saveEachWrite = true);
    const AnsiString& FileName() const { return FFileName; }

    AnsiString ReadString(std::string_view section, std::string_view key,
                          const AnsiString& defaultValue) const;
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    void WriteString(std::string_view section, std::string_view key, const AnsiString& value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Raises EFCreateError or EWriteError and leaves the file as it was when it fails.
    void UpdateFile() const;

private:
    struct Entry {
        AnsiString Key;
        AnsiString Value;
    };
    struct Section {
        AnsiString Name;
        std::vector<Entry> Entries;
    };
    const Entry* Find(std::string_view section, std::string_view key) const;
    void Load();

    AnsiString FFileName;
    bool FSaveEachWrite;
    std::vector<Section> FSections;
};

} // namespace ClassLib
