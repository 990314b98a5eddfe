#include "Restore.h"

#include <algorithm>
#include <exception>
#include <map>

#include "BackupCheck.h"
#include "BackupNames.h"
#include "HashedCopy.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "LoopReplacement.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::backup {

namespace {

struct LoopToRestore {
    int number = 0;
    std::vector<ManifestEntry> files;
    std::string target;
    bool exists = false;
};

RestoreResult refused(std::string text, std::string reason = {}) {
    return RestoreResult{false, std::move(text), std::move(reason), {}};
}

void copyLoop(const LoopToRestore& loop, const std::string& backup, Files& files) {
    for (const ManifestEntry& entry : loop.files) {
        const std::string name = loop::lastFolderName(entry.name);
        // Checked again on the way: a file that changed since the check is not restored as good.
        if (copyWithDigest(Files::joinPath(backup, entry.name), loop.target + "/" + name) !=
            entry.digest)
            throw RoutineError("the backup file " + entry.name + " changed during the copy");
    }
    files.syncFolder(loop.target);
}

}  // namespace

RestoreResult restoreBackup(const RestoreRequest& request, BackupStore& store, Files& files) {
    if (!files.folderExists(request.card))
        return refused(message::destinationMissing(request.card));
    const BackupCheck check = checkBackup(files, request.backup);
    if (!check.manifest) return refused(check.refusal);

    std::map<int, std::vector<ManifestEntry>> byLoop;
    for (const ManifestEntry& entry : *check.manifest) byLoop[*restorableEntry(entry.name)].push_back(entry);
    std::vector<int> numbers = request.loops;
    if (numbers.empty())
        for (const auto& [number, entries] : byLoop) numbers.push_back(number);

    std::vector<LoopToRestore> loops;
    int64_t needed = loop::kSpaceMargin, freed = 0;
    for (const int number : numbers) {
        if (std::any_of(loops.begin(), loops.end(), [number](const LoopToRestore& l) { return l.number == number; }))
            continue;
        const auto found = byLoop.find(number);
        if (found == byLoop.end()) return refused(message::backupLacksLoop(number));
        LoopToRestore loop{number, found->second, request.card + "/" + loop::loopFolderName(number), false};
        loop.exists = files.entryExists(loop.target);
        if (loop.exists && !request.overwrite) return refused(message::restoreLoopExists(loop.target));
        try {
            if (loop.exists) freed += files.folderSize(loop.target);
            for (const ManifestEntry& entry : loop.files)
                needed += files.fileSize(Files::joinPath(request.backup, entry.name));
        } catch (const std::exception&) {
            return refused(message::restoreNotStarted(loop.target), caughtReason());
        }
        loops.push_back(std::move(loop));
    }
    try {
        const int64_t freeBytes = files.freeSpace(request.card);
        if (needed > freeBytes + freed)
            return refused(message::kNoRoomOnCard,
                           "the loops need " + std::to_string(needed) + " bytes; " +
                               std::to_string(freeBytes + freed) + " are free");
    } catch (const std::exception&) {
        return refused(message::restoreNotStarted(request.card), caughtReason());
    }

    // Until a loop folder is deleted or made, the card is as it was.
    RestoreResult result;
    bool cardChanged = false;
    for (const LoopToRestore& loop : loops) {
        try {
            if (loop.exists)
                cardChanged = true;  // deleting may take part of the old loop even when it fails
            makeLoopFolder(loop.target, loop.exists, store, files);
            cardChanged = true;
            copyLoop(loop, request.backup, files);
        } catch (const LoopNotBackedUp& notBackedUp) {
            result.message = message::kBackupFailed;
            result.reason = notBackedUp.what();
            return result;
        } catch (const std::exception&) {
            result.message = cardChanged ? message::restoreFailed(loop.target)
                                         : message::restoreNotStarted(loop.target);
            result.reason = caughtReason();
            return result;
        }
        result.loopFolders.push_back(loop.target);
    }
    try {
        files.syncFolder(request.card);
    } catch (const std::exception&) {
        result.message = message::restoreFailed(request.card);
        result.reason = caughtReason();
        return result;
    }
    result.restored = true;
    return result;
}

}  // namespace brenvik::backup
