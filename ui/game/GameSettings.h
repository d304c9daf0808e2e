// The player's options in "vrn.ini", section "Settings", in the program's folder (the
// folder data.ini is looked for in). Read when the game object starts; written when the
// options change and when the program ends. Nothing about the file is ever worth an
// error box: what cannot be read gives the defaults and a line on the error output.
#pragma once

#include "game/world/scenario/GameSettings.h"
#include "platform/classlib/AnsiString.h"

#include <vector>

namespace Main {

// The program folder's "vrn.ini".
ClassLib::AnsiString SettingsFileName();

struct TSettingsRead {
    GameData::TGameSettings Settings;
    // One line for each thing that could not be used as it stood.
    std::vector<ClassLib::AnsiString> Problems;
};

// The seven values the file holds, each brought into its range; a missing file, section
// or key gives the default, and so does a value that is not a number.
TSettingsRead ReadSettingsFile(const ClassLib::AnsiString& fileName);

// Writes the seven keys, keeping whatever else the file holds, through a temporary file
// renamed over the old one: the file is either the old one or the new one, never a
// mixture. Raises EFOpenError when the old file cannot be read, EFCreateError or
// EWriteError when the new one cannot be written.
void WriteSettingsFile(const ClassLib::AnsiString& fileName,
                       const GameData::TGameSettings& settings);

} // namespace Main
