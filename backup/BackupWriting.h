#pragma once
// Making a backup folder: the files copied in, the origin and then the SHA-256 manifest written,
// everything synced to the device, and every copy read back and checked against the manifest.
// The manifest gets its name only then, so a folder without one was never finished (a process
// killed part-way) and is no backup.
#include <optional>
#include <string>
#include <vector>

#include "BackupOrigin.h"
#include "Files.h"
#include "FolderLock.h"

namespace brenvik::backup {

struct BackupFile {
    std::string source;  // the file to copy
    std::string name;    // its path inside the backup, "LOOP7/track1.wav"
};

class NewBackup {
public:
    // Makes parent/<prefix>-<UTC time> ("-2", "-3" ... behind it when that exists) and holds it
    // locked until it is finished or gone, so that tidying the store passes it by. Throws
    // RoutineError when it cannot be made.
    NewBackup(const std::string& parent, const std::string& prefix, Files& files);
    // Removes the folder unless it was finished.
    ~NewBackup();
    NewBackup(const NewBackup&) = delete;
    NewBackup& operator=(const NewBackup&) = delete;

    const std::string& folder() const { return m_folder; }
    const std::string& made() const { return m_made; }

    // Throws RoutineError when a step fails.
    void finish(const std::vector<BackupFile>& copies, const BackupOrigin& origin);

private:
    Files& m_files;
    std::string m_made;
    std::string m_folder;
    std::optional<FolderLock> m_lock;
    bool m_finished = false;
};

}  // namespace brenvik::backup
