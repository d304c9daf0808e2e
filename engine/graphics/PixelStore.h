// Where sprite frames keep their bytes. Frames are read or drawn whole right after they
// grow, so growing them never fills with zeros first. Many frames loaded together (a
// level's background tiles) can share one arena of fresh memory that is freed whole once
// the last of them is gone; everything else, and every copy, lives on the heap.
#pragma once

#include "platform/win32/PageBlock.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace Gfx {

class TPixelArena {
public:
    // Room for up to capacity bytes; later requests go to the heap.
    explicit TPixelArena(size_t capacity) : FBlock(capacity) {}

    // Null when the arena has no room left.
    void* Allocate(size_t size, size_t alignment);
    bool Holds(const void* p) const {
        const auto* byte = static_cast<const uint8_t*>(p);
        return byte >= FBlock.Data() && byte < FBlock.Data() + FBlock.Size();
    }
    size_t Used() const { return FUsed; }
    // No more allocations: the room left goes back to the system.
    void Seal() { FBlock.Trim(FUsed); }

private:
    Win32::TPageBlock FBlock;
    size_t FUsed = 0;
};

template <typename T>
class TPixelAllocator {
public:
    using value_type = T;
    using propagate_on_container_move_assignment = std::true_type;
    using propagate_on_container_swap = std::true_type;
    using is_always_equal = std::false_type;

    TPixelAllocator() noexcept = default;
    explicit TPixelAllocator(std::shared_ptr<TPixelArena> arena) noexcept
        : FArena(std::move(arena)) {}
    template <typename U>
    TPixelAllocator(const TPixelAllocator<U>& other) noexcept : FArena(other.Arena()) {}

    T* allocate(size_t n) {
        if (FArena)
            if (void* p = FArena->Allocate(n * sizeof(T), alignof(T)))
                return static_cast<T*>(p);
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, size_t n) noexcept {
        // The arena's bytes are freed with the arena.
        if (!FArena || !FArena->Holds(p))
            std::allocator<T>().deallocate(p, n);
    }
    template <typename U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    // Copies live on the heap, never in the arena of the frames they copy.
    TPixelAllocator select_on_container_copy_construction() const { return {}; }

    const std::shared_ptr<TPixelArena>& Arena() const noexcept { return FArena; }

    template <typename U>
    bool operator==(const TPixelAllocator<U>& other) const noexcept {
        return FArena == other.Arena();
    }

private:
    std::shared_ptr<TPixelArena> FArena;
};

using TPixelBytes = std::vector<uint8_t, TPixelAllocator<uint8_t>>;

} // namespace Gfx
