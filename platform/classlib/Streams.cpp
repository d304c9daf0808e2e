#include "platform/classlib/Streams.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace ClassLib {

namespace {
// The position a seek moves to, for streams that keep their own position.
int64_t SeekTarget(TStream& stream, int64_t position, int64_t offset, TSeekOrigin origin) {
    switch (origin) {
    case soFromBeginning:
        return offset;
    case soFromCurrent:
        return position + offset;
    case soFromEnd:
        return stream.GetSize() + offset;
    }
    return position;
}
} // namespace

void TStream::SetSize(int64_t) {
    throw EStreamError("Stream does not support changing its size");
}

int64_t TStream::GetSize() {
    const int64_t position = Seek(0, soFromCurrent);
    const int64_t size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

int64_t TStream::Remaining() {
    const int64_t position = GetPosition();
    const int64_t size = GetSize();
    return size > position ? size - position : 0;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        const auto chunk = static_cast<int32_t>(std::min<int64_t>(count, 1 << 30));
        const int32_t got = Read(bytes, chunk);
        if (got != chunk)
            throw EReadError();
        bytes += got;
        count -= got;
    }
    if (count < 0)
        throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    while (count > 0) {
        const auto chunk = static_cast<int32_t>(std::min<int64_t>(count, 1 << 30));
        const int32_t put = Write(bytes, chunk);
        if (put != chunk)
            throw EWriteError();
        bytes += put;
        count -= put;
    }
    if (count < 0)
        throw EWriteError();
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.GetSize();
    }
    const int64_t total = count;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 64 * 1024)));
    while (count > 0) {
        const auto chunk = static_cast<int32_t>(std::min<int64_t>(count, buffer.size()));
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        count -= chunk;
    }
    return total;
}

int32_t THandleStream::Read(void* buffer, int32_t count) {
    if (count <= 0)
        return 0;
    int32_t total = 0;
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (total < count) {
        const ssize_t got = ::read(FHandle, bytes + total, static_cast<size_t>(count - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        total += static_cast<int32_t>(got);
    }
    return total;
}

int32_t THandleStream::Write(const void* buffer, int32_t count) {
    if (count <= 0)
        return 0;
    int32_t total = 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    while (total < count) {
        const ssize_t put = ::write(FHandle, bytes + total, static_cast<size_t>(count - total));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        total += static_cast<int32_t>(put);
    }
    return total;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int whence = origin == soFromBeginning ? SEEK_SET
                       : origin == soFromCurrent ? SEEK_CUR
                                                 : SEEK_END;
    const off_t result = ::lseek(FHandle, static_cast<off_t>(offset), whence);
    return result < 0 ? -1 : static_cast<int64_t>(result);
}

void THandleStream::SetSize(int64_t newSize) {
    const int64_t position = GetPosition();
    if (::ftruncate(FHandle, static_cast<off_t>(newSize)) != 0)
        throw EStreamError(
            Format("Cannot change the size of the stream (%s)", std::strerror(errno)));
    if (position > newSize)
        Seek(newSize, soFromBeginning);
}

static int OpenFile(const AnsiString& fileName, uint16_t mode, AnsiString& openedName) {
    openedName = NativePath(fileName);
    if (mode == fmCreate)
        return ::open(openedName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    AnsiString existing;
    if (FindPathIgnoringCase(openedName, existing))
        openedName = existing;
    int flags = O_RDONLY;
    if ((mode & 3) == fmOpenWrite)
        flags = O_WRONLY;
    else if ((mode & 3) == fmOpenReadWrite)
        flags = O_RDWR;
    return ::open(openedName.c_str(), flags | O_CLOEXEC);
}

TFileStream::TFileStream(const AnsiString& fileName, uint16_t mode) : THandleStream(-1) {
    FHandle = OpenFile(fileName, mode, FFileName);
    if (FHandle < 0) {
        const char* reason = std::strerror(errno);
        if (mode == fmCreate)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName, reason));
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName, reason));
    }
}

TFileStream::~TFileStream() {
    if (FHandle >= 0)
        ::close(FHandle);
}

