// The one way the game state changes: a player action, taken and executed on the
// main thread, and in a networked game sent to every peer with its sequence number.
#pragma once

#include <cstdint>
#include <type_traits>

namespace GameData {

enum TActionCode : uint32_t {
    acNone = 0,
    acEndTurn = 1,
    acAttackGroup = 2,
    acReport = 3,
    acSelectObject = 4,
    acMoveGroup = 5,
    acCastSpell = 6,
    acPitchCamp = 7,
    acBreakCamp = 8,
    acMarkSplit = 9,
    acEnterCity = 10,
    acAttackCity = 11,
    acEnterBuilding = 12,
    acLeaveCity = 13,
    acMoveCityUnit = 14,
    acFightCommands = 15,
    acVisitMerchant = 16,
    acMerchantPurchase = 17,
    acConversationChoice = 18,
};
constexpr uint32_t LastActionCode = acConversationChoice;

enum TActionResult : int32_t {
    arPending = 0,
    arDone = 1,
    arSpotted = 2,
    arNoActionPoints = 3,
    arMustPack = 4,
    arBlocked = 5,
    arMustStayInGroup = 6,
    arCannotGoThere = 7,
    arStoppedByConversation = 8,
};
constexpr int32_t LastActionResult = arStoppedByConversation;

// Every field is a naturally aligned 32- or 16-bit word: the records have no padding
// and are sent and stored byte for byte as they lie in memory.
struct TPlayerAction {
    uint32_t Code = acNone;
    uint32_t P[13] = {}; // P1..P13 are P[0]..P[12]
};

constexpr uint32_t ActionMessageType = 1;

struct TActionMessage {
    uint32_t Size = 0; // 68
    uint32_t Type = 0; // ActionMessageType
    uint32_t Sequence = 0;
    TPlayerAction Action;
};

struct TSighting {
    uint16_t Kind = 0;
    uint16_t Reserved = 0;
    uint16_t CellX = 0;
    uint16_t CellY = 0;
    uint32_t UnitID = 0;
    uint32_t Extra = 0;
};
static_assert(sizeof(TPlayerAction) == 56);
static_assert(sizeof(TActionMessage) == 68);
static_assert(sizeof(TSighting) == 16);
static_assert(std::is_trivially_copyable_v<TActionMessage>);

enum TSightingKind : uint16_t {
    skUnitMoved = 1,
    skSpellSeen = 2,
    skUnitSpotted = 3,
    skUnitEnteredCity = 4,
};

inline TPlayerAction MakeAction(uint32_t code, uint32_t p1 = 0, uint32_t p2 = 0, uint32_t p3 = 0,
                                uint32_t p4 = 0) {
    TPlayerAction action;
    action.Code = code;
    action.P[0] = p1;
    action.P[1] = p2;
    action.P[2] = p3;
    action.P[3] = p4;
    return action;
}

} // namespace GameData
