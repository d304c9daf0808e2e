#include "engine/sound/AudioList.h"

#include "engine/core/Archive.h"
#include "engine/sound/AXStream.h"
#include "engine/sound/MP3Stream.h"
#include "engine/sound/WAVStream.h"

#include <algorithm>
#include <vector>

namespace Audio {

using Data::CheckData;

void TAudioList::Clear() {
    FDirectory.Clear();
    FPreloaded.Clear();
    FSource.reset();
    FDataBase = 0;
}

void TAudioList::LoadFromStream(std::unique_ptr<ClassLib::TStream> stream, bool preload) {
    Clear();
    FSource = std::move(stream);
    ClassLib::TStream& source = *FSource;
    CheckData(source.Remaining() >= static_cast<int64_t>(sizeof(TAudioListHeader)));
    Data::ReadTag(source, "AUDL");
    const int32_t count = Data::ReadCount(source, sizeof(TAudioListEntry));
    FDirectory.SetCount(count);
    if (count > 0)
        source.ReadBuffer(FDirectory.Items(), int64_t(count) * int64_t(sizeof(TAudioListEntry)));
    const int64_t dataBase = source.GetPosition();
    const int64_t dataSize = source.GetSize() - dataBase;
    CheckData(dataBase <= int64_t(UINT32_MAX));
    FDataBase = static_cast<uint32_t>(dataBase);
    for (int i = 0; i < count; ++i) {
        const TAudioListEntry& entry = FDirectory[i];
        CheckData(i == 0 || FDirectory[i - 1].ID <= entry.ID);
        CheckData(entry.Type == alAX || entry.Type == alMP3);
        CheckData(int64_t(entry.Offset) + int64_t(entry.Size) <= dataSize);
    }
    FPreload = preload;
    if (preload) {
        FPreloaded.SetCapacity(count);
        for (int i = 0; i < count; ++i)
            FPreloaded.Add(CreateAudioStream(i, true).release());
        FSource.reset();
    }
}

void TAudioList::LoadFromArchive(const Data::TArchive& archive, const AnsiString& name,
                                 bool preload) {
    LoadFromStream(archive.OpenFile(name), preload);
}

std::unique_ptr<ClassLib::TStream> TAudioList::OpenEntry(const TAudioListEntry& entry) {
    const int64_t offset = int64_t(FDataBase) + int64_t(entry.Offset);
    // A file gives every sound its own handle, so sounds play independently of
    // each other and of the library.
    if (auto* file = dynamic_cast<Data::TSubStream*>(FSource.get()))
        return file->CreateSubStream(offset, entry.Size);
    std::vector<uint8_t> bytes(entry.Size);
    FSource->SetPosition(offset);
    FSource->ReadBuffer(bytes.data(), entry.Size);
    return std::make_unique<ClassLib::TMemoryStream>(std::move(bytes));
}

std::unique_ptr<TAudioStream> TAudioList::CreateAudioStream(int index, bool wholeData) {
    if (index < 0 || index >= FDirectory.Count() || !FSource)
        throw ClassLib::EListError(ClassLib::Format("List index out of bounds (%d)", index));
    const TAudioListEntry& entry = FDirectory[index];
    std::unique_ptr<TAudioStream> stream;
    switch (entry.Type) {
    case alAX:
        stream = std::make_unique<TAXStream>();
        break;
    case alMP3:
        stream = std::make_unique<TMP3Stream>();
        break;
    default:
        stream = std::make_unique<TWAVStream>();
    }
    stream->Open(OpenEntry(entry), omRead | (wholeData ? omWholeData : 0), TAudioFormat{});
    return stream;
}

TAudioStreamPtr TAudioList::FindStream(uint32_t id) {
    if (id == 0)
        return nullptr;
    const auto* begin = FDirectory.Items();
    const auto* end = begin + FDirectory.Count();
    const auto* found = std::lower_bound(
        begin, end, id, [](const TAudioListEntry& e, uint32_t key) { return e.ID < key; });
    if (found == end || found->ID != id)
        return nullptr;
    const int index = static_cast<int>(found - begin);
    if (FPreload)
        return TAudioStreamPtr(FPreloaded[index], TAudioStreamDeleter{false});
    return TAudioStreamPtr(CreateAudioStream(index, false).release(), TAudioStreamDeleter{true});
}

TAudioStreamPtr TAudioList::GetStream(uint32_t id) {
    TAudioStreamPtr stream = FindStream(id);
    if (!stream && id != 0)
        throw ClassLib::Exception(
            ClassLib::Format("Audio stream with given ID not found (%d).", static_cast<int>(id)));
    return stream;
}

} // namespace Audio
