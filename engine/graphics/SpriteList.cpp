#include "engine/graphics/SpriteList.h"

#include "engine/core/Archive.h"

#include <cstring>

namespace Gfx {

using Data::CheckData;

namespace {

[[noreturn]] void RaiseNotFound(uint32_t id) {
    throw ClassLib::Exception(
        ClassLib::Format("Sprite with given ID not found (%d).", static_cast<int>(id)));
}

constexpr int64_t MinSpriteRecord = 4 + int64_t(sizeof(TSpriteHeader));

} // namespace

TSpriteList::~TSpriteList() {
    TSpriteList::Clear();
}

void TSpriteList::FreeDirectory() {
    FDirectory.clear();
    FSource.reset();
}

void TSpriteList::Clear() {
    FSprites.Clear();
    FreeDirectory();
}

void TSpriteList::Assign(const TDataObject* source) {
    const auto* other = dynamic_cast<const TSpriteList*>(source);
    if (!other) {
        TDataObject::Assign(source);
        return;
    }
    for (const TSprite* sprite : other->FSprites) {
        auto copy = std::make_unique<TSprite>(SpriteFlags());
        copy->ID = sprite->ID;
        copy->Assign(sprite);
        FSprites.Add(std::move(copy));
    }
}

int32_t TSpriteList::ReadHeader(TStream& stream) {
    Data::ReadTag(stream, "GFXL");
    const auto count = stream.ReadValue<int32_t>();
    CheckData(count >= 0 && count <= MaxLibrarySprites);
    // Every sprite has its directory entry and at least a record header.
    CheckData(count <=
              stream.Remaining() / (int64_t(sizeof(TSpriteEntryRecord)) + MinSpriteRecord));
    return count;
}

void TSpriteList::LoadFromStream(TStream* stream) {
    TDataObject::LoadFromStream(stream);
    const int32_t count = ReadHeader(*stream);
    stream->Seek(int64_t(count) * int64_t(sizeof(TSpriteEntryRecord)), ClassLib::soFromCurrent);
    for (int32_t i = 0; i < count; ++i) {
        auto sprite = std::make_unique<TSprite>(SpriteFlags());
        sprite->LoadFromStream(stream);
        FSprites.Add(std::move(sprite));
    }
}

void TSpriteList::SaveToStream(TStream* stream) const {
    TDataObject::SaveToStream(stream);
    Data::WriteTag(*stream, "GFXL");
    const int32_t count = FSprites.Count();
    stream->WriteValue(count);
    const int64_t directoryStart = stream->GetPosition();
    std::vector<TSpriteEntryRecord> directory(size_t(count), TSpriteEntryRecord{});
    stream->Seek(int64_t(count) * int64_t(sizeof(TSpriteEntryRecord)), ClassLib::soFromCurrent);
    for (int32_t i = 0; i < count; ++i) {
        directory[size_t(i)].ID = FSprites[i]->ID;
        directory[size_t(i)].Offset = static_cast<uint32_t>(stream->GetPosition());
        FSprites[i]->SaveToStream(stream);
    }
    stream->SetPosition(directoryStart);
    if (count > 0)
        stream->WriteBuffer(directory.data(), int64_t(directory.size() * sizeof(directory[0])));
    stream->Seek(0, ClassLib::soFromEnd);
}

void TSpriteList::OpenDirectory(std::unique_ptr<TStream> stream) {
    FreeDirectory();
    TDataObject::LoadFromStream(stream.get());
    const int32_t count = ReadHeader(*stream);
    std::vector<TSpriteEntryRecord> records(static_cast<size_t>(count));
    if (count > 0)
        stream->ReadBuffer(records.data(), int64_t(records.size() * sizeof(records[0])));
    const int64_t size = stream->GetSize();
    FDirectory.resize(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        // Each record must at least fit in the stream; its contents are checked on loading.
        CheckData(int64_t(records[size_t(i)].Offset) + MinSpriteRecord <= size);
        FDirectory[size_t(i)].ID = records[size_t(i)].ID;
        FDirectory[size_t(i)].Offset = records[size_t(i)].Offset;
    }
    FSource = std::move(stream);
}

void TSpriteList::LoadFromArchive(const Data::TArchive& archive, const ClassLib::AnsiString& name) {
    OpenDirectory(archive.OpenFile(name));
}

int TSpriteList::IndexOf(uint32_t id) const {
    for (size_t i = 0; i < FDirectory.size(); ++i)
        if (FDirectory[i].ID == id)
            return int(i);
    return -1;
}

TSprite* TSpriteList::AcquireSpriteByID(uint32_t id) {
    if (id == 0)
        return nullptr;
    const int index = IndexOf(id);
    if (index < 0)
        RaiseNotFound(id);
    return AcquireSprite(index);
}

TSprite* TSpriteList::TryAcquireSprite(uint32_t id) {
    const int index = id == 0 ? -1 : IndexOf(id);
    return index < 0 ? nullptr : AcquireSprite(index);
}

void TSpriteList::ReadSprite(TSprite& sprite, uint32_t offset) {
    FSource->SetPosition(offset);
    sprite.LoadFromStream(FSource.get());
}

TSprite* TSpriteList::AcquireSprite(int index) {
    TSpriteEntry& entry = FDirectory.at(size_t(index));
    if (!entry.Sprite) {
        auto sprite = std::make_unique<TSprite>(SpriteFlags());
        ReadSprite(*sprite, entry.Offset);
        entry.Sprite = std::move(sprite);
    }
    ++entry.References;
    return entry.Sprite.get();
}

void TSpriteList::ReleaseSpriteByPointer(TSprite* sprite) {
    if (!sprite)
        return;
    for (size_t i = 0; i < FDirectory.size(); ++i)
        if (FDirectory[i].Sprite.get() == sprite) {
            ReleaseSprite(int(i));
            return;
        }
}

void TSpriteList::ReleaseSprite(int index) {
    TSpriteEntry& entry = FDirectory.at(size_t(index));
    // Released more often than acquired: a kept sprite keeps its own reference.
    if (!entry.Sprite || entry.References <= (entry.Kept ? 1 : 0))
        return;
    if (--entry.References == 0)
        entry.Sprite.reset();
}

void TSpriteList::TryPreloadSprite(uint32_t id) {
    const int index = id == 0 ? -1 : IndexOf(id);
    if (index < 0 || FDirectory[size_t(index)].Kept)
        return;
    AcquireSprite(index);
    FDirectory[size_t(index)].Kept = true;
}

void TSpriteList::PreloadSprite(uint32_t id) {
    if (id != 0 && IndexOf(id) < 0)
        RaiseNotFound(id);
    TryPreloadSprite(id);
}

void TSpriteList::PreloadAll() {
    for (size_t i = 0; i < FDirectory.size(); ++i)
        if (!FDirectory[i].Kept) {
            AcquireSprite(int(i));
            FDirectory[i].Kept = true;
        }
}

TSprite* TSpriteList::FindSprite(uint32_t id) const {
    const int index = id == 0 ? -1 : IndexOf(id);
    return index < 0 ? nullptr : FDirectory[size_t(index)].Sprite.get();
}

TSprite* TSpriteList::FindSpriteChecked(uint32_t id) const {
    TSprite* sprite = FindSprite(id);
    if (!sprite && id != 0)
        RaiseNotFound(id);
    return sprite;
}

void TSpriteList::ReleaseSurfaces() {
    for (TSpriteEntry& entry : FDirectory)
        if (entry.Sprite && (entry.Sprite->Flags & sfSurfaceOnly))
            entry.Sprite->ReleaseSurfaces();
}

void TSpriteList::RecreateSurfaces() {
    for (TSpriteEntry& entry : FDirectory)
        if (entry.Sprite && (entry.Sprite->Flags & sfSurfaceOnly)) {
            ReadSprite(*entry.Sprite, entry.Offset);
            entry.Sprite->PrepareSurfaces(true);
        }
}

void TSpriteList::RestoreSurfaces() {
    RecreateSurfaces();
}

} // namespace Gfx
