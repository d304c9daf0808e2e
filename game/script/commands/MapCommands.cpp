// Commands on the look of the map (weather, scenery, one-shot animations, the map
// view), merchants, and the state of quests and conversations.
#include "game/script/QuestObjective.h"
#include "game/script/commands/CommandHandlers.h"
#include "game/script/commands/CommandSupport.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/Doodle.h"
#include "game/world/objects/Drawings.h"
#include "game/world/scenario/MapViewScroller.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"

#include <memory>

namespace GameData {

using ClassLib::AnsiString;
using ClassLib::Format;

namespace {

constexpr int32_t NoPosition = -1000;
constexpr int32_t KeepAnimated = -1;
constexpr int32_t LastWeatherState = 4;

int32_t OnlyParameter(TConversation& c, AnsiString& params) {
    const int32_t value = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    return value;
}

TQuestObjective& TaskOf(TConversation& c, int32_t id, int32_t type, const char* notFound,
                        const char* wrongType) {
    auto* task = dynamic_cast<TQuestObjective*>(ScenarioOf(c).Quests.FindByID(uint32_t(id)));
    if (!task)
        c.ScriptError(AnsiString(notFound) + ClassLib::IntToStr(id));
    if (task->Type != type)
        c.ScriptError(AnsiString(wrongType) + ClassLib::IntToStr(id));
    return *task;
}

TQuestObjective& QuestOf(TConversation& c, int32_t id) {
    return TaskOf(c, id, qtQuest, "Quest with qiven ID not found! ID=",
                  "TQuestObjective is not of Quest type! ID=");
}

// The last record with the identifier counts.
const TDoodlePrototype& DoodlePrototypeOf(TConversation& c, int32_t id) {
    const TDoodlePrototype* found = nullptr;
    for (const TDoodlePrototype& prototype : ScenarioOf(c).DoodlePrototypes)
        if (prototype.ID == static_cast<uint32_t>(id))
            found = &prototype;
    if (!found)
        c.ScriptError(Format("No doodle prototype found with ID = %d!", id));
    return *found;
}

// Null when no object has the identifier; another kind of object is refused.
TDoodle* DoodleOf(TConversation& c, int32_t id) {
    TMapObject* object = ScenarioOf(c).FindObjectByID(static_cast<uint32_t>(id));
    if (object && object->Kind != okDoodle)
        c.ScriptError(Format("No doodle found with ID = %d!", id));
    return static_cast<TDoodle*>(object);
}

// The first merchant with the identifier, cities in map-object order.
TMerchant& MerchantOf(TConversation& c, int32_t id) {
    TMerchant* found = nullptr;
    for (TMapObject* object : ScenarioOf(c).Objects) {
        auto* city = object->Kind == okCity ? dynamic_cast<TCity*>(object) : nullptr;
        if (!city)
            continue;
        for (TMerchant* merchant :
             {static_cast<TMerchant*>(&city->Innkeeper), static_cast<TMerchant*>(&city->Mage),
              static_cast<TMerchant*>(&city->BattleMaster),
              static_cast<TMerchant*>(&city->Herbalist), static_cast<TMerchant*>(&city->Custom1),
              static_cast<TMerchant*>(&city->Custom2)})
            if (!found && merchant->ID == static_cast<uint32_t>(id))
                found = merchant;
    }
    if (!found)
        c.ScriptError(Format("Merchant not found! ID=%d", id));
    return *found;
}

// Scenery may block or free cells.
void AfterSceneryChange(TScenario& scenario) {
    scenario.RebuildTerrainGrids();
    scenario.RebuildOccupancyGrid();
}

// The same, and the selected group's reachable cells are shown anew.
void AfterSceneryAddedOrRemoved(TScenario& scenario) {
    AfterSceneryChange(scenario);
    RefillSelectedGroupCosts(scenario);
}

} // namespace

bool GetQuestStateCommand(TConversation& c, AnsiString& params, AnsiString&) {
    c.Locals[0] = QuestOf(c, OnlyParameter(c, params)).State;
    return true;
}

bool GetObjectiveStateCommand(TConversation& c, AnsiString& params, AnsiString&) {
    c.Locals[0] =
        TaskOf(c, OnlyParameter(c, params), qtObjective, "Objective with qiven ID not found! ID=",
               "TQuestObjective is not of Objective type! ID=")
            .State;
    return true;
}

bool ResetQuestCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t id = OnlyParameter(c, params);
    auto* task = dynamic_cast<TQuestObjective*>(ScenarioOf(c).Quests.FindByID(uint32_t(id)));
    if (!task)
        c.ScriptError(Format("Quest/Objective not found: %d.", id));
    if (task->Type != qtQuest)
        c.ScriptError(Format("Quest/Objective is not of quest type: %d.", id));
    task->Reset();
    return true;
}

bool ShowQuestHeroNameCommand(TConversation& c, AnsiString& params, AnsiString& output) {
    output += QuestOf(c, OnlyParameter(c, params)).HeroName;
    return true;
}

bool SetWeatherStateCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t state = OnlyParameter(c, params);
    if (state < 0 || state > LastWeatherState)
        c.ScriptError(Format("Bad weather state! State=%d", state));
    ScenarioOf(c).SetWeather(state);
    return true;
}

