#include "engine/media/GfxKeyedRows.h"

#include "platform/PixelLayout.h"
#include "platform/PixelRows.h"

namespace Gfx {

using namespace DirectX;

namespace {
const uint8_t* Bytes(const void* p) {
    return static_cast<const uint8_t*>(p);
}
uint8_t* Bytes(void* p) {
    return static_cast<uint8_t*>(p);
}
} // namespace

void BlitKeyedRow16(const void* source, void* destination, int count, uint32_t key) {
    if (key > 0xFFFF) { // no 16-bit pixel equals it
        for (int i = 0; i < count; ++i)
            Store16(Bytes(destination) + 2 * i, Load16(Bytes(source) + 2 * i));
        return;
    }
    CopyRowKeyed16(static_cast<const uint16_t*>(source), static_cast<uint16_t*>(destination), count,
                   static_cast<uint16_t>(key));
}

void BlitKeyedRow24(const void* source, void* destination, int count, uint32_t key) {
    for (int i = 0; i < count; ++i) {
        const uint32_t pixel = Load24(Bytes(source) + 3 * i);
        if (pixel != key)
            Store24(Bytes(destination) + 3 * i, pixel);
    }
}

void BlitKeyedRow32(const void* source, void* destination, int count, uint32_t key) {
    CopyRowKeyed32(static_cast<const uint32_t*>(source), static_cast<uint32_t*>(destination), count,
                   key);
}

void BlitKeyedTintRow16(const void* source, void* destination, int count, uint32_t key,
                        uint32_t add) {
    for (int i = 0; i < count; ++i) {
        const uint32_t pixel = Load16(Bytes(source) + 2 * i);
        if (pixel != key)
            Store16(Bytes(destination) + 2 * i, pixel + add);
    }
}

void BlitKeyedTintRow24(const void* source, void* destination, int count, uint32_t key,
                        uint32_t add) {
    for (int i = 0; i < count; ++i) {
        const uint32_t pixel = Load24(Bytes(source) + 3 * i);
        if (pixel != key)
            Store24(Bytes(destination) + 3 * i, pixel + add);
    }
}

void BlitKeyedTintRow32(const void* source, void* destination, int count, uint32_t key,
                        uint32_t add) {
    for (int i = 0; i < count; ++i) {
        const uint32_t pixel = Load32(Bytes(source) + 4 * i);
        if (pixel != key)
            Store32(Bytes(destination) + 4 * i, pixel + add);
    }
}

} // namespace Gfx
