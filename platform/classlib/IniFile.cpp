#include "platform/classlib/IniFile.h"

#include "platform/classlib/Files.h"
#include "platform/classlib/StringList.h"

namespace ClassLib {

TIniFile::TIniFile(AnsiString fileName, bool saveEachWrite)
    : FFileName(std::move(fileName)), FSaveEachWrite(saveEachWrite) {
    Load();
}

static AnsiString Unquote(AnsiString value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

void TIniFile::Load() {
    FSections.clear();
    if (!FileExists(FFileName))
        return;
    TStringList lines;
    lines.LoadFromFile(FFileName);
    Section* current = nullptr;
    for (const AnsiString& raw : lines) {
        const AnsiString line = Trim(raw);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            FSections.push_back(Section{
                Trim(line.substr(1, close == AnsiString::npos ? AnsiString::npos : close - 1)),
                {}});
            current = &FSections.back();
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == AnsiString::npos)
            continue;
        current->Entries.push_back(
            Entry{Trim(line.substr(0, equals)), Unquote(Trim(line.substr(equals + 1)))});
    }
}

const TIniFile::Entry* TIniFile::Find(std::string_view section, std::string_view key) const {
    for (const Section& s : FSections) {
        if (!SameText(s.Name, section))
            continue;
        for (const Entry& e : s.Entries)
            if (SameText(e.Key, key))
                return &e;
    }
    return nullptr;
}

AnsiString TIniFile::ReadString(std::string_view section, std::string_view key,
                                const AnsiString& defaultValue) const {
    const Entry* entry = Find(section, key);
    return entry ? entry->Value : defaultValue;
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    const Entry* entry = Find(section, key);
    return entry ? StrToIntDef(entry->Value, defaultValue) : defaultValue;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(std::string_view section) const {
    for (const Section& s : FSections)
        if (SameText(s.Name, section))
            return true;
    return false;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return Find(section, key) != nullptr;
}

void TIniFile::WriteString(std::string_view section, std::string_view key,
                           const AnsiString& value) {
    Section* target = nullptr;
    for (Section& s : FSections)
        if (SameText(s.Name, section)) {
            target = &s;
            break;
        }
    if (!target) {
        FSections.push_back(Section{AnsiString(section), {}});
        target = &FSections.back();
    }
    bool replaced = false;
    for (Entry& e : target->Entries)
        if (SameText(e.Key, key)) {
            e.Value = value;
            replaced = true;
            break;
        }
    if (!replaced)
        target->Entries.push_back(Entry{AnsiString(key), value});
    if (FSaveEachWrite)
        UpdateFile();
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::UpdateFile() const {
    AnsiString text;
    for (const Section& s : FSections) {
        if (!text.empty())
            text += "\r\n";
        text += "[" + s.Name + "]\r\n";
        for (const Entry& e : s.Entries)
            text += e.Key + "=" + e.Value + "\r\n";
    }
    WriteFileAtomically(FFileName, text.data(), text.size());
}

} // namespace ClassLib
