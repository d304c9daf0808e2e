#include "tools/TextDataFile.h"

namespace Tools {

TBytes TextDataFile(std::string_view text) {
    TBytes out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out.push_back('\r');
            out.push_back('\n');
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(uint8_t(c));
        }
    }
    if (!out.empty() && out.back() != '\n') {
        out.push_back('\r');
        out.push_back('\n');
    }
    return out;
}

TBytes TextDataFile(const TBytes& text) {
    return TextDataFile(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

} // namespace Tools
