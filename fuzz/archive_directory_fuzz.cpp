// Reads a packed archive's header and directory from arbitrary bytes: only
// "Invalid data." may come out, and every accepted entry lies inside the data.
#include "engine/core/Archive.h"
#include "platform/classlib/Exception.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ClassLib::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    Data::TDynamicArray<Data::TFileEntry> directory;
    try {
        const uint32_t dataStart = Data::ReadArchiveDirectory(stream, directory);
        for (const Data::TFileEntry& entry : directory) {
            const bool loose =
                entry.Offset == Data::LooseFileMark && entry.Size == Data::LooseFileMark;
            if (!loose && uint64_t(dataStart) + entry.Offset + entry.Size > size)
                std::abort();
        }
    } catch (const Data::EInvalidData&) {
    }
    return 0;
}