namespace {
constexpr size_t ReadAheadSize = 64 * 1024;

int32_t ReadAt(int handle, uint8_t* bytes, int32_t count, int64_t offset) {
    int32_t total = 0;
    while (total < count) {
        const ssize_t got = ::pread(handle, bytes + total, static_cast<size_t>(count - total),
                                    static_cast<off_t>(offset + total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        total += static_cast<int32_t>(got);
    }
    return total;
}
} // namespace

int32_t TFileStream::Read(void* buffer, int32_t count) {
    if (count <= 0 || FPosition < 0)
        return 0;
    auto* bytes = static_cast<uint8_t*>(buffer);
    int32_t total = 0;
    while (total < count) {
        const int64_t inBuffer = FPosition - FReadAheadStart;
        if (inBuffer >= 0 && inBuffer < static_cast<int64_t>(FReadAhead.size())) {
            const auto n = static_cast<int32_t>(std::min<int64_t>(
                count - total, static_cast<int64_t>(FReadAhead.size()) - inBuffer));
            std::memcpy(bytes + total, FReadAhead.data() + inBuffer, static_cast<size_t>(n));
            total += n;
            FPosition += n;
            continue;
        }
        if (static_cast<size_t>(count - total) >= ReadAheadSize) {
            const int32_t got = ReadAt(FHandle, bytes + total, count - total, FPosition);
            total += got;
            FPosition += got;
            break;
        }
        if (!FillReadAhead())
            break;
    }
    return total;
}

bool TFileStream::FillReadAhead() {
    FReadAhead.resize(ReadAheadSize);
    const int32_t got = ReadAt(FHandle, FReadAhead.data(), ReadAheadSize, FPosition);
    FReadAhead.resize(static_cast<size_t>(got));
    FReadAheadStart = FPosition;
    return got > 0;
}

std::optional<std::span<const uint8_t>> TFileStream::PeekBuffer() {
    if (FPosition < 0)
        return std::span<const uint8_t>();
    int64_t inBuffer = FPosition - FReadAheadStart;
    if (inBuffer < 0 || inBuffer >= static_cast<int64_t>(FReadAhead.size())) {
        if (!FillReadAhead())
            return std::span<const uint8_t>();
        inBuffer = 0;
    }
    return std::span<const uint8_t>(FReadAhead).subspan(static_cast<size_t>(inBuffer));
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
    if (count <= 0 || FPosition < 0)
        return 0;
    FReadAhead.clear();
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    int32_t total = 0;
    while (total < count) {
        const ssize_t put = ::pwrite(FHandle, bytes + total, static_cast<size_t>(count - total),
                                     static_cast<off_t>(FPosition + total));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        total += static_cast<int32_t>(put);
    }
    FPosition += total;
    return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    FPosition = SeekTarget(*this, FPosition, offset, origin);
    return FPosition;
}

int64_t TFileStream::GetSize() {
    struct stat info;
    return ::fstat(FHandle, &info) == 0 ? static_cast<int64_t>(info.st_size) : 0;
}

void TFileStream::SetSize(int64_t newSize) {
    FReadAhead.clear();
    if (::ftruncate(FHandle, static_cast<off_t>(newSize)) != 0)
        throw EStreamError(
            Format("Cannot change the size of file \"%s\" (%s)", FFileName, std::strerror(errno)));
    if (FPosition > newSize)
        FPosition = newSize;
}

int32_t TMemoryStream::Read(void* buffer, int32_t count) {
    const int64_t size = GetSize();
    if (count <= 0 || FPosition < 0 || FPosition >= size)
        return 0;
    const auto n = static_cast<int32_t>(std::min<int64_t>(count, size - FPosition));
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

std::optional<std::span<const uint8_t>> TMemoryStream::PeekBuffer() {
    if (FPosition < 0 || FPosition >= GetSize())
        return std::span<const uint8_t>();
    return std::span<const uint8_t>(FData).subspan(static_cast<size_t>(FPosition));
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
    if (count <= 0 || FPosition < 0)
        return 0;
    const int64_t end = FPosition + count;
    if (end > GetSize())
        SetSize(end);
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    FPosition = SeekTarget(*this, FPosition, offset, origin);
    return FPosition;
}

void TMemoryStream::SetSize(int64_t newSize) {
    if (newSize < 0 || static_cast<uint64_t>(newSize) > FData.max_size())
        throw EStreamError("Out of memory while expanding memory stream");
    try {
        FData.resize(static_cast<size_t>(newSize));
    } catch (const std::bad_alloc&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
    if (FPosition > newSize)
        FPosition = newSize;
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    const int64_t size = source.GetSize();
    SetSize(size);
    if (size > 0)
        source.ReadBuffer(FData.data(), size);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& target) const {
    if (!FData.empty())
        target.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const AnsiString& fileName) const {
    WriteFileAtomically(fileName, FData.data(), FData.size());
}

} // namespace ClassLib
