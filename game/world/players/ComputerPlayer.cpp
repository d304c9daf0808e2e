#include "game/world/players/ComputerPlayer.h"

#include "platform/classlib/Exception.h"

namespace GameData {

namespace {

// The first record ID a planner hands out; an empty record stores it as its counter.
constexpr uint32_t FirstRecordID = 10000;

} // namespace

void TComputerPlayer::LoadFromStream(Data::TStream& stream) {
    ID = stream.ReadValue<uint32_t>();
    stream.ReadValue<uint32_t>();        // record counter
    stream.ReadValue<uint32_t>();        // pass flag
    for (int list = 0; list < 3; ++list) // units, tasks, armies
        if (stream.ReadValue<uint32_t>() != 0)
            throw ClassLib::Exception("The computer player's records need the computer player.");
    stream.ReadValue<uint32_t>(); // script stack ID
    if (stream.ReadValue<uint32_t>() != 0)
        throw ClassLib::Exception("The computer player's records need the computer player.");
}

void TComputerPlayer::SaveToStream(Data::TStream& stream) const {
    stream.WriteValue(ID);
    stream.WriteValue(FirstRecordID);
    stream.WriteValue(uint32_t(0)); // pass flag
    for (int list = 0; list < 3; ++list)
        stream.WriteValue(uint32_t(0));
    stream.WriteValue(uint32_t(0)); // script stack ID
    stream.WriteValue(uint32_t(0)); // no lines
}

} // namespace GameData
