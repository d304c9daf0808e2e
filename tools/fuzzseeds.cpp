// Writes the fuzz targets' seed corpora with the project's own writers.
//   vrn_fuzz_seeds <fuzz/corpus folder>
#include "engine/core/CryptoStream.h"
#include "engine/sound/AudioList.h"
#include "fuzz/AIHandlerWorld.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"
#include "platform/net/DirectPlayWire.h"
#include "tools/ArchiveWriter.h"
#include "tools/AudioWriters.h"
#include "tools/FontBuilder.h"
#include "tools/LZRW1KHWriter.h"
#include "tools/SpriteWriter.h"
#include "tools/levels/LevelBuilder.h"
#include "tools/levels/SeedLevel.h"

#include <cstring>

#include <array>
#include <cmath>
#include <cstdio>

namespace {

using ClassLib::AnsiString;
using Tools::TBytes;

std::vector<int16_t> Tone(uint32_t frames, uint32_t channels) {
    std::vector<int16_t> samples(size_t(frames) * channels);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(12000 * std::sin(0.05 * double(i / channels)));
    return samples;
}

void Save(const AnsiString& folder, const AnsiString& name, const TBytes& bytes) {
    ClassLib::ForceDirectories(folder);
    ClassLib::WriteFileAtomically(folder + "/" + name, bytes.data(), bytes.size());
}

// The archive's bytes before scrambling, as the directory reader sees them.
TBytes PlainArchive(const Tools::TArchiveWriter& writer) {
    TBytes bytes = writer.Build("seed.dat");
    const AnsiString key = Data::CryptKey("seed.dat");
    Data::Decode(bytes.data(), static_cast<int64_t>(bytes.size()), Data::HashKey(key.c_str()), key,
                 0);
    return bytes;
}

// A small picture with transparent pixels, runs and varied colours.
Tools::TPicture SeedPicture(int width, int height) {
    Tools::TPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Pixels.push_back((x + y) % 4 == 0 ? 0u
                                     : y == 2         ? 0xFF204080u
                                                      : 0xFF000000u | uint32_t(x * 40 + y * 7));
    return picture;
}

void SaveSpriteSeeds(const AnsiString& corpus) {
    const std::vector<Tools::TPicture> frames{SeedPicture(7, 5), SeedPicture(7, 5)};
    std::vector<TBytes> records;
    const auto save = [&](const char* name, Tools::TSpriteOptions options) {
        options.ID = uint32_t(records.size() + 1);
        records.push_back(Tools::EncodeSprite(frames, options));
        Save(corpus + "/fuzz_gfx", name, records.back());
    };
    for (int kind = 0; kind <= 3; ++kind) {
        Tools::TSpriteOptions options;
        options.Kind = kind;
        options.SubMode = kind;
        save(("kind" + std::to_string(kind) + ".gfx").c_str(), options);
    }
    Tools::TSpriteOptions shadowed;
    shadowed.Bits = 24;
    shadowed.Shadows = frames;
    save("shadowed24.gfx", shadowed);
    Tools::TSpriteOptions blended;
    blended.BlendMode = 0xFF;
    blended.Kind = 3;
    save("blended_compressed.gfx", blended);
    Save(corpus + "/fuzz_gfxl", "six_sprites.gfxl", Tools::EncodeSpriteLibrary(9, records));
    Save(corpus + "/fuzz_gfxl", "empty.gfxl", Tools::EncodeSpriteLibrary(0, {}));

    TBytes text(600);
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<uint8_t>(i % 50 < 30 ? 'a' + i % 7 : 0x20);
    TBytes block = Tools::LZRW1KHCompress(text.data(), text.size());
    block.insert(block.begin(), {0x00, 0x04}); // room for 1024 bytes
    Save(corpus + "/fuzz_lzrw1kh", "block.bin", block);
    TBytes blocks = Tools::LZRW1KHCompressBlocks(text.data(), text.size(), 256);
    blocks.insert(blocks.begin(), {0x58, 0x02}); // exactly 600 bytes
    Save(corpus + "/fuzz_lzrw1kh", "blocks.bin", blocks);
}

TBytes FontRecord(const Gfx::TFont& font) {
    ClassLib::TMemoryStream stream;
    font.SaveToStream(&stream);
    return stream.Bytes();
}

// A font from the builder and a tiny 24-bit one.
void SaveFontSeeds(const AnsiString& corpus) {
    Gfx::TFont font;
    Tools::TFontBuildOptions options;
    options.PixelSize = 5;
    Tools::BuildFont(Tools::DefaultFontFile, options, font);
    Save(corpus + "/fuzz_font", "dejavu5.font", FontRecord(font));
    std::array<int16_t, Gfx::GlyphCount> widths;
    widths.fill(1);
    widths[' '] = 0;
    font.SetGlyphs(24, 2, 1, widths, 0x00FF00, TBytes(2 * 256 * 3, 0x40));
    Save(corpus + "/fuzz_font", "tiny24.font", FontRecord(font));
}

// Streams a joined peer sends after its handshake; player numbers below 16
// stand for the session's players (0 all, 1 the peer's first, then the host's).
void SaveSessionSeeds(const AnsiString& folder) {
    using namespace Win32::DPWire;
    const auto stream = [&](const char* name, const std::vector<TFrame>& frames) {
        TBytes bytes;
        for (const TFrame& frame : frames) {
            const TBytes encoded = Encode(frame);
            bytes.insert(bytes.end(), encoded.begin(), encoded.end());
        }
        Save(folder, name, bytes);
    };
    stream("talk.bin", {TMessage{1, 0, {'h', 'i'}}, TMessage{1, 2, {1, 2, 3}},
                        TPlayerData{1, {7, 7}}, TKeepAlive{}});
    stream("players.bin", {TCreatePlayer{2, "Second", "Long", {1}}, TMessage{2, 1, {9}},
                           TDestroyPlayer{1}, TMessage{1, 0, {4}}, TDestroyPlayer{1}});
    stream("flood.bin", std::vector<TFrame>(5, TPlayerData{1, TBytes(MaxPlayerDataSize, 0xEE)}));
}

// Pictures of every row format and a surface dump behind a byte choosing the display: 16-bit
// RGB565, RGB555, 32-bit; the top bit drops the pixels once on surfaces.
void SaveSpriteDisplaySeeds(const AnsiString& corpus) {
    const std::vector<Tools::TPicture> frames{SeedPicture(7, 5), SeedPicture(7, 5)};
    for (int kind = 0; kind <= 4; ++kind)
        for (const uint8_t display : {0x00, 0x01, 0x82}) {
            Tools::TSpriteOptions options;
            options.Kind = kind;
            options.SubMode = kind % 4;
            options.Bits = display == 0x82 && kind != 1 && kind != 2 ? 32 : 16;
            TBytes bytes = Tools::EncodeSprite(frames, options);
            bytes.insert(bytes.begin(), display);
            Save(corpus + "/fuzz_sprite_display",
                 ("kind" + std::to_string(kind) + "_display" + std::to_string(display & 3) + ".bin")
                     .c_str(),
                 bytes);
        }
}

} // namespace

