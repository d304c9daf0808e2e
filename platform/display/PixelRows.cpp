// The keyed copies work on 16 bytes at a time through the compiler's vector
// extension, which becomes SSE2 or NEON selects: a keyed sprite row costs about
// as much as a plain copy.
#include "platform/display/PixelRows.h"

#include <cstring>

namespace Win32 {

namespace {
typedef uint16_t TVector16 __attribute__((vector_size(16)));
typedef uint32_t TVector32 __attribute__((vector_size(16)));

template <class T, class TVector>
void CopyKeyedVector(const T* source, T* target, int count, T key) {
    constexpr int Lanes = 16 / sizeof(T);
    const TVector keys = TVector{} + key;
    int i = 0;
    for (; i + Lanes <= count; i += Lanes) {
        TVector s, d;
        std::memcpy(&s, source + i, sizeof s);
        std::memcpy(&d, target + i, sizeof d);
        const auto transparent = (TVector)(s == keys);
        d = (d & transparent) | (s & ~transparent);
        std::memcpy(target + i, &d, sizeof d);
    }
    for (; i < count; ++i)
        if (source[i] != key)
            target[i] = source[i];
}
} // namespace

void CopyRowKeyed16(const uint16_t* source, uint16_t* target, int count, uint16_t key) {
    CopyKeyedVector<uint16_t, TVector16>(source, target, count, key);
}

void CopyRowKeyed32(const uint32_t* source, uint32_t* target, int count, uint32_t key) {
    CopyKeyedVector<uint32_t, TVector32>(source, target, count, key);
}

void CopyRowKeyed24(const uint8_t* source, uint8_t* target, int count, uint32_t key) {
    for (int i = 0; i < count; ++i, source += 3, target += 3)
        if ((uint32_t(source[0]) | uint32_t(source[1]) << 8 | uint32_t(source[2]) << 16) != key) {
            target[0] = source[0];
            target[1] = source[1];
            target[2] = source[2];
        }
}

} // namespace Win32
