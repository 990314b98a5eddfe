#include "DeviceReadBack.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "RoutineError.h"

namespace brenvik::card {

namespace {

constexpr size_t kPiece = 1 << 20;

// Reads the whole piece at `offset` (less at the end of the file); the bytes read.
size_t readPiece(int fd, std::vector<char>& into, off_t offset, const std::string& path) {
    size_t done = 0;
    while (done < into.size()) {
        const ssize_t n = ::pread(fd, into.data() + done, into.size() - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw RoutineError::ofSystem("cannot read back", path);
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

}  // namespace

void readBackFromDevice(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) throw RoutineError::ofSystem("cannot read back", path);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    // Pages the cache still has to write cannot be let go: everything goes to the device first.
    if (::fdatasync(fd) != 0) throw RoutineError::ofSystem("cannot sync", path);
    std::vector<char> cached(kPiece), stored(kPiece);
    for (off_t offset = 0;; offset += static_cast<off_t>(kPiece)) {
        const size_t meant = readPiece(fd, cached, offset, path);
        ::posix_fadvise(fd, offset, static_cast<off_t>(kPiece), POSIX_FADV_DONTNEED);
        const size_t found = readPiece(fd, stored, offset, path);
        if (found != meant || std::memcmp(cached.data(), stored.data(), meant) != 0) {
            const auto differ = std::mismatch(cached.begin(), cached.begin() + static_cast<long>(std::min(meant, found)),
                                              stored.begin());
            const off_t at = offset + (differ.first - cached.begin());
            throw RoutineError(path + " reads back from the card differently from what was written, from byte " +
                               std::to_string(at) + " on");
        }
        if (meant < kPiece) return;
    }
}

}  // namespace brenvik::card
