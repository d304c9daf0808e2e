#include "tests/support/GlobalDataFixture.h"

#include "engine/core/Archive.h"
#include "engine/graphics/GfxFont.h"
#include "engine/sound/AudioList.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "tools/AudioWriters.h"
#include "tools/FontBuilder.h"
#include "tools/SpriteWriter.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace TestSupport {

using Tools::TBytes;

const TDataFileName GlobalDataFiles[18] = {
    {"globals", "iface.txt"},       {"graphics", "iface.gfxl"},  {"globals", "videos.txt"},
    {"globals", "common.txt"},      {"globals", "pictures.txt"}, {"globals", "constants.txt"},
    {"globals", "units.txt"},       {"graphics", "common.gfxl"}, {"graphics", "pictures.gfxl"},
    {"graphics", "creatures.gfxl"}, {"sounds", "effects.audl"},  {"sounds", "music.audl"},
    {"sounds", "speech.audl"},      {"globals", "sounds.txt"},   {"graphics", "spells.gfxl"},
    {"globals", "spells.txt"},      {"globals", "skills.txt"},   {"globals", "fonts.txt"},
};

namespace {

TBytes Bytes(const std::string& text) {
    return TBytes(text.begin(), text.end());
}

// A small picture with some structure, different for each seed.
Tools::TPicture Picture(int width, int height, uint32_t seed, uint8_t alpha = 0xFF) {
    Tools::TPicture picture{width, height, {}};
    picture.Pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t shade = ((x + y + seed) % 4) * 60;
            picture.Pixels[size_t(y * width + x)] =
                uint32_t(alpha) << 24 | shade << 16 | ((seed * 37) & 0xFF) << 8 | (255 - shade);
        }
    return picture;
}

TBytes SpriteRecord(uint32_t id, int width, int height, bool blended) {
    Tools::TSpriteOptions options;
    options.ID = id;
    if (blended) {
        options.Bits = 32;
        options.BlendMode = 0x80;
        options.Keyed = false;
    }
    return Tools::EncodeSprite({Picture(width, height, id, blended ? 0x80 : 0xFF)}, options);
}

// Sprites 1..count; the second one blended.
TBytes SpriteLibrary(int count, int size) {
    std::vector<TBytes> records;
    for (int id = 1; id <= count; ++id)
        records.push_back(SpriteRecord(uint32_t(id), size, size, id == 2));
    return Tools::EncodeSpriteLibrary(1, records);
}

TBytes SoundLibrary(int count) {
    std::vector<int16_t> samples(64);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t((i % 16) * 1000 - 8000);
    Tools::TAudioListWriter writer;
    for (int id = 1; id <= count; ++id)
        writer.Add(uint32_t(id), Audio::alAX,
                   Tools::EncodeAX(samples.data(), uint32_t(samples.size()), {22050, 16, 1, 2},
                                   Audio::omWritePCM));
    return writer.Build();
}

const TBytes& FontRecord() {
    static const TBytes record = [] {
        Tools::TFontBuildOptions options;
        options.PixelSize = 8;
        Gfx::TFont font;
        Tools::BuildFont(Tools::DefaultFontFile, options, font);
        ClassLib::TMemoryStream stream;
        font.SaveToStream(&stream);
        return stream.Bytes();
    }();
    return record;
}

std::string Stats(int seed) {
    std::ostringstream out;
    for (int word = 0; word < 48; ++word)
        out << (word == 0 ? 1 : (seed * 7 + word) % 50) << (word % 12 == 11 ? "\n  " : " ");
    // learnable spells, spells, learnable skills, skills
    out << "0011 1 " << (seed % 2 ? "101" : "0") << " 0\n";
    return out.str();
}

