#include "engine/core/CryptoStream.h"

#include "platform/classlib/Exception.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace Data {

using ClassLib::EStreamError;
using ClassLib::TFileStream;

namespace {

constexpr uint32_t TableUsed = 971;

// Fixed for all time: files scrambled with one table can only be read with it.
// Built at compile time from its own generator, so the C runtime's random
// sequence is never disturbed.
constexpr std::array<uint8_t, 1024> BuildScrambleTable() {
    std::array<uint8_t, 1024> table{};
    uint32_t state = 0x56524E31;
    for (uint8_t& entry : table) {
        state = state * 214013u + 2531011u;
        entry = static_cast<uint8_t>((state >> 16) & 0xFF);
    }
    return table;
}

constexpr std::array<uint8_t, 1024> ScrambleTable = BuildScrambleTable();

bool IsReadMode(uint16_t mode) {
    return mode == ClassLib::fmShareDenyWrite || mode == ClassLib::fmShareExclusive;
}

// Works in runs over which neither the key nor the table wraps, so the inner
// loop has no branches and no division. For long buffers the key is first
// repeated into a stack buffer so that the runs are long too.
template <typename Transform>
void Scramble(uint8_t* buffer, int64_t count, uint32_t keyHash, const AnsiString& key,
              uint64_t position, Transform transform) {
    static const uint8_t noKey = 0;
    const uint8_t* keyBytes = key.empty() ? &noKey : reinterpret_cast<const uint8_t*>(key.data());
    uint64_t keyLength = std::max<size_t>(key.size(), 1);
    uint8_t repeated[512];
    if (count >= 256 && !key.empty() && 2 * keyLength <= sizeof repeated) {
        for (uint64_t at = 0; at + key.size() <= sizeof repeated; at += key.size())
            std::memcpy(repeated + at, key.data(), key.size());
        keyLength = sizeof repeated / key.size() * key.size();
        keyBytes = repeated;
    }
    uint64_t keyIndex = position % keyLength;
    uint64_t tableIndex = (position + keyHash) % TableUsed;
    while (count > 0) {
        const int64_t run = std::min<int64_t>(
            count, int64_t(std::min(keyLength - keyIndex, TableUsed - tableIndex)));
        const uint8_t* k = keyBytes + keyIndex;
        const uint8_t* t = ScrambleTable.data() + tableIndex;
        for (int64_t i = 0; i < run; ++i)
            buffer[i] = transform(buffer[i], k[i], t[i]);
        buffer += run;
        count -= run;
        keyIndex = (keyIndex + uint64_t(run)) % keyLength;
        tableIndex = (tableIndex + uint64_t(run)) % TableUsed;
    }
}

} // namespace

uint32_t HashKey(const char* key) {
    const auto* s = reinterpret_cast<const uint8_t*>(key);
    const uint32_t length = static_cast<uint32_t>(std::strlen(key));
    uint32_t h = (length >= 4 ? s[3] : 0u) | (length >= 3 ? uint32_t(s[2]) << 8 : 0u) |
                 (length >= 2 ? uint32_t(s[1]) << 16 : 0u) |
                 (length >= 1 ? uint32_t(s[0]) << 24 : 0u);
    h += length * 7919u;
    for (uint32_t i = 0; i < length; ++i)
        h += s[i] * 47u;
    return h % TableUsed;
}

AnsiString CryptKey(const AnsiString& fileName) {
    return ClassLib::LowerCase(ClassLib::ExtractFileName(fileName));
}

void Encode(uint8_t* buffer, int64_t count, uint32_t keyHash, const AnsiString& key,
            uint64_t position) {
    Scramble(buffer, count, keyHash, key, position, [](uint8_t b, uint8_t k, uint8_t t) {
        return static_cast<uint8_t>((t ^ b) + (255 - k));
    });
}

void Decode(uint8_t* buffer, int64_t count, uint32_t keyHash, const AnsiString& key,
            uint64_t position) {
    Scramble(buffer, count, keyHash, key, position, [](uint8_t b, uint8_t k, uint8_t t) {
        return static_cast<uint8_t>(static_cast<uint8_t>(b + k + 1) ^ t);
    });
}

