// The value language shared by check scripts and conversations: variables (the
// script's own locals, the scenario's globals and aliases bound to either),
// operands, expressions evaluated strictly left to right, and the readers of a
// command's comma-separated parameter list.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace GameData {

class TScenario;

constexpr int LocalCount = 32;

class TScriptMachine {
public:
    TScriptMachine() = default;
    TScriptMachine(const TScriptMachine&) = delete;
    TScriptMachine& operator=(const TScriptMachine&) = delete;
    virtual ~TScriptMachine() = default;

    // Raises the script object's framed error, naming CurrentCommand.
    [[noreturn]] virtual void ScriptError(const ClassLib::AnsiString& message) const = 0;

    // LOCALn, GLOBALn, or an alias; an unbound name raises "Unknown variable:%s!" unframed.
    int32_t& FindVariable(const ClassLib::AnsiString& name);
    // Blank: 0; all decimal digits: the number; anything else: a variable's value.
    int32_t EvaluateOperand(std::string_view text);
    // Operands joined by + - * /, strictly left to right: 2+3*4 is 20; a missing
    // operand counts 0, so -5 is -5. Wraps on overflow of + - *; division by zero
    // and the quotient of the lowest integer by -1 are script errors.
    int32_t EvaluateExpression(std::string_view text);

    // Each reader takes its part off the front of params.
    // Up to the next comma, trimmed; "Parameter expected!" when nothing is left.
    ClassLib::AnsiString NextParameter(ClassLib::AnsiString& params) const;
    int32_t NextExpression(ClassLib::AnsiString& params);
    // Up to the next comma, untrimmed; empty when nothing is left.
    static ClassLib::AnsiString NextOptionalParameter(ClassLib::AnsiString& params);
    // The default for an empty part.
    int32_t NextOptionalExpression(ClassLib::AnsiString& params, int32_t defaultValue);
    // "Parameter(s) %s NOT expected!" when anything is left.
    void CheckNoMoreParameters(const ClassLib::AnsiString& params) const;

    TScenario* Scenario = nullptr;
    std::array<int32_t, LocalCount> Locals{}; // LOCAL0 takes every query's result
    ClassLib::AnsiString CurrentCommand;      // the tag running, without its brackets

protected:
    // A name the script object binds to one of its locals: that index (unchecked), or -1.
    virtual int32_t LocalAliasIndex(const ClassLib::AnsiString& name) const;

private:
    int32_t& LocalAt(int64_t index);
    int32_t& GlobalAt(int64_t index);
};

// The name and the parameter text of a command tag without its brackets: the
// parameters lie between the first "(" and the first ")" when the "(" comes first.
struct TCommandParts {
    ClassLib::AnsiString Name;
    ClassLib::AnsiString Params;
};
TCommandParts SplitCommand(std::string_view command);

// Every character a decimal digit (and at least one).
bool IsNumber(std::string_view text);

} // namespace GameData
