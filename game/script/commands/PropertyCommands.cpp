// GETPROPERTY, SETPROPERTY, CHANGEPROPERTY and their TOALL forms: named words of a
// unit's own statistics record, or of the conversation's after-effect template.
#include "game/script/commands/CommandHandlers.h"
#include "game/script/commands/CommandSupport.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Exception.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace GameData {

using ClassLib::AnsiString;

namespace {

enum class TPropertyUse { Word, Level, Maximum };

struct TProperty {
    std::string_view Name;
    int Word;
    TPropertyUse Use;
};

constexpr TProperty Word(std::string_view name, int word) {
    return {name, word, TPropertyUse::Word};
}
constexpr TProperty Stat(std::string_view name, TUnitStat stat, int member) {
    return {name, swFirstStat + 4 * stat + member, TPropertyUse::Word};
}
constexpr TProperty Maximum(std::string_view name, TUnitStat stat) {
    return {name, swFirstStat + 4 * stat, TPropertyUse::Maximum};
}

#define VRN_STAT(name, stat)                                                                       \
    Stat(name, stat, 0), Stat(name "BASE", stat, 1), Stat(name "DELTA", stat, 2),                  \
        Stat(name "EVERY", stat, 3)

constexpr TProperty PropertyTable[] = {
    {"LEVEL", swLevel, TPropertyUse::Level},
    Word("MORALE", swMorale),
    VRN_STAT("HITPOINTS", HITPOINTS),
    Maximum("HITPOINTSMAX", HITPOINTS),
    VRN_STAT("HPREGENERATE", HPREGENERATE),
    VRN_STAT("MANA", MANA),
    Maximum("MANAMAX", MANA),
    VRN_STAT("MANAREGENERATE", MANAREGENERATE),
    VRN_STAT("ACTIONPOINTS", ACTIONPOINTS),
    Maximum("ACTIONPOINTSMAX", ACTIONPOINTS),
    VRN_STAT("MORALEREGENERATE", MORALEREGENERATE),
    VRN_STAT("ATTACK", ATTACK),
    VRN_STAT("COUNTERATTACK", COUNTERATTACK),
    VRN_STAT("DEFENCE", DEFENCE),
    VRN_STAT("SIGHT", SIGHT),
    Word("EXPERIENCES", swExperiences),
    Word("EXPERIENCEBASE", swExperienceBase),
    Word("EXPERIENCEDELTA", swExperienceDelta),
};

#undef VRN_STAT

// The computed maxima are read only.
std::optional<TProperty> FindProperty(std::string_view name, bool writing) {
    for (const TProperty& property : PropertyTable)
        if (property.Name == name && !(writing && property.Use == TPropertyUse::Maximum))
            return property;
    return std::nullopt;
}

int16_t LowWord(int64_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(value)));
}

// BASE + ((LEVEL - 1) / EVERY) * DELTA in 16 bits; BASE when EVERY is 0.
int16_t MaximumOf(const TUnitStats& stats, int valueWord) {
    const int16_t base = stats.Words[valueWord + 1];
    const int16_t every = stats.Words[valueWord + 3];
    if (every == 0)
        return base;
    const int32_t steps = (int32_t(stats.Level()) - 1) / every;
    return LowWord(int64_t(base) + int64_t(steps) * stats.Words[valueWord + 2]);
}

// Experience is a 16-bit word: levels beyond the last would overflow it.
int ClampedLevel(int64_t level) {
    return static_cast<int>(std::clamp<int64_t>(level, 1, MaxUnitLevel));
}

// A raised LEVEL is written as the experience it needs; LevelUp raises LEVEL itself.
// Returns whether anything was written.
bool WriteLevel(TUnitStats& stats, int32_t value, bool change) {
    int64_t target;
    if (change) {
        if (value <= 0)
            return false;
        target = int64_t(stats.Level()) + value;
    } else {
        if (value <= stats.Level())
            return false;
        target = value;
    }
    stats.Experiences() = LowWord(stats.ExperienceForLevel(ClampedLevel(target)));
    return true;
}

// Writes one record; the unit, when there is one, is recomputed and may level up.
void WriteProperty(const TConversation& c, TUnitStats& stats, TUnit* unit, const AnsiString& name,
                   int32_t value, bool change) {
    const std::optional<TProperty> property = FindProperty(name, true);
    if (!property)
        c.ScriptError(ClassLib::Format("Unknown property: %s.", name));
    if (property->Use == TPropertyUse::Level) {
        if (WriteLevel(stats, value, change) && unit)
            unit->LevelledUp = 1;
    } else {
        int16_t& word = stats.Words[property->Word];
        word = LowWord(change ? int64_t(word) + value : int64_t(value));
    }
    if (unit) {
        unit->RecalculateStats(true);
        unit->LevelUp();
    }
}

struct TTarget {
    TUnitStats* Stats;
    TUnit* Unit; // null for the template
};

TTarget TargetOf(TConversation& c, int32_t unitID) {
    if (unitID == 0)
        return {&c.AfterEffectTemplate.Delta, nullptr};
    TUnit& unit = UnitOf(c, unitID);
    return {&unit.Own, &unit};
}

bool WriteOne(TConversation& c, AnsiString& params, bool change) {
    const int32_t unitID = c.NextExpression(params);
    const AnsiString name = c.NextParameter(params);
    const int32_t value = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    const TTarget target = TargetOf(c, unitID);
    WriteProperty(c, *target.Stats, target.Unit, name, value, change);
    return true;
}

bool WriteAll(TConversation& c, AnsiString& params, bool change) {
    const int32_t playerMask = c.NextExpression(params);
    const int32_t classMask = c.NextExpression(params);
    const AnsiString name = c.NextParameter(params);
    const int32_t value = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    TScenario& scenario = ScenarioOf(c);
    for (int i = 0; i < scenario.Units.Count(); ++i) {
        TUnit& unit = *scenario.Units[i];
        if (MatchesMasks(scenario, unit, playerMask, classMask))
            WriteProperty(c, unit.Own, &unit, name, value, change);
    }
    return true;
}

} // namespace

bool GetPropertyCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t unitID = c.NextExpression(params);
    const AnsiString name = c.NextParameter(params);
    c.CheckNoMoreParameters(params);
    const TTarget target = TargetOf(c, unitID);
    const std::optional<TProperty> property = FindProperty(name, false);
    if (!property)
        c.ScriptError(ClassLib::Format("Unknown property: %s.", name));
    c.Locals[0] = property->Use == TPropertyUse::Maximum ? MaximumOf(*target.Stats, property->Word)
                                                         : target.Stats->Words[property->Word];
    return true;
}

bool SetPropertyCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return WriteOne(c, params, false);
}

bool ChangePropertyCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return WriteOne(c, params, true);
}

bool SetPropertyToAllCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return WriteAll(c, params, false);
}

bool ChangePropertyToAllCommand(TConversation& c, AnsiString& params, AnsiString&) {
    return WriteAll(c, params, true);
}

} // namespace GameData
