// The synthesised sound libraries load through the game's sound library and
// every sound plays to its end.
#include "tools/content/SoundContent.h"
#include "engine/sound/AudioList.h"
#include "tests/engine/sound/AudioTestSupport.h"
#include "tests/support/TempDir.h"
#include "tools/ArchiveWriter.h"
#include "tools/content/ContentIds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <set>

using namespace Audio;
using namespace TestSupport;

namespace {

std::set<uint32_t> IDs(const TAudioList& list) {
    std::set<uint32_t> ids;
    for (int i = 0; i < list.Directory().Count(); ++i)
        ids.insert(list.Directory()[i].ID);
    return ids;
}

std::set<uint32_t> Range(uint32_t first, uint32_t last) {
    std::set<uint32_t> ids;
    for (uint32_t id = first; id <= last; ++id)
        ids.insert(id);
    return ids;
}

void Load(TAudioList& list, const TempDir& dir, const char* name, bool preload) {
    list.LoadFromStream(MemoryStream(Tools::LoadLooseFile(dir.File(name))), preload);
}

// Reads a sound to its end, as the sound framework would, and checks that it is
// neither silent nor clipped throughout.
std::vector<int16_t> PlayToEnd(TAudioList& list, uint32_t id) {
    auto stream = list.GetStream(id);
    std::vector<int16_t> samples = ReadToEnd(*stream);
    EXPECT_EQ(samples.size(), size_t(stream->Length()) * stream->Channels()) << id;
    int peak = 0;
    for (const int16_t s : samples)
        peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 8000) << "sound " << id << " is almost silent";
    return samples;
}

} // namespace

TEST(SoundContent, WritesTheSameLoadableLibrariesEveryTime) {
    TempDir first, second;
    const auto start = std::chrono::steady_clock::now();
    Content::WriteSounds(first.Path());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("Sounds written in %.2f s\n", took.count());
    Content::WriteSounds(second.Path());
    for (const char* name : {"effects.audl", "music.audl", "speech.audl"})
        EXPECT_EQ(Tools::LoadPlainFile(first.File(name)), Tools::LoadPlainFile(second.File(name)))
            << name;

    TAudioList effects;
    Load(effects, first, "effects.audl", true);
    std::set<uint32_t> expected = Range(1, 19);
    expected.merge(Range(21, 23));
    expected.merge(Range(103, 138)); // creature kinds 1-12, three sounds each
    expected.merge(Range(303, 332)); // spell families 1-10: cast, flight, impact
    EXPECT_EQ(IDs(effects), expected);
    for (const uint32_t id : expected) {
        const auto samples = PlayToEnd(effects, id);
        EXPECT_LT(samples.size(), id >= 21 && id <= 23 ? 22050u * 8 : 22050u * 2) << id;
    }

    TAudioList music;
    Load(music, first, "music.audl", false);
    // Main menu, map, credits and the towns' market theme.
    EXPECT_EQ(IDs(music), Range(1, Content::TownMusicID));
    for (const uint32_t id : Range(1, Content::TownMusicID)) {
        auto stream = music.GetStream(id);
        EXPECT_EQ(stream->Channels(), 2u);
        const double seconds = double(stream->Length()) / stream->SampleRate();
        EXPECT_GT(seconds, 10.0) << id;
        EXPECT_LT(seconds, 40.0) << id;
        PlayToEnd(music, id);
    }

    TAudioList speech;
    Load(speech, first, "speech.audl", false);
    EXPECT_EQ(IDs(speech), Range(1, 1));
    PlayToEnd(speech, 1);
}

TEST(SoundContent, WeatherLoopsJoinWithoutASeam) {
    TempDir dir;
    Content::WriteSounds(dir.Path());
    TAudioList effects;
    Load(effects, dir, "effects.audl", true);
    for (const uint32_t id : {21u, 22u, 23u}) {
        const auto samples = PlayToEnd(effects, id);
        ASSERT_GT(samples.size(), 2u);
        // The step from the last sample back to the first is no larger than the
        // steps the sound takes anywhere else.
        int steepest = 0;
        for (size_t i = 1; i < samples.size(); ++i)
            steepest = std::max(steepest, std::abs(samples[i] - samples[i - 1]));
        EXPECT_LE(std::abs(samples.front() - samples.back()), steepest) << id;
        EXPECT_GT(samples.size(), 22050u * 3) << id;
    }
}
