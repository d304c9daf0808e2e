#include "engine/graphics/GfxColorText.h"

#include "engine/graphics/GfxText.h"

#include <algorithm>
#include <vector>

namespace Gfx {

void TColorText::AddNode(const TFont& font, uint32_t colour, int32_t x, int32_t y,
                         const AnsiString& text, uint32_t breakKind) {
    Add(std::make_unique<TColorTextNode>(font, colour, x, y, text, breakKind));
}

void TColorText::Add(std::unique_ptr<TColorTextNode> node) {
    FNodes.Add(node.release());
}

void TColorText::Insert(int index, std::unique_ptr<TColorTextNode> node) {
    FNodes.Insert(index, node.release());
}

std::unique_ptr<TColorTextNode> TColorText::RemoveAt(int index) {
    return std::unique_ptr<TColorTextNode>(FNodes.Extract(index));
}

void TColorText::Clear() {
    FNodes.Clear();
}

void TColorText::MoveFrom(TColorText& other) {
    while (other.Count() > 0)
        Add(other.RemoveAt(0));
}

void TColorText::Draw(IDirectDrawSurface7* target, int32_t originX, int32_t originY,
                      const RECT* clip) const {
    for (const TColorTextNode* node : FNodes)
        node->Font->DrawString(target, ClampToInt32(int64_t(originX) + node->X),
                               ClampToInt32(int64_t(originY) + node->Y), clip, node->Colour,
                               node->Text);
}

int32_t TColorText::GetHeight() const {
    int64_t height = 0;
    for (const TColorTextNode* node : FNodes)
        height = std::max(height, int64_t(node->Y) + node->Font->TextHeight(node->Text));
    return ClampToInt32(height);
}

void TColorText::Reflow(int32_t width) {
    SplitIntoWords();
    Justify(width);
}

void TColorText::SplitIntoWords() {
    std::vector<std::unique_ptr<TColorTextNode>> words;
    int64_t penX = 0, penY = 0;
    for (const TColorTextNode* source : FNodes) {
        const TFont& font = *source->Font;
        const AnsiString& text = source->Text;
        const auto addWord = [&](const AnsiString& word, uint32_t kind) {
            words.push_back(std::make_unique<TColorTextNode>(
                font, source->Colour, ClampToInt32(penX), ClampToInt32(penY), word, kind));
        };
        const auto newLine = [&] {
            penX = 0;
            penY += font.CellHeight();
        };
        AnsiString word;
        size_t i = 0;
        while (i < text.size()) {
            const char c = text[i];
            if (!IsWordSeparator(c)) {
                word += c;
                ++i;
                continue;
            }
            if (word.empty()) {
                if (c == ' ') {
                    // A blank opening a piece parts its first word from the word the
                    // piece before ended with.
                    if (penX > 0 && !words.empty() && words.back()->BreakKind == cbNone) {
                        words.back()->BreakKind = cbBlank;
                        penX += font.TextWidth(" ");
                    }
                } else {
                    newLine();
                    if (!words.empty())
                        words.back()->BreakKind = c == '\n' ? cbLineFeed : cbSoftBreak;
                }
                ++i;
                continue;
            }
            while (i < text.size() && text[i] == ' ')
                ++i;
            const char next = i < text.size() ? text[i] : 0;
            if (IsLineBreak(next)) {
                addWord(word, next == '\n' ? cbLineFeed : cbSoftBreak);
                newLine();
                ++i;
            } else {
                addWord(word, cbBlank);
                penX += int64_t(font.TextWidth(word)) + font.TextWidth(" ");
            }
            word.clear();
        }
        if (!word.empty()) {
            addWord(word, cbNone);
            penX += font.TextWidth(word);
        }
    }
    // The words take the place of the pieces they came from.
    Clear();
    for (auto& node : words)
        Add(std::move(node));
}

void TColorText::Justify(int32_t width) {
    int start = 0;
    for (int end = 0; end < Count(); ++end) {
        const uint32_t kind = FNodes[end]->BreakKind;
        if (kind != cbLineFeed && kind != cbSoftBreak && end != Count() - 1)
            continue;
        if (kind == cbSoftBreak) {
            int64_t blanks = 0, words = 0;
            for (int j = start; j <= end; ++j) {
                blanks += FNodes[j]->BreakKind == cbBlank;
                words += FNodes[j]->Font->MaxLineWidth(FNodes[j]->Text);
            }
            int64_t before = 0, blanksBefore = 0;
            for (int j = start; j <= end; ++j) {
                TColorTextNode& node = *FNodes[j];
                const int64_t spread = blanks ? (width - words) * blanksBefore / blanks : 0;
                node.X = ClampToInt32(spread + before);
                before += node.Font->MaxLineWidth(node.Text);
                blanksBefore += node.BreakKind == cbBlank;
            }
        }
        start = end + 1;
    }
}

} // namespace Gfx
