// A large block of fresh, zeroed memory that is filled soon after it is made (a level's
// background pixels): reserved on large pages where the system offers them and mapped
// up front, since taking thousands of fresh 4 KB pages one fault at a time costs far
// more than filling them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Win32 {

class TPageBlock {
public:
    // Raises std::bad_alloc when the system has no room.
    explicit TPageBlock(size_t size);
    ~TPageBlock();
    TPageBlock(const TPageBlock&) = delete;
    TPageBlock& operator=(const TPageBlock&) = delete;

    uint8_t* Data() const { return FData; }
    size_t Size() const { return FSize; }
    // Gives the pages past the first used bytes back to the system.
    void Trim(size_t used);

private:
    void* FMapping = nullptr;
    size_t FMappingSize = 0;
    uint8_t* FData = nullptr;
    size_t FSize = 0;
};

} // namespace Win32
