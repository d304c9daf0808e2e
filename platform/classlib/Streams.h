// The class library's streams: an abstract stream with checked whole-buffer
// reads and writes, streams over file handles and named files, and memory streams.
#pragma once

#include "platform/classlib/AnsiString.h"

#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

namespace ClassLib {

static_assert(std::endian::native == std::endian::little,
              "stored data is little-endian and streamed as raw bytes");

enum TSeekOrigin : int { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

// File open modes: one access mode combined with one share mode.
constexpr uint16_t fmCreate = 0xFFFF;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Reads or writes up to count bytes and returns how many were transferred.
    virtual int32_t Read(void* buffer, int32_t count) = 0;
    virtual int32_t Write(const void* buffer, int32_t count) = 0;
    // Returns the new position; seeking past the end is allowed.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(int64_t newSize);
    virtual int64_t GetSize();
    // The bytes from the position on that the stream already holds in memory, lent without
    // moving the position and valid until the next call on the stream; empty at the end.
    // Streams with nothing to lend give none, and their readers Read instead. A reader that
    // scans bytes this way moves past what it used with Seek.
    virtual std::optional<std::span<const uint8_t>> PeekBuffer() { return std::nullopt; }

    int64_t GetPosition() { return Seek(0, soFromCurrent); }
    void SetPosition(int64_t position) { Seek(position, soFromBeginning); }
    // Bytes between the position and the end, never negative.
    int64_t Remaining();

    // Whole-buffer transfers: a short read raises EReadError, a short write EWriteError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from source; count 0 copies all of source from its start.
    int64_t CopyFrom(TStream& source, int64_t count);

    template <typename T>
    T ReadValue() {
        static_assert(std::is_trivially_copyable_v<T>);
        T value;
        ReadBuffer(&value, sizeof value);
        return value;
    }
    template <typename T>
    void WriteValue(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        WriteBuffer(&value, sizeof value);
    }
};

// A stream over an open file descriptor, which it does not own.
class THandleStream : public TStream {
public:
    explicit THandleStream(int handle) : FHandle(handle) {}
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int Handle() const { return FHandle; }

protected:
    int FHandle;
};

// A named file. Names from data may use "\" and any letter case: an existing
// file is found ignoring case. Open failures raise EFOpenError or EFCreateError
// naming the file and the reason. Reads go through a read-ahead buffer, so the
// field-by-field reads of the loaders and the text reader's look-ahead and
// seek-back cost no system call each.
class TFileStream : public THandleStream {
public:
    TFileStream(const AnsiString& fileName, uint16_t mode);
    ~TFileStream() override;
    const AnsiString& FileName() const { return FFileName; }

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t GetSize() override;
    std::optional<std::span<const uint8_t>> PeekBuffer() override;

private:
    // Reads ahead from the position; false at the end of the file.
    bool FillReadAhead();

    AnsiString FFileName;
    int64_t FPosition = 0;
    std::vector<uint8_t> FReadAhead;
    int64_t FReadAheadStart = 0;
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    // A stream holding bytes, positioned at the start.
    explicit TMemoryStream(std::vector<uint8_t> bytes) : FData(std::move(bytes)) {}
    TMemoryStream(TMemoryStream&& other) noexcept
        : FData(std::move(other.FData)), FPosition(other.FPosition) {}
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t GetSize() override { return static_cast<int64_t>(FData.size()); }
    std::optional<std::span<const uint8_t>> PeekBuffer() override;

    uint8_t* Memory() { return FData.data(); }
    const uint8_t* Memory() const { return FData.data(); }
    const std::vector<uint8_t>& Bytes() const { return FData; }
    void Clear();
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& target) const;
    void LoadFromFile(const AnsiString& fileName);
    // Written beside the target and renamed over it, so a failure never leaves half a file.
    void SaveToFile(const AnsiString& fileName) const;

private:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

} // namespace ClassLib
