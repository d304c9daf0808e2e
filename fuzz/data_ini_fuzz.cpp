// Reads a data.ini of arbitrary bytes beside the program, as the game does at
// start: whatever it holds, the data folder comes out absolute and ending in "/".
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "platform/classlib/Files.h"
#include "platform/classlib/IniFile.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TestSupport::TempDir folder;
    // Others' clean-ups of the temporary folder must not end a long run.
    ClassLib::ForceDirectories(folder.Path());
    ClassLib::WriteFileAtomically(folder.File("data.ini"), data, size);
    Base::ProgramPath = folder.Path();
    try {
        Data::ReadDataPath();
    } catch (const std::exception&) {
        return 0;
    }
    const ClassLib::AnsiString& path = Data::DataPath;
    if (path.empty() || path.front() != '/' || path.back() != '/')
        std::abort();
    // The other readers of the same file.
    const ClassLib::TIniFile ini(folder.File("data.ini"));
    ini.ReadInteger("Main", "DataPath", 0);
    ini.ReadBool("Main", "Windowed", false);
    ini.SectionExists("main");
    return 0;
}
