#include "engine/core/DynamicArray.h"
#include "engine/core/ObjectList.h"
#include "engine/core/Queue.h"
#include "engine/core/Sorting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace Data;
using ClassLib::TMemoryStream;

namespace {
struct Counted {
    explicit Counted(int v, int* deaths = nullptr) : Value(v), Deaths(deaths) {}
    virtual ~Counted() {
        if (Deaths)
            ++*Deaths;
    }
    int Value;
    int* Deaths;
};
int CompareValues(const Counted* a, const Counted* b) {
    return a->Value - b->Value;
}
} // namespace

TEST(Sorting, QuickSortSortsAndBinarySearchFindsTheFirstOfEqualItems) {
    std::mt19937 generator(7);
    std::vector<Counted> storage;
    for (int i = 0; i < 500; ++i)
        storage.emplace_back(static_cast<int>(generator() % 50));
    std::vector<Counted*> items;
    for (Counted& c : storage)
        items.push_back(&c);
    QuickSort(items.data(), static_cast<int>(items.size()), CompareValues);
    EXPECT_TRUE(IsSorted(items.data(), static_cast<int>(items.size()), CompareValues));

    const auto byKey = [](const Counted* item, int key) { return item->Value - key; };
    for (int key = -1; key <= 50; ++key) {
        int index = -5;
        const bool found = BinarySearch(items.data(), 500, key, byKey, &index);
        const auto lower = std::lower_bound(items.begin(), items.end(), key,
                                            [](const Counted* c, int k) { return c->Value < k; });
        EXPECT_EQ(index, lower - items.begin());
        EXPECT_EQ(found, lower != items.end() && (*lower)->Value == key);
    }
    int index = -5;
    EXPECT_FALSE(BinarySearch(items.data(), 0, 3, byKey, &index));
    EXPECT_EQ(index, 0);
    QuickSort(items.data(), 0, CompareValues); // nothing to do, must not touch the items
}

TEST(Sorting, IdentifiersCompareUnsigned) {
    EXPECT_EQ(CompareIDs(0x80000000u, 5u), 1);
    EXPECT_EQ(CompareIDs(5u, 0xFFFFFFFFu), -1);
    EXPECT_EQ(CompareIDs(9u, 9u), 0);
}

TEST(DynamicArray, SavesRawElementsAsAListChunk) {
    TDynamicArray<int16_t> array;
    array.Add(1);
    array.Add(-2);
    array.SetCount(3); // zero-filled
    EXPECT_EQ(array.IndexOf(-2), 1);
    EXPECT_EQ(array.IndexOf(9), -1);
    TMemoryStream stream;
    array.SaveToStream(&stream);
    const std::vector<uint8_t> expected = {'l', 'i', 's', 't', 3, 0, 0, 0, 1, 0, 0xFE, 0xFF, 0, 0};
    EXPECT_EQ(stream.Bytes(), expected);

    stream.SetPosition(0);
    TDynamicArray<int16_t> loaded;
    loaded.LoadFromStream(&stream);
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded[1], -2);
    EXPECT_EQ(loaded[2], 0);
}

TEST(DynamicArray, RejectsBadTagsAndCounts) {
    const std::vector<std::vector<uint8_t>> bad = {
        {'L', 'i', 's', 't', 0, 0, 0, 0},                   // tag differs in case
        {'l', 'i', 's', 't', 0xFF, 0xFF, 0xFF, 0xFF},       // negative count
        {'l', 'i', 's', 't', 2, 0, 0, 0, 1, 0, 0, 0, 2, 0}, // more elements than bytes
        {'l', 'i', 's', 't', 0xFF, 0xFF, 0xFF, 0x7F, 0, 0}, // a count no stream holds
    };
    for (const auto& bytes : bad) {
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        TDynamicArray<int32_t> array;
        EXPECT_THROW(array.LoadFromStream(&stream), EInvalidData);
    }
    TMemoryStream empty;
    empty.WriteBuffer("list\0\0\0\0", 8);
    empty.SetPosition(0);
    TDynamicArray<int32_t> array;
    array.Add(5);
    array.LoadFromStream(&empty);
    EXPECT_EQ(array.Count(), 0);
    EXPECT_EQ(array.Items(), nullptr);
}

TEST(ObjectList, OwningListDeletesOnDeleteClearAndDestruction) {
    int deaths = 0;
    {
        TObjectList<Counted> list(true);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(list.Add(new Counted(i, &deaths)), i);
        list.Delete(1);
        EXPECT_EQ(deaths, 1);
        EXPECT_EQ(list[1]->Value, 2); // the gap is closed
        list.Remove(list[0]);
        EXPECT_EQ(deaths, 2);
        Counted stranger(9);
        list.Remove(&stranger); // not in the list: nothing happens
        EXPECT_EQ(list.Count(), 2);
        EXPECT_THROW(list.Delete(2), ClassLib::EListError);
        EXPECT_THROW(list.Delete(-1), ClassLib::EListError);
    }
    EXPECT_EQ(deaths, 4);
}

TEST(ObjectList, NonOwningListLeavesItemsAlone) {
    int deaths = 0;
    Counted a(1, &deaths), b(2, &deaths);
    {
        TObjectList<Counted> list(false);
        list.Add(&b);
        list.Add(&a);
        list.Sort(CompareValues);
        EXPECT_EQ(list[0], &a);
        EXPECT_TRUE(list.IsSorted(CompareValues));
        list.Delete(0);
        list.Clear();
    }
    EXPECT_EQ(deaths, 0);
}

TEST(Queue, RingKeepsOneSlotFree) {
    TQueue<int16_t> queue;
    queue.SetCount(4);
    EXPECT_TRUE(queue.IsEmpty());
    for (int16_t i = 1; i <= 3; ++i)
        queue.Push(i);
    try {
        queue.Push(4);
        FAIL();
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message, "Queue overflow.");
    }
    EXPECT_EQ(queue.Pop(), 1);
    queue.Push(4); // wraps around
    EXPECT_EQ(queue.Pop(), 2);
    EXPECT_EQ(queue.Pop(), 3);
    EXPECT_EQ(queue.Pop(), 4);
    try {
        queue.Pop();
        FAIL();
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message, "Queue underflow.");
    }
}
