#include "game/ai/AIHandler.h"
