#include "tools/content/ContentWriter.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"
#include "tools/ArchiveWriter.h"
#include "tools/content/Art.h"
#include "tools/content/FontContent.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <vector>

namespace Content {

namespace {

namespace fs = std::filesystem;

struct TLibraryFile {
    const char* Name;
    void (*Draw)(TLibrary&);
};

constexpr TLibraryFile LibraryFiles[] = {
    {"interface.gfxl", DrawInterfaceSprites},
    {"common.gfxl", DrawCommonSprites},
    {"pictures.gfxl", DrawPictures},
    {"creatures.gfxl", DrawCreatures},
    {"spells.gfxl", DrawSpells},
};

Tools::TArchiveWriter TextData(const std::string& dataFolder) {
    Tools::TArchiveWriter archive;
    std::vector<fs::path> files;
    if (fs::exists(dataFolder) && !fs::is_directory(dataFolder))
        throw ClassLib::Exception(ClassLib::Format("'%s' is not a folder.", dataFolder));
    if (!fs::exists(dataFolder))
        std::fprintf(stderr, "vrncontent: no text data in '%s'.\n", dataFolder.c_str());
    else
        for (const fs::directory_entry& entry : fs::directory_iterator(dataFolder))
            if (entry.is_regular_file() && entry.path().extension() == ".txt")
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
        archive.AddFile(file.filename().string(), Tools::LoadPlainFile(file.string()));
    return archive;
}

Tools::TArchiveWriter Graphics() {
    // Libraries are independent: draw them side by side.
    std::vector<std::future<Tools::TBytes>> drawn;
    for (const TLibraryFile& file : LibraryFiles)
        drawn.push_back(std::async(std::launch::async, [&file] {
            TLibrary library;
            file.Draw(library);
            return library.Build();
        }));
    Tools::TArchiveWriter archive;
    AddFonts(archive);
    for (size_t i = 0; i < drawn.size(); ++i)
        archive.AddFile(LibraryFiles[i].Name, drawn[i].get());
    return archive;
}

} // namespace

void WriteContent(const std::string& dataFolder, const std::string& programFolder) {
    const std::string folder = (fs::path(programFolder) / "").string();
    ClassLib::ForceDirectories(folder);
    TextData(dataFolder).SaveToFile(folder + "globals.dat");
    Graphics().SaveToFile(folder + "graphics.dat");
    // Scenario files come with the scenarios; the game opens the archive all the same.
    Tools::TArchiveWriter().SaveToFile(folder + "scenario.dat");
    Tools::TArchiveWriter().SaveToFile(folder + "sounds.dat");
    std::ofstream ini(folder + "data.ini.tmp", std::ios::binary | std::ios::trunc);
    ini << "[Main]\nDataPath=./\n";
    ini.close();
    if (!ini)
        throw ClassLib::Exception(ClassLib::Format("Cannot write '%sdata.ini'.", folder));
    fs::rename(folder + "data.ini.tmp", folder + "data.ini");
}

} // namespace Content
