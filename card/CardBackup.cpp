#include "CardBackup.h"

#include <exception>
#include <optional>

#include "BackupNames.h"
#include "BackupOrigin.h"
#include "BackupWriting.h"
#include "ByteSource.h"
#include "CardFolder.h"
#include "FolderLock.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "RoutineError.h"
#include "TrackFile.h"

namespace brenvik::card {

namespace {

std::string onlyFiles(const char* what) { return std::string(what) + ": " + message::kOnlyFilesAdvice; }

// Why the file cannot be read, in the system's words; empty when it opens. A file is tried before
// the copy so that one the backup cannot read leaves out its loop, not the whole card.
std::string unreadableReason(const std::string& path) {
    try {
        const FileSource opened(path);
    } catch (const std::exception&) {
        return caughtReason();
    }
    return {};
}

// The files of one loop folder a backup takes; what it cannot take goes into leftOut. Nothing when
// the loop stays out whole: a backup never holds half a loop, which would restore as a broken one.
std::optional<std::vector<FolderEntry>> filesToTake(const LoopFolderEntries& loop, std::vector<LeftOut>& leftOut) {
    const std::string& folder = loop.folder.path;
    if (!loop.folder.twins.empty()) {
        leftOut.push_back({folder, message::oneNameOnCard(loop.folder.twins) + ": " + message::kOneNameAdvice});
        return std::nullopt;
    }
    if (loop.folder.isLink) {
        leftOut.push_back({folder, onlyFiles(message::kLinkNotFile)});
        return std::nullopt;
    }
    if (!loop.unreadable.empty()) {
        leftOut.push_back({folder, loop.unreadable});
        return std::nullopt;
    }
    std::vector<FolderEntry> taken;
    bool whole = true;
    for (const FolderEntry& entry : loop.entries) {
        // The files the Repeater reads; anything else a computer left there is taken when it can be.
        const bool ownFile = loop::sameNameOnCard(entry.name, loop::kDescriptionFileName) ||
                             loop::trackOfFileName(entry.name) != 0;
        std::string reason;
        if (entry.isLink) reason = onlyFiles(message::kLinkNotFile);
        else if (entry.kind == FolderEntry::Kind::Folder) reason = message::kFolderInLoop;
        else if (entry.kind != FolderEntry::Kind::File) reason = onlyFiles(message::kNotAFile);
        else if (!backup::isPlainFileName(entry.name)) reason = message::kNameNotInManifest;
        else reason = unreadableReason(entry.path);
        if (reason.empty()) {
            taken.push_back(entry);
            continue;
        }
        leftOut.push_back({entry.path, reason});
        whole = whole && !ownFile;
    }
    if (!whole) return std::nullopt;
    return taken;
}

}  // namespace

CardBackupResult backUpCard(const std::string& card, const std::string& destination, Files& files) {
    CardBackupResult result;
    if (!files.folderExists(card)) {
        result.message = message::destinationMissing(card);
        return result;
    }
    if (!files.folderExists(destination)) {
        result.message = message::destinationMissing(destination);
        return result;
    }
    try {
        // No save or restore changes the card while it is copied.
        const std::optional<FolderLock> lock =
            FolderLock::take(card, FolderLock::Mode::Exclusive, FolderLock::kCardWait);
        if (!lock) {
            result.message = message::cardBusy(card);
            return result;
        }
        std::vector<backup::BackupFile> copies;
        for (const LoopFolderEntries& loop : readLoopFolders(files, card)) {
            const std::optional<std::vector<FolderEntry>> taken = filesToTake(loop, result.leftOut);
            if (!taken) continue;
            const std::string loopName = loop::loopFolderName(loop.folder.number);
            result.loops.push_back(loopName);
            for (const FolderEntry& file : *taken) copies.push_back({file.path, loopName + "/" + file.name});
        }
        if (result.loops.empty()) {
            result.message = result.leftOut.empty() ? message::noLoopsOnCard(card) : message::cardBackupFailed(destination);
            return result;
        }
        std::string cardName = loop::lastFolderName(files.absolutePath(card));
        if (cardName.empty()) cardName = "card";
        backup::NewBackup backup(destination, cardName, files);
        backup.finish(copies, backup::originOf(card, std::nullopt, backup.made()));
        result.folder = backup.folder();
    } catch (const std::exception&) {
        result.loops.clear();
        result.message = message::cardBackupFailed(destination);
        result.reason = caughtReason();
    }
    return result;
}

}  // namespace brenvik::card