std::string Units(const TGlobalDataSizes& sizes) {
    std::ostringstream out;
    out << "\"Creatures\" ; title, not read\n" << sizes.Units << "\n";
    for (int i = 0; i < sizes.Units; ++i) {
        const int sprite = i % TGlobalDataFixture::CreatureSprites + 1;
        out << "; unit " << i + 1 << "\n" << i + 1 << "\n  " << Stats(i);
        out << sprite << " " << sprite << " 0\n"; // portrait, detail picture, third picture
        out << 1 << " " << 200 + i << "\n";       // idle animation
        for (int set = 0; set < 10; ++set) {
            for (int direction = 0; direction < 8; ++direction)
                out << (set == 3 ? 0 : sprite) << " ";
            out << "\n";
        }
        out << i % 8 << " " << (i < 2 ? 1 : 0) << " \"Creature " << i + 1 << "\"\n";
        out << i % 19 + 1 << " 0 " << i % 5 + 1 << " " << -i << " " << i << "\n";
        out << "\"A creature of kind " << i + 1 << ".\"\n";
    }
    return out.str();
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Spells(const TGlobalDataSizes& sizes) {
    std::ostringstream out;
    out << "Spells\n" << sizes.Spells << "\n";
    const int mapSpells = (sizes.Spells + 1) / 2;
    for (int i = 0; i < sizes.Spells; ++i) {
        const int id = i < mapSpells ? i + 1 : 65 + i - mapSpells;
        const int icon = i + 1;
        // Battle spell 65 + k is shown for the herbalist's ability k, which teaches
        // skill k + 1: both records describe the same ability.
        const std::string name =
            id >= 65 ? "Ability " + std::to_string(id - 64) : "Spell " + std::to_string(id);
        out << id << " " << i % 3 << " \"" << name << "\" \"What " << Lower(name) << " does.\"\n";
        out << (1 << (i % 6)) << " " << i % 10 + 1 << " " << 5 + i << " " << 2 + i % 4 << " "
            << 10 + i << " " << i % 4 << "\n";
        out << icon << "  " << icon << " " << i % 19 + 1 << " 4  " << icon << " 0 3 150  " << icon
            << " " << (i + 5) % 19 + 1 << " 5\n";
        for (int p = 0; p < 10; ++p)
            out << (p * 10 + i) % 100 << " ";
        out << "\n";
    }
    return out.str();
}

std::string Skills(const TGlobalDataSizes& sizes) {
    std::ostringstream out;
    out << "Skills\n" << sizes.Skills << "\n";
    for (int i = 0; i < sizes.Skills; ++i) {
        out << i + 1 << " \"Ability " << i + 1 << "\" \"What ability " << i + 1 << " does.\"\n";
        out << i % 5 + 1 << " " << 3 << " " << i << "\n";
        out << Stats(i) << (i % 2 ? 3 : 0) << "\n" << Stats(i + 1);
    }
    return out.str();
}

std::string Numbers(int count, int (*value)(int), int perLine = 16) {
    std::ostringstream out;
    for (int i = 0; i < count; ++i)
        out << value(i) << ((i + 1) % perLine == 0 ? "\n" : " ");
    out << "\n"; // the reader needs a byte after the last token
    return out.str();
}

} // namespace

