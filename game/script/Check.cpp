#include "game/script/Check.h"

#include "game/script/CheckCommands.h"
#include "game/script/ScriptTags.h"
#include "platform/classlib/Exception.h"

namespace GameData {

using ClassLib::AnsiString;

namespace {

constexpr std::string_view LineBreak = "<CRLF>";
// Each block runs one level deeper on the stack; scripts nest a few levels.
constexpr int MaxBlockDepth = 256;

} // namespace

int32_t TCheck::Run() {
    Result = 0;
    RunScript(Script);
    return Result;
}

std::vector<AnsiString> TCheck::GetScriptLines() const {
    std::vector<AnsiString> lines;
    size_t start = 0;
    while (start < Script.size()) {
        const size_t end = Script.find(LineBreak, start);
        if (end == AnsiString::npos) {
            lines.push_back(Script.substr(start));
            break;
        }
        lines.push_back(Script.substr(start, end - start));
        start = end + LineBreak.size();
    }
    return lines;
}

void TCheck::AppendScriptLine(const AnsiString& line) {
    if (!Script.empty())
        Script += LineBreak;
    Script += line;
}

void TCheck::SetScriptLines(const std::vector<AnsiString>& lines) {
    Script.clear();
    for (const AnsiString& line : lines)
        AppendScriptLine(line);
}

void TCheck::Clear() {
    Locals = {};
    Script.clear();
    Result = 0;
}

void TCheck::LoadFromStream(Data::TStream* stream) {
    Clear();
    for (int32_t& local : Locals)
        local = stream->ReadValue<int32_t>();
    Data::ReadStreamString(stream, Script);
}

void TCheck::SaveToStream(Data::TStream* stream) const {
    for (const int32_t local : Locals)
        stream->WriteValue(local);
    Data::WriteStreamString(stream, Script);
}

void TCheck::ScriptError(const AnsiString& message) const {
    throw ClassLib::Exception(ClassLib::Format("[TCheck]\n%s\nCommand:%s CheckID=%d", message,
                                               CurrentCommand, static_cast<int>(ID)));
}

void TCheck::RunScript(std::string_view text) {
    RunScriptAt(text, 0);
}

void TCheck::RunScriptAt(std::string_view text, int depth) {
    TTagSpan span;
    while (!text.empty() && FindNextTag(text, span)) {
        const AnsiString tag = ClassLib::UpperCase(text.substr(span.Start, span.Length));
        text.remove_prefix(span.Start + span.Length);
        if (tag.starts_with("<IF")) {
            // A block without its end is reported at its IF.
            CurrentCommand = tag.substr(1, tag.size() - 2);
            const size_t endIf = FindEndIf(text);
            if (endIf == std::string_view::npos)
                ScriptError("Could not find <EndIf>!");
            const size_t elsePos = FindElse(text);
            if (depth >= MaxBlockDepth)
                ScriptError("IF blocks nested too deeply!");
            const bool hasElse = elsePos != std::string_view::npos;
            if (ExecuteCommand(tag))
                RunScriptAt(text.substr(0, hasElse ? elsePos : endIf), depth + 1);
            else if (hasElse) {
                const size_t start = elsePos + std::string_view("<ELSE>").size();
                RunScriptAt(text.substr(start, endIf - start), depth + 1);
            }
            text.remove_prefix(endIf + std::string_view("<ENDIF>").size());
        } else if (tag != LineBreak) {
            ExecuteCommand(tag);
        }
    }
}

bool TCheck::ExecuteCommand(std::string_view tag) {
    const std::string_view inner =
        tag.size() >= 2 ? tag.substr(1, tag.size() - 2) : std::string_view();
    CurrentCommand = AnsiString(inner);
    TCommandParts parts = SplitCommand(inner);
    const TCheckCommand command = FindCheckCommand(parts.Name);
    if (!command)
        ScriptError(ClassLib::Format("Unknown command: %s.", parts.Name));
    return command(*this, parts.Params);
}

} // namespace GameData
