// The after-effect template copied onto units, and spells and skills granted or
// asked for by identifier (1..64, one mask bit each).
#include "game/script/commands/CommandHandlers.h"
#include "game/script/commands/CommandSupport.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Exception.h"

#include <memory>
#include <vector>

namespace GameData {

using ClassLib::AnsiString;

namespace {

void AttachTemplate(const TConversation& c, TUnit& unit, int32_t duration, int32_t kind) {
    auto effect = std::make_unique<TAfterEffect>(c.AfterEffectTemplate);
    effect->Duration = duration;
    effect->Kind = kind;
    unit.AddEffect(std::move(effect));
    unit.RecalculateStats(true);
}

// The masks a command grants or asks about.
struct TMaskCommand {
    uint64_t TUnitStats::*First;
    uint64_t TUnitStats::*Second; // null when one mask is named
    const char* BadIndex;
};

constexpr TMaskCommand LearnSpell{&TUnitStats::LearnableSpells, &TUnitStats::Spells,
                                  "Bad spell index: %d."};
constexpr TMaskCommand AllowSpell{&TUnitStats::LearnableSpells, nullptr, "Bad spell index: %d."};
constexpr TMaskCommand KnowsSpell{&TUnitStats::Spells, nullptr, "Bad spell index: %d."};
constexpr TMaskCommand LearnSkill{&TUnitStats::LearnableSkills, &TUnitStats::Skills,
                                  "Bad skill index: %d."};
constexpr TMaskCommand AllowSkill{&TUnitStats::LearnableSkills, nullptr, "Bad skill index: %d."};
constexpr TMaskCommand KnowsSkill{&TUnitStats::Skills, nullptr, "Bad skill index: %d."};

struct TMaskTarget {
    TUnit* Unit;
    uint64_t Bit;
};

// Battle spells (65 and above) are refused rather than folded onto 1..64.
TMaskTarget ReadMaskTarget(TConversation& c, AnsiString& params, const TMaskCommand& command) {
    const int32_t unitID = c.NextExpression(params);
    const int32_t id = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    TUnit& unit = UnitOf(c, unitID);
    if (id < 1 || id > MaskedIDCount)
        c.ScriptError(ClassLib::Format(command.BadIndex, id));
    return {&unit, uint64_t(1) << (MaskedIDCount - id)};
}

bool Grant(TConversation& c, AnsiString& params, const TMaskCommand& command) {
    const TMaskTarget target = ReadMaskTarget(c, params, command);
    target.Unit->Own.*command.First |= target.Bit;
    if (command.Second)
        target.Unit->Own.*command.Second |= target.Bit;
    target.Unit->RecalculateStats(true);
    return true;
}

bool Ask(TConversation& c, AnsiString& params, const TMaskCommand& command) {
    const TMaskTarget target = ReadMaskTarget(c, params, command);
    c.Locals[0] = (target.Unit->Effective.*command.First & target.Bit) != 0 ? 1 : 0;
    return true;
}

} // namespace

bool ClearAfterEffectCommand(TConversation& c, AnsiString& params, AnsiString&) {
    c.CheckNoMoreParameters(params);
    c.AfterEffectTemplate = TAfterEffect{};
    return true;
}

bool AddAfterEffectCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t unitID = c.NextExpression(params);
    const int32_t duration = c.NextExpression(params);
    const int32_t kind = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    AttachTemplate(c, UnitOf(c, unitID), duration, kind);
    return true;
}

bool AddAfterEffectsCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t duration = c.NextExpression(params);
    const int32_t kind = c.NextExpression(params);
    std::vector<int32_t> unitIDs;
    for (int32_t id = c.NextOptionalExpression(params, 0); id != 0;
         id = c.NextOptionalExpression(params, 0))
        unitIDs.push_back(id);
    c.CheckNoMoreParameters(params);
    if (unitIDs.empty())
        c.ScriptError(ClassLib::Format("Command should have at least %d parameters!", 1));
    for (const int32_t id : unitIDs)
        if (TUnit* unit = FindUnit(c, id))
            AttachTemplate(c, *unit, duration, kind);
    return true;
}

bool AddAfterEffectToAllCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t playerMask = c.NextExpression(params);
    const int32_t classMask = c.NextExpression(params);
    const int32_t duration = c.NextExpression(params);
    const int32_t kind = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    TScenario& scenario = ScenarioOf(c);
    for (int i = 0; i < scenario.Units.Count(); ++i)
        if (MatchesMasks(scenario, *scenario.Units[i], playerMask, classMask))
            AttachTemplate(c, *scenario.Units[i], duration, kind);
    return true;
}

bool DeleteAllAfterEffectsOfTypeCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t playerMask = c.NextExpression(params);
    const int32_t classMask = c.NextExpression(params);
    const int32_t kind = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    TScenario& scenario = ScenarioOf(c);
    for (int i = 0; i < scenario.Units.Count(); ++i) {
        TUnit& unit = *scenario.Units[i];
        // Units serving nobody lose the kind whatever the masks say.
        if (!unit.GetPlayer() || MatchesMasks(scenario, unit, playerMask, classMask))
            unit.RemoveEffectsOfKind(kind);
    }
    return true;
}

bool LearnSpellCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return Grant(c, params, LearnSpell);
}
bool AllowSpellCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return Grant(c, params, AllowSpell);
}
bool KnowsSpellCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return Ask(c, params, KnowsSpell);
}
bool HasAllowedSpellCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return Ask(c, params, AllowSpell);
}
bool LearnSkillCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return Grant(c, params, LearnSkill);
}
bool AllowSkillCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return Grant(c, params, AllowSkill);
}
bool KnowsSkillCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return Ask(c, params, KnowsSkill);
}
bool HasAllowedSkillCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return Ask(c, params, AllowSkill);
}

} // namespace GameData
