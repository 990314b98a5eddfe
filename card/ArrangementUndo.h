#pragma once
// Undoing the last arrangement of a card (a move, swap, delete, renumber, or a loop restored from
// the store in the Card window) from the backup store: only while every place it changed still
// holds what it left there, checked byte for byte against the backups' manifests, and while each
// backup it names verifies and holds the loop its name gives, as a restore checks. Loops it moved
// go back by name; loops it deleted or replaced come back from their backups. The loops it takes
// away are in the store already, so nothing new is backed up; a failure half-way is taken back as
// an arrangement's is.
#include <optional>
#include <string>

#include "Arrangement.h"

namespace brenvik::card {

// What the last arrangement of the card did ("swap LOOP3 and LOOP5"); nothing when there is none
// to undo.
std::optional<std::string> lastArrangement(const std::string& card, const Files& files);

// Keeps a loop restored from the store backup `restoredFrom` into loop `number` of the card as the
// card's last arrangement, so that an undo takes it back; `replaced` is the store backup of the loop
// it replaced, empty when the number was free. Throws RoutineError.
void recordRestore(const std::string& card, int number, const std::string& replaced,
                   const std::string& restoredFrom, Files& files);

ArrangeResult undoLastArrangement(const std::string& card, bool dryRun, backup::BackupStore& store,
                                  Files& files, const Progress& progress = {});

}  // namespace brenvik::card
