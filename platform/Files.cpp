#include "Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "RoutineError.h"

namespace fs = std::filesystem;

namespace brenvik {

namespace {

// The volume of a folder still to be created is that of its nearest existing ancestor.
fs::path existingAncestor(const std::string& path, std::error_code& ec) {
    fs::path probe = fs::absolute(path, ec);
    while (!ec && !probe.empty() && !fs::exists(probe, ec) && probe.has_parent_path() &&
           probe.parent_path() != probe)
        probe = probe.parent_path();
    return probe;
}

FolderEntry::Kind kindOfMode(mode_t mode) {
    return S_ISREG(mode) ? FolderEntry::Kind::File : S_ISDIR(mode) ? FolderEntry::Kind::Folder : FolderEntry::Kind::Other;
}

FolderEntry::Kind kindOfStatus(const fs::file_status& status) {
    switch (status.type()) {
        case fs::file_type::regular:
            return FolderEntry::Kind::File;
        case fs::file_type::directory:
            return FolderEntry::Kind::Folder;
        default:
            return FolderEntry::Kind::Other;
    }
}

// A user's base folder: the variable's path, or the fallback below the home folder. The
// base-directory rules ignore a relative path in the variable.
std::string baseFolder(const char* variable, const char* belowHome) {
    const char* xdg = std::getenv(variable);
    if (xdg && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "") + belowHome;
}

}  // namespace

bool Files::fileExists(const std::string& path) const {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool Files::folderExists(const std::string& path) const {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool Files::entryExists(const std::string& path) const {
    std::error_code ec;
    return !path.empty() && fs::exists(fs::symlink_status(path, ec));
}

bool Files::isLink(const std::string& path) const {
    // "LOOP3/" names what the link leads to; "LOOP3" the link itself.
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    std::error_code ec;
    return !name.empty() && fs::is_symlink(fs::symlink_status(name, ec));
}

std::optional<FolderEntry::Kind> Files::kindOf(const std::string& path) const {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return std::nullopt;
    if (ec) throw RoutineError::ofSystem("cannot read", path, ec);
    return kindOfStatus(status);
}

std::string Files::absolutePath(const std::string& path) const {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    if (ec) throw RoutineError::ofSystem("cannot make an absolute path of", path, ec);
    return absolute.lexically_normal().string();
}

int64_t Files::fileSize(const std::string& path) const {
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec) throw RoutineError::ofSystem("cannot read the size of", path, ec);
    return static_cast<int64_t>(size);
}

int64_t Files::folderSize(const std::string& path) const {
    std::error_code ec;
    int64_t total = 0;
    fs::recursive_directory_iterator it(path, ec), end;
    if (ec) throw RoutineError::ofSystem("cannot read the folder", path, ec);
    for (; it != end; it.increment(ec)) {
        if (ec) throw RoutineError::ofSystem("cannot read the folder", path, ec);
        if (it->is_regular_file(ec)) total += static_cast<int64_t>(it->file_size(ec));
        if (ec) throw RoutineError::ofSystem("cannot read the size of", it->path().string(), ec);
    }
    return total;
}

int64_t Files::freeSpace(const std::string& path) const {
#ifdef BRENVIK_TEST_SEAMS
    if (const char* scripted = std::getenv("BRENVIK_TEST_FREE_SPACE"); scripted && *scripted)
        return std::strtoll(scripted, nullptr, 10);
#endif
    std::error_code ec;
    const fs::path probe = existingAncestor(path, ec);
    const fs::space_info info = fs::space(probe, ec);
    if (ec) throw RoutineError::ofSystem("cannot tell the free space of", probe.string(), ec);
    return static_cast<int64_t>(info.available);
}

int64_t Files::blockSize(const std::string& path) const {
    std::error_code ec;
    const fs::path probe = existingAncestor(path, ec);
    struct statvfs volume {};
    if (ec || ::statvfs(probe.c_str(), &volume) != 0)
        throw RoutineError::ofSystem("cannot tell the block size of", probe.string());
    const unsigned long block = volume.f_frsize ? volume.f_frsize : volume.f_bsize;
    return block ? static_cast<int64_t>(block) : 1;
}

std::vector<FolderEntry> Files::listFolder(const std::string& folder) const {
    // Each entry is looked at through the open folder, once (twice for a link): a card of 999 loops
    // is listed folder by folder every time the Card window shows it.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) throw RoutineError::ofSystem("cannot read the folder", folder);
    const int folderFd = ::dirfd(dir.get());
    std::vector<FolderEntry> entries;
    for (;;) {
        errno = 0;
        const dirent* read = ::readdir(dir.get());
        if (!read) {
            if (errno != 0) throw RoutineError::ofSystem("cannot read the folder", folder);
            break;
        }
        const std::string name = read->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone since listed
        FolderEntry entry{name, (fs::path(folder) / name).string(), kindOfMode(st.st_mode), S_ISLNK(st.st_mode), 0,
                          st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec, st.st_ino};
        // A link counts as what it leads to; one that leads nowhere is neither file nor folder.
        if (entry.isLink) entry.kind = ::fstatat(folderFd, name.c_str(), &st, 0) == 0 ? kindOfMode(st.st_mode)
                                                                                   : FolderEntry::Kind::Other;
        if (entry.kind == FolderEntry::Kind::File) entry.size = static_cast<int64_t>(st.st_size);
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

std::vector<std::string> Files::subfoldersOf(const std::string& folder) const {
    std::vector<std::string> folders;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) folders.push_back(it->path().string());
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::optional<std::string> Files::firstLinkBelow(const std::string& folder) const {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_symlink(ec)) return it->path().lexically_relative(folder).string();
    return std::nullopt;
}

bool Files::sameEntry(const std::string& a, const std::string& b) const {
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

void Files::deleteFile(const std::string& path) {
    std::error_code ec;
    if (!fs::remove(path, ec) && !ec)
        ec = std::make_error_code(std::errc::no_such_file_or_directory);
    if (ec) throw RoutineError::ofSystem("cannot delete", path, ec);
}

void Files::deleteFolder(const std::string& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec) throw RoutineError::ofSystem("cannot delete the folder", path, ec);
}

void Files::createFolder(const std::string& path) {
    std::error_code ec;
    if (!fs::create_directory(path, ec) && !ec) ec = std::make_error_code(std::errc::file_exists);
    if (ec) throw RoutineError::ofSystem("cannot create the folder", path, ec);
}

void Files::createFolders(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) throw RoutineError::ofSystem("cannot create the folder", path, ec);
}

void Files::renameEntry(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
    if (errno != EINVAL && errno != ENOSYS)
        throw RoutineError::ofSystem("cannot rename", from + " to " + to);
    // A file system that cannot refuse to replace: the name is checked first instead.
    if (entryExists(to)) throw RoutineError::ofSystem("cannot rename", from + " to " + to, EEXIST);
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw RoutineError::ofSystem("cannot rename", from + " to " + to);
}

void Files::syncFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw RoutineError::ofSystem("cannot open the folder", path);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced) throw RoutineError::ofSystem("cannot sync the folder", path, error);
}

std::string Files::userDataFolder() const { return baseFolder("XDG_DATA_HOME", "/.local/share"); }

std::string Files::userCacheFolder() const { return baseFolder("XDG_CACHE_HOME", "/.cache"); }

std::string Files::separator() {
    return std::string(1, static_cast<char>(fs::path::preferred_separator));
}

// The root of the system drive on Windows. On Linux the root folder is no place for a user's
// loops and waves (nor writable for one), so the home folder stands in for it.
std::string Files::defaultRoot() {
#ifdef _WIN32
    return "C:\\";
#else
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/";
#endif
}

std::string Files::joinPath(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

std::string Files::parentOf(const std::string& path) {
    return fs::path(path).parent_path().string();
}

}  // namespace brenvik
