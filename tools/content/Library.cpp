#include "tools/content/Library.h"

#include "platform/classlib/Exception.h"

namespace Content {

void TLibrary::Add(uint32_t id, const std::vector<TPicture>& frames, TSpriteOptions options) {
    if (Has(id))
        throw ClassLib::Exception(ClassLib::Format("Sprite %u is drawn twice.", id));
    options.ID = id;
    FSprites.emplace(id, Tools::EncodeSprite(frames, options));
}

void TLibrary::Merge(TLibrary&& other) {
    for (auto& [id, record] : other.FSprites)
        if (!FSprites.emplace(id, std::move(record)).second)
            throw ClassLib::Exception(ClassLib::Format("Sprite %u is drawn twice.", id));
    other.FSprites.clear();
}

TBytes TLibrary::Build(uint32_t libraryID) const {
    std::vector<TBytes> records;
    records.reserve(FSprites.size());
    for (const auto& [id, record] : FSprites)
        records.push_back(record);
    return Tools::EncodeSpriteLibrary(libraryID, records);
}

TSpriteOptions KeyedOptions(int hotSpotX, int hotSpotY) {
    TSpriteOptions options;
    options.Kind = 2;
    options.HotSpotX = hotSpotX;
    options.HotSpotY = hotSpotY;
    return options;
}

TSpriteOptions PictureOptions() {
    TSpriteOptions options;
    options.Kind = 1;
    options.Keyed = false;
    return options;
}

TSpriteOptions BlendedOptions(int hotSpotX, int hotSpotY) {
    TSpriteOptions options;
    options.Kind = 3;
    options.BlendMode = 0xFF;
    options.Bits = 32;
    options.HotSpotX = hotSpotX;
    options.HotSpotY = hotSpotY;
    return options;
}

TSpriteOptions GlowOptions(int hotSpotX, int hotSpotY) {
    TSpriteOptions options = BlendedOptions(hotSpotX, hotSpotY);
    options.BlendMode = 0xFE;
    return options;
}

} // namespace Content
