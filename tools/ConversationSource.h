// Reads the conversations of a level from their source text in data/scripts (the
// format is described at the top of data/scripts/level1-conversations.txt).
#pragma once

#include "game/script/Conversation.h"

#include <memory>
#include <string_view>
#include <vector>

namespace Tools {

// The conversations in the order written. A line that does not fit the format
// raises "Conversation source, line %d: %s".
std::vector<std::unique_ptr<GameData::TConversation>> ReadConversationSource(std::string_view text);

} // namespace Tools
