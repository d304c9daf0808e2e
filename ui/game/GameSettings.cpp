#include "ui/game/GameSettings.h"

#include "engine/core/Base.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"
#include "platform/classlib/IniFile.h"
#include "ui/game/Game.h"

#include <cstdio>
#include <optional>

namespace Main {

using ClassLib::AnsiString;
using ClassLib::Format;
using GameData::TGameSettings;

namespace {

constexpr const char* Section = "Settings";

struct TNumberKey {
    const char* Name;
    int32_t TGameSettings::*Value;
};
struct TSwitchKey {
    const char* Name;
    bool TGameSettings::*Value;
};

// In the order the file keeps them.
constexpr TNumberKey NumberKeys[] = {
    {"MusicVolume", &TGameSettings::MusicVolume},
    {"SFXVolume", &TGameSettings::SFXVolume},
    {"SpeechVolume", &TGameSettings::SpeechVolume},
    {"MovementSpeed", &TGameSettings::MovementSpeed},
    {"Difficulty", &TGameSettings::Difficulty},
};
constexpr TSwitchKey SwitchKeys[] = {
    {"ConfirmEndTurn", &TGameSettings::ConfirmEndTurn},
    {"CastInAutoCombat", &TGameSettings::CastInAutoCombat},
};

// The key's number, or nothing when the file has no such key or no number there.
std::optional<int> ReadNumber(const ClassLib::TIniFile& ini, const char* key,
                              std::vector<AnsiString>& problems) {
    if (!ini.ValueExists(Section, key))
        return std::nullopt;
    const AnsiString text = ini.ReadString(Section, key, "");
    int value = 0;
    if (!ClassLib::TryStrToInt(ClassLib::Trim(text), value)) {
        problems.push_back(
            Format("%s: %s '%s' is not a number; the default is used.", ini.FileName(), key, text));
        return std::nullopt;
    }
    return value;
}

void PrintProblem(const AnsiString& text) {
    std::fprintf(stderr, "Varnholt: %s\n", text.c_str());
}

} // namespace

AnsiString SettingsFileName() {
    return Base::ProgramPath + "vrn.ini";
}

TSettingsRead ReadSettingsFile(const AnsiString& fileName) {
    TSettingsRead read;
    if (!ClassLib::FileExists(fileName)) {
        read.Problems.push_back(Format("%s not found; the default settings apply.", fileName));
        return read;
    }
    std::optional<ClassLib::TIniFile> ini;
    try {
        ini.emplace(fileName);
    } catch (const std::exception& error) {
        read.Problems.push_back(Format("%s cannot be read (%s); the default settings apply.",
                                       fileName, ClassLib::ExceptionMessage(error)));
        return read;
    }
    if (!ini->SectionExists(Section)) {
        read.Problems.push_back(
            Format("%s has no section [%s]; the default settings apply.", fileName, Section));
        return read;
    }
    TGameSettings& settings = read.Settings;
    for (const TNumberKey& key : NumberKeys)
        if (const std::optional<int> value = ReadNumber(*ini, key.Name, read.Problems))
            settings.*key.Value = *value;
    const TGameSettings asRead = settings;
    settings.Clamp();
    for (const TNumberKey& key : NumberKeys)
        if (asRead.*key.Value != settings.*key.Value)
            read.Problems.push_back(Format("%s: %s %d is out of range; %d is used.", fileName,
                                           key.Name, asRead.*key.Value, settings.*key.Value));
    for (const TSwitchKey& key : SwitchKeys)
        if (const std::optional<int> value = ReadNumber(*ini, key.Name, read.Problems))
            settings.*key.Value = *value != 0;
    return read;
}

void WriteSettingsFile(const AnsiString& fileName, const TGameSettings& settings) {
    // What else the file holds stays. One that cannot be read is left alone: the error
    // says why.
    ClassLib::TIniFile ini(fileName, false);
    for (const TNumberKey& key : NumberKeys)
        ini.WriteInteger(Section, key.Name, settings.*key.Value);
    for (const TSwitchKey& key : SwitchKeys)
        ini.WriteBool(Section, key.Name, settings.*key.Value);
    ini.UpdateFile();
}

void TGame::ReadSettings() {
    TSettingsRead read = ReadSettingsFile(SettingsFileName());
    for (const AnsiString& problem : read.Problems)
        PrintProblem(problem);
    GameData::GameSettings = read.Settings;
}

void TGame::WriteSettings() {
    try {
        WriteSettingsFile(SettingsFileName(), GameData::GameSettings);
    } catch (const std::exception& error) {
        PrintProblem("settings not saved: " + ClassLib::ExceptionMessage(error));
    }
}

} // namespace Main
