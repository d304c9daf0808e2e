#include "platform/win32/PageBlock.h"

#include <sys/mman.h>

#include <algorithm>
#include <new>

namespace Win32 {

namespace {

constexpr size_t SmallPage = 4096;
constexpr size_t LargePage = size_t(2) << 20;

size_t RoundUp(size_t value, size_t unit) {
    return (value + unit - 1) / unit * unit;
}

} // namespace

TPageBlock::TPageBlock(size_t size) : FSize(size) {
    if (size == 0)
        return;
    // One large page more, so that the block can start on a large page.
    FMappingSize = RoundUp(size, SmallPage) + LargePage;
    FMapping = mmap(nullptr, FMappingSize, PROT_READ | PROT_WRITE,
                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (FMapping == MAP_FAILED) {
        FMapping = nullptr;
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<uintptr_t>(FMapping);
    FData = reinterpret_cast<uint8_t*>(RoundUp(start, LargePage));
    const size_t mapped = RoundUp(size, SmallPage);
    // Both are hints: without large pages or early mapping the block still works, page
    // by page as it is touched.
#ifdef MADV_HUGEPAGE
    madvise(FData, mapped, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    madvise(FData, mapped, MADV_POPULATE_WRITE);
#endif
}

TPageBlock::~TPageBlock() {
    if (FMapping)
        munmap(FMapping, FMappingSize);
}

void TPageBlock::Trim(size_t used) {
    const size_t keep = RoundUp(std::min(used, FSize), SmallPage);
    const size_t mapped = RoundUp(FSize, SmallPage);
    if (FData && keep < mapped)
        madvise(FData + keep, mapped - keep, MADV_DONTNEED);
    FSize = std::min(used, FSize);
}

} // namespace Win32
