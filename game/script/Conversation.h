// A scripted dialogue of a scenario: pages written in the conversation mark-up,
// the speaker, the event that starts it, the players it is meant for, its own
// locals and names for them. Pages run commands from a fixed table of 86 rows.
//
//   TConversation talk;                 // given by the scenario's list loader
//   talk.SetTalkingGroup(group);        // the talk driver, before the first page
//   ClassLib::AnsiString page = talk.GetText(0);
//   talk.ChosenAnswer = 2;              // the dialog's answer 1 (0-based) + 1
#pragma once

#include "game/script/ScriptMachine.h"
#include "game/world/scenario/ScriptRecords.h"
#include "game/world/units/AfterEffect.h"

#include <span>
#include <string_view>
#include <vector>

namespace GameData {

class TConversation;
class TGroup;

// Reads its parameters off params and appends any page text to output; returns
// the condition of the IF commands, true for all others.
using TConversationHandler = bool (*)(TConversation& conversation, ClassLib::AnsiString& params,
                                      ClassLib::AnsiString& output);

// One row of the command table. The parameter counts are carried for tools; each
// handler checks its own parameters.
struct TScriptCommandInfo {
    std::string_view Name;
    int32_t MinParams = 0;
    int32_t MaxParams = 0; // 1000: no upper limit
    TConversationHandler Handler = nullptr;
};

constexpr int ConversationCommandCount = 86;

// A name for one of the conversation's locals.
struct TLocalAlias {
    ClassLib::AnsiString Name;
    int32_t Index = 0;
};

class TConversation : public TScenarioConversation, public TScriptMachine {
public:
    TConversation() = default;

    void SetScenario(TScenario* scenario) override { Scenario = scenario; }
    // The player's group that is talking; null for none.
    void SetTalkingGroup(TGroup* group) { TalkingGroup = group; }

    // The page as the talk dialog shows it: speaker marks "<0>" "<1>" "<2>", line
    // feeds, and answers between "<CHOICE>" and "<ENDCHOICE>". Empty for an index
    // outside the pages. A script error escapes, ending the page; effects already
    // made stay.
    ClassLib::AnsiString GetText(int32_t page);
    // One page's mark-up run, its text returned.
    ClassLib::AnsiString Interpret(std::string_view text);
    // One tag, brackets included and upper-cased; the handler's result.
    bool ExecuteCommand(std::string_view tag, ClassLib::AnsiString& output);
    // The table of all 86 commands, in row order.
    static std::span<const TScriptCommandInfo> Commands();

    // "[TConversation]\n%s\nCommand:%s ConversationID=%d".
    [[noreturn]] void ScriptError(const ClassLib::AnsiString& message) const override;
    // The speaker's portrait: a sprite of the global sprite list, 0 for none. An
    // ID the list lacks raises "Sprite with given ID not found (%d)." and keeps
    // the old portrait.
    void SetFace(uint32_t spriteID);
    // Binds the name to the local, or rebinds it; the name as given.
    void SetLocalAlias(const ClassLib::AnsiString& name, int32_t index);

    // Pages, aliases, speaker, event and targets emptied; locals zeroed; active and
    // not running. The after-effect template, UnitsPlaced and CurrentCommand stay.
    void Clear() override;
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;

    std::vector<ClassLib::AnsiString> Texts; // page i in mark-up
    std::vector<TLocalAlias> Aliases;
    // The speaker's portrait by its global sprite ID (0 for none); the talk dialog
    // acquires the sprite.
    uint32_t FaceID = 0;
    ClassLib::AnsiString OwnerName; // the speaker's name
    ClassLib::AnsiString Name;
    bool DeleteRequested = false; // the talk driver removes it when it ends
    TGroup* TalkingGroup = nullptr;
    // The last page's answer: 0 for a page without answers, i + 1 for answer i.
    int32_t ChosenAnswer = 0;
    // Set by the commands that put units on the map; cleared at each page's start.
    bool UnitsPlaced = false;
    // Filled by CLEARAFTEREFFECT and the property commands on unit 0, then copied
    // onto units; never stored.
    TAfterEffect AfterEffectTemplate{};

protected:
    // Names compared without regard to case.
    int32_t LocalAliasIndex(const ClassLib::AnsiString& name) const override;
};

// Makes the scenario's stored conversations conversations of this library.
void InstallConversations(TScenario& scenario);

} // namespace GameData
