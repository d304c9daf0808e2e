// Finding tags in script text: the next tag, and the "<ELSE>" and "<ENDIF>" that
// close an "<IF...>" block. Tags are matched ignoring letter case, nested blocks
// by level.
#pragma once

#include <string_view>

namespace GameData {

// The tag starting at the first "<": up to and including the first ">" after it,
// or the rest of the text when there is none. Empty when the text holds no "<".
struct TTagSpan {
    size_t Start = 0;
    size_t Length = 0;
};
bool FindNextTag(std::string_view text, TTagSpan& tag);

// Given the text after a block's opening tag: the position of the closing tag
// that ends it, counting blocks opened by tags beginning with open (upper case);
// npos when the text runs out first.
size_t FindBlockEnd(std::string_view text, std::string_view open, std::string_view close);

// Given the text after an "<IF...>" tag: the position of the "<ENDIF>" that closes
// it, npos when the text runs out first.
size_t FindEndIf(std::string_view text);
// The position of the "<ELSE>" of the same block, npos when it has none.
size_t FindElse(std::string_view text);
// Given the text after a "<LOOP...>" or "<WHILE...>" tag: the position of its
// "<ENDLOOP>" or "<ENDWHILE>", npos when the text runs out first.
size_t FindEndLoop(std::string_view text);
size_t FindEndWhile(std::string_view text);

} // namespace GameData
