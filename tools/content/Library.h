// Sprites gathered for one "GFXL" library.
#pragma once

#include "tools/SpriteWriter.h"

#include <map>

namespace Content {

using Tools::TBytes;
using Tools::TPicture;
using Tools::TSpriteOptions;

class TLibrary {
public:
    // Encodes the frames at once; an ID given twice raises an Exception.
    void Add(uint32_t id, const std::vector<TPicture>& frames, TSpriteOptions options);
    // Takes over other's sprites; an ID both hold raises an Exception.
    void Merge(TLibrary&& other);
    bool Has(uint32_t id) const { return FSprites.count(id) != 0; }
    int Count() const { return int(FSprites.size()); }
    TBytes Build(uint32_t libraryID = 0) const;

private:
    std::map<uint32_t, TBytes> FSprites;
};

// Options of the usual sprite kinds.
TSpriteOptions KeyedOptions(int hotSpotX = 0, int hotSpotY = 0);   // 16-bit RunLineB
TSpriteOptions PictureOptions();                                   // 16-bit RunLineA, no key
TSpriteOptions BlendedOptions(int hotSpotX = 0, int hotSpotY = 0); // premultiplied, compressed
TSpriteOptions GlowOptions(int hotSpotX = 0, int hotSpotY = 0);    // additive, compressed

} // namespace Content
