// Loads the whole global data from a valid "globals" folder in which one text file
// (chosen by the first byte) is replaced by the rest of the input: only the loader's
// own errors may come out, and nothing may leak or crash.
#include "engine/core/Archive.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "platform/classlib/Exception.h"
#include "tests/support/GlobalDataFixture.h"
#include "tools/ArchiveWriter.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr size_t MaxInput = 8192;
const char* const TextFiles[] = {"default.txt",   "common.txt", "pictures.txt",
                                 "constants.txt", "units.txt",  "sounds.txt",
                                 "spells.txt",    "skills.txt", "fonts.txt"};

struct TData {
    TestSupport::TGlobalDataFixture Fixture;
    std::unique_ptr<TestSupport::TInstalledData> Installed =
        std::make_unique<TestSupport::TInstalledData>(Fixture);
};

TData& Installed() {
    static TData data;
    return data;
}

// Scrambled as the archive reads it; written without the writer's flush to disk, which
// would slow every run down.
void SaveGlobalsFile(const std::string& name, const Tools::TBytes& bytes) {
    const std::string path = Installed().Installed->Path() + "globals/" + name;
    const Tools::TBytes stored = Tools::ScrambleForFile(path, bytes);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(stored.data()), std::streamsize(stored.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > MaxInput)
        return 0;
    TData& installed = Installed();
    const std::string name = TextFiles[data[0] % std::size(TextFiles)];
    SaveGlobalsFile(name, Tools::TBytes(data + 1, data + size));
    try {
        Data2::CreateGlobalData();
    } catch (const ClassLib::Exception&) {
    }
    Data2::FreeGlobalData();
    SaveGlobalsFile(name, installed.Fixture.Archives.at("globals").at(name));
    return 0;
}
