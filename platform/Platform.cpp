#include "Platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "RoutineError.h"

namespace fs = std::filesystem;

namespace brenvik {

bool Platform::fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool Platform::folderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

std::string Platform::absolutePath(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) throw RoutineError::ofSystem("cannot make an absolute path of", path, ec);
    return absolute.lexically_normal().string();
}

int64_t Platform::folderSize(const std::string& path) {
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

int64_t Platform::freeSpace(const std::string& path) {
    std::error_code ec;
    // The volume of a folder still to be created is that of its nearest existing ancestor.
    fs::path probe = fs::absolute(path, ec);
    while (!ec && !probe.empty() && !fs::exists(probe, ec) && probe.has_parent_path() &&
           probe.parent_path() != probe)
        probe = probe.parent_path();
    const fs::space_info info = fs::space(probe, ec);
    if (ec) throw RoutineError::ofSystem("cannot tell the free space of", probe.string(), ec);
    return static_cast<int64_t>(info.available);
}

void Platform::deleteFile(const std::string& path) {
    std::error_code ec;
    if (!fs::remove(path, ec) && !ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
    if (ec) throw RoutineError::ofSystem("cannot delete", path, ec);
}

void Platform::deleteFolder(const std::string& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec) throw RoutineError::ofSystem("cannot delete the folder", path, ec);
}

void Platform::createFolder(const std::string& path) {
    std::error_code ec;
    if (!fs::create_directory(path, ec) && !ec) ec = std::make_error_code(std::errc::file_exists);
    if (ec) throw RoutineError::ofSystem("cannot create the folder", path, ec);
}

void Platform::syncFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw RoutineError::ofSystem("cannot open the folder", path);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced) throw RoutineError::ofSystem("cannot sync the folder", path, error);
}

std::string Platform::userDataFolder() {
    // The base-directory rules ignore a relative XDG_DATA_HOME.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "") + "/.local/share";
}

std::string Platform::separator() {
    return std::string(1, static_cast<char>(fs::path::preferred_separator));
}

// The root of the system drive on Windows. On Linux the root folder is no place for a user's
// loops and waves (nor writable for one), so the home folder stands in for it.
std::string Platform::defaultRoot() {
#ifdef _WIN32
    return "C:\\";
#else
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/";
#endif
}

}  // namespace brenvik