// The seed level as built and with a group stored in the middle of a walk along
// the stored path, for the target that plays a loaded scenario on.
void SaveScenarioUpdateSeeds(const AnsiString& corpus, const Tools::TBuiltLevel& built) {
    const AnsiString folder = corpus + "/fuzz_scenario_update";
    Save(folder, "seed.scn", built.Files.at("seed.scn"));
    GameData::TScenario& scenario = *built.Scenario;
    for (GameData::TMapObject* object : scenario.Objects) {
        if (object->Kind != GameData::okGroup)
            continue;
        auto& group = *static_cast<GameData::TGroup*>(object);
        const int x = group.X / GameData::CellSize;
        const int y = group.Y / GameData::CellSize;
        const int step = x + 2 < scenario.Width ? 1 : -1;
        group.CellX = int16_t(x);
        group.CellY = int16_t(y);
        group.NextX = int16_t(x + step);
        group.NextY = int16_t(y);
        group.TargetX = int16_t(x + 2 * step);
        group.TargetY = int16_t(y);
        group.PathIndex = 0;
        group.AnimState = GameData::asWalk;
        scenario.Path[0] = {int16_t(x + step), int16_t(y)};
        scenario.Path[1] = {int16_t(x + 2 * step), int16_t(y)};
        break;
    }
    ClassLib::TMemoryStream walking;
    scenario.SaveToStream(&walking);
    Save(folder, "walking.scn", walking.Bytes());
}

