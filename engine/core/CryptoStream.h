// Windows onto part of a file, and the position-dependent scrambling under
// every archive, loose data file and saved game.
#pragma once

#include "platform/classlib/Streams.h"

#include <cstdint>
#include <memory>

namespace Data {

using ClassLib::AnsiString;
using ClassLib::TSeekOrigin;

// A file seen through the window [Offset, Offset + Size), so that one file of a
// packed archive reads as if it were alone. Opened for writing, every operation
// goes straight to the file.
class TSubStream : public ClassLib::TFileStream {
public:
    // The whole file: a window over it for the read modes (fmShareDenyWrite,
    // fmShareExclusive), straight through to the file for any other mode.
    TSubStream(const AnsiString& fileName, uint16_t mode);
    // A window of a file opened for reading. A window reaching outside the file
    // raises EStreamError "Invalid offset of substream." or "Invalid size of substream.".
    TSubStream(const AnsiString& fileName, int64_t size, int64_t offset);

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    // Not bounded: reads outside the window return nothing.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t GetSize() override;
    // The file's read-ahead holds the raw bytes of the whole file, not this window's
    // contents (and, scrambled, not even those), so a window lends nothing.
    std::optional<std::span<const uint8_t>> PeekBuffer() override { return std::nullopt; }

    // A new stream of the same kind over [offset, offset + size) of this window,
    // with its own file handle.
    virtual std::unique_ptr<TSubStream> CreateSubStream(int64_t offset, int64_t size);

    int64_t Offset() const { return FOffset; }
    int64_t Size() const { return FSize; }
    bool PassThrough() const { return FPassThrough; }

protected:
    // The file position of the next byte read or written.
    int64_t FilePosition();
    void CheckWindow(int64_t offset, int64_t size, int64_t limit) const;

private:
    int64_t FOffset = 0;
    int64_t FSize = 0;
    int64_t FPosition = 0;
    bool FPassThrough = false;
};

// Scrambles every byte by its absolute file position and the lower-cased name of
// the file, so the same bytes are stored differently in every file and place.
class TCryptoStream : public TSubStream {
public:
    TCryptoStream(const AnsiString& fileName, uint16_t mode);
    TCryptoStream(const AnsiString& fileName, int64_t size, int64_t offset);

    int32_t Read(void* buffer, int32_t count) override;
    // Scrambles through a fixed buffer; the caller's bytes are never changed.
    int32_t Write(const void* buffer, int32_t count) override;
    std::unique_ptr<TSubStream> CreateSubStream(int64_t offset, int64_t size) override;

    const AnsiString& Key() const { return FKey; }
    uint32_t KeyHash() const { return FKeyHash; }

private:
    void InitKey();

    uint32_t FKeyHash = 0;
    AnsiString FKey;
    uint8_t FWriteBuffer[256];
};

// Below 971; depends on the first four bytes, the length and the byte sum.
uint32_t HashKey(const char* key);
// The key of a file: its name without folders, lower-cased.
AnsiString CryptKey(const AnsiString& fileName);
// Scramble or unscramble count bytes in place; position is the absolute file
// position of buffer[0].
void Encode(uint8_t* buffer, int64_t count, uint32_t keyHash, const AnsiString& key,
            uint64_t position);
void Decode(uint8_t* buffer, int64_t count, uint32_t keyHash, const AnsiString& key,
            uint64_t position);

} // namespace Data
