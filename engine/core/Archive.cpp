#include "engine/core/Archive.h"

#include "engine/core/Base.h"
#include "engine/core/Sorting.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"
#include "platform/classlib/IniFile.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace Data {

using ClassLib::Format;

AnsiString DataPath;

void ReadDataPath() {
    const AnsiString iniName = Base::ProgramPath + "data.ini";
    if (!ClassLib::FileExists(iniName)) {
        DataPath = Base::ProgramPath;
        return;
    }
    const ClassLib::TIniFile ini(iniName);
    AnsiString path = ClassLib::NativePath(ini.ReadString("Main", "DataPath", Base::ProgramPath));
    Base::AddTrailingBackslash(path);
    if (path.empty() || path[0] != Base::PathDelimiter)
        path = Base::ProgramPath + path;
    DataPath = path;
}

uint32_t ReadArchiveDirectory(ClassLib::TStream& stream, TDynamicArray<TFileEntry>& directory) {
    const int64_t start = stream.GetPosition();
    const int64_t size = stream.GetSize();
    CheckData(start >= 0 && size - start >= static_cast<int64_t>(sizeof(TArchiveHeader)));
    TArchiveHeader header;
    stream.ReadBuffer(&header, sizeof header);
    CheckData(std::memcmp(header.Signature, "DATA", 4) == 0);
    CheckData(header.Count <= stream.Remaining() / static_cast<int64_t>(sizeof(TFileEntry)));
    directory.Clear();
    directory.SetCount(static_cast<int>(header.Count));
    if (header.Count > 0)
        stream.ReadBuffer(directory.Items(), int64_t(header.Count) * int64_t(sizeof(TFileEntry)));
    const int64_t dataStart = stream.GetPosition() - start;
    for (const TFileEntry& entry : directory) {
        CheckData(Base::IsNullTerminated(entry.Name, sizeof entry.Name));
        const bool loose = entry.Offset == LooseFileMark && entry.Size == LooseFileMark;
        CheckData(loose || int64_t(entry.Offset) + int64_t(entry.Size) <= size - start - dataStart);
    }
    return static_cast<uint32_t>(dataStart);
}

TArchive::TArchive(const AnsiString& name, uint8_t mode) : Name(name), Mode(mode) {
    const AnsiString packedName = DataPath + name + ".dat";
    if (Mode == arAutomatic)
        Mode = ClassLib::FileExists(packedName)             ? arPacked
               : ClassLib::DirectoryExists(DataPath + name) ? arFolder
                                                            : arPacked;
    const bool packed = Mode == arPacked;
    Path = packed ? packedName : FolderPath();
    if (packed ? !ClassLib::FileExists(Path) : !ClassLib::DirectoryExists(Path))
        throw ClassLib::EStreamError(Format("Archive '%s' not found.", name));
    if (packed) {
        TCryptoStream stream(Path, ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
        DataStart = ReadArchiveDirectory(stream, Directory);
        for (const TFileEntry& entry : Directory)
            FNames.emplace_back(entry.Name);
    }
    AddLooseFiles();
    SortDirectory();
}

AnsiString TArchive::FolderPath() const {
    return DataPath + Name + Base::PathDelimiter;
}

void TArchive::AddLooseFiles() {
    std::unordered_set<AnsiString> listed;
    for (const AnsiString& name : FNames)
        listed.insert(ClassLib::UpperCase(name));
    for (const ClassLib::TDirectoryEntry& file : ClassLib::ListDirectory(FolderPath())) {
        if (file.IsDirectory || !listed.insert(ClassLib::UpperCase(file.Name)).second)
            continue;
        TFileEntry entry{LooseFileMark, LooseFileMark, {}};
        Base::CopyStringBounded(entry.Name, file.Name.c_str(), sizeof entry.Name);
        Directory.Add(entry);
        FNames.push_back(file.Name);
    }
}

void TArchive::SortDirectory() {
    struct TItem {
        TFileEntry Entry;
        AnsiString Name;
    };
    std::vector<TItem> items;
    items.reserve(FNames.size());
    for (int i = 0; i < Directory.Count(); ++i)
        items.push_back({Directory[i], std::move(FNames[static_cast<size_t>(i)])});
    std::vector<TItem*> order;
    for (TItem& item : items)
        order.push_back(&item);
    QuickSort(order.data(), static_cast<int>(order.size()), [](const TItem* a, const TItem* b) {
        return ClassLib::CompareText(a->Name, b->Name);
    });
    FNames.clear();
    for (size_t i = 0; i < order.size(); ++i) {
        Directory[static_cast<int>(i)] = order[i]->Entry;
        FNames.push_back(std::move(order[i]->Name));
    }
}

bool TArchive::Find(const AnsiString& fileName, int& index) const {
    const auto found = std::lower_bound(
        FNames.begin(), FNames.end(), fileName,
        [](const AnsiString& a, const AnsiString& b) { return ClassLib::CompareText(a, b) < 0; });
    index = static_cast<int>(found - FNames.begin());
    return found != FNames.end() && ClassLib::SameText(*found, fileName);
}

AnsiString TArchive::GetFileName(int index) const {
    if (index < 0 || index >= Count())
        throw ClassLib::EListError(Format("List index out of bounds (%d)", index));
    return FNames[static_cast<size_t>(index)];
}

std::unique_ptr<TCryptoStream> TArchive::OpenFile(const AnsiString& fileName) const {
    constexpr uint16_t readMode = ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite;
    if (Mode == arFolder)
        return std::make_unique<TCryptoStream>(Path + fileName, readMode);
    const AnsiString looseName = FolderPath() + fileName;
    if (ClassLib::FileExists(looseName))
        return std::make_unique<TCryptoStream>(looseName, readMode);
    int index = 0;
    if (!Find(fileName, index))
        throw ClassLib::EFOpenError("File not found in archive.");
    const TFileEntry& entry = Directory[index];
    if (entry.Offset == LooseFileMark && entry.Size == LooseFileMark) {
        const AnsiString realName = FolderPath() + FNames[static_cast<size_t>(index)];
        if (!ClassLib::FileExists(realName))
            throw ClassLib::EFOpenError("File not found in archive.");
        return std::make_unique<TCryptoStream>(realName, readMode);
    }
    return std::make_unique<TCryptoStream>(Path, int64_t(entry.Size),
                                           int64_t(DataStart) + int64_t(entry.Offset));
}

} // namespace Data
