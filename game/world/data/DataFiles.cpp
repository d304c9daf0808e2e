#include "game/world/data/DataFiles.h"

#include "engine/core/TextReader.h"

#include <exception>

namespace Data2 {

const Data::TArchive& OpenedArchive(const std::unique_ptr<Data::TArchive>& archive,
                                    const char* name) {
    if (!archive)
        throw ClassLib::Exception(ClassLib::Format("Archive '%s' is not open.", name));
    return *archive;
}

void WithFileContext(const char* archiveName, const ClassLib::AnsiString& fileName,
                     const std::function<void()>& work) {
    try {
        work();
    } catch (const ClassLib::Exception& error) {
        throw ClassLib::Exception(
            ClassLib::Format("%s/%s: %s", archiveName, fileName, error.Message));
    } catch (const std::exception& error) {
        throw ClassLib::Exception(
            ClassLib::Format("%s/%s: %s", archiveName, fileName, error.what()));
    }
}

void ReadDataFile(const std::unique_ptr<Data::TArchive>& archive, const char* archiveName,
                  const ClassLib::AnsiString& fileName,
                  const std::function<void(Data::TTextReader&)>& read) {
    const Data::TArchive& opened = OpenedArchive(archive, archiveName);
    WithFileContext(archiveName, fileName, [&] {
        const auto stream = opened.OpenFile(fileName);
        Data::TTextReader text(*stream);
        read(text);
    });
}

int ReadRecordCount(Data::TTextReader& text, int tokensPerRecord) {
    const int count = Data::ReadTokenInt(text);
    // A token takes at least one byte and one separator (the last may end the stream).
    constexpr int64_t MinTokenBytes = 2;
    const int64_t room = (text.Remaining() + 1) / (MinTokenBytes * tokensPerRecord);
    Data::CheckData(count >= 0 && count <= room);
    return count;
}

} // namespace Data2
