#include "game/script/ScriptTags.h"

#include <cctype>

namespace GameData {

namespace {

// Whether text at pos starts with the upper-case word, ignoring letter case.
bool StartsWithWord(std::string_view text, size_t pos, std::string_view word) {
    if (text.size() - pos < word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[pos + i])) != word[i])
            return false;
    return true;
}

} // namespace

bool FindNextTag(std::string_view text, TTagSpan& tag) {
    const size_t start = text.find('<');
    if (start == std::string_view::npos)
        return false;
    const size_t close = text.find('>', start);
    tag.Start = start;
    tag.Length = close == std::string_view::npos ? text.size() - start : close - start + 1;
    return true;
}

size_t FindBlockEnd(std::string_view text, std::string_view open, std::string_view close) {
    int level = 1;
    for (size_t pos = text.find('<'); pos != std::string_view::npos;
         pos = text.find('<', pos + 1)) {
        if (StartsWithWord(text, pos, close)) {
            if (--level == 0)
                return pos;
        } else if (StartsWithWord(text, pos, open)) {
            ++level;
        }
    }
    return std::string_view::npos;
}

size_t FindEndIf(std::string_view text) {
    return FindBlockEnd(text, "<IF", "<ENDIF>");
}

size_t FindEndLoop(std::string_view text) {
    return FindBlockEnd(text, "<LOOP", "<ENDLOOP>");
}

size_t FindEndWhile(std::string_view text) {
    return FindBlockEnd(text, "<WHILE", "<ENDWHILE>");
}

size_t FindElse(std::string_view text) {
    int level = 1;
    for (size_t pos = text.find('<'); pos != std::string_view::npos && level > 0;
         pos = text.find('<', pos + 1)) {
        if (level == 1 && StartsWithWord(text, pos, "<ELSE>"))
            return pos;
        if (StartsWithWord(text, pos, "<ENDIF>"))
            --level;
        else if (StartsWithWord(text, pos, "<IF"))
            ++level;
    }
    return std::string_view::npos;
}

} // namespace GameData
