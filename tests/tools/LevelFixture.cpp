#include "tests/tools/LevelFixture.h"

#include "engine/core/Archive.h"
#include "game/world/data/DataArchives.h"
#include "platform/classlib/Streams.h"
#include "tools/ArchiveWriter.h"
#include "tools/levels/LevelServices.h"

#include <filesystem>

namespace LevelTests {

std::unique_ptr<GameData::TScenario> LoadedScenario(const std::vector<uint8_t>& bytes) {
    ClassLib::TMemoryStream stream(bytes);
    return Tools::LoadLevel(stream);
}

TLevelSet& TLevelSet::Get() {
    static TLevelSet set;
    return set;
}

TLevelSet::TLevelSet() {
    // Soldier, knight and archer: level 1 values as the sample data give them.
    for (int id = 1; id <= 3; ++id) {
        Data2::TUnitPrototype& prototype = Data.AddUnitPrototype(id, "Unit " + std::to_string(id));
        GameData::TUnitStats& stats = prototype.Stats;
        TestSupport::SetStat(stats, GameData::HITPOINTS, int16_t(20 + 10 * id));
        TestSupport::SetStat(stats, GameData::MANA, 10);
        TestSupport::SetStat(stats, GameData::ACTIONPOINTS, 12);
        TestSupport::SetStat(stats, GameData::ATTACK, 15);
        TestSupport::SetStat(stats, GameData::DEFENCE, 10);
        TestSupport::SetStat(stats, GameData::SIGHT, 3);
        stats.PricePerLevel() = 20;
    }
    Data.SetConstant(Data2::gcCityDefenderMorale, 30);
    for (int level = 1; level <= LevelCount; ++level)
        Descriptions.push_back(Tools::ReadLevelDescriptionFile(
            std::string(VRN_SOURCE_DIR) + "/data/levels/level" + std::to_string(level) + ".txt"));
    std::filesystem::create_directories(Folder.Path() + "scenario");
    Data::DataPath = Folder.Path();
    Data2::ScenarioArchive = std::make_unique<Data::TArchive>("scenario", Data::arFolder);
}

void TLevelSet::Build(int level) {
    if (FBuilt.contains(level))
        return;
    Tools::TBuiltLevel built = Tools::BuildLevel(Description(level));
    for (const auto& [name, bytes] : built.Files)
        Tools::SaveLooseFile(Folder.Path() + "scenario/" + name, bytes);
    FBuilt[level] = std::move(built.Files);
}

const Tools::TBytes& TLevelSet::File(int level, const std::string& name) {
    Build(level);
    return FBuilt.at(level).at(name);
}

const std::vector<uint8_t>& TLevelSet::ScenarioFile(int level) {
    return File(level, Description(level).Stem + ".scn");
}

} // namespace LevelTests
