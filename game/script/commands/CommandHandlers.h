// The handlers of the conversation commands that change units, spells and skills,
// cities, areas, the map and the quest and conversation state; the command table
// names them by row.
#pragma once

#include "game/script/Conversation.h"

namespace GameData {

#define VRN_CONVERSATION_HANDLER(name)                                                             \
    bool name(TConversation& conversation, ClassLib::AnsiString& params,                           \
              ClassLib::AnsiString& output)

// Unit properties.
VRN_CONVERSATION_HANDLER(GetPropertyCommand);
VRN_CONVERSATION_HANDLER(SetPropertyCommand);
VRN_CONVERSATION_HANDLER(SetPropertyToAllCommand);
VRN_CONVERSATION_HANDLER(ChangePropertyCommand);
VRN_CONVERSATION_HANDLER(ChangePropertyToAllCommand);

// After-effects, spells and skills.
VRN_CONVERSATION_HANDLER(ClearAfterEffectCommand);
VRN_CONVERSATION_HANDLER(AddAfterEffectCommand);
VRN_CONVERSATION_HANDLER(AddAfterEffectsCommand);
VRN_CONVERSATION_HANDLER(AddAfterEffectToAllCommand);
VRN_CONVERSATION_HANDLER(DeleteAllAfterEffectsOfTypeCommand);
VRN_CONVERSATION_HANDLER(LearnSpellCommand);
VRN_CONVERSATION_HANDLER(AllowSpellCommand);
VRN_CONVERSATION_HANDLER(KnowsSpellCommand);
VRN_CONVERSATION_HANDLER(HasAllowedSpellCommand);
VRN_CONVERSATION_HANDLER(LearnSkillCommand);
VRN_CONVERSATION_HANDLER(AllowSkillCommand);
VRN_CONVERSATION_HANDLER(KnowsSkillCommand);
VRN_CONVERSATION_HANDLER(HasAllowedSkillCommand);

// The talking group, the turn, calls and the computer players.
VRN_CONVERSATION_HANDLER(GetUnitsInGroupCommand);
VRN_CONVERSATION_HANDLER(GetUnitIDCommand);
VRN_CONVERSATION_HANDLER(ActivateTaskCommand);
VRN_CONVERSATION_HANDLER(DeactivateTaskCommand);
VRN_CONVERSATION_HANDLER(AssignUnitsCommand);
VRN_CONVERSATION_HANDLER(UnassignUnitsCommand);
VRN_CONVERSATION_HANDLER(AssignArmyCommand);
VRN_CONVERSATION_HANDLER(UnassignArmyCommand);
VRN_CONVERSATION_HANDLER(DeleteTaskCommand);
VRN_CONVERSATION_HANDLER(AssignUnitsArmyCommand);
VRN_CONVERSATION_HANDLER(UnassignUnitsArmyCommand);
VRN_CONVERSATION_HANDLER(GetTurnCommand);
VRN_CONVERSATION_HANDLER(CallCommand);

// Units, cities and areas.
VRN_CONVERSATION_HANDLER(PlaceUnitOfPrototypeCommand);
VRN_CONVERSATION_HANDLER(DeleteUnitCommand);
VRN_CONVERSATION_HANDLER(KillUnitCommand);
VRN_CONVERSATION_HANDLER(LivesUnitCommand);
VRN_CONVERSATION_HANDLER(SetCityOwnerCommand);
VRN_CONVERSATION_HANDLER(GetUnitPositionCommand);
VRN_CONVERSATION_HANDLER(PlaceUnitsToCityCommand);
VRN_CONVERSATION_HANDLER(MoveGroupCommand);
VRN_CONVERSATION_HANDLER(SquareEmptyCommand);
VRN_CONVERSATION_HANDLER(GetMoneyCommand);
VRN_CONVERSATION_HANDLER(UnitInAreaCommand);
VRN_CONVERSATION_HANDLER(UnitsInCityCommand);
VRN_CONVERSATION_HANDLER(GetControllerCommand);
VRN_CONVERSATION_HANDLER(GetUnitsInAreaCommand);

// The map, quests and conversations.
VRN_CONVERSATION_HANDLER(GetQuestStateCommand);
VRN_CONVERSATION_HANDLER(GetObjectiveStateCommand);
VRN_CONVERSATION_HANDLER(ResetQuestCommand);
VRN_CONVERSATION_HANDLER(ShowQuestHeroNameCommand);
VRN_CONVERSATION_HANDLER(SetWeatherStateCommand);
VRN_CONVERSATION_HANDLER(ChangeDoodleCommand);
VRN_CONVERSATION_HANDLER(AddDoodleCommand);
VRN_CONVERSATION_HANDLER(DeleteDoodleCommand);
VRN_CONVERSATION_HANDLER(PlayAnimationCommand);
VRN_CONVERSATION_HANDLER(CenterViewToCommand);
VRN_CONVERSATION_HANDLER(CenterViewToUnitCommand);
VRN_CONVERSATION_HANDLER(EnableMerchantCommand);
VRN_CONVERSATION_HANDLER(MerchantEnabledCommand);
VRN_CONVERSATION_HANDLER(SetActiveCommand);
VRN_CONVERSATION_HANDLER(ActiveCommand);

#undef VRN_CONVERSATION_HANDLER

} // namespace GameData
