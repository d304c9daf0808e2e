// Sorting and searching over arrays of pointers, shared by every list.
#pragma once

#include <cstdint>
#include <utility>

namespace Data {

// Not stable; the second half of each partition is iterated, not recursed, so
// the stack stays shallow on large lists.
template <typename T, typename Compare>
void QuickSort(T** items, int lo, int hi, Compare compare) {
    while (lo < hi) {
        T* const pivot = items[(lo + hi) >> 1];
        int i = lo;
        int j = hi;
        do {
            while (compare(items[i], pivot) < 0)
                ++i;
            while (compare(items[j], pivot) > 0)
                --j;
            if (j >= i) {
                std::swap(items[i], items[j]);
                ++i;
                --j;
            }
        } while (j >= i);
        if (j > lo)
            QuickSort(items, lo, j, compare);
        lo = i;
    }
}

template <typename T, typename Compare>
void QuickSort(T** items, int count, Compare compare) {
    if (count > 1)
        QuickSort(items, 0, count - 1, compare);
}

// Stores the first index whose item is not less than key (or count) and tells
// whether the item there equals key. compare(item, key).
template <typename T, typename Key, typename Compare>
bool BinarySearch(T* const* items, int count, const Key& key, Compare compare, int* index) {
    int lo = 0;
    int hi = count - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) >> 1;
        if (compare(items[mid], key) >= 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    *index = lo;
    return lo < count && compare(items[lo], key) == 0;
}

template <typename T, typename Compare>
bool IsSorted(T* const* items, int count, Compare compare) {
    for (int i = 0; i + 1 < count; ++i)
        if (compare(items[i + 1], items[i]) < 0)
            return false;
    return true;
}

// Unsigned identifier order, used by every ID-sorted list.
inline int CompareIDs(uint32_t a, uint32_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

} // namespace Data
