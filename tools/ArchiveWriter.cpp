#include "tools/ArchiveWriter.h"

#include "tools/DirectoryLayout.h"

#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/core/CryptoStream.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"

#include <algorithm>
#include <cstring>

namespace Tools {

using ClassLib::Format;

void TArchiveWriter::AddFile(const AnsiString& name, TBytes data) {
    if (name.empty() || name.size() >= sizeof(Data::TFileEntry::Name))
        throw ClassLib::Exception(
            Format("File name '%s' does not fit an archive (1 to 31 characters).", name));
    for (const TFile& file : FFiles)
        if (ClassLib::SameText(file.Name, name))
            throw ClassLib::Exception(Format("File '%s' is already in the archive.", name));
    FFiles.push_back({name, std::move(data)});
}

TBytes TArchiveWriter::Build(const AnsiString& fileName) const {
    std::vector<const TFile*> order;
    for (const TFile& file : FFiles)
        order.push_back(&file);
    std::sort(order.begin(), order.end(), [](const TFile* a, const TFile* b) {
        return ClassLib::CompareText(a->Name, b->Name) < 0;
    });

    Data::TArchiveHeader header{};
    std::memcpy(header.Signature, "DATA", 4);
    header.Count = static_cast<uint32_t>(order.size());
    TBytes bytes = LayOutDirectory(header, order, [](const TFile& file, uint32_t offset) {
        Data::TFileEntry entry{offset, static_cast<uint32_t>(file.Data.size()), {}};
        Base::CopyStringBounded(entry.Name, file.Name.c_str(), sizeof entry.Name);
        return entry;
    });
    return ScrambleForFile(fileName, std::move(bytes));
}

void TArchiveWriter::SaveToFile(const AnsiString& fileName) const {
    const TBytes bytes = Build(fileName);
    ClassLib::WriteFileAtomically(fileName, bytes.data(), bytes.size());
}

TBytes ScrambleForFile(const AnsiString& fileName, TBytes data) {
    const AnsiString key = Data::CryptKey(fileName);
    Data::Encode(data.data(), static_cast<int64_t>(data.size()), Data::HashKey(key.c_str()), key,
                 0);
    return data;
}

void SaveLooseFile(const AnsiString& fileName, const TBytes& data) {
    const TBytes bytes = ScrambleForFile(fileName, data);
    ClassLib::WriteFileAtomically(fileName, bytes.data(), bytes.size());
}

TBytes LoadLooseFile(const AnsiString& fileName) {
    Data::TCryptoStream stream(fileName, ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    TBytes bytes(static_cast<size_t>(stream.GetSize()));
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

TBytes LoadPlainFile(const AnsiString& fileName) {
    ClassLib::TFileStream stream(fileName, ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    TBytes bytes(static_cast<size_t>(stream.GetSize()));
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

int PackFolder(const AnsiString& folder, const AnsiString& archiveFileName, bool plain) {
    if (!ClassLib::DirectoryExists(folder))
        throw ClassLib::EFOpenError(Format("Folder \"%s\" not found.", folder));
    AnsiString path = ClassLib::NativePath(folder);
    Base::AddTrailingBackslash(path);
    TArchiveWriter writer;
    for (const ClassLib::TDirectoryEntry& file : ClassLib::ListDirectory(path)) {
        if (file.IsDirectory)
            continue;
        const AnsiString name = path + file.Name;
        writer.AddFile(file.Name, plain ? LoadPlainFile(name) : LoadLooseFile(name));
    }
    writer.SaveToFile(archiveFileName);
    return writer.Count();
}

} // namespace Tools
