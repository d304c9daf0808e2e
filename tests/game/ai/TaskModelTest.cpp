#include "tests/game/ai/AIWorld.h"

#include <gtest/gtest.h>
