// A library of sprites by identifier, stored as one "GFXL" file: the identifier,
// "GFXL", a count, a directory of 20-byte entries (identifier, offset of the record),
// then the "GFX " records in ascending identifier order. Either read whole into a
// sorted list, or (directory mode) only its directory, loading each sprite on first
// use from the kept stream and counting its users.
#pragma once

#include "engine/core/DataList.h"
#include "engine/graphics/Sprite.h"

#include <memory>
#include <vector>

namespace Data {
class TArchive;
}

namespace Gfx {

constexpr uint32_t slDirectory = 16; // library flag: directory mode
constexpr int MaxLibrarySprites = 65536;

#pragma pack(push, 1)
struct TSpriteEntryRecord {
    uint32_t ID;
    uint32_t Sprite;    // 0 in files
    int32_t References; // 0 in files
    uint32_t Offset;    // of the sprite record in the stream holding the library
    uint32_t Kept;      // 0 in files
};
#pragma pack(pop)
static_assert(sizeof(TSpriteEntryRecord) == 20);

struct TSpriteEntry {
    uint32_t ID = 0;
    std::unique_ptr<TSprite> Sprite; // loaded, or null
    int32_t References = 0;
    uint32_t Offset = 0;
    bool Kept = false; // preloaded: holds a reference of its own
};

class TSpriteList : public Data::TDataObject {
public:
    // flags less slDirectory are given to every sprite the library makes.
    explicit TSpriteList(uint32_t flags) : Flags(flags) {}
    ~TSpriteList() override;

    void Assign(const TDataObject* source) override;
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) const override;
    void Clear() override;

    // Directory mode: keeps the stream and reads only the directory.
    void OpenDirectory(std::unique_ptr<TStream> stream);
    void LoadFromArchive(const Data::TArchive& archive, const ClassLib::AnsiString& name);

    // Null for ID 0; an unknown ID raises "Sprite with given ID not found (%d).".
    TSprite* AcquireSpriteByID(uint32_t id);
    TSprite* TryAcquireSprite(uint32_t id); // null for an unknown ID
    TSprite* AcquireSprite(int index);
    void ReleaseSpriteByPointer(TSprite* sprite); // null and strangers are ignored
    void ReleaseSprite(int index);
    void TryPreloadSprite(uint32_t id);
    void PreloadSprite(uint32_t id);
    void PreloadAll();
    TSprite* FindSprite(uint32_t id) const;
    TSprite* FindSpriteChecked(uint32_t id) const;

    // Surface-only sprites around display changes and loss: released, then read
    // again from the library and given surfaces anew (the same objects).
    void ReleaseSurfaces();
    void RecreateSurfaces();
    void RestoreSurfaces();

    int IndexOf(uint32_t id) const;
    const std::vector<TSpriteEntry>& Directory() const { return FDirectory; }
    Data::TDataList<TSprite>& Sprites() { return FSprites; }
    const Data::TDataList<TSprite>& Sprites() const { return FSprites; }

    uint32_t Flags;

private:
    uint32_t SpriteFlags() const { return Flags & ~slDirectory; }
    int32_t ReadHeader(TStream& stream);
    void ReadSprite(TSprite& sprite, uint32_t offset);
    void FreeDirectory();

    Data::TDataList<TSprite> FSprites;
    std::vector<TSpriteEntry> FDirectory;
    std::unique_ptr<TStream> FSource;
};

} // namespace Gfx
