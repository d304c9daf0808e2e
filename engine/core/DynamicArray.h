// A growable array of plain values, streamed as a "list" chunk of raw elements.
#pragma once

#include "engine/core/StreamData.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

namespace Data {

template <typename T>
class TDynamicArray {
    static_assert(std::is_trivially_copyable_v<T>, "elements are streamed as raw bytes");

public:
    int Count() const { return static_cast<int>(FItems.size()); }
    T* Items() { return FItems.empty() ? nullptr : FItems.data(); }
    const T* Items() const { return FItems.empty() ? nullptr : FItems.data(); }
    T& operator[](int index) { return FItems[static_cast<size_t>(index)]; }
    const T& operator[](int index) const { return FItems[static_cast<size_t>(index)]; }
    auto begin() { return FItems.begin(); }
    auto end() { return FItems.end(); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

    // New elements are zero-filled.
    void SetCount(int count) {
        const size_t old = FItems.size();
        FItems.resize(static_cast<size_t>(std::max(count, 0)));
        if (FItems.size() > old)
            std::memset(static_cast<void*>(FItems.data() + old), 0,
                        (FItems.size() - old) * sizeof(T));
    }
    void Clear() {
        FItems.clear();
        FItems.shrink_to_fit();
    }
    void Add(const T& value) { FItems.push_back(value); }
    void Insert(int index, const T& value) { FItems.insert(FItems.begin() + index, value); }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    int IndexOf(const T& value) const {
        for (size_t i = 0; i < FItems.size(); ++i)
            if (std::memcmp(&FItems[i], &value, sizeof(T)) == 0)
                return static_cast<int>(i);
        return -1;
    }

    void LoadFromStream(TStream* stream) {
        ReadTag(*stream, "list");
        const int32_t count = ReadCount(*stream, static_cast<int64_t>(sizeof(T)));
        Clear();
        SetCount(count);
        if (count > 0)
            stream->ReadBuffer(FItems.data(), int64_t(count) * int64_t(sizeof(T)));
    }
    void SaveToStream(TStream* stream) const {
        WriteTag(*stream, "list");
        stream->WriteValue(static_cast<int32_t>(FItems.size()));
        if (!FItems.empty())
            stream->WriteBuffer(FItems.data(), static_cast<int64_t>(FItems.size() * sizeof(T)));
    }

protected:
    std::vector<T> FItems;
};

} // namespace Data
