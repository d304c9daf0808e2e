// The twenty commands of check scripts, looked up by their upper-case name.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <string_view>

namespace GameData {

class TCheck;

// Reads its parameters off params; returns the condition, or true.
using TCheckCommand = bool (*)(TCheck& check, ClassLib::AnsiString& params);

// Null for a name not in the table (names match exactly).
TCheckCommand FindCheckCommand(std::string_view name);

} // namespace GameData
