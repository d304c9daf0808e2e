// Reads typed tokens from arbitrary bytes: only the reader's own errors may come out, and
// a stream that lends its buffer to the reader must give exactly what one read through
// Read gives: the same tokens and positions after each, and the same first error.
#include "engine/core/TextReader.h"
#include "platform/classlib/Exception.h"
#include "tests/support/UnlentStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// What one read gives: its value as text and where the stream stands, or its error (where
// an error leaves the stream is nobody's business: the reading stops).
std::string ReadOne(ClassLib::TStream& stream, int kind) {
    char buffer[16];
    std::string result;
    try {
        switch (kind) {
        case 0:
            result = Data::ReadTokenString(&stream);
            break;
        case 1:
            Data::ReadTokenBuffer(&stream, buffer, sizeof buffer);
            result = buffer;
            break;
        case 2:
            result = std::to_string(Data::ReadTokenInt(&stream));
            break;
        case 3:
            result = std::to_string(Data::ReadTokenBool(&stream));
            break;
        default:
            result = std::to_string(Data::ReadTokenBinary64(&stream));
        }
    } catch (const ClassLib::Exception& e) {
        return "error " + e.Message;
    }
    return result + " at " + std::to_string(stream.GetPosition());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ClassLib::TMemoryStream lending(std::vector<uint8_t>(data, data + size));
    TestSupport::TUnlentStream unlent(std::vector<uint8_t>(data, data + size));
    for (int i = 0; i < 64 && lending.Remaining() > 0; ++i) {
        const std::string read = ReadOne(lending, i % 5);
        if (read != ReadOne(unlent, i % 5))
            std::abort();
        if (read.starts_with("error"))
            break;
    }
    return 0;
}
