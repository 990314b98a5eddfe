#include "FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "RoutineError.h"

namespace brenvik {

std::optional<FolderLock> FolderLock::take(const std::string& folder, Mode mode,
                                           std::chrono::milliseconds wait) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw RoutineError::ofSystem("cannot open the folder", folder);
    FolderLock lock(fd);
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, operation) == 0) return lock;
        // A file system without locks (some network and FUSE ones) cannot be guarded this way;
        // it is written to as before.
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS) return lock;
        if (errno != EWOULDBLOCK && errno != EINTR)
            throw RoutineError::ofSystem("cannot lock the folder", folder);
        if (std::chrono::steady_clock::now() >= giveUp) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

FolderLock::~FolderLock() {
    if (m_fd >= 0) ::close(m_fd);
}

}  // namespace brenvik
