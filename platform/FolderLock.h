#pragma once
// A lock on a folder, held through the folder's own descriptor (flock), so nothing is written
// into the folder for it: a lock file on a card would be one more file the Repeater sees. Every
// Brenvik program that writes to a card holds the card's folder exclusively for the length of the
// save, restore, export or backup; a backup being read is held shared, so that tidying the store
// passes it by. The lock goes with the object, or with the process however it ends.
#include <chrono>
#include <optional>
#include <string>

namespace brenvik {

class FolderLock {
public:
    enum class Mode { Shared, Exclusive };

    // How long a second writer waits for the card before it gives up.
    static constexpr std::chrono::milliseconds kCardWait{3000};

    // The lock, once it could be had within `wait`; nothing when the folder stayed held. Throws
    // RoutineError when the folder cannot be opened.
    static std::optional<FolderLock> take(const std::string& folder, Mode mode,
                                          std::chrono::milliseconds wait);

    FolderLock(FolderLock&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

private:
    explicit FolderLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

}  // namespace brenvik
