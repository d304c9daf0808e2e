// Bytes in a stream that lends no buffer, so a reader takes them with Read: the other
// half of a comparison with the streams that lend theirs.
#pragma once

#include "platform/classlib/Streams.h"

#include <cstdint>
#include <vector>

namespace TestSupport {

class TUnlentStream : public ClassLib::TStream {
public:
    explicit TUnlentStream(std::vector<uint8_t> bytes) : FBytes(std::move(bytes)) {}
    int32_t Read(void* buffer, int32_t count) override { return FBytes.Read(buffer, count); }
    int32_t Write(const void* buffer, int32_t count) override {
        return FBytes.Write(buffer, count);
    }
    int64_t Seek(int64_t offset, ClassLib::TSeekOrigin origin) override {
        return FBytes.Seek(offset, origin);
    }

private:
    ClassLib::TMemoryStream FBytes;
};

} // namespace TestSupport
