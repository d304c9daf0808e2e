// The quest and conversation records a scenario owns. Their scripts, their stream
// forms and their updates belong to the scripting library, which is not built yet:
// until it is, a scenario holds none, and reading or writing one fails loudly.
#pragma once

#include "engine/core/DataObject.h"

#include <cstdint>

namespace GameData {

class TQuestObjective : public Data::TDataObject {
public:
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;

    int32_t Type = 1;  // 1 quest given to a hero, 2 objective given to a player
    int32_t State = 0; // 0 not given, 1 active, 2 completed, 3 failed
    int32_t PlayerIndex = 0;
    uint32_t FinalConversationID = 0;
};

class TConversation : public Data::TDataObject {
public:
    void LoadFromStream(Data::TStream* stream) override;
    void SaveToStream(Data::TStream* stream) const override;

    int32_t OwnerType = 0; // the event that starts it
    uint32_t OwnerID = 0;
    int32_t ActivationTurn = 0;
    uint8_t Running = 0;
    uint8_t Active = 0;
    uint16_t TargetPlayers = 0; // a bit per player index

    bool IsTargetPlayer(int index) const { return (TargetPlayers >> (index % 32)) & 1; }
};

} // namespace GameData
