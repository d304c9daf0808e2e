// The conversation command table and its basic commands (rows 0 to 25): speaker
// marks and line breaks, variables and aliases, conditions, random numbers,
// quests, names and numbers in the page, money, sounds, units handed over, the
// chosen answer, relations and the fog of war.
#include "game/script/Conversation.h"

#include "game/script/QuestObjective.h"
#include "game/script/ScriptConditions.h"
#include "game/script/WorldQueries.h"
#include "game/script/commands/CommandHandlers.h"
#include "game/script/commands/CommandSupport.h"
#include "game/world/cities/City.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapSounds.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"

#include <array>

namespace GameData {

using ClassLib::AnsiString;
using ClassLib::Format;

namespace {

// A player parameter standing for the talking group's owner: -1, or with
// anyNegative every negative value.
int32_t ResolvePlayer(const TConversation& c, int32_t player, bool anyNegative) {
    if (anyNegative ? player >= 0 : player != -1)
        return player;
    if (!c.TalkingGroup)
        c.ScriptError("No group to get PlayerIndex from!");
    return c.TalkingGroup->OwnerIndex;
}

// A player index the command may use: 0..4 and one of the scenario's players.
bool IsUsablePlayer(const TConversation& c, int32_t player) {
    return player >= 0 && player < MaxPlayers && IsPlayerIndex(ScenarioOf(c), player);
}

TQuestObjective& TaskOf(const TConversation& c, int32_t id, int32_t type, const char* wrongType) {
    auto* task = dynamic_cast<TQuestObjective*>(ScenarioOf(c).Quests.FindByID(uint32_t(id)));
    if (!task)
        c.ScriptError(Format("Quest/Objective not found: %d.", id));
    if (task->Type != type)
        c.ScriptError(Format(wrongType, id));
    return *task;
}

bool Speaker0(TConversation&, AnsiString&, AnsiString& out) {
    out += "<0>";
    return true;
}
bool Speaker1(TConversation&, AnsiString&, AnsiString& out) {
    out += "<1>";
    return true;
}
bool Speaker2(TConversation&, AnsiString&, AnsiString& out) {
    out += "<2>";
    return true;
}

bool Crlf(TConversation&, AnsiString&, AnsiString& out) {
    out += '\n';
    return true;
}

bool Delete(TConversation& c, AnsiString& params, AnsiString&) {
    c.CheckNoMoreParameters(params);
    c.DeleteRequested = true;
    return true;
}

bool Set(TConversation& c, AnsiString& params, AnsiString&) {
    const AnsiString name = c.NextParameter(params);
    const int32_t value = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    c.FindVariable(name) = value;
    return true;
}

bool SetAlias(TConversation& c, AnsiString& params, AnsiString&) {
    const AnsiString alias = ClassLib::UpperCase(c.NextParameter(params));
    const AnsiString variable = ClassLib::UpperCase(c.NextParameter(params));
    c.CheckNoMoreParameters(params);
    if (variable.starts_with("LOCAL")) {
        const int index = ClassLib::StrToInt(variable.substr(5));
        if (index < 0 || index >= LocalCount)
            c.ScriptError("Bad index of local variable!\n"
                          "There is 32 local variables with index starting at 0!");
        c.SetLocalAlias(alias, index);
    } else if (variable.starts_with("GLOBAL")) {
        const int index = ClassLib::StrToInt(variable.substr(6));
        if (index < 0 || index >= GlobalCount)
            c.ScriptError("Bad index of global variable!\n"
                          "There is 1024 global variables with index starting at 0!");
        ScenarioOf(c).SetGlobalAlias(alias, index);
    } else {
        throw ClassLib::Exception(Format("Unknown variable:%s!", variable));
    }
    return true;
}

bool WriteLog(TConversation&, AnsiString&, AnsiString&) {
    return true;
}

bool WriteExpressionLog(TConversation& c, AnsiString& params, AnsiString&) {
    c.NextExpression(params);
    return true;
}

bool IfEqual(TConversation& c, AnsiString& params, AnsiString&) {
    return EvaluateCondition(c, params, TScriptCondition::Equal);
}
bool IfGreater(TConversation& c, AnsiString& params, AnsiString&) {
    return EvaluateCondition(c, params, TScriptCondition::Greater);
}
bool IfUnequal(TConversation& c, AnsiString& params, AnsiString&) {
    return EvaluateCondition(c, params, TScriptCondition::Unequal);
}
bool IfTrue(TConversation& c, AnsiString& params, AnsiString&) {
    return EvaluateCondition(c, params, TScriptCondition::True);
}
bool IfFalse(TConversation& c, AnsiString& params, AnsiString&) {
    return EvaluateCondition(c, params, TScriptCondition::False);
}

bool GetRandom(TConversation& c, AnsiString& params, AnsiString&) {
    StoreRandom(c, params);
    return true;
}

bool GiveQuest(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t questID = c.NextExpression(params);
    int32_t heroID = c.NextOptionalExpression(params, 0);
    c.CheckNoMoreParameters(params);
    if (heroID == 0) {
        if (!c.TalkingGroup)
            c.ScriptError("No group to get HeroID from!");
        // An empty group has no leader: refused like a missing hero.
        const TUnit* leader = c.TalkingGroup->GetLeader();
        heroID = leader ? int32_t(leader->ID) : 0;
    }
    const TUnit* hero = ScenarioOf(c).Units.FindByID(uint32_t(heroID));
    if (!hero)
        c.ScriptError(Format("Hero not found: %d.", heroID));
    if (!hero->IsHero)
        c.ScriptError(Format("Unit is not a hero: %d.", heroID));
    TaskOf(c, questID, qtQuest, "Quest/Objective is not of quest type: %d.").GiveQuest(heroID);
    return true;
}

bool GiveObjective(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t objectiveID = c.NextExpression(params);
    const int32_t given = c.NextOptionalExpression(params, -1);
    c.CheckNoMoreParameters(params);
    const int32_t player = ResolvePlayer(c, given, false);
    if (player < 0 || player >= MaxPlayers)
        c.ScriptError(Format("Invalid player index: %d.", player));
    TaskOf(c, objectiveID, qtObjective, "Quest/Objective is not of objective type: %d.")
        .GiveObjective(player);
    return true;
}

bool GetHeroID(TConversation& c, AnsiString& params, AnsiString&) {
    c.Locals[0] = 0;
    const int32_t questID = c.NextOptionalExpression(params, 0);
    c.CheckNoMoreParameters(params);
    if (questID > 0) {
        for (const TScenarioQuest* task : ScenarioOf(c).Quests)
            if (task->Type == qtQuest && task->ID == uint32_t(questID)) {
                c.Locals[0] = dynamic_cast<const TQuestObjective&>(*task).GivenID;
                return true;
            }
        c.ScriptError(Format("Quest with given ID not fount! Id=%d", questID));
    }
    if (c.TalkingGroup)
        for (const TUnit* unit : c.TalkingGroup->GroupUnits())
            if (unit && unit->IsHero)
                c.Locals[0] = int32_t(unit->ID);
    return true;
}

bool ShowName(TConversation& c, AnsiString& params, AnsiString& out) {
    const int32_t unitID = c.NextOptionalExpression(params, 0);
    c.CheckNoMoreParameters(params);
    if (unitID != 0) {
        if (const TUnit* unit = ScenarioOf(c).Units.FindByID(uint32_t(unitID)))
            out += unit->Name;
        return true;
    }
    if (!c.TalkingGroup)
        return true;
    const TUnit* first = nullptr;
    bool anyHero = false;
    for (const TUnit* unit : c.TalkingGroup->GroupUnits()) {
        if (!unit)
            continue;
        first = first ? first : unit;
        if (unit->IsHero) {
            out += unit->Name;
            anyHero = true;
        }
    }
    if (anyHero)
        return true;
    if (!first)
        c.ScriptError("Trying to show name of empty group");
    out += first->Name;
    return true;
}

bool ShowExpression(TConversation& c, AnsiString& params, AnsiString& out) {
    out += ClassLib::IntToStr(OnlyExpression(c, params));
    return true;
}

bool GiveMoney(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t amount = c.NextExpression(params);
    const int32_t given = c.NextOptionalExpression(params, -1);
    c.CheckNoMoreParameters(params);
    const int32_t player = ResolvePlayer(c, given, false);
    if (!IsUsablePlayer(c, player))
        c.ScriptError(Format("Invalid player index: %d.", player));
    int32_t& gold = ScenarioOf(c).PlayerAt(player)->Gold;
    gold = static_cast<int32_t>(static_cast<uint32_t>(gold) + static_cast<uint32_t>(amount));
    return true;
}

bool PlaySound(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t soundID = OnlyExpression(c, params);
    // A scenario without sounds is silent.
    if (TMapSounds* sounds = ScenarioOf(c).Sounds)
        sounds->PlayEffectByID(uint32_t(soundID), sounds->EffectVolume());
    return true;
}

bool GiveArmy(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t given = c.NextExpression(params);
    const int32_t x = c.NextExpression(params); // where units without a place go
    const int32_t y = c.NextExpression(params);
    std::vector<int32_t> unitIDs;
    for (int32_t id = c.NextOptionalExpression(params, 0); id != 0;
         id = c.NextOptionalExpression(params, 0))
        unitIDs.push_back(id);
    const int32_t player = ResolvePlayer(c, given, true);
    if (!IsUsablePlayer(c, player))
        c.ScriptError("GiveArmy:Invalid Player");
    for (const int32_t id : unitIDs) {
        TUnit* unit = ScenarioOf(c).Units.FindByID(uint32_t(id));
        if (!unit)
            continue;
        if (TGroup* group = unit->GetGroup())
            group->SetOwner(uint8_t(player));
        else if (TCity* city = unit->GetCity())
            city->ChangeOwner(uint8_t(player), ocTakeOverAll);
        else
            ScenarioOf(c).PlaceNewUnit(uint8_t(player), x, y,
                                       {.AllowJoin = false, .NewID = false, .GiveToAI = true},
                                       *unit);
    }
    c.UnitsPlaced = true;
    return true;
}

bool GetChosen(TConversation& c, AnsiString& params, AnsiString&) {
    c.CheckNoMoreParameters(params);
    c.Locals[0] = c.ChosenAnswer;
    return true;
}

bool ChangeRelation(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t first = c.NextExpression(params);
    const int32_t second = c.NextExpression(params);
    const int32_t relation = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    const int32_t player1 = ResolvePlayer(c, first, true);
    if (!IsUsablePlayer(c, player1))
        c.ScriptError("ChangeRelation:Invalid 1st player index!");
    if (!IsUsablePlayer(c, second))
        c.ScriptError("ChangeRelation:Invalid 2nd player index!");
    if (relation < reNeutral || relation > reFriendly)
        c.ScriptError("ChangeRelation:Invalid relation!");
    TScenario& scenario = ScenarioOf(c);
    scenario.PlayerAt(player1)->Relations[size_t(second)] = uint8_t(relation);
    scenario.PlayerAt(second)->Relations[size_t(player1)] = uint8_t(relation);
    for (TMapObject* object : scenario.Objects)
        if (auto* city = dynamic_cast<TCity*>(object))
            city->ExpelHostileUnits();
    // Friends share sight, and enemies block each other's way.
    scenario.UpdateAllVisibility();
    scenario.RebuildOccupancyGrid();
    RefillSelectedGroupCosts(scenario);
    return true;
}

bool SetFogArea(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t areaID = c.NextExpression(params);
    const int32_t reveal = c.NextExpression(params);
    const int32_t given = c.NextOptionalExpression(params, -1);
    c.CheckNoMoreParameters(params);
    const int32_t player = ResolvePlayer(c, given, true);
    if (!IsUsablePlayer(c, player))
        c.ScriptError("SetFogArea: invalid player.");
    if (reveal < 0 || reveal > 2)
        c.ScriptError("SetFogArea: invalid reveal value.");
    // The fog operations need an area: ID 0 names none.
    if (areaID == 0)
        c.ScriptError("Area not found: 0.");
    TScenario& scenario = ScenarioOf(c);
    TArea* area = scenario.Areas.GetByID(uint32_t(areaID));
    TPlayer& target = *scenario.PlayerAt(player);
    switch (reveal) {
    case 0:
        target.Fog->ForgetArea(area);
        break;
    case 1:
        target.Fog->RaiseArea(area, fsExplored);
        break;
    default:
        target.RevealedAreas.Add(area);
        break;
    }
    target.UpdateVisibility();
    return true;
}

constexpr int Unlimited = 1000;

constexpr std::array<TScriptCommandInfo, ConversationCommandCount> CommandTable{{
    {"0", 0, 0, Speaker0},
    {"1", 0, 0, Speaker1},
    {"2", 0, 0, Speaker2},
    {"CRLF", 0, 0, Crlf},
    {"DELETE", 0, 0, Delete},
    {"SET", 2, 2, Set},
    {"SETALIAS", 2, 2, SetAlias},
    {"WRITELOG", 1, 1, WriteLog},
    {"WRITEEXPRESSIONLOG", 1, 1, WriteExpressionLog},
    {"IFEQUAL", 2, 2, IfEqual},
    {"IFGREATER", 2, 2, IfGreater},
    {"IFUNEQUAL", 2, 2, IfUnequal},
    {"IFTRUE", 1, 1, IfTrue},
    {"IFFALSE", 1, 1, IfFalse},
    {"GETRANDOM", 1, 1, GetRandom},
    {"GIVEQUEST", 1, 2, GiveQuest},
    {"GIVEOBJECTIVE", 1, 2, GiveObjective},
    {"GETHEROID", 0, 1, GetHeroID},
    {"SHOWNAME", 0, 1, ShowName},
    {"SHOWEXPRESSION", 1, 1, ShowExpression},
    {"GIVEMONEY", 1, 2, GiveMoney},
    {"PLAYSOUND", 1, 1, PlaySound},
    {"GIVEARMY", 4, Unlimited, GiveArmy},
    {"GETCHOSEN", 0, 0, GetChosen},
    {"CHANGERELATION", 3, 3, ChangeRelation},
    {"SETFOGAREA", 3, 3, SetFogArea},
    {"GETPROPERTY", 2, 2, GetPropertyCommand},
    {"SETPROPERTY", 3, 3, SetPropertyCommand},
    {"SETPROPERTYTOALL", 4, 4, SetPropertyToAllCommand},
    {"CHANGEPROPERTY", 3, 3, ChangePropertyCommand},
    {"CHANGEPROPERTYTOALL", 4, 4, ChangePropertyToAllCommand},
    {"CLEARAFTEREFFECT", 0, 0, ClearAfterEffectCommand},
    {"ADDAFTEREFFECT", 3, 3, AddAfterEffectCommand},
    {"ADDAFTEREFFECTS", 3, Unlimited, AddAfterEffectsCommand},
    {"LEARNSPELL", 2, 2, LearnSpellCommand},
    {"ALLOWSPELL", 2, 2, AllowSpellCommand},
    {"KNOWSSPELL", 2, 2, KnowsSpellCommand},
    {"HASALLOWEDSPELL", 2, 2, HasAllowedSpellCommand},
    {"LEARNSKILL", 2, 2, LearnSkillCommand},
    {"ALLOWSKILL", 2, 2, AllowSkillCommand},
    {"KNOWSSKILL", 2, 2, KnowsSkillCommand},
    {"HASALLOWEDSKILL", 2, 2, HasAllowedSkillCommand},
    {"GETUNITSINGROUP", 0, 0, GetUnitsInGroupCommand},
    {"GETUNITID", 1, 1, GetUnitIDCommand},
    {"ACTIVATETASK", 1, 1, ActivateTaskCommand},
    {"DEACTIVATETASK", 1, 1, DeactivateTaskCommand},
    {"ASSIGNUNITS", 2, Unlimited, AssignUnitsCommand},
    {"UNASSIGNUNITS", 1, Unlimited, UnassignUnitsCommand},
    {"ASSIGNARMY", 2, 2, AssignArmyCommand},
    {"UNASSIGNARMY", 1, 1, UnassignArmyCommand},
    {"DELETETASK", 1, 1, DeleteTaskCommand},
    {"ASSIGNUNITSARMY", 2, Unlimited, AssignUnitsArmyCommand},
    {"UNASSIGNUNITSARMY", 1, Unlimited, UnassignUnitsArmyCommand},
    {"GETTURN", 0, 0, GetTurnCommand},
    {"CALL", 1, 1, CallCommand},
    {"PLACEUNITOFPROTOTYPE", 5, 6, PlaceUnitOfPrototypeCommand},
    {"GETQUESTSTATE", 1, 1, GetQuestStateCommand},
    {"GETOBJECTIVESTATE", 1, 1, GetObjectiveStateCommand},
    {"DELETEUNIT", 2, 2, DeleteUnitCommand},
    {"KILLUNIT", 1, 1, KillUnitCommand},
    {"SETWEATHERSTATE", 1, 1, SetWeatherStateCommand},
    {"CHANGEDOODLE", 2, 4, ChangeDoodleCommand},
    {"ADDDOODLE", 3, 3, AddDoodleCommand},
    {"DELETEDOODLE", 1, 1, DeleteDoodleCommand},
    {"PLAYANIMATION", 5, 6, PlayAnimationCommand},
    {"CENTERVIEWTO", 2, 3, CenterViewToCommand},
    {"CENTERVIEWTOUNIT", 1, 2, CenterViewToUnitCommand},
    {"ADDAFTEREFFECTTOALL", 4, 4, AddAfterEffectToAllCommand},
    {"LIVESUNIT", 1, 1, LivesUnitCommand},
    {"SETCITYOWNER", 1, 3, SetCityOwnerCommand},
    {"DELETEALLAFTEREFFECTSOFTYPE", 3, 3, DeleteAllAfterEffectsOfTypeCommand},
    {"GETUNITPOSITION", 1, 1, GetUnitPositionCommand},
    {"PLACEUNITSTOCITY", 3, Unlimited, PlaceUnitsToCityCommand},
    {"MOVEGROUP", 2, 3, MoveGroupCommand},
    {"SQUAREEMPTY", 2, 2, SquareEmptyCommand},
    {"ENABLEMERCHANT", 2, 2, EnableMerchantCommand},
    {"MERCHANTENABLED", 1, 1, MerchantEnabledCommand},
    {"SETACTIVE", 2, 2, SetActiveCommand},
    {"ACTIVE", 1, 1, ActiveCommand},
    {"GETMONEY", 0, 1, GetMoneyCommand},
    {"RESETQUEST", 1, 1, ResetQuestCommand},
    {"UNITINAREA", 2, 2, UnitInAreaCommand},
    {"UNITSINCITY", 2, Unlimited, UnitsInCityCommand},
    {"GETCONTROLLER", 1, 1, GetControllerCommand},
    {"SHOWQUESTHERONAME", 1, 1, ShowQuestHeroNameCommand},
    {"GETUNITSINAREA", 1, 2, GetUnitsInAreaCommand},
}};

} // namespace

std::span<const TScriptCommandInfo> TConversation::Commands() {
    return CommandTable;
}

} // namespace GameData
