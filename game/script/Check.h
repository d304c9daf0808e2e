// A check script: tags that decide, each time its quest is evaluated, whether a
// quest or objective is completed (a result above 0), failed (below 0) or still open (0).
#pragma once

#include "engine/core/DataObject.h"
#include "game/script/ScriptMachine.h"

#include <string_view>
#include <vector>

namespace GameData {

class TQuestObjective;

class TCheck : public Data::TDataObject, public TScriptMachine {
public:
    explicit TCheck(TQuestObjective* owner = nullptr) : Owner(owner) {}

    // Result := 0, the script runs, its result comes back. A script error escapes.
    int32_t Run();
    void SetScenario(TScenario* scenario) { Scenario = scenario; }
    // The script split at every "<CRLF>"; a trailing one gives no empty last line.
    std::vector<ClassLib::AnsiString> GetScriptLines() const;
    // Joins the lines with "<CRLF>"; lines before the first non-empty one are lost.
    void SetScriptLines(const std::vector<ClassLib::AnsiString>& lines);
    void AppendScriptLine(const ClassLib::AnsiString& line);

    // Locals zeroed, script empty, result 0; identifier, scenario and owner stay.
    void Clear() override;
    // Locals, then the script's byte count and bytes; no identifier.
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;

    // "[TCheck]\n%s\nCommand:%s CheckID=%d".
    [[noreturn]] void ScriptError(const ClassLib::AnsiString& message) const override;
    // Runs the tags of the text in order, taking IF blocks as they come.
    void RunScript(std::string_view text);
    // One tag, brackets included, runs; conditions return their truth, others true.
    bool ExecuteCommand(std::string_view tag);

    ClassLib::AnsiString Script; // lines joined by "<CRLF>"
    int32_t Result = 0;
    TQuestObjective* Owner; // the quest embedding this check

private:
    void RunScriptAt(std::string_view text, int depth);
};

} // namespace GameData
