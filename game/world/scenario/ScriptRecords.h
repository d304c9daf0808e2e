// The quest and conversation records a scenario owns. The scripting library
// implements both: the scenario keeps, loads, saves, updates and triggers them
// through the operations below and makes stored ones through the factories the
// library installs.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/core/ObjectList.h"
#include "engine/core/Sorting.h"

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

// A conversation as the scenario triggers, queues and stores it; the scripting
// library's conversations carry pages and commands. Without that library a stored
// conversation cannot be read or written: "Conversations need the scripting library.".
class TScenarioConversation : public Data::TDataObject {
public:
    virtual void SetScenario(TScenario*) {}
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;
    // Whether the player's bit is set in TargetPlayers; never for a negative index.
    bool IsTargetPlayer(int32_t playerIndex) const;

    int32_t OwnerType = 0; // the event that starts it
    int32_t OwnerID = 0;   // the object whose event starts it
    int32_t ActivationTurn = 0;
    uint16_t TargetPlayers = 0; // bit n: meant for player n
    bool Running = false;       // never queued while the talk driver plays it
    bool Active = true;         // only active conversations are triggered
};

// Owner types of conversations: the events that start them, with the object whose
// identifier the conversation's OwnerID names.
enum TConversationEvent : int32_t {
    ceTurn = 0,          // the turn of its ActivationTurn begins
    ceUnitSpotted = 1,   // the unit comes into the player's sight
    ceUnitMet = 2,       // a group of the player meets the unit's group
    ceLocationFound = 3, // the city or building comes into the player's sight
    ceLocation = 4,      // a group of the player enters the city or building
    ceAreaSeen = 5,      // a cell of the area is in the player's sight
    ceAreaEntered = 6,   // a group of the player steps into the area
    ceEveryTurn = 7,
    ceBuilding = 8,
};

using TQuestFactory = std::function<std::unique_ptr<TScenarioQuest>()>;
using TConversationFactory = std::function<std::unique_ptr<TScenarioConversation>()>;

// The parts of a stored script object list that do not depend on its items.
int32_t ReadScriptListHeader(Data::TStream& stream);
void WriteScriptListHeader(Data::TStream& stream, int count);
[[noreturn]] void RaiseDuplicateID(uint32_t id);
[[noreturn]] void RaiseMessage(const char* message);

// Quests or conversations in ascending identifier order, stored like a data list:
// the list's own identifier, a "list" chunk, the count and each item's record.
// Stored items are made by the factory the scripting library installs.
template <typename T>
class TScriptObjectList : public Data::TDataObject {
public:
    // The message for stored items without a factory.
    explicit TScriptObjectList(const char* missingFactory) : FMissingFactory(missingFactory) {}

    int Count() const { return FList.Count(); }
    T* operator[](int index) const { return FList[index]; }
    auto begin() const { return FList.begin(); }
    auto end() const { return FList.end(); }
    // Null for ID 0 or when absent.
    T* FindByID(uint32_t id) const {
        int index = 0;
        return id != 0 && FList.BinarySearch(id, CompareToID, &index) ? FList[index] : nullptr;
    }
    // Inserts in identifier order; a duplicate raises
    // "Object with given ID is already in list (%d)." and is discarded.
    T* Add(std::unique_ptr<T> item) {
        int index = 0;
        if (FList.BinarySearch(item->ID, CompareToID, &index))
            RaiseDuplicateID(item->ID);
        T* raw = item.release();
        FList.Insert(index, raw);
        return raw;
    }
    void Remove(T* item) { FList.Remove(item); }
    void LoadFromStream(Data::TStream* stream) override {
        TDataObject::LoadFromStream(stream);
        FList.Clear();
        const int32_t count = ReadScriptListHeader(*stream);
        if (count > 0 && !Factory)
            RaiseMessage(FMissingFactory);
        for (int32_t i = 0; i < count; ++i) {
            std::unique_ptr<T> item = Factory();
            item->LoadFromStream(stream);
            Add(std::move(item));
        }
    }
    void SaveToStream(Data::TStream* stream) const override {
        TDataObject::SaveToStream(stream);
        WriteScriptListHeader(*stream, FList.Count());
        for (const T* item : FList)
            item->SaveToStream(stream);
    }
    void Clear() override { FList.Clear(); }

    std::function<std::unique_ptr<T>()> Factory;

private:
    static int CompareToID(const T* item, uint32_t id) { return Data::CompareIDs(item->ID, id); }

    const char* FMissingFactory;
    Data::TObjectList<T> FList{true};
};

class TQuestList : public TScriptObjectList<TScenarioQuest> {
public:
    TQuestList() : TScriptObjectList("Quests need the scripting library.") {}
};

class TConversationList : public TScriptObjectList<TScenarioConversation> {
public:
    TConversationList() : TScriptObjectList("Conversations need the scripting library.") {}
};

} // namespace GameData
