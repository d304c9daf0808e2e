// Laid-out text in several fonts and colours: pieces of text, each drawn with one font
// and colour at an offset from a common origin, split into words and justified to a
// width for the pages of books, the diary and the encyclopedia.
#pragma once

#include "engine/core/ObjectList.h"
#include "engine/graphics/GfxFont.h"

#include <cstdint>
#include <memory>

namespace Gfx {

// What follows a node's text on its line after Reflow.
enum TColorTextBreak : uint32_t {
    cbNone = 0,      // the end of the source piece
    cbLineFeed = 1,  // a hard break (LF)
    cbSoftBreak = 2, // a soft break (CR), justified
    cbBlank = 4,
};

struct TColorTextNode {
    TColorTextNode(const TFont& font, uint32_t colour, int32_t x, int32_t y, AnsiString text,
                   uint32_t breakKind = cbNone)
        : Font(&font), Colour(colour), X(x), Y(y), Text(std::move(text)), BreakKind(breakKind) {}

    const TFont* Font; // not owned, never null
    uint32_t Colour;   // as TFont::DrawString takes it
    int32_t X, Y;      // from the origin given to Draw
    AnsiString Text;
    uint32_t BreakKind;
};

class TColorText {
public:
    void AddNode(const TFont& font, uint32_t colour, int32_t x, int32_t y, const AnsiString& text,
                 uint32_t breakKind);
    void Add(std::unique_ptr<TColorTextNode> node);
    void Insert(int index, std::unique_ptr<TColorTextNode> node);
    // The node is handed back, not deleted.
    std::unique_ptr<TColorTextNode> RemoveAt(int index);
    void Clear();
    // Appends every node of other in order, leaving it empty.
    void MoveFrom(TColorText& other);

    int Count() const { return FNodes.Count(); }
    const TColorTextNode& operator[](int index) const { return *FNodes[index]; }

    void Draw(IDirectDrawSurface7* target, int32_t originX, int32_t originY,
              const RECT* clip) const;
    // The lowest y + text height over the nodes; 0 when empty.
    int32_t GetHeight() const;
    // Splits the pieces into words and justifies the lines that end in a soft break (CR,
    // as TFont::WrapText marks them for the same width) to width.
    void Reflow(int32_t width);

private:
    void SplitIntoWords();
    void Justify(int32_t width);

    Data::TObjectList<TColorTextNode> FNodes{true};
};

} // namespace Gfx
