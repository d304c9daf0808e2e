#include "engine/sound/AudioList.h"
#include "engine/sound/AXStream.h"
#include "tests/engine/sound/AudioTestSupport.h"
#include "tests/support/Tone.h"
#include "tools/AudioWriters.h"

#include <gtest/gtest.h>

using namespace Audio;
using namespace TestSupport;

namespace {

Bytes PCMSound(uint32_t frames, uint32_t channels) {
    const auto tone = MakeTone(frames, channels);
    return Tools::EncodeAX(tone.data(), frames, {44100, 16, channels, 2 * channels}, omWritePCM);
}

Bytes Library(std::initializer_list<std::pair<uint32_t, Bytes>> sounds) {
    Tools::TAudioListWriter writer;
    for (const auto& [id, bytes] : sounds)
        writer.Add(id, alAX, bytes);
    return writer.Build();
}

} // namespace

TEST(AudioList, FindsSoundsByID) {
    TAudioList list;
    list.LoadFromStream(MemoryStream(Library({{30, PCMSound(300, 2)},
                                              {10, PCMSound(100, 1)},
                                              {20, PCMSound(200, 2)},
                                              {20, PCMSound(222, 1)}})),
                        false);
    ASSERT_EQ(list.Directory().Count(), 4);
    EXPECT_EQ(list.Directory()[0].ID, 10u);
    EXPECT_EQ(list.FindStream(0), nullptr);
    EXPECT_EQ(list.FindStream(15), nullptr);
    EXPECT_EQ(list.FindStream(31), nullptr);
    EXPECT_EQ(list.GetStream(0), nullptr);
    EXPECT_EQ(ErrorOf([&] { list.GetStream(15); }), "Audio stream with given ID not found (15).");

    auto stream = list.FindStream(30);
    ASSERT_NE(stream, nullptr);
    EXPECT_TRUE(stream.get_deleter().Owns);
    EXPECT_EQ(stream->Length(), 300u);
    EXPECT_EQ(ReadToEnd(*stream), MakeTone(300, 2));
    EXPECT_EQ(list.GetStream(10)->Channels(), 1u);
    EXPECT_EQ(list.FindStream(20)->Length(), 200u); // the first of equal IDs
}

TEST(AudioList, PreloadedLibrariesLendTheirStreams) {
    TAudioList list;
    list.LoadFromStream(MemoryStream(Library({{1, PCMSound(100, 2)}, {2, PCMSound(50000, 2)}})),
                        true);
    EXPECT_TRUE(list.Preload());
    auto first = list.FindStream(2);
    auto again = list.FindStream(2);
    EXPECT_FALSE(first.get_deleter().Owns);
    EXPECT_EQ(first.get(), again.get());
    auto* ax = dynamic_cast<TAXStream*>(first.get());
    ASSERT_NE(ax, nullptr);
    EXPECT_TRUE(ax->HoldsWholeData());
    EXPECT_EQ(ReadToEnd(*first), MakeTone(50000, 2));
}

TEST(AudioList, BadLibrariesAreInvalidData) {
    auto entry = [](uint32_t id, uint32_t offset, uint32_t size, uint8_t type) {
        Bytes bytes(16, 0);
        Put(bytes, 0, id);
        Put(bytes, 4, offset);
        Put(bytes, 8, size);
        bytes[12] = type;
        return bytes;
    };
    auto library = [](const char* signature, int32_t count, std::vector<Bytes> entries,
                      size_t dataSize) {
        Bytes bytes(8, 0);
        std::memcpy(bytes.data(), signature, 4);
        Put(bytes, 4, count);
        for (const Bytes& e : entries)
            bytes.insert(bytes.end(), e.begin(), e.end());
        bytes.resize(bytes.size() + dataSize);
        return bytes;
    };
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"signature", library("AUDX", 0, {}, 0)},
        {"negative count", library("AUDL", -1, {}, 0)},
        {"count beyond the file", library("AUDL", 3, {entry(1, 0, 0, 1)}, 0)},
        {"IDs going down", library("AUDL", 2, {entry(2, 0, 0, 1), entry(1, 0, 0, 1)}, 0)},
        {"type 3", library("AUDL", 1, {entry(1, 0, 0, 3)}, 0)},
        {"type 0", library("AUDL", 1, {entry(1, 0, 0, 0)}, 0)},
        {"entry beyond the data", library("AUDL", 1, {entry(1, 10, 11, 1)}, 20)},
        {"entry size wraps", library("AUDL", 1, {entry(1, 10, 0xFFFFFFF8, 1)}, 20)},
    };
    for (const auto& c : cases) {
        TAudioList list;
        EXPECT_EQ(ErrorOf([&] { list.LoadFromStream(MemoryStream(c.bytes), false); }),
                  "Invalid data.")
            << c.what;
    }
    // A sound that is not what its entry says fails when it is opened.
    TAudioList list;
    list.LoadFromStream(MemoryStream(library("AUDL", 1, {entry(7, 0, 20, 1)}, 20)), false);
    EXPECT_EQ(ErrorOf([&] { list.FindStream(7); }), "Invalid AX file.");
    EXPECT_EQ(ErrorOf([&] {
                  list.LoadFromStream(MemoryStream(library("AUDL", 1, {entry(7, 0, 20, 2)}, 20)),
                                      true);
              }),
              "Error opening MP3.");
}
