// INI files as Windows keeps them: sections and keys matched ignoring case,
// values trimmed, every write saved at once. Saving goes through a temporary
// file so a crash never leaves a half-written settings file.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <vector>

namespace ClassLib {

class TIniFile {
public:
    explicit TIniFile(AnsiString fileName);
    const AnsiString& FileName() const { return FFileName; }

    AnsiString ReadString(std::string_view section, std::string_view key,
                          const AnsiString& defaultValue) const;
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    bool SectionExists(std::string_view section) const;

    void WriteString(std::string_view section, std::string_view key, const AnsiString& value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

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
    void Save() const;

    AnsiString FFileName;
    std::vector<Section> FSections;
};

} // namespace ClassLib
