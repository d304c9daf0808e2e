// The state digest lockstep and golden runs compare: a hash of the scenario's
// stored bytes.
#pragma once

#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Streams.h"

#include <cstdint>
#include <vector>

namespace TestSupport {

inline std::vector<uint8_t> SavedBytes(const GameData::TScenario& scenario) {
    ClassLib::TMemoryStream stream;
    scenario.SaveToStream(&stream);
    return stream.Bytes();
}

// FNV-1a over the bytes.
inline uint64_t StateDigest(const GameData::TScenario& scenario) {
    const std::vector<uint8_t> bytes = SavedBytes(scenario);
    uint64_t hash = 0xCBF29CE484222325ull;
    const uint8_t* data = bytes.data();
    for (size_t i = 0, n = bytes.size(); i < n; ++i)
        hash = (hash ^ data[i]) * 0x100000001B3ull;
    return hash;
}

// A scenario loaded from bytes into a new object.
inline std::unique_ptr<GameData::TScenario> LoadedScenario(const std::vector<uint8_t>& bytes) {
    ClassLib::TMemoryStream stream(bytes);
    return GameData::LoadScenario(stream, nullptr);
}

} // namespace TestSupport
