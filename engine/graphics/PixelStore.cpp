#include "engine/graphics/PixelStore.h"

namespace Gfx {

void* TPixelArena::Allocate(size_t size, size_t alignment) {
    const size_t start = (FUsed + alignment - 1) / alignment * alignment;
    if (start > FBlock.Size() || size > FBlock.Size() - start)
        return nullptr;
    FUsed = start + size;
    return FBlock.Data() + start;
}

} // namespace Gfx
