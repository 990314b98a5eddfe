#include "CardBackup.h"

#include <exception>
#include <map>

#include "BackupNames.h"
#include "BackupOrigin.h"
#include "BackupWriting.h"
#include "FolderLock.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::backup {

namespace {

// The card's loop folders by loop number (in whatever case the card names them; of two that
// differ only in case, the one named as the Repeater names it), each with its plain files. Links,
// subfolders and names a manifest cannot hold are no part of a loop, and what cannot be read
// holds none.
std::map<int, std::vector<FolderEntry>> loopFiles(const Files& files, const std::string& card) {
    const auto plain = [](const FolderEntry& entry, FolderEntry::Kind kind) {
        return !entry.isLink && entry.kind == kind;
    };
    std::map<int, std::vector<FolderEntry>> loops;
    try {
        for (const FolderEntry& folder : files.listFolder(card)) {
            const std::optional<int> number = loop::loopNumberOf(folder.name);
            if (!number || !plain(folder, FolderEntry::Kind::Folder) || loops.count(*number)) continue;
            std::vector<FolderEntry>& inLoop = loops[*number];
            for (const FolderEntry& file : files.listFolder(folder.path))
                if (isPlainFileName(file.name) && plain(file, FolderEntry::Kind::File)) inLoop.push_back(file);
        }
    } catch (const std::exception&) {
    }
    return loops;
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
        std::vector<BackupFile> copies;
        for (const auto& [number, inLoop] : loopFiles(files, card)) {
            const std::string loopName = loop::loopFolderName(number);
            result.loops.push_back(loopName);
            for (const FolderEntry& file : inLoop) copies.push_back({file.path, loopName + "/" + file.name});
        }
        if (result.loops.empty()) {
            result.message = message::noLoopsOnCard(card);
            return result;
        }
        std::string cardName = loop::lastFolderName(files.absolutePath(card));
        if (cardName.empty()) cardName = "card";
        NewBackup backup(destination, cardName, files);
        backup.finish(copies, originOf(card, std::nullopt, backup.made()));
        result.folder = backup.folder();
    } catch (const std::exception&) {
        result.loops.clear();
        result.message = message::cardBackupFailed(destination);
        result.reason = caughtReason();
    }
    return result;
}

}  // namespace brenvik::backup
