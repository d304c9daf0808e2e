// The smallest level, for fuzzing the scenario loader: an 8 x 8 map with three
// players, two groups and a town, and the three unit prototypes it names.
#pragma once

#include "tools/levels/LevelDescription.h"

namespace Tools {

TLevelDescription SeedLevel();
// Global data made in code holding unit prototypes 1 to 3, when none is installed.
void InstallSeedGlobalData();

} // namespace Tools
