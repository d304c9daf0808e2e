#include "ui/game/ColorText.h"

#include "platform/classlib/AnsiString.h"

#include <algorithm>
#include <optional>

namespace Main {

namespace {

constexpr std::string_view RGBTagStart = "<RGB(";
constexpr size_t TagLength = 3;

std::optional<int> Component(std::string_view digits) {
    int value = 0;
    if (!ClassLib::TryStrToInt(ClassLib::Trim(digits), value))
        return std::nullopt;
    return std::clamp(value, 0, 255);
}

// The colour of "<RGB(r,g,b)>" and the tag's length; nothing when it is malformed.
struct TColourTag {
    uint32_t Colour;
    size_t Length;
};

std::optional<TColourTag> ParseColourTag(std::string_view text) {
    const size_t close = text.find('>');
    if (close == std::string_view::npos || close < RGBTagStart.size() + 1 || text[close - 1] != ')')
        return std::nullopt;
    std::string_view params = text.substr(RGBTagStart.size(), close - 1 - RGBTagStart.size());
    const size_t comma1 = params.find(',');
    if (comma1 == std::string_view::npos)
        return std::nullopt;
    const size_t comma2 = params.find(',', comma1 + 1);
    if (comma2 == std::string_view::npos)
        return std::nullopt;
    const auto r = Component(params.substr(0, comma1));
    const auto g = Component(params.substr(comma1 + 1, comma2 - comma1 - 1));
    const auto b = Component(params.substr(comma2 + 1));
    if (!r || !g || !b)
        return std::nullopt;
    return TColourTag{(uint32_t(*r) << 16) + (uint32_t(*g) << 8) + uint32_t(*b), close + 1};
}

} // namespace

void ParseColorText(std::string_view text, Gfx::TColorText& target, int32_t width,
                    const Gfx::TFont& normalFont, const Gfx::TFont& fontB,
                    const Gfx::TFont& fontI) {
    const Gfx::TFont* font = &normalFont;
    uint32_t colour = 0;
    int32_t x = 0, y = 0;
    const auto appendRun = [&](std::string_view run) {
        const int32_t runX = x, runY = y;
        const ClassLib::AnsiString wrapped = font->WrapTextFrom(width, std::string(run), x, y);
        target.AddNode(*font, colour, runX, runY, wrapped, Gfx::cbNone);
    };

    while (!text.empty()) {
        const size_t p = std::min(text.find('<'), text.size());
        appendRun(text.substr(0, p));
        text.remove_prefix(p);
        if (text.empty())
            break;
        size_t tagLength = TagLength;
        if (text.starts_with("<N>"))
            font = &normalFont;
        else if (text.starts_with("<B>"))
            font = &fontB;
        else if (text.starts_with("<I>"))
            font = &fontI;
        else if (text.starts_with(RGBTagStart)) {
            if (const auto tag = ParseColourTag(text)) {
                colour = tag->Colour;
                tagLength = tag->Length;
            } else {
                // Shown as written: up to its ">", or the rest when there is none.
                tagLength = std::min(text.find('>'), text.size() - 1) + 1;
                appendRun(text.substr(0, tagLength));
            }
        }
        text.remove_prefix(std::min(tagLength, text.size()));
    }
}

} // namespace Main
