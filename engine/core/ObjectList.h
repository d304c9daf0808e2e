// A list of pointers that owns and deletes its items, or not, as chosen at construction.
#pragma once

#include "engine/core/Sorting.h"
#include "platform/classlib/Exception.h"

#include <utility>
#include <vector>

namespace Data {

template <typename T>
class TObjectList {
public:
    explicit TObjectList(bool ownsObjects = true) : FOwnsObjects(ownsObjects) {}
    TObjectList(const TObjectList&) = delete;
    TObjectList& operator=(const TObjectList&) = delete;
    virtual ~TObjectList() { Clear(); }

    bool OwnsObjects() const { return FOwnsObjects; }
    int Count() const { return static_cast<int>(FItems.size()); }
    int Capacity() const { return static_cast<int>(FItems.capacity()); }
    void SetCapacity(int capacity) {
        if (capacity > Count())
            FItems.reserve(static_cast<size_t>(capacity));
    }
    T* operator[](int index) const { return FItems[static_cast<size_t>(index)]; }
    T* const* Items() const { return FItems.data(); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

    // Takes the item (when owning, also if adding fails) and returns its index.
    int Add(T* item) { return Insert(Count(), item); }
    int Insert(int index, T* item) {
        CheckIndex(index, true, item);
        try {
            FItems.insert(FItems.begin() + index, item);
        } catch (...) {
            Dispose(item);
            throw;
        }
        return index;
    }
    // Removes the item, deleting it when owning; raises EListError for a bad index.
    void Delete(int index) {
        CheckIndex(index, false, nullptr);
        T* item = FItems[static_cast<size_t>(index)];
        FItems.erase(FItems.begin() + index);
        Dispose(item);
    }
    // Removes the item without deleting it.
    T* Extract(int index) {
        CheckIndex(index, false, nullptr);
        T* item = FItems[static_cast<size_t>(index)];
        FItems.erase(FItems.begin() + index);
        return item;
    }
    // Does nothing when item is not in the list.
    void Remove(T* item) {
        const int index = IndexOf(item);
        if (index >= 0)
            Delete(index);
    }
    // Swaps two entries; raises EListError for a bad index.
    void Exchange(int a, int b) {
        CheckIndex(a, false, nullptr);
        CheckIndex(b, false, nullptr);
        std::swap(FItems[static_cast<size_t>(a)], FItems[static_cast<size_t>(b)]);
    }
    int IndexOf(const T* item) const {
        for (size_t i = 0; i < FItems.size(); ++i)
            if (FItems[i] == item)
                return static_cast<int>(i);
        return -1;
    }
    void Clear() {
        std::vector<T*> items;
        items.swap(FItems);
        for (T* item : items)
            Dispose(item);
    }

    template <typename Compare>
    void Sort(Compare compare) {
        QuickSort(FItems.data(), Count(), compare);
    }
    template <typename Key, typename Compare>
    bool BinarySearch(const Key& key, Compare compare, int* index) const {
        return Data::BinarySearch(FItems.data(), Count(), key, compare, index);
    }
    template <typename Compare>
    bool IsSorted(Compare compare) const {
        return Data::IsSorted(FItems.data(), Count(), compare);
    }

private:
    void CheckIndex(int index, bool allowEnd, T* pending) {
        if (index < 0 || index > Count() || (index == Count() && !allowEnd)) {
            Dispose(pending);
            throw ClassLib::EListError(ClassLib::Format("List index out of bounds (%d)", index));
        }
    }
    void Dispose(T* item) {
        if (FOwnsObjects)
            delete item;
    }

    std::vector<T*> FItems;
    bool FOwnsObjects;
};

} // namespace Data
