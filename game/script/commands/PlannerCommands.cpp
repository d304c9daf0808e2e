// The computer-player and call commands arrive with the computer player; until then
// each one is refused by name, so a page never pretends to have steered anything.
#include "game/script/commands/CommandHandlers.h"
#include "platform/classlib/Exception.h"

namespace GameData {

bool PlannerCommandNotAvailable(TConversation& c, ClassLib::AnsiString&, ClassLib::AnsiString&) {
    const TCommandParts parts = SplitCommand(c.CurrentCommand);
    c.ScriptError(ClassLib::Format(
        "%s: the computer-player and call commands are not available yet.", parts.Name));
    return false;
}

} // namespace GameData
