#pragma once
// Making a backup folder: the files copied in, a SHA-256 manifest written last, everything synced
// to the device, and every copy read back and checked against the manifest.
#include <string>
#include <vector>

#include "Files.h"

namespace brenvik::backup {

struct BackupFile {
    std::string source;  // the file to copy
    std::string name;    // its path inside the backup, "LOOP7/track1.wav"
};

// Makes parent/<prefix>-<UTC time> ("-2", "-3" ... behind it when that exists) and returns its
// path. Throws RoutineError when a step fails; nothing of the new folder stays then.
std::string writeBackup(const std::string& parent, const std::string& prefix,
                        const std::vector<BackupFile>& copies, Files& files);

}  // namespace brenvik::backup
