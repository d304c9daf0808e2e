#include "platform/classlib/Files.h"

#include "platform/classlib/Exception.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ClassLib {

AnsiString NativePath(std::string_view path) {
    AnsiString result(path);
    for (char& c : result)
        if (c == '\\')
            c = '/';
    return result;
}

static bool Exists(const AnsiString& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool FindPathIgnoringCase(const AnsiString& path, AnsiString& existing) {
    const AnsiString native = NativePath(path);
    if (native.empty())
        return false;
    if (Exists(native)) {
        existing = native;
        return true;
    }
    // Walk the components, matching each against its folder's entries.
    AnsiString resolved = native[0] == '/' ? "/" : "";
    size_t start = native[0] == '/' ? 1 : 0;
    while (start <= native.size()) {
        size_t end = native.find('/', start);
        if (end == AnsiString::npos)
            end = native.size();
        const std::string_view part(native.data() + start, end - start);
        if (!part.empty()) {
            const AnsiString candidate = resolved + AnsiString(part);
            if (Exists(candidate)) {
                resolved = candidate;
            } else {
                DIR* dir = ::opendir(resolved.empty() ? "." : resolved.c_str());
                if (!dir)
                    return false;
                bool found = false;
                while (const dirent* entry = ::readdir(dir)) {
                    if (SameText(entry->d_name, part)) {
                        resolved += entry->d_name;
                        found = true;
                        break;
                    }
                }
                ::closedir(dir);
                if (!found)
                    return false;
            }
            if (end < native.size())
                resolved += '/';
        }
        start = end + 1;
    }
    existing = resolved;
    return true;
}

bool FileExists(const AnsiString& path) {
    AnsiString existing;
    struct stat info;
    return FindPathIgnoringCase(path, existing) && ::stat(existing.c_str(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

bool DirectoryExists(const AnsiString& path) {
    AnsiString existing;
    struct stat info;
    return FindPathIgnoringCase(path, existing) && ::stat(existing.c_str(), &info) == 0 &&
           S_ISDIR(info.st_mode);
}

bool ForceDirectories(const AnsiString& path) {
    const AnsiString native = NativePath(path);
    for (size_t i = 1; i <= native.size(); ++i) {
        if (i == native.size() || native[i] == '/') {
            const AnsiString prefix = native.substr(0, i);
            if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    return DirectoryExists(native);
}

bool DeleteFile(const AnsiString& path) {
    return ::unlink(NativePath(path).c_str()) == 0;
}

void WriteFileAtomically(const AnsiString& path, const void* data, size_t size) {
    const AnsiString target = NativePath(path);
    const AnsiString temporary = target + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw EFCreateError(Format("Cannot create file \"%s\". %s", path, std::strerror(errno)));
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t written = 0;
    bool failed = false;
    while (written < size) {
        const ssize_t put = ::write(fd, bytes + written, size - written);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            failed = true;
            break;
        }
        written += static_cast<size_t>(put);
    }
    const int savedErrno = errno;
    failed = ::fsync(fd) != 0 || failed;
    failed = ::close(fd) != 0 || failed;
    if (failed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int reason = failed ? savedErrno : errno;
        ::unlink(temporary.c_str());
        throw EWriteError(Format("Cannot write file \"%s\". %s", path, std::strerror(reason)));
    }
}

std::vector<TDirectoryEntry> ListDirectory(const AnsiString& folder) {
    std::vector<TDirectoryEntry> entries;
    AnsiString existing;
    const AnsiString native = NativePath(folder.empty() ? AnsiString(".") : folder);
    if (!FindPathIgnoringCase(native, existing))
        return entries;
    DIR* dir = ::opendir(existing.c_str());
    if (!dir)
        return entries;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        TDirectoryEntry item;
        item.Name = AnsiString(name);
        struct stat info;
        const AnsiString full = existing + (existing.back() == '/' ? "" : "/") + item.Name;
        if (::stat(full.c_str(), &info) == 0) {
            item.IsDirectory = S_ISDIR(info.st_mode);
            item.Size = static_cast<int64_t>(info.st_size);
            item.ModifiedTime = static_cast<int64_t>(info.st_mtime);
        }
        entries.push_back(std::move(item));
    }
    ::closedir(dir);
    return entries;
}

} // namespace ClassLib
