// A library of sounds by identifier, stored as one "AUDL" file: AX sounds and
// MP3 files, each handed out as a playable stream.
#pragma once

#include "engine/core/DynamicArray.h"
#include "engine/core/ObjectList.h"
#include "engine/sound/AudioStream.h"

#include <memory>

namespace Data {
class TArchive;
}

namespace Audio {

constexpr uint8_t alAX = 1;
constexpr uint8_t alMP3 = 2;

struct TAudioListEntry {
    uint32_t ID;     // entries sorted by ascending ID
    uint32_t Offset; // from the end of the directory
    uint32_t Size;
    uint8_t Type; // alAX or alMP3
    uint8_t Unused[3];
};
static_assert(sizeof(TAudioListEntry) == 16);

struct TAudioListHeader {
    char Signature[4]; // "AUDL"
    int32_t Count;
};
static_assert(sizeof(TAudioListHeader) == 8);

// Deletes the stream only when it was handed over: a library that keeps its
// streams preloaded lends them instead.
struct TAudioStreamDeleter {
    bool Owns = true;
    void operator()(TAudioStream* stream) const {
        if (Owns)
            delete stream;
    }
};
using TAudioStreamPtr = std::unique_ptr<TAudioStream, TAudioStreamDeleter>;

class TAudioList {
public:
    TAudioList() = default;
    TAudioList(const TAudioList&) = delete;
    TAudioList& operator=(const TAudioList&) = delete;
    ~TAudioList() { Clear(); }

    void Clear();
    // Reads the directory, keeping the stream for the sounds. A wrong signature,
    // a bad count, identifiers out of order, an unknown type or an entry outside
    // the stream is "Invalid data.". With preload every sound is opened at once
    // (AX sounds read whole) and the stream is let go.
    void LoadFromStream(std::unique_ptr<ClassLib::TStream> stream, bool preload);
    void LoadFromArchive(const Data::TArchive& archive, const AnsiString& name, bool preload);

    // The sound, or null for ID 0 or an unknown ID: a preloaded library lends its
    // own stream, otherwise the caller gets a new one.
    TAudioStreamPtr FindStream(uint32_t id);
    // The same, but an unknown ID raises "Audio stream with given ID not found (%d).".
    TAudioStreamPtr GetStream(uint32_t id);
    // A new stream over the entry at index, read whole when wholeData is set.
    std::unique_ptr<TAudioStream> CreateAudioStream(int index, bool wholeData);

    bool Preload() const { return FPreload; }
    const Data::TDynamicArray<TAudioListEntry>& Directory() const { return FDirectory; }

private:
    std::unique_ptr<ClassLib::TStream> OpenEntry(const TAudioListEntry& entry);

    std::unique_ptr<ClassLib::TStream> FSource;
    bool FPreload = false;
    uint32_t FDataBase = 0;
    Data::TDynamicArray<TAudioListEntry> FDirectory;
    Data::TObjectList<TAudioStream> FPreloaded{true};
};

} // namespace Audio