bool ChangeDoodleCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t doodleID = c.NextExpression(params);
    const int32_t prototypeID = c.NextExpression(params);
    const int32_t x = c.NextOptionalExpression(params, NoPosition);
    const int32_t y = c.NextOptionalExpression(params, NoPosition);
    const int32_t animated = c.NextOptionalExpression(params, KeepAnimated);
    c.CheckNoMoreParameters(params);
    TDoodle* doodle = DoodleOf(c, doodleID);
    if (!doodle)
        return true;
    const TDoodlePrototype& prototype = DoodlePrototypeOf(c, prototypeID);
    const uint8_t wasAnimated = doodle->Active;
    TScenario& scenario = ScenarioOf(c);
    doodle->SetPrototype(&prototype);
    doodle->Active = animated == KeepAnimated ? wasAnimated : uint8_t(animated != 0);
    doodle->Invalidated = 1;
    // Even in place: the new layer has its own place in the draw order, and the new
    // picture its own blocks in the map's index.
    const bool moves = x != NoPosition && y != NoPosition;
    scenario.MoveObject(scenario.IndexOfObject(doodle), moves ? x : doodle->X,
                        moves ? y : doodle->Y);
    // The new prototype patches the terrain differently.
    AfterSceneryChange(scenario);
    return true;
}

bool AddDoodleCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t prototypeID = c.NextExpression(params);
    const int32_t x = c.NextOptionalExpression(params, NoPosition);
    const int32_t y = c.NextOptionalExpression(params, NoPosition);
    c.CheckNoMoreParameters(params);
    TScenario& scenario = ScenarioOf(c);
    const TDoodlePrototype& prototype = DoodlePrototypeOf(c, prototypeID);
    auto doodle = std::make_unique<TDoodle>(&scenario);
    doodle->SetPrototype(&prototype);
    doodle->X = static_cast<int16_t>(x);
    doodle->Y = static_cast<int16_t>(y);
    const TMapObject* added = scenario.AddObject(std::move(doodle));
    AfterSceneryAddedOrRemoved(scenario);
    c.Locals[0] = static_cast<int32_t>(added->ID);
    return true;
}

bool DeleteDoodleCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t doodleID = OnlyParameter(c, params);
    TScenario& scenario = ScenarioOf(c);
    if (TDoodle* doodle = DoodleOf(c, doodleID))
        scenario.RemoveObject(doodle, 0);
    AfterSceneryAddedOrRemoved(scenario);
    return true;
}

bool PlayAnimationCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t spriteID = c.NextExpression(params);
    const int32_t x = c.NextExpression(params);
    const int32_t y = c.NextExpression(params);
    const int32_t layer = c.NextExpression(params);
    const int32_t period = c.NextExpression(params);
    const int32_t delay = c.NextOptionalExpression(params, 0);
    c.CheckNoMoreParameters(params);
    TScenario& scenario = ScenarioOf(c);
    auto animation = std::make_unique<TAnimation>(&scenario);
    animation->Setup(static_cast<uint32_t>(spriteID), x, delay, period, layer, y);
    animation->Invalidated = 1;
    // Without a sprite there is nothing to play: waiting for it would never end.
    const bool nothingToPlay = animation->Sprite == nullptr;
    if (nothingToPlay)
        animation->Finished = 1;
    scenario.AddObject(std::move(animation));
    if (!nothingToPlay)
        scenario.AnimationsDone = 0;
    return true;
}

namespace {

// Only the player on turn's own view follows a script; on another player's turn the
// screen shows someone else's map.
void CenterViewOn(TScenario& scenario, int32_t x, int32_t y, int32_t steps) {
    if (!scenario.CurrentPlayer || scenario.CurrentPlayer != scenario.ViewingPlayer())
        return;
    if (scenario.ViewScroller)
        scenario.ViewScroller->CenterViewOn(x, y, steps);
    else
        scenario.ScrollViewTo(x - scenario.View.Width / 2, y - scenario.View.Height / 2, steps);
}

} // namespace

bool CenterViewToCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t x = c.NextExpression(params);
    const int32_t y = c.NextExpression(params);
    const int32_t steps = c.NextOptionalExpression(params, 1);
    c.CheckNoMoreParameters(params);
    CenterViewOn(ScenarioOf(c), x, y, steps);
    return true;
}

bool CenterViewToUnitCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t id = c.NextExpression(params);
    const int32_t steps = c.NextOptionalExpression(params, 1);
    c.CheckNoMoreParameters(params);
    const TUnit* unit = ScenarioOf(c).Units.FindByID(uint32_t(id));
    if (const TGroup* group = unit ? unit->GetGroup() : nullptr)
        CenterViewOn(ScenarioOf(c), group->X, group->Y, steps);
    return true;
}

bool EnableMerchantCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t id = c.NextExpression(params);
    const int32_t value = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    MerchantOf(c, id).Enabled = value == 1 ? 1 : 0;
    return true;
}

bool MerchantEnabledCommand(TConversation& c, AnsiString& params, AnsiString&) {
    c.Locals[0] = MerchantOf(c, OnlyParameter(c, params)).Enabled != 0 ? 1 : 0;
    return true;
}

bool SetActiveCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t id = c.NextExpression(params);
    const int32_t value = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    ConversationOf(c, id).Active = value != 0;
    return true;
}

bool ActiveCommand(TConversation& c, AnsiString& params, AnsiString&) {
    c.Locals[0] = ConversationOf(c, OnlyParameter(c, params)).Active ? 1 : 0;
    return true;
}

} // namespace GameData
