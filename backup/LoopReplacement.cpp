#include "LoopReplacement.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "LoopFolderName.h"
#include "LoopLayout.h"

namespace brenvik::backup {

namespace {

bool sameListing(const std::vector<FolderEntry>& a, const std::vector<FolderEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const FolderEntry& x, const FolderEntry& y) {
        return x.name == y.name && x.size == y.size;
    });
}

}  // namespace

std::optional<std::string> makeLoopFolder(const std::string& folder,
                                          const std::optional<std::string>& replacing,
                                          BackupStore& store, Files& files) {
    std::optional<std::string> backup;
    if (replacing) {
        std::vector<FolderEntry> before;
        try {
            before = files.listFolder(*replacing);
            backup = store.backUpLoop(*replacing);
        } catch (const std::exception&) {
            throw LoopNotBackedUp(caughtReason());
        }
        try {
            files.deleteFolder(*replacing);
        } catch (const std::exception&) {
            // A write-protected card refuses the first deletion: the loop is whole on the card,
            // and its backup would only take the room of an older one.
            try {
                if (sameListing(files.listFolder(*replacing), before)) store.discard(*backup);
            } catch (const std::exception&) {
            }
            throw;
        }
    }
    files.createFolder(folder);
    return backup;
}

std::optional<std::string> existingLoopFolder(const Files& files, const std::string& folder) {
    if (files.entryExists(folder)) return folder;
    const std::string found = loop::pathOnCard(Files::parentOf(folder), loop::lastFolderName(folder));
    if (files.entryExists(found)) return found;
    return std::nullopt;
}

int64_t folderRoomOnCard(const Files& files, const std::string& folder, int64_t block) {
    int64_t room = block;
    for (const FolderEntry& entry : files.listFolder(folder))
        if (entry.kind == FolderEntry::Kind::File) room += loop::roomOnCard(entry.size, block);
    return room;
}

}  // namespace brenvik::backup
