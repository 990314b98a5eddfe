#include "Restore.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <map>

#include "BackupCheck.h"
#include "CardFolder.h"
#include "CardRoom.h"
#include "CardTransaction.h"
#include "BackupNames.h"
#include "ByteSource.h"
#include "FolderLock.h"
#include "HashedCopy.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::backup {

using card::CardTransaction;
using card::Recovery;
using card::recoverCard;

namespace {

struct LoopToRestore {
    std::string stored;                   // its folder in the backup, "LOOP3"
    std::vector<ManifestEntry> files;
    std::string folder;                   // where it goes: card/LOOPm
    std::optional<std::string> existing;  // the loop folder there now, in the card's own case
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

// A loop the restore would replace could not be backed up, so nothing was replaced.
class LoopNotBackedUp : public RoutineError {
public:
    using RoutineError::RoutineError;
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
    return RestoreResult{false, std::move(text), std::move(reason), {}, {}, {}, {}};
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

// Backs up every loop the restore replaces into `made` ("" where it replaces none): all of them,
// or it throws LoopNotBackedUp.
void backUpReplaced(const std::vector<LoopToRestore>& loops, BackupStore& store, std::vector<std::string>& made) {
    for (const LoopToRestore& loop : loops) {
        try {
            made.push_back(loop.existing ? store.backUpLoop(*loop.existing) : "");
        } catch (const std::exception&) {
            throw LoopNotBackedUp(caughtReason());
        }
    }
}

// Every loop is copied whole into the card's staging folder, checked against the manifest, synced
// and read back; every loop it replaces goes into the store; then, in one journaled change, the
// loops replaced leave and the copies take their numbers.
void restoreThroughTransaction(const std::vector<LoopToRestore>& loops, const RestoreRequest& request,
                               const std::string& card, BackupStore& store, Files& files,
                               std::vector<std::string>& replaced, bool& committed) {
    std::string what = "restore";
    for (const LoopToRestore& loop : loops) what += " " + loop::lastFolderName(loop.folder);
    CardTransaction change(files, card, what);
    std::vector<std::string> staged;
    for (const LoopToRestore& loop : loops) {
        staged.push_back(change.stageFolder());
        copyLoop(loop, request.backup, staged.back(), files);
    }
    if (request.readBack) change.readBackStaged();
    backUpReplaced(loops, store, replaced);
    for (size_t i = 0; i < loops.size(); ++i) {
        if (loops[i].existing) change.remove(loop::lastFolderName(*loops[i].existing));
        change.place(staged[i], loop::lastFolderName(loops[i].folder));
    }
    try {
        change.commit();
    } catch (const std::exception&) {
        committed = change.committed();
        throw;
    }
    committed = true;
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
    std::string card;
    try {
        card = files.absolutePath(request.card);
    } catch (const std::exception&) {
        return refused(message::restoreNotStarted(request.card), caughtReason());
    }
    // A change an earlier program left half-done is finished or taken back first.
    const Recovery recovery = recoverCard(files, card);
    if (recovery.failed()) return refused(recovery.line, recovery.reason);

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
    int64_t block = 1, freeBytes = 0;
    try {
        block = files.blockSize(request.card);
        freeBytes = files.freeSpace(request.card);
    } catch (const std::exception&) {
        return refused(message::restoreNotStarted(request.card), caughtReason());
    }
    // Every copy is made whole before any loop it replaces goes.
    card::RoomNeeded room{true, loop::kSpaceMargin, 0, 0, 0};
    for (const int number : numbers) {
        const auto found = byLoop.find(number);
        if (found == byLoop.end()) return refused(message::backupLacksLoop(number));
        LoopToRestore loop;
        loop.stored = found->second.front().name.substr(0, found->second.front().name.find('/'));
        loop.files = found->second;
        loop.folder = request.card + "/" + loop::loopFolderName(request.as.value_or(number));
        try {
            loop.existing = card::loopFolderHolding(files, request.card, request.as.value_or(number));
        } catch (const std::exception&) {
            return refused(message::restoreNotStarted(loop.folder), caughtReason());
        }
        if (loop.existing && !request.overwrite) return refused(message::restoreLoopExists(loop.folder));
        try {
            if (loop.existing) room.bytesFreed += files.folderSize(*loop.existing);
            card::addFolder(room, block);
            for (const ManifestEntry& entry : loop.files)
                card::addFile(room, files.fileSize(Files::joinPath(request.backup, entry.name)), block);
        } catch (const std::exception&) {
            return refused(message::restoreNotStarted(loop.folder), caughtReason());
        }
        loops.push_back(std::move(loop));
    }
    if (const std::optional<std::string> lack = card::lackOfRoom(room, freeBytes, block))
        return refused(message::kNoRoomOnCard, *lack);
    if (request.beforeWriting) request.beforeWriting();

    RestoreResult result;
    result.recovered = recovery.line;
    std::vector<std::string> replaced;
    bool committed = false;
    try {
        restoreThroughTransaction(loops, request, card, store, files, replaced, committed);
    } catch (const LoopNotBackedUp& notBackedUp) {
        result.message = message::kBackupFailed;
        result.reason = notBackedUp.what();
    } catch (const BackupChanged& backupChanged) {
        result.message = message::backupFileChanged(backupChanged.entry());
        result.reason = backupChanged.what();
    } catch (const std::exception&) {
        result.message = committed ? message::restoreFailed(loops.front().folder)
                                   : message::restoreNotStarted(loops.front().folder);
        result.reason = caughtReason();
    }
    if (!committed) {
        // Nothing on the card changed: the backups of the loops it would replace are not needed.
        for (const std::string& backup : replaced)
            if (!backup.empty()) store.discard(backup);
    } else {
        for (const LoopToRestore& loop : loops) result.loopFolders.push_back(loop.folder);
        result.replaced = replaced;
    }
    result.restored = result.message.empty();
    // Only now, with the backup still held, may the store make room.
    if (committed && std::any_of(replaced.begin(), replaced.end(), [](const std::string& b) { return !b.empty(); }))
        store.prune();
    return result;
}

}  // namespace brenvik::backup
