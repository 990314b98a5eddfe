#include "ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "RoutineError.h"

namespace brenvik {

void ByteSource::readZeroFilled(int64_t offset, std::span<uint8_t> dst) {
    size_t got = offset < 0 ? 0 : readAt(offset, dst);
    std::fill(dst.begin() + static_cast<std::ptrdiff_t>(got), dst.end(), uint8_t{0});
}

size_t MemorySource::readAt(int64_t offset, std::span<uint8_t> dst) {
    if (offset < 0 || static_cast<uint64_t>(offset) >= m_bytes.size()) return 0;
    size_t n = std::min(dst.size(), m_bytes.size() - static_cast<size_t>(offset));
    std::memcpy(dst.data(), m_bytes.data() + offset, n);
    return n;
}

namespace {

// Opened without waiting (a pipe with no writer would block an open for ever), the descriptor
// then checked for a regular file and put back to blocking reads and writes.
int openRegular(int folderFd, const std::string& name, int flags, const std::string& shown,
                const char* step) {
    const int fd = ::openat(folderFd, name.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) throw RoutineError::ofSystem(step, shown);
    struct stat st {};
    const bool statted = ::fstat(fd, &st) == 0;
    const int error = errno;
    if (!statted || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, flags & O_ACCMODE) != 0) {
        ::close(fd);
        if (!statted) throw RoutineError::ofSystem("cannot read", shown, error);
        throw RoutineError(shown + " is not a file");
    }
    return fd;
}

}  // namespace

FileSource::FileSource(const std::string& path, Links links) {
    open(AT_FDCWD, path, links == Links::Refuse ? O_NOFOLLOW : 0);
}

FileSource::FileSource(int folderFd, const std::string& name, const std::string& shownPath) {
    m_path = shownPath;
    open(folderFd, name, O_NOFOLLOW);
}

void FileSource::open(int folderFd, const std::string& name, int linkFlag) {
    if (m_path.empty()) m_path = name;
    m_fd = openRegular(folderFd, name, O_RDONLY | linkFlag, m_path, "cannot open");
}

FileSource::~FileSource() {
    if (m_fd >= 0) ::close(m_fd);
}

size_t FileSource::readAt(int64_t offset, std::span<uint8_t> dst) {
    if (offset < 0)
        throw RoutineError("cannot read " + m_path + " at offset " + std::to_string(offset));
    size_t got = 0;
    while (got < dst.size()) {
        ssize_t k = ::pread(m_fd, dst.data() + got, dst.size() - got,
                            static_cast<off_t>(offset + static_cast<int64_t>(got)));
        if (k < 0) {
            if (errno == EINTR) continue;
            throw RoutineError::ofSystem("cannot read", m_path);
        }
        if (k == 0) break;
        got += static_cast<size_t>(k);
    }
    return got;
}

int64_t FileSource::size() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) throw RoutineError::ofSystem("cannot read the size of", m_path);
    return st.st_size;
}

FileSink::FileSink(const std::string& path, Opening opening) {
    const int flags = O_WRONLY | O_CREAT | (opening == Opening::CreateNew ? O_EXCL : 0);
    m_fd = openRegular(AT_FDCWD, path, flags, path, "cannot create");
    m_path = path;
}

FileSink::~FileSink() {
    if (m_fd >= 0) ::close(m_fd);
}

void FileSink::writeAt(int64_t offset, std::span<const uint8_t> src) {
    if (m_fd < 0) throw RoutineError("cannot write " + m_path + ": it is closed");
    if (offset < 0)
        throw RoutineError("cannot write " + m_path + " at offset " + std::to_string(offset));
    size_t done = 0;
    while (done < src.size()) {
        ssize_t k = ::pwrite(m_fd, src.data() + done, src.size() - done,
                             static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (k < 0) {
            if (errno == EINTR) continue;
            throw RoutineError::ofSystem("cannot write", m_path);
        }
        if (k == 0) throw RoutineError::ofSystem("cannot write", m_path, ENOSPC);
        done += static_cast<size_t>(k);
    }
}

void FileSink::sync() {
    if (m_fd < 0) throw RoutineError("cannot sync " + m_path + ": it is closed");
    if (::fsync(m_fd) != 0) throw RoutineError::ofSystem("cannot sync", m_path);
}

void FileSink::close() {
    if (m_fd >= 0 && ::close(m_fd) != 0) {
        m_fd = -1;
        throw RoutineError::ofSystem("cannot close", m_path);
    }
    m_fd = -1;
}

}  // namespace brenvik
