#include "Restore.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <map>

#include "BackupCheck.h"
#include "BackupNames.h"
#include "ByteSource.h"
#include "FolderLock.h"
#include "HashedCopy.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "LoopReplacement.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::backup {

namespace {

// Folders a restore makes beside the loops on the card; the Repeater reads only LOOPn folders.
constexpr std::string_view kNewPrefix = ".brenvik-new-";
constexpr std::string_view kOldPrefix = ".brenvik-old-";

struct LoopToRestore {
    std::string stored;                   // its folder in the backup, "LOOP3"
    std::vector<ManifestEntry> files;
    std::string folder;                   // where it goes: card/LOOPm
    std::optional<std::string> existing;  // the loop folder there now, in the card's own case
    int64_t room = 0;                     // what the copy takes on the card, in whole blocks
    int64_t roomFreed = 0;                // what the loop it replaces took
};

// A file of the backup read different from its manifest line while it was copied.
class BackupChanged : public RoutineError {
public:
    explicit BackupChanged(std::string entry)
        : RoutineError("the backup file " + entry + " changed since it was checked"), m_entry(std::move(entry)) {}
    const std::string& entry() const { return m_entry; }

private:
    std::string m_entry;
};

// A folder held open by its descriptor; links refused where asked.
class OpenFolder {
public:
    OpenFolder(int at, const std::string& name, const std::string& shown, int linkFlag) {
        m_fd = ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | linkFlag);
        if (m_fd < 0) throw RoutineError::ofSystem("cannot open the folder", shown);
    }
    ~OpenFolder() { ::close(m_fd); }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

RestoreResult refused(std::string text, std::string reason = {}) {
    return RestoreResult{false, std::move(text), std::move(reason), {}, {}};
}

void removeQuietly(const std::string& folder, Files& files) {
    try {
        files.deleteFolder(folder);
    } catch (const std::exception&) {
        // left for the next restore onto this card to tidy
    }
}

// What a restore ended part-way left on the card: a copy not yet in place goes; a loop moved
// aside goes back where it was, or goes when its replacement is in place.
void tidyCard(const std::string& card, Files& files) {
    std::vector<FolderEntry> entries;
    try {
        entries = files.listFolder(card);
    } catch (const std::exception&) {
        return;
    }
    for (const FolderEntry& entry : entries) {
        if (entry.isLink || entry.kind != FolderEntry::Kind::Folder) continue;
        if (entry.name.starts_with(kNewPrefix)) {
            removeQuietly(entry.path, files);
        } else if (entry.name.starts_with(kOldPrefix)) {
            const std::string loopName = entry.name.substr(kOldPrefix.size());
            const std::string home = Files::joinPath(card, loopName);
            try {
                if (!files.entryExists(loop::pathOnCard(card, loopName)))
                    files.renameEntry(entry.path, home);
                else
                    files.deleteFolder(entry.path);
            } catch (const std::exception&) {
            }
        }
    }
}

// The loop's files from the backup into `into`, each opened once, without following a link and
// only when it is a regular file, and hashed as it is copied.
void copyLoop(const LoopToRestore& loop, const std::string& backup, const std::string& into, Files& files) {
    const OpenFolder backupFolder(AT_FDCWD, backup, backup, 0);
    const OpenFolder loopFolder(backupFolder.fd(), loop.stored, Files::joinPath(backup, loop.stored), O_NOFOLLOW);
    for (const ManifestEntry& entry : loop.files) {
        const std::string name = entry.name.substr(entry.name.find('/') + 1);
        FileSource from(loopFolder.fd(), name, Files::joinPath(backup, entry.name));
        if (copyWithDigest(from, Files::joinPath(into, name)) != entry.digest) throw BackupChanged(entry.name);
    }
    files.syncFolder(into);
}

// Puts the complete copy in the loop's place; `changed` tells whether the card's loops changed.
void putInPlace(const std::string& fresh, const LoopToRestore& loop, const std::string& card, Files& files,
                bool& changed) {
    if (!loop.existing) {
        files.renameEntry(fresh, loop.folder);
        changed = true;
        return;
    }
    if (*loop.existing == loop.folder && files.exchangeEntries(fresh, loop.folder)) {
        changed = true;
        removeQuietly(fresh, files);  // the old loop now, kept in the store
        return;
    }
    // Where the file system cannot swap (or the old folder's name differs in case): aside, then in.
    const std::string aside = Files::joinPath(card, std::string(kOldPrefix) + loop::lastFolderName(loop.folder));
    files.renameEntry(*loop.existing, aside);
    try {
        files.renameEntry(fresh, loop.folder);
    } catch (const std::exception&) {
        try {
            files.renameEntry(aside, *loop.existing);
        } catch (const std::exception&) {
            changed = true;  // the next restore onto this card puts it back
        }
        throw;
    }
    changed = true;
    removeQuietly(aside, files);
}

// One loop onto the card, whole or not at all; the backup kept of the loop it replaced, if any.
std::optional<std::string> restoreLoop(const LoopToRestore& loop, const RestoreRequest& request,
                                       BackupStore& store, Files& files, bool& changed) {
    const std::string fresh =
        Files::joinPath(request.card, std::string(kNewPrefix) + loop::lastFolderName(loop.folder));
    files.createFolder(fresh);
    try {
        copyLoop(loop, request.backup, fresh, files);
    } catch (const std::exception&) {
        removeQuietly(fresh, files);
        throw;
    }
    std::optional<std::string> backup;
    if (loop.existing) {
        try {
            backup = store.backUpLoop(*loop.existing);
        } catch (const std::exception&) {
            removeQuietly(fresh, files);
            throw LoopNotBackedUp(caughtReason());
        }
    }
    try {
        putInPlace(fresh, loop, request.card, files, changed);
    } catch (const std::exception&) {
        removeQuietly(fresh, files);
        if (backup && !changed) store.discard(*backup);
        throw;
    }
    files.syncFolder(request.card);
    return backup;
}

}  // namespace