// The seed level with its side files (the fuzz target provides them), the same
// without side files, and a background of two small tiles.
void SaveScenarioSeeds(const AnsiString& corpus) {
    Tools::InstallSeedGlobalData();
    Tools::TBuiltLevel built = Tools::BuildLevel(Tools::SeedLevel());
    Save(corpus + "/fuzz_scenario", "seed.scn", built.Files.at("seed.scn"));
    SaveScenarioUpdateSeeds(corpus, built);
    built = Tools::BuildLevel(Tools::SeedLevel());
    GameData::TScenario& scenario = *built.Scenario;
    for (AnsiString* name : {&scenario.PrototypeFileName, &scenario.SpriteLibraryName,
                             &scenario.PlayerSpriteLibraryName, &scenario.BackgroundFileName})
        name->clear();
    // Scenery needs its prototypes: without side files the map is bare.
    for (int i = scenario.Objects.Count() - 1; i >= 0; --i)
        if (scenario.Objects[i]->Kind == GameData::okDoodle)
            scenario.RemoveObjectAt(i, 0);
    ClassLib::TMemoryStream bare;
    scenario.SaveToStream(&bare);
    Save(corpus + "/fuzz_scenario", "no_side_files.scn", bare.Bytes());

    ClassLib::TMemoryStream background;
    background.WriteValue<uint32_t>(5);
    GameData::TBackgroundHeader header{};
    std::memcpy(header.Signature, "BCKG", 4);
    header.Width = 2;
    header.Height = 1;
    background.WriteBuffer(&header, sizeof(header));
    for (uint32_t id = 1; id <= 2; ++id) {
        Tools::TPicture tile{8, 8, std::vector<uint32_t>(64, 0xFF336699u * id)};
        Tools::TSpriteOptions options;
        options.ID = id;
        options.Keyed = false;
        const TBytes bytes = Tools::EncodeSprite({tile}, options);
        background.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    }
    Save(corpus + "/fuzz_background", "two_tiles.bkg", background.Bytes());
}

