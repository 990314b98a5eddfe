#include "Restore.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <system_error>

#include "BackupCheck.h"
#include "BackupNames.h"
#include "HashedCopy.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "RoutineError.h"

namespace fs = std::filesystem;

namespace brenvik::backup {

namespace {

// A margin for the folder entries of the loops written.
constexpr int64_t kSpaceMargin = 50000;

struct LoopToRestore {
    int number = 0;
    std::vector<ManifestEntry> files;
    std::string target;
    bool exists = false;
};

RestoreResult refused(std::string text) { return RestoreResult{false, std::move(text), {}}; }

void copyLoop(const LoopToRestore& loop, const std::string& backup, Platform& platform) {
    if (loop.exists) platform.deleteFolder(loop.target);
    platform.createFolder(loop.target);
    for (const ManifestEntry& entry : loop.files) {
        const std::string name = fs::path(entry.name).filename().string();
        // Checked again on the way: a file that changed since the check is not restored as good.
        if (copyWithDigest((fs::path(backup) / entry.name).string(), loop.target + "/" + name) != entry.digest)
            throw RoutineError("the backup file " + entry.name + " changed during the copy");
    }
    platform.syncFolder(loop.target);
}

}  // namespace

RestoreResult restoreBackup(const RestoreRequest& request, BackupStore& store, Platform& platform) {
    if (!platform.folderExists(request.card)) return refused(message::destinationMissing(request.card));
    const BackupCheck check = checkBackup(request.backup);
    if (!check.manifest) return refused(check.refusal);

    std::map<int, std::vector<ManifestEntry>> byLoop;
    for (const ManifestEntry& entry : *check.manifest) byLoop[*restorableEntry(entry.name)].push_back(entry);
    std::vector<int> numbers = request.loops;
    if (numbers.empty())
        for (const auto& [number, files] : byLoop) numbers.push_back(number);

    std::vector<LoopToRestore> loops;
    int64_t needed = kSpaceMargin, freed = 0;
    for (const int number : numbers) {
        if (std::any_of(loops.begin(), loops.end(), [number](const LoopToRestore& l) { return l.number == number; }))
            continue;
        const auto found = byLoop.find(number);
        if (found == byLoop.end()) return refused(message::backupLacksLoop(number));
        LoopToRestore loop{number, found->second, request.card + "/" + loop::loopFolderName(number), false};
        std::error_code ec;
        loop.exists = fs::exists(fs::symlink_status(loop.target, ec));
        if (loop.exists && !request.overwrite) return refused(message::restoreLoopExists(loop.target));
        try {
            if (loop.exists) freed += platform.folderSize(loop.target);
            for (const ManifestEntry& entry : loop.files)
                needed += static_cast<int64_t>(fs::file_size(fs::path(request.backup) / entry.name));
        } catch (const std::exception&) {
            return refused(message::restoreFailed(loop.target));
        }
        loops.push_back(std::move(loop));
    }
    try {
        if (needed > platform.freeSpace(request.card) + freed) return refused(message::kNoRoomOnCard);
    } catch (const std::exception&) {
        return refused(message::kNoRoomOnCard);
    }

    RestoreResult result;
    for (const LoopToRestore& loop : loops) {
        if (loop.exists) {
            try {
                store.backUpLoop(loop.target);
            } catch (const std::exception&) {
                result.message = message::kBackupFailed;
                return result;
            }
        }
        try {
            copyLoop(loop, request.backup, platform);
        } catch (const std::exception&) {
            result.message = message::restoreFailed(loop.target);
            return result;
        }
        result.loopFolders.push_back(loop.target);
    }
    try {
        platform.syncFolder(request.card);
    } catch (const std::exception&) {
        result.message = message::restoreFailed(request.card);
        return result;
    }
    result.restored = true;
    return result;
}

}  // namespace brenvik::backup
