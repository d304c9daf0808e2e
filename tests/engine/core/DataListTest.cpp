#include "engine/core/DataList.h"
#include "engine/core/StreamData.h"

#include <gtest/gtest.h>

using namespace Data;
using ClassLib::Exception;
using ClassLib::TMemoryStream;

namespace {

// A small persistent type: a 16-bit X and a name after the identifier.
class TMarker : public TDataObject {
public:
    void Assign(const TDataObject* source) override {
        const auto* other = static_cast<const TMarker*>(source);
        ID = other->ID;
        X = other->X;
        Name = other->Name;
    }
    void LoadFromStream(TStream* stream) override {
        TDataObject::LoadFromStream(stream);
        X = stream->ReadValue<int16_t>();
        ReadStreamString(stream, Name);
    }
    void SaveToStream(TStream* stream) const override {
        TDataObject::SaveToStream(stream);
        stream->WriteValue(X);
        WriteStreamString(stream, Name);
    }
    void Clear() override {
        X = 0;
        Name.clear();
    }
    int16_t X = 0;
    AnsiString Name;
};

std::unique_ptr<TMarker> Marker(uint32_t id, int16_t x, const char* name) {
    auto marker = std::make_unique<TMarker>();
    marker->ID = id;
    marker->X = x;
    marker->Name = name;
    return marker;
}

TMemoryStream StreamOf(const std::vector<uint8_t>& bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    return stream;
}

// List ID 7 holding ID 2 (X -1, "ab") and ID 0x80000000 (X 3, "").
const std::vector<uint8_t> SavedList = {7, 0, 0, 0,    'l',  'i',  's', 't', 2, 0, 0,   0,   //
                                        2, 0, 0, 0,    0xFF, 0xFF, 2,   0,   0, 0, 'a', 'b', //
                                        0, 0, 0, 0x80, 3,    0,    0,   0,   0, 0};

} // namespace

TEST(DataList, SavesToTheExactBytesAndLoadsThemBack) {
    TDataList<TMarker> list;
    list.ID = 7;
    list.Add(Marker(0x80000000u, 3, ""));
    list.Add(Marker(2, -1, "ab"));
    TMemoryStream stream;
    list.SaveToStream(&stream);
    EXPECT_EQ(stream.Bytes(), SavedList);

    TMemoryStream input = StreamOf(SavedList);
    TDataList<TMarker> loaded;
    loaded.LoadFromStream(&input);
    EXPECT_EQ(loaded.ID, 7u);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.GetByID(2)->Name, "ab");
    EXPECT_EQ(loaded.GetByID(0x80000000u)->X, 3);
    TMemoryStream again;
    loaded.SaveToStream(&again);
    EXPECT_EQ(again.Bytes(), SavedList);
}

TEST(DataList, AnUnsortedStoredListComesBackSorted) {
    std::vector<uint8_t> bytes = {0, 0, 0, 0, 'l', 'i', 's', 't', 3, 0, 0, 0};
    for (uint8_t id : {9, 1, 5}) {
        const std::vector<uint8_t> item = {id, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        bytes.insert(bytes.end(), item.begin(), item.end());
    }
    TMemoryStream stream = StreamOf(bytes);
    TDataList<TMarker> list;
    list.LoadFromStream(&stream);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0]->ID, 1u);
    EXPECT_EQ(list[1]->ID, 5u);
    EXPECT_EQ(list[2]->ID, 9u);
}

TEST(DataList, AStoredDuplicateIsRefused) {
    std::vector<uint8_t> bytes = {0, 0, 0, 0, 'l', 'i', 's', 't', 2, 0, 0, 0};
    for (int i = 0; i < 2; ++i) {
        const std::vector<uint8_t> item = {6, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        bytes.insert(bytes.end(), item.begin(), item.end());
    }
    TMemoryStream stream = StreamOf(bytes);
    TDataList<TMarker> list;
    try {
        list.LoadFromStream(&stream);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Object with given ID is already in list (6).");
    }
}

TEST(DataList, LookupsAndDuplicatesRaiseTheirMessages) {
    TDataList<TMarker> list;
    list.Add(Marker(4, 0, "x"));
    EXPECT_EQ(list.GetByID(0), nullptr);
    EXPECT_EQ(list.FindByID(0), nullptr);
    EXPECT_EQ(list.FindByID(5), nullptr);
    try {
        list.GetByID(5);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Object with given ID not found (5).");
    }
    try {
        list.Add(Marker(4, 1, "again"));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Object with given ID is already in list (4).");
    }
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetByID(4)->Name, "x");
}

TEST(DataList, CopyFromCopiesItemsButNotTheListsOwnFields) {
    TDataList<TMarker> source;
    source.ID = 3;
    source.Add(Marker(1, 10, "a"));
    source.Add(Marker(2, 20, "b"));
    TDataList<TMarker> target(false);
    target.ID = 8;
    target.Add(Marker(5, 0, "old"));
    target.CopyFrom(&source);
    EXPECT_EQ(target.ID, 8u);
    EXPECT_FALSE(target.Sorted);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target[1]->X, 20);
    EXPECT_NE(target[1], source[1]);
    target.CopyFrom(&target); // onto itself: unchanged
    EXPECT_EQ(target.Count(), 2);

    TDataObject plain;
    EXPECT_THROW(plain.Assign(&source), Exception);
}

TEST(DataList, MalformedStreamsAreInvalidDataWithoutHugeAllocations) {
    const std::vector<std::vector<uint8_t>> bad = {
        {0, 0, 0, 0, 'l', 'i', 's', 'T', 0, 0, 0, 0},             // tag
        {0, 0, 0, 0, 'l', 'i', 's', 't', 0xFF, 0xFF, 0xFF, 0xFF}, // negative count
        {0, 0, 0, 0, 'l', 'i', 's', 't', 0xFF, 0xFF, 0xFF, 0x7F}, // more items than bytes
        // an item's string longer than the stream
        {0, 0, 0, 0, 'l', 'i', 's', 't', 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
        // a NUL inside a string
        {0, 0, 0, 0, 'l', 'i', 's', 't', 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 2, 0, 0, 0, 'a', 0},
    };
    for (const auto& bytes : bad) {
        TMemoryStream stream = StreamOf(bytes);
        TDataList<TMarker> list;
        EXPECT_THROW(list.LoadFromStream(&stream), EInvalidData);
    }
    TMemoryStream truncated = StreamOf({0, 0, 0, 0, 'l', 'i', 's', 't', 1, 0, 0, 0, 1, 0, 0, 0});
    TDataList<TMarker> list;
    EXPECT_THROW(list.LoadFromStream(&truncated), ClassLib::EReadError);
}
