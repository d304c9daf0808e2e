#include "engine/graphics/SpriteList.h"
#include "tests/engine/graphics/SpriteFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Gfx;
using namespace SpriteTests;

namespace {

TBytes SpriteRecord(uint32_t id, int kind = 0) {
    TSpriteOptions options;
    options.ID = id;
    options.Kind = kind;
    return Tools::EncodeSprite({Checker(6, 5, id)}, options);
}

TBytes Library(const std::vector<uint32_t>& ids) {
    std::vector<TBytes> records;
    for (uint32_t id : ids)
        records.push_back(SpriteRecord(id, int(id % 4)));
    return Tools::EncodeSpriteLibrary(77, records);
}

std::unique_ptr<TSpriteList> Opened(const TBytes& bytes, uint32_t flags = slDirectory) {
    auto library = std::make_unique<TSpriteList>(flags);
    library->OpenDirectory(std::make_unique<ClassLib::TMemoryStream>(bytes));
    return library;
}

template <class TAction>
std::string ErrorOf(TAction action) {
    try {
        action();
    } catch (const std::exception& e) {
        return ClassLib::ExceptionMessage(e);
    }
    return "no error";
}

TBytes WithCount(TBytes bytes, int32_t count) {
    std::memcpy(bytes.data() + 8, &count, 4);
    return bytes;
}

} // namespace

TEST(SpriteList, LibrariesRoundTripByteForByte) {
    for (const auto& ids : {std::vector<uint32_t>{}, {5, 1, 9, 3}}) {
        const TBytes bytes = Library(ids);
        TSpriteList library(0);
        ClassLib::TMemoryStream stream(bytes);
        library.LoadFromStream(&stream);
        EXPECT_EQ(library.ID, 77u);
        EXPECT_EQ(library.Sprites().Count(), int(ids.size()));
        ClassLib::TMemoryStream saved;
        library.SaveToStream(&saved);
        EXPECT_EQ(saved.Bytes(), bytes);
        if (ids.empty()) {
            EXPECT_EQ(bytes.size(), 12u);
        }
        TSpriteList copy(sfConvert);
        copy.Assign(&library);
        EXPECT_EQ(copy.Sprites().Count(), library.Sprites().Count());
    }
}

TEST(SpriteList, DirectoriesOutsideTheFormatAreRejected) {
    const TBytes good = Library({1, 2});
    TBytes signature = good;
    signature[7] = ' ';
    TBytes offset = good;
    const uint32_t far = uint32_t(good.size());
    std::memcpy(offset.data() + 12 + 12, &far, 4);
    const struct {
        const char* what;
        TBytes bytes;
        const char* error;
    } cases[] = {
        {"signature", signature, "Invalid data."},
        {"negative count", WithCount(good, -1), "Invalid data."},
        {"count beyond the stream", WithCount(good, 3), "Invalid data."},
        {"65537 sprites", WithCount(good, 65537), "Invalid data."},
        {"record outside the stream", offset, "Invalid data."},
        {"good", good, "no error"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { Opened(c.bytes); }), c.error) << c.what;
    // The most a library holds.
    TBytes largest(12 + 65536 * (20 + 40), 0);
    std::memcpy(largest.data() + 4, "GFXL", 4);
    EXPECT_EQ(ErrorOf([&] { Opened(WithCount(largest, 65536)); }), "no error");
}

TEST(SpriteList, SpritesAreSharedByReferenceAndPreloaded) {
    const auto library = Opened(Library({4, 2, 8}));
    EXPECT_EQ(library->AcquireSpriteByID(0), nullptr);
    EXPECT_EQ(ErrorOf([&] { library->AcquireSpriteByID(5); }),
              "Sprite with given ID not found (5).");
    EXPECT_EQ(library->TryAcquireSprite(5), nullptr);

    TSprite* first = library->AcquireSpriteByID(2);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->ID, 2u);
    EXPECT_EQ(library->AcquireSpriteByID(2), first);
    library->ReleaseSpriteByPointer(first);
    EXPECT_EQ(library->FindSprite(2), first);
    library->ReleaseSpriteByPointer(first);
    EXPECT_EQ(library->FindSprite(2), nullptr);
    library->ReleaseSprite(library->IndexOf(2)); // more releases than uses do nothing
    TSprite stranger;
    library->ReleaseSpriteByPointer(&stranger);
    library->ReleaseSpriteByPointer(nullptr);

    library->PreloadSprite(8);
    TSprite* kept = library->AcquireSpriteByID(8);
    library->ReleaseSpriteByPointer(kept);
    library->ReleaseSpriteByPointer(kept); // once more than it was acquired
    EXPECT_EQ(library->FindSpriteChecked(8), kept);
    EXPECT_EQ(ErrorOf([&] { library->PreloadSprite(3); }), "Sprite with given ID not found (3).");
    library->TryPreloadSprite(3);
    EXPECT_EQ(ErrorOf([&] { library->FindSpriteChecked(4); }),
              "Sprite with given ID not found (4).");
    library->PreloadAll();
    EXPECT_NE(library->FindSprite(4), nullptr);
    library->Clear();
    EXPECT_TRUE(library->Directory().empty());
}

TEST(SpriteList, BadRecordsLeaveTheirEntryUnloaded) {
    TBytes bytes = Library({1});
    bytes[12 + 20 + 4 + 3] = 'X'; // the record's signature
    const auto library = Opened(bytes);
    EXPECT_EQ(ErrorOf([&] { library->AcquireSpriteByID(1); }), "Invalid data.");
    EXPECT_EQ(library->FindSprite(1), nullptr);
}

TEST(SpriteList, SurfaceOnlySpritesAreReadAgainAfterADisplayChange) {
    TScopedDisplay display;
    const auto library = Opened(Library({1, 2}), slDirectory | sfConvert);
    TSprite* dropped = library->AcquireSpriteByID(1);
    dropped->PrepareSurfaces(true);
    TSprite* kept = library->AcquireSpriteByID(2);
    kept->PrepareSurfaces(false);

    ReleaseAllSurfaces();
    library->ReleaseSurfaces();
    EXPECT_FALSE(dropped->HasSurfaces());
    RecreateAllSurfaces();
    library->RecreateSurfaces();
    EXPECT_EQ(library->FindSprite(1), dropped);
    EXPECT_TRUE(dropped->HasSurfaces());
    EXPECT_TRUE(dropped->Flags & sfSurfaceOnly);
    EXPECT_TRUE(kept->HasSurfaces());
    EXPECT_EQ(SpriteRegistry.Count(), 1);
}
