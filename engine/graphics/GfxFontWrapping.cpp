// Word wrapping: the one line breaker behind DrawWrappedText, WrapText, WrapTextFrom and
// WrappedTextHeight, so what is measured is what is drawn.
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxText.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace Gfx {

namespace {

struct TWrappedLine {
    AnsiString Text;
    int64_t Width = 0; // including the width the line started with
    char Break = 0;    // what ends it: 0 the end of the text, else the CR or LF written
};

// Fills lines word by word. A word is a run of blanks and the characters up to the next
// blank, line break or the end; the first word of a line loses its blanks. A word that
// does not fit starts the next line; a first word that does not fit alone is cut after
// as many characters as fit (at least one). Blanks that do not fit at the end of a line
// are dropped rather than starting an empty line.
class TLineBreaker {
public:
    TLineBreaker(const TFont& font, int32_t width, int32_t startWidth)
        : FFont(font), FWidth(width) {
        FLines.emplace_back();
        FLines.back().Width = std::max(startWidth, 0);
    }

    std::vector<TWrappedLine> Run(std::string_view text) {
        size_t i = 0;
        for (;;) {
            size_t j = i;
            while (j < text.size() && text[j] == ' ')
                ++j;
            const size_t blanks = j - i;
            while (j < text.size() && !IsWordSeparator(text[j]))
                ++j;
            Place(text.substr(i, j - i), blanks);
            i = j;
            if (i == text.size())
                break;
            if (IsLineBreak(text[i])) {
                EndLine(text[i]);
                ++i;
            }
        }
        return std::move(FLines);
    }

private:
    TWrappedLine& Line() { return FLines.back(); }
    bool LineHasWords() const { return FLines.back().Width > 0 || !FLines.back().Text.empty(); }

    void EndLine(char breakChar) {
        Line().Break = breakChar;
        FLines.emplace_back();
    }

    void Append(std::string_view piece) {
        Line().Text += piece;
        Line().Width += FFont.TextWidth(AnsiString(piece));
    }

    void Place(std::string_view word, size_t blanks) {
        if (!LineHasWords()) {
            word.remove_prefix(blanks);
            blanks = 0;
        }
        if (word.empty())
            return;
        if (Line().Width + FFont.TextWidth(AnsiString(word)) <= FWidth) {
            Append(word);
            return;
        }
        if (blanks == word.size())
            return;
        if (LineHasWords()) {
            EndLine('\r');
            word.remove_prefix(blanks);
        }
        while (FFont.TextWidth(AnsiString(word)) > FWidth) {
            const size_t count = CharactersThatFit(word);
            if (count == word.size())
                break;
            Append(word.substr(0, count));
            EndLine('\r');
            word.remove_prefix(count);
        }
        Append(word);
    }

    // By bare glyph widths, at least one.
    size_t CharactersThatFit(std::string_view word) const {
        int64_t used = 0;
        size_t count = 0;
        for (const char c : word) {
            used += FFont.GlyphWidth(static_cast<uint8_t>(c));
            if (used > FWidth)
                break;
            ++count;
        }
        return std::max<size_t>(count, 1);
    }

    const TFont& FFont;
    const int64_t FWidth;
    std::vector<TWrappedLine> FLines;
};

AnsiString JoinLines(const std::vector<TWrappedLine>& lines) {
    AnsiString text;
    for (const TWrappedLine& line : lines) {
        text += line.Text;
        if (line.Break)
            text += line.Break;
    }
    return text;
}

} // namespace

void TFont::DrawWrappedText(IDirectDrawSurface7* target, const RECT& rect, const RECT* clip,
                            uint32_t colour, const AnsiString& text) const {
    const auto lines =
        TLineBreaker(*this, ClampToInt32(int64_t(rect.right) - rect.left), 0).Run(text);
    int64_t y = rect.top;
    for (const TWrappedLine& line : lines) {
        if (y > INT32_MAX)
            break;
        DrawString(target, rect.left, static_cast<int32_t>(y), clip ? clip : &rect, colour,
                   line.Text);
        y += FCellHeight;
    }
}

AnsiString TFont::WrapText(int32_t width, const AnsiString& text) const {
    return JoinLines(TLineBreaker(*this, width, 0).Run(text));
}

AnsiString TFont::WrapTextFrom(int32_t width, const AnsiString& text, int32_t& x,
                               int32_t& y) const {
    const auto lines = TLineBreaker(*this, width, x).Run(text);
    x = static_cast<int32_t>(std::min<int64_t>(lines.back().Width, INT32_MAX));
    y = static_cast<int32_t>(
        std::clamp<int64_t>(y + int64_t(lines.size() - 1) * FCellHeight, INT32_MIN, INT32_MAX));
    return JoinLines(lines);
}

int32_t TFont::WrappedTextHeight(const AnsiString& text, int32_t width) const {
    const auto lines = TLineBreaker(*this, width, 0).Run(text);
    return ClampToInt32(int64_t(lines.size()) * FCellHeight);
}

} // namespace Gfx