TSubStream::TSubStream(const AnsiString& fileName, uint16_t mode)
    : TFileStream(fileName, mode), FPassThrough(!IsReadMode(mode)) {
    if (!FPassThrough)
        FSize = TFileStream::GetSize();
}

TSubStream::TSubStream(const AnsiString& fileName, int64_t size, int64_t offset)
    : TFileStream(fileName, ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite) {
    CheckWindow(offset, size, TFileStream::GetSize());
    FOffset = offset;
    FSize = size;
}

void TSubStream::CheckWindow(int64_t offset, int64_t size, int64_t limit) const {
    if (offset < 0 || offset > limit)
        throw EStreamError("Invalid offset of substream.");
    if (size < 0 || size > limit - offset)
        throw EStreamError("Invalid size of substream.");
}

int64_t TSubStream::FilePosition() {
    return FPassThrough ? TFileStream::Seek(0, ClassLib::soFromCurrent) : FOffset + FPosition;
}

int32_t TSubStream::Read(void* buffer, int32_t count) {
    if (FPassThrough)
        return TFileStream::Read(buffer, count);
    if (FPosition < 0 || FPosition >= FSize)
        return 0;
    const auto n = static_cast<int32_t>(std::min<int64_t>(count, FSize - FPosition));
    if (n < 1)
        return 0;
    TFileStream::Seek(FOffset + FPosition, ClassLib::soFromBeginning);
    const int32_t got = TFileStream::Read(buffer, n);
    FPosition += got;
    return got;
}

int32_t TSubStream::Write(const void* buffer, int32_t count) {
    // A window is opened read-only; only a stream opened for writing writes.
    return FPassThrough ? TFileStream::Write(buffer, count) : 0;
}

int64_t TSubStream::Seek(int64_t offset, TSeekOrigin origin) {
    if (FPassThrough)
        return TFileStream::Seek(offset, origin);
    switch (origin) {
    case ClassLib::soFromBeginning:
        FPosition = offset;
        break;
    case ClassLib::soFromCurrent:
        FPosition += offset;
        break;
    case ClassLib::soFromEnd:
        FPosition = FSize + offset;
        break;
    }
    return FPosition;
}

int64_t TSubStream::GetSize() {
    return FPassThrough ? TFileStream::GetSize() : FSize;
}

std::unique_ptr<TSubStream> TSubStream::CreateSubStream(int64_t offset, int64_t size) {
    CheckWindow(offset, size, FSize);
    return std::make_unique<TSubStream>(FileName(), size, FOffset + offset);
}

TCryptoStream::TCryptoStream(const AnsiString& fileName, uint16_t mode)
    : TSubStream(fileName, mode) {
    InitKey();
}

TCryptoStream::TCryptoStream(const AnsiString& fileName, int64_t size, int64_t offset)
    : TSubStream(fileName, size, offset) {
    InitKey();
}

void TCryptoStream::InitKey() {
    FKey = CryptKey(FileName());
    FKeyHash = HashKey(FKey.c_str());
}

int32_t TCryptoStream::Read(void* buffer, int32_t count) {
    const int64_t start = FilePosition();
    const int32_t got = TSubStream::Read(buffer, count);
    if (got > 0 && start >= 0)
        Decode(static_cast<uint8_t*>(buffer), got, FKeyHash, FKey, static_cast<uint64_t>(start));
    return got;
}

int32_t TCryptoStream::Write(const void* buffer, int32_t count) {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const int64_t start = FilePosition();
    if (start < 0)
        return 0;
    int32_t written = 0;
    while (written < count) {
        const int32_t chunk = std::min<int32_t>(count - written, sizeof FWriteBuffer);
        std::memcpy(FWriteBuffer, bytes + written, static_cast<size_t>(chunk));
        Encode(FWriteBuffer, chunk, FKeyHash, FKey, static_cast<uint64_t>(start + written));
        const int32_t put = TSubStream::Write(FWriteBuffer, chunk);
        written += std::max(put, 0);
        if (put < chunk)
            break;
    }
    return written;
}

std::unique_ptr<TSubStream> TCryptoStream::CreateSubStream(int64_t offset, int64_t size) {
    CheckWindow(offset, size, Size());
    return std::make_unique<TCryptoStream>(FileName(), size, Offset() + offset);
}

} // namespace Data
