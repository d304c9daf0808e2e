#include "tools/levels/LevelServices.h"

#include "game/ai/AIHandler.h"
#include "game/script/Conversation.h"
#include "game/script/QuestObjective.h"

namespace Tools {

std::unique_ptr<GameData::TScenario> LevelServices() {
    auto services = std::make_unique<GameData::TScenario>();
    GameData::InstallQuestObjectives(*services);
    GameData::InstallConversations(*services);
    AIHandler::InstallComputerPlayers(*services);
    return services;
}

std::unique_ptr<GameData::TScenario> LoadLevel(Data::TStream& stream) {
    const std::unique_ptr<GameData::TScenario> services = LevelServices();
    return GameData::LoadScenario(stream, services.get());
}

} // namespace Tools
