// The three campaign levels of data/levels with the unit prototypes they name. Each
// level is built when first asked for (once per test program) and written,
// scrambled as the game reads it, to a folder that stands in for the "scenario"
// archive (open for the program's lifetime).
#pragma once

#include "tests/support/TempDir.h"
#include "tests/support/UnitBuilder.h"
#include "tools/levels/LevelBuilder.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace LevelTests {

// A level's stored bytes loaded as the game loads them: with its conversations and its
// computer players.
std::unique_ptr<GameData::TScenario> LoadedScenario(const std::vector<uint8_t>& bytes);

class TLevelSet {
public:
    static constexpr int LevelCount = 3;
    static TLevelSet& Get();

    const Tools::TLevelDescription& Description(int level) const {
        return Descriptions[size_t(level - 1)];
    }
    const std::vector<uint8_t>& ScenarioFile(int level);
    // A file of the built level.
    const Tools::TBytes& File(int level, const std::string& name);

    std::vector<Tools::TLevelDescription> Descriptions;

private:
    TLevelSet();
    void Build(int level);

    std::map<int, std::map<std::string, Tools::TBytes>> FBuilt;
    TestSupport::TTestGameData Data;
    TestSupport::TempDir Folder;
};

} // namespace LevelTests