// Little-endian fields appended one by one.
class TSeedBytes {
public:
    template <typename T>
    TSeedBytes& Put(T value) {
        for (size_t i = 0; i < sizeof(T); ++i)
            Bytes.push_back(uint8_t(uint64_t(value) >> (8 * i)));
        return *this;
    }
    TSeedBytes& Put(const char* tag) {
        Bytes.insert(Bytes.end(), tag, tag + 4);
        return *this;
    }
    TSeedBytes& Put(const TBytes& bytes) {
        Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    TBytes Bytes;
};

// The map-object target reads a selector byte, then the object's stored form; the
// objects refer to the tiny world of the tests (scenery prototype 1, sprite 4 with
// three frames).
void SaveMapObjectSeeds(const AnsiString& corpus) {
    const AnsiString folder = corpus + "/fuzz_map_objects";
    Tools::TSpriteOptions tile;
    tile.ID = 100;
    tile.Keyed = false;
    TSeedBytes background;
    background.Put<uint8_t>(0).Put<uint32_t>(901).Put("BCKG").Put<int16_t>(1).Put<int16_t>(1);
    background.Put<uint64_t>(0).Put(Tools::EncodeSprite({SeedPicture(8, 8)}, tile));
    Save(folder, "background.bin", background.Bytes);

    TSeedBytes area;
    area.Put<uint8_t>(1).Put<uint32_t>(50).Put("list").Put<int32_t>(3);
    for (int16_t x : {2, 5, 1})
        area.Put<int16_t>(x).Put<int16_t>(int16_t(x == 1 ? 4 : 1));
    area.Put<uint32_t>(0);
    Save(folder, "area.bin", area.Bytes);

    TSeedBytes doodle;
    doodle.Put<uint8_t>(2).Put<uint32_t>(1000).Put<uint16_t>(1).Put<int16_t>(100).Put<int16_t>(140);
    doodle.Put<int16_t>(10).Put<uint32_t>(1).Put<uint16_t>(0).Put<uint8_t>(1);
    doodle.Put<int32_t>(0).Put<int32_t>(7);
    Save(folder, "doodle.bin", doodle.Bytes);

    TSeedBytes animation;
    animation.Put<uint8_t>(3).Put<uint32_t>(1001).Put<uint16_t>(7).Put<int16_t>(60);
    animation.Put<int16_t>(60).Put<int16_t>(12).Put<uint8_t>(1).Put<int32_t>(1);
    animation.Put<int32_t>(3).Put<int32_t>(2).Put<int32_t>(1).Put<uint32_t>(4);
    Save(folder, "animation.bin", animation.Bytes);

    TSeedBytes corpse;
    corpse.Put<uint8_t>(4).Put<uint32_t>(1002).Put<uint16_t>(9).Put<int16_t>(20).Put<int16_t>(20);
    corpse.Put<int16_t>(9).Put<uint8_t>(1).Put<int32_t>(0).Put<uint32_t>(0).Put<int32_t>(3);
    Save(folder, "corpse.bin", corpse.Bytes);

    TSeedBytes action;
    action.Put<uint8_t>(5).Put<uint32_t>(5).Put<uint32_t>(3).Put<uint32_t>(4);
    for (int i = 0; i < 11; ++i)
        action.Put<uint32_t>(0);
    Save(folder, "move_action.bin", action.Bytes);
}

// A computer player's records as its planner stores them: units alone, and with an army,
// tasks holding units and queued script lines.
void SaveAIHandlerSeeds(const AnsiString& folder) {
    using namespace AIHandler;
    const auto stored = [](const TAIHandler& handler) {
        ClassLib::TMemoryStream stream;
        handler.SaveToStream(stream);
        return stream.Bytes();
    };
    FuzzSupport::TAIHandlerWorld world;
    TAIHandler& blue = world.Handler(1);
    Save(folder, "units.bin", stored(blue));

    auto army = std::make_unique<TAIArmy>(&blue);
    army->ID = blue.NextID();
    army->Name = "Vanguard";
    TAIArmy* const vanguard = blue.Armies.Add(std::move(army));
    vanguard->AddUnit(*blue.AIUnits[0]);
    auto hunt = std::make_unique<TAITask>(&blue, true);
    hunt->Header->TaskType = ttAttackUnit;
    hunt->Target().Kind = tkUnit;
    hunt->Target().SetTarget(world.Scenario->Units[0]); // red's unit
    hunt->Target().UpdatePosition();
    hunt->Priority = 100;
    hunt->AssignArmy(*vanguard);
    auto ford = std::make_unique<TAITask>(&blue, true);
    ford->SetGoToCell(5, 6, 2);
    ford->Name = "Ford";
    ford->AssignUnit(*blue.AIUnits[1]);
    const uint32_t huntID = hunt->ID;
    const uint32_t fordID = ford->ID;
    blue.Tasks.Add(hunt.release());
    blue.Tasks.Add(ford.release());
    blue.QueueUnassignArmyTask(vanguard->ID);
    blue.QueueAssignUnitTask(world.Scenario->Units[2]->ID, huntID);
    blue.QueueActivateTask(fordID);
    blue.QueueDeleteTask(huntID);
    Save(folder, "army_tasks_lines.bin", stored(blue));
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vrn_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    try {
        const AnsiString corpus = argv[1];
        const auto stereo = Tone(300, 2);
        const auto mono = Tone(70000, 1);
        const Audio::TAudioFormat stereo16{22050, 16, 2, 4};
        const Audio::TAudioFormat mono16{8000, 16, 1, 2};

        Tools::TArchiveWriter archive;
        archive.AddFile("default.txt", {'a', 'b'});
        archive.AddFile("Sounds.audl", TBytes(10, 1));
        Save(corpus + "/fuzz_archive_directory", "two_files.dat", PlainArchive(archive));
        Save(corpus + "/fuzz_archive_directory", "empty.dat", PlainArchive({}));
        // As stored: the target writes it as "seed.dat", whose name is the key.
        Save(corpus + "/fuzz_archive", "two_files.dat", archive.Build("seed.dat"));
        const std::string ini = "[Main]\r\nDataPath=Data\\Sample\\\r\n";
        Save(corpus + "/fuzz_data_ini", "relative.ini", TBytes(ini.begin(), ini.end()));
        const std::string absolute = "; the data elsewhere\n[main]\ndatapath = /srv/varnholt\n";
        Save(corpus + "/fuzz_data_ini", "absolute.ini", TBytes(absolute.begin(), absolute.end()));
        SaveSessionSeeds(corpus + "/fuzz_session");

        Save(corpus + "/fuzz_wav", "stereo16.wav", Tools::EncodeWAV(stereo.data(), 300, stereo16));
        const TBytes bytes8(100, 0x80);
        Save(corpus + "/fuzz_wav", "mono8.wav",
             Tools::EncodeWAV(bytes8.data(), 100, {11025, 8, 1, 1}));

        const TBytes pcm = Tools::EncodeAX(stereo.data(), 300, stereo16, Audio::omWritePCM);
        const TBytes adpcm = Tools::EncodeAX(stereo.data(), 300, stereo16, 0);
        Save(corpus + "/fuzz_ax", "pcm_stereo.ax", pcm);
        Save(corpus + "/fuzz_ax", "adpcm_stereo.ax", adpcm);
        Save(corpus + "/fuzz_ax", "adpcm_mono_two_states.ax",
             Tools::EncodeAX(mono.data(), 70000, mono16, 0));

        Tools::TAudioListWriter library;
        library.Add(1, Audio::alAX, pcm);
        library.Add(2, Audio::alAX, adpcm);
        library.Add(3, Audio::alMP3,
                    Tools::EncodeMP3(stereo.data(), 300, {22050, 2, false, 4, 64, ""}));
        Save(corpus + "/fuzz_audio_list", "three_sounds.audl", library.Build());
        SaveSpriteSeeds(corpus);
        SaveSpriteDisplaySeeds(corpus);
        SaveFontSeeds(corpus);
        SaveScenarioSeeds(corpus);
        SaveMapObjectSeeds(corpus);
        SaveAIHandlerSeeds(corpus + "/fuzz_ai_handler");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vrn_fuzz_seeds: %s\n", ClassLib::ExceptionMessage(e).c_str());
        return 1;
    }
}