RestoreResult restoreBackup(const RestoreRequest& request, BackupStore& store, Files& files) {
    if (!files.folderExists(request.card))
        return refused(message::destinationMissing(request.card));
    std::optional<FolderLock> cardLock;
    std::optional<FolderLock> reading;  // keeps the store from pruning the backup meanwhile
    try {
        cardLock = FolderLock::take(request.card, FolderLock::Mode::Exclusive, FolderLock::kCardWait);
        if (cardLock && files.folderExists(request.backup))
            reading = FolderLock::take(request.backup, FolderLock::Mode::Shared, FolderLock::kCardWait);
    } catch (const std::exception&) {
        return refused(message::restoreNotStarted(request.card), caughtReason());
    }
    if (!cardLock) return refused(message::cardBusy(request.card));
    tidyCard(request.card, files);

    const BackupCheck check = checkBackup(files, request.backup);
    if (!check.manifest) return refused(check.refusal);
    std::map<int, std::vector<ManifestEntry>> byLoop;
    for (const ManifestEntry& entry : *check.manifest) byLoop[*restorableEntry(entry.name)].push_back(entry);
    std::vector<int> numbers;
    for (const int number : request.loops)
        if (std::find(numbers.begin(), numbers.end(), number) == numbers.end()) numbers.push_back(number);
    if (numbers.empty())
        for (const auto& [number, entries] : byLoop) numbers.push_back(number);
    if (request.as && numbers.size() != 1)
        return refused(message::restoreNotStarted(request.card), "a loop restored as another needs to be the only one");

    std::vector<LoopToRestore> loops;
    int64_t needed = loop::kSpaceMargin, freed = 0, peak = 0, change = 0, block = 1, freeBytes = 0;
    try {
        block = files.blockSize(request.card);
        freeBytes = files.freeSpace(request.card);
    } catch (const std::exception&) {
        return refused(message::restoreNotStarted(request.card), caughtReason());
    }
    for (const int number : numbers) {
        const auto found = byLoop.find(number);
        if (found == byLoop.end()) return refused(message::backupLacksLoop(number));
        LoopToRestore loop;
        loop.stored = found->second.front().name.substr(0, found->second.front().name.find('/'));
        loop.files = found->second;
        loop.folder = request.card + "/" + loop::loopFolderName(request.as.value_or(number));
        loop.existing = existingLoopFolder(files, loop.folder);
        if (loop.existing && !request.overwrite) return refused(message::restoreLoopExists(loop.folder));
        try {
            if (loop.existing) {
                freed += files.folderSize(*loop.existing);
                loop.roomFreed = folderRoomOnCard(files, *loop.existing, block);
            }
            loop.room = block;
            for (const ManifestEntry& entry : loop.files) {
                const int64_t size = files.fileSize(Files::joinPath(request.backup, entry.name));
                needed += size;
                loop.room += loop::roomOnCard(size, block);
            }
        } catch (const std::exception&) {
            return refused(message::restoreNotStarted(loop.folder), caughtReason());
        }
        // Each copy is made beside the loop it replaces, which goes only once the copy is in place.
        peak = std::max(peak, change + loop.room);
        change += loop.room - loop.roomFreed;
        loops.push_back(std::move(loop));
    }
    if (needed > freeBytes + freed)
        return refused(message::kNoRoomOnCard, "the loops need " + std::to_string(needed) + " bytes; " +
                                                   std::to_string(freeBytes + freed) + " are free");
    if (peak > freeBytes)
        return refused(message::kNoRoomOnCard,
                       "the loops take " + std::to_string(peak) + " bytes as the card counts them (whole blocks of " +
                           std::to_string(block) + " bytes, each copy beside the loop it replaces); " +
                           std::to_string(freeBytes) + " are free");
    if (request.beforeWriting) request.beforeWriting();

    RestoreResult result;
    bool changed = false, keptBackup = false;
    for (const LoopToRestore& loop : loops) {
        std::optional<std::string> kept;
        try {
            kept = restoreLoop(loop, request, store, files, changed);
            keptBackup = kept || keptBackup;
        } catch (const LoopNotBackedUp& notBackedUp) {
            result.message = message::kBackupFailed;
            result.reason = notBackedUp.what();
            break;
        } catch (const BackupChanged& backupChanged) {
            result.message = changed ? message::restoreFailed(loop.folder) : message::backupFileChanged(backupChanged.entry());
            result.reason = backupChanged.what();
            break;
        } catch (const std::exception&) {
            result.message = changed ? message::restoreFailed(loop.folder) : message::restoreNotStarted(loop.folder);
            result.reason = caughtReason();
            break;
        }
        result.loopFolders.push_back(loop.folder);
        result.replaced.push_back(kept.value_or(""));
    }
    result.restored = result.message.empty();
    // Only now, with the backup still held, may the store make room.
    if (keptBackup) store.prune();
    return result;
}

}  // namespace brenvik::backup
