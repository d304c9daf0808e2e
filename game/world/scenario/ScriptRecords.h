// The quest and conversation records a scenario owns. The scripting library
// implements the quests: the scenario keeps, loads, saves and updates them through
// the operations below and makes new ones through the factory the library installs.
// Conversations are not built yet: a scenario holds none, and reading or writing
// one fails loudly.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/core/ObjectList.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace GameData {

class TScenario;

// A quest (type 1, given to a hero) or an objective (type 2, given to a player).
class TScenarioQuest : public Data::TDataObject {
public:
    // The owning scenario, here and in the quest's check script.
    virtual void SetScenario(TScenario* scenario) = 0;
    // An active task fails when its hero is gone, else its check script decides.
    virtual void UpdateQuest() = 0;
    // A quest's player becomes its hero's owner; a missing hero changes nothing, or
    // raises "Hero not in scenario! ID=%d" when raise is set.
    virtual void UpdatePlayerFromHero(bool raise) = 0;

    int32_t Type = 1;  // 1 quest given to a hero, 2 objective given to a player
    int32_t State = 0; // 0 not given, 1 active, 2 completed, 3 failed
    int32_t Player = 1;
    int32_t FinalConversationID = 0;
};

using TQuestFactory = std::function<std::unique_ptr<TScenarioQuest>()>;

// The scenario's quests in ascending identifier order, stored like a data list:
// its own identifier, a "list" chunk, the count and each quest's record.
class TQuestList : public Data::TDataObject {
public:
    int Count() const { return FList.Count(); }
    TScenarioQuest* operator[](int index) const { return FList[index]; }
    auto begin() const { return FList.begin(); }
    auto end() const { return FList.end(); }
    // Null for ID 0 or when absent.
    TScenarioQuest* FindByID(uint32_t id) const;
    // Inserts in identifier order; a duplicate raises
    // "Object with given ID is already in list (%d)." and is discarded.
    TScenarioQuest* Add(std::unique_ptr<TScenarioQuest> quest);
    // Without a factory a stored quest cannot be made: "Quests need the scripting library.".
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    void Clear() override { FList.Clear(); }

    TQuestFactory Factory;

private:
    Data::TObjectList<TScenarioQuest> FList{true};
};

class TConversation : public Data::TDataObject {
public:
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    // Whether the player's bit is set in TargetPlayers; never for a negative index.
    bool IsTargetPlayer(int32_t playerIndex) const;

    int32_t OwnerType = 0; // the event that starts it
    uint32_t OwnerID = 0;
    int32_t ActivationTurn = 0;
    uint8_t Running = 0;
    uint8_t Active = 0;
    uint16_t TargetPlayers = 0; // bit n: meant for player n
};

} // namespace GameData
