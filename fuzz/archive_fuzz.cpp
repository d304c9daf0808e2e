// Opens a scrambled packed archive of arbitrary bytes the way the game does, from
// a ".dat" file, and reads every file of it through its window: whatever the
// directory says, each window yields exactly its file's bytes and nothing beyond.
#include "engine/core/Archive.h"
#include "platform/classlib/Files.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <vector>

namespace {

void ReadWhole(Data::TCryptoStream& stream, uint32_t size) {
    std::vector<uint8_t> buffer(4096);
    uint64_t total = 0;
    for (int32_t got; (got = stream.Read(buffer.data(), int32_t(buffer.size()))) > 0;)
        total += uint64_t(got);
    if (total != size)
        std::abort();
    // Outside the window there is nothing to read, wherever the position is put.
    for (const int64_t position : {int64_t(size) + 1, int64_t(-1), int64_t(size) / 2}) {
        stream.Seek(position, ClassLib::soFromBeginning);
        const int32_t got = stream.Read(buffer.data(), int32_t(buffer.size()));
        const int64_t left = position < 0 ? 0 : std::max<int64_t>(0, int64_t(size) - position);
        if (got < 0 || int64_t(got) > left)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TestSupport::TempDir folder;
    // The scrambling key is the file's name, as for the archives the seeds come from.
    // Others' clean-ups of the temporary folder must not end a long run.
    ClassLib::ForceDirectories(folder.Path());
    ClassLib::WriteFileAtomically(folder.File("seed.dat"), data, size);
    Data::DataPath = folder.Path();
    try {
        const Data::TArchive archive("seed", Data::arPacked);
        for (int i = 0; i < archive.Count(); ++i) {
            const Data::TFileEntry& entry = archive.Directory[i];
            try {
                const auto stream = archive.OpenFile(archive.GetFileName(i));
                if (entry.Offset != Data::LooseFileMark)
                    ReadWhole(*stream, entry.Size);
            } catch (const ClassLib::EFOpenError&) {
            }
        }
        archive.OpenFile("no such file");
    } catch (const std::exception&) {
    }
    return 0;
}
