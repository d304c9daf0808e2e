// Reads the global data sources of data/globals token by token, in the order
// the game reads them, into plain records the tests can check.
#pragma once

#include "engine/core/TextReader.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Streams.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace TestSupport {

class TDataFile {
public:
    explicit TDataFile(const std::string& name)
        : FStream(std::make_unique<ClassLib::TFileStream>(std::string(VRN_GLOBALS_DIR) + "/" + name,
                                                          ClassLib::fmOpenRead)) {}

    int Int() { return Data::ReadTokenInt(FStream.get()); }
    bool Bool() { return Data::ReadTokenBool(FStream.get()); }
    uint64_t Mask() { return Data::ReadTokenBinary64(FStream.get()); }
    // A name of a char[size] field: longer ones are "Invalid data.".
    std::string Text(int size) {
        std::vector<char> buffer(size);
        Data::ReadTokenBuffer(FStream.get(), buffer.data(), size);
        return buffer.data();
    }
    // Only blanks and comments are left.
    bool AtEnd() {
        try {
            Data::ReadTokenString(FStream.get());
        } catch (const ClassLib::EReadError&) {
            return true;
        }
        return false;
    }

private:
    std::unique_ptr<ClassLib::TStream> FStream;
};

// Spell or skill n (1-64) is bit 64 - n of a mask; battle spells fold onto n - 64.
inline bool HasBit(uint64_t mask, int id) {
    const int n = id > 64 ? id - 64 : id;
    return n >= 1 && n <= 64 && (mask >> (64 - n)) & 1;
}

struct TStatsRecord {
    std::array<int, 48> Words{};
    uint64_t LearnableSpells = 0, Spells = 0, LearnableSkills = 0, Skills = 0;
};

inline TStatsRecord ReadStats(TDataFile& file) {
    TStatsRecord stats;
    for (int& word : stats.Words)
        word = file.Int();
    stats.LearnableSpells = file.Mask();
    stats.Spells = file.Mask();
    stats.LearnableSkills = file.Mask();
    stats.Skills = file.Mask();
    return stats;
}

struct TUnitRecord {
    int ID = 0;
    TStatsRecord Stats;
    std::array<int, 3> Pictures{};
    int IdleMode = 0, IdlePeriod = 0;
    std::array<std::array<int, 8>, 10> Sprites{};
    int CreatureType = 0;
    bool IsHero = false;
    std::string Name;
    std::array<int, 3> Sounds{};
    int WeaponKind = 0, ArmourKind = 0; // what a strike sounds like
    std::string Description;
};

inline std::vector<TUnitRecord> ReadUnits() {
    TDataFile file("units.txt");
    file.Text(0x10000);
    std::vector<TUnitRecord> units(file.Int());
    for (TUnitRecord& unit : units) {
        unit.ID = file.Int();
        unit.Stats = ReadStats(file);
        for (int& id : unit.Pictures)
            id = file.Int();
        unit.IdleMode = file.Int();
        unit.IdlePeriod = file.Int();
        for (auto& set : unit.Sprites)
            for (int& id : set)
                id = file.Int();
        unit.CreatureType = file.Int();
        unit.IsHero = file.Bool();
        unit.Name = file.Text(80);
        for (int& id : unit.Sounds)
            id = file.Int();
        unit.WeaponKind = file.Int();
        unit.ArmourKind = file.Int();
        unit.Description = file.Text(2048);
    }
    if (!file.AtEnd())
        throw ClassLib::Exception("units.txt holds more than its records");
    return units;
}

struct TSpellRecord {
    int ID = 0, Group = 0;
    std::string Name, Description;
    int TargetFlags = 0, MinLevel = 0, ManaCost = 0, APCost = 0, CastExperience = 0, Phase = 0;
    int IconID = 0;
    int CastSprite = 0, CastSound = 0, CastTicks = 0;
    int FlightSprite = 0, FlightSound = 0, FlightTicks = 0, FlightSpeed = 0;
    int ImpactSprite = 0, ImpactSound = 0, ImpactTicks = 0;
    std::array<int, 10> Params{};
};

inline std::vector<TSpellRecord> ReadSpells() {
    TDataFile file("spells.txt");
    file.Text(0x10000);
    std::vector<TSpellRecord> spells(file.Int());
    for (TSpellRecord& s : spells) {
        s.ID = file.Int();
        s.Group = file.Int();
        s.Name = file.Text(256);
        s.Description = file.Text(2048);
        for (int* field :
             {&s.TargetFlags, &s.MinLevel, &s.ManaCost, &s.APCost, &s.CastExperience, &s.Phase,
              &s.IconID, &s.CastSprite, &s.CastSound, &s.CastTicks, &s.FlightSprite, &s.FlightSound,
              &s.FlightTicks, &s.FlightSpeed, &s.ImpactSprite, &s.ImpactSound, &s.ImpactTicks})
            *field = file.Int();
        for (int& p : s.Params)
            p = file.Int();
    }
    if (!file.AtEnd())
        throw ClassLib::Exception("spells.txt holds more than its records");
    return spells;
}

struct TSkillRecord {
    int ID = 0;
    std::string Name, Description;
    int MinLevel = 0, APCost = 0, Value3 = 0;
    TStatsRecord Permanent;
    int Duration = 0;
    TStatsRecord Temporary;
};

inline std::vector<TSkillRecord> ReadSkills() {
    TDataFile file("skills.txt");
    file.Text(0x10000);
    std::vector<TSkillRecord> skills(file.Int());
    for (TSkillRecord& s : skills) {
        s.ID = file.Int();
        s.Name = file.Text(256);
        s.Description = file.Text(2048);
        s.MinLevel = file.Int();
        s.APCost = file.Int();
        s.Value3 = file.Int();
        s.Permanent = ReadStats(file);
        s.Duration = file.Int();
        s.Temporary = ReadStats(file);
    }
    if (!file.AtEnd())
        throw ClassLib::Exception("skills.txt holds more than its records");
    return skills;
}

struct TSoundAssignments {
    std::array<int, 19> Interface{};
    std::array<std::array<int, 2>, 4> Weather{};
    std::array<int, 3> Music{};
};

inline TSoundAssignments ReadSoundAssignments() {
    TDataFile file("sounds.txt");
    TSoundAssignments sounds;
    for (int& id : sounds.Interface)
        id = file.Int();
    for (auto& pair : sounds.Weather)
        for (int& value : pair)
            value = file.Int();
    for (int& id : sounds.Music)
        id = file.Int();
    if (!file.AtEnd())
        throw ClassLib::Exception("sounds.txt holds more than its assignments");
    return sounds;
}

} // namespace TestSupport
