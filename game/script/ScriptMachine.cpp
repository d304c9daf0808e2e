#include "game/script/ScriptMachine.h"

#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"

#include <limits>

namespace GameData {

using ClassLib::AnsiString;

namespace {

constexpr std::string_view Operators = "+-*/";

} // namespace

bool IsNumber(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

TCommandParts SplitCommand(std::string_view command) {
    const size_t open = command.find('(');
    const size_t close = command.find(')');
    TCommandParts parts;
    if (open == std::string_view::npos) {
        parts.Name = AnsiString(command);
        return parts;
    }
    parts.Name = AnsiString(command.substr(0, open));
    if (close != std::string_view::npos && open < close)
        parts.Params = AnsiString(command.substr(open + 1, close - open - 1));
    return parts;
}

int32_t TScriptMachine::LocalAliasIndex(const AnsiString&) const {
    return -1;
}

int32_t& TScriptMachine::LocalAt(int64_t index) {
    if (index < 0 || index >= LocalCount)
        ScriptError("Bad index of local variable!\n"
                    "There is 32 local variables with index starting at 0!");
    return Locals[size_t(index)];
}

int32_t& TScriptMachine::GlobalAt(int64_t index) {
    if (index < 0 || index >= GlobalCount)
        ScriptError("Bad index of global variable!\n"
                    "There is 1024 global variables with index starting at 0!");
    if (!Scenario)
        ScriptError("The script has no scenario.");
    return Scenario->Globals[size_t(index)];
}

int32_t& TScriptMachine::FindVariable(const AnsiString& name) {
    if (name.compare(0, 5, "LOCAL") == 0)
        return LocalAt(ClassLib::StrToInt(name.substr(5)));
    if (name.compare(0, 6, "GLOBAL") == 0)
        return GlobalAt(ClassLib::StrToInt(name.substr(6)));
    // A stored alias may name any index: it is checked like a written one.
    const int32_t local = LocalAliasIndex(name);
    if (local >= 0)
        return LocalAt(local);
    const int32_t global = Scenario ? Scenario->GlobalAliasIndex(name) : -1;
    if (global >= 0)
        return GlobalAt(global);
    throw ClassLib::Exception(ClassLib::Format("Unknown variable:%s!", name));
}

int32_t TScriptMachine::EvaluateOperand(std::string_view text) {
    const AnsiString operand = ClassLib::Trim(text);
    if (operand.empty())
        return 0;
    if (IsNumber(operand))
        return ClassLib::StrToInt(operand);
    return FindVariable(operand);
}

int32_t TScriptMachine::EvaluateExpression(std::string_view text) {
    // Splitting at the last operator and recursing on the left is a left fold over
    // the operators in order; folding keeps long expressions off the stack.
    size_t end = text.find_first_of(Operators);
    int32_t value = EvaluateOperand(text.substr(0, end));
    while (end != std::string_view::npos) {
        const char op = text[end];
        const size_t start = end + 1;
        end = text.find_first_of(Operators, start);
        const int32_t operand =
            EvaluateOperand(text.substr(start, end == std::string_view::npos ? end : end - start));
        const auto a = static_cast<uint32_t>(value);
        const auto b = static_cast<uint32_t>(operand);
        switch (op) {
        case '+':
            value = static_cast<int32_t>(a + b);
            break;
        case '-':
            value = static_cast<int32_t>(a - b);
            break;
        case '*':
            value = static_cast<int32_t>(a * b);
            break;
        default:
            if (operand == 0)
                ScriptError("Division by zero.");
            if (operand == -1 && value == std::numeric_limits<int32_t>::min())
                ScriptError("Integer overflow.");
            value /= operand;
        }
    }
    return value;
}

AnsiString TScriptMachine::NextParameter(AnsiString& params) const {
    if (params.empty())
        ScriptError("Parameter expected!");
    return ClassLib::Trim(NextOptionalParameter(params));
}

int32_t TScriptMachine::NextExpression(AnsiString& params) {
    return EvaluateExpression(NextParameter(params));
}

AnsiString TScriptMachine::NextOptionalParameter(AnsiString& params) {
    const size_t comma = params.find(',');
    AnsiString part = params.substr(0, comma);
    params.erase(0, comma == AnsiString::npos ? comma : comma + 1);
    return part;
}

int32_t TScriptMachine::NextOptionalExpression(AnsiString& params, int32_t defaultValue) {
    const AnsiString part = NextOptionalParameter(params);
    return part.empty() ? defaultValue : EvaluateExpression(part);
}

void TScriptMachine::CheckNoMoreParameters(const AnsiString& params) const {
    if (!params.empty())
        ScriptError(ClassLib::Format("Parameter(s) %s NOT expected!", params));
}

} // namespace GameData
