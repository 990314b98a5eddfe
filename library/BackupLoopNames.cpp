#include "BackupLoopNames.h"

#include "CardNames.h"
#include "Files.h"
#include "LoopFolderName.h"

namespace brenvik::library {

std::map<std::string, std::string> namesOfBackups(
    LoopLibrary& library, const std::string& store,
    const std::vector<backup::StoredBackup>& backups) {
    std::map<std::string, std::string> loopFolders;  // loop folder -> its backup
    for (const backup::StoredBackup& stored : backups)
        loopFolders[Files::joinPath(stored.folder, loop::loopFolderName(stored.loopNumber))] =
            stored.folder;
    std::vector<std::string> folders;
    for (const auto& [folder, backup] : loopFolders) folders.push_back(folder);
    std::map<std::string, std::string> names;
    // Without a library there is nothing to find: no backup is read for it.
    if (folders.empty() || library.unavailableReason()) return names;
    for (const auto& [folder, named] : CardNames(library, store).all(folders))
        if (!named.name().empty()) names[loopFolders[folder]] = named.name();
    return names;
}

}  // namespace brenvik::library
