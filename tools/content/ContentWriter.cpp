#include "tools/content/ContentWriter.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"
#include "tools/ArchiveWriter.h"
#include "tools/TextDataFile.h"
#include "tools/content/Art.h"
#include "tools/content/ContentIds.h"
#include "tools/content/FontContent.h"
#include "tools/content/SoundContent.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <vector>

namespace Content {

namespace {

namespace fs = std::filesystem;

using TDraw = std::function<void(TLibrary&)>;

// A library drawn in parts that can be drawn side by side.
struct TLibraryFile {
    const char* Name;
    std::vector<TDraw> Parts;
};

std::vector<TLibraryFile> LibraryFiles(const TSpellFamilies& spellFamilies) {
    std::vector<TDraw> creatures;
    for (int kind = 1; kind <= CreatureKinds; ++kind)
        creatures.push_back([kind](TLibrary& library) { DrawCreatures(library, kind, kind); });
    return {
        {"interface.gfxl", {DrawInterfaceSprites}},
        {"common.gfxl", {DrawCommonSprites, DrawFogEdges}},
        {"pictures.gfxl", {DrawPictures}},
        {"creatures.gfxl", creatures},
        {"spells.gfxl",
         {[&spellFamilies](TLibrary& library) { DrawSpells(library, spellFamilies); }}},
    };
}

Tools::TArchiveWriter TextData(const std::string& dataFolder) {
    Tools::TArchiveWriter archive;
    if (!fs::is_directory(dataFolder))
        throw ClassLib::Exception(
            ClassLib::Format("The text data folder '%s' does not exist.", dataFolder));
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(dataFolder))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    // The sources may keep Unix line ends; the game's files end their lines with CR LF.
    for (const fs::path& file : files)
        archive.AddFile(file.filename().string(),
                        Tools::TextDataFile(Tools::LoadPlainFile(file.string())));
    return archive;
}

Tools::TArchiveWriter Graphics(const TSpellFamilies& spellFamilies) {
    // Every part on a thread of its own; the machine shares them out.
    const std::vector<TLibraryFile> files = LibraryFiles(spellFamilies);
    std::vector<std::vector<std::future<TLibrary>>> drawn(files.size());
    for (size_t i = 0; i < files.size(); ++i)
        for (const TDraw& part : files[i].Parts)
            drawn[i].push_back(std::async(std::launch::async, [&part] {
                TLibrary library;
                part(library);
                return library;
            }));
    Tools::TArchiveWriter archive;
    AddFonts(archive);
    for (size_t i = 0; i < files.size(); ++i) {
        TLibrary library;
        for (std::future<TLibrary>& part : drawn[i])
            library.Merge(part.get());
        archive.AddFile(files[i].Name, library.Build());
    }
    return archive;
}

} // namespace

void WriteContent(const std::string& dataFolder, const std::string& programFolder) {
    const std::string folder = (fs::path(programFolder) / "").string();
    ClassLib::ForceDirectories(folder);
    TextData(dataFolder).SaveToFile(folder + "globals.dat");
    // The spell icons show the family the spell records give.
    const TSpellFamilies spellFamilies =
        ReadSpellFamilies((fs::path(dataFolder) / "spells.txt").string());
    // Sounds are synthesised while the art is drawn.
    std::future<void> sounds = std::async(std::launch::async, [&folder] {
        const std::string loose = folder + "sounds.tmp";
        fs::remove_all(loose);
        fs::create_directories(loose);
        WriteSounds(loose);
        Tools::PackFolder(loose, folder + "sounds.dat", false);
        fs::remove_all(loose);
    });
    Graphics(spellFamilies).SaveToFile(folder + "graphics.dat");
    sounds.get();
    // Scenario files come with the scenarios; the game opens the archive all the same.
    Tools::TArchiveWriter().SaveToFile(folder + "scenario.dat");
    std::ofstream ini(folder + "data.ini.tmp", std::ios::binary | std::ios::trunc);
    ini << "[Main]\nDataPath=./\n";
    ini.close();
    if (!ini)
        throw ClassLib::Exception(ClassLib::Format("Cannot write '%sdata.ini'.", folder));
    fs::rename(folder + "data.ini.tmp", folder + "data.ini");
}

} // namespace Content
