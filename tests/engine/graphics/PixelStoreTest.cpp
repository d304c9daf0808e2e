// Frames loaded into a shared arena: the pixels are the stored ones, copies and late
// frames live on the heap, and the arena lives as long as any frame that uses it.
#include "engine/graphics/PixelStore.h"
#include "engine/graphics/Sprite.h"
#include "tests/engine/graphics/SpriteFixtures.h"

#include <gtest/gtest.h>

using namespace Gfx;
using namespace SpriteTests;

namespace {

// A raw 16-bit sprite of two 12 x 7 frames: 168 bytes a frame.
TBytes RawRecord(uint32_t seed) {
    TSpriteOptions options;
    options.ID = 7;
    options.Keyed = false;
    return Tools::EncodeSprite({Checker(12, 7, seed), Checker(12, 7, seed + 1)}, options);
}

std::unique_ptr<TSprite> LoadInto(const std::shared_ptr<TPixelArena>& arena, const TBytes& record) {
    auto sprite = std::make_unique<TSprite>();
    sprite->FrameAllocator = TPixelAllocator<uint8_t>(arena);
    ClassLib::TMemoryStream stream(record);
    sprite->LoadFromStream(&stream);
    return sprite;
}

TEST(PixelStore, FramesFillTheArenaThenTheHeapAndCopiesLeaveIt) {
    // Room for three of the four frames.
    auto arena = std::make_shared<TPixelArena>(3 * 168 + 10);
    const TBytes first = RawRecord(1), second = RawRecord(5);
    auto a = LoadInto(arena, first);
    auto b = LoadInto(arena, second);
    EXPECT_EQ(SaveSprite(*a), first);
    EXPECT_EQ(SaveSprite(*b), second);
    EXPECT_TRUE(arena->Holds(a->Frames[1].Pixels.data()));
    EXPECT_TRUE(arena->Holds(b->Frames[0].Pixels.data()));
    EXPECT_FALSE(arena->Holds(b->Frames[1].Pixels.data()));

    TSprite copy;
    copy.CopyFrom(a.get());
    EXPECT_FALSE(arena->Holds(copy.Frames[0].Pixels.data()));
    EXPECT_EQ(copy.Frames[0].Pixels, a->Frames[0].Pixels);

    // A frame taken out of its sprite keeps the arena alive after every sprite is gone.
    TPixelBytes kept = std::move(b->Frames[0].Pixels);
    const TPixelBytes expected(kept.begin(), kept.end());
    arena.reset();
    a.reset();
    b.reset();
    EXPECT_EQ(kept, expected);
}

TEST(PixelStore, SealedArenaGivesNoMoreRoom) {
    const auto arena = std::make_shared<TPixelArena>(size_t(1) << 20);
    const auto sprite = LoadInto(arena, RawRecord(2));
    const size_t used = arena->Used();
    EXPECT_EQ(used, 2u * 168u);
    arena->Seal();
    const auto late = LoadInto(arena, RawRecord(3));
    EXPECT_FALSE(arena->Holds(late->Frames[0].Pixels.data()));
    EXPECT_EQ(arena->Used(), used);
    EXPECT_EQ(SaveSprite(*sprite), RawRecord(2));
}

} // namespace