TGlobalDataFixture::TGlobalDataFixture(const TGlobalDataSizes& sizes) : Sizes(sizes) {
    std::ostringstream defaults;
    defaults << "; the files of the game data\n";
    for (const TDataFileName& file : GlobalDataFiles)
        defaults << file.Name << "\n";
    SetText("globals", "default.txt", defaults.str());

    // Main data: the pointer cursor, a blended marker and the loading picture.
    SetText("globals", "iface.txt", "1 0 0 2 2 0 0 0 0 0 0 0 1 1 1 1 1 1 1 1 0 0 0 0 3 0 0\n");
    Archives["graphics"]["iface.gfxl"] =
        Tools::EncodeSpriteLibrary(1, {SpriteRecord(1, sizes.SpriteSize, sizes.SpriteSize, false),
                                       SpriteRecord(2, sizes.SpriteSize, sizes.SpriteSize, true),
                                       SpriteRecord(3, 20, 15, false)});
    SetText("globals", "videos.txt",
            "intro1.avi intro2.avi \"intro 3.avi\"\nend1.avi end2.avi\n"
            "inter1.avi inter2.avi inter3.avi inter4.avi\n");

    // Global data.
    const int commonSprites = sizes.CommonSprites;
    std::ostringstream common;
    common << "; the common sprites, the first slot empty\n0 ";
    for (int i = 1; i < Data2::CommonSpriteCount; ++i)
        common << (i % commonSprites) + 1 << (i % 20 == 19 ? "\n" : " ");
    common << "\n8 6 ; badge cell\n";
    SetText("globals", "common.txt", common.str());
    SetText("globals", "pictures.txt", Numbers(57, [](int i) { return i % PictureSprites + 1; }));
    std::ostringstream constants;
    constants << Numbers(42, [](int i) { return i == 35   ? 75
                                                : i == 36 ? 100
                                                : i == 37 ? 125
                                                          : i; })
              << "\n"
              << LevelCount << "\nlevel1.scn level2.scn \"level 3.scn\"\n";
    SetText("globals", "constants.txt", constants.str());
    SetText("globals", "units.txt", Units(sizes));
    Archives["graphics"]["common.gfxl"] = SpriteLibrary(commonSprites, sizes.SpriteSize);
    Archives["graphics"]["pictures.gfxl"] = SpriteLibrary(PictureSprites, sizes.SpriteSize);
    Archives["graphics"]["creatures.gfxl"] = SpriteLibrary(CreatureSprites, sizes.SpriteSize);
    Archives["sounds"]["effects.audl"] = SoundLibrary(EffectSoundCount);
    Archives["sounds"]["music.audl"] = SoundLibrary(MusicCount);
    Archives["sounds"]["speech.audl"] = SoundLibrary(1);
    SetText("globals", "sounds.txt",
            Numbers(19, [](int i) { return i + 1; }) + "\n0 0  20 80  21 60  22 70\n1 2 3\n");
    Archives["graphics"]["spells.gfxl"] = SpriteLibrary(sizes.Spells, sizes.SpriteSize);
    SetText("globals", "spells.txt", Spells(sizes));
    SetText("globals", "skills.txt", Skills(sizes));
    std::ostringstream fonts;
    fonts << std::size(FontIDs) << "\n";
    for (int id : FontIDs) {
        const std::string file = "font" + std::to_string(id) + ".fnt";
        fonts << id << " " << file << "\n";
        Archives["graphics"][file] = FontRecord();
    }
    SetText("globals", "fonts.txt", fonts.str());
    Archives["scenario"];
}

void TGlobalDataFixture::SetText(const std::string& archive, const std::string& name,
                                 const std::string& text) {
    Archives[archive][name] = Bytes(text);
}

std::string TGlobalDataFixture::Text(const std::string& archive, const std::string& name) const {
    const TBytes& bytes = Archives.at(archive).at(name);
    return std::string(bytes.begin(), bytes.end());
}

void TGlobalDataFixture::Remove(const std::string& archive, const std::string& name) {
    Archives.at(archive).erase(name);
}

void TGlobalDataFixture::WriteFolders(const std::string& dataPath) const {
    for (const auto& [archive, files] : Archives) {
        std::filesystem::create_directories(dataPath + archive);
        for (const auto& [name, bytes] : files)
            Tools::SaveLooseFile(dataPath + archive + "/" + name, bytes);
    }
}

void TGlobalDataFixture::WritePacked(const std::string& dataPath) const {
    for (const auto& [archive, files] : Archives) {
        Tools::TArchiveWriter writer;
        for (const auto& [name, bytes] : files)
            writer.AddFile(name, bytes);
        writer.SaveToFile(dataPath + archive + ".dat");
    }
}

TInstalledData::TInstalledData(const TGlobalDataFixture& fixture, bool packed) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vrn-data-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    FPath = pattern + "/";
    FOldDataPath = Data::DataPath;
    try {
        if (packed)
            fixture.WritePacked(FPath);
        else
            fixture.WriteFolders(FPath);
        Data::DataPath = FPath;
        Data2::OpenDataArchives();
    } catch (...) {
        Data2::CloseDataArchives();
        Data::DataPath = FOldDataPath;
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
        throw;
    }
}

TInstalledData::~TInstalledData() {
    Data2::FreeGlobalData();
    Data2::FreeMainData();
    Data2::CloseDataArchives();
    Data2::SavePath = "";
    Data::DataPath = FOldDataPath;
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

} // namespace TestSupport
