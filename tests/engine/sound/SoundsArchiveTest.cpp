// The whole path a sound takes in the game: data.ini names the data folder,
// the "sounds" archive holds a sound library, and every sound decodes and
// seeks to the exact sample frame, packed or from a loose folder.
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/sound/AXStream.h"
#include "engine/sound/AudioList.h"
#include "tests/engine/sound/AudioTestSupport.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tone.h"
#include "tools/ArchiveWriter.h"
#include "tools/AudioWriters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace Audio;
using namespace TestSupport;

namespace {

constexpr uint32_t PCMID = 100, ADPCMID = 200, MP3ID = 300;
constexpr uint32_t ADPCMFrames = 2 * AXSeekInterval + 4321;

struct TSoundFixture {
    std::vector<int16_t> PCM = MakeTone(3000, 2);
    std::vector<int16_t> Long = MakeTone(ADPCMFrames, 2);
    std::vector<int16_t> Music = MakeTone(60000, 2);

    Bytes Library() const {
        Tools::TAudioListWriter writer;
        writer.Add(ADPCMID, alAX, Tools::EncodeAX(Long.data(), ADPCMFrames, {44100, 16, 2, 4}, 0));
        writer.Add(MP3ID, alMP3,
                   Tools::EncodeMP3(Music.data(), 60000, {44100, 2, true, 4, 128, "Theme"}));
        writer.Add(PCMID, alAX, Tools::EncodeAX(PCM.data(), 3000, {44100, 16, 2, 4}, omWritePCM));
        return writer.Build();
    }
};

class SoundsArchive : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedProgramPath = Base::ProgramPath;
        FSavedDataPath = Data::DataPath;
        Base::ProgramPath = FDir.Path();
        std::ofstream(FDir.File("data.ini")) << "[Main]\nDataPath=Game\\Data\n";
        std::filesystem::create_directories(FDir.File("Game/Data"));
        Data::ReadDataPath();
    }
    void TearDown() override {
        Base::ProgramPath = FSavedProgramPath;
        Data::DataPath = FSavedDataPath;
    }

    // Every sound of the library plays as it was made, from the start and from anywhere.
    void CheckLibrary(TAudioList& list) {
        auto pcm = list.GetStream(PCMID);
        EXPECT_EQ(ReadToEnd(*pcm), Sounds.PCM);
        pcm->Seek(1234);
        EXPECT_EQ(ReadSamples(*pcm, 50), Slice(Sounds.PCM, 2, 1234, 50));

        auto adpcm = list.GetStream(ADPCMID);
        EXPECT_EQ(adpcm->Length(), ADPCMFrames);
        const auto decoded = ReadToEnd(*adpcm);
        ASSERT_EQ(decoded.size(), Sounds.Long.size());
        for (const uint32_t frame : {ADPCMFrames - 50, 70000u, 65536u, 3u, 131071u}) {
            adpcm->Seek(frame);
            EXPECT_EQ(ReadSamples(*adpcm, 50), Slice(decoded, 2, frame, 50)) << frame;
        }

        auto music = list.GetStream(MP3ID);
        EXPECT_EQ(music->Length(), 60000u);
        const auto played = ReadToEnd(*music);
        ASSERT_EQ(played.size(), Sounds.Music.size());
        for (const uint32_t frame : {59000u, 1u, 33333u}) {
            music->Seek(frame);
            EXPECT_LE(MaxDifference(ReadSamples(*music, 200), Slice(played, 2, frame, 200)), 1)
                << frame;
        }
    }

    TestSupport::TempDir FDir;
    TSoundFixture Sounds;

private:
    AnsiString FSavedProgramPath;
    AnsiString FSavedDataPath;
};

} // namespace

TEST_F(SoundsArchive, PackedArchiveFoundThroughDataIni) {
    EXPECT_EQ(Data::DataPath, FDir.Path() + "Game/Data/");
    Tools::TArchiveWriter writer;
    writer.AddFile("Effects.AUDL", Sounds.Library());
    writer.AddFile("readme.txt", {'h', 'i'});
    writer.SaveToFile(Data::DataPath + "sounds.dat");

    const Data::TArchive archive("sounds", Data::arAutomatic);
    EXPECT_EQ(archive.Mode, Data::arPacked);
    for (const bool preload : {false, true}) {
        SCOPED_TRACE(preload ? "preloaded" : "streamed");
        TAudioList list;
        list.LoadFromArchive(archive, "effects.audl", preload);
        CheckLibrary(list);
    }
}

TEST_F(SoundsArchive, PreloadedLibraryOutlivesItsFile) {
    Tools::TArchiveWriter writer;
    writer.AddFile("effects.audl", Sounds.Library());
    writer.SaveToFile(Data::DataPath + "sounds.dat");
    TAudioList list;
    list.LoadFromArchive(Data::TArchive("sounds", Data::arPacked), "EFFECTS.AUDL", true);
    // The MP3 keeps its own window onto the file; the AX sounds were read whole.
    std::filesystem::remove(Data::DataPath + "sounds.dat");
    EXPECT_EQ(ReadToEnd(*list.GetStream(PCMID)), Sounds.PCM);
}

TEST_F(SoundsArchive, LooseFolderStandsInForTheArchive) {
    std::filesystem::create_directories(Data::DataPath + "Sounds");
    Tools::SaveLooseFile(Data::DataPath + "Sounds/Effects.audl", Sounds.Library());
    const Data::TArchive archive("sounds", Data::arAutomatic);
    EXPECT_EQ(archive.Mode, Data::arFolder);
    TAudioList list;
    list.LoadFromArchive(archive, "EFFECTS.AUDL", false);
    CheckLibrary(list);
}

TEST_F(SoundsArchive, PackerToolPacksTheLooseFolder) {
    const AnsiString folder = FDir.Path() + "work/";
    std::filesystem::create_directories(folder);
    Tools::SaveLooseFile(folder + "effects.audl", Sounds.Library());
    Tools::SaveLooseFile(folder + "notes.txt", {'o', 'k'});
    EXPECT_EQ(Tools::PackFolder(folder, Data::DataPath + "sounds.dat", false), 2);
    const Data::TArchive archive("sounds", Data::arPacked);
    ASSERT_EQ(archive.Count(), 2);
    EXPECT_EQ(archive.Directory[0].Offset, 0u);
    TAudioList list;
    list.LoadFromArchive(archive, "Effects.audl", false);
    CheckLibrary(list);

    // Plain files are packed as they are.
    std::ofstream(folder + "plain.txt") << "plain";
    std::filesystem::remove(folder + "effects.audl");
    std::filesystem::remove(folder + "notes.txt");
    EXPECT_EQ(Tools::PackFolder(folder, Data::DataPath + "plain.dat", true), 1);
    auto stream = Data::TArchive("plain", Data::arPacked).OpenFile("PLAIN.TXT");
    std::string text(5, '\0');
    stream->ReadBuffer(text.data(), 5);
    EXPECT_EQ(text, "plain");
}
