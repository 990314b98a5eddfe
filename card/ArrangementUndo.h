#pragma once
// Undoing and redoing the arrangements of a card (a move, swap, delete, renumber, or a loop
// restored from the store in the Card window) from the backup store, one after another through
// the card's history: only while every place the arrangement changed still holds what it left
// there (to undo it) or what it found there (to redo it), checked byte for byte against the
// backups' manifests, and while each backup it names verifies and holds the loop its name gives,
// as a restore checks. Loops it moved go back (or forth) by name; loops it deleted or replaced come
// back from their backups. The loops it takes away are in the store already, so nothing new is
// backed up; a failure half-way is taken back as an arrangement's is.
#include <optional>
#include <string>

#include "Arrangement.h"
#include "Restore.h"

namespace brenvik::card {

// What undo would take back on the card ("swap LOOP3 and LOOP5"); nothing when there is none.
std::optional<std::string> arrangementToUndo(const std::string& card, const Files& files);
// What redo would make again on the card; nothing when there is none.
std::optional<std::string> arrangementToRedo(const std::string& card, const Files& files);

// A restore, from the window or the command line, kept as the card's newest arrangement so that
// an undo takes it back: each loop restored is recorded with the store backup of the loop it
// replaced and, as what it left there, its own store backup (a loop of a whole-card backup is backed
// up into the store as it now stands). Never throws: a restore that throws is reported as failed,
// and one that cannot be recorded says why in `notUndoable`.
backup::RestoreResult restoreUndoably(const backup::RestoreRequest& request, backup::BackupStore& store,
                                      Files& files);

ArrangeResult undoArrangement(const std::string& card, bool dryRun, backup::BackupStore& store, Files& files,
                              const Progress& progress = {});
ArrangeResult redoArrangement(const std::string& card, bool dryRun, backup::BackupStore& store, Files& files,
                              const Progress& progress = {});

}  // namespace brenvik::card
