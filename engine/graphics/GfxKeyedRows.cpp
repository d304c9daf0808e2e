#include "engine/graphics/GfxKeyedRows.h"

#include "platform/display/PixelLayout.h"
#include "platform/display/PixelRows.h"

namespace Gfx {

using namespace Win32;

namespace {
const uint8_t* Bytes(const void* p) {
    return static_cast<const uint8_t*>(p);
}
uint8_t* Bytes(void* p) {
    return static_cast<uint8_t*>(p);
}

// Stores the low Size bytes of pixel + add for every pixel that is not the key.
template <int Size>
void BlitKeyedTintRow(const void* source, void* destination, int count, uint32_t key,
                      uint32_t add) {
    for (int i = 0; i < count; ++i) {
        const uint32_t pixel = LoadPixel(Bytes(source) + Size * i, Size);
        if (pixel != key)
            StorePixel(Bytes(destination) + Size * i, Size, pixel + add);
    }
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
    CopyRowKeyed24(Bytes(source), Bytes(destination), count, key);
}

void BlitKeyedRow32(const void* source, void* destination, int count, uint32_t key) {
    CopyRowKeyed32(static_cast<const uint32_t*>(source), static_cast<uint32_t*>(destination), count,
                   key);
}

void BlitKeyedTintRow16(const void* source, void* destination, int count, uint32_t key,
                        uint32_t add) {
    BlitKeyedTintRow<2>(source, destination, count, key, add);
}

void BlitKeyedTintRow24(const void* source, void* destination, int count, uint32_t key,
                        uint32_t add) {
    BlitKeyedTintRow<3>(source, destination, count, key, add);
}

void BlitKeyedTintRow32(const void* source, void* destination, int count, uint32_t key,
                        uint32_t add) {
    BlitKeyedTintRow<4>(source, destination, count, key, add);
}

} // namespace Gfx
