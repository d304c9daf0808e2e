// Reads typed tokens from arbitrary bytes: only the reader's own errors may come out.
#include "engine/core/TextReader.h"
#include "platform/classlib/Exception.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ClassLib::TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    char buffer[16];
    try {
        for (int i = 0; i < 64 && stream.Remaining() > 0; ++i) {
            switch (i % 5) {
            case 0:
                Data::ReadTokenString(&stream);
                break;
            case 1:
                Data::ReadTokenBuffer(&stream, buffer, sizeof buffer);
                break;
            case 2:
                Data::ReadTokenInt(&stream);
                break;
            case 3:
                Data::ReadTokenBool(&stream);
                break;
            default:
                Data::ReadTokenBinary64(&stream);
            }
        }
    } catch (const ClassLib::Exception&) {
    }
    return 0;
}
