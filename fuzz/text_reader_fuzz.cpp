// Reads typed tokens from arbitrary bytes: only the reader's own errors may come out, and
// every way of reading must give exactly what one call per token from a stream that lends
// its buffer gives: the same tokens and places after each, and the same first error. The
// other ways: one call per token from a stream that lends nothing, and one reader kept
// across the bytes of such a stream (read in growing windows).
#include "engine/core/TextReader.h"
#include "platform/classlib/Exception.h"
#include "tests/support/UnlentStream.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// What one read gives: its value as text, or its error (where an error leaves the
// stream is nobody's business: the reading stops).
template <typename Source>
std::string ReadValue(Source source, int kind) {
    char buffer[16];
    try {
        switch (kind) {
        case 0:
            return Data::ReadTokenString(source);
        case 1:
            Data::ReadTokenBuffer(source, buffer, sizeof buffer);
            return buffer;
        case 2:
            return std::to_string(Data::ReadTokenInt(source));
        case 3:
            return std::to_string(Data::ReadTokenBool(source));
        default:
            return std::to_string(Data::ReadTokenBinary64(source));
        }
    } catch (const ClassLib::Exception& e) {
        return "error " + e.Message;
    }
}

// A CR ending the bytes leaves a stream one past their end (on its missing LF); the
// reader's remaining bytes are none.
std::string ReadOne(ClassLib::TStream& stream, int64_t size, int kind) {
    const std::string value = ReadValue<ClassLib::TStream*>(&stream, kind);
    return value.starts_with("error")
               ? value
               : value + " at " + std::to_string(std::min(stream.GetPosition(), size));
}

std::string ReadKept(Data::TTextReader& reader, int64_t size, int kind) {
    const std::string value = ReadValue<Data::TTextReader&>(reader, kind);
    return value.starts_with("error") ? value
                                      : value + " at " + std::to_string(size - reader.Remaining());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    ClassLib::TMemoryStream lending(bytes);
    TestSupport::TUnlentStream unlent(bytes);
    TestSupport::TUnlentStream kept(bytes);
    Data::TTextReader reader(kept);
    for (int i = 0; i < 64 && lending.Remaining() > 0; ++i) {
        const std::string read = ReadOne(lending, int64_t(size), i % 5);
        if (read != ReadOne(unlent, int64_t(size), i % 5) ||
            read != ReadKept(reader, int64_t(size), i % 5))
            std::abort();
        if (read.starts_with("error"))
            break;
    }
    return 0;
}
