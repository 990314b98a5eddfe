#pragma once
// The file system as the program's core uses it: whether files and folders exist, what a folder
// holds, sizes and the free space of a volume, creating, deleting and syncing, the user's data
// folder, and the parts of a path. Implemented once over std::filesystem and POSIX for the window
// program, the command-line tool and the tests alike; a test may script the free space, the one
// figure it cannot make real, and keep the user's data folder apart.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brenvik {

// One entry of a folder: its name, its path (the folder's path, "/" and the name), what it is (a
// link counts as what it leads to), whether it is a link, and for a file its size.
struct FolderEntry {
    enum class Kind { File, Folder, Other };
    std::string name;
    std::string path;
    Kind kind = Kind::Other;
    bool isLink = false;
    int64_t size = 0;
    // What the system said of the entry itself (a link's own, not what it leads to): its
    // modification time in nanoseconds and its inode; 0 when not looked at.
    int64_t modified = 0;
    uint64_t inode = 0;
};

class Files {
public:
    virtual ~Files() = default;

    // These answer for any text: a missing drive or an empty text is simply "no". A link counts
    // as what it leads to.
    bool fileExists(const std::string& path) const;
    bool folderExists(const std::string& path) const;
    // Anything at the path, also a link that leads nowhere.
    bool entryExists(const std::string& path) const;
    // Whether the path is itself a link, wherever it leads (a separator behind it counts as none).
    bool isLink(const std::string& path) const;
    // What lies at the path (where a link leads); nothing when nothing does. Throws RoutineError
    // when it cannot be told.
    std::optional<FolderEntry::Kind> kindOf(const std::string& path) const;

    // The full, normalised path of a possibly relative one. Throws RoutineError when there is none.
    std::string absolutePath(const std::string& path) const;
    // Each throws RoutineError, naming the path and the system's reason, when it cannot be read.
    int64_t fileSize(const std::string& path) const;
    int64_t folderSize(const std::string& path) const;  // every file below the folder
    // Free bytes on the volume that holds the path (or would hold it, for one still to be made).
    // A test build lets tests of the built programs set it through the environment, the one
    // figure a test cannot make real.
    virtual int64_t freeSpace(const std::string& path) const;
    // The unit the volume gives files space in (a FAT cluster): every file takes a whole number
    // of them.
    int64_t blockSize(const std::string& path) const;
    // The entries directly inside the folder, by name.
    std::vector<FolderEntry> listFolder(const std::string& folder) const;
    // The subfolders directly inside, by name; none when the folder cannot be read.
    std::vector<std::string> subfoldersOf(const std::string& folder) const;
    // The first link anywhere below the folder, as a path inside it.
    std::optional<std::string> firstLinkBelow(const std::string& folder) const;
    // Whether two paths name the same file or folder.
    bool sameEntry(const std::string& a, const std::string& b) const;

    // Each throws RoutineError, naming the path and the system's reason, when it fails.
    void deleteFile(const std::string& path);
    void deleteFolder(const std::string& path);   // with everything in it
    void createFolder(const std::string& path);   // one folder, which must be new
    void createFolders(const std::string& path);  // with every missing parent
    // Gives an entry a new name in the same volume; one already there is not replaced.
    void renameEntry(const std::string& from, const std::string& to);
    // Waits until the folder's list of names is on the device, so that files created, renamed or
    // deleted in it stay so when the card is pulled.
    void syncFolder(const std::string& path);

    // The folder for the user's own data: $XDG_DATA_HOME, or ~/.local/share when that is unset.
    virtual std::string userDataFolder() const;
    // The folder for what the program can make again (converted waves): $XDG_CACHE_HOME, or
    // ~/.cache when that is unset.
    virtual std::string userCacheFolder() const;

    // The separator between path parts, and the folder every initial folder starts from.
    static std::string separator();
    static std::string defaultRoot();
    // Parts of a path, from its text alone.
    static std::string joinPath(const std::string& folder, const std::string& name);
    static std::string parentOf(const std::string& path);
};

}  // namespace brenvik
