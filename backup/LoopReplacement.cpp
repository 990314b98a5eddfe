#include "LoopReplacement.h"

namespace brenvik::backup {

std::optional<std::string> makeLoopFolder(const std::string& folder, bool replacing,
                                          BackupStore& store, Files& files) {
    std::optional<std::string> backup;
    if (replacing) {
        try {
            backup = store.backUpLoop(folder);
        } catch (const std::exception&) {
            throw LoopNotBackedUp(caughtReason());
        }
        files.deleteFolder(folder);
    }
    files.createFolder(folder);
    return backup;
}

}  // namespace brenvik::backup
