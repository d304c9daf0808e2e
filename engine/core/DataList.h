// A persistent list of identified objects, kept in ascending identifier order
// for binary-search look-ups. Saved as its own identifier and a "list" chunk.
#pragma once

#include "engine/core/DataObject.h"
#include "engine/core/ObjectList.h"

#include <memory>
#include <type_traits>

namespace Data {

template <typename T>
class TDataList : public TDataObject {
    static_assert(std::is_base_of_v<TDataObject, T>);

public:
    explicit TDataList(bool sorted = true) : Sorted(sorted) {}

    int Count() const { return FList.Count(); }
    T* operator[](int index) const { return FList[index]; }
    auto begin() const { return FList.begin(); }
    auto end() const { return FList.end(); }
    TObjectList<T>& List() { return FList; }
    const TObjectList<T>& List() const { return FList; }

    // Null for ID 0; raises "Object with given ID not found (%d)." when absent.
    T* GetByID(uint32_t id) const {
        if (id == 0)
            return nullptr;
        T* item = FindByID(id);
        if (!item)
            throw ClassLib::Exception(
                ClassLib::Format("Object with given ID not found (%d).", static_cast<int>(id)));
        return item;
    }
    // Null for ID 0 or when absent.
    T* FindByID(uint32_t id) const {
        if (id == 0)
            return nullptr;
        int index = 0;
        return FList.BinarySearch(id, CompareToID, &index) ? FList[index] : nullptr;
    }
    // Inserts in identifier order; a duplicate raises
    // "Object with given ID is already in list (%d)." and is discarded.
    T* Add(std::unique_ptr<T> item) {
        int index = 0;
        if (FList.BinarySearch(item->ID, CompareToID, &index))
            throw ClassLib::Exception(ClassLib::Format(
                "Object with given ID is already in list (%d).", static_cast<int>(item->ID)));
        T* raw = item.release();
        FList.Insert(index, raw);
        return raw;
    }
    void Delete(int index) { FList.Delete(index); }
    void Remove(T* item) { FList.Remove(item); }
    void SortByID() { FList.Sort(CompareItems); }

    void Assign(const TDataObject* source) override {
        const auto* other = dynamic_cast<const TDataList<T>*>(source);
        if (!other) {
            TDataObject::Assign(source);
            return;
        }
        FList.SetCapacity(other->Count());
        for (T* sourceItem : other->FList) {
            auto copy = std::make_unique<T>();
            copy->CopyFrom(sourceItem);
            FList.Add(copy.release());
        }
    }

    void LoadFromStream(TStream* stream) override {
        TDataObject::LoadFromStream(stream);
        ReadTag(*stream, "list");
        // Every item holds at least its 4-byte identifier.
        const int32_t count = ReadCount(*stream, 4);
        FList.SetCapacity(count);
        for (int32_t i = 0; i < count; ++i) {
            auto item = std::make_unique<T>();
            item->LoadFromStream(stream);
            FList.Add(item.release());
        }
        if (Sorted) {
            SortByID();
            // Look-ups need unique identifiers; stored duplicates are corrupt data.
            for (int i = 1; i < FList.Count(); ++i)
                if (FList[i]->ID == FList[i - 1]->ID)
                    throw ClassLib::Exception(
                        ClassLib::Format("Object with given ID is already in list (%d).",
                                         static_cast<int>(FList[i]->ID)));
        }
    }
    void SaveToStream(TStream* stream) const override {
        TDataObject::SaveToStream(stream);
        WriteTag(*stream, "list");
        stream->WriteValue(static_cast<int32_t>(FList.Count()));
        for (const T* item : FList)
            item->SaveToStream(stream);
    }
    void Clear() override { FList.Clear(); }

    bool Sorted;

private:
    static int CompareToID(const T* item, uint32_t id) { return CompareIDs(item->ID, id); }
    static int CompareItems(const T* a, const T* b) { return CompareIDs(a->ID, b->ID); }

    TObjectList<T> FList{true};
};

} // namespace Data
