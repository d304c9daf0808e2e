// Sprite libraries of any bytes, read whole and by directory with every sprite acquired.
#include "engine/graphics/SpriteList.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    try {
        Gfx::TSpriteList library(0);
        ClassLib::TMemoryStream stream(bytes);
        library.LoadFromStream(&stream);
    } catch (const std::exception&) {
    }
    Gfx::TSpriteList library(Gfx::slDirectory);
    try {
        library.OpenDirectory(std::make_unique<ClassLib::TMemoryStream>(bytes));
    } catch (const std::exception&) {
        return 0;
    }
    for (const Gfx::TSpriteEntry& entry : library.Directory())
        try {
            library.ReleaseSpriteByPointer(library.AcquireSpriteByID(entry.ID));
        } catch (const std::exception&) {
        }
    return 0;
}
