#pragma once
// Putting loops from a backup (of the store or of a whole card) back onto a card. Everything is
// checked before anything is written: the backup against its manifest, the loops asked for, loops
// the card already holds, and the free space; then every loop it replaces goes into the store.
// Each loop is copied into the card's staging folder, from files opened once (no links, nothing
// but regular files) and hashed on the way, synced and read back; only then, in one card
// transaction, do all of them take their numbers. A failure or a kill leaves the card's loops as
// they were, or every loop restored. No other save or restore writes to the card meanwhile.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "BackupStore.h"
#include "Files.h"

namespace brenvik::backup {

struct RestoreRequest {
    std::string backup;      // the backup folder
    std::string card;        // the folder the loop folders go into
    std::vector<int> loops;  // the loop numbers to put back; empty: every loop of the backup
    bool overwrite = false;  // replace loops the card holds already
    std::optional<int> as = std::nullopt;  // the loop number the one loop asked for goes into, when another
    // Called once every check has passed, before anything is written.
    std::function<void()> beforeWriting = {};
    bool readBack = true;  // the copies are read back from the card before they take their numbers
};

struct RestoreResult {
    bool restored = false;
    std::string message;                   // the refusal or failure when not restored
    std::string reason;                    // the cause behind the message
    std::vector<std::string> loopFolders;  // the loop folders written, in order
    std::vector<std::string> replaced;     // for each, the store backup of the loop it replaced, or ""
    std::string recovered;                 // what was done about a change an earlier program left half-done
    std::string notUndoable;               // why a restore done cannot be undone; empty when it can
};

// A failure that leaves the card as it was says so; one after the card was changed says that the
// restore failed part-way.
RestoreResult restoreBackup(const RestoreRequest& request, BackupStore& store, Files& files);

}  // namespace brenvik::backup
